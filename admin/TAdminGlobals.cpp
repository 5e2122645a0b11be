#include "admin/TAdminGlobals.h"

#include "admin/TCompany.h"
#include "admin/TKeyValue2.h"
#include "admin/TPickListSet.h"

void CreateAdminGlobals() {
    if (!gCompany) gCompany = new TCompany;
    if (!gKeyValue2) gKeyValue2 = new TKeyValue2;
    if (!gPickLists) gPickLists = new TPickListSet;
}

void FreeAdminGlobals() {
    delete gCompany;
    gCompany = nullptr;
    delete gKeyValue2;
    gKeyValue2 = nullptr;
    delete gPickLists;
    gPickLists = nullptr;
}
