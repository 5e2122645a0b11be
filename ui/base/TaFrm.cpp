#include "ui/base/TaFrm.h"

#include <QCursor>
#include <QKeyEvent>
#include <QScreen>

#include "ui/base/THelpFrm.h"

TaFrm::TaFrm(QWidget* parent) : QDialog(parent) {}

QString TaFrm::HelpTopic() const {
    const QString name = objectName();
    return name.size() > 3 ? name.left(name.size() - 3) : QString();
}

void TaFrm::ShowHelpTopic(const QString& topic) {
    ::ShowHelpTopic(topic.isEmpty() ? HelpTopic() : topic);
}

QPoint TaFrm::PointerPlacement(const QPoint& pointer, const QSize& window, const QSize& screen) {
    int left = pointer.x() - window.width() / 2;
    if (left < 0) left = 20;
    left = qMin(left, screen.width() - window.width() - 20);
    int top = pointer.y() - window.height() / 2;
    if (top < 0) top = 20;
    if (top + window.height() > screen.height() - 50) top = screen.height() - window.height() - 50;
    return {left, top};
}

void TaFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelpTopic();
        return;
    }
    if (enterMovesFocus_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    QDialog::keyPressEvent(event);
}

void TaFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QScreen* screen = this->screen();
    if (!screen || position_ == poDesigned) return;
    const QRect area = screen->geometry();
    if (position_ == poScreenCenter) {
        move(area.center() - QPoint(width() / 2, height() / 2));
        return;
    }
    move(area.topLeft() + PointerPlacement(QCursor::pos() - area.topLeft(), size(), area.size()));
}
