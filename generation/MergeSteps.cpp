// The merge steps; see MergeSteps.h.
#include "generation/MergeSteps.h"

#include "generation/Html5Blocks.h"
#include "generation/HtmlText.h"
#include "generation/LetterPictures.h"
#include "generation/ListBlocks.h"
#include "generation/OrderBlocks.h"
#include "utils/TextHelpers.h"

#include <array>

namespace scribvane {
namespace {

std::string Prefixed(std::string_view prefix, std::string_view text, std::string_view suffix) {
    if (text.empty()) {
        return {};
    }
    return std::string(prefix).append(text).append(suffix);
}

std::string PassageText(const Passage& passage, std::string_view prefix = {}) {
    return passage.empty ? std::string() : std::string(prefix) + passage.fragment;
}

bool Always(const LetterValues&, BlockDialect) {
    return true;
}

bool InHtml5(const LetterValues&, BlockDialect dialect) {
    return dialect == BlockDialect::Html5;
}

std::string Nothing(const LetterValues&, BlockDialect) {
    return {};
}

std::string Picture(const PictureRow& row, PictureRole role, const std::string& picture,
                    const std::string& description, const LetterValues& v, BlockDialect dialect) {
    if (dialect == BlockDialect::Html5) {
        return Html5Picture(role, picture, description, v.outputFileName, v.placement);
    }
    return PlacePicture(row, picture, v.outputFileName, v.placement);
}

// A passage as edited; for html5 its obsolete tags made valid.
std::string PassageIn(BlockDialect dialect, const Passage& passage, std::string_view prefix = {}) {
    if (passage.empty || dialect == BlockDialect::Specified) {
        return PassageText(passage, prefix);
    }
    return std::string(prefix) + ModernPassage(passage.fragment);
}

using D = BlockDialect;
using V = const LetterValues&;

constexpr std::array<MergeStep, 28> kSteps = {{
    // Steps 1-5: title, pictures (copied as they are placed) and background.
    {1, "%%PAGETITLE%%", [](V v, D) { return v.pageTitle; }, Always},
    {2, kHeaderPictureRow.placeholder,
     [](V v, D d) {
         return Picture(kHeaderPictureRow, PictureRole::Header, v.headerPicture,
                        v.headerPictureDescription, v, d);
     },
     Always},
    {3, kCoverPictureRow.placeholder,
     [](V v, D d) {
         return Picture(kCoverPictureRow, PictureRole::Cover, v.coverPicture,
                        v.coverPictureDescription, v, d);
     },
     Always},
    {4, "%%MAINBGCOLOR%%", [](V v, D) { return ColorToHtml(v.mainBgColor); }, Always},
    {5, kFooterPictureRow.placeholder,
     [](V v, D d) {
         return Picture(kFooterPictureRow, PictureRole::Footer, v.footerPicture,
                        v.footerPictureDescription, v, d);
     },
     Always},

    // Steps 6-14: headline, author, date, sub-headline and the passages.
    {6, "%%ORDERHEADLINE%%",
     [](V v, D d) {
         if (d == D::Html5 && !v.mainHeadline.empty) {
             return Html5Headline(v.mainHeadline.fragment);
         }
         return PassageText(v.mainHeadline);
     },
     Always},
    {7, "%%FROMFULLNAME%%",
     [](V v, D d) {
         return d == D::Html5
                    ? Html5From(v.fullName)
                    : Prefixed("<font face=Arial size=2><b>From: </b>", v.fullName, "</font>");
     },
     Always},
    {8, "%%FULLNAME%%", [](V v, D) { return v.fullName; }, Always},
    {9, "%%CURRENTDATE%%",
     [](V v, D d) {
         return d == D::Html5 ? Html5Date(v.currentDate)
                              : Prefixed("<font face=Arial size=2><b>Current Date: </b>",
                                         v.currentDate, "</font><br>");
     },
     Always},
    {10, "%%ATTENTION%%", [](V v, D) { return v.attention; }, Always},
    {11, "%%OPENING%%", [](V v, D d) { return PassageIn(d, v.introduction); }, Always},
    {12, "%%INTRODUCTION%%", [](V v, D d) { return PassageIn(d, v.productIntroduction); }, Always},
    {13, "%%CLOSING%%", [](V v, D d) { return PassageIn(d, v.closing); }, Always},
    {14, "%%PS%%", [](V v, D d) { return PassageIn(d, v.postScript, "<b>P.S.- </b>"); }, Always},

    // Steps 15-18: the order section. In html5 the direct link leads, else ClickBank.
    {15, "%%ORDERCODE%%",
     [](V v, D d) {
         if (v.directLink.empty()) {
             return std::string();
         }
         return d == D::Html5 ? Html5DirectOrder(v.directLink, true)
                              : DirectOrderBlock(v.directLink);
     },
     Always},
    {16, "%%CLICKBANKCODE%%",
     [](V v, D d) {
         if (v.clickBankName.empty()) {
             return std::string();
         }
         return d == D::Html5 ? Html5ClickBankOrder(v.clickBankName, v.productName, v.description,
                                                    v.directLink.empty())
                              : ClickBankOrderBlock(v.clickBankName, v.productName, v.description);
     },
     Always},
    {17, "%%PAYPALCODE%%", [](V v, D) { return v.paypalCode; }, Always},
    {18, "%%AFFILIATEID%%",
     [](V v, D d) { return d == D::Html5 ? EscapeAttribute(v.paypalEmail) : v.paypalEmail; },
     Always},

    // Steps 19-20: testimonials always, features only when there is one.
    {19, "%%TESTIMONIALS%%", nullptr, Always,
     [](V v, D d, TextSink& out) {
         if (d == D::Html5) {
             WriteHtml5Testimonials(v.testimonials, v.testimonialStyle, out);
         } else {
             WriteTestimonialsHtml(v.testimonials, v.testimonialStyle, out);
         }
     }},
    {20, "%%FEATURES%%", nullptr, [](V v, D) { return !v.features.empty(); },
     [](V v, D d, TextSink& out) {
         if (d == D::Html5) {
             WriteHtml5Features(v.features, v.featureStyle, out);
         } else {
             WriteFeaturesHtml(v.features, v.featureStyle, out);
         }
     }},

    // Step 21: what a skipped step or a value inserted after its own step left behind.
    {21, "%%TESTIMONIALS%%", Nothing, Always},
    {21, "%%FEATURES%%", Nothing, Always},
    {21, "%%HEADERPICTURE%%", Nothing, Always},
    {21, "%%FOOTERPICTURE%%", Nothing, Always},

    // The head of an html5 page, last, so no later step scans what they insert.
    {22, "%%LANG%%", [](V v, D) { return Html5Language(v); }, InHtml5},
    {22, "%%DESCRIPTION%%", [](V v, D) { return Html5Description(v); }, InHtml5},
    {22, "%%OPENGRAPH%%", [](V v, D) { return Html5OpenGraph(v); }, InHtml5},
    {22, "%%YEAR%%", [](V v, D) { return Html5Year(v); }, InHtml5},
}};

constexpr std::size_t kPageSteps = 20;

constexpr std::array<std::string_view, kPageSteps> PlaceholdersOfSteps() {
    std::array<std::string_view, kPageSteps> placeholders{};
    for (std::size_t i = 0; i < kPageSteps; ++i) {
        placeholders[i] = kSteps[i].placeholder;
    }
    return placeholders;
}

constexpr std::array<std::string_view, kPageSteps> kPagePlaceholders = PlaceholdersOfSteps();

// The table numbers its rows 1 to 20, then the four clean-up rows, then the html5 head rows;
// the walk relies on that.
constexpr bool StepsAreNumberedInOrder() {
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        const int expected = static_cast<int>(i < kPageSteps ? i + 1 : (i < 24 ? 21 : 22));
        if (kSteps[i].number != expected) {
            return false;
        }
    }
    return true;
}
static_assert(StepsAreNumberedInOrder());

// The merge finds placeholders from run to run of '%' and relies on this shape.
constexpr bool PlaceholdersStartWithTwoSigns() {
    for (const auto& step : kSteps) {
        const std::string_view text = step.placeholder;
        if (text.size() < 3 || text[0] != '%' || text[1] != '%' || text[2] == '%') {
            return false;
        }
    }
    return true;
}
static_assert(PlaceholdersStartWithTwoSigns());

} // namespace

std::span<const MergeStep> MergeSteps() {
    return kSteps;
}

std::span<const std::string_view> PagePlaceholders() {
    return kPagePlaceholders;
}

} // namespace scribvane
