#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

// Shared test fixture: each test opens a fresh database on the engine the executable was started
// for ("--engine sqlite" or "--engine pg"): a copy of a prepared template file on SQLite, a new
// schema of the throwaway server (LBSYS_TEST_PG) on PostgreSQL. A PostgreSQL run without a server
// fails; it never skips.
namespace testsupport {

// "sqlite" or "pg".
QString Engine();
bool IsPg();

// A fresh database with the whole schema, connected through gDatabase (created if needed).
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    // The connection string of this database.
    const QString& ConnectionString() const { return connectionString_; }
    // An empty database (no tables) instead: for tests of schema preparation.
    static std::unique_ptr<TestDatabase> Empty();

private:
    explicit TestDatabase(bool prepare);
    QString connectionString_;
    QString pgSchema_;
    QString sqliteFile_;
};

// A temporary LBSYS_HOME for the whole run (set before any test object is created).
const QString& HomeDir();

// Runs the test objects in order with QTest::qExec and returns the number of failed objects.
// Strips "--engine X" from the arguments first.
int RunTests(int argc, char** argv, const std::vector<std::function<QObject*()>>& makers);

}  // namespace testsupport

// Defines main() for a test executable of several test classes.
#define LBSYS_TEST_MAIN(...)                                     \
    int main(int argc, char** argv) {                            \
        QApplication app(argc, argv);                            \
        return testsupport::RunTests(argc, argv, {__VA_ARGS__}); \
    }
#define LBSYS_TEST_CLASS(T) [] { return static_cast<QObject*>(new T); }
