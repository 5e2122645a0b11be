#pragma once

#include <vector>
#include "ui/base/TaFrm.h"

class QTreeWidget;

// One grid column in the column choice: its index in the grid, its title, its visibility.
struct RColItem {
    int Index = 0;
    QString Caption;
    bool Visible = true;
};
using RColItems = std::vector<RColItem>;

// The column choice "列选择": one row per grid column in the grid's order, "√" on the visible ones;
// a click toggles the mark. OK writes the marks back into the entries.
class TxVisibleFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TxVisibleFrm(const RColItems& items, QWidget* parent = nullptr);

    // The entries; after OK with the visibility of each row's mark.
    const RColItems& Items() const { return items_; }
    int RowCount() const;
    bool RowMarked(int row) const;
    // What a click on the row does.
    void ToggleRow(int row);

public slots:
    void accept() override;

private:
    RColItems items_;
    QTreeWidget* list_;
};
