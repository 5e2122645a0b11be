#include "grid/TGridView.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>

#include "core/TDataSet.h"
#include "core/TMessages.h"
#include "grid/TDataSetModel.h"
#include "grid/TGridLayout.h"
#include "grid/TGridUi.h"
#include "grid/TLayoutStore.h"
#include "grid/TSortFrm.h"
#include "grid/TxVisibleFrm.h"

#include "admin/TOperator.h"

using sorttext::TSortDir;
using sorttext::TSortEntry;

namespace {

QString gExportFolder;

// Sums as the footers show them: no decimals for integer fields, up to two otherwise.
QString formatSum(double sum, bool integer) {
    if (integer) return QString::number(qint64(std::llround(sum)));
    QString s = QString::number(sum, 'f', 2);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.')) s.chop(1);
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

}  // namespace

// The footer row under the cells: each summed column's sum, right-aligned under its column.
class TGridFooter : public QWidget {
public:
    explicit TGridFooter(TGridView* grid) : QWidget(grid), grid_(grid) {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Window);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, 0, width(), 0);
        p.setPen(palette().color(QPalette::WindowText));
        QHeaderView* h = grid_->horizontalHeader();
        const int offset = grid_->verticalHeader()->isVisible() ? grid_->verticalHeader()->width() : 0;
        for (const QString& name : grid_->footerFields_) {
            const int col = grid_->ColumnOfField(name);
            if (col < 0 || h->isSectionHidden(col)) continue;
            const QRect r(offset + h->sectionViewportPosition(col) + 2, 1, h->sectionSize(col) - 6,
                          height() - 1);
            p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, grid_->FooterText(name));
        }
    }

private:
    TGridView* grid_;
};

TGridView::TGridView(QWidget* parent) : QTableView(parent) {
    model_ = new TDataSetModel(this);
    setModel(model_);
    menu_ = new TGridMenu(this);
    footer_ = new TGridFooter(this);
    footer_->setObjectName(QStringLiteral("footer"));
    footer_->hide();

    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* h = horizontalHeader();
    h->setSectionsMovable(true);
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setDefaultAlignment(Qt::AlignCenter);
    h->setStretchLastSection(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);

    connect(h, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (size > 0 && col >= 0 && size_t(col) < widths_.size()) widths_[size_t(col)] = size;
        footer_->update();
    });
    connect(h, &QHeaderView::sectionMoved, footer_, qOverload<>(&QWidget::update));
    connect(h, &QHeaderView::sectionClicked, this,
            [this](int col) { gridui::Guarded([&] { TitleClick(col); }); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { invalidateFooter(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { invalidateFooter(); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { invalidateFooter(); });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { invalidateFooter(); });

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(viewport()->mapToGlobal(pos)); });

    menu_->AddItem(QStringLiteral("排序"), [this] { SortClick(); });
    menu_->AddSeparator();
    menu_->AddItem(QStringLiteral("列选择"), [this] { PickColumnsClick(); });
    menu_->AddItem(QStringLiteral("保存表格样式"), [this] { SaveLayoutClick(); });
    menu_->AddSeparator();
    menu_->AddItem(QStringLiteral("导出到Excel文档"), [this] { SaveToExcelClick(); });
    menu_->AddItem(QStringLiteral("导出到Html网页文件"), [this] { SaveToHtmlClick(); });
}

TGridView::~TGridView() = default;

TDataSet* TGridView::BoundDataSet() const {
    return dataSet_;
}

void TGridView::BindDataSet(TDataSet* dataSet) {
    if (dataSet_ == dataSet) return;
    disconnect(currentConn_);
    dataSet_ = dataSet;
    model_->SetDataSet(dataSet);
    if (dataSet)
        currentConn_ = connect(dataSet, &TDataSet::CurrentChanged, this, &TGridView::syncCurrentFromDataSet);
    marked_.clear();
    RebuildColumns(true);
    if (dataSet && dataSet->Active()) syncCurrentFromDataSet(dataSet->RecNo());
}

void TGridView::SetRowHeight(int pixels) {
    verticalHeader()->setMinimumSectionSize(qMin(pixels, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(pixels);
}

// ---------------------------------------------------------------- columns

void TGridView::RebuildColumns(bool visible) {
    TGridColumns cols;
    if (dataSet_) {
        const QFontMetrics fm(font());
        const int digit = fm.horizontalAdvance(u'0');
        for (int i = 0; i < dataSet_->FieldCount(); ++i) {
            const TField* f = dataSet_->Field(i);
            if (!f->Visible) continue;
            TGridColumn c;
            c.FieldName = f->FieldName();
            c.Caption = f->Caption();
            c.Width = qMax(f->DisplayWidth * digit, fm.horizontalAdvance(c.Caption)) + 8;
            c.Visible = visible;
            cols.push_back(c);
        }
    }
    SetColumns(cols);
}

TGridColumns TGridView::Columns() const {
    TGridColumns out;
    const QHeaderView* h = horizontalHeader();
    for (int v = 0; v < model_->ColumnCount(); ++v) {
        const int col = h->logicalIndex(v);
        TGridColumn c;
        c.FieldName = model_->ColumnField(col);
        c.Caption = model_->Caption(col);
        c.Width = widths_[size_t(col)];
        c.Visible = !h->isSectionHidden(col);
        out.push_back(c);
    }
    return out;
}

void TGridView::SetColumns(const TGridColumns& columns) {
    QStringList names, captions;
    for (const TGridColumn& c : columns) {
        names << c.FieldName;
        captions << c.Caption;
    }
    model_->SetColumns(names, captions);
    widths_.clear();
    QHeaderView* h = horizontalHeader();
    for (int i = 0; i < int(columns.size()); ++i) {
        // A reset model keeps no moved sections; make sure the visual order is the given one.
        if (h->visualIndex(i) != i) h->moveSection(h->visualIndex(i), i);
        widths_.push_back(columns[size_t(i)].Width);
        h->setSectionHidden(i, false);
        h->resizeSection(i, columns[size_t(i)].Width);
        h->setSectionHidden(i, !columns[size_t(i)].Visible);
    }
    for (const TSortEntry& e : marked_) {
        const int col = ColumnOfField(e.FieldName);
        if (col >= 0) model_->SetSortMark(col, e.Dir);
    }
    invalidateFooter();
    // New columns reset the view; the dataset's current row stays the highlighted one.
    if (dataSet_ && dataSet_->Active()) syncCurrentFromDataSet(dataSet_->RecNo());
}

int TGridView::ColumnOfField(const QString& fieldName) const {
    for (int i = 0; i < model_->ColumnCount(); ++i)
        if (model_->ColumnField(i) == fieldName) return i;
    return -1;
}

void TGridView::SetColumnVisible(int column, bool visible) {
    QHeaderView* h = horizontalHeader();
    if (column < 0 || column >= model_->ColumnCount()) return;
    if (visible && h->isSectionHidden(column)) {
        h->setSectionHidden(column, false);
        h->resizeSection(column, widths_[size_t(column)]);
    } else if (!visible) {
        h->setSectionHidden(column, true);
    }
    footer_->update();
}

QString TGridView::GetLayoutText() const {
    return gridlayout::LayoutText(Columns());
}

bool TGridView::ApplyLayoutText(const QString& text) {
    RebuildColumns(ShowUnnamedColumns(text));
    if (text.isEmpty()) return true;
    TGridColumns cols = Columns();
    const bool ok = gridlayout::ApplyLayoutText(cols, text);
    SetColumns(cols);
    return ok;
}

bool TGridView::LoadLayoutText(int id) {
    const QString text = layoutstore::Load(id);
    ApplyLayoutText(text);
    return !text.isEmpty();
}

bool TGridView::SaveLayout(int id) {
    return layoutstore::Save(id, GetLayoutText());
}

// ---------------------------------------------------------------- footer

void TGridView::SetFooterVisible(bool on) {
    if (footerOn_ == on) return;
    footerOn_ = on;
    footer_->setVisible(on);
    updateGeometries();
}

void TGridView::AddFooterSum(TField* field) {
    if (!field || footerFields_.contains(field->FieldName())) return;
    footerFields_ << field->FieldName();
    invalidateFooter();
}

void TGridView::invalidateFooter() {
    footerValid_ = false;
    footer_->update();
}

QString TGridView::FooterText(const QString& fieldName) const {
    if (!footerFields_.contains(fieldName)) return QString();
    if (!footerValid_) {
        footerCache_.clear();
        footerValid_ = true;
        if (dataSet_ && dataSet_->Active()) {
            const int rows = dataSet_->RecordCount();
            for (const QString& name : footerFields_) {
                const int f = dataSet_->FieldIndex(name);
                if (f < 0) continue;
                double sum = 0;
                for (int r = 0; r < rows; ++r)
                    sum += dataSet_->CellValue(r, f).toDouble();
                const TFieldKind k = dataSet_->Field(f)->Kind();
                footerCache_.insert(name,
                                    formatSum(sum, k == TFieldKind::Integer || k == TFieldKind::Boolean));
            }
        }
    }
    return footerCache_.value(fieldName);
}

// The footer lies over the bottom of the cells; the vertical range grows by its height so that
// the last row can still be scrolled above it.
void TGridView::updateGeometries() {
    QTableView::updateGeometries();
    if (!footerOn_) return;
    const int fh = fontMetrics().height() + 6;
    const QRect vg = viewport()->geometry();
    const int left = verticalHeader()->isVisible() ? verticalHeader()->geometry().left() : vg.left();
    footer_->setGeometry(left, vg.bottom() + 1 - fh, vg.right() + 1 - left, fh);
    footer_->raise();
    QScrollBar* bar = verticalScrollBar();
    const int total = verticalHeader()->length();
    bar->setRange(0, qMax(0, total - (viewport()->height() - fh)));
}

void TGridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (dx && footerOn_) footer_->update();
}

// ---------------------------------------------------------------- current row

void TGridView::syncCurrentFromDataSet(int row) {
    if (syncing_ || row < 0 || row >= model_->rowCount()) return;
    syncing_ = true;
    int col = currentIndex().isValid() ? currentIndex().column() : -1;
    if (col < 0 || horizontalHeader()->isSectionHidden(col)) {
        col = -1;
        for (int v = 0; v < model_->ColumnCount() && col < 0; ++v) {
            const int c = horizontalHeader()->logicalIndex(v);
            if (!horizontalHeader()->isSectionHidden(c)) col = c;
        }
    }
    if (col >= 0) {
        const QModelIndex idx = model_->index(row, col);
        selectionModel()->setCurrentIndex(
            idx, QItemSelectionModel::ClearAndSelect |
                     (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                        : QItemSelectionModel::NoUpdate));
    }
    syncing_ = false;
}

void TGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid() || !dataSet_ || !dataSet_->Active()) return;
    if (current.row() == dataSet_->RecNo()) return;
    syncing_ = true;
    gridui::Guarded([&] { dataSet_->SetRecNo(current.row()); });
    syncing_ = false;
}

// ---------------------------------------------------------------- title sorting

bool TGridView::TitleSortable(int column) const {
    const TField* f = model_->ColumnFieldObject(column);
    return f && !f->Calculated;
}

void TGridView::TitleClick(int column) {
    if (!dataSet_ || !dataSet_->Active() || !TitleSortable(column)) return;
    const QString name = model_->ColumnField(column);
    auto it = std::find_if(marked_.begin(), marked_.end(),
                           [&](const TSortEntry& e) { return e.FieldName == name; });
    if (it == marked_.end()) {
        marked_.push_back(TSortEntry{name, TSortDir::Asc});
        model_->SetSortMark(column, TSortDir::Asc);
    } else if (it->Dir == TSortDir::Asc) {
        it->Dir = TSortDir::Desc;
        model_->SetSortMark(column, TSortDir::Desc);
    } else {
        marked_.erase(it);
        model_->SetSortMark(column, TSortDir::None);
    }
    applyTitleSort();
}

void TGridView::applyTitleSort() {
    if (!dataSet_) return;
    dataSet_->SetSortText(sorttext::TitleSortText(marked_));
}

void TGridView::SyncSortMarks() {
    marked_.clear();
    for (int c = 0; c < model_->ColumnCount(); ++c)
        model_->SetSortMark(c, TSortDir::None);
    if (!dataSet_) return;
    for (const TSortEntry& e : sorttext::ParseSortString(dataSet_->SortText())) {
        const TField* f = dataSet_->FindField(e.FieldName);
        if (!f) continue;
        marked_.push_back(TSortEntry{f->FieldName(), e.Dir});
        const int col = ColumnOfField(f->FieldName());
        if (col >= 0) model_->SetSortMark(col, e.Dir);
    }
}

// ---------------------------------------------------------------- commands

void TGridView::PopupButtonClick(QWidget* control) {
    if (!control) return;
    menu_->popup(control->mapToGlobal(QPoint(0, control->height())));
}

void TGridView::SortClick() {
    gridui::Guarded([&] {
        if (!CheckDataSet()) return;
        TSortFrm dlg(dataSet_, this);
        dlg.SetSortString(dataSet_->SortText());
        if (gridui::ExecDialog(dlg) != QDialog::Accepted) return;
        dataSet_->SetSortText(dlg.SortString());
        SyncSortMarks();
    });
}

void TGridView::PickColumnsClick() {
    gridui::Guarded([&] {
        gridui::CheckRight(rtColumnChoice);
        RColItems items;
        const QHeaderView* h = horizontalHeader();
        for (int v = 0; v < model_->ColumnCount(); ++v) {
            const int col = h->logicalIndex(v);
            items.push_back(RColItem{col, model_->Caption(col), !h->isSectionHidden(col)});
        }
        TxVisibleFrm dlg(items, this);
        if (gridui::ExecDialog(dlg) != QDialog::Accepted) return;
        for (const RColItem& item : dlg.Items())
            SetColumnVisible(item.Index, item.Visible);
    });
}

void TGridView::SaveLayoutClick() {
    gridui::Guarded([&] {
        gridui::CheckRight(rtSaveLayout);
        if (SaveLayout(SaveLayoutId())) ShowInfo(QStringLiteral("列样式保存成功."));
    });
}

void TGridView::SaveToExcelClick() {
    gridui::Guarded([&] {
        gridui::CheckRight(rtExport);
        ExportToExcel();
    });
}

void TGridView::SaveToHtmlClick() {
    gridui::Guarded([&] {
        gridui::CheckRight(rtExport);
        ExportToHtml();
    });
}

// ---------------------------------------------------------------- exports

gridexport::TExportColumns TGridView::ExportColumns() const {
    gridexport::TExportColumns out;
    if (!dataSet_) return out;
    for (const TGridColumn& c : Columns()) {
        if (!c.Visible) continue;
        const int f = dataSet_->FieldIndex(c.FieldName);
        if (f >= 0) out.push_back(gridexport::TExportColumn{f, c.Caption, c.Width});
    }
    return out;
}

void TGridView::SetExportFolder(const QString& folder) {
    gExportFolder = folder;
}

QString TGridView::ExportFolder() {
    return gExportFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                                   : gExportFolder;
}

bool TGridView::ExportRows() const {
    return dataSet_ && dataSet_->Active();
}

QString TGridView::ExportDoneText() const {
    return QStringLiteral("\r\n导出成功,是否现在就打开?    ");
}

void TGridView::askToOpen(const QString& path) {
    if (MessageBox(TMsgKind::Question, TMsgButtons::OkCancel, ExportDoneText()) != TMsgResult::Ok) return;
    if (!gridui::OpenFile(path))
        ShowInfo(QStringLiteral("没有找到打开该文件的程序, 文件已保存为:\r\n%1")
                     .arg(QDir::toNativeSeparators(path)));
}

void TGridView::ExportToExcel() {
    QDir().mkpath(ExportFolder());
    const QString path =
        QDir(ExportFolder())
            .filePath(QStringLiteral("export_%1.xlsx")
                          .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss_zzz"))));
    QString error;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TDataSet empty;
        const TDataSet& rows = ExportRows() ? *dataSet_ : empty;
        error = gridexport::WriteXlsx(rows, ExportColumns(), path);
        QApplication::restoreOverrideCursor();
    }
    if (!error.isEmpty()) {
        ShowError(error);
        return;
    }
    askToOpen(path);
}

void TGridView::ExportToHtml() {
    const QString path = gridui::AskSaveFileName(this, QStringLiteral("网页文件(*.htm;*.html)|*.htm;*.html"),
                                                 QStringLiteral("html"));
    if (path.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = gridexport::WriteHtml(dataSet_, ExportColumns(), path, ExportRows());
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty()) {
        ShowError(error);
        return;
    }
    askToOpen(path);
}
