// The font name chooser: a fixed list that can still show a name it does not list.
#include "widgets/FontNameChooser.h"

#include "utils/FontFamilies.h"

#include <QFontDatabase>
#include <QSet>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace scribvane {

QStringList SortedFontNames(QStringList names) {
    std::sort(names.begin(), names.end(), [](const QString& left, const QString& right) {
        const int folded = QString::compare(left, right, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(left, right, Qt::CaseSensitive) < 0;
    });
    return names;
}

QStringList TypefaceFamilies(const QStringList& platformFamilies) {
    QStringList families;
    QSet<QString> seen;
    for (const QString& label : platformFamilies) {
        QString family = label;
        const qsizetype bracket = family.lastIndexOf(QStringLiteral(" ["));
        if (bracket > 0 && family.endsWith(QLatin1Char(']'))) {
            family.truncate(bracket);
        }
        family = family.trimmed();
        if (!family.isEmpty() && !seen.contains(family)) {
            seen.insert(family);
            families.append(family);
        }
    }
    return families;
}

QStringList InstalledTypefaceFamilies() {
    return TypefaceFamilies(QFontDatabase::families());
}

void MarkFamiliesVisitorsLack(QComboBox& chooser) {
    // The list stays sorted; a family visitors may lack is greyed and says what the page falls
    // back to, so the choice is an informed one.
    const QColor lacking = chooser.palette().color(QPalette::PlaceholderText);
    for (int index = 0; index < chooser.count(); ++index) {
        const std::string family = chooser.itemText(index).toStdString();
        if (EveryVisitorHas(family)) {
            chooser.setItemData(index, QStringLiteral("Every visitor has this font."),
                                Qt::ToolTipRole);
            continue;
        }
        const QString note =
            QStringLiteral("Not every visitor has this font; the page falls back to %1.")
                .arg(QString::fromLatin1(FallbackFonts(KindOfFont(family)).substr(2)));
        chooser.setItemData(index, note, Qt::ToolTipRole);
        chooser.setItemData(index, note, Qt::AccessibleDescriptionRole);
        chooser.setItemData(index, lacking, Qt::ForegroundRole);
    }
}

FontNameChooser::FontNameChooser(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setMaxVisibleItems(20);
}

void FontNameChooser::SetFontNames(const QStringList& names) {
    const QString shown = ShownText();
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(SortedFontNames(names));
        MarkFamiliesVisitorsLack(*this);
        setCurrentIndex(-1);
    }
    ShowFontName(shown);
}

bool FontNameChooser::SelectFontName(const QString& name) {
    const int index = findText(name, Qt::MatchFixedString); // MatchFixedString ignores case
    if (index >= 0) {
        setCurrentIndex(index);
        return true;
    }
    unlisted_ = ShownText();
    setCurrentIndex(-1);
    update();
    return false;
}

void FontNameChooser::ShowFontName(const QString& name) {
    if (!SelectFontName(name)) {
        unlisted_ = name;
        update();
    }
}

QString FontNameChooser::ShownText() const {
    return currentIndex() >= 0 ? currentText() : unlisted_;
}

void FontNameChooser::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (currentIndex() < 0) {
        option.currentText = unlisted_;
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace scribvane
