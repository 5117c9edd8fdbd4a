// The letter preview, headless, with the sample letter loaded and step 8 shown (so the letter
// check runs too): for a keystroke in the page title, how many times an editing area's engine
// is waited for and the time until the preview has loaded the page that shows it; for a
// keystroke in an area, how many engine waits it costs; and, as the floor, the time a bare
// view needs to load the same page. Run from build/bin (its config.dat is the sample letter);
// prints medians and ranges.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "generation/LetterPreviewWindow.h"
#include "persistence/LetterDocument.h"
#include "tests/support/TfrmMainProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using scribvane::testing::Control;
using scribvane::testing::Probe;

namespace {

constexpr int kRounds = 30;

// Runs the event loop until the signal or the deadline; false on the deadline.
template <typename Signal, typename Sender>
bool WaitFor(Sender* sender, Signal signal, int timeoutMs) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool arrived = false;
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(sender, signal, &loop, [&] {
        arrived = true;
        loop.quit();
    });
    deadline.start(timeoutMs);
    loop.exec();
    return arrived;
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Print(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    std::printf("%s: median %.1f %s (min %.1f, max %.1f, %zu runs)\n", what,
                values[values.size() / 2], unit, values.front(), values.back(), values.size());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    scribvane::ScribvaneApplication application(argc, argv);
    scribvane::TfrmMain window(QString(), nullptr, QStringLiteral("http://127.0.0.1:9/"));
    window.show();
    for (scribvane::HtmlEditor* editor : Probe(window).Editors()) {
        if (!editor->IsReady() && !WaitFor(editor, &scribvane::HtmlEditor::ready, 30000)) {
            std::printf("editing areas not ready after 30 s\n");
            return 1;
        }
    }
    Control<QPushButton>(window, "btnLoad")->click(); // the sample letter beside the program
    Control<QStackedWidget>(window, "pgcMain")
        ->setCurrentIndex(Control<QStackedWidget>(window, "pgcMain")->count() - 1);
    Control<QPushButton>(window, "btnPreview")->click();
    auto* preview = window.findChild<scribvane::LetterPreviewWindow*>();
    if (preview == nullptr || !WaitFor(preview, &scribvane::LetterPreviewWindow::shown, 30000)) {
        std::printf("the preview did not show the letter\n");
        return 1;
    }
    std::printf("letter: %s\n",
                qPrintable(Control<QLineEdit>(window, "edtPageTitle")->text().left(40)));

    std::vector<double> times;
    std::vector<double> trips;
    for (int round = 0; round < kRounds; ++round) {
        const std::uint64_t before = scribvane::HtmlEditor::RoundTrips();
        QElapsedTimer clock;
        clock.start();
        Control<QLineEdit>(window, "edtPageTitle")
            ->setText(Control<QLineEdit>(window, "edtPageTitle")->text() + QLatin1Char('x'));
        if (!WaitFor(preview, &scribvane::LetterPreviewWindow::shown, 10000)) {
            std::printf("the preview did not follow round %d\n", round);
            return 1;
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        Wait(50); // the check and the autosave follow the same settling
        trips.push_back(static_cast<double>(scribvane::HtmlEditor::RoundTrips() - before));
    }
    Print("single-line keystroke, engine waits", trips, "per keystroke");
    Print("single-line keystroke to preview shown", times, "ms");

    // A keystroke in an area, as the engine reports it.
    scribvane::HtmlEditor* area = Control<scribvane::HtmlEditor>(window, "prfEditor2");
    for (int index = 0; index < Control<QStackedWidget>(window, "pgcMain")->count(); ++index) {
        if (Control<QStackedWidget>(window, "pgcMain")->widget(index)->isAncestorOf(area)) {
            Control<QStackedWidget>(window, "pgcMain")->setCurrentIndex(index);
        }
    }
    window.activateWindow();
    QWidget* target =
        area->view()->focusProxy() != nullptr ? area->view()->focusProxy() : area->view();
    target->setFocus();
    Wait(300);
    std::vector<double> areaTrips;
    for (int round = 0; round < 10; ++round) {
        const std::uint64_t before = scribvane::HtmlEditor::RoundTrips();
        QWidget* target =
            area->view()->focusProxy() != nullptr ? area->view()->focusProxy() : area->view();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        if (!WaitFor(&window.Document(), &scribvane::LetterDocument::settled, 5000)) {
            std::printf("the area reported no change in round %d\n", round);
            return 1;
        }
        Wait(50);
        areaTrips.push_back(static_cast<double>(scribvane::HtmlEditor::RoundTrips() - before));
    }
    Print("area keystroke, engine waits", areaTrips, "per keystroke");

    // The floor: a bare view loading the same page as text, in the same run.
    QString page;
    preview->view()->page()->toHtml([&page](const QString& html) { page = html; });
    for (int wait = 0; wait < 100 && page.isEmpty(); ++wait) {
        Wait(20);
    }
    QWebEngineView bare;
    bare.resize(1000, 700);
    bare.show();
    std::vector<double> floor;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        bare.setHtml(
            page + QStringLiteral("<!-- %1 -->").arg(round),
            QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
        if (!WaitFor(&bare, &QWebEngineView::loadFinished, 10000)) {
            std::printf("the bare view did not load round %d\n", round);
            return 1;
        }
        floor.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    Print("bare view, same page (floor)", floor, "ms");
    return 0;
}
