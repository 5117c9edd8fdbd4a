// Program-wide constants fixed at build time: the version shown and compared, the updater's
// mode and the addresses on the maker's servers. Shared by the window, the update check and
// the branding, so none of them depends on another for these.
#pragma once

#include <string_view>

namespace scribvane {

// VersionText and VersionNumber state the same version and change together.
inline constexpr std::string_view VersionText = "1.03";
inline constexpr float VersionNumber = 1.03f;

// The last argument handed to the updater program.
inline constexpr std::string_view UpdaterMode = "A";

// Folder on the update server that holds the update description (ends in a slash); set by the
// build so a test server can stand in.
inline constexpr std::string_view UpdateFolderAddress = SCRIBVANE_UPDATE_FOLDER_ADDRESS;

// Opened by the Help button.
inline constexpr std::string_view HelpAddress = "http://www.scribvane.com/tarnhelp/#scribvane";

// Scheme and host only, no trailing slash: the affiliate identifier is appended directly.
inline constexpr std::string_view AffiliateSalesAddress = "http://affiliates.scribvane.com";

} // namespace scribvane
