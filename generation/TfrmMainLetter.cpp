// Step 8 of the main window: the template catalogue with its preview, and the finish action
// that generates the letter from the controls and writes it.
#include "app/ControlText.h"
#include "app/MessageService.h"
#include "app/TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "generation/LetterGenerator.h"
#include "generation/LetterOutput.h"
#include "generation/LetterValues.h"
#include "generation/TemplateCatalogue.h"
#include "persistence/LetterConfiguration.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"

#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <filesystem>

namespace scribvane {

namespace {

// What an empty editing area gives as its body, exactly.
const QString kEmptyPassageMarker = QStringLiteral("<body>&nbsp;</body>");

std::filesystem::path TemplateFolder(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("Templates"));
}

} // namespace

void TfrmMain::ConnectLetterActions() {
    connect(cbxTemplates, &QComboBox::currentTextChanged, this, &TfrmMain::cbxTemplatesChange);
    connect(btnFinish, &QPushButton::clicked, this, &TfrmMain::btnFinishClick);
}

void TfrmMain::FillTemplateList() {
    {
        // Adding the first item would select it on its own; the selection below is the one
        // that counts, and it runs the change handler only when the text really changes.
        const QSignalBlocker blocker(cbxTemplates);
        cbxTemplates->clear();
        for (const std::string& name : TemplateCatalogue(TemplateFolder(ProgramFolder()))) {
            cbxTemplates->addItem(QStringOfAnsi(name));
        }
        cbxTemplates->setCurrentIndex(-1);
    }
    if (cbxTemplates->count() > 0) {
        cbxTemplates->setCurrentIndex(0);
    }
}

void TfrmMain::cbxTemplatesChange() {
    bsSkinGroupBox1->setVisible(true);
    const auto preview =
        FindPreviewFile(TemplateFolder(ProgramFolder()), AnsiOf(cbxTemplates->currentText()));
    if (!preview) {
        // The picture shown before stays in Image1, unseen.
        bsSkinGroupBox1->setVisible(false);
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
    Image1->setPixmap(QPixmap::fromImage(picture));
}

std::string TfrmMain::GenerateLetter() {
    // The same reading of the controls as Save Configuration, so a letter made here equals
    // the one the headless generator makes from the saved file.
    const LetterConfiguration config = ReadLetterConfiguration();
    LetterValues values = LetterValuesFromConfiguration(config, TemplateFolder(ProgramFolder()),
                                                        AnsiOf(cbxTemplates->currentText()),
                                                        AnsiOf(edtFilename->text()));

    // An area is empty only when its body is exactly the marker; anything else, "BUSY" of an
    // area that is not ready included, is merged as the fragment read.
    const struct {
        HtmlEditor* editor;
        Tag tag;
        Passage LetterValues::*passage;
    } passages[] = {{prfEditor1, Tag::prfEditor1, &LetterValues::mainHeadline},
                    {prfEditor2, Tag::prfEditor2, &LetterValues::introduction},
                    {prfEditor3, Tag::prfEditor3, &LetterValues::productIntroduction},
                    {prfEditor10, Tag::prfEditor10, &LetterValues::closing},
                    {prfEditor11, Tag::prfEditor11, &LetterValues::postScript}};
    for (const auto& area : passages) {
        Passage& passage = values.*(area.passage);
        if (area.editor->GetBodyHTML() == kEmptyPassageMarker) {
            passage = Passage{};
        } else {
            passage = Passage{false, config.Text(area.tag)};
        }
    }
    return scribvane::GenerateLetter(values);
}

void TfrmMain::btnFinishClick() {
    const QString fileName = edtFilename->text();
    if (fileName.isEmpty()) {
        msgMain().Warning(
            QStringLiteral("Please select a location where you want to save your output file."));
        return;
    }
    const std::string page = GenerateLetter();
    if (page.empty()) {
        return;
    }
    WriteLetter(AnsiOf(fileName), page);
    msgMain().Information(QStringLiteral("You have successfully saved your file as:") + fileName);
}

} // namespace scribvane
