// The application object. It is also the application-wide handler of failures: whatever
// escapes an event handler (a ConversionError, a FileError, ...) is caught here and its text
// is shown through the reporter, which the program points at the main window's msgMain.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace scribvane {

class ScribvaneApplication : public QApplication {
    Q_OBJECT

public:
    using FailureReporter = std::function<void(const QString& text)>;

    ScribvaneApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where failure texts go; without a reporter they are logged.
    void SetFailureReporter(FailureReporter reporter);
    void ReportFailure(const std::exception& failure);

    // The running application, or nullptr when the application object is of another class.
    static ScribvaneApplication* instance();

    // The user text of a failure: what() is single-byte Windows-1252 text.
    static QString FailureText(const std::exception& failure);

private:
    FailureReporter reporter_;
};

} // namespace scribvane
