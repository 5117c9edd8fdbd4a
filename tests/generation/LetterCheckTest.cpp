// The letter check and the picture placements over the shipped templates and the sample letter.
#include "generation/LetterCheck.h"

#include "generation/BlockDialect.h"
#include "generation/LetterGenerator.h"
#include "persistence/LetterConfiguration.h"
#include "tests/support/TempDir.h"
#include "utils/TextHelpers.h"

#include <functional>
#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

const std::filesystem::path kTemplates = SCRIBVANE_TEMPLATES_DIR;

// The shipped templates as they were before they asked for the html5 dialect: the letter of
// a template without the marker must stay the specified bytes.
const std::filesystem::path kSpecifiedTemplates =
    std::filesystem::path(SCRIBVANE_TEST_DATA_DIR) / "marker-free-templates";

LetterValues SampleValues(const std::string& templateName, const std::string& output,
                          const std::filesystem::path& templates = kTemplates) {
    return LetterValuesFromConfiguration(ReadConfigurationFile(kTemplates / "sample-config.dat"),
                                         templates, templateName, output);
}

// One merge, three placements: the pages differ only in what the picture tags name, and only
// the copy beside touches the output folder. A web address stays as typed in all three.
TEST(PicturePlacements, SamePageApartFromThePictureTags) {
    for (const std::string name : {"Classic", "Modern"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        std::filesystem::create_directories(dir / "pics");
        const std::string header = dir.Write("pics/head.png", "\x89PNG\r\n\x1A\nAB").string();
        const std::string footer = dir.Write("pics/foot.gif", "GIF89a!").string();
        const std::string output = (dir / "site" / "index.html").string();

        struct Case {
            PicturePlacement placement;
            std::string headerSrc, footerSrc;
            bool copies;
        };
        const Case cases[] = {
            {PicturePlacement::CopyBeside, "head.png", "foot.gif", true},
            {PicturePlacement::ShowInPlace, FileAddressOf(header), FileAddressOf(footer), false},
            {PicturePlacement::Embed, "\"data:image/png;base64,iVBORw0KGgpBQg==\"",
             "\"data:image/gif;base64,R0lGODlhIQ==\"", false},
        };
        std::string reference;
        for (const auto& c : cases) {
            std::filesystem::remove_all(dir / "site");
            std::filesystem::create_directories(dir / "site");
            LetterValues values = SampleValues(name, output, kSpecifiedTemplates);
            const std::string address = values.coverPicture; // the sample's data: address
            values.headerPicture = header;
            values.footerPicture = footer;
            values.placement = c.placement;
            std::string page = GenerateLetter(values);
            ASSERT_FALSE(page.empty());
            EXPECT_NE(page.find("src=" + address + ">"), std::string::npos);
            for (const auto& src : {c.headerSrc, c.footerSrc}) {
                const auto at = page.find("src=" + src + ">");
                ASSERT_NE(at, std::string::npos) << src;
                page.replace(at + 4, src.size(), "@");
            }
            if (reference.empty()) {
                reference = page;
            }
            EXPECT_EQ(page, reference);
            EXPECT_EQ(std::filesystem::exists(dir / "site" / "head.png"), c.copies);
            EXPECT_EQ(std::filesystem::exists(dir / "site" / "foot.gif"), c.copies);
        }
    }
}

struct CheckCase {
    std::string name;
    std::function<void(LetterValues&, const TempDir&)> change;
    Severity severity;
    LetterField field;
};

std::ostream& operator<<(std::ostream& out, const CheckCase& c) {
    return out << c.name;
}

class LetterCheckCases : public ::testing::TestWithParam<CheckCase> {};

std::vector<Finding>
CheckSample(const std::function<void(LetterValues&, const TempDir&)>& change,
            std::optional<std::string> templateText = "<html><meta charset=\"utf-8\">") {
    TempDir dir;
    LetterValues values = SampleValues("Classic", (dir / "index.html").string());
    // The sample sells through ClickBank, which asks for the seller's contact details.
    values.sellerName = "Windowsill Harvest Press";
    values.sellerEmail = "help@windowsillharvest.example";
    if (change) {
        change(values, dir);
    }
    CheckInput input;
    if (templateText) {
        input.templateText = *templateText;
    }
    return CheckLetter(values, input);
}

TEST(LetterCheck, TheSampleLetterHasNoFinding) {
    const auto findings = CheckSample(nullptr);
    for (const auto& f : findings) {
        ADD_FAILURE() << SeverityName(f.severity) << ": " << f.field.Name() << ": " << f.sentence;
    }
}

TEST_P(LetterCheckCases, Finds) {
    const auto& c = GetParam();
    const auto findings = CheckSample(c.change);
    const bool found = std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
        return f.severity == c.severity && f.field == c.field && !f.sentence.empty();
    });
    EXPECT_TRUE(found) << findings.size() << " findings";
    EXPECT_EQ(HasError(findings), c.severity == Severity::Error);
}

using V = LetterValues;
using D = const TempDir;
const CheckCase kCheckCases[] = {
    {"NoWayToOrder",
     [](V& v, D&) {
         v.directLink.clear();
         v.clickBankName.clear();
         v.paypalCode.clear();
     },
     Severity::Error, Tag::DirectLink},
    {"QuoteInDirectLink", [](V& v, D&) { v.directLink = "https://shop.example/o'k"; },
     Severity::Error, Tag::DirectLink},
    {"RelativeDirectLink", [](V& v, D&) { v.directLink = "www.shop.example"; }, Severity::Warning,
     Tag::DirectLink},
    {"BlankInDirectLink", [](V& v, D&) { v.directLink = "https://shop.example/a b"; },
     Severity::Warning, Tag::DirectLink},
    {"SlashInClickBankAccount", [](V& v, D&) { v.clickBankName = "ws/harvest"; }, Severity::Error,
     Tag::ClickBankName},
    {"BlankInClickBankDescription", [](V& v, D&) { v.description = "The Handbook"; },
     Severity::Error, Tag::Description},
    {"PaypalCodeThatIsNoForm", [](V& v, D&) { v.paypalCode = "orders@example"; }, Severity::Error,
     Tag::PaypalCode},
    {"PaypalFormOverPlainHttp",
     [](V& v, D&) { v.paypalCode = "<FORM ACTION=http://www.paypal.com/x>"; }, Severity::Warning,
     Tag::PaypalCode},
    {"MistypedLocalPicture", [](V& v, D&) { v.headerPicture = "/home/me/Pictures/lgoo.png"; },
     Severity::Warning, Tag::HeaderPicture},
    {"WindowsPathThatNamesNoFile", [](V& v, D&) { v.footerPicture = "C:\\pics\\logo.gif"; },
     Severity::Warning, Tag::FooterPicture},
    {"BlankInLocalPictureName",
     [](V& v, D& d) { v.coverPicture = d.Write("my cover.png", "x").string(); }, Severity::Warning,
     Tag::CoverPicture},
    {"BracketInLocalPictureName",
     [](V& v, D& d) { v.coverPicture = d.Write("a>b.png", "x").string(); }, Severity::Warning,
     Tag::CoverPicture},
    {"TwoPicturesOneFileName",
     [](V& v, D& d) {
         std::filesystem::create_directories(d / "a");
         std::filesystem::create_directories(d / "b");
         v.headerPicture = d.Write("a/logo.png", "1").string();
         v.coverPicture = d.Write("b/logo.png", "2").string();
     },
     Severity::Warning, Tag::CoverPicture},
    {"TestimonialWebsiteWithoutScheme",
     [](V& v, D&) { v.testimonials.push_back("^Ann^www.shop.example^Great^"); }, Severity::Warning,
     Tag::Testimonials},
    {"CaretSplitsAFeature", [](V& v, D&) { v.features.push_back("^Fast^2^3 times^"); },
     Severity::Warning, Tag::Features},
    {"PlaceholderInAValue", [](V& v, D&) { v.fullName = "Ann %%PAGETITLE%%"; }, Severity::Warning,
     Tag::FullName},
    {"PlaceholderInARecord", [](V& v, D&) { v.features.push_back("^%%FEATURES%%^x^"); },
     Severity::Warning, Tag::Features},
    {"FeatureTextHardToRead",
     [](V& v, D&) {
         v.featureStyle.color = 0x777777;
         v.featureStyle.backgroundColor = 0x888888;
     },
     Severity::Warning, Tag::FColor},
    {"TestimonialTextHardToRead", [](V& v, D&) { v.testimonialStyle.color = 0xE1F8FF; },
     Severity::Warning, Tag::TColor},
    {"EmptyTitle", [](V& v, D&) { v.pageTitle.clear(); }, Severity::Warning, Tag::PageTitle},
    {"EmptyHeadline", [](V& v, D&) { v.mainHeadline = {}; }, Severity::Warning, Tag::prfEditor1},
    {"NoTestimonials", [](V& v, D&) { v.testimonials.clear(); }, Severity::Tip, Tag::Testimonials},
    {"EmptyOutputName", [](V& v, D&) { v.outputFileName.clear(); }, Severity::Error,
     LetterField::Output()},
    {"OutputNotHtml", [](V& v, D& d) { v.outputFileName = (d / "letter.txt").string(); },
     Severity::Warning, LetterField::Output()},
    {"OutputFolderMissing",
     [](V& v, D& d) { v.outputFileName = (d / "nowhere" / "index.html").string(); },
     Severity::Error, LetterField::Output()},
};

INSTANTIATE_TEST_SUITE_P(Cases, LetterCheckCases, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return info.param.name; });

TEST(LetterCheck, EveryFindingSaysWhichFieldItIsAbout) {
    const struct {
        std::function<void(V&, D&)> change;
        LetterField field;
        const char* sentence;
    } cases[] = {
        {[](V& v, D&) { v.footerPicture = "C:\\pics\\logo.gif"; }, Tag::FooterPicture,
         "The footer picture looks like a file"},
        {[](V& v, D& d) { v.coverPicture = d.Write("my cover.png", "x").string(); },
         Tag::CoverPicture, "The cover picture's file name holds a blank"},
        {[](V& v, D&) { v.features.push_back("^Fast^2^3 times^"); }, Tag::Features,
         "A feature holds a \"^\""},
        {[](V& v, D&) { v.fullName = "Ann %%PAGETITLE%%"; }, Tag::FullName, "The full name holds"},
        {[](V& v, D&) { v.description = "The Handbook"; }, Tag::Description,
         "The ClickBank description holds a character"},
    };
    for (const auto& c : cases) {
        const auto findings = CheckSample(c.change);
        EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.field == c.field && f.sentence.starts_with(c.sentence);
        })) << c.sentence;
    }
}

TEST(LetterCheck, AMissingOrEmptyTemplateIsAnError) {
    for (const auto& text : {std::optional<std::string>(), std::optional<std::string>("")}) {
        const auto findings = CheckSample(nullptr, text);
        ASSERT_EQ(findings.size(), 1u) << findings.back().sentence;
        EXPECT_EQ(findings[0].field, OptionalTag::Template);
        EXPECT_EQ(findings[0].severity, Severity::Error);
    }
}

// For an html5 template the check asks for what its head and pictures use, checks the
// language tag, and drops what only broke the unquoted blocks.
TEST(LetterCheck, Html5Template) {
    const std::string html5 =
        "<meta charset=\"utf-8\">" + std::string(kHtml5Marker) + "%%SELLER%%%%RETAILER%%";
    struct Case {
        std::function<void(LetterValues&, const TempDir&)> change;
        std::vector<std::string> fields; // every finding's field, in order
    };
    const auto language = [](std::string tag) { return [tag](V& v, D&) { v.language = tag; }; };
    const std::vector<std::string> pictures = {
        "HeaderPictureDescription", "CoverPictureDescription", "FooterPictureDescription"};
    const auto described = [](V& v) {
        v.headerPictureDescription = v.coverPictureDescription = v.footerPictureDescription = "x";
    };
    const Case cases[] = {
        {nullptr, pictures},
        {[&](V& v, D&) {
             described(v);
             v.attention.clear();
         },
         {"PageDescription"}},
        {[&](V& v, D&) {
             described(v);
             v.description = "The Handbook 'n' more/%";
             v.directLink = "https://shop.example/a b'c";
             v.testimonials.push_back("^Ann^www.shop.example^Great^");
         },
         {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> fields;
        for (const auto& f : CheckSample(c.change, html5)) {
            fields.emplace_back(f.field.Name());
        }
        EXPECT_EQ(fields, c.fields);
    }
    for (const std::string tag : {"en", "de-CH", "zh-Hant-TW", "es-419", "sr-Latn-RS", "de-DE-1996",
                                  "en-a-bbb-x-a", "x-whatever", "EN-gb"}) {
        EXPECT_TRUE(CheckSample(language(tag)).empty()) << tag;
    }
    for (const std::string tag :
         {"en_US", "e", "en-", "-en", "1234", "en--US", "x", "en-a", "toolongtags"}) {
        const auto findings = CheckSample(language(tag));
        ASSERT_EQ(findings.size(), 1u) << tag;
        EXPECT_EQ(findings[0].field, OptionalTag::Language);
        EXPECT_EQ(findings[0].severity, Severity::Warning);
    }
}

// Letters beyond ASCII in a page its template does not declare UTF-8 are shown wrong by hosts
// that send UTF-8; references are ASCII and show right everywhere.
TEST(LetterCheck, WarnsOfLettersBeyondAsciiInATemplateNotDeclaringUtf8) {
    const auto encodingWarnings = [](const std::vector<Finding>& findings) {
        return std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
            return f.field == OptionalTag::Template && f.severity == Severity::Warning;
        });
    };
    const auto asciiOnly = [](V& v, D&) {
        v = SampleValues("Classic", v.outputFileName);
        v.pageTitle = "&#321;&#243;d&#378;";
        v.fullName = v.currentDate = v.attention = v.description = v.productName = "";
        v.mainHeadline = v.introduction = v.productIntroduction = v.closing = v.postScript = {};
        v.features.clear();
        v.testimonials.clear();
        v.paypalCode.clear();
    };
    EXPECT_EQ(encodingWarnings(CheckSample(nullptr, "<meta charset=windows-1252>")), 1);
    EXPECT_EQ(encodingWarnings(CheckSample(nullptr, "<html>")), 1);
    EXPECT_EQ(encodingWarnings(CheckSample(nullptr, "<META CHARSET='UTF-8'>")), 0);
    EXPECT_EQ(encodingWarnings(CheckSample(asciiOnly, "<html>")), 0);
}

TEST(LetterCheck, ContrastRatioFollowsTheUsualFormula) {
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x777777, 0x777777), 1.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);
}

} // namespace
} // namespace scribvane
