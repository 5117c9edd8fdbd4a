// The window half of the letter configuration; see ConfigurationForm.h.
#include "persistence/ConfigurationForm.h"

#include "editing/HtmlEditor.h"
#include "lists/RecordPage.h"
#include "utils/Errors.h"
#include "widgets/ColorChooser.h"
#include "widgets/ControlText.h"
#include "widgets/FontNameChooser.h"
#include "widgets/Logging.h"
#include "widgets/QtText.h"
#include "widgets/SizeSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace scribvane {

namespace {

const QString kConfigurationFilter =
    QStringLiteral("Configuration files (*.dat)|*.dat|All files (*)|*");

} // namespace

ConfigurationForm::ConfigurationForm(QWidget& form, RecordPage& features, RecordPage& testimonials)
    : form_(form), features_(features), testimonials_(testimonials),
      copyDialog_(FileDialog::Mode::SaveAs, QStringLiteral("Save a Copy As"), kConfigurationFilter),
      loadDialog_(FileDialog::Mode::OpenExisting, QStringLiteral("Load From File"),
                  kConfigurationFilter) {}

// A missing control is a fault of the window's construction, not of the user's data.
template <typename Control>
Control& ConfigurationForm::BoundControl(const ConfigField& field) const {
    const QString name =
        QString::fromLatin1(field.control.data(), static_cast<qsizetype>(field.control.size()));
    auto* control = form_.findChild<Control*>(name, Qt::FindChildrenRecursively);
    if (control == nullptr) {
        throw Error("The window has no control named " + std::string(field.control) + ".");
    }
    return *control;
}

LetterConfiguration ConfigurationForm::Read() const {
    LetterConfiguration config;
    for (const ConfigField& field : kConfigFields) {
        switch (field.kind) {
        case ValueKind::Text:
            config.Set(field.tag, AnsiOf(BoundControl<QLineEdit>(field).text()));
            break;
        case ValueKind::MultiLineText:
            config.Set(field.tag, MemoText(BoundControl<QPlainTextEdit>(field)));
            break;
        case ValueKind::Colour:
            config.Set(field.tag, BoundControl<ColorChooser>(field).SelectedColor());
            break;
        case ValueKind::Passage: {
            const QString document = BoundControl<HtmlEditor>(field).GetDocumentHTML();
            config.Set(field.tag, StripEditorDocument(AnsiOf(document)));
            break;
        }
        case ValueKind::RecordList:
            config.Set(
                field.tag,
                RecordList((field.tag == Tag::Features ? features_ : testimonials_).Records()));
            break;
        case ValueKind::FontName:
            config.Set(field.tag, AnsiOf(BoundControl<FontNameChooser>(field).ShownText()));
            break;
        case ValueKind::Size:
            config.Set(field.tag,
                       static_cast<std::int32_t>(BoundControl<SizeSpinEdit>(field).value()));
            break;
        case ValueKind::Flag:
            config.Set(field.tag, BoundControl<QCheckBox>(field).isChecked());
            break;
        }
    }
    return config;
}

void ConfigurationForm::Apply(const LetterConfiguration& config) {
    for (const ConfigField& field : kConfigFields) {
        ApplyField(field, config);
    }
}

void ConfigurationForm::ApplyField(const ConfigField& field, const LetterConfiguration& config) {
    switch (field.kind) {
    case ValueKind::Text:
        BoundControl<QLineEdit>(field).setText(QStringOfAnsi(config.Text(field.tag)));
        break;
    case ValueKind::MultiLineText:
        SetMemoText(BoundControl<QPlainTextEdit>(field), config.Text(field.tag));
        break;
    case ValueKind::Colour:
        BoundControl<ColorChooser>(field).SelectColor(config.Color(field.tag));
        break;
    case ValueKind::Passage:
        BoundControl<HtmlEditor>(field).SetDocumentHTML(QStringOfAnsi(config.Text(field.tag)));
        break;
    case ValueKind::RecordList:
        (field.tag == Tag::Features ? features_ : testimonials_)
            .ShowRecords(config.Records(field.tag).ToStrings());
        break;
    case ValueKind::FontName:
        BoundControl<FontNameChooser>(field).SelectFontName(QStringOfAnsi(config.Text(field.tag)));
        break;
    case ValueKind::Size:
        BoundControl<SizeSpinEdit>(field).setValue(config.Size(field.tag));
        break;
    case ValueKind::Flag:
        BoundControl<QCheckBox>(field).setChecked(config.Flag(field.tag));
        break;
    }
}

void ConfigurationForm::ShowInitialValues() {
    const LetterConfiguration initial;
    for (const ConfigField& field : kConfigFields) {
        if (field.kind == ValueKind::FontName) {
            BoundControl<FontNameChooser>(field).ShowFontName(
                QStringOfAnsi(initial.Text(field.tag)));
        } else if (field.kind != ValueKind::Passage) {
            // An area starts with an empty document of its own.
            ApplyField(field, initial);
        }
    }
}

std::filesystem::path ConfigurationForm::ConfigurationPath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("config.dat"));
}

std::filesystem::path ConfigurationForm::BackupPath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("config.bak"));
}

LetterConfiguration ConfigurationForm::Save(const QString& programFolder) const {
    LetterConfiguration config = Read();
    WriteConfigurationFile(ConfigurationPath(programFolder), config, BackupPath(programFolder));
    return config;
}

bool ConfigurationForm::Load(const QString& programFolder) {
    const std::filesystem::path path = ConfigurationPath(programFolder);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        qCInfo(lcPersistence) << "nothing to load: no" << QString::fromStdString(path.string());
        return false;
    }
    LoadFrom(path);
    return true;
}

void ConfigurationForm::LoadFrom(const std::filesystem::path& path) {
    Apply(ReadConfigurationFile(path));
}

void ConfigurationForm::SaveCopy(const std::filesystem::path& path) const {
    WriteConfigurationFile(path, Read());
}

bool ConfigurationForm::SaveCopyAs(QWidget* parent, DialogService& dialogs) {
    if (!copyDialog_.Execute(parent, dialogs)) {
        return false;
    }
    SaveCopy(NativePath(copyDialog_.FileName()));
    return true;
}

bool ConfigurationForm::LoadFromFile(QWidget* parent, DialogService& dialogs) {
    if (!loadDialog_.Execute(parent, dialogs)) {
        return false;
    }
    LoadFrom(NativePath(loadDialog_.FileName()));
    return true;
}

void ConfigurationForm::NotifyChanges(QObject& context,
                                      const std::function<void()>& changed) const {
    for (const ConfigField& field : kConfigFields) {
        switch (field.kind) {
        case ValueKind::Text:
            QObject::connect(&BoundControl<QLineEdit>(field), &QLineEdit::textChanged, &context,
                             changed);
            break;
        case ValueKind::MultiLineText:
            QObject::connect(&BoundControl<QPlainTextEdit>(field), &QPlainTextEdit::textChanged,
                             &context, changed);
            break;
        case ValueKind::Colour:
        case ValueKind::FontName: {
            // A chooser's custom entry can change its colour without a new selection.
            auto& chooser = BoundControl<QComboBox>(field);
            QObject::connect(&chooser, &QComboBox::currentIndexChanged, &context, changed);
            QObject::connect(&chooser, &QComboBox::currentTextChanged, &context, changed);
            QObject::connect(chooser.model(), &QAbstractItemModel::dataChanged, &context, changed);
            break;
        }
        case ValueKind::Passage:
            QObject::connect(&BoundControl<HtmlEditor>(field), &HtmlEditor::changed, &context,
                             changed);
            break;
        case ValueKind::RecordList: {
            // The list box always holds one caption per record.
            QAbstractItemModel* model =
                (field.tag == Tag::Features ? features_ : testimonials_).ListModel();
            QObject::connect(model, &QAbstractItemModel::rowsInserted, &context, changed);
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, &context, changed);
            QObject::connect(model, &QAbstractItemModel::modelReset, &context, changed);
            break;
        }
        case ValueKind::Size:
            QObject::connect(&BoundControl<SizeSpinEdit>(field), &QSpinBox::valueChanged, &context,
                             changed);
            break;
        case ValueKind::Flag:
            QObject::connect(&BoundControl<QCheckBox>(field), &QCheckBox::toggled, &context,
                             changed);
            break;
        }
    }
}

} // namespace scribvane
