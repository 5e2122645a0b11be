#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;

// The kinds of value a column holds. Variant columns keep whatever the engine gave (used for
// expression columns whose type the engine does not declare, such as "select max(Id)").
enum class TFieldKind { Integer, Float, DateTime, Boolean, Text, Memo, Blob, Variant };

// One column of a TDataSet. Reading and writing go to the dataset's current row (or, while the
// dataset is in the edit or insert state, to the pending row). A field belongs to its dataset.
class TField {
public:
    const QString& FieldName() const { return name_; }
    TFieldKind Kind() const { return kind_; }
    int Index() const { return index_; }
    TDataSet* DataSet() const { return dataSet_; }
    bool IsTextual() const { return kind_ == TFieldKind::Text || kind_ == TFieldKind::Memo; }

    // Caption shown in grid titles and dialogs; the field name when empty.
    QString DisplayLabel;
    // Width in characters that grids give the column.
    int DisplayWidth = 10;
    bool Visible = true;
    // Largest number of characters of a text field (informational: values are never cut).
    int Size = 0;
    // Filled by the dataset's calculation handler instead of being read from a result.
    bool Calculated = false;
    // Display format of numbers: "0.##" (up to two decimals, the default for floats), "0.00", "0".
    QString DisplayFormat;

    QString Caption() const { return DisplayLabel.isEmpty() ? name_ : DisplayLabel; }

    bool IsNull() const;
    QVariant Value() const;
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;
    bool AsBoolean() const;
    QByteArray AsBytes() const;
    // The text a grid or an export shows: dates as yyyy-MM-dd (with the time when it is not midnight),
    // floats by DisplayFormat, booleans as "True"/"False".
    QString DisplayText() const;

    void SetValue(const QVariant& value);
    void SetAsString(const QString& value) { SetValue(value); }
    void SetAsInteger(qint64 value) { SetValue(value); }
    void SetAsFloat(double value) { SetValue(value); }
    void SetAsDateTime(const QDateTime& value) { SetValue(value); }
    void SetAsBoolean(bool value) { SetValue(value); }
    void SetAsBytes(const QByteArray& value) { SetValue(value); }
    void Clear() { SetValue(QVariant()); }

private:
    friend class TDataSet;
    TField(TDataSet* ds, TFieldKind kind, const QString& name, int index)
        : name_(name), kind_(kind), index_(index), dataSet_(ds) {}
    QString name_;
    TFieldKind kind_;
    int index_;
    TDataSet* dataSet_;
};

// The in-memory table under every result set: typed columns stored compactly (no object per
// cell), a current row, bookmarks, local append/edit/post/delete that never touch stored data,
// a local filter expression and a local sort text. Views follow it through its signals.
class TDataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = qint64;

    explicit TDataSet(QObject* parent = nullptr);
    ~TDataSet() override;

    // --- structure (only while inactive) ---
    TField* AddField(TFieldKind kind, const QString& name, int size = -1);
    void ClearFields();
    int FieldCount() const;
    TField* Field(int index) const;
    // Case-insensitive look-up; FindField gives null, FieldByName raises for an unknown name.
    TField* FindField(const QString& name) const;
    TField* FieldByName(const QString& name) const;
    int FieldIndex(const QString& name) const;

    // --- opening and closing ---
    // Opens an empty table with the defined fields.
    void CreateDataSet();
    void Close();
    bool Active() const;
    State GetState() const;

    // --- rows, in view order (after the local filter and sort) ---
    // Raises the dataset-closed error when the dataset is not open.
    int RecordCount() const;
    bool IsEmpty() const;
    // Position of the current row, from 0; -1 when there are no rows.
    int RecNo() const;
    void SetRecNo(int row);
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const;
    bool Bof() const;
    // Moves to the first row whose field equals the value (texts compared exactly).
    bool Locate(const QString& fieldName, const QVariant& value);
    Bookmark GetBookmark() const;
    bool GotoBookmark(Bookmark bookmark);

    // --- local changes ---
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void EmptyDataSet();

    // --- views ---
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const;

    // --- local filter and sort ---
    // The filter expression, e.g. "(Code like '%ab%') or (Name like '%ab%')" or "PrtId=3".
    // A text that cannot be parsed raises the expression error and leaves the filter as it was.
    void SetFilter(const QString& expression);
    QString Filter() const;
    void SetFiltered(bool filtered);
    bool Filtered() const;
    // "A DESC,B ASC"; an entry without a direction is ascending; empty restores the loaded order.
    void SetSortText(const QString& sortText);
    QString SortText() const;

    // --- cell access by view row, for models and exports ---
    QVariant CellValue(int row, int column) const;
    QString CellText(int row, int column) const;
    bool CellIsNull(int row, int column) const;

    // Called once per row after loading and after each local post, positioned on that row, to
    // fill the Calculated fields.
    void SetCalcHandler(std::function<void(TDataSet&)> handler);

    // Bytes held by the rows (storage blocks, text arena, order).
    qint64 MemoryUsed() const;

    // --- loading, used by the engine adapters ---
    // Open the dataset for loading rows; fields must already be defined.
    void BeginLoad();
    void LoadNull(int column);
    void LoadInteger(int column, qint64 value);
    void LoadFloat(int column, double value);
    void LoadDateTimeMs(int column, qint64 ms);
    void LoadBoolean(int column, bool value);
    void LoadText(int column, const char* utf8, size_t length);
    void LoadVariant(int column, const QVariant& value);
    void EndLoadRow();
    void EndLoad();

    // Dates travel inside the dataset as milliseconds since 1970-01-01 00:00 local wall time.
    static qint64 EncodeDateTime(const QDateTime& value);
    static QDateTime DecodeDateTime(qint64 ms);
    // Parses "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss[.fff]]" (also with "T"); false when it is not a date.
    static bool ParseDateTimeText(const char* text, size_t length, qint64* ms);

signals:
    void AboutToReset();
    void Reset();
    void AboutToInsertRow(int row);
    void RowInserted(int row);
    void AboutToRemoveRow(int row);
    void RowRemoved(int row);
    void RowChanged(int row);
    void CurrentChanged(int row);
    void StateChanged();

private:
    friend class TField;
    struct Data;
    std::unique_ptr<Data> d;

    void checkActive() const;
    int currentPhysical() const;
    QVariant readValue(int column) const;
    void writeValue(int column, const QVariant& value);
    void beginReset();
    void endReset();
    void rebuildOrder(int keepPhysical);
    void computeOrder(int keepPhysical);
    void runCalc(int physical);
    int sortedPosition(int physical) const;
    bool rowLess(int a, int b, size_t firstKey = 0) const;
    bool passesFilter(int physical) const;
    void setCurrent(int row);
};
