// The HTML editing area on a real engine: its states, the serialized reads, the writes, the
// commands, and that a stored passage loads back to the very same text.
#include "editing/HtmlEditor.h"

#include "tests/support/EditorScripts.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace scribvane;
using scribvane::testing::RunScript;
using scribvane::testing::Stored;

namespace {

constexpr int kReadyTimeoutMs = 60000;

void SelectAll(HtmlEditor& editor) {
    RunScript(editor, QStringLiteral("document.execCommand('selectAll'); true"));
}

} // namespace

class HtmlEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HtmlEditor> shared_;

    static std::unique_ptr<HtmlEditor> ReadyEditor() {
        auto editor = std::make_unique<HtmlEditor>();
        editor->resize(400, 300);
        editor->show();
        if (!QTest::qWaitFor([&] { return editor->IsReady(); }, kReadyTimeoutMs)) {
            qWarning("the editing area did not become ready");
        }
        return editor;
    }

private Q_SLOTS:
    void initTestCase() {
        shared_ = ReadyEditor();
        QVERIFY(shared_->IsReady());
    }

    void cleanupTestCase() { shared_.reset(); }

    void readsGiveBusyAndWritesDoNothingBeforeReady() {
        HtmlEditor editor;
        QSignalSpy ready(&editor, &HtmlEditor::ready);
        QVERIFY(!editor.IsReady());
        QCOMPARE(editor.GetDocumentHTML(), QStringLiteral("BUSY"));
        QCOMPARE(editor.GetBodyHTML(), QStringLiteral("BUSY"));
        editor.SetDocumentHTML(QStringLiteral("<b>too early</b>"));
        editor.ExecCommand(QStringLiteral("Bold"));

        editor.show();
        QVERIFY(ready.wait(kReadyTimeoutMs));
        QCOMPARE(editor.GetBodyHTML(), QStringLiteral("<body>&nbsp;</body>"));
        editor.SetDocumentHTML(QStringLiteral("<div>later</div>"));
        QCOMPARE(editor.GetBodyHTML(), QStringLiteral("<body>\r\n  <div>later</div>\r\n</body>"));
        QCOMPARE(ready.count(), 1);
    }

    void emptyAreaGivesOneNoBreakSpace_data() {
        QTest::addColumn<QString>("fragment");
        QTest::newRow("nothing") << QString();
        QTest::newRow("white space") << QStringLiteral("  \r\n\t ");
        QTest::newRow("empty block with a break") << QStringLiteral("<div><br></div>");
        QTest::newRow("empty paragraphs") << QStringLiteral("<p></p><p> </p>");
    }

    void emptyAreaGivesOneNoBreakSpace() {
        QFETCH(QString, fragment);
        auto fresh = ReadyEditor();
        QCOMPARE(fresh->GetBodyHTML(), QStringLiteral("<body>&nbsp;</body>"));
        shared_->SetDocumentHTML(QStringLiteral("<b>before</b>"));
        shared_->SetDocumentHTML(fragment);
        QCOMPARE(shared_->GetBodyHTML(), QStringLiteral("<body>&nbsp;</body>"));
        QVERIFY(shared_->GetDocumentHTML().contains(QStringLiteral("\r\n<body>&nbsp;</body>\r\n")));
    }

    void setThenGet_data() {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QString>("body");
        QTest::newRow("inline") << QStringLiteral("<B>Hi</B>   there")
                                << QStringLiteral("<body><b>Hi</b> there</body>");
        QTest::newRow("blocks")
            << QStringLiteral("<div>a</div><div><i>b</i></div>")
            << QStringLiteral("<body>\r\n  <div>a</div>\r\n  <div><i>b</i></div>\r\n</body>");
        QTest::newRow("font") << QStringLiteral("<font face=Arial size=7 color=#FF0000>f</font>")
                              << QStringLiteral("<body><font face=\"Arial\" size=\"7\" "
                                                "color=\"#FF0000\">f</font></body>");
        QTest::newRow("characters")
            << QStringLiteral("caf\u00e9 \u20ac &amp; \u2603 a&nbsp;b")
            << QStringLiteral("<body>caf\u00e9 \u20ac &amp; &#9731; a&nbsp;b</body>");
        QTest::newRow("void elements")
            << QStringLiteral("a<br>b<img src=\"pic.gif\">")
            << QStringLiteral("<body>a<br />b<img src=\"pic.gif\" /></body>");
        QTest::newRow("script dropped") << QStringLiteral("x<script>document.title='ran'</script>y")
                                        << QStringLiteral("<body>xy</body>");
    }

    void setThenGet() {
        QFETCH(QString, fragment);
        QFETCH(QString, body);
        shared_->SetDocumentHTML(fragment);
        QCOMPARE(shared_->GetBodyHTML(), body);
        const QString document = shared_->GetDocumentHTML();
        QVERIFY(document.startsWith(QStringLiteral(
            "<html>\r\n<head>\r\n<title></title>\r\n<meta http-equiv=\"Content-Type\" "
            "content=\"text/html; charset=windows-1252\" />\r\n</head>\r\n")));
        QVERIFY(document.endsWith(body + QStringLiteral("\r\n</html>")));
    }

    void saveLoadSaveChangesNothing_data() {
        QTest::addColumn<QString>("fragment");
        QTest::newRow("text") << QStringLiteral("plain  words   with runs ");
        QTest::newRow("nested blocks")
            << QStringLiteral("<div>a<div>b <b>c</b></div> tail </div><p>p</p>");
        QTest::newRow("list") << QStringLiteral("<ul><li>one</li><li>two<ol><li>x</ol></ul>");
        QTest::newRow("table") << QStringLiteral(
            "<table border=1><tr><td>a</td><td> b</td></table>");
        QTest::newRow("pre") << QStringLiteral("<pre>\n\n  two  spaces\nline</pre>");
        QTest::newRow("attributes")
            << QStringLiteral("<span title=\"a  b\nc\" style=\"color: red\">s</span>");
        QTest::newRow("outside the code page") << QStringLiteral("\u2603 \U0001F600 \u0416");
        QTest::newRow("undefined code page bytes")
            << QString::fromStdU16String(AnsiToUtf16("x\x81y\x8D\x8F\x90\x9Dz"));
        QTest::newRow("editor markup")
            << QStringLiteral("<blockquote style=\"margin: 0 0 0 40px; border: none; padding: "
                              "0px;\"><div style=\"text-align: center;\"><font size=\"7\">Big"
                              "</font></div></blockquote>");
    }

    void saveLoadSaveChangesNothing() {
        QFETCH(QString, fragment);
        shared_->SetDocumentHTML(fragment);
        const QString first = shared_->GetDocumentHTML();
        QVERIFY(first != QStringLiteral("ERROR"));
        shared_->SetDocumentHTML(Stored(first));
        QCOMPARE(shared_->GetDocumentHTML(), first);
    }

    void saveLoadSaveChangesNothingForRandomTagSoup() {
        // Both parsers meet here: the engine's reads what the serializer wrote, gumbo reads
        // the engine's markup.
        const QStringList pieces = {QStringLiteral("<div>"),
                                    QStringLiteral("</div>"),
                                    QStringLiteral("<p>"),
                                    QStringLiteral("</p>"),
                                    QStringLiteral("<b>"),
                                    QStringLiteral("</b>"),
                                    QStringLiteral("<i>"),
                                    QStringLiteral("</i>"),
                                    QStringLiteral("<span title=\"a  b\">"),
                                    QStringLiteral("</span>"),
                                    QStringLiteral("<pre>"),
                                    QStringLiteral("</pre>"),
                                    QStringLiteral("<ul>"),
                                    QStringLiteral("<li>"),
                                    QStringLiteral("</ul>"),
                                    QStringLiteral("<table>"),
                                    QStringLiteral("<tr>"),
                                    QStringLiteral("<td>"),
                                    QStringLiteral("</table>"),
                                    QStringLiteral("<br>"),
                                    QStringLiteral("<hr>"),
                                    QStringLiteral(" "),
                                    QStringLiteral("  "),
                                    QStringLiteral("\n"),
                                    QStringLiteral("x"),
                                    QStringLiteral("&nbsp;"),
                                    QStringLiteral("&lt;"),
                                    QStringLiteral("\u2603"),
                                    QStringLiteral("<!--c-->"),
                                    QStringLiteral("<a href=u>"),
                                    QStringLiteral("</a>"),
                                    QStringLiteral("<font size=3>"),
                                    QStringLiteral("</font>"),
                                    QStringLiteral("<blockquote>"),
                                    QStringLiteral("<h1>"),
                                    QStringLiteral("</h1>"),
                                    QStringLiteral("<form>"),
                                    QStringLiteral("</form>"),
                                    QStringLiteral("<select>"),
                                    QStringLiteral("<option>"),
                                    QStringLiteral("<textarea>"),
                                    QStringLiteral("</textarea>"),
                                    QStringLiteral("<svg>"),
                                    QStringLiteral("</svg>"),
                                    QStringLiteral("<center>")};
        QRandomGenerator random(20261209);
        for (int round = 0; round < 500; ++round) {
            QString fragment;
            for (int length = random.bounded(25); length > 0; --length) {
                fragment += pieces.at(random.bounded(pieces.size()));
            }
            shared_->SetDocumentHTML(fragment);
            const QString first = shared_->GetDocumentHTML();
            QVERIFY(first.startsWith(QStringLiteral("<html>")));
            shared_->SetDocumentHTML(Stored(first));
            QVERIFY2(shared_->GetDocumentHTML() == first, qPrintable(fragment));
        }
    }

    void bigDocumentsWork() {
        QString fragment;
        for (int i = 0; i < 60000; ++i) {
            fragment += QStringLiteral("<div>line %1 of a long letter</div>").arg(i);
        }
        QVERIFY(fragment.size() > 2 * 1024 * 1024);
        shared_->SetDocumentHTML(fragment);
        const QString body = shared_->GetBodyHTML();
        QVERIFY(body.contains(QStringLiteral("<div>line 0 of a long letter</div>")));
        QVERIFY(body.contains(QStringLiteral("<div>line 59999 of a long letter</div>")));
        QCOMPARE(body.count(QStringLiteral("<div>")), 60000);
    }

    void runsOnlyTheFormattingCommands() {
        // The formatting commands are driven through the toolbars (FormattingToolbarTest); any
        // other command, even one the engine knows, is ignored.
        shared_->SetDocumentHTML(QStringLiteral("<div>word</div>"));
        SelectAll(*shared_);
        shared_->ExecCommand(QStringLiteral("Delete"));
        shared_->ExecCommand(QStringLiteral("insertHTML"), QStringLiteral("<i>new</i>"));
        QCOMPARE(shared_->GetBodyHTML(), QStringLiteral("<body>\r\n  <div>word</div>\r\n</body>"));
        shared_->ExecCommand(QStringLiteral("bold")); // names in any letter case
        QCOMPARE(shared_->GetBodyHTML(),
                 QStringLiteral("<body>\r\n  <div><b>word</b></div>\r\n</body>"));
    }

    // A command leaves the caret where it was, in its own paragraph, also where the places
    // before and after a paragraph break count the same characters from the start.
    void commandsKeepTheCaret_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("caret"); // a text node and an offset in it
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected"); // the text after typing X at the caret
        const QString twoLines = QStringLiteral("<div>one</div><div>alpha <b>beta</b> go</div>");
        const QString second = QStringLiteral("document.querySelectorAll('div')[1].firstChild");
        QTest::newRow("end of the first line")
            << twoLines << "document.querySelector('div').firstChild, 3"
            << "InsertUnorderedList"
            << "oneXalpha beta go";
        QTest::newRow("start of the second line") << twoLines << second + ", 0"
                                                  << "InsertOrderedList"
                                                  << "oneXalpha beta go";
        QTest::newRow("inside bold") << twoLines << "document.querySelector('b').firstChild, 2"
                                     << "InsertUnorderedList"
                                     << "onealpha beXta go";
        QTest::newRow("back out of a list") << "<ul><li>alpha</li></ul>"
                                            << "document.querySelector('li').firstChild, 3"
                                            << "InsertUnorderedList"
                                            << "alpXha";
        QTest::newRow("centred") << twoLines << second + ", 4"
                                 << "JustifyCenter"
                                 << "onealphXa beta go";
    }

    void commandsKeepTheCaret() {
        QFETCH(QString, html);
        QFETCH(QString, caret);
        QFETCH(QString, command);
        QFETCH(QString, expected);
        shared_->SetDocumentHTML(html);
        RunScript(*shared_, QStringLiteral("getSelection().collapse(%1); true").arg(caret));
        shared_->ExecCommand(command);
        QCOMPARE(RunScript(*shared_, QStringLiteral("document.execCommand('insertText', false, "
                                                    "'X'); document.body.textContent"))
                     .toString(),
                 expected);
    }

    void carriesTheNameTheWindowGivesIt() {
        HtmlEditor editor;
        editor.setAccessibleName(QStringLiteral("Main headline"));
        QSignalSpy ready(&editor, &HtmlEditor::ready);
        editor.show();
        QVERIFY(ready.wait(kReadyTimeoutMs));
        QCOMPARE(editor.view()->accessibleName(), QStringLiteral("Main headline"));
        editor.SetDocumentHTML(QStringLiteral("<title>Other</title>text"));
        QCOMPARE(RunScript(editor, QStringLiteral("document.title")).toString(),
                 QStringLiteral("Main headline"));
        // The live document's title never reaches the stored form.
        QVERIFY(editor.GetDocumentHTML().contains(QStringLiteral("\r\n<title></title>\r\n")));
        QCOMPARE(editor.GetBodyHTML(), QStringLiteral("<body>text</body>"));
    }

    void enterStartsADiv() {
        shared_->SetDocumentHTML(QStringLiteral("ab"));
        RunScript(*shared_, QStringLiteral("getSelection().collapse(document.body.firstChild, 1);"
                                           "document.execCommand('insertParagraph'); true"));
        QCOMPARE(shared_->GetBodyHTML(),
                 QStringLiteral("<body>\r\n  a\r\n  <div>b</div>\r\n</body>"));
    }

    void fetchesNothingFromTheNetwork() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString address = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
        shared_->SetDocumentHTML(QStringLiteral("<img id=\"remote\" src=\"%1a.gif\">"
                                                "<iframe src=\"%1frame\"></iframe>")
                                     .arg(address));
        // A refused picture is complete at once; one being fetched would wait for the server,
        // which never answers.
        QVERIFY(QTest::qWaitFor(
            [&] {
                return RunScript(*shared_,
                                 QStringLiteral("document.getElementById('remote').complete"))
                    .toBool();
            },
            kReadyTimeoutMs));
        QVERIFY(!server.hasPendingConnections());
        QVERIFY(!server.waitForNewConnection(0));
    }

    void staysOnItsOwnDocument() {
        shared_->SetDocumentHTML(QStringLiteral(
            "<div>keep</div><meta http-equiv=\"refresh\" content=\"0; url=about:blank\">"
            "<base href=\"http://127.0.0.1:9/\"><a href=\"about:blank\" id=\"away\">link</a>"));
        QCOMPARE(
            RunScript(*shared_, QStringLiteral("document.querySelectorAll('meta, base').length"))
                .toInt(),
            0);
        QSignalSpy finished(shared_->view()->page(), &QWebEnginePage::loadFinished);
        shared_->view()->page()->load(QUrl(QStringLiteral("data:text/html,elsewhere")));
        QVERIFY(finished.wait(kReadyTimeoutMs));
        RunScript(*shared_, QStringLiteral("document.getElementById('away').click(); true"));
        QVERIFY(shared_->IsReady());
        QVERIFY(shared_->GetBodyHTML().contains(QStringLiteral("<div>keep</div>")));
        QCOMPARE(RunScript(*shared_, QStringLiteral("document.designMode")).toString(),
                 QStringLiteral("on"));
    }
};

QTEST_MAIN(HtmlEditorTest)
#include "HtmlEditorTest.moc"
