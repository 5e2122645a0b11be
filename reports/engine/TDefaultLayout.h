#pragma once

#include <QString>

#include "reports/engine/TReportDocument.h"

class TDataSet;
class TField;

// Generates a clean table layout from a data set's visible columns: the library's name and the
// list's title, a ruled header row repeated on every page, ruled data cells whose widths are scaled
// to the printable width (landscape when the columns need it), the row count and the sums of money
// columns, and a footer with operator, date and "page / pages".
namespace rpt {

class TDefaultLayout {
public:
    static TReportDocument Generate(const TDataSet& dataSet, const QString& title,
                                    const QString& source = QStringLiteral("d0"));
    // A column that holds an amount of money (fines, deposits, prices): summed and shown with two decimals.
    static bool IsMoney(const TField& field);
};

}  // namespace rpt
