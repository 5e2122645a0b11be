#include "reports/TProjRep.h"

#include "admin/TCompany.h"
#include "admin/TOperator.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TRecordSet.h"

TReportCompany ReadReportCompany() {
    // The process-wide company details, loaded at start-up and kept by the company window; read
    // afresh only where there are none (a report printed outside the program's start-up).
    TCompany loaded;
    const TCompany* company = gCompany;
    if (!company) {
        loaded.LoadCompany();
        company = &loaded;
    }
    TReportCompany c;
    c.CompanyName = company->CompanyName;
    c.Tel = company->Tel;
    c.Fax = company->Fax;
    c.Address = company->Address;
    c.Zip = company->Zip;
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
