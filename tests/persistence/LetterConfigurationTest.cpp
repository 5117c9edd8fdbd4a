// Typed letter configuration: initial values, all-or-nothing conversion, file round trip.
#include "persistence/LetterConfiguration.h"

#include "tests/support/TempDir.h"
#include "utils/Errors.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

TEST(LetterConfiguration, InitialValuesAreWrittenInTheFileForms) {
    const ConfigTexts texts = LetterConfiguration().ToTexts();
    for (const Tag tag : {Tag::FSize, Tag::TSize, Tag::OSize}) {
        EXPECT_EQ(texts[Index(tag)], "13");
    }
    for (const Tag tag : {Tag::FUnderline, Tag::FItalic, Tag::FBold, Tag::TUnderline, Tag::TItalic,
                          Tag::TBold, Tag::OUnderline, Tag::OItalic, Tag::OBold}) {
        EXPECT_EQ(texts[Index(tag)], "0");
    }
    EXPECT_EQ(texts[Index(Tag::MainBgColor)], "#FFFFFF");
    EXPECT_EQ(texts[Index(Tag::FBgColor)], "#FFFFD9");
    EXPECT_EQ(texts[Index(Tag::TBgColor)], "#FFFFD9");
    EXPECT_EQ(texts[Index(Tag::OBgColor)], "#C0DCC0");
    for (const Tag tag : {Tag::FColor, Tag::TColor, Tag::OColor}) {
        EXPECT_EQ(texts[Index(tag)], "#000000");
    }
    for (const Tag tag : {Tag::FName, Tag::TName, Tag::OName}) {
        EXPECT_EQ(texts[Index(tag)], "Arial");
    }
    EXPECT_EQ(texts[Index(Tag::PageTitle)], "");
    EXPECT_EQ(texts[Index(Tag::Features)], "");
}

TEST(LetterConfiguration, ConvertsEveryKind) {
    ConfigTexts texts = LetterConfiguration().ToTexts();
    texts[Index(Tag::MainBgColor)] = "#abcdef";
    texts[Index(Tag::FSize)] = "0x1A";
    texts[Index(Tag::TSize)] = " -4";
    texts[Index(Tag::FBold)] = "true";
    texts[Index(Tag::TItalic)] = "1";
    texts[Index(Tag::Features)] = "^a^b^\r\n^c^d^\r\n";
    texts[Index(Tag::PaypalCode)] = "line1\r\nline2";
    const auto config = LetterConfiguration::FromTexts(texts);
    EXPECT_EQ(config.Color(Tag::MainBgColor), 0xEFCDABu);
    EXPECT_EQ(config.Size(Tag::FSize), 26);
    EXPECT_EQ(config.Size(Tag::TSize), -4);
    EXPECT_TRUE(config.Flag(Tag::FBold));
    EXPECT_TRUE(config.Flag(Tag::TItalic));
    EXPECT_EQ(config.Records(Tag::Features), (RecordList{"^a^b^", "^c^d^"}));
    EXPECT_EQ(config.Text(Tag::PaypalCode), "line1\r\nline2");
    const ConfigTexts written = config.ToTexts();
    EXPECT_EQ(written[Index(Tag::MainBgColor)], "#ABCDEF");
    EXPECT_EQ(written[Index(Tag::FSize)], "26");
    EXPECT_EQ(written[Index(Tag::FBold)], "-1");
}

TEST(LetterConfiguration, FirstBadValueInTableOrderStopsTheConversion) {
    struct Case {
        std::vector<std::pair<Tag, std::string>> values;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{{Tag::FSize, ""}}, "'' is not a valid integer value"},
        {{{Tag::FSize, "abc"}}, "'abc' is not a valid integer value"},
        {{{Tag::FBold, "yes"}}, "'yes' is not a valid boolean value"},
        {{{Tag::OBgColor, "#GG0000"}}, "'$000000GG' is not a valid integer value"},
        {{{Tag::OSize, "x"}, {Tag::TBgColor, "#ZZ"}}, "'$00ZZ' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        ConfigTexts texts = LetterConfiguration().ToTexts();
        for (const auto& [tag, text] : c.values) {
            texts[Index(tag)] = text;
        }
        try {
            LetterConfiguration::FromTexts(texts);
            ADD_FAILURE() << "no error, expected " << c.message;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

TEST(LetterConfigurationFile, SaveThenReadGivesEveryValueBack) {
    TempDir dir;
    LetterConfiguration config;
    config.Set(Tag::PageTitle, std::string("Caf\xE9 & more"));
    config.Set(Tag::prfEditor2, std::string("<div>Intro&nbsp;<b>bold</b></div>"));
    config.Set(Tag::Features, RecordList{"^a^b$$c^", "^d^^"});
    config.Set(Tag::Testimonials, RecordList{"^Ann^x.test^Great^"});
    config.Set(Tag::MainBgColor, ColorValue{0x123456});
    config.Set(Tag::TSize, std::int32_t{-2147483647 - 1});
    config.Set(Tag::OBold, true);
    config.Set(Tag::PaypalCode, std::string("<form>\r\n</form>"));
    config.Set(Tag::FooterPicture, std::string("/pics/foot.png"));
    const auto file = dir / "config.dat";
    WriteConfigurationFile(file, config);
    EXPECT_EQ(ReadConfigurationFile(file), config);
}

TEST(LetterConfigurationFile, EmptyFileStopsAtTheFirstSize) {
    TempDir dir;
    try {
        ReadConfigurationFile(dir.Write("config.dat", ""));
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
}

TEST(LetterConfigurationFile, MissingFileFailsWithTheOpenMessage) {
    TempDir dir;
    EXPECT_THROW(ReadConfigurationFile(dir / "config.dat"), FileError);
}

} // namespace
} // namespace scribvane

namespace scribvane {
namespace {

// The optional entries follow the 42, only when set; a reader of the 42 alone, a file without
// them and a file with other line ends all read as they should.
TEST(LetterConfigurationFile, OptionalEntriesFollowTheFortyTwo) {
    TempDir dir;
    LetterConfiguration config;
    config.Set(Tag::FooterPicture, std::string("foot.png"));
    const std::string plain = WriteConfiguration(config.ToTexts());
    config.SetOptional(OptionalTag::Language, "de-CH");
    config.SetOptional(OptionalTag::Template, "Modern");
    const std::string written = WriteConfiguration(config.ToTexts(), config.OptionalValues());
    EXPECT_EQ(written,
              plain +
                  "<%%Language%%>de-CH<%%/Language%%>\r\n<%%Template%%>Modern<%%/Template%%>\r\n");
    EXPECT_EQ(ReadConfigurationTexts(written), config.ToTexts());

    struct Case {
        std::string bytes;
        std::string language, templateName;
    };
    const Case cases[] = {
        {written, "de-CH", "Modern"},
        {ReplaceAll(written, "\r\n", "\n"), "de-CH", "Modern"},
        {plain, "", ""},
        // Out of order: entries are looked for in their own order, each from the one found
        // before, so the Template ahead of the Language is passed over.
        {plain + "<%%Template%%>T<%%/Template%%><%%Language%%>en<%%/Language%%>", "en", ""},
    };
    for (const auto& c : cases) {
        const auto file = dir.Write("config.dat", c.bytes);
        const LetterConfiguration read = ReadConfigurationFile(file);
        EXPECT_EQ(read.Optional(OptionalTag::Language), c.language);
        EXPECT_EQ(read.Optional(OptionalTag::Template), c.templateName);
        EXPECT_EQ(read.Text(Tag::FooterPicture), "foot.png");
    }
    const auto file = dir / "again.dat";
    WriteConfigurationFile(file, config);
    EXPECT_EQ(ReadConfigurationFile(file), config);
}

} // namespace
} // namespace scribvane
