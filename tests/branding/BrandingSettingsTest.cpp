// Branding settings from dbconfig.dat, the random choices of banner and links, the caption
// and the file-name rules.
#include "branding/BrandingSettings.h"

#include "branding/BrandingChoice.h"
#include "branding/BrandingFiles.h"
#include "tests/support/TempDir.h"
#include "utils/IniFile.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace scribvane {
namespace {

// Answers the given picks in turn, wrapping around.
RandomIndex Sequence(std::vector<std::size_t> picks) {
    return [picks, next = std::size_t{0}](std::size_t) mutable {
        return picks.empty() ? 0 : picks[next++ % picks.size()];
    };
}

struct BrandingCase {
    const char* name;
    const char* ini;
    std::vector<std::size_t> picks;
    std::string caption;
    BrandingValues expected;
};

class BrandingFromIni : public ::testing::TestWithParam<BrandingCase> {};

TEST_P(BrandingFromIni, ChoosesTheExpectedValues) {
    const auto& param = GetParam();
    const auto settings = BrandingSettings::FromIni(IniFile(param.ini));
    const auto values = ChooseBranding(settings, Sequence(param.picks));

    EXPECT_EQ(BrandedCaption(settings.appName, "Scribvane"), param.caption);
    EXPECT_EQ(values.affiliateId, param.expected.affiliateId);
    EXPECT_EQ(values.bannerUrl, param.expected.bannerUrl);
    EXPECT_EQ(values.bannerPath, param.expected.bannerPath);
    EXPECT_EQ(values.bannerPosition, param.expected.bannerPosition);
    EXPECT_EQ(values.link1Url, param.expected.link1Url);
    EXPECT_EQ(values.link1Name, param.expected.link1Name);
    EXPECT_EQ(values.link2Url, param.expected.link2Url);
    EXPECT_EQ(values.link2Name, param.expected.link2Name);
    EXPECT_EQ(values.iconPath, param.expected.iconPath);
}

constexpr const char* kFourLinks = "[Settings]\n"
                                   "Link1URL=http://one\nLink1Name=One\n"
                                   "Link2URL=http://two\nLink2Name=Two\n"
                                   "Link3URL=http://three\nLink3Name=Three\n"
                                   "Link4URL=http://four\nLink4Name=Four\n";

constexpr const char* kThreeBanners = "[Settings]\n"
                                      "BannerPath1=a.jpg\nBannerURL1=http://a\n"
                                      "BannerPath2=b.gif\n"
                                      "BannerPath3=c.png\nBannerURL3=http://c\n";

INSTANTIATE_TEST_SUITE_P(
    Branding, BrandingFromIni,
    ::testing::Values(
        BrandingCase{
            "OnlyAppName", "[Settings]\nAppName=Quick Letters\n", {}, "Quick Letters v1.03", {}},
        BrandingCase{"NoAppNameKeepsCaption",
                     "[Settings]\nAfiliateID=?id=42\n",
                     {},
                     "Scribvane v1.03",
                     {.affiliateId = "?id=42"}},
        BrandingCase{"SecondBannerOnlyIsStoredFirst",
                     "[Settings]\nBannerPath1=\nBannerPath2=promo.jpg\nBannerURL2=http://p\n"
                     "BannerURL1=http://ignored\n",
                     {0},
                     "Scribvane v1.03",
                     {.bannerUrl = "http://p", .bannerPath = "promo.jpg", .bannerPosition = 1}},
        BrandingCase{"ClickTargetWithoutPathIgnored",
                     "[Settings]\nBannerURL1=http://x\n",
                     {0},
                     "Scribvane v1.03",
                     {}},
        BrandingCase{"FirstOfThreeBanners",
                     kThreeBanners,
                     {0},
                     "Scribvane v1.03",
                     {.bannerUrl = "http://a", .bannerPath = "a.jpg", .bannerPosition = 1}},
        BrandingCase{"BannerWithoutClickTarget",
                     kThreeBanners,
                     {1},
                     "Scribvane v1.03",
                     {.bannerPath = "b.gif", .bannerPosition = 2}},
        BrandingCase{"LastOfThreeBanners",
                     kThreeBanners,
                     {2},
                     "Scribvane v1.03",
                     {.bannerUrl = "http://c", .bannerPath = "c.png", .bannerPosition = 3}},
        BrandingCase{"NameWithoutUrlIgnored",
                     "[Settings]\nLink1URL=http://one\nLink1Name=One\nLink3Name=Three\n",
                     {0},
                     "Scribvane v1.03",
                     {.link1Url = "http://one", .link1Name = "One"}},
        BrandingCase{"UrlWithoutNameHasEmptyCaption",
                     "[Settings]\nLink4URL=http://four\n",
                     {0},
                     "Scribvane v1.03",
                     {.link1Url = "http://four"}},
        // The second pick indexes the links left after the first was taken out.
        BrandingCase{"SecondLinkFromTheRest",
                     kFourLinks,
                     {2, 2},
                     "Scribvane v1.03",
                     {.link1Url = "http://three",
                      .link1Name = "Three",
                      .link2Url = "http://four",
                      .link2Name = "Four"}},
        BrandingCase{"SamePickTwiceGivesDifferentLinks",
                     kFourLinks,
                     {0, 0},
                     "Scribvane v1.03",
                     {.link1Url = "http://one",
                      .link1Name = "One",
                      .link2Url = "http://two",
                      .link2Name = "Two"}},
        BrandingCase{"IconPathKeptAsWritten",
                     "[Settings]\nIconPath=D:\\art\\brand.ico\n",
                     {},
                     "Scribvane v1.03",
                     {.iconPath = "D:\\art\\brand.ico"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrandingChoice, TwoLinksAreNeverTheSameAndEveryPairOccurs) {
    const auto settings = BrandingSettings::FromIni(IniFile(kFourLinks));
    std::set<std::pair<std::string, std::string>> pairs;
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        std::mt19937 generator(seed);
        const auto values = ChooseBranding(settings, [&generator](std::size_t count) {
            return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
        });
        ASSERT_FALSE(values.link1Url.empty());
        ASSERT_FALSE(values.link2Url.empty());
        ASSERT_NE(values.link1Url, values.link2Url) << "seed " << seed;
        pairs.emplace(values.link1Url, values.link2Url);
    }
    EXPECT_EQ(pairs.size(), 12u); // every ordered pair of four different links
}

TEST(BrandingChoice, ClockSeededIndexStaysInRange) {
    for (std::size_t count = 1; count <= 4; ++count) {
        for (int i = 0; i < 200; ++i) {
            ASSERT_LT(ClockSeededIndex(count), count);
        }
    }
    const auto settings = BrandingSettings::FromIni(IniFile(kFourLinks));
    for (int i = 0; i < 200; ++i) {
        const auto values = ChooseBranding(settings, ClockSeededIndex);
        ASSERT_NE(values.link1Url, values.link2Url);
    }
}

TEST(BrandingSettings, LoadNeedsTheBrandingFile) {
    testing::TempDir folder;
    EXPECT_FALSE(BrandingSettings::Load(folder.path()).has_value());

    folder.Write("dbskin.dat", "not a branding file");
    EXPECT_FALSE(BrandingSettings::Load(folder.path()).has_value());

    folder.Write("dbconfig.dat", "[settings]\r\nappname=\"Quick Letters\"\r\n");
    const auto settings = BrandingSettings::Load(folder.path());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->appName, "Quick Letters");
}

TEST(BrandingFiles, FileNamePartOfBrandingPaths) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"D:\\art\\brand.ico", "brand.ico"}, {"/some/dir/brand.ico", "brand.ico"},
        {"brand.ico", "brand.ico"},          {"C:brand.ico", "brand.ico"},
        {"..\\..\\brand.ico", "brand.ico"},  {"art/", ""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(BrandingFileNamePart(path), name) << path;
    }
}

TEST(BrandingFiles, PictureFormatAndAnimation) {
    struct Case {
        const char* path;
        const char* format;
        bool animated;
    };
    const Case cases[] = {
        {"/prog/anim.GIF", "gif", true},     {"/prog/photo.gif.jpg", "jpg", true},
        {"/prog/promo.JPEG", "jpeg", false}, {"/prog/banner", "", false},
        {"/prog/giffy.png", "png", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PictureFormatOf(BrandingFileNamePart(c.path)), c.format) << c.path;
        EXPECT_EQ(IsAnimatedBanner(c.path), c.animated) << c.path;
    }
    EXPECT_EQ(StoredBannerFileName(3), "dbimg3.dat");
}

} // namespace
} // namespace scribvane
