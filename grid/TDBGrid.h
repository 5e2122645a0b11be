#pragma once

#include "grid/TzxDBGrid.h"

class TGridMenu;

// The data grid the windows use: whole rows are selected, and two small menus can be built for
// tool-bar buttons.
class TDBGrid : public TzxDBGrid {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);

    // "导出到Excel文档", "导出到Html网页文件"; a new menu owned by the grid's window.
    TGridMenu* CreateExportMenu();
    // "列选择", "保存表格样式"; a new menu owned by the grid's window.
    TGridMenu* CreateSettingsMenu();
};
