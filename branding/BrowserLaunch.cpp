// Opening web pages; see BrowserLaunch.h.
#include "branding/BrowserLaunch.h"

#include "branding/BrowserLookup.h"
#include "utils/ProgramConstants.h"
#include "widgets/QtText.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <cstdlib>

namespace scribvane {

bool OpenInBrowser(const QString& address) {
    auto program = FindBrowserProgram(XdgEnvironment::FromProcess());
    if (!program) {
        // As the link labels do: the desktop's opener finds a browser its own way.
        const char* path = std::getenv("PATH");
        program = FindDesktopOpener(path != nullptr ? path : "");
    }
    if (!program) {
        return false;
    }
    // Desktop entries are UTF-8. The browser runs on its own; its start is not awaited.
    QProcess::startDetached(QString::fromUtf8(program->data(), qsizetype(program->size())),
                            {address});
    return true;
}

void OpenLinkAddress(const QString& address) {
    if (!address.isEmpty()) {
        QDesktopServices::openUrl(QUrl(address));
    }
}

void OpenBannerTarget(const std::string& bannerUrl) {
    if (!bannerUrl.empty()) {
        OpenInBrowser(QStringOfAnsi(bannerUrl));
    }
}

void OpenAffiliatePage(const std::string& affiliateId) {
    OpenInBrowser(QStringOfAnsi(std::string(AffiliateSalesAddress) + affiliateId));
}

} // namespace scribvane
