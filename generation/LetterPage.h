// The window half of the letter (step 8): the template catalogue with its preview and gallery,
// and the finish action that generates the letter from the controls and writes it.
#pragma once

#include "generation/LetterCheck.h"
#include "generation/TemplateGallery.h"

#include <QString>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace scribvane {

class ConfigurationForm;
class HtmlEditor;
class MessageService;

struct LetterPageControls {
    QComboBox* templates = nullptr; // cbxTemplates
    QGroupBox* previewGroup = nullptr;
    QLabel* preview = nullptr;
    QLineEdit* outputFileName = nullptr;
    // The areas of the main headline, the introduction, the product introduction, the closing
    // and the P.S., in that order.
    std::array<HtmlEditor*, 5> passages{};
    QListWidget* checkList = nullptr;   // lstLetterCheck; each item holds its field's tag
    QCheckBox* embedPictures = nullptr; // chkEmbedPictures; not part of the configuration
    TemplateGallery* gallery = nullptr; // galTemplates; optional
};

class LetterPage {
public:
    // `programFolder` ends in a separator; its Templates folder is the catalogue.
    LetterPage(LetterPageControls controls, const ConfigurationForm& configuration,
               QString programFolder, MessageService& messages);

    // Lists the catalogue and selects its first template.
    void FillTemplateList();
    // Shows the chosen template's preview, or hides the group when it has none.
    void ShowTemplatePreview();
    // The page text of the chosen template, or empty text when there is no such template.
    std::string GenerateLetter() const;
    // Writes the letter to the output file and says so.
    void Finish();
    // The values the controls hold now, with the pictures placed as asked.
    LetterValues CurrentValues(PicturePlacement placement) const;
    // What the gallery merges its thumbnails from: the letter the controls hold now, with the
    // pictures shown in place, ready to merge into any template.
    TemplateGallery::LetterSnapshot TakeLetterSnapshot() const;
    // The findings for the current values and template.
    std::vector<Finding> CheckCurrentLetter() const;
    // Shows the findings in the check list.
    void RefreshCheck();

private:
    LetterPageControls controls_;
    const ConfigurationForm& configuration_;
    QString programFolder_;
    MessageService& messages_;
};

} // namespace scribvane
