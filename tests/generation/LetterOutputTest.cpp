// Writing the letter: CR LF line ends, whole replacement, and the failure text.
#include "generation/LetterOutput.h"

#include "generation/LetterGenerator.h"
#include "generation/LetterPreparation.h"
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

TEST(PageEncoding, ATemplateDeclaresUtf8InAMetaTagOfItsFirst1024Bytes) {
    const std::vector<std::pair<std::string, PageEncoding>> cases = {
        {"<meta charset=\"utf-8\">", PageEncoding::Utf8},
        {"<META CharSet=UTF-8>", PageEncoding::Utf8},
        {"<meta charset='utf8' />", PageEncoding::Utf8},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">",
         PageEncoding::Utf8},
        {"<meta charset=\"windows-1252\">", PageEncoding::Windows1252},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">",
         PageEncoding::Windows1252},
        {"<html><body>no declaration</body></html>", PageEncoding::Windows1252},
        {"<p>charset=utf-8 outside a meta tag</p>", PageEncoding::Windows1252},
        {std::string(1020, ' ') + "<meta charset=utf-8>", PageEncoding::Windows1252},
    };
    for (const auto& [text, encoding] : cases) {
        EXPECT_EQ(PageEncodingOf(text), encoding) << text;
    }
}

// A UTF-8 template gets its page written in UTF-8, references kept; any other template gets the
// merged Windows-1252 bytes unchanged.
TEST(WritePreparedLetter, WritesUtf8OnlyForATemplateThatDeclaresIt) {
    TempDir dir;
    const std::string title = "Caf\xE9 \x80 &#321;\xF3\x64&#378;";
    const std::string output = (dir / "index.html").string();
    const std::string body = "<title>%%PAGETITLE%%</title>\r\n";
    std::filesystem::create_directories(dir / "Templates");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<meta charset=\"utf-8\">\r\n", "<meta charset=\"utf-8\">\r\n<title>Caf\xC3\xA9 "
                                         "\xE2\x82\xAC &#321;\xC3\xB3\x64&#378;</title>\r\n"},
        {"<meta charset=\"windows-1252\">\r\n",
         "<meta charset=\"windows-1252\">\r\n<title>Caf\xE9 \x80 &#321;\xF3\x64&#378;</title>\r\n"},
        {"", "<title>Caf\xE9 \x80 &#321;\xF3\x64&#378;</title>\r\n"},
    };
    for (const auto& [head, written] : cases) {
        dir.Write("Templates/Plain.tem", head + body);
        LetterRequest request;
        request.configuration.Set(Tag::PageTitle, title);
        request.templateFolder = dir / "Templates";
        request.outputFileName = output;
        const PreparedLetter letter = PrepareLetter(std::move(request));
        WritePreparedLetter(letter);
        EXPECT_EQ(TempDir::Read(dir / "index.html"), written) << head;
        WriteLetter(output, letter.Page(), letter.encoding);
        EXPECT_EQ(TempDir::Read(dir / "index.html"), written) << head;
    }
}

// A template saved in UTF-8 that says so joins the letter's Windows-1252 texts correctly;
// Windows-1252 bytes that are no UTF-8 are left alone.
TEST(PageEncoding, AUtf8TemplateIsReadAsUtf8) {
    EXPECT_EQ(TemplateTextAsAnsi("<meta charset=utf-8>caf\xC3\xA9 \xE2\x9C\x94"),
              "<meta charset=utf-8>caf\xE9 &#10004;");
    EXPECT_EQ(TemplateTextAsAnsi("<meta charset=utf-8>caf\xE9"), "<meta charset=utf-8>caf\xE9");
    EXPECT_EQ(TemplateTextAsAnsi("<meta charset=windows-1252>caf\xC3\xA9"),
              "<meta charset=windows-1252>caf\xC3\xA9");
}

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
