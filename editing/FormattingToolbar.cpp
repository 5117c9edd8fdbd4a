// The formatting toolbar above each HTML editing area (see FormattingToolbar.h).
#include "editing/FormattingToolbar.h"

#include "editing/ColorDialog.h"
#include "editing/HtmlEditor.h"
#include "editing/LinkAddress.h"
#include "widgets/DialogService.h"
#include "widgets/QtText.h"

#include <QComboBox>
#include <QIcon>
#include <QToolButton>
#include <QVariant>
#include <array>
#include <tuple>

// Resources of a static library are only linked in when something asks for them.
static void InitEditingIcons() {
    Q_INIT_RESOURCE(editing_icons);
}

namespace scribvane {
namespace {

// The elements of a toolbar from left to right after the two choosers.
enum Button {
    Bold,
    Italic,
    Underline,
    Number,
    Plecas,
    Outdent,
    Ident,
    Left,
    Center,
    Right,
    Align,
    FontColor,
    BGColor,
    ButtonCount
};

struct ElementNames {
    QString fontName;
    QString fontSize;
    std::array<QString, ButtonCount> buttons;
};

QString Numbered(const char* prefix, int number) {
    return QLatin1String(prefix) + QString::number(number);
}

// The skinned toolbars 3, 10 and 11 number their buttons in one series; the colour buttons
// come last there, background before font colour.
ElementNames SkinSeries(int tag, int comboNumber, int firstButton) {
    ElementNames names{Numbered("cbxFontName", tag), Numbered("bsSkinComboBox", comboNumber), {}};
    for (int i = 0; i < FontColor; ++i) {
        names.buttons[i] = Numbered("bsSkinSpeedButton", firstButton + i);
    }
    names.buttons[BGColor] = Numbered("bsSkinSpeedButton", firstButton + FontColor);
    names.buttons[FontColor] = Numbered("bsSkinSpeedButton", firstButton + FontColor + 1);
    return names;
}

ElementNames NamesForTag(int tag) {
    switch (tag) {
    case 3:
        return SkinSeries(3, 1, 1);
    case 10:
        return SkinSeries(10, 7, 92);
    case 11:
        return SkinSeries(11, 10, 105);
    default:
        break;
    }
    static const std::array<const char*, ButtonCount> stems = {
        "btnBold",    "btnItalic",    "btnUnderline", "btnNumber", "btnPlecas",
        "btnOutdent", "btnIdent",     "btnLeft",      "btnCenter", "btnRight",
        "btnAlign",   "btnFontColor", "btnBGColor"};
    ElementNames names{Numbered("cbxFontName", tag), Numbered("cbxFontSize", tag), {}};
    for (int i = 0; i < ButtonCount; ++i) {
        names.buttons[i] = Numbered(stems[i], tag);
    }
    return names;
}

struct ButtonLook {
    const char* icon;
    const char* name; // accessible name and tooltip
};

constexpr std::array<ButtonLook, ButtonCount> kLooks = {{
    {"bold", "Bold"},
    {"italic", "Italic"},
    {"underline", "Underline"},
    {"numbered-list", "Numbered list"},
    {"bulleted-list", "Bulleted list"},
    {"outdent", "Decrease indent"},
    {"indent", "Increase indent"},
    {"align-left", "Align left"},
    {"align-center", "Centre"},
    {"align-right", "Align right"},
    {"align-justify", "Justify"},
    {"font-color", "Font colour"},
    {"background-color", "Background colour"},
}};

// Separators stand after these buttons (and after each chooser).
bool SeparatorAfter(int button) {
    return button == Underline || button == Ident || button == Align;
}

// The command whose state a button shows, or nullptr for a button that shows none.
const char* StateCommand(int button) {
    switch (button) {
    case Bold:
        return "Bold";
    case Italic:
        return "Italic";
    case Underline:
        return "Underline";
    case Left:
        return "JustifyLeft";
    case Center:
        return "JustifyCenter";
    case Right:
        return "JustifyRight";
    case Align:
        return "JustifyFull";
    default:
        return nullptr;
    }
}

const char* const kSizes[] = {"1  (  8 pt)", "2  (10 pt)", "3  (12 pt)", "4  (14 pt)",
                              "5  (18 pt)",  "6  (24 pt)", "7  (36 pt)"};

} // namespace

FormattingToolbar::FormattingToolbar(int tag, EditorForTag editorForTag, ColorDialog& colorDialog,
                                     DialogService& dialogs, QWidget* parent)
    : QToolBar(parent), tag_(tag), dialogs_(dialogs), editorForTag_(std::move(editorForTag)),
      colorDialog_(colorDialog) {
    InitEditingIcons();
    setObjectName(Numbered("bsSkinToolBar", tag));
    setProperty("Tag", tag);
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Sixteen buttons and two choosers fit the page's width in one row at this size.
    setIconSize(QSize(16, 16));

    const ElementNames names = NamesForTag(tag);

    fontName_ = new QComboBox(this);
    fontName_->setObjectName(names.fontName);
    fontName_->setProperty("Tag", tag);
    fontName_->setAccessibleName(QStringLiteral("Font name"));
    fontName_->setToolTip(QStringLiteral("Font name"));
    fontName_->setMinimumContentsLength(11);
    fontName_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    addWidget(fontName_);
    addSeparator();
    // A click on a chooser leaves the focus, and the caret, in the area it formats; the
    // keyboard still reaches the choosers with Tab.
    fontName_->setFocusPolicy(Qt::TabFocus);

    fontSize_ = new QComboBox(this);
    fontSize_->setObjectName(names.fontSize);
    fontSize_->setProperty("Tag", tag);
    fontSize_->setAccessibleName(QStringLiteral("Font size"));
    fontSize_->setToolTip(QStringLiteral("Font size"));
    for (const char* size : kSizes) {
        fontSize_->addItem(QLatin1String(size));
    }
    fontSize_->setCurrentIndex(2); // before the handler is bound: no command at creation
    fontSize_->setFocusPolicy(Qt::TabFocus);
    addWidget(fontSize_);
    addSeparator();

    using Handler = void (FormattingToolbar::*)();
    static constexpr std::array<Handler, ButtonCount> handlers = {
        &FormattingToolbar::btnBold1Click,      &FormattingToolbar::btnItalic1Click,
        &FormattingToolbar::btnUnderline1Click, &FormattingToolbar::btnNumber1Click,
        &FormattingToolbar::btnPlecas1Click,    &FormattingToolbar::btnOutdent1Click,
        &FormattingToolbar::btnIdent1Click,     &FormattingToolbar::btnLeft1Click,
        &FormattingToolbar::btnCenter1Click,    &FormattingToolbar::btnRight1Click,
        &FormattingToolbar::btnAlign1Click,     &FormattingToolbar::btnFontColor1Click,
        &FormattingToolbar::btnBGColor1Click};
    for (int i = 0; i < ButtonCount; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(names.buttons[i]);
        button->setProperty("Tag", tag);
        button->setIcon(
            QIcon(QStringLiteral(":/editing/icons/%1.svg").arg(QLatin1String(kLooks[i].icon))));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(QLatin1String(kLooks[i].name));
        button->setToolTip(QLatin1String(kLooks[i].name));
        if (const char* command = StateCommand(i)) {
            button->setCheckable(true);
            stateButtons_.emplace_back(QLatin1String(command), button);
        }
        connect(button, &QToolButton::clicked, this, handlers[i]);
        addWidget(button);
        if (SeparatorAfter(i)) {
            addSeparator();
        }
    }
    // Link, heading and clear formatting come after the colours, so the buttons before them
    // keep the names and places they always had.
    addSeparator();
    using Action = void (FormattingToolbar::*)();
    for (const auto& [stem, icon, name, action] :
         {std::tuple{"btnLink", "link", "Link (Ctrl+K)", Action(&FormattingToolbar::LinkClick)},
          {"btnHeading", "heading", "Heading", Action(&FormattingToolbar::HeadingClick)},
          {"btnClearFormatting", "clear-formatting", "Clear formatting",
           Action(&FormattingToolbar::ClearFormattingClick)}}) {
        auto* button = new QToolButton(this);
        button->setObjectName(Numbered(stem, tag));
        button->setProperty("Tag", tag);
        button->setIcon(QIcon(QStringLiteral(":/editing/icons/%1.svg").arg(QLatin1String(icon))));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        const QString caption = QLatin1String(name);
        button->setAccessibleName(caption.left(caption.indexOf(QStringLiteral(" ("))));
        button->setToolTip(caption);
        connect(button, &QToolButton::clicked, this, action);
        addWidget(button);
    }

    connect(fontSize_, &QComboBox::currentTextChanged, this,
            &FormattingToolbar::cbxFontSize1Change);
    connect(fontName_, &QComboBox::currentTextChanged, this,
            &FormattingToolbar::cbxFontName1Change);
}

void FormattingToolbar::ShowFormatState(const QStringList& applying) {
    for (const auto& [command, button] : stateButtons_) {
        button->setChecked(applying.contains(command));
    }
}

HtmlEditor* FormattingToolbar::EditorOfSender() const {
    // Called directly (no sender), a handler serves this toolbar's own area.
    const QObject* from = sender();
    const QVariant tag = from != nullptr ? from->property("Tag") : QVariant();
    return editorForTag_ ? editorForTag_(tag.isValid() ? tag.toInt() : tag_) : nullptr;
}

void FormattingToolbar::Exec(const QString& command, const QVariant& value) {
    if (HtmlEditor* editor = EditorOfSender()) {
        editor->ExecCommand(command, value);
    }
}

void FormattingToolbar::LinkClick() {
    HtmlEditor* editor = editorForTag_ ? editorForTag_(tag_) : nullptr;
    if (editor == nullptr) {
        return;
    }
    QString offered = editor->LinkAtCaret();
    if (offered.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)) {
        offered = offered.mid(7);
    }
    QString label = QStringLiteral("Web address or e-mail address (empty: no link):");
    for (;;) {
        const auto answer = dialogs_.AskText(this, QStringLiteral("Link"), label, offered);
        if (!answer) {
            return;
        }
        if (const auto address = LinkAddressOf(AnsiOf(*answer))) {
            editor->SetLink(QStringOfAnsi(*address));
            editor->setFocus();
            return;
        }
        offered = *answer;
        label = QStringLiteral("That is not a web or e-mail address. Web address (shop.example/"
                               "order) or e-mail address (help@shop.example):");
    }
}

void FormattingToolbar::HeadingClick() {
    if (HtmlEditor* editor = editorForTag_ ? editorForTag_(tag_) : nullptr) {
        editor->ToggleHeading();
    }
}

void FormattingToolbar::ClearFormattingClick() {
    Exec(QStringLiteral("RemoveFormat"));
}

void FormattingToolbar::btnBold1Click() {
    Exec(QStringLiteral("Bold"));
}

void FormattingToolbar::btnItalic1Click() {
    Exec(QStringLiteral("Italic"));
}

void FormattingToolbar::btnUnderline1Click() {
    Exec(QStringLiteral("Underline"));
}

void FormattingToolbar::btnNumber1Click() {
    Exec(QStringLiteral("InsertOrderedList"));
}

void FormattingToolbar::btnPlecas1Click() {
    Exec(QStringLiteral("InsertUnorderedList"));
}

void FormattingToolbar::btnOutdent1Click() {
    Exec(QStringLiteral("Outdent"));
}

void FormattingToolbar::btnIdent1Click() {
    Exec(QStringLiteral("Indent"));
}

void FormattingToolbar::btnLeft1Click() {
    Exec(QStringLiteral("JustifyLeft"));
}

void FormattingToolbar::btnCenter1Click() {
    Exec(QStringLiteral("JustifyCenter"));
}

void FormattingToolbar::btnRight1Click() {
    Exec(QStringLiteral("JustifyRight"));
}

void FormattingToolbar::btnAlign1Click() {
    Exec(QStringLiteral("JustifyFull"));
}

void FormattingToolbar::btnFontColor1Click() {
    // The dialog comes first, the area is looked up after it closed.
    if (colorDialog_.Execute(window())) {
        Exec(QStringLiteral("ForeColor"), QVariant::fromValue(colorDialog_.Color()));
    }
}

void FormattingToolbar::btnBGColor1Click() {
    if (colorDialog_.Execute(window())) {
        Exec(QStringLiteral("BackColor"), QVariant::fromValue(colorDialog_.Color()));
    }
}

void FormattingToolbar::cbxFontSize1Change() {
    const auto* chooser = qobject_cast<const QComboBox*>(sender());
    const QString text = (chooser != nullptr ? chooser : fontSize_)->currentText();
    // The first character is the HTML font size; the rest is a label.
    if (text.isEmpty() || !text.at(0).isDigit()) {
        return;
    }
    Exec(QStringLiteral("FontSize"), text.at(0).digitValue());
}

void FormattingToolbar::cbxFontName1Change() {
    const auto* chooser = qobject_cast<const QComboBox*>(sender());
    Exec(QStringLiteral("FontName"), (chooser != nullptr ? chooser : fontName_)->currentText());
}

} // namespace scribvane
