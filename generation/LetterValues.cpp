// Filling the letter values from a loaded configuration; see LetterValues.h.
#include "generation/LetterValues.h"

#include "persistence/LetterConfiguration.h"
#include "utils/ValueReaders.h"

namespace scribvane {
namespace {

std::string FontNameOf(const std::string& stored) {
    return stored.empty() ? "Arial" : stored;
}

BlockStyle StyleOf(const LetterConfiguration& config, Tag fontName, Tag size, Tag bold, Tag italic,
                   Tag underline, Tag color, Tag backgroundColor) {
    BlockStyle style;
    style.fontName = FontNameOf(config.Text(fontName));
    style.fontSize = IntegerText(config.Size(size));
    style.bold = config.Flag(bold);
    style.italic = config.Flag(italic);
    style.underline = config.Flag(underline);
    style.color = config.Color(color);
    style.backgroundColor = config.Color(backgroundColor);
    return style;
}

} // namespace

Passage PassageFromFragment(std::string_view fragment) {
    if (fragment.empty() || fragment == "&nbsp;") {
        return {};
    }
    return {false, std::string(fragment)};
}

LetterValues LetterValuesFromConfiguration(LetterConfiguration config,
                                           std::filesystem::path templateFolder,
                                           std::string templateName, std::string outputFileName) {
    LetterValues values;
    values.templateFolder = std::move(templateFolder);
    values.templateName = std::move(templateName);
    values.outputFileName = std::move(outputFileName);

    values.pageTitle = config.Text(Tag::PageTitle);
    values.fullName = config.Text(Tag::FullName);
    values.currentDate = config.Text(Tag::CurrentDate);
    values.headerPicture = config.Text(Tag::HeaderPicture);
    values.coverPicture = config.Text(Tag::CoverPicture);
    values.footerPicture = config.Text(Tag::FooterPicture);
    values.mainBgColor = config.Color(Tag::MainBgColor);
    values.attention = config.Text(Tag::Atention);

    values.mainHeadline = PassageFromFragment(config.Text(Tag::prfEditor1));
    values.introduction = PassageFromFragment(config.Text(Tag::prfEditor2));
    values.productIntroduction = PassageFromFragment(config.Text(Tag::prfEditor3));
    values.closing = PassageFromFragment(config.Text(Tag::prfEditor10));
    values.postScript = PassageFromFragment(config.Text(Tag::prfEditor11));

    values.features = config.TakeRecords(Tag::Features);
    values.testimonials = config.TakeRecords(Tag::Testimonials);
    values.featureStyle = StyleOf(config, Tag::FName, Tag::FSize, Tag::FBold, Tag::FItalic,
                                  Tag::FUnderline, Tag::FColor, Tag::FBgColor);
    values.testimonialStyle = StyleOf(config, Tag::TName, Tag::TSize, Tag::TBold, Tag::TItalic,
                                      Tag::TUnderline, Tag::TColor, Tag::TBgColor);

    values.directLink = config.Text(Tag::DirectLink);
    values.clickBankName = config.Text(Tag::ClickBankName);
    values.productName = config.Text(Tag::ProductName);
    values.description = config.Text(Tag::Description);
    values.paypalCode = config.Text(Tag::PaypalCode);
    values.paypalEmail = config.Text(Tag::PaypalEmail);

    values.pageDescription = config.Optional(OptionalTag::PageDescription);
    values.language = config.Optional(OptionalTag::Language);
    values.headerPictureDescription = config.Optional(OptionalTag::HeaderPictureDescription);
    values.coverPictureDescription = config.Optional(OptionalTag::CoverPictureDescription);
    values.footerPictureDescription = config.Optional(OptionalTag::FooterPictureDescription);
    values.orderHeading = config.Optional(OptionalTag::OrderHeading);
    values.orderLine = config.Optional(OptionalTag::OrderLine);
    values.directButton = config.Optional(OptionalTag::DirectButton);
    values.clickBankButton = config.Optional(OptionalTag::ClickBankButton);
    values.orderClosing = config.Optional(OptionalTag::OrderClosing);
    values.priceLine = config.Optional(OptionalTag::PriceLine);
    values.sellerName = config.Optional(OptionalTag::SellerName);
    values.sellerAddress = config.Optional(OptionalTag::SellerAddress);
    values.sellerEmail = config.Optional(OptionalTag::SellerEmail);
    values.resultsStatement = config.Optional(OptionalTag::ResultsStatement);
    values.disclaimer = config.Optional(OptionalTag::Disclaimer);
    values.offerEnds = config.Optional(OptionalTag::OfferEnds);
    values.privacyPage = config.Optional(OptionalTag::PrivacyPage);
    values.termsPage = config.Optional(OptionalTag::TermsPage);
    values.signupAddress = config.Optional(OptionalTag::SignupAddress);
    values.signupConsent = config.Optional(OptionalTag::SignupConsent);
    values.plausible = config.Optional(OptionalTag::Plausible);
    values.goatCounter = config.Optional(OptionalTag::GoatCounter);
    values.matomoAddress = config.Optional(OptionalTag::MatomoAddress);
    values.matomoSite = config.Optional(OptionalTag::MatomoSite);
    values.googleAnalytics = config.Optional(OptionalTag::GoogleAnalytics);
    values.metaPixel = config.Optional(OptionalTag::MetaPixel);
    values.headCode = config.Optional(OptionalTag::HeadCode);
    values.headlineVariants = {PassageFromFragment(config.Optional(OptionalTag::Headline2)),
                               PassageFromFragment(config.Optional(OptionalTag::Headline3)),
                               PassageFromFragment(config.Optional(OptionalTag::Headline4))};
    return values;
}

} // namespace scribvane
