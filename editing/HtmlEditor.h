// One HTML editing area: a browser engine view whose document is in design mode.
//
// The window reaches it only through the four operations below, which are synchronous to
// their callers: each waits for the engine's answer in a local event loop. Before the
// document is ready the reads give "BUSY" and writes and commands do nothing; a failure gives
// "ERROR" (reads) or is ignored (writes, commands). Enter starts a DIV, not a paragraph.
#pragma once

#include <QVariant>
#include <QWidget>
#include <cstdint>

class QWebEngineView;

namespace scribvane {

class HtmlEditor : public QWidget {
    Q_OBJECT

public:
    explicit HtmlEditor(QWidget* parent = nullptr);
    ~HtmlEditor() override;

    // The whole document in the fixed serialized form (see editing/DocumentSerializer.h).
    QString GetDocumentHTML();
    // The body element alone, same form; an empty area gives exactly "<body>&nbsp;</body>".
    QString GetBodyHTML();
    // Replaces the document; a fragment without html, head or body becomes the body.
    void SetDocumentHTML(const QString& html);
    // Runs one editing command on the selection. Colour commands take a colour value (red in
    // the low byte), "FontSize" an integer 1 to 7, "FontName" a name; the rest take nothing.
    void ExecCommand(const QString& command, const QVariant& value = QVariant());
    // The address of the link at the caret or selection; empty where there is none.
    QString LinkAtCaret();
    // Makes the selection (or, with a caret in a link, that link) a link to `address`, an
    // http(s) or mailto address; an empty address removes the link. With a bare caret
    // elsewhere the address is inserted as its own text.
    void SetLink(const QString& address);
    // Makes the caret's block a heading one level below the page's headline (h2), or a heading
    // a plain block again.
    void ToggleHeading();
    // The font the area shows text in that names none, as the page shows it: CSS families
    // ("Arial, sans-serif"); empty for the browser's default. Not part of the document.
    void SetBaseFont(const QString& families);

    // Pastes the clipboard at the caret: rich text keeps only what the toolbar can make (see
    // editing/PasteCleaner.h); `plainText` pastes the text alone. Ctrl+V and Ctrl+Shift+V.
    void PasteClipboard(bool plainText = false);

    bool IsReady() const;
    // How often any area has waited for its engine's answer since the program started.
    static std::uint64_t RoundTrips();
    QWebEngineView* view() const;

Q_SIGNALS:
    // The document became ready for the first time.
    void ready();
    // The document may have changed: the user edited it, or SetDocumentHTML or ExecCommand
    // ran. Raised once per edit, so listeners debounce rather than read at once.
    void changed();
    // The toolbar commands that apply at the caret ("Bold", "JustifyCenter", ...), after the
    // caret or the selection moved or the document changed.
    void formatStateChanged(const QStringList& applying);

protected:
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    Private* d;
};

} // namespace scribvane
