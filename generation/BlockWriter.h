// What the merge steps insert, as two writers behind one interface: the blocks every template
// has always had (font tags, tables and script buttons, byte for byte), and the html5 blocks a
// template asks for with the generator line in its head. The letter chooses its writer once,
// from its template; the steps and the check ask the writer, never the dialect.
#pragma once

#include "generation/BlockDialect.h"
#include "generation/LetterValues.h"
#include "generation/PlacedPictures.h"

#include <span>
#include <string>
#include <string_view>

namespace scribvane {

class TextSink;
struct MergeStep;

class BlockWriter {
public:
    virtual ~BlockWriter() = default;

    virtual BlockDialect Dialect() const = 0;

    // What the check may rely on about the markup this writer makes.
    struct Traits {
        bool quotesValues;      // values inside attributes are quoted and escaped
        bool completesWebsites; // a website without a scheme still links somewhere
        bool describesPictures; // pictures carry their description as alt text
        bool describesPage;     // the page carries a description for search results
        bool sizesPictures;     // picture tags carry the picture's width and height
    };
    virtual Traits Markup() const = 0;

    // The tag of a picture slot; empty for an empty field.
    virtual std::string Picture(PictureRole role, const PlacedPicture& picture,
                                std::string_view description) const = 0;
    // The main headline passage (step 6), with the headlines tested against it where the
    // dialect tests headlines; empty for an empty passage.
    virtual std::string Headline(const LetterValues& values) const = 0;
    // "From:" and "Current Date:" lines; empty when the text is.
    virtual std::string From(std::string_view fullName) const = 0;
    virtual std::string Date(std::string_view currentDate) const = 0;
    // A passage of steps 11 to 13; empty for an empty passage.
    virtual std::string Passage(const scribvane::Passage& passage) const = 0;
    // The P.S. passage (step 14) with its prefix; empty for an empty passage.
    virtual std::string PostScript(const scribvane::Passage& passage) const = 0;
    // The order options; empty when the option is not filled in.
    virtual std::string DirectOrder(const LetterValues& values) const = 0;
    virtual std::string ClickBankOrder(const LetterValues& values) const = 0;
    virtual std::string AffiliateId(std::string_view paypalEmail) const = 0;
    // The user's PayPal code (step 17).
    virtual std::string PaypalCode(const LetterValues& values) const = 0;
    // The lists, of up to megabytes, handed to `out` in pieces.
    virtual void WriteTestimonials(const LetterValues& values, TextSink& out) const = 0;
    virtual void WriteFeatures(const LetterValues& values, TextSink& out) const = 0;

    // The steps only this writer's templates have, run after the shared ones.
    virtual std::span<const MergeStep> OwnSteps() const = 0;
};

// The writer of each dialect, and the one a dialect gets.
const BlockWriter& LegacyWriter();
const BlockWriter& Html5Writer();
const BlockWriter& WriterFor(BlockDialect dialect);

// The writer a template asks for.
inline const BlockWriter& WriterForTemplate(std::string_view templateText) {
    return WriterFor(DialectOf(templateText));
}

} // namespace scribvane
