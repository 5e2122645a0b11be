#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeLayoutTests();
QObject* makeGridViewTests();
QObject* makeExportTests();
QObject* makeGridDialogTests();

LBSYS_TEST_MAIN(makeLayoutTests, makeGridViewTests, makeExportTests, makeGridDialogTests)
