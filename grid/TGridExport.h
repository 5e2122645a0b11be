#pragma once

#include <QString>
#include <vector>

class TDataSet;

// Writers of the grid exports: the given columns of every row of the dataset, in view order,
// each value as the field's display text. They read rows by position and never move the
// dataset's current row.
namespace gridexport {

struct TExportColumn {
    int Field = 0;  // index of the field in the dataset
    QString Caption;
    int Width = 0;  // the column's width in the grid, in pixels (0: the sheet's default)
};
using TExportColumns = std::vector<TExportColumn>;

// A workbook with one sheet: row 1 the captions, then one row per record; every cell is text
// (number format "@"). Returns an empty text on success, otherwise what went wrong.
QString WriteXlsx(const TDataSet& dataSet, const TExportColumns& columns, const QString& path);

// The web page: UTF-8 with a charset declaration, one element per line ended by CR LF, titles and
// values escaped. withRows false writes the title row only. Empty text on success.
QString WriteHtml(const TDataSet* dataSet, const TExportColumns& columns, const QString& path, bool withRows);

// Text safe inside an HTML element or attribute value.
QString HtmlEscape(const QString& text);

}  // namespace gridexport
