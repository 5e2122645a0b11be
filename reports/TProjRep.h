#pragma once

#include "reports/TRep.h"

// The report of this system: it carries the library's details and the operator as the variables
// u_Company, u_Tel, u_Fax, u_Address, u_Zip and u_Operator.
class TProjRep : public TRep {
public:
    TProjRep();
};

// The company row's name, phone, fax, address and postcode ("select * from Company"; empty texts
// when there is no row).
struct TReportCompany {
    QString CompanyName, Tel, Fax, Address, Zip;
};
TReportCompany ReadReportCompany();
