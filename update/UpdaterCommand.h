// How the external updater is started: its file name in the program folder and the three
// arguments it is handed (update folder address, our version number, updater mode).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// "Updater.exe" on Windows, "Updater" elsewhere.
std::string UpdaterFileName();

// The version number as the updater expects it: the single-precision value written in general
// format with up to 15 significant digits and a point, so 1.03f gives "1.02999997138977".
std::string VersionNumberText(float versionNumber);

// Exactly three arguments, each passed on its own (never joined into one command line).
std::vector<std::string> UpdaterArguments(std::string_view updateFolderAddress, float versionNumber,
                                          std::string_view updaterMode);

} // namespace scribvane
