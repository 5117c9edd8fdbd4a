// The window half of the letter (step 8): the template catalogue with its preview, the letter
// check, and the finish action that generates the letter from the letter document and writes
// it, and the gallery of templates. It reads the document, never the controls that fill it.
#pragma once

#include "generation/LetterCheck.h"
#include "generation/LetterPreparation.h"
#include "generation/TemplateGallery.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
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
    // Under each picture field (header, cover, footer): a thumbnail and what a visitor loads
    // of the picture; optional.
    std::array<QLabel*, 3> pictureThumbnails{};
    std::array<QLabel*, 3> pictureNotes{};
};

class LetterPage {
public:
    ~LetterPage();
    // `programFolder` ends in a separator; its Templates folder is the catalogue.
    LetterPage(LetterPageControls controls, const LetterDocument& document, QString programFolder,
               MessageService& messages);

    // Lists the catalogue and selects its first template.
    void FillTemplateList();
    // Shows the chosen template's preview, or hides the group when it has none.
    void ShowTemplatePreview();
    // The heading the chosen template gives its order section when the letter gives none.
    // The font families the chosen template gives its page's text; empty for none.
    std::string TemplateBodyFont();
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
    // How serious the finding of a check line is; nothing for the all-clear line.
    static std::optional<Severity> SeverityOfFinding(const QListWidgetItem& item);
    static constexpr int kSeverityRole = Qt::UserRole + 1;
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
    // Shows what became of each picture; makes the ones not made yet on a thread of its own,
    // then refreshes the check, so the notes show a visitor's weight without a save.
    void ShowPictureReports(const std::array<PictureReport, 3>& reports);
    void MakePicturesAside();

    std::array<std::string, 3> thumbnailOf_; // the picture each thumbnail shows
    std::string madeAside_; // the pictures last made aside, so a cache that keeps nothing
                            // does not start the same work again and again
    std::thread pictureWork_;
    std::atomic<bool> pictureWorkDone_{true};
    // Receives the work's end on the window's thread; gone before the work's owner is.
    std::unique_ptr<QObject> pictureWorkContext_ = std::make_unique<QObject>();
};

} // namespace scribvane
