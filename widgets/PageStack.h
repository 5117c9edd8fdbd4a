// The wizard's page control: a stack of pages that asks for the room of the page it shows,
// not of its largest page, so that only a page that does not fit scrolls.
#pragma once

#include <QStackedWidget>

namespace scribvane {

class PageStack : public QStackedWidget {
    Q_OBJECT

public:
    explicit PageStack(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
};

} // namespace scribvane
