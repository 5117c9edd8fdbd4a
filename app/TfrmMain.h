// The main window: the button bar, the banner, the eight wizard pages, the navigation panel
// and the links panel. Its controls fill the letter document through the configuration form;
// it also owns the record lists, the branding values, the shared dialogs and the start-up
// timer. Each handler hands its work to the window half of its subsystem.
//
// Its controls are its own: they carry the names the configuration table and the tests find
// them by (objectName). What is public are the window's events and handlers.
#pragma once

#include "branding/BrandingChoice.h"
#include "editing/ColorDialog.h"
#include "persistence/LetterField.h"
#include "widgets/FileDialog.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace scribvane {

class Autosave;
class ConfigurationForm;
class DialogService;
class FadingNote;
class FormattingToolbar;
class HtmlEditor;
class LetterDocument;
class LetterPage;
class LetterPreviewWindow;
class LetterSession;
class LinkLabel;
class MessageService;
class PublishController;
class PublishPrompts;
class RecordPage;
class SecretStore;
class TemplateGallery;
class UpdateController;
struct FinishStep;

namespace testing {
class TfrmMainProbe;
}

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

    // The letter the window works on: the controls write into it, and the preview, the check,
    // the autosave, the gallery and publishing follow it.
    LetterDocument& Document() const { return *document_; }
    LetterSession& Session() const { return *session_; }
    // The message box service every handler reports through.
    MessageService& msgMain() const { return *msgMain_; }

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

    // Steps 4 and 5: the feature and testimonial lists.
    void btnCreateFeatClick();
    void btnDeleteFeatClick();
    void lbxFeaturesListBoxClick();
    void btnCreateTestClick();
    void btnDeleteTestClick();
    void lbxTestimonialsListBoxClick();

    // The editing area of a toolbar Tag number (1, 2, 3, 10, 11), or nullptr.
    HtmlEditor* EditorForTag(int tag) const;

    // The template catalogue and the letter of step 8.
    void FillTemplateList();
    void cbxTemplatesChange();
    // The page text of the chosen template, or empty text when there is no such template.
    std::string GenerateLetter() const;
    void btnFinishClick();

    // config.dat in the program folder, and the buttons that save and load it.
    void SaveConfiguration();
    void LoadConfiguration();
    void btnSaveClick();
    void btnLoadClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class testing::TfrmMainProbe; // the widget tests' way to what no control shows

    // The program folder, ending in a path separator.
    const QString& ProgramFolder() const { return programFolder_; }

    void BuildRegions();
    void BuildPages();
    QWidget* BuildPage1();
    QWidget* BuildPassagePage(int first, int count);
    QWidget* BuildPage7();
    // Goes to step `index` (from 0) once the record inputs are settled; nothing for a step
    // that is not there.
    void GoToStep(int index);
    QListWidget* BuildStepList();
    void MarkStepsWithFindings();
    bool SettleRecordEdits();
    QWidget* BuildSellerTab(QWidget* parent);
    QWidget* BuildSignupTab(QWidget* parent);
    QWidget* BuildVisitorsTab(QWidget* parent);
    QWidget* BuildHeadlineTabs(QWidget* page, HtmlEditor* main);
    FormattingToolbar* MakeToolbar(int tag, QWidget* page);
    void BuildSubsystems();
    void ConnectActions();
    void CentreBanner();
    void StretchEditorsToPages();
    void Browse(FileDialog& dialog, QLineEdit* target);
    // Back and Next as the page shown allows.
    void ShowNavigation();

    // Runs one start-up step; a failure in it is reported as an error and start-up goes on,
    // since the later steps (font lists, record lists, catalogue, timer) must still run.
    void RunStartUpStep(const std::function<void()>& step);
    // Lists the typeface families (each once) into the five toolbar font choosers and selects
    // "Times New Roman" in each when it is among them (sending the font to each area).
    void FillFontChoosers(const QStringList& families);

    // Step 8 beyond the letter itself: publishing, the check and the preview.
    void btnPublishClick();
    void RefreshLetterCheck();
    void btnPreviewClick();
    void lstLetterCheckActivated(LetterField field);
    // The copies to and from other files; config.dat stays the working file.
    void SaveCopyAsClick();
    void LoadFromFileClick();

    // Keeping the user's work: the question before closing over unsaved work (not when the
    // updater takes over); once the window has been shown and every area is ready,
    // autosaving starts and an autosave.dat left behind is offered back.
    void FormCloseQuery(bool& CanClose);
    void CloseForUpdate();
    void ScheduleKeepingWork();
    void StartKeepingWork();

    // The record lists (one encoded Windows-1252 record per item).
    std::vector<std::string> FFeatures;
    std::vector<std::string> FTestimonials;
    // What the branding chose (affiliate, banner and links, icon); the branding room's own.
    BrandingValues branding_;

    // Non-visual parts.
    ColorDialog ColorDialog1;
    FileDialog bsSkinOpenPictureDialog1;
    FileDialog bsSkinSaveDialog1;
    FileDialog policyDialog_;
    QTimer* Timer1 = nullptr;

    // The controls the handlers work on.
    QLabel* imgBanner = nullptr;
    QLabel* gifBanner = nullptr;
    QWidget* panBanner = nullptr;
    QStackedWidget* pgcMain = nullptr;
    QPushButton* btnBack = nullptr;
    QPushButton* btnNext = nullptr;
    FadingNote* lblSaveNote = nullptr;
    LinkLabel* lblLink1URL = nullptr;
    LinkLabel* lblLink2URL = nullptr;
    QLineEdit* edtHeaderPicture = nullptr;
    QLineEdit* edtCoverPicture = nullptr;
    QLineEdit* edtFooterPicture = nullptr;
    QLineEdit* edtOrderHeading = nullptr;
    QListWidget* lstSteps = nullptr;
    // The five passages' areas, then the three headlines tested against the main one.
    static constexpr std::size_t kPassageAreas = 5;
    static constexpr std::size_t kHeadlineVariants = 3;
    static constexpr std::array<int, kHeadlineVariants> kHeadlineToolbarTags{12, 13, 14};
    std::array<HtmlEditor*, kPassageAreas + kHeadlineVariants> editors_{};
    std::array<FormattingToolbar*, kPassageAreas + kHeadlineVariants> toolbars_{};
    std::unique_ptr<FinishStep> finish_;
    LetterPreviewWindow* preview_ = nullptr; // owned as a child window, made on first use

    QString programFolder_;
    QString updateFolderAddress_;
    std::unique_ptr<MessageService> ownMessages_;
    MessageService* msgMain_ = nullptr;
    DialogService* dialogs_ = nullptr;
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
