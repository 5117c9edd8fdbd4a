// The record steps' pages; see RecordStep.h.
#include "lists/RecordStep.h"

#include "widgets/FormBuilder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace scribvane {

namespace {

// What tells the two steps apart: their names, captions and the inputs of a record.
struct StepText {
    const char* page;
    const char* title;
    const char* shortName; // "Feat" or "Test", in the buttons' names
    const char* kindName;  // "Feature" or "Testimonial", in their captions
    const char* styleLetter;
    std::vector<std::pair<const char*, const char*>> inputs; // name, label
    const char* text;
    const char* textLabel;
    const char* list;
    const char* listLabel;
    const char* details;
    const char* detailsLabel;
};

const StepText& TextOf(RecordKind kind) {
    static const StepText feature{"bsSkinTabSheet4",
                                  "Step 4: Features",
                                  "Feat",
                                  "Feature",
                                  "F",
                                  {{"edtFeatureTitle", "Title:"}},
                                  "memFeatureBody",
                                  "Body:",
                                  "lbxFeatures",
                                  "Features:",
                                  "memFeatureDetails",
                                  "Feature details:"};
    static const StepText testimonial{"bsSkinTabSheet6",
                                      "Step 5: Testimonials",
                                      "Test",
                                      "Testimonial",
                                      "T",
                                      {{"edtTestName", "Name:"}, {"edtTestWebsite", " Website:"}},
                                      "memTest",
                                      "Content:",
                                      "lbxTestimonials",
                                      "Testimonials:",
                                      "memTestDetails",
                                      "Testimonial details:"};
    return kind == RecordKind::Feature ? feature : testimonial;
}

QString Text(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

RecordStep BuildRecordStep(RecordKind kind, std::vector<std::string>& records,
                           MessageService& messages) {
    const StepText& text = TextOf(kind);
    QWidget* page = MakePage(Text(text.page));
    QVBoxLayout* layout = PageLayout(page, Text(text.title));
    auto* columns = new QHBoxLayout;
    columns->setSpacing(18);

    RecordPageControls controls;
    QGridLayout* left = MakeGrid();
    int row = 0;
    for (const auto& [name, label] : text.inputs) {
        controls.inputs.push_back(MakeEdit(Text(name), page));
        AddRow(left, row++, page, Text(label), controls.inputs.back());
    }
    controls.text = MakeMemo(Text(text.text), page);
    AddRow(left, row, page, Text(text.textLabel), controls.text)
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    left->setRowStretch(row++, 1);

    // Create and Delete, then Update and the moves; the window answers the first two.
    const QString shortName = Text(text.shortName);
    const QString kindName = Text(text.kindName);
    QList<QPushButton*> buttons;
    for (const char* action : {"Create", "Delete", "Update"}) {
        buttons << MakeButton(QStringLiteral("btn%1%2").arg(Text(action), shortName),
                              QStringLiteral("%1 %2").arg(Text(action), kindName), page);
    }
    buttons << MakeButton(QStringLiteral("btnMove%1Up").arg(shortName), QStringLiteral("Move Up"),
                          page);
    buttons << MakeButton(QStringLiteral("btnMove%1Down").arg(shortName),
                          QStringLiteral("Move Down"), page);
    // Two rows, so the list beside them stays in view at the window's first size.
    auto* actions = new QGridLayout;
    actions->setSpacing(6);
    for (int index = 0; index < buttons.size(); ++index) {
        actions->addWidget(buttons[index], index / 3, index % 3);
    }
    actions->setColumnStretch(3, 1);
    left->addLayout(actions, row++, 1);
    left->setRowMinimumHeight(row++, 8);
    AddStyleRows(Text(text.styleLetter), page, left, row);

    auto* right = new QVBoxLayout;
    controls.list = new QListWidget(page);
    controls.list->setObjectName(Text(text.list));
    controls.details = MakeMemo(Text(text.details), page, true);
    AddAbove(right, page, Text(text.listLabel), controls.list);
    AddAbove(right, page, Text(text.detailsLabel), controls.details);

    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns, 1);

    auto recordPage = std::make_unique<RecordPage>(kind, controls, records, messages);
    RecordPage* runner = recordPage.get();
    QObject::connect(buttons[2], &QPushButton::clicked, page,
                     [runner] { runner->UpdateSelectedRecord(); });
    QObject::connect(buttons[3], &QPushButton::clicked, page,
                     [runner] { runner->MoveSelectedRecord(-1); });
    QObject::connect(buttons[4], &QPushButton::clicked, page,
                     [runner] { runner->MoveSelectedRecord(1); });
    return {page, std::move(recordPage)};
}

} // namespace scribvane
