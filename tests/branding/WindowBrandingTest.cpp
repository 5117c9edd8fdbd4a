// The branding as the main window wires it: the files of the program folder reach the window
// at start-up, and Help, Make Money, the banner and the link labels open their pages. The
// default browser is found through fake XDG folders whose program records its arguments; the
// link labels' targets are caught by a URL handler of the test.
#include "TfrmMain.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/RecordingMessageService.h"
#include "tests/support/TfrmMainProbe.h"
#include "utils/ProgramConstants.h"
#include "widgets/LinkLabel.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace scribvane;
using scribvane::testing::Control;
using scribvane::testing::NoUpdateServer;
using scribvane::testing::Probe;
using scribvane::testing::RecordingMessageService;

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray JpegBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A GIF of one pixel.
const QByteArray kGifBytes = QByteArray::fromHex(
    "47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b");

// What a case clicks.
enum class Target { Help, MakeMoney, StillBanner, AnimatedBanner };

} // namespace

Q_DECLARE_METATYPE(Target)

class WindowBrandingTest : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void recordUrl(const QUrl& url) { opened_.append(url); }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void brandingFilesReachTheWindowAtStartUp_data();
    void brandingFilesReachTheWindowAtStartUp();
    void clicksStartTheBrowserWithOneArgument_data();
    void clicksStartTheBrowserWithOneArgument();
    void bannerWithoutTargetOpensNothing();
    void linkLabelsOpenTheirOwnTargets();

private:
    QString Fake(const QString& relative) const { return xdg_.filePath(relative); }
    QString Browser() const { return Fake(QStringLiteral("bin/fake-browser")); }
    QString Log() const { return Browser() + QStringLiteral(".log"); }
    // Every start of the fake browser so far: its arguments, one list per start.
    QList<QStringList> Starts() const;

    void Write(const QString& name, const QByteArray& bytes) const;
    void Start();

    QTemporaryDir xdg_;
    std::unique_ptr<QTemporaryDir> folder_;
    RecordingMessageService messages_;
    std::unique_ptr<TfrmMain> window_;
    QList<QUrl> opened_;
};

void WindowBrandingTest::initTestCase() {
    QVERIFY(xdg_.isValid());
    // Only the test's folders are consulted, never the machine's own settings.
    qputenv("HOME", Fake(QStringLiteral("home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", Fake(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", Fake(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", Fake(QStringLiteral("etc/xdg")).toUtf8());
    qputenv("XDG_DATA_DIRS", Fake(QStringLiteral("share")).toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
    for (const char* folder : {"bin", "config", "data/applications"}) {
        QVERIFY(QDir().mkpath(Fake(QString::fromLatin1(folder))));
    }

    // Appends the argument count and each argument, NUL-terminated, one start after another.
    QFile browser(Browser());
    QVERIFY(browser.open(QIODevice::WriteOnly));
    browser.write("#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" >> \"$0.log\"\n");
    browser.close();
    QVERIFY(
        QFile::setPermissions(Browser(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QFile entry(Fake(QStringLiteral("data/applications/fake-browser.desktop")));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Fake\nExec=" + Browser().toUtf8() +
                " %u\n");
    entry.close();
    QFile defaults(Fake(QStringLiteral("config/mimeapps.list")));
    QVERIFY(defaults.open(QIODevice::WriteOnly));
    defaults.write("[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n");
}

void WindowBrandingTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    // The shipped templates, so the catalogue finds what it finds in a real program folder.
    QVERIFY(QFile::link(QStringLiteral(SCRIBVANE_TEMPLATES_DIR),
                        folder_->filePath(QStringLiteral("Templates"))));
    messages_.messages.clear();
    opened_.clear();
    QFile::remove(Log());
}

void WindowBrandingTest::cleanup() {
    window_.reset();
    folder_.reset();
}

void WindowBrandingTest::Write(const QString& name, const QByteArray& bytes) const {
    QFile file(folder_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void WindowBrandingTest::Start() {
    window_ = std::make_unique<TfrmMain>(folder_->path(), &messages_, NoUpdateServer());
}

QList<QStringList> WindowBrandingTest::Starts() const {
    QFile log(Log());
    if (!log.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> fields = log.readAll().split('\0');
    fields.removeLast(); // what follows the last NUL
    QList<QStringList> starts;
    while (!fields.isEmpty()) {
        const int count = fields.takeFirst().toInt();
        QStringList arguments;
        for (int index = 0; index < count && !fields.isEmpty(); ++index) {
            arguments.append(QString::fromUtf8(fields.takeFirst()));
        }
        starts.append(arguments);
    }
    return starts;
}

void WindowBrandingTest::brandingFilesReachTheWindowAtStartUp_data() {
    QTest::addColumn<QByteArray>("settings"); // empty: no dbconfig.dat
    QTest::addColumn<bool>("withPicture");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("bannerHeight"); // 0: the panel is hidden
    QTest::addColumn<QString>("link1");
    QTest::addColumn<QString>("link2");
    QTest::addColumn<QString>("affiliate");

    QTest::newRow("unbranded") << QByteArray() << false << "Scribvane" << 65 << "Google"
                               << "Google"
                               << "";
    QTest::newRow("product name and affiliate only")
        << QByteArray("[Settings]\r\nAppName=Quick Letters\r\nAfiliateID=?id=42\r\n") << false
        << "Quick Letters v1.03" << 0 << ""
        << ""
        << "?id=42";
    QTest::newRow("banner and one link")
        << QByteArray("[settings]\r\nBannerPath1=C:\\art\\promo.jpg\r\n"
                      "BannerURL1=http://127.0.0.1:9/promo\r\n"
                      "Link3URL=http://127.0.0.1:9/docs\r\nLink3Name=\"Read the docs\"\r\n")
        << true << "Scribvane v1.03" << 50 << "Read the docs"
        << ""
        << "";
}

void WindowBrandingTest::brandingFilesReachTheWindowAtStartUp() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, withPicture);
    QFETCH(QString, caption);
    QFETCH(int, bannerHeight);
    QFETCH(QString, link1);
    QFETCH(QString, link2);
    QFETCH(QString, affiliate);
    if (!settings.isEmpty()) {
        Write(QStringLiteral("dbconfig.dat"), settings);
    }
    if (withPicture) {
        Write(QStringLiteral("dbimg1.dat"), JpegBytes(200, 40));
    }
    Start();

    QCOMPARE(window_->windowTitle(), caption);
    QCOMPARE(QString::fromStdString(Probe(*window_).FAffiliateID()), affiliate);
    QCOMPARE(Control<QFrame>(*window_, "panBanner")->isHidden(), bannerHeight == 0);
    if (bannerHeight != 0) {
        QCOMPARE(Control<QFrame>(*window_, "panBanner")->height(), bannerHeight);
    }
    QCOMPARE(Control<LinkLabel>(*window_, "lblLink1URL")->text(), link1);
    QCOMPARE(Control<LinkLabel>(*window_, "lblLink2URL")->text(), link2);
    if (withPicture) {
        QCOMPARE(Control<QLabel>(*window_, "imgBanner")->size(), QSize(200, 40));
        QCOMPARE(Probe(*window_).FBannerURL(), std::string("http://127.0.0.1:9/promo"));
        QCOMPARE(Probe(*window_).FBannerPath(), std::string("C:\\art\\promo.jpg"));
        QCOMPARE(Control<QLabel>(*window_, "imgBanner")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(Probe(*window_).FLink1URL(), std::string("http://127.0.0.1:9/docs"));
        QCOMPARE(Control<LinkLabel>(*window_, "lblLink1URL")->url(),
                 QStringLiteral("http://127.0.0.1:9/docs"));
    }
    QVERIFY(messages_.messages.isEmpty());
}

void WindowBrandingTest::clicksStartTheBrowserWithOneArgument_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("picture"); // stored as dbimg1.dat when not empty
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("address");

    const QString sales = Latin1(AffiliateSalesAddress);
    QTest::newRow("help") << QByteArray() << QByteArray() << Target::Help << Latin1(HelpAddress);
    QTest::newRow("make money, identifier appended directly")
        << QByteArray("[Settings]\r\nAfiliateID=?id=42\r\n") << QByteArray() << Target::MakeMoney
        << sales + QStringLiteral("?id=42");
    QTest::newRow("make money, identifier with blanks stays one argument")
        << QByteArray("[Settings]\r\nAfiliateID=/ref me\r\n") << QByteArray() << Target::MakeMoney
        << sales + QStringLiteral("/ref me");
    QTest::newRow("make money, no identifier")
        << QByteArray() << QByteArray() << Target::MakeMoney << sales;
    QTest::newRow("still banner")
        << QByteArray("[Settings]\r\nBannerPath1=promo.jpg\r\nBannerURL1=http://127.0.0.1:9/p\r\n")
        << JpegBytes(120, 30) << Target::StillBanner << QStringLiteral("http://127.0.0.1:9/p");
    QTest::newRow("animated banner")
        << QByteArray("[Settings]\r\nBannerPath1=anim.GIF\r\nBannerURL1=http://127.0.0.1:9/g\r\n")
        << kGifBytes << Target::AnimatedBanner << QStringLiteral("http://127.0.0.1:9/g");
}

void WindowBrandingTest::clicksStartTheBrowserWithOneArgument() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, picture);
    QFETCH(Target, target);
    QFETCH(QString, address);
    if (!settings.isEmpty()) {
        Write(QStringLiteral("dbconfig.dat"), settings);
    }
    if (!picture.isEmpty()) {
        Write(QStringLiteral("dbimg1.dat"), picture);
    }
    Start();

    switch (target) {
    case Target::Help:
        Control<QPushButton>(*window_, "btnHelp")->click();
        break;
    case Target::MakeMoney:
        Control<QPushButton>(*window_, "btnMakeMoney")->click();
        break;
    case Target::StillBanner:
        QVERIFY(!Control<QLabel>(*window_, "imgBanner")->isHidden());
        QTest::mouseClick(Control<QLabel>(*window_, "imgBanner"), Qt::LeftButton);
        break;
    case Target::AnimatedBanner:
        QVERIFY(!Control<QLabel>(*window_, "gifBanner")->isHidden());
        QVERIFY(Control<QLabel>(*window_, "imgBanner")->isHidden());
        QTest::mouseClick(Control<QLabel>(*window_, "gifBanner"), Qt::LeftButton);
        break;
    }
    QTRY_COMPARE_WITH_TIMEOUT(Starts().size(), 1, 20000);
    QCOMPARE(Starts().constFirst(), QStringList{address});
    QVERIFY(messages_.messages.isEmpty());
}

void WindowBrandingTest::bannerWithoutTargetOpensNothing() {
    Write(QStringLiteral("dbconfig.dat"), "[Settings]\r\nBannerPath1=promo.jpg\r\n");
    Write(QStringLiteral("dbimg1.dat"), JpegBytes(120, 30));
    Start();
    QVERIFY(!Control<QLabel>(*window_, "imgBanner")->isHidden());
    QCOMPARE(Control<QLabel>(*window_, "imgBanner")->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(Control<QLabel>(*window_, "imgBanner"), Qt::LeftButton);
    // Help as a marker: once its start is recorded, an earlier start would be too.
    Control<QPushButton>(*window_, "btnHelp")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!Starts().isEmpty(), 20000);
    QCOMPARE(Starts(), QList<QStringList>{QStringList{Latin1(HelpAddress)}});
}

void WindowBrandingTest::linkLabelsOpenTheirOwnTargets() {
    Write(QStringLiteral("dbconfig.dat"), "[Settings]\r\n"
                                          "Link1URL=http://127.0.0.1:9/one\r\nLink1Name=One\r\n"
                                          "Link2URL=http://127.0.0.1:9/two\r\nLink2Name=Two\r\n");
    Start();
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "recordUrl");
    QTest::keyClick(Control<LinkLabel>(*window_, "lblLink1URL"), Qt::Key_Space);
    QTest::keyClick(Control<LinkLabel>(*window_, "lblLink2URL"), Qt::Key_Space);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    // Which link goes left is chosen at random; each label opens the one it shows.
    const QString first =
        Control<LinkLabel>(*window_, "lblLink1URL")->text() == QStringLiteral("One")
            ? QStringLiteral("http://127.0.0.1:9/one")
            : QStringLiteral("http://127.0.0.1:9/two");
    const QString second = first.endsWith(QStringLiteral("one"))
                               ? QStringLiteral("http://127.0.0.1:9/two")
                               : QStringLiteral("http://127.0.0.1:9/one");
    QCOMPARE(opened_, (QList<QUrl>{QUrl(first), QUrl(second)}));
    QVERIFY(Starts().isEmpty()); // links go to the desktop, not through the browser lookup
}

QTEST_MAIN(WindowBrandingTest)
#include "WindowBrandingTest.moc"
