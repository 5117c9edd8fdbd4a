// The letter preview's own address scheme; see LetterPageServer.h.
#include "generation/LetterPageServer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <utility>

namespace scribvane {

namespace {

const QString kPagePath = QStringLiteral("/letter.html");

} // namespace

const QByteArray LetterPageServer::kScheme = QByteArrayLiteral("scribvane-letter");

namespace {

// The scheme must be known to the engine before the application object exists, and every
// program that may show the preview links this file.
const bool kRegistered = [] {
    LetterPageServer::RegisterScheme();
    return true;
}();

} // namespace

void LetterPageServer::RegisterScheme() {
    if (QWebEngineUrlScheme::schemeByName(kScheme).name() == kScheme) {
        return;
    }
    QWebEngineUrlScheme scheme(kScheme);
    // With a host every page of the preview is one origin, so each new page reuses the
    // engine's process instead of starting one.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Pictures shown in place are file: addresses.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void LetterPageServer::SetPage(QByteArray page, QString baseFolder) {
    page_ = std::move(page);
    baseFolder_ = std::move(baseFolder);
}

QUrl LetterPageServer::PageAddress(int serial) {
    QUrl address;
    address.setScheme(QString::fromLatin1(kScheme));
    address.setHost(QStringLiteral("letter"));
    address.setPath(kPagePath);
    address.setQuery(QStringLiteral("n=%1").arg(serial));
    return address;
}

void LetterPageServer::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString path = job->requestUrl().path();
    if (path == kPagePath) {
        auto* buffer = new QBuffer(job);
        buffer->setData(page_);
        buffer->open(QIODevice::ReadOnly);
        // No charset: the page's own declaration decides, as it will on the web.
        job->reply(QByteArrayLiteral("text/html"), buffer);
        return;
    }
    // A relative address of the letter: a file in the folder the letter will lie in.
    const QString file = QDir::cleanPath(baseFolder_ + path);
    auto* device = new QFile(file, job);
    if (!QFileInfo(file).isFile() || !device->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const QByteArray type = QMimeDatabase().mimeTypeForFile(file).name().toLatin1();
    job->reply(type, device);
}

} // namespace scribvane
