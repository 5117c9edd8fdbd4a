// The letter merge; see LetterGenerator.h.
#include "generation/LetterGenerator.h"

#include "generation/LetterPictures.h"
#include "generation/ListBlocks.h"
#include "generation/OrderBlocks.h"
#include "generation/TemplateCatalogue.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

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

} // namespace

std::string ReadTemplateText(const std::filesystem::path& path) {
    return NormalizeLines(ReadFileBytes(path));
}

// Every step replaces its placeholder in the whole page, values inserted by earlier steps
// included; an empty value removes it.
std::string MergeLetter(std::string page, const LetterValues& v) {
    const std::string_view output = v.outputFileName;

    // Steps 1-5: title, pictures (copied as they are placed) and background.
    ReplaceAllIn(page, "%%PAGETITLE%%", v.pageTitle);
    ReplaceAllIn(page, "%%HEADERPICTURE%%",
                 PlacePicture(kHeaderPictureRow, v.headerPicture, output));
    ReplaceAllIn(page, "%%ECOVERPICTURE%%", PlacePicture(kCoverPictureRow, v.coverPicture, output));
    ReplaceAllIn(page, "%%MAINBGCOLOR%%", ColorToHtml(v.mainBgColor));
    ReplaceAllIn(page, "%%FOOTERPICTURE%%",
                 PlacePicture(kFooterPictureRow, v.footerPicture, output));

    // Steps 6-14: headline, author, date, sub-headline and the passages.
    ReplaceAllIn(page, "%%ORDERHEADLINE%%", PassageText(v.mainHeadline));
    ReplaceAllIn(page, "%%FROMFULLNAME%%",
                 Prefixed("<font face=Arial size=2><b>From: </b>", v.fullName, "</font>"));
    ReplaceAllIn(page, "%%FULLNAME%%", v.fullName);
    ReplaceAllIn(
        page, "%%CURRENTDATE%%",
        Prefixed("<font face=Arial size=2><b>Current Date: </b>", v.currentDate, "</font><br>"));
    ReplaceAllIn(page, "%%ATTENTION%%", v.attention);
    ReplaceAllIn(page, "%%OPENING%%", PassageText(v.introduction));
    ReplaceAllIn(page, "%%INTRODUCTION%%", PassageText(v.productIntroduction));
    ReplaceAllIn(page, "%%CLOSING%%", PassageText(v.closing));
    ReplaceAllIn(page, "%%PS%%", PassageText(v.postScript, "<b>P.S.- </b>"));

    // Steps 15-18: the order section.
    ReplaceAllIn(page, "%%ORDERCODE%%",
                 v.directLink.empty() ? std::string() : DirectOrderBlock(v.directLink));
    ReplaceAllIn(page, "%%CLICKBANKCODE%%",
                 v.clickBankName.empty()
                     ? std::string()
                     : ClickBankOrderBlock(v.clickBankName, v.productName, v.description));
    ReplaceAllIn(page, "%%PAYPALCODE%%", v.paypalCode);
    ReplaceAllIn(page, "%%AFFILIATEID%%", v.paypalEmail);

    // Steps 19-20: testimonials always, features only when there is one.
    ReplaceAllIn(page, "%%TESTIMONIALS%%", TestimonialsHtml(v.testimonials, v.testimonialStyle));
    if (!v.features.empty()) {
        ReplaceAllIn(page, "%%FEATURES%%", FeaturesHtml(v.features, v.featureStyle));
    }

    // Step 21: what a skipped step or a value inserted after its own step left behind.
    for (const std::string_view leftover :
         {"%%TESTIMONIALS%%", "%%FEATURES%%", "%%HEADERPICTURE%%", "%%FOOTERPICTURE%%"}) {
        ReplaceAllIn(page, leftover, "");
    }
    return page;
}

std::string GenerateLetter(const LetterValues& values) {
    const auto templateFile = FindTemplateFile(values.templateFolder, values.templateName);
    if (!templateFile) {
        return {};
    }
    return MergeLetter(ReadTemplateText(*templateFile), values);
}

} // namespace scribvane
