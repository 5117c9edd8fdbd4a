// The updater's file name and arguments; see UpdaterCommand.h.
#include "update/UpdaterCommand.h"

#include <array>
#include <charconv>

namespace scribvane {

std::string UpdaterFileName() {
#ifdef _WIN32
    return "Updater.exe";
#else
    return "Updater";
#endif
}

std::string VersionNumberText(float versionNumber) {
    // to_chars ignores the locale, so the separator is always a point. Widening to double is
    // exact: the digits shown are those of the single-precision value itself.
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                      static_cast<double>(versionNumber), std::chars_format::general, 15);
    return std::string(buffer.data(), result.ptr);
}

std::vector<std::string> UpdaterArguments(std::string_view updateFolderAddress, float versionNumber,
                                          std::string_view updaterMode) {
    return {std::string(updateFolderAddress), VersionNumberText(versionNumber),
            std::string(updaterMode)};
}

} // namespace scribvane
