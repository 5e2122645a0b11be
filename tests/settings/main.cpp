#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeSettingsTests();
QObject* makePickListTests();
QObject* makeCompanyTests();
QObject* makeWindowTests();
QObject* makeMainWindowTests();

LBSYS_TEST_MAIN(makeSettingsTests, makePickListTests, makeCompanyTests, makeWindowTests, makeMainWindowTests)
