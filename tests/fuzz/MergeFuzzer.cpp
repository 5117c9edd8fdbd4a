// The letter merge over any template and configuration bytes.
//
// Every input must merge without a crash and give what the steps one after the other give
// (the merge streams the page through them). When the values hold no '%' and the template is
// made of whole placeholders between blank-framed text (so no placeholder can appear by two
// pieces meeting), no placeholder of the step table may be left in the page.
#include "generation/BlockDialect.h"
#include "generation/LetterCheck.h"
#include "generation/LetterGenerator.h"
#include "generation/MergeSteps.h"
#include "persistence/LetterConfiguration.h"
#include "tests/support/ReferenceMerge.h"
#include "utils/Errors.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

using namespace scribvane;

// The placeholders of the step table first, then block placeholders that must stay put and
// the head placeholders of the html5 dialect (which a template without the marker keeps).
const std::vector<std::string_view> kTokens = [] {
    std::vector<std::string_view> tokens(PagePlaceholders().begin(), PagePlaceholders().end());
    tokens.insert(tokens.end(), {"%%TNAME%%", "%%ORDERLINK%%", "%%FTITLE%%", "%%CBNAME%%",
                                 "%%LANG%%", "%%DESCRIPTION%%", "%%OPENGRAPH%%", "%%YEAR%%"});
    return tokens;
}();
const std::size_t kStepPlaceholders = PagePlaceholders().size();

std::string WithoutPercent(std::string text) {
    std::erase(text, '%');
    return text;
}

// Picture fields must never name a file on this machine: the merge would copy it.
std::string AsAddress(const std::string& text) {
    return text.empty() ? text : "http://pictures.invalid/" + text;
}

void KeepPicturesRemote(LetterValues& values) {
    values.headerPicture = AsAddress(values.headerPicture);
    values.coverPicture = AsAddress(values.coverPicture);
    values.footerPicture = AsAddress(values.footerPicture);
    values.outputFileName = "letter.html";
}

LetterValues ValuesFromBytes(const std::string& bytes) {
    try {
        return LetterValuesFromConfiguration(LetterConfiguration::FromTexts(ReadConfigurationTexts(
                                                 ConfigurationTextFromBytes(bytes))),
                                             {}, {}, {});
    } catch (const ConversionError&) {
        return LetterValuesFromConfiguration(LetterConfiguration(), {}, {}, {});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    if (!provider.ConsumeBool()) {
        // Raw bytes: any template, any configuration.
        const std::string page = NormalizeLines(provider.ConsumeRandomLengthString(4096));
        LetterValues values = ValuesFromBytes(provider.ConsumeRemainingBytesAsString());
        // The check and the placements that touch no file may see the pictures as given.
        (void)CheckLetter(values, {page, true, {}});
        for (const auto placement : {PicturePlacement::ShowInPlace, PicturePlacement::Embed}) {
            values.placement = placement;
            (void)MergeLetter(page, values);
        }
        values.placement = PicturePlacement::CopyBeside;
        KeepPicturesRemote(values);
        const std::string copied = MergeLetter(page, values);
        if (copied != testing::ReferenceMerge(page, values)) {
            std::abort();
        }
        // With no local picture, every placement gives the same page.
        values.placement = PicturePlacement::Embed;
        if (MergeLetter(page, values) != copied) {
            std::abort();
        }
        return 0;
    }

    // Half the templates ask for the html5 blocks.
    std::string page = provider.ConsumeBool() ? std::string(kHtml5Marker) : std::string();
    const auto pieces = provider.ConsumeIntegralInRange<int>(0, 40);
    for (int i = 0; i < pieces; ++i) {
        page += kTokens[provider.ConsumeIntegralInRange<std::size_t>(0, kTokens.size() - 1)];
        page += " " + WithoutPercent(provider.ConsumeRandomLengthString(16)) + " ";
    }
    LetterValues values;
    for (std::string* text : {&values.pageTitle,
                              &values.fullName,
                              &values.currentDate,
                              &values.headerPicture,
                              &values.coverPicture,
                              &values.footerPicture,
                              &values.attention,
                              &values.directLink,
                              &values.clickBankName,
                              &values.productName,
                              &values.description,
                              &values.paypalCode,
                              &values.paypalEmail,
                              &values.featureStyle.fontName,
                              &values.testimonialStyle.fontName,
                              &values.pageDescription,
                              &values.language,
                              &values.headerPictureDescription,
                              &values.coverPictureDescription,
                              &values.footerPictureDescription}) {
        *text = WithoutPercent(provider.ConsumeRandomLengthString(24));
    }
    for (Passage* passage : {&values.mainHeadline, &values.introduction,
                             &values.productIntroduction, &values.closing, &values.postScript}) {
        passage->empty = provider.ConsumeBool();
        passage->fragment = WithoutPercent(provider.ConsumeRandomLengthString(24));
    }
    for (auto* records : {&values.features, &values.testimonials}) {
        records->clear();
        for (auto count = provider.ConsumeIntegralInRange<std::size_t>(0, 3); count > 0; --count) {
            records->push_back(WithoutPercent(provider.ConsumeRandomLengthString(32)));
        }
    }
    (void)CheckLetter(values, {page, true, {}});
    KeepPicturesRemote(values);
    const std::string merged = MergeLetter(page, values);
    if (merged != testing::ReferenceMerge(page, values)) {
        std::abort();
    }
    for (std::size_t i = 0; i < kStepPlaceholders; ++i) {
        if (merged.find(kTokens[i]) != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
