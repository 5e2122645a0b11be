#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class TDataSet;
class TField;

// A typed text put between apostrophes in a statement: its apostrophes doubled, so no criterion
// can change the statement.
QString SqlEscape(const QString& text);
// The text as an SQL literal: 'text' with apostrophes doubled.
QString SqlQuote(const QString& text);
// Fixed-point with two decimals and "." as decimal point (the %f of the criteria formats).
QString SqlFloat(double value);

// Builds the condition of a filtered SELECT. Each criterion's format begins with "%s and ", the
// %s taking the condition so far; when the condition started empty, the first " and " becomes
// " where ". Values: %d integer, %f two decimals, %s text (escaped) or date literal.
class TSqlWhere {
public:
    // The fixed start, such as " where (not (l.BookId is null)) ", or empty.
    explicit TSqlWhere(const QString& start = QString());

    // Appends the format with its value when the value is present.
    void Integer(const QString& format, const QVariant& value);
    void Float(const QString& format, const QVariant& value);
    void Text(const QString& format, const QString& value);
    // The date literal of the value's date part, for every %s after the first.
    void Date(const QString& format, const QVariant& value);
    // Appends a format whose only %s is the condition so far (a fixed condition).
    void Fixed(const QString& format);
    // Fills the format with the condition and the given texts, in order, with no presence test.
    void Raw(const QString& format, const QStringList& values);

    // Field-driven forms: present when the field is not null (texts: not empty).
    void Integer(const QString& format, const TField* field);
    void Float(const QString& format, const TField* field);
    void Text(const QString& format, const TField* field);
    void Date(const QString& format, const TField* field);

    QString Condition() const;

private:
    QString cond_;
    bool startedEmpty_;
};

// Printf-like filling of %s, %d, %f and %% with already-formatted texts, in order.
QString FormatSql(const QString& format, const QStringList& values);
