#pragma once

#include "grid/TzxGridcx.h"

// The table-view grid every window creates: the row indicator is shown and the focused row is
// highlighted whole.
class TDBGridcx : public TzxGridcx {
    Q_OBJECT
public:
    explicit TDBGridcx(QWidget* parent = nullptr);

    // A grid filling the panel, showing the dataset, with the layout id as its tag and that
    // layout loaded. The grid belongs to the panel (and so to the owner window).
    static TDBGridcx* CreateInPanel(QWidget* owner, int layoutId, TDataSet* dataSet, QWidget* panel);
};
