// Failures that the program reports to the user with a fixed text. Handlers let them escape;
// the application-wide handler shows what() in an error box.
#pragma once

#include <stdexcept>
#include <string>

namespace scribvane {

// Base of every failure whose what() is the exact text the user is shown.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A value that does not read as the kind it must be ("'x' is not a valid integer value").
class ConversionError : public Error {
public:
    using Error::Error;
};

// A file that cannot be opened, created or written ("Cannot create file "x". reason").
class FileError : public Error {
public:
    using Error::Error;
};

} // namespace scribvane
