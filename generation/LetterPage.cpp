// The window half of the letter; see LetterPage.h.
#include "generation/LetterPage.h"

#include "generation/Html5Blocks.h"
#include "generation/LetterOutput.h"
#include "generation/PlacedPictures.h"
#include "generation/TemplateCatalogue.h"
#include "generation/VipsPictureMaker.h"
#include "persistence/LetterDocument.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"
#include "widgets/ControlText.h"
#include "widgets/MessageService.h"
#include "widgets/OffWindowThread.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>
#include <filesystem>
#include <utility>

namespace scribvane {

namespace {

std::filesystem::path TemplateFolder(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("Templates"));
}

} // namespace

LetterPage::LetterPage(LetterPageControls controls, const LetterDocument& document,
                       QString programFolder, MessageService& messages)
    : controls_(controls), document_(document), programFolder_(std::move(programFolder)),
      messages_(messages) {
    if (controls_.gallery != nullptr) {
        controls_.gallery->SetSource(TemplateFolder(programFolder_),
                                     [this] { return TakeLetterSnapshot(); });
        // The preview group follows the chosen design's tile as it is drawn again.
        QObject::connect(controls_.gallery, &TemplateGallery::thumbnailReady,
                         controls_.previewGroup, [this](const QString& name) {
                             if (name.compare(QStringOfAnsi(document_.TemplateName()),
                                              Qt::CaseInsensitive) == 0) {
                                 ShowTemplatePreview();
                             }
                         });
    }
}

void LetterPage::FillTemplateList() {
    {
        // Adding the first item would select it on its own; the selection below is the one
        // that counts, and it runs the change handler only when the text really changes.
        const QSignalBlocker blocker(controls_.templates);
        controls_.templates->clear();
        for (const std::string& name : TemplateCatalogue(TemplateFolder(programFolder_))) {
            controls_.templates->addItem(QStringOfAnsi(name));
        }
        controls_.templates->setCurrentIndex(-1);
    }
    if (controls_.templates->count() > 0) {
        controls_.templates->setCurrentIndex(0);
    }
}

void LetterPage::ShowTemplatePreview() {
    controls_.previewGroup->setVisible(true);
    // The user's own letter in the design once the gallery has drawn it; the design's stock
    // picture only until then.
    if (controls_.gallery != nullptr) {
        const QImage letter =
            controls_.gallery->LetterPicture(QStringOfAnsi(document_.TemplateName()));
        if (!letter.isNull()) {
            controls_.preview->setPixmap(QPixmap::fromImage(letter));
            return;
        }
    }
    const auto preview = FindPreviewFile(TemplateFolder(programFolder_), document_.TemplateName());
    if (!preview) {
        // The picture shown before stays in Image1, unseen.
        controls_.previewGroup->setVisible(false);
        return;
    }
    // Read through the core so that any file name the catalogue listed also opens here.
    const QByteArray bytes = QByteArray::fromStdString(ReadFileBytes(*preview));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw Error("The preview picture \"" + preview->string() + "\" cannot be shown. " +
                    AnsiOf(reader.errorString()));
    }
    // At its own size, centred in the group, never scaled.
    controls_.preview->setPixmap(QPixmap::fromImage(picture));
}

std::string LetterPage::TemplateBodyFont() {
    const auto file = FindTemplateFile(TemplateFolder(programFolder_), document_.TemplateName());
    try {
        return file ? BodyFontOfTemplate(checkedTemplates_.Text(*file)) : std::string();
    } catch (const Error&) {
        return {}; // the check says that the template cannot be read
    }
}

std::string LetterPage::TemplateOrderHeading() {
    const auto file = FindTemplateFile(TemplateFolder(programFolder_), document_.TemplateName());
    try {
        return OrderHeadingOfTemplate(file ? std::string_view(checkedTemplates_.Text(*file))
                                           : std::string_view());
    } catch (const Error&) {
        // The check says that the template cannot be read.
        return OrderHeadingOfTemplate({});
    }
}

namespace {

// The window's letter as the preparation takes it.
LetterRequest RequestOf(const LetterDocument& document, const QString& programFolder,
                        PicturePlacement placement, std::optional<std::string> templateName) {
    LetterRequest request;
    request.configuration = document.Configuration();
    request.templateFolder = TemplateFolder(programFolder);
    request.templateName = templateName ? std::move(templateName) : document.TemplateName();
    request.outputFileName = document.OutputFileName();
    request.placement = placement;
    return request;
}

} // namespace

PreparedLetter LetterPage::Prepare(PicturePlacement placement,
                                   std::optional<std::string> templateName) const {
    return PrepareLetter(RequestOf(document_, programFolder_, placement, std::move(templateName)));
}

PreparedLetter LetterPage::PrepareWithPictures(LetterRequest request) const {
    request.pictureCache = &pictures_;
    PreparedLetter letter = PrepareLetter(request);
    if (!letter.PicturesPending()) {
        return letter;
    }
    if (!pictureMaker_) {
        pictureMaker_ = std::make_unique<VipsPictureMaker>();
    }
    request.pictureMaker = pictureMaker_.get();
    QProgressDialog progress(QStringLiteral("Making the pictures for the web..."), QString(), 0, 0,
                             QApplication::activeWindow());
    progress.setWindowTitle(QStringLiteral("Pictures"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.show();
    // The request is the worker's own copy, and the cache guards itself.
    RunOffWindowThread([&] { letter = PrepareLetter(std::move(request)); });
    return letter;
}

PreparedLetter LetterPage::PrepareForSaving() const {
    return PrepareWithPictures(
        RequestOf(document_, programFolder_, SavedPlacement(document_.EmbedPictures()), {}));
}

PreparedLetter LetterPage::PrepareToPublish(std::string publicAddress) const {
    LetterRequest request =
        RequestOf(document_, programFolder_, SavedPlacement(document_.EmbedPictures()), {});
    request.publicAddress = std::move(publicAddress);
    return PrepareWithPictures(std::move(request));
}

std::string LetterPage::GenerateLetter() const {
    const PreparedLetter letter = PrepareForSaving();
    WriteLetterFiles(letter.files, letter.values.outputFileName);
    return letter.Page();
}

QUrl LetterPage::PageBase() const {
    const std::string folder = FolderPart(document_.OutputFileName());
    std::error_code error;
    const bool outputFolder =
        !folder.empty() && std::filesystem::is_directory(PathFromText(folder), error);
    QString base = outputFolder ? QStringOfAnsi(folder) : programFolder_;
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    return QUrl::fromLocalFile(base);
}

TemplateGallery::LetterSnapshot LetterPage::TakeLetterSnapshot() const {
    // The letter is taken now; each thumbnail prepares it in its own template.
    return [request = RequestOf(document_, programFolder_, PicturePlacement::ShowInPlace, {}),
            base = PageBase()](const QString& name) -> std::optional<TemplateGallery::Page> {
        LetterRequest copy = request;
        copy.templateName = AnsiOf(name);
        try {
            return TemplateGallery::Page{PrepareLetter(std::move(copy)).Page(), base};
        } catch (const Error&) {
            return std::nullopt; // an unreadable template keeps its preview
        }
    };
}

LetterPage::~LetterPage() {
    if (pictureWork_.joinable()) {
        pictureWork_.join();
    }
}

void LetterPage::MakePicturesAside() {
    if (!pictureWorkDone_) {
        return; // the refresh at its end looks again
    }
    // Taken from the document only when there is work, not on every check.
    LetterRequest request =
        RequestOf(document_, programFolder_, SavedPlacement(document_.EmbedPictures()), {});
    request.pictureCache = &pictures_;
    std::string work = request.templateName.value_or("");
    for (const Tag field : kPictureTags) {
        work += '\n' + request.configuration.Text(field);
    }
    if (work == madeAside_) {
        return;
    }
    madeAside_ = work;
    if (pictureWork_.joinable()) {
        pictureWork_.join();
    }
    if (!pictureMaker_) {
        pictureMaker_ = std::make_unique<VipsPictureMaker>();
    }
    request.pictureMaker = pictureMaker_.get();
    pictureWorkDone_ = false;
    pictureWork_ = std::thread([this, request = std::move(request)]() mutable {
        try {
            PrepareLetter(std::move(request));
        } catch (const std::exception& failure) {
            LogNote(LogTopic::Generation,
                    std::string("Pictures were not made ahead: ") + failure.what());
        }
        pictureWorkDone_ = true;
        QMetaObject::invokeMethod(
            pictureWorkContext_.get(), [this] { RefreshCheck(); }, Qt::QueuedConnection);
    });
}

void LetterPage::ShowPictureReports(const std::array<PictureReport, 3>& reports) {
    const auto& fields = kPictureTags;
    const auto text = [](const std::string& ansi) { return QStringOfAnsi(ansi); };
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const PictureReport& report = reports[i];
        const std::string picture = document_.Configuration().Text(fields[i]);
        if (QLabel* note = controls_.pictureNotes[i]) {
            QString said;
            const QString original =
                report.size
                    ? QStringLiteral("%1 %2, %3x%4")
                          .arg(text(report.kind.empty() ? "Picture" : report.kind),
                               text(ByteCountText(report.originalBytes)))
                          .arg(report.size->width)
                          .arg(report.size->height)
                    : QStringLiteral("Picture %1").arg(text(ByteCountText(report.originalBytes)));
            switch (report.outcome) {
            case PictureOutcome::None:
                break;
            case PictureOutcome::Made:
                said = original + QStringLiteral(" \u2192 %1 on a phone, %2 on a wide screen")
                                      .arg(text(ByteCountText(report.phoneBytes)),
                                           text(ByteCountText(report.wideBytes)));
                break;
            case PictureOutcome::Pending:
                said = original + QStringLiteral(" \u2192 being made for the web\u2026");
                break;
            case PictureOutcome::AsIs:
                said = original + QStringLiteral(", sent as it is");
                break;
            case PictureOutcome::Unreadable:
                said = report.reason.empty() ? QStringLiteral("The picture cannot be read.")
                                             : text(report.reason);
                break;
            }
            note->setText(said);
            note->setVisible(!said.isEmpty());
        }
        QLabel* thumbnail = controls_.pictureThumbnails[i];
        if (thumbnail == nullptr || thumbnailOf_[i] == picture) {
            continue;
        }
        // Read again only when the field names another picture; shrunk while it is read.
        thumbnailOf_[i] = picture;
        QImage image;
        if (report.outcome != PictureOutcome::None) {
            QImageReader reader(QStringOfAnsi(picture));
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid()) {
                reader.setScaledSize(size.scaled(QSize(64, 48), Qt::KeepAspectRatio));
            }
            image = reader.read();
        }
        thumbnail->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
        thumbnail->setVisible(!image.isNull());
    }
}

std::vector<Finding> LetterPage::CheckCurrentLetter() {
    LetterRequest request =
        RequestOf(document_, programFolder_, SavedPlacement(document_.EmbedPictures()), {});
    request.templates = &checkedTemplates_;
    // Only pictures made before: the check runs while the user types, and never waits.
    request.pictureCache = &pictures_;
    try {
        const PreparedLetter letter = PrepareLetter(std::move(request));
        ShowPictureReports(letter.pictureReports);
        if (letter.PicturesPending()) {
            MakePicturesAside();
        }
        return letter.Check();
    } catch (const Error&) {
        // Reported as a missing template; saving reports the read failure itself.
        request = RequestOf(document_, programFolder_, SavedPlacement(document_.EmbedPictures()),
                            std::string());
        return PrepareLetter(std::move(request)).Check();
    }
}

void LetterPage::RefreshCheck() {
    if (controls_.checkList == nullptr) {
        return;
    }
    const auto findings = CheckCurrentLetter();
    QStyle* style = QApplication::style();
    const auto icon = [style](Severity severity) {
        switch (severity) {
        case Severity::Error:
            return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case Severity::Warning:
            return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case Severity::Tip:
            break;
        }
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    };
    // Keeps the chosen row where the list stays the same length, so a refresh while the user
    // moves through it does not throw the selection away.
    const int row = controls_.checkList->currentRow();
    controls_.checkList->clear();
    for (const auto& finding : findings) {
        QString text = QStringOfAnsi(finding.sentence);
        if (!finding.action.empty()) {
            text += QStringLiteral(" ") + QStringOfAnsi(finding.action);
        }
        auto* item = new QListWidgetItem(icon(finding.severity), text, controls_.checkList);
        item->setData(Qt::UserRole,
                      QVariant::fromValue(static_cast<qulonglong>(finding.field.Ordinal())));
        item->setData(kSeverityRole, static_cast<int>(finding.severity));
        item->setToolTip(QString::fromUtf8(SeverityName(finding.severity)));
    }
    if (findings.empty()) {
        // An empty box reads as a check that did not run; this line is no finding and leads
        // nowhere (it holds no field).
        new QListWidgetItem(style->standardIcon(QStyle::SP_DialogApplyButton),
                            QStringLiteral("No problems found: the letter is ready to save."),
                            controls_.checkList);
    }
    if (row >= 0 && row < controls_.checkList->count()) {
        controls_.checkList->setCurrentRow(row);
    }
}

std::optional<LetterField> LetterPage::FieldOfFinding(const QListWidgetItem& item) {
    bool ok = false;
    const qulonglong ordinal = item.data(Qt::UserRole).toULongLong(&ok);
    return ok ? LetterField::FromOrdinal(ordinal) : std::nullopt;
}

std::optional<Severity> LetterPage::SeverityOfFinding(const QListWidgetItem& item) {
    bool ok = false;
    const int severity = item.data(kSeverityRole).toInt(&ok);
    return ok ? std::optional<Severity>(static_cast<Severity>(severity)) : std::nullopt;
}

void LetterPage::Finish() {
    const std::string fileName = document_.OutputFileName();
    if (fileName.empty()) {
        messages_.Warning(
            QStringLiteral("Please select a location where you want to save your output file."));
        return;
    }
    const PreparedLetter letter = PrepareForSaving();
    // The pictures go beside the letter first; an empty template still gets them, though no
    // page is written (and without a template there are none).
    WriteLetterFiles(letter.files, fileName);
    const std::string page = letter.Page();
    if (page.empty()) {
        return;
    }
    WriteLetter(fileName, page, letter.encoding);
    messages_.Information(QStringLiteral("You have successfully saved your file as:") +
                          QStringOfAnsi(fileName));
}

} // namespace scribvane
