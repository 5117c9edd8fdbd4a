// The main window's branding and link actions: reading the branding files at start-up and
// opening the help page, the affiliate sales page, the banner's and the links' targets.
#include "app/LinkLabel.h"
#include "app/TfrmMain.h"
#include "branding/BrandingApplier.h"
#include "branding/BrowserLaunch.h"
#include "branding/ClickFilter.h"
#include "utils/ProgramConstants.h"
#include "utils/QtText.h"

#include <QLabel>
#include <QPushButton>
#include <string>

namespace scribvane {
void TfrmMain::WireBranding() {
    connect(btnHelp, &QPushButton::clicked, this, &TfrmMain::btnHelpClick);
    connect(btnMakeMoney, &QPushButton::clicked, this, &TfrmMain::btnMakeMoneyClick);
    connect(lblLink1URL, &LinkLabel::clicked, this, &TfrmMain::lblLink1URLClick);
    connect(lblLink2URL, &LinkLabel::clicked, this, &TfrmMain::lblLink2URLClick);
    ClickFilter::Install(imgBanner, [this] { imgBannerClick(); });
    ClickFilter::Install(gifBanner, [this] { gifBannerClick(); });
}

void TfrmMain::LoadBranding() {
    BrandingTargets targets;
    targets.window = this;
    targets.panBanner = panBanner;
    targets.imgBanner = imgBanner;
    targets.gifBanner = gifBanner;
    targets.lblLink1URL = lblLink1URL;
    targets.lblLink2URL = lblLink2URL;
    targets.programFolder = ProgramFolder();
    const BrandingValues values = ApplyBranding(targets);
    FAffiliateID = values.affiliateId;
    FBannerURL = values.bannerUrl;
    FBannerPath = values.bannerPath;
    FLink1URL = values.link1Url;
    FLink2URL = values.link2Url;
    FLink1Name = values.link1Name;
    FLink2Name = values.link2Name;
    FIconPath = values.iconPath;
}

void TfrmMain::imgBannerClick() {
    if (!FBannerURL.empty()) {
        OpenInBrowser(QStringOfAnsi(FBannerURL));
    }
}

void TfrmMain::gifBannerClick() {
    if (!FBannerURL.empty()) {
        OpenInBrowser(QStringOfAnsi(FBannerURL));
    }
}

void TfrmMain::btnHelpClick() {
    OpenInBrowser(QStringOfAnsi(HelpAddress));
}

void TfrmMain::btnMakeMoneyClick() {
    // The identifier follows the address directly: it carries its own "?" or "/" if any.
    OpenInBrowser(QStringOfAnsi(std::string(AffiliateSalesAddress) + FAffiliateID));
}

void TfrmMain::lblLink1URLClick() {
    OpenLinkAddress(lblLink1URL->url());
}

void TfrmMain::lblLink2URLClick() {
    OpenLinkAddress(lblLink2URL->url());
}

} // namespace scribvane
