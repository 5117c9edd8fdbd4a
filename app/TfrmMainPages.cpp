// The eight wizard pages of the main window: every field of the letter configuration and the
// working inputs, with their labels and names. The record steps and step 8 are built by their
// subsystems; the initial values come from the tag table.
#include "app/TfrmMain.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "generation/FinishStep.h"
#include "generation/SellingBlocks.h"
#include "generation/SignupForm.h"
#include "generation/VisitorTracking.h"
#include "lists/RecordStep.h"
#include "utils/TextHelpers.h"
#include "widgets/ColorChooser.h"
#include "widgets/DeadlineEdit.h"
#include "widgets/FormBuilder.h"
#include "widgets/QtText.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>

namespace scribvane {

namespace {

// The five editing areas, in the order of their pages and of the stored configuration.
struct PassageArea {
    const char* page;    // the page it opens, or null when it follows the one before
    const char* title;   // that page's heading
    const char* passage; // its accessible name
    const char* prompt;  // the text above its toolbar
    int tag;             // its toolbar's Tag, which names it: prfEditor1, bsSkinToolBar1
    int height;          // a fixed height, or 0 to take the rest of the page
};
constexpr PassageArea kPassages[] = {
    {"bsSkinTabSheet2", "Step 2: Page Contents", "Main headline",
     "Enter the Main Headline. This should capture your reader's attention", 1, 77},
    {nullptr, nullptr, "Introduction paragraph", "Enter the Introduction Paragraph. ", 2, 0},
    {"bsSkinTabSheet3", "Step 3: Aditional Page Contents", "Product introduction",
     "Enter the Product Introduction.", 3, 0},
    {"bsSkinTabSheet10", "Step 6: Ending Page Contents", "Closing statement",
     "Enter the Closing Statement.", 10, 116},
    {nullptr, nullptr, "P.S.", "Your bottom statement. This acts liks a P.S.", 11, 0},
};

QString Text(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

void TfrmMain::BuildPages() {
    QWidget* general = BuildPage1();
    QWidget* contents = BuildPassagePage(0, 2);
    QWidget* product = BuildPassagePage(2, 1);
    RecordStep features = BuildRecordStep(RecordKind::Feature, FFeatures, msgMain());
    RecordStep testimonials = BuildRecordStep(RecordKind::Testimonial, FTestimonials, msgMain());
    QWidget* ending = BuildPassagePage(3, 2);
    QWidget* order = BuildPage7();
    finish_ = std::make_unique<FinishStep>(BuildFinishStep());
    const char* pictureFields[] = {"edtHeaderPicture", "edtCoverPicture", "edtFooterPicture"};
    for (std::size_t i = 0; i < std::size(pictureFields); ++i) {
        const QString field = Text(pictureFields[i]);
        finish_->letter.pictureThumbnails[i] =
            general->findChild<QLabel*>(field + QStringLiteral("Thumbnail"));
        finish_->letter.pictureNotes[i] =
            general->findChild<QLabel*>(field + QStringLiteral("Weight"));
    }
    for (QWidget* page : {general, contents, product, features.page, testimonials.page, ending,
                          order, finish_->page}) {
        pgcMain->addWidget(page);
    }
    // The headline tabs: the bar, then each headline's choosers and area, then the
    // sub-headline; the areas of the tabs not shown are passed over.
    if (auto* headlines = contents->findChild<QTabWidget*>(QStringLiteral("tabHeadlines"))) {
        QWidget* previous = headlines->tabBar();
        for (const std::size_t index :
             {std::size_t{0}, kPassageAreas, kPassageAreas + 1, kPassageAreas + 2}) {
            QWidget::setTabOrder(previous, toolbars_[index]->fontNameChooser());
            QWidget::setTabOrder(toolbars_[index]->fontNameChooser(),
                                 toolbars_[index]->fontSizeChooser());
            QWidget::setTabOrder(toolbars_[index]->fontSizeChooser(), editors_[index]);
            previous = editors_[index];
        }
        QWidget::setTabOrder(previous,
                             contents->findChild<QLineEdit*>(QStringLiteral("edtAttention")));
    }
    features_ = std::move(features.records);
    testimonials_ = std::move(testimonials.records);
    // The keyboard reaches each area after its toolbar's choosers, as they stand above it.
    for (std::size_t index = 0; index < editors_.size(); ++index) {
        QWidget::setTabOrder(toolbars_[index]->fontSizeChooser(), editors_[index]);
        // Ctrl+K makes a link, as in the word processors users know.
        FormattingToolbar* toolbar = toolbars_[index];
        new QShortcut(
            QKeySequence(Qt::CTRL | Qt::Key_K), editors_[index],
            [toolbar] { toolbar->LinkClick(); }, Qt::WidgetWithChildrenShortcut);
    }
}

FormattingToolbar* TfrmMain::MakeToolbar(int tag, QWidget* page) {
    auto* toolbar = new FormattingToolbar(
        tag, [this](int editorTag) { return EditorForTag(editorTag); }, ColorDialog1, *dialogs_,
        page);
    if (toolbar->objectName().isEmpty()) {
        toolbar->setObjectName(QStringLiteral("bsSkinToolBar%1").arg(tag));
    }
    return toolbar;
}

QWidget* TfrmMain::BuildPage1() {
    QWidget* page = MakePage(QStringLiteral("bsSkinTabSheet1"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 1: General settings"));
    QGridLayout* grid = MakeGrid();

    // The page's identity, then what search engines and shared links show and the language
    // browsers read it in.
    int row = 0;
    QLineEdit* previous = nullptr;
    for (const auto& [name, label, hint] :
         {std::tuple{"edtPageTitle", "Page Title:", ""},
          {"edtFullName", "Your Full Name:", ""},
          {"edtCurrentDate", "Current Date:", ""},
          {"edtPageDescription", "Page description:", "Empty: the sub-headline describes the page"},
          {"edtLanguage", "Letter language:", "For example en, de or pl"}}) {
        previous = MakeEdit(Text(name), page);
        previous->setPlaceholderText(Text(hint));
        AddRow(grid, row++, page, Text(label), previous, 2);
    }
    for (const char* narrow : {"edtCurrentDate", "edtLanguage"}) {
        page->findChild<QLineEdit*>(Text(narrow))->setMaximumWidth(220);
    }

    QLabel* note = MakeLabel(
        QStringLiteral("You can type a image url or browse for an image stored in your PC. In "
                       "the last case, the image will be copied to the same folder of your "
                       "output html file."),
        page);
    note->setWordWrap(true);
    note->setProperty("note", true);
    grid->addWidget(note, row++, 0, 1, 3);

    // Each picture's field is followed by its own Browse button and its description, as the
    // eye reads the rows; the buttons are told apart by the field they fill.
    const struct {
        const char* label;
        const char* name;
        const char* button;
        QLineEdit*& edit;
        void (TfrmMain::*browse)();
    } pictures[] = {{"Header Picture:", "edtHeaderPicture", "bsSkinButton1", edtHeaderPicture,
                     &TfrmMain::bsSkinButton1Click},
                    {"Cover Picture:", "edtCoverPicture", "bsSkinButton2", edtCoverPicture,
                     &TfrmMain::bsSkinButton2Click},
                    {"Footer Picture:", "edtFooterPicture", "bsSkinButton4", edtFooterPicture,
                     &TfrmMain::bsSkinButton4Click}};
    for (const auto& picture : pictures) {
        const QString label = Text(picture.label).chopped(1);
        picture.edit = MakeEdit(Text(picture.name), page);
        QPushButton* button = MakeButton(Text(picture.button), QStringLiteral("Browse"), page);
        button->setAccessibleDescription(label);
        connect(button, &QPushButton::clicked, this, picture.browse);
        QLineEdit* description = MakeEdit(Text(picture.name) + QStringLiteral("Description"), page);
        description->setPlaceholderText(
            QStringLiteral("Describe the picture for people who cannot see it"));
        description->setAccessibleName(label + QStringLiteral(" description"));
        AddRow(grid, row, page, Text(picture.label), picture.edit);
        grid->addWidget(button, row, 2);
        grid->addWidget(description, row + 1, 1);
        // What a visitor loads of the picture, beside a thumbnail of it; the letter page
        // fills both once the picture is known.
        auto* thumbnail = new QLabel(page);
        thumbnail->setObjectName(Text(picture.name) + QStringLiteral("Thumbnail"));
        thumbnail->setFixedSize(64, 48);
        thumbnail->setAlignment(Qt::AlignCenter);
        thumbnail->hide();
        auto* weight = new QLabel(page);
        weight->setObjectName(Text(picture.name) + QStringLiteral("Weight"));
        weight->setProperty("note", true);
        weight->setWordWrap(true);
        weight->hide();
        grid->addWidget(weight, row + 2, 1);
        grid->addWidget(thumbnail, row + 1, 2, 2, 1, Qt::AlignLeft | Qt::AlignTop);
        row += 3;
        QWidget::setTabOrder(previous, picture.edit);
        QWidget::setTabOrder(picture.edit, button);
        QWidget::setTabOrder(button, description);
        previous = description;
    }

    ColorChooser* background = MakeColor(QStringLiteral("cbxMainBgColor"), page);
    background->setMinimumWidth(200);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(background);
    colorRow->addStretch(1);
    QLabel* colorLabel = MakeLabel(QStringLiteral("Background Color:"), page);
    Bind(colorLabel, background);
    grid->addWidget(colorLabel, row, 0);
    grid->addLayout(colorRow, row, 1, 1, 2);

    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildPassagePage(int first, int count) {
    const PassageArea& opening = kPassages[first];
    QWidget* page = MakePage(Text(opening.page));
    QVBoxLayout* layout = PageLayout(page, Text(opening.title));
    for (int index = first; index < first + count; ++index) {
        const PassageArea& passage = kPassages[index];
        if (index != first) {
            layout->addSpacing(4);
        }
        auto* editor = new HtmlEditor(page);
        editor->setObjectName(QStringLiteral("prfEditor%1").arg(passage.tag));
        editor->setAccessibleName(Text(passage.passage));
        // A thin framed margin so the skin can draw the area's border around the document.
        editor->setAttribute(Qt::WA_StyledBackground, true);
        if (QLayout* inner = editor->layout()) {
            inner->setContentsMargins(1, 1, 1, 1);
        }
        AddAbove(layout, page, Text(passage.prompt), nullptr);
        toolbars_[index] = MakeToolbar(passage.tag, page);
        if (passage.height > 0) {
            editor->setFixedHeight(passage.height);
        }
        editors_[index] = editor;
        if (passage.tag == 1) {
            layout->addWidget(BuildHeadlineTabs(page, editor));
        } else {
            layout->addWidget(toolbars_[index]);
            layout->addWidget(editor, passage.height > 0 ? 0 : 1);
        }
        // The sub-headline sits between the main headline and the introduction.
        if (passage.tag == 1) {
            QLineEdit* attention = MakeEdit(QStringLiteral("edtAttention"), page);
            layout->addSpacing(4);
            AddAbove(layout, page,
                     QStringLiteral("Enter the Sub Headline. This is to reinforce the main "
                                    "headline."),
                     attention);
        }
    }
    // The product introduction is stretched to the page bottom once at start-up, then of
    // fixed height; the spacer takes what a larger window adds.
    if (first == 2) {
        layout->addStretch(0);
    }
    return page;
}

QWidget* TfrmMain::BuildPage7() {
    QWidget* sheet = MakePage(QStringLiteral("bsSkinTabSheet11"));
    QVBoxLayout* sheetLayout = PageLayout(sheet, QStringLiteral("Step 7: Order Link Options"));
    // The order options, and beside them who sells and what the rules of selling ask the page
    // to say: the check leads to either tab.
    auto* tabs = new QTabWidget(sheet);
    tabs->setObjectName(QStringLiteral("tabOrder"));
    tabs->setDocumentMode(true);
    sheetLayout->addWidget(tabs, 1);
    auto* page = new QWidget(tabs);
    page->setObjectName(QStringLiteral("tabOrderOptions"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(2);
    tabs->addTab(page, QStringLiteral("Order options"));
    tabs->addTab(BuildSellerTab(tabs), QStringLiteral("Seller and rules"));
    tabs->addTab(BuildSignupTab(tabs), QStringLiteral("Sign-up form"));
    tabs->addTab(BuildVisitorsTab(tabs), QStringLiteral("Visitors"));

    QLineEdit* directLink = MakeEdit(QStringLiteral("edtDirectLink"), page);
    AddAbove(layout, page, QStringLiteral("Enter the Direct Link to your Order Product Page."),
             directLink);

    layout->addSpacing(6);
    QLabel* clickBank =
        MakeLabel(QStringLiteral("If you use Clickbank enter the account data here."), page);
    clickBank->setProperty("heading", true);
    layout->addWidget(clickBank);
    QGridLayout* grid = MakeGrid();
    int row = 0;
    for (const auto& [name, label, width] : {std::tuple{"edtClickBankName", "Clickbank Name:", 260},
                                             {"edtProductName", "Product Name:", 260},
                                             {"edtDescription", "Description:", 0}}) {
        QLineEdit* edit = MakeEdit(Text(name), page);
        if (width > 0) {
            edit->setMaximumWidth(width);
        }
        AddRow(grid, row++, page, Text(label), edit);
    }
    layout->addLayout(grid);

    layout->addSpacing(6);
    QPlainTextEdit* paypalCode = MakeMemo(QStringLiteral("memPaypalCode"), page);
    paypalCode->setFixedHeight(48);
    AddAbove(layout, page,
             QStringLiteral("If you use Paypal, create the product button in your Paypal account "
                            "and paste this code here."),
             paypalCode);

    layout->addSpacing(6);
    QLineEdit* paypalEmail = MakeEdit(QStringLiteral("edtPaypalEmail"), page);
    paypalEmail->setMaximumWidth(320);
    QLabel* emailLabel = MakeLabel(QStringLiteral("Enter your Affiliate ID (Paypal Email):"), page);
    Bind(emailLabel, paypalEmail);
    layout->addWidget(emailLabel);
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(paypalEmail, 1);
    QLabel* optional = MakeLabel(QStringLiteral("Optional"), page);
    optional->setProperty("note", true);
    emailRow->addWidget(optional);
    emailRow->addStretch(1);
    layout->addLayout(emailRow);

    // The words of the order section, two to a row in the order the reader meets them; each
    // left empty shows, and keeps, the words the letter has always had. Kept tight, so the
    // page fits the window's first size.
    auto* copy = new QGroupBox(QStringLiteral("Order copy"), page);
    copy->setObjectName(QStringLiteral("grpOrderCopy"));
    auto* words = new QGridLayout(copy);
    words->setContentsMargins(10, 2, 10, 6);
    words->setHorizontalSpacing(10);
    words->setVerticalSpacing(4);
    words->setColumnStretch(1, 1);
    words->setColumnStretch(3, 1);
    int place = 0;
    for (const auto& [name, label, hint] :
         {std::tuple{"edtOrderHeading", "Heading:", ""}, // the template's, once one is chosen
          {"edtPriceLine", "Price line:", "Empty: no price line"},
          {"edtOrderLine", "Line above:", "Check The Order Form!"},
          {"edtOrderClosing", "Line below:", "Don't miss this offer!"},
          {"edtDirectButton", "Order button:", "Click Here To Order Now!"},
          {"edtClickBankButton", "ClickBank button:", "Click Here To Pay With ClickBank!"}}) {
        QLineEdit* edit = MakeEdit(Text(name), copy);
        edit->setPlaceholderText(Text(hint));
        QLabel* caption = MakeLabel(Text(label), copy);
        Bind(caption, edit);
        words->addWidget(caption, place / 2, place % 2 * 2);
        words->addWidget(edit, place / 2, place % 2 * 2 + 1);
        ++place;
    }
    edtOrderHeading = copy->findChild<QLineEdit*>(QStringLiteral("edtOrderHeading"));
    // The ClickBank option has always had a line of its own above its button.
    copy->findChild<QLineEdit*>(QStringLiteral("edtOrderLine"))
        ->setToolTip(QStringLiteral("Empty: \"Check The Order Form!\" above the order button and "
                                    "\"Order Using ClickBank!\" above the ClickBank button"));
    layout->addWidget(copy);

    // The order link style: kept and saved like every field, but not offered to the user.
    QLabel* format = MakeLabel(QStringLiteral("Enter the format for your Order Link."), page);
    format->hide();
    layout->addWidget(format);
    QGridLayout* style = MakeGrid();
    AddStyleRows(QStringLiteral("O"), page, style, 0, true);
    layout->addLayout(style);
    layout->addStretch(1);
    return sheet;
}

namespace {

// A tab of step 7: its words on top, wrapped to the width, then what the caller adds.
QVBoxLayout* TabLayout(QWidget* page, const QString& intro) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 6, 0, 0);
    QLabel* words = MakeLabel(intro, page);
    words->setWordWrap(true);
    layout->addWidget(words);
    return layout;
}

} // namespace

QWidget* TfrmMain::BuildSignupTab(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tabSignup"));
    QVBoxLayout* layout = TabLayout(
        page,
        QStringLiteral("A form under the order section collects the e-mail addresses of visitors "
                       "who do not buy yet, for your mailing-list provider. Paste the address of "
                       "your form from Mailchimp, Kit, MailerLite, Brevo or Formspree, any other "
                       "form address, or a page of your own site for Netlify Forms. It works "
                       "without script."));
    QGridLayout* grid = MakeGrid();
    QLineEdit* address = MakeEdit(QStringLiteral("edtSignupAddress"), page);
    address->setPlaceholderText(QStringLiteral("https://formspree.io/f/abcdwxyz"));
    AddRow(grid, 0, page, QStringLiteral("Form address:"), address);
    QLabel* provider = MakeLabel(QString(), page);
    provider->setObjectName(QStringLiteral("lblSignupProvider"));
    provider->setProperty("note", true);
    grid->addWidget(provider, 1, 1);
    QLineEdit* consent = MakeEdit(QStringLiteral("edtSignupConsent"), page);
    consent->setPlaceholderText(
        QStringLiteral("Empty: no check box. \"Yes, send me the garden newsletter.\""));
    AddRow(grid, 2, page, QStringLiteral("Consent wording:"), consent);
    layout->addLayout(grid);
    layout->addStretch(1);
    // Which provider the address names, and so which fields the form sends.
    connect(address, &QLineEdit::textChanged, provider, [provider](const QString& text) {
        const std::string typed = AnsiOf(text);
        provider->setText(
            TrimBlanks(typed).empty()
                ? QString()
                : QStringLiteral("Sends to %1.").arg(QStringOfAnsi(SignupProviderOf(typed).name)));
    });
    return page;
}

// The main headline and the headlines tested against it, one tab each; a visitor who agrees
// to be remembered is shown one of those filled in, the others the main one.
QWidget* TfrmMain::BuildHeadlineTabs(QWidget* page, HtmlEditor* main) {
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("tabHeadlines"));
    tabs->setDocumentMode(true);
    const auto addTab = [tabs](FormattingToolbar* toolbar, HtmlEditor* editor, const QString& title,
                               const QString& tip) {
        auto* sheet = new QWidget(tabs);
        auto* sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 2, 0, 0);
        sheetLayout->setSpacing(2);
        toolbar->setParent(sheet);
        editor->setParent(sheet);
        sheetLayout->addWidget(toolbar);
        sheetLayout->addWidget(editor);
        tabs->setTabToolTip(tabs->addTab(sheet, title), tip);
    };
    addTab(toolbars_[0], main, QStringLiteral("Main headline"),
           QStringLiteral("Every visitor sees it without script, and every visitor who has not "
                          "agreed to be remembered."));
    for (std::size_t i = 0; i < kHeadlineVariants; ++i) {
        const int entry = static_cast<int>(i) + 2; // Headline2 to Headline4
        const QString letter = QChar(u'B' + static_cast<char16_t>(i));
        auto* editor = new HtmlEditor(tabs);
        editor->setObjectName(QStringLiteral("prfHeadline%1").arg(entry));
        editor->setAccessibleName(QStringLiteral("Headline ") + letter);
        editor->setAttribute(Qt::WA_StyledBackground, true);
        if (QLayout* inner = editor->layout()) {
            inner->setContentsMargins(1, 1, 1, 1);
        }
        editor->setFixedHeight(main->maximumHeight());
        editors_[kPassageAreas + i] = editor;
        toolbars_[kPassageAreas + i] = MakeToolbar(kHeadlineToolbarTags[i], tabs);
        addTab(toolbars_[kPassageAreas + i], editor, QStringLiteral("Headline ") + letter,
               QStringLiteral("Tested against the main headline: a visitor who agrees to be "
                              "remembered gets one of the headlines at random, and the order "
                              "links name it. Empty: not tested."));
    }
    return tabs;
}

QWidget* TfrmMain::BuildVisitorsTab(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tabVisitors"));
    QVBoxLayout* layout = TabLayout(
        page, QStringLiteral("Count your visitors. Plausible, GoatCounter and Matomo count "
                             "without cookies from the first visit; Google Analytics and the "
                             "Meta pixel load only after a visitor accepts the page's consent "
                             "notice. Empty: not used."));
    QGridLayout* grid = MakeGrid();
    int row = 0;
    // Each value is judged as it is typed; a problem is said in a note under it, shown only
    // while there is one.
    const auto addNote = [&](const QString& field) {
        QLabel* note = MakeLabel(QString(), page);
        note->setObjectName(field + QStringLiteral("Note"));
        note->setProperty("note", true);
        note->setWordWrap(true);
        note->hide();
        grid->addWidget(note, row++, 1);
        return [note](const std::optional<std::string>& problem) {
            note->setText(problem ? QStringOfAnsi(*problem) : QString());
            note->setVisible(problem.has_value());
        };
    };
    // An id the page cannot carry is left out of the letter.
    const auto addId = [&](const char* name, const char* label, const char* hint, OptionalTag tag) {
        QLineEdit* edit = MakeEdit(Text(name), page);
        edit->setPlaceholderText(Text(hint));
        AddRow(grid, row++, page, Text(label), edit);
        connect(edit, &QLineEdit::textChanged, this,
                [say = addNote(Text(name)), tag](const QString& text) {
                    say(TrackingIdProblem(tag, AnsiOf(text)));
                });
    };
    addId("edtPlausible", "Plausible domain:", "example.com", OptionalTag::Plausible);
    addId("edtGoatCounter", "GoatCounter code:", "The CODE of CODE.goatcounter.com",
          OptionalTag::GoatCounter);
    addId("edtMatomoAddress", "Matomo address:", "https://stats.example.com/",
          OptionalTag::MatomoAddress);
    addId("edtMatomoSite", "Matomo site number:", "1", OptionalTag::MatomoSite);
    addId("edtGoogleAnalytics", "Google Analytics id:", "G-A1B2C3D4E5",
          OptionalTag::GoogleAnalytics);
    addId("edtMetaPixel", "Meta pixel id:", "123456789012345", OptionalTag::MetaPixel);

    auto* code = new QPlainTextEdit(page);
    code->setObjectName(QStringLiteral("memHeadCode"));
    code->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    code->setPlaceholderText(
        QStringLiteral("Your own code for the page's head, put in as you type it. It runs for "
                       "every visitor, before any consent"));
    code->setFixedHeight(64);
    code->setTabChangesFocus(true);
    AddRow(grid, row++, page, QStringLiteral("Head code:"), code);
    connect(code, &QPlainTextEdit::textChanged, this, [say = addNote(code->objectName()), code] {
        say(HeadCodeProblem(AnsiOf(code->toPlainText())));
    });
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildSellerTab(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tabSellerRules"));
    QVBoxLayout* layout = TabLayout(
        page,
        QStringLiteral("Who sells, and what payment networks and the law ask the page to say. A "
                       "letter that names its seller gets a privacy policy and terms of sale "
                       "beside it, linked from its small print."));
    QGridLayout* grid = MakeGrid();
    int row = 0;
    for (const auto& [name, label, hint] :
         {std::tuple{"edtSellerName", "Business name:", "As on your invoices"},
          {"edtSellerAddress", "Postal address:", "Street, town, postcode, country"},
          {"edtSellerEmail", "Contact e-mail:", "help@example.com"},
          {"edtDisclaimer", "Disclaimer:", "An earnings or health disclaimer, if you need one"}}) {
        QLineEdit* edit = MakeEdit(Text(name), page);
        edit->setPlaceholderText(Text(hint));
        AddRow(grid, row++, page, Text(label), edit, 2);
    }
    // The results statement is offered with a wording the user edits; until then the hint
    // shows it.
    QLineEdit* results = MakeEdit(QStringLiteral("edtResultsStatement"), page);
    const QString wording = QStringOfAnsi(WordsFor("en").typicalResults);
    results->setPlaceholderText(wording);
    results->setToolTip(QStringLiteral("Shown under the testimonials: what results are typical."));
    QPushButton* suggest =
        MakeButton(QStringLiteral("btnResultsWording"), QStringLiteral("Suggest"), page);
    suggest->setToolTip(QStringLiteral("Fill in the usual wording, to edit"));
    connect(suggest, &QPushButton::clicked, this, [results, wording] {
        results->setText(wording);
        results->setFocus();
    });
    AddRow(grid, row, page, QStringLiteral("Typical results:"), results);
    grid->addWidget(suggest, row++, 2);

    auto* deadline = new DeadlineEdit(page);
    deadline->setObjectName(QStringLiteral("dteOfferEnds"));
    AddRow(grid, row++, page, QStringLiteral("Offer deadline:"), deadline, 2);

    for (const auto& [name, button, label, hint] :
         {std::tuple{"edtPrivacyPage", "btnPrivacyPage",
                     "Privacy policy:", "Empty: the shipped privacy policy with your details"},
          {"edtTermsPage", "btnTermsPage",
           "Terms of sale:", "Empty: the shipped terms with your details"}}) {
        QLineEdit* edit = MakeEdit(Text(name), page);
        edit->setPlaceholderText(Text(hint));
        QPushButton* browse = MakeButton(Text(button), QStringLiteral("Browse"), page);
        browse->setAccessibleName(QStringLiteral("Browse for the ") +
                                  Text(label).chopped(1).toLower());
        connect(browse, &QPushButton::clicked, this, [this, edit] { Browse(policyDialog_, edit); });
        AddRow(grid, row, page, Text(label), edit);
        grid->addWidget(browse, row++, 2);
    }
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

} // namespace scribvane
