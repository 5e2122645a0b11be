#include "reports/TPrintData.h"

#include <QApplication>
#include <memory>

#include "admin/TOperator.h"
#include "reports/TProjRep.h"
#include "reports/TReporterFrm.h"

void PrintData(const QList<TDataSet*>& dataSets, int group, const QString& title) {
    // Without an operator nobody is logged in: nothing may be printed.
    if (!gOperator) return;
    gOperator->CheckRight(rtPrint, true);
    auto rep = std::make_unique<TProjRep>();
    TReporterFrm frm(QApplication::activeWindow());
    frm.SetCanDesign(gOperator->HasRight(rtPrintDesign));
    rep->AddDataSets(dataSets);
    rep->ListTitle = title;
    frm.SetReper(rep.get());
    frm.SetGroupId(group);
    frm.exec();
}
