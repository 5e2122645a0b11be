#include "ui/base/TzxFocus.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

void MoveFocusFrom(QWidget* control, bool backwards) {
    QWidget* w = control->window();
    auto step = [backwards](QWidget* x) {
        return backwards ? x->previousInFocusChain() : x->nextInFocusChain();
    };
    QWidget* target = step(control);
    // Skip the control's own children (a drop-down's editor) and what cannot take the focus.
    while (target && target != control &&
           (control->isAncestorOf(target) || !(target->focusPolicy() & Qt::TabFocus) ||
            !target->isVisibleTo(w) || !target->isEnabled()))
        target = step(target);
    if (target && target != control)
        target->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void SetBaseColor(QWidget* control, const QColor& color) {
    QPalette p = control->palette();
    p.setColor(QPalette::Base, color);
    control->setPalette(p);
}
