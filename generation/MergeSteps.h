// The placeholder steps of the letter merge as one table: each step's placeholder, how its
// value is made from the letter values, and whether it runs. MergeLetter walks the table in
// order; tests and fuzzers read the placeholders from it rather than keeping their own lists.
#pragma once

#include "generation/BlockDialect.h"
#include "generation/LetterValues.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace scribvane {

class TextSink;

struct MergeStep {
    // The letter's step number; step 21 clears four leftovers, one row each, and the rows
    // numbered 22 fill the placeholders only html5 templates have.
    int number;
    std::string_view placeholder; // "%%", a byte other than '%', and more
    // The text put in place of the placeholder, empty to remove it. Picture steps copy a local
    // picture here, so a value is made exactly once per merge, in table order, whether or not
    // the page holds the placeholder. Null for the list steps, which write theirs instead.
    std::string (*value)(const LetterValues&, BlockDialect);
    // Whether the step runs at all; a step that does not run makes no value and leaves its
    // placeholder for the clean-up at the end.
    bool (*runs)(const LetterValues&, BlockDialect);
    // For the list steps: hands the value, of up to megabytes, to a sink in pieces, afresh at
    // every place the placeholder stands. Made without side effects, so making it again gives
    // the same text.
    void (*write)(const LetterValues&, BlockDialect, TextSink&) = nullptr;
};

// Every row in the order the merge runs them; each inserts the blocks of the dialect it is
// given, and the rows numbered 22 run for the html5 dialect alone.
std::span<const MergeStep> MergeSteps();

// The twenty placeholders a template may use, in the order of their steps.
std::span<const std::string_view> PagePlaceholders();

} // namespace scribvane
