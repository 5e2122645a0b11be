#include "core/TPgEngine.h"

#include <libpq-fe.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QTimeZone>
#include <QUuid>
#include <charconv>

#include "core/TDataSet.h"
#include "core/TDbError.h"

namespace {

struct ResultGuard {
    PGresult* r;
    ~ResultGuard() { PQclear(r); }
};

// Type OIDs of the built-in types; anything else (citext among them) reads as text.
enum : Oid {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kText = 25,
    kVarchar = 1043
};

TFieldKind kindOfOid(Oid oid) {
    switch (oid) {
        case kBool:
            return TFieldKind::Boolean;
        case kBytea:
            return TFieldKind::Blob;
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            return TFieldKind::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return TFieldKind::Float;
        case kDate:
        case kTimestamp:
        case kTimestampTz:
            return TFieldKind::DateTime;
        default:
            return TFieldKind::Text;
    }
}

// ":Name" placeholders (outside text literals) become $1, $2, ... in order of first use.
QString positional(const QString& sql, const QStringList& known, QStringList* order) {
    QString out;
    out.reserve(sql.size());
    const int n = int(sql.size());
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const int start = i++;
            while (i < n && sql[i] != c)
                ++i;
            ++i;
            out += QStringView(sql).mid(start, qMin(i, n) - start);
            continue;
        }
        if (c == u':' && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == u'_') &&
            (i == 0 || sql[i - 1] != u':')) {
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == u'_'))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            int k = -1;
            for (int x = 0; x < order->size(); ++x)
                if (order->at(x).compare(name, Qt::CaseInsensitive) == 0) k = x;
            if (k < 0) {
                bool isKnown = false;
                for (const QString& kn : known)
                    if (kn.compare(name, Qt::CaseInsensitive) == 0) isKnown = true;
                if (!isKnown) {
                    out += QStringView(sql).mid(i, j - i);
                    i = j;
                    continue;
                }
                order->append(name);
                k = int(order->size()) - 1;
            }
            out += u'$' + QString::number(k + 1);
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QByteArray unhexBytea(const char* s, int n) {
    if (n >= 2 && s[0] == '\\' && s[1] == 'x')
        return QByteArray::fromHex(QByteArray::fromRawData(s + 2, n - 2));
    size_t len = 0;
    unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(s), &len);
    QByteArray b(reinterpret_cast<const char*>(raw), qsizetype(len));
    PQfreemem(raw);
    return b;
}

}  // namespace

TPgEngine::TPgEngine()
    : connectionName_(QStringLiteral("lbsys-pg-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TPgEngine::~TPgEngine() {
    Close();
    QSqlDatabase::removeDatabase(connectionName_);
}

void TPgEngine::Open(const TConnectionParams& params) {
    Close();
    qdb_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
    qdb_.setHostName(params.dataSource);
    if (params.port > 0) qdb_.setPort(params.port);
    qdb_.setDatabaseName(params.database);
    qdb_.setUserName(params.user);
    qdb_.setPassword(params.password);
    qdb_.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(qMax(1, params.connectTimeout)));
    if (!qdb_.open()) {
        const QString msg = qdb_.lastError().text();
        qdb_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw TDbError(TDbError::Kind::Connection, msg);
    }
    const QVariant h = qdb_.driver()->handle();
    conn_ = h.isValid() ? *static_cast<PGconn* const*>(h.constData()) : nullptr;
    if (!conn_) {
        Close();
        throw TDbError(TDbError::Kind::Connection, QStringLiteral("PostgreSQL driver gave no handle"));
    }
    // Notices ("skipping", "drop cascades") are not for the operator.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    try {
        exec(QStringLiteral("set client_encoding to 'UTF8'"));
        exec(QStringLiteral("set datestyle to 'ISO, YMD'"));
        exec(QStringLiteral("set bytea_output to 'hex'"));
        // The current time of the statements is the workstation's local time, as on the file engine.
        const QByteArray zone = QTimeZone::systemTimeZoneId();
        if (!zone.isEmpty()) {
            try {
                exec(QStringLiteral("set time zone '%1'").arg(QString::fromUtf8(zone)));
            } catch (const TDbError&) {
            }
        }
        // Parallel plans only cost on small machines.
        exec(QStringLiteral("set max_parallel_workers_per_gather to 0"));
        if (!params.searchPath.isEmpty())
            exec(QStringLiteral("set search_path to %1, public").arg(params.searchPath));
    } catch (const TDbError& e) {
        Close();
        throw TDbError(TDbError::Kind::Connection, e.message());
    }
}

void TPgEngine::exec(const QString& sql) {
    ResultGuard g{PQexec(conn_, sql.toUtf8().constData())};
    const ExecStatusType st = PQresultStatus(g.r);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
        throw TDbError(TDbError::Kind::Statement,
                       statementError(QString::fromUtf8(PQerrorMessage(conn_)), sql));
}

void TPgEngine::Close() {
    conn_ = nullptr;
    if (qdb_.isValid()) {
        qdb_.close();
        qdb_ = QSqlDatabase();
    }
}

bool TPgEngine::IsOpen() const {
    return conn_ != nullptr && PQstatus(conn_) == CONNECTION_OK;
}

// Tables and columns are created unquoted (so folded to lower case); a bracketed name is quoted
// in that folded form so that reserved words such as "language" work.
QString TPgEngine::QuoteName(const QString& name) const {
    return u'"' + name.toLower() + u'"';
}

QString TPgEngine::DateLiteral(const QDate& date) const {
    return QStringLiteral("timestamp '%1'").arg(date.toString(QStringLiteral("yyyy-MM-dd")));
}

QString TPgEngine::NowFunction() const {
    return QStringLiteral("localtimestamp(0)");
}

QString TPgEngine::DayDiff(const QString& later, const QString& earlier) const {
    return QStringLiteral("(extract(epoch from (%1)-(%2))/86400.0)").arg(later, earlier);
}

QString TPgEngine::ColumnType(TColumnKind kind, int) const {
    switch (kind) {
        case TColumnKind::Integer:
            return QStringLiteral("integer");
        case TColumnKind::Identity:
            return QStringLiteral("integer generated by default as identity primary key");
        case TColumnKind::Float:
            return QStringLiteral("double precision");
        case TColumnKind::DateTime:
            return QStringLiteral("timestamp(3)");
        case TColumnKind::Boolean:
            return QStringLiteral("boolean");
        case TColumnKind::Text:
        case TColumnKind::Memo:
            return QStringLiteral("citext");
        case TColumnKind::Blob:
            return QStringLiteral("bytea");
    }
    return QString();
}

bool TPgEngine::TableExists(const QString& table) {
    TDataSet ds;
    Fetch(QStringLiteral("select 1 from pg_catalog.pg_tables where tablename=lower(:Name) "
                         "and schemaname=any(current_schemas(false))"),
          {DBParam(QStringLiteral("Name"), table)}, ds, false);
    return ds.RecordCount() > 0;
}

PGresult* TPgEngine::run(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) {
    if (!conn_)
        throw TDbError(TDbError::Kind::Connection,
                       statementError(QStringLiteral("没有打开的数据库连接"), sql));
    QStringList known;
    for (const auto& p : values)
        known << p.Name;
    for (const auto& b : blobs)
        known << b.Name;
    QStringList order;
    const QByteArray text = positional(Translate(sql), known, &order).toUtf8();
    for (const QString& k : known) {
        bool used = false;
        for (const QString& o : order)
            used = used || o.compare(k, Qt::CaseInsensitive) == 0;
        if (!used)
            throw TDbError(TDbError::Kind::Statement,
                           statementError(QStringLiteral("Parameter '%1' not found").arg(k), sql));
    }
    std::vector<QByteArray> storage(size_t(order.size()));
    std::vector<const char*> ptrs(size_t(order.size()), nullptr);
    std::vector<int> lengths(size_t(order.size()), 0);
    std::vector<int> formats(size_t(order.size()), 0);
    for (int k = 0; k < order.size(); ++k) {
        const QString& name = order[k];
        bool done = false;
        for (const TxDBParameter& b : blobs) {
            if (b.Name.compare(name, Qt::CaseInsensitive) != 0) continue;
            storage[size_t(k)] = b.ReadAll();
            formats[size_t(k)] = 1;
            done = true;
        }
        for (const TDBParameter& p : values) {
            if (done || p.Name.compare(name, Qt::CaseInsensitive) != 0) continue;
            done = true;
            const QVariant& v = p.Value;
            if (v.isNull() || !v.isValid()) continue;
            switch (v.typeId()) {
                case QMetaType::Bool:
                    storage[size_t(k)] = v.toBool() ? "true" : "false";
                    break;
                case QMetaType::Double:
                case QMetaType::Float:
                    storage[size_t(k)] = QByteArray::number(v.toDouble(), 'g', 17);
                    break;
                case QMetaType::QDateTime:
                    storage[size_t(k)] = DateTimeText(v.toDateTime()).toUtf8();
                    break;
                case QMetaType::QDate:
                    storage[size_t(k)] = DateTimeText(QDateTime(v.toDate(), QTime(0, 0))).toUtf8();
                    break;
                case QMetaType::QByteArray:
                    storage[size_t(k)] = v.toByteArray();
                    formats[size_t(k)] = 1;
                    break;
                default:
                    storage[size_t(k)] = v.toString().toUtf8();
            }
            // A null pointer is SQL null, so an empty text needs a real (empty) buffer.
            if (storage[size_t(k)].isNull()) storage[size_t(k)] = QByteArray("");
        }
        if (!storage[size_t(k)].isNull()) {
            ptrs[size_t(k)] = storage[size_t(k)].constData();
            lengths[size_t(k)] = int(storage[size_t(k)].size());
        }
    }
    PGresult* r = PQexecParams(conn_, text.constData(), int(order.size()), nullptr, ptrs.data(),
                               lengths.data(), formats.data(), 0);
    const ExecStatusType st = PQresultStatus(r);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
        QString msg = QString::fromUtf8(PQresultErrorMessage(r));
        if (msg.isEmpty()) msg = QString::fromUtf8(PQerrorMessage(conn_));
        PQclear(r);
        throw TDbError(
            PQstatus(conn_) == CONNECTION_OK ? TDbError::Kind::Statement : TDbError::Kind::Connection,
            statementError(msg, sql));
    }
    return r;
}

qint64 TPgEngine::Execute(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) {
    ResultGuard g{run(sql, values, blobs)};
    const char* n = PQcmdTuples(g.r);
    return (n && *n) ? QByteArray(n).toLongLong() : 0;
}

void TPgEngine::Fetch(const QString& sql, const TDBParameters& values, TDataSet& into, bool declaredFields) {
    ResultGuard g{run(sql, values, {})};
    PGresult* r = g.r;
    const int n = PQnfields(r);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << CanonicalName(QString::fromUtf8(PQfname(r, i)), sql);

    std::vector<int> map;
    if (declaredFields) {
        into.Close();
        map = MapDeclaredFields(into, names);
    } else {
        into.ClearFields();
        for (int i = 0; i < n; ++i) {
            const TFieldKind kind = kindOfOid(PQftype(r, i));
            into.AddField(kind, names[i], kind == TFieldKind::Text ? 50 : -1);
            map.push_back(i);
        }
    }
    const std::vector<int> unmapped = UnmappedFields(into, map);
    std::vector<TFieldKind> srcKind(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        srcKind[size_t(i)] = kindOfOid(PQftype(r, i));

    const int rows = PQntuples(r);
    into.BeginLoad();
    for (int row = 0; row < rows; ++row) {
        for (int i = 0; i < n; ++i) {
            const int f = map[size_t(i)];
            if (f < 0) continue;
            if (PQgetisnull(r, row, i)) {
                into.LoadNull(f);
                continue;
            }
            const char* v = PQgetvalue(r, row, i);
            const int len = PQgetlength(r, row, i);
            switch (srcKind[size_t(i)]) {
                case TFieldKind::Integer: {
                    qint64 x = 0;
                    std::from_chars(v, v + len, x);
                    into.LoadInteger(f, x);
                    break;
                }
                case TFieldKind::Float: {
                    double x = 0;
                    std::from_chars(v, v + len, x);
                    into.LoadFloat(f, x);
                    break;
                }
                case TFieldKind::Boolean:
                    into.LoadBoolean(f, v[0] == 't');
                    break;
                case TFieldKind::DateTime: {
                    qint64 ms = 0;
                    if (TDataSet::ParseDateTimeText(v, size_t(len), &ms))
                        into.LoadDateTimeMs(f, ms);
                    else
                        into.LoadNull(f);
                    break;
                }
                case TFieldKind::Blob:
                    into.LoadVariant(f, unhexBytea(v, len));
                    break;
                default:
                    into.LoadText(f, v, size_t(len));
            }
        }
        for (int f : unmapped)
            into.LoadNull(f);
        into.EndLoadRow();
    }
    into.EndLoad();
}

void TPgEngine::Begin() {
    exec(QStringLiteral("begin"));
}
void TPgEngine::Commit() {
    exec(QStringLiteral("commit"));
}
void TPgEngine::Rollback() {
    if (conn_ && PQtransactionStatus(conn_) != PQTRANS_IDLE) exec(QStringLiteral("rollback"));
}
