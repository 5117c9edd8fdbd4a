// A link label of the links panel: underlined text with a hand cursor that holds a target
// address and reports clicks. What a click opens is decided by the window.
#pragma once

#include <QLabel>

namespace scribvane {

class LinkLabel : public QLabel {
    Q_OBJECT
    // Declared so that code that only knows QLabel can set the target by property name.
    Q_PROPERTY(QString url READ url WRITE setUrl)

public:
    explicit LinkLabel(const QString& caption, const QString& url, QWidget* parent = nullptr);

    QString url() const { return url_; }
    void setUrl(const QString& url);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString url_;
};

} // namespace scribvane
