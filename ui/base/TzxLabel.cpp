#include "ui/base/TzxLabel.h"

#include <QDate>

TzxLabel::TzxLabel(QWidget* parent) : QLabel(parent) {}

void TzxLabel::SetAsDate(const QVariant& date) {
    setText(date.isNull() || !date.isValid() ? QString()
                                             : date.toDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void TzxLabel::SetAsFloat(double value) {
    setText(QString::number(value, 'g', 15));
}

QVariant TzxLabel::AsDate() const {
    const QDate d = QDate::fromString(text().trimmed(), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? QVariant(d) : QVariant();
}

QVariant TzxLabel::AsFloat() const {
    bool ok = false;
    const double v = text().trimmed().toDouble(&ok);
    return ok ? QVariant(v) : QVariant();
}
