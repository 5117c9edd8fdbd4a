// The letter preview; see LetterPreviewWindow.h.
#include "generation/LetterPreviewWindow.h"

#include "branding/BrowserLaunch.h"
#include "generation/LetterPage.h"
#include "generation/LetterPageServer.h"
#include "generation/LetterPreparation.h"
#include "generation/VisitorTracking.h"
#include "persistence/LetterDocument.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"
#include "widgets/ControlText.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointF>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <algorithm>
#include <filesystem>
#include <utility>

namespace scribvane {
namespace {

constexpr int kPhoneWidth = 390;
// The changes of one action (a load sets many fields) come within this time; the merge needs
// no engine and is cheap, so the preview follows the letter almost at once.
constexpr int kFollowMs = 10;
// Side by side the headlines are compared; the consent notice a first visitor sees would
// cover half of each phone.
const QString kHideConsent =
    QStringLiteral("{const n=document.getElementById('consent');if(n)n.hidden=true;}");

// Shows what it is given and nothing else: a click on a link, an order button's script or a
// form goes to the desktop's browser, so the preview never leaves the letter.
class LetterOnlyPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeTyped || !isMainFrame) {
            return true; // the letter itself, as loaded, and what it frames
        }
        if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted ||
            type == NavigationTypeOther) {
            OpenLinkAddress(url.toString());
        }
        return false;
    }
};

// The seller looking at their own letter is no visitor: the counters' and trackers' requests
// go nowhere, whatever the preview's visitor answers to the consent notice.
class NoCountedVisits : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (IsCounterAddress(AnsiOf(info.requestUrl().toString()))) {
            info.block(true);
        }
    }
};

} // namespace

LetterPreviewWindow::LetterPreviewWindow(const LetterDocument& document, const LetterPage& letter,
                                         QWidget* owner)
    : QWidget(owner, Qt::Window), document_(document), letter_(letter) {
    setObjectName(QStringLiteral("frmLetterPreview"));
    setWindowTitle(QStringLiteral("Letter Preview"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // A profile of its own and off the record: the preview keeps no cookies, cache or history.
    profile_ = new QWebEngineProfile(this);
    server_ = new LetterPageServer(this);
    profile_->installUrlSchemeHandler(LetterPageServer::kScheme, server_);
    profile_->setUrlRequestInterceptor(new NoCountedVisits(profile_));
    view_ = new QWebEngineView(this);
    view_->setObjectName(QStringLiteral("webLetterPreview"));
    view_->setPage(new LetterOnlyPage(profile_, view_));
    view_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);

    phoneWidth_ = new QCheckBox(QStringLiteral("Phone width (390 px)"), this);
    phoneWidth_->setObjectName(QStringLiteral("chkPhoneWidth"));
    sideBySide_ = new QCheckBox(QStringLiteral("Headlines side by side"), this);
    sideBySide_->setObjectName(QStringLiteral("chkHeadlinesSideBySide"));
    sideBySide_->setToolTip(
        QStringLiteral("Each headline you test, as a phone shows it, beside the others"));
    sideBySide_->hide();
    mainCaption_ = new QLabel(QStringLiteral("Main headline"), this);
    mainCaption_->setObjectName(QStringLiteral("lblMainHeadlineView"));
    mainCaption_->hide();
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblPreviewProblem"));
    problem_->setWordWrap(true);
    problem_->hide();

    // The gallery of designs lives on the last step; this leads there.
    auto* chooseDesign = new QPushButton(QStringLiteral("Choose Design..."), this);
    chooseDesign->setObjectName(QStringLiteral("btnChooseDesign"));
    connect(chooseDesign, &QPushButton::clicked, this, &LetterPreviewWindow::designRequested);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(phoneWidth_);
    top->addWidget(sideBySide_);
    top->addStretch(1);
    top->addWidget(chooseDesign);
    layout->addLayout(top);
    layout->addWidget(problem_);
    columns_ = new QWidget(this);
    auto* centre = new QHBoxLayout(columns_);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addStretch(0);
    auto* mainColumn = new QVBoxLayout;
    mainColumn->addWidget(mainCaption_);
    mainColumn->addWidget(view_, 1);
    centre->addLayout(mainColumn, 1);
    centre->addStretch(0);
    layout->addWidget(columns_, 1);
    resize(1000, 760);

    connect(phoneWidth_, &QCheckBox::toggled, this, &LetterPreviewWindow::ApplyWidth);
    connect(sideBySide_, &QCheckBox::toggled, this, [this] {
        ApplyWidth();
        ShowHeadlines();
    });
    // Only the end of the page loaded last counts: a load that a newer one replaced ends as
    // failed without anything being wrong with the letter.
    connect(
        view_->page(), &QWebEnginePage::loadingChanged, this,
        [this](const QWebEngineLoadingInfo& info) {
            if (info.url() != shownAddress_ ||
                info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                return;
            }
            loading_ = false;
            if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
                ShowProblem(QStringLiteral("The letter cannot be shown: ") + info.errorString());
            }
            if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
                // Loading starts at the top; the reader's place is put back.
                view_->page()->runJavaScript(
                    QStringLiteral("window.scrollTo(%1, %2);").arg(scroll_.x()).arg(scroll_.y()));
                if (ShowsHeadlinesSideBySide()) {
                    view_->page()->runJavaScript(kHideConsent);
                }
            }
            Q_EMIT shown();
            if (pending_) {
                follow_.start();
            }
        });
    // One page loads at a time: a change during a load is shown once that load has ended. A
    // hidden preview waits until it is opened again.
    follow_.setSingleShot(true);
    follow_.setInterval(kFollowMs);
    connect(&follow_, &QTimer::timeout, this, [this] {
        if (loading_) {
            pending_ = true;
        } else if (isVisible()) {
            pending_ = false;
            Refresh();
        }
    });
    connect(&document_, &LetterDocument::changed, &follow_, qOverload<>(&QTimer::start));
}

LetterPreviewWindow::~LetterPreviewWindow() {
    // The pages go before the profile they use.
    for (HeadlineView& shown : headlineViews_) {
        delete shown.view;
    }
    headlineViews_.clear();
    delete view_;
    view_ = nullptr;
}

void LetterPreviewWindow::Refresh() {
    const QUrl base = letter_.PageBase();
    std::string text;
    QString failure;
    try {
        const PreparedLetter letter = letter_.Prepare(PicturePlacement::ShowInPlace);
        marks_ = TestedHeadlineMarks(letter.values);
        // Served in the encoding the letter file gets, which the page declares.
        text = letter.encoding == PageEncoding::Utf8 ? AnsiToUtf8(letter.Page()) : letter.Page();
        if (text.empty()) {
            failure = QStringLiteral("There is no template named \"%1\".")
                          .arg(QStringOfAnsi(letter.values.templateName));
        }
    } catch (const Error& problem) {
        failure = QStringOfAnsi(problem.what());
    }
    if (!failure.isEmpty()) {
        ShowProblem(QStringLiteral("The letter cannot be shown: ") + failure);
    }
    sideBySide_->setVisible(marks_.size() > 1);
    if (!firstLoad_ && text == shownText_ && base == shownBase_) {
        return;
    }
    firstLoad_ = false;
    shownText_ = text;
    shownBase_ = base;
    if (failure.isEmpty()) {
        problem_->hide();
    }
    scroll_ = view_->page()->scrollPosition();
    server_->SetPage(QByteArray::fromStdString(text), base.toLocalFile());
    loading_ = true;
    shownAddress_ = LetterPageServer::PageAddress(++loads_);
    view_->load(shownAddress_);
    ShowHeadlines();
}

std::vector<QWebEngineView*> LetterPreviewWindow::headlineViews() const {
    std::vector<QWebEngineView*> views;
    for (const HeadlineView& shown : headlineViews_) {
        if (shown.view->isVisible()) {
            views.push_back(shown.view);
        }
    }
    return views;
}

void LetterPreviewWindow::ShowHeadlines() {
    const bool side = ShowsHeadlinesSideBySide();
    mainCaption_->setVisible(side);
    if (side) {
        view_->page()->runJavaScript(kHideConsent);
    }
    auto* centre = static_cast<QHBoxLayout*>(columns_->layout());
    // One view per further headline, made the first time it is needed and kept.
    for (std::size_t i = headlineViews_.size(); side && i + 1 < marks_.size(); ++i) {
        auto* caption = new QLabel(columns_);
        auto* view = new QWebEngineView(columns_);
        view->setObjectName(QStringLiteral("webHeadlineView%1").arg(i + 2));
        view->setPage(new LetterOnlyPage(profile_, view));
        view->setFixedWidth(kPhoneWidth);
        connect(view, &QWebEngineView::loadFinished, view, [view](bool ok) {
            if (ok) {
                view->page()->runJavaScript(kHideConsent);
            }
        });
        auto* column = new QVBoxLayout;
        column->addWidget(caption);
        column->addWidget(view, 1);
        centre->insertLayout(centre->count() - 1, column, 0);
        headlineViews_.push_back({'\0', caption, view});
    }
    for (std::size_t i = 0; i < headlineViews_.size(); ++i) {
        HeadlineView& shown = headlineViews_[i];
        const bool used = side && i + 1 < marks_.size();
        shown.caption->setVisible(used);
        shown.view->setVisible(used);
        if (!used) {
            continue;
        }
        shown.mark = marks_[i + 1];
        const QChar letter = QChar::fromLatin1(shown.mark).toUpper();
        shown.caption->setText(QStringLiteral("Headline ") + letter);
        // The page shows the headline its address names, and keeps nothing.
        QUrl address = shownAddress_;
        address.setFragment(QStringLiteral("headline=") + QChar::fromLatin1(shown.mark));
        shown.view->load(address);
    }
}

void LetterPreviewWindow::ShowProblem(const QString& text) {
    problem_->setText(text);
    problem_->show();
}

bool LetterPreviewWindow::ShowsHeadlinesSideBySide() const {
    return sideBySide_->isChecked() && marks_.size() > 1;
}

void LetterPreviewWindow::ApplyWidth() {
    const bool side = ShowsHeadlinesSideBySide();
    if (side) {
        // Wide enough for every headline's phone, as far as the screen allows.
        const int wanted = static_cast<int>(marks_.size()) * (kPhoneWidth + 12) + 24;
        const QScreen* screen = this->screen();
        const int room = screen != nullptr ? screen->availableGeometry().width() : wanted;
        resize(std::max(width(), std::min(wanted, room)), height());
    }
    if (phoneWidth_->isChecked() || side) {
        view_->setFixedWidth(kPhoneWidth);
    } else {
        view_->setMinimumWidth(0);
        view_->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

} // namespace scribvane
