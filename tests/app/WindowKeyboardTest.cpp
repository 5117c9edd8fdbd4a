// The main window for keyboard and screen reader users, and at sizes below its start-up size:
// font names that work, Tab through the pages, the navigation keys, the accessible tree, and
// where the Browse dialogs open.
#include "TfrmMain.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "tests/support/EditorScripts.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ReadyWindow.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/RecordingMessageService.h"
#include "widgets/FontNameChooser.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace scribvane;
using namespace scribvane::testing;

namespace {} // namespace

class WindowKeyboardTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    RecordingMessageService messages_;
    RecordingDialogService dialogs_;
    std::unique_ptr<TfrmMain> window_;

    void Press(QKeyCombination key) {
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

private Q_SLOTS:
    void initTestCase() {
        window_ =
            std::make_unique<TfrmMain>(folder_.path(), &messages_, NoUpdateServer(), &dialogs_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(EditorsReady(*window_), kEditorsReadyTimeoutMs);
    }

    void cleanupTestCase() { window_.reset(); }

    void fontChoosersListFamilyNamesOnce() {
        QList<QComboBox*> choosers{Control<FontNameChooser>(*window_, "cbxFName"),
                                   Control<FontNameChooser>(*window_, "cbxTName"),
                                   Control<FontNameChooser>(*window_, "cbxOName")};
        for (FormattingToolbar* toolbar : Probe(*window_).Toolbars()) {
            choosers << toolbar->fontNameChooser();
        }
        for (QComboBox* chooser : choosers) {
            QSet<QString> seen;
            for (int index = 0; index < chooser->count(); ++index) {
                const QString name = chooser->itemText(index);
                QVERIFY2(!name.contains(QLatin1Char('[')), qPrintable(name));
                QVERIFY2(!seen.contains(name), qPrintable(name));
                seen.insert(name);
            }
        }
        QCOMPARE(TypefaceFamilies({QStringLiteral("Nimbus Sans [urw]"),
                                   QStringLiteral("Nimbus Sans [UKWN]"),
                                   QStringLiteral("C059 [UKWN]"), QStringLiteral("DejaVu Sans")}),
                 (QStringList{QStringLiteral("Nimbus Sans"), QStringLiteral("C059"),
                              QStringLiteral("DejaVu Sans")}));
    }

    void chosenFamilyRendersInTheArea() {
        QComboBox* chooser = Probe(*window_).Toolbars()[0]->fontNameChooser();
        const int mono = static_cast<int>(ItemsIndex(
            chooser, {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")}));
        if (mono < 0) {
            QSKIP("no monospaced family installed to tell apart");
        }
        Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(1);
        HtmlEditor& editor = *Control<HtmlEditor>(*window_, "prfEditor1");
        editor.SetDocumentHTML(QStringLiteral("iiiii WWWWW"));
        RunScript(editor, QStringLiteral("document.execCommand('selectAll'); true"));
        chooser->setCurrentIndex(mono);
        // The family the engine computes for the text is the chosen one, and it is drawn in
        // it: its width differs from the same text in a family that does not exist.
        const QVariantList answer =
            RunScript(editor, QStringLiteral(
                                  "var e = document.body.querySelector('font');"
                                  "var probe = document.createElement('span');"
                                  "probe.style.fontFamily = 'No Such Family Anywhere';"
                                  "probe.textContent = e.textContent; document.body.append(probe);"
                                  "var w = probe.getBoundingClientRect().width; probe.remove();"
                                  "[getComputedStyle(e).fontFamily, e.getBoundingClientRect()."
                                  "width, w]"))
                .toList();
        QCOMPARE(answer.size(), 3);
        QCOMPARE(answer[0].toString().remove(QLatin1Char('"')), chooser->itemText(mono));
        QVERIFY(qAbs(answer[1].toDouble() - answer[2].toDouble()) > 1.0);
    }

    void tabWalksStepOneFieldByFieldWithItsButtons() {
        Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(0);
        Control<QLineEdit>(*window_, "edtCurrentDate")->setFocus();
        QTRY_VERIFY(Control<QLineEdit>(*window_, "edtCurrentDate")->hasFocus());
        // Each picture's description comes after its Browse button.
        const QList<QWidget*> expected{Control<QLineEdit>(*window_, "edtPageDescription"),
                                       Control<QLineEdit>(*window_, "edtLanguage"),
                                       Control<QLineEdit>(*window_, "edtHeaderPicture"),
                                       Control<QPushButton>(*window_, "bsSkinButton1"),
                                       Control<QLineEdit>(*window_, "edtHeaderPictureDescription"),
                                       Control<QLineEdit>(*window_, "edtCoverPicture"),
                                       Control<QPushButton>(*window_, "bsSkinButton2"),
                                       Control<QLineEdit>(*window_, "edtCoverPictureDescription"),
                                       Control<QLineEdit>(*window_, "edtFooterPicture"),
                                       Control<QPushButton>(*window_, "bsSkinButton4"),
                                       Control<QLineEdit>(*window_, "edtFooterPictureDescription")};
        for (QWidget* next : expected) {
            Press(Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), next);
        }
    }

    void tabGoesThroughAnAreaAndOnToTheNextField() {
        Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(1);
        Probe(*window_).Toolbars()[0]->fontSizeChooser()->setFocus();
        Press(Qt::Key_Tab);
        QTRY_VERIFY(
            Control<HtmlEditor>(*window_, "prfEditor1")->isAncestorOf(QApplication::focusWidget()));
        Press(Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), Control<QLineEdit>(*window_, "edtAttention"));
        Press(QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab));
        QTRY_VERIFY(
            Control<HtmlEditor>(*window_, "prfEditor1")->isAncestorOf(QApplication::focusWidget()));
    }

    // A formatting button takes no focus, and a click on it must not hand the focus to a
    // container either: the caret stays in the area for what is typed next.
    void toolbarClicksKeepTheFocusInTheArea() {
        Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(1);
        HtmlEditor* area = Control<HtmlEditor>(*window_, "prfEditor1");
        area->setFocus();
        QTRY_VERIFY(area->isAncestorOf(QApplication::focusWidget()));
        for (const char* name : {"btnBold1", "btnPlecas1"}) {
            auto* button = window_->findChild<QToolButton*>(QString::fromLatin1(name));
            QVERIFY2(button != nullptr, name);
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(area->isAncestorOf(QApplication::focusWidget()), name);
        }
    }

    // After a formatting button, what is typed next lands where the caret was: typed text,
    // the caret moved back by the keyboard, a click, and one more letter.
    void toolbarClicksKeepTheCaret_data() {
        QTest::addColumn<QString>("first"); // a button clicked before the caret moves, or none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("markup"); // the X typed after the click stands there
        QTest::newRow("bulleted list")
            << ""
            << "btnPlecas1" << QStringList{"<ul>", "<li>alpha beXta</li>"};
        QTest::newRow("numbered list")
            << ""
            << "btnNumber1" << QStringList{"<ol>", "<li>alpha beXta</li>"};
        QTest::newRow("list ended") << "btnPlecas1"
                                    << "btnPlecas1" << QStringList{"alpha beXta"};
        QTest::newRow("indent") << ""
                                << "btnIdent1" << QStringList{">alpha beXta</blockquote>"};
        QTest::newRow("outdent") << "btnIdent1"
                                 << "btnOutdent1" << QStringList{"alpha beXta"};
        QTest::newRow("centre") << ""
                                << "btnCenter1" << QStringList{"center;\">alpha beXta</div>"};
        QTest::newRow("justify") << ""
                                 << "btnAlign1" << QStringList{"justify;\">alpha beXta</div>"};
        QTest::newRow("bold") << ""
                              << "btnBold1" << QStringList{"alpha be<b>X</b>ta"};
    }

    void toolbarClicksKeepTheCaret() {
        QFETCH(QString, first);
        QFETCH(QString, button);
        QFETCH(QStringList, markup);
        window_->findChild<QStackedWidget*>(QStringLiteral("pgcMain"))->setCurrentIndex(1);
        auto* area = window_->findChild<HtmlEditor*>(QStringLiteral("prfEditor1"));
        auto* click = window_->findChild<QToolButton*>(button);
        QVERIFY(area != nullptr && click != nullptr);
        area->setFocus();
        QWidget* surface = area->view()->focusProxy();
        QTRY_VERIFY(surface != nullptr && surface->hasFocus());
        // An empty area with the caret in it, as a fresh one is.
        RunScript(*area, QStringLiteral("document.body.innerHTML = '';"
                                        "getSelection().collapse(document.body, 0); true"));
        const auto text = [area] {
            return RunScript(*area, QStringLiteral("document.body.textContent")).toString();
        };
        QTest::keyClicks(surface, QStringLiteral("alpha beta"));
        QTRY_COMPARE(text(), QStringLiteral("alpha beta"));
        if (!first.isEmpty()) {
            QTest::mouseClick(window_->findChild<QToolButton*>(first), Qt::LeftButton);
        }
        QTest::keyClick(surface, Qt::Key_Left);
        QTest::keyClick(surface, Qt::Key_Left);
        // The keys reach the engine on another way than the command: wait until they acted.
        QTRY_COMPARE(RunScript(*area, QStringLiteral("getSelection().anchorOffset")).toInt(), 8);

        QTest::mouseClick(click, Qt::LeftButton);
        QTest::keyClicks(surface, QStringLiteral("X"));
        QTRY_COMPARE(text().size(), 11);
        QCOMPARE(text(), QStringLiteral("alpha beXta"));
        const QString body = area->GetBodyHTML();
        for (const QString& part : markup) {
            QVERIFY2(body.contains(part), qPrintable(body));
        }
    }

    void navigationKeysFollowTheButtonRules() {
        window_->btnBackClick();
        while (Control<QStackedWidget>(*window_, "pgcMain")->currentIndex() > 0) {
            window_->btnBackClick();
        }
        Control<QLineEdit>(*window_, "edtPageTitle")->setFocus();
        const struct {
            QKeyCombination key;
            int page;
        } steps[] = {{QKeyCombination(Qt::AltModifier, Qt::Key_Left), 0},
                     {QKeyCombination(Qt::AltModifier, Qt::Key_Right), 1},
                     {QKeyCombination(Qt::AltModifier, Qt::Key_N), 2},
                     {QKeyCombination(Qt::AltModifier, Qt::Key_B), 1},
                     {QKeyCombination(Qt::AltModifier, Qt::Key_Left), 0}};
        for (const auto& step : steps) {
            Press(step.key);
            QTRY_COMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), step.page);
            QCOMPARE(Control<QPushButton>(*window_, "btnBack")->isEnabled(), step.page > 0);
        }
        QCOMPARE(Control<QPushButton>(*window_, "btnBack")->text(), QStringLiteral("Back"));
        QCOMPARE(Control<QPushButton>(*window_, "btnNext")->text(), QStringLiteral("Next"));
        for (int page = 0; page < 7; ++page) {
            window_->btnNextClick();
        }
        QVERIFY(!Control<QPushButton>(*window_, "btnNext")->isEnabled());
        Press(QKeyCombination(Qt::AltModifier, Qt::Key_Right));
        QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 7);

        // Ctrl+Enter presses "Save generated code": with no output name it says so.
        messages_.messages.clear();
        Control<QLineEdit>(*window_, "edtFilename")->clear();
        Control<QLineEdit>(*window_, "edtFilename")->setFocus();
        Press(QKeyCombination(Qt::ControlModifier, Qt::Key_Return));
        QTRY_COMPARE(messages_.messages.size(), 1);
    }

    void screenReadersMeetOneNamedWindowAndNamedAreas() {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(window_.get());
        QVERIFY(window != nullptr);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Scribvane"));
        // One window: the engine's off-screen surfaces are not among the program's.
        QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
        QVERIFY(application != nullptr);
        QCOMPARE(application->childCount(), 1);
        QCOMPARE(application->child(0), window);
        QAccessibleInterface* area =
            QAccessible::queryAccessibleInterface(Control<HtmlEditor>(*window_, "prfEditor2"));
        QCOMPARE(area->text(QAccessible::Name), QStringLiteral("Introduction paragraph"));
    }

    void windowShrinksBelowItsStartUpSize() {
        Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(3);
        // Narrower than at start-up, down to the width the button bar's captions need, and
        // far lower.
        const int narrow = window_->minimumSizeHint().width();
        QVERIFY(narrow < 785);
        window_->resize(narrow, 360);
        QTRY_COMPARE(window_->size(), QSize(narrow, 360));
        // The page keeps its room and scrolls.
        QVERIFY(Control<QWidget>(*window_, "bsSkinTabSheet4")->height() >=
                Control<QWidget>(*window_, "bsSkinTabSheet4")->minimumSizeHint().height());
        window_->resize(785, 631);
    }

    void browseOpensWhereTheFieldPoints() {
        QTemporaryDir pictures;
        const QString chosen = QDir(pictures.path()).filePath(QStringLiteral("cover.png"));
        dialogs_.fileAnswers = {chosen};
        Control<QLineEdit>(*window_, "edtCoverPicture")->setText(QString());
        window_->bsSkinButton2Click();
        QCOMPARE(Control<QLineEdit>(*window_, "edtCoverPicture")->text(), chosen);

        const struct {
            QString field;
            QString start;
        } cases[] = {{QDir::tempPath() + QStringLiteral("/header.png"),
                      QDir::tempPath() + QStringLiteral("/header.png")},
                     {QStringLiteral("http://example.com/a.png"), pictures.path()},
                     {QString(), pictures.path()},
                     {QStringLiteral("/no/such/folder/a.png"), pictures.path()}};
        for (const auto& c : cases) {
            Control<QLineEdit>(*window_, "edtHeaderPicture")->setText(c.field);
            window_->bsSkinButton1Click(); // cancelled
            QCOMPARE(dialogs_.startPaths.constLast(), c.start);
            QCOMPARE(Control<QLineEdit>(*window_, "edtHeaderPicture")->text(), c.field);
        }
    }

private:
    static qsizetype ItemsIndex(const QComboBox* chooser, const QStringList& names) {
        for (const QString& name : names) {
            const int index = chooser->findText(name);
            if (index >= 0) {
                return index;
            }
        }
        return -1;
    }
};

QTEST_MAIN(WindowKeyboardTest)
#include "WindowKeyboardTest.moc"
#include "tests/support/TfrmMainProbe.h"
