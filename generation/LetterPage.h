// The window half of the letter (step 8): the template catalogue with its preview, the letter
// check, and the finish action that generates the letter from the letter document and writes
// it, and the gallery of templates. It reads the document, never the controls that fill it.
#pragma once

#include "generation/LetterCheck.h"
#include "generation/LetterPreparation.h"
#include "generation/TemplateGallery.h"

#include <QString>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace scribvane {

class LetterDocument;
class MessageService;

struct LetterPageControls {
    QComboBox* templates = nullptr; // cbxTemplates, filled here; the document follows it
    QGroupBox* previewGroup = nullptr;
    QLabel* preview = nullptr;
    QListWidget* checkList = nullptr;   // lstLetterCheck; each item holds its field
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
    // The heading the chosen template gives its order section when the letter gives none.
    std::string TemplateOrderHeading();
    // The page text of the chosen template, or empty text when there is no such template;
    // local pictures are copied beside the output (or embedded) as the letter asks.
    std::string GenerateLetter() const;
    // Writes the letter to the output file and says so.
    void Finish();
    // The document's letter now, prepared with its pictures placed as asked, in the chosen
    // template or the one named.
    PreparedLetter Prepare(PicturePlacement placement,
                           std::optional<std::string> templateName = std::nullopt) const;
    // The same as it is saved: its pictures inside the page or beside it, as chosen.
    PreparedLetter PrepareForSaving() const;
    // The same for publishing to a folder that visitors find at `publicAddress` (may be
    // empty).
    PreparedLetter PrepareToPublish(std::string publicAddress) const;
    // Where the page's relative addresses resolve: the output file's folder when it exists,
    // else the program folder.
    QUrl PageBase() const;
    // What the gallery merges its thumbnails from: the document's letter now, with the
    // pictures shown in place, ready to merge into any template.
    TemplateGallery::LetterSnapshot TakeLetterSnapshot() const;
    // The findings for the current values and template.
    std::vector<Finding> CheckCurrentLetter();
    // Shows the findings in the check list.
    void RefreshCheck();
    // The field a row of the check list is about.
    static std::optional<LetterField> FieldOfFinding(const QListWidgetItem& item);
    // How often the template file was read for the check (it is read again only when another
    // template is chosen or the file changed).
    int TemplateReads() const { return checkedTemplates_.Reads(); }

private:
    LetterPageControls controls_;
    const LetterDocument& document_;
    QString programFolder_;
    MessageService& messages_;
    TemplateTextCache checkedTemplates_; // the check reads its template only when it changed
    // Pictures made for the web, kept between letters; the maker starts with the first picture
    // that has to be made.
    mutable PictureCache pictures_{PictureCache::DefaultFolder()};
    mutable std::unique_ptr<PictureMaker> pictureMaker_;

    // Prepares `request` with the pictures made for the web: from the cache at once, else on a
    // thread of its own behind a progress dialog, the window still painting.
    PreparedLetter PrepareWithPictures(LetterRequest request) const;
};

} // namespace scribvane
