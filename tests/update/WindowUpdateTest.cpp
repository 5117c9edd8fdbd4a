// The update check as the main window wires it: the quiet check on the first tick of Timer1,
// "Check Updates", and the window closing for the updater. The server is a small HTTP server
// the test runs on 127.0.0.1, or a local port where nothing listens.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/RecordingMessageService.h"
#include "tests/support/TfrmMainProbe.h"
#include "update/UpdateController.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace scribvane;
using scribvane::testing::Control;
using scribvane::testing::NoUpdateServer;
using scribvane::testing::Probe;
using scribvane::testing::RecordingMessageService;

namespace {

QString NewerVersion(const QString& version) {
    return QStringLiteral("There is a new update: (version ") + version +
           QStringLiteral(") available for your application!. Do you want download this "
                          "update now?");
}

// Answers every GET with the same update description and keeps the request lines.
class DescriptionServer {
public:
    explicit DescriptionServer(QByteArray body) : body_(std::move(body)) {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
    }

    bool Listen() { return server_.listen(QHostAddress::LocalHost, 0); }
    QString Folder() const {
        return QStringLiteral("http://127.0.0.1:%1/updates/").arg(server_.serverPort());
    }

    QList<QByteArray> requestLines;

private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                buffer_ += socket->readAll();
                const auto end = buffer_.indexOf("\r\n\r\n");
                if (end < 0) {
                    return;
                }
                requestLines.append(buffer_.left(buffer_.indexOf("\r\n")));
                buffer_.clear();
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: "
                              "close\r\nContent-Length: " +
                              QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer server_;
    QByteArray body_;
    QByteArray buffer_;
};

} // namespace

class WindowUpdateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void quietCheckAtStartUpAsksAboutANewerVersion();
    void checkUpdatesWithoutServerSaysItCouldNotCheck();
    void agreeingTwiceStartsTheUpdaterAndClosesTheWindow();
    void quietCheckThatCannotWriteItsCopyReportsTheFailure();

private:
    void Start(const QString& updateFolder);
    void WaitUntilQuietCheckIsDone();

    std::unique_ptr<QTemporaryDir> folder_;
    RecordingMessageService messages_;
    std::unique_ptr<TfrmMain> window_;
};

void WindowUpdateTest::initTestCase() {
    // The window closing for the updater must not end the test run.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void WindowUpdateTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QVERIFY(QFile::link(QStringLiteral(SCRIBVANE_TEMPLATES_DIR),
                        folder_->filePath(QStringLiteral("Templates"))));
    messages_.messages.clear();
    messages_.answers.clear();
}

void WindowUpdateTest::cleanup() {
    window_.reset();
    folder_.reset();
}

void WindowUpdateTest::Start(const QString& updateFolder) {
    window_ = std::make_unique<TfrmMain>(folder_->path(), &messages_, updateFolder);
}

void WindowUpdateTest::WaitUntilQuietCheckIsDone() {
    QTRY_VERIFY(!Control<QTimer>(*window_, "Timer1")->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!Probe(*window_).UpdateChecker().IsRunning(), 20000);
}

void WindowUpdateTest::quietCheckAtStartUpAsksAboutANewerVersion() {
    DescriptionServer server("[APPLICATION]\r\nVersion=1.04\r\n");
    QVERIFY(server.Listen());
    messages_.answers = {false}; // Cancel
    Start(server.Folder());
    // Enabled by start-up, for one tick.
    QVERIFY(Control<QTimer>(*window_, "Timer1")->isActive());
    QCOMPARE(Control<QTimer>(*window_, "Timer1")->interval(), 100);
    QVERIFY(server.requestLines.isEmpty());

    WaitUntilQuietCheckIsDone();
    QCOMPARE(server.requestLines,
             QList<QByteArray>{QByteArrayLiteral("GET /updates/mainappupdate.inf HTTP/1.1")});
    QCOMPARE(messages_.texts(), QStringList{NewerVersion(QStringLiteral("1.04"))});
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("question"));
    // The quiet check runs once per start: the timer is spent, and the next request to the
    // server is the one Check Updates makes.
    QVERIFY(!Control<QTimer>(*window_, "Timer1")->isActive());
    messages_.answers = {false};
    Control<QPushButton>(*window_, "btnUpdate")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!Probe(*window_).UpdateChecker().IsRunning(), 20000);
    QCOMPARE(server.requestLines.size(), 2);
}

void WindowUpdateTest::checkUpdatesWithoutServerSaysItCouldNotCheck() {
    Start(NoUpdateServer());
    WaitUntilQuietCheckIsDone();
    QVERIFY(messages_.messages.isEmpty()); // the quiet form says nothing

    Control<QPushButton>(*window_, "btnUpdate")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!messages_.messages.isEmpty(), 20000);
    QCOMPARE(messages_.messages.size(), 1);
    QVERIFY(messages_.messages[0].text.startsWith(QStringLiteral("Could not check for updates: ")));
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("warning"));
    QVERIFY(!QFile::exists(Probe(*window_).UpdateChecker().LocalCopyPath()));
}

void WindowUpdateTest::agreeingTwiceStartsTheUpdaterAndClosesTheWindow() {
    DescriptionServer server("[APPLICATION]\r\nVersion=2\r\n");
    QVERIFY(server.Listen());
    const QString updater = folder_->filePath(QStringLiteral("Updater"));
    {
        QFile script(updater);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
    }
    QVERIFY(QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    Start(server.Folder());
    QCOMPARE(Probe(*window_).UpdateChecker().UpdaterPath(), updater);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));

    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 20000);
    QCOMPARE(messages_.messages.size(), 2); // both questions, answered OK
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(updater + QStringLiteral(".args")), 20000);
    QFile record(updater + QStringLiteral(".args"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(record.readAll(),
             server.Folder().toUtf8() + '\0' + "1.02999997138977" + '\0' + "A" + '\0');
}

void WindowUpdateTest::quietCheckThatCannotWriteItsCopyReportsTheFailure() {
    // A folder in the way of the local copy: the file cannot be created.
    const QString copy = folder_->filePath(QStringLiteral("mainappupdate.inf"));
    QVERIFY(QDir().mkdir(copy));
    auto* application = ScribvaneApplication::instance();
    QVERIFY(application != nullptr);
    application->SetFailureReporter([this](const QString& text) { messages_.Error(text); });
    Start(NoUpdateServer());
    QTRY_VERIFY(!Control<QTimer>(*window_, "Timer1")->isActive());
    application->SetFailureReporter({});

    // The failure leaves the timer's tick and reaches the application-wide handler.
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
    QVERIFY2(messages_.messages[0].text.startsWith(QStringLiteral("Cannot create file \"") + copy +
                                                   QStringLiteral("\". ")),
             qPrintable(messages_.messages[0].text));
    // Nothing is left running: the user can ask again.
    QVERIFY(!Probe(*window_).UpdateChecker().IsRunning());
}

// Failures escaping a handler are caught by the application object, so the real one runs.
int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    WindowUpdateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowUpdateTest.moc"
