#pragma once

#include <functional>

#include "grid/TGridView.h"

class QKeyEvent;
class TDataSource;

// The grid of the data-grid kind: bound through its own data source, with a layout id, title
// sorting over several columns, footer sums and the arrow-key rules of the lists.
class TzxDBGrid : public TGridView {
    Q_OBJECT
public:
    explicit TzxDBGrid(QWidget* parent = nullptr);
    ~TzxDBGrid() override;

    // The grid's data source (owned); windows set its dataset. Null only when a window took it away.
    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* dataSource);

    int LayoutId() const { return layoutId_; }
    // Stores the id and loads that layout at once.
    void SetLayoutId(int id);
    void LoadLayout(int id);

    // Called with every key the grid receives, after the grid's own handling.
    std::function<void(QKeyEvent*)> OnKeyDown;

protected:
    bool CheckDataSet() override;
    int SaveLayoutId() const override { return layoutId_ > 0 ? layoutId_ : Tag(); }
    bool ShowUnnamedColumns(const QString&) const override { return true; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    void moveToColumn(int step);
    TDataSource* dataSource_;
    QMetaObject::Connection sourceConn_;
    int layoutId_ = 0;
};
