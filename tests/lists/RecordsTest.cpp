// Feature and testimonial records: encoding, fields by position, details, captions.
#include "lists/Records.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

TEST(Records, BuildFramesEveryFieldAndEncodesLineBreaksOfTheLastOnly) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {MakeFeatureRecord("Fast", "first\r\nsecond\r\n"), "^Fast^first$$second^"},
        {MakeFeatureRecord("Empty body", "\r\n"), "^Empty body^^"},
        {MakeFeatureRecord("A^B", "x"), "^A^B^x^"},
        {MakeFeatureRecord("Line\r\nTitle", "b"), "^Line\r\nTitle^b^"},
        {MakeTestimonialRecord("Ann", "example.test", "Great\r\nproduct"),
         "^Ann^example.test^Great$$product^"},
        {MakeTestimonialRecord(" ", " ", " "), "^ ^ ^ ^"},
    };
    for (const auto& [record, expected] : cases) {
        EXPECT_EQ(record, expected);
    }
}

TEST(Records, FieldsByPositionAndMissingFieldsReadEmpty) {
    const std::string record = "^Ann^example.test^Great^";
    EXPECT_EQ(RecordField(record, 0), "");
    EXPECT_EQ(RecordField(record, 1), "Ann");
    EXPECT_EQ(RecordField(record, 2), "example.test");
    EXPECT_EQ(RecordField(record, 3), "Great");
    EXPECT_EQ(RecordField(record, 4), "");
    EXPECT_EQ(RecordField("^only title", 2), "");
    EXPECT_EQ(RecordField("", 1), "");
}

TEST(Records, DetailsShowOneLinePerFieldAndTheLastFieldsLines) {
    const std::vector<std::tuple<RecordKind, std::string, std::string>> cases = {
        {RecordKind::Feature, "^Fast^first$$second^", "Fast\r\nfirst\r\nsecond"},
        {RecordKind::Feature, "^A^B^x^", "A\r\nB"},
        {RecordKind::Feature, "^title only", "title only\r\n"},
        {RecordKind::Testimonial, "^Ann^example.test^Great$$!^",
         "Ann\r\nexample.test\r\nGreat\r\n!"},
        {RecordKind::Testimonial, "^Ann^^^", "Ann\r\n\r\n"},
        {RecordKind::Feature, "^t^a$$$b^", "t\r\na\r\n$b"},
    };
    for (const auto& [kind, record, details] : cases) {
        EXPECT_EQ(RecordDetails(kind, record), details) << record;
    }
}

TEST(Records, DecodeLineBreaksTurnsEveryPairBack) {
    EXPECT_EQ(DecodeLineBreaks("a$$b$$$c", "<br>"), "a<br>b<br>$c");
    EXPECT_EQ(DecodeLineBreaks("$$$$", "\r\n"), "\r\n\r\n");
}

TEST(Records, CaptionsNameTheKindAndNumber) {
    EXPECT_EQ(ListCaption(RecordKind::Feature, 1), "Feature 1");
    EXPECT_EQ(ListCaption(RecordKind::Testimonial, 12), "Testimonial 12");
}

} // namespace
} // namespace scribvane
