#pragma once

#include "admin/TCompany.h"
#include "admin/TKeyValue2.h"
#include "admin/TOperator.h"
#include "admin/TPickListSet.h"

// The process-wide objects the windows use, for one test; the overdue rates are put back after.
struct Globals {
    TKeyValue2 settings;
    TCompany company;
    TPickListSet lists;
    TOperator op;
    double book = BookFineRate, journal = JourFineRate;
    Globals() {
        gKeyValue2 = &settings;
        gCompany = &company;
        gPickLists = &lists;
        gOperator = &op;
    }
    ~Globals() {
        gKeyValue2 = nullptr;
        gCompany = nullptr;
        gPickLists = nullptr;
        gOperator = nullptr;
        BookFineRate = book;
        JourFineRate = journal;
    }
};
