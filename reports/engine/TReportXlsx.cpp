#include "reports/engine/TReportXlsx.h"

#include <xlsxwriter.h>

#include "core/TDataSet.h"

namespace rpt {

bool ExportRowsXlsx(const TDataSet& ds, const QString& fileName, QString* error) {
    QList<int> columns;
    for (int i = 0; i < ds.FieldCount(); ++i)
        if (ds.Field(i)->Visible && ds.Field(i)->Kind() != TFieldKind::Blob) columns << i;
    lxw_workbook* book = workbook_new(fileName.toUtf8().constData());
    if (!book) {
        if (error) *error = QStringLiteral("无法写入文件 %1").arg(fileName);
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int c = 0; c < columns.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), ds.Field(columns[c])->Caption().toUtf8().constData(),
                               nullptr);
    const int rows = ds.Active() ? ds.RecordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            const QString text = ds.CellText(r, columns[c]);
            if (!text.isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), text.toUtf8().constData(),
                                       nullptr);
        }
    }
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error =
                QStringLiteral("无法写入文件 %1: %2").arg(fileName, QString::fromUtf8(lxw_strerror(result)));
        return false;
    }
    return true;
}

}  // namespace rpt
