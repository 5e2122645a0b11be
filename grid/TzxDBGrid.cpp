#include "grid/TzxDBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "core/TMessages.h"
#include "grid/TDataSetModel.h"
#include "grid/TDataSource.h"
#include "grid/TGridUi.h"

TzxDBGrid::TzxDBGrid(QWidget* parent) : TGridView(parent), dataSource_(nullptr) {
    setFrameShape(QFrame::StyledPanel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    horizontalHeader()->setMinimumHeight(20);
    SetRowHeight(qMax(16, fontMetrics().height() + 4));
    verticalHeader()->hide();
    SetDataSource(new TDataSource(this));
}

TzxDBGrid::~TzxDBGrid() = default;

void TzxDBGrid::SetDataSource(TDataSource* dataSource) {
    disconnect(sourceConn_);
    dataSource_ = dataSource;
    if (dataSource) {
        sourceConn_ = connect(dataSource, &TDataSource::DataSetChanged, this,
                              [this](TDataSet* ds) { BindDataSet(ds); });
        BindDataSet(dataSource->DataSet());
    } else {
        BindDataSet(nullptr);
    }
}

void TzxDBGrid::SetLayoutId(int id) {
    layoutId_ = id;
    LoadLayout(id);
}

void TzxDBGrid::LoadLayout(int id) {
    LoadLayoutText(id);
}

bool TzxDBGrid::CheckDataSet() {
    if (!dataSource_) {
        ShowInfo(QStringLiteral("系统错误: 没有为DBGrid指定DataSource对象,请与作者联系!"));
        return false;
    }
    if (!dataSource_->DataSet()) {
        ShowInfo(QStringLiteral("系统错误: 没有为DBGrid.DataSource指定DataSet对象,请与作者联系!"));
        return false;
    }
    if (!dataSource_->DataSet()->Active()) {
        ShowInfo(QStringLiteral("系统提示: 请先打开数据再操作!"));
        return false;
    }
    return true;
}

// Left and Right go to the nearest visible column on that side (nothing happens at the edge).
void TzxDBGrid::moveToColumn(int step) {
    const QModelIndex cur = currentIndex();
    if (!cur.isValid()) return;
    const QHeaderView* h = horizontalHeader();
    for (int v = h->visualIndex(cur.column()) + step; v >= 0 && v < Model()->ColumnCount(); v += step) {
        const int col = h->logicalIndex(v);
        if (h->isSectionHidden(col)) continue;
        setCurrentIndex(Model()->index(cur.row(), col));
        return;
    }
}

void TzxDBGrid::keyPressEvent(QKeyEvent* event) {
    TDataSet* ds = BoundDataSet();
    switch (event->key()) {
        case Qt::Key_Left:
            moveToColumn(-1);
            break;
        case Qt::Key_Right:
            moveToColumn(1);
            break;
        case Qt::Key_Up:
            if (ds && ds->Active()) gridui::Guarded([&] { ds->Prior(); });
            break;
        case Qt::Key_Down:
            if (ds && ds->Active()) gridui::Guarded([&] { ds->Next(); });
            break;
        default:
            TGridView::keyPressEvent(event);
            break;
    }
    if (OnKeyDown) OnKeyDown(event);
}
