// Readers for the whole-number and yes/no values of the configuration file, with the exact
// messages the user sees when a value does not read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// Optional leading spaces, an optional sign, then decimal digits or "$" / "0x" / "0X" and
// hexadecimal digits; the value must fit a signed 32-bit integer. Nothing may follow.
std::optional<std::int32_t> TryReadInteger(std::string_view text);

// As TryReadInteger; throws ConversionError "'text' is not a valid integer value".
std::int32_t ReadInteger(std::string_view text);

// An integer text is true when non-zero; otherwise "true" / "false" in any letter case.
// Throws ConversionError "'text' is not a valid boolean value".
bool ReadBoolean(std::string_view text);

// The forms the configuration file writes: decimal digits, and "-1" / "0".
std::string IntegerText(std::int32_t value);
std::string BooleanText(bool value);

} // namespace scribvane
