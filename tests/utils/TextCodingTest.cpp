// Percent, hexadecimal and base64 coding: the known vectors, and what broken text gives.
#include "utils/TextCoding.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

TEST(TextCoding, Base64MatchesTheStandardVectorsBothWays) {
    // RFC 4648, section 10, and bytes above 0x7F.
    const struct {
        std::string bytes;
        const char* padded;
        const char* unpadded;
    } cases[] = {
        {"", "", ""},
        {"f", "Zg==", "Zg"},
        {"fo", "Zm8=", "Zm8"},
        {"foo", "Zm9v", "Zm9v"},
        {"foob", "Zm9vYg==", "Zm9vYg"},
        {"fooba", "Zm9vYmE=", "Zm9vYmE"},
        {"foobar", "Zm9vYmFy", "Zm9vYmFy"},
        {std::string("\xFB\xFF\x00", 3), "+/8A", "+/8A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeBase64(c.bytes), c.padded);
        EXPECT_EQ(EncodeBase64(c.bytes, false), c.unpadded);
        EXPECT_EQ(DecodeBase64(c.padded), c.bytes) << c.padded;
        EXPECT_EQ(DecodeBase64(c.unpadded), c.bytes) << c.unpadded;
    }
    // Line breaks inside, the address-safe alphabet, and a limit.
    EXPECT_EQ(DecodeBase64("Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(DecodeBase64("-_8A"), std::string("\xFB\xFF\x00", 3));
    EXPECT_EQ(DecodeBase64("Zm9vYmFy", 2), "fo");
}

TEST(TextCoding, PercentEscapesKeepOnlyWhatAnAddressMayHold) {
    EXPECT_EQ(EncodePercent("a b/\xC3\xBC~-._"), "a%20b%2F%C3%BC~-._");
    EXPECT_EQ(EncodePercent("/a b/c/", "/"), "/a%20b/c/");
    const struct {
        const char* text;
        std::optional<std::string> strict;
        const char* loose;
    } cases[] = {
        {"a%20b%2f", "a b/", "a b/"},   {"%C3%BC", "\xC3\xBC", "\xC3\xBC"},
        {"100%", std::nullopt, "100%"}, {"%zz1", std::nullopt, "%zz1"},
        {"%4", std::nullopt, "%4"},     {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodePercent(c.text), c.strict) << c.text;
        EXPECT_EQ(DecodePercentLoosely(c.text), c.loose) << c.text;
    }
    EXPECT_EQ(DecodePercentLoosely("%41%42%43", 2), "AB");
}

TEST(TextCoding, HexWritesBothCasesAndReadsEitherDigit) {
    EXPECT_EQ(EncodeHex("\x01\xAB\xFF", HexCase::Lower), "01abff");
    EXPECT_EQ(EncodeHex("\x01\xAB\xFF", HexCase::Upper, ":"), "01:AB:FF");
    EXPECT_EQ(EncodeHex("", HexCase::Upper, ":"), "");
    for (const auto& [c, value] : {std::pair{'0', 0},
                                   {'9', 9},
                                   {'a', 10},
                                   {'F', 15},
                                   {'g', -1},
                                   {'G', -1},
                                   {' ', -1},
                                   {'/', -1},
                                   {':', -1},
                                   {'@', -1}}) {
        EXPECT_EQ(HexDigitValue(c), value) << c;
    }
}

} // namespace
} // namespace scribvane
