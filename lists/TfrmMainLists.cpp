// The feature and testimonial pages of the main window: creating an entry from the input
// fields, showing the selected entry in the details view, and deleting it. The record list and
// its list box always hold the same number of entries in the same order.
#include "app/ControlText.h"
#include "app/MessageService.h"
#include "app/TfrmMain.h"
#include "lists/Records.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace scribvane {

namespace {

// The selected position, or -1. A current row without a selection does not count.
int SelectedRow(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.front());
}

// Appends a caption numbered one past the captions already there; numbers may repeat after a
// delete, as they carry no meaning.
void AppendCaption(QListWidget& list, RecordKind kind) {
    list.addItem(QStringOfAnsi(ListCaption(kind, list.count() + 1)));
    list.setCurrentRow(-1);
    list.clearSelection();
}

} // namespace

void TfrmMain::ConnectListActions() {
    connect(btnCreateFeat, &QPushButton::clicked, this, &TfrmMain::btnCreateFeatClick);
    connect(btnDeleteFeat, &QPushButton::clicked, this, &TfrmMain::btnDeleteFeatClick);
    connect(btnCreateTest, &QPushButton::clicked, this, &TfrmMain::btnCreateTestClick);
    connect(btnDeleteTest, &QPushButton::clicked, this, &TfrmMain::btnDeleteTestClick);
    // A click shows the entry, and so does choosing it with the keyboard.
    for (QListWidget* list : {lbxFeatures, lbxTestimonials}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    connect(lbxFeatures, &QListWidget::itemSelectionChanged, this,
            &TfrmMain::lbxFeaturesListBoxClick);
    connect(lbxTestimonials, &QListWidget::itemSelectionChanged, this,
            &TfrmMain::lbxTestimonialsListBoxClick);
}

void TfrmMain::btnCreateFeatClick() {
    const std::string title = AnsiOf(edtFeatureTitle->text());
    const std::string body = MemoText(*memFeatureBody);
    if (title.empty() || body.empty()) {
        msgMain().Warning(QStringLiteral("Please provide a valid feature's content."));
        return;
    }
    FFeatures.push_back(MakeFeatureRecord(title, body));
    AppendCaption(*lbxFeatures, RecordKind::Feature);
    edtFeatureTitle->clear();
    memFeatureBody->clear();
    edtFeatureTitle->setFocus();
}

void TfrmMain::btnCreateTestClick() {
    const std::string name = AnsiOf(edtTestName->text());
    const std::string website = AnsiOf(edtTestWebsite->text());
    const std::string content = MemoText(*memTest);
    if (name.empty() || website.empty() || content.empty()) {
        msgMain().Warning(QStringLiteral("Please provide a valid testimonial's content."));
        return;
    }
    FTestimonials.push_back(MakeTestimonialRecord(name, website, content));
    AppendCaption(*lbxTestimonials, RecordKind::Testimonial);
    edtTestName->clear();
    edtTestWebsite->clear();
    memTest->clear();
    edtTestName->setFocus();
}

void TfrmMain::btnDeleteFeatClick() {
    DeleteSelectedRecord(RecordKind::Feature);
}

void TfrmMain::btnDeleteTestClick() {
    DeleteSelectedRecord(RecordKind::Testimonial);
}

void TfrmMain::DeleteSelectedRecord(RecordKind kind) {
    const bool feature = kind == RecordKind::Feature;
    std::vector<std::string>& records = feature ? FFeatures : FTestimonials;
    QListWidget& list = feature ? *lbxFeatures : *lbxTestimonials;
    QPlainTextEdit& details = feature ? *memFeatureDetails : *memTestDetails;
    if (list.count() == 0) {
        return;
    }
    const int row = SelectedRow(list);
    if (row < 0) {
        msgMain().Warning(feature ? QStringLiteral("Please select a feature to delete.")
                                  : QStringLiteral("Please select a testimonial to delete."));
        return;
    }
    {
        // Removing the selected caption may move the selection to a neighbour; that must not
        // show the neighbour's details.
        const QSignalBlocker blocker(&list);
        if (static_cast<std::size_t>(row) < records.size()) {
            records.erase(records.begin() + row);
        }
        delete list.takeItem(row);
        list.setCurrentRow(-1);
        list.clearSelection();
    }
    details.clear();
}

void TfrmMain::lbxFeaturesListBoxClick() {
    ShowRecordDetails(RecordKind::Feature);
}

void TfrmMain::lbxTestimonialsListBoxClick() {
    ShowRecordDetails(RecordKind::Testimonial);
}

void TfrmMain::ShowRecordDetails(RecordKind kind) {
    const bool feature = kind == RecordKind::Feature;
    const std::vector<std::string>& records = feature ? FFeatures : FTestimonials;
    const int row = SelectedRow(feature ? *lbxFeatures : *lbxTestimonials);
    if (row < 0 || static_cast<std::size_t>(row) >= records.size()) {
        return;
    }
    SetMemoText(feature ? *memFeatureDetails : *memTestDetails,
                RecordDetails(kind, records[static_cast<std::size_t>(row)]));
}

} // namespace scribvane
