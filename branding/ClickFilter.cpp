// Clicks on plain widgets; see ClickFilter.h.
#include "branding/ClickFilter.h"

#include <QMouseEvent>
#include <QWidget>

namespace scribvane {

ClickFilter::ClickFilter(QWidget* widget, std::function<void()> action)
    : QObject(widget), widget_(widget), action_(std::move(action)) {}

void ClickFilter::Install(QWidget* widget, std::function<void()> action) {
    widget->installEventFilter(new ClickFilter(widget, std::move(action)));
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Released elsewhere means the user changed their mind, as with a button.
        if (mouse->button() == Qt::LeftButton &&
            widget_->rect().contains(mouse->position().toPoint())) {
            action_();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace scribvane
