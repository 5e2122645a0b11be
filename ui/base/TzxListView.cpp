#include "ui/base/TzxListView.h"

TzxListView::TzxListView(QWidget* parent) : QListWidget(parent) {
    setViewMode(QListView::IconMode);
    setMovement(QListView::Free);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(48, 48));
    setWrapping(false);
    setResizeMode(QListView::Fixed);
}

QListWidgetItem* TzxListView::AddAction(const QString& caption, const QIcon& icon,
                                        const QString& actionName) {
    auto* item = new QListWidgetItem(icon, caption, this);
    item->setData(Qt::UserRole, actionName);
    return item;
}

QString TzxListView::ActionName(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QPoint TzxListView::ItemPosition(QListWidgetItem* item) const {
    return rectForIndex(indexFromItem(item)).topLeft();
}

void TzxListView::SetItemPosition(QListWidgetItem* item, const QPoint& position) {
    setPositionForIndex(position, indexFromItem(item));
}

void TzxListView::AlignTops() {
    const QList<QListWidgetItem*> items = selectedItems();
    if (items.size() < 2) return;
    const int top = ItemPosition(items.first()).y();
    for (QListWidgetItem* item : items)
        SetItemPosition(item, QPoint(ItemPosition(item).x(), top));
}

void TzxListView::AlignLefts() {
    const QList<QListWidgetItem*> items = selectedItems();
    if (items.size() < 2) return;
    const int left = ItemPosition(items.first()).x();
    for (QListWidgetItem* item : items)
        SetItemPosition(item, QPoint(left, ItemPosition(item).y()));
}
