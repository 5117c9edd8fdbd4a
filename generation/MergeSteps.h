// The placeholder steps of the letter merge as one table: each step's placeholder, how its
// value is made, and whether it runs. The values come from the letter's block writer, so the
// table is the same for both dialects; the html5 writer adds steps of its own after it.
// MergeLetter walks the steps in order; tests and fuzzers read the placeholders from here
// rather than keeping their own lists.
#pragma once

#include "generation/BlockWriter.h"
#include "generation/LetterValues.h"
#include "generation/PlacedPictures.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

class TextSink;

// What every step makes its value from: the letter's values, where its pictures were placed,
// the writer its template asked for, and what the template declares for itself.
struct MergeInput {
    const LetterValues& values;
    const LetterPictures& pictures;
    const BlockWriter& writer;
    // The page as the template gave it, before any step; the merge sets it.
    std::string_view templateText = {};
};

struct MergeStep {
    // The letter's step number; step 21 clears four leftovers, one row each, and the rows
    // numbered 22 are the writer's own.
    int number;
    std::string_view placeholder; // "%%", a byte other than '%', and more
    // The text put in place of the placeholder, empty to remove it. Made exactly once per
    // merge, in table order, whether or not the page holds the placeholder. Null for the list
    // steps, which write theirs instead.
    std::string (*value)(const MergeInput&);
    // Whether the step runs at all; a step that does not run makes no value and leaves its
    // placeholder for the clean-up at the end.
    bool (*runs)(const MergeInput&);
    // For the list steps: hands the value, of up to megabytes, to a sink in pieces, afresh at
    // every place the placeholder stands. Made without side effects, so making it again gives
    // the same text.
    void (*write)(const MergeInput&, TextSink&) = nullptr;
};

// The steps every letter runs, in order.
std::span<const MergeStep> MergeSteps();

// Every step a letter of this writer runs, in order: the shared ones, then the writer's own.
std::vector<std::reference_wrapper<const MergeStep>> LetterSteps(const BlockWriter& writer);

// The twenty placeholders a template may use, in the order of their steps.
std::span<const std::string_view> PagePlaceholders();

// A step that runs for every letter.
inline bool Always(const MergeInput&) {
    return true;
}

} // namespace scribvane
