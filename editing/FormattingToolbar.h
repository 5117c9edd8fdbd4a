// The formatting toolbar that stands above each HTML editing area. One class built five times;
// every element carries the toolbar's Tag (the number of its area) as the "Tag" property and
// its own name from the element table as objectName.
#pragma once

#include <QStringList>
#include <QToolBar>
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QToolButton;

namespace scribvane {

class DialogService;

class ColorDialog;
class HtmlEditor;

class FormattingToolbar : public QToolBar {
    Q_OBJECT

public:
    // Finds the editing area of a Tag number, or nullptr for any other number.
    using EditorForTag = std::function<HtmlEditor*(int tag)>;

    FormattingToolbar(int tag, EditorForTag editorForTag, ColorDialog& colorDialog,
                      DialogService& dialogs, QWidget* parent = nullptr);

    int tag() const { return tag_; }
    QComboBox* fontNameChooser() const { return fontName_; }
    QComboBox* fontSizeChooser() const { return fontSize_; }

    // Checks Bold, Italic, Underline and the four alignment buttons exactly when their command
    // is among `applying` (the area's formatStateChanged). The choosers are left alone: they
    // show the last choice made in them.
    void ShowFormatState(const QStringList& applying);

    // The shared handlers; each finds its area from the sender's Tag.
    void btnBold1Click();
    void btnItalic1Click();
    void btnUnderline1Click();
    void btnNumber1Click();
    void btnPlecas1Click();
    void btnOutdent1Click();
    void btnIdent1Click();
    void btnLeft1Click();
    void btnCenter1Click();
    void btnRight1Click();
    void btnAlign1Click();
    void btnFontColor1Click();
    void btnBGColor1Click();
    void cbxFontSize1Change();
    void cbxFontName1Change();
    // Link (Ctrl+K in the area): asks for the address, offering the link at the caret; an
    // empty answer removes it. Heading toggles an h2; Clear Formatting removes the inline
    // formatting of the selection.
    void LinkClick();
    void HeadingClick();
    void ClearFormattingClick();

private:
    HtmlEditor* EditorOfSender() const;
    void Exec(const QString& command, const QVariant& value = QVariant());

    int tag_;
    DialogService& dialogs_;
    EditorForTag editorForTag_;
    ColorDialog& colorDialog_;
    QComboBox* fontName_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    // The buttons that show whether their command applies at the caret, by command.
    std::vector<std::pair<QString, QToolButton*>> stateButtons_;
};

} // namespace scribvane
