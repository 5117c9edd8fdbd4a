// The letter preview, headless: with the sample letter loaded, the time from a change of the
// page title (a keystroke) to the preview having loaded the page that shows it. Run from
// build/bin (its config.dat is the sample letter); prints the median and the range.
#include "LetterPreviewWindow.h"
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// Runs the event loop until `done` or the deadline; false on the deadline.
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
    for (scribvane::HtmlEditor* editor : window.Editors()) {
        if (!editor->IsReady() && !WaitFor(editor, &scribvane::HtmlEditor::ready, 30000)) {
            std::printf("editing areas not ready after 30 s\n");
            return 1;
        }
    }
    window.btnLoad->click(); // the sample letter beside the program
    window.btnPreview->click();
    auto* preview = window.findChild<scribvane::LetterPreviewWindow*>();
    if (preview == nullptr || !WaitFor(preview, &scribvane::LetterPreviewWindow::shown, 30000)) {
        std::printf("the preview did not show the letter\n");
        return 1;
    }
    std::printf("letter: %s\n", qPrintable(window.edtPageTitle->text().left(40)));
    std::vector<double> times;
    for (int round = 0; round < 30; ++round) {
        QElapsedTimer clock;
        clock.start();
        window.edtPageTitle->setText(window.edtPageTitle->text() + QLatin1Char('x'));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(window.edtPageTitle, &release);
        if (!WaitFor(preview, &scribvane::LetterPreviewWindow::shown, 10000)) {
            std::printf("the preview did not follow round %d\n", round);
            return 1;
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("field change to preview shown: median %.1f ms (min %.1f, max %.1f, %zu runs)\n",
                times[times.size() / 2], times.front(), times.back(), times.size());
    return 0;
}
