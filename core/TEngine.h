#pragma once

#include <QDate>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

#include "core/TDBParameter.h"

class TDataSet;

// The settings of one connection, read from the "key=value;" connection string.
struct TConnectionParams {
    QString provider;
    QString dataSource;  // SQLite: the file; PostgreSQL: the host
    int port = 0;
    QString user;
    QString password;
    QString database;
    QString searchPath;  // PostgreSQL: schemas searched first (tests use a schema per test)
    int connectTimeout = 15;

    static TConnectionParams Parse(const QString& connectionString);
};

// Column kinds of the schema, mapped to engine types by each adapter.
enum class TColumnKind { Integer, Float, DateTime, Boolean, Text, Memo, Blob, Identity };

// Everything SQLite and PostgreSQL spell or do differently lives behind this interface: opening,
// quoting of bracketed names, "top N", date literals, the current time and day arithmetic, DDL
// types, and the statement and result-set calls on the engine's own API.
class TEngine {
public:
    virtual ~TEngine();

    virtual QString Name() const = 0;
    virtual bool IsServer() const = 0;

    virtual void Open(const TConnectionParams& params) = 0;  // raises TDbError(Connection)
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Statement text as the Parts write it (bracketed names, a leading "top N") in this dialect.
    QString Translate(const QString& sql) const;
    virtual QString QuoteName(const QString& name) const = 0;
    virtual QString DateLiteral(const QDate& date) const = 0;
    virtual QString NowFunction() const = 0;
    // Days from earlier to later, fractional, as an SQL expression.
    virtual QString DayDiff(const QString& later, const QString& earlier) const = 0;
    virtual QString ColumnType(TColumnKind kind, int size) const = 0;
    virtual bool TableExists(const QString& table) = 0;

    virtual qint64 Execute(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) = 0;
    // Reads the whole result into the dataset. With declaredFields the dataset's own fields are
    // filled by name (each must be in the result unless calculated); otherwise the fields are made
    // from the result's columns.
    virtual void Fetch(const QString& sql, const TDBParameters& values, TDataSet& into,
                       bool declaredFields) = 0;
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;

    // Texts of stored date-times and of parameters: "yyyy-MM-dd hh:mm:ss" (milliseconds when set).
    static QString DateTimeText(const QDateTime& value);

protected:
    // The spelling of a result column: the way the statement or the schema writes it (PostgreSQL
    // folds unquoted names to lower case).
    static QString CanonicalName(const QString& resultName, const QString& sql);
    QString statementError(const QString& providerMessage, const QString& sql) const;
    // Maps a result column to a declared field (-1: not declared), and checks every declared,
    // non-calculated field has its column.
    static std::vector<int> MapDeclaredFields(TDataSet& into, const QStringList& resultNames);
    // The fields no result column fills (calculated ones): each gets a null per loaded row.
    static std::vector<int> UnmappedFields(const TDataSet& into, const std::vector<int>& map);
};

// Names of schema columns, so that a result column read back in lower case gets its usual spelling.
void RegisterCanonicalNames(const QStringList& names);
