#pragma once

#include <QString>

class TDataSet;

namespace rpt {

// Writes the data rows of a data set (not the page layout) as a real .xlsx workbook: row 1 the
// captions of the visible columns, then every row's cell texts in view order.
bool ExportRowsXlsx(const TDataSet& dataSet, const QString& fileName, QString* error = nullptr);

}  // namespace rpt
