// A record step of the wizard, features (step 4) or testimonials (step 5): the inputs of one
// record with Create, Delete, Update, Move Up and Move Down, the list's style fields, and the
// list of records with the selected one's details. The RecordPage made with it runs them.
#pragma once

#include "lists/RecordPage.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace scribvane {

class MessageService;

struct RecordStep {
    QWidget* page = nullptr;
    std::unique_ptr<RecordPage> records;
};

// `records` is the window's record list the step keeps in step with its list box.
RecordStep BuildRecordStep(RecordKind kind, std::vector<std::string>& records,
                           MessageService& messages);

} // namespace scribvane
