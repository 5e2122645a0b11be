#pragma once

#include "ui/base/TaFrm.h"

#include "grid/TSortText.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDataSet;

// The sort dialog "排序": one row per sortable field of the dataset (hidden ones too) with its
// direction; the row order is the priority of the sort.
class TSortFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TSortFrm(TDataSet* dataSet, QWidget* parent = nullptr);

    // "A DESC,B ASC" built from the rows with a direction, from the top.
    QString SortString() const;
    // Sets the directions and moves the named fields to the top, in the text's order.
    void SetSortString(const QString& text);
    // The same entries with field captions and "升序"/"降序".
    QString SortLabels() const;

    // Row access, for the grids and tests.
    int RowCount() const;
    QString RowField(int row) const;
    QString RowCaption(int row) const;
    QString RowDirection(int row) const;
    void SelectRow(int row);
    int SelectedRow() const;
    // What a double click on the row does: empty, 升序, 降序, empty again.
    void CycleRow(int row);
    // Moves a row to another position (as a drag by its first column does).
    void MoveRow(int from, int to);
    void MoveUp();
    void MoveDown();
    QPushButton* UpButton() const { return upBtn_; }
    QPushButton* DownButton() const { return downBtn_; }
    QTreeWidget* List() const { return list_; }

private:
    void setDirection(QTreeWidgetItem* item, sorttext::TSortDir dir);
    sorttext::TSortDir direction(const QTreeWidgetItem* item) const;
    void updateButtons();

    QTreeWidget* list_;
    QPushButton* upBtn_;
    QPushButton* downBtn_;
};
