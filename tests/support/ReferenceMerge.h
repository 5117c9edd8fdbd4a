// The letter merge as its rule reads: each step of the table, in order, replaces its
// placeholder in the whole page with plain ReplaceAll. Slow, and plainly right; the merge
// proper streams the page through the steps and must give the same bytes.
#pragma once

#include "generation/MergeSteps.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <string>

namespace scribvane::testing {

// Places the pictures without copying any: the caller's values name no local picture, or the
// test looks at the page alone.
inline std::string ReferenceMerge(std::string page, const LetterValues& values) {
    const BlockWriter& writer = WriterForTemplate(page);
    const LetterPictures pictures = PlaceLetterPictures(values, writer.Markup().sizesPictures);
    const MergeInput input{values, pictures, writer};
    for (const MergeStep& step : LetterSteps(writer)) {
        if (!step.runs(input)) {
            continue;
        }
        std::string value;
        if (step.write != nullptr) {
            StringSink sink(value);
            step.write(input, sink);
        } else {
            value = step.value(input);
        }
        page = ReplaceAll(page, step.placeholder, value);
    }
    return page;
}

} // namespace scribvane::testing
