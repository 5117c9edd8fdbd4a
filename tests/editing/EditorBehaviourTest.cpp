// The editing area as a desktop editor: clean paste from word processors and web pages, Tab
// leaving the area, spelling suggestions, and the toolbar showing the format at the caret.
#include "editing/ColorDialog.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "tests/support/EditorScripts.h"
#include "tests/support/RecordingDialogService.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace scribvane;
using scribvane::testing::RunScript;
using scribvane::testing::Stored;

namespace {

constexpr int kTimeoutMs = 60000;

// The engine's surface that takes the keys.
QWidget* Surface(HtmlEditor& editor) {
    return editor.view()->focusProxy() != nullptr ? editor.view()->focusProxy() : editor.view();
}

// An empty area, as a fresh one is, with the caret in it.
void EmptyWithCaret(HtmlEditor& editor) {
    RunScript(editor, QStringLiteral("document.body.innerHTML = '';"
                                     "var r = document.createRange();"
                                     "r.selectNodeContents(document.body); r.collapse(false);"
                                     "getSelection().removeAllRanges(); getSelection().addRange(r);"
                                     "true"));
}

} // namespace

class EditorBehaviourTest : public QObject {
    Q_OBJECT

private:
    QWidget frame_;
    QLineEdit* before_ = nullptr;
    HtmlEditor* editor_ = nullptr;
    QLineEdit* after_ = nullptr;

    void Focus() {
        editor_->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(Surface(*editor_)->hasFocus());
    }

private Q_SLOTS:
    void initTestCase() {
        auto* layout = new QVBoxLayout(&frame_);
        before_ = new QLineEdit(&frame_);
        editor_ = new HtmlEditor(&frame_);
        editor_->setAccessibleName(QStringLiteral("Main headline"));
        after_ = new QLineEdit(&frame_);
        layout->addWidget(before_);
        layout->addWidget(editor_);
        layout->addWidget(after_);
        frame_.resize(500, 400);
        frame_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame_));
        QTRY_VERIFY_WITH_TIMEOUT(editor_->IsReady(), kTimeoutMs);
        frame_.activateWindow();
    }

    void pasteKeepsOnlyWhatTheToolbarMakes_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("stored");
        QTest::newRow("word processor")
            << QStringLiteral(
                   "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head><style>"
                   "p.MsoNormal{margin:0}</style></head><body><!--StartFragment-->"
                   "<p class=\"MsoNormal\" style=\"mso-line-height-rule:exactly\"><b><span "
                   "lang=\"EN-US\" style=\"font-family:'Liberation Serif';mso-bidi-font-family:"
                   "Arial\">Big</span></b><span class=\"x\"> offer<o:p></o:p></span></p>"
                   "<p class=\"MsoNormal\" align=\"center\"><i>now</i></p><!--EndFragment-->"
                   "</body></html>")
            << QStringLiteral("<p><b><font face=\"Liberation Serif\">Big</font></b> offer</p>"
                              "<p style=\"text-align: center;\"><i>now</i></p>");
        QTest::newRow("web page")
            << QStringLiteral(
                   "<meta charset=\"utf-8\"><div class=\"card\" data-id=\"7\"><script>x()"
                   "</script><strong>Save</strong> <span></span>today<ul class=\"l\"><li "
                   "style=\"color: rgb(0, 0, 255);\">one</li><li>two <a href=\"https://x.test/\" "
                   "onclick=\"f()\">more</a></li></ul></div>")
            << QStringLiteral("<div><b>Save</b> today<ul><li><font color=\"#0000FF\">one</font>"
                              "</li><li>two <a href=\"https://x.test/\">more</a></li></ul></div>");
    }

    void pasteKeepsOnlyWhatTheToolbarMakes() {
        QFETCH(QString, html);
        QFETCH(QString, stored);
        Focus();
        EmptyWithCaret(*editor_);
        auto* data = new QMimeData;
        data->setHtml(html);
        data->setText(QStringLiteral("plain"));
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(Surface(*editor_), Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(Stored(editor_->GetBodyHTML()), stored);
    }

    void ctrlShiftVPastesPlainText() {
        Focus();
        EmptyWithCaret(*editor_);
        auto* data = new QMimeData;
        data->setHtml(QStringLiteral("<b>rich</b>"));
        data->setText(QStringLiteral("plain & simple"));
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(Surface(*editor_), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(Stored(editor_->GetBodyHTML()), QStringLiteral("plain &amp; simple"));
    }

    void tabLeavesTheAreaBothWaysInsertingNothing() {
        editor_->SetDocumentHTML(QStringLiteral("<b>Head</b>line"));
        const QString stored = Stored(editor_->GetBodyHTML());
        Focus();
        QTest::keyClick(Surface(*editor_), Qt::Key_Tab);
        QTRY_VERIFY(after_->hasFocus());
        Focus();
        QTest::keyClick(Surface(*editor_), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(before_->hasFocus());
        QCOMPARE(Stored(editor_->GetBodyHTML()), stored);
        // And Tab from the field before comes into the area.
        QTest::keyClick(before_, Qt::Key_Tab);
        QTRY_VERIFY(Surface(*editor_)->hasFocus());
    }

    void misspeltWordGetsSuggestionsThatReplaceIt() {
        Focus();
        EmptyWithCaret(*editor_);
        QTest::keyClicks(Surface(*editor_), QStringLiteral("Buy tomorow "));
        QTRY_VERIFY(Stored(editor_->GetBodyHTML()).contains(QStringLiteral("tomorow")));
        const QVariantList box =
            RunScript(*editor_, QStringLiteral("var t = document.body.firstChild;"
                                               "var r = document.createRange();"
                                               "r.setStart(t, 5); r.setEnd(t, 8);"
                                               "var b = r.getBoundingClientRect();"
                                               "[b.left + b.width / 2, b.top + b.height / 2]"))
                .toList();
        QCOMPARE(box.size(), 2);
        const QPoint at(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
        // The checker marks the word a moment after it was typed; ask until it did.
        QPointer<QMenu> menu; // each one goes when it closes
        QAction* suggestion = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                if (menu != nullptr) {
                    menu->close();
                }
                QTest::mouseClick(Surface(*editor_), Qt::RightButton, {}, at);
                if (!QTest::qWaitFor([&] { return (menu = editor_->findChild<QMenu*>()); }, 2000)) {
                    return false;
                }
                for (QAction* action : menu->actions()) {
                    if (action->text() == QStringLiteral("tomorrow")) {
                        suggestion = action;
                    }
                }
                return suggestion != nullptr;
            },
            kTimeoutMs));
        suggestion->trigger();
        QTRY_COMPARE(Stored(editor_->GetBodyHTML()).remove(QStringLiteral("&nbsp;")).simplified(),
                     QStringLiteral("Buy tomorrow"));
    }

    void toolbarShowsTheFormatAtTheCaret() {
        testing::RecordingDialogService dialogs;
        ColorDialog colors(dialogs);
        FormattingToolbar toolbar(
            1, [this](int) { return editor_; }, colors, dialogs);
        connect(editor_, &HtmlEditor::formatStateChanged, &toolbar,
                &FormattingToolbar::ShowFormatState);
        const auto button = [&](const char* name) {
            return toolbar.findChild<QToolButton*>(QLatin1String(name));
        };
        editor_->SetDocumentHTML(
            QStringLiteral("<div><b>bold</b> plain</div><div style=\"text-align: center;\">"
                           "<i>mid</i></div>"));
        Focus();
        const struct {
            const char* place; // where the caret goes
            bool bold;
            bool italic;
            bool centred;
        } cases[] = {{"document.querySelector('b').firstChild, 2", true, false, false},
                     {"document.querySelector('i').firstChild, 1", false, true, true}};
        for (const auto& c : cases) {
            RunScript(
                *editor_,
                QStringLiteral("getSelection().collapse(%1); true").arg(QLatin1String(c.place)));
            // A caret move by the keyboard, as the user makes it.
            QTest::keyClick(Surface(*editor_), Qt::Key_Right);
            QTRY_COMPARE(button("btnBold1")->isChecked(), c.bold);
            QTRY_COMPARE(button("btnItalic1")->isChecked(), c.italic);
            QTRY_COMPARE(button("btnCenter1")->isChecked(), c.centred);
        }
        QVERIFY(!button("btnUnderline1")->isChecked());
        QVERIFY(!button("btnNumber1")->isCheckable());
    }

    // Link makes the selection a link (a typed address made one a link needs, a refused one
    // asked again), offers the link at the caret to change or remove; Heading toggles an h2;
    // Clear Formatting takes the inline formatting away. The stored form carries them.
    void linkHeadingAndClearFormattingReachTheStoredPassage() {
        testing::RecordingDialogService dialogs;
        ColorDialog colors(dialogs);
        FormattingToolbar toolbar(
            1, [this](int) { return editor_; }, colors, dialogs);
        editor_->SetDocumentHTML(QStringLiteral("<div>Order <b>here</b></div>"));
        Focus();
        const auto select = [this](const char* script) {
            RunScript(*editor_, QStringLiteral("var r = document.createRange(); %1;"
                                               "getSelection().removeAllRanges();"
                                               "getSelection().addRange(r); true")
                                    .arg(QLatin1String(script)));
        };
        select("r.selectNodeContents(document.querySelector('b'))");
        dialogs.textAnswers = {QStringLiteral("javascript:alert(1)"),
                               QStringLiteral("shop.example/order?a=1&b=2")};
        toolbar.LinkClick();
        QCOMPARE(dialogs.textLabels.size(), 2); // refused, then asked again
        QVERIFY(dialogs.textLabels[1].startsWith(QStringLiteral("That is not")));
        QTRY_VERIFY(editor_->GetBodyHTML().contains(
            QStringLiteral("<a href=\"https://shop.example/order?a=1&amp;b=2\">")));

        // A caret in the link offers it, and an empty answer removes it.
        RunScript(*editor_, QStringLiteral("getSelection().collapse("
                                           "document.querySelector('a b').firstChild, 1); true"));
        dialogs.textAnswers = {QString()};
        toolbar.LinkClick();
        QCOMPARE(dialogs.offeredTexts.last(), QStringLiteral("https://shop.example/order?a=1&b=2"));
        QTRY_VERIFY(!editor_->GetBodyHTML().contains(QStringLiteral("<a ")));
        // An e-mail address becomes a mailto link.
        select("r.selectNodeContents(document.querySelector('b'))");
        dialogs.textAnswers = {QStringLiteral("help@shop.example")};
        toolbar.LinkClick();
        QTRY_VERIFY(
            editor_->GetBodyHTML().contains(QStringLiteral("href=\"mailto:help@shop.example\"")));

        toolbar.HeadingClick();
        QTRY_VERIFY(editor_->GetBodyHTML().contains(QStringLiteral("<h2>")));
        toolbar.HeadingClick();
        QTRY_VERIFY(!editor_->GetBodyHTML().contains(QStringLiteral("<h2>")));
        select("r.selectNodeContents(document.body)");
        toolbar.ClearFormattingClick();
        QTRY_VERIFY(!editor_->GetBodyHTML().contains(QStringLiteral("<b>")));
    }
};

QTEST_MAIN(EditorBehaviourTest)
#include "EditorBehaviourTest.moc"
