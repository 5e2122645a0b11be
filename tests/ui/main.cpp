#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeControlTests();
QObject* makeConnectionTests();
QObject* makeLoginTests();
QObject* makeOperatorWindowTests();

LBSYS_TEST_MAIN(makeControlTests, makeConnectionTests, makeLoginTests, makeOperatorWindowTests)
