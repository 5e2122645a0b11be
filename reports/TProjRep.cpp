#include "reports/TProjRep.h"

#include "admin/TCompany.h"
#include "admin/TOperator.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TRecordSet.h"

TReportCompany ReadReportCompany() {
    TReportCompany c;
    // The process-wide company details, loaded at start-up and kept by the company window.
    if (gCompany) {
        c.CompanyName = gCompany->CompanyName;
        c.Tel = gCompany->Tel;
        c.Fax = gCompany->Fax;
        c.Address = gCompany->Address;
        c.Zip = gCompany->Zip;
        return c;
    }
    gScratchSet->OpenSql(QStringLiteral("select * from Company"));
    TDataSet* ds = gScratchSet->DataSet();
    if (ds->RecordCount() == 0) return c;
    ds->First();
    c.CompanyName = ds->FieldByName(QStringLiteral("CompanyName"))->AsString();
    c.Tel = ds->FieldByName(QStringLiteral("Tel"))->AsString();
    c.Fax = ds->FieldByName(QStringLiteral("Fax"))->AsString();
    c.Address = ds->FieldByName(QStringLiteral("Address"))->AsString();
    c.Zip = ds->FieldByName(QStringLiteral("Zip"))->AsString();
    return c;
}

TProjRep::TProjRep() {
    const TReportCompany c = ReadReportCompany();
    AddVariable(QStringLiteral("u_Company"), c.CompanyName);
    AddVariable(QStringLiteral("u_Tel"), c.Tel);
    AddVariable(QStringLiteral("u_Fax"), c.Fax);
    AddVariable(QStringLiteral("u_Address"), c.Address);
    AddVariable(QStringLiteral("u_Zip"), c.Zip);
    AddVariable(QStringLiteral("u_Operator"), gOperator ? gOperator->LoginId : QString());
}
