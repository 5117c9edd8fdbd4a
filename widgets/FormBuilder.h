// Building blocks for the wizard's pages: a page with its heading, labelled rows and fields
// that carry their object names (tests and the configuration table find controls by them),
// and the style fields of a text block. Every label is its control's buddy and names it for
// assistive technology.
#pragma once

#include <QString>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace scribvane {

class ColorChooser;

// A wizard page named `name`, and its column layout headed by `title`.
QWidget* MakePage(const QString& name);
QVBoxLayout* PageLayout(QWidget* page, const QString& title);

QLabel* MakeLabel(const QString& text, QWidget* parent);
// Makes `label` the buddy of `control`, which is named by the label's text without its colon.
void Bind(QLabel* label, QWidget* control);

// A single-line edit of unbounded length.
QLineEdit* MakeEdit(const QString& name, QWidget* parent);
QPlainTextEdit* MakeMemo(const QString& name, QWidget* parent, bool readOnly = false);
QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent);
QCheckBox* MakeCheck(const QString& name, const QString& caption, QWidget* parent);
ColorChooser* MakeColor(const QString& name, QWidget* parent);

// A two-column grid: labels left, controls right, the controls' column taking the width.
QGridLayout* MakeGrid();
// A label above its control (or a bare text when `control` is null), filling the width.
void AddAbove(QVBoxLayout* layout, QWidget* page, const QString& text, QWidget* control);
// A label left of its control in row `row` of `grid`; returns the label.
QLabel* AddRow(QGridLayout* grid, int row, QWidget* page, const QString& text, QWidget* control,
               int columnSpan = 1);

// The style fields of a text block, named after `letter` ("F", "T" or "O"): background and
// fore colour, font name and size, and bold, underline and italic, in five rows of `grid`
// from `row`. Hidden fields are kept and stored like the others but not offered.
void AddStyleRows(const QString& letter, QWidget* page, QGridLayout* grid, int row,
                  bool hidden = false);

} // namespace scribvane
