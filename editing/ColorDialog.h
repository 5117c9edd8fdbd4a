// The shared colour dialog "Set color" of the formatting toolbars. It opens on the colour last
// confirmed in it (black before the first confirmation).
#pragma once

#include "utils/TextHelpers.h"

#include <QString>
#include <optional>

class QWidget;

namespace scribvane {

class ColorDialog {
public:
    ColorDialog() = default;
    virtual ~ColorDialog() = default;

    // Shows the dialog on the last confirmed colour; true when the user confirmed. The
    // confirmed colour then is Color().
    bool Execute(QWidget* parent);

    ColorValue Color() const { return color_; }
    void SetColor(ColorValue color) { color_ = color; }

    // Test seam: the next Execute answers without showing anything (nullopt = Cancel).
    static void SetNextAnswerForTesting(std::optional<ColorValue> answer);
    // Test seam: the colour the last Execute opened on (shown or answered by the seam).
    static ColorValue LastOfferedForTesting();

protected:
    // Shows the modal picker; the default uses QColorDialog titled "Set color".
    virtual std::optional<ColorValue> Pick(QWidget* parent, ColorValue initial);

private:
    ColorValue color_ = 0;
};

} // namespace scribvane
