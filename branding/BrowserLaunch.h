// Opening web pages: the help page, the affiliate sales page and the banner's target go to
// the default browser; a link label's target goes to the desktop's handler of its scheme.
#pragma once

#include <QString>
#include <string>

namespace scribvane {

// Starts the default browser with the address as its only argument (never through a shell, so
// an address with blanks stays one argument); without a registered browser, the desktop's
// opener (xdg-open) gets the address. With neither nothing starts and nothing is reported.
// True when a program was found and its start requested.
bool OpenInBrowser(const QString& address);

// The banner's target in the browser; nothing when there is none (Windows-1252 text).
void OpenBannerTarget(const std::string& bannerUrl);

// The affiliate sales page with the identifier directly after the address: the identifier
// carries its own "?" or "/" if any (Windows-1252 text).
void OpenAffiliatePage(const std::string& affiliateId);

// Hands a link label's target to the desktop. An empty target does nothing.
void OpenLinkAddress(const QString& address);

} // namespace scribvane
