// Damaged, hand-edited or hostile files fed to the readers of the core: none may crash, hang
// or take minutes.
#include "generation/LetterCheck.h"
#include "generation/LetterGenerator.h"
#include "generation/MergeSteps.h"
#include "persistence/LetterConfiguration.h"
#include "tests/support/TempDir.h"
#include "utils/Errors.h"
#include "utils/IniFile.h"

#include <gtest/gtest.h>
#include <random>

namespace scribvane {
namespace {

using testing::TempDir;

ConfigTexts InitialTexts() {
    return LetterConfiguration().ToTexts();
}

TEST(HostileConfiguration, HundredMegabyteValueLoads) {
    TempDir dir;
    ConfigTexts texts = InitialTexts();
    texts[Index(Tag::prfEditor2)] = std::string(100u << 20, 'x');
    const auto file = dir.Write("config.dat", WriteConfiguration(texts));
    const auto config = ReadConfigurationFile(file);
    EXPECT_EQ(config.Text(Tag::prfEditor2).size(), 100u << 20);
    EXPECT_EQ(config.Size(Tag::OSize), 13);
}

TEST(HostileConfiguration, MillionRecordsLoad) {
    TempDir dir;
    ConfigTexts texts = InitialTexts();
    std::string records;
    for (int i = 0; i < 1'000'000; ++i) {
        records += "^t^b$$c^\r\n";
    }
    texts[Index(Tag::Testimonials)] = records;
    const auto config = ReadConfigurationFile(dir.Write("config.dat", WriteConfiguration(texts)));
    EXPECT_EQ(config.Records(Tag::Testimonials).size(), 1'000'000u);
}

TEST(HostileConfiguration, CheckAndPlacementsTakeAHundredMegabytesAndAMillionRecords) {
    LetterValues values;
    // Near misses of placeholders all the way: every "%%" followed by a capital is a look.
    values.paypalCode = std::string();
    values.paypalCode.reserve(100u << 20);
    while (values.paypalCode.size() < (100u << 20)) {
        values.paypalCode += "%%PAGETITL%%%";
    }
    values.headerPicture = "/" + std::string(100u << 20, 'a');
    values.testimonials.assign(1'000'000, "^t^www.shop.example^b^c^");
    const auto findings = CheckLetter(values, {std::string_view("%%PAYPALCODE%%"), true, {}});
    const auto has = [&](LetterField field) {
        return std::any_of(findings.begin(), findings.end(),
                           [&](const Finding& f) { return f.field == field; });
    };
    EXPECT_TRUE(has(Tag::PaypalCode));
    EXPECT_TRUE(has(Tag::Testimonials));
    EXPECT_TRUE(has(Tag::HeaderPicture));
    for (const auto placement : {PicturePlacement::ShowInPlace, PicturePlacement::Embed}) {
        values.placement = placement;
        EXPECT_FALSE(MergeLetter("%%HEADERPICTURE%%", values).empty());
    }
}

TEST(HostileConfiguration, NulAndInvalidBytesEverywhereNeverCrash) {
    std::mt19937 random(20261209);
    const std::string valid = WriteConfiguration(InitialTexts());
    int loaded = 0;
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        const int damage = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < damage; ++i) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        if (round % 3 == 0) {
            bytes.insert(random() % bytes.size(), 1, '\0');
        }
        try {
            const auto config = LetterConfiguration::FromTexts(
                ReadConfigurationTexts(ConfigurationTextFromBytes(bytes)));
            // What did load must save and load again unchanged.
            const auto again = LetterConfiguration::FromTexts(ReadConfigurationTexts(
                ConfigurationTextFromBytes(WriteConfiguration(config.ToTexts()))));
            EXPECT_EQ(again, config) << "round " << round;
            ++loaded;
        } catch (const ConversionError&) {
            ++refused;
        }
    }
    // Damage to a digit or tag of a size or flag refuses the file; most rounds still load.
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(HostileConfiguration, ManyUnclosedTagsStayLinear) {
    // Every search for a missing closing tag scans to the end; 42 such scans of 20 MB are fine.
    std::string bytes;
    for (int i = 0; i < 1'000'000; ++i) {
        bytes += "<%%PageTitle%%>";
    }
    const ConfigTexts texts = ReadConfigurationTexts(ConfigurationTextFromBytes(bytes));
    EXPECT_EQ(texts[Index(Tag::PageTitle)], "");
}

TEST(HostileTemplate, FiftyMegabytesWithEveryPlaceholderTenThousandTimes) {
    const auto placeholders = PagePlaceholders();
    const std::string filler(260, 'x');
    std::string page;
    page.reserve(52u << 20);
    for (int round = 0; round < 10'000; ++round) {
        for (const auto& placeholder : placeholders) {
            page += placeholder;
            page += filler;
            page += "\r\n";
        }
    }
    ASSERT_GE(page.size(), 50u << 20);

    LetterValues values;
    values.pageTitle = "Title";
    values.fullName = "Ann";
    values.directLink = "http://order.invalid/";
    values.clickBankName = "account";
    values.features = {"^Fast^yes^", "^Cheap^indeed^"};
    values.testimonials = {"^Ann^example.test^Great^"};
    values.mainHeadline = {false, "<b>Headline</b>"};
    values.outputFileName = "letter.html";
    const std::string merged = MergeLetter(std::move(page), values);
    for (const auto& placeholder : placeholders) {
        EXPECT_EQ(merged.find(placeholder), std::string::npos) << placeholder;
    }
    EXPECT_NE(merged.find("<b>Headline</b>"), std::string::npos);
}

TEST(HostileBranding, TenThousandSections) {
    std::string ini;
    for (int i = 0; i < 10'000; ++i) {
        ini += "[Section" + std::to_string(i) + "]\r\nAppName=App " + std::to_string(i) +
               "\r\nBannerPath1=b" + std::to_string(i) + ".jpg\r\n";
    }
    ini += "[Settings]\r\nAppName=Last\r\n";
    const IniFile file(ini);
    EXPECT_EQ(file.Read("Settings", "AppName"), "Last");
    EXPECT_EQ(file.Read("Section9999", "BannerPath1"), "b9999.jpg");
}

TEST(HostileBranding, BinaryGarbageReadsAsNothing) {
    std::mt19937 random(7);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() % 256);
    }
    const IniFile file(bytes);
    EXPECT_LE(file.Read("Settings", "AppName").size(), IniFile::kMaxValueLength);
}

} // namespace
} // namespace scribvane
