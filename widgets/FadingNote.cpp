// The fading note; see FadingNote.h.
#include "widgets/FadingNote.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QTimer>

namespace scribvane {

FadingNote::FadingNote(QWidget* parent)
    : QLabel(parent), opacity_(new QGraphicsOpacityEffect(this)),
      fade_(new QPropertyAnimation(opacity_, "opacity", this)), hold_(new QTimer(this)) {
    setGraphicsEffect(opacity_);
    setTextFormat(Qt::PlainText);
    // Screen readers announce it like a status line.
    setAccessibleName(QStringLiteral("Status"));
    hold_->setSingleShot(true);
    hold_->setInterval(kShownMs);
    fade_->setDuration(kFadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(hold_, &QTimer::timeout, fade_, [this] { fade_->start(); });
    connect(fade_, &QPropertyAnimation::finished, this, &QWidget::hide);
    hide();
}

void FadingNote::ShowNote(const QString& text) {
    fade_->stop();
    opacity_->setOpacity(1.0);
    setText(text);
    setToolTip(text);
    show();
    hold_->start();
}

} // namespace scribvane
