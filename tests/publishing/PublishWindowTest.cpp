// The window half of publishing: the Publish action with recorded prompts and a secret store
// in memory, and the target dialog's warning and "Test Connection".
#include "TestServers.h"
#include "generation/LetterPreparation.h"
#include "publishing/PublishController.h"
#include "publishing/PublishPrompts.h"
#include "publishing/PublishTargetDialog.h"
#include "publishing/SecretStore.h"
#include "support/RecordingMessageService.h"
#include "support/TempDir.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <tuple>
#include <unistd.h>

using namespace scribvane;
using scribvane::testing::TempDir;

namespace {

class RecordingPrompts final : public PublishPrompts {
public:
    std::optional<int> ChooseTarget(const QStringList&) override { return 0; }
    bool EditTarget(PublishTarget&, QString&) override { return false; }
    std::optional<QString> AskSecret(const QString&, const QString& reason) override {
        reasons << reason;
        return QStringLiteral("secret");
    }
    bool TrustServer(const QString&, const QString& fingerprint) override {
        fingerprints << fingerprint;
        return trust;
    }
    void Progress(const QString& file, int, int) override { files << file; }
    bool CancelPressed() override { return cancel; }
    void Done() override {}
    void Published(const QString& message, const QString&) override { published << message; }
    void Failed(const QString& message, const QString&) override { failed << message; }

    QStringList reasons, files, published, failed, fingerprints;
    bool cancel = false;
    bool trust = false; // the answer to "Trust this server?"
};

class MemorySecrets final : public SecretStore {
public:
    Reading Read(const QString&) override { return {std::nullopt, unavailable}; }
    QString Write(const QString&, const QString&) override { return unavailable; }
    QString Remove(const QString&) override { return unavailable; }
    QString unavailable;
};

// A letter titled `title` in the shipped Classic template, as the window prepares it for a
// target's public address.
PreparedLetter ClassicLetter(std::string publicAddress, std::string title = {}) {
    LetterRequest request;
    request.configuration.Set(Tag::PageTitle, std::move(title));
    request.templateFolder = SCRIBVANE_TEMPLATES_DIR;
    request.templateName = "Classic";
    request.publicAddress = std::move(publicAddress);
    return PrepareLetter(std::move(request));
}

} // namespace

class PublishWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void republishSendsOnlyTheChangedPage();
    void cancelStopsAPublishThatHangs();
    void unknownServerIsTrustedOnlyByTheAnswer();
    void sftpAsksForAPasswordOnlyWhenTheKeysAreNotEnough();
    void targetDialogWarnsOfClearTextAndTestsTheFolder();
    void testConnectionAsksToTrustAServerThatKnownHostsDoesNotHold();
    void targetDialogGrowsForALongOutcome();
    void aFailureKeepsTheLibrarysWordsForItsDetails();
};

void PublishWindowTest::republishSendsOnlyTheChangedPage() {
    TempDir dir;
    const std::string site = (dir / "site").string();
    WritePublishTargets(dir / "publish.dat", {{"Site", "file://" + site + "/", "", {}}});
    std::string title = "First";
    const auto values = [&](std::string publicAddress) {
        return ClassicLetter(std::move(publicAddress), title);
    };
    RecordingPrompts prompts;
    MemorySecrets secrets;
    PublishController controller(values, dir.path(), prompts, secrets);
    const struct {
        const char* title;
        const char* published;
    } runs[] = {{"First", "Published 1 files (0 unchanged) to file://"},
                {"Second", "Published 1 files (0 unchanged) to file://"},
                {"Second", "Published 0 files (1 unchanged) to file://"}};
    for (const auto& run : runs) {
        title = run.title;
        prompts.published.clear();
        controller.Publish();
        QCOMPARE(prompts.failed, QStringList());
        QCOMPARE(prompts.published.size(), 1);
        QVERIFY2(prompts.published[0].startsWith(QLatin1String(run.published)),
                 qPrintable(prompts.published[0]));
    }
    QVERIFY(prompts.files.contains(QStringLiteral("index.html")));
    QVERIFY(TempDir::Read(dir / "site/index.html").find("Second") != std::string::npos);
    QVERIFY(prompts.reasons.isEmpty()); // a folder needs no password
}

void PublishWindowTest::cancelStopsAPublishThatHangs() {
    testing::HostileServer silent(testing::HostileServer::Answer::Nothing);
    TempDir dir;
    WritePublishTargets(
        dir / "publish.dat",
        {{"Hangs", "webdav+http://u@127.0.0.1:" + std::to_string(silent.port()) + "/x/", "", {}}});
    RecordingPrompts prompts;
    prompts.cancel = true; // Cancel pressed as soon as the progress shows
    MemorySecrets secrets;
    secrets.unavailable = QStringLiteral("The name org.freedesktop.secrets was not provided");
    PublishController controller([](std::string address) { return ClassicLetter(address); },
                                 dir.path(), prompts, secrets);
    controller.Publish();
    // Without a secret service the password is asked for, and the reason given.
    QCOMPARE(prompts.reasons.size(), 1);
    QVERIFY(prompts.reasons[0].contains(QLatin1String("No secret service")));
    // A cancelled publish neither fails (no 20 s time-out) nor claims success.
    QCOMPARE(prompts.failed, QStringList());
    QCOMPARE(prompts.published, QStringList());
}

// A server with a certificate nobody vouches for: No sends nothing and says so; Yes publishes
// and is remembered for the target, so the next publish does not ask.
void PublishWindowTest::unknownServerIsTrustedOnlyByTheAnswer() {
    if (!testing::WebDavServer::Installed(true)) {
        QSKIP("lighttpd with mod_webdav and mod_openssl is not installed; scripts/setup.sh "
              "installs it");
    }
    TempDir dir;
    std::filesystem::create_directories(dir / "root");
    testing::WebDavServer server(dir.path(), dir / "root", true, "secret");
    QVERIFY(testing::WaitForPort(server.port(), 15));
    QVERIFY(!server.fingerprint().empty());
    WritePublishTargets(
        dir / "publish.dat",
        {{"Site",
          "webdav+https://writer@127.0.0.1:" + std::to_string(server.port()) + "/site/",
          "",
          {}}});
    RecordingPrompts prompts;
    MemorySecrets secrets;
    PublishController controller([](std::string address) { return ClassicLetter(address); },
                                 dir.path(), prompts, secrets);
    const struct {
        bool answer;
        int asked; // questions so far
        const char* published;
        const char* failed;
    } runs[] = {{false, 1, nullptr, "not trusted"},
                {true, 2, "Published 1 files (0 unchanged)", nullptr},
                {false, 2, "Published 0 files (1 unchanged)", nullptr}};
    for (const auto& run : runs) {
        prompts.trust = run.answer;
        prompts.published.clear();
        prompts.failed.clear();
        controller.Publish();
        QCOMPARE(prompts.fingerprints.size(), run.asked);
        QCOMPARE(prompts.fingerprints.last(), QString::fromStdString(server.fingerprint()));
        QVERIFY2(prompts.published.size() == (run.published ? 1 : 0),
                 qPrintable(prompts.failed.join(QLatin1Char('\n'))));
        QCOMPARE(prompts.failed.size(), run.failed ? 1 : 0);
        if (run.published) {
            QVERIFY2(prompts.published[0].startsWith(QLatin1String(run.published)),
                     qPrintable(prompts.published[0]));
        } else {
            QVERIFY2(prompts.failed[0].contains(QLatin1String(run.failed)),
                     qPrintable(prompts.failed[0]));
            QVERIFY(!std::filesystem::exists(dir / "root/site")); // nothing was sent
        }
    }
    const auto targets = ReadPublishTargets(dir / "publish.dat");
    QCOMPARE(targets.at(0).trusted, std::vector<std::string>{server.fingerprint()});
}

// With the user's key the server lets us in and no password is asked for; without it the
// password is asked for once, and a wrong one fails.
void PublishWindowTest::sftpAsksForAPasswordOnlyWhenTheKeysAreNotEnough() {
    if (!testing::SftpServer::Installed() || ::getuid() != 0) {
        QSKIP("needs OpenSSH's sshd (scripts/setup.sh installs it) and root");
    }
    TempDir dir;
    testing::SftpServer server(dir.path());
    QVERIFY(testing::WaitForPort(server.port(), 15));
    WritePublishTargets(dir / "publish.dat",
                        {{"Site",
                          "sftp://nobody@127.0.0.1:" + std::to_string(server.port()) +
                              server.root().string() + "/site/",
                          "",
                          {server.fingerprint()}}});
    RecordingPrompts prompts;
    MemorySecrets secrets;
    secrets.unavailable = QStringLiteral("no secret service");
    PublishController controller([](std::string address) { return ClassicLetter(address); },
                                 dir.path(), prompts, secrets);
    const QByteArray home = qgetenv("HOME");
    for (const auto& [keys, asked, published] : {std::tuple{true, 0, true}, {false, 1, false}}) {
        qputenv("HOME",
                QByteArray::fromStdString((keys ? server.home() : dir / "nokeys").string()));
        prompts.reasons.clear();
        prompts.published.clear();
        controller.Publish();
        QCOMPARE(prompts.reasons.size(), asked);
        QCOMPARE(prompts.published.size(), published ? 1 : 0);
        if (!published) {
            QVERIFY2(prompts.failed.last().contains(QLatin1String("password")),
                     qPrintable(prompts.failed.last()));
        }
    }
    qputenv("HOME", home);
}

void PublishWindowTest::targetDialogWarnsOfClearTextAndTestsTheFolder() {
    TempDir dir;
    RecordingPrompts prompts;
    PublishTargetDialog dialog({"Site", "", "", {}}, QString(), prompts, nullptr);
    auto* address = dialog.findChild<QLineEdit*>(QStringLiteral("edtTargetAddress"));
    auto* warning = dialog.findChild<QLabel*>(QStringLiteral("lblClearTextWarning"));
    const struct {
        const char* address;
        bool warns;
    } cases[] = {{"ftp://u@h/x/", true},
                 {"webdav+http://u@h/x/", true},
                 {"ftps://u@h/x/", false},
                 {"webdav+https://u@h/x/", false},
                 {"sftp://u@h/x/", false}};
    for (const auto& c : cases) {
        address->setText(QString::fromLatin1(c.address));
        QCOMPARE(warning->text().contains(QLatin1String("unencrypted")), c.warns);
    }
    address->setText(QString::fromStdString("file://" + (dir / "new folder").string() + "/"));
    QVERIFY(dialog.TestConnection());
    QVERIFY(std::filesystem::is_directory(dir / "new folder"));
    QVERIFY(std::filesystem::is_empty(dir / "new folder")); // the probe was removed again
    address->setText(QStringLiteral("file:///a/../b/"));
    QVERIFY(!dialog.TestConnection());

    // OK keeps the dialog open until the public address is one a browser opens.
    address->setText(QStringLiteral("sftp://u@h/x/"));
    auto* publicAddress = dialog.findChild<QLineEdit*>(QStringLiteral("edtTargetPublicAddress"));
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (const auto& [text, accepted] : {std::pair{"example.com/offer/", false},
                                         {"ftp://example.com/offer/", false},
                                         {"https:///offer/", false},
                                         {"", true},
                                         {"https://example.com/offer/", true}}) {
        dialog.setResult(QDialog::Rejected);
        publicAddress->setText(QString::fromLatin1(text));
        ok->click();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    }
}

// Test Connection against a real sshd: a server that known_hosts does not hold is asked about
// with its fingerprint (No sends nothing, Yes is kept with the target); one that it holds is
// trusted without a question; one whose key differs from it is refused and never asked about.
void PublishWindowTest::testConnectionAsksToTrustAServerThatKnownHostsDoesNotHold() {
    if (!testing::SftpServer::Installed() || ::getuid() != 0) {
        QSKIP("needs OpenSSH's sshd (scripts/setup.sh installs it) and root");
    }
    TempDir dir;
    testing::SftpServer server(dir.path());
    QVERIFY(testing::WaitForPort(server.port(), 15));
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(server.home().string()));
    const std::string name = "[127.0.0.1]:" + std::to_string(server.port()) + " ";
    const std::string hostKey = TempDir::Read(dir / "host.pub");
    const std::string otherKey = TempDir::Read(server.home() / ".ssh/id_ed25519.pub");
    const QString address = QStringLiteral("sftp://nobody@127.0.0.1:%1%2/site/")
                                .arg(server.port())
                                .arg(QString::fromStdString(server.root().string()));
    const struct {
        const char* name;
        std::string knownHosts;
        bool trust; // the answer to "Trust this server?"
        int asked;  // questions asked
        bool works;
        const char* outcome;
    } cases[] = {
        {"unknown, not trusted", "", false, 1, false, "not trusted"},
        {"unknown, trusted", "", true, 1, true, "connection works"},
        {"held by known_hosts", "# mine\n" + name + hostKey, false, 0, true, "connection works"},
        {"another key in known_hosts", name + otherKey, true, 0, false, "has changed"},
    };
    for (const auto& c : cases) {
        TempDir::WriteFile(server.home() / ".ssh/known_hosts", c.knownHosts);
        RecordingPrompts prompts;
        prompts.trust = c.trust;
        PublishTargetDialog dialog({"Site", "", "", {}}, QString(), prompts, nullptr);
        dialog.findChild<QLineEdit*>(QStringLiteral("edtTargetAddress"))->setText(address);
        QCOMPARE(dialog.TestConnection(), c.works);
        const QString outcome = dialog.findChild<QLabel*>(QStringLiteral("lblTestOutcome"))->text();
        QVERIFY2(outcome.contains(QLatin1String(c.outcome)), qPrintable(c.name + outcome));
        QVERIFY2(!outcome.contains(QLatin1String("SSH remote key")), qPrintable(outcome));
        QCOMPARE(prompts.fingerprints.size(), c.asked);
        if (c.asked > 0) {
            QCOMPARE(prompts.fingerprints[0], QString::fromStdString(server.fingerprint()));
        }
        // What was trusted in the test is kept with the target when OK is pressed.
        const auto trusted = dialog.Target().trusted;
        QCOMPARE(trusted.size(), c.trust && c.asked > 0 ? 1u : 0u);
    }
    QVERIFY(!std::filesystem::exists(server.root() / "site/.scribvane-probe"));
    qputenv("HOME", home);
}

// A long outcome makes the dialog taller; the fields keep their height.
void PublishWindowTest::targetDialogGrowsForALongOutcome() {
    RecordingPrompts prompts;
    PublishTargetDialog dialog({"Site", "", "", {}}, QString(), prompts, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int before = dialog.height();
    dialog.findChild<QLineEdit*>(QStringLiteral("edtTargetAddress"))
        ->setText(QStringLiteral("gopher://") + QString(400, QLatin1Char('x')));
    QVERIFY(!dialog.TestConnection());
    QCoreApplication::processEvents();
    QVERIFY2(dialog.height() > before, qPrintable(QString::number(dialog.height())));
    for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        QVERIFY2(edit->height() >= edit->sizeHint().height(), qPrintable(edit->objectName()));
    }
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->wordWrap() && label->isVisible()) {
            QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                     qPrintable(label->objectName()));
        }
    }
}

// The message box of a failed publish says what failed; the transfer library's words wait
// under "Details".
void PublishWindowTest::aFailureKeepsTheLibrarysWordsForItsDetails() {
    testing::RecordingMessageService messages;
    DialogPublishPrompts prompts(nullptr, messages);
    prompts.Failed(QStringLiteral("Could not connect to example.com"),
                   QStringLiteral("Failed to connect to example.com port 22: Connection refused"));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].kind, QStringLiteral("warning"));
    QCOMPARE(messages.messages[0].text, QStringLiteral("Could not connect to example.com"));
    QVERIFY(messages.messages[0].details.contains(QLatin1String("Connection refused")));
}

QTEST_MAIN(PublishWindowTest)
#include "PublishWindowTest.moc"
