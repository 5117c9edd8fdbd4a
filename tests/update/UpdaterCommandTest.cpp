// The updater's file name and the three arguments it is started with.
#include "update/UpdaterCommand.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

struct NumberCase {
    float value;
    const char* expected;
};

class VersionNumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(VersionNumberTextTest, WritesSinglePrecisionValueWithFifteenDigits) {
    EXPECT_EQ(VersionNumberText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, VersionNumberTextTest,
                         ::testing::Values(NumberCase{1.03f, "1.02999997138977"},
                                           NumberCase{1.5f, "1.5"}, NumberCase{2.0f, "2"},
                                           NumberCase{1.1f, "1.10000002384186"},
                                           NumberCase{-0.25f, "-0.25"}));

TEST(UpdaterCommandTest, ArgumentsAreFolderAddressVersionAndMode) {
    const auto arguments =
        UpdaterArguments("http://127.0.0.1:8080/liveupdate/velmora_demo/", 1.03f, "A");
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[0], "http://127.0.0.1:8080/liveupdate/velmora_demo/");
    EXPECT_EQ(arguments[1], "1.02999997138977");
    EXPECT_EQ(arguments[2], "A");
}

TEST(UpdaterCommandTest, UpdaterFileNameFollowsPlatform) {
#ifdef _WIN32
    EXPECT_EQ(UpdaterFileName(), "Updater.exe");
#else
    EXPECT_EQ(UpdaterFileName(), "Updater");
#endif
}

} // namespace
} // namespace scribvane
