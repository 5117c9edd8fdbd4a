// The window half of the letter configuration; see ConfigurationForm.h.
#include "persistence/ConfigurationForm.h"

#include "editing/HtmlEditor.h"
#include "lists/RecordPage.h"
#include "persistence/LetterDocument.h"
#include "utils/Errors.h"
#include "widgets/ColorChooser.h"
#include "widgets/ControlText.h"
#include "widgets/DeadlineEdit.h"
#include "widgets/FontNameChooser.h"
#include "widgets/QtText.h"
#include "widgets/SizeSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimer>
#include <optional>

namespace scribvane {

namespace {

// What an area answers instead of its document while it is not ready, or when the engine
// failed; never a document of the user's, which always comes with its html element.
bool IsAreaAnswer(const QString& document) {
    return document == QStringLiteral("BUSY") || document == QStringLiteral("ERROR");
}

// The edits of the entries stored after the 42; a form without one (a test's) skips it.
struct OptionalEdit {
    OptionalTag tag;
    const char* control;
};
constexpr OptionalEdit kOptionalEdits[] = {
    {OptionalTag::PageDescription, "edtPageDescription"},
    {OptionalTag::Language, "edtLanguage"},
    {OptionalTag::HeaderPictureDescription, "edtHeaderPictureDescription"},
    {OptionalTag::CoverPictureDescription, "edtCoverPictureDescription"},
    {OptionalTag::FooterPictureDescription, "edtFooterPictureDescription"},
    {OptionalTag::OrderHeading, "edtOrderHeading"},
    {OptionalTag::OrderLine, "edtOrderLine"},
    {OptionalTag::DirectButton, "edtDirectButton"},
    {OptionalTag::ClickBankButton, "edtClickBankButton"},
    {OptionalTag::OrderClosing, "edtOrderClosing"},
    {OptionalTag::PriceLine, "edtPriceLine"},
    {OptionalTag::SellerName, "edtSellerName"},
    {OptionalTag::SellerAddress, "edtSellerAddress"},
    {OptionalTag::SellerEmail, "edtSellerEmail"},
    {OptionalTag::ResultsStatement, "edtResultsStatement"},
    {OptionalTag::Disclaimer, "edtDisclaimer"},
    {OptionalTag::OfferEnds, "dteOfferEnds"}, // a DeadlineEdit, bound on its own
    {OptionalTag::PrivacyPage, "edtPrivacyPage"},
    {OptionalTag::TermsPage, "edtTermsPage"},
    {OptionalTag::SignupAddress, "edtSignupAddress"},
    {OptionalTag::SignupConsent, "edtSignupConsent"},
    {OptionalTag::Plausible, "edtPlausible"},
    {OptionalTag::GoatCounter, "edtGoatCounter"},
    {OptionalTag::MatomoAddress, "edtMatomoAddress"},
    {OptionalTag::MatomoSite, "edtMatomoSite"},
    {OptionalTag::GoogleAnalytics, "edtGoogleAnalytics"},
    {OptionalTag::MetaPixel, "edtMetaPixel"},
    {OptionalTag::HeadCode, "memHeadCode"},   // a memo, bound on its own
    {OptionalTag::Headline2, "prfHeadline2"}, // editing areas, bound on their own
    {OptionalTag::Headline3, "prfHeadline3"},
    {OptionalTag::Headline4, "prfHeadline4"},
};

// The headlines tested against the main one: editing areas whose entries are written only
// while they hold text, so a letter without a test keeps its file's bytes.
constexpr OptionalEdit kHeadlineAreas[] = {
    {OptionalTag::Headline2, "prfHeadline2"},
    {OptionalTag::Headline3, "prfHeadline3"},
    {OptionalTag::Headline4, "prfHeadline4"},
};

// What an area holds as its stored fragment; nothing while it is not ready or cannot say.
std::optional<std::string> AreaFragment(HtmlEditor& area) {
    if (!area.IsReady()) {
        return std::nullopt;
    }
    const QString document = area.GetDocumentHTML();
    if (IsAreaAnswer(document)) {
        return std::nullopt;
    }
    return StripEditorDocument(AnsiOf(document));
}

// A tested headline's fragment as its entry stores it: nothing for an empty area.
std::string HeadlineEntryOf(std::string fragment) {
    return fragment.empty() || fragment == "&nbsp;" ? std::string() : fragment;
}

// The user's language as a letter's language tag ("en", "de-CH"); "en" where the system's
// locale names none.
std::string SystemLanguageTag() {
    const QString tag = QLocale::system().bcp47Name();
    return tag.isEmpty() || tag == QStringLiteral("C") ? std::string("en") : AnsiOf(tag);
}

} // namespace

ConfigurationForm::ConfigurationForm(QWidget& form, RecordPage& features, RecordPage& testimonials,
                                     LetterDocument& document)
    : form_(form), features_(features), testimonials_(testimonials), document_(document) {
    Bind();
    BindWindowAdditions();
}

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

ConfigValue ConfigurationForm::ReadField(const ConfigField& field) const {
    switch (field.kind) {
    case ValueKind::Text:
        return AnsiOf(BoundControl<QLineEdit>(field).text());
    case ValueKind::MultiLineText:
        return MemoText(BoundControl<QPlainTextEdit>(field));
    case ValueKind::Colour:
        return BoundControl<ColorChooser>(field).SelectedColor();
    case ValueKind::Passage:
        return StripEditorDocument(AnsiOf(BoundControl<HtmlEditor>(field).GetDocumentHTML()));
    case ValueKind::RecordList:
        return RecordList((field.tag == Tag::Features ? features_ : testimonials_).Records());
    case ValueKind::FontName:
        return AnsiOf(BoundControl<FontNameChooser>(field).ShownText());
    case ValueKind::Size:
        return static_cast<std::int32_t>(BoundControl<SizeSpinEdit>(field).value());
    case ValueKind::Flag:
        return BoundControl<QCheckBox>(field).isChecked();
    }
    return {};
}

LetterConfiguration ConfigurationForm::Read() const {
    LetterConfiguration config = document_.Configuration();
    for (const ConfigField& field : kConfigFields) {
        config.Set(field.tag, ReadField(field));
    }
    return config;
}

void ConfigurationForm::ReadAllIntoDocument() {
    for (const ConfigField& field : kConfigFields) {
        Follow(field);
    }
}

void ConfigurationForm::Follow(const ConfigField& field) const {
    if (applying_) {
        return;
    }
    if (field.kind == ValueKind::Passage) {
        if (auto fragment = AreaFragment(BoundControl<HtmlEditor>(field))) {
            document_.Set(field.tag, std::move(*fragment));
        }
        return;
    }
    document_.Set(field.tag, ReadField(field));
}

void ConfigurationForm::Apply(const LetterConfiguration& config) {
    applying_ = true;
    try {
        for (const ConfigField& field : kConfigFields) {
            ApplyField(field, config);
        }
    } catch (...) {
        applying_ = false;
        throw;
    }
    for (const OptionalEdit& edit : kOptionalEdits) {
        if (auto* control = form_.findChild<QLineEdit*>(QString::fromLatin1(edit.control))) {
            control->setText(QStringOfAnsi(config.Optional(edit.tag)));
        }
    }
    if (auto* original = form_.findChild<QCheckBox*>(QStringLiteral("chkOriginalPictures"))) {
        original->setChecked(config.Optional(OptionalTag::OriginalPictures) == "-1");
    }
    if (auto* deadline = form_.findChild<DeadlineEdit*>(QStringLiteral("dteOfferEnds"))) {
        deadline->SetText(QStringOfAnsi(config.Optional(OptionalTag::OfferEnds)));
    }
    if (auto* code = form_.findChild<QPlainTextEdit*>(QStringLiteral("memHeadCode"))) {
        SetMemoText(*code, config.Optional(OptionalTag::HeadCode));
    }
    for (const OptionalEdit& edit : kHeadlineAreas) {
        if (auto* area = form_.findChild<HtmlEditor*>(QString::fromLatin1(edit.control))) {
            area->SetDocumentHTML(QStringOfAnsi(config.Optional(edit.tag)));
        }
    }
    applying_ = false;
    // A stored template that the catalogue has is chosen (names compared as the catalogue
    // does, ASCII letter case aside); the chooser tells the document.
    const std::string& stored = config.Optional(OptionalTag::Template);
    auto* templates = form_.findChild<QComboBox*>(QStringLiteral("cbxTemplates"));
    if (templates != nullptr && !stored.empty()) {
        const int index = templates->findText(QStringOfAnsi(stored), Qt::MatchFixedString);
        if (index >= 0) {
            templates->setCurrentIndex(index);
        }
    }
    // The areas now show what the document holds: nothing to read back.
    for (QTimer* read : passageReads_) {
        read->stop();
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
    applying_ = true;
    for (const ConfigField& field : kConfigFields) {
        if (field.kind == ValueKind::FontName) {
            BoundControl<FontNameChooser>(field).ShowFontName(
                QStringOfAnsi(initial.Text(field.tag)));
        } else if (field.kind != ValueKind::Passage) {
            // An area starts with an empty document of its own.
            ApplyField(field, initial);
        }
    }
    applying_ = false;
    if (auto* language = form_.findChild<QLineEdit*>(QStringLiteral("edtLanguage"))) {
        const std::string tag = SystemLanguageTag();
        language->setText(QStringOfAnsi(tag));
        document_.AdoptOptional(OptionalTag::Language, tag);
    }
}

QWidget* ConfigurationForm::ControlOf(LetterField field) const {
    const auto named = [this](std::string_view name) {
        return form_.findChild<QWidget*>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    };
    if (const auto tag = field.StoredTag()) {
        // The record lists have no control of their own; their list boxes show them.
        if (*tag == Tag::Features) {
            return named("lbxFeatures");
        }
        if (*tag == Tag::Testimonials) {
            return named("lbxTestimonials");
        }
        return named(FieldOf(*tag).control);
    }
    if (const auto entry = field.OptionalEntry()) {
        // The template chooser is out of view on step 8; the gallery stands for it.
        if (*entry == OptionalTag::Template) {
            return named("galTemplates");
        }
        if (*entry == OptionalTag::OriginalPictures) {
            return named("chkOriginalPictures");
        }
        for (const OptionalEdit& edit : kOptionalEdits) {
            if (edit.tag == *entry) {
                return named(edit.control);
            }
        }
        return nullptr;
    }
    return named("edtFilename");
}

std::filesystem::path ConfigurationForm::ConfigurationPath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("config.dat"));
}

std::filesystem::path ConfigurationForm::BackupPath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("config.bak"));
}

void ConfigurationForm::Bind() {
    for (const ConfigField& field : kConfigFields) {
        const auto follow = [this, &field] { Follow(field); };
        switch (field.kind) {
        case ValueKind::Text:
            QObject::connect(&BoundControl<QLineEdit>(field), &QLineEdit::textChanged,
                             &connections_, follow);
            break;
        case ValueKind::MultiLineText:
            QObject::connect(&BoundControl<QPlainTextEdit>(field), &QPlainTextEdit::textChanged,
                             &connections_, follow);
            break;
        case ValueKind::Colour:
        case ValueKind::FontName: {
            // A chooser's custom entry can change its colour without a new selection.
            auto& chooser = BoundControl<QComboBox>(field);
            QObject::connect(&chooser, &QComboBox::currentIndexChanged, &connections_, follow);
            QObject::connect(&chooser, &QComboBox::currentTextChanged, &connections_, follow);
            QObject::connect(chooser.model(), &QAbstractItemModel::dataChanged, &connections_,
                             follow);
            break;
        }
        case ValueKind::Passage:
            ReadOnChange(BoundControl<HtmlEditor>(field), follow);
            break;
        case ValueKind::RecordList: {
            // The list box always holds one caption per record, in the records' order.
            QAbstractItemModel* model =
                (field.tag == Tag::Features ? features_ : testimonials_).ListModel();
            QObject::connect(model, &QAbstractItemModel::rowsInserted, &connections_, follow);
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, &connections_, follow);
            QObject::connect(model, &QAbstractItemModel::rowsMoved, &connections_, follow);
            QObject::connect(model, &QAbstractItemModel::dataChanged, &connections_, follow);
            QObject::connect(model, &QAbstractItemModel::modelReset, &connections_, follow);
            break;
        }
        case ValueKind::Size:
            QObject::connect(&BoundControl<SizeSpinEdit>(field), &QSpinBox::valueChanged,
                             &connections_, follow);
            break;
        case ValueKind::Flag:
            QObject::connect(&BoundControl<QCheckBox>(field), &QCheckBox::toggled, &connections_,
                             follow);
            break;
        }
    }
}

// An area reports an edit from inside the engine's own call, where waiting for the engine's
// answer would never end; the read follows from a timer, once for all the reports of one
// action.
void ConfigurationForm::ReadOnChange(HtmlEditor& area, const std::function<void()>& read) {
    auto* timer = new QTimer(&connections_);
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &connections_, read);
    QObject::connect(&area, &HtmlEditor::changed, timer, qOverload<>(&QTimer::start));
    passageReads_.push_back(timer);
}

void ConfigurationForm::BindWindowAdditions() {
    // Step 8's template chooser, output file and picture placement are the window's own;
    // a form without them (a test's) simply has no such fields.
    if (auto* templates = form_.findChild<QComboBox*>(QStringLiteral("cbxTemplates"))) {
        const auto follow = [this, templates] {
            document_.SetTemplateName(AnsiOf(templates->currentText()));
        };
        QObject::connect(templates, &QComboBox::currentTextChanged, &connections_, follow);
        // The catalogue is filled again with the chooser's own signals blocked; its list's
        // signals still say when the choice went.
        QObject::connect(templates->model(), &QAbstractItemModel::modelReset, &connections_,
                         follow);
        QObject::connect(templates->model(), &QAbstractItemModel::rowsRemoved, &connections_,
                         follow);
        document_.SetTemplateName(AnsiOf(templates->currentText()));
    }
    for (const OptionalEdit& edit : kOptionalEdits) {
        if (auto* control = form_.findChild<QLineEdit*>(QString::fromLatin1(edit.control))) {
            QObject::connect(control, &QLineEdit::textChanged, &connections_,
                             [this, tag = edit.tag](const QString& text) {
                                 if (!applying_) {
                                     document_.SetOptional(tag, AnsiOf(text));
                                 }
                             });
        }
    }
    if (auto* output = form_.findChild<QLineEdit*>(QStringLiteral("edtFilename"))) {
        QObject::connect(
            output, &QLineEdit::textChanged, &connections_,
            [this](const QString& name) { document_.SetOutputFileName(AnsiOf(name)); });
        document_.SetOutputFileName(AnsiOf(output->text()));
    }
    // Stored as the entry's "-1", and as no entry at all while off, so files of before stay
    // the same bytes.
    if (auto* original = form_.findChild<QCheckBox*>(QStringLiteral("chkOriginalPictures"))) {
        QObject::connect(original, &QCheckBox::toggled, &connections_, [this](bool on) {
            if (!applying_) {
                document_.SetOptional(OptionalTag::OriginalPictures, on ? "-1" : "");
            }
        });
    }
    if (auto* deadline = form_.findChild<DeadlineEdit*>(QStringLiteral("dteOfferEnds"))) {
        QObject::connect(deadline, &DeadlineEdit::textEdited, &connections_,
                         [this](const QString& text) {
                             if (!applying_) {
                                 document_.SetOptional(OptionalTag::OfferEnds, AnsiOf(text));
                             }
                         });
    }
    if (auto* code = form_.findChild<QPlainTextEdit*>(QStringLiteral("memHeadCode"))) {
        QObject::connect(code, &QPlainTextEdit::textChanged, &connections_, [this, code] {
            if (!applying_) {
                document_.SetOptional(OptionalTag::HeadCode, MemoText(*code));
            }
        });
    }
    for (const OptionalEdit& edit : kHeadlineAreas) {
        if (auto* area = form_.findChild<HtmlEditor*>(QString::fromLatin1(edit.control))) {
            ReadOnChange(*area, [this, area, tag = edit.tag] {
                if (applying_) {
                    return;
                }
                if (auto fragment = AreaFragment(*area)) {
                    document_.SetOptional(tag, HeadlineEntryOf(std::move(*fragment)));
                }
            });
        }
    }
    if (auto* embed = form_.findChild<QCheckBox*>(QStringLiteral("chkEmbedPictures"))) {
        QObject::connect(embed, &QCheckBox::toggled, &connections_,
                         [this](bool on) { document_.SetEmbedPictures(on); });
        document_.SetEmbedPictures(embed->isChecked());
    }
}

} // namespace scribvane
