// What the merge steps insert for a template of the html5 dialect: the same values as the
// specified blocks, in valid markup that needs no script. Typed texts go in as typed; values
// inside attributes are quoted and escaped.
#pragma once

#include "generation/LetterPictures.h"
#include "generation/LetterValues.h"
#include "generation/PlacedPictures.h"

#include <string>
#include <string_view>

namespace scribvane {

class TextSink;

// <img src alt width height decoding> for a placed picture; empty for an empty field.
std::string Html5Picture(PictureRole role, const PlacedPicture& picture,
                         std::string_view description);

// An editor fragment with the obsolete tags the editing areas write made valid: <font> as a
// <span> with the same look, <center> as a centred <div>, <strike> as <s>. Nothing else changes.
std::string ModernPassage(std::string_view fragment);

// The headline passage as the page's one <h1>: its block wrappers unwrapped into it, blocks
// joined by <br>, the first wrapper's style kept on the <h1>.
std::string Html5Headline(std::string_view fragment);

// "From:" and "Current Date:" lines; empty when the text is.
std::string Html5From(std::string_view fullName);
std::string Html5Date(std::string_view currentDate);

// The P.S. passage: "P.S.- " in front of it, unless its text begins with a "P.S" of its own.
std::string Html5PostScript(std::string_view fragment);

// The user's words of one order option, escaped where they go in; an empty one leaves the
// option's own ("Check The Order Form!", its button's caption, "Don't miss this offer!").
struct OrderWords {
    std::string_view line;    // above the button
    std::string_view button;  // the button's caption
    std::string_view closing; // below the button
};

// The order options as links; `primary` marks the one button the page leads with.
std::string Html5DirectOrder(std::string_view link, bool primary, const OrderWords& words = {});
// `mark` names the headline shown in ClickBank's tracking id (vtid); empty: none.
std::string Html5ClickBankOrder(std::string_view accountName, std::string_view productName,
                                std::string_view description, bool primary,
                                const OrderWords& words = {}, std::string_view mark = {});

// The inline style that carries a list's chosen colours, font, size and flags.
std::string Html5BlockStyle(const BlockStyle& style);

// The testimonial figures and the feature list, handed to `out` in pieces.
void WriteHtml5Testimonials(const RecordList& records, const BlockStyle& style, TextSink& out);
void WriteHtml5Features(const RecordList& records, const BlockStyle& style, TextSink& out);

// The placeholders only html5 templates have.
std::string Html5Language(const LetterValues& values);
std::string Html5Description(const LetterValues& values);
std::string Html5OpenGraph(const LetterValues& values, const LetterPictures& pictures);
std::string Html5Year(const LetterValues& values);
// The order section's heading: the user's, else the one the template declares in a comment
// (<!-- order heading: Order Now -->), else "Get Instant Access Now".
std::string Html5OrderHeading(const LetterValues& values, std::string_view templateText);
std::string OrderHeadingOfTemplate(std::string_view templateText);
// The price line under it, or nothing when there is none.
std::string Html5PriceLine(const LetterValues& values);

// The font families the template's style sheet gives its body ("\"Segoe UI\", Arial,
// sans-serif"), from a font-family or font declaration of its body rule; empty when it names
// none (a template without a style sheet shows the browser's default font, as the editing
// areas do).
std::string BodyFontOfTemplate(std::string_view templateText);

} // namespace scribvane
