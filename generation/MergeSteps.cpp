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

std::string Nothing(const LetterValues&, std::size_t) {
    return {};
}

constexpr std::array<MergeStep, 24> kSteps = {{
    // Steps 1-5: title, pictures (copied as they are placed) and background.
    {1, "%%PAGETITLE%%", [](const LetterValues& v, std::size_t) { return v.pageTitle; }, Always},
    {2, kHeaderPictureRow.placeholder,
     [](const LetterValues& v, std::size_t) {
         return PlacePicture(kHeaderPictureRow, v.headerPicture, v.outputFileName, v.placement);
     },
     Always},
    {3, kCoverPictureRow.placeholder,
     [](const LetterValues& v, std::size_t) {
         return PlacePicture(kCoverPictureRow, v.coverPicture, v.outputFileName, v.placement);
     },
     Always},
    {4, "%%MAINBGCOLOR%%",
     [](const LetterValues& v, std::size_t) { return ColorToHtml(v.mainBgColor); }, Always},
    {5, kFooterPictureRow.placeholder,
     [](const LetterValues& v, std::size_t) {
         return PlacePicture(kFooterPictureRow, v.footerPicture, v.outputFileName, v.placement);
     },
     Always},

    // Steps 6-14: headline, author, date, sub-headline and the passages.
    {6, "%%ORDERHEADLINE%%",
     [](const LetterValues& v, std::size_t) { return PassageText(v.mainHeadline); }, Always},
    {7, "%%FROMFULLNAME%%",
     [](const LetterValues& v, std::size_t) {
         return Prefixed("<font face=Arial size=2><b>From: </b>", v.fullName, "</font>");
     },
     Always},
    {8, "%%FULLNAME%%", [](const LetterValues& v, std::size_t) { return v.fullName; }, Always},
    {9, "%%CURRENTDATE%%",
     [](const LetterValues& v, std::size_t) {
         return Prefixed("<font face=Arial size=2><b>Current Date: </b>", v.currentDate,
                         "</font><br>");
     },
     Always},
    {10, "%%ATTENTION%%", [](const LetterValues& v, std::size_t) { return v.attention; }, Always},
    {11, "%%OPENING%%",
     [](const LetterValues& v, std::size_t) { return PassageText(v.introduction); }, Always},
    {12, "%%INTRODUCTION%%",
     [](const LetterValues& v, std::size_t) { return PassageText(v.productIntroduction); }, Always},
    {13, "%%CLOSING%%", [](const LetterValues& v, std::size_t) { return PassageText(v.closing); },
     Always},
    {14, "%%PS%%",
     [](const LetterValues& v, std::size_t) { return PassageText(v.postScript, "<b>P.S.- </b>"); },
     Always},

    // Steps 15-18: the order section.
    {15, "%%ORDERCODE%%",
     [](const LetterValues& v, std::size_t) {
         return v.directLink.empty() ? std::string() : DirectOrderBlock(v.directLink);
     },
     Always},
    {16, "%%CLICKBANKCODE%%",
     [](const LetterValues& v, std::size_t) {
         return v.clickBankName.empty()
                    ? std::string()
                    : ClickBankOrderBlock(v.clickBankName, v.productName, v.description);
     },
     Always},
    {17, "%%PAYPALCODE%%", [](const LetterValues& v, std::size_t) { return v.paypalCode; }, Always},
    {18, "%%AFFILIATEID%%", [](const LetterValues& v, std::size_t) { return v.paypalEmail; },
     Always},

    // Steps 19-20: testimonials always, features only when there is one.
    {19, "%%TESTIMONIALS%%",
     [](const LetterValues& v, std::size_t extraRoom) {
         return TestimonialsHtml(v.testimonials, v.testimonialStyle, extraRoom);
     },
     Always,
     [](const LetterValues& v) {
         return TestimonialsHtmlRoom(v.testimonials, v.testimonialStyle);
     }},
    {20, "%%FEATURES%%",
     [](const LetterValues& v, std::size_t extraRoom) {
         return FeaturesHtml(v.features, v.featureStyle, extraRoom);
     },
     [](const LetterValues& v) { return !v.features.empty(); },
     [](const LetterValues& v) { return FeaturesHtmlRoom(v.features, v.featureStyle); }},

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

} // namespace

std::span<const MergeStep> MergeSteps() {
    return kSteps;
}

std::span<const std::string_view> PagePlaceholders() {
    return kPagePlaceholders;
}

} // namespace scribvane
