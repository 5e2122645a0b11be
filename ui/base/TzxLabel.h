#pragma once

#include <QLabel>
#include <QVariant>

// A label that shows dates (short date format) and numbers and reads them back; null when the
// text is not one.
class TzxLabel : public QLabel {
    Q_OBJECT
public:
    explicit TzxLabel(QWidget* parent = nullptr);
    void SetAsDate(const QVariant& date);
    void SetAsFloat(double value);
    QVariant AsDate() const;
    QVariant AsFloat() const;
};
