// The offer's deadline as the user picks it: a check box that turns it on, a date and time in
// this computer's zone, and the zone it is stored with. The text it gives is the stored form,
// ISO 8601 with the zone ("2026-12-31T23:59:00+01:00"), or empty while it is off. A stored
// text it cannot show (a hand-edited one) is kept as it is until the user picks another.
#pragma once

#include <QWidget>

class QCheckBox;
class QDateTimeEdit;
class QLabel;

namespace scribvane {

class DeadlineEdit final : public QWidget {
    Q_OBJECT

public:
    explicit DeadlineEdit(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    // Shows a stored text without telling anyone: loading is not an edit.
    void SetText(const QString& text);

Q_SIGNALS:
    void textEdited(const QString& text);

private:
    void Picked();
    void ShowZone();

    QCheckBox* on_;
    QDateTimeEdit* moment_;
    QLabel* zone_;
    QString text_;
    bool showing_ = false;
};

} // namespace scribvane
