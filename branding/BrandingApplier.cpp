// Applying branding to the window; see BrandingApplier.h.
#include "branding/BrandingApplier.h"

#include "branding/BrandingFiles.h"
#include "branding/BrandingSettings.h"
#include "branding/SkinData.h"
#include "widgets/Logging.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPixmap>

namespace scribvane {
namespace {

QString FolderFile(const QString& folder, std::string_view ansiName) {
    return QDir(folder).filePath(QStringOfAnsi(ansiName));
}

void ShowStill(QLabel* label, const QImage& image) {
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.size());
}

// The picture is read from its stored file; its file name only names the decoder, which is
// never guessed from the contents. False when the picture cannot be shown.
bool ShowBanner(const BrandingTargets& targets, const BrandingValues& values) {
    if (values.bannerPath.empty()) {
        return false;
    }
    const QString stored =
        FolderFile(targets.programFolder, StoredBannerFileName(values.bannerPosition));
    if (!QFileInfo(stored).isFile()) {
        return false;
    }
    const std::string pictureName = BrandingFileNamePart(values.bannerPath);
    const QString picturePath = FolderFile(targets.programFolder, pictureName);
    const QByteArray format = QByteArray::fromStdString(PictureFormatOf(pictureName));

    if (IsAnimatedBanner(picturePath.toStdString())) {
        // By file name with the format given: fed a QIODevice instead, QMovie (Qt 6.4) crashes
        // when an animation comes round to its first frame again.
        auto* movie = new QMovie(stored, format, targets.gifBanner);
        // A header alone makes a valid movie; only a decoded first frame shows anything.
        if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull()) {
            qCWarning(lcBranding) << "banner not shown, it does not decode:" << stored;
            delete movie;
            return false;
        }
        // Play in a loop even when the file asks for one pass. A single picture has nothing to
        // repeat, and a movie that broke on a later frame would restart without end.
        if (movie->frameCount() > 1) {
            const auto restart = QObject::connect(movie, &QMovie::finished, movie, &QMovie::start);
            QObject::connect(movie, &QMovie::error, movie,
                             [restart] { QObject::disconnect(restart); });
        }
        targets.imgBanner->hide();
        targets.gifBanner->show();
        targets.gifBanner->setMovie(movie);
        targets.gifBanner->resize(movie->currentPixmap().size());
        movie->start();
        targets.panBanner->setFixedHeight(targets.gifBanner->height() + 10);
        return true;
    }

    QFile device(stored);
    if (!device.open(QIODevice::ReadOnly)) {
        qCWarning(lcBranding) << "banner not shown:" << stored << device.errorString();
        return false;
    }
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(lcBranding) << "banner not shown:" << stored << reader.errorString();
        return false;
    }
    targets.gifBanner->hide();
    targets.imgBanner->show();
    ShowStill(targets.imgBanner, image);
    targets.panBanner->setFixedHeight(targets.imgBanner->height() + 10);
    return true;
}

void SetLinkLabel(QLabel* label, std::string_view caption, std::string_view target) {
    // Captions are shown as typed, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(QStringOfAnsi(caption));
    label->setProperty(kLinkTargetProperty, QStringOfAnsi(target));
}

void ApplyIcon(const QString& programFolder, const std::string& iconPath) {
    if (iconPath.empty()) {
        return;
    }
    const QString file = FolderFile(programFolder, BrandingFileNamePart(iconPath));
    if (!QFileInfo(file).isFile()) {
        return;
    }
    const QIcon icon(file);
    // A file that decodes to no picture would leave the program without any icon.
    if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
        QApplication::setWindowIcon(icon);
    } else {
        qCWarning(lcBranding) << "icon not used, it does not decode:" << file;
    }
}

} // namespace

BrandingValues ApplyBranding(const BrandingTargets& targets, const RandomIndex& random) {
    const auto settings = BrandingSettings::Load(NativePath(targets.programFolder));
    if (!settings) {
        return {};
    }

    targets.window->setWindowTitle(
        QStringOfAnsi(BrandedCaption(settings->appName, AnsiOf(targets.window->windowTitle()))));

    BrandingValues values = ChooseBranding(*settings, random);
    if (!values.bannerUrl.empty()) {
        targets.imgBanner->setCursor(Qt::PointingHandCursor);
        targets.gifBanner->setCursor(Qt::PointingHandCursor);
    }
    if (!ShowBanner(targets, values)) {
        targets.panBanner->hide();
    }

    SetLinkLabel(targets.lblLink1URL, values.link1Name, values.link1Url);
    SetLinkLabel(targets.lblLink2URL, values.link2Name, values.link2Url);

    const QString skinFile =
        QDir(targets.programFolder)
            .filePath(QString::fromLatin1(kSkinFileName.data(), qsizetype(kSkinFileName.size())));
    if (const auto sheet = ReadSkinFile(NativePath(skinFile))) {
        targets.window->setStyleSheet(QString::fromUtf8(sheet->data(), qsizetype(sheet->size())));
    } else if (QFileInfo::exists(skinFile)) {
        qCWarning(lcBranding) << "skin not used, it does not inflate to a style sheet:" << skinFile;
    }

    ApplyIcon(targets.programFolder, values.iconPath);
    return values;
}

QString LinkLabelTarget(const QLabel* label) {
    return label->property(kLinkTargetProperty).toString();
}

} // namespace scribvane
