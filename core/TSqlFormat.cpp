#include "core/TSqlFormat.h"

#include "core/TDataSet.h"
#include "core/TDatabase.h"

QString SqlEscape(const QString& text) {
    QString s = text;
    s.replace(u'\'', QStringLiteral("''"));
    return s;
}

QString SqlQuote(const QString& text) {
    return u'\'' + SqlEscape(text) + u'\'';
}

QString SqlFloat(double value) {
    return QString::number(value, 'f', 2);
}

QString FormatSql(const QString& format, const QStringList& values) {
    QString out;
    out.reserve(format.size() + 64);
    int next = 0;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'%' && i + 1 < format.size()) {
            const QChar t = format[i + 1];
            if (t == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (t == u's' || t == u'd' || t == u'f') {
                out += next < values.size() ? values[next] : QString();
                ++next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

TSqlWhere::TSqlWhere(const QString& start) : cond_(start), startedEmpty_(start.isEmpty()) {}

void TSqlWhere::Raw(const QString& format, const QStringList& values) {
    cond_ = FormatSql(format, QStringList{cond_} + values);
}

void TSqlWhere::Fixed(const QString& format) {
    Raw(format, {});
}

void TSqlWhere::Integer(const QString& format, const QVariant& value) {
    if (value.isNull() || !value.isValid()) return;
    Raw(format, {QString::number(value.toLongLong())});
}

void TSqlWhere::Float(const QString& format, const QVariant& value) {
    if (value.isNull() || !value.isValid()) return;
    Raw(format, {SqlFloat(value.toDouble())});
}

void TSqlWhere::Text(const QString& format, const QString& value) {
    if (value.isEmpty()) return;
    Raw(format, {SqlEscape(value)});
}

void TSqlWhere::Date(const QString& format, const QVariant& value) {
    if (value.isNull() || !value.isValid()) return;
    const QDateTime dt =
        value.typeId() == QMetaType::QDate ? QDateTime(value.toDate(), QTime(0, 0)) : value.toDateTime();
    const QString literal = gDatabase->DateLiteral(dt);
    // Formats such as "(l.LoanDate=%s or l.ReturnDate=%s or l.RenewDate=%s)" take the date each time.
    const int count = int(format.count(QStringLiteral("%s"))) - 1;
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << literal;
    Raw(format, values);
}

void TSqlWhere::Integer(const QString& format, const TField* field) {
    if (!field->IsNull()) Integer(format, QVariant(field->AsLargeInt()));
}
void TSqlWhere::Float(const QString& format, const TField* field) {
    if (!field->IsNull()) Float(format, QVariant(field->AsFloat()));
}
void TSqlWhere::Text(const QString& format, const TField* field) {
    Text(format, field->AsString());
}
void TSqlWhere::Date(const QString& format, const TField* field) {
    if (!field->IsNull()) Date(format, QVariant(field->AsDateTime()));
}

QString TSqlWhere::Condition() const {
    if (!startedEmpty_) return cond_;
    QString c = cond_;
    const int at = c.indexOf(QStringLiteral(" and "));
    if (at >= 0) c.replace(at, 5, QStringLiteral(" where "));
    return c;
}
