// Keeping the user's work on the real window: autosave.dat written after changes and offered
// back by the next window, the question before closing, copies to other files, and values
// longer than a single-line edit's default limit.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "persistence/Autosave.h"
#include "persistence/LetterConfiguration.h"
#include "persistence/LetterDocument.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ReadyWindow.h"
#include "tests/support/TempDir.h"
#include "update/UpdateController.h"
#include "widgets/FadingNote.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>

using namespace scribvane;
using scribvane::testing::CancellingDialogs;
using scribvane::testing::Control;
using scribvane::testing::EditorsReady;
using scribvane::testing::kEditorsReadyTimeoutMs;
using scribvane::testing::MakeShownWindow;
using scribvane::testing::Probe;
using scribvane::testing::ProgramFolder;
using scribvane::testing::RecordingMessageService;
using scribvane::testing::TempDir;

namespace fs = std::filesystem;

namespace {

const QString kRecoveryQuestion =
    QStringLiteral("Scribvane was last closed with changes that were not saved.\n"
                   "Do you want to restore them?");

fs::path In(const ProgramFolder& folder, const char* name) {
    return fs::path(folder.filePath(QString::fromLatin1(name)).toStdString());
}

// A window as the user gets it: shown, its areas ready and its work being kept.
std::unique_ptr<TfrmMain> ReadyWindow(const ProgramFolder& folder,
                                      RecordingMessageService& messages) {
    auto window = MakeShownWindow(folder.path(), messages);
    if (!QTest::qWaitFor([&] { return Probe(*window).Autosaver().IsStarted(); },
                         kEditorsReadyTimeoutMs)) {
        qWarning("the window did not start keeping work");
    }
    return window;
}

// Some work in every kind of control the user types in, a list and a passage included.
void TypeSomeWork(TfrmMain& w, const QString& mark) {
    Control<QLineEdit>(w, "edtPageTitle")->setText(mark);
    Control<QPlainTextEdit>(w, "memPaypalCode")->setPlainText(mark + QStringLiteral("\nline two"));
    Control<HtmlEditor>(w, "prfEditor2")
        ->SetDocumentHTML(QStringLiteral("<div><b>%1</b></div>").arg(mark));
    Control<QLineEdit>(w, "edtFeatureTitle")->setText(QStringLiteral("feature"));
    Control<QPlainTextEdit>(w, "memFeatureBody")->setPlainText(mark);
    Control<QPushButton>(w, "btnCreateFeat")->click();
}

bool AutosaveHolds(const ProgramFolder& folder, TfrmMain& window) {
    const fs::path path = In(folder, "autosave.dat");
    try {
        return fs::exists(path) &&
               ReadConfigurationFile(path) == Probe(window).ReadLetterConfiguration();
    } catch (const std::exception&) {
        return false; // not (yet) a file the loader reads
    }
}

} // namespace

class AutosaveWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void windowDestroyedWithoutClosingIsOfferedBack();
    void typingInAnAreaIsAutosaved();
    void recoveryAnswers_data();
    void recoveryAnswers();
    void closing_data();
    void closing();
    void loadingOverWork_data();
    void loadingOverWork();
    void copiesAndShortcuts();
    void longValueSurvivesLoadAndSave();

private:
    // Each case's window and the messages it shows, failures escaping a handler included.
    std::unique_ptr<TfrmMain> Open(const ProgramFolder& folder, RecordingMessageService& messages) {
        reportTo_ = &messages;
        return ReadyWindow(folder, messages);
    }

    std::unique_ptr<TfrmMain> window_;
    RecordingMessageService* reportTo_ = nullptr;
};

void AutosaveWindowTest::initTestCase() {
    ScribvaneApplication::instance()->SetFailureReporter([this](const QString& text) {
        if (reportTo_ != nullptr) {
            reportTo_->Error(text);
        }
    });
}

void AutosaveWindowTest::cleanupTestCase() {
    ScribvaneApplication::instance()->SetFailureReporter({});
}

void AutosaveWindowTest::windowDestroyedWithoutClosingIsOfferedBack() {
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    TypeSomeWork(*window_, QStringLiteral("crash \u00e9 test"));
    QTRY_VERIFY_WITH_TIMEOUT(AutosaveHolds(folder, *window_), 10000);
    const LetterConfiguration typed = Probe(*window_).ReadLetterConfiguration();
    window_.reset(); // as a crash leaves it: nothing ran at closing
    QVERIFY(messages.messages.isEmpty());

    RecordingMessageService next;
    window_ = Open(folder, next);
    QTRY_COMPARE(next.texts(), QStringList{kRecoveryQuestion});
    QCOMPARE(next.messages[0].kind, QStringLiteral("question"));
    QVERIFY(Control<FadingNote>(*window_, "lblSaveNote")->isVisible());
    QVERIFY(Control<FadingNote>(*window_, "lblSaveNote")
                ->text()
                .startsWith(QStringLiteral("Restored unsaved changes")));
    QVERIFY(Probe(*window_).ReadLetterConfiguration() == typed);
    QCOMPARE(Control<QListWidget>(*window_, "lbxFeatures")->item(0)->text(),
             QStringLiteral("Feature 1"));
    // Kept until the work is saved, and config.dat was never read or written.
    QVERIFY(window_->Document().IsModified());
    QVERIFY(fs::exists(In(folder, "autosave.dat")));
    QVERIFY(!fs::exists(In(folder, "config.dat")));
    window_.reset();
}

void AutosaveWindowTest::typingInAnAreaIsAutosaved() {
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(1);
    HtmlEditor* area = Control<HtmlEditor>(*window_, "prfEditor2");
    QSignalSpy changed(area, &HtmlEditor::changed);
    QSignalSpy written(&Probe(*window_).Autosaver(), &Autosave::written);
    QWidget* input = area->view()->focusProxy();
    QVERIFY(input != nullptr);
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("typed"));
    QVERIFY(changed.wait(10000));
    QVERIFY(written.count() > 0 || written.wait(10000));
    QVERIFY(ReadConfigurationFile(In(folder, "autosave.dat")).Text(Tag::prfEditor2).find("typed") !=
            std::string::npos);
    window_.reset();
}

void AutosaveWindowTest::recoveryAnswers_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    const QByteArray good = QByteArray::fromStdString([] {
        LetterConfiguration config;
        config.Set(Tag::PageTitle, std::string("restored title"));
        return WriteConfiguration(config.ToTexts());
    }());
    QTest::newRow("OK restores") << true << good << QString();
    QTest::newRow("Cancel moves it aside") << false << good << QString();
    QTest::newRow("a damaged file stays") << true << QByteArray("<%%FSize%%>abc<%%/FSize%%>")
                                          << QStringLiteral("'abc' is not a valid integer value");
}

void AutosaveWindowTest::recoveryAnswers() {
    QFETCH(bool, ok);
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    ProgramFolder folder;
    TempDir::WriteFile(In(folder, "autosave.bak"), "older");
    TempDir::WriteFile(In(folder, "autosave.dat"), file.toStdString());
    RecordingMessageService messages;
    messages.answers = {ok};
    window_ = Open(folder, messages);
    QStringList expected{kRecoveryQuestion};
    if (!error.isEmpty()) {
        expected << error;
    }
    QTRY_COMPARE(messages.texts(), expected);
    const bool restored = ok && error.isEmpty();
    QCOMPARE(Control<QLineEdit>(*window_, "edtPageTitle")->text(),
             restored ? QStringLiteral("restored title") : QString());
    // A wrong click or a bad file loses nothing.
    QCOMPARE(fs::exists(In(folder, "autosave.dat")), ok);
    if (restored) {
        QCOMPARE(ReadConfigurationFile(In(folder, "autosave.dat")).Text(Tag::PageTitle),
                 "restored title");
        QCOMPARE(TempDir::Read(In(folder, "autosave.bak")), "older");
    } else {
        QCOMPARE(TempDir::Read(In(folder, ok ? "autosave.dat" : "autosave.bak")),
                 file.toStdString());
    }
    // The damaged file stays until new work needs its place.
    if (!error.isEmpty()) {
        Control<QLineEdit>(*window_, "edtFullName")->setText(QStringLiteral("new work"));
        QTRY_VERIFY_WITH_TIMEOUT(AutosaveHolds(folder, *window_), 10000);
        QCOMPARE(TempDir::Read(In(folder, "autosave.bak")), file.toStdString());
    }
    window_.reset();
}

void AutosaveWindowTest::closing_data() {
    QTest::addColumn<bool>("work");
    QTest::addColumn<QString>("how"); // an answer to the question, or "update"
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("asks");
    QTest::newRow("nothing unsaved") << false << "" << true << false;
    QTest::newRow("save and close") << true << "save" << true << true;
    QTest::newRow("close without saving") << true << "discard" << true << true;
    QTest::newRow("stay") << true << "stay" << false << true;
    QTest::newRow("the updater takes over") << true << "update" << true << false;
}

void AutosaveWindowTest::closing() {
    QFETCH(bool, work);
    QFETCH(QString, how);
    QFETCH(bool, closes);
    QFETCH(bool, asks);
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    Control<QPushButton>(*window_, "btnSave")->click(); // config.dat holds the start-up values
    const std::string previous = TempDir::Read(In(folder, "config.dat"));
    if (work) {
        TypeSomeWork(*window_, QStringLiteral("closing"));
    }
    const LetterConfiguration typed = Probe(*window_).ReadLetterConfiguration();
    if (how == QStringLiteral("save")) {
        messages.closeAnswers = {CloseAnswer::Save};
    } else if (how == QStringLiteral("stay")) {
        messages.closeAnswers = {CloseAnswer::Stay};
    }
    if (how == QStringLiteral("update")) {
        Q_EMIT Probe(*window_).UpdateChecker().closeRequested();
    } else {
        window_->close();
    }
    QCOMPARE(!window_->isVisible(), closes);
    QCOMPARE(messages.messages.size(), asks ? 1 : 0);
    if (asks) {
        QCOMPARE(messages.messages[0].kind, QStringLiteral("close question"));
    }
    const bool saved = how == QStringLiteral("save");
    QCOMPARE(ReadConfigurationFile(In(folder, "config.dat")) == typed, saved || !work);
    if (saved) {
        QCOMPARE(TempDir::Read(In(folder, "config.bak")), previous);
    }
    // Unsaved work stays where the next start finds it, or aside after "close without saving".
    if (how == QStringLiteral("update")) {
        QVERIFY(AutosaveHolds(folder, *window_));
    } else if (how == QStringLiteral("stay")) {
        QTRY_VERIFY_WITH_TIMEOUT(AutosaveHolds(folder, *window_), 10000);
    } else {
        QVERIFY(!fs::exists(In(folder, "autosave.dat")));
    }
    QCOMPARE(fs::exists(In(folder, "autosave.bak")), how == QStringLiteral("discard"));
    if (how == QStringLiteral("discard")) {
        QVERIFY(ReadConfigurationFile(In(folder, "autosave.bak")) == typed);
    }
    window_.reset();
}

void AutosaveWindowTest::loadingOverWork_data() {
    QTest::addColumn<bool>("work");
    QTest::addColumn<int>("answer"); // a CloseAnswer
    QTest::addColumn<bool>("loads");
    QTest::newRow("nothing unsaved") << false << int(CloseAnswer::Stay) << true;
    QTest::newRow("save first") << true << int(CloseAnswer::Save) << true;
    QTest::newRow("load without saving") << true << int(CloseAnswer::Discard) << true;
    QTest::newRow("cancel") << true << int(CloseAnswer::Stay) << false;
}

void AutosaveWindowTest::loadingOverWork() {
    QFETCH(bool, work);
    QFETCH(int, answer);
    QFETCH(bool, loads);
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    TfrmMain& w = *window_;
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("in config.dat"));
    Control<QPushButton>(w, "btnSave")->click();
    const LetterConfiguration saved = ReadConfigurationFile(In(folder, "config.dat"));
    if (work) {
        TypeSomeWork(w, QStringLiteral("unsaved"));
        QTRY_VERIFY_WITH_TIMEOUT(AutosaveHolds(folder, w), 10000);
    }
    const LetterConfiguration typed = Probe(w).ReadLetterConfiguration();
    messages.closeAnswers = {static_cast<CloseAnswer>(answer)};
    Control<QPushButton>(w, "btnLoad")->click();

    QCOMPARE(messages.messages.size(), work ? 1 : 0);
    const bool savedFirst = answer == int(CloseAnswer::Save) && work;
    const LetterConfiguration expected = !loads || savedFirst ? typed : saved;
    QVERIFY(Probe(w).ReadLetterConfiguration() == expected);
    QVERIFY(w.Document().Configuration() == expected);
    QCOMPARE(w.Document().IsModified(), !loads);
    // Work that was not saved is never simply gone: aside after "load without saving", and
    // still kept after "cancel".
    const bool discarded = work && answer == int(CloseAnswer::Discard);
    QCOMPARE(fs::exists(In(folder, "autosave.bak")), discarded);
    if (discarded) {
        QVERIFY(ReadConfigurationFile(In(folder, "autosave.bak")) == typed);
    }
    if (!loads) {
        QVERIFY(AutosaveHolds(folder, w));
    }
    window_.reset();
}

void AutosaveWindowTest::copiesAndShortcuts() {
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    TfrmMain& w = *window_;
    w.activateWindow(); // shortcuts go to the active window
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString copy = folder.filePath(QStringLiteral("copy.cfg"));

    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("in the copy"));
    CancellingDialogs().fileAnswers = {copy};
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(ReadConfigurationFile(copy.toStdString()).Text(Tag::PageTitle), "in the copy");
    QVERIFY(!fs::exists(In(folder, "config.dat"))); // a copy is not the working file
    QVERIFY(w.Document().IsModified());

    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ReadConfigurationFile(In(folder, "config.dat")).Text(Tag::PageTitle), "in the copy");
    QVERIFY(Control<FadingNote>(w, "lblSaveNote")->isVisible());
    QVERIFY(Control<FadingNote>(w, "lblSaveNote")->text().startsWith(QStringLiteral("Saved to ")));
    QVERIFY(!w.Document().IsModified());

    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("changed"));
    CancellingDialogs().fileAnswers = {copy};
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Control<QLineEdit>(w, "edtPageTitle")->text(), QStringLiteral("in the copy"));
    QCOMPARE(CancellingDialogs().fileTitles.mid(CancellingDialogs().fileTitles.size() - 2),
             (QStringList{QStringLiteral("Save a Copy As"), QStringLiteral("Load From File")}));
    // Loading over the unsaved "changed" asked first (the recording service answers "load
    // without saving").
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].kind, QStringLiteral("close question"));
    window_.reset();
}

void AutosaveWindowTest::longValueSurvivesLoadAndSave() {
    ProgramFolder folder;
    RecordingMessageService messages;
    window_ = Open(folder, messages);
    const std::string longText(100000, 'x');
    const Tag tags[] = {Tag::PageTitle, Tag::Description, Tag::FooterPicture};
    LetterConfiguration config;
    for (const Tag tag : tags) {
        config.Set(tag, longText + std::to_string(Index(tag)));
    }
    WriteConfigurationFile(In(folder, "config.dat"), config);
    Control<QPushButton>(*window_, "btnLoad")->click();
    Control<QPushButton>(*window_, "btnSave")->click();
    QVERIFY(messages.messages.isEmpty());
    const LetterConfiguration saved = ReadConfigurationFile(In(folder, "config.dat"));
    for (const Tag tag : tags) {
        QCOMPARE(saved.Text(tag).size(), config.Text(tag).size());
        QVERIFY(saved.Text(tag) == config.Text(tag));
    }
    window_.reset();
}

int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    AutosaveWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AutosaveWindowTest.moc"
#include "tests/support/TfrmMainProbe.h"
