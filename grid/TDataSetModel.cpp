#include "grid/TDataSetModel.h"

#include <QColor>
#include <QFont>

#include "core/TDbError.h"
#include "core/TMessages.h"

using sorttext::TSortDir;

TDataSetModel::TDataSetModel(QObject* parent) : QAbstractTableModel(parent) {}
TDataSetModel::~TDataSetModel() = default;

const QColor& TDataSetModel::CreamColour() {
    static const QColor cream(255, 251, 240);
    return cream;
}

void TDataSetModel::SetDataSet(TDataSet* dataSet) {
    beginResetModel();
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    dataSet_ = dataSet;
    if (dataSet) {
        connections_ << connect(dataSet, &TDataSet::AboutToReset, this, &TDataSetModel::onAboutToReset)
                     << connect(dataSet, &TDataSet::Reset, this, &TDataSetModel::onReset)
                     << connect(dataSet, &TDataSet::AboutToInsertRow, this, &TDataSetModel::onAboutToInsert)
                     << connect(dataSet, &TDataSet::RowInserted, this, &TDataSetModel::onInserted)
                     << connect(dataSet, &TDataSet::AboutToRemoveRow, this, &TDataSetModel::onAboutToRemove)
                     << connect(dataSet, &TDataSet::RowRemoved, this, &TDataSetModel::onRemoved)
                     << connect(dataSet, &TDataSet::RowChanged, this, &TDataSetModel::onRowChanged)
                     << connect(dataSet, &TDataSet::CurrentChanged, this, &TDataSetModel::onCurrentChanged)
                     << connect(dataSet, &QObject::destroyed, this, [this] { SetDataSet(nullptr); });
    }
    resolveFields();
    rows_ = datasetRows();
    current_ = dataSet && dataSet->Active() ? dataSet->RecNo() : -1;
    endResetModel();
}

void TDataSetModel::SetColumns(const QStringList& fieldNames, const QStringList& captions) {
    beginResetModel();
    names_ = fieldNames;
    captions_ = captions;
    marks_.assign(size_t(names_.size()), TSortDir::None);
    resolveFields();
    endResetModel();
}

int TDataSetModel::FieldIndex(int column) const {
    return column >= 0 && size_t(column) < fieldIndex_.size() ? fieldIndex_[size_t(column)] : -1;
}

TField* TDataSetModel::ColumnFieldObject(int column) const {
    const int f = FieldIndex(column);
    return f < 0 || !dataSet_ ? nullptr : dataSet_->Field(f);
}

void TDataSetModel::SetSortMark(int column, TSortDir dir) {
    if (column < 0 || size_t(column) >= marks_.size() || marks_[size_t(column)] == dir) return;
    marks_[size_t(column)] = dir;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

TSortDir TDataSetModel::SortMark(int column) const {
    return column >= 0 && size_t(column) < marks_.size() ? marks_[size_t(column)] : TSortDir::None;
}

void TDataSetModel::SetCreamRows(bool on) {
    if (cream_ == on) return;
    cream_ = on;
    if (rows_ > 0 && !names_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(names_.size()) - 1));
}

void TDataSetModel::resolveFields() {
    fieldIndex_.assign(size_t(names_.size()), -1);
    if (!dataSet_) return;
    for (int i = 0; i < names_.size(); ++i)
        fieldIndex_[size_t(i)] = dataSet_->FieldIndex(names_[i]);
}

int TDataSetModel::datasetRows() const {
    return dataSet_ && dataSet_->Active() ? dataSet_->RecordCount() : 0;
}

int TDataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}
int TDataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(names_.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !dataSet_ || index.row() >= rows_) return QVariant();
    const int f = FieldIndex(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return f < 0 ? QString() : dataSet_->CellText(index.row(), f);
        case Qt::EditRole:
            return f < 0 ? QVariant() : dataSet_->CellValue(index.row(), f);
        case Qt::TextAlignmentRole: {
            if (f < 0) return QVariant();
            const TFieldKind k = dataSet_->Field(f)->Kind();
            if (k == TFieldKind::Integer || k == TFieldKind::Float)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
        case Qt::BackgroundRole:
            if (cream_ && index.row() % 2 == 0) return CreamColour();
            return QVariant();
        default:
            return QVariant();
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= names_.size()) return QVariant();
        if (role == Qt::DisplayRole) {
            switch (SortMark(section)) {
                case TSortDir::Asc:
                    return captions_.value(section) + QStringLiteral(" ▲");
                case TSortDir::Desc:
                    return captions_.value(section) + QStringLiteral(" ▼");
                case TSortDir::None:
                    break;
            }
            return captions_.value(section);
        }
        return QVariant();
    }
    // The row indicator: numbers from 1, the current row in bold.
    if (role == Qt::DisplayRole) return section + 1;
    if (role == Qt::FontRole && section == current_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    return QVariant();
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && FieldIndex(index.column()) >= 0) f |= Qt::ItemIsEditable;
    return f;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || role != Qt::EditRole || !index.isValid() || !dataSet_) return false;
    const int f = FieldIndex(index.column());
    if (f < 0) return false;
    try {
        dataSet_->SetRecNo(index.row());
        dataSet_->Field(f)->SetValue(value);
        dataSet_->Post();
    } catch (const TDbError& e) {
        // A value that does not fit the field: the row keeps what it had.
        dataSet_->Cancel();
        ShowError(e.message());
        return false;
    }
    emit dataChanged(index, index);
    emit CellEdited(index);
    return true;
}

void TDataSetModel::onAboutToReset() {
    if (inReset_) return;
    inReset_ = true;
    beginResetModel();
}

void TDataSetModel::onReset() {
    if (!inReset_) beginResetModel();
    inReset_ = false;
    resolveFields();
    rows_ = datasetRows();
    current_ = dataSet_ && dataSet_->Active() ? dataSet_->RecNo() : -1;
    endResetModel();
}

void TDataSetModel::onAboutToInsert(int row) {
    beginInsertRows(QModelIndex(), row, row);
}

void TDataSetModel::onInserted(int) {
    ++rows_;
    endInsertRows();
}

void TDataSetModel::onAboutToRemove(int row) {
    beginRemoveRows(QModelIndex(), row, row);
}

void TDataSetModel::onRemoved(int) {
    --rows_;
    endRemoveRows();
}

void TDataSetModel::onRowChanged(int row) {
    if (row < 0 || row >= rows_ || names_.isEmpty()) return;
    emit dataChanged(index(row, 0), index(row, int(names_.size()) - 1));
}

void TDataSetModel::onCurrentChanged(int row) {
    const int old = current_;
    current_ = row;
    if (old >= 0 && old < rows_) emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows_) emit headerDataChanged(Qt::Vertical, row, row);
}
