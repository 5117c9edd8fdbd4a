// The window half of a record list page; see RecordPage.h.
#include "lists/RecordPage.h"

#include "widgets/ControlText.h"
#include "widgets/MessageService.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <utility>

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

RecordPage::RecordPage(RecordKind kind, RecordPageControls controls,
                       std::vector<std::string>& records, MessageService& messages)
    : kind_(kind), controls_(std::move(controls)), records_(records), messages_(messages) {
    // A click shows the entry, and so does choosing it with the keyboard.
    controls_.list->setSelectionMode(QAbstractItemView::SingleSelection);
}

void RecordPage::CreateRecord() {
    std::vector<std::string> fields;
    for (const QLineEdit* input : controls_.inputs) {
        fields.push_back(AnsiOf(input->text()));
    }
    fields.push_back(MemoText(*controls_.text));
    for (const std::string& field : fields) {
        if (field.empty()) {
            messages_.Warning(
                kind_ == RecordKind::Feature
                    ? QStringLiteral("Please provide a valid feature's content.")
                    : QStringLiteral("Please provide a valid testimonial's content."));
            return;
        }
    }
    records_.push_back(kind_ == RecordKind::Feature
                           ? MakeFeatureRecord(fields[0], fields[1])
                           : MakeTestimonialRecord(fields[0], fields[1], fields[2]));
    AppendCaption(*controls_.list, kind_);
    for (QLineEdit* input : controls_.inputs) {
        input->clear();
    }
    controls_.text->clear();
    controls_.inputs.front()->setFocus();
}

void RecordPage::DeleteSelectedRecord() {
    QListWidget& list = *controls_.list;
    if (list.count() == 0) {
        return;
    }
    const int row = SelectedRow(list);
    if (row < 0) {
        messages_.Warning(kind_ == RecordKind::Feature
                              ? QStringLiteral("Please select a feature to delete.")
                              : QStringLiteral("Please select a testimonial to delete."));
        return;
    }
    {
        // Removing the selected caption may move the selection to a neighbour; that must not
        // show the neighbour's details.
        const QSignalBlocker blocker(&list);
        if (static_cast<std::size_t>(row) < records_.size()) {
            records_.erase(records_.begin() + row);
        }
        delete list.takeItem(row);
        list.setCurrentRow(-1);
        list.clearSelection();
    }
    controls_.details->clear();
}

void RecordPage::ShowSelectedRecord() {
    const int row = SelectedRow(*controls_.list);
    if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) {
        return;
    }
    SetMemoText(*controls_.details, RecordDetails(kind_, records_[static_cast<std::size_t>(row)]));
}

QAbstractItemModel* RecordPage::ListModel() const {
    return controls_.list->model();
}

void RecordPage::ShowRecords(std::vector<std::string> records) {
    records_ = std::move(records);
    QListWidget& list = *controls_.list;
    list.clear();
    const int count = static_cast<int>(records_.size());
    for (int number = 1; number <= count; ++number) {
        list.addItem(QStringOfAnsi(ListCaption(kind_, number)));
    }
}

} // namespace scribvane
