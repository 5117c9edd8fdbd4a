// The window half of the letter; see LetterPage.h.
#include "generation/LetterPage.h"

#include "editing/HtmlEditor.h"
#include "generation/LetterGenerator.h"
#include "generation/LetterOutput.h"
#include "generation/LetterValues.h"
#include "generation/TemplateCatalogue.h"
#include "persistence/ConfigurationForm.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "widgets/ControlText.h"
#include "widgets/MessageService.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>
#include <filesystem>
#include <utility>

namespace scribvane {

namespace {

// What an empty editing area gives as its body, exactly.
const QString kEmptyPassageMarker = QStringLiteral("<body>&nbsp;</body>");

std::filesystem::path TemplateFolder(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("Templates"));
}

} // namespace

LetterPage::LetterPage(LetterPageControls controls, const ConfigurationForm& configuration,
                       QString programFolder, MessageService& messages)
    : controls_(controls), configuration_(configuration), programFolder_(std::move(programFolder)),
      messages_(messages) {
    if (controls_.gallery != nullptr) {
        controls_.gallery->SetSource(TemplateFolder(programFolder_),
                                     [this] { return TakeLetterSnapshot(); });
    }
}

void LetterPage::FillTemplateList() {
    {
        // Adding the first item would select it on its own; the selection below is the one
        // that counts, and it runs the change handler only when the text really changes.
        const QSignalBlocker blocker(controls_.templates);
        controls_.templates->clear();
        for (const std::string& name : TemplateCatalogue(TemplateFolder(programFolder_))) {
            controls_.templates->addItem(QStringOfAnsi(name));
        }
        controls_.templates->setCurrentIndex(-1);
    }
    if (controls_.templates->count() > 0) {
        controls_.templates->setCurrentIndex(0);
    }
}

void LetterPage::ShowTemplatePreview() {
    controls_.previewGroup->setVisible(true);
    const auto preview =
        FindPreviewFile(TemplateFolder(programFolder_), AnsiOf(controls_.templates->currentText()));
    if (!preview) {
        // The picture shown before stays in Image1, unseen.
        controls_.previewGroup->setVisible(false);
        return;
    }
    // Read through the core so that any file name the catalogue listed also opens here.
    const QByteArray bytes = QByteArray::fromStdString(ReadFileBytes(*preview));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw Error("The preview picture \"" + preview->string() + "\" cannot be shown. " +
                    AnsiOf(reader.errorString()));
    }
    // At its own size, centred in the group, never scaled.
    controls_.preview->setPixmap(QPixmap::fromImage(picture));
}

LetterValues LetterPage::CurrentValues(PicturePlacement placement) const {
    // The same reading of the controls as Save Configuration, so a letter made here equals
    // the one the headless generator makes from the saved file.
    const LetterConfiguration config = configuration_.Read();
    LetterValues values = LetterValuesFromConfiguration(config, TemplateFolder(programFolder_),
                                                        AnsiOf(controls_.templates->currentText()),
                                                        AnsiOf(controls_.outputFileName->text()));

    // An area is empty only when its body is exactly the marker; anything else, "BUSY" of an
    // area that is not ready included, is merged as the fragment read.
    const struct {
        Tag tag;
        Passage LetterValues::*passage;
    } passages[] = {{Tag::prfEditor1, &LetterValues::mainHeadline},
                    {Tag::prfEditor2, &LetterValues::introduction},
                    {Tag::prfEditor3, &LetterValues::productIntroduction},
                    {Tag::prfEditor10, &LetterValues::closing},
                    {Tag::prfEditor11, &LetterValues::postScript}};
    for (std::size_t index = 0; index < std::size(passages); ++index) {
        const auto& area = passages[index];
        Passage& passage = values.*(area.passage);
        if (controls_.passages[index]->GetBodyHTML() == kEmptyPassageMarker) {
            passage = Passage{};
        } else {
            passage = Passage{false, config.Text(area.tag)};
        }
    }
    values.placement = placement;
    return values;
}

std::string LetterPage::GenerateLetter() const {
    const bool embed = controls_.embedPictures != nullptr && controls_.embedPictures->isChecked();
    return scribvane::GenerateLetter(
        CurrentValues(embed ? PicturePlacement::Embed : PicturePlacement::CopyBeside));
}

TemplateGallery::LetterSnapshot LetterPage::TakeLetterSnapshot() const {
    LetterValues values = CurrentValues(PicturePlacement::ShowInPlace);
    // Relative addresses resolve where the letter will lie, else beside the program, as in the
    // preview.
    const std::string folder = FolderPart(values.outputFileName);
    std::error_code error;
    const bool outputFolder =
        !folder.empty() && std::filesystem::is_directory(PathFromText(folder), error);
    QString base = outputFolder ? QStringOfAnsi(folder) : programFolder_;
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    return [values = std::move(values), base = QUrl::fromLocalFile(base)](
               const QString& name) mutable -> std::optional<TemplateGallery::Page> {
        values.templateName = AnsiOf(name);
        try {
            return TemplateGallery::Page{scribvane::GenerateLetter(values), base};
        } catch (const Error&) {
            return std::nullopt; // an unreadable template keeps its preview
        }
    };
}

std::vector<Finding> LetterPage::CheckCurrentLetter() const {
    const bool embed = controls_.embedPictures != nullptr && controls_.embedPictures->isChecked();
    const LetterValues values =
        CurrentValues(embed ? PicturePlacement::Embed : PicturePlacement::CopyBeside);
    CheckInput input;
    std::string text;
    if (const auto file = FindTemplateFile(values.templateFolder, values.templateName)) {
        try {
            text = ReadTemplateText(*file);
            input.templateText = text;
        } catch (const Error&) {
            // Reported as a missing template; saving reports the read failure itself.
        }
    }
    return CheckLetter(values, input);
}

void LetterPage::RefreshCheck() {
    if (controls_.checkList == nullptr) {
        return;
    }
    const auto findings = CheckCurrentLetter();
    QStyle* style = QApplication::style();
    const auto icon = [style](Severity severity) {
        switch (severity) {
        case Severity::Error:
            return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case Severity::Warning:
            return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case Severity::Tip:
            break;
        }
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    };
    // Keeps the chosen row where the list stays the same length, so a refresh while the user
    // moves through it does not throw the selection away.
    const int row = controls_.checkList->currentRow();
    controls_.checkList->clear();
    for (const auto& finding : findings) {
        QString text = QStringOfAnsi(finding.sentence);
        if (!finding.action.empty()) {
            text += QStringLiteral(" ") + QStringOfAnsi(finding.action);
        }
        auto* item = new QListWidgetItem(icon(finding.severity), text, controls_.checkList);
        item->setData(Qt::UserRole, QString::fromStdString(finding.field));
        item->setToolTip(QString::fromUtf8(SeverityName(finding.severity)));
    }
    if (row >= 0 && row < controls_.checkList->count()) {
        controls_.checkList->setCurrentRow(row);
    }
}

void LetterPage::Finish() {
    const QString fileName = controls_.outputFileName->text();
    if (fileName.isEmpty()) {
        messages_.Warning(
            QStringLiteral("Please select a location where you want to save your output file."));
        return;
    }
    const bool embed = controls_.embedPictures != nullptr && controls_.embedPictures->isChecked();
    const GeneratedLetter letter = GenerateLetterPage(
        CurrentValues(embed ? PicturePlacement::Embed : PicturePlacement::CopyBeside));
    if (letter.page.empty()) {
        return;
    }
    WriteLetter(AnsiOf(fileName), letter.page, letter.encoding);
    messages_.Information(QStringLiteral("You have successfully saved your file as:") + fileName);
}

} // namespace scribvane
