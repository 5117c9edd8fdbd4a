// Writing the letter: CR LF line ends, whole replacement, and the failure text.
#include "generation/LetterOutput.h"

#include "tests/support/TempDir.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"

#include <cerrno>
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

// The disk fills up after the first kilobytes of the new letter.
class FullDisk : public FileLayer {
public:
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (written_ >= 4096) {
            errno = ENOSPC;
            return -1;
        }
        const auto n = FileLayer::Write(fd, data, std::min<std::size_t>(size, 1024));
        written_ += n > 0 ? static_cast<std::size_t>(n) : 0;
        return n;
    }

private:
    std::size_t written_ = 0;
};

TEST(WriteLetter, DiskFullPartWayKeepsThePreviousLetterAndLeavesNoTemporary) {
    TempDir dir;
    const auto file = dir.Write("index.html", "the letter that was there\r\n");
    FullDisk layer;
    ScopedFileLayer guard(layer);
    EXPECT_THROW(WriteLetter(file.string(), std::string(100'000, 'x')), FileError);
    EXPECT_EQ(TempDir::Read(file), "the letter that was there\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace scribvane
