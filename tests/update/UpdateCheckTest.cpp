// The update check against a small HTTP server on 127.0.0.1 that the test runs itself: what
// the user is told, what becomes of the local copy, and how the updater is started.
#include "tests/support/RecordingMessageService.h"
#include "update/UpdateController.h"
#include "utils/Errors.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>

using scribvane::FileError;
using scribvane::UpdateController;
using scribvane::testing::RecordingMessageService;

namespace {

const QString kNothingNew = QStringLiteral("There are no new updates for this application!");
const QString kUpdaterMissing =
    QStringLiteral("The updater module is missing. Please reinstall again the current version!");
const QString kBeforeClosing =
    QStringLiteral("To update your software the application will close to\n\rreplace some "
                   "files. Do you want to update now?");
const QString kDescriptionPath = QStringLiteral("/liveupdate/velmora_demo/mainappupdate.inf");

QString NewerVersion(const QString& version) {
    return QStringLiteral("There is a new update: (version ") + version +
           QStringLiteral(") available for your application!. Do you want download this "
                          "update now?");
}

QByteArray Description(const QByteArray& version) {
    return "[APPLICATION]\r\nVersion=" + version + "\r\n";
}

// One canned answer per path; a path without one gets 404.
struct Route {
    int status = 200;
    QByteArray body;
    QByteArray location;    // sent as Location when set
    bool truncated = false; // announces more body than it sends, then hangs up
    bool held = false;      // keeps the connection open without answering until Release()
};

class TestHttpServer {
public:
    TestHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
    }

    bool Listen() { return server_.listen(QHostAddress::LocalHost, 0); }
    quint16 Port() const { return server_.serverPort(); }

    // Answers the held connections with the given route.
    void Release(const Route& route) {
        for (const auto& socket : std::as_const(held_)) {
            if (socket) {
                Answer(socket, route);
            }
        }
        held_.clear();
    }

    QHash<QByteArray, Route> routes;
    QList<QByteArray> requests; // request heads, in order of arrival

private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                QByteArray& buffer = buffers_[socket];
                buffer += socket->readAll();
                const auto end = buffer.indexOf("\r\n\r\n");
                if (end < 0) {
                    return;
                }
                const QByteArray head = buffer.left(end);
                buffers_.remove(socket);
                requests.append(head);
                const QByteArray path = head.split(' ').value(1);
                const auto found = routes.constFind(path);
                if (found == routes.constEnd()) {
                    Answer(socket, Route{404, "Not found", {}, false, false});
                } else if (found->held) {
                    held_.append(socket);
                } else {
                    Answer(socket, *found);
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    static void Answer(QTcpSocket* socket, const Route& route) {
        QByteArray response = "HTTP/1.1 " + QByteArray::number(route.status) + " Canned\r\n";
        response += "Content-Type: text/plain\r\nConnection: close\r\n";
        response += "Content-Length: " +
                    QByteArray::number(route.body.size() + (route.truncated ? 100 : 0)) + "\r\n";
        if (!route.location.isEmpty()) {
            response += "Location: " + route.location + "\r\n";
        }
        response += "\r\n" + route.body;
        socket->write(response);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QList<QPointer<QTcpSocket>> held_;
};

// A port where nothing listens: taken from the system, then given back.
quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

QStringList Messages(const RecordingMessageService& service) {
    QStringList all;
    for (const auto& message : service.messages) {
        all.append(message.kind + QLatin1Char(':') + message.text);
    }
    return all;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A stand-in updater that writes its argument count and arguments, one a line, beside itself.
const QByteArray kFakeUpdater = "#!/bin/sh\n"
                                "out=\"$(dirname \"$0\")/updater-args.txt\"\n"
                                "printf '%s\\n' \"$#\" \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" "
                                "\"$out\"\n";

struct StartedProcess {
    QString program;
    QStringList arguments;
};

} // namespace

Q_DECLARE_METATYPE(Route)

class UpdateCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void checkOutcome_data();
    void checkOutcome();
    void requestCarriesClientHeaders();
    void uncreatableLocalCopyEscapesAsFileError_data();
    void uncreatableLocalCopyEscapesAsFileError();
    void secondCheckIgnoredWhileFirstWaits();
    void destroyedWhileWaitingLeavesNoPartialCopy();
    void realUpdaterGetsExactlyThreeArguments();

private:
    QString Address() const {
        return QStringLiteral("http://127.0.0.1:%1/liveupdate/velmora_demo/").arg(server_->Port());
    }
    std::unique_ptr<UpdateController> MakeCheck(const QString& address) {
        return std::make_unique<UpdateController>(
            folder_->path(), address, messages_,
            [this](const QString& program, const QStringList& arguments) {
                started_.append({program, arguments});
            });
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<TestHttpServer> server_;
    RecordingMessageService messages_;
    QList<StartedProcess> started_;
};

void UpdateCheckTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    server_ = std::make_unique<TestHttpServer>();
    QVERIFY(server_->Listen());
    messages_ = RecordingMessageService();
    started_.clear();
}

void UpdateCheckTest::checkOutcome_data() {
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<Route>("route");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("updaterPresent");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("expectedMessages");
    QTest::addColumn<QByteArray>("expectedCopy"); // empty: no local copy afterwards
    QTest::addColumn<bool>("updaterStarted");

    const QString nothingNew = QStringLiteral("information:") + kNothingNew;
    // The reason is the network's own wording; "*" ends what must match.
    const QString couldNot = QStringLiteral("warning:Could not check for updates: *");
    const auto newer = [](const char* version) {
        return QStringLiteral("question:") + NewerVersion(QString::fromLatin1(version));
    };
    const QString closing = QStringLiteral("question:") + kBeforeClosing;
    const QString missing = QStringLiteral("warning:") + kUpdaterMissing;
    const auto ok = [](QByteArray version) { return Route{200, Description(version), {}}; };

    QTest::newRow("no server, reporting") << false << Route{} << false << true << QList<bool>{}
                                          << QStringList{couldNot} << QByteArray() << false;
    QTest::newRow("no server, quiet") << false << Route{} << true << true << QList<bool>{}
                                      << QStringList{} << QByteArray() << false;
    QTest::newRow("404, reporting")
        << true << Route{404, "Not found", {}} << false << true << QList<bool>{}
        << QStringList{couldNot} << QByteArray() << false;
    QTest::newRow("404, quiet") << true << Route{404, "Not found", {}} << true << true
                                << QList<bool>{} << QStringList{} << QByteArray() << false;
    QTest::newRow("500 with a newer description as body")
        << true << Route{500, Description("9.0"), {}} << false << true << QList<bool>{}
        << QStringList{couldNot} << QByteArray() << false;
    QTest::newRow("broken transfer")
        << true << Route{200, Description("1.04"), {}, true} << false << true << QList<bool>{}
        << QStringList{couldNot} << QByteArray() << false;
    QTest::newRow("redirect followed, newer, Cancel")
        << true << Route{302, "moved", "/moved/mainappupdate.inf"} << false << true
        << QList<bool>{false} << QStringList{newer("1.04")} << Description("1.04") << false;
    QTest::newRow("equal, reporting") << true << ok("1.03") << false << true << QList<bool>{}
                                      << QStringList{nothingNew} << Description("1.03") << false;
    QTest::newRow("equal, quiet") << true << ok("1.03") << true << true << QList<bool>{}
                                  << QStringList{} << Description("1.03") << false;
    QTest::newRow("older") << true << ok("1.02") << false << true << QList<bool>{}
                           << QStringList{nothingNew} << Description("1.02") << false;
    QTest::newRow("empty version") << true << ok("") << false << true << QList<bool>{}
                                   << QStringList{nothingNew} << Description("") << false;
    QTest::newRow("comma as separator") << true << ok("1,04") << false << true << QList<bool>{}
                                        << QStringList{nothingNew} << Description("1,04") << false;
    QTest::newRow("version key missing")
        << true << Route{200, "[APPLICATION]\r\nName=x\r\n", {}} << false << true << QList<bool>{}
        << QStringList{nothingNew} << QByteArray("[APPLICATION]\r\nName=x\r\n") << false;
    QTest::newRow("garbage body") << true << Route{200, "<html><body>Moved</body></html>", {}}
                                  << false << true << QList<bool>{} << QStringList{nothingNew}
                                  << QByteArray("<html><body>Moved</body></html>") << false;
    QTest::newRow("newer, Cancel on the first question")
        << true << ok("1.031") << false << true << QList<bool>{false} << QStringList{newer("1.031")}
        << Description("1.031") << false;
    QTest::newRow("newer, OK then Cancel before closing")
        << true << ok("1.1") << false << true << QList<bool>{true, false}
        << QStringList{newer("1.1"), closing} << Description("1.1") << false;
    QTest::newRow("newer, updater missing")
        << true << ok("1.04") << false << false << QList<bool>{true}
        << QStringList{newer("1.04"), missing} << Description("1.04") << false;
    QTest::newRow("newer, quoted exactly as read")
        << true << ok("+1.04e0") << false << true << QList<bool>{false}
        << QStringList{newer("+1.04e0")} << Description("+1.04e0") << false;
    QTest::newRow("newer, quiet, OK, OK")
        << true << ok("1.04") << true << true << QList<bool>{true, true}
        << QStringList{newer("1.04"), closing} << Description("1.04") << true;
}

void UpdateCheckTest::checkOutcome() {
    QFETCH(bool, serverUp);
    QFETCH(Route, route);
    QFETCH(bool, silent);
    QFETCH(bool, updaterPresent);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, expectedMessages);
    QFETCH(QByteArray, expectedCopy);

    if (!route.location.isEmpty()) {
        server_->routes.insert(route.location, Route{200, Description("1.04"), {}});
    }
    server_->routes.insert(kDescriptionPath.toLatin1(), route);
    const QString address =
        serverUp ? Address()
                 : QStringLiteral("http://127.0.0.1:%1/liveupdate/velmora_demo/").arg(FreePort());
    auto check = MakeCheck(address);
    // A stale copy from an earlier run must never be what the check reads.
    QVERIFY(WriteFile(check->LocalCopyPath(), Description("9.9")));
    if (updaterPresent) {
        QVERIFY(WriteFile(check->UpdaterPath(), kFakeUpdater));
    }
    messages_.answers = answers;
    QSignalSpy finished(check.get(), &UpdateController::finished);
    QSignalSpy closeRequested(check.get(), &UpdateController::closeRequested);

    check->CheckForUpdates(silent);
    QTRY_VERIFY_WITH_TIMEOUT(!check->IsRunning(), 15000);

    const QStringList shown = Messages(messages_);
    QCOMPARE(shown.size(), expectedMessages.size());
    for (qsizetype index = 0; index < shown.size(); ++index) {
        const QString& expected = expectedMessages[index];
        if (expected.endsWith(QLatin1Char('*'))) {
            QVERIFY2(shown[index].startsWith(expected.chopped(1)) &&
                         shown[index].size() > expected.size(),
                     qPrintable(shown[index]));
        } else {
            QCOMPARE(shown[index], expected);
        }
    }
    QCOMPARE(finished.count(), 1);
    if (expectedCopy.isEmpty()) {
        QVERIFY(!QFile::exists(check->LocalCopyPath()));
    } else {
        QCOMPARE(ReadFile(check->LocalCopyPath()), expectedCopy);
    }
    QFETCH(bool, updaterStarted);
    QCOMPARE(started_.size(), updaterStarted ? 1 : 0);
    QCOMPARE(closeRequested.count(), updaterStarted ? 1 : 0);
    if (updaterStarted) {
        QCOMPARE(started_[0].program, check->UpdaterPath());
        QCOMPARE(started_[0].arguments,
                 (QStringList{address, QStringLiteral("1.02999997138977"), QStringLiteral("A")}));
    }
}

void UpdateCheckTest::requestCarriesClientHeaders() {
    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, Description("1.03"), {}});
    auto check = MakeCheck(Address());
    check->CheckForUpdates(true);
    QTRY_VERIFY_WITH_TIMEOUT(!check->IsRunning(), 15000);

    QCOMPARE(server_->requests.size(), 1);
    const QList<QByteArray> lines = server_->requests[0].split('\n');
    QCOMPARE(lines[0].trimmed(), "GET " + kDescriptionPath.toLatin1() + " HTTP/1.1");
    QHash<QByteArray, QByteArray> headers;
    for (const QByteArray& line : lines.mid(1)) {
        const auto colon = line.indexOf(':');
        headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    QCOMPARE(headers.value("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
    QCOMPARE(headers.value("accept"), "text/html, */*");
    QCOMPARE(headers.value("content-type"), "text/html");
}

void UpdateCheckTest::uncreatableLocalCopyEscapesAsFileError_data() {
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("directoryInTheWay");
    QTest::addColumn<int>("error");

    QTest::newRow("program folder missing") << QStringLiteral("gone") << false << ENOENT;
    QTest::newRow("folder named like the copy") << QString() << true << EISDIR;
}

void UpdateCheckTest::uncreatableLocalCopyEscapesAsFileError() {
    QFETCH(QString, subfolder);
    QFETCH(bool, directoryInTheWay);
    QFETCH(int, error);

    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, Description("1.03"), {}});
    const QString programFolder = QDir(folder_->path()).filePath(subfolder);
    UpdateController check(programFolder, Address(), messages_,
                           [](const QString&, const QStringList&) {});
    if (directoryInTheWay) {
        QVERIFY(QDir().mkpath(check.LocalCopyPath()));
    }

    QString what;
    try {
        check.CheckForUpdates(false);
    } catch (const FileError& failure) {
        what = QString::fromStdString(failure.what());
    }
    QCOMPARE(what, QStringLiteral("Cannot create file \"%1\". %2")
                       .arg(check.LocalCopyPath(), QString::fromLocal8Bit(std::strerror(error))));
    QVERIFY(!check.IsRunning());
    QVERIFY(messages_.messages.isEmpty());

    // The failure leaves nothing behind that blocks the next check.
    if (directoryInTheWay) {
        QVERIFY(QDir(check.LocalCopyPath()).removeRecursively());
    } else {
        QVERIFY(QDir().mkpath(programFolder));
    }
    check.CheckForUpdates(false);
    QTRY_VERIFY_WITH_TIMEOUT(!check.IsRunning(), 15000);
    QCOMPARE(Messages(messages_), QStringList{QStringLiteral("information:") + kNothingNew});
    // Only this second check reached the server: the failed one sent nothing.
    QCOMPARE(server_->requests.size(), 1);
}

void UpdateCheckTest::secondCheckIgnoredWhileFirstWaits() {
    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, {}, {}, false, true});
    auto check = MakeCheck(Address());
    QSignalSpy finished(check.get(), &UpdateController::finished);

    check->CheckForUpdates(false);
    // The call returned while the server has not answered: the window keeps running.
    QTRY_COMPARE_WITH_TIMEOUT(server_->requests.size(), 1, 15000);
    QVERIFY(check->IsRunning());
    QVERIFY(QFile::exists(check->LocalCopyPath()));

    check->CheckForUpdates(false);
    check->CheckForUpdates(true);

    server_->Release(Route{200, Description("1.03"), {}});
    QTRY_VERIFY_WITH_TIMEOUT(!check->IsRunning(), 15000);
    // The two calls made while it waited sent no request of their own.
    QCOMPARE(server_->requests.size(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(Messages(messages_), QStringList{QStringLiteral("information:") + kNothingNew});

    // Once it has ended, the next check runs.
    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, Description("1.03"), {}});
    check->CheckForUpdates(false);
    QTRY_VERIFY_WITH_TIMEOUT(!check->IsRunning(), 15000);
    QCOMPARE(server_->requests.size(), 2);
    QCOMPARE(messages_.messages.size(), 2);
}

void UpdateCheckTest::destroyedWhileWaitingLeavesNoPartialCopy() {
    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, {}, {}, false, true});
    auto check = MakeCheck(Address());
    const QString localCopy = check->LocalCopyPath();
    check->CheckForUpdates(false);
    QTRY_COMPARE_WITH_TIMEOUT(server_->requests.size(), 1, 15000);
    QVERIFY(QFile::exists(localCopy));

    check.reset();
    QVERIFY(!QFile::exists(localCopy));
    server_->Release(Route{200, Description("1.04"), {}});

    // A later check runs to its end; by then anything the first could still have sent would
    // have arrived, and only the later one speaks.
    server_->routes.insert(kDescriptionPath.toLatin1(), Route{200, Description("1.03"), {}});
    auto later = MakeCheck(Address());
    later->CheckForUpdates(false);
    QTRY_VERIFY_WITH_TIMEOUT(!later->IsRunning(), 15000);
    QCOMPARE(Messages(messages_), QStringList{QStringLiteral("information:") + kNothingNew});
}

void UpdateCheckTest::realUpdaterGetsExactlyThreeArguments() {
    // A space in the address must not split it: the arguments never pass through a shell.
    const QString address =
        QStringLiteral("http://127.0.0.1:%1/live update/velmora_demo/").arg(server_->Port());
    server_->routes.insert("/live%20update/velmora_demo/mainappupdate.inf",
                           Route{200, Description("1.04"), {}});
    UpdateController check(folder_->path(), address, messages_);
    const QString updater = check.UpdaterPath();
    QVERIFY(WriteFile(updater, kFakeUpdater));
    QVERIFY(QFile::setPermissions(updater, QFile::permissions(updater) | QFile::ExeOwner));
    QSignalSpy closeRequested(&check, &UpdateController::closeRequested);

    check.CheckForUpdates(true);
    const QString argsFile = QDir(folder_->path()).filePath(QStringLiteral("updater-args.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argsFile), 15000);

    QCOMPARE(QString::fromUtf8(ReadFile(argsFile)),
             QStringLiteral("3\n%1\n1.02999997138977\nA\n").arg(address));
    QCOMPARE(closeRequested.count(), 1);
    QVERIFY(!check.IsRunning());
}

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "UpdateCheckTest.moc"
