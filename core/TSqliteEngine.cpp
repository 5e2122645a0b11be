#include "core/TSqliteEngine.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include "core/TDataSet.h"
#include "core/TDbError.h"

namespace {

// Finalizes a statement however the caller leaves.
struct StmtGuard {
    sqlite3_stmt* s;
    ~StmtGuard() { sqlite3_finalize(s); }
};

TFieldKind kindOfDecl(const char* decl) {
    if (!decl) return TFieldKind::Variant;
    const QByteArray t = QByteArray(decl).toUpper();
    if (t.contains("INT")) return TFieldKind::Integer;
    if (t.contains("LONGTEXT")) return TFieldKind::Memo;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB")) return TFieldKind::Text;
    if (t.contains("BLOB")) return TFieldKind::Blob;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB")) return TFieldKind::Float;
    if (t.contains("DATE") || t.contains("TIME")) return TFieldKind::DateTime;
    if (t.contains("BOOL")) return TFieldKind::Boolean;
    return TFieldKind::Variant;
}

}  // namespace

TSqliteEngine::TSqliteEngine()
    : connectionName_(QStringLiteral("lbsys-sqlite-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TSqliteEngine::~TSqliteEngine() {
    Close();
    QSqlDatabase::removeDatabase(connectionName_);
}

void TSqliteEngine::Open(const TConnectionParams& params) {
    Close();
    if (params.dataSource.isEmpty())
        throw TDbError(TDbError::Kind::Connection, QStringLiteral("没有指定数据库文件."));
    const QFileInfo info(params.dataSource);
    if (!info.absoluteDir().exists())
        throw TDbError(TDbError::Kind::Connection,
                       QStringLiteral("找不到数据库文件所在的文件夹: %1").arg(info.absolutePath()));
    qdb_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    qdb_.setDatabaseName(params.dataSource);
    qdb_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!qdb_.open()) {
        const QString msg = qdb_.lastError().text();
        qdb_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw TDbError(TDbError::Kind::Connection, msg);
    }
    const QVariant h = qdb_.driver()->handle();
    db_ = h.isValid() ? *static_cast<sqlite3* const*>(h.constData()) : nullptr;
    if (!db_) {
        Close();
        throw TDbError(TDbError::Kind::Connection, QStringLiteral("SQLite driver gave no handle"));
    }
    // A file that is not a database shows it on the first read; make that the connection error.
    char* err = nullptr;
    if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        Close();
        throw TDbError(TDbError::Kind::Connection, msg);
    }
    // A large page cache and WAL: join-heavy reads are several times faster, commits cheaper.
    exec("pragma cache_size=-131072");
    exec("pragma journal_mode=WAL");
    exec("pragma synchronous=NORMAL");
    exec("pragma temp_store=MEMORY");
    // Text columns compare without regard to case; LIKE does so for ASCII by default.
    exec("pragma case_sensitive_like=OFF");
}

void TSqliteEngine::exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw TDbError(TDbError::Kind::Statement, statementError(msg, QString::fromUtf8(sql)));
    }
}

void TSqliteEngine::Close() {
    db_ = nullptr;
    if (qdb_.isValid()) {
        qdb_.close();
        qdb_ = QSqlDatabase();
    }
}

bool TSqliteEngine::IsOpen() const {
    return db_ != nullptr;
}

QString TSqliteEngine::QuoteName(const QString& name) const {
    return u'"' + name + u'"';
}

QString TSqliteEngine::DateLiteral(const QDate& date) const {
    // Stored dates carry "00:00:00", so the literal does too: ">=" and "<=" then behave as on a
    // date column of a server engine.
    return u'\'' + date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00'");
}

QString TSqliteEngine::NowFunction() const {
    return QStringLiteral("datetime('now','localtime')");
}

QString TSqliteEngine::DayDiff(const QString& later, const QString& earlier) const {
    return QStringLiteral("(julianday(%1)-julianday(%2))").arg(later, earlier);
}

QString TSqliteEngine::ColumnType(TColumnKind kind, int size) const {
    switch (kind) {
        case TColumnKind::Integer:
            return QStringLiteral("INTEGER");
        case TColumnKind::Identity:
            return QStringLiteral("INTEGER PRIMARY KEY");
        case TColumnKind::Float:
            return QStringLiteral("DOUBLE");
        case TColumnKind::DateTime:
            return QStringLiteral("DATETIME");
        case TColumnKind::Boolean:
            return QStringLiteral("BOOLEAN");
        case TColumnKind::Text:
            return size > 0 ? QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(size)
                            : QStringLiteral("VARCHAR COLLATE NOCASE");
        case TColumnKind::Memo:
            return QStringLiteral("LONGTEXT COLLATE NOCASE");
        case TColumnKind::Blob:
            return QStringLiteral("BLOB");
    }
    return QString();
}

bool TSqliteEngine::TableExists(const QString& table) {
    TDataSet ds;
    Fetch(QStringLiteral("select name from sqlite_master where type='table' and lower(name)=lower(:Name)"),
          {DBParam(QStringLiteral("Name"), table)}, ds, false);
    return ds.RecordCount() > 0;
}

sqlite3_stmt* TSqliteEngine::prepare(const QString& sql, const TDBParameters& values,
                                     const TxDBParameters& blobs) {
    if (!db_)
        throw TDbError(TDbError::Kind::Connection,
                       statementError(QStringLiteral("没有打开的数据库连接"), sql));
    const QString text = Translate(sql);
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        throw TDbError(TDbError::Kind::Statement, statementError(msg, sql));
    }
    auto indexOf = [&](const QString& name) {
        const QByteArray key = (u':' + name).toUtf8();
        const int i = sqlite3_bind_parameter_index(stmt, key.constData());
        if (i == 0) {
            sqlite3_finalize(stmt);
            throw TDbError(TDbError::Kind::Statement,
                           statementError(QStringLiteral("Parameter '%1' not found").arg(name), sql));
        }
        return i;
    };
    for (const TDBParameter& p : values) {
        const int i = indexOf(p.Name);
        const QVariant& v = p.Value;
        if (v.isNull() || !v.isValid()) {
            sqlite3_bind_null(stmt, i);
            continue;
        }
        switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Long:
            case QMetaType::Short:
                sqlite3_bind_int64(stmt, i, v.toLongLong());
                break;
            case QMetaType::Bool:
                sqlite3_bind_int(stmt, i, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                sqlite3_bind_double(stmt, i, v.toDouble());
                break;
            case QMetaType::QDateTime: {
                const QByteArray t = DateTimeText(v.toDateTime()).toUtf8();
                sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDate: {
                const QByteArray t = DateTimeText(QDateTime(v.toDate(), QTime(0, 0))).toUtf8();
                sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                sqlite3_bind_blob(stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
        }
    }
    for (const TxDBParameter& b : blobs) {
        const int i = indexOf(b.Name);
        const QByteArray bytes = b.ReadAll();
        sqlite3_bind_blob(stmt, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    return stmt;
}

qint64 TSqliteEngine::Execute(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) {
    StmtGuard g{prepare(sql, values, blobs)};
    int rc;
    while ((rc = sqlite3_step(g.s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw TDbError(TDbError::Kind::Statement,
                       statementError(QString::fromUtf8(sqlite3_errmsg(db_)), sql));
    return sqlite3_changes64(db_);
}

void TSqliteEngine::Fetch(const QString& sql, const TDBParameters& values, TDataSet& into,
                          bool declaredFields) {
    StmtGuard g{prepare(sql, values, {})};
    sqlite3_stmt* s = g.s;
    const int n = sqlite3_column_count(s);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << QString::fromUtf8(sqlite3_column_name(s, i));

    // The first row is read before the fields are made: an expression column (no declared type)
    // takes the type of its first value, so that it is stored as compactly as a table column.
    int rc = sqlite3_step(s);
    std::vector<int> map;
    if (declaredFields) {
        into.Close();
        map = MapDeclaredFields(into, names);
    } else {
        into.ClearFields();
        for (int i = 0; i < n; ++i) {
            TFieldKind kind = kindOfDecl(sqlite3_column_decltype(s, i));
            if (kind == TFieldKind::Variant && rc == SQLITE_ROW) {
                switch (sqlite3_column_type(s, i)) {
                    case SQLITE_INTEGER:
                        kind = TFieldKind::Integer;
                        break;
                    case SQLITE_FLOAT:
                        kind = TFieldKind::Float;
                        break;
                    case SQLITE_TEXT:
                        kind = TFieldKind::Text;
                        break;
                    default:
                        break;
                }
            }
            into.AddField(kind, names[i], kind == TFieldKind::Text ? 50 : -1);
            map.push_back(i);
        }
    }
    const std::vector<int> unmapped = UnmappedFields(into, map);

    into.BeginLoad();
    for (; rc == SQLITE_ROW; rc = sqlite3_step(s)) {
        for (int i = 0; i < n; ++i) {
            const int f = map[size_t(i)];
            if (f < 0) continue;
            switch (sqlite3_column_type(s, i)) {
                case SQLITE_INTEGER:
                    into.LoadInteger(f, sqlite3_column_int64(s, i));
                    break;
                case SQLITE_FLOAT:
                    into.LoadFloat(f, sqlite3_column_double(s, i));
                    break;
                case SQLITE_TEXT:
                    into.LoadText(f, reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                                  size_t(sqlite3_column_bytes(s, i)));
                    break;
                case SQLITE_BLOB: {
                    const void* p = sqlite3_column_blob(s, i);
                    into.LoadVariant(f, QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(s, i)));
                    break;
                }
                default:
                    into.LoadNull(f);
            }
        }
        for (int f : unmapped)
            into.LoadNull(f);
        into.EndLoadRow();
    }
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        into.Close();
        throw TDbError(TDbError::Kind::Statement, statementError(msg, sql));
    }
    into.EndLoad();
}

void TSqliteEngine::Begin() {
    exec("begin immediate");
}
void TSqliteEngine::Commit() {
    exec("commit");
}
void TSqliteEngine::Rollback() {
    if (db_ && !sqlite3_get_autocommit(db_)) exec("rollback");
}
