#include "admin/TCompany.h"

#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TRecordSet.h"

TCompany* gCompany = nullptr;

void TCompany::LoadCompany() {
    *this = TCompany();
    if (gScratchSet->OpenSql(QStringLiteral("select * from Company")) > 0) {
        gScratchSet->DataSet()->First();
        auto text = [](const char* name) {
            return gScratchSet->FieldByName(QString::fromLatin1(name))->AsString();
        };
        Id = gScratchSet->FieldByName(QStringLiteral("Id"))->AsInteger();
        CompanyName = text("CompanyName");
        Manager = text("Manager");
        Tel = text("Tel");
        Fax = text("Fax");
        Address = text("Address");
        Zip = text("Zip");
        Profile = text("Profile");
        Updated = gScratchSet->FieldByName(QStringLiteral("Updated"))->AsBoolean();
    }
    gScratchSet->Close();
}

void TCompany::SaveCompany() {
    // Read directly so that a failure reaches the caller as one error (no box of its own).
    TDataSet found;
    gDatabase->Fetch(QStringLiteral("select 1 from Company where Id=:Id"),
                     {DBParam(QStringLiteral("Id"), Id)}, found, false);
    const bool exists = found.RecordCount() == 1;
    const TDBParameters params = {DBParam(QStringLiteral("CompanyName"), CompanyName),
                                  DBParam(QStringLiteral("Manager"), Manager),
                                  DBParam(QStringLiteral("Tel"), Tel),
                                  DBParam(QStringLiteral("Fax"), Fax),
                                  DBParam(QStringLiteral("Address"), Address),
                                  DBParam(QStringLiteral("Zip"), Zip),
                                  DBParam(QStringLiteral("Profile"), Profile),
                                  DBParam(QStringLiteral("Updated"), Updated),
                                  DBParam(QStringLiteral("Id"), Id)};
    const QString sql =
        exists ? QStringLiteral(
                     "update Company set CompanyName=:CompanyName,Manager=:Manager,Tel=:Tel,Fax=:Fax,"
                     "Address=:Address,Zip=:Zip,Profile=:Profile,Updated=:Updated where Id=:Id")
               : QStringLiteral(
                     "insert into Company(Id,CompanyName,Manager,Tel,Fax,Address,Zip,Profile,Updated) "
                     "values (:Id,:CompanyName,:Manager,:Tel,:Fax,:Address,:Zip,:Profile,:Updated)");
    // A row removed between the look-up and the update would otherwise be reported as saved.
    if (gDatabase->ExecuteSql(sql, params) != 1)
        throw TDbError(TDbError::Kind::Statement, QStringLiteral("公司信息没有保存,请重试.\r\n") + sql);
}

bool TCompany::IsFilled() const {
    return GbkLength(CompanyName) >= 8;
}

int TCompany::GbkLength(const QString& text) {
    int bytes = 0;
    for (QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}
