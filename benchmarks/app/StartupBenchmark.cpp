// Start-up time of the wizard window, headless: from process start to the window shown, and
// to all five editing areas ready. Run from build/bin; prints one line per figure.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "tests/support/TfrmMainProbe.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

using scribvane::testing::Control;
using scribvane::testing::Probe;

namespace {

// Seconds since the process started, from its start time in /proc (clock-tick resolution).
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22 (starttime) counts from after the command name's closing parenthesis.
    std::size_t position = content.rfind(')');
    for (int field = 2; field < 22 && position != std::string::npos; ++field) {
        position = content.find(' ', position + 1);
    }
    if (position == std::string::npos) {
        return -1.0;
    }
    const double startTicks = std::stod(content.substr(position + 1));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowSeconds = static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
    return nowSeconds - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv) {
    const auto mainEntered = std::chrono::steady_clock::now();
    const double atMain = SecondsSinceProcessStart();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    auto sinceMain = [&mainEntered] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - mainEntered)
            .count();
    };

    scribvane::ScribvaneApplication application(argc, argv);
    // The start-up update check asks a local port nothing listens on, never the real server.
    scribvane::TfrmMain window(QString(), nullptr, QStringLiteral("http://127.0.0.1:9/"));
    window.show();
    const double shownSinceMain = sinceMain();
    const double shown = SecondsSinceProcessStart();

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto allReady = [&window] {
        for (scribvane::HtmlEditor* editor : Probe(window).Editors()) {
            if (!editor->IsReady()) {
                return false;
            }
        }
        return true;
    };
    for (scribvane::HtmlEditor* editor : Probe(window).Editors()) {
        QObject::connect(editor, &scribvane::HtmlEditor::ready, &loop, [&] {
            if (allReady()) {
                loop.quit();
            }
        });
    }
    if (!allReady()) {
        deadline.start(30000);
        loop.exec();
    }
    const double readySinceMain = sinceMain();
    const double ready = SecondsSinceProcessStart();
    if (!allReady()) {
        std::printf("editing areas not ready after 30 s\n");
        return 1;
    }
    std::printf("process start to main:          %6.3f s\n", atMain);
    std::printf("process start to window shown:  %6.3f s (%.3f s after main)\n", shown,
                shownSinceMain);
    std::printf("process start to areas ready:   %6.3f s (%.3f s after main)\n", ready,
                readySinceMain);
    return 0;
}
