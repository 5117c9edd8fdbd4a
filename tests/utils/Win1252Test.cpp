// Windows-1252 conversion: every byte survives a round trip through Unicode.
#include "utils/Win1252.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

TEST(Win1252, AllBytesRoundTripThroughUtf8AndUtf16) {
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes);
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(bytes)), bytes);
}

TEST(Win1252, MapsTheCodePageTable) {
    const std::vector<std::pair<unsigned char, char32_t>> cases = {
        {0x41, U'A'},   {0x80, 0x20AC}, {0x81, 0x0081},    {0x8D, 0x008D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},    {0x92, 0x2019},
        {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, U'\u00E9'}, {0xFF, 0x00FF},
    };
    for (const auto& [byte, codePoint] : cases) {
        EXPECT_EQ(Win1252ToCodePoint(byte), codePoint);
        EXPECT_EQ(CodePointToWin1252(codePoint), byte);
    }
}

TEST(Win1252, UnrepresentableAndInvalidInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC caf\xC3\xA9"), "\x80 caf\xE9");
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");     // CJK
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?"); // emoji, 4 bytes
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");           // truncated sequence
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "?");         // overlong form of "/"
    EXPECT_EQ(Utf16ToAnsi(u"\U0001F600x"), "?x");   // surrogate pair is one character
    EXPECT_EQ(Utf16ToAnsi(std::u16string(1, u'\xD800')), "?");
    EXPECT_FALSE(CodePointToWin1252(0x0100).has_value());
}

} // namespace
} // namespace scribvane
