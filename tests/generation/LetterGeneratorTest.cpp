// The letter merge: step order, page fields, passages, order section, leftovers of step 21,
// and how the template is found and read.
#include "generation/LetterGenerator.h"

#include "generation/ListBlocks.h"
#include "generation/OrderBlocks.h"
#include "tests/support/ReferenceMerge.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace scribvane {
namespace {

using testing::TempDir;

struct MergeCase {
    std::string name;
    std::string page;
    std::function<void(LetterValues&)> fill;
    std::string merged;
};

std::ostream& operator<<(std::ostream& out, const MergeCase& c) {
    return out << c.name;
}

class MergeSteps : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeSteps, GivesThePage) {
    LetterValues values;
    GetParam().fill(values);
    EXPECT_EQ(MergeLetter(GetParam().page, values), GetParam().merged);
}

Passage Filled(std::string fragment) {
    return {false, std::move(fragment)};
}

const std::vector<MergeCase> kMergeCases = {
    {"TitleEverywhereLowerCaseStays", "%%PAGETITLE%%|%%PAGETITLE%%|%%pagetitle%%",
     [](LetterValues& v) { v.pageTitle = "Tom & Jerry's"; },
     "Tom & Jerry's|Tom & Jerry's|%%pagetitle%%"},
    {"TitleHoldingFullNameGetsIt", "%%PAGETITLE%%",
     [](LetterValues& v) {
         v.pageTitle = "by %%FULLNAME%%";
         v.fullName = "Bob";
     },
     "by Bob"},
    {"FullNameHoldingTitleKeepsIt", "%%FULLNAME%%",
     [](LetterValues& v) {
         v.pageTitle = "T";
         v.fullName = "x%%PAGETITLE%%";
     },
     "x%%PAGETITLE%%"},
    {"EmptyFullNameRemovesBoth", "[%%FROMFULLNAME%%][%%FULLNAME%%][%%CURRENTDATE%%]",
     [](LetterValues&) {}, "[][][]"},
    {"FullNameOfOneSpace", "[%%FROMFULLNAME%%][%%FULLNAME%%]",
     [](LetterValues& v) { v.fullName = " "; },
     "[<font face=Arial size=2><b>From: </b> </font>][ ]"},
    {"CurrentDateLine", "%%CURRENTDATE%%", [](LetterValues& v) { v.currentDate = "May 1"; },
     "<font face=Arial size=2><b>Current Date: </b>May 1</font><br>"},
    {"BackgroundAndAttention", "%%MAINBGCOLOR%%/%%ATTENTION%%",
     [](LetterValues& v) {
         v.mainBgColor = 0xCDEFAB;
         v.attention = "  Look ";
     },
     "#ABEFCD/  Look "},
    {"Passages", "%%ORDERHEADLINE%%|%%OPENING%%|%%INTRODUCTION%%|%%CLOSING%%|%%PS%%",
     [](LetterValues& v) {
         v.mainHeadline = Filled("<b>H</b>");
         v.introduction = Filled("O");
         v.productIntroduction = Filled("I");
         v.closing = Filled("C");
         v.postScript = Filled("P");
     },
     "<b>H</b>|O|I|C|<b>P.S.- </b>P"},
    {"EmptyPassagesAreRemovedWithoutPrefix",
     "%%ORDERHEADLINE%%|%%OPENING%%|%%INTRODUCTION%%|%%CLOSING%%|%%PS%%",
     [](LetterValues& v) {
         v.postScript = {true, "ignored"};
     },
     "||||"},
    {"FilledPassageWithBlankFragmentGetsPrefix", "%%PS%%",
     [](LetterValues& v) { v.postScript = Filled(""); }, "<b>P.S.- </b>"},
    {"OnlyDirectLink", "%%ORDERCODE%%|%%CLICKBANKCODE%%|%%PAYPALCODE%%|%%AFFILIATEID%%",
     [](LetterValues& v) { v.directLink = "http://shop.test/"; },
     DirectOrderBlock("http://shop.test/") + "|||"},
    {"ProductWithoutAccountGivesNoClickBankBlock", "%%CLICKBANKCODE%%",
     [](LetterValues& v) {
         v.productName = "Book";
         v.description = "Nice";
     },
     ""},
    {"BothOrderBlocks", "%%ORDERCODE%%|%%CLICKBANKCODE%%",
     [](LetterValues& v) {
         v.directLink = "d";
         v.clickBankName = "acct";
         v.productName = "My Book";
     },
     DirectOrderBlock("d") + "|" + ClickBankOrderBlock("acct", "My Book", "")},
    {"PaypalCodeAndAffiliate", "%%PAYPALCODE%%|%%AFFILIATEID%%",
     [](LetterValues& v) {
         v.paypalCode = "<form>\r\n<input>\r\n</form>";
         v.paypalEmail = "me@pay.test";
     },
     "<form>\r\n<input>\r\n</form>|me@pay.test"},
    {"BlockPlaceholdersInTheTemplateStay", "%%ORDERLINK%% %%CBNAME%% %%TNAME%% %%FTITLE%%",
     [](LetterValues& v) {
         v.directLink = "d";
         v.clickBankName = "c";
         v.features = {"^t^b^"};
         v.testimonials = {"^n^w^c^"};
     },
     "%%ORDERLINK%% %%CBNAME%% %%TNAME%% %%FTITLE%%"},
    {"NoFeatureSkipsStepTwentyAndStepTwentyOneRemovesIt", "[%%FEATURES%%][%%TESTIMONIALS%%]",
     [](LetterValues&) {}, "[][]"},
    {"LeftoversBroughtInLaterAreRemoved", "%%CLOSING%%|%%AFFILIATEID%%",
     [](LetterValues& v) {
         v.closing = Filled("a%%HEADERPICTURE%%b%%FOOTERPICTURE%%c");
         v.paypalEmail = "%%TESTIMONIALS%%%%PAGETITLE%%";
         v.pageTitle = "T";
     },
     "abc|%%PAGETITLE%%"},
    {"FeatureTitleHoldingTestimonialsIsCleaned", "%%FEATURES%%",
     [](LetterValues& v) { v.features = {"^x%%TESTIMONIALS%%y^b^"}; },
     FeaturesHtml({"^xy^b^"}, BlockStyle{})},
    {"FeaturesPlaceholderFromAnEarlierValueGetsTheBlock", "%%PAYPALCODE%%",
     [](LetterValues& v) {
         v.paypalCode = "<p>%%FEATURES%%</p>";
         v.features = {"^t^b^"};
     },
     "<p>" + FeaturesHtml({"^t^b^"}, BlockStyle{}) + "</p>"},
    {"OneEmptyFeatureRecordStillRunsTheStep", "%%FEATURES%%",
     [](LetterValues& v) { v.features = {""}; }, FeaturesHtml({""}, BlockStyle{})},
};

INSTANTIATE_TEST_SUITE_P(Cases, MergeSteps, ::testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return info.param.name; });

// The merge streams the page through the steps, so a placeholder can be cut between a value
// and the page around it, between two values, or inside a run of percent signs. Pages and
// values built from pieces of placeholders must give what the steps one after the other give.
TEST(MergeLetter, PlaceholdersCutBetweenPiecesAgreeWithTheStepsOneByOne) {
    const std::vector<std::string> pieces = {"%%",
                                             "%",
                                             "%%%",
                                             "FEA",
                                             "TURES%%",
                                             "%%FEATURES%%",
                                             "%%TESTIMONIALS%%",
                                             "PAGETITLE%%",
                                             "%%PAGETITLE%%",
                                             "%%FULLNAME%%",
                                             "FULLNAME",
                                             "%%FOOTER",
                                             "PICTURE%%",
                                             "%%HEADERPICTURE%%",
                                             "%%ATTENTION%%",
                                             "%%PS%%",
                                             "x",
                                             " ",
                                             "\r\n"};
    std::mt19937 random(20261209);
    const auto text = [&](int count) {
        std::string joined;
        for (int i = 0; i < count; ++i) {
            joined += pieces[random() % pieces.size()];
        }
        return joined;
    };
    for (int round = 0; round < 3000; ++round) {
        LetterValues values;
        values.pageTitle = text(2);
        values.fullName = text(2);
        values.attention = text(3);
        values.postScript = {false, text(2)};
        values.features = {"^" + text(2) + "^" + text(2) + "^"};
        if (round % 2 == 0) {
            values.testimonials = {"^" + text(1) + "^" + text(1) + "^" + text(2) + "^"};
        }
        const std::string page = text(8);
        ASSERT_EQ(MergeLetter(page, values), testing::ReferenceMerge(page, values))
            << "page " << page;
    }
}

// A list of thousands of records reaches the later steps in pieces; records that bring
// leftovers in are cleaned wherever the pieces are cut.
TEST(MergeLetter, LongListsAgreeWithTheStepsOneByOne) {
    LetterValues values;
    for (int i = 0; i < 3000; ++i) {
        const std::string filler(static_cast<std::size_t>(i % 37), 'a');
        values.features.push_back("^" + filler + "%%TESTIMONIALS%%^%%FOOTERPICTURE%%" + filler +
                                  "^");
        values.testimonials.push_back("^n" + filler + "^w^%%HEADER" + std::string(i % 2, '%') +
                                      "PICTURE%%$$" + filler + "^");
    }
    const std::string page = "<p>%%FEATURES%%</p>%%TESTIMONIALS%%\r\n";
    EXPECT_EQ(MergeLetter(page, values), testing::ReferenceMerge(page, values));
}

class GenerateLetterTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "Templates");
        std::filesystem::create_directories(dir / "site");
        values.templateFolder = dir / "Templates";
        values.outputFileName = (dir / "site" / "index.html").string();
    }
    TempDir dir;
    LetterValues values;
};

TEST_F(GenerateLetterTest, FindsTheTemplateIgnoringCaseAndMakesEveryLineEndCrLf) {
    dir.Write("Templates/sales.tem",
              std::string("<h1>%%PAGETITLE%%</h1>\n<p>x</p>\rend\0junk", 40));
    values.templateName = "Sales";
    values.pageTitle = "Hi";
    EXPECT_EQ(GenerateLetter(values), "<h1>Hi</h1>\r\n<p>x</p>\r\nend\r\n");
}

TEST_F(GenerateLetterTest, MissingTemplateGivesNothingAndCopiesNothing) {
    values.headerPicture = dir.Write("logo.gif", "GIF").string();
    values.templateName = "Classic";
    EXPECT_EQ(GenerateLetter(values), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "site" / "logo.gif"));
}

TEST_F(GenerateLetterTest, EmptyTemplateGivesNothingButPicturesAreCopied) {
    dir.Write("Templates/Classic.tem", "");
    values.templateName = "Classic";
    values.footerPicture = dir.Write("logo.gif", "GIF").string();
    EXPECT_EQ(GenerateLetter(values), "");
    EXPECT_EQ(TempDir::Read(dir / "site" / "logo.gif"), "GIF");
}

TEST_F(GenerateLetterTest, PicturesAreCopiedWithoutTheirPlaceholders) {
    dir.Write("Templates/Classic.tem", "<p>%%PAGETITLE%%</p>");
    values.templateName = "Classic";
    values.coverPicture = dir.Write("cover.jpg", "JPEG").string();
    EXPECT_EQ(GenerateLetter(values), "<p></p>\r\n");
    EXPECT_EQ(TempDir::Read(dir / "site" / "cover.jpg"), "JPEG");
}

} // namespace
} // namespace scribvane
