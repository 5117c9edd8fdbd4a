// The font name chooser of the feature, testimonial and order link styles: a fixed, sorted
// list of the installed families. It can show a name that is not among its items (a stored
// "Arial" on a desktop that only has a metric twin of it), with no entry selected.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace scribvane {

// Greys the families of a font list that not every visitor has, each saying what the page
// falls back to instead.
void MarkFamiliesVisitorsLack(QComboBox& chooser);

class FontNameChooser : public QComboBox {
    Q_OBJECT

public:
    explicit FontNameChooser(QWidget* parent = nullptr);

    // Replaces the items with the given names, sorted; the shown text stays.
    void SetFontNames(const QStringList& names);

    // Selects the entry of that name, ignoring letter case, and returns true. When there is
    // none, nothing is selected, the previous text stays shown and false is returned.
    bool SelectFontName(const QString& name);

    // Shows the name: its entry is selected when there is one; otherwise the name is shown
    // with no entry selected.
    void ShowFontName(const QString& name);

    // What the chooser shows: the selected entry's text, or the name shown without one.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString unlisted_;
};

// Sorts font family names alphabetically without regard to letter case (names that differ
// only in case keep a fixed order).
QStringList SortedFontNames(QStringList names);

// The typeface family names among the platform's font families, each once: where several
// foundries make a family, the platform lists "Family [foundry]" labels, which no document can
// name as a font. Not sorted.
QStringList TypefaceFamilies(const QStringList& platformFamilies);

// The installed typeface families, each once (see TypefaceFamilies).
QStringList InstalledTypefaceFamilies();

} // namespace scribvane
