// Step 8 on the real window: the template chooser and its preview, and "Save generated code"
// end to end, compared byte for byte with the headless generator run on the saved
// configuration.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "generation/Html5Blocks.h"
#include "generation/LetterPage.h"
#include "generation/LetterPreviewWindow.h"
#include "generation/TemplateGallery.h"
#include "persistence/ConfigurationForm.h"
#include "persistence/LetterDocument.h"
#include "tests/support/ReadyWindow.h"
#include "tests/support/TempDir.h"
#include "widgets/ColorChooser.h"
#include "widgets/DeadlineEdit.h"
#include "widgets/SizeSpinEdit.h"

#include <QAccessible>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <functional>

using namespace scribvane;
using scribvane::testing::Control;
using scribvane::testing::EditorsReady;
using scribvane::testing::kEditorsReadyTimeoutMs;
using scribvane::testing::MakeShownWindow;
using scribvane::testing::Probe;
using scribvane::testing::RecordingMessageService;
using scribvane::testing::TempDir;

namespace fs = std::filesystem;

namespace {

QStringList Items(const QComboBox& chooser) {
    QStringList items;
    for (int index = 0; index < chooser.count(); ++index) {
        items << chooser.itemText(index);
    }
    return items;
}

QString PathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

class LetterWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void catalogueAndPreview_data();
    void catalogueAndPreview();
    void changingTheChoiceShowsOrHidesThePreview();
    void finishStopsEarly_data();
    void finishStopsEarly();
    void finishWritesWhatTheHeadlessGeneratorWrites();
    void letterCheckLeadsToTheFieldAndEmbeddingKeepsOneFile();
    void previewFollowsAnEditAndWritesNothing();
    void galleryTileChoosesTheTemplateAndShowsTheLetter();
    void galleryRendersOnlyWhatChangedWhileItIsSeen();
    void chosenTileSurvivesSaveAndLoadAndTheCommandWritesIt();
    void previewShowsALargePageAndSaysWhenItCannot();
    void checkKeepsTheTemplateUntilItChanges();
    void pictureNotesSayWhatAVisitorLoadsAndTheUserMayKeepOriginals();
    void checkFollowsWhatWasWritten();
    void aClickBankLetterIsLedToTheSellerAndGetsItsPolicyPages();
    void countersTrackersAndASecondHeadlineGoFromTheWindowIntoTheLetter();

private:
    fs::path Folder() const { return fs::path(folder_.path().toStdString()); }
    fs::path Templates() const { return Folder() / "Templates"; }
    // Empties the program folder's template folder, then puts the named files in it: ".jpg"
    // files as pictures of the given size (or damaged bytes), the rest as small templates.
    void MakeTemplates(const QStringList& files, QSize pictureSize);
    void FillTheLetter(const fs::path& picture);
    // The shipped templates in the program folder, listed, and a small local picture.
    fs::path ShippedTemplatesAndAPicture(TfrmMain& window, Qt::GlobalColor color);

    QTemporaryDir folder_;
    QTemporaryDir output_;
    RecordingMessageService messages_;
    std::unique_ptr<TfrmMain> window_;
};

void LetterWindowTest::initTestCase() {
    QVERIFY(folder_.isValid() && output_.isValid());
    window_ = MakeShownWindow(folder_.path(), messages_);
    QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*window_), kEditorsReadyTimeoutMs);
    ScribvaneApplication::instance()->SetFailureReporter(
        [this](const QString& text) { Probe(*window_).msgMain().Error(text); });
}

void LetterWindowTest::cleanupTestCase() {
    ScribvaneApplication::instance()->SetFailureReporter({});
    window_.reset();
}

void LetterWindowTest::init() {
    messages_.messages.clear();
    Control<QGroupBox>(*window_, "bsSkinGroupBox1")->hide();
    for (const auto& entry : fs::directory_iterator(output_.path().toStdString())) {
        fs::remove_all(entry.path());
    }
}

void LetterWindowTest::MakeTemplates(const QStringList& files, QSize pictureSize) {
    fs::remove_all(Templates());
    if (files.isEmpty()) {
        return;
    }
    fs::create_directory(Templates());
    for (const QString& name : files) {
        // Latin-1 here: a name may hold Windows-1252 bytes that are not UTF-8.
        const fs::path file = Templates() / name.toLatin1().toStdString();
        if (!name.endsWith(QStringLiteral(".jpg"))) {
            TempDir::WriteFile(file, "<html>%%PAGETITLE%%</html>\r\n");
        } else if (pictureSize.isEmpty()) {
            TempDir::WriteFile(file, "this is not a picture");
        } else {
            QImage picture(pictureSize, QImage::Format_RGB32);
            picture.fill(Qt::darkCyan);
            QBuffer jpeg;
            jpeg.open(QIODevice::WriteOnly);
            QVERIFY(picture.save(&jpeg, "JPEG"));
            TempDir::WriteFile(file, jpeg.data().toStdString());
        }
    }
}

void LetterWindowTest::catalogueAndPreview_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("previewShown");
    // Runs of the change handler; -1 when it fails, which ends the signal before the spy.
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("error");
    const QSize small(120, 80);
    QTest::newRow("in catalogue order, first selected with its preview")
        << QStringList{"sales.tem", "Classic.tem", "Classic.jpg"} << small
        << QStringList{"Classic", "Sales"} << true << 1 << QString();
    QTest::newRow("the preview is found without regard to letter case")
        << QStringList{"sales.tem", "sales.jpg"} << small << QStringList{"Sales"} << true << 1
        << QString();
    QTest::newRow("no preview hides the group")
        << QStringList{"Classic.tem", "Other.jpg"} << small << QStringList{"Classic"} << false << 1
        << QString();
    QTest::newRow("a name in Windows-1252 bytes")
        << QStringList{"caf\u00e9.tem", "CAF\u00e9.jpg"} << small
        << QStringList{QStringLiteral("Caf\u00e9")} << true << 1 << QString();
    QTest::newRow("a preview larger than the group keeps its size")
        << QStringList{"Big.tem", "Big.jpg"} << QSize(600, 400) << QStringList{"Big"} << true << 1
        << QString();
    QTest::newRow("no folder") << QStringList{} << small << QStringList{} << false << 0
                               << QString();
    QTest::newRow("a preview that does not decode is reported")
        << QStringList{"Bad.tem", "Bad.jpg"} << QSize() << QStringList{"Bad"} << true << -1
        << QStringLiteral("The preview picture \"%1/Templates/Bad.jpg\" cannot be shown.");
}

void LetterWindowTest::catalogueAndPreview() {
    QFETCH(QStringList, files);
    QFETCH(QSize, pictureSize);
    QFETCH(QStringList, items);
    QFETCH(bool, previewShown);
    QFETCH(int, changes);
    QFETCH(QString, error);
    MakeTemplates(files, pictureSize);
    Control<QLabel>(*window_, "Image1")->clear();
    QSignalSpy changed(Control<QComboBox>(*window_, "cbxTemplates"),
                       &QComboBox::currentTextChanged);

    // As at start-up: a failure is reported and start-up goes on.
    Probe(*window_).RunStartUpStep([this] { window_->FillTemplateList(); });

    QCOMPARE(Items(*Control<QComboBox>(*window_, "cbxTemplates")), items);
    QCOMPARE(Control<QComboBox>(*window_, "cbxTemplates")->currentIndex(),
             items.isEmpty() ? -1 : 0);
    if (changes >= 0) {
        QCOMPARE(changed.count(), changes);
    }
    QCOMPARE(!Control<QGroupBox>(*window_, "bsSkinGroupBox1")->isHidden(), previewShown);
    if (error.isEmpty()) {
        QVERIFY2(messages_.messages.isEmpty(), qPrintable(messages_.texts().join(u'\n')));
    } else {
        QCOMPARE(messages_.messages.size(), 1);
        QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
        QVERIFY2(messages_.messages[0].text.startsWith(error.arg(folder_.path())),
                 qPrintable(messages_.messages[0].text));
    }
    if (previewShown && error.isEmpty()) {
        // At its own size, not scaled, in a picture control that keeps its own size.
        QCOMPARE(Control<QLabel>(*window_, "Image1")->pixmap().size(), pictureSize);
        QCOMPARE(Control<QLabel>(*window_, "Image1")->size(), QSize(400, 290));
        QVERIFY(Control<QLabel>(*window_, "Image1")->alignment() & Qt::AlignCenter);
    }
}

void LetterWindowTest::changingTheChoiceShowsOrHidesThePreview() {
    MakeTemplates({"Alpha.tem", "alpha.jpg", "Beta.tem"}, QSize(30, 20));
    window_->FillTemplateList();
    QVERIFY(!Control<QGroupBox>(*window_, "bsSkinGroupBox1")->isHidden());
    Control<QComboBox>(*window_, "cbxTemplates")->setCurrentIndex(1);
    QVERIFY(Control<QGroupBox>(*window_, "bsSkinGroupBox1")->isHidden());
    // The hidden group still holds the earlier picture.
    QCOMPARE(Control<QLabel>(*window_, "Image1")->pixmap().size(), QSize(30, 20));
    Control<QComboBox>(*window_, "cbxTemplates")->setCurrentIndex(0);
    QVERIFY(!Control<QGroupBox>(*window_, "bsSkinGroupBox1")->isHidden());
    QVERIFY(messages_.messages.isEmpty());
}

void LetterWindowTest::finishStopsEarly_data() {
    QTest::addColumn<QString>("fileName"); // %1: the output folder
    QTest::addColumn<bool>("withTemplate");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // the start of it
    QTest::newRow("no output name")
        << "" << true << "warning"
        << "Please select a location where you want to save your output file.";
    QTest::newRow("no template: nothing written, nothing said") << "%1/letter.html" << false << ""
                                                                << "";
    QTest::newRow("a missing folder is reported")
        << "%1/missing/letter.html" << true << "error"
        << "Cannot create file \"%1/missing/letter.html\". No such file or directory";
}

void LetterWindowTest::finishStopsEarly() {
    QFETCH(QString, fileName);
    QFETCH(bool, withTemplate);
    QFETCH(QString, kind);
    QFETCH(QString, message);
    MakeTemplates(withTemplate ? QStringList{"Plain.tem"} : QStringList{}, QSize());
    window_->FillTemplateList();
    Control<QLineEdit>(*window_, "edtPageTitle")->setText(QStringLiteral("Title"));
    Control<QLineEdit>(*window_, "edtFilename")
        ->setText(fileName.isEmpty() ? fileName : fileName.arg(output_.path()));

    QTest::mouseClick(Control<QPushButton>(*window_, "btnFinish"), Qt::LeftButton);
    if (kind.isEmpty()) {
        QVERIFY(messages_.messages.isEmpty());
    } else {
        QCOMPARE(messages_.messages.size(), 1);
        QCOMPARE(messages_.messages[0].kind, kind);
        QCOMPARE(messages_.messages[0].text, message.arg(output_.path()));
    }
    QVERIFY(fs::is_empty(output_.path().toStdString()));
}

void LetterWindowTest::FillTheLetter(const fs::path& picture) {
    TfrmMain& w = *window_;
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("Tom & Jerry's caf\u00e9"));
    Control<QLineEdit>(w, "edtFullName")->setText(QStringLiteral("Ann Author"));
    Control<QLineEdit>(w, "edtCurrentDate")->setText(QStringLiteral("1 May"));
    Control<QLineEdit>(w, "edtHeaderPicture")->setText(PathText(picture));
    Control<QLineEdit>(w, "edtCoverPicture")
        ->setText(QStringLiteral("http://pictures.invalid/cover.jpg"));
    Control<QLineEdit>(w, "edtFooterPicture")->setText(QString());
    Control<ColorChooser>(w, "cbxMainBgColor")->SelectColor(0x00CCFFu);
    Control<QLineEdit>(w, "edtAttention")->setText(QStringLiteral("Read this"));
    Control<HtmlEditor>(w, "prfEditor1")
        ->SetDocumentHTML(QStringLiteral("<div><b>Big</b> news</div>"));
    Control<HtmlEditor>(w, "prfEditor2")
        ->SetDocumentHTML(QStringLiteral("<div>Dear friend,</div><div>hello</div>"));
    Control<HtmlEditor>(w, "prfEditor3")
        ->SetDocumentHTML(QStringLiteral("<div><i>The product</i></div>"));
    Control<HtmlEditor>(w, "prfEditor10")->SetDocumentHTML(QStringLiteral("<div>Buy now</div>"));
    Control<HtmlEditor>(w, "prfEditor11")->SetDocumentHTML(QString()); // empty: no "P.S." at all
    // The lists as the user makes them; the letter reads them from the letter document.
    for (const auto& [title, body] :
         {std::pair{"Fast", "first\nsecond"}, std::pair{"Cheap", "yes"}}) {
        Control<QLineEdit>(w, "edtFeatureTitle")->setText(QString::fromLatin1(title));
        Control<QPlainTextEdit>(w, "memFeatureBody")->setPlainText(QString::fromLatin1(body));
        Control<QPushButton>(w, "btnCreateFeat")->click();
    }
    Control<QLineEdit>(w, "edtTestName")->setText(QStringLiteral("Ann"));
    Control<QLineEdit>(w, "edtTestWebsite")->setText(QStringLiteral("ann.example"));
    Control<QPlainTextEdit>(w, "memTest")->setPlainText(QStringLiteral("Great\nstuff"));
    Control<QPushButton>(w, "btnCreateTest")->click();
    Control<SizeSpinEdit>(w, "cbxFSize")->setValue(15);
    Control<QCheckBox>(w, "chkFBold")->setChecked(true);
    Control<QCheckBox>(w, "chkTItalic")->setChecked(true);
    Control<QLineEdit>(w, "edtDirectLink")->setText(QStringLiteral("http://order.invalid/buy"));
    Control<QLineEdit>(w, "edtClickBankName")->setText(QStringLiteral("seller"));
    Control<QLineEdit>(w, "edtProductName")->setText(QStringLiteral("product"));
    Control<QLineEdit>(w, "edtDescription")->setText(QStringLiteral("a fine product"));
    Control<QPlainTextEdit>(w, "memPaypalCode")
        ->setPlainText(QStringLiteral("<form>\n<input type=\"submit\">\n</form>"));
    Control<QLineEdit>(w, "edtPaypalEmail")->setText(QStringLiteral("pay@example.invalid"));
}

void LetterWindowTest::finishWritesWhatTheHeadlessGeneratorWrites() {
    fs::remove_all(Templates());
    fs::copy(SCRIBVANE_TEMPLATES_DIR, Templates());
    window_->FillTemplateList();
    QVERIFY(Control<QComboBox>(*window_, "cbxTemplates")->count() >= 1);

    const fs::path picture = Folder() / "header.png";
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(PathText(picture), "PNG"));
    FillTheLetter(picture);

    const fs::path letter = fs::path(output_.path().toStdString()) / "letter.html";
    TempDir::WriteFile(letter, "an older letter that is replaced without a question");
    Control<QLineEdit>(*window_, "edtFilename")->setText(PathText(letter));
    QTest::mouseClick(Control<QPushButton>(*window_, "btnFinish"), Qt::LeftButton);
    QCOMPARE(messages_.texts(),
             QStringList{QStringLiteral("You have successfully saved your file as:") +
                         PathText(letter)});
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("information"));
    const std::string page = TempDir::Read(letter);
    // The shipped templates declare UTF-8, so the letter is written in it.
    QVERIFY(page.find("Tom & Jerry's caf\xC3\xA9") != std::string::npos);
    QVERIFY(page.find("older letter") == std::string::npos);
    QVERIFY(page.find("P.S.") == std::string::npos);
    for (const char* merged : {"<b>Big</b> news", "Dear friend,", "Fast", "first<br>second",
                               "Great<br>stuff", "http://pictures.invalid/cover.jpg"}) {
        QVERIFY2(page.find(merged) != std::string::npos, merged);
    }
    QVERIFY(page.ends_with("\r\n"));
    // The local picture was made for the web: its WebP and fallback lie beside the letter,
    // named in it, and the original stays home.
    QVERIFY(!fs::exists(letter.parent_path() / "header.png"));
    const auto srcset = page.find("srcset=\"header-12-");
    QVERIFY(srcset != std::string::npos);
    const std::string webp = page.substr(srcset + 8, page.find(' ', srcset) - srcset - 8);
    QVERIFY2(fs::exists(letter.parent_path() / webp), webp.c_str());

    // The same letter from the saved configuration, by the headless generator.
    Control<QPushButton>(*window_, "btnSave")->click();
    QVERIFY(messages_.messages.size() == 1);
    const fs::path other = fs::path(output_.path().toStdString()) / "other";
    fs::create_directory(other);
    QProcess generator;
    generator.start(QStringLiteral(SCRIBVANE_BIN_DIR "/scribvane-generate"),
                    {QStringLiteral("--config"), PathText(Folder() / "config.dat"),
                     QStringLiteral("--templates"), PathText(Templates()),
                     QStringLiteral("--output"), PathText(other / "letter.html")});
    QVERIFY(generator.waitForFinished(60000));
    QCOMPARE(generator.exitCode(), 0);
    QCOMPARE(QByteArray::fromStdString(TempDir::Read(other / "letter.html")),
             QByteArray::fromStdString(page));
    QCOMPARE(TempDir::Read(other / webp), TempDir::Read(letter.parent_path() / webp));
}

namespace {

QListWidgetItem* FindingOf(const QListWidget& list, LetterField field) {
    for (int row = 0; row < list.count(); ++row) {
        if (LetterPage::FieldOfFinding(*list.item(row)) == field) {
            return list.item(row);
        }
    }
    return nullptr;
}

} // namespace

fs::path LetterWindowTest::ShippedTemplatesAndAPicture(TfrmMain& window, Qt::GlobalColor color) {
    fs::remove_all(Templates());
    fs::copy(SCRIBVANE_TEMPLATES_DIR, Templates());
    window.FillTemplateList();
    const fs::path picture = Folder() / "header.png";
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(color);
    image.save(PathText(picture), "PNG"); // the callers verify that it was written
    return picture;
}

void LetterWindowTest::letterCheckLeadsToTheFieldAndEmbeddingKeepsOneFile() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::blue);
    QVERIFY(fs::is_regular_file(picture));
    FillTheLetter(picture);
    // The shipped templates quote and complete a website, so a "^" that splits the record is
    // what the check still finds in a testimonial.
    Control<QLineEdit>(w, "edtTestName")->setText(QStringLiteral("Ann"));
    Control<QLineEdit>(w, "edtTestWebsite")->setText(QStringLiteral("ann.example"));
    Control<QPlainTextEdit>(w, "memTest")->setPlainText(QStringLiteral("Great^more"));
    Control<QPushButton>(w, "btnCreateTest")->click();
    Control<QLineEdit>(w, "edtDirectLink")->setText(QStringLiteral("www.shop.example"));
    const fs::path letter = fs::path(output_.path().toStdString()) / "letter.html";
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter));

    // Shown with step 8, and kept up to date while it is shown.
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    w.Document().SettleNow();
    QTRY_VERIFY(FindingOf(*Control<QListWidget>(w, "lstLetterCheck"),
                          LetterField(Tag::DirectLink)) != nullptr);
    QVERIFY(FindingOf(*Control<QListWidget>(w, "lstLetterCheck"), LetterField(Tag::Testimonials)) !=
            nullptr);
    QVERIFY(FindingOf(*Control<QListWidget>(w, "lstLetterCheck"), LetterField::Output()) ==
            nullptr);
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter.parent_path() / "letter.txt"));
    QTRY_VERIFY(FindingOf(*Control<QListWidget>(w, "lstLetterCheck"), LetterField::Output()) !=
                nullptr);
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter));
    QTRY_VERIFY(FindingOf(*Control<QListWidget>(w, "lstLetterCheck"), LetterField::Output()) ==
                nullptr);

    // The check informs and never blocks; embedding leaves the picture where it is.
    Control<QCheckBox>(w, "chkEmbedPictures")->setChecked(true);
    QTest::mouseClick(Control<QPushButton>(w, "btnFinish"), Qt::LeftButton);
    QCOMPARE(messages_.texts(),
             QStringList{QStringLiteral("You have successfully saved your file as:") +
                         PathText(letter)});
    // Made for the web first: the one picture inside the page is a WebP.
    QVERIFY(TempDir::Read(letter).find("src=\"data:image/webp;base64,") != std::string::npos);
    QVERIFY(!fs::exists(letter.parent_path() / "header.png"));
    Control<QCheckBox>(w, "chkEmbedPictures")->setChecked(false);

    // A finding leads to its page and its field.
    for (const auto& [field, control] :
         {std::pair{LetterField(Tag::DirectLink),
                    static_cast<QWidget*>(Control<QLineEdit>(w, "edtDirectLink"))},
          std::pair{LetterField(Tag::Testimonials),
                    static_cast<QWidget*>(Control<QListWidget>(w, "lbxTestimonials"))}}) {
        Control<QStackedWidget>(w, "pgcMain")
            ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
        QListWidgetItem* item = nullptr;
        QTRY_VERIFY((item = FindingOf(*Control<QListWidget>(w, "lstLetterCheck"), field)) !=
                    nullptr);
        Q_EMIT Control<QListWidget>(w, "lstLetterCheck")->itemActivated(item);
        QTRY_VERIFY(Control<QStackedWidget>(w, "pgcMain")->currentWidget()->isAncestorOf(control));
        QTRY_COMPARE(w.focusWidget(), control);
    }
}

void LetterWindowTest::previewFollowsAnEditAndWritesNothing() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::green);
    QVERIFY(fs::is_regular_file(picture));
    FillTheLetter(picture);
    Control<QLineEdit>(w, "edtFilename")
        ->setText(PathText(fs::path(output_.path().toStdString()) / "letter.html"));

    Control<QPushButton>(w, "btnPreview")->click();
    auto* preview = w.findChild<LetterPreviewWindow*>();
    QVERIFY(preview != nullptr);
    QTRY_VERIFY(preview->isVisible());
    Control<QPushButton>(w, "btnPreview")->click(); // one preview at a time
    QCOMPARE(w.findChildren<LetterPreviewWindow*>().size(), 1);

    // "Choose Design..." leads to step 8, and Back and Next follow.
    Control<QStackedWidget>(w, "pgcMain")->setCurrentIndex(0);
    Q_EMIT preview->designRequested();
    QCOMPARE(Control<QStackedWidget>(w, "pgcMain")->currentWidget(),
             Control<QWidget>(w, "bsSkinTabSheet12"));
    QVERIFY(Control<QPushButton>(w, "btnBack")->isEnabled());
    QVERIFY(!Control<QPushButton>(w, "btnNext")->isEnabled());

    // Asks the view for its page and answers from the latest page it gave; QTRY polls it.
    QString latest;
    bool asking = false;
    const auto shows = [&](const QString& needle) {
        if (!asking) {
            asking = true;
            preview->view()->page()->toHtml([&](const QString& html) {
                latest = html;
                asking = false;
            });
        }
        return latest.contains(needle);
    };
    QTRY_VERIFY_WITH_TIMEOUT(shows(QStringLiteral("Big</b> news")), 10000);

    QSignalSpy shown(preview, &LetterPreviewWindow::shown);
    Control<QLineEdit>(w, "edtPageTitle")->setFocus();
    QTest::keyClicks(Control<QLineEdit>(w, "edtPageTitle"), QStringLiteral(" follows"));
    QVERIFY(shown.wait(10000));
    QTRY_VERIFY_WITH_TIMEOUT(shows(QStringLiteral("caf\u00e9 follows")), 10000);
    QVERIFY(latest.contains(QStringLiteral("file://")));
    QVERIFY(fs::is_empty(output_.path().toStdString()));
    QTRY_VERIFY(!asking); // no answer may arrive after the test
    preview->close();
}

void LetterWindowTest::galleryTileChoosesTheTemplateAndShowsTheLetter() {
    TfrmMain& w = *window_;
    MakeTemplates({"Alpha.tem", "Alpha.jpg", "Beta.tem"}, QSize(40, 30));
    w.FillTemplateList();
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    TemplateGallery& gallery = *Control<TemplateGallery>(w, "galTemplates");
    QTRY_COMPARE(gallery.count(), 2);
    QCOMPARE(gallery.item(1)->text(), QStringLiteral("Beta"));
    QCOMPARE(gallery.currentRow(), 0);
    QVERIFY(!gallery.ShowsLetter(0)); // the stock preview until the letter is rendered

    // By keyboard and by mouse, as the chooser's own selection, so its handler runs.
    QSignalSpy changed(Control<QComboBox>(w, "cbxTemplates"), &QComboBox::currentTextChanged);
    gallery.setFocus();
    QTest::keyClick(&gallery, Qt::Key_Right);
    QCOMPARE(Control<QComboBox>(w, "cbxTemplates")->currentText(), QStringLiteral("Beta"));
    QTest::mouseClick(gallery.viewport(), Qt::LeftButton, {},
                      gallery.visualItemRect(gallery.item(0)).center());
    QCOMPARE(Control<QComboBox>(w, "cbxTemplates")->currentText(), QStringLiteral("Alpha"));
    QCOMPARE(changed.count(), 2);
    QVERIFY(!Control<QGroupBox>(w, "bsSkinGroupBox1")
                 ->isHidden()); // Alpha's preview, as the handler shows it
    Control<QComboBox>(w, "cbxTemplates")->setCurrentIndex(1);
    QCOMPARE(gallery.currentRow(), 1);

    // Each tile shows the letter merged into its own template.
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("Gallery"));
    gallery.invalidate();
    QTRY_VERIFY_WITH_TIMEOUT(gallery.ShowsLetter(0) && gallery.ShowsLetter(1), 20000);
    // The page's text drawn, not a blank grab.
    const QImage thumbnail = gallery.Thumbnail(0);
    bool drawn = false;
    for (int y = 0; y < thumbnail.height() && !drawn; ++y) {
        for (int x = 0; x < thumbnail.width() && !drawn; ++x) {
            drawn = thumbnail.pixel(x, y) != thumbnail.pixel(0, thumbnail.height() - 1);
        }
    }
    QVERIFY(drawn);
    // Assistive technology finds each design once: the hidden chooser's items are not shown.
    const std::function<int(QAccessibleInterface*, const QString&)> shown =
        [&shown](QAccessibleInterface* node, const QString& name) {
            if (node == nullptr || node->state().invisible) {
                return 0;
            }
            int found = node->text(QAccessible::Name) == name ? 1 : 0;
            for (int child = 0; child < node->childCount(); ++child) {
                found += shown(node->child(child), name);
            }
            return found;
        };
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    QCOMPARE(shown(QAccessible::queryAccessibleInterface(&w), gallery.item(1)->text()), 1);
    // The preview group shows the user's letter in the chosen design, not its stock picture.
    const QImage letter = gallery.LetterPicture(gallery.item(1)->text());
    QVERIFY(!letter.isNull());
    QTRY_COMPARE(Control<QLabel>(w, "Image1")->pixmap().toImage(),
                 letter.convertToFormat(Control<QLabel>(w, "Image1")->pixmap().toImage().format()));
    // The window that draws the thumbnails lies beyond every screen and lets clicks through:
    // on X11 it is mapped, and it once lay over the whole screen and took every click.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top != &w) {
            QVERIFY(top->windowFlags().testFlag(Qt::WindowTransparentForInput));
            for (const QScreen* screen : QGuiApplication::screens()) {
                QVERIFY(!top->frameGeometry().intersects(screen->geometry()));
            }
        }
    }
    QVERIFY(messages_.messages.isEmpty());
}

void LetterWindowTest::galleryRendersOnlyWhatChangedWhileItIsSeen() {
    QComboBox chooser;
    chooser.addItems({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    TemplateGallery gallery(&chooser, nullptr);
    QString betaText = QStringLiteral("one");
    int snapshots = 0;
    gallery.SetSource(Templates(), [&] {
        ++snapshots;
        return [text = betaText.toStdString()](const QString& name) {
            return std::optional(TemplateGallery::Page{
                "<p>" + name.toStdString() + (name == QStringLiteral("Beta") ? text : "") + "</p>",
                QUrl()});
        };
    });
    QSignalSpy rendered(&gallery, &TemplateGallery::thumbnailReady);
    const auto settle = [&] { QTRY_VERIFY_WITH_TIMEOUT(!gallery.Busy(), 20000); };

    gallery.show();
    settle();
    QCOMPARE(rendered.count(), 2);
    rendered.clear();
    gallery.invalidate(); // nothing changed
    settle();
    QCOMPARE(rendered.count(), 0);
    betaText = QStringLiteral("two");
    gallery.invalidate();
    settle();
    QCOMPARE(rendered.count(), 1);
    QCOMPARE(rendered.takeFirst().at(0).toString(), QStringLiteral("Beta"));

    // Hidden, it does not even take the letter; shown again, it catches up.
    gallery.hide();
    betaText = QStringLiteral("three");
    const int taken = snapshots;
    gallery.invalidate();
    settle();
    QCOMPARE(snapshots, taken);
    gallery.show();
    settle();
    QCOMPARE(rendered.count(), 1);
}

void LetterWindowTest::chosenTileSurvivesSaveAndLoadAndTheCommandWritesIt() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::green);
    QVERIFY(fs::is_regular_file(picture));
    FillTheLetter(picture);
    Control<QLineEdit>(w, "edtPageDescription")->setText(QStringLiteral(u"Ein Brief über Łódź"));
    Control<QLineEdit>(w, "edtLanguage")->setText(QStringLiteral("de"));
    Control<QLineEdit>(w, "edtHeaderPictureDescription")->setText(QStringLiteral("A green square"));
    QLineEdit* heading = Control<QLineEdit>(w, "edtOrderHeading");
    QTest::keyClicks(heading, QStringLiteral("Yours & now"));
    Control<QLineEdit>(w, "edtPriceLine")->setText(QStringLiteral(u"Only 27 €"));
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    TemplateGallery& gallery = *Control<TemplateGallery>(w, "galTemplates");
    QTRY_VERIFY(gallery.count() >= 2);
    gallery.setCurrentRow(0);
    gallery.setFocus();
    QTest::keyClick(&gallery, Qt::Key_Right);
    const QString chosen = gallery.item(1)->text();
    QCOMPARE(Control<QComboBox>(w, "cbxTemplates")->currentText(), chosen);

    const fs::path letter = fs::path(output_.path().toStdString()) / "chosen.html";
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter));
    messages_.messages.clear();
    QTest::mouseClick(Control<QPushButton>(w, "btnFinish"), Qt::LeftButton);
    Control<QPushButton>(w, "btnSave")->click();
    QCOMPARE(messages_.texts(),
             QStringList{QStringLiteral("You have successfully saved your file as:") +
                         PathText(letter)});
    const std::string page = TempDir::Read(letter);
    QVERIFY(page.find("<html lang=\"de\"") != std::string::npos);
    // In UTF-8, with the characters beyond Windows-1252 as the references they are stored as.
    QVERIFY(page.find("content=\"Ein Brief \xC3\xBC"
                      "ber &#321;\xC3\xB3"
                      "d&#378;\"") != std::string::npos);
    QVERIFY(page.find("alt=\"A green square\"") != std::string::npos);
    QVERIFY(page.find(">Yours &amp; now</h2><p class=\"order-price\">Only 27 \xE2\x82\xAC</p>") !=
            std::string::npos);

    // Another choice, then Load (its question answered "Load Without Saving") brings the
    // stored one back. The heading's hint is the chosen template's own heading.
    const QString chosenHeading = heading->placeholderText();
    QCOMPARE(chosenHeading.toStdString(),
             OrderHeadingOfTemplate(TempDir::Read(Templates() / (chosen.toStdString() + ".tem"))));
    Control<QComboBox>(w, "cbxTemplates")->setCurrentIndex(0);
    QVERIFY(heading->placeholderText() != chosenHeading);
    Control<QLineEdit>(w, "edtLanguage")->setText(QStringLiteral("pl"));
    Control<QPushButton>(w, "btnLoad")->click();
    QCOMPARE(Control<QComboBox>(w, "cbxTemplates")->currentText(), chosen);
    QCOMPARE(gallery.currentRow(), 1);
    QCOMPARE(Control<QLineEdit>(w, "edtLanguage")->text(), QStringLiteral("de"));
    QVERIFY(!w.Document().IsModified());
    QTest::keyClicks(Control<QLineEdit>(w, "edtOrderClosing"), QStringLiteral("Go"));
    QVERIFY(w.Document().IsModified());
    Control<QLineEdit>(w, "edtOrderClosing")->clear();
    QVERIFY(!w.Document().IsModified());
    // A finding about any order entry can lead to its own edit.
    QSet<QWidget*> edits;
    for (auto i = Index(OptionalTag::OrderHeading); i <= Index(OptionalTag::PriceLine); ++i) {
        QWidget* edit = Probe(w).ControlOf(static_cast<OptionalTag>(i));
        QVERIFY(Control<QGroupBox>(w, "grpOrderCopy")->isAncestorOf(edit));
        edits.insert(edit);
    }
    QCOMPARE(edits.size(), 6);

    // The command, given no --template, uses the stored one and writes the same bytes.
    const fs::path other = fs::path(output_.path().toStdString()) / "stored";
    fs::create_directory(other);
    QProcess generator;
    generator.start(QStringLiteral(SCRIBVANE_BIN_DIR "/scribvane-generate"),
                    {QStringLiteral("--config"), PathText(Folder() / "config.dat"),
                     QStringLiteral("--templates"), PathText(Templates()),
                     QStringLiteral("--output"), PathText(other / "chosen.html")});
    QVERIFY(generator.waitForFinished(60000));
    QCOMPARE(generator.exitCode(), 0);
    QCOMPARE(QByteArray::fromStdString(TempDir::Read(other / "chosen.html")),
             QByteArray::fromStdString(page));
}

void LetterWindowTest::previewShowsALargePageAndSaysWhenItCannot() {
    TfrmMain& w = *window_;
    ShippedTemplatesAndAPicture(w, Qt::blue);
    // Far above what a page given to the view as text may hold.
    Control<QPlainTextEdit>(w, "memPaypalCode")
        ->setPlainText(QStringLiteral("<p>a line of the order form</p>\n").repeated(100000) +
                       QStringLiteral("LARGE-END"));
    Control<QPushButton>(w, "btnPreview")->click();
    auto* preview = w.findChild<LetterPreviewWindow*>();
    QVERIFY(preview != nullptr);
    bool found = false;
    bool asking = false;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            if (!asking) {
                asking = true;
                preview->view()->page()->runJavaScript(
                    QStringLiteral("document.body ? document.body.innerText.indexOf('LARGE-END') "
                                   ">= 0 : false"),
                    [&](const QVariant& result) {
                        found = result.toBool();
                        asking = false;
                    });
            }
            return found;
        }(),
        20000);
    QVERIFY(!preview->problem()->isVisible());
    QTRY_VERIFY(!asking);

    // Without any template there is no letter to show, and the preview says so.
    MakeTemplates({}, {});
    w.FillTemplateList();
    QTRY_VERIFY_WITH_TIMEOUT(preview->problem()->isVisible(), 10000);
    QVERIFY(preview->problem()->text().startsWith(QStringLiteral("The letter cannot be shown")));
    preview->close();
    Control<QPlainTextEdit>(w, "memPaypalCode")->clear();
}

void LetterWindowTest::checkKeepsTheTemplateUntilItChanges() {
    TfrmMain& w = *window_;
    ShippedTemplatesAndAPicture(w, Qt::blue);
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    LetterPage& page = Probe(w).Letter();
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("a"));
    w.Document().SettleNow();
    const int reads = page.TemplateReads();
    for (const QString& title : {QStringLiteral("ab"), QStringLiteral("abc")}) {
        Control<QLineEdit>(w, "edtPageTitle")->setText(title);
        w.Document().SettleNow();
    }
    QCOMPARE(page.TemplateReads(), reads);
    // A changed file is read again.
    const auto file =
        Templates() / (Control<QComboBox>(w, "cbxTemplates")->currentText().toStdString() + ".tem");
    QVERIFY(fs::exists(file));
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(5));
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("abcd"));
    w.Document().SettleNow();
    QCOMPARE(page.TemplateReads(), reads + 1);
}

void LetterWindowTest::pictureNotesSayWhatAVisitorLoadsAndTheUserMayKeepOriginals() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::green);
    QVERIFY(fs::is_regular_file(picture));
    Control<QComboBox>(w, "cbxTemplates")->setCurrentText(QStringLiteral("Modern"));
    Control<QLineEdit>(w, "edtCoverPicture")->setText(PathText(picture));
    w.Document().SettleNow();
    // Made aside, then shown without a save.
    auto* note = Control<QLabel>(w, "edtCoverPictureWeight");
    QTRY_VERIFY(note->text().contains(QStringLiteral("on a phone")));
    QVERIFY(note->text().startsWith(QStringLiteral("Picture ")));
    QVERIFY(note->text().contains(QStringLiteral("4x3")));
    QVERIFY(!Control<QLabel>(w, "edtCoverPictureThumbnail")->pixmap().isNull());

    Control<QCheckBox>(w, "chkOriginalPictures")->setChecked(true);
    QCOMPARE(w.Document().Configuration().Optional(OptionalTag::OriginalPictures),
             std::string("-1"));
    w.Document().SettleNow();
    QTRY_VERIFY(note->text().endsWith(QStringLiteral("sent as it is")));
    Control<QCheckBox>(w, "chkOriginalPictures")->setChecked(false);
    QCOMPARE(w.Document().Configuration().Optional(OptionalTag::OriginalPictures), std::string());
    Control<QLineEdit>(w, "edtCoverPicture")->clear();
    w.Document().SettleNow();
    QTRY_VERIFY(note->text().isEmpty());
}

void LetterWindowTest::checkFollowsWhatWasWritten() {
    TfrmMain& w = *window_;
    ShippedTemplatesAndAPicture(w, Qt::red);
    Control<QStackedWidget>(w, "pgcMain")
        ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    auto* list = Control<QListWidget>(w, "lstLetterCheck");
    const fs::path folder = fs::path(output_.path().toStdString()) / "made-later";
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(folder / "index.html"));
    w.Document().SettleNow();
    QTRY_VERIFY(FindingOf(*list, LetterField::Output()) != nullptr);
    // The folder is made and the letter saved there: the finding goes without another edit.
    fs::create_directory(folder);
    messages_.messages.clear();
    QTest::mouseClick(Control<QPushButton>(w, "btnFinish"), Qt::LeftButton);
    QVERIFY(fs::exists(folder / "index.html"));
    QVERIFY(FindingOf(*list, LetterField::Output()) == nullptr);
    // Findings lead to their fields; only the all-clear line, alone, leads nowhere.
    for (int row = 0; row < list->count(); ++row) {
        const bool leads = LetterPage::FieldOfFinding(*list->item(row)).has_value();
        QVERIFY(leads || (list->count() == 1 &&
                          list->item(row)->text().startsWith(QStringLiteral("No problems found"))));
    }
}

// The newcomer's path: a ClickBank option, a finding that leads to the seller's tab, the
// details filled in there and a deadline picked, and a letter with the retailer statement,
// the contact footer and two policy pages, the deadline stored with its zone.
void LetterWindowTest::aClickBankLetterIsLedToTheSellerAndGetsItsPolicyPages() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::green);
    FillTheLetter(picture);
    Control<QLineEdit>(w, "edtLanguage")->setText(QStringLiteral("en"));
    Control<QLineEdit>(w, "edtClickBankName")->setText(QStringLiteral("harvest"));
    const fs::path letter = fs::path(output_.path().toStdString()) / "offer.html";
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter));
    auto* pages = Control<QStackedWidget>(w, "pgcMain");
    pages->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    w.Document().SettleNow();
    auto* list = Control<QListWidget>(w, "lstLetterCheck");
    QListWidgetItem* item = nullptr;
    QTRY_VERIFY((item = FindingOf(*list, LetterField(OptionalTag::SellerName))) != nullptr);
    QVERIFY(item->text().contains(QStringLiteral("ClickBank")));
    Q_EMIT list->itemActivated(item);
    auto* name = Control<QLineEdit>(w, "edtSellerName");
    QCOMPARE(Control<QTabWidget>(w, "tabOrder")->currentWidget(),
             Control<QWidget>(w, "tabSellerRules"));
    QTRY_COMPARE(w.focusWidget(), name);

    QTest::keyClicks(name, QStringLiteral("Harvest <Press>"));
    Control<QLineEdit>(w, "edtSellerEmail")->setText(QStringLiteral("help@harvest.example"));
    auto* deadline = Control<DeadlineEdit>(w, "dteOfferEnds");
    deadline->findChild<QCheckBox*>()->setChecked(true);
    const QString ends = deadline->Text();
    QVERIFY(QDateTime::fromString(ends, Qt::ISODate).isValid());
    QVERIFY(ends.contains(QLatin1Char('+')) || ends.endsWith(QLatin1Char('Z')));
    Control<QLineEdit>(w, "edtSignupAddress")->setText(QStringLiteral("https://formspree.io/f/x"));
    QCOMPARE(Control<QLabel>(w, "lblSignupProvider")->text(),
             QStringLiteral("Sends to Formspree."));
    pages->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet12"));
    w.Document().SettleNow();
    QTRY_VERIFY(FindingOf(*list, LetterField(OptionalTag::SellerName)) == nullptr);

    QTest::mouseClick(Control<QPushButton>(w, "btnFinish"), Qt::LeftButton);
    const std::string page = TempDir::Read(letter);
    QVERIFY(page.find("ClickBank is the retailer") != std::string::npos);
    QVERIFY(page.find("Sold by Harvest &lt;Press&gt;") != std::string::npos);
    QVERIFY(page.find("class=\"offer-deadline\"") != std::string::npos);
    QVERIFY(
        page.find("<form class=\"signup\" method=\"post\" action=\"https://formspree.io/f/x\"") !=
        std::string::npos);
    for (const char* policy : {"privacy.html", "terms.html"}) {
        QVERIFY(TempDir::Read(letter.parent_path() / policy).find("Harvest &lt;Press&gt;") !=
                std::string::npos);
    }

    // Saved and loaded back, the deadline is the one picked.
    Control<QPushButton>(w, "btnSave")->click();
    deadline->findChild<QCheckBox*>()->setChecked(false);
    QVERIFY(deadline->Text().isEmpty());
    Control<QPushButton>(w, "btnLoad")->click();
    QCOMPARE(deadline->Text(), ends);
    QCOMPARE(name->text(), QStringLiteral("Harvest <Press>"));
}

// The newcomer of "learning what sells": a Plausible domain and a Meta pixel id on the Visitors
// tab (a mistyped id said under its field), a second headline in its own area; the letter
// counts with Plausible at once, holds the pixel back for consent and names the headline in
// its ClickBank link; the preview shows the headlines side by side; only the entries used are
// stored.
void LetterWindowTest::countersTrackersAndASecondHeadlineGoFromTheWindowIntoTheLetter() {
    TfrmMain& w = *window_;
    const fs::path picture = ShippedTemplatesAndAPicture(w, Qt::green);
    FillTheLetter(picture);
    Control<QLineEdit>(w, "edtClickBankName")->setText(QStringLiteral("harvest"));
    Control<QLineEdit>(w, "edtSellerName")->setText(QStringLiteral("Harvest Press"));
    Control<QLineEdit>(w, "edtSellerEmail")->setText(QStringLiteral("help@harvest.example"));
    const fs::path letter = fs::path(output_.path().toStdString()) / "offer.html";
    Control<QLineEdit>(w, "edtFilename")->setText(PathText(letter));

    auto* pixel = Control<QLineEdit>(w, "edtMetaPixel");
    QTest::keyClicks(pixel, QStringLiteral("12345\"6"));
    QVERIFY(!Control<QLabel>(w, "edtMetaPixelNote")->isHidden());
    pixel->setText(QStringLiteral("123456789012345"));
    QVERIFY(Control<QLabel>(w, "edtMetaPixelNote")->isHidden());
    Control<QLineEdit>(w, "edtPlausible")->setText(QStringLiteral("harvest.example"));
    Control<HtmlEditor>(w, "prfHeadline2")
        ->SetDocumentHTML(QStringLiteral("<div><b>Fresh</b> herbs</div>"));
    QTRY_VERIFY(w.Document().Configuration().Optional(OptionalTag::Headline2).find("herbs") !=
                std::string::npos);

    QTest::mouseClick(Control<QPushButton>(w, "btnFinish"), Qt::LeftButton);
    const std::string page = TempDir::Read(letter);
    const std::size_t head = page.find("</head>");
    QVERIFY(page.find("data-domain=\"harvest.example\"") < head);
    QVERIFY(page.find("fbq('init','123456789012345')") > page.find("id=\"consent\""));
    QVERIFY(page.find("<h1 data-headline-shown=\"b\" hidden") != std::string::npos);
    QVERIFY(page.find("&amp;vtid=a\"") != std::string::npos);
    QVERIFY(TempDir::Read(letter.parent_path() / "privacy.html").find("Meta Pixel") !=
            std::string::npos);

    Control<QPushButton>(w, "btnPreview")->click();
    auto* preview = w.findChild<LetterPreviewWindow*>();
    QVERIFY(preview != nullptr);
    QTRY_VERIFY(!preview->headlinesSideBySide()->isHidden());
    preview->headlinesSideBySide()->setChecked(true);
    QCOMPARE(preview->headlineViews().size(), std::size_t{1});
    QTRY_COMPARE(preview->headlineViews()[0]->url().fragment(), QStringLiteral("headline=b"));
    preview->headlinesSideBySide()->setChecked(false);
    preview->close();

    // Saved, the file holds the entries used and no empty headline; loaded, they come back.
    Control<QPushButton>(w, "btnSave")->click();
    const std::string saved =
        TempDir::Read(ConfigurationForm::ConfigurationPath(Probe(w).ProgramFolder()));
    QVERIFY(saved.find("<%%Headline2%%>") != std::string::npos);
    QVERIFY(saved.find("Headline3") == std::string::npos);
    QVERIFY(saved.find("<%%MetaPixel%%>123456789012345<%%/MetaPixel%%>") != std::string::npos);
    Control<QLineEdit>(w, "edtPlausible")->clear();
    Control<HtmlEditor>(w, "prfHeadline2")->SetDocumentHTML(QString());
    Control<QPushButton>(w, "btnLoad")->click();
    QCOMPARE(Control<QLineEdit>(w, "edtPlausible")->text(), QStringLiteral("harvest.example"));
    QTRY_VERIFY(w.Document().Configuration().Optional(OptionalTag::Headline2).find("herbs") !=
                std::string::npos);
    for (const char* name :
         {"edtMetaPixel", "edtPlausible", "edtClickBankName", "edtSellerName", "edtSellerEmail"}) {
        Control<QLineEdit>(w, name)->clear();
    }
    Control<HtmlEditor>(w, "prfHeadline2")->SetDocumentHTML(QString());
}

int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    LetterWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LetterWindowTest.moc"
#include "tests/support/TfrmMainProbe.h"
