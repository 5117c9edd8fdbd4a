// The letter merge as its rule reads: each step of the table, in order, replaces its
// placeholder in the whole page with plain ReplaceAll. Slow, and plainly right; the merge
// proper streams the page through the steps and must give the same bytes.
#pragma once

#include "generation/MergeSteps.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <string>

namespace scribvane::testing {

inline std::string ReferenceMerge(std::string page, const LetterValues& values) {
    const BlockDialect dialect = DialectOf(page);
    for (const MergeStep& step : MergeSteps()) {
        if (!step.runs(values, dialect)) {
            continue;
        }
        std::string value;
        if (step.write != nullptr) {
            StringSink sink(value);
            step.write(values, dialect, sink);
        } else {
            value = step.value(values, dialect);
        }
        page = ReplaceAll(page, step.placeholder, value);
    }
    return page;
}

} // namespace scribvane::testing
