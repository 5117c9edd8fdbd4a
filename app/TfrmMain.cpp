// The main window: its frame and regions, the start-up sequence, navigation, and the
// handlers, each handing its work to its subsystem. The wizard pages are built in
// TfrmMainPages.cpp.
#include "app/TfrmMain.h"

#include "app/ScribvaneApplication.h"
#include "app/Skin.h"
#include "branding/BannerCentring.h"
#include "branding/BrandingApplier.h"
#include "branding/BrowserLaunch.h"
#include "branding/ClickFilter.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "generation/FinishStep.h"
#include "generation/LetterGenerator.h"
#include "generation/LetterPage.h"
#include "generation/LetterPreviewWindow.h"
#include "lists/RecordPage.h"
#include "persistence/Autosave.h"
#include "persistence/ConfigTags.h"
#include "persistence/ConfigurationForm.h"
#include "persistence/LetterDocument.h"
#include "persistence/LetterSession.h"
#include "publishing/PublishController.h"
#include "publishing/PublishPrompts.h"
#include "publishing/SecretStore.h"
#include "update/UpdateController.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/ProgramConstants.h"
#include "widgets/ColorChooser.h"
#include "widgets/DialogService.h"
#include "widgets/FadingNote.h"
#include "widgets/FontNameChooser.h"
#include "widgets/FormBuilder.h"
#include "widgets/LinkLabel.h"
#include "widgets/Logging.h"
#include "widgets/MessageService.h"
#include "widgets/PageStack.h"
#include "widgets/QtText.h"
#include "widgets/WindowPlacement.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace scribvane {

namespace {

// Room for the step list beside the pages, which keep the width they were laid out for.
constexpr int kStepListWidth = 200;
constexpr int kClientWidth = 785 + kStepListWidth;
constexpr int kClientHeight = 631;
constexpr int kButtonBarHeight = 33;
constexpr int kBannerHeight = 65;
constexpr int kWizardPanelHeight = 37;
constexpr int kLinksPanelHeight = 32;
constexpr int kEditorBottomGap = 10;

const QString kOpenPictureFilter =
    QStringLiteral("All (*.bmp;*.gif;*.jpg;*.png)|*.bmp;*.gif;*.jpg;*.png|Bitmaps (*.bmp)|*.bmp|"
                   "Gif (*.gif)|*.gif|Jpg (*.jpg)|*.jpg|Png (*.png)|*.png");
const QString kSaveFilter = QStringLiteral("HTML files|*.html");

// The link labels' target before any branding: a web search engine's start page.
const QString kDefaultLinkCaption = QStringLiteral("Google");
const QString kDefaultLinkUrl = QStringLiteral("https://www.google.com/");

QString WithTrailingSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder.append(QLatin1Char('/'));
    }
    return folder;
}

// The note's path is shortened in the middle: the panel is one line high.
constexpr int kNotePathWidth = 380;

QString NotePath(const QWidget& note, const std::filesystem::path& path) {
    return note.fontMetrics().elidedText(QString::fromStdString(path.string()), Qt::ElideMiddle,
                                         kNotePathWidth);
}

// Assistive technology sees the main window as a window named by its caption; as a plain
// widget it would be announced as a filler without a name.
QAccessibleInterface* MainWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("scribvane::TfrmMain") && object != nullptr &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

QFrame* MakePanel(const QString& name, int height, bool framed, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFixedHeight(height);
    panel->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
    return panel;
}

} // namespace

TfrmMain::TfrmMain(const QString& programFolder, MessageService* messages,
                   const QString& updateFolderAddress, DialogService* dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), ColorDialog1(dialogs != nullptr ? *dialogs : StandardDialogs()),
      bsSkinOpenPictureDialog1(FileDialog::Mode::OpenExisting, QStringLiteral("Open picture"),
                               kOpenPictureFilter),
      bsSkinSaveDialog1(FileDialog::Mode::Save, QStringLiteral("Save file"), kSaveFilter),
      policyDialog_(FileDialog::Mode::OpenExisting, QStringLiteral("Open policy page"),
                    QStringLiteral("Web pages|*.html;*.htm|All files|*")),
      programFolder_(WithTrailingSeparator(
          programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder)),
      updateFolderAddress_(updateFolderAddress.isEmpty() ? QStringOfAnsi(UpdateFolderAddress)
                                                         : updateFolderAddress) {
    if (messages == nullptr) {
        ownMessages_ = std::make_unique<DialogMessageService>(this);
        messages = ownMessages_.get();
    }
    msgMain_ = messages;
    // What the core passes over on purpose shows up in the window's logging categories.
    RouteCoreNotesToCategories();
    dialogs_ = dialogs != nullptr ? dialogs : &StandardDialogs();
    static const bool accessibleWindow = [] {
        QAccessible::installFactory(&MainWindowAccessible);
        return true;
    }();
    Q_UNUSED(accessibleWindow);

    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Scribvane"));
    setStyleSheet(BuiltInSkin());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);

    BuildRegions();
    BuildSubsystems();
    ConnectActions();

    resize(kClientWidth, kClientHeight);
    // A window closed before comes back where it was; the first one opens centred.
    const bool restored =
        RestoreWindowPlacement(*this, ProgramFolder() + QStringLiteral("window.dat"));
    if (const QScreen* screen = this->screen(); screen != nullptr && !restored) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }

    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::BuildRegions() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The button bar; the arrows beside Load and Save hold the copies to and from other
    // files, and the shortcuts work on every page.
    QFrame* bar = MakePanel(QStringLiteral("bsSkinPanel1"), kButtonBarHeight, false, this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(6, 3, 6, 3);
    buttons->setSpacing(4);
    const auto addButton = [this, buttons](const char* name, const char* caption,
                                           void (TfrmMain::*click)()) {
        QPushButton* button =
            MakeButton(QString::fromLatin1(name), QString::fromLatin1(caption), this);
        button->setProperty("toolbarButton", true);
        connect(button, &QPushButton::clicked, this, click);
        buttons->addWidget(button);
    };
    const auto addMenu = [this, buttons](const char* name, const char* action, const char* text,
                                         const QKeySequence& keys, void (TfrmMain::*run)()) {
        auto* item = new QAction(QString::fromLatin1(text), this);
        item->setObjectName(QString::fromLatin1(action));
        item->setShortcut(keys);
        addAction(item);
        connect(item, &QAction::triggered, this, run);
        if (name == nullptr) {
            return;
        }
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setPopupMode(QToolButton::InstantPopup);
        button->setArrowType(Qt::DownArrow);
        button->setAccessibleName(item->text().chopped(3)); // without the dots
        button->setToolTip(item->text());
        auto* menu = new QMenu(button);
        menu->addAction(item);
        button->setMenu(menu);
        buttons->addWidget(button);
    };
    addButton("btnLoad", "Load Configuration", &TfrmMain::btnLoadClick);
    addMenu("btnLoadMenu", "actLoadFromFile", "Load From File...", QKeySequence::Open,
            &TfrmMain::LoadFromFileClick);
    addButton("btnSave", "Save Configuration", &TfrmMain::btnSaveClick);
    addMenu("btnSaveMenu", "actSaveCopy", "Save a Copy As...",
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TfrmMain::SaveCopyAsClick);
    addMenu(nullptr, "actSaveConfiguration", "Save Configuration", QKeySequence::Save,
            &TfrmMain::btnSaveClick);
    addButton("btnHelp", "Help", &TfrmMain::btnHelpClick);
    addButton("btnUpdate", "Check Updates", &TfrmMain::btnUpdateClick);
    addButton("btnMakeMoney", "Make Money", &TfrmMain::btnMakeMoneyClick);
    buttons->addStretch(1);
    addButton("btnPreview", "Preview Letter", &TfrmMain::btnPreviewClick);
    layout->addWidget(bar);

    // The banner pictures are placed by hand: they are centred, and may overhang the panel.
    panBanner = MakePanel(QStringLiteral("panBanner"), kBannerHeight, true, this);
    for (auto [picture, name] : {std::pair{&imgBanner, "imgBanner"}, {&gifBanner, "gifBanner"}}) {
        *picture = new QLabel(panBanner);
        (*picture)->setObjectName(QString::fromLatin1(name));
        (*picture)->setGeometry(0, 0, 0, 0);
    }
    gifBanner->hide();
    layout->addWidget(panBanner);

    // The pages scroll when the window is made smaller than they need.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("pgcMainScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // A click on a control that takes no focus (a formatting button) gives the focus to the
    // nearest container that takes it by click; were that the scroller, the editing area would
    // lose the caret and what is typed next. It scrolls without the focus.
    scroller->setFocusPolicy(Qt::NoFocus);
    pgcMain = new PageStack(scroller);
    pgcMain->setObjectName(QStringLiteral("pgcMain"));
    BuildPages();
    scroller->setWidget(pgcMain);
    // The steps by name beside the pages: any step is one click away, and the steps where the
    // check finds something are marked.
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    lstSteps = BuildStepList();
    body->addWidget(lstSteps);
    body->addWidget(scroller, 1);
    layout->addLayout(body, 1);

    QFrame* wizard = MakePanel(QStringLiteral("panWizard"), kWizardPanelHeight, true, this);
    auto* navigation = new QHBoxLayout(wizard);
    navigation->setContentsMargins(8, 4, 8, 4);
    navigation->setSpacing(6);
    btnBack = MakeButton(QStringLiteral("btnBack"), QStringLiteral("Back"), this);
    btnNext = MakeButton(QStringLiteral("btnNext"), QStringLiteral("Next"), this);
    btnBack->setEnabled(false);
    btnNext->setDefault(false);
    btnNext->setProperty("primary", true);
    navigation->addWidget(btnBack);
    navigation->addWidget(btnNext);
    navigation->addStretch(1);
    lblSaveNote = new FadingNote(wizard);
    lblSaveNote->setObjectName(QStringLiteral("lblSaveNote"));
    navigation->addWidget(lblSaveNote);
    connect(btnNext, &QPushButton::clicked, this, &TfrmMain::btnNextClick);
    connect(btnBack, &QPushButton::clicked, this, &TfrmMain::btnBackClick);
    // Back and Next follow the page shown, however it came (the buttons, a check finding,
    // the preview's "Choose Design...").
    connect(pgcMain, &QStackedWidget::currentChanged, this, &TfrmMain::ShowNavigation);
    layout->addWidget(wizard);

    QFrame* linksPanel = MakePanel(QStringLiteral("panLinks"), kLinksPanelHeight, true, this);
    auto* links = new QHBoxLayout(linksPanel);
    links->setContentsMargins(10, 2, 10, 2);
    lblLink1URL = new LinkLabel(kDefaultLinkCaption, kDefaultLinkUrl, linksPanel);
    lblLink1URL->setObjectName(QStringLiteral("lblLink1URL"));
    lblLink2URL = new LinkLabel(kDefaultLinkCaption, kDefaultLinkUrl, linksPanel);
    lblLink2URL->setObjectName(QStringLiteral("lblLink2URL"));
    lblLink2URL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    links->addWidget(lblLink1URL);
    links->addStretch(1);
    links->addWidget(lblLink2URL);
    layout->addWidget(linksPanel);
}

void TfrmMain::BuildSubsystems() {
    for (ColorChooser* chooser : findChildren<ColorChooser*>()) {
        chooser->SetDialogService(*dialogs_);
    }
    document_ = std::make_unique<LetterDocument>();
    configuration_ =
        std::make_unique<ConfigurationForm>(*pgcMain, *features_, *testimonials_, *document_);
    configuration_->ShowInitialValues();
    autosave_ = std::make_unique<Autosave>(*document_, ProgramFolder());
    session_ = std::make_unique<LetterSession>(*document_, *configuration_, *autosave_,
                                               ProgramFolder(), msgMain(), *dialogs_, this);
    letter_ = std::make_unique<LetterPage>(finish_->letter, *document_, ProgramFolder(), msgMain());
    updateCheck_ =
        std::make_unique<UpdateController>(ProgramFolder(), updateFolderAddress_, msgMain());
    publishPrompts_ = std::make_unique<DialogPublishPrompts>(this);
    secrets_ = std::make_unique<KeychainSecretStore>();
    // The letter reaches publishing only through this function, from the document.
    publisher_ = std::make_unique<PublishController>(
        [this](std::string publicAddress) {
            return letter_->PrepareToPublish(std::move(publicAddress));
        },
        std::filesystem::path(ProgramFolder().toStdString()), *publishPrompts_, *secrets_);
}

void TfrmMain::ConnectActions() {
    const auto button = [this](const char* name) {
        return pgcMain->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    connect(finish_->browse, &QPushButton::clicked, this, &TfrmMain::bsSkinButton3Click);
    connect(button("btnCreateFeat"), &QPushButton::clicked, this, &TfrmMain::btnCreateFeatClick);
    connect(button("btnDeleteFeat"), &QPushButton::clicked, this, &TfrmMain::btnDeleteFeatClick);
    connect(button("btnCreateTest"), &QPushButton::clicked, this, &TfrmMain::btnCreateTestClick);
    connect(button("btnDeleteTest"), &QPushButton::clicked, this, &TfrmMain::btnDeleteTestClick);
    // A click shows the entry, and so does choosing it with the keyboard.
    for (const auto& [list, show] : {std::pair{"lbxFeatures", &TfrmMain::lbxFeaturesListBoxClick},
                                     {"lbxTestimonials", &TfrmMain::lbxTestimonialsListBoxClick}}) {
        connect(pgcMain->findChild<QListWidget*>(QString::fromLatin1(list)),
                &QListWidget::itemSelectionChanged, this, show);
    }

    connect(finish_->letter.templates, &QComboBox::currentTextChanged, this,
            &TfrmMain::cbxTemplatesChange);
    connect(finish_->finish, &QPushButton::clicked, this, &TfrmMain::btnFinishClick);
    connect(finish_->publish, &QPushButton::clicked, this, &TfrmMain::btnPublishClick);
    // The step list marks the steps the check finds something on, once per refresh of the
    // check, which refills the list a row at a time. The timer's connections end with it, so
    // nothing is marked while the window is taken down.
    auto* mark = new QTimer(this);
    mark->setSingleShot(true);
    mark->setInterval(0);
    connect(mark, &QTimer::timeout, this, &TfrmMain::MarkStepsWithFindings);
    QAbstractItemModel* findings = finish_->letter.checkList->model();
    const auto later = [mark] { mark->start(); };
    connect(findings, &QAbstractItemModel::rowsInserted, mark, later);
    connect(findings, &QAbstractItemModel::rowsRemoved, mark, later);
    connect(findings, &QAbstractItemModel::modelReset, mark, later);
    connect(findings, &QAbstractItemModel::dataChanged, mark, later);
    // The check follows the letter once it settles, and every load.
    connect(document_.get(), &LetterDocument::settled, this, &TfrmMain::RefreshLetterCheck);
    connect(session_.get(), &LetterSession::loaded, this, &TfrmMain::RefreshLetterCheck);
    // The gallery's thumbnails follow the letter too (only while they are seen).
    connect(document_.get(), &LetterDocument::settled, finish_->letter.gallery,
            &TemplateGallery::letterChanged);
    connect(finish_->letter.checkList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) {
                if (const auto field = LetterPage::FieldOfFinding(*item)) {
                    lstLetterCheckActivated(*field);
                }
            });
    for (HtmlEditor* editor : editors_) {
        connect(editor, &HtmlEditor::ready, this, &TfrmMain::ScheduleKeepingWork);
    }

    connect(lblLink1URL, &LinkLabel::clicked, this, &TfrmMain::lblLink1URLClick);
    connect(lblLink2URL, &LinkLabel::clicked, this, &TfrmMain::lblLink2URLClick);
    ClickFilter::Install(imgBanner, [this] { imgBannerClick(); });
    ClickFilter::Install(gifBanner, [this] { gifBannerClick(); });

    // The user agreed and the updater runs: it needs the program's files released.
    connect(updateCheck_.get(), &UpdateController::closeRequested, this, &TfrmMain::CloseForUpdate);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);

    // Each toolbar shows the format at the caret of its own area.
    for (std::size_t index = 0; index < editors_.size(); ++index) {
        connect(editors_[index], &HtmlEditor::formatStateChanged, toolbars_[index],
                &FormattingToolbar::ShowFormatState);
    }

    // Keyboard: Back and Next as their buttons (the captions keep no mnemonic), and the letter
    // from the last step. A disabled button is not pressed.
    const auto bind = [this](std::initializer_list<QKeySequence> keys, QPushButton* target,
                             bool lastStepOnly) {
        for (const QKeySequence& key : keys) {
            connect(new QShortcut(key, this), &QShortcut::activated, this,
                    [this, target, lastStepOnly] {
                        const bool onLastStep = pgcMain->currentIndex() == pgcMain->count() - 1;
                        if (target->isEnabled() && (onLastStep || !lastStepOnly)) {
                            target->click();
                        }
                    });
        }
    };
    bind({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::ALT | Qt::Key_B)}, btnBack, false);
    bind({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::ALT | Qt::Key_N)}, btnNext,
         false);
    bind({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
         finish_->finish, true);
}

// Each area's toolbar carries the area's tag.
HtmlEditor* TfrmMain::EditorForTag(int tag) const {
    for (std::size_t index = 0; index < toolbars_.size(); ++index) {
        if (toolbars_[index] != nullptr && toolbars_[index]->tag() == tag) {
            return editors_[index];
        }
    }
    return nullptr;
}

void TfrmMain::FormCreate() {
    // 1. Step 1 of the wizard is current.
    pgcMain->setCurrentIndex(0);

    // 2. Both banner pictures start in the same place.
    gifBanner->setGeometry(imgBanner->geometry());

    // 3. Branding settings.
    RunStartUpStep([this] { LoadBranding(); });

    // 4.-6. The font choosers of the five toolbars.
    FillFontChoosers(InstalledTypefaceFamilies());

    // 7. The editing areas that reach down to the page bottom.
    StretchEditorsToPages();

    // 8. Empty record lists.
    FFeatures.clear();
    FTestimonials.clear();

    // 9. Template catalogue, its first entry selected.
    RunStartUpStep([this] { FillTemplateList(); });

    // 10. The first tick runs the quiet update check.
    Timer1->start();
}

void TfrmMain::RunStartUpStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& failure) {
        msgMain().Error(ScribvaneApplication::FailureText(failure));
    }
}

void TfrmMain::FillFontChoosers(const QStringList& families) {
    const QStringList names = SortedFontNames(TypefaceFamilies(families));
    // Filling must not send a font to any area; only the selection below may.
    for (FormattingToolbar* toolbar : toolbars_) {
        QComboBox* chooser = toolbar->fontNameChooser();
        const QSignalBlocker blocker(chooser);
        chooser->clear();
        chooser->addItems(names);
        MarkFamiliesVisitorsLack(*chooser);
        chooser->setCurrentIndex(-1);
    }
    int position = -1;
    for (int index = 0; index < names.size() && position < 0; ++index) {
        if (names[index].compare(QStringLiteral("Times New Roman"), Qt::CaseInsensitive) == 0) {
            position = index;
        }
    }
    if (position < 0) {
        return;
    }
    for (FormattingToolbar* toolbar : toolbars_) {
        toolbar->fontNameChooser()->setCurrentIndex(position);
    }
}

void TfrmMain::StretchEditorsToPages() {
    // prfEditor2 and prfEditor11 are laid out to end 10 pixels above their page's bottom and
    // follow the window from then on. prfEditor3 gets that height once, then keeps it.
    layout()->activate();
    // The page control sits in a scroll area, which lays it out only once the window shows.
    const auto* scroller = findChild<QScrollArea*>(QStringLiteral("pgcMainScroller"));
    const QSize area = scroller != nullptr ? scroller->size() : pgcMain->size();
    pgcMain->resize(area);
    HtmlEditor* product = editors_[2];
    QWidget* page = product->parentWidget();
    page->resize(area);
    page->layout()->activate();
    product->setFixedHeight(
        std::max(0, page->height() - product->geometry().top() - kEditorBottomGap));
}

void TfrmMain::CentreBanner() {
    for (QLabel* picture : {imgBanner, gifBanner}) {
        picture->move(CentredOffset(panBanner->width(), picture->width()),
                      CentredOffset(panBanner->height(), picture->height()));
    }
}

void TfrmMain::FormShow() {
    CentreBanner();
    // Every page is displayed once so that every editing area gets its document.
    for (int index = 0; index < pgcMain->count(); ++index) {
        pgcMain->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }
    pgcMain->setCurrentIndex(0);
}

void TfrmMain::FormResize() {
    CentreBanner();
}

void TfrmMain::FormDestroy() {
    FFeatures.clear();
    FFeatures.shrink_to_fit();
    FTestimonials.clear();
    FTestimonials.shrink_to_fit();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        FormShow();
        formShowDone_ = true;
        ScheduleKeepingWork();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Stays open unless the query lets it go, also when a save asked for there fails.
    event->ignore();
    bool canClose = true;
    FormCloseQuery(canClose);
    event->setAccepted(canClose);
    if (canClose) {
        SaveWindowPlacement(*this, ProgramFolder() + QStringLiteral("window.dat"));
    }
}

void TfrmMain::FormCloseQuery(bool& CanClose) {
    if (handingOver_) {
        session_->HandOver();
        CanClose = true;
        return;
    }
    CanClose = session_->ConfirmClose();
}

void TfrmMain::CloseForUpdate() {
    handingOver_ = true;
    close();
}

void TfrmMain::ScheduleKeepingWork() {
    // From a timer, not a posted call: the areas' synchronous reads wait for the engine, whose
    // answer does not arrive while a posted call is being delivered.
    QTimer::singleShot(1, this, &TfrmMain::StartKeepingWork);
}

void TfrmMain::StartKeepingWork() {
    const bool ready = std::all_of(editors_.begin(), editors_.end(),
                                   [](const HtmlEditor* editor) { return editor->IsReady(); });
    if (!formShowDone_ || !ready || autosave_->IsStarted()) {
        return;
    }
    const std::filesystem::path path = Autosave::AutosavePath(ProgramFolder());
    const QDateTime written = QFileInfo(QString::fromStdString(path.string())).lastModified();
    if (session_->Start()) {
        lblSaveNote->ShowNote(QStringLiteral("Restored unsaved changes from %1 (autosaved %2)")
                                  .arg(NotePath(*lblSaveNote, path),
                                       written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    }
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

namespace {

// An unmarked step keeps the mark's room, so the step names stay in one column.
QIcon NoMark(QSize size) {
    QPixmap room(size);
    room.fill(Qt::transparent);
    return QIcon(room);
}

} // namespace

QListWidget* TfrmMain::BuildStepList() {
    auto* steps = new QListWidget(this);
    steps->setObjectName(QStringLiteral("lstSteps"));
    steps->setAccessibleName(QStringLiteral("Steps"));
    steps->setFixedWidth(kStepListWidth);
    steps->setFrameShape(QFrame::NoFrame);
    steps->setProperty("stepList", true);
    steps->setIconSize(QSize(14, 14));
    steps->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    steps->setWordWrap(true); // a longer name, as a brand may give, takes a second line
    for (int index = 0; index < pgcMain->count(); ++index) {
        QString name = QStringLiteral("Step %1").arg(index + 1);
        for (const QLabel* label : pgcMain->widget(index)->findChildren<QLabel*>()) {
            if (label->property("pageTitle").toBool()) {
                name = label->text(); // "Step 7: Order Link Options"
                break;
            }
        }
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        auto* item = new QListWidgetItem(
            colon > 0 ? QStringLiteral("%1. %2").arg(index + 1).arg(name.mid(colon + 1).trimmed())
                      : name,
            steps);
        item->setToolTip(name);
        item->setIcon(NoMark(steps->iconSize()));
    }
    steps->setCurrentRow(0);
    connect(steps, &QListWidget::currentRowChanged, this, [this, steps](int row) {
        if (row != pgcMain->currentIndex()) {
            GoToStep(row);
            // Staying on a record step (its edit not settled) keeps the list on it too.
            const QSignalBlocker blocker(steps);
            steps->setCurrentRow(pgcMain->currentIndex());
        }
    });
    connect(pgcMain, &QStackedWidget::currentChanged, steps, [steps](int index) {
        const QSignalBlocker blocker(steps);
        steps->setCurrentRow(index);
    });
    for (const auto& [keys, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                     {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
        auto* shortcut = new QShortcut(keys, this);
        const int delta = step; // clang 14 cannot capture a structured binding
        connect(shortcut, &QShortcut::activated, this,
                [this, delta] { GoToStep(pgcMain->currentIndex() + delta); });
    }
    return steps;
}

void TfrmMain::MarkStepsWithFindings() {
    std::vector<bool> marked(static_cast<std::size_t>(pgcMain->count()), false);
    const QListWidget& findings = *finish_->letter.checkList;
    for (int row = 0; row < findings.count(); ++row) {
        // Tips are for the letter's good, not faults: they leave the step unmarked.
        const auto severity = LetterPage::SeverityOfFinding(*findings.item(row));
        if (!severity || *severity == Severity::Tip) {
            continue;
        }
        const auto field = LetterPage::FieldOfFinding(*findings.item(row));
        QWidget* control = field ? configuration_->ControlOf(*field) : nullptr;
        for (int index = 0; control != nullptr && index < pgcMain->count(); ++index) {
            if (pgcMain->widget(index)->isAncestorOf(control)) {
                marked[static_cast<std::size_t>(index)] = true;
            }
        }
    }
    const QIcon mark = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QIcon none = NoMark(lstSteps->iconSize());
    for (int index = 0; index < lstSteps->count(); ++index) {
        QListWidgetItem* item = lstSteps->item(index);
        const bool on = marked[static_cast<std::size_t>(index)];
        item->setIcon(on ? mark : none);
        // Said to screen readers with the step's name.
        item->setData(Qt::AccessibleDescriptionRole,
                      on ? QStringLiteral("The letter check found a problem on this step")
                         : QString());
    }
}

void TfrmMain::btnNextClick() {
    GoToStep(pgcMain->currentIndex() + 1);
}

void TfrmMain::btnBackClick() {
    GoToStep(pgcMain->currentIndex() - 1);
}

bool TfrmMain::SettleRecordEdits() {
    // The record steps' inputs may hold what Update or Create has not taken yet.
    for (RecordPage* records : {features_.get(), testimonials_.get()}) {
        if (pgcMain->currentWidget()->isAncestorOf(records->ListWidget()) &&
            !records->SettlePendingEdit()) {
            return false;
        }
    }
    return true;
}

void TfrmMain::GoToStep(int index) {
    if (index >= 0 && index < pgcMain->count() && index != pgcMain->currentIndex() &&
        SettleRecordEdits()) {
        pgcMain->setCurrentIndex(index);
    }
    ShowNavigation();
}

void TfrmMain::ShowNavigation() {
    btnBack->setEnabled(pgcMain->currentIndex() > 0);
    btnNext->setEnabled(pgcMain->currentIndex() < pgcMain->count() - 1);
}

void TfrmMain::Browse(FileDialog& dialog, QLineEdit* target) {
    if (dialog.Execute(this, *dialogs_, target->text())) {
        target->setText(dialog.FileName());
    }
}

void TfrmMain::bsSkinButton1Click() {
    Browse(bsSkinOpenPictureDialog1, edtHeaderPicture);
}

void TfrmMain::bsSkinButton2Click() {
    Browse(bsSkinOpenPictureDialog1, edtCoverPicture);
}

void TfrmMain::bsSkinButton3Click() {
    Browse(bsSkinSaveDialog1, finish_->filename);
}

void TfrmMain::bsSkinButton4Click() {
    Browse(bsSkinOpenPictureDialog1, edtFooterPicture);
}

void TfrmMain::btnCreateFeatClick() {
    features_->CreateRecord();
}

void TfrmMain::btnDeleteFeatClick() {
    features_->DeleteSelectedRecord();
}

void TfrmMain::lbxFeaturesListBoxClick() {
    features_->ShowSelectedRecord();
}

void TfrmMain::btnCreateTestClick() {
    testimonials_->CreateRecord();
}

void TfrmMain::btnDeleteTestClick() {
    testimonials_->DeleteSelectedRecord();
}

void TfrmMain::lbxTestimonialsListBoxClick() {
    testimonials_->ShowSelectedRecord();
}

void TfrmMain::FillTemplateList() {
    letter_->FillTemplateList();
}

void TfrmMain::cbxTemplatesChange() {
    letter_->ShowTemplatePreview();
    // An empty heading is the template's own, so that is the one the edit offers.
    edtOrderHeading->setPlaceholderText(QStringOfAnsi(letter_->TemplateOrderHeading()));
    // The areas show text that names no font as the chosen design's page shows it.
    const QString font = QStringOfAnsi(letter_->TemplateBodyFont());
    for (HtmlEditor* editor : editors_) {
        editor->SetBaseFont(font);
    }
}

std::string TfrmMain::GenerateLetter() const {
    return letter_->GenerateLetter();
}

void TfrmMain::btnFinishClick() {
    letter_->Finish();
    RefreshLetterCheck(); // what was written (the output folder, say) changes what it finds
}

void TfrmMain::btnPublishClick() {
    publisher_->Publish();
    RefreshLetterCheck();
}

void TfrmMain::RefreshLetterCheck() {
    letter_->RefreshCheck();
}

void TfrmMain::btnPreviewClick() {
    if (preview_ == nullptr) {
        preview_ = new LetterPreviewWindow(*document_, *letter_, this);
        connect(preview_, &LetterPreviewWindow::designRequested, this, [this] {
            pgcMain->setCurrentWidget(finish_->page);
            raise();
            activateWindow();
            finish_->letter.gallery->setFocus();
        });
    }
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
    preview_->Refresh();
}

void TfrmMain::lstLetterCheckActivated(LetterField field) {
    QWidget* target = configuration_->ControlOf(field);
    if (target == nullptr || !SettleRecordEdits()) {
        return;
    }
    for (int index = 0; index < pgcMain->count(); ++index) {
        if (pgcMain->widget(index)->isAncestorOf(target)) {
            pgcMain->setCurrentIndex(index);
        }
    }
    // A field on a tab of its step is shown by showing its tab.
    for (QWidget* above = target->parentWidget(); above != nullptr; above = above->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(above)) {
            for (int index = 0; index < tabs->count(); ++index) {
                if (tabs->widget(index)->isAncestorOf(target)) {
                    tabs->setCurrentIndex(index);
                }
            }
        }
    }
    target->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::SaveConfiguration() {
    session_->SaveConfiguration();
    lblSaveNote->ShowNote(
        QStringLiteral("Saved to %1 at %2")
            .arg(NotePath(*lblSaveNote, ConfigurationForm::ConfigurationPath(ProgramFolder())),
                 QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
}

void TfrmMain::LoadConfiguration() {
    session_->LoadConfiguration();
}

void TfrmMain::btnSaveClick() {
    SaveConfiguration();
    RefreshLetterCheck();
}

void TfrmMain::btnLoadClick() {
    LoadConfiguration();
    QCoreApplication::processEvents();
}

void TfrmMain::SaveCopyAsClick() {
    session_->SaveCopyAs();
}

void TfrmMain::LoadFromFileClick() {
    if (session_->LoadFromFile()) {
        QCoreApplication::processEvents(); // as after "Load Configuration"
    }
}

void TfrmMain::LoadBranding() {
    BrandingTargets targets;
    targets.window = this;
    targets.panBanner = panBanner;
    targets.imgBanner = imgBanner;
    targets.gifBanner = gifBanner;
    targets.lblLink1URL = lblLink1URL;
    targets.lblLink2URL = lblLink2URL;
    targets.programFolder = ProgramFolder();
    branding_ = ApplyBranding(targets);
}

void TfrmMain::imgBannerClick() {
    OpenBannerTarget(branding_.bannerUrl);
}

void TfrmMain::gifBannerClick() {
    OpenBannerTarget(branding_.bannerUrl);
}

void TfrmMain::btnHelpClick() {
    OpenInBrowser(QStringOfAnsi(HelpAddress));
}

void TfrmMain::btnMakeMoneyClick() {
    OpenAffiliatePage(branding_.affiliateId);
}

void TfrmMain::lblLink1URLClick() {
    OpenLinkAddress(lblLink1URL->url());
}

void TfrmMain::lblLink2URLClick() {
    OpenLinkAddress(lblLink2URL->url());
}

void TfrmMain::Timer1Timer() {
    // One tick per start: the quiet check runs once.
    Timer1->stop();
    CheckForUpdates(true);
}

void TfrmMain::btnUpdateClick() {
    CheckForUpdates(false);
}

void TfrmMain::CheckForUpdates(bool Silent) {
    updateCheck_->CheckForUpdates(Silent);
}

} // namespace scribvane
