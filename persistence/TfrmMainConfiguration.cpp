// Saving and loading the letter configuration from the main window: every field of the tag
// table is read from, or set on, the control the table binds it to. The file format and the
// conversion of the values live in LetterConfiguration; this file only meets the controls.
#include "app/ColorChooser.h"
#include "app/ControlText.h"
#include "app/FontNameChooser.h"
#include "app/SizeSpinEdit.h"
#include "app/TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "lists/Records.h"
#include "persistence/LetterConfiguration.h"
#include "utils/Errors.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

namespace scribvane {

namespace {

// The bound control of a field, found by the objectName the table gives. A missing control is
// a fault of the window's construction, not of the user's data.
template <typename Control>
Control& BoundControl(const QWidget& window, const ConfigField& field) {
    const QString name =
        QString::fromLatin1(field.control.data(), static_cast<qsizetype>(field.control.size()));
    auto* control = window.findChild<Control*>(name, Qt::FindChildrenRecursively);
    if (control == nullptr) {
        throw Error("The window has no control named " + std::string(field.control) + ".");
    }
    return *control;
}

std::filesystem::path ConfigurationPath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("config.dat"));
}

} // namespace

void TfrmMain::ConnectConfigurationActions() {
    connect(btnSave, &QPushButton::clicked, this, &TfrmMain::btnSaveClick);
    connect(btnLoad, &QPushButton::clicked, this, &TfrmMain::btnLoadClick);
}

LetterConfiguration TfrmMain::ReadLetterConfiguration() {
    LetterConfiguration config;
    for (const ConfigField& field : kConfigFields) {
        switch (field.kind) {
        case ValueKind::Text:
            config.Set(field.tag, AnsiOf(BoundControl<QLineEdit>(*this, field).text()));
            break;
        case ValueKind::MultiLineText:
            config.Set(field.tag, MemoText(BoundControl<QPlainTextEdit>(*this, field)));
            break;
        case ValueKind::Colour:
            config.Set(field.tag, BoundControl<ColorChooser>(*this, field).SelectedColor());
            break;
        case ValueKind::Passage: {
            const QString document = BoundControl<HtmlEditor>(*this, field).GetDocumentHTML();
            config.Set(field.tag, StripEditorDocument(AnsiOf(document)));
            break;
        }
        case ValueKind::RecordList:
            config.Set(field.tag, field.tag == Tag::Features ? FFeatures : FTestimonials);
            break;
        case ValueKind::FontName:
            config.Set(field.tag, AnsiOf(BoundControl<FontNameChooser>(*this, field).ShownText()));
            break;
        case ValueKind::Size:
            config.Set(field.tag,
                       static_cast<std::int32_t>(BoundControl<SizeSpinEdit>(*this, field).value()));
            break;
        case ValueKind::Flag:
            config.Set(field.tag, BoundControl<QCheckBox>(*this, field).isChecked());
            break;
        }
    }
    return config;
}

void TfrmMain::ApplyLetterConfiguration(const LetterConfiguration& config) {
    for (const ConfigField& field : kConfigFields) {
        switch (field.kind) {
        case ValueKind::Text:
            BoundControl<QLineEdit>(*this, field).setText(QStringOfAnsi(config.Text(field.tag)));
            break;
        case ValueKind::MultiLineText:
            SetMemoText(BoundControl<QPlainTextEdit>(*this, field), config.Text(field.tag));
            break;
        case ValueKind::Colour:
            BoundControl<ColorChooser>(*this, field).SelectColor(config.Color(field.tag));
            break;
        case ValueKind::Passage:
            BoundControl<HtmlEditor>(*this, field)
                .SetDocumentHTML(QStringOfAnsi(config.Text(field.tag)));
            break;
        case ValueKind::RecordList: {
            const bool features = field.tag == Tag::Features;
            const RecordKind kind = features ? RecordKind::Feature : RecordKind::Testimonial;
            (features ? FFeatures : FTestimonials) = config.Records(field.tag);
            // The captions are numbered afresh; the details view keeps what it shows.
            QListWidget& list = features ? *lbxFeatures : *lbxTestimonials;
            list.clear();
            const int count = static_cast<int>(config.Records(field.tag).size());
            for (int number = 1; number <= count; ++number) {
                list.addItem(QStringOfAnsi(ListCaption(kind, number)));
            }
            break;
        }
        case ValueKind::FontName:
            // A name that is not installed leaves no entry selected and the shown text as it was.
            BoundControl<FontNameChooser>(*this, field)
                .SelectFontName(QStringOfAnsi(config.Text(field.tag)));
            break;
        case ValueKind::Size:
            BoundControl<SizeSpinEdit>(*this, field).setValue(config.Size(field.tag));
            break;
        case ValueKind::Flag:
            BoundControl<QCheckBox>(*this, field).setChecked(config.Flag(field.tag));
            break;
        }
    }
}

void TfrmMain::SaveConfiguration() {
    // Written to a temporary file and renamed over config.dat: a failed save leaves the
    // previous file whole.
    WriteConfigurationFile(ConfigurationPath(ProgramFolder()), ReadLetterConfiguration());
}

void TfrmMain::LoadConfiguration() {
    const std::filesystem::path path = ConfigurationPath(ProgramFolder());
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return;
    }
    // Every value is read and converted before any control changes: a value that does not
    // read ends the load with its message and leaves every field as it was.
    ApplyLetterConfiguration(ReadConfigurationFile(path));
}

void TfrmMain::btnSaveClick() {
    SaveConfiguration();
}

void TfrmMain::btnLoadClick() {
    LoadConfiguration();
    QCoreApplication::processEvents();
}

} // namespace scribvane
