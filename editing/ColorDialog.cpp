// The shared "Set color" dialog of the formatting toolbars (see ColorDialog.h).
#include "editing/ColorDialog.h"

#include <QColorDialog>

namespace scribvane {
namespace {

// Set: the next Execute answers with it instead of showing the dialog.
std::optional<std::optional<ColorValue>> nextAnswer;
ColorValue lastOffered = 0;

QColor ToQColor(ColorValue color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

ColorValue FromQColor(const QColor& color) {
    return static_cast<ColorValue>(color.red()) | (static_cast<ColorValue>(color.green()) << 8) |
           (static_cast<ColorValue>(color.blue()) << 16);
}

} // namespace

bool ColorDialog::Execute(QWidget* parent) {
    lastOffered = color_;
    std::optional<ColorValue> answer;
    if (nextAnswer) {
        answer = *nextAnswer;
        nextAnswer.reset();
    } else {
        answer = Pick(parent, color_);
    }
    if (!answer) {
        return false;
    }
    color_ = *answer;
    return true;
}

void ColorDialog::SetNextAnswerForTesting(std::optional<ColorValue> answer) {
    nextAnswer = answer;
}

ColorValue ColorDialog::LastOfferedForTesting() {
    return lastOffered;
}

std::optional<ColorValue> ColorDialog::Pick(QWidget* parent, ColorValue initial) {
    QColorDialog dialog(ToQColor(initial), parent);
    dialog.setWindowTitle(QStringLiteral("Set color"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return FromQColor(dialog.selectedColor());
}

} // namespace scribvane
