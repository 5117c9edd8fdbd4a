// Feature and testimonial blocks: exact pieces, style words, record fields and "$$".
#include "generation/ListBlocks.h"

#include "lists/Records.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using Records = RecordList;

std::string TestimonialTable(std::string_view styleWords, std::string_view body,
                             std::string_view name, std::string_view web) {
    return "<center><table border=1 cellpadding=5 cellspacing=0 style=\"border-collapse: "
           "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"#FFFFD9\"><tr><td "
           "width=90%><font face=\"Arial\" style=\"font-size: 13px; " +
           std::string(styleWords) + ";\" color=\"#000000\">" + std::string(body) + "<br><br><b>" +
           std::string(name) + " <a target=\"_blank\" href=" + std::string(web) + ">" +
           std::string(web) + "</a></b></font></td></tr></table></center>";
}

constexpr std::string_view kPlainWords =
    "font-style: normal; font-weight: normal; text-decoration:  normal";

TEST(TestimonialBlocks, DefaultStyleTestimonialIsExact) {
    const Records records{MakeTestimonialRecord("Ann", "example.test", "Great\r\nproduct")};
    EXPECT_EQ(TestimonialsHtml(records, BlockStyle{}),
              TestimonialTable(kPlainWords, "Great<br>product", "Ann", "example.test") + "<br>");
}

TEST(TestimonialBlocks, EachTableIsFollowedByOneBreakAndNoneGivesNothing) {
    const Records two{"^A^a.test^one^", "^B^b.test^two^"};
    EXPECT_EQ(TestimonialsHtml(two, BlockStyle{}),
              TestimonialTable(kPlainWords, "one", "A", "a.test") + "<br>" +
                  TestimonialTable(kPlainWords, "two", "B", "b.test") + "<br>");
    EXPECT_EQ(TestimonialsHtml({}, BlockStyle{}), "");
}

struct FieldCase {
    std::string record;
    std::string body, name, web;
};

class TestimonialFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(TestimonialFields, FieldsAreSplitAndReplacedInOrder) {
    const auto& c = GetParam();
    EXPECT_EQ(TestimonialsHtml({c.record}, BlockStyle{}),
              TestimonialTable(kPlainWords, c.body, c.name, c.web) + "<br>");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TestimonialFields,
    ::testing::Values(FieldCase{"^n^w^a$$$b^", "a<br>$b", "n", "w"},
                      // The name is replaced before the website, which fills it.
                      FieldCase{"^by %%TWEB%%^site^c^", "c", "by site", "site"},
                      // A "^" inside a name moves every later field up.
                      FieldCase{"^A^B^site^c^", "site", "A", "B"},
                      // Missing fields of a hand-edited record read as empty.
                      FieldCase{"^OnlyName^", "", "OnlyName", ""}, FieldCase{"", "", "", ""}));

TEST(FeatureBlocks, BoldOnlyFeatureBlockIsExact) {
    BlockStyle style;
    style.bold = true;
    style.fontName = "Verdana";
    style.fontSize = "26";
    style.color = 0x0000FF;           // red
    style.backgroundColor = 0xCDEFAB; // #ABEFCD
    const Records records{MakeFeatureRecord("Fast", "Very\r\nfast"), "^Small^x^"};
    const std::string item = "<li><p><font face=\"Verdana\" style=\"font-size: 26px; font-style: "
                             "normal; font-weight: bold; text-decoration:  normal;\" "
                             "color=\"#FF0000\">";
    EXPECT_EQ(FeaturesHtml(records, style),
              "<center><table border=0 cellpadding=0 cellspacing=0 style=\"border-collapse: "
              "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"#ABEFCD\"><tr><td "
              "width=90%><ul>" +
                  item + "Fast - Very<br>fast</font></p></li>" + item +
                  "Small - x</font></p></li></ul></td></tr></table></center>");
}

struct StyleCase {
    bool bold, italic, underline;
    std::string words;
};

class StyleWords : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleWords, CheckBoxesChooseTheirWords) {
    BlockStyle style;
    style.bold = GetParam().bold;
    style.italic = GetParam().italic;
    style.underline = GetParam().underline;
    const std::string expected = "px; " + GetParam().words + ";\" color=";
    EXPECT_NE(FeatureItemTemplate(style).find(expected), std::string::npos);
    EXPECT_NE(TestimonialBlockTemplate(style).find(expected), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleWords,
    ::testing::Values(
        StyleCase{false, false, false,
                  "font-style: normal; font-weight: normal; text-decoration:  normal"},
        StyleCase{true, false, false,
                  "font-style: normal; font-weight: bold; text-decoration:  normal"},
        StyleCase{false, true, false,
                  "font-style: italic; font-weight: normal; text-decoration:  normal"},
        StyleCase{false, false, true,
                  "font-style: normal; font-weight: normal; text-decoration:  underline"},
        StyleCase{true, true, true,
                  "font-style: italic; font-weight: bold; text-decoration:  underline"}));

} // namespace
} // namespace scribvane
