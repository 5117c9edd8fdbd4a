// Starting the default browser found through fake XDG folders: the registered program is a
// small script that records the arguments it receives. And a link label's target handed to
// the desktop, caught by a URL handler of the test.
#include "branding/BrowserLaunch.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace scribvane {

class BrowserLaunchTest : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void recordUrl(const QUrl& url) { opened_.append(url); }

private:
    QTemporaryDir root_;
    QList<QUrl> opened_;
    const QByteArray path_ = qgetenv("PATH");

    QString Path(const QString& relative) const { return root_.filePath(relative); }
    QString Browser() const { return Path(QStringLiteral("bin dir/fake-browser")); }
    QString Record() const { return Browser() + QStringLiteral(".args"); }

    static void Write(const QString& path, const QByteArray& bytes) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(root_.isValid());
        // Only the test's folders are consulted, never the machine's own settings.
        qputenv("HOME", Path(QStringLiteral("home")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", Path(QStringLiteral("etc/xdg")).toUtf8());
        qputenv("XDG_DATA_DIRS", Path(QStringLiteral("share")).toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CURRENT_DESKTOP");

        // Writes the argument count and each argument, NUL-terminated, then publishes the
        // record in one rename so the test never reads half of it.
        Write(Browser(),
              "#!/bin/sh\n"
              "printf '%s\\0' \"$#\" \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
        QVERIFY(QFile::setPermissions(Browser(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Write(Path(QStringLiteral("share/applications/fake-browser.desktop")),
              "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" +
                  Browser().toUtf8().replace(" ", "\\s") + "\" --new-window %u\n");
    }

    void addressArrivesAsOneArgument_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << QStringLiteral("http://www.example.com/tarnhelp/#scribvane");
        QTest::newRow("blanks") << QStringLiteral("http://example.com/a b?c=d e");
        QTest::newRow("shell text") << QStringLiteral("http://x/\"q\" '$(touch %1)'; touch %1")
                                           .arg(Path(QStringLiteral("pwned")));
    }
    void addressArrivesAsOneArgument() {
        QFETCH(QString, address);
        Write(Path(QStringLiteral("home/.config/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n");
        QFile::remove(Record());

        QVERIFY(OpenInBrowser(address));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(Record()), 20000);

        QFile record(Record());
        QVERIFY(record.open(QIODevice::ReadOnly));
        const QList<QByteArray> fields = record.readAll().split('\0');
        QCOMPARE(fields.size(), 3); // count, the address, and what follows the last NUL
        QCOMPARE(fields[0], QByteArray("1"));
        QCOMPARE(QString::fromUtf8(fields[1]), address);
        QVERIFY(!QFile::exists(Path(QStringLiteral("pwned"))));
    }

    void nothingRegisteredStartsNothing() {
        // Neither a registered browser nor the desktop's opener.
        qputenv("PATH", Path(QStringLiteral("empty")).toUtf8());
        QFile::remove(Path(QStringLiteral("home/.config/mimeapps.list")));
        QFile::remove(Record());
        QVERIFY(!OpenInBrowser(QStringLiteral("http://example.com/")));

        Write(Path(QStringLiteral("home/.config/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/http=not-installed.desktop\n");
        QVERIFY(!OpenInBrowser(QStringLiteral("http://example.com/")));
        QVERIFY(!QFile::exists(Record()));
        qputenv("PATH", path_);
    }

    void withoutRegisteredBrowserTheDesktopOpenerGetsTheAddress() {
        QFile::remove(Path(QStringLiteral("home/.config/mimeapps.list")));
        const QString opener = Path(QStringLiteral("opener/xdg-open"));
        const QString record = opener + QStringLiteral(".args");
        Write(opener, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
        QVERIFY(
            QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("PATH", QFileInfo(opener).path().toUtf8() + ":/usr/bin:/bin");

        QVERIFY(OpenInBrowser(QStringLiteral("http://example.com/a b")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("http://example.com/a b"));
        qputenv("PATH", path_);
    }

    void linkTargetGoesToTheDesktop() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "recordUrl");
        OpenLinkAddress(QString());
        OpenLinkAddress(QStringLiteral("http://example.com/some page?x=1"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

        QCOMPARE(opened_.size(), 1);
        QCOMPARE(opened_[0].host(), QStringLiteral("example.com"));
        QCOMPARE(opened_[0].path(), QStringLiteral("/some page"));
        QCOMPARE(opened_[0].query(), QStringLiteral("x=1"));
    }
};

} // namespace scribvane

QTEST_MAIN(scribvane::BrowserLaunchTest)
#include "BrowserLaunchTest.moc"
