#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/TEngine.h"

class TDatabase;

// The database schema, declared once; each engine's DDL is generated from it.
struct TColumnDef {
    QString name;
    TColumnKind kind;
    int size = 0;          // text width the system handles (informational on both engines)
    QString defaultValue;  // SQL literal, or empty
};

struct TTableDef {
    QString name;
    std::vector<TColumnDef> columns;
    QString primaryKey;  // empty: none; an Identity column is its own key
};

struct TIndexDef {
    QString name;
    QString table;
    QString columns;  // "ReaderId, ReturnDate"
    QString where;    // partial index condition, or empty
    bool unique = false;
};

class TSchema {
public:
    // The version a database prepared by this program carries.
    static int CurrentVersion();
    static const std::vector<TTableDef>& Tables();
    static const std::vector<TIndexDef>& Indexes();
    static QStringList TableNames();

    // Creates every table, key, index and required row on an empty database, or upgrades a
    // database of this system to the current version step by step. A database that has only
    // some of the system's tables is reported (TDbError::Kind::Schema) and left untouched.
    static void Prepare(TDatabase& db);
    // The stored schema version: 0 when the database has none of the system's tables.
    static int StoredVersion(TDatabase& db);
    // The DDL statements that create one table on the connected engine.
    static QStringList CreateTableSql(const TTableDef& table, const TEngine& engine);
};
