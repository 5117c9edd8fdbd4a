// The open and save dialogs of the Browse buttons, shown through the dialog service, and the
// file name rules they apply.
#pragma once

#include <QString>

class QWidget;

namespace scribvane {

class DialogService;

class FileDialog {
public:
    enum class Mode {
        OpenExisting, // only existing files can be chosen
        Save,         // any name; ".html" is added when the extension differs
        SaveAs,       // any name, kept as chosen; the dialog asks before replacing a file
    };

    // `filter` in pairs form: "Description|patterns|Description|patterns" (see QtFileFilter).
    FileDialog(Mode mode, QString title, QString filter);

    // Asks through the service; true when the user confirmed. The chosen full path is then
    // FileName(). `fieldPath` is the path already in the field the dialog fills: the dialog
    // opens in its folder when that exists, else in the folder last chosen from.
    bool Execute(QWidget* parent, DialogService& dialogs, const QString& fieldPath = QString());

    // Where the dialog opens: a file path (its folder is shown, its name offered) or a folder;
    // empty for the platform's default.
    QString StartPath() const { return startPath_; }

    QString FileName() const { return fileName_; }
    QString Title() const { return title_; }
    QString Filter() const { return filter_; }
    Mode DialogMode() const { return mode_; }

private:
    Mode mode_;
    QString title_;
    QString filter_;
    QString fileName_;
    QString startPath_;
};

// Converts a filter in pairs form ("All (*.a;*.b)|*.a;*.b|Bitmaps (*.bmp)|*.bmp") into Qt's
// form ("All (*.a *.b);;Bitmaps (*.bmp)"): a description's own parenthesised pattern list is
// replaced by the pair's patterns.
QString QtFileFilter(const QString& pairs);

// The save dialog's rule: ".html" is appended when the file name's extension (from its last
// dot) is not ".html" in any letter case. "letter" -> "letter.html", "letter.HTML" stays,
// "letter.htm" -> "letter.htm.html".
QString WithHtmlExtension(const QString& path);

} // namespace scribvane
