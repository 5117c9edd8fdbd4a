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

// Each caption holds its record under this role.
constexpr int kRecordRole = Qt::UserRole;

} // namespace

RecordPage::RecordPage(RecordKind kind, RecordPageControls controls,
                       std::vector<std::string>& records, MessageService& messages)
    : kind_(kind), controls_(std::move(controls)), records_(records), messages_(messages) {
    // A click shows the entry, and so does choosing it with the keyboard.
    controls_.list->setSelectionMode(QAbstractItemView::SingleSelection);
    controls_.list->setDragDropMode(QAbstractItemView::InternalMove);
    controls_.list->setDefaultDropAction(Qt::MoveAction);
    // A drag moves a row by inserting and removing; the records follow every step.
    QAbstractItemModel* model = controls_.list->model();
    const auto follow = [this] { FollowList(); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &connections_, follow);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, &connections_, follow);
    QObject::connect(model, &QAbstractItemModel::rowsMoved, &connections_, follow);
    QObject::connect(model, &QAbstractItemModel::modelReset, &connections_, follow);
    shownAsTyped_ = RecordAsTyped();
}

QListWidgetItem* RecordPage::MakeItem(std::string record) const {
    auto* item = new QListWidgetItem;
    item->setData(kRecordRole, QByteArray::fromStdString(record));
    return item;
}

void RecordPage::FollowList() {
    if (following_) {
        return;
    }
    following_ = true;
    QListWidget& list = *controls_.list;
    std::vector<std::string> records;
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem* item = list.item(row);
        records.push_back(item->data(kRecordRole).toByteArray().toStdString());
        // A new entry is numbered one past the entries before it; captions already shown keep
        // their numbers, which may repeat after a delete or a move, as they carry no meaning.
        if (item->text().isEmpty()) {
            item->setText(QStringOfAnsi(ListCaption(kind_, row + 1)));
        }
    }
    records_ = std::move(records);
    following_ = false;
    // A dragged entry takes the inputs along; an emptied list shows none.
    if (!controls_.list->selectedItems().isEmpty()) {
        shownRow_ = SelectedRow(*controls_.list);
    } else if (shownRow_ >= list.count()) {
        shownRow_ = -1;
    }
}

namespace {

std::vector<std::string> InputFields(const RecordPageControls& controls) {
    std::vector<std::string> fields;
    for (const QLineEdit* input : controls.inputs) {
        fields.push_back(AnsiOf(input->text()));
    }
    fields.push_back(MemoText(*controls.text));
    return fields;
}

std::string RecordOfFields(RecordKind kind, const std::vector<std::string>& fields) {
    return kind == RecordKind::Feature ? MakeFeatureRecord(fields[0], fields[1])
                                       : MakeTestimonialRecord(fields[0], fields[1], fields[2]);
}

} // namespace

std::string RecordPage::RecordAsTyped() const {
    return RecordOfFields(kind_, InputFields(controls_));
}

std::string RecordPage::RecordOfInputs() const {
    const std::vector<std::string> fields = InputFields(controls_);
    for (std::size_t index = 0; index < fields.size(); ++index) {
        // Many customers have no website: a testimonial needs its name and its words.
        if (kind_ == RecordKind::Testimonial && index == 1) {
            continue;
        }
        if (fields[index].empty()) {
            messages_.Warning(
                kind_ == RecordKind::Feature
                    ? QStringLiteral("Please provide a valid feature's content.")
                : index == 0 ? QStringLiteral("Please provide the name of the customer who gave "
                                              "the testimonial.")
                             : QStringLiteral("Please provide a valid testimonial's content."));
            return {};
        }
    }
    return RecordOfFields(kind_, fields);
}

bool RecordPage::HasPendingEdit() const {
    return RecordAsTyped() != shownAsTyped_;
}

bool RecordPage::SettlePendingEdit() {
    if (!HasPendingEdit()) {
        return true;
    }
    const bool feature = kind_ == RecordKind::Feature;
    const bool shown = shownRow_ >= 0 && shownRow_ < controls_.list->count();
    const QString text =
        shown ? QStringLiteral("%1 was changed, but the change is not in the list yet. Apply it "
                               "as Update would?")
                    .arg(controls_.list->item(shownRow_)->text())
              : (feature ? QStringLiteral("The feature you typed is not in the list yet. Add it "
                                          "as Create would?")
                         : QStringLiteral("The testimonial you typed is not in the list yet. Add "
                                          "it as Create would?"));
    switch (messages_.AskApplyEdit(text)) {
    case CloseAnswer::Save:
        if (shown) {
            return ApplyTo(shownRow_);
        }
        return CreateRecord();
    case CloseAnswer::Discard:
        if (shown) {
            ShowRow(shownRow_);
        } else {
            ClearInputs();
        }
        return true;
    case CloseAnswer::Stay:
        break;
    }
    return false;
}

void RecordPage::ClearInputs() {
    for (QLineEdit* input : controls_.inputs) {
        input->clear();
    }
    controls_.text->clear();
    shownAsTyped_ = RecordAsTyped();
}

bool RecordPage::CreateRecord() {
    std::string record = RecordOfInputs();
    if (record.empty()) {
        return false;
    }
    QListWidget& list = *controls_.list;
    {
        // The new caption is not selected: the inputs empty below must not fill again.
        const QSignalBlocker blocker(&list);
        list.addItem(MakeItem(std::move(record)));
        list.setCurrentRow(-1);
        list.clearSelection();
    }
    shownRow_ = -1;
    ClearInputs();
    controls_.inputs.front()->setFocus();
    return true;
}

void RecordPage::UpdateSelectedRecord() {
    QListWidget& list = *controls_.list;
    const int row = SelectedRow(list);
    if (row < 0) {
        messages_.Warning(kind_ == RecordKind::Feature
                              ? QStringLiteral("Please select a feature to update.")
                              : QStringLiteral("Please select a testimonial to update."));
        return;
    }
    ApplyTo(row);
}

bool RecordPage::ApplyTo(int row) {
    std::string record = RecordOfInputs();
    if (record.empty()) {
        return false;
    }
    records_[static_cast<std::size_t>(row)] = record;
    // Setting the caption's record tells the list's watchers that the list changed.
    controls_.list->item(row)->setData(kRecordRole, QByteArray::fromStdString(record));
    SetMemoText(*controls_.details, RecordDetails(kind_, record));
    shownRow_ = row;
    shownAsTyped_ = RecordAsTyped();
    return true;
}

void RecordPage::MoveSelectedRecord(int step) {
    QListWidget& list = *controls_.list;
    const int row = SelectedRow(list);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list.count()) {
        return;
    }
    const QSignalBlocker blocker(&list); // the same entry stays shown
    QListWidgetItem* item = list.takeItem(row);
    list.insertItem(target, item);
    list.setCurrentItem(item);
    item->setSelected(true);
    shownRow_ = target;
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
        delete list.takeItem(row);
        list.setCurrentRow(-1);
        list.clearSelection();
    }
    controls_.details->clear();
    // The inputs keep the deleted entry's words, which Create would add again.
    shownRow_ = -1;
    shownAsTyped_ = RecordAsTyped();
}

void RecordPage::ShowSelectedRecord() {
    if (settling_) {
        return;
    }
    QListWidget& list = *controls_.list;
    const int row = SelectedRow(list);
    if (row == shownRow_ && !HasPendingEdit()) {
        return;
    }
    if (row != shownRow_ && HasPendingEdit()) {
        settling_ = true;
        const bool leave = SettlePendingEdit();
        settling_ = false;
        const QSignalBlocker blocker(&list);
        // A new entry added on the way goes to the end, so the chosen row stays where it was.
        const int back = leave ? row : shownRow_;
        list.clearSelection();
        if (back >= 0 && back < list.count()) {
            list.setCurrentRow(back);
            list.item(back)->setSelected(true);
        }
        if (!leave) {
            return;
        }
    }
    ShowRow(row);
}

void RecordPage::ShowRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) {
        return;
    }
    const std::string& record = records_[static_cast<std::size_t>(row)];
    SetMemoText(*controls_.details, RecordDetails(kind_, record));
    const auto fields = RecordFields(record);
    for (std::size_t index = 0; index < controls_.inputs.size(); ++index) {
        controls_.inputs[index]->setText(QStringOfAnsi(FieldAt(fields, index + 1)));
    }
    SetMemoText(*controls_.text,
                DecodeLineBreaks(FieldAt(fields, controls_.inputs.size() + 1), "\r\n"));
    shownRow_ = row;
    shownAsTyped_ = RecordAsTyped();
}

QAbstractItemModel* RecordPage::ListModel() const {
    return controls_.list->model();
}

void RecordPage::ShowRecords(std::vector<std::string> records) {
    QListWidget& list = *controls_.list;
    records_ = std::move(records);
    following_ = true;
    list.clear();
    for (std::size_t index = 0; index < records_.size(); ++index) {
        QListWidgetItem* item = MakeItem(records_[index]);
        item->setText(QStringOfAnsi(ListCaption(kind_, static_cast<int>(index) + 1)));
        list.addItem(item);
    }
    following_ = false;
    // What the inputs hold is neither an entry of the new list nor new work of the user's.
    shownRow_ = -1;
    shownAsTyped_ = RecordAsTyped();
}

} // namespace scribvane
