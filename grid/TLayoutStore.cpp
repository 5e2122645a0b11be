#include "grid/TLayoutStore.h"

#include "core/TDatabase.h"
#include "core/TRecordSet.h"

namespace layoutstore {

QString Load(int id) {
    gScratchSet->OpenSql(QStringLiteral("select F06 from syscols where F02=:KeyId"), {DBParam("KeyId", id)});
    TDataSet* ds = gScratchSet->DataSet();
    if (!ds->Active() || ds->IsEmpty()) return QString();
    ds->First();
    return ds->Field(0)->AsString();
}

bool Save(int id, const QString& text) {
    // The look-up and the write go together, so that the row is not added twice.
    TTransaction tx(*gDatabase);
    gScratchSet->OpenSql(QStringLiteral("select 1 from syscols where F02=:Id"), {DBParam("Id", id)});
    qint64 affected;
    if (gScratchSet->DataSet()->RecordCount() == 1)
        affected = gDatabase->ExecuteSql(QStringLiteral("update syscols set F06=:Value where F02=:KeyId"),
                                         {DBParam("Value", text), DBParam("KeyId", id)});
    else
        affected = gDatabase->ExecuteSql(QStringLiteral("insert into syscols (F02,F06) values (:Id, :S)"),
                                         {DBParam("Id", id), DBParam("S", text)});
    if (affected != 1) return false;
    tx.Commit();
    return true;
}

}  // namespace layoutstore
