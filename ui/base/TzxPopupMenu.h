#pragma once

#include <QMenu>
#include <functional>

// The pop-up menu the grids build at run time: entries added at the end or at the top,
// separators, and removing all entries.
class TzxPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TzxPopupMenu(QWidget* parent = nullptr);
    QAction* AddItem(const QString& caption, std::function<void()> handler);
    QAction* AddItemTop(const QString& caption, std::function<void()> handler);
    QAction* AddSeparator();
    void ClearItems();
};
