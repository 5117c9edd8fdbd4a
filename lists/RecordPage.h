// The window half of a record list page (features or testimonials): creating an entry from
// the input fields, showing the selected entry in the inputs and the details view, replacing
// it in place, moving it (buttons, or dragging in the list), deleting it, and showing a
// loaded list. The record list and its list box always hold the same entries in the same
// order; each caption carries its record, so a row dragged elsewhere takes it along.
#pragma once

#include "lists/Records.h"

#include <QObject>
#include <string>
#include <vector>

class QAbstractItemModel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
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

    // A new entry from the inputs, which are then emptied; every input but a testimonial's
    // website must hold text. False when one does not.
    bool CreateRecord();
    // Deletes the selected entry; asks for a selection when there is none.
    void DeleteSelectedRecord();
    // Shows the selected entry in the inputs and the details view.
    void ShowSelectedRecord();
    // Replaces the selected entry by the inputs; asks for a selection when there is none.
    void UpdateSelectedRecord();
    // Moves the selected entry one place up (-1) or down (+1); it stays selected.
    void MoveSelectedRecord(int step);
    // Replaces the whole list, captions numbered afresh; the details view keeps what it shows.
    void ShowRecords(std::vector<std::string> records);

    // Whether the inputs hold what the list does not: the shown entry changed without Update,
    // or a new one typed without Create.
    bool HasPendingEdit() const;
    // Before the user leaves the inputs (another step, another entry): a pending edit is
    // applied, discarded or kept as the user answers. False when the user stays.
    bool SettlePendingEdit();

    const std::vector<std::string>& Records() const { return records_; }
    QListWidget* ListWidget() const { return controls_.list; }
    // The list box's rows, one per record: their signals say when the list changed.
    QAbstractItemModel* ListModel() const;

private:
    // The inputs as one record, or empty text after telling the user what is missing.
    std::string RecordOfInputs() const;
    // The inputs as one record, however incomplete.
    std::string RecordAsTyped() const;
    // The selection changed: settles the edit of the entry shown before, then shows the new.
    void ShowRow(int row);
    // Writes the inputs into entry `row`; false (after saying why) when they are incomplete.
    bool ApplyTo(int row);
    void ClearInputs();
    QListWidgetItem* MakeItem(std::string record) const;
    // The record list again from the captions, numbered afresh, after rows moved.
    void FollowList();

    RecordKind kind_;
    RecordPageControls controls_;
    std::vector<std::string>& records_;
    MessageService& messages_;
    bool following_ = false;
    int shownRow_ = -1; // the entry the inputs show, or -1 for a new one
    bool settling_ = false;
    std::string shownAsTyped_; // the inputs as the program last set them
    // Ends the list's connections with this page, before the list goes.
    QObject connections_;
};

} // namespace scribvane
