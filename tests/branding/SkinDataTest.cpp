// Inflating the skin file: only a complete zlib stream of UTF-8 text within the cap is a skin.
#include "branding/SkinData.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace scribvane {
namespace {

// What zlib.compress writes: a zlib header, the deflate data and the Adler-32 trailer.
std::string Compress(std::string_view text) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string out(size, '\0');
    const int status =
        compress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
    EXPECT_EQ(status, Z_OK);
    out.resize(size);
    return out;
}

const std::string kSheet = "QWidget { background: #EEE; }\nQLabel[link=\"true\"] { color: blue; }";

struct SkinCase {
    const char* name;
    std::string data;
    std::optional<std::string> expected;
};

class InflateSkinCases : public ::testing::TestWithParam<SkinCase> {};

TEST_P(InflateSkinCases, GivesTheSheetOrNothing) {
    EXPECT_EQ(InflateSkin(GetParam().data), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Skin, InflateSkinCases,
    ::testing::Values(SkinCase{"Good", Compress(kSheet), kSheet},
                      SkinCase{"ByteOrderMarkDropped", Compress("\xEF\xBB\xBF" + kSheet), kSheet},
                      SkinCase{"NonAsciiUtf8", Compress("/* Caf\xC3\xA9 \xE2\x82\xAC */"),
                               "/* Caf\xC3\xA9 \xE2\x82\xAC */"},
                      SkinCase{"EncodedReplacementCharacterIsText", Compress("a\xEF\xBF\xBDz"),
                               "a\xEF\xBF\xBDz"},
                      SkinCase{"Empty", "", std::nullopt},
                      SkinCase{"Garbage", "QWidget { color: red; }", std::nullopt},
                      SkinCase{"Truncated", Compress(kSheet).substr(0, 12), std::nullopt},
                      SkinCase{"ChecksumDamaged",
                               [] {
                                   auto data = Compress(kSheet);
                                   data.back() = static_cast<char>(data.back() ^ 0x55);
                                   return data;
                               }(),
                               std::nullopt},
                      SkinCase{"TrailingBytes", Compress(kSheet) + "xx", std::nullopt},
                      SkinCase{"Latin1NotUtf8", Compress("/* Caf\xE9 */"), std::nullopt},
                      SkinCase{"OverlongUtf8", Compress("a\xC0\xAFz"), std::nullopt},
                      SkinCase{"EncodedSurrogate", Compress("a\xED\xA0\x80z"), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InflateSkin, OutputIsCappedAgainstDecompressionBombs) {
    // 17 MB of one byte compresses to a few kilobytes.
    const std::string bomb = Compress(std::string(kMaxSkinSize + 1024 * 1024, ' '));
    ASSERT_LT(bomb.size(), 100u * 1024);
    EXPECT_EQ(InflateSkin(bomb), std::nullopt);

    const std::string sheet(1000, 'x');
    EXPECT_EQ(InflateSkin(Compress(sheet), 1000), sheet);
    EXPECT_EQ(InflateSkin(Compress(sheet), 999), std::nullopt);
}

TEST(ReadSkinFile, ReadsOnlyAnExistingSkin) {
    testing::TempDir folder;
    EXPECT_EQ(ReadSkinFile(folder / "dbskin.dat"), std::nullopt);
    EXPECT_EQ(ReadSkinFile(folder.path()), std::nullopt);

    EXPECT_EQ(ReadSkinFile(folder.Write("dbskin.dat", Compress(kSheet))), kSheet);
    EXPECT_EQ(ReadSkinFile(folder.Write("plain.dat", kSheet)), std::nullopt);
}

} // namespace
} // namespace scribvane
