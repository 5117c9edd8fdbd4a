// The formatting toolbar: its elements and names for every Tag, and that each element formats
// the selection of its own area only; the shared colour dialog's memory.
#include "editing/FormattingToolbar.h"

#include "editing/ColorDialog.h"
#include "editing/HtmlEditor.h"
#include "tests/support/RecordingDialogService.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace scribvane;
using scribvane::testing::RecordingDialogService;

namespace {

constexpr int kReadyTimeoutMs = 60000;

void SelectAll(HtmlEditor& editor) {
    bool done = false;
    editor.view()->page()->runJavaScript(QStringLiteral("document.execCommand('selectAll')"),
                                         QWebEngineScript::ApplicationWorld,
                                         [&](const QVariant&) { done = true; });
    QVERIFY(QTest::qWaitFor([&] { return done; }, kReadyTimeoutMs));
}

// The elements from left to right, "|" for a separator.
QStringList Layout(const FormattingToolbar& toolbar) {
    QStringList names;
    for (QAction* action : toolbar.actions()) {
        names << (action->isSeparator() ? QStringLiteral("|")
                                        : toolbar.widgetForAction(action)->objectName());
    }
    return names;
}

} // namespace

class FormattingToolbarTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HtmlEditor> area1_;
    std::unique_ptr<HtmlEditor> area10_;
    RecordingDialogService dialogs_;
    ColorDialog colorDialog_{dialogs_};
    int lookups_ = 0;

    FormattingToolbar::EditorForTag Lookup() {
        return [this](int tag) -> HtmlEditor* {
            ++lookups_;
            return tag == 1 ? area1_.get() : tag == 10 ? area10_.get() : nullptr;
        };
    }

    static std::unique_ptr<HtmlEditor> ReadyEditor() {
        auto editor = std::make_unique<HtmlEditor>();
        editor->resize(300, 200);
        editor->show();
        if (!QTest::qWaitFor([&] { return editor->IsReady(); }, kReadyTimeoutMs)) {
            qWarning("the editing area did not become ready");
        }
        return editor;
    }

    // Both areas hold one selected word, so a command sent to the wrong one would show.
    void SelectWordInBoth() {
        for (HtmlEditor* area : {area1_.get(), area10_.get()}) {
            area->SetDocumentHTML(QStringLiteral("<div>word</div>"));
            SelectAll(*area);
        }
    }

    static QToolButton* Button(FormattingToolbar& toolbar, const char* name) {
        auto* button = toolbar.findChild<QToolButton*>(QLatin1String(name));
        if (button == nullptr) {
            qWarning("no button %s", name);
        }
        return button;
    }

    const QString untouched = QStringLiteral("<body>\r\n  <div>word</div>\r\n</body>");

private Q_SLOTS:
    void initTestCase() {
        area1_ = ReadyEditor();
        area10_ = ReadyEditor();
        QVERIFY(area1_->IsReady() && area10_->IsReady());
    }

    void cleanupTestCase() {
        area1_.reset();
        area10_.reset();
    }

    void elementsCarryTheirNamesInOrder_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("layout");
        QTest::newRow("1") << 1
                           << QStringLiteral(
                                  "cbxFontName1 | cbxFontSize1 | btnBold1 btnItalic1 btnUnderline1 "
                                  "| btnNumber1 btnPlecas1 btnOutdent1 btnIdent1 | btnLeft1 "
                                  "btnCenter1 btnRight1 btnAlign1 | btnFontColor1 btnBGColor1 | "
                                  "btnLink1 btnHeading1 "
                                  "btnClearFormatting1");
        QTest::newRow("2") << 2
                           << QStringLiteral(
                                  "cbxFontName2 | cbxFontSize2 | btnBold2 btnItalic2 btnUnderline2 "
                                  "| btnNumber2 btnPlecas2 btnOutdent2 btnIdent2 | btnLeft2 "
                                  "btnCenter2 btnRight2 btnAlign2 | btnFontColor2 btnBGColor2 | "
                                  "btnLink2 btnHeading2 "
                                  "btnClearFormatting2");
        QTest::newRow("3") << 3
                           << QStringLiteral(
                                  "cbxFontName3 | bsSkinComboBox1 | bsSkinSpeedButton1 "
                                  "bsSkinSpeedButton2 bsSkinSpeedButton3 | bsSkinSpeedButton4 "
                                  "bsSkinSpeedButton5 bsSkinSpeedButton6 bsSkinSpeedButton7 | "
                                  "bsSkinSpeedButton8 bsSkinSpeedButton9 bsSkinSpeedButton10 "
                                  "bsSkinSpeedButton11 | bsSkinSpeedButton13 bsSkinSpeedButton12 | "
                                  "btnLink3 btnHeading3 btnClearFormatting3");
        QTest::newRow("10") << 10
                            << QStringLiteral(
                                   "cbxFontName10 | bsSkinComboBox7 | bsSkinSpeedButton92 "
                                   "bsSkinSpeedButton93 bsSkinSpeedButton94 | bsSkinSpeedButton95 "
                                   "bsSkinSpeedButton96 bsSkinSpeedButton97 bsSkinSpeedButton98 | "
                                   "bsSkinSpeedButton99 bsSkinSpeedButton100 bsSkinSpeedButton101 "
                                   "bsSkinSpeedButton102 | bsSkinSpeedButton104 "
                                   "bsSkinSpeedButton103 | btnLink10 btnHeading10 "
                                   "btnClearFormatting10");
        QTest::newRow("11") << 11
                            << QStringLiteral(
                                   "cbxFontName11 | bsSkinComboBox10 | bsSkinSpeedButton105 "
                                   "bsSkinSpeedButton106 bsSkinSpeedButton107 | "
                                   "bsSkinSpeedButton108 bsSkinSpeedButton109 bsSkinSpeedButton110 "
                                   "bsSkinSpeedButton111 | bsSkinSpeedButton112 "
                                   "bsSkinSpeedButton113 bsSkinSpeedButton114 bsSkinSpeedButton115 "
                                   "| bsSkinSpeedButton117 bsSkinSpeedButton116 | btnLink11 "
                                   "btnHeading11 btnClearFormatting11");
    }

    void elementsCarryTheirNamesInOrder() {
        QFETCH(int, tag);
        QFETCH(QString, layout);
        lookups_ = 0;
        FormattingToolbar toolbar(tag, Lookup(), colorDialog_, dialogs_);
        QCOMPARE(Layout(toolbar).join(QLatin1Char(' ')), layout);
        for (QAction* action : toolbar.actions()) {
            if (action->isSeparator()) {
                continue;
            }
            QWidget* element = toolbar.widgetForAction(action);
            QCOMPARE(element->property("Tag").toInt(), tag);
            QVERIFY(!element->accessibleName().isEmpty());
            if (auto* button = qobject_cast<QToolButton*>(element)) {
                QCOMPARE(button->focusPolicy(), Qt::NoFocus);
                QVERIFY(button->text().isEmpty());
                QVERIFY(!button->icon().isNull());
                QVERIFY(!button->icon().pixmap(16, 16).isNull());
            }
        }
        QCOMPARE(lookups_, 0); // nothing was sent while building
    }

    void sizeChooserOffersSevenFixedSizes() {
        lookups_ = 0;
        FormattingToolbar toolbar(1, Lookup(), colorDialog_, dialogs_);
        QComboBox* sizes = toolbar.fontSizeChooser();
        QStringList items;
        for (int i = 0; i < sizes->count(); ++i) {
            items << sizes->itemText(i);
        }
        QCOMPARE(items, (QStringList{QStringLiteral("1  (  8 pt)"), QStringLiteral("2  (10 pt)"),
                                     QStringLiteral("3  (12 pt)"), QStringLiteral("4  (14 pt)"),
                                     QStringLiteral("5  (18 pt)"), QStringLiteral("6  (24 pt)"),
                                     QStringLiteral("7  (36 pt)")}));
        QCOMPARE(sizes->currentText(), QStringLiteral("3  (12 pt)"));
        QVERIFY(!sizes->isEditable());
        QCOMPARE(lookups_, 0);
    }

    void boldFormatsOnlyItsOwnArea_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("button");
        QTest::newRow("toolbar 10") << 10 << QStringLiteral("bsSkinSpeedButton92");
        QTest::newRow("toolbar 1") << 1 << QStringLiteral("btnBold1");
    }

    void boldFormatsOnlyItsOwnArea() {
        QFETCH(int, tag);
        QFETCH(QString, button);
        FormattingToolbar toolbar1(1, Lookup(), colorDialog_, dialogs_);
        FormattingToolbar toolbar10(10, Lookup(), colorDialog_, dialogs_);
        SelectWordInBoth();
        FormattingToolbar& toolbar = tag == 1 ? toolbar1 : toolbar10;
        toolbar.findChild<QToolButton*>(button)->click();
        HtmlEditor* own = tag == 1 ? area1_.get() : area10_.get();
        HtmlEditor* other = tag == 1 ? area10_.get() : area1_.get();
        QCOMPARE(own->GetBodyHTML(),
                 QStringLiteral("<body>\r\n  <div><b>word</b></div>\r\n</body>"));
        QCOMPARE(other->GetBodyHTML(), untouched);
    }

    void buttonsSendTheirCommands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("italic") << QStringLiteral("bsSkinSpeedButton93")
                                << QStringLiteral("<i>word</i>");
        QTest::newRow("underline")
            << QStringLiteral("bsSkinSpeedButton94") << QStringLiteral("<u>word</u>");
        QTest::newRow("numbered") << QStringLiteral("bsSkinSpeedButton95")
                                  << QStringLiteral("<ol>\r\n    <li>word</li>");
        QTest::newRow("bulleted") << QStringLiteral("bsSkinSpeedButton96")
                                  << QStringLiteral("<ul>\r\n    <li>word</li>");
        QTest::newRow("indent") << QStringLiteral("bsSkinSpeedButton98")
                                << QStringLiteral("<blockquote");
        QTest::newRow("centre") << QStringLiteral("bsSkinSpeedButton100")
                                << QStringLiteral("center");
        QTest::newRow("right") << QStringLiteral("bsSkinSpeedButton101") << QStringLiteral("right");
        QTest::newRow("justify") << QStringLiteral("bsSkinSpeedButton102")
                                 << QStringLiteral("justify");
    }

    void buttonsSendTheirCommands() {
        QFETCH(QString, button);
        QFETCH(QString, expected);
        FormattingToolbar toolbar(10, Lookup(), colorDialog_, dialogs_);
        SelectWordInBoth();
        toolbar.findChild<QToolButton*>(button)->click();
        const QString body = area10_->GetBodyHTML();
        QVERIFY2(body.contains(expected), qPrintable(body));
        QCOMPARE(area1_->GetBodyHTML(), untouched);
    }

    void numberedListOfToolbar2Works() {
        HtmlEditor* area = area1_.get();
        FormattingToolbar toolbar(
            2, [area](int tag) { return tag == 2 ? area : nullptr; }, colorDialog_, dialogs_);
        SelectWordInBoth();
        Button(toolbar, "btnNumber2")->click();
        QVERIFY(area1_->GetBodyHTML().contains(QStringLiteral("<li>word</li>")));
    }

    void sizeChooserSendsItsDigit_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        QTest::newRow("largest") << QStringLiteral("7  (36 pt)")
                                 << QStringLiteral("<font size=\"7\">word</font>");
        QTest::newRow("smallest") << QStringLiteral("1  (  8 pt)")
                                  << QStringLiteral("<font size=\"1\">word</font>");
    }

    void sizeChooserSendsItsDigit() {
        QFETCH(QString, item);
        QFETCH(QString, expected);
        FormattingToolbar toolbar(10, Lookup(), colorDialog_, dialogs_);
        SelectWordInBoth();
        toolbar.fontSizeChooser()->setCurrentText(item);
        QVERIFY(area10_->GetBodyHTML().contains(expected));
        QCOMPARE(area1_->GetBodyHTML(), untouched);
    }

    void fontNameGoesToItsOwnArea() {
        FormattingToolbar toolbar(1, Lookup(), colorDialog_, dialogs_);
        toolbar.fontNameChooser()->addItems(
            {QStringLiteral("Arial"), QStringLiteral("Courier New")});
        SelectWordInBoth();
        toolbar.fontNameChooser()->setCurrentText(QStringLiteral("Courier New"));
        QVERIFY(area1_->GetBodyHTML().contains(
            QStringLiteral("<font face=\"Courier New\">word</font>")));
        QCOMPARE(area10_->GetBodyHTML(), untouched);
    }

    void colourDialogRemembersTheLastConfirmedColour() {
        RecordingDialogService dialogs;
        ColorDialog dialog(dialogs);
        FormattingToolbar toolbar1(1, Lookup(), dialog, dialogs_);
        FormattingToolbar toolbar10(10, Lookup(), dialog, dialogs_);
        SelectWordInBoth();

        dialogs.colorAnswers.append(QColor(255, 0, 0));
        Button(toolbar1, "btnFontColor1")->click();
        QCOMPARE(dialogs.offeredColors.last(), QColor(0, 0, 0)); // black before the first
        QVERIFY(
            area1_->GetBodyHTML().contains(QStringLiteral("<font color=\"#ff0000\">word</font>")));

        dialogs.colorAnswers.append(std::nullopt); // cancel
        Button(toolbar10, "bsSkinSpeedButton103")->click();
        QCOMPARE(dialogs.offeredColors.last(), QColor(255, 0, 0));
        QCOMPARE(area10_->GetBodyHTML(), untouched);

        dialogs.colorAnswers.append(QColor(0, 255, 0));
        Button(toolbar10, "bsSkinSpeedButton103")->click();
        QCOMPARE(dialogs.offeredColors.last(), QColor(255, 0, 0)); // the cancel kept red
        QCOMPARE(dialogs.colorTitles, QList<QString>(3, QStringLiteral("Set color")));
        QVERIFY(
            area10_->GetBodyHTML().contains(QStringLiteral("background-color: rgb(0, 255, 0)")));
        QCOMPARE(dialog.Color(), 0x00FF00u);
    }

    void colourButtonOpensTheDialogEvenWithoutArea() {
        RecordingDialogService dialogs;
        ColorDialog dialog(dialogs);
        FormattingToolbar toolbar(5, Lookup(), dialog, dialogs_);
        dialogs.colorAnswers.append(QColor(0x56, 0x34, 0x12));
        Button(toolbar, "btnFontColor5")->click();
        QCOMPARE(dialog.Color(), 0x123456u); // the dialog ran; no area, nothing else
    }

    void pickerIsTitledSetColorAndOpensOnTheColour() {
        ColorDialog dialog(StandardDialogs());
        dialog.SetColor(0x0000FF);
        QString title;
        QColor shown;
        QTimer::singleShot(0, this, [&] {
            auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (picker != nullptr) {
                title = picker->windowTitle();
                shown = picker->currentColor();
                picker->reject();
            }
        });
        QVERIFY(!dialog.Execute(nullptr));
        QCOMPARE(title, QStringLiteral("Set color"));
        QCOMPARE(shown, QColor(255, 0, 0));
    }
};

QTEST_MAIN(FormattingToolbarTest)
#include "FormattingToolbarTest.moc"
