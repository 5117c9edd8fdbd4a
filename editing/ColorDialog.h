// The shared colour dialog "Set color" of the formatting toolbars. It opens on the colour last
// confirmed in it (black before the first confirmation).
#pragma once

#include "utils/TextHelpers.h"

class QWidget;

namespace scribvane {

class DialogService;

class ColorDialog {
public:
    explicit ColorDialog(DialogService& dialogs) : dialogs_(dialogs) {}

    // Shows the dialog on the last confirmed colour; true when the user confirmed. The
    // confirmed colour then is Color().
    bool Execute(QWidget* parent);

    ColorValue Color() const { return color_; }
    void SetColor(ColorValue color) { color_ = color; }

private:
    DialogService& dialogs_;
    ColorValue color_ = 0;
};

} // namespace scribvane
