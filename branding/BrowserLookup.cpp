// Default browser lookup; see BrowserLookup.h.
#include "branding/BrowserLookup.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

#include <cstdlib>
#include <system_error>

namespace scribvane {
namespace {

namespace fs = std::filesystem;

// A colon-separated list of folders; relative entries are invalid and skipped.
std::vector<fs::path> FolderList(std::string_view value, std::string_view fallback) {
    std::vector<std::string> pieces;
    SplitByChar(':', value.empty() ? fallback : value, pieces);
    std::vector<fs::path> folders;
    for (const auto& piece : pieces) {
        if (!piece.empty() && piece.front() == '/') {
            folders.emplace_back(piece);
        }
    }
    return folders;
}

// A single base folder: the variable when absolute, else home + suffix, else none.
std::optional<fs::path> BaseFolder(std::string_view value, std::string_view home,
                                   std::string_view suffix) {
    if (!value.empty() && value.front() == '/') {
        return fs::path(value);
    }
    if (!home.empty() && home.front() == '/') {
        return fs::path(home) / suffix;
    }
    return std::nullopt;
}

// The string escapes of key files: \s \n \t \r \\.
std::string UnescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

// The first value of key in group of a key file (keys compared without letter case, since the
// mime types used as keys are case-insensitive), or nothing.
std::optional<std::string> KeyFileValue(const fs::path& file, std::string_view group,
                                        std::string_view key) {
    std::string text;
    try {
        text = ReadFileBytes(file);
    } catch (const FileError&) {
        return std::nullopt;
    }
    const std::string wantedKey = LowerAscii(key);
    bool inGroup = false;
    for (const auto& rawLine : SplitLines(text)) {
        const std::string_view line = TrimBlanks(rawLine);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line == "[" + std::string(group) + "]";
            continue;
        }
        const auto equals = line.find('=');
        if (inGroup && equals != std::string_view::npos &&
            LowerAscii(TrimBlanks(line.substr(0, equals))) == wantedKey) {
            return UnescapeValue(TrimBlanks(line.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

// A desktop file ID names "applications/a-b.desktop" or, for entries in subfolders,
// "applications/a/b.desktop".
std::optional<fs::path> ResolveDesktopId(const fs::path& folder, std::string_view id) {
    std::error_code error;
    if (fs::is_regular_file(folder / id, error)) {
        return folder / id;
    }
    for (auto dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1)) {
        const fs::path sub = folder / id.substr(0, dash);
        if (dash > 0 && fs::is_directory(sub, error)) {
            if (auto found = ResolveDesktopId(sub, id.substr(dash + 1))) {
                return found;
            }
        }
    }
    return std::nullopt;
}

// The program of an installed, visible desktop entry, or nothing.
std::optional<std::string> DesktopEntryProgram(const std::vector<fs::path>& folders,
                                               std::string_view id) {
    if (!id.ends_with(".desktop") || id.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    for (const auto& folder : folders) {
        const auto file = ResolveDesktopId(folder, id);
        if (!file) {
            continue;
        }
        // The first folder holding the ID decides, even when it hides the entry.
        if (KeyFileValue(*file, "Desktop Entry", "Hidden") == "true") {
            return std::nullopt;
        }
        const auto exec = KeyFileValue(*file, "Desktop Entry", "Exec");
        return exec ? ExecProgram(*exec) : std::nullopt;
    }
    return std::nullopt;
}

// Splits an Exec value into words: blanks separate, double quotes group, and inside quotes a
// backslash takes the next character literally.
std::vector<std::string> ExecWords(std::string_view exec) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

// "%%" is a percent sign; any other field code stands for arguments we never pass.
std::string DropFieldCodes(std::string_view word) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
        } else if (i + 1 < word.size() && word[++i] == '%') {
            out += '%';
        }
    }
    return out;
}

bool IsAssignment(std::string_view word) {
    const auto equals = word.find('=');
    return equals != std::string_view::npos && equals > 0;
}

} // namespace

XdgEnvironment XdgEnvironment::FromProcess() {
    const auto get = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(value) : std::string();
    };
    return {get("HOME"),          get("XDG_CONFIG_HOME"), get("XDG_CONFIG_DIRS"),
            get("XDG_DATA_HOME"), get("XDG_DATA_DIRS"),   get("XDG_CURRENT_DESKTOP")};
}

std::vector<fs::path> MimeAppsListFiles(const XdgEnvironment& environment) {
    std::vector<fs::path> folders;
    if (auto configHome = BaseFolder(environment.configHome, environment.home, ".config")) {
        folders.push_back(*configHome);
    }
    for (auto& folder : FolderList(environment.configDirs, "/etc/xdg")) {
        folders.push_back(std::move(folder));
    }
    for (auto& folder : ApplicationFolders(environment)) {
        folders.push_back(std::move(folder));
    }

    std::vector<std::string> desktops;
    SplitByChar(':', environment.currentDesktop, desktops);
    std::vector<fs::path> files;
    for (const auto& folder : folders) {
        for (const auto& desktop : desktops) {
            if (!desktop.empty() && desktop.find('/') == std::string::npos) {
                files.push_back(folder / (LowerAscii(desktop) + "-mimeapps.list"));
            }
        }
        files.push_back(folder / "mimeapps.list");
    }
    return files;
}

std::vector<fs::path> ApplicationFolders(const XdgEnvironment& environment) {
    std::vector<fs::path> folders;
    if (auto dataHome = BaseFolder(environment.dataHome, environment.home, ".local/share")) {
        folders.push_back(*dataHome / "applications");
    }
    for (const auto& folder : FolderList(environment.dataDirs, "/usr/local/share:/usr/share")) {
        folders.push_back(folder / "applications");
    }
    return folders;
}

std::optional<std::string> ExecProgram(std::string_view exec) {
    std::vector<std::string> words;
    for (const auto& word : ExecWords(exec)) {
        words.push_back(DropFieldCodes(word));
    }
    std::size_t first = 0;
    while (first < words.size() && words[first].empty()) {
        ++first;
    }
    if (first < words.size() && FileNamePart(words[first]) == "env") {
        ++first;
        while (first < words.size() && IsAssignment(words[first])) {
            ++first;
        }
        // env options would need their own parsing; refusing is safer than guessing.
        if (first < words.size() && words[first].starts_with('-')) {
            return std::nullopt;
        }
    }
    if (first >= words.size() || words[first].empty()) {
        return std::nullopt;
    }
    return words[first];
}

std::optional<std::string> FindBrowserProgram(const XdgEnvironment& environment,
                                              std::string_view mimeType) {
    const auto folders = ApplicationFolders(environment);
    for (const auto& list : MimeAppsListFiles(environment)) {
        const auto defaults = KeyFileValue(list, "Default Applications", mimeType);
        if (!defaults) {
            continue;
        }
        std::vector<std::string> ids;
        SplitByChar(';', *defaults, ids);
        for (const auto& id : ids) {
            if (auto program = DesktopEntryProgram(folders, TrimBlanks(id))) {
                return program;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindDesktopOpener(std::string_view searchPath) {
    while (true) {
        const std::size_t colon = searchPath.find(':');
        const std::string_view folder = searchPath.substr(0, colon);
        if (!folder.empty()) { // an empty entry would mean the working folder: never used
            const fs::path candidate = fs::path(folder) / "xdg-open";
            std::error_code error;
            const auto status = fs::status(candidate, error);
            const auto executable =
                fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
            if (!error && fs::is_regular_file(status) &&
                (status.permissions() & executable) != fs::perms::none) {
                return candidate.string();
            }
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        searchPath.remove_prefix(colon + 1);
    }
}

} // namespace scribvane
