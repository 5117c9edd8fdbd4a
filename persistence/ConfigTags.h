// The letter configuration table: the 42 fields the wizard collects, in the order the
// configuration file stores them, with the control each is bound to, its kind and its
// initial value. This is the one list of tags; the writer, the reader, the window and the
// headless generator all walk it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace scribvane {

enum class ValueKind {
    Text,          // a single-line edit
    MultiLineText, // a multi-line edit, lines joined by CR LF
    Colour,        // a colour chooser; stored as "#RRGGBB"
    Passage,       // an HTML editing area; stored as the editor fragment
    RecordList,    // the feature or testimonial records; one record per line
    FontName,      // a font chooser
    Size,          // a spin edit; a signed 32-bit integer
    Flag,          // a check box; stored as "-1" or "0"
};

// Index of every field in table order. Tag::Count is the number of fields.
enum class Tag : std::size_t {
    PageTitle,
    FullName,
    CurrentDate,
    HeaderPicture,
    CoverPicture,
    MainBgColor,
    prfEditor1,
    Atention,
    prfEditor2,
    prfEditor3,
    Features,
    FBgColor,
    FColor,
    FName,
    FSize,
    FUnderline,
    FItalic,
    FBold,
    Testimonials,
    TBgColor,
    TColor,
    TName,
    TSize,
    TUnderline,
    TItalic,
    TBold,
    prfEditor10,
    prfEditor11,
    DirectLink,
    ClickBankName,
    ProductName,
    Description,
    PaypalCode,
    PaypalEmail,
    OBgColor,
    OColor,
    OName,
    OSize,
    OUnderline,
    OItalic,
    OBold,
    FooterPicture,
    Count
};

inline constexpr std::size_t kTagCount = static_cast<std::size_t>(Tag::Count);

constexpr std::size_t Index(Tag tag) {
    return static_cast<std::size_t>(tag);
}

struct ConfigField {
    Tag tag;
    std::string_view name; // the tag as written in the file
    ValueKind kind;
    std::string_view control; // objectName of the bound control (or record list)
    std::string_view initial; // initial value, in the file's text form
};

// clang-format off
inline constexpr std::array<ConfigField, kTagCount> kConfigFields = {{
    {Tag::PageTitle,     "PageTitle",     ValueKind::Text,          "edtPageTitle",     ""},
    {Tag::FullName,      "FullName",      ValueKind::Text,          "edtFullName",      ""},
    {Tag::CurrentDate,   "CurrentDate",   ValueKind::Text,          "edtCurrentDate",   ""},
    {Tag::HeaderPicture, "HeaderPicture", ValueKind::Text,          "edtHeaderPicture", ""},
    {Tag::CoverPicture,  "CoverPicture",  ValueKind::Text,          "edtCoverPicture",  ""},
    {Tag::MainBgColor,   "MainBgColor",   ValueKind::Colour,        "cbxMainBgColor",   "#FFFFFF"},
    {Tag::prfEditor1,    "prfEditor1",    ValueKind::Passage,       "prfEditor1",       ""},
    {Tag::Atention,      "Atention",      ValueKind::Text,          "edtAttention",     ""},
    {Tag::prfEditor2,    "prfEditor2",    ValueKind::Passage,       "prfEditor2",       ""},
    {Tag::prfEditor3,    "prfEditor3",    ValueKind::Passage,       "prfEditor3",       ""},
    {Tag::Features,      "Features",      ValueKind::RecordList,    "FFeatures",        ""},
    {Tag::FBgColor,      "FBgColor",      ValueKind::Colour,        "cbxFBgColor",      "#FFFFD9"},
    {Tag::FColor,        "FColor",        ValueKind::Colour,        "cbxFColor",        "#000000"},
    {Tag::FName,         "FName",         ValueKind::FontName,      "cbxFName",         "Arial"},
    {Tag::FSize,         "FSize",         ValueKind::Size,          "cbxFSize",         "13"},
    {Tag::FUnderline,    "FUnderline",    ValueKind::Flag,          "chkFUnderline",    "0"},
    {Tag::FItalic,       "FItalic",       ValueKind::Flag,          "chkFItalic",       "0"},
    {Tag::FBold,         "FBold",         ValueKind::Flag,          "chkFBold",         "0"},
    {Tag::Testimonials,  "Testimonials",  ValueKind::RecordList,    "FTestimonials",    ""},
    {Tag::TBgColor,      "TBgColor",      ValueKind::Colour,        "cbxTBgColor",      "#FFFFD9"},
    {Tag::TColor,        "TColor",        ValueKind::Colour,        "cbxTColor",        "#000000"},
    {Tag::TName,         "TName",         ValueKind::FontName,      "cbxTName",         "Arial"},
    {Tag::TSize,         "TSize",         ValueKind::Size,          "cbxTSize",         "13"},
    {Tag::TUnderline,    "TUnderline",    ValueKind::Flag,          "chkTUnderline",    "0"},
    {Tag::TItalic,       "TItalic",       ValueKind::Flag,          "chkTItalic",       "0"},
    {Tag::TBold,         "TBold",         ValueKind::Flag,          "chkTBold",         "0"},
    {Tag::prfEditor10,   "prfEditor10",   ValueKind::Passage,       "prfEditor10",      ""},
    {Tag::prfEditor11,   "prfEditor11",   ValueKind::Passage,       "prfEditor11",      ""},
    {Tag::DirectLink,    "DirectLink",    ValueKind::Text,          "edtDirectLink",    ""},
    {Tag::ClickBankName, "ClickBankName", ValueKind::Text,          "edtClickBankName", ""},
    {Tag::ProductName,   "ProductName",   ValueKind::Text,          "edtProductName",   ""},
    {Tag::Description,   "Description",   ValueKind::Text,          "edtDescription",   ""},
    {Tag::PaypalCode,    "PaypalCode",    ValueKind::MultiLineText, "memPaypalCode",    ""},
    {Tag::PaypalEmail,   "PaypalEmail",   ValueKind::Text,          "edtPaypalEmail",   ""},
    {Tag::OBgColor,      "OBgColor",      ValueKind::Colour,        "cbxOBgColor",      "#C0DCC0"},
    {Tag::OColor,        "OColor",        ValueKind::Colour,        "cbxOColor",        "#000000"},
    {Tag::OName,         "OName",         ValueKind::FontName,      "cbxOName",         "Arial"},
    {Tag::OSize,         "OSize",         ValueKind::Size,          "cbxOSize",         "13"},
    {Tag::OUnderline,    "OUnderline",    ValueKind::Flag,          "chkOUnderline",    "0"},
    {Tag::OItalic,       "OItalic",       ValueKind::Flag,          "chkOItalic",       "0"},
    {Tag::OBold,         "OBold",         ValueKind::Flag,          "chkOBold",         "0"},
    {Tag::FooterPicture, "FooterPicture", ValueKind::Text,          "edtFooterPicture", ""},
}};
// clang-format on

constexpr const ConfigField& FieldOf(Tag tag) {
    return kConfigFields[Index(tag)];
}

// Entries added after the 42, each a text, written after them only when not empty: a reader
// that asks for the 42 alone skips them, and a file without them loads as before with these
// texts empty.
enum class OptionalTag : std::size_t {
    PageDescription,          // the page's description for search engines; empty: the sub-headline
    Language,                 // the letter's language, a BCP 47 tag such as "en" or "de-CH"
    HeaderPictureDescription, // the pictures' descriptions for people who cannot see them
    CoverPictureDescription,
    FooterPictureDescription,
    Template, // the chosen template's name
    // "-1": local pictures go out as they were taken, not made for the web; empty: made.
    OriginalPictures,
    // The words of an html5 letter's order section; empty: the words it has always had.
    OrderHeading,    // the section's heading; empty: the template's own
    OrderLine,       // the line above each order button
    DirectButton,    // the direct order button's caption
    ClickBankButton, // the ClickBank button's caption
    OrderClosing,    // the line below each order button
    PriceLine,       // a line under the heading; empty: none
    // Who sells, and what the rules of selling ask a letter to say.
    SellerName,       // the seller's business name
    SellerAddress,    // its postal address, one line
    SellerEmail,      // its contact e-mail address
    ResultsStatement, // what results are typical, under the testimonials
    Disclaimer,       // an earnings or health disclaimer
    OfferEnds,        // the offer's one deadline, ISO 8601 ("2026-12-31T23:59+01:00")
    PrivacyPage,      // the user's own privacy policy file; empty: the shipped text
    TermsPage,        // the user's own terms file; empty: the shipped text
    // The e-mail sign-up form: where it posts (the provider's form address), and the wording
    // of its consent check box (empty: none).
    SignupAddress,
    SignupConsent,
    // Counting visitors: counters that set no cookie load at once, trackers that store an
    // identifier only after the visitor agrees; each by its site or id.
    Plausible,       // the site's domain as Plausible knows it
    GoatCounter,     // the site's code (CODE.goatcounter.com)
    MatomoAddress,   // the Matomo server's address; counts without cookies
    MatomoSite,      // the site's number on that server
    GoogleAnalytics, // a measurement id, "G-..."
    MetaPixel,       // the pixel's id, digits
    HeadCode,        // the user's own code for the page's head, as typed
    // Headlines tested against the main headline, as editor fragments; empty: not tested.
    Headline2,
    Headline3,
    Headline4,
    Count
};

inline constexpr std::size_t kOptionalTagCount = static_cast<std::size_t>(OptionalTag::Count);

constexpr std::size_t Index(OptionalTag tag) {
    return static_cast<std::size_t>(tag);
}

// The tag names in the order they are written and read.
inline constexpr std::array<std::string_view, kOptionalTagCount> kOptionalTagNames = {
    "PageDescription",
    "Language",
    "HeaderPictureDescription",
    "CoverPictureDescription",
    "FooterPictureDescription",
    "Template",
    "OriginalPictures",
    "OrderHeading",
    "OrderLine",
    "DirectButton",
    "ClickBankButton",
    "OrderClosing",
    "PriceLine",
    "SellerName",
    "SellerAddress",
    "SellerEmail",
    "ResultsStatement",
    "Disclaimer",
    "OfferEnds",
    "PrivacyPage",
    "TermsPage",
    "SignupAddress",
    "SignupConsent",
    "Plausible",
    "GoatCounter",
    "MatomoAddress",
    "MatomoSite",
    "GoogleAnalytics",
    "MetaPixel",
    "HeadCode",
    "Headline2",
    "Headline3",
    "Headline4",
};
// An entry added without its name would be written under an empty tag.
static_assert(std::ranges::none_of(kOptionalTagNames,
                                   [](std::string_view name) { return name.empty(); }));

} // namespace scribvane
