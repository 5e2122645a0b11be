#include "reports/TRepSet.h"

TRepSet::TRepSet(QObject* owner) : TRecordSet(owner) {
    IdField = AddField(TFieldKind::Integer, QStringLiteral("Id"), -1, true, QStringLiteral("Id"));
    TitleField = AddField(TFieldKind::Text, QStringLiteral("Title"), 50, true, QStringLiteral("标题"));
}

int TRepSet::ListReports(int group) {
    return OpenSql(QStringLiteral("select Id,Title from report where GrpId=:GroupId order by Title"),
                   {DBParam("GroupId", group)});
}
