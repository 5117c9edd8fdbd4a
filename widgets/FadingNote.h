// A short note that says what just happened (where the configuration was saved, that unsaved
// work was restored) without a message box to click away, and fades after a few seconds.
#pragma once

#include <QLabel>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

namespace scribvane {

class FadingNote : public QLabel {
    Q_OBJECT

public:
    static constexpr int kShownMs = 4000;
    static constexpr int kFadeMs = 800;

    explicit FadingNote(QWidget* parent = nullptr);

    // Shows the text at once, replacing a note still shown, and starts its time again.
    void ShowNote(const QString& text);

private:
    QGraphicsOpacityEffect* opacity_;
    QPropertyAnimation* fade_;
    QTimer* hold_;
};

} // namespace scribvane
