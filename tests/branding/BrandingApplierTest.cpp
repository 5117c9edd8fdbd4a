// Branding applied to a stand-in of the window's controls from files in a temporary program
// folder: caption, banner choice and size, still or animated picture, cursor, links, skin and
// icon, and that no file of the folder is renamed or created.
#include "branding/BrandingApplier.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

namespace scribvane {
namespace {

RandomIndex Sequence(std::vector<std::size_t> picks) {
    return [picks, next = std::size_t{0}](std::size_t) mutable {
        return picks.empty() ? 0 : picks[next++ % picks.size()];
    };
}

QByteArray EncodedPicture(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Qt writes no GIF, so one is put together here: a two-colour palette and frames of one
// colour each, LZW-coded with a clear code before every pair of pixels so codes stay 3 bits.
QByteArray EncodedGif(int width, int height, int frames, bool loopForever = true) {
    QByteArray gif("GIF89a");
    const auto word = [&gif](int value) {
        gif.append(char(value & 0xFF));
        gif.append(char((value >> 8) & 0xFF));
    };
    word(width);
    word(height);
    gif.append("\x80\x00\x00", 3);
    gif.append("\x00\x00\x00\xFF\xFF\xFF", 6);
    if (loopForever) {
        gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    }
    for (int frame = 0; frame < frames; ++frame) {
        gif.append("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);
        gif.append(char(0x2C));
        word(0);
        word(0);
        word(width);
        word(height);
        gif.append(char(0));
        gif.append(char(2)); // minimum code size: clear = 4, end = 5

        std::vector<int> codes;
        for (int pixel = 0; pixel < width * height; ++pixel) {
            if (pixel % 2 == 0) {
                codes.push_back(4);
            }
            codes.push_back(frame % 2);
        }
        codes.push_back(5);
        QByteArray data;
        unsigned int bits = 0;
        int count = 0;
        for (int code : codes) {
            bits |= unsigned(code) << count;
            count += 3;
            while (count >= 8) {
                data.append(char(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        }
        if (count > 0) {
            data.append(char(bits & 0xFF));
        }
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(char(block.size()));
            gif.append(block);
        }
        gif.append(char(0));
    }
    gif.append(char(0x3B));
    return gif;
}

// The skin file as the branding tools write it: a bare zlib stream.
QByteArray SkinFile(const QByteArray& sheet) {
    return qCompress(sheet).mid(4); // qCompress puts the length in front of the stream
}

// The window's controls as far as branding touches them.
struct StandIn {
    QWidget window;
    QFrame* panBanner = new QFrame(&window);
    QLabel* imgBanner = new QLabel(panBanner);
    QLabel* gifBanner = new QLabel(panBanner);
    QLabel* lblLink1URL = new QLabel(QStringLiteral("Google"), &window);
    QLabel* lblLink2URL = new QLabel(QStringLiteral("Google"), &window);

    StandIn() {
        window.setWindowTitle(QStringLiteral("Scribvane"));
        panBanner->setFixedHeight(65);
        for (QLabel* link : {lblLink1URL, lblLink2URL}) {
            link->setProperty(kLinkTargetProperty, QStringLiteral("https://www.google.com/"));
        }
    }

    BrandingTargets Targets(const QString& folder) {
        return {&window, panBanner, imgBanner, gifBanner, lblLink1URL, lblLink2URL, folder};
    }
};

} // namespace

class BrandingApplierTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(folder_->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QStringList Listing() const {
        return QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        QApplication::setWindowIcon(QIcon());
    }

    void withoutBrandingFileNothingChanges() {
        Write(QStringLiteral("dbskin.dat"), SkinFile("QWidget { color: red; }"));
        Write(QStringLiteral("dbimg1.dat"), EncodedPicture({100, 40}, "JPG"));
        StandIn ui;
        const auto values = ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));

        QCOMPARE(ui.window.windowTitle(), QStringLiteral("Scribvane"));
        QVERIFY(ui.panBanner->isVisibleTo(&ui.window));
        QCOMPARE(ui.panBanner->height(), 65);
        QCOMPARE(ui.lblLink1URL->text(), QStringLiteral("Google"));
        QCOMPARE(LinkLabelTarget(ui.lblLink2URL), QStringLiteral("https://www.google.com/"));
        QCOMPARE(ui.window.styleSheet(), QString());
        QVERIFY(QApplication::windowIcon().isNull());
        QVERIFY(values.affiliateId.empty() && values.bannerPath.empty());
    }

    void caption_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("caption");
        QTest::newRow("product name") << QByteArray("[Settings]\r\nAppName=Quick Letters\r\n")
                                      << QStringLiteral("Quick Letters v1.03");
        QTest::newRow("no product name")
            << QByteArray("[Settings]\r\nAfiliateID=7\r\n") << QStringLiteral("Scribvane v1.03");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("Scribvane v1.03");
        QTest::newRow("single-byte text") << QByteArray("[Settings]\r\nAppName=Caf\xE9 \x80\r\n")
                                          << QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC v1.03");
    }
    void caption() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, caption);
        Write(QStringLiteral("dbconfig.dat"), ini);
        StandIn ui;
        ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));
        QCOMPARE(ui.window.windowTitle(), caption);
    }

    void onlyProductNameHidesBannerAndEmptiesLinks() {
        Write(QStringLiteral("dbconfig.dat"), "[Settings]\nAppName=Quick Letters\n");
        StandIn ui;
        ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));
        QVERIFY(!ui.panBanner->isVisibleTo(&ui.window));
        QCOMPARE(ui.lblLink1URL->text(), QString());
        QCOMPARE(ui.lblLink2URL->text(), QString());
        QCOMPARE(LinkLabelTarget(ui.lblLink1URL), QString());
        QVERIFY(QApplication::windowIcon().isNull());
    }

    void banner_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QByteArray>("storedData");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("animated");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("hand");

        const QByteArray jpeg = EncodedPicture({100, 40}, "JPG");
        QTest::newRow("second banner stored first")
            << QByteArray("[Settings]\nBannerPath2=promo.jpg\nBannerURL2=http://p.example/\n") << 0
            << QStringLiteral("dbimg1.dat") << jpeg << true << false << QSize(100, 40) << true;
        QTest::newRow("full Windows path, no click target")
            << QByteArray("[Settings]\nBannerPath1=D:\\ads\\promo.png\n") << 0
            << QStringLiteral("dbimg1.dat") << EncodedPicture({120, 30}, "PNG") << true << false
            << QSize(120, 30) << false;
        QTest::newRow("third banner")
            << QByteArray("[Settings]\nBannerPath1=a.jpg\nBannerPath2=b.jpg\nBannerPath3=c.jpg\n"
                          "BannerURL3=http://c.example/\n")
            << 2 << QStringLiteral("dbimg3.dat") << jpeg << true << false << QSize(100, 40) << true;
        QTest::newRow("animated, upper-case extension")
            << QByteArray("[Settings]\nBannerPath1=anim.GIF\nBannerURL1=http://g.example/\n") << 0
            << QStringLiteral("dbimg1.dat") << EncodedGif(30, 20, 2) << true << true
            << QSize(30, 20) << true;
        QTest::newRow("gif anywhere in the name")
            << QByteArray("[Settings]\nBannerPath1=photo.gif.jpg\n") << 0
            << QStringLiteral("dbimg1.dat") << EncodedPicture({50, 25}, "JPG") << true << true
            << QSize(50, 25) << false;
        QTest::newRow("stored file missing")
            << QByteArray("[Settings]\nBannerPath1=promo.jpg\nBannerURL1=http://p.example/\n") << 0
            << QStringLiteral("dbimg2.dat") << jpeg << false << false << QSize() << true;
        QTest::newRow("undecodable still")
            << QByteArray("[Settings]\nBannerPath1=promo.jpg\n") << 0
            << QStringLiteral("dbimg1.dat") << QByteArray("not a picture") << false << false
            << QSize() << false;
        QTest::newRow("undecodable animation")
            << QByteArray("[Settings]\nBannerPath1=anim.gif\n") << 0 << QStringLiteral("dbimg1.dat")
            << QByteArray("GIF89a broken") << false << false << QSize() << false;
        QTest::newRow("extension decides, not contents")
            << QByteArray("[Settings]\nBannerPath1=promo.png\n") << 0
            << QStringLiteral("dbimg1.dat") << jpeg << false << false << QSize() << false;
        QTest::newRow("no extension")
            << QByteArray("[Settings]\nBannerPath1=promo\n") << 0 << QStringLiteral("dbimg1.dat")
            << jpeg << false << false << QSize() << false;
    }
    void banner() {
        QFETCH(QByteArray, ini);
        QFETCH(int, pick);
        QFETCH(QString, storedName);
        QFETCH(QByteArray, storedData);
        QFETCH(bool, shown);
        QFETCH(bool, animated);
        QFETCH(QSize, size);
        QFETCH(bool, hand);

        Write(QStringLiteral("dbconfig.dat"), ini);
        Write(storedName, storedData);
        const QStringList before = Listing();
        StandIn ui;
        const auto values =
            ApplyBranding(ui.Targets(folder_->path()), Sequence({std::size_t(pick)}));

        QCOMPARE(Listing(), before);
        QCOMPARE(QFile(folder_->filePath(storedName)).size(), storedData.size());
        QCOMPARE(values.bannerPosition, std::size_t(pick + 1));
        QCOMPARE(!values.bannerUrl.empty(), hand);
        const Qt::CursorShape cursor = hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
        QCOMPARE(ui.imgBanner->cursor().shape(), cursor);
        QCOMPARE(ui.gifBanner->cursor().shape(), cursor);

        QCOMPARE(ui.panBanner->isVisibleTo(&ui.window), shown);
        if (!shown) {
            return;
        }
        QLabel* picture = animated ? ui.gifBanner : ui.imgBanner;
        QLabel* other = animated ? ui.imgBanner : ui.gifBanner;
        QVERIFY(picture->isVisibleTo(&ui.window));
        QVERIFY(!other->isVisibleTo(&ui.window));
        QCOMPARE(picture->size(), size);
        QCOMPARE(ui.panBanner->height(), size.height() + 10);
        if (animated) {
            QMovie* movie = ui.gifBanner->movie();
            QVERIFY(movie != nullptr);
            QCOMPARE(movie->currentPixmap().size(), size);
            // A single picture has nothing to play; an animation keeps running.
            QCOMPARE(movie->state(),
                     movie->frameCount() > 1 ? QMovie::Running : QMovie::NotRunning);
        } else {
            QCOMPARE(ui.imgBanner->pixmap().size(), size);
        }
    }

    void animationKeepsPlaying_data() {
        QTest::addColumn<bool>("loopForever");
        QTest::newRow("file asks for a loop") << true;
        QTest::newRow("file asks for one pass") << false;
    }
    void animationKeepsPlaying() {
        QFETCH(bool, loopForever);
        Write(QStringLiteral("dbconfig.dat"), "[Settings]\nBannerPath1=anim.gif\n");
        Write(QStringLiteral("dbimg1.dat"), EncodedGif(8, 8, 3, loopForever));
        StandIn ui;
        ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));
        QMovie* movie = ui.gifBanner->movie();
        QVERIFY(movie != nullptr);
        QCOMPARE(movie->frameCount(), 3);

        // Round to the first frame twice: the point where playback must start over.
        QSignalSpy frames(movie, &QMovie::frameChanged);
        const auto rounds = [&frames] {
            return std::count_if(frames.begin(), frames.end(),
                                 [](const QList<QVariant>& args) { return args.at(0) == 0; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(rounds() >= 2, 20000);
        QCOMPARE(movie->state(), QMovie::Running);
    }

    void links_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("expected"); // caption 1, target 1, caption 2, target 2

        const QByteArray four = "[Settings]\nLink1URL=http://one\nLink1Name=One\n"
                                "Link2URL=http://two\nLink2Name=Two\n"
                                "Link3URL=http://three\nLink3Name=Three\n"
                                "Link4URL=http://four\nLink4Name=Four\n";
        QTest::newRow("second pick among the rest")
            << four << QStringList{"Two", "http://two", "Three", "http://three"};
        QTest::newRow("one link, right label empty")
            << QByteArray("[Settings]\nLink3URL=http://three\nLink3Name=Three\nLink2Name=Two\n")
            << QStringList{"Three", "http://three", "", ""};
        QTest::newRow("markup and single-byte text shown as typed")
            << QByteArray("[Settings]\nLink1URL=http://a?b=1&c=2\nLink1Name=<b>Caf\xE9</b>\n")
            << QStringList{QString::fromUtf8("<b>Caf\xC3\xA9</b>"), "http://a?b=1&c=2", "", ""};
    }
    void links() {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, expected);
        Write(QStringLiteral("dbconfig.dat"), ini);
        StandIn ui;
        const auto values = ApplyBranding(ui.Targets(folder_->path()), Sequence({1, 1}));

        QCOMPARE(ui.lblLink1URL->text(), expected[0]);
        QCOMPARE(LinkLabelTarget(ui.lblLink1URL), expected[1]);
        QCOMPARE(ui.lblLink2URL->text(), expected[2]);
        QCOMPARE(LinkLabelTarget(ui.lblLink2URL), expected[3]);
        QCOMPARE(ui.lblLink1URL->textFormat(), Qt::PlainText);
        QCOMPARE(QString::fromStdString(values.link2Url), expected[3]);
    }

    void skin_data() {
        QTest::addColumn<bool>("withBrandingFile");
        QTest::addColumn<QByteArray>("skinFile");
        QTest::addColumn<QString>("styleSheet");

        const QByteArray sheet = "QWidget { background: #EEEEEE; }";
        QTest::newRow("applied") << true << SkinFile(sheet) << QString::fromUtf8(sheet);
        QTest::newRow("not without branding file") << false << SkinFile(sheet) << QString();
        QTest::newRow("uncompressed ignored") << true << sheet << QString();
        QTest::newRow("not UTF-8 ignored") << true << SkinFile("/* \xE9 */") << QString();
    }
    void skin() {
        QFETCH(bool, withBrandingFile);
        QFETCH(QByteArray, skinFile);
        QFETCH(QString, styleSheet);
        if (withBrandingFile) {
            Write(QStringLiteral("dbconfig.dat"), "[Settings]\n");
        }
        Write(QStringLiteral("dbskin.dat"), skinFile);
        StandIn ui;
        ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));
        QCOMPARE(ui.window.styleSheet(), styleSheet);
    }

    void icon_data() {
        QTest::addColumn<QByteArray>("iconPath");
        QTest::addColumn<bool>("iconFileValid");
        QTest::addColumn<bool>("applied");

        QTest::newRow("Windows path") << QByteArray("D:\\art\\brand.ico") << true << true;
        QTest::newRow("Unix path") << QByteArray("/some/dir/brand.ico") << true << true;
        QTest::newRow("other file named") << QByteArray("other.ico") << true << false;
        QTest::newRow("not set") << QByteArray() << true << false;
        QTest::newRow("undecodable") << QByteArray("brand.ico") << false << false;
    }
    void icon() {
        QFETCH(QByteArray, iconPath);
        QFETCH(bool, iconFileValid);
        QFETCH(bool, applied);
        Write(QStringLiteral("dbconfig.dat"), "[Settings]\nIconPath=" + iconPath + "\n");
        Write(QStringLiteral("brand.ico"),
              iconFileValid ? EncodedPicture({32, 32}, "ICO") : QByteArray("not an icon"));
        StandIn ui;
        const auto values = ApplyBranding(ui.Targets(folder_->path()), Sequence({0}));
        QCOMPARE(QString::fromStdString(values.iconPath), QString::fromLatin1(iconPath));
        QCOMPARE(!QApplication::windowIcon().isNull(), applied);
        if (applied) {
            QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(32, 32)));
        }
    }
};

} // namespace scribvane

QTEST_MAIN(scribvane::BrandingApplierTest)
#include "BrandingApplierTest.moc"
