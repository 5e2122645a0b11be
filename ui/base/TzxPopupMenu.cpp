#include "ui/base/TzxPopupMenu.h"

TzxPopupMenu::TzxPopupMenu(QWidget* parent) : QMenu(parent) {}

QAction* TzxPopupMenu::AddItem(const QString& caption, std::function<void()> handler) {
    QAction* a = addAction(caption);
    if (handler) connect(a, &QAction::triggered, this, [h = std::move(handler)] { h(); });
    return a;
}

QAction* TzxPopupMenu::AddItemTop(const QString& caption, std::function<void()> handler) {
    auto* a = new QAction(caption, this);
    if (handler) connect(a, &QAction::triggered, this, [h = std::move(handler)] { h(); });
    const QList<QAction*> all = actions();
    insertAction(all.isEmpty() ? nullptr : all.first(), a);
    return a;
}

QAction* TzxPopupMenu::AddSeparator() {
    return addSeparator();
}

void TzxPopupMenu::ClearItems() {
    clear();
}
