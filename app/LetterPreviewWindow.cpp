// The letter preview; see LetterPreviewWindow.h.
#include "app/LetterPreviewWindow.h"

#include "branding/BrowserLaunch.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QPointF>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace scribvane {
namespace {

// Well under the 300 ms the preview may lag behind the last keystroke, with room for the merge
// and the engine's layout.
constexpr int kSettleMs = 150;
constexpr int kPhoneWidth = 390;

// Shows what it is given and nothing else: a click on a link, an order button's script or a
// form goes to the desktop's browser, so the preview never leaves the letter.
class LetterOnlyPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeTyped || !isMainFrame) {
            return true; // the letter itself, as set, and what it frames
        }
        if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted ||
            type == NavigationTypeOther) {
            OpenLinkAddress(url.toString());
        }
        return false;
    }
};

} // namespace

LetterPreviewWindow::LetterPreviewWindow(std::function<Page()> merge, QWidget* owner)
    : QWidget(owner, Qt::Window), merge_(std::move(merge)) {
    setObjectName(QStringLiteral("frmLetterPreview"));
    setWindowTitle(QStringLiteral("Letter Preview"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // A profile of its own and off the record: the preview keeps no cookies, cache or history.
    profile_ = new QWebEngineProfile(this);
    view_ = new QWebEngineView(this);
    view_->setObjectName(QStringLiteral("webLetterPreview"));
    view_->setPage(new LetterOnlyPage(profile_, view_));
    // Pictures shown in place are file: addresses inside a page given as text.
    view_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);

    phoneWidth_ = new QCheckBox(QStringLiteral("Phone width (390 px)"), this);
    phoneWidth_->setObjectName(QStringLiteral("chkPhoneWidth"));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(phoneWidth_);
    top->addStretch(1);
    layout->addLayout(top);
    auto* centre = new QHBoxLayout;
    centre->addStretch(0);
    centre->addWidget(view_, 1);
    centre->addStretch(0);
    layout->addLayout(centre, 1);
    resize(1000, 760);

    debounce_.setSingleShot(true);
    debounce_.setInterval(kSettleMs);
    connect(&debounce_, &QTimer::timeout, this, &LetterPreviewWindow::Refresh);
    connect(phoneWidth_, &QCheckBox::toggled, this, &LetterPreviewWindow::ApplyWidth);
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool) { Q_EMIT shown(); });

    // Any keystroke, click or drop in the wizard may change a field, a list or a passage; the
    // merge is cheap, and an unchanged page is not shown again.
    qApp->installEventFilter(this);
}

LetterPreviewWindow::~LetterPreviewWindow() {
    qApp->removeEventFilter(this);
    // The page goes before the profile it uses.
    delete view_;
    view_ = nullptr;
}

bool LetterPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::InputMethod:
        if (auto* widget = qobject_cast<QWidget*>(watched);
            widget != nullptr && widget->window() != this && isVisible()) {
            ScheduleRefresh();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void LetterPreviewWindow::ScheduleRefresh() {
    debounce_.start();
}

void LetterPreviewWindow::Refresh() {
    const Page page = merge_();
    const QString text = QStringOfAnsi(page.text);
    if (!firstLoad_ && text == shownText_) {
        return;
    }
    firstLoad_ = false;
    shownText_ = text;
    // Setting the text starts at the top; the reader's place is put back once it has loaded.
    const QPointF position = view_->page()->scrollPosition();
    QMetaObject::Connection* restore = new QMetaObject::Connection;
    *restore = connect(view_, &QWebEngineView::loadFinished, this, [this, position, restore] {
        disconnect(*restore);
        delete restore;
        view_->page()->runJavaScript(
            QStringLiteral("window.scrollTo(%1, %2);").arg(position.x()).arg(position.y()));
    });
    view_->setHtml(text, page.base);
}

void LetterPreviewWindow::ApplyWidth() {
    if (phoneWidth_->isChecked()) {
        view_->setFixedWidth(kPhoneWidth);
    } else {
        view_->setMinimumWidth(0);
        view_->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

} // namespace scribvane
