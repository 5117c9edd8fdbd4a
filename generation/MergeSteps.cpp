// The merge steps; see MergeSteps.h.
#include "generation/MergeSteps.h"

#include "generation/LetterPictures.h"
#include "utils/TextHelpers.h"

#include <array>

namespace scribvane {
namespace {

std::string Nothing(const MergeInput&) {
    return {};
}

std::string PictureOf(const MergeInput& in, PictureRole role, const std::string& description) {
    return in.writer.Picture(role, in.pictures.Of(role), description);
}

using In = const MergeInput&;

constexpr std::array<MergeStep, 24> kSteps = {{
    // Steps 1-5: title, pictures (placed before the merge) and background.
    {1, "%%PAGETITLE%%", [](In in) { return in.values.pageTitle; }, Always},
    {2, kHeaderPictureRow.placeholder,
     [](In in) { return PictureOf(in, PictureRole::Header, in.values.headerPictureDescription); },
     Always},
    {3, kCoverPictureRow.placeholder,
     [](In in) { return PictureOf(in, PictureRole::Cover, in.values.coverPictureDescription); },
     Always},
    {4, "%%MAINBGCOLOR%%", [](In in) { return ColorToHtml(in.values.mainBgColor); }, Always},
    {5, kFooterPictureRow.placeholder,
     [](In in) { return PictureOf(in, PictureRole::Footer, in.values.footerPictureDescription); },
     Always},

    // Steps 6-14: headline, author, date, sub-headline and the passages.
    {6, "%%ORDERHEADLINE%%", [](In in) { return in.writer.Headline(in.values); }, Always},
    {7, "%%FROMFULLNAME%%", [](In in) { return in.writer.From(in.values.fullName); }, Always},
    {8, "%%FULLNAME%%", [](In in) { return in.values.fullName; }, Always},
    {9, "%%CURRENTDATE%%", [](In in) { return in.writer.Date(in.values.currentDate); }, Always},
    {10, "%%ATTENTION%%", [](In in) { return in.values.attention; }, Always},
    {11, "%%OPENING%%", [](In in) { return in.writer.Passage(in.values.introduction); }, Always},
    {12, "%%INTRODUCTION%%", [](In in) { return in.writer.Passage(in.values.productIntroduction); },
     Always},
    {13, "%%CLOSING%%", [](In in) { return in.writer.Passage(in.values.closing); }, Always},
    {14, "%%PS%%", [](In in) { return in.writer.PostScript(in.values.postScript); }, Always},

    // Steps 15-18: the order section.
    {15, "%%ORDERCODE%%", [](In in) { return in.writer.DirectOrder(in.values); }, Always},
    {16, "%%CLICKBANKCODE%%", [](In in) { return in.writer.ClickBankOrder(in.values); }, Always},
    {17, "%%PAYPALCODE%%", [](In in) { return in.writer.PaypalCode(in.values); }, Always},
    {18, "%%AFFILIATEID%%", [](In in) { return in.writer.AffiliateId(in.values.paypalEmail); },
     Always},

    // Steps 19-20: testimonials always, features only when there is one.
    {19, "%%TESTIMONIALS%%", nullptr, Always,
     [](In in, TextSink& out) { in.writer.WriteTestimonials(in.values, out); }},
    {20, "%%FEATURES%%", nullptr, [](In in) { return !in.values.features.empty(); },
     [](In in, TextSink& out) { in.writer.WriteFeatures(in.values, out); }},

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

// The table numbers its rows 1 to 20, then the four clean-up rows; the walk relies on that.
constexpr bool StepsAreNumberedInOrder() {
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        const int expected = static_cast<int>(i < kPageSteps ? i + 1 : 21);
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

std::vector<std::reference_wrapper<const MergeStep>> LetterSteps(const BlockWriter& writer) {
    std::vector<std::reference_wrapper<const MergeStep>> steps(kSteps.begin(), kSteps.end());
    const auto own = writer.OwnSteps();
    steps.insert(steps.end(), own.begin(), own.end());
    return steps;
}

std::span<const std::string_view> PagePlaceholders() {
    return kPagePlaceholders;
}

} // namespace scribvane
