// Where a text goes when it is made in pieces rather than held whole: the letter is merged
// and written front to back, a piece at a time, so a page of megabytes never has to exist in
// memory at once.
#pragma once

#include <string>
#include <string_view>

namespace scribvane {

class TextSink {
public:
    virtual ~TextSink() = default;
    // Takes the next piece. The piece is only valid during the call: a sink that needs it later
    // keeps a copy.
    virtual void Put(std::string_view text) = 0;
};

// Collects the pieces into one string.
class StringSink final : public TextSink {
public:
    explicit StringSink(std::string& text) : text_(text) {}
    void Put(std::string_view text) override { text_.append(text); }

private:
    std::string& text_;
};

// Hands the text on with every line ending in CR LF, as NormalizeLines does for a whole text:
// CR LF, a lone CR and a lone LF each end a line, the first NUL ends the text, and a last line
// without a break gets one. Runs that are already right are passed on as they are.
class LineEndSink final : public TextSink {
public:
    explicit LineEndSink(TextSink& next) : next_(next) {}
    void Put(std::string_view text) override;
    // Ends the last line; nothing may be put after it.
    void Finish();

private:
    TextSink& next_;
    bool pendingCr_ = false; // a CR ended the last piece; an LF at the next one's start is its
    bool lineOpen_ = false;  // the current line has text and no break yet
    bool ended_ = false;     // a NUL was seen: everything after it is dropped
};

} // namespace scribvane
