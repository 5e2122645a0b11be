#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeSettingsTests();
QObject* makePickListTests();
QObject* makeCompanyTests();

LBSYS_TEST_MAIN(makeSettingsTests, makePickListTests, makeCompanyTests)
