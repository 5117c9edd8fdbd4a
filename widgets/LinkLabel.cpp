// The link label: a clickable, keyboard-reachable caption with a target address.
#include "widgets/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace scribvane {

LinkLabel::LinkLabel(const QString& caption, const QString& url, QWidget* parent)
    : QLabel(caption, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setProperty("link", true); // the skin draws link labels like links
    setUrl(url);
}

void LinkLabel::setUrl(const QString& url) {
    url_ = url;
    setToolTip(url);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace scribvane
