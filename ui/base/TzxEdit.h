#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QVariant>
#include <stdexcept>

// A text that cannot be read as the value asked for ("\"abc\" 不是有效的数字."). The
// application's error handler shows it in an error box.
class TConvertError : public std::runtime_error {
public:
    explicit TConvertError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

enum TEditType { etFree, etNumber, etInteger };

// The edit field of every window: coloured while focused (aqua, yellow when read-only), Enter and
// Shift+Enter move the focus, number and integer fields refuse other keys, and the value is read
// and written as number, date or variant in the system's formats.
class TzxEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TzxEdit(QWidget* parent = nullptr);

    Qt::Alignment Alignment() const { return alignment(); }
    void SetAlignment(Qt::Alignment a) { setAlignment(a); }
    QColor ColorOnEnter = QColor(0, 255, 255);
    QColor ColorOnReadOnly = QColor(255, 255, 0);
    bool TabOnEnter = true;
    TEditType EditType = etFree;

    // Empty reads as 0 (numbers) or null (dates, variant); other unreadable text raises
    // TConvertError with its message.
    double AsDouble() const;
    int AsInteger() const;
    QVariant AsDate() const;
    QVariant AsDateTime() const;
    QVariant AsVariant() const;
    // 0 and null clear the field.
    void SetAsDouble(double value);
    void SetAsInteger(int value);
    void SetAsDate(const QVariant& value);
    void SetAsDateTime(const QVariant& value);
    void SetAsVariant(const QVariant& value);

    // Whether a typed character is accepted by the edit type for the current text.
    static bool AcceptsChar(TEditType type, const QString& text, QChar c);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPalette normal_;
};
