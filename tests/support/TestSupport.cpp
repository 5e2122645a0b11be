#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>
#include <cstdio>
#include <cstdlib>

#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TSchema.h"

namespace testsupport {

namespace {
QString gEngine = QStringLiteral("sqlite");
QTemporaryDir* gHome = nullptr;
QString gTemplate;  // prepared SQLite file, copied for each test
int gCounter = 0;

QString pgBase() {
    const QString s = qEnvironmentVariable("LBSYS_TEST_PG");
    if (s.isEmpty())
        qFatal("LBSYS_TEST_PG is not set: run the tests through ./test.sh, which starts a PostgreSQL server");
    return s;
}
}  // namespace

QString Engine() {
    return gEngine;
}
bool IsPg() {
    return gEngine == QLatin1String("pg");
}

const QString& HomeDir() {
    static QString path;
    if (path.isEmpty()) {
        gHome = new QTemporaryDir;
        path = gHome->path();
        qputenv("LBSYS_HOME", path.toUtf8());
    }
    return path;
}

TestDatabase::TestDatabase() : TestDatabase(true) {}

std::unique_ptr<TestDatabase> TestDatabase::Empty() {
    return std::unique_ptr<TestDatabase>(new TestDatabase(false));
}

TestDatabase::TestDatabase(bool prepare) {
    CreateDatabaseGlobals();
    const int n = ++gCounter;
    if (IsPg()) {
        pgSchema_ = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
        gDatabase->Open(pgBase());
        gDatabase->ExecuteSql(QStringLiteral("drop schema if exists %1 cascade").arg(pgSchema_));
        gDatabase->ExecuteSql(QStringLiteral("create schema %1").arg(pgSchema_));
        connectionString_ = pgBase() + QStringLiteral("Search Path=%1;").arg(pgSchema_);
        gDatabase->Open(connectionString_);
        if (prepare) TSchema::Prepare(*gDatabase);
        return;
    }
    const QString dir = HomeDir();
    sqliteFile_ = QStringLiteral("%1/test%2.db").arg(dir).arg(n);
    if (prepare) {
        if (gTemplate.isEmpty()) {
            gTemplate = dir + QStringLiteral("/template.db");
            TDatabase db;
            db.Open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(gTemplate));
            TSchema::Prepare(db);
            db.ExecuteSql(QStringLiteral("pragma wal_checkpoint(TRUNCATE)"));
        }
        QFile::copy(gTemplate, sqliteFile_);
    }
    connectionString_ = QStringLiteral("Provider=SQLite;Data Source=%1;").arg(sqliteFile_);
    gDatabase->Open(connectionString_);
}

TestDatabase::~TestDatabase() {
    if (!gDatabase) return;
    try {
        gDatabase->RollbackTrans();
        if (!pgSchema_.isEmpty()) {
            gDatabase->Open(pgBase());
            gDatabase->ExecuteSql(QStringLiteral("drop schema if exists %1 cascade").arg(pgSchema_));
        }
        gDatabase->SetConnected(false);
    } catch (const TDbError& e) {
        std::fprintf(stderr, "test database clean-up: %s\n", e.message().toLocal8Bit().constData());
    }
    if (!sqliteFile_.isEmpty()) {
        QFile::remove(sqliteFile_);
        QFile::remove(sqliteFile_ + QStringLiteral("-wal"));
        QFile::remove(sqliteFile_ + QStringLiteral("-shm"));
    }
}

int RunTests(int argc, char** argv, const std::vector<std::function<QObject*()>>& makers) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--engine") && i + 1 < argc) {
            gEngine = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        args << a;
    }
    if (gEngine != QLatin1String("sqlite") && gEngine != QLatin1String("pg"))
        qFatal("--engine must be sqlite or pg");
    if (IsPg()) pgBase();
    HomeDir();
    int failed = 0;
    for (const auto& make : makers) {
        std::unique_ptr<QObject> test(make());
        if (QTest::qExec(test.get(), args) != 0) ++failed;
    }
    FreeDatabaseGlobals();
    delete gHome;
    gHome = nullptr;
    return failed;
}

}  // namespace testsupport
