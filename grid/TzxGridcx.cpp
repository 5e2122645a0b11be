#include "grid/TzxGridcx.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QLabel>

#include "core/TMessages.h"
#include "grid/TDataSetModel.h"
#include "grid/TDataSource.h"

namespace {
constexpr int kIndicatorWidth = 30;
}

TzxGridcx::TzxGridcx(QWidget* parent) : TGridView(parent), dataSource_(new TDataSource(this)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    SetRowHeight(fontMetrics().height() + 6);
    horizontalHeader()->setMinimumHeight(fontMetrics().height() + 8);
    Model()->SetCreamRows(true);

    verticalHeader()->setMinimumWidth(kIndicatorWidth);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->hide();
    setCornerButtonEnabled(false);
    corner_ = new QLabel(QStringLiteral("NO"), this);
    corner_->setAlignment(Qt::AlignCenter);
    corner_->hide();

    connect(dataSource_, &TDataSource::DataSetChanged, this, [this](TDataSet* ds) { BindDataSet(ds); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (OnCellClick) OnCellClick(Model()->ColumnFieldObject(index.column()));
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (OnDblClick) OnDblClick(this);
        if (OnCellDblClick) OnCellDblClick(Model()->ColumnFieldObject(currentIndex().column()));
    });
    connect(itemDelegate(), &QAbstractItemDelegate::commitData, this, [this] {
        if (OnEditChanged) OnEditChanged(this);
    });
    connect(Model(), &TDataSetModel::CellEdited, this, [this] {
        if (OnEditValueChanged) OnEditValueChanged(this);
    });
}

TzxGridcx::~TzxGridcx() = default;

TDataSet* TzxGridcx::DataSet() const {
    return dataSource_->DataSet();
}
void TzxGridcx::SetDataSet(TDataSet* dataSet) {
    dataSource_->SetDataSet(dataSet);
}

void TzxGridcx::AddFooterSum(TField* field) {
    TGridView::AddFooterSum(field);
    SetFooterVisible(true);
}

int TzxGridcx::SelectedCount() const {
    if (!selectionModel()) return 0;
    QSet<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
        rows.insert(i.row());
    return int(rows.size());
}

int TzxGridcx::RowCount() const {
    return Model()->rowCount();
}

void TzxGridcx::SetIndicatorVisible(bool on) {
    verticalHeader()->setVisible(on);
    corner_->setVisible(on);
    updateGeometries();
}

bool TzxGridcx::IndicatorVisible() const {
    return !verticalHeader()->isHidden();
}
QString TzxGridcx::IndicatorTitle() const {
    return corner_->text();
}

void TzxGridcx::updateGeometries() {
    TGridView::updateGeometries();
    if (!corner_->isHidden())
        corner_->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(),
                             horizontalHeader()->height());
}

bool TzxGridcx::CheckDataSet() {
    if (!DataSet()) {
        ShowInfo(QStringLiteral("系统错误: 没有为TzxGridcx.DataSource指定DataSet对象,请与作者联系!"));
        return false;
    }
    if (!DataSet()->Active()) {
        ShowInfo(QStringLiteral("系统提示: 请先打开数据再操作!"));
        return false;
    }
    return true;
}

QString TzxGridcx::ExportDoneText() const {
    const int count = DataSet() && DataSet()->Active() ? DataSet()->RecordCount() : 0;
    return QStringLiteral("\r\n导出成功, 共 %1 条记录,是否现在就打开?    ").arg(count);
}

void TzxGridcx::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    TGridView::currentChanged(current, previous);
    if (current.row() != previous.row() && OnSelectChanged) OnSelectChanged(current.isValid());
    if (current.column() != previous.column() && OnFocusedItemChanged) OnFocusedItemChanged(this);
}
