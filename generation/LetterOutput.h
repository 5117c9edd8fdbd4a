// Writing a generated letter to its output file.
#pragma once

#include <string_view>

namespace scribvane {

// Writes the page with every line ending in CR LF (nothing after a NUL byte), replacing an
// existing file only once the whole page is written. Throws FileError "Cannot create file
// "full path". reason" and leaves any previous file whole.
void WriteLetter(std::string_view outputFileName, std::string_view page);

} // namespace scribvane
