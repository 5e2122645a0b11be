#include "grid/TDBGridcx.h"

#include <QLayout>
#include <QVBoxLayout>

TDBGridcx::TDBGridcx(QWidget* parent) : TzxGridcx(parent) {
    SetIndicatorVisible(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

TDBGridcx* TDBGridcx::CreateInPanel(QWidget* owner, int layoutId, TDataSet* dataSet, QWidget* panel) {
    QWidget* host = panel ? panel : owner;
    auto* grid = new TDBGridcx(host);
    if (host) {
        QLayout* layout = host->layout();
        if (!layout) {
            layout = new QVBoxLayout(host);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(grid);
    }
    grid->SetDataSet(dataSet);
    grid->SetTag(layoutId);
    grid->LoadLayout(layoutId);
    return grid;
}
