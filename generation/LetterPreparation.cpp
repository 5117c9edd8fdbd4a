// Preparing a letter; see LetterPreparation.h.
#include "generation/LetterPreparation.h"

#include "generation/LetterGenerator.h"
#include "generation/MergeSteps.h"
#include "generation/TemplateCatalogue.h"
#include "utils/TextSink.h"

#include <utility>

namespace scribvane {

const std::string& TemplateTextCache::Text(const std::filesystem::path& file) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (!held_ || error || file != file_ || modified != modified_) {
        held_ = false;
        ++reads_;
        text_ = ReadTemplateText(file);
        file_ = file;
        modified_ = modified;
        held_ = !error;
    }
    return text_;
}

PreparedLetter PrepareLetter(LetterRequest request) {
    std::string name;
    if (request.templateName) {
        name = std::move(*request.templateName);
    } else {
        name = ChosenTemplate(TemplateCatalogue(request.templateFolder), request.templateFolder,
                              request.configuration.Optional(OptionalTag::Template));
    }
    PreparedLetter letter;
    letter.values =
        LetterValuesFromConfiguration(std::move(request.configuration), request.templateFolder,
                                      std::move(name), std::move(request.outputFileName));
    letter.values.placement = request.placement;
    letter.values.publicAddress = std::move(request.publicAddress);

    const LetterValues& values = letter.values;
    letter.templateFile = values.templateName.empty()
                              ? std::nullopt
                              : FindTemplateFile(values.templateFolder, values.templateName);
    if (!letter.templateFile) {
        return letter; // no page, so nothing goes beside it
    }
    letter.templateText = request.templates != nullptr
                              ? request.templates->Text(*letter.templateFile)
                              : ReadTemplateText(*letter.templateFile);
    letter.writer = &WriterForTemplate(letter.templateText);
    letter.encoding = PageEncodingOf(letter.templateText);
    letter.pictures = PlaceLetterPictures(values, letter.writer->Markup().sizesPictures);
    letter.files = letter.pictures.files;
    return letter;
}

std::string PreparedLetter::Page() const {
    return HasTemplate() ? MergePage(templateText, {values, pictures, *writer}) : std::string();
}

void PreparedLetter::WritePage(TextSink& out) const {
    if (HasTemplate()) {
        MergePageInto(templateText, {values, pictures, *writer}, out);
    }
}

std::vector<Finding> PreparedLetter::Check(bool checkOutput) const {
    CheckInput input;
    if (HasTemplate()) {
        input.templateText = templateText;
    }
    input.checkOutput = checkOutput;
    return CheckLetter(values, input);
}

} // namespace scribvane
