// The unbounded size spin edit.
#include "widgets/SizeSpinEdit.h"

#include <limits>

namespace scribvane {

SizeSpinEdit::SizeSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setSingleStep(1);
    setAccelerated(true);
}

} // namespace scribvane
