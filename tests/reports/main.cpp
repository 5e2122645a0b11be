#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeReportEngineTests();
QObject* makeReportStoreTests();

LBSYS_TEST_MAIN(makeReportEngineTests, makeReportStoreTests)
