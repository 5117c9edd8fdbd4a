// The letter merge; see LetterGenerator.h.
#include "generation/LetterGenerator.h"

#include "generation/MergeSteps.h"
#include "generation/TemplateCatalogue.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

namespace scribvane {

std::string ReadTemplateText(const std::filesystem::path& path) {
    return NormalizeLines(ReadFileBytes(path));
}

// Every step replaces its placeholder in the whole page, values inserted by earlier steps
// included; an empty value removes it.
std::string MergeLetter(std::string page, const LetterValues& values) {
    for (const MergeStep& step : MergeSteps()) {
        if (step.runs(values)) {
            ReplaceAllIn(page, step.placeholder, step.value(values));
        }
    }
    return page;
}

std::string GenerateLetter(const LetterValues& values) {
    const auto templateFile = FindTemplateFile(values.templateFolder, values.templateName);
    if (!templateFile) {
        return {};
    }
    return MergeLetter(ReadTemplateText(*templateFile), values);
}

} // namespace scribvane
