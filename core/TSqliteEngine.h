#pragma once

#include "core/TEngine.h"

struct sqlite3;
struct sqlite3_stmt;

// SQLite, the embedded default: a database file opened through Qt SQL's QSQLITE driver, whose
// handle then runs statements and reads results directly. Dates are stored as ISO text
// "yyyy-mm-dd hh:mm:ss", so text comparison with DateLiteral orders them correctly.
class TSqliteEngine : public TEngine {
public:
    TSqliteEngine();
    ~TSqliteEngine() override;

    QString Name() const override { return QStringLiteral("SQLite"); }
    bool IsServer() const override { return false; }
    void Open(const TConnectionParams& params) override;
    void Close() override;
    bool IsOpen() const override;

    QString QuoteName(const QString& name) const override;
    QString DateLiteral(const QDate& date) const override;
    QString NowFunction() const override;
    QString DayDiff(const QString& later, const QString& earlier) const override;
    QString ColumnType(TColumnKind kind, int size) const override;
    bool TableExists(const QString& table) override;

    qint64 Execute(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) override;
    void Fetch(const QString& sql, const TDBParameters& values, TDataSet& into, bool declaredFields) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;

    sqlite3* Handle() const { return db_; }

private:
    sqlite3_stmt* prepare(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs);
    void exec(const char* sql);
    QString connectionName_;
    QSqlDatabase qdb_;
    sqlite3* db_ = nullptr;
};
