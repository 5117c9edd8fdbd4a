// Cleaning pasted rich text: the pieces that decide what a pasted passage keeps and loses.
// The whole way from clipboard to stored fragment runs on a real engine in HtmlEditorTest.
#include "editing/PasteCleaner.h"

#include <gtest/gtest.h>
#include <string>

namespace scribvane {
namespace {

struct PasteCase {
    const char* name;
    std::string pasted;
    std::string cleaned;
};

class CleanPastedHtmlTest : public testing::TestWithParam<PasteCase> {};

TEST_P(CleanPastedHtmlTest, KeepsOnlyWhatTheToolbarMakes) {
    EXPECT_EQ(CleanPastedHtml(GetParam().pasted), GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, CleanPastedHtmlTest,
    testing::Values(
        PasteCase{"StylesBecomeToolbarMarkup",
                  "<span style=\"font-weight:700;font-style:italic;color:rgb(255, 0, 0);"
                  "font-family:'Liberation Serif',serif;font-size:18pt\">x</span>",
                  "<b><i><font face=\"Liberation Serif\" size=\"5\" color=\"#FF0000\">x</font>"
                  "</i></b>"},
        PasteCase{"NormalWeightCancelsBold",
                  "<b style=\"font-weight:normal;\" id=\"docs-internal-guid-1\"><span "
                  "style=\"text-decoration:underline\">u</span></b>",
                  "<u>u</u>"},
        PasteCase{"TransparentAndGenericAreNoLook",
                  "<span style=\"background-color:transparent;font-family:sans-serif;"
                  "font-size:1.2em\">t</span>",
                  "t"},
        PasteCase{"ScriptLinksLoseTheirAddressNotTheirText",
                  "<a href=\"javascript:alert(1)\">a</a> <a href=\"https://x.test/?a=1&amp;b\" "
                  "class=\"c\" onclick=\"f()\">b</a>",
                  "a <a href=\"https://x.test/?a=1&amp;b\">b</a>"},
        PasteCase{"HeadingsAndCentreBecomeDivisions",
                  "<h1 class=\"t\">H</h1><center>C</center><p align=\"right\">R</p>",
                  "<div><b>H</b></div><div style=\"text-align: center;\">C</div>"
                  "<p style=\"text-align: right;\">R</p>"},
        PasteCase{"PreformattedLinesStayLines", "<pre>a\nb &lt;c&gt;</pre>",
                  "<div>a<br>b &lt;c&gt;</div>"},
        PasteCase{"NoTextNoElement",
                  "<p>x<span></span><img src=\"p.png\"><svg><text>s</text></svg>"
                  "<!-- c --><o:p></o:p></p>",
                  "<p>x</p>"}),
    [](const testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

TEST(CleanPastedHtmlDepthTest, DeepMarkupKeepsItsText) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<span style=\"color:red\">";
    }
    deep += "deep";
    const std::string cleaned = CleanPastedHtml(deep);
    EXPECT_NE(cleaned.find("deep"), std::string::npos);
}

} // namespace
} // namespace scribvane
