#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeDataSetTests();
QObject* makeDatabaseTests();

LBSYS_TEST_MAIN(makeDataSetTests, makeDatabaseTests)
