// The main window as the user meets it: state after start-up, every field's initial value,
// the font choosers, navigation, the banner, the Browse buttons and the failure handler.
#include "ScribvaneApplication.h"
#include "TfrmMain.h"
#include "branding/BannerCentring.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "persistence/ConfigTags.h"
#include "persistence/LetterDocument.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/RecordingMessageService.h"
#include "tests/support/TfrmMainProbe.h"
#include "utils/Errors.h"
#include "utils/TextHelpers.h"
#include "widgets/ColorChooser.h"
#include "widgets/FileDialog.h"
#include "widgets/FontNameChooser.h"
#include "widgets/LinkLabel.h"
#include "widgets/SizeSpinEdit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace scribvane;
using scribvane::testing::Control;
using scribvane::testing::NoUpdateServer;
using scribvane::testing::Probe;
using scribvane::testing::ProgramFolder;
using scribvane::testing::RecordingDialogService;
using scribvane::testing::RecordingMessageService;

namespace {

QString Name(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList ItemsOf(const QComboBox* chooser) {
    QStringList items;
    for (int index = 0; index < chooser->count(); ++index) {
        items << chooser->itemText(index);
    }
    return items;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startUpLeavesPageZeroWithBackDisabled();
    void frameHasItsCaptionSizeAndRegions();
    void stepListGoesToAnyStepAndMarksWhereTheCheckFindsSomething();
    void firstShowVisitsEveryPageOnce();
    void everyFieldStartsAtItsInitialValue();
    void choosersShowTheirInitialEntries();
    void pagesAndControlsCarryTheirNames();
    void hiddenControlsAreHidden();
    void everyInputHasAnAccessibleName();
    void fiveFontChoosersHoldTheSameSortedNames();
    void timesNewRomanRule_data();
    void timesNewRomanRule();
    void navigation_data();
    void navigation();
    void navigationTakesThePageCountFromThePageControl();
    void bannerIsCentredAndMayOverhang_data();
    void bannerIsCentredAndMayOverhang();
    void resizingKeepsLinksAndEditorsInPlace();
    void browse_data();
    void browse();
    void failureEscapingAHandlerIsShownAsAnError();
    void dialogMessagesAreTitledWithTheCaption();
    void failedStartUpStepIsReportedAndStartUpGoesOn();

private:
    ProgramFolder folder_;
    RecordingMessageService messages_;
    RecordingDialogService dialogs_;
    std::unique_ptr<TfrmMain> window_;
};

void WindowTest::init() {
    messages_.messages.clear();
    window_ = std::make_unique<TfrmMain>(folder_.path(), &messages_, NoUpdateServer(), &dialogs_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void WindowTest::cleanup() {
    window_.reset();
}

void WindowTest::startUpLeavesPageZeroWithBackDisabled() {
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 0);
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->count(), 8);
    QVERIFY(!Control<QPushButton>(*window_, "btnBack")->isEnabled());
    QVERIFY(Control<QPushButton>(*window_, "btnNext")->isEnabled());
    // Its one tick comes soon after start-up and leaves it off.
    QTRY_VERIFY(!Control<QTimer>(*window_, "Timer1")->isActive());
    QCOMPARE(Control<QTimer>(*window_, "Timer1")->interval(), 100);
    QVERIFY(Control<QTimer>(*window_, "Timer1")->isSingleShot());
    QVERIFY(messages_.messages.isEmpty());
}

void WindowTest::frameHasItsCaptionSizeAndRegions() {
    TfrmMain fresh(folder_.path(), &messages_, NoUpdateServer(), &dialogs_);
    QCOMPARE(fresh.windowTitle(), QStringLiteral("Scribvane"));
    // The pages keep the width they were laid out for beside the step list.
    QCOMPARE(fresh.size(), QSize(785 + 200, 631));
    QVERIFY(Probe(fresh).ProgramFolder().endsWith(QLatin1Char('/')));

    const struct {
        QFrame* panel;
        int height;
    } regions[] = {{Control<QFrame>(*window_, "bsSkinPanel1"), 33},
                   {Control<QFrame>(*window_, "panBanner"), 65},
                   {Control<QFrame>(*window_, "panWizard"), 37},
                   {Control<QFrame>(*window_, "panLinks"), 32}};
    for (const auto& region : regions) {
        QCOMPARE(region.panel->height(), region.height);
        QCOMPARE(region.panel->width(), window_->width());
    }
    // Top to bottom: button bar, banner, pages, navigation, links.
    QVERIFY(Control<QFrame>(*window_, "bsSkinPanel1")->y() <
            Control<QFrame>(*window_, "panBanner")->y());
    // The page control scrolls inside its region: its place is where that region starts.
    const int pagesY = Control<QStackedWidget>(*window_, "pgcMain")
                           ->parentWidget()
                           ->mapTo(window_.get(), QPoint())
                           .y();
    QVERIFY(Control<QFrame>(*window_, "panBanner")->y() < pagesY);
    QVERIFY(pagesY < Control<QFrame>(*window_, "panWizard")->y());
    QVERIFY(Control<QFrame>(*window_, "panWizard")->y() <
            Control<QFrame>(*window_, "panLinks")->y());
    QCOMPARE(Control<QFrame>(*window_, "panLinks")->geometry().bottom(), window_->height() - 1);

    const struct {
        QPushButton* button;
        const char* caption;
    } captions[] = {{Control<QPushButton>(*window_, "btnLoad"), "Load Configuration"},
                    {Control<QPushButton>(*window_, "btnSave"), "Save Configuration"},
                    {Control<QPushButton>(*window_, "btnHelp"), "Help"},
                    {Control<QPushButton>(*window_, "btnUpdate"), "Check Updates"},
                    {Control<QPushButton>(*window_, "btnMakeMoney"), "Make Money"},
                    {Control<QPushButton>(*window_, "btnBack"), "Back"},
                    {Control<QPushButton>(*window_, "btnNext"), "Next"},
                    {Control<QPushButton>(*window_, "bsSkinButton1"), "Browse"},
                    {Control<QPushButton>(*window_, "bsSkinButton2"), "Browse"},
                    {Control<QPushButton>(*window_, "bsSkinButton3"), "Browse"},
                    {Control<QPushButton>(*window_, "bsSkinButton4"), "Browse"},
                    {Control<QPushButton>(*window_, "btnCreateFeat"), "Create Feature"},
                    {Control<QPushButton>(*window_, "btnDeleteFeat"), "Delete Feature"},
                    {Control<QPushButton>(*window_, "btnCreateTest"), "Create Testimonial"},
                    {Control<QPushButton>(*window_, "btnDeleteTest"), "Delete Testimonial"},
                    {Control<QPushButton>(*window_, "btnFinish"), "Save generated code"}};
    int left = -1;
    for (const auto& entry : captions) {
        QCOMPARE(entry.button->text(), QString::fromLatin1(entry.caption));
    }
    for (QPushButton* button :
         {Control<QPushButton>(*window_, "btnLoad"), Control<QPushButton>(*window_, "btnSave"),
          Control<QPushButton>(*window_, "btnHelp"), Control<QPushButton>(*window_, "btnUpdate"),
          Control<QPushButton>(*window_, "btnMakeMoney")}) {
        QVERIFY(button->x() > left); // left to right in this order
        left = button->x();
    }
    QCOMPARE(Control<LinkLabel>(*window_, "lblLink1URL")->text(), QStringLiteral("Google"));
    QCOMPARE(Control<LinkLabel>(*window_, "lblLink2URL")->text(), QStringLiteral("Google"));
    QVERIFY(Control<LinkLabel>(*window_, "lblLink1URL")->url().contains(QStringLiteral("google")));
}

void WindowTest::firstShowVisitsEveryPageOnce() {
    TfrmMain fresh(folder_.path(), &messages_, NoUpdateServer(), &dialogs_);
    QSignalSpy pages(Control<QStackedWidget>(fresh, "pgcMain"), &QStackedWidget::currentChanged);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    QList<int> visited;
    for (const QList<QVariant>& change : pages) {
        visited << change.at(0).toInt();
    }
    QCOMPARE(visited, QList<int>({1, 2, 3, 4, 5, 6, 7, 0}));
    QVERIFY(!Control<QPushButton>(fresh, "btnBack")->isEnabled());
    QVERIFY(Control<QPushButton>(fresh, "btnNext")->isEnabled());
    // Only the first show does it.
    fresh.hide();
    fresh.show();
    QCOMPARE(pages.count(), 8);
}

void WindowTest::everyFieldStartsAtItsInitialValue() {
    for (const ConfigField& field : kConfigFields) {
        const QString control = Name(field.control);
        const QString initial = Name(field.initial);
        switch (field.kind) {
        case ValueKind::Text: {
            auto* edit = window_->findChild<QLineEdit*>(control);
            QVERIFY2(edit != nullptr, qPrintable(control));
            QCOMPARE(edit->text(), initial);
            break;
        }
        case ValueKind::MultiLineText: {
            auto* memo = window_->findChild<QPlainTextEdit*>(control);
            QVERIFY2(memo != nullptr, qPrintable(control));
            QCOMPARE(memo->toPlainText(), initial);
            break;
        }
        case ValueKind::Colour: {
            auto* chooser = window_->findChild<ColorChooser*>(control);
            QVERIFY2(chooser != nullptr, qPrintable(control));
            QCOMPARE(chooser->SelectedColor(), HtmlToColor(field.initial));
            break;
        }
        case ValueKind::FontName: {
            auto* chooser = window_->findChild<FontNameChooser*>(control);
            QVERIFY2(chooser != nullptr, qPrintable(control));
            QCOMPARE(chooser->ShownText(), initial);
            break;
        }
        case ValueKind::Size: {
            auto* edit = window_->findChild<SizeSpinEdit*>(control);
            QVERIFY2(edit != nullptr, qPrintable(control));
            QCOMPARE(QString::number(edit->value()), initial);
            break;
        }
        case ValueKind::Flag: {
            auto* check = window_->findChild<QCheckBox*>(control);
            QVERIFY2(check != nullptr, qPrintable(control));
            QVERIFY2(!check->isChecked(), qPrintable(control));
            break;
        }
        case ValueKind::Passage:
            QVERIFY2(window_->findChild<HtmlEditor*>(control) != nullptr, qPrintable(control));
            break;
        case ValueKind::RecordList:
            break;
        }
    }
    QVERIFY(Probe(*window_).FFeatures().empty());
    QVERIFY(Probe(*window_).FTestimonials().empty());
    const std::string* branding[] = {&Probe(*window_).FAffiliateID(), &Probe(*window_).FBannerURL(),
                                     &Probe(*window_).FBannerPath(),  &Probe(*window_).FLink1URL(),
                                     &Probe(*window_).FLink2URL(),    &Probe(*window_).FLink1Name(),
                                     &Probe(*window_).FLink2Name(),   &Probe(*window_).FIconPath()};
    for (const std::string* value : branding) {
        QVERIFY(value->empty());
    }
    // The working inputs start empty too.
    for (const char* name : {"edtFeatureTitle", "edtTestName", "edtTestWebsite", "edtFilename"}) {
        QVERIFY(window_->findChild<QLineEdit*>(QString::fromLatin1(name))->text().isEmpty());
    }
    QVERIFY(Control<QListWidget>(*window_, "lbxFeatures")->count() == 0 &&
            Control<QListWidget>(*window_, "lbxTestimonials")->count() == 0);
}

void WindowTest::choosersShowTheirInitialEntries() {
    QCOMPARE(Control<ColorChooser>(*window_, "cbxMainBgColor")->currentText(),
             QStringLiteral("White"));
    QCOMPARE(Control<ColorChooser>(*window_, "cbxFBgColor")->currentText(),
             QStringLiteral("Custom..."));
    QCOMPARE(Control<ColorChooser>(*window_, "cbxTBgColor")->currentText(),
             QStringLiteral("Custom..."));
    QCOMPARE(Control<ColorChooser>(*window_, "cbxFBgColor")->SelectedColor(), 0xD9FFFFu); // #FFFFD9
    QCOMPARE(Control<ColorChooser>(*window_, "cbxOBgColor")->currentText(),
             QStringLiteral("Money Green"));
    QCOMPARE(Control<ColorChooser>(*window_, "cbxFColor")->currentText(), QStringLiteral("Black"));
    for (FontNameChooser* chooser : {Control<FontNameChooser>(*window_, "cbxFName"),
                                     Control<FontNameChooser>(*window_, "cbxTName"),
                                     Control<FontNameChooser>(*window_, "cbxOName")}) {
        QCOMPARE(chooser->ShownText(), QStringLiteral("Arial"));
    }
}

void WindowTest::pagesAndControlsCarryTheirNames() {
    const QStringList pages = {
        QStringLiteral("bsSkinTabSheet1"),  QStringLiteral("bsSkinTabSheet2"),
        QStringLiteral("bsSkinTabSheet3"),  QStringLiteral("bsSkinTabSheet4"),
        QStringLiteral("bsSkinTabSheet6"),  QStringLiteral("bsSkinTabSheet10"),
        QStringLiteral("bsSkinTabSheet11"), QStringLiteral("bsSkinTabSheet12")};
    for (int index = 0; index < pages.size(); ++index) {
        QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->widget(index)->objectName(),
                 pages[index]);
    }
    // Each editing area stands on its page directly below its own toolbar.
    const struct {
        int tag;
        const char* editor;
        int page;
    } areas[] = {{1, "prfEditor1", 1},    {2, "prfEditor2", 1},   {3, "prfEditor3", 2},
                 {10, "prfEditor10", 5},  {11, "prfEditor11", 5}, {12, "prfHeadline2", 1},
                 {13, "prfHeadline3", 1}, {14, "prfHeadline4", 1}};
    for (std::size_t index = 0; index < std::size(areas); ++index) {
        HtmlEditor* editor = window_->EditorForTag(areas[index].tag);
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->objectName(), QString::fromLatin1(areas[index].editor));
        QVERIFY(Control<QStackedWidget>(*window_, "pgcMain")
                    ->widget(areas[index].page)
                    ->isAncestorOf(editor));
        FormattingToolbar* toolbar = Probe(*window_).Toolbars()[index];
        QCOMPARE(toolbar->tag(), areas[index].tag);
        QCOMPARE(toolbar->parentWidget(), editor->parentWidget());
        // The headlines tested against the main one are laid out once their tab is shown.
        QVERIFY(!editor->isVisible() || toolbar->geometry().bottom() < editor->geometry().top());
    }
    for (int tag : {0, 4, 9, 15, -1}) {
        QCOMPARE(window_->EditorForTag(tag), nullptr);
    }
    QCOMPARE(Control<HtmlEditor>(*window_, "prfEditor1")->height(), 77);
    QCOMPARE(Control<HtmlEditor>(*window_, "prfEditor10")->height(), 116);
    QCOMPARE(Control<QPlainTextEdit>(*window_, "memPaypalCode")->height(), 48);
}

void WindowTest::hiddenControlsAreHidden() {
    const QStringList hidden = {QStringLiteral("cbxOBgColor"),   QStringLiteral("cbxOColor"),
                                QStringLiteral("cbxOName"),      QStringLiteral("cbxOSize"),
                                QStringLiteral("chkOUnderline"), QStringLiteral("chkOItalic"),
                                QStringLiteral("chkOBold"),      QStringLiteral("cbxTemplates")};
    for (const QString& name : hidden) {
        auto* widget = window_->findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY2(widget->isHidden(), qPrintable(name));
    }
    // The template controls keep their places beyond the page's initial width.
    QCOMPARE(Control<QComboBox>(*window_, "cbxTemplates")->x(), 791);
    QCOMPARE(Control<QGroupBox>(*window_, "bsSkinGroupBox1")->pos(), QPoint(1008, 70));
    QCOMPARE(Control<QLabel>(*window_, "Image1")->size(), QSize(400, 290));
    QVERIFY(!Control<QLineEdit>(*window_, "edtPaypalEmail")->isHidden());
    // The catalogue shows the preview group: the first shipped template has a preview. It only
    // comes into view on a page wider than 1008 pixels.
    QVERIFY(!Control<QGroupBox>(*window_, "bsSkinGroupBox1")->isHidden());
}

void WindowTest::everyInputHasAnAccessibleName() {
    QStringList inputs;
    for (const ConfigField& field : kConfigFields) {
        if (field.kind != ValueKind::RecordList) {
            inputs << Name(field.control);
        }
    }
    inputs << QStringLiteral("edtFeatureTitle") << QStringLiteral("memFeatureBody")
           << QStringLiteral("memFeatureDetails") << QStringLiteral("edtTestName")
           << QStringLiteral("edtTestWebsite") << QStringLiteral("memTest")
           << QStringLiteral("memTestDetails") << QStringLiteral("edtFilename")
           << QStringLiteral("cbxTemplates") << QStringLiteral("lbxFeatures")
           << QStringLiteral("lbxTestimonials");
    for (const QString& name : inputs) {
        auto* widget = window_->findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        // What assistive technology reads: the accessible name, a label's text (buddy) or the
        // control's own caption.
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(access != nullptr, qPrintable(name));
        const QString accessible = access->text(QAccessible::Name);
        QVERIFY2(!accessible.isEmpty(), qPrintable(name));
        QVERIFY2(!accessible.endsWith(QLatin1Char(':')), qPrintable(name));
    }
    QCOMPARE(Control<QLineEdit>(*window_, "edtPageTitle")->accessibleName(),
             QStringLiteral("Page Title"));
    QCOMPARE(Control<HtmlEditor>(*window_, "prfEditor1")->accessibleName(),
             QStringLiteral("Main headline"));
    QCOMPARE(Control<HtmlEditor>(*window_, "prfEditor11")->accessibleName(),
             QStringLiteral("P.S."));
}

void WindowTest::fiveFontChoosersHoldTheSameSortedNames() {
    const QStringList expected = SortedFontNames(InstalledTypefaceFamilies());
    QVERIFY(!expected.isEmpty());
    for (FormattingToolbar* toolbar : Probe(*window_).Toolbars()) {
        QCOMPARE(ItemsOf(toolbar->fontNameChooser()), expected);
    }
    // Alphabetical without regard to letter case.
    for (int index = 1; index < expected.size(); ++index) {
        QVERIFY(QString::compare(expected[index - 1], expected[index], Qt::CaseInsensitive) <= 0);
    }
    // On this machine: selected when installed, no selection otherwise.
    const int position = static_cast<int>(expected.indexOf(QStringLiteral("Times New Roman")));
    for (FormattingToolbar* toolbar : Probe(*window_).Toolbars()) {
        QCOMPARE(toolbar->fontNameChooser()->currentIndex(), position);
    }
}

void WindowTest::timesNewRomanRule_data() {
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<int>("selected");
    QTest::newRow("missing") << QStringList{QStringLiteral("Liberation Serif"),
                                            QStringLiteral("DejaVu Sans")}
                             << -1;
    QTest::newRow("present") << QStringList{QStringLiteral("Verdana"),
                                            QStringLiteral("Times New Roman"),
                                            QStringLiteral("Arial")}
                             << 1;
    QTest::newRow("other letter case")
        << QStringList{QStringLiteral("times new roman"), QStringLiteral("Courier")} << 1;
}

void WindowTest::timesNewRomanRule() {
    QFETCH(QStringList, families);
    QFETCH(int, selected);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (FormattingToolbar* toolbar : Probe(*window_).Toolbars()) {
        spies.push_back(std::make_unique<QSignalSpy>(toolbar->fontNameChooser(),
                                                     &QComboBox::currentTextChanged));
    }
    Probe(*window_).FillFontChoosers(families);
    for (std::size_t index = 0; index < spies.size(); ++index) {
        QComboBox* chooser = Probe(*window_).Toolbars()[index]->fontNameChooser();
        QCOMPARE(chooser->currentIndex(), selected);
        QCOMPARE(ItemsOf(chooser), SortedFontNames(families));
        // Exactly one change (the font sent to the area) when selected, none while filling.
        QCOMPARE(spies[index]->count(), selected < 0 ? 0 : 1);
        if (selected >= 0) {
            QCOMPARE(chooser->currentText().toLower(), QStringLiteral("times new roman"));
        }
    }
}

void WindowTest::navigation_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("next"); // false: Back
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("nextEnabled");
    QTest::newRow("next from step 1") << 0 << true << 1 << true << true;
    QTest::newRow("next into the middle") << 3 << true << 4 << true << true;
    QTest::newRow("next to finish") << 6 << true << 7 << true << false;
    QTest::newRow("next at finish stays") << 7 << true << 7 << true << false;
    QTest::newRow("back from finish") << 7 << false << 6 << true << true;
    QTest::newRow("back in the middle") << 4 << false << 3 << true << true;
    QTest::newRow("back to step 1") << 1 << false << 0 << false << true;
    QTest::newRow("back at step 1 stays") << 0 << false << 0 << false << true;
}

void WindowTest::navigation() {
    QFETCH(int, start);
    QFETCH(bool, next);
    QFETCH(int, page);
    QFETCH(bool, backEnabled);
    QFETCH(bool, nextEnabled);
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(start);
    // The states are computed by the handlers alone; start from the opposite of the result.
    Control<QPushButton>(*window_, "btnBack")->setEnabled(!backEnabled);
    Control<QPushButton>(*window_, "btnNext")->setEnabled(!nextEnabled);
    if (next) {
        window_->btnNextClick();
    } else {
        window_->btnBackClick();
    }
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), page);
    QCOMPARE(Control<QPushButton>(*window_, "btnBack")->isEnabled(), backEnabled);
    QCOMPARE(Control<QPushButton>(*window_, "btnNext")->isEnabled(), nextEnabled);
}

void WindowTest::navigationTakesThePageCountFromThePageControl() {
    // Clicking through the real buttons visits all eight pages and back.
    for (int expected = 1; expected < 8; ++expected) {
        QTest::mouseClick(Control<QPushButton>(*window_, "btnNext"), Qt::LeftButton);
        QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), expected);
    }
    QVERIFY(!Control<QPushButton>(*window_, "btnNext")->isEnabled());
    auto* extra = new QWidget;
    Control<QStackedWidget>(*window_, "pgcMain")->addWidget(extra);
    window_->btnNextClick();
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 8);
    QVERIFY(!Control<QPushButton>(*window_, "btnNext")->isEnabled());
    window_->btnBackClick();
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 7);
    QVERIFY(Control<QPushButton>(*window_, "btnNext")->isEnabled());
}

void WindowTest::bannerIsCentredAndMayOverhang_data() {
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<int>("left");
    QTest::newRow("100 wide") << 100 << 342;
    QTest::newRow("101 wide") << 101 << 342;
    QTest::newRow("wider than the panel") << 1001 << -108;
}

void WindowTest::bannerIsCentredAndMayOverhang() {
    QFETCH(int, pictureWidth);
    QFETCH(int, left);
    window_->resize(900, 631);
    Control<QLabel>(*window_, "imgBanner")->resize(pictureWidth, 60);
    Control<QLabel>(*window_, "gifBanner")->resize(pictureWidth, 61);
    window_->resize(785, 631);
    QTRY_COMPARE(Control<QFrame>(*window_, "panBanner")->width(), 785);
    QCOMPARE(Control<QLabel>(*window_, "imgBanner")->pos(), QPoint(left, 2)); // 32 - 30
    QCOMPARE(Control<QLabel>(*window_, "gifBanner")->pos(),
             QPoint(left, 2)); // 32 - 30, halves truncated
    QCOMPARE(Control<QLabel>(*window_, "imgBanner")->x(),
             CentredOffset(Control<QFrame>(*window_, "panBanner")->width(), pictureWidth));
}

void WindowTest::resizingKeepsLinksAndEditorsInPlace() {
    const int editor3 = Control<HtmlEditor>(*window_, "prfEditor3")->height();
    const int editor2 = Control<HtmlEditor>(*window_, "prfEditor2")->height();
    auto gapBelow = [](QWidget* editor) {
        return editor->parentWidget()->height() - editor->geometry().bottom() - 1;
    };
    // prfEditor3 was stretched to its page once: it ends 10 pixels above the page bottom.
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(2);
    QTRY_COMPARE(gapBelow(Control<HtmlEditor>(*window_, "prfEditor3")), 10);

    window_->resize(1200, 800);
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(1);
    QTRY_COMPARE(Control<HtmlEditor>(*window_, "prfEditor2")->height(), editor2 + 800 - 631);
    QCOMPARE(gapBelow(Control<HtmlEditor>(*window_, "prfEditor2")), 10);
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(5);
    QTRY_COMPARE(gapBelow(Control<HtmlEditor>(*window_, "prfEditor11")), 10);
    Control<QStackedWidget>(*window_, "pgcMain")->setCurrentIndex(2);
    QTRY_COMPARE(Control<HtmlEditor>(*window_, "prfEditor3")->parentWidget()->height(),
                 Control<QStackedWidget>(*window_, "pgcMain")->height());
    QCOMPARE(Control<HtmlEditor>(*window_, "prfEditor3")->height(), editor3);
    // The right link label stays at the right edge, its text right-aligned.
    const QRect link = Control<LinkLabel>(*window_, "lblLink2URL")->geometry();
    QVERIFY(link.right() > Control<QFrame>(*window_, "panLinks")->width() - 20);
    QVERIFY(Control<LinkLabel>(*window_, "lblLink2URL")->alignment() & Qt::AlignRight);
}

void WindowTest::browse_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("result");
    QTest::newRow("header") << "bsSkinButton1"
                            << "edtHeaderPicture"
                            << "/pictures/head.png"
                            << "/pictures/head.png";
    QTest::newRow("cover") << "bsSkinButton2"
                           << "edtCoverPicture"
                           << "/pictures/cover.jpg"
                           << "/pictures/cover.jpg";
    QTest::newRow("footer") << "bsSkinButton4"
                            << "edtFooterPicture"
                            << "/pictures/foot.gif"
                            << "/pictures/foot.gif";
    QTest::newRow("output file") << "bsSkinButton3"
                                 << "edtFilename"
                                 << "/out/letter"
                                 << "/out/letter.html";
}

void WindowTest::browse() {
    QFETCH(QString, button);
    QFETCH(QString, edit);
    QFETCH(QString, answer);
    QFETCH(QString, result);
    auto* target = window_->findChild<QLineEdit*>(edit);
    auto* browse = window_->findChild<QPushButton*>(button);
    QVERIFY(target != nullptr && browse != nullptr);
    target->setText(QStringLiteral("typed text"));

    dialogs_.fileAnswers = {std::nullopt};
    browse->click();
    QCOMPARE(target->text(), QStringLiteral("typed text"));

    dialogs_.fileAnswers = {answer};
    browse->click();
    QCOMPARE(target->text(), result);
    QVERIFY(messages_.messages.isEmpty());
}

void WindowTest::failureEscapingAHandlerIsShownAsAnError() {
    auto* application = ScribvaneApplication::instance();
    QVERIFY(application != nullptr);
    application->SetFailureReporter(
        [this](const QString& text) { Probe(*window_).msgMain().Error(text); });
    QPushButton thrower(QStringLiteral("Throw"), window_.get());
    // A Windows-1252 byte in the text: 0xE9 is e acute.
    QObject::connect(&thrower, &QPushButton::clicked,
                     [] { throw ConversionError("'caf\xE9' is not a valid integer value"); });
    thrower.show();
    QTest::mouseClick(&thrower, Qt::LeftButton);
    application->SetFailureReporter({});
    QCOMPARE(messages_.messages.size(), 1);
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
    QCOMPARE(messages_.messages[0].text,
             QStringLiteral("'caf\u00E9' is not a valid integer value"));
    // The window goes on working.
    window_->btnNextClick();
    QCOMPARE(Control<QStackedWidget>(*window_, "pgcMain")->currentIndex(), 1);
}

void WindowTest::dialogMessagesAreTitledWithTheCaption() {
    // With real message boxes.
    TfrmMain real(folder_.path(), nullptr, NoUpdateServer(), &dialogs_);
    real.setWindowTitle(QStringLiteral("Quick Letters v1.03"));
    QString title;
    QString text;
    bool okIsDefault = false;
    bool hasCancel = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        title = box->windowTitle();
        text = box->text();
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        hasCancel = box->button(QMessageBox::Cancel) != nullptr;
        box->button(QMessageBox::Cancel)->click();
    });
    const bool answer = real.msgMain().Question(QStringLiteral("Replace it?"));
    QVERIFY(!answer);
    QCOMPARE(title, QStringLiteral("Quick Letters v1.03"));
    QCOMPARE(text, QStringLiteral("Replace it?"));
    QVERIFY(okIsDefault);
    QVERIFY(hasCancel);
}

void WindowTest::failedStartUpStepIsReportedAndStartUpGoesOn() {
    bool after = false;
    Probe(*window_).RunStartUpStep(
        [] { throw FileError("Cannot open file \"dbimg1.dat\". gone"); });
    Probe(*window_).RunStartUpStep([&after] { after = true; });
    QVERIFY(after);
    QCOMPARE(messages_.texts(),
             QStringList({QStringLiteral("Cannot open file \"dbimg1.dat\". gone")}));
    QCOMPARE(messages_.messages[0].kind, QStringLiteral("error"));
}

// The failure handler lives in the application object, so the test runs under the real one.
// The step list names the eight steps, goes to the one chosen by click or keyboard (and with
// Ctrl+Page Down/Up), follows Back and Next, and marks the steps the check finds a problem on.
void WindowTest::stepListGoesToAnyStepAndMarksWhereTheCheckFindsSomething() {
    TfrmMain& w = *window_;
    auto* steps = Control<QListWidget>(w, "lstSteps");
    auto* pages = Control<QStackedWidget>(w, "pgcMain");
    QCOMPARE(steps->count(), 8);
    QCOMPARE(steps->item(0)->text(), QStringLiteral("1. General settings"));
    QCOMPARE(steps->item(6)->text(), QStringLiteral("7. Order Link Options"));
    QCOMPARE(steps->item(7)->text(), QStringLiteral("8. Finish"));
    pages->setCurrentIndex(0);
    const QRect seventh = steps->visualItemRect(steps->item(6));
    QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, seventh.center());
    QCOMPARE(pages->currentIndex(), 6);
    QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 7);
    QCOMPARE(steps->currentRow(), 7);
    Control<QPushButton>(w, "btnBack")->click();
    QCOMPARE(steps->currentRow(), 6);
    steps->setFocus();
    QTest::keyClick(steps, Qt::Key_Home);
    QCOMPARE(pages->currentIndex(), 0);

    // An empty page title is a finding of step 1; a title clears it.
    Control<QLineEdit>(w, "edtPageTitle")->clear();
    pages->setCurrentIndex(7);
    w.Document().SettleNow();
    QTRY_VERIFY(!steps->item(0)->data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    QCOMPARE(steps->item(0)->data(Qt::AccessibleDescriptionRole).toString(),
             QStringLiteral("The letter check found a problem on this step"));
    Control<QLineEdit>(w, "edtPageTitle")->setText(QStringLiteral("A title"));
    w.Document().SettleNow();
    QTRY_VERIFY(steps->item(0)->data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    pages->setCurrentIndex(0);
}

int main(int argc, char** argv) {
    ScribvaneApplication application(argc, argv);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowTest.moc"
