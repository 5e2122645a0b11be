#pragma once

#include "core/TEngine.h"

struct pg_conn;
struct pg_result;

// PostgreSQL, the server engine shared by several workstations: opened through Qt SQL's QPSQL
// driver, whose libpq connection then runs statements and reads results directly. Text columns
// are citext, so comparisons and LIKE ignore letter case as the system expects.
class TPgEngine : public TEngine {
public:
    TPgEngine();
    ~TPgEngine() override;

    QString Name() const override { return QStringLiteral("PostgreSQL"); }
    bool IsServer() const override { return true; }
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

    pg_conn* Handle() const { return conn_; }

private:
    pg_result* run(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs);
    void exec(const QString& sql);
    QString connectionName_;
    QSqlDatabase qdb_;
    pg_conn* conn_ = nullptr;
};
