#include "ui/base/TzxMemo.h"

#include "ui/base/TzxFocus.h"

TzxMemo::TzxMemo(QWidget* parent) : QPlainTextEdit(parent) {
    SetBaseColor(this, Qt::white);
}

void TzxMemo::focusInEvent(QFocusEvent* event) {
    SetBaseColor(this, isReadOnly() ? QColor(255, 255, 0) : QColor(0, 255, 255));
    QPlainTextEdit::focusInEvent(event);
}

void TzxMemo::focusOutEvent(QFocusEvent* event) {
    SetBaseColor(this, Qt::white);
    QPlainTextEdit::focusOutEvent(event);
}
