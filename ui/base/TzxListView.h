#pragma once

#include <QListWidget>

class QAction;

// A list of large icons at free positions (the desktop): icons added from actions remember the
// action's name; the selected icons can be aligned on the first selected one.
class TzxListView : public QListWidget {
    Q_OBJECT
public:
    explicit TzxListView(QWidget* parent = nullptr);

    QListWidgetItem* AddAction(const QString& caption, const QIcon& icon, const QString& actionName);
    static QString ActionName(const QListWidgetItem* item);
    QPoint ItemPosition(QListWidgetItem* item) const;
    void SetItemPosition(QListWidgetItem* item, const QPoint& position);
    // With two or more icons selected, give them the top (left) of the first selected icon.
    void AlignTops();
    void AlignLefts();
};
