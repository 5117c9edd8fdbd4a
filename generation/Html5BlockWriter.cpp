// The blocks a template of the html5 dialect gets: the same values as the specified blocks, in
// valid, accessible markup that needs no script, and the head of the page besides.
#include "generation/BlockWriter.h"
#include "generation/Html5Blocks.h"
#include "generation/HtmlText.h"
#include "generation/MergeSteps.h"
#include "generation/SellingBlocks.h"
#include "generation/SignupForm.h"
#include "generation/VisitorTracking.h"

#include <array>

namespace scribvane {
namespace {

using In = const MergeInput&;

// While the letter tests headlines, the direct link names the one shown, for the seller's
// order page to count.
std::string HeadlineCarried(const std::string& link, const LetterValues& values) {
    const std::string_view mark = FirstHeadlineMark(values);
    return mark.empty() ? link : WithQueryParameter(link, "headline", mark);
}

// The order section's heading and price line, the blocks of the rules of selling and of
// learning what sells, then the head of an html5 page, last, so no later step scans what they
// insert.
constexpr std::array<MergeStep, 14> kOwnSteps = {{
    {22, "%%ORDERHEADING%%", [](In in) { return Html5OrderHeading(in.values, in.templateText); },
     Always},
    {22, "%%PRICELINE%%", [](In in) { return Html5PriceLine(in.values); }, Always},
    {22, "%%DEADLINE%%", [](In in) { return Html5Deadline(in.values); }, Always},
    {22, "%%RESULTS%%", [](In in) { return Html5Results(in.values); }, Always},
    {22, "%%SELLER%%", [](In in) { return Html5Seller(in.values); }, Always},
    {22, "%%RETAILER%%", [](In in) { return Html5Retailer(in.values); }, Always},
    {22, "%%DISCLAIMER%%", [](In in) { return Html5Disclaimer(in.values); }, Always},
    {22, "%%SIGNUP%%", [](In in) { return Html5Signup(in.values); }, Always},
    {22, "%%CONSENT%%", [](In in) { return Html5Consent(in.values); }, Always},
    {22, "%%TRACKING%%", [](In in) { return Html5Tracking(in.values); }, Always},
    {22, "%%LANG%%", [](In in) { return Html5Language(in.values); }, Always},
    {22, "%%DESCRIPTION%%", [](In in) { return Html5Description(in.values); }, Always},
    {22, "%%OPENGRAPH%%", [](In in) { return Html5OpenGraph(in.values, in.pictures); }, Always},
    {22, "%%YEAR%%", [](In in) { return Html5Year(in.values); }, Always},
}};

class Html5BlockWriter final : public BlockWriter {
public:
    BlockDialect Dialect() const override { return BlockDialect::Html5; }

    Traits Markup() const override { return {true, true, true, true, true}; }

    std::string Picture(PictureRole role, const PlacedPicture& picture,
                        std::string_view description) const override {
        return Html5Picture(role, picture, description);
    }

    std::string Headline(const LetterValues& values) const override {
        return values.mainHeadline.empty
                   ? std::string()
                   : Html5HeadlineTest(values, Html5Headline(values.mainHeadline.fragment));
    }

    std::string From(std::string_view fullName) const override { return Html5From(fullName); }

    std::string Date(std::string_view currentDate) const override { return Html5Date(currentDate); }

    std::string Passage(const scribvane::Passage& passage) const override {
        return passage.empty ? std::string() : ModernPassage(passage.fragment);
    }

    std::string PostScript(const scribvane::Passage& passage) const override {
        return passage.empty ? std::string() : Html5PostScript(passage.fragment);
    }

    // The direct link leads when there is one, else ClickBank.
    std::string DirectOrder(const LetterValues& values) const override {
        return values.directLink.empty()
                   ? std::string()
                   : Html5DirectOrder(HeadlineCarried(values.directLink, values), true,
                                      {values.orderLine, values.directButton, values.orderClosing});
    }

    std::string ClickBankOrder(const LetterValues& values) const override {
        return values.clickBankName.empty()
                   ? std::string()
                   : Html5ClickBankOrder(
                         values.clickBankName, values.productName, values.description,
                         values.directLink.empty(),
                         {values.orderLine, values.clickBankButton, values.orderClosing},
                         FirstHeadlineMark(values));
    }

    std::string AffiliateId(std::string_view paypalEmail) const override {
        return EscapeAttribute(paypalEmail);
    }

    std::string PaypalCode(const LetterValues& values) const override {
        return WithPaypalCustomField(values.paypalCode, FirstHeadlineMark(values));
    }

    void WriteTestimonials(const LetterValues& values, TextSink& out) const override {
        WriteHtml5Testimonials(values.testimonials, values.testimonialStyle, out);
    }

    void WriteFeatures(const LetterValues& values, TextSink& out) const override {
        WriteHtml5Features(values.features, values.featureStyle, out);
    }

    std::span<const MergeStep> OwnSteps() const override { return kOwnSteps; }
};

} // namespace

const BlockWriter& Html5Writer() {
    static const Html5BlockWriter writer;
    return writer;
}

} // namespace scribvane
