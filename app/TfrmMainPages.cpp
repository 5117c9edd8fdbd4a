// The eight wizard pages of the main window: every field of the letter configuration and the
// working inputs, with their labels and names. The initial values come from the tag table.
#include "app/TfrmMain.h"
#include "editing/FormattingToolbar.h"
#include "editing/HtmlEditor.h"
#include "generation/TemplateGallery.h"
#include "lists/RecordPage.h"
#include "widgets/ColorChooser.h"
#include "widgets/FontNameChooser.h"
#include "widgets/SizeSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <limits>
#include <tuple>

namespace scribvane {

namespace {

constexpr int kEditorBottomGap = 10;
// The hidden controls of step 8 sit right of the page's initial width of 783 pixels.
constexpr int kTemplateLabelLeft = 732;
constexpr int kTemplateChooserLeft = 791;
constexpr int kPreviewLeft = 1008;
constexpr int kPreviewTop = 70;
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 290;

QWidget* MakePage(const QString& name) {
    auto* page = new QWidget;
    page->setObjectName(name);
    page->setProperty("wizardPage", true);
    page->setAttribute(Qt::WA_StyledBackground, true);
    return page;
}

QVBoxLayout* PageLayout(QWidget* page, const QString& title) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(14, 10, 14, kEditorBottomGap);
    layout->setSpacing(6);
    auto* heading = new QLabel(title, page);
    heading->setProperty("pageTitle", true);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addSpacing(4);
    return layout;
}

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Assistive technology finds a control by its label: the label is its buddy, and its
// accessible name is the label's text without the colon.
void Bind(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    control->setAccessibleName(name);
}

QLineEdit* MakeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Any length, like the other fields: the default limit would cut a loaded value and lose
    // the rest at the next save.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

QPlainTextEdit* MakeMemo(const QString& name, QWidget* parent, bool readOnly = false) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setReadOnly(readOnly);
    memo->setTabChangesFocus(true);
    return memo;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QCheckBox* MakeCheck(const QString& name, const QString& caption, QWidget* parent) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    return check;
}

ColorChooser* MakeColor(const QString& name, QWidget* parent) {
    auto* chooser = new ColorChooser(parent);
    chooser->setObjectName(name);
    return chooser;
}

// A label above its control, filling the width.
void AddAbove(QVBoxLayout* layout, QWidget* page, const QString& text, QWidget* control) {
    QLabel* label = MakeLabel(text, page);
    label->setWordWrap(true);
    layout->addWidget(label);
    if (control != nullptr) {
        Bind(label, control);
        layout->addWidget(control);
    }
}

// A label left of its control in a two-column grid.
QLabel* AddRow(QGridLayout* grid, int row, QWidget* page, const QString& text, QWidget* control,
               int columnSpan = 1) {
    QLabel* label = MakeLabel(text, page);
    Bind(label, control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1, 1, columnSpan);
    return label;
}

QGridLayout* MakeGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    return grid;
}

// "Update", "Move Up" and "Move Down" of a record page, after its Create and Delete; `page`
// is asked for at each click, as the record pages are made after the controls.
void AddRecordEditButtons(QHBoxLayout* actions, QWidget* parent, const QString& shortName,
                          const QString& kindName, const std::function<RecordPage&()>& page) {
    auto* update = new QPushButton(QStringLiteral("Update ") + kindName, parent);
    update->setObjectName(QStringLiteral("btnUpdate") + shortName);
    QObject::connect(update, &QPushButton::clicked, parent,
                     [page] { page().UpdateSelectedRecord(); });
    actions->addWidget(update);
    for (const auto& [name, caption, step] :
         {std::tuple{QStringLiteral("Up"), QStringLiteral("Move Up"), -1},
          std::tuple{QStringLiteral("Down"), QStringLiteral("Move Down"), 1}}) {
        auto* move = new QPushButton(caption, parent);
        move->setObjectName(QStringLiteral("btnMove") + shortName + name);
        QObject::connect(move, &QPushButton::clicked, parent,
                         [page, step = step] { page().MoveSelectedRecord(step); });
        actions->addWidget(move);
    }
}

} // namespace

// The style fields of the features, the testimonials or the order link.
struct TfrmMain::StyleBlock {
    QString letter; // "F", "T" or "O"
    ColorChooser*& background;
    ColorChooser*& fore;
    FontNameChooser*& name;
    SizeSpinEdit*& size;
    QCheckBox*& bold;
    QCheckBox*& underline;
    QCheckBox*& italic;
};

void TfrmMain::BuildStyleBlock(const StyleBlock& block, QWidget* page, QGridLayout* grid, int row,
                               bool hidden) {
    const QString& x = block.letter;
    block.background = MakeColor(QStringLiteral("cbx%1BgColor").arg(x), page);
    block.fore = MakeColor(QStringLiteral("cbx%1Color").arg(x), page);
    block.name = new FontNameChooser(page);
    block.name->setObjectName(QStringLiteral("cbx%1Name").arg(x));
    block.name->SetFontNames(InstalledTypefaceFamilies());
    block.size = new SizeSpinEdit(page);
    block.size->setObjectName(QStringLiteral("cbx%1Size").arg(x));
    block.bold = MakeCheck(QStringLiteral("chk%1Bold").arg(x), QStringLiteral("Bold"), page);
    block.underline =
        MakeCheck(QStringLiteral("chk%1Underline").arg(x), QStringLiteral("Underline"), page);
    block.italic = MakeCheck(QStringLiteral("chk%1Italic").arg(x), QStringLiteral("Italic"), page);

    QList<QWidget*> parts;
    parts << AddRow(grid, row, page, QStringLiteral("Background Color:"), block.background)
          << block.background;
    parts << AddRow(grid, row + 1, page, QStringLiteral("Fore Color:"), block.fore) << block.fore;
    parts << AddRow(grid, row + 2, page, QStringLiteral("Font Name:"), block.name) << block.name;
    parts << AddRow(grid, row + 3, page, QStringLiteral("Font Size:"), block.size) << block.size;
    block.size->setMaximumWidth(110);

    QLabel* styleLabel = MakeLabel(QStringLiteral("Font Style:"), page);
    grid->addWidget(styleLabel, row + 4, 0);
    auto* checks = new QHBoxLayout;
    checks->setSpacing(14);
    checks->addWidget(block.bold);
    checks->addWidget(block.underline);
    checks->addWidget(block.italic);
    checks->addStretch(1);
    grid->addLayout(checks, row + 4, 1);
    parts << styleLabel << block.bold << block.underline << block.italic;

    if (hidden) {
        for (QWidget* part : parts) {
            part->hide();
        }
    }
}

FormattingToolbar* TfrmMain::MakeToolbar(int tag, QWidget* page) {
    auto* toolbar = new FormattingToolbar(
        tag, [this](int editorTag) { return EditorForTag(editorTag); }, ColorDialog1, page);
    if (toolbar->objectName().isEmpty()) {
        toolbar->setObjectName(QStringLiteral("bsSkinToolBar%1").arg(tag));
    }
    return toolbar;
}

HtmlEditor* TfrmMain::MakeEditor(const QString& name, const QString& passage, QWidget* page) {
    auto* editor = new HtmlEditor(page);
    editor->setObjectName(name);
    editor->setAccessibleName(passage);
    // A thin framed margin so the skin can draw the area's border around the document.
    editor->setAttribute(Qt::WA_StyledBackground, true);
    if (QLayout* inner = editor->layout()) {
        inner->setContentsMargins(1, 1, 1, 1);
    }
    return editor;
}

QWidget* TfrmMain::BuildPage1() {
    QWidget* page = bsSkinTabSheet1 = MakePage(QStringLiteral("bsSkinTabSheet1"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 1: General settings"));
    QGridLayout* grid = MakeGrid();

    edtPageTitle = MakeEdit(QStringLiteral("edtPageTitle"), page);
    edtFullName = MakeEdit(QStringLiteral("edtFullName"), page);
    edtCurrentDate = MakeEdit(QStringLiteral("edtCurrentDate"), page);
    edtCurrentDate->setMaximumWidth(220);
    AddRow(grid, 0, page, QStringLiteral("Page Title:"), edtPageTitle, 2);
    AddRow(grid, 1, page, QStringLiteral("Your Full Name:"), edtFullName, 2);
    AddRow(grid, 2, page, QStringLiteral("Current Date:"), edtCurrentDate, 2);

    // What search engines and shared links show, and the language browsers read it in.
    edtPageDescription = MakeEdit(QStringLiteral("edtPageDescription"), page);
    edtPageDescription->setPlaceholderText(
        QStringLiteral("Empty: the sub-headline describes the page"));
    edtLanguage = MakeEdit(QStringLiteral("edtLanguage"), page);
    edtLanguage->setMaximumWidth(220);
    edtLanguage->setPlaceholderText(QStringLiteral("For example en, de or pl"));
    AddRow(grid, 3, page, QStringLiteral("Page description:"), edtPageDescription, 2);
    AddRow(grid, 4, page, QStringLiteral("Letter language:"), edtLanguage, 2);

    QLabel* note = MakeLabel(
        QStringLiteral("You can type a image url or browse for an image stored in your PC. In "
                       "the last case, the image will be copied to the same folder of your "
                       "output html file."),
        page);
    note->setWordWrap(true);
    note->setProperty("note", true);
    grid->addWidget(note, 5, 0, 1, 3);

    edtHeaderPicture = MakeEdit(QStringLiteral("edtHeaderPicture"), page);
    edtCoverPicture = MakeEdit(QStringLiteral("edtCoverPicture"), page);
    edtFooterPicture = MakeEdit(QStringLiteral("edtFooterPicture"), page);
    edtHeaderPictureDescription = MakeEdit(QStringLiteral("edtHeaderPictureDescription"), page);
    edtCoverPictureDescription = MakeEdit(QStringLiteral("edtCoverPictureDescription"), page);
    edtFooterPictureDescription = MakeEdit(QStringLiteral("edtFooterPictureDescription"), page);
    bsSkinButton1 = MakeButton(QStringLiteral("bsSkinButton1"), QStringLiteral("Browse"), page);
    bsSkinButton2 = MakeButton(QStringLiteral("bsSkinButton2"), QStringLiteral("Browse"), page);
    bsSkinButton4 = MakeButton(QStringLiteral("bsSkinButton4"), QStringLiteral("Browse"), page);
    const struct {
        const char* label;
        QLineEdit* edit;
        QPushButton* button;
        QLineEdit* description;
    } pictures[] = {
        {"Header Picture:", edtHeaderPicture, bsSkinButton1, edtHeaderPictureDescription},
        {"Cover Picture:", edtCoverPicture, bsSkinButton2, edtCoverPictureDescription},
        {"Footer Picture:", edtFooterPicture, bsSkinButton4, edtFooterPictureDescription}};
    int row = 6;
    QWidget::setTabOrder(edtCurrentDate, edtPageDescription);
    QWidget::setTabOrder(edtPageDescription, edtLanguage);
    QWidget* previous = edtLanguage;
    for (const auto& picture : pictures) {
        const QString label = QString::fromLatin1(picture.label);
        AddRow(grid, row, page, label, picture.edit);
        grid->addWidget(picture.button, row, 2);
        // The Browse buttons are told apart by the field they fill.
        picture.button->setAccessibleDescription(label.chopped(1));
        // Each picture's description sits under it, for people who cannot see it.
        picture.description->setPlaceholderText(
            QStringLiteral("Describe the picture for people who cannot see it"));
        grid->addWidget(picture.description, row + 1, 1);
        picture.description->setAccessibleName(label.chopped(1) + QStringLiteral(" description"));
        // Each field is followed by its own button and description, as the eye reads the rows.
        QWidget::setTabOrder(previous, picture.edit);
        QWidget::setTabOrder(picture.edit, picture.button);
        QWidget::setTabOrder(picture.button, picture.description);
        previous = picture.description;
        row += 2;
    }

    cbxMainBgColor = MakeColor(QStringLiteral("cbxMainBgColor"), page);
    cbxMainBgColor->setMinimumWidth(200);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(cbxMainBgColor);
    colorRow->addStretch(1);
    QLabel* colorLabel = MakeLabel(QStringLiteral("Background Color:"), page);
    Bind(colorLabel, cbxMainBgColor);
    grid->addWidget(colorLabel, row, 0);
    grid->addLayout(colorRow, row, 1, 1, 2);

    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildPage2() {
    QWidget* page = bsSkinTabSheet2 = MakePage(QStringLiteral("bsSkinTabSheet2"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 2: Page Contents"));

    prfEditor1 = MakeEditor(QStringLiteral("prfEditor1"), QStringLiteral("Main headline"), page);
    prfEditor1->setFixedHeight(77);
    AddAbove(layout, page,
             QStringLiteral("Enter the Main Headline. This should capture your reader's attention"),
             nullptr);
    toolbars_[0] = MakeToolbar(1, page);
    layout->addWidget(toolbars_[0]);
    layout->addWidget(prfEditor1);

    edtAttention = MakeEdit(QStringLiteral("edtAttention"), page);
    layout->addSpacing(4);
    AddAbove(layout, page,
             QStringLiteral("Enter the Sub Headline. This is to reinforce the main headline."),
             edtAttention);

    prfEditor2 =
        MakeEditor(QStringLiteral("prfEditor2"), QStringLiteral("Introduction paragraph"), page);
    layout->addSpacing(4);
    AddAbove(layout, page, QStringLiteral("Enter the Introduction Paragraph. "), nullptr);
    toolbars_[1] = MakeToolbar(2, page);
    layout->addWidget(toolbars_[1]);
    layout->addWidget(prfEditor2, 1);
    return page;
}

QWidget* TfrmMain::BuildPage3() {
    QWidget* page = bsSkinTabSheet3 = MakePage(QStringLiteral("bsSkinTabSheet3"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 3: Aditional Page Contents"));
    prfEditor3 =
        MakeEditor(QStringLiteral("prfEditor3"), QStringLiteral("Product introduction"), page);
    AddAbove(layout, page, QStringLiteral("Enter the Product Introduction."), nullptr);
    toolbars_[2] = MakeToolbar(3, page);
    layout->addWidget(toolbars_[2]);
    // Stretched to the page bottom once at start-up, then of fixed height; the spacer takes
    // what a larger window adds.
    layout->addWidget(prfEditor3, 1);
    layout->addStretch(0);
    return page;
}

QWidget* TfrmMain::BuildPage4() {
    QWidget* page = bsSkinTabSheet4 = MakePage(QStringLiteral("bsSkinTabSheet4"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 4: Features"));
    auto* columns = new QHBoxLayout;
    columns->setSpacing(18);

    QGridLayout* left = MakeGrid();
    edtFeatureTitle = MakeEdit(QStringLiteral("edtFeatureTitle"), page);
    memFeatureBody = MakeMemo(QStringLiteral("memFeatureBody"), page);
    AddRow(left, 0, page, QStringLiteral("Title:"), edtFeatureTitle);
    QLabel* bodyLabel = AddRow(left, 1, page, QStringLiteral("Body:"), memFeatureBody);
    bodyLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btnCreateFeat =
        MakeButton(QStringLiteral("btnCreateFeat"), QStringLiteral("Create Feature"), page);
    btnDeleteFeat =
        MakeButton(QStringLiteral("btnDeleteFeat"), QStringLiteral("Delete Feature"), page);
    auto* actions = new QHBoxLayout;
    actions->setSpacing(6);
    actions->addWidget(btnCreateFeat);
    actions->addWidget(btnDeleteFeat);
    AddRecordEditButtons(actions, page, QStringLiteral("Feat"), QStringLiteral("Feature"),
                         [this]() -> RecordPage& { return *features_; });
    actions->addStretch(1);
    left->addLayout(actions, 2, 1);
    left->setRowMinimumHeight(3, 8);
    BuildStyleBlock({QStringLiteral("F"), cbxFBgColor, cbxFColor, cbxFName, cbxFSize, chkFBold,
                     chkFUnderline, chkFItalic},
                    page, left, 4, false);
    left->setRowStretch(1, 1);

    auto* right = new QVBoxLayout;
    lbxFeatures = new QListWidget(page);
    lbxFeatures->setObjectName(QStringLiteral("lbxFeatures"));
    memFeatureDetails = MakeMemo(QStringLiteral("memFeatureDetails"), page, true);
    AddAbove(right, page, QStringLiteral("Features:"), lbxFeatures);
    AddAbove(right, page, QStringLiteral("Feature details:"), memFeatureDetails);

    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns, 1);
    return page;
}

QWidget* TfrmMain::BuildPage5() {
    QWidget* page = bsSkinTabSheet6 = MakePage(QStringLiteral("bsSkinTabSheet6"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 5: Testimonials"));
    auto* columns = new QHBoxLayout;
    columns->setSpacing(18);

    QGridLayout* left = MakeGrid();
    edtTestName = MakeEdit(QStringLiteral("edtTestName"), page);
    edtTestWebsite = MakeEdit(QStringLiteral("edtTestWebsite"), page);
    memTest = MakeMemo(QStringLiteral("memTest"), page);
    AddRow(left, 0, page, QStringLiteral("Name:"), edtTestName);
    AddRow(left, 1, page, QStringLiteral(" Website:"), edtTestWebsite);
    QLabel* contentLabel = AddRow(left, 2, page, QStringLiteral("Content:"), memTest);
    contentLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btnCreateTest =
        MakeButton(QStringLiteral("btnCreateTest"), QStringLiteral("Create Testimonial"), page);
    btnDeleteTest =
        MakeButton(QStringLiteral("btnDeleteTest"), QStringLiteral("Delete Testimonial"), page);
    auto* actions = new QHBoxLayout;
    actions->setSpacing(6);
    actions->addWidget(btnCreateTest);
    actions->addWidget(btnDeleteTest);
    AddRecordEditButtons(actions, page, QStringLiteral("Test"), QStringLiteral("Testimonial"),
                         [this]() -> RecordPage& { return *testimonials_; });
    actions->addStretch(1);
    left->addLayout(actions, 3, 1);
    left->setRowMinimumHeight(4, 8);
    BuildStyleBlock({QStringLiteral("T"), cbxTBgColor, cbxTColor, cbxTName, cbxTSize, chkTBold,
                     chkTUnderline, chkTItalic},
                    page, left, 5, false);
    left->setRowStretch(2, 1);

    auto* right = new QVBoxLayout;
    lbxTestimonials = new QListWidget(page);
    lbxTestimonials->setObjectName(QStringLiteral("lbxTestimonials"));
    memTestDetails = MakeMemo(QStringLiteral("memTestDetails"), page, true);
    AddAbove(right, page, QStringLiteral("Testimonials:"), lbxTestimonials);
    AddAbove(right, page, QStringLiteral("Testimonial details:"), memTestDetails);

    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns, 1);
    return page;
}

QWidget* TfrmMain::BuildPage6() {
    QWidget* page = bsSkinTabSheet10 = MakePage(QStringLiteral("bsSkinTabSheet10"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 6: Ending Page Contents"));

    prfEditor10 =
        MakeEditor(QStringLiteral("prfEditor10"), QStringLiteral("Closing statement"), page);
    prfEditor10->setFixedHeight(116);
    AddAbove(layout, page, QStringLiteral("Enter the Closing Statement."), nullptr);
    toolbars_[3] = MakeToolbar(10, page);
    layout->addWidget(toolbars_[3]);
    layout->addWidget(prfEditor10);

    prfEditor11 = MakeEditor(QStringLiteral("prfEditor11"), QStringLiteral("P.S."), page);
    layout->addSpacing(4);
    AddAbove(layout, page, QStringLiteral("Your bottom statement. This acts liks a P.S."), nullptr);
    toolbars_[4] = MakeToolbar(11, page);
    layout->addWidget(toolbars_[4]);
    layout->addWidget(prfEditor11, 1);

    editors_ = {prfEditor1, prfEditor2, prfEditor3, prfEditor10, prfEditor11};
    // The keyboard reaches each area after its toolbar's choosers, as they stand above it.
    for (std::size_t index = 0; index < editors_.size(); ++index) {
        QWidget::setTabOrder(toolbars_[index]->fontSizeChooser(), editors_[index]);
    }
    return page;
}

QWidget* TfrmMain::BuildPage7() {
    QWidget* page = bsSkinTabSheet11 = MakePage(QStringLiteral("bsSkinTabSheet11"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 7: Order Link Options"));

    edtDirectLink = MakeEdit(QStringLiteral("edtDirectLink"), page);
    AddAbove(layout, page, QStringLiteral("Enter the Direct Link to your Order Product Page."),
             edtDirectLink);

    layout->addSpacing(6);
    QLabel* clickBank =
        MakeLabel(QStringLiteral("If you use Clickbank enter the account data here."), page);
    clickBank->setProperty("heading", true);
    layout->addWidget(clickBank);
    QGridLayout* grid = MakeGrid();
    edtClickBankName = MakeEdit(QStringLiteral("edtClickBankName"), page);
    edtProductName = MakeEdit(QStringLiteral("edtProductName"), page);
    edtDescription = MakeEdit(QStringLiteral("edtDescription"), page);
    edtClickBankName->setMaximumWidth(260);
    edtProductName->setMaximumWidth(260);
    AddRow(grid, 0, page, QStringLiteral("Clickbank Name:"), edtClickBankName);
    AddRow(grid, 1, page, QStringLiteral("Product Name:"), edtProductName);
    AddRow(grid, 2, page, QStringLiteral("Description:"), edtDescription);
    layout->addLayout(grid);

    layout->addSpacing(6);
    memPaypalCode = MakeMemo(QStringLiteral("memPaypalCode"), page);
    memPaypalCode->setFixedHeight(48);
    AddAbove(layout, page,
             QStringLiteral("If you use Paypal, create the product button in your Paypal account "
                            "and paste this code here."),
             memPaypalCode);

    layout->addSpacing(6);
    edtPaypalEmail = MakeEdit(QStringLiteral("edtPaypalEmail"), page);
    edtPaypalEmail->setMaximumWidth(320);
    QLabel* emailLabel = MakeLabel(QStringLiteral("Enter your Affiliate ID (Paypal Email):"), page);
    Bind(emailLabel, edtPaypalEmail);
    layout->addWidget(emailLabel);
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(edtPaypalEmail, 1);
    QLabel* optional = MakeLabel(QStringLiteral("Optional"), page);
    optional->setProperty("note", true);
    emailRow->addWidget(optional);
    emailRow->addStretch(1);
    layout->addLayout(emailRow);

    // The order link style: kept and saved like every field, but not offered to the user.
    QLabel* format = MakeLabel(QStringLiteral("Enter the format for your Order Link."), page);
    format->hide();
    layout->addWidget(format);
    QGridLayout* style = MakeGrid();
    BuildStyleBlock({QStringLiteral("O"), cbxOBgColor, cbxOColor, cbxOName, cbxOSize, chkOBold,
                     chkOUnderline, chkOItalic},
                    page, style, 0, true);
    layout->addLayout(style);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildPage8() {
    QWidget* page = bsSkinTabSheet12 = MakePage(QStringLiteral("bsSkinTabSheet12"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 8: Finish"));

    // The chooser below stays where it always was; the gallery is how it is seen and used.
    QLabel* galleryLabel = MakeLabel(QStringLiteral("Letter design:"), page);
    layout->addWidget(galleryLabel);
    galTemplates = new TemplateGallery(cbxTemplates = new QComboBox(page), page);
    Bind(galleryLabel, galTemplates);
    // Ends before the preview group, which a wide window brings into view at its place.
    galTemplates->setMaximumWidth(kPreviewLeft - 24);
    layout->addWidget(galTemplates);
    layout->addSpacing(6);

    auto* fileRow = new QHBoxLayout;
    edtFilename = MakeEdit(QStringLiteral("edtFilename"), page);
    edtFilename->setMaximumWidth(520);
    bsSkinButton3 = MakeButton(QStringLiteral("bsSkinButton3"), QStringLiteral("Browse"), page);
    bsSkinButton3->setAccessibleDescription(QStringLiteral("Output filename"));
    QLabel* fileLabel = MakeLabel(QStringLiteral("Output filename:"), page);
    Bind(fileLabel, edtFilename);
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(edtFilename, 1);
    fileRow->addWidget(bsSkinButton3);
    fileRow->addStretch(0);
    layout->addLayout(fileRow);

    layout->addSpacing(10);
    chkEmbedPictures = new QCheckBox(QStringLiteral("Put the pictures inside the page"), page);
    chkEmbedPictures->setObjectName(QStringLiteral("chkEmbedPictures"));
    layout->addWidget(chkEmbedPictures);
    btnFinish =
        MakeButton(QStringLiteral("btnFinish"), QStringLiteral("Save generated code"), page);
    btnFinish->setProperty("primary", true);
    btnPublish = MakeButton(QStringLiteral("btnPublish"), QStringLiteral("Publish"), page);
    btnPublish->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto* finishRow = new QHBoxLayout;
    finishRow->addWidget(btnFinish);
    finishRow->addWidget(btnPublish);
    finishRow->addStretch(1);
    layout->addLayout(finishRow);

    layout->addSpacing(10);
    QLabel* checkLabel = MakeLabel(QStringLiteral("Letter check"), page);
    lstLetterCheck = new QListWidget(page);
    lstLetterCheck->setObjectName(QStringLiteral("lstLetterCheck"));
    lstLetterCheck->setMaximumWidth(640);
    lstLetterCheck->setWordWrap(true);
    Bind(checkLabel, lstLetterCheck);
    layout->addWidget(checkLabel);
    layout->addWidget(lstLetterCheck, 1);

    // Placed by hand beyond the initial page width and kept at their distance from the left
    // edge; only a wide window can bring the preview into view.
    QLabel* sentence = MakeLabel(
        QStringLiteral("Select a template and enter a name for the generated output file:"), page);
    sentence->move(kTemplateLabelLeft, 10);
    sentence->adjustSize();
    sentence->hide();
    QLabel* templateLabel = MakeLabel(QStringLiteral("Template:"), page);
    templateLabel->move(kTemplateLabelLeft, 42);
    templateLabel->adjustSize();
    templateLabel->hide();
    cbxTemplates->setObjectName(QStringLiteral("cbxTemplates"));
    cbxTemplates->setGeometry(kTemplateChooserLeft, 38, 200, 24);
    Bind(templateLabel, cbxTemplates);
    cbxTemplates->hide();
    bsSkinGroupBox1 = new QGroupBox(QStringLiteral("Preview"), page);
    bsSkinGroupBox1->setObjectName(QStringLiteral("bsSkinGroupBox1"));
    Image1 = new QLabel(bsSkinGroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAccessibleName(QStringLiteral("Template preview"));
    auto* preview = new QVBoxLayout(bsSkinGroupBox1);
    preview->addWidget(Image1);
    Image1->setFixedSize(kPreviewWidth, kPreviewHeight);
    bsSkinGroupBox1->move(kPreviewLeft, kPreviewTop);
    bsSkinGroupBox1->adjustSize();
    bsSkinGroupBox1->hide();
    return page;
}

} // namespace scribvane
