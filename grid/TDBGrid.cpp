#include "grid/TDBGrid.h"

#include <QPointer>

#include "grid/TGridUi.h"

TDBGrid::TDBGrid(QWidget* parent) : TzxDBGrid(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

TGridMenu* TDBGrid::CreateExportMenu() {
    auto* menu = new TGridMenu(window());
    menu->AddItem(QStringLiteral("导出到Excel文档"), [g = QPointer<TDBGrid>(this)] {
        if (g) g->SaveToExcelClick();
    });
    menu->AddItem(QStringLiteral("导出到Html网页文件"), [g = QPointer<TDBGrid>(this)] {
        if (g) g->SaveToHtmlClick();
    });
    return menu;
}

TGridMenu* TDBGrid::CreateSettingsMenu() {
    auto* menu = new TGridMenu(window());
    menu->AddItem(QStringLiteral("列选择"), [g = QPointer<TDBGrid>(this)] {
        if (g) g->PickColumnsClick();
    });
    menu->AddItem(QStringLiteral("保存表格样式"), [g = QPointer<TDBGrid>(this)] {
        if (g) g->SaveLayoutClick();
    });
    return menu;
}
