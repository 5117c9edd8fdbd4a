// The plain values a letter is generated from. The window fills them from its controls, the
// headless generator from a saved configuration; GenerateLetter reads nothing else.
#pragma once

#include "generation/LetterPictures.h"
#include "lists/RecordList.h"
#include "utils/TextHelpers.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace scribvane {

class LetterConfiguration;

// The style fields shared by every entry of the feature list or of the testimonial list.
struct BlockStyle {
    std::string fontName = "Arial";
    std::string fontSize = "13"; // the spin edit's text, merged as it stands
    bool bold = false;
    bool italic = false;
    bool underline = false;
    ColorValue color = 0x000000;
    ColorValue backgroundColor = 0xD9FFFF; // #FFFFD9
};

// One HTML editing area as the merge sees it: whether it is empty (its body markup is the
// empty-passage marker) and, when it is not, its editor fragment.
struct Passage {
    bool empty = true;
    std::string fragment;
};

struct LetterValues {
    std::filesystem::path templateFolder;
    std::string templateName; // looked up as templateName + ".tem", ASCII case ignored

    std::string pageTitle;
    std::string fullName;
    std::string currentDate;
    std::string headerPicture;
    std::string coverPicture;
    std::string footerPicture;
    ColorValue mainBgColor = 0xFFFFFF;
    std::string attention;

    Passage mainHeadline;        // prfEditor1
    Passage introduction;        // prfEditor2
    Passage productIntroduction; // prfEditor3
    Passage closing;             // prfEditor10
    Passage postScript;          // prfEditor11

    RecordList features;     // encoded feature records
    RecordList testimonials; // encoded testimonial records
    BlockStyle featureStyle;
    BlockStyle testimonialStyle;

    std::string directLink;
    std::string clickBankName;
    std::string productName;
    std::string description;
    std::string paypalCode; // lines joined by CR LF
    std::string paypalEmail;

    // Stored after the 42 entries; used by templates of the html5 dialect.
    std::string pageDescription; // empty: the sub-headline's text stands for it
    std::string language;        // a BCP 47 tag; empty: "en"
    std::string headerPictureDescription;
    std::string coverPictureDescription;
    std::string footerPictureDescription;
    // The order section's words; each empty: the words the letter has always had (for the
    // heading, its template's own), and for the price line none.
    std::string orderHeading;
    std::string orderLine;
    std::string directButton;
    std::string clickBankButton;
    std::string orderClosing;
    std::string priceLine;
    // Who sells and what the rules of selling ask the letter to say; each empty: not said.
    std::string sellerName;
    std::string sellerAddress;
    std::string sellerEmail;
    std::string resultsStatement;
    std::string disclaimer;
    std::string offerEnds;   // as stored: ISO 8601, checked where it is read
    std::string privacyPage; // the user's own policy files; empty: the shipped texts
    std::string termsPage;
    std::string signupAddress; // where the sign-up form posts; empty: no form
    std::string signupConsent; // its consent check box's wording; empty: none
    // Counting visitors; each empty: not used.
    std::string plausible;       // the site's domain
    std::string goatCounter;     // the site's code
    std::string matomoAddress;   // the server's address
    std::string matomoSite;      // the site's number there
    std::string googleAnalytics; // the measurement id
    std::string metaPixel;       // the pixel id
    std::string headCode;        // the user's own code for the head, put in as typed
    // Headlines tested against the main one; an empty one is not tested.
    std::array<Passage, 3> headlineVariants;

    std::string outputFileName; // also names the folder local pictures are copied into
    // Not stored in a configuration: the window's check box and the command's option choose it.
    PicturePlacement placement = PicturePlacement::CopyBeside;
    // Not stored either: where visitors find the folder the letter is published to
    // ("https://example.com/offer/"). Only the publisher sets it, so the page can name itself
    // and its copied pictures absolutely for link previews; empty everywhere else.
    std::string publicAddress;
};

// A stored passage counts as empty when it is "" or exactly "&nbsp;": that is what an editing
// area given such a fragment reports as its empty body.
Passage PassageFromFragment(std::string_view fragment);

// The values a freshly started window holds after loading `config` (taken by value: a caller
// done with it moves it in, and its record lists are moved rather than copied). An empty font name
// keeps the chooser's "Arial"; sizes are merged as the decimal text of the number read.
LetterValues LetterValuesFromConfiguration(LetterConfiguration config,
                                           std::filesystem::path templateFolder,
                                           std::string templateName, std::string outputFileName);

} // namespace scribvane
