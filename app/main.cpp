// Program entry: one main window, created before the event loop; closing it ends the program.
#include "app/ScribvaneApplication.h"
#include "app/TfrmMain.h"
#include "widgets/MessageService.h"

#include <QIcon>
#include <unistd.h>

int main(int /*argc*/, char** argv) {
    // The browser engine refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The program takes no arguments; Qt's own options are not offered either.
    int qtArgc = 1;
    scribvane::ScribvaneApplication application(qtArgc, argv);
    // The icon is set before the window reads its branding, so that a branding icon file
    // replaces it; the desktop file name lets the desktop match the window to its launcher.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/scribvane/icon.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.scribvane.Scribvane"));

    scribvane::TfrmMain window;
    application.SetFailureReporter(
        [&window](const QString& text) { window.msgMain().Error(text); });
    window.show();
    const int result = application.exec();
    application.SetFailureReporter({});
    return result;
}
