// The desktop's secret store for real: a private D-Bus session bus started by the test, first
// without a Secret Service (the Publish action asks for the password and says why), then with
// gnome-keyring serving one (a password is kept, read back and forgotten).
#include "publishing/SecretStore.h"

#include "TestServers.h"
#include "generation/LetterPreparation.h"
#include "publishing/PublishController.h"
#include "publishing/PublishPrompts.h"
#include "support/TempDir.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QtTest>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace scribvane;
using scribvane::testing::ChildProcess;
using scribvane::testing::TempDir;

namespace {

// Answers only what a publish to a target without a kept password needs, and cancels at once.
class AskingPrompts final : public PublishPrompts {
public:
    std::optional<int> ChooseTarget(const QStringList&) override { return 0; }
    bool EditTarget(PublishTarget&, QString&) override { return false; }
    std::optional<QString> AskSecret(const QString&, const QString& reason) override {
        reasons << reason;
        return QStringLiteral("typed");
    }
    bool TrustServer(const QString&, const QString&) override { return false; }
    void Progress(const QString&, int, int) override {}
    bool CancelPressed() override { return true; }
    void Done() override {}
    void Published(const QString& message, const QString&) override { ended << message; }
    void Failed(const QString& message, const QString&) override { ended << message; }

    QStringList reasons, ended;
};

QString LogOf(const std::filesystem::path& log) {
    return QString::fromStdString(TempDir::Read(log));
}

} // namespace

class SecretStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void withoutASecretServiceThePasswordIsAskedForWithTheReason();
    void keepsReadsAndForgetsAPassword();
    void cleanupTestCase();

private:
    TempDir dir_;
    std::unique_ptr<ChildProcess> bus_;
    std::unique_ptr<ChildProcess> keyring_;
};

void SecretStoreTest::initTestCase() {
    if (::access("/usr/bin/dbus-daemon", X_OK) != 0 ||
        ::access("/usr/bin/gnome-keyring-daemon", X_OK) != 0) {
        QSKIP("dbus-daemon or gnome-keyring-daemon is not installed; scripts/setup.sh installs "
              "them");
    }
    // A bus of the test's own, with no services to start on demand: the secret service is
    // there only once the test starts it. The keyring's files stay in the test's folder.
    const auto socket = dir_ / "bus";
    std::ofstream(dir_ / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
           "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:path="
        << socket.string()
        << "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
           "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n";
    std::filesystem::create_directories(dir_ / "run");
    std::filesystem::permissions(dir_ / "run", std::filesystem::perms::owner_all);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + socket.string()).c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    ::setenv("HOME", dir_.path().c_str(), 1);
    bus_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--nofork",
                                 "--config-file=" + (dir_ / "bus.conf").string()},
        dir_ / "bus.log");
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
        QTest::qWait(50);
    }
    if (!std::filesystem::exists(socket)) {
        QSKIP(qPrintable(QStringLiteral("the D-Bus daemon did not start: ") +
                         LogOf(dir_ / "bus.log")));
    }
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
             qPrintable(QDBusConnection::sessionBus().lastError().message()));
}

void SecretStoreTest::withoutASecretServiceThePasswordIsAskedForWithTheReason() {
    testing::HostileServer silent(testing::HostileServer::Answer::Nothing);
    TempDir dir;
    WritePublishTargets(
        dir / "publish.dat",
        {{"Site", "webdav+http://u@127.0.0.1:" + std::to_string(silent.port()) + "/x/", "", {}}});
    KeychainSecretStore secrets;
    AskingPrompts prompts;
    PublishController controller(
        [](std::string) {
            LetterRequest request;
            request.templateFolder = SCRIBVANE_TEMPLATES_DIR;
            request.templateName = "Classic";
            return PrepareLetter(std::move(request));
        },
        dir.path(), prompts, secrets);
    controller.Publish();
    QCOMPARE(prompts.reasons.size(), 1);
    QVERIFY2(prompts.reasons[0].startsWith(QLatin1String("No secret service runs")),
             qPrintable(prompts.reasons[0]));
    QCOMPARE(prompts.ended, QStringList()); // cancelled: neither failure nor success
    QVERIFY(!secrets.Read(QStringLiteral("Site")).unavailable.isEmpty());
}

void SecretStoreTest::keepsReadsAndForgetsAPassword() {
    keyring_ = std::make_unique<ChildProcess>(
        // The login keyring is made, unlocked, with the password read from the input.
        std::vector<std::string>{"/bin/sh", "-c",
                                 "echo scribvane-test | exec /usr/bin/gnome-keyring-daemon "
                                 "--foreground --unlock --components=secrets"},
        dir_ / "keyring.log");
    const QString service = QStringLiteral("org.freedesktop.secrets");
    auto* bus = QDBusConnection::sessionBus().interface();
    for (int i = 0; i < 100 && !bus->isServiceRegistered(service).value(); ++i) {
        QTest::qWait(50);
    }
    if (!bus->isServiceRegistered(service).value()) {
        QSKIP(qPrintable(QStringLiteral("gnome-keyring-daemon did not start: ") +
                         LogOf(dir_ / "keyring.log")));
    }
    KeychainSecretStore secrets;
    // A name with blanks, quotes and letters beyond ASCII; S3's "KEYID:SECRET" form.
    const QString target = QStringLiteral("My \"shop\" \u00FC");
    const QString secret = QStringLiteral("KEY:s3 cr\u00E9t \"q\"");
    const struct {
        const char* step;
        std::optional<QString> expected;
    } steps[] = {{"nothing kept yet", std::nullopt},
                 {"write", secret},
                 {"remove", std::nullopt},
                 {"remove again", std::nullopt}};
    for (const auto& step : steps) {
        const QString name = QLatin1String(step.step);
        if (name == QLatin1String("write")) {
            QCOMPARE(secrets.Write(target, secret), QString());
        } else if (name.startsWith(QLatin1String("remove"))) {
            QCOMPARE(secrets.Remove(target), QString());
        }
        const SecretStore::Reading reading = secrets.Read(target);
        QVERIFY2(reading.unavailable.isEmpty(),
                 qPrintable(name + QLatin1String(": ") + reading.unavailable));
        QVERIFY2(reading.secret == step.expected, step.step);
    }
    // Another target's secret is its own.
    QCOMPARE(secrets.Write(QStringLiteral("Other"), QStringLiteral("x")), QString());
    QVERIFY(!secrets.Read(target).secret);
    QCOMPARE(secrets.Read(QStringLiteral("Other")).secret, std::optional(QStringLiteral("x")));
}

void SecretStoreTest::cleanupTestCase() {
    keyring_.reset();
    bus_.reset();
}

QTEST_MAIN(SecretStoreTest)
#include "SecretStoreTest.moc"
