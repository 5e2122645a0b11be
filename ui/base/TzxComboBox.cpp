#include "ui/base/TzxComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ui/base/TzxFocus.h"

TzxComboBox::TzxComboBox(QWidget* parent) : QComboBox(parent) {
    SetBaseColor(this, Qt::white);
}

void TzxComboBox::SetEditable(bool editable) {
    setEditable(editable);
    if (editable) {
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
    }
}

void TzxComboBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        MoveFocusFrom(this, event->modifiers() & Qt::ShiftModifier);
        return;
    }
    if (event->key() == Qt::Key_Delete && !isEditable()) {
        // currentIndexChanged reports the change.
        setCurrentIndex(-1);
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TzxComboBox::focusInEvent(QFocusEvent* event) {
    SetBaseColor(this, QColor(0, 255, 255));
    if (lineEdit()) SetBaseColor(lineEdit(), QColor(0, 255, 255));
    QComboBox::focusInEvent(event);
}

void TzxComboBox::focusOutEvent(QFocusEvent* event) {
    SetBaseColor(this, Qt::white);
    if (lineEdit()) SetBaseColor(lineEdit(), Qt::white);
    QComboBox::focusOutEvent(event);
}
