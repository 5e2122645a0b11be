#pragma once

#include <QList>
#include <QPair>
#include <QString>

class TDataSet;

// What a report is printed from: the data sets ("d0", "d1", ... in the order given) and the
// variables, which a layout reads by name and also as the fields of the one-row source "u".
namespace rpt {

struct TReportData {
    QList<TDataSet*> dataSets;
    QList<QPair<QString, QString>> variables;

    // Case-insensitive look-up; false when there is no such variable.
    bool Variable(const QString& name, QString* value) const;
    // "d3" -> the fourth data set, or null.
    TDataSet* Source(const QString& name) const;
};

}  // namespace rpt
