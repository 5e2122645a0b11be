#include "ui/base/TWinFrm.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
QWidget* mainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow")) return w;
    return nullptr;
}
}  // namespace

TWinFrm::TWinFrm(QWidget* owner) : TaFrm(owner ? owner : mainWindow()) {
    // A window with an owner stays above it; minimise and maximise like any work window.
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

void TWinFrm::keyPressEvent(QKeyEvent* event) {
    // A work window is closed by its own commands, not by Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return;
    TaFrm::keyPressEvent(event);
}
