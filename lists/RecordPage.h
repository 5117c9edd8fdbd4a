// The window half of a record list page (features or testimonials): creating an entry from
// the input fields, showing the selected entry in the details view, deleting it, and showing
// a loaded list. The record list and its list box always hold the same entries in the same
// order.
#pragma once

#include "lists/Records.h"

#include <string>
#include <vector>

class QAbstractItemModel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace scribvane {

class MessageService;

struct RecordPageControls {
    // The single-line inputs in record field order: the title, or the name and the website.
    std::vector<QLineEdit*> inputs;
    // The multi-line input that ends the record: the body, or the content.
    QPlainTextEdit* text = nullptr;
    QListWidget* list = nullptr;
    QPlainTextEdit* details = nullptr;
};

class RecordPage {
public:
    // `records` is the window's record list this page keeps in step with its list box.
    RecordPage(RecordKind kind, RecordPageControls controls, std::vector<std::string>& records,
               MessageService& messages);

    // A new entry from the inputs, which are then emptied; every input must hold text.
    void CreateRecord();
    // Deletes the selected entry; asks for a selection when there is none.
    void DeleteSelectedRecord();
    // Shows the selected entry in the details view.
    void ShowSelectedRecord();
    // Replaces the whole list, captions numbered afresh; the details view keeps what it shows.
    void ShowRecords(std::vector<std::string> records);

    const std::vector<std::string>& Records() const { return records_; }
    // The list box's rows, one per record: their signals say when the list changed.
    QAbstractItemModel* ListModel() const;

private:
    RecordKind kind_;
    RecordPageControls controls_;
    std::vector<std::string>& records_;
    MessageService& messages_;
};

} // namespace scribvane
