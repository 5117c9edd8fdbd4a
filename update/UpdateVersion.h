// The version side of the update check: reading the newest version out of the downloaded
// update description and deciding whether it is newer than the running program.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scribvane {

// The file the update folder on the server holds, and the name of its local copy.
inline constexpr std::string_view kUpdateDescriptionName = "mainappupdate.inf";

// The Version key of section APPLICATION, exactly as the INI rules read it; the empty text
// when the file, the section or the key is missing.
std::string ReadUpdateVersionText(const std::filesystem::path& description);

// The Version text as a single-precision number: optional blanks, an optional sign, decimal
// digits with an optional point and fraction, an optional exponent, optional blanks. The
// decimal separator is always the point (the C locale), whatever the user's settings; there
// are no thousands separators. A text that does not read this way counts as 0.
float ReadRemoteVersionNumber(std::string_view text);

// True when the remote version is newer, compared in single precision: a local number equal
// to or above the remote one means there is nothing new.
bool IsNewerVersion(float localVersion, float remoteVersion);

} // namespace scribvane
