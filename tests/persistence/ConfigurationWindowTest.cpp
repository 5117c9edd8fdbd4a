// Save Configuration and Load Configuration on the real window: every field of the tag table
// goes out and comes back, a load is all or nothing, and a failed save keeps the old file.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "persistence/Autosave.h"
#include "persistence/ConfigFormat.h"
#include "persistence/LetterConfiguration.h"
#include "tests/support/ReadyWindow.h"
#include "tests/support/TempDir.h"
#include "utils/FileIo.h"
#include "widgets/ColorChooser.h"
#include "widgets/FontNameChooser.h"
#include "widgets/SizeSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

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

QString Name(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// One line per field, so a mismatch names its tag.
QStringList Lines(const ConfigTexts& texts) {
    QStringList lines;
    for (const ConfigField& field : kConfigFields) {
        lines << Name(field.name) + QLatin1Char('=') +
                     QString::fromLatin1(QByteArray::fromStdString(texts[Index(field.tag)]));
    }
    return lines;
}

QStringList Captions(const QListWidget& list) {
    QStringList captions;
    for (int row = 0; row < list.count(); ++row) {
        captions << list.item(row)->text();
    }
    return captions;
}

// A full disk: every write fails.
class FullDisk : public FileLayer {
public:
    ssize_t Write(int, const void*, std::size_t) override {
        errno = ENOSPC;
        return -1;
    }
};

} // namespace

class ConfigurationWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    // Runs first, on the window as start-up left it.
    void saveWritesTheInitialValues();
    void saveChangeLoadGivesEveryFieldBack();
    void loadIsAllOrNothing_data();
    void loadIsAllOrNothing();
    void loadReadsValuesAsTheReaderDoes_data();
    void loadReadsValuesAsTheReaderDoes();
    void loadWithoutAFileChangesNothing();
    void failedSaveKeepsThePreviousFile_data();
    void failedSaveKeepsThePreviousFile();

private:
    fs::path ConfigFile() const { return fs::path(folder_.path().toStdString()) / "config.dat"; }
    // Gives every field a value of its own; `variant` 0 and 1 differ in every field.
    void SetEveryField(int variant);
    void CreateFeature(const QString& title, const QString& body);
    ConfigTexts Snapshot() { return Probe(*window_).ReadLetterConfiguration().ToTexts(); }
    // Clicks like the user, so a failure takes the application-wide path to msgMain.
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QTemporaryDir folder_;
    RecordingMessageService messages_;
    std::unique_ptr<TfrmMain> window_;
    QStringList fonts_;
};

void ConfigurationWindowTest::initTestCase() {
    QVERIFY(folder_.isValid());
    window_ = MakeShownWindow(folder_.path(), messages_);
    QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*window_), kEditorsReadyTimeoutMs);
    // These cases pin Save and Load alone; autosave.dat has tests of its own.
    Probe(*window_).Autosaver().SetEnabled(false);
    ScribvaneApplication::instance()->SetFailureReporter(
        [this](const QString& text) { Probe(*window_).msgMain().Error(text); });
    fonts_ = SortedFontNames(InstalledTypefaceFamilies());
    QVERIFY(fonts_.size() >= 4);
}

void ConfigurationWindowTest::cleanupTestCase() {
    ScribvaneApplication::instance()->SetFailureReporter({});
    window_.reset();
}

void ConfigurationWindowTest::init() {
    messages_.messages.clear();
    std::error_code ignored;
    fs::remove_all(ConfigFile(), ignored);
    fs::remove(ConfigFile().parent_path() / "config.bak", ignored);
}

void ConfigurationWindowTest::CreateFeature(const QString& title, const QString& body) {
    Control<QLineEdit>(*window_, "edtFeatureTitle")->setText(title);
    Control<QPlainTextEdit>(*window_, "memFeatureBody")->setPlainText(body);
    Control<QPushButton>(*window_, "btnCreateFeat")->click();
}

void ConfigurationWindowTest::SetEveryField(int variant) {
    TfrmMain& w = *window_;
    int position = 0;
    for (const ConfigField& field : kConfigFields) {
        const QString name = Name(field.control);
        const QString mark = QStringLiteral("%1 %2 caf\u00e9 & co").arg(name).arg(variant);
        ++position;
        switch (field.kind) {
        case ValueKind::Text:
            w.findChild<QLineEdit*>(name)->setText(mark);
            break;
        case ValueKind::MultiLineText:
            w.findChild<QPlainTextEdit*>(name)->setPlainText(mark + QStringLiteral("\nsecond\n"));
            break;
        case ValueKind::Colour: {
            auto* chooser = w.findChild<ColorChooser*>(name);
            if (variant == 0 && field.tag == Tag::FColor) {
                chooser->SelectColor(0x80000000u | 15u); // the system colour Button Face
            } else if (variant == 0 && field.tag == Tag::MainBgColor) {
                chooser->SelectColor(0x0000FFu); // Red, a named entry
            } else {
                chooser->SelectColor(0x102030u + static_cast<ColorValue>(position * 7 + variant));
            }
            break;
        }
        case ValueKind::Passage:
            w.findChild<HtmlEditor*>(name)->SetDocumentHTML(
                QStringLiteral("<div><b>%1</b> &amp; text</div><div>more</div>").arg(mark));
            break;
        case ValueKind::RecordList:
            break; // below, through the page's own buttons
        case ValueKind::FontName:
            w.findChild<FontNameChooser*>(name)->SelectFontName(fonts_[(position + variant) % 4]);
            break;
        case ValueKind::Size:
            w.findChild<SizeSpinEdit*>(name)->setValue(variant == 0 ? 20 + position : -position);
            break;
        case ValueKind::Flag:
            w.findChild<QCheckBox*>(name)->setChecked((position + variant) % 2 == 0);
            break;
        }
    }
    Probe(w).FFeatures().clear();
    Control<QListWidget>(w, "lbxFeatures")->clear();
    Probe(w).FTestimonials().clear();
    Control<QListWidget>(w, "lbxTestimonials")->clear();
    if (variant == 0) {
        // Captions with a gap: Feature 1, Feature 3.
        CreateFeature(QStringLiteral("one"), QStringLiteral("first\nline"));
        CreateFeature(QStringLiteral("two"), QStringLiteral("b"));
        CreateFeature(QStringLiteral("three"), QStringLiteral("c"));
        Control<QListWidget>(w, "lbxFeatures")->setCurrentRow(1);
        Control<QPushButton>(w, "btnDeleteFeat")->click();
        QCOMPARE(Captions(*Control<QListWidget>(w, "lbxFeatures")),
                 QStringList({QStringLiteral("Feature 1"), QStringLiteral("Feature 3")}));
        Control<QLineEdit>(w, "edtTestName")->setText(QStringLiteral("Ann"));
        Control<QLineEdit>(w, "edtTestWebsite")->setText(QStringLiteral("ann.example"));
        Control<QPlainTextEdit>(w, "memTest")->setPlainText(QStringLiteral("Great"));
        Control<QPushButton>(w, "btnCreateTest")->click();
    } else {
        CreateFeature(QStringLiteral("other"), QStringLiteral("x"));
    }
}

void ConfigurationWindowTest::saveWritesTheInitialValues() {
    Click(Control<QPushButton>(*window_, "btnSave"));
    QVERIFY(messages_.messages.isEmpty());
    const ConfigTexts texts =
        ReadConfigurationTexts(ConfigurationTextFromBytes(TempDir::Read(ConfigFile())));
    for (const ConfigField& field : kConfigFields) {
        const std::string& text = texts[Index(field.tag)];
        if (field.kind == ValueKind::Passage) {
            // An empty area's fragment reads as an empty passage in the letter.
            QVERIFY2(text.empty() || text == "&nbsp;", text.c_str());
        } else {
            QCOMPARE(QByteArray::fromStdString(text),
                     QByteArray(field.initial.data(), qsizetype(field.initial.size())));
        }
    }
}

void ConfigurationWindowTest::saveChangeLoadGivesEveryFieldBack() {
    SetEveryField(0);
    const ConfigTexts saved = Snapshot();
    // The areas hold their documents; a passage is stored as one line of markup.
    for (const Tag tag :
         {Tag::prfEditor1, Tag::prfEditor2, Tag::prfEditor3, Tag::prfEditor10, Tag::prfEditor11}) {
        const std::string& passage = saved[Index(tag)];
        QVERIFY2(passage.find(std::string(FieldOf(tag).name) + " 0 caf\xE9 &amp; co</b>") !=
                     std::string::npos,
                 passage.c_str());
        QVERIFY(passage.find_first_of("\r\n") == std::string::npos);
    }
    Click(Control<QPushButton>(*window_, "btnSave"));
    const std::string savedBytes = TempDir::Read(ConfigFile());
    QCOMPARE(Lines(ReadConfigurationTexts(ConfigurationTextFromBytes(savedBytes))), Lines(saved));

    SetEveryField(1);
    QVERIFY(Lines(Snapshot()) != Lines(saved));
    // State outside the table, which the load must leave alone.
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(2);
    Control<QLineEdit>(*window_, "edtFilename")->setText(QStringLiteral("out.html"));
    Control<QLineEdit>(*window_, "edtFeatureTitle")->setText(QStringLiteral("typing"));
    Control<QPlainTextEdit>(*window_, "memFeatureDetails")->setPlainText(QStringLiteral("shown"));
    const QString chosenTemplate = Control<QComboBox>(*window_, "cbxTemplates")->currentText();

    Click(Control<QPushButton>(*window_, "btnLoad"));
    // Loading over the changes asked first; the recording service answers "load without
    // saving".
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("close question"));
    QCOMPARE(Lines(Snapshot()), Lines(saved));
    // The captions are numbered afresh, without the gap.
    QCOMPARE(Captions(*Control<QListWidget>(*window_, "lbxFeatures")),
             QStringList({QStringLiteral("Feature 1"), QStringLiteral("Feature 2")}));
    QCOMPARE(Captions(*Control<QListWidget>(*window_, "lbxTestimonials")),
             QStringList{QStringLiteral("Testimonial 1")});
    QCOMPARE(Probe(*window_).FFeatures(),
             (std::vector<std::string>{"^one^first$$line^", "^three^c^"}));
    // A system colour was saved as its index in the red byte and comes back as that plain colour.
    QCOMPARE(Control<ColorChooser>(*window_, "cbxFColor")->SelectedColor(), ColorValue{15});
    QCOMPARE(Control<ColorChooser>(*window_, "cbxFColor")->currentText(),
             QStringLiteral("Custom..."));
    QCOMPARE(Control<ColorChooser>(*window_, "cbxMainBgColor")->currentText(),
             QStringLiteral("Red"));
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 2);
    QCOMPARE(Control<QLineEdit>(*window_, "edtFilename")->text(), QStringLiteral("out.html"));
    QCOMPARE(Control<QLineEdit>(*window_, "edtFeatureTitle")->text(), QStringLiteral("typing"));
    QCOMPARE(Control<QPlainTextEdit>(*window_, "memFeatureDetails")->toPlainText(),
             QStringLiteral("shown"));
    QCOMPARE(Control<QComboBox>(*window_, "cbxTemplates")->currentText(), chosenTemplate);

    // Save, Load, Save changes nothing.
    Click(Control<QPushButton>(*window_, "btnSave"));
    QCOMPARE(QByteArray::fromStdString(TempDir::Read(ConfigFile())),
             QByteArray::fromStdString(savedBytes));
}

void ConfigurationWindowTest::loadIsAllOrNothing_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("dropEntry");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, Tag tag, const char* value, bool drop,
                        const char* message) {
        QTest::newRow(name) << int(Index(tag)) << QByteArray(value) << drop
                            << QString::fromLatin1(message);
    };
    // An empty file would empty the fields up to FName and stop at FSize: it changes nothing.
    QTest::newRow("an empty file")
        << -1 << QByteArray() << false << QStringLiteral("'' is not a valid integer value");
    row("a size of letters", Tag::FSize, "abc", false, "'abc' is not a valid integer value");
    row("a missing size", Tag::FSize, "", true, "'' is not a valid integer value");
    row("a flag of yes", Tag::FBold, "yes", false, "'yes' is not a valid boolean value");
    row("a colour with G", Tag::MainBgColor, "#GG0000", false,
        "'$000000GG' is not a valid integer value");
}

void ConfigurationWindowTest::loadIsAllOrNothing() {
    QFETCH(int, tag);
    QFETCH(QByteArray, value);
    QFETCH(bool, dropEntry);
    QFETCH(QString, message);
    // The file holds variant 0 with one bad value; the window holds variant 1.
    SetEveryField(0);
    ConfigTexts texts = Snapshot();
    std::string file;
    if (tag >= 0) {
        texts[std::size_t(tag)] = value.toStdString();
        file = WriteConfiguration(texts);
    }
    if (dropEntry) {
        const std::string name(kConfigFields[std::size_t(tag)].name);
        const std::string entry =
            "<%%" + name + "%%>" + texts[std::size_t(tag)] + "<%%/" + name + "%%>\r\n";
        file = ReplaceAll(file, entry, "");
    }
    TempDir::WriteFile(ConfigFile(), file);
    SetEveryField(1);
    const ConfigTexts before = Snapshot();
    const QStringList featureCaptions = Captions(*Control<QListWidget>(*window_, "lbxFeatures"));

    Click(Control<QPushButton>(*window_, "btnLoad"));
    QCOMPARE(messages_.texts(), QStringList{message});
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
    QCOMPARE(Lines(Snapshot()), Lines(before));
    QCOMPARE(Captions(*Control<QListWidget>(*window_, "lbxFeatures")), featureCaptions);
}

void ConfigurationWindowTest::loadReadsValuesAsTheReaderDoes_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after"); // the field read back after the load
    const auto row = [](const char* name, Tag tag, const QByteArray& value,
                        const QByteArray& after) {
        QTest::newRow(name) << int(Index(tag)) << value << after;
    };
    row("a flag of true", Tag::FBold, "true", "-1");
    row("a hexadecimal size", Tag::FSize, "$10", "16");
    row("a colour in lower case", Tag::MainBgColor, "#ffcc00", "#FFCC00");
    row("a multi-line code", Tag::PaypalCode, "<form>\r\n<input>\r\n</form>",
        "<form>\r\n<input>\r\n</form>");
    row("a record with a lone line feed is two records", Tag::Features, "^a^b\n^c^\r\n",
        "^a^b\r\n^c^\r\n");
    // A font name is selected without regard to letter case; one that is not installed
    // leaves no entry selected and the shown name as it was (empty "after": unchanged).
    row("an installed font in other letter case", Tag::FName, fonts_[2].toLower().toLatin1(),
        fonts_[2].toLatin1());
    row("a font that is not installed", Tag::TName, "No Such Font Family", "");
    row("a passage", Tag::prfEditor3, "<div><i>Hi</i> there</div>", "<div><i>Hi</i> there</div>");
}

void ConfigurationWindowTest::loadReadsValuesAsTheReaderDoes() {
    QFETCH(int, tag);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    ConfigTexts texts = Snapshot();
    const QByteArray before = QByteArray::fromStdString(texts[std::size_t(tag)]);
    texts[std::size_t(tag)] = value.toStdString();
    TempDir::WriteFile(ConfigFile(), WriteConfiguration(texts));
    Click(Control<QPushButton>(*window_, "btnLoad"));
    // Only the question before loading over changes may come, nothing else.
    for (const auto& message : messages_.messages) {
        QVERIFY2(message.kind == QStringLiteral("close question"), qPrintable(message.text));
    }
    QCOMPARE(QByteArray::fromStdString(Snapshot()[std::size_t(tag)]),
             after.isEmpty() ? before : after);
    if (kConfigFields[std::size_t(tag)].kind == ValueKind::FontName) {
        const QString name = Name(kConfigFields[std::size_t(tag)].control);
        QCOMPARE(window_->findChild<FontNameChooser*>(name)->currentIndex() >= 0, !after.isEmpty());
    }
    QCOMPARE(Control<QListWidget>(*window_, "lbxFeatures")->count(),
             int(Probe(*window_).FFeatures().size()));
}

void ConfigurationWindowTest::loadWithoutAFileChangesNothing() {
    SetEveryField(1);
    const ConfigTexts before = Snapshot();
    Click(Control<QPushButton>(*window_, "btnLoad"));
    QVERIFY(messages_.messages.isEmpty());
    QCOMPARE(Lines(Snapshot()), Lines(before));
    QVERIFY(!fs::exists(ConfigFile()));
}

void ConfigurationWindowTest::failedSaveKeepsThePreviousFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << "disk full"
                               << "No space left on device";
    QTest::newRow("config.dat is a folder") << "folder"
                                            << "Is a directory";
    QTest::newRow("read-only program folder") << "read-only"
                                              << "Permission denied";
}

void ConfigurationWindowTest::failedSaveKeepsThePreviousFile() {
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    if (failure == QStringLiteral("read-only") && ::geteuid() == 0) {
        QSKIP("permissions do not bind the superuser");
    }
    SetEveryField(0);
    std::string previous;
    if (failure == QStringLiteral("folder")) {
        fs::create_directory(ConfigFile());
        TempDir::WriteFile(ConfigFile() / "inside", "kept");
    } else {
        Click(Control<QPushButton>(*window_, "btnSave"));
        previous = TempDir::Read(ConfigFile());
        QVERIFY(!previous.empty());
    }
    SetEveryField(1);

    FullDisk fullDisk;
    std::optional<ScopedFileLayer> layer;
    const fs::path folder = ConfigFile().parent_path();
    if (failure == QStringLiteral("disk full")) {
        layer.emplace(fullDisk);
    } else if (failure == QStringLiteral("read-only")) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    Click(Control<QPushButton>(*window_, "btnSave"));
    layer.reset();
    fs::permissions(folder, fs::perms::owner_all);

    const QString expected = QStringLiteral("Cannot create file \"%1\". %2")
                                 .arg(QString::fromStdString(ConfigFile().string()), reason);
    QCOMPARE(messages_.texts(), QStringList{expected});
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
    if (failure == QStringLiteral("folder")) {
        QVERIFY(fs::is_directory(ConfigFile()));
        QCOMPARE(TempDir::Read(ConfigFile() / "inside"), std::string("kept"));
    } else {
        QCOMPARE(QByteArray::fromStdString(TempDir::Read(ConfigFile())),
                 QByteArray::fromStdString(previous));
    }
    // Nothing but config.dat is left in the folder: no temporary file.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++entries;
    }
    QCOMPARE(entries, 1);
}

int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    ConfigurationWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ConfigurationWindowTest.moc"
#include "tests/support/TfrmMainProbe.h"
