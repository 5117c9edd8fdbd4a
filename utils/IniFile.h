// A reader of INI text with the platform profile rules the branding and update files were
// written for: section and key names compared without regard to ASCII letter case, blanks
// around a value and one pair of enclosing quotes dropped, a missing key read as the empty
// text, values cut to 2047 characters. When a section or key appears twice the first counts.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace scribvane {

class IniFile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file's contents, or an empty file when it cannot be read.
    static IniFile Load(const std::filesystem::path& path);

    std::string Read(std::string_view section, std::string_view key) const;

private:
    // Folded "section" + '\0' + "key" -> value.
    std::map<std::string, std::string, std::less<>> values_;
};

} // namespace scribvane
