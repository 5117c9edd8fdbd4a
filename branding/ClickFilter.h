// Makes a plain widget clickable: the banner pictures are labels that only show a picture,
// yet a left click on them must run the window's click handler.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace scribvane {

class ClickFilter : public QObject {
public:
    // Watches widget (and is owned by it); a left button released over it runs action.
    static void Install(QWidget* widget, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ClickFilter(QWidget* widget, std::function<void()> action);

    QWidget* widget_;
    std::function<void()> action_;
};

} // namespace scribvane
