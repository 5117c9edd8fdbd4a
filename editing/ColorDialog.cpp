// The shared "Set color" dialog of the formatting toolbars (see ColorDialog.h).
#include "editing/ColorDialog.h"

#include "widgets/DialogService.h"
#include "widgets/QtText.h"

namespace scribvane {

bool ColorDialog::Execute(QWidget* parent) {
    const std::optional<QColor> answer =
        dialogs_.PickColor(parent, QColorOf(color_), QStringLiteral("Set color"));
    if (!answer) {
        return false;
    }
    color_ = ColorValueOf(*answer);
    return true;
}

} // namespace scribvane
