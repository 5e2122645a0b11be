#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

#include "core/TDBParameter.h"
#include "core/TEngine.h"

class TDataSet;
class TRecordSet;

// The one connection of the program (gDatabase). Which engine sits behind it follows only from
// the connection string's Provider: "SQLite" is the embedded file engine, anything else the
// server engine (PostgreSQL). Statements are the Parts' texts; the engine adapter translates.
class TDatabase {
public:
    TDatabase();
    ~TDatabase();

    // Opens the connection; on failure shows "连接时失败,提示如下:\r\n%s" and returns false.
    bool Connect(const QString& connectionString);
    // Opens the connection or raises TDbError(Connection) with the provider's message.
    void Open(const QString& connectionString);
    bool Connected() const;
    // true opens with the stored connection string (raising on failure); false closes.
    void SetConnected(bool connected);
    const QString& ConnectionString() const { return connectionString_; }

    // Runs a statement and returns the rows it affected. Raises TDbError whose text is the
    // provider's message, "\r\n" and the SQL.
    qint64 ExecuteSql(const QString& sql, const TDBParameters& values = {}, const TxDBParameters& blobs = {});
    void ExecuteSqlCommand(const QString& sql, const TDBParameters& values = {},
                           const TxDBParameters& blobs = {});
    // Reads a result into a dataset (the result sets call this).
    void Fetch(const QString& sql, const TDBParameters& values, TDataSet& into, bool declaredFields);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    QString GetDataSource() const;
    QString GetProvider() const;
    // True for the server engine: any provider other than exactly "SQLite".
    bool IsSqlServer() const;

    // SQL literal of the date part; the time of day is dropped.
    QString DateLiteral(const QDateTime& value) const;
    QString DateLiteral(const QDate& value) const;
    QString NowFunction() const;
    // Days between two date-time expressions (later minus earlier), as an SQL expression; the
    // loan queries' "now - l.ShldretDate >= n" is DayDiff(NowFunction(), "l.ShldretDate") + ">=n".
    QString DayDiff(const QString& later, const QString& earlier) const;
    // The largest value of a key column plus one (1 for an empty table).
    int NewKey(const QString& table, const QString& keyColumn = QStringLiteral("Id"));

    TEngine* Engine() const { return engine_.get(); }

    // Value of a key of a connection string: the text after "key=" up to the next ";".
    static QString ConnectionValue(const QString& connectionString, const QString& key);
    static const QString kSqliteProvider;
    static const QString kPgProvider;

private:
    TEngine& engine();
    void ensureOpen();
    std::unique_ptr<TEngine> engine_;
    QString connectionString_;
    bool inTransaction_ = false;
};

// Begins a transaction and rolls it back unless committed, so that an exception never leaves a
// transaction open.
class TTransaction {
public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    void Commit();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

private:
    TDatabase& db_;
    bool open_ = true;
};

extern TDatabase* gDatabase;
extern TRecordSet* gScratchSet;

// Creates gDatabase and gScratchSet (in that order) and frees them in reverse.
void CreateDatabaseGlobals();
void FreeDatabaseGlobals();
