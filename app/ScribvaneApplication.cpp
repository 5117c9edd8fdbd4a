// The application object and its catch-all for failures escaping event handlers.
#include "app/ScribvaneApplication.h"

#include "widgets/QtText.h"

#include <QDebug>
#include <utility>

namespace scribvane {

ScribvaneApplication::ScribvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

ScribvaneApplication* ScribvaneApplication::instance() {
    return qobject_cast<ScribvaneApplication*>(QCoreApplication::instance());
}

QString ScribvaneApplication::FailureText(const std::exception& failure) {
    return QStringOfAnsi(failure.what());
}

void ScribvaneApplication::SetFailureReporter(FailureReporter reporter) {
    reporter_ = std::move(reporter);
}

void ScribvaneApplication::ReportFailure(const std::exception& failure) {
    const QString text = FailureText(failure);
    if (reporter_) {
        reporter_(text);
    } else {
        qCritical().noquote() << text;
    }
}

bool ScribvaneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        // The action ends where it failed, keeping what it had done; the program goes on.
        try {
            ReportFailure(failure);
        } catch (const std::exception& nested) {
            qCritical().noquote() << FailureText(nested);
        }
        return true;
    }
}

} // namespace scribvane
