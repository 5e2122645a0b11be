#pragma once

#include <QDateTime>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QDateTimeEdit;

// The date field: a date (and time) with an optional tick box, unticked meaning no date. Created
// unticked with the current date and time; aqua while focused, white otherwise.
class TzxDateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit TzxDateTimePicker(QWidget* parent = nullptr);

    void SetShowCheckbox(bool show);
    bool ShowCheckbox() const { return showCheckbox_; }
    bool Checked() const;
    void SetChecked(bool checked);
    // Null while the tick box is shown and unticked.
    QVariant AsDate() const;
    QVariant AsTime() const;
    QVariant AsDateTime() const;
    // Null shows today and unticks.
    void SetAsDate(const QVariant& value);
    void SetAsDateTime(const QVariant& value);
    QDateTimeEdit* Editor() const { return edit_; }
    QCheckBox* CheckBox() const { return check_; }

signals:
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* check_;
    QDateTimeEdit* edit_;
    bool showCheckbox_ = false;
};
