// Finding the default browser through mimeapps.list files and desktop entries in fake XDG
// folders; the real ones of the machine are never consulted.
#include "branding/BrowserLookup.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>

namespace scribvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWebEntry = "[Desktop Entry]\nType=Application\nName=Web\n"
                                  "Exec=/opt/web/browser %u\n";
constexpr const char* kOtherEntry = "[Desktop Entry]\nName=Other\nExec=/opt/other/other %U\n";

std::string DefaultFor(std::string_view ids) {
    return "[Default Applications]\nx-scheme-handler/http=" + std::string(ids) + "\n";
}

struct LookupCase {
    const char* name;
    // Paths relative to the temporary root; "home" is HOME, "etc/xdg" the config dirs and
    // "usr/share" the data dirs.
    std::map<std::string, std::string> files;
    std::optional<std::string> expected;
    std::string currentDesktop = {};
};

class FindBrowser : public ::testing::TestWithParam<LookupCase> {};

TEST_P(FindBrowser, FindsTheRegisteredProgram) {
    testing::TempDir root;
    for (const auto& [path, text] : GetParam().files) {
        fs::create_directories((root / path).parent_path());
        root.Write(path, text);
    }
    XdgEnvironment environment;
    environment.home = (root / "home").string();
    environment.configDirs = (root / "etc/xdg").string();
    environment.dataDirs = "relative/share:" + (root / "usr/share").string();
    environment.currentDesktop = GetParam().currentDesktop;
    EXPECT_EQ(FindBrowserProgram(environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Xdg, FindBrowser,
    ::testing::Values(
        LookupCase{
            "NothingRegistered", {{"usr/share/applications/web.desktop", kWebEntry}}, std::nullopt},
        LookupCase{"UserDefault",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"UserDefaultWinsOverSystem",
                   {{"home/.config/mimeapps.list", DefaultFor("other.desktop")},
                    {"etc/xdg/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry},
                    {"usr/share/applications/other.desktop", kOtherEntry}},
                   "/opt/other/other"},
        LookupCase{"SystemConfigDefault",
                   {{"etc/xdg/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"DataFolderDefault",
                   {{"usr/share/applications/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"UserEntryInDataHome",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"home/.local/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"FirstInstalledOfTheList",
                   {{"home/.config/mimeapps.list", DefaultFor("gone.desktop;other.desktop;")},
                    {"usr/share/applications/other.desktop", kOtherEntry}},
                   "/opt/other/other"},
        LookupCase{"NoneInstalledFallsBackToNextFile",
                   {{"home/.config/mimeapps.list", DefaultFor("gone.desktop")},
                    {"etc/xdg/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"DesktopSpecificListFirst",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"home/.config/gnome-mimeapps.list", DefaultFor("other.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry},
                    {"usr/share/applications/other.desktop", kOtherEntry}},
                   "/opt/other/other",
                   "ubuntu:GNOME"},
        LookupCase{"OtherSectionIgnored",
                   {{"home/.config/mimeapps.list",
                     "[Added Associations]\nx-scheme-handler/http=web.desktop\n"},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   std::nullopt},
        LookupCase{"MimeTypeWithoutLetterCase",
                   {{"home/.config/mimeapps.list",
                     "# comment\n[Default Applications]\nX-Scheme-Handler/HTTP = web.desktop\n"},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{"EntryInSubfolder",
                   {{"home/.config/mimeapps.list", DefaultFor("vendor-web.desktop")},
                    {"usr/share/applications/vendor/web.desktop", kWebEntry}},
                   "/opt/web/browser"},
        LookupCase{
            "HiddenByTheUser",
            {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
             {"home/.local/share/applications/web.desktop", "[Desktop Entry]\nHidden=true\n"},
             {"usr/share/applications/web.desktop", kWebEntry}},
            std::nullopt},
        LookupCase{"EntryWithoutExec",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop", "[Desktop Entry]\nName=Web\n"}},
                   std::nullopt},
        LookupCase{"ExecOfAnotherGroupIgnored",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop",
                     "[Desktop Entry]\nName=Web\n[Desktop Action new]\nExec=/opt/x\n"}},
                   std::nullopt},
        LookupCase{"EscapedAndQuotedProgram",
                   {{"home/.config/mimeapps.list", DefaultFor("web.desktop")},
                    {"usr/share/applications/web.desktop",
                     "[Desktop Entry]\nExec=\"/opt/My\\sWeb/browser\" --new %U\n"}},
                   "/opt/My Web/browser"},
        LookupCase{"PathInIdRefused",
                   {{"home/.config/mimeapps.list", DefaultFor("../applications/web.desktop")},
                    {"usr/share/applications/web.desktop", kWebEntry}},
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindBrowser, ExplicitXdgVariablesReplaceTheHomeDefaults) {
    testing::TempDir root;
    fs::create_directories(root / "cfg");
    fs::create_directories(root / "data/applications");
    fs::create_directories(root / "home/.config");
    root.Write("home/.config/mimeapps.list", DefaultFor("other.desktop"));
    root.Write("cfg/mimeapps.list", DefaultFor("web.desktop"));
    root.Write("data/applications/web.desktop", kWebEntry);

    XdgEnvironment environment;
    environment.home = (root / "home").string();
    environment.configHome = (root / "cfg").string();
    environment.dataHome = (root / "data").string();
    environment.configDirs = (root / "none").string();
    environment.dataDirs = (root / "none").string();
    EXPECT_EQ(FindBrowserProgram(environment), "/opt/web/browser");
}

TEST(MimeAppsListFiles, DefaultsFollowTheBaseDirectoryRules) {
    XdgEnvironment environment;
    environment.home = "/h";
    const std::vector<fs::path> expected = {
        "/h/.config/mimeapps.list",
        "/etc/xdg/mimeapps.list",
        "/h/.local/share/applications/mimeapps.list",
        "/usr/local/share/applications/mimeapps.list",
        "/usr/share/applications/mimeapps.list",
    };
    EXPECT_EQ(MimeAppsListFiles(environment), expected);

    environment.home.clear();
    environment.configDirs = "/c1:relative:/c2";
    environment.dataDirs = "/d";
    environment.currentDesktop = "KDE";
    const std::vector<fs::path> withDesktop = {
        "/c1/kde-mimeapps.list",
        "/c1/mimeapps.list",
        "/c2/kde-mimeapps.list",
        "/c2/mimeapps.list",
        "/d/applications/kde-mimeapps.list",
        "/d/applications/mimeapps.list",
    };
    EXPECT_EQ(MimeAppsListFiles(environment), withDesktop);
}

TEST(ExecProgram, TakesTheFirstWordUnquoted) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"browser %u", "browser"},
        {"  /usr/bin/browser   --new-window %U", "/usr/bin/browser"},
        {"\"/opt/My Browser/b\" %u", "/opt/My Browser/b"},
        {R"("/opt/a \"q\" \\ b/x" %u)", R"(/opt/a "q" \ b/x)"},
        {"brow%%ser %u", "brow%ser"},
        {"env MOZ_A=1 B=2 /snap/bin/browser %u", "/snap/bin/browser"},
        {"/usr/bin/env A=1 browser", "browser"},
        {"env -u A browser %u", std::nullopt},
        {"env A=1", std::nullopt},
        {"%u", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
    };
    for (const auto& [exec, program] : cases) {
        EXPECT_EQ(ExecProgram(exec), program) << exec;
    }
}

} // namespace
} // namespace scribvane
