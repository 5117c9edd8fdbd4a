// INI reading with profile rules.
#include "utils/IniFile.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

TEST(IniFile, ReadsValuesWithProfileRules) {
    const IniFile ini("\xEF\xBB\xBF; comment\r\n"
                      "[Settings]\r\n"
                      "AppName = Quick Letters \r\n"
                      "Quoted=\"  spaced  \"\r\n"
                      "Single='x'\r\n"
                      "Unbalanced=\"x\r\n"
                      "Empty=\r\n"
                      "Twice=first\r\n"
                      "twice=second\r\n"
                      "Equals=a=b\n"
                      "  [ Other ]  \n"
                      "appname=other section\r"
                      "NoEquals\n");
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"Settings", "AppName", "Quick Letters"},
        {"SETTINGS", "appname", "Quick Letters"},
        {"Settings", "Quoted", "  spaced  "},
        {"Settings", "Single", "x"},
        {"Settings", "Unbalanced", "\"x"},
        {"Settings", "Empty", ""},
        {"Settings", "Missing", ""},
        {"Missing", "AppName", ""},
        {"Settings", "Twice", "first"},
        {"Settings", "Equals", "a=b"},
        {"Other", "AppName", "other section"},
        {"Other", "NoEquals", ""},
    };
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(ini.Read(section, key), expected) << section << "/" << key;
    }
}

TEST(IniFile, KeysBeforeAnySectionAreIgnoredAndLongValuesAreCut) {
    const IniFile ini("Orphan=1\n[S]\nLong=" + std::string(5000, 'v') + "\n");
    EXPECT_EQ(ini.Read("", "Orphan"), "");
    EXPECT_EQ(ini.Read("S", "Long"), std::string(IniFile::kMaxValueLength, 'v'));
}

TEST(IniFile, MissingFileReadsEmpty) {
    EXPECT_EQ(IniFile::Load("/nonexistent/dbconfig.dat").Read("Settings", "AppName"), "");
}

} // namespace
} // namespace scribvane
