// Checks the data the program ships in Templates/: every template is a complete, modern page
// that takes every page field, has a preview the window can find, and the sample configuration
// is a file the program itself could have saved.
#include "generation/BlockDialect.h"
#include "generation/LetterGenerator.h"
#include "generation/LetterValues.h"
#include "generation/MergeSteps.h"
#include "generation/TemplateCatalogue.h"
#include "persistence/ConfigFormat.h"
#include "persistence/ConfigTags.h"
#include "persistence/LetterConfiguration.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {
namespace {

const std::filesystem::path kTemplatesDir = SCRIBVANE_TEMPLATES_DIR;
const std::filesystem::path kSampleConfig = kTemplatesDir / "sample-config.dat";

// The twenty tokens the letter merge replaces in the page text.
const std::span<const std::string_view> kPagePlaceholders = PagePlaceholders();

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Width and height from the first start-of-frame marker of a JPEG stream.
std::optional<std::pair<int, int>> JpegSize(std::string_view bytes) {
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at + 9 < bytes.size()) {
        if (byte(at) != 0xFF) {
            return std::nullopt;
        }
        const unsigned marker = byte(at + 1);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const std::size_t length = (byte(at + 2) << 8) | byte(at + 3);
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            return std::pair{(byte(at + 7) << 8) | byte(at + 8),
                             (byte(at + 5) << 8) | byte(at + 6)};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

std::vector<std::string> ShippedTemplates() {
    return ListTemplateFiles(kTemplatesDir);
}

TEST(ShippedTemplates, CatalogueIsNotEmpty) {
    EXPECT_FALSE(ShippedTemplates().empty());
}

class ShippedTemplate : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override { text_ = ReadFileBytes(kTemplatesDir / GetParam()); }
    std::string text_;
};

TEST_P(ShippedTemplate, UsesEveryPagePlaceholder) {
    for (const std::string_view placeholder : kPagePlaceholders) {
        EXPECT_NE(text_.find(placeholder), std::string::npos) << placeholder;
    }
}

// A misspelt token, or a block token that only the order and list blocks replace, would be
// left in the reader's page as it stands. The head placeholders of the html5 dialect count
// for a template that asks for it.
TEST_P(ShippedTemplate, HoldsNoTokenTheMergeLeavesBehind) {
    std::vector<std::string_view> known(kPagePlaceholders.begin(), kPagePlaceholders.end());
    for (const MergeStep& step : LetterSteps(WriterForTemplate(text_))) {
        known.push_back(step.placeholder);
    }
    static const std::regex token("%%[A-Z]+%%");
    for (auto it = std::sregex_iterator(text_.begin(), text_.end(), token);
         it != std::sregex_iterator(); ++it) {
        const std::string found = it->str();
        EXPECT_TRUE(std::find(known.begin(), known.end(), found) != known.end()) << found;
    }
}

// Our templates ask for the html5 blocks, so their letters pass the web's own checks.
TEST_P(ShippedTemplate, AsksForTheHtml5Dialect) {
    EXPECT_EQ(DialectOf(text_), BlockDialect::Html5);
    EXPECT_NE(text_.find("%%LANG%%"), std::string::npos);
    EXPECT_NE(text_.find("%%DESCRIPTION%%"), std::string::npos);
}

TEST_P(ShippedTemplate, IsAnHtml5PageForPhonesAndPrint) {
    const std::string lowered = Lowered(text_);
    EXPECT_TRUE(lowered.starts_with("<!doctype html>"));
    EXPECT_TRUE(std::regex_search(text_, std::regex("<html[^>]* lang=\"%%LANG%%\"")));
    // Most hosts send charset=utf-8, so the letter is written in UTF-8 and the page says so.
    EXPECT_EQ(PageEncodingOf(text_), PageEncoding::Utf8);
    EXPECT_NE(lowered.find("<meta name=\"viewport\" content=\"width=device-width"),
              std::string::npos);
    EXPECT_NE(lowered.find("@media print"), std::string::npos);
    EXPECT_TRUE(std::regex_search(lowered, std::regex("img\\s*\\{[^}]*max-width:\\s*100%")));
}

// The charset line must come before any text the browser would have to decode: only the
// language, plain ASCII, may stand before it.
TEST_P(ShippedTemplate, DeclaresItsCharsetBeforeAnyOtherText) {
    const std::string page = Lowered(ReplaceAll(text_, "%%LANG%%", "en"));
    const auto charset = page.find("<meta charset=");
    ASSERT_NE(charset, std::string::npos);
    EXPECT_LT(charset, page.find("%%"));
    EXPECT_LT(charset, 1024U);
}

// The window shows the preview at its own size in a 400 by 290 area, found by the listed name.
TEST_P(ShippedTemplate, HasAPreviewThatFitsThePreviewArea) {
    const std::string name = TemplateNameOf(GetParam());
    const std::filesystem::path preview = kTemplatesDir / (name + ".jpg");
    ASSERT_TRUE(std::filesystem::is_regular_file(preview)) << preview;
    const auto size = JpegSize(ReadFileBytes(preview));
    ASSERT_TRUE(size.has_value()) << "not a JPEG picture: " << preview;
    EXPECT_LE(size->first, 400);
    EXPECT_LE(size->second, 290);
    EXPECT_GE(size->first, 300) << "too small to tell templates apart";
}

// Merged with the sample letter and with a letter left empty, the page keeps no token at all:
// every placeholder of the template is one the merge replaces.
TEST_P(ShippedTemplate, MergesWithoutLeavingTokens) {
    const auto output = std::filesystem::temp_directory_path() / "scribvane-templates-test.html";
    const LetterConfiguration letters[] = {ReadConfigurationFile(kSampleConfig),
                                           LetterConfiguration()};
    for (const LetterConfiguration& letter : letters) {
        const std::string page = GenerateLetter(LetterValuesFromConfiguration(
            letter, kTemplatesDir, TemplateNameOf(GetParam()), output.string()));
        ASSERT_FALSE(page.empty());
        EXPECT_TRUE(Lowered(page).starts_with("<!doctype html>"));
        std::smatch left;
        EXPECT_FALSE(std::regex_search(page, left, std::regex("%%[A-Za-z]+%%"))) << left.str();
    }
    EXPECT_FALSE(std::filesystem::exists(output)) << "generating must not write the letter";
}

INSTANTIATE_TEST_SUITE_P(Templates, ShippedTemplate, testing::ValuesIn(ShippedTemplates()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (const char c : info.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ShippedTemplate);

TEST(SampleConfiguration, IsNotPartOfTheCatalogue) {
    const auto files = ShippedTemplates();
    EXPECT_EQ(std::find(files.begin(), files.end(), kSampleConfig.filename().string()),
              files.end());
}

TEST(SampleConfiguration, ReadsWithoutConversionError) {
    LetterConfiguration config;
    ASSERT_NO_THROW(config = ReadConfigurationFile(kSampleConfig));
    EXPECT_GE(config.Records(Tag::Features).size(), 2U);
    EXPECT_GE(config.Records(Tag::Testimonials).size(), 2U);
    EXPECT_FALSE(config.Text(Tag::PageTitle).empty());
    EXPECT_FALSE(config.Text(Tag::FullName).empty());
}

// Byte for byte what the writer makes of its own values: all 42 entries in table order, CR LF
// line ends, nothing in between.
TEST(SampleConfiguration, IsExactlyWhatTheWriterWrites) {
    const std::string bytes = ReadFileBytes(kSampleConfig);
    const ConfigTexts texts = ReadConfigurationTexts(ConfigurationTextFromBytes(bytes));
    EXPECT_EQ(WriteConfiguration(texts), bytes);
    EXPECT_EQ(WriteConfiguration(LetterConfiguration::FromTexts(texts).ToTexts()), bytes);
}

TEST(SampleConfiguration, FillsEveryPassageOnOneLine) {
    const ConfigTexts texts =
        ReadConfigurationTexts(ConfigurationTextFromBytes(ReadFileBytes(kSampleConfig)));
    for (const ConfigField& field : kConfigFields) {
        if (field.kind != ValueKind::Passage) {
            continue;
        }
        const std::string& value = texts[Index(field.tag)];
        EXPECT_FALSE(value.empty()) << field.name;
        EXPECT_NE(value, "&nbsp;") << field.name;
        EXPECT_EQ(value.find_first_of("\r\n"), std::string::npos) << field.name;
        EXPECT_EQ(value.find("  "), std::string::npos) << field.name;
    }
}

// Feature records are "^title^body^", testimonials "^name^website^content^"; an inner line
// break is "$$", never a real one, and no field is empty.
TEST(SampleConfiguration, HoldsWellFormedRecords) {
    const LetterConfiguration config = ReadConfigurationFile(kSampleConfig);
    const struct {
        Tag tag;
        std::size_t fields;
    } lists[] = {{Tag::Features, 2}, {Tag::Testimonials, 3}};
    for (const auto& list : lists) {
        for (const std::string_view record : config.Records(list.tag)) {
            SCOPED_TRACE(record);
            ASSERT_TRUE(record.starts_with("^") && record.ends_with("^"));
            std::vector<std::string> pieces;
            SplitByChar('^', record, pieces);
            ASSERT_EQ(pieces.size(), list.fields + 1);
            EXPECT_TRUE(pieces[0].empty());
            for (std::size_t i = 1; i < pieces.size(); ++i) {
                EXPECT_FALSE(pieces[i].empty()) << "field " << i;
            }
        }
    }
}

} // namespace
} // namespace scribvane
