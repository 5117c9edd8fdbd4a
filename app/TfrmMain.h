// The main window: the button bar, the banner, the eight wizard pages, the navigation panel
// and the links panel. Its controls hold the letter configuration; it also owns the record
// lists, the branding values, the shared dialogs and the start-up timer. Each handler hands
// its work to the window half of its subsystem, which gets the controls it works on.
#pragma once

#include "editing/ColorDialog.h"
#include "widgets/FileDialog.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace scribvane {

class Autosave;
class ColorChooser;
class ConfigurationForm;
class DialogService;
class FadingNote;
class FontNameChooser;
class FormattingToolbar;
class HtmlEditor;
class LetterConfiguration;
class LetterDocument;
class LetterPage;
class LetterSession;
class TemplateGallery;
class LetterPreviewWindow;
class LinkLabel;
class MessageService;
class RecordPage;
class SizeSpinEdit;
class UpdateController;
class PublishController;
class PublishPrompts;
class SecretStore;

class TfrmMain : public QWidget {
    Q_OBJECT

public:
    // `programFolder`: where the data files are looked up (default: the executable's folder).
    // `messages`: the message box service (default: real message boxes); not owned.
    // `updateFolderAddress`: the server folder the update check asks (default: the maker's);
    // tests pass a local address so no test ever reaches the real server.
    // `dialogs`: the colour and file dialogs (default: the real ones); not owned.
    explicit TfrmMain(const QString& programFolder = QString(), MessageService* messages = nullptr,
                      const QString& updateFolderAddress = QString(),
                      DialogService* dialogs = nullptr, QWidget* parent = nullptr);
    ~TfrmMain() override;

    MessageService& msgMain() const { return *msgMain_; }
    DialogService& Dialogs() const { return *dialogs_; }
    // The program folder, ending in a path separator.
    const QString& ProgramFolder() const { return programFolder_; }

    // The editing area of a toolbar Tag number (1, 2, 3, 10, 11), or nullptr.
    HtmlEditor* EditorForTag(int tag) const;
    const std::array<HtmlEditor*, 5>& Editors() const { return editors_; }
    const std::array<FormattingToolbar*, 5>& Toolbars() const { return toolbars_; }

    // The four window events.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();

    // Navigation.
    void btnNextClick();
    void btnBackClick();

    // The Browse buttons.
    void bsSkinButton1Click();
    void bsSkinButton2Click();
    void bsSkinButton3Click();
    void bsSkinButton4Click();

    // Branding and the pages it opens.
    void LoadBranding();
    void imgBannerClick();
    void gifBannerClick();
    void btnHelpClick();
    void btnMakeMoneyClick();
    void lblLink1URLClick();
    void lblLink2URLClick();

    // The update check.
    void Timer1Timer();
    void btnUpdateClick();
    void CheckForUpdates(bool Silent);
    UpdateController& UpdateChecker() const { return *updateCheck_; }

    // Runs one start-up step; a failure in it is reported as an error and start-up goes on,
    // since the later steps (font lists, record lists, catalogue, timer) must still run.
    void RunStartUpStep(const std::function<void()>& step);

    // Lists the typeface families (each once) into the five toolbar font choosers and selects
    // "Times New Roman" in each when it is among them (sending the font to each area).
    void FillFontChoosers(const QStringList& families);

    // Steps 4 and 5: the feature and testimonial lists.
    void btnCreateFeatClick();
    void btnDeleteFeatClick();
    void lbxFeaturesListBoxClick();
    void btnCreateTestClick();
    void btnDeleteTestClick();
    void lbxTestimonialsListBoxClick();

    // The template catalogue and the letter of step 8.
    void FillTemplateList();
    void cbxTemplatesChange();
    // The page text of the chosen template, or empty text when there is no such template.
    std::string GenerateLetter() const;
    void btnFinishClick();
    // Publishes the letter to a target (step 8, beside "Save generated code"; Ctrl+P).
    void btnPublishClick();
    // The letter check on step 8, and going from a finding to its field.
    void RefreshLetterCheck();
    // Opens the letter preview, or raises it when it is open.
    void btnPreviewClick();
    void lstLetterCheckActivated(const QString& field);

    // The letter the window works on; the controls write into it, and the preview, the check
    // and the autosave follow it.
    LetterDocument& Document() const { return *document_; }
    LetterSession& Session() const { return *session_; }
    LetterPage& Letter() const { return *letter_; }
    // config.dat in the program folder. ReadLetterConfiguration reads every bound control.
    LetterConfiguration ReadLetterConfiguration() const;
    void SaveConfiguration();
    void LoadConfiguration();
    void btnSaveClick();
    void btnLoadClick();
    // The buttons' menus: copies to and from other files; config.dat stays the working file.
    void SaveCopyAsClick();
    void LoadFromFileClick();

    // Keeping the user's work: autosave.dat between saves, offered back at start-up, and the
    // question before closing over unsaved work (not when the updater takes over).
    Autosave& Autosaver() const { return *autosave_; }
    void FormCloseQuery(bool& CanClose);
    void CloseForUpdate();

    // The record lists (one encoded Windows-1252 record per item) and the branding values.
    std::vector<std::string> FFeatures;
    std::vector<std::string> FTestimonials;
    std::string FAffiliateID;
    std::string FBannerURL;
    std::string FBannerPath;
    std::string FLink1URL;
    std::string FLink2URL;
    std::string FLink1Name;
    std::string FLink2Name;
    std::string FIconPath;

    // Non-visual parts.
    ColorDialog ColorDialog1;
    FileDialog bsSkinOpenPictureDialog1;
    FileDialog bsSkinSaveDialog1;
    QTimer* Timer1 = nullptr;

    // Regions.
    QFrame* bsSkinPanel1 = nullptr;
    QPushButton* btnLoad = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnMakeMoney = nullptr;
    QToolButton* btnLoadMenu = nullptr;
    QToolButton* btnSaveMenu = nullptr;
    QAction* actSaveConfiguration = nullptr;
    QAction* actSaveCopy = nullptr;
    QAction* actLoadFromFile = nullptr;
    QFrame* panBanner = nullptr;
    QLabel* imgBanner = nullptr;
    QLabel* gifBanner = nullptr;
    QStackedWidget* pgcMain = nullptr;
    QFrame* panWizard = nullptr;
    QPushButton* btnBack = nullptr;
    QPushButton* btnNext = nullptr;
    FadingNote* lblSaveNote = nullptr;
    QFrame* panLinks = nullptr;
    LinkLabel* lblLink1URL = nullptr;
    LinkLabel* lblLink2URL = nullptr;

    // Pages, in page-index order.
    QWidget* bsSkinTabSheet1 = nullptr;
    QWidget* bsSkinTabSheet2 = nullptr;
    QWidget* bsSkinTabSheet3 = nullptr;
    QWidget* bsSkinTabSheet4 = nullptr;
    QWidget* bsSkinTabSheet6 = nullptr;
    QWidget* bsSkinTabSheet10 = nullptr;
    QWidget* bsSkinTabSheet11 = nullptr;
    QWidget* bsSkinTabSheet12 = nullptr;

    // Step 1.
    QLineEdit* edtPageTitle = nullptr;
    QLineEdit* edtFullName = nullptr;
    QLineEdit* edtCurrentDate = nullptr;
    QLineEdit* edtPageDescription = nullptr; // stored after the 42 entries, as are those below
    QLineEdit* edtLanguage = nullptr;
    QLineEdit* edtHeaderPicture = nullptr;
    QLineEdit* edtCoverPicture = nullptr;
    QLineEdit* edtFooterPicture = nullptr;
    QLineEdit* edtHeaderPictureDescription = nullptr;
    QLineEdit* edtCoverPictureDescription = nullptr;
    QLineEdit* edtFooterPictureDescription = nullptr;
    QPushButton* bsSkinButton1 = nullptr;
    QPushButton* bsSkinButton2 = nullptr;
    QPushButton* bsSkinButton4 = nullptr;
    ColorChooser* cbxMainBgColor = nullptr;

    // Steps 2, 3 and 6: the editing areas and their toolbars.
    HtmlEditor* prfEditor1 = nullptr;
    HtmlEditor* prfEditor2 = nullptr;
    HtmlEditor* prfEditor3 = nullptr;
    HtmlEditor* prfEditor10 = nullptr;
    HtmlEditor* prfEditor11 = nullptr;
    QLineEdit* edtAttention = nullptr;

    // Step 4.
    QLineEdit* edtFeatureTitle = nullptr;
    QPlainTextEdit* memFeatureBody = nullptr;
    QPushButton* btnCreateFeat = nullptr;
    QPushButton* btnDeleteFeat = nullptr;
    ColorChooser* cbxFBgColor = nullptr;
    ColorChooser* cbxFColor = nullptr;
    FontNameChooser* cbxFName = nullptr;
    SizeSpinEdit* cbxFSize = nullptr;
    QCheckBox* chkFBold = nullptr;
    QCheckBox* chkFUnderline = nullptr;
    QCheckBox* chkFItalic = nullptr;
    QListWidget* lbxFeatures = nullptr;
    QPlainTextEdit* memFeatureDetails = nullptr;

    // Step 5.
    QLineEdit* edtTestName = nullptr;
    QLineEdit* edtTestWebsite = nullptr;
    QPlainTextEdit* memTest = nullptr;
    QPushButton* btnCreateTest = nullptr;
    QPushButton* btnDeleteTest = nullptr;
    ColorChooser* cbxTBgColor = nullptr;
    ColorChooser* cbxTColor = nullptr;
    FontNameChooser* cbxTName = nullptr;
    SizeSpinEdit* cbxTSize = nullptr;
    QCheckBox* chkTBold = nullptr;
    QCheckBox* chkTUnderline = nullptr;
    QCheckBox* chkTItalic = nullptr;
    QListWidget* lbxTestimonials = nullptr;
    QPlainTextEdit* memTestDetails = nullptr;

    // Step 7, with the hidden order link style fields.
    QLineEdit* edtDirectLink = nullptr;
    QLineEdit* edtClickBankName = nullptr;
    QLineEdit* edtProductName = nullptr;
    QLineEdit* edtDescription = nullptr;
    QPlainTextEdit* memPaypalCode = nullptr;
    QLineEdit* edtPaypalEmail = nullptr;
    ColorChooser* cbxOBgColor = nullptr;
    ColorChooser* cbxOColor = nullptr;
    FontNameChooser* cbxOName = nullptr;
    SizeSpinEdit* cbxOSize = nullptr;
    QCheckBox* chkOBold = nullptr;
    QCheckBox* chkOUnderline = nullptr;
    QCheckBox* chkOItalic = nullptr;

    // Step 8, with the template gallery, and the hidden template chooser and its preview.
    TemplateGallery* galTemplates = nullptr;
    QLineEdit* edtFilename = nullptr;
    QPushButton* bsSkinButton3 = nullptr;
    QPushButton* btnFinish = nullptr;
    QPushButton* btnPublish = nullptr;
    QCheckBox* chkEmbedPictures = nullptr;
    QPushButton* btnPreview = nullptr;
    LetterPreviewWindow* preview_ = nullptr; // owned as a child window, made on first use
    QListWidget* lstLetterCheck = nullptr;
    QComboBox* cbxTemplates = nullptr;
    QGroupBox* bsSkinGroupBox1 = nullptr;
    QLabel* Image1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct StyleBlock;

    void BuildRegions();
    QWidget* BuildPage1();
    QWidget* BuildPage2();
    QWidget* BuildPage3();
    QWidget* BuildPage4();
    QWidget* BuildPage5();
    QWidget* BuildPage6();
    QWidget* BuildPage7();
    QWidget* BuildPage8();
    void BuildStyleBlock(const StyleBlock& block, QWidget* page, QGridLayout* grid, int row,
                         bool hidden);
    FormattingToolbar* MakeToolbar(int tag, QWidget* page);
    HtmlEditor* MakeEditor(const QString& name, const QString& passage, QWidget* page);
    void CentreBanner();
    void StretchEditorsToPages();
    void Browse(FileDialog& dialog, QLineEdit* target);
    void BuildSubsystems();
    void ConnectActions();
    QToolButton* MakeMenuButton(const QString& name, QAction* action, QWidget* parent);
    // Once the window has been shown and every area is ready: autosaving starts and an
    // autosave.dat left behind is offered back.
    void ScheduleKeepingWork();
    void StartKeepingWork();

    QString programFolder_;
    QString updateFolderAddress_;
    std::unique_ptr<MessageService> ownMessages_;
    MessageService* msgMain_ = nullptr;
    DialogService* dialogs_ = nullptr;
    std::array<HtmlEditor*, 5> editors_{};
    std::array<FormattingToolbar*, 5> toolbars_{};
    bool shown_ = false;
    bool formShowDone_ = false;
    bool handingOver_ = false;
    std::unique_ptr<RecordPage> features_;
    std::unique_ptr<RecordPage> testimonials_;
    std::unique_ptr<LetterDocument> document_;
    std::unique_ptr<ConfigurationForm> configuration_;
    std::unique_ptr<Autosave> autosave_;
    std::unique_ptr<LetterSession> session_;
    std::unique_ptr<LetterPage> letter_;
    std::unique_ptr<PublishPrompts> publishPrompts_;
    std::unique_ptr<SecretStore> secrets_;
    std::unique_ptr<PublishController> publisher_;
    // Declared last so it goes first: it must not outlive the message service it reports to.
    std::unique_ptr<UpdateController> updateCheck_;
};

} // namespace scribvane
