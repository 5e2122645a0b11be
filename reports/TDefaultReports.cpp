#include "reports/TDefaultReports.h"

#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TRecordSet.h"
#include "reports/TRep.h"

namespace TDefaultReports {

QList<int> Groups() {
    QList<int> groups;
    for (int g = 1000; g <= 1013; ++g)
        groups << g;
    for (int g = 1015; g <= 1040; ++g)
        groups << g;
    return groups;
}

void EnsureDefaultReports() {
    TTransaction transaction(*gDatabase);
    for (int group : Groups()) {
        gScratchSet->OpenSql(QStringLiteral("select Id from report where GrpId=:GroupId and Title=:Title"),
                             {DBParam("GroupId", group), DBParam("Title", QString::fromUtf8(kDefaultTitle))});
        if (gScratchSet->DataSet()->RecordCount() == 0)
            TRep::NewReport(group, QString::fromUtf8(kDefaultTitle));
    }
    transaction.Commit();
}

}  // namespace TDefaultReports
