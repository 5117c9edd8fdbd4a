// Finding the default web browser the freedesktop way: the x-scheme-handler/http default of the
// mimeapps.list files, then the program of that desktop entry's Exec line. Pure functions over
// the environment, so tests can point them at folders of their own.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// The variables the lookup depends on; empty means unset, and the standard defaults apply.
struct XdgEnvironment {
    std::string home;
    std::string configHome;
    std::string configDirs;
    std::string dataHome;
    std::string dataDirs;
    std::string currentDesktop;

    static XdgEnvironment FromProcess();
};

// The mimeapps.list files to consult, most important first (desktop-specific ones before the
// general one in each folder).
std::vector<std::filesystem::path> MimeAppsListFiles(const XdgEnvironment& environment);

// The folders desktop entries are installed in, most important first.
std::vector<std::filesystem::path> ApplicationFolders(const XdgEnvironment& environment);

// The program an Exec value starts: its first word, unquoted, with field codes dropped. A
// leading "env NAME=value ..." is looked through, since the address must never become the
// command env runs. Nothing when there is no program.
std::optional<std::string> ExecProgram(std::string_view exec);

// The program registered for the scheme (by default the web's), or nothing. The first default
// whose desktop entry is installed, not hidden and has a program wins.
std::optional<std::string> FindBrowserProgram(const XdgEnvironment& environment,
                                              std::string_view mimeType = "x-scheme-handler/http");

// The desktop's own opener, xdg-open, as found along a PATH value ("/usr/local/bin:/usr/bin");
// nothing when no folder holds it as an executable file. It hands an address to whatever the
// desktop has for it, also where no mimeapps.list names a browser.
std::optional<std::string> FindDesktopOpener(std::string_view searchPath);

} // namespace scribvane
