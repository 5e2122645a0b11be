#include "ui/base/TzxDateTimePicker.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>

#include "ui/base/TzxFocus.h"

TzxDateTimePicker::TzxDateTimePicker(QWidget* parent)
    : QWidget(parent),
      check_(new QCheckBox(this)),
      edit_(new QDateTimeEdit(QDateTime::currentDateTime(), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(check_);
    layout->addWidget(edit_, 1);
    check_->setVisible(false);
    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit_->setCalendarPopup(true);
    edit_->installEventFilter(this);
    setFocusProxy(edit_);
    SetBaseColor(edit_, Qt::white);
    connect(check_, &QCheckBox::toggled, this, &TzxDateTimePicker::Changed);
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, &TzxDateTimePicker::Changed);
}

void TzxDateTimePicker::SetShowCheckbox(bool show) {
    showCheckbox_ = show;
    check_->setVisible(show);
}

bool TzxDateTimePicker::Checked() const {
    return check_->isChecked();
}
void TzxDateTimePicker::SetChecked(bool checked) {
    check_->setChecked(checked);
}

QVariant TzxDateTimePicker::AsDateTime() const {
    if (showCheckbox_ && !check_->isChecked()) return {};
    return edit_->dateTime();
}

QVariant TzxDateTimePicker::AsDate() const {
    const QVariant v = AsDateTime();
    return v.isNull() ? QVariant() : QVariant(v.toDateTime().date());
}

QVariant TzxDateTimePicker::AsTime() const {
    const QVariant v = AsDateTime();
    return v.isNull() ? QVariant() : QVariant(v.toDateTime().time());
}

void TzxDateTimePicker::SetAsDateTime(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        edit_->setDateTime(QDateTime(QDate::currentDate(), edit_->time()));
        check_->setChecked(false);
        return;
    }
    edit_->setDateTime(value.toDateTime());
    check_->setChecked(true);
}

void TzxDateTimePicker::SetAsDate(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        SetAsDateTime(QVariant());
        return;
    }
    SetAsDateTime(QDateTime(value.toDate(), QTime(0, 0)));
}

bool TzxDateTimePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::FocusIn) SetBaseColor(edit_, QColor(0, 255, 255));
        if (event->type() == QEvent::FocusOut) SetBaseColor(edit_, Qt::white);
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !(key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
                MoveFocusFrom(edit_, key->modifiers() & Qt::ShiftModifier);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
