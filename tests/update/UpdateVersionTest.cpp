// The version side of the update check: what the Version text reads as and when it is newer.
#include "update/UpdateVersion.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

namespace scribvane {
namespace {

constexpr float kLocalVersion = 1.03f;

struct VersionCase {
    const char* text;
    float expected;
    bool newer; // against the local 1.03f
};

class RemoteVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(RemoteVersionTest, ReadsTextAndComparesInSinglePrecision) {
    const VersionCase& c = GetParam();
    const float remote = ReadRemoteVersionNumber(c.text);
    EXPECT_EQ(remote, c.expected) << "text: \"" << c.text << "\"";
    EXPECT_EQ(IsNewerVersion(kLocalVersion, remote), c.newer) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    VersionTexts, RemoteVersionTest,
    ::testing::Values(
        VersionCase{"1.03", 1.03f, false}, VersionCase{"1.031", 1.031f, true},
        VersionCase{"1.1", 1.1f, true}, VersionCase{"", 0.0f, false},
        // The point is the separator whatever the user's settings; a comma does not read.
        VersionCase{"1,04", 0.0f, false}, VersionCase{"1,000", 0.0f, false},
        VersionCase{"abc", 0.0f, false}, VersionCase{"+1.04e0", 1.04f, true},
        VersionCase{"-2", -2.0f, false}, VersionCase{"104E-2", 1.04f, true},
        VersionCase{" 1.04 ", 1.04f, true}, VersionCase{".5", 0.5f, false},
        VersionCase{"2.", 2.0f, true}, VersionCase{"2", 2.0f, true},
        // Above 1.03 as a double, but the same single-precision value: nothing new.
        VersionCase{"1.03000001", 1.03f, false},
        // Trailing or half-written parts make the whole text unreadable.
        VersionCase{"1.04x", 0.0f, false}, VersionCase{"1.04 beta", 0.0f, false},
        VersionCase{"1e", 0.0f, false}, VersionCase{"1e+", 0.0f, false},
        VersionCase{".", 0.0f, false}, VersionCase{"-", 0.0f, false},
        VersionCase{"+-1", 0.0f, false}, VersionCase{"--1", 0.0f, false},
        VersionCase{"1.0.4", 0.0f, false}, VersionCase{"0x1p1", 0.0f, false},
        VersionCase{"inf", 0.0f, false}, VersionCase{"nan", 0.0f, false},
        // Beyond single precision: too large is newer, too small reads as zero.
        VersionCase{"1e39", std::numeric_limits<float>::infinity(), true},
        VersionCase{"1e-60", 0.0f, false}));

struct DescriptionCase {
    const char* name;
    const char* contents;
    const char* expected;
};

class UpdateDescriptionTest : public ::testing::TestWithParam<DescriptionCase> {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("scribvane-update-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   GetParam().name);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_P(UpdateDescriptionTest, ReadsVersionOfApplicationSection) {
    const DescriptionCase& c = GetParam();
    const auto path = folder_ / std::string(kUpdateDescriptionName);
    {
        std::ofstream out(path, std::ios::binary);
        out << c.contents;
    }
    EXPECT_EQ(ReadUpdateVersionText(path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, UpdateDescriptionTest,
    ::testing::Values(
        DescriptionCase{"plain", "[APPLICATION]\r\nVersion=1.04\r\n", "1.04"},
        DescriptionCase{"folded", "[application]\nVERSION = \"1.05\"\n", "1.05"},
        DescriptionCase{"text_kept", "[APPLICATION]\nVersion=1,04 beta\n", "1,04 beta"},
        DescriptionCase{"other_section", "[OTHER]\nVersion=9\n[APPLICATION]\nName=x\n", ""},
        DescriptionCase{"empty_value", "[APPLICATION]\nVersion=\n", ""},
        DescriptionCase{"error_page", "<html><body>Not here</body></html>", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateDescriptionFileTest, MissingFileReadsAsEmptyText) {
    EXPECT_EQ(ReadUpdateVersionText(std::filesystem::temp_directory_path() /
                                    "scribvane-no-such-folder" / "mainappupdate.inf"),
              "");
}

} // namespace
} // namespace scribvane
