#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

#include "core/TDataSet.h"
#include "grid/TSortText.h"

// The table model of the grids over a TDataSet: one model column per grid column (a field named
// by the grid), one model row per view row of the dataset. Cells are read from the dataset when
// the view paints them; nothing is copied up front. The model follows the dataset's signals, so
// local appends, edits, deletes, filters and sorts show at once.
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDataSetModel(QObject* parent = nullptr);
    ~TDataSetModel() override;

    void SetDataSet(TDataSet* dataSet);
    TDataSet* DataSet() const { return dataSet_; }

    // The grid's columns: field names and titles, in logical order.
    void SetColumns(const QStringList& fieldNames, const QStringList& captions);
    int ColumnCount() const { return int(names_.size()); }
    const QString& ColumnField(int column) const { return names_.at(column); }
    // Index of the column's field in the dataset; -1 when the dataset has no such field.
    int FieldIndex(int column) const;
    TField* ColumnFieldObject(int column) const;
    QString Caption(int column) const { return captions_.value(column); }

    // The sort mark of a title (an arrow after its caption).
    void SetSortMark(int column, sorttext::TSortDir dir);
    sorttext::TSortDir SortMark(int column) const;

    // Rows with an even index (first, third, ...) get the cream background.
    void SetCreamRows(bool on);
    // Cells may be edited in place; an edit is posted to the dataset's local rows.
    void SetEditable(bool on) { editable_ = on; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    static const QColor& CreamColour();

signals:
    // An in-place edit was posted.
    void CellEdited(const QModelIndex& index);

private:
    void onAboutToReset();
    void onReset();
    void onAboutToInsert(int row);
    void onInserted(int row);
    void onAboutToRemove(int row);
    void onRemoved(int row);
    void onRowChanged(int row);
    void onCurrentChanged(int row);
    void resolveFields();
    int datasetRows() const;

    QPointer<TDataSet> dataSet_;
    QList<QMetaObject::Connection> connections_;
    QStringList names_;
    QStringList captions_;
    std::vector<int> fieldIndex_;
    std::vector<sorttext::TSortDir> marks_;
    // Rows the view knows about: the dataset changes its rows without signals while its
    // controls are disabled, and the view must not see them before the reset that follows.
    int rows_ = 0;
    int current_ = -1;
    bool inReset_ = false;
    bool cream_ = false;
    bool editable_ = false;
};
