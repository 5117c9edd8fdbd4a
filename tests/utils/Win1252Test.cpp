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

// Typed text to stored bytes: what the code page cannot hold is kept as a decimal reference of
// one whole code point; what cannot be a character at all is kept as U+FFFD's.
TEST(Win1252, CharactersBeyondTheCodePageAreStoredAsReferences) {
    const std::vector<std::pair<std::string, std::string>> utf8Cases = {
        {"\xE2\x82\xAC caf\xC3\xA9", "\x80 caf\xE9"},             // held by the code page
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "&#321;\xF3\x64&#378;"}, // Łódź
        {"\xE2\x9C\x94 \xE2\x86\x92", "&#10004; &#8594;"},        // ✔ →
        {"\xF0\x9F\x9A\x80", "&#128640;"},                        // emoji, 4 bytes
        {"a\xC3", "a&#65533;"},                                   // truncated sequence
        {"\xC0\xAF", "&#65533;"},                                 // overlong form of "/"
        {"&#321;", "&#321;"},                                     // typed literally
    };
    for (const auto& [utf8, stored] : utf8Cases) {
        EXPECT_EQ(Utf8ToAnsi(utf8), stored) << utf8;
    }
    EXPECT_EQ(Utf16ToAnsi(u"\U0001F680x"), "&#128640;x"); // a surrogate pair is one character
    EXPECT_EQ(Utf16ToAnsi(std::u16string(1, u'\xD800') + u"x"), "&#65533;x");
    EXPECT_EQ(Utf16ToAnsi(std::u16string(1, u'\xDC00')), "&#65533;");
    EXPECT_FALSE(CodePointToWin1252(0x0100).has_value());
}

// Stored bytes to shown text: references to characters beyond the code page are shown as the
// characters; anything else, malformed or held by the code page, stays as it is.
TEST(Win1252, ReferencesBeyondTheCodePageAreShownAsCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"&#321;\xF3\x64&#378;", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        {"&#x141;&#X1F680;", "\xC5\x81\xF0\x9F\x9A\x80"},
        {"&#128640;", "\xF0\x9F\x9A\x80"},
        {"&#233; &#8364; &#x41;", "&#233; &#8364; &#x41;"}, // the code page holds them
        {"&#0; &#55357; &#1114112; &#99999999999999;",
         "&#0; &#55357; &#1114112; &#99999999999999;"},
        {"&#321 &#; &#x; &# &", "&#321 &#; &#x; &# &"}, // no ";" or no digits
        {"&amp;#321;", "&amp;#321;"},
        {"&&#321;", "&\xC5\x81"},
        {"\x80", "\xE2\x82\xAC"},
    };
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(AnsiToShownUtf8(stored), shown) << stored;
        // Shown text stored again gives the same bytes, except that hexadecimal references
        // come back decimal.
        if (stored.find("&#x") == std::string::npos && stored.find("&#X") == std::string::npos) {
            EXPECT_EQ(Utf8ToAnsi(shown), stored) << stored;
        }
    }
    EXPECT_EQ(AnsiToShownUtf16("&#128640;"), u"\U0001F680");
}

TEST(Win1252, ShowingAHundredMegabytesOfReferencesIsLinear) {
    std::string digits = "&#" + std::string(50'000'000, '1');
    std::string many;
    many.reserve(50'000'000);
    while (many.size() < 50'000'000) {
        many += "&#128640;&#";
    }
    EXPECT_EQ(AnsiToShownUtf8(digits), digits);
    EXPECT_EQ(AnsiToShownUtf8(many).size(), many.size() / 11 * 6);
}

} // namespace
} // namespace scribvane
