#include "ui/base/TzxEdit.h"

#include <QKeyEvent>

#include "ui/base/TzxFocus.h"

namespace {

// The process-wide formats: "yyyy-mm-dd" and "yyyy-mm-dd hh:nn:ss".
const QString kDate = QStringLiteral("yyyy-MM-dd");
const QString kDateTime = QStringLiteral("yyyy-MM-dd hh:mm:ss");

QDateTime parseDateTime(const QString& text) {
    const QString t = text.trimmed();
    for (const QString& f : {kDateTime, QStringLiteral("yyyy-MM-dd hh:mm"), QStringLiteral("yyyy-M-d h:m:s"),
                             QStringLiteral("yyyy-M-d h:m")}) {
        const QDateTime dt = QDateTime::fromString(t, f);
        if (dt.isValid()) return dt;
    }
    for (const QString& f : {kDate, QStringLiteral("yyyy-M-d")}) {
        const QDate d = QDate::fromString(t, f);
        if (d.isValid()) return QDateTime(d, QTime(0, 0));
    }
    return {};
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

}  // namespace

TzxEdit::TzxEdit(QWidget* parent) : QLineEdit(parent) {}

bool TzxEdit::AcceptsChar(TEditType type, const QString& text, QChar c) {
    switch (type) {
        case etFree:
            return true;
        case etInteger:
            return c.isDigit();
        case etNumber:
            if (c == u'.') return !text.isEmpty() && !text.contains(u'.');
            if (c == u'0') return text.contains(u'.') || !text.startsWith(u'0');
            return c.isDigit();
    }
    return true;
}

void TzxEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && TabOnEnter && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        MoveFocusFrom(this, event->modifiers() & Qt::ShiftModifier);
        return;
    }
    // Only typed characters are filtered; editing and navigation keys and shortcuts pass.
    const QString typed = event->text();
    if (EditType != etFree && typed.size() == 1 && typed[0].isPrint() &&
        !(event->modifiers() & Qt::ControlModifier) && !AcceptsChar(EditType, text(), typed[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TzxEdit::focusInEvent(QFocusEvent* event) {
    normal_ = palette();
    QPalette p = normal_;
    p.setColor(QPalette::Base, isReadOnly() ? ColorOnReadOnly : ColorOnEnter);
    setPalette(p);
    QLineEdit::focusInEvent(event);
}

void TzxEdit::focusOutEvent(QFocusEvent* event) {
    setPalette(normal_);
    QLineEdit::focusOutEvent(event);
}

double TzxEdit::AsDouble() const {
    const QString t = text().trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) throw TConvertError(QStringLiteral("\"%1\" 不是有效的数字.").arg(text()));
    return v;
}

int TzxEdit::AsInteger() const {
    const QString t = text().trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok) throw TConvertError(QStringLiteral("\"%1\" 不是有效的整数.").arg(text()));
    return v;
}

QVariant TzxEdit::AsDate() const {
    const QVariant dt = AsDateTime();
    return dt.isNull() ? QVariant() : QVariant(dt.toDateTime().date());
}

QVariant TzxEdit::AsDateTime() const {
    if (text().trimmed().isEmpty()) return {};
    const QDateTime dt = parseDateTime(text());
    if (!dt.isValid()) throw TConvertError(QStringLiteral("\"%1\" 不是有效的日期.").arg(text()));
    return dt;
}

QVariant TzxEdit::AsVariant() const {
    if (text().isEmpty()) return {};
    if (EditType == etNumber) return AsDouble();
    if (EditType == etInteger) return AsInteger();
    return text();
}

void TzxEdit::SetAsDouble(double value) {
    setText(value == 0 ? QString() : numberText(value));
}
void TzxEdit::SetAsInteger(int value) {
    setText(value == 0 ? QString() : QString::number(value));
}

void TzxEdit::SetAsDate(const QVariant& value) {
    setText(value.isNull() || !value.isValid() ? QString() : value.toDate().toString(kDate));
}

void TzxEdit::SetAsDateTime(const QVariant& value) {
    setText(value.isNull() || !value.isValid() ? QString() : value.toDateTime().toString(kDateTime));
}

void TzxEdit::SetAsVariant(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        clear();
        return;
    }
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            SetAsDouble(value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
            SetAsInteger(value.toInt());
            break;
        case QMetaType::QDate:
            SetAsDate(value);
            break;
        case QMetaType::QDateTime:
            SetAsDateTime(value);
            break;
        default:
            setText(value.toString());
    }
}
