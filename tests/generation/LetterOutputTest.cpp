// Writing the letter: CR LF line ends, whole replacement, and the failure text.
#include "generation/LetterOutput.h"

#include "tests/support/TempDir.h"
#include "utils/Errors.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

struct LineCase {
    std::string page;
    std::string written;
};

class LetterLineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LetterLineEnds, EveryLineEndsInCrLf) {
    TempDir dir;
    const auto file = dir / "index.html";
    WriteLetter(file.string(), GetParam().page);
    EXPECT_EQ(TempDir::Read(file), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Cases, LetterLineEnds,
                         ::testing::Values(LineCase{"a\r\nb\r\n", "a\r\nb\r\n"},
                                           LineCase{"a\nb\nc", "a\r\nb\r\nc\r\n"},
                                           LineCase{"a\rb\n\rc", "a\r\nb\r\n\r\nc\r\n"},
                                           LineCase{std::string("ab\0cd\n", 6), "ab\r\n"},
                                           LineCase{"\xE9t\xE9\r\n", "\xE9t\xE9\r\n"}));

TEST(WriteLetter, ReplacesAnExistingFileWhole) {
    TempDir dir;
    const auto file = dir.Write("index.html", "an old and much longer letter\r\n");
    WriteLetter(file.string(), "new\r\n");
    EXPECT_EQ(TempDir::Read(file), "new\r\n");
}

TEST(WriteLetter, MissingFolderFailsWithTheCreateMessage) {
    TempDir dir;
    const auto file = dir / "missing" / "index.html";
    try {
        WriteLetter(file.string(), "page\r\n");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + file.string() + "\". No such file or directory");
    }
}

} // namespace
} // namespace scribvane
