// Step 8's page; see FinishStep.h.
#include "generation/FinishStep.h"

#include "generation/TemplateGallery.h"
#include "widgets/FormBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace scribvane {

namespace {

// The hidden controls sit right of the page's initial width of 783 pixels.
constexpr int kTemplateLabelLeft = 732;
constexpr int kTemplateChooserLeft = 791;
constexpr int kPreviewLeft = 1008;
constexpr int kPreviewTop = 70;
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 290;

// A label placed by hand and kept out of view.
QLabel* AddHiddenLabel(const QString& text, int top, QWidget* page) {
    QLabel* label = MakeLabel(text, page);
    label->move(kTemplateLabelLeft, top);
    label->adjustSize();
    label->hide();
    return label;
}

} // namespace

FinishStep BuildFinishStep() {
    FinishStep step;
    QWidget* page = step.page = MakePage(QStringLiteral("bsSkinTabSheet12"));
    QVBoxLayout* layout = PageLayout(page, QStringLiteral("Step 8: Finish"));

    // The chooser stays where it always was; the gallery is how it is seen and used.
    QLabel* galleryLabel = MakeLabel(QStringLiteral("Letter design:"), page);
    layout->addWidget(galleryLabel);
    step.letter.templates = new QComboBox(page);
    step.letter.gallery = new TemplateGallery(step.letter.templates, page);
    Bind(galleryLabel, step.letter.gallery);
    // Ends before the preview group, which a wide window brings into view at its place.
    step.letter.gallery->setMaximumWidth(kPreviewLeft - 24);
    layout->addWidget(step.letter.gallery);
    layout->addSpacing(6);

    auto* fileRow = new QHBoxLayout;
    step.filename = MakeEdit(QStringLiteral("edtFilename"), page);
    step.filename->setMaximumWidth(520);
    step.browse = MakeButton(QStringLiteral("bsSkinButton3"), QStringLiteral("Browse"), page);
    step.browse->setAccessibleDescription(QStringLiteral("Output filename"));
    QLabel* fileLabel = MakeLabel(QStringLiteral("Output filename:"), page);
    Bind(fileLabel, step.filename);
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(step.filename, 1);
    fileRow->addWidget(step.browse);
    fileRow->addStretch(0);
    layout->addLayout(fileRow);

    layout->addSpacing(10);
    step.embed = MakeCheck(QStringLiteral("chkEmbedPictures"),
                           QStringLiteral("Put the pictures inside the page"), page);
    layout->addWidget(step.embed);
    step.originalPictures =
        MakeCheck(QStringLiteral("chkOriginalPictures"),
                  QStringLiteral("Publish the pictures as they are (not made for the web)"), page);
    step.originalPictures->setToolTip(QStringLiteral(
        "Off: designs for the web send each picture upright, in the sizes phones and wide "
        "screens need, without its location or camera data."));
    layout->addWidget(step.originalPictures);
    step.finish =
        MakeButton(QStringLiteral("btnFinish"), QStringLiteral("Save generated code"), page);
    step.finish->setProperty("primary", true);
    step.publish = MakeButton(QStringLiteral("btnPublish"), QStringLiteral("Publish"), page);
    step.publish->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto* finishRow = new QHBoxLayout;
    finishRow->addWidget(step.finish);
    finishRow->addWidget(step.publish);
    finishRow->addStretch(1);
    layout->addLayout(finishRow);

    layout->addSpacing(10);
    QLabel* checkLabel = MakeLabel(QStringLiteral("Letter check"), page);
    step.letter.checkList = new QListWidget(page);
    step.letter.checkList->setObjectName(QStringLiteral("lstLetterCheck"));
    step.letter.checkList->setMaximumWidth(640);
    step.letter.checkList->setWordWrap(true);
    Bind(checkLabel, step.letter.checkList);
    layout->addWidget(checkLabel);
    layout->addWidget(step.letter.checkList, 1);

    // Placed by hand beyond the initial page width and kept at their distance from the left
    // edge; only a wide window can bring the preview into view.
    AddHiddenLabel(
        QStringLiteral("Select a template and enter a name for the generated output file:"), 10,
        page);
    QComboBox* templates = step.letter.templates;
    templates->setObjectName(QStringLiteral("cbxTemplates"));
    templates->setGeometry(kTemplateChooserLeft, 38, 200, 24);
    templates->hide();
    Bind(AddHiddenLabel(QStringLiteral("Template:"), 42, page), templates);
    auto* group = step.letter.previewGroup = new QGroupBox(QStringLiteral("Preview"), page);
    group->setObjectName(QStringLiteral("bsSkinGroupBox1"));
    step.letter.preview = new QLabel(group);
    step.letter.preview->setObjectName(QStringLiteral("Image1"));
    step.letter.preview->setAlignment(Qt::AlignCenter);
    step.letter.preview->setAccessibleName(QStringLiteral("Template preview"));
    step.letter.preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    (new QVBoxLayout(group))->addWidget(step.letter.preview);
    group->move(kPreviewLeft, kPreviewTop);
    group->adjustSize();
    group->hide();
    return step;
}

} // namespace scribvane
