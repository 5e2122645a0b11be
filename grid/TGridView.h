#pragma once

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableView>

#include "grid/TGridColumn.h"
#include "grid/TGridExport.h"
#include "grid/TSortText.h"

class TDataSet;
class TDataSetModel;
class TField;
class TGridMenu;
class TGridFooter;

// What both grid components share: a QTableView over a TDataSetModel with the grid's columns
// (order, widths, visibility follow the header, so the operator can drag, resize and hide them),
// column-title sort marks, footer sums, the right-click menu and the grid commands (sort, column
// choice, layout saving, exports). TzxDBGrid and TzxGridcx add their own binding and rules.
class TGridView : public QTableView {
    Q_OBJECT
public:
    explicit TGridView(QWidget* parent = nullptr);
    ~TGridView() override;

    // The window's number for the grid; the layout id when the grid has no other.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TDataSet* BoundDataSet() const;
    TDataSetModel* Model() const { return model_; }
    TGridMenu* PopupMenuZx() const { return menu_; }

    // --- columns ---
    // One column per visible field of the dataset, in field order, at the field's display width.
    void RebuildColumns(bool visible = true);
    // The columns in the order the operator sees them.
    TGridColumns Columns() const;
    void SetColumns(const TGridColumns& columns);
    // Logical index of the column showing the field (exact name); -1 when there is none.
    int ColumnOfField(const QString& fieldName) const;
    // Shows or hides the column with the logical index.
    void SetColumnVisible(int column, bool visible);

    QString GetLayoutText() const;
    // Rebuilds the columns and applies the text; false when a line could not be applied.
    bool ApplyLayoutText(const QString& text);

    // --- footer sums ---
    void SetFooterVisible(bool on);
    bool FooterVisible() const { return footerOn_; }
    virtual void AddFooterSum(TField* field);
    // The footer text of the column of the field; empty when it has no sum.
    QString FooterText(const QString& fieldName) const;

    // --- column-title sorting ---
    // Advances the sort mark of the column (none, ascending, descending) and sorts the dataset.
    void TitleClick(int column);
    // Marks the titles after the dataset's sort text (after the sort dialog, for instance).
    void SyncSortMarks();

    // --- commands ---
    void PopupButtonClick(QWidget* control);
    void SortClick();
    void PickColumnsClick();
    void SaveLayoutClick();
    void SaveToExcelClick();
    void SaveToHtmlClick();

    // The visible columns in order, as the exports take them.
    gridexport::TExportColumns ExportColumns() const;
    // The folder the spreadsheet export writes into (the temporary folder unless set).
    static void SetExportFolder(const QString& folder);
    static QString ExportFolder();

    // Unguarded exports, layout writing.
    virtual void ExportToExcel();
    virtual void ExportToHtml();
    virtual bool SaveLayout(int id);
    bool LoadLayoutText(int id);

    // The row height of the rows and the height of the titles.
    void SetRowHeight(int pixels);

protected:
    void BindDataSet(TDataSet* dataSet);
    // The dataset checks before the sort dialog; false stops the command after its message.
    virtual bool CheckDataSet() = 0;
    // The id SaveLayoutClick writes under.
    virtual int SaveLayoutId() const { return tag_; }
    // The question after an export.
    virtual QString ExportDoneText() const;
    // Whether the dataset rows are exported (a closed dataset gives the titles only).
    virtual bool ExportRows() const;
    // Whether columns that a layout text does not name are shown.
    virtual bool ShowUnnamedColumns(const QString& layoutText) const = 0;
    // Whether a column of the field gets a sort button on its title.
    bool TitleSortable(int column) const;

    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void syncCurrentFromDataSet(int row);
    void applyTitleSort();
    void askToOpen(const QString& path);
    void invalidateFooter();
    friend class TGridFooter;

    TDataSetModel* model_;
    TGridMenu* menu_;
    TGridFooter* footer_;
    QPointer<TDataSet> dataSet_;
    QMetaObject::Connection currentConn_;
    std::vector<int> widths_;                   // by logical column, kept while a column is hidden
    std::vector<sorttext::TSortEntry> marked_;  // marked titles in the order they were marked
    QStringList footerFields_;
    mutable QHash<QString, QString> footerCache_;
    mutable bool footerValid_ = false;
    bool footerOn_ = false;
    bool syncing_ = false;
    int tag_ = 0;
};
