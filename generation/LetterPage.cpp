// The window half of the letter; see LetterPage.h.
#include "generation/LetterPage.h"

#include "generation/LetterGenerator.h"
#include "generation/LetterOutput.h"
#include "generation/LetterValues.h"
#include "generation/TemplateCatalogue.h"
#include "persistence/LetterDocument.h"
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

std::filesystem::path TemplateFolder(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("Templates"));
}

} // namespace

LetterPage::LetterPage(LetterPageControls controls, const LetterDocument& document,
                       QString programFolder, MessageService& messages)
    : controls_(controls), document_(document), programFolder_(std::move(programFolder)),
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
    const auto preview = FindPreviewFile(TemplateFolder(programFolder_), document_.TemplateName());
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
    // The same conversion as the headless generator's from a saved file, so a letter made here
    // equals the one made from the configuration saved now. An area's empty body is stored as
    // "&nbsp;", which counts as an empty passage there too.
    LetterValues values =
        LetterValuesFromConfiguration(document_.Configuration(), TemplateFolder(programFolder_),
                                      document_.TemplateName(), document_.OutputFileName());
    values.placement = placement;
    return values;
}

std::string LetterPage::GenerateLetter() const {
    return scribvane::GenerateLetter(CurrentValues(
        document_.EmbedPictures() ? PicturePlacement::Embed : PicturePlacement::CopyBeside));
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

const std::string* LetterPage::CachedTemplateText(const LetterValues& values) {
    const auto file = FindTemplateFile(values.templateFolder, values.templateName);
    if (!file) {
        template_.reset();
        return nullptr;
    }
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(*file, error);
    if (error) {
        template_.reset();
        return nullptr;
    }
    if (!template_ || template_->file != *file || template_->modified != modified) {
        template_.reset();
        ++templateReads_;
        try {
            template_ = TemplateText{*file, modified, ReadTemplateText(*file)};
        } catch (const Error&) {
            // Reported as a missing template; saving reports the read failure itself.
            return nullptr;
        }
    }
    return &template_->text;
}

std::vector<Finding> LetterPage::CheckCurrentLetter() {
    const LetterValues values = CurrentValues(
        document_.EmbedPictures() ? PicturePlacement::Embed : PicturePlacement::CopyBeside);
    CheckInput input;
    if (const std::string* text = CachedTemplateText(values)) {
        input.templateText = *text;
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
    const std::string fileName = document_.OutputFileName();
    if (fileName.empty()) {
        messages_.Warning(
            QStringLiteral("Please select a location where you want to save your output file."));
        return;
    }
    const GeneratedLetter letter = GenerateLetterPage(CurrentValues(
        document_.EmbedPictures() ? PicturePlacement::Embed : PicturePlacement::CopyBeside));
    if (letter.page.empty()) {
        return;
    }
    WriteLetter(fileName, letter.page, letter.encoding);
    messages_.Information(QStringLiteral("You have successfully saved your file as:") +
                          QStringOfAnsi(fileName));
}

} // namespace scribvane
