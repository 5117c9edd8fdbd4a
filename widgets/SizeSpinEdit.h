// The size field of the feature, testimonial and order link styles: a whole number with no
// bound of its own (any signed 32-bit value), stepping by 1, typed numbers accepted.
#pragma once

#include <QSpinBox>

namespace scribvane {

class SizeSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    explicit SizeSpinEdit(QWidget* parent = nullptr);
};

} // namespace scribvane
