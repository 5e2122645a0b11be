#include "tests/ui/ModalScript.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace {
// The newest script answers; an older one still alive waits until the newer is gone.
ModalScript* gCurrent = nullptr;
}  // namespace

ModalScript::ModalScript(std::initializer_list<Step> steps) : steps_(steps), previous_(gCurrent) {
    gCurrent = this;
    qApp->installEventFilter(this);
}

ModalScript::~ModalScript() {
    qApp->removeEventFilter(this);
    gCurrent = previous_;
}

bool ModalScript::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && gCurrent == this) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow() && dialog->windowModality() != Qt::NonModal) {
            shown << dialog->windowTitle();
            Step step = Reject();
            if (!steps_.empty()) {
                step = steps_.front();
                steps_.pop_front();
            }
            QPointer<QDialog> target(dialog);
            QTimer::singleShot(0, dialog, [step, target] {
                if (target) step(target);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

ModalScript::Step Reject() {
    return [](QDialog* d) { d->reject(); };
}
