#pragma once

#include <functional>

#include "grid/TGridView.h"

class QLabel;
class TDataSource;

// The grid of the table-view kind: bound through DataSet, with a layout text that keeps columns
// it does not name hidden, a row indicator ("NO", row numbers, the current row in bold), cream
// alternate rows and the events the windows hook.
class TzxGridcx : public TGridView {
    Q_OBJECT
public:
    explicit TzxGridcx(QWidget* parent = nullptr);
    ~TzxGridcx() override;

    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    TDataSource* DataSource() const { return dataSource_; }
    // The table view (the grid itself).
    QTableView* View() { return this; }

    QString Layout() const { return GetLayoutText(); }
    void SetLayout(const QString& text) { ApplyLayoutText(text); }
    // Reads and applies the layout stored under the id; true when a layout was found.
    bool LoadLayout(int id) { return LoadLayoutText(id); }

    // A sum under the field's column ("0" for integers, "0.##" otherwise); switches the footer on.
    void AddFooterSum(TField* field) override;

    int SelectedCount() const;
    int RowCount() const;

    // Shows the row indicator column: 30 pixels (wider when the row numbers need it), "NO" above.
    void SetIndicatorVisible(bool on);
    bool IndicatorVisible() const;
    QString IndicatorTitle() const;

    // Events; an event that is not set is skipped.
    std::function<void(QObject*)> OnDblClick;
    std::function<void(bool selected)> OnSelectChanged;
    std::function<void(QObject*)> OnEditChanged;
    std::function<void(QObject*)> OnEditValueChanged;
    std::function<void(QObject*)> OnFocusedItemChanged;
    std::function<void(TField*)> OnCellClick;
    std::function<void(TField*)> OnCellDblClick;
    std::function<void(TField*)> OnEditButtonClick;

protected:
    bool CheckDataSet() override;
    bool ShowUnnamedColumns(const QString& layoutText) const override { return layoutText.isEmpty(); }
    QString ExportDoneText() const override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    TDataSource* dataSource_;
    QLabel* corner_;
};
