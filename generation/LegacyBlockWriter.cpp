// The blocks every template without the html5 marker gets: font tags, tables and script
// buttons, with the values put in exactly as typed, byte for byte as the letter has always
// been made.
#include "generation/BlockWriter.h"
#include "generation/ListBlocks.h"
#include "generation/OrderBlocks.h"
#include "utils/TextSink.h"

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

const PictureRow& RowOf(PictureRole role) {
    switch (role) {
    case PictureRole::Header:
        return kHeaderPictureRow;
    case PictureRole::Cover:
        return kCoverPictureRow;
    case PictureRole::Footer:
        break;
    }
    return kFooterPictureRow;
}

class LegacyBlockWriter final : public BlockWriter {
public:
    BlockDialect Dialect() const override { return BlockDialect::Specified; }

    Traits Markup() const override { return {false, false, false, false, false}; }

    std::string Picture(PictureRole role, const PlacedPicture& picture,
                        std::string_view) const override {
        const PictureRow& row = RowOf(role);
        switch (picture.kind) {
        case PictureSource::None:
            return {};
        case PictureSource::Address:
            return "<img border=0 src=" + picture.source + std::string(row.addressTagEnd);
        case PictureSource::Embedded:
            // Quoted: base64 holds '+', '/' and '=', which an unquoted value may not.
            return "<img border=0 src=\"" + picture.source + "\"" + std::string(row.localTagEnd);
        case PictureSource::Copy:
        case PictureSource::InPlace:
            break;
        }
        return "<img border=0 src=" + picture.source + std::string(row.localTagEnd);
    }

    std::string Headline(const LetterValues& values) const override {
        return PassageText(values.mainHeadline);
    }

    std::string From(std::string_view fullName) const override {
        return Prefixed("<font face=Arial size=2><b>From: </b>", fullName, "</font>");
    }

    std::string Date(std::string_view currentDate) const override {
        return Prefixed("<font face=Arial size=2><b>Current Date: </b>", currentDate,
                        "</font><br>");
    }

    std::string Passage(const scribvane::Passage& passage) const override {
        return PassageText(passage);
    }

    std::string PostScript(const scribvane::Passage& passage) const override {
        return PassageText(passage, "<b>P.S.- </b>");
    }

    std::string DirectOrder(const LetterValues& values) const override {
        return values.directLink.empty() ? std::string() : DirectOrderBlock(values.directLink);
    }

    std::string ClickBankOrder(const LetterValues& values) const override {
        return values.clickBankName.empty()
                   ? std::string()
                   : ClickBankOrderBlock(values.clickBankName, values.productName,
                                         values.description);
    }

    std::string AffiliateId(std::string_view paypalEmail) const override {
        return std::string(paypalEmail);
    }

    std::string PaypalCode(const LetterValues& values) const override { return values.paypalCode; }

    void WriteTestimonials(const LetterValues& values, TextSink& out) const override {
        WriteTestimonialsHtml(values.testimonials, values.testimonialStyle, out);
    }

    void WriteFeatures(const LetterValues& values, TextSink& out) const override {
        WriteFeaturesHtml(values.features, values.featureStyle, out);
    }

    std::span<const MergeStep> OwnSteps() const override { return {}; }
};

} // namespace

const BlockWriter& LegacyWriter() {
    static const LegacyBlockWriter writer;
    return writer;
}

} // namespace scribvane
