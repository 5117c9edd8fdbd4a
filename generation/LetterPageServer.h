// Serves the letter preview's page through an address scheme of the program's own: the page
// text as it is given (a page set as text is limited to about 2 MB, a served page is not),
// and the files its relative addresses name, read from the folder the letter will lie in.
// Serving reads and never writes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace scribvane {

class LetterPageServer : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    static const QByteArray kScheme;

    // Registers the scheme with the web engine; must run before the application object is
    // made (this file does it as the program starts).
    static void RegisterScheme();

    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // The page from now on, and the folder its relative addresses resolve in.
    void SetPage(QByteArray page, QString baseFolder);
    // The address that loads the page; `serial` makes each load a new address.
    static QUrl PageAddress(int serial);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QByteArray page_;
    QString baseFolder_;
};

} // namespace scribvane
