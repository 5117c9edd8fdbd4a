// The page building blocks; see FormBuilder.h.
#include "widgets/FormBuilder.h"

#include "widgets/ColorChooser.h"
#include "widgets/FontNameChooser.h"
#include "widgets/SizeSpinEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace scribvane {

namespace {

// What a larger window adds goes below the areas that end a page, this far above its bottom.
constexpr int kPageBottomGap = 10;

} // namespace

QWidget* MakePage(const QString& name) {
    auto* page = new QWidget;
    page->setObjectName(name);
    page->setProperty("wizardPage", true);
    page->setAttribute(Qt::WA_StyledBackground, true);
    return page;
}

QVBoxLayout* PageLayout(QWidget* page, const QString& title) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 10, 14, kPageBottomGap);
    layout->setSpacing(6);
    auto* heading = new QLabel(title, page);
    heading->setProperty("pageTitle", true);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addSpacing(4);
    return layout;
}

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void Bind(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    control->setAccessibleName(name);
}

QLineEdit* MakeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Any length, like the other fields: the default limit would cut a loaded value and lose
    // the rest at the next save.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

QPlainTextEdit* MakeMemo(const QString& name, QWidget* parent, bool readOnly) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setReadOnly(readOnly);
    memo->setTabChangesFocus(true);
    return memo;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QCheckBox* MakeCheck(const QString& name, const QString& caption, QWidget* parent) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    return check;
}

ColorChooser* MakeColor(const QString& name, QWidget* parent) {
    auto* chooser = new ColorChooser(parent);
    chooser->setObjectName(name);
    return chooser;
}

QGridLayout* MakeGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    return grid;
}

void AddAbove(QVBoxLayout* layout, QWidget* page, const QString& text, QWidget* control) {
    QLabel* label = MakeLabel(text, page);
    label->setWordWrap(true);
    layout->addWidget(label);
    if (control != nullptr) {
        Bind(label, control);
        layout->addWidget(control);
    }
}

QLabel* AddRow(QGridLayout* grid, int row, QWidget* page, const QString& text, QWidget* control,
               int columnSpan) {
    QLabel* label = MakeLabel(text, page);
    Bind(label, control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1, 1, columnSpan);
    return label;
}

void AddStyleRows(const QString& letter, QWidget* page, QGridLayout* grid, int row, bool hidden) {
    const auto name = [&letter](const char* pattern) {
        return QString::fromLatin1(pattern).arg(letter);
    };
    ColorChooser* background = MakeColor(name("cbx%1BgColor"), page);
    ColorChooser* fore = MakeColor(name("cbx%1Color"), page);
    auto* font = new FontNameChooser(page);
    font->setObjectName(name("cbx%1Name"));
    font->SetFontNames(InstalledTypefaceFamilies());
    auto* size = new SizeSpinEdit(page);
    size->setObjectName(name("cbx%1Size"));
    size->setMaximumWidth(110);

    QList<QWidget*> parts;
    int current = row;
    for (const auto& [text, control] :
         {std::pair<const char*, QWidget*>{"Background Color:", background},
          {"Fore Color:", fore},
          {"Font Name:", font},
          {"Font Size:", size}}) {
        parts << AddRow(grid, current++, page, QString::fromLatin1(text), control) << control;
    }
    QLabel* styleLabel = MakeLabel(QStringLiteral("Font Style:"), page);
    grid->addWidget(styleLabel, current, 0);
    parts << styleLabel;
    auto* checks = new QHBoxLayout;
    checks->setSpacing(14);
    for (const char* flag : {"Bold", "Underline", "Italic"}) {
        const QString caption = QString::fromLatin1(flag);
        QCheckBox* check = MakeCheck(QStringLiteral("chk%1%2").arg(letter, caption), caption, page);
        checks->addWidget(check);
        parts << check;
    }
    checks->addStretch(1);
    grid->addLayout(checks, current, 1);

    if (hidden) {
        for (QWidget* part : parts) {
            part->hide();
        }
    }
}

} // namespace scribvane
