// The merge steps; see MergeSteps.h.
#include "generation/MergeSteps.h"

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

bool Always(const LetterValues&) {
    return true;
}

std::string Nothing(const LetterValues&) {
    return {};
}

constexpr std::array<MergeStep, 24> kSteps = {{
    // Steps 1-5: title, pictures (copied as they are placed) and background.
    {1, "%%PAGETITLE%%", [](const LetterValues& v) { return v.pageTitle; }, Always},
    {2, kHeaderPictureRow.placeholder,
     [](const LetterValues& v) {
         return PlacePicture(kHeaderPictureRow, v.headerPicture, v.outputFileName, v.placement);
     },
     Always},
    {3, kCoverPictureRow.placeholder,
     [](const LetterValues& v) {
         return PlacePicture(kCoverPictureRow, v.coverPicture, v.outputFileName, v.placement);
     },
     Always},
    {4, "%%MAINBGCOLOR%%", [](const LetterValues& v) { return ColorToHtml(v.mainBgColor); },
     Always},
    {5, kFooterPictureRow.placeholder,
     [](const LetterValues& v) {
         return PlacePicture(kFooterPictureRow, v.footerPicture, v.outputFileName, v.placement);
     },
     Always},

    // Steps 6-14: headline, author, date, sub-headline and the passages.
    {6, "%%ORDERHEADLINE%%", [](const LetterValues& v) { return PassageText(v.mainHeadline); },
     Always},
    {7, "%%FROMFULLNAME%%",
     [](const LetterValues& v) {
         return Prefixed("<font face=Arial size=2><b>From: </b>", v.fullName, "</font>");
     },
     Always},
    {8, "%%FULLNAME%%", [](const LetterValues& v) { return v.fullName; }, Always},
    {9, "%%CURRENTDATE%%",
     [](const LetterValues& v) {
         return Prefixed("<font face=Arial size=2><b>Current Date: </b>", v.currentDate,
                         "</font><br>");
     },
     Always},
    {10, "%%ATTENTION%%", [](const LetterValues& v) { return v.attention; }, Always},
    {11, "%%OPENING%%", [](const LetterValues& v) { return PassageText(v.introduction); }, Always},
    {12, "%%INTRODUCTION%%",
     [](const LetterValues& v) { return PassageText(v.productIntroduction); }, Always},
    {13, "%%CLOSING%%", [](const LetterValues& v) { return PassageText(v.closing); }, Always},
    {14, "%%PS%%", [](const LetterValues& v) { return PassageText(v.postScript, "<b>P.S.- </b>"); },
     Always},

    // Steps 15-18: the order section.
    {15, "%%ORDERCODE%%",
     [](const LetterValues& v) {
         return v.directLink.empty() ? std::string() : DirectOrderBlock(v.directLink);
     },
     Always},
    {16, "%%CLICKBANKCODE%%",
     [](const LetterValues& v) {
         return v.clickBankName.empty()
                    ? std::string()
                    : ClickBankOrderBlock(v.clickBankName, v.productName, v.description);
     },
     Always},
    {17, "%%PAYPALCODE%%", [](const LetterValues& v) { return v.paypalCode; }, Always},
    {18, "%%AFFILIATEID%%", [](const LetterValues& v) { return v.paypalEmail; }, Always},

    // Steps 19-20: testimonials always, features only when there is one.
    {19, "%%TESTIMONIALS%%", nullptr, Always,
     [](const LetterValues& v, TextSink& out) {
         WriteTestimonialsHtml(v.testimonials, v.testimonialStyle, out);
     }},
    {20, "%%FEATURES%%", nullptr, [](const LetterValues& v) { return !v.features.empty(); },
     [](const LetterValues& v, TextSink& out) {
         WriteFeaturesHtml(v.features, v.featureStyle, out);
     }},

    // Step 21: what a skipped step or a value inserted after its own step left behind.
    {21, "%%TESTIMONIALS%%", Nothing, Always},
    {21, "%%FEATURES%%", Nothing, Always},
    {21, "%%HEADERPICTURE%%", Nothing, Always},
    {21, "%%FOOTERPICTURE%%", Nothing, Always},
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

// The table numbers its rows 1 to 20 and then the clean-up rows; the walk relies on that.
constexpr bool StepsAreNumberedInOrder() {
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        if (kSteps[i].number != static_cast<int>(i < kPageSteps ? i + 1 : kPageSteps + 1)) {
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
