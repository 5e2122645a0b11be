#pragma once

// Creates the process-wide gCompany, gKeyValue2 and gPickLists (after gDatabase), and frees them
// in the order gCompany, gKeyValue2, gPickLists.
void CreateAdminGlobals();
void FreeAdminGlobals();
