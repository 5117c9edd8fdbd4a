// The offer deadline's control; see DeadlineEdit.h.
#include "widgets/DeadlineEdit.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimeZone>

namespace scribvane {
namespace {

// "UTC+01:00" for the zone of a moment.
QString ZoneName(const QDateTime& moment) {
    const int offset = moment.offsetFromUtc() / 60;
    const int magnitude = offset < 0 ? -offset : offset;
    return QStringLiteral("UTC%1%2:%3")
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

DeadlineEdit::DeadlineEdit(QWidget* parent)
    : QWidget(parent), on_(new QCheckBox(QStringLiteral("Ends on"), this)),
      moment_(new QDateTimeEdit(this)), zone_(new QLabel(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(on_);
    row->addWidget(moment_);
    row->addWidget(zone_);
    row->addStretch(1);
    on_->setAccessibleName(QStringLiteral("The offer ends"));
    moment_->setObjectName(QStringLiteral("dteOfferEndsMoment"));
    moment_->setAccessibleName(QStringLiteral("Offer ends at"));
    moment_->setCalendarPopup(true);
    moment_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    moment_->setTimeSpec(Qt::LocalTime);
    // A new deadline starts a week from now, at the end of that day.
    moment_->setDateTime(QDateTime(QDate::currentDate().addDays(7), QTime(23, 59)));
    moment_->setEnabled(false);
    setFocusProxy(on_);
    setToolTip(QStringLiteral("One moment for every visitor: the page counts down to it and then "
                              "says the offer has ended."));
    ShowZone();
    connect(on_, &QCheckBox::toggled, this, [this](bool checked) {
        moment_->setEnabled(checked);
        Picked();
    });
    connect(moment_, &QDateTimeEdit::dateTimeChanged, this, [this] {
        ShowZone();
        Picked();
    });
}

void DeadlineEdit::SetText(const QString& text) {
    showing_ = true;
    text_ = text;
    const QDateTime stored = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    on_->setChecked(!text.trimmed().isEmpty());
    if (stored.isValid()) {
        moment_->setDateTime(stored.toLocalTime());
    }
    moment_->setEnabled(on_->isChecked());
    ShowZone();
    showing_ = false;
}

void DeadlineEdit::Picked() {
    if (showing_) {
        return;
    }
    if (!on_->isChecked()) {
        text_.clear();
    } else {
        const QDateTime local = moment_->dateTime();
        text_ = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
    }
    Q_EMIT textEdited(text_);
}

void DeadlineEdit::ShowZone() {
    zone_->setText(ZoneName(moment_->dateTime()));
}

} // namespace scribvane
