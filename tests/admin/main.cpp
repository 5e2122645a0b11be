#include <QApplication>

#include "tests/support/TestSupport.h"

QObject* makeOperatorTests();

LBSYS_TEST_MAIN(makeOperatorTests)
