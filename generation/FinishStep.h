// Step 8 of the wizard: the gallery of letter designs (over the template chooser it shows),
// the output file, where the pictures go, "Save generated code" and "Publish", and the letter
// check; the template chooser and its preview stay placed beyond the page's initial width.
#pragma once

#include "generation/LetterPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace scribvane {

struct FinishStep {
    QWidget* page = nullptr;
    LetterPageControls letter;
    QLineEdit* filename = nullptr;         // edtFilename
    QPushButton* browse = nullptr;         // bsSkinButton3
    QCheckBox* embed = nullptr;            // chkEmbedPictures
    QCheckBox* originalPictures = nullptr; // chkOriginalPictures
    QPushButton* finish = nullptr;         // btnFinish
    QPushButton* publish = nullptr;        // btnPublish (Ctrl+P)
};

FinishStep BuildFinishStep();

} // namespace scribvane
