// Shared text routines: splitting, line breaks, colours, the editor fragment, replacement.
#include "utils/TextHelpers.h"

#include "utils/Errors.h"
#include "utils/TextSink.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    std::string text;
    Pieces expected;
};

class SplitByCharTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitByCharTest, SplitsAtEveryDelimiterAndDropsOnlyAnEmptyLastPiece) {
    Pieces pieces = {"left over", "from before"};
    SplitByChar('^', GetParam().text, pieces);
    EXPECT_EQ(pieces, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitByCharTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"^", {""}}, SplitCase{"a^^b", {"a", "", "b"}},
                      SplitCase{"a^^", {"a", ""}}, SplitCase{"^a^b^", {"", "a", "b"}},
                      SplitCase{"abc", {"abc"}}, SplitCase{"^title^body^", {"", "title", "body"}}));

TEST(EncodeLineBreaks, DropsOneTrailingPairAndEncodesTheRest) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"\r\n", ""},
        {"line1\r\nline2\r\n", "line1$$line2"},
        {"a\r\n\r\n", "a$$"},
        {"a\nb", "a\nb"},
        {"a\rb", "a\rb"},
        {"x", "x"},
        {"\r", "\r"},
        {"$$ typed", "$$ typed"},
        {"a\r\r\n", "a\r"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(EncodeLineBreaks(text), expected) << "input: " << text;
    }
}

TEST(HtmlToColor, ReadsRedIntoTheLowByteWithTheJoinRule) {
    const std::vector<std::pair<std::string, ColorValue>> cases = {
        {"#FF0000", 0x0000FF},
        {"#0000ff", 0xFF0000},
        {"", 0},
        {"#", 0},
        {"#00FF00", 0x00FF00},
        {"#FF00", 0x0000FF},
        {"#FFF", 0x0FFF},
        {"#12345", 0x053412},
        {"FFFFD9", 0xD9FFFF},
        {"#12#34#56", 0x563412},
        {"#ABCDEF99", 0xEFCDAB},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(HtmlToColor(text), expected) << "input: " << text;
    }
}

TEST(HtmlToColor, NonHexadecimalDigitFailsNamingTheJoinedText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"#GG0000", "'$000000GG' is not a valid integer value"},
        {"#12 456", "'$0056 412' is not a valid integer value"},
        {"red", "'$00dre' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases) {
        try {
            HtmlToColor(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(ColorToHtml, WritesRedFirstInUpperCaseAndIgnoresTheTopByte) {
    const std::vector<std::pair<ColorValue, std::string>> cases = {
        {0x0000FF, "#FF0000"},   {0x00FF00, "#00FF00"},   {0xFF0000, "#0000FF"},
        {0xFF000000, "#000000"}, {0x8000000F, "#0F0000"}, {0xD9FFFF, "#FFFFD9"},
        {0xABCDEF, "#EFCDAB"},
    };
    for (const auto& [color, expected] : cases) {
        EXPECT_EQ(ColorToHtml(color), expected);
        EXPECT_EQ(HtmlToColor(ColorToHtml(color)), color & 0xFFFFFFu);
    }
}

TEST(StripEditorDocument, RemovesWrapperTagsLineBreaksAndSpacePairs) {
    const std::string meta =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\" />";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<html><head><title></title>" + meta + "</head><body>text</body></html>", "text"},
        {"<html>\r\n<head>\r\n<title></title>\r\n" + meta +
             "\r\n</head>\r\n<body>\r\n  <div>a</div>\r\n</body>\r\n</html>\r\n",
         "<div>a</div>"},
        {"<BODY>x</BODY>", "<BODY>x</BODY>"},
        {"<body class=\"a\">x</body>", "<body class=\"a\">x"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"},
        {"<title>t</title>", "<title>t</title>"},
        {"a   b", "a b"},
        {"a    b", "ab"},
        {"a \n b", "ab"},
        {"a \r b", "a  b"},
        {"<bo\ndy>", "<body>"},
    };
    for (const auto& [markup, expected] : cases) {
        EXPECT_EQ(StripEditorDocument(markup), expected) << "input: " << markup;
    }
}

TEST(StripEditorDocument, NeverLeavesALineBreak) {
    const std::string fragment = StripEditorDocument("a\r\nb\rc\nd\n\r\r\n");
    EXPECT_EQ(fragment.find_first_of("\r\n"), std::string::npos);
}

TEST(ReplaceAll, OnePassLeftToRightWithoutOverlapOrRescan) {
    struct Case {
        std::string text, pattern, value, expected;
    };
    const std::vector<Case> cases = {
        {"%%A%% and %%A%%", "%%A%%", "x", "x and x"},
        {"%%a%%", "%%A%%", "x", "%%a%%"},
        {"aaa", "aa", "b", "ba"},
        {"%%A%%", "%%A%%", "%%A%%%%A%%", "%%A%%%%A%%"},
        {"abc", "", "x", "abc"},
        {"", "a", "x", ""},
        {"xay", "a", "", "xy"},
        {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.value), c.expected) << c.text;
    }
}

const std::vector<std::pair<std::string, std::string>> kLineCases = {
    {"", ""},
    {"abc", "abc\r\n"},
    {"a\r\n", "a\r\n"},
    {"a\nb\n", "a\r\nb\r\n"},
    {"a\rb", "a\r\nb\r\n"},
    {"a\n\rb", "a\r\n\r\nb\r\n"},
    {"\n", "\r\n"},
    {"\r\n\r\n", "\r\n\r\n"},
    {std::string("ab\0cd\r\nef", 9), "ab\r\n"},
    {std::string("\0abc", 4), ""},
    {std::string("a\r\n\0", 4), "a\r\n"},
    {"a\r\r\nb\n\nc\r", "a\r\n\r\nb\r\n\r\nc\r\n"},
};

TEST(NormalizeLines, EveryLineEndsInCrLfAndNulEndsTheText) {
    for (const auto& [bytes, expected] : kLineCases) {
        EXPECT_EQ(NormalizeLines(bytes), expected);
    }
}

// Read as a shortcut for "normalizing changes nothing", with the breaks on both sides of the
// blocks of sixteen and thirty-two bytes the scan looks at.
TEST(HasNormalLines, SaysWhetherNormalizingChangesNothing) {
    std::vector<std::string> texts;
    for (const auto& [bytes, expected] : kLineCases) {
        texts.push_back(bytes);
        texts.push_back(expected);
    }
    for (std::size_t at = 0; at < 36; ++at) {
        const std::string before(at, 'a');
        for (const std::string_view odd : {"\r\n", "\n", "\r", "\r\r\n", "\n\r"}) {
            texts.push_back(before + std::string(odd) + "b\r\n");
        }
    }
    // One odd byte among thousands of CR LF, on either side of where the scan adds up what it
    // counted.
    std::string lines;
    while (lines.size() < 20'000) {
        lines += "a line\r\n";
    }
    texts.push_back(lines);
    for (const std::size_t at : {4079, 4080, 8159, 8160, 8161, 16'321, 19'995}) {
        for (const char odd : {'\r', '\n', '\0'}) {
            texts.push_back(lines);
            texts.back().insert(at, 1, odd);
        }
    }
    for (const auto& text : texts) {
        EXPECT_EQ(HasNormalLines(text), NormalizeLines(text) == text) << text;
    }
}

// The letter reaches the sink in pieces cut anywhere, a CR LF or a NUL included.
TEST(LineEndSink, PiecesCutAnywhereGiveTheWholeTextsLines) {
    for (const auto& [bytes, expected] : kLineCases) {
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            std::string out;
            StringSink sink(out);
            LineEndSink lines(sink);
            lines.Put(std::string_view(bytes).substr(0, cut));
            for (const char c : std::string_view(bytes).substr(cut)) {
                lines.Put(std::string_view(&c, 1));
            }
            lines.Finish();
            EXPECT_EQ(out, expected) << "cut at " << cut;
        }
    }
}

TEST(SplitLines, FinalLineBreakAddsNoEmptyLine) {
    EXPECT_EQ(SplitLines(""), Pieces{});
    EXPECT_EQ(SplitLines("\r\n"), Pieces{""});
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\nb\r"), (Pieces{"a", "b"}));
}

TEST(IgnoringAsciiCase, FindsAndComparesWithoutLetterCaseButWithEveryOtherByte) {
    struct Case {
        std::string_view text;
        std::string_view needle;
        std::size_t from;
        std::size_t found;
        bool startsWith;
    };
    constexpr auto npos = std::string_view::npos;
    const Case cases[] = {
        {"<FORM action=x>", "<form", 0, 0, true},
        {"a ACTION= b action=", "action=", 3, 12, false},
        {"abc", "", 1, 1, true},
        {"abc", "b", 4, npos, false},
        {"\xC9t\xE9", "\xE9T\xE9", 0, npos, false}, // only A-Z fold
        {"HTTPS://x", "https://", 0, 0, true},
        {"htt", "http", 0, npos, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindIgnoringAsciiCase(c.text, c.needle, c.from), c.found) << c.text;
        EXPECT_EQ(StartsWithIgnoringAsciiCase(c.text, c.needle), c.startsWith) << c.text;
    }
    for (const std::string_view address : {"http://a", "HTTPS://shop.example/o", "Http://"}) {
        EXPECT_TRUE(IsWebAddress(address)) << address;
    }
    for (const std::string_view address :
         {"www.shop.example", "ftp://a", "https:/a", " http://a"}) {
        EXPECT_FALSE(IsWebAddress(address)) << address;
    }
}

} // namespace
} // namespace scribvane
