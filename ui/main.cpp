#include <QApplication>
#include <QLabel>

#include "core/TDatabase.h"
#include "ui/base/TQtMessages.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TQtMessages messages;
    SetMessageHandler(&messages);
    CreateDatabaseGlobals();
    QLabel w(QStringLiteral("澄谷图书管理系统"));
    w.resize(480, 240);
    w.show();
    const int rc = app.exec();
    FreeDatabaseGlobals();
    SetMessageHandler(nullptr);
    return rc;
}
