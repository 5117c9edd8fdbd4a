// The wizard's page control; see PageStack.h.
#include "widgets/PageStack.h"

namespace scribvane {

PageStack::PageStack(QWidget* parent) : QStackedWidget(parent) {
    connect(this, &QStackedWidget::currentChanged, this, [this] { updateGeometry(); });
}

QSize PageStack::minimumSizeHint() const {
    const QWidget* page = currentWidget();
    return page != nullptr ? page->minimumSizeHint() : QStackedWidget::minimumSizeHint();
}

bool PageStack::hasHeightForWidth() const {
    const QWidget* page = currentWidget();
    return page != nullptr && page->hasHeightForWidth();
}

int PageStack::heightForWidth(int width) const {
    const QWidget* page = currentWidget();
    return page != nullptr ? page->heightForWidth(width) : -1;
}

} // namespace scribvane
