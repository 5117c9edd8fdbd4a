// The feature and testimonial pages on the real window: creating entries with their records
// and captions, the refusals, showing an entry's details, correcting and moving entries (by
// the buttons and by dragging in the list), and deleting.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "lists/RecordList.h"
#include "lists/Records.h"
#include "persistence/LetterDocument.h"
#include "tests/support/ReadyWindow.h"

#include <QApplication>
#include <QDrag>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace scribvane;
using scribvane::testing::Control;
using scribvane::testing::MakeShownWindow;
using scribvane::testing::Probe;
using scribvane::testing::RecordingMessageService;

namespace {

QStringList Captions(const QListWidget& list) {
    QStringList captions;
    for (int row = 0; row < list.count(); ++row) {
        captions << list.item(row)->text();
    }
    return captions;
}

// What a multi-line edit shows, no-break spaces included (the plain text turns them into blanks).
QString Shown(const QPlainTextEdit* memo) {
    return memo->document()->toRawText().replace(QChar(QChar::ParagraphSeparator),
                                                 QLatin1Char('\n'));
}

// Drags the caption at `from` onto the upper edge of the caption at `to` as the mouse does: a
// press, a move past the drag distance, and a release over the target. The drag runs a loop of
// its own until the release, so the rest of the gesture is sent from inside that loop, once
// the list's drag exists.
void DragCaption(QListWidget& list, int from, int to) {
    QWidget* viewport = list.viewport();
    // Near the captions' left end, which stays in the window however wide the list is laid out.
    const QRect source = list.visualItemRect(list.item(from));
    const QPoint start(source.left() + 4, source.center().y());
    const QRect target = list.visualItemRect(list.item(to));
    const QPoint drop(target.left() + 4, target.top() + 2);
    QTimer rest;
    rest.setInterval(20);
    QObject::connect(&rest, &QTimer::timeout, viewport, [&rest, &list, viewport, drop] {
        if (list.findChild<QDrag*>() == nullptr) {
            return;
        }
        rest.stop();
        QTest::mouseMove(viewport, drop + QPoint(0, 1));
        QTest::mouseMove(viewport, drop);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, drop);
    });
    rest.start();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QTest::mouseMove(viewport, start + QPoint(0, -1));
    QTest::mouseMove(viewport, start - QPoint(0, QApplication::startDragDistance() + 4));
}

} // namespace

class ListsWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void createStoresTheRecordAndClearsTheInputs_data();
    void createStoresTheRecordAndClearsTheInputs();
    void createRefusesAnEmptyField_data();
    void createRefusesAnEmptyField();
    void typedLinesAreStoredAsOneRecord();
    void captionsCountTheCaptionsThere_data();
    void captionsCountTheCaptionsThere();
    void deleteNeedsASelection_data();
    void deleteNeedsASelection();
    void clickShowsTheEntryAndCreateKeepsIt();
    void entriesAreCorrectedAndMovedInPlace_data();
    void entriesAreCorrectedAndMovedInPlace();
    void draggingACaptionMovesItsRecord_data();
    void draggingACaptionMovesItsRecord();
    void editsNotTakenAreAppliedDiscardedOrKeptBeforeLeaving();

private:
    struct Page {
        std::vector<std::string>& records;
        QListWidget* list;
        QPlainTextEdit* details;
        QPushButton* create;
        QPushButton* remove;
        QString caption;
    };
    Page PageOf(const QString& kind);
    // Fills the inputs of the page; `b` is unused for a feature.
    void Fill(const QString& kind, const QString& a, const QString& b, const QString& c);
    void Create(const QString& kind, const QString& a, const QString& b, const QString& c);
    void ClickCaption(QListWidget* list, int row);

    QTemporaryDir programFolder_;
    RecordingMessageService messages_;
    std::unique_ptr<TfrmMain> window_;
};

void ListsWindowTest::initTestCase() {
    window_ = MakeShownWindow(programFolder_.path(), messages_);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void ListsWindowTest::cleanupTestCase() {
    window_.reset();
}

void ListsWindowTest::init() {
    for (const QString& kind : {QStringLiteral("feature"), QStringLiteral("testimonial")}) {
        Page page = PageOf(kind);
        page.records.clear();
        page.list->clear();
        page.details->clear();
    }
    for (QLineEdit* edit : {Control<QLineEdit>(*window_, "edtFeatureTitle"),
                            Control<QLineEdit>(*window_, "edtTestName"),
                            Control<QLineEdit>(*window_, "edtTestWebsite")}) {
        edit->clear();
    }
    Control<QPlainTextEdit>(*window_, "memFeatureBody")->clear();
    Control<QPlainTextEdit>(*window_, "memTest")->clear();
    messages_.messages.clear();
}

ListsWindowTest::Page ListsWindowTest::PageOf(const QString& kind) {
    TfrmMain& w = *window_;
    if (kind == QStringLiteral("feature")) {
        Control<QStackedWidget>(w, "pgcMain")
            ->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet4"));
        return {Probe(w).FFeatures(),
                Control<QListWidget>(w, "lbxFeatures"),
                Control<QPlainTextEdit>(w, "memFeatureDetails"),
                Control<QPushButton>(w, "btnCreateFeat"),
                Control<QPushButton>(w, "btnDeleteFeat"),
                QStringLiteral("Feature %1")};
    }
    Control<QStackedWidget>(w, "pgcMain")->setCurrentWidget(Control<QWidget>(w, "bsSkinTabSheet6"));
    return {Probe(w).FTestimonials(),
            Control<QListWidget>(w, "lbxTestimonials"),
            Control<QPlainTextEdit>(w, "memTestDetails"),
            Control<QPushButton>(w, "btnCreateTest"),
            Control<QPushButton>(w, "btnDeleteTest"),
            QStringLiteral("Testimonial %1")};
}

void ListsWindowTest::Fill(const QString& kind, const QString& a, const QString& b,
                           const QString& c) {
    if (kind == QStringLiteral("feature")) {
        Control<QLineEdit>(*window_, "edtFeatureTitle")->setText(a);
        Control<QPlainTextEdit>(*window_, "memFeatureBody")->setPlainText(c);
    } else {
        Control<QLineEdit>(*window_, "edtTestName")->setText(a);
        Control<QLineEdit>(*window_, "edtTestWebsite")->setText(b);
        Control<QPlainTextEdit>(*window_, "memTest")->setPlainText(c);
    }
}

void ListsWindowTest::Create(const QString& kind, const QString& a, const QString& b,
                             const QString& c) {
    Fill(kind, a, b, c);
    PageOf(kind).create->click();
}

void ListsWindowTest::ClickCaption(QListWidget* list, int row) {
    const QRect place = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

void ListsWindowTest::createStoresTheRecordAndClearsTheInputs_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("details");
    const QString f = QStringLiteral("feature");
    const QString t = QStringLiteral("testimonial");
    QTest::newRow("two lines each ended by Enter")
        << f << "Fast"
        << ""
        << "first\nsecond\n"
        << QByteArray("^Fast^first$$second^") << "Fast\nfirst\nsecond";
    QTest::newRow("a body that is only a line break") << f << "T"
                                                      << ""
                                                      << "\n"
                                                      << QByteArray("^T^^") << "T\n";
    QTest::newRow("a caret in the title splits the record")
        << f << "A^B"
        << ""
        << "c" << QByteArray("^A^B^c^") << "A\nB";
    QTest::newRow("Windows-1252 letters and a no-break space")
        << f << QString::fromUtf8("Caf\u00e9\u00a0\u20ac") << ""
        << "x" << QByteArray("^Caf\xE9\xA0\x80^x^")
        << QString::fromUtf8("Caf\u00e9\u00a0\u20ac\nx");
    // Kept as a reference, shown as the character.
    QTest::newRow("a character outside the code page")
        << f << QString::fromUtf8("\u4e2d") << ""
        << "x" << QByteArray("^&#20013;^x^") << QString::fromUtf8("\u4e2d\nx");
    QTest::newRow("Shift+Enter inside a line")
        << f << "T"
        << "" << QString::fromUtf8("a\u2028b") << QByteArray("^T^a$$b^") << "T\na\nb";
    QTest::newRow("testimonial") << t << "Ann"
                                 << "ann.example"
                                 << "Great\nproduct\n"
                                 << QByteArray("^Ann^ann.example^Great$$product^")
                                 << "Ann\nann.example\nGreat\nproduct";
}

void ListsWindowTest::createStoresTheRecordAndClearsTheInputs() {
    QFETCH(QString, kind);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(QByteArray, record);
    QFETCH(QString, details);
    Page page = PageOf(kind);
    page.details->setPlainText(QStringLiteral("shown before"));
    Create(kind, a, b, c);

    QVERIFY(messages_.messages.isEmpty());
    QCOMPARE(page.records.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(page.records[0]), record);
    QCOMPARE(Captions(*page.list), QStringList{page.caption.arg(1)});
    QVERIFY(page.list->selectedItems().isEmpty());
    // The inputs are emptied, the focus is back on the first one, the details stay.
    const bool feature = kind == QStringLiteral("feature");
    QLineEdit* first = feature ? Control<QLineEdit>(*window_, "edtFeatureTitle")
                               : Control<QLineEdit>(*window_, "edtTestName");
    QVERIFY(first->text().isEmpty());
    QVERIFY(Control<QLineEdit>(*window_, "edtTestWebsite")->text().isEmpty());
    QVERIFY((feature ? Control<QPlainTextEdit>(*window_, "memFeatureBody")
                     : Control<QPlainTextEdit>(*window_, "memTest"))
                ->toPlainText()
                .isEmpty());
    QTRY_VERIFY(first->hasFocus());
    QCOMPARE(Shown(page.details), QStringLiteral("shown before"));

    ClickCaption(page.list, 0);
    QCOMPARE(Shown(page.details), details);
}

void ListsWindowTest::createRefusesAnEmptyField_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("warning");
    const QString f = QStringLiteral("feature");
    const QString t = QStringLiteral("testimonial");
    const QString feature = QStringLiteral("Please provide a valid feature's content.");
    const QString testimonial = QStringLiteral("Please provide a valid testimonial's content.");
    QTest::newRow("feature without title") << f << ""
                                           << ""
                                           << "body" << feature;
    QTest::newRow("feature without body") << f << "title"
                                          << ""
                                          << "" << feature;
    QTest::newRow("feature without either") << f << ""
                                            << ""
                                            << "" << feature;
    QTest::newRow("testimonial without name")
        << t << ""
        << "web"
        << "content"
        << QStringLiteral("Please provide the name of the customer who gave the testimonial.");
    QTest::newRow("testimonial without content") << t << "Ann"
                                                 << "web"
                                                 << "" << testimonial;
}

void ListsWindowTest::createRefusesAnEmptyField() {
    QFETCH(QString, kind);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(QString, warning);
    Page page = PageOf(kind);
    Create(kind, QStringLiteral("kept"), QStringLiteral("kept"), QStringLiteral("kept"));
    page.details->setPlainText(QStringLiteral("shown before"));
    const auto before = page.records;

    Create(kind, a, b, c);
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("warning"));
    QCOMPARE(messages_.messages[0].text, warning);
    QCOMPARE(page.records, before);
    QCOMPARE(Captions(*page.list), QStringList{page.caption.arg(1)});
    QCOMPARE(Shown(page.details), QStringLiteral("shown before"));
    // The inputs keep what was typed.
    if (kind == QStringLiteral("feature")) {
        QCOMPARE(Control<QLineEdit>(*window_, "edtFeatureTitle")->text(), a);
        QCOMPARE(Control<QPlainTextEdit>(*window_, "memFeatureBody")->toPlainText(), c);
    } else {
        QCOMPARE(Control<QLineEdit>(*window_, "edtTestName")->text(), a);
        QCOMPARE(Control<QLineEdit>(*window_, "edtTestWebsite")->text(), b);
        QCOMPARE(Control<QPlainTextEdit>(*window_, "memTest")->toPlainText(), c);
    }
}

void ListsWindowTest::typedLinesAreStoredAsOneRecord() {
    PageOf(QStringLiteral("feature"));
    QTest::keyClicks(Control<QLineEdit>(*window_, "edtFeatureTitle"), QStringLiteral("Title"));
    QTest::keyClicks(Control<QPlainTextEdit>(*window_, "memFeatureBody"), QStringLiteral("first"));
    QTest::keyClick(Control<QPlainTextEdit>(*window_, "memFeatureBody"), Qt::Key_Return);
    QTest::keyClicks(Control<QPlainTextEdit>(*window_, "memFeatureBody"), QStringLiteral("second"));
    QTest::keyClick(Control<QPlainTextEdit>(*window_, "memFeatureBody"), Qt::Key_Return);
    QTest::mouseClick(Control<QPushButton>(*window_, "btnCreateFeat"), Qt::LeftButton);
    QCOMPARE(Probe(*window_).FFeatures(), std::vector<std::string>{"^Title^first$$second^"});
}

void ListsWindowTest::captionsCountTheCaptionsThere_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("features") << QStringLiteral("feature");
    QTest::newRow("testimonials") << QStringLiteral("testimonial");
}

void ListsWindowTest::captionsCountTheCaptionsThere() {
    QFETCH(QString, kind);
    Page page = PageOf(kind);
    for (const char* name : {"one", "two", "three"}) {
        Create(kind, QString::fromLatin1(name), QStringLiteral("w"), QStringLiteral("x"));
    }
    QCOMPARE(Captions(*page.list),
             QStringList({page.caption.arg(1), page.caption.arg(2), page.caption.arg(3)}));

    ClickCaption(page.list, 1);
    page.remove->click();
    QCOMPARE(Captions(*page.list), QStringList({page.caption.arg(1), page.caption.arg(3)}));
    QCOMPARE(page.records.size(), std::size_t{2});
    QVERIFY(page.records[0].starts_with("^one^"));
    QVERIFY(page.records[1].starts_with("^three^"));

    // The next caption counts the captions there, so a number may repeat.
    Create(kind, QStringLiteral("four"), QStringLiteral("w"), QStringLiteral("x"));
    QCOMPARE(Captions(*page.list),
             QStringList({page.caption.arg(1), page.caption.arg(3), page.caption.arg(3)}));
    QVERIFY(page.records[2].starts_with("^four^"));
    QVERIFY(messages_.messages.isEmpty());
}

void ListsWindowTest::deleteNeedsASelection_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("warning");
    QTest::newRow("features") << QStringLiteral("feature")
                              << QStringLiteral("Please select a feature to delete.");
    QTest::newRow("testimonials") << QStringLiteral("testimonial")
                                  << QStringLiteral("Please select a testimonial to delete.");
}

void ListsWindowTest::deleteNeedsASelection() {
    QFETCH(QString, kind);
    QFETCH(QString, warning);
    Page page = PageOf(kind);
    // An empty list: nothing, not even a message.
    page.remove->click();
    QVERIFY(messages_.messages.isEmpty());

    Create(kind, QStringLiteral("one"), QStringLiteral("w"), QStringLiteral("x"));
    Create(kind, QStringLiteral("two"), QStringLiteral("w"), QStringLiteral("x"));
    page.remove->click();
    QCOMPARE(messages_.texts(), QStringList{warning});
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("warning"));
    QCOMPARE(page.records.size(), std::size_t{2});

    // The shown entry goes, the details view is emptied and nothing is selected after.
    ClickCaption(page.list, 0);
    QVERIFY(!Shown(page.details).isEmpty());
    page.remove->click();
    QCOMPARE(page.records.size(), std::size_t{1});
    QVERIFY(page.records[0].starts_with("^two^"));
    QCOMPARE(Captions(*page.list), QStringList{page.caption.arg(2)});
    QVERIFY(Shown(page.details).isEmpty());
    QVERIFY(page.list->selectedItems().isEmpty());
    QCOMPARE(messages_.messages.size(), 1);
}

void ListsWindowTest::clickShowsTheEntryAndCreateKeepsIt() {
    Page page = PageOf(QStringLiteral("testimonial"));
    Create(QStringLiteral("testimonial"), QStringLiteral("Ann"), QStringLiteral("a.example"),
           QStringLiteral("Good"));
    Create(QStringLiteral("testimonial"), QStringLiteral("Bob"), QStringLiteral("b.example"),
           QStringLiteral("Better\nstill"));
    ClickCaption(page.list, 1);
    QCOMPARE(Shown(page.details), QStringLiteral("Bob\nb.example\nBetter\nstill"));
    ClickCaption(page.list, 0);
    QCOMPARE(Shown(page.details), QStringLiteral("Ann\na.example\nGood"));
    // A create leaves no caption selected and the details as they were.
    Create(QStringLiteral("testimonial"), QStringLiteral("Cy"), QStringLiteral("c.example"),
           QStringLiteral("Best"));
    QVERIFY(page.list->selectedItems().isEmpty());
    QCOMPARE(Shown(page.details), QStringLiteral("Ann\na.example\nGood"));
}

void ListsWindowTest::entriesAreCorrectedAndMovedInPlace_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("features") << QStringLiteral("feature");
    QTest::newRow("testimonials") << QStringLiteral("testimonial");
}

void ListsWindowTest::entriesAreCorrectedAndMovedInPlace() {
    QFETCH(QString, kind);
    const bool feature = kind == QStringLiteral("feature");
    const QString name = feature ? QStringLiteral("Feat") : QStringLiteral("Test");
    // btnUpdateFeat, btnMoveFeatUp, btnMoveFeatDown and the same with Test.
    const auto button = [&](const QString& what, const QString& direction = QString()) {
        return window_->findChild<QPushButton*>(QStringLiteral("btn") + what + name + direction);
    };
    const auto record = [&](const char* a) {
        return feature ? MakeFeatureRecord(a, "body")
                       : MakeTestimonialRecord(a, "w.example", "body");
    };
    Page page = PageOf(kind);
    for (const char* entry : {"A", "B", "C"}) {
        Create(kind, QString::fromLatin1(entry), QStringLiteral("w.example"),
               QStringLiteral("body"));
    }
    QLineEdit* first = feature ? Control<QLineEdit>(*window_, "edtFeatureTitle")
                               : Control<QLineEdit>(*window_, "edtTestName");

    ClickCaption(page.list, 1); // selecting fills the inputs
    QCOMPARE(first->text(), QStringLiteral("B"));
    first->setText(QStringLiteral("B2"));
    button(QStringLiteral("Update"))->click();
    QCOMPARE(page.records, (std::vector<std::string>{record("A"), record("B2"), record("C")}));

    button(QStringLiteral("Move"), QStringLiteral("Up"))->click();
    QCOMPARE(page.records, (std::vector<std::string>{record("B2"), record("A"), record("C")}));
    for (int step = 0; step < 3; ++step) { // the last press has nowhere to go
        button(QStringLiteral("Move"), QStringLiteral("Down"))->click();
    }
    QCOMPARE(page.records, (std::vector<std::string>{record("A"), record("C"), record("B2")}));
    QCOMPARE(page.list->count(), 3);
    QCOMPARE(page.list->selectedItems().size(), 1);
    QCOMPARE(page.list->row(page.list->selectedItems().front()), 2);
    // The letter document holds the list as the page shows it.
    const Tag tag = feature ? Tag::Features : Tag::Testimonials;
    QCOMPARE(window_->Document().Configuration().Records(tag).ToStrings(), page.records);

    // Update without a selection asks for one and changes nothing.
    page.list->clearSelection();
    button(QStringLiteral("Update"))->click();
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(page.records.size(), std::size_t{3});
}

void ListsWindowTest::draggingACaptionMovesItsRecord_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("details");
    QTest::newRow("features") << "feature"
                              << "lbxFeatures"
                              << "memFeatureDetails";
    QTest::newRow("testimonials") << "testimonial"
                                  << "lbxTestimonials"
                                  << "memTestDetails";
}

void ListsWindowTest::draggingACaptionMovesItsRecord() {
    QFETCH(QString, kind);
    QFETCH(QString, list);
    QFETCH(QString, details);
    const bool feature = kind == QStringLiteral("feature");
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        QSKIP("the offscreen platform ends every drag at once; lists_window_drag_test runs this");
    }
    // The user drags in the active window; a drag before may have left another one active.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    PageOf(kind); // shows the page
    auto* captions = window_->findChild<QListWidget*>(list);
    auto* shown = window_->findChild<QPlainTextEdit*>(details);
    QVERIFY(captions != nullptr && shown != nullptr);
    // A drag finds its target on the screen: the list, scrolled into the window, goes to the
    // screen's corner.
    window_->findChild<QScrollArea*>(QStringLiteral("pgcMainScroller"))
        ->ensureWidgetVisible(captions);
    window_->move(window_->pos() - captions->mapToGlobal(QPoint()) + QPoint(10, 10));
    QTRY_COMPARE(captions->mapToGlobal(QPoint()), QPoint(10, 10));
    for (const char* entry : {"A", "B", "C"}) {
        Create(kind, QString::fromLatin1(entry), QStringLiteral("w.example"),
               QStringLiteral("body"));
    }
    const auto record = [feature](const char* a) {
        return feature ? MakeFeatureRecord(a, "body")
                       : MakeTestimonialRecord(a, "w.example", "body");
    };
    const QString caption =
        feature ? QStringLiteral("Feature %1") : QStringLiteral("Testimonial %1");
    ClickCaption(captions, 2);
    const QString detailsOfC = Shown(shown);
    QVERIFY(detailsOfC.startsWith(QStringLiteral("C\n")));

    DragCaption(*captions, 2, 0);
    // Captions keep their numbers, as after a move by the buttons.
    QTRY_COMPARE(Captions(*captions),
                 QStringList({caption.arg(3), caption.arg(1), caption.arg(2)}));
    const Tag tag = feature ? Tag::Features : Tag::Testimonials;
    QCOMPARE(window_->Document().Configuration().Records(tag).ToStrings(),
             (std::vector<std::string>{record("C"), record("A"), record("B")}));
    QCOMPARE(captions->selectedItems().size(), 1);
    QCOMPARE(captions->row(captions->selectedItems().front()), 0);
    QCOMPARE(Shown(shown), detailsOfC);
    // Each caption shows the record now in its place.
    ClickCaption(captions, 1);
    QVERIFY(Shown(shown).startsWith(QStringLiteral("A\n")));
    QVERIFY(messages_.messages.isEmpty());
}

// Inputs changed without Update, or filled without Create, are asked about before another
// entry is shown or another step: applied, dropped, or kept with the user staying. A
// testimonial needs no website.
void ListsWindowTest::editsNotTakenAreAppliedDiscardedOrKeptBeforeLeaving() {
    TfrmMain& w = *window_;
    Page page = PageOf(QStringLiteral("feature"));
    Create(QStringLiteral("feature"), QStringLiteral("A"), {}, QStringLiteral("a"));
    Create(QStringLiteral("feature"), QStringLiteral("B"), {}, QStringLiteral("b"));
    auto* title = Control<QLineEdit>(w, "edtFeatureTitle");
    ClickCaption(page.list, 0);
    QCOMPARE(title->text(), QStringLiteral("A"));
    ClickCaption(page.list, 1); // nothing changed: nothing asked
    QVERIFY(messages_.messages.isEmpty());

    const struct {
        CloseAnswer answer;
        bool leaves;
        std::vector<std::string> records;
        QString shown; // the title input afterwards
    } cases[] = {
        {CloseAnswer::Stay, false, {"^A^a^", "^B^b^"}, QStringLiteral("B2")},
        {CloseAnswer::Discard, true, {"^A^a^", "^B^b^"}, QStringLiteral("A")},
        {CloseAnswer::Save, true, {"^A^a^", "^B2^b^"}, QStringLiteral("A")},
    };
    for (const auto& c : cases) {
        ClickCaption(page.list, 1);
        title->setText(QStringLiteral("B2"));
        messages_.messages.clear();
        messages_.closeAnswers = {c.answer};
        ClickCaption(page.list, 0);
        QCOMPARE(messages_.messages.size(), 1);
        QVERIFY(messages_.messages[0].text.startsWith(QStringLiteral("Feature 2 was changed")));
        QCOMPARE(page.records, c.records);
        QCOMPARE(title->text(), c.shown);
        QCOMPARE(page.list->currentRow(), c.leaves ? 0 : 1);
        init();
        PageOf(QStringLiteral("feature"));
        Create(QStringLiteral("feature"), QStringLiteral("A"), {}, QStringLiteral("a"));
        Create(QStringLiteral("feature"), QStringLiteral("B"), {}, QStringLiteral("b"));
    }

    // A new entry typed but not created, on going to the next step.
    auto* pages = Control<QStackedWidget>(w, "pgcMain");
    Fill(QStringLiteral("feature"), QStringLiteral("C"), {}, QStringLiteral("c"));
    messages_.closeAnswers = {CloseAnswer::Stay, CloseAnswer::Save};
    QWidget* step = pages->currentWidget();
    Control<QPushButton>(w, "btnNext")->click();
    QCOMPARE(pages->currentWidget(), step);
    Control<QPushButton>(w, "btnNext")->click();
    QVERIFY(pages->currentWidget() != step);
    QCOMPARE(page.records, (std::vector<std::string>{"^A^a^", "^B^b^", "^C^c^"}));

    Create(QStringLiteral("testimonial"), QStringLiteral("Ann"), {}, QStringLiteral("Great"));
    QCOMPARE(PageOf(QStringLiteral("testimonial")).records,
             std::vector<std::string>{"^Ann^^Great^"});
}

int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    ListsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ListsWindowTest.moc"
#include "tests/support/TfrmMainProbe.h"
