// INI reading with profile rules; see IniFile.h.
#include "utils/IniFile.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"
#include "utils/TextHelpers.h"

namespace scribvane {
namespace {

std::string MakeKey(std::string_view section, std::string_view key) {
    std::string combined = LowerAscii(TrimBlanks(section));
    combined += '\0';
    combined += LowerAscii(TrimBlanks(key));
    return combined;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::IniFile(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::string section;
    bool inSection = false;
    for (const auto& rawLine : SplitLines(text)) {
        const std::string_view line = TrimBlanks(rawLine);
        if (line.starts_with('[')) {
            const auto close = line.find(']');
            section = std::string(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            inSection = true;
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string_view::npos || line.starts_with(';')) {
            continue;
        }
        std::string_view value = Unquote(TrimBlanks(line.substr(equals + 1)));
        if (value.size() > kMaxValueLength) {
            value = value.substr(0, kMaxValueLength);
        }
        values_.try_emplace(MakeKey(section, line.substr(0, equals)), value);
    }
}

IniFile IniFile::Load(const std::filesystem::path& path) {
    try {
        return IniFile(ReadFileBytes(path));
    } catch (const FileError& failure) {
        LogNote(LogTopic::Branding, std::string("Settings not read: ") + failure.what());
        return IniFile();
    }
}

std::string IniFile::Read(std::string_view section, std::string_view key) const {
    const auto found = values_.find(MakeKey(section, key));
    return found == values_.end() ? std::string() : found->second;
}

} // namespace scribvane
