// The controls the window builds from Qt parts: colour chooser, font name chooser, size spin
// edit, and the file name rules of the Browse dialogs.
#include "tests/support/RecordingDialogService.h"
#include "widgets/ColorChooser.h"
#include "widgets/FileDialog.h"
#include "widgets/FontNameChooser.h"
#include "widgets/LinkLabel.h"
#include "widgets/SizeSpinEdit.h"
#include "widgets/WindowPlacement.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace scribvane;
using scribvane::testing::RecordingDialogService;

class ControlsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowComesBackAtItsSizeAndANewOneKeepsItsOwn();
    void colorChooserSelectsTheEntryOfAValue_data();
    void colorChooserSelectsTheEntryOfAValue();
    void colorChooserWithoutSelectionGivesNoColor();
    void colorChooserListsCustomFirstThenStandardColours();
    void colorChooserCustomEntryTakesThePickedColour();
    void colorChooserCancelledPickKeepsThePreviousChoice();
    void fontNameChooserSortsAndLooksUpIgnoringCase();
    void fontNameChooserShowsAnUnlistedName();
    void fontNameChooserKeepsItsTextAfterAFailedLookUp();
    void sizeSpinEditHasNoBoundOfItsOwn();
    void htmlExtensionRule_data();
    void htmlExtensionRule();
    void filtersAreConvertedToQtForm_data();
    void filtersAreConvertedToQtForm();
    void fileDialogSeamAnswersWithoutShowing();
    void linkLabelTakesItsTargetByPropertyAndReportsClicks();
};

void ControlsTest::colorChooserSelectsTheEntryOfAValue_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("white") << 0xFFFFFFu << QStringLiteral("White");
    QTest::newRow("black") << 0x000000u << QStringLiteral("Black");
    QTest::newRow("maroon, red in the low byte") << 0x000080u << QStringLiteral("Maroon");
    QTest::newRow("navy, blue in the high byte") << 0x800000u << QStringLiteral("Navy");
    QTest::newRow("money green") << 0xC0DCC0u << QStringLiteral("Money Green");
    QTest::newRow("sky blue #A6CAF0") << 0xF0CAA6u << QStringLiteral("Sky Blue");
    QTest::newRow("cream #FFFBF0") << 0xF0FBFFu << QStringLiteral("Cream");
    QTest::newRow("scroll bar") << 0x80000000u << QStringLiteral("Scroll Bar");
    QTest::newRow("background") << 0x80000001u << QStringLiteral("Background");
    QTest::newRow("button face") << 0x8000000Fu << QStringLiteral("Button Face");
    QTest::newRow("light yellow is custom") << 0xD9FFFFu << QStringLiteral("Custom...");
    QTest::newRow("unknown system index is custom") << 0x80000019u << QStringLiteral("Custom...");
}

void ControlsTest::colorChooserSelectsTheEntryOfAValue() {
    QFETCH(uint, value);
    QFETCH(QString, shown);
    ColorChooser chooser;
    chooser.SelectColor(0x00FF00); // Lime first, so a wrong look-up cannot pass by accident
    chooser.SelectColor(value);
    QCOMPARE(chooser.currentText(), shown);
    QCOMPARE(chooser.SelectedColor(), value);
}

void ControlsTest::colorChooserWithoutSelectionGivesNoColor() {
    ColorChooser chooser;
    QCOMPARE(chooser.currentIndex(), -1);
    QCOMPARE(chooser.SelectedColor(), 0xFF000000u);
}

void ControlsTest::colorChooserListsCustomFirstThenStandardColours() {
    ColorChooser chooser;
    const QStringList expected = {
        QStringLiteral("Custom..."), QStringLiteral("Black"), QStringLiteral("Maroon"),
        QStringLiteral("Green"),     QStringLiteral("Olive"), QStringLiteral("Navy"),
        QStringLiteral("Purple"),    QStringLiteral("Teal"),  QStringLiteral("Gray"),
        QStringLiteral("Silver"),    QStringLiteral("Red"),   QStringLiteral("Lime"),
        QStringLiteral("Yellow"),    QStringLiteral("Blue"),  QStringLiteral("Fuchsia"),
        QStringLiteral("Aqua"),      QStringLiteral("White"), QStringLiteral("Money Green"),
        QStringLiteral("Sky Blue"),  QStringLiteral("Cream"), QStringLiteral("Medium Gray"),
        QStringLiteral("Scroll Bar")};
    for (int index = 0; index < expected.size(); ++index) {
        QCOMPARE(chooser.itemText(index), expected[index]);
    }
    // Every listed colour is found again by its value (no two entries share one).
    for (int index = 1; index < chooser.count(); ++index) {
        QCOMPARE(chooser.IndexOfColor(chooser.itemData(index).toUInt()), index);
    }
}

void ControlsTest::colorChooserCustomEntryTakesThePickedColour() {
    ColorChooser chooser;
    RecordingDialogService dialogs;
    chooser.SetDialogService(dialogs);
    chooser.SelectColor(0xFFFFFF);
    dialogs.colorAnswers.append(QColor(0x56, 0x34, 0x12));
    chooser.setCurrentIndex(0);
    Q_EMIT chooser.activated(0);
    QCOMPARE(chooser.currentIndex(), 0);
    QCOMPARE(chooser.SelectedColor(), 0x123456u);
    // The picker opened on the colour the custom entry held, with the platform's own title.
    QCOMPARE(dialogs.offeredColors, QList<QColor>{QColor(0xFF, 0xFF, 0xFF)});
    QCOMPARE(dialogs.colorTitles, QList<QString>{QString()});
}

void ControlsTest::colorChooserCancelledPickKeepsThePreviousChoice() {
    ColorChooser chooser;
    RecordingDialogService dialogs; // no answer queued: Cancel
    chooser.SetDialogService(dialogs);
    chooser.SelectColor(0x000080); // Maroon
    chooser.setCurrentIndex(0);
    Q_EMIT chooser.activated(0);
    QCOMPARE(chooser.currentText(), QStringLiteral("Maroon"));
    QCOMPARE(chooser.SelectedColor(), 0x000080u);
}

void ControlsTest::fontNameChooserSortsAndLooksUpIgnoringCase() {
    FontNameChooser chooser;
    chooser.SetFontNames({QStringLiteral("liberation Serif"), QStringLiteral("DejaVu Sans"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("arial black")});
    QStringList items;
    for (int index = 0; index < chooser.count(); ++index) {
        items << chooser.itemText(index);
    }
    QCOMPARE(items,
             QStringList({QStringLiteral("arial black"), QStringLiteral("DejaVu Sans"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("liberation Serif")}));
    QVERIFY(chooser.SelectFontName(QStringLiteral("LIBERATION SERIF")));
    QCOMPARE(chooser.currentIndex(), 3);
    QCOMPARE(chooser.ShownText(), QStringLiteral("liberation Serif"));
    // Families visitors may lack say what the page falls back to; the text stays the name.
    QCOMPARE(chooser.itemData(3, Qt::ToolTipRole).toString(),
             QStringLiteral("Not every visitor has this font; the page falls back to Georgia, "
                            "serif."));
    chooser.SetFontNames({QStringLiteral("arial"), QStringLiteral("DejaVu Sans")});
    QCOMPARE(chooser.itemData(0, Qt::ToolTipRole).toString(),
             QStringLiteral("Every visitor has this font."));
    QVERIFY(!chooser.itemData(0, Qt::ForegroundRole).isValid());
    QVERIFY(chooser.itemData(1, Qt::ForegroundRole).isValid());
}

void ControlsTest::fontNameChooserShowsAnUnlistedName() {
    FontNameChooser chooser;
    chooser.SetFontNames({QStringLiteral("Liberation Sans")});
    chooser.ShowFontName(QStringLiteral("Arial"));
    QCOMPARE(chooser.currentIndex(), -1);
    QCOMPARE(chooser.ShownText(), QStringLiteral("Arial"));
    // Refilling the list keeps what is shown.
    chooser.SetFontNames({QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Mono")});
    QCOMPARE(chooser.ShownText(), QStringLiteral("Arial"));
}

void ControlsTest::fontNameChooserKeepsItsTextAfterAFailedLookUp() {
    FontNameChooser chooser;
    chooser.SetFontNames({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QVERIFY(chooser.SelectFontName(QStringLiteral("dejavu sans")));
    QVERIFY(!chooser.SelectFontName(QStringLiteral("Wingdings")));
    QCOMPARE(chooser.currentIndex(), -1);
    QCOMPARE(chooser.ShownText(), QStringLiteral("DejaVu Sans"));
}

void ControlsTest::sizeSpinEditHasNoBoundOfItsOwn() {
    SizeSpinEdit edit;
    QCOMPARE(edit.minimum(), std::numeric_limits<int>::min());
    QCOMPARE(edit.maximum(), std::numeric_limits<int>::max());
    QCOMPARE(edit.singleStep(), 1);
    edit.setValue(13);
    edit.stepUp();
    QCOMPARE(edit.value(), 14);
    edit.setValue(-7);
    QCOMPARE(edit.value(), -7);
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("2147483647"));
    edit.interpretText();
    QCOMPARE(edit.value(), 2147483647);
}

void ControlsTest::htmlExtensionRule_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("result");
    QTest::newRow("no extension") << "letter"
                                  << "letter.html";
    QTest::newRow("upper case kept") << "letter.HTML"
                                     << "letter.HTML";
    QTest::newRow("mixed case kept") << "/out/letter.Html"
                                     << "/out/letter.Html";
    QTest::newRow("htm is another extension") << "letter.htm"
                                              << "letter.htm.html";
    QTest::newRow("txt") << "/out/letter.txt"
                         << "/out/letter.txt.html";
    QTest::newRow("dot in the folder only") << "/out/my.site/letter"
                                            << "/out/my.site/letter.html";
    QTest::newRow("dot in a Windows folder only") << "C:\\my.site\\letter"
                                                  << "C:\\my.site\\letter.html";
    QTest::newRow("trailing dot") << "letter."
                                  << "letter..html";
}

void ControlsTest::htmlExtensionRule() {
    QFETCH(QString, chosen);
    QFETCH(QString, result);
    QCOMPARE(WithHtmlExtension(chosen), result);
}

void ControlsTest::filtersAreConvertedToQtForm_data() {
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("qt");
    QTest::newRow("picture filter")
        << "All (*.bmp;*.gif;*.jpg;*.png)|*.bmp;*.gif;*.jpg;*.png|Bitmaps (*.bmp)|*.bmp|"
           "Gif (*.gif)|*.gif|Jpg (*.jpg)|*.jpg|Png (*.png)|*.png"
        << "All (*.bmp *.gif *.jpg *.png);;Bitmaps (*.bmp);;Gif (*.gif);;Jpg (*.jpg);;"
           "Png (*.png)";
    QTest::newRow("save filter") << "HTML files|*.html"
                                 << "HTML files (*.html)";
}

void ControlsTest::filtersAreConvertedToQtForm() {
    QFETCH(QString, pairs);
    QFETCH(QString, qt);
    QCOMPARE(QtFileFilter(pairs), qt);
}

void ControlsTest::fileDialogSeamAnswersWithoutShowing() {
    RecordingDialogService dialogs;
    FileDialog save(FileDialog::Mode::Save, QStringLiteral("Save file"),
                    QStringLiteral("HTML files|*.html"));
    dialogs.fileAnswers.append(QStringLiteral("/out/letter"));
    QVERIFY(save.Execute(nullptr, dialogs));
    QCOMPARE(save.FileName(), QStringLiteral("/out/letter.html"));
    dialogs.fileAnswers.append(std::nullopt);
    QVERIFY(!save.Execute(nullptr, dialogs));
    QCOMPARE(save.FileName(), QStringLiteral("/out/letter.html"));

    FileDialog open(FileDialog::Mode::OpenExisting, QStringLiteral("Open picture"),
                    QStringLiteral("Png (*.png)|*.png"));
    dialogs.fileAnswers.append(QStringLiteral("/pictures/head"));
    QVERIFY(open.Execute(nullptr, dialogs));
    QCOMPARE(open.FileName(), QStringLiteral("/pictures/head")); // no rule on open
}

void ControlsTest::linkLabelTakesItsTargetByPropertyAndReportsClicks() {
    LinkLabel label(QStringLiteral("Google"), QStringLiteral("https://www.google.com/"));
    QLabel* plain = &label;
    QVERIFY(plain->setProperty("url", QStringLiteral("http://example.com/a")));
    QCOMPARE(label.url(), QStringLiteral("http://example.com/a"));
    label.resize(100, 20);
    QSignalSpy clicks(&label, &LinkLabel::clicked);
    QTest::mouseClick(&label, Qt::LeftButton);
    QTest::mouseClick(&label, Qt::RightButton);
    QTest::keyClick(&label, Qt::Key_Space);
    QCOMPARE(clicks.count(), 2);
}

void ControlsTest::windowComesBackAtItsSizeAndANewOneKeepsItsOwn() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("window.dat"));
    QWidget first;
    first.resize(901, 702);
    QVERIFY(!RestoreWindowPlacement(first, file)); // none kept yet
    QCOMPARE(first.size(), QSize(901, 702));
    SaveWindowPlacement(first, file);
    QWidget second;
    second.resize(300, 200);
    QVERIFY(RestoreWindowPlacement(second, file));
    QCOMPARE(second.size(), QSize(901, 702));
    // A file that does not read leaves the window as it is.
    for (const QByteArray& bytes : {QByteArray("scribvane window 1\n!!!"), QByteArray("x")}) {
        QFile garbled(file);
        QVERIFY(garbled.open(QIODevice::WriteOnly));
        garbled.write(bytes);
        garbled.close();
        QWidget third;
        third.resize(300, 200);
        QVERIFY(!RestoreWindowPlacement(third, file));
        QCOMPARE(third.size(), QSize(300, 200));
    }
}

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
