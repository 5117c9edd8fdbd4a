// The config.dat text format: writer, reader, and the reader's search rules.
#include "persistence/ConfigFormat.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

ConfigTexts SampleTexts() {
    ConfigTexts texts;
    for (const auto& field : kConfigFields) {
        texts[Index(field.tag)] = std::string(field.initial);
    }
    texts[Index(Tag::PageTitle)] = "Tom & Jerry's <b>page</b>";
    texts[Index(Tag::prfEditor1)] = "<div><b>Headline</b>&nbsp;here</div>";
    texts[Index(Tag::PaypalCode)] = "<form>\r\n<input type=\"hidden\">\r\n</form>";
    texts[Index(Tag::Features)] = RecordListText({"^Fast^one$$two^", "^Cheap^$$ and ^ caret^"});
    texts[Index(Tag::Testimonials)] = RecordListText({"^Ann^example.test^Great^", ""});
    texts[Index(Tag::FSize)] = "-12";
    texts[Index(Tag::TSize)] = "$1A";
    texts[Index(Tag::FBold)] = "-1";
    texts[Index(Tag::MainBgColor)] = "#ABCDEF";
    texts[Index(Tag::FooterPicture)] = "  spaced  ";
    return texts;
}

TEST(ConfigFormat, WriterEntriesAreTaggedInTableOrderWithCrLf) {
    ConfigTexts texts;
    texts[Index(Tag::PageTitle)] = "Title";
    const std::string file = WriteConfiguration(texts);
    EXPECT_EQ(
        file.rfind("<%%PageTitle%%>Title<%%/PageTitle%%>\r\n<%%FullName%%><%%/FullName%%>\r\n", 0),
        0u);
    EXPECT_TRUE(file.ends_with("<%%FooterPicture%%><%%/FooterPicture%%>\r\n"));
    EXPECT_NE(file.find("<%%Atention%%><%%/Atention%%>\r\n"), std::string::npos);
    EXPECT_NE(file.find("<%%Features%%><%%/Features%%>\r\n"), std::string::npos);
}

TEST(ConfigFormat, TwoRecordsSpanThreePhysicalLines) {
    ConfigTexts texts;
    texts[Index(Tag::Features)] = RecordListText({"^a^b^", "^c^d^"});
    EXPECT_NE(WriteConfiguration(texts).find("<%%Features%%>^a^b^\r\n^c^d^\r\n<%%/Features%%>\r\n"),
              std::string::npos);
}

TEST(ConfigFormat, WriterToReaderRoundTripKeepsEveryValue) {
    const ConfigTexts texts = SampleTexts();
    const std::string file = WriteConfiguration(texts);
    EXPECT_EQ(ReadConfigurationTexts(ConfigurationTextFromBytes(file)), texts);
}

ConfigTexts WrittenAndRead(const ConfigTexts& texts) {
    return ReadConfigurationTexts(ConfigurationTextFromBytes(WriteConfiguration(texts)));
}

TEST(ConfigFormat, LoneLineFeedInARecordListComesBackAsTwoRecords) {
    ConfigTexts texts;
    texts[Index(Tag::Features)] = RecordListText({"^a\nb^c^"});
    EXPECT_EQ(RecordListFromText(WrittenAndRead(texts)[Index(Tag::Features)]),
              (RecordList{"^a", "b^c^"}));
}

TEST(ConfigFormat, ValueHoldingItsOwnClosingTagIsCutThere) {
    ConfigTexts texts;
    texts[Index(Tag::PageTitle)] = "before<%%/pagetitle%%>after";
    texts[Index(Tag::FullName)] = "Ann";
    const ConfigTexts read = WrittenAndRead(texts);
    EXPECT_EQ(read[Index(Tag::PageTitle)], "before");
    EXPECT_EQ(read[Index(Tag::FullName)], "Ann");
}

TEST(ConfigFormat, NulByteMakesEveryLaterTagReadEmpty) {
    ConfigTexts texts;
    texts[Index(Tag::PageTitle)] = "kept";
    texts[Index(Tag::CurrentDate)] = std::string("to\0day", 6);
    texts[Index(Tag::FooterPicture)] = "lost";
    const ConfigTexts read = WrittenAndRead(texts);
    EXPECT_EQ(read[Index(Tag::PageTitle)], "kept");
    EXPECT_EQ(read[Index(Tag::CurrentDate)], "");
    EXPECT_EQ(read[Index(Tag::FooterPicture)], "");
}

TEST(ExtractTaggedValue, SearchRulesOfTheReader) {
    struct Case {
        std::string name;
        std::string text;
        std::vector<std::pair<std::string, std::string>> reads; // tag -> expected value
    };
    const std::vector<Case> cases = {
        {"tags in other letter case",
         "<%%PAGETITLE%%>A<%%/pagetitle%%><%%fullname%%>B<%%/FULLNAME%%>",
         {{"PageTitle", "A"}, {"FullName", "B"}}},
        {"missing pair leaves the position",
         "<%%PageTitle%%>A<%%/PageTitle%%><%%CurrentDate%%>C<%%/CurrentDate%%>",
         {{"PageTitle", "A"}, {"FullName", ""}, {"CurrentDate", "C"}}},
        {"missing closing tag: search goes on after the opening tag",
         "<%%PageTitle%%>A<%%FullName%%>B<%%/FullName%%>",
         {{"PageTitle", ""}, {"FullName", "B"}}},
        {"swapped pairs: the later one reads empty",
         "<%%Description%%>D<%%/Description%%><%%ProductName%%>P<%%/ProductName%%>",
         {{"ProductName", "P"}, {"Description", ""}}},
        {"duplicated pair: the first counts",
         "<%%PageTitle%%>1<%%/PageTitle%%><%%PageTitle%%>2<%%/PageTitle%%><%%FullName%%>F<%%/"
         "FullName%%>",
         {{"PageTitle", "1"}, {"FullName", "F"}}},
        {"text between pairs is skipped; values are not trimmed",
         "junk<%%PageTitle%%> A \r\n<%%/PageTitle%%>more junk<%%FullName%%><%%/FullName%%>",
         {{"PageTitle", " A \r\n"}, {"FullName", ""}}},
        {"empty text", "", {{"PageTitle", ""}, {"FooterPicture", ""}}},
        {"closing tag ends the value at its first occurrence",
         "<%%PageTitle%%>a<%%/PageTitle%%>b<%%/PageTitle%%>",
         {{"PageTitle", "a"}}},
        {"only ASCII letters fold", "<%%PAGETİTLE%%>x<%%/PageTitle%%>", {{"PageTitle", ""}}},
    };
    for (const auto& c : cases) {
        TaggedValueReader reader(c.text);
        for (const auto& [tag, expected] : c.reads) {
            EXPECT_EQ(reader.ExtractTaggedValue(tag), expected) << c.name << " / " << tag;
        }
    }
}

TEST(ConfigFormat, EmptyFileGivesEmptyValueForEveryTag) {
    for (const auto& text : ReadConfigurationTexts(ConfigurationTextFromBytes(""))) {
        EXPECT_EQ(text, "");
    }
}

TEST(RecordListText, EveryLineBreakEndsARecordAndAFinalOneAddsNone) {
    using Records = RecordList;
    EXPECT_EQ(RecordListText({}), "");
    EXPECT_EQ(RecordListText({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(RecordListFromText(""), Records{});
    EXPECT_EQ(RecordListFromText("\r\n"), Records{""});
    EXPECT_EQ(RecordListFromText("a\r\n\r\nb"), (Records{"a", "", "b"}));
    EXPECT_EQ(RecordListFromText("a\r\nb\r\n"), (Records{"a", "b"}));
}

} // namespace
} // namespace scribvane
