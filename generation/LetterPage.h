// The window half of the letter (step 8): the template catalogue with its preview, the letter
// check, and the finish action that generates the letter from the letter document and writes
// it, and the gallery of templates. It reads the document, never the controls that fill it.
#pragma once

#include "generation/LetterCheck.h"
#include "generation/TemplateGallery.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace scribvane {

class LetterDocument;
class MessageService;

struct LetterPageControls {
    QComboBox* templates = nullptr; // cbxTemplates, filled here; the document follows it
    QGroupBox* previewGroup = nullptr;
    QLabel* preview = nullptr;
    QListWidget* checkList = nullptr;   // lstLetterCheck; each item holds its field's tag
    TemplateGallery* gallery = nullptr; // galTemplates; optional
};

class LetterPage {
public:
    // `programFolder` ends in a separator; its Templates folder is the catalogue.
    LetterPage(LetterPageControls controls, const LetterDocument& document, QString programFolder,
               MessageService& messages);

    // Lists the catalogue and selects its first template.
    void FillTemplateList();
    // Shows the chosen template's preview, or hides the group when it has none.
    void ShowTemplatePreview();
    // The page text of the chosen template, or empty text when there is no such template.
    std::string GenerateLetter() const;
    // Writes the letter to the output file and says so.
    void Finish();
    // The document's values now, with the pictures placed as asked.
    LetterValues CurrentValues(PicturePlacement placement) const;
    // What the gallery merges its thumbnails from: the document's letter now, with the
    // pictures shown in place, ready to merge into any template.
    TemplateGallery::LetterSnapshot TakeLetterSnapshot() const;
    // The findings for the current values and template.
    std::vector<Finding> CheckCurrentLetter();
    // Shows the findings in the check list.
    void RefreshCheck();
    // How often the template file was read for the check (it is read again only when another
    // template is chosen or the file changed).
    int TemplateReads() const { return templateReads_; }

private:
    // The chosen template's text, kept while the file's name and modification time stay.
    struct TemplateText {
        std::filesystem::path file;
        std::filesystem::file_time_type modified;
        std::string text;
    };
    const std::string* CachedTemplateText(const LetterValues& values);

    LetterPageControls controls_;
    const LetterDocument& document_;
    QString programFolder_;
    MessageService& messages_;
    std::optional<TemplateText> template_;
    int templateReads_ = 0;
};

} // namespace scribvane
