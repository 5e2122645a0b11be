#include "core/TDatabase.h"

#include "core/TDataSet.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "core/TPgEngine.h"
#include "core/TRecordSet.h"
#include "core/TSqliteEngine.h"

TDatabase* gDatabase = nullptr;
TRecordSet* gScratchSet = nullptr;

const QString TDatabase::kSqliteProvider = QStringLiteral("SQLite");
const QString TDatabase::kPgProvider = QStringLiteral("PostgreSQL");

void CreateDatabaseGlobals() {
    if (!gDatabase) gDatabase = new TDatabase;
    if (!gScratchSet) gScratchSet = new TRecordSet;
}

void FreeDatabaseGlobals() {
    delete gScratchSet;
    gScratchSet = nullptr;
    delete gDatabase;
    gDatabase = nullptr;
}

TDatabase::TDatabase() = default;
TDatabase::~TDatabase() = default;

QString TDatabase::ConnectionValue(const QString& connectionString, const QString& key) {
    const int at = connectionString.indexOf(key);
    if (at < 0) return QString();
    // Everything up to the key and the one character after it ("=") goes.
    const QString rest = connectionString.mid(at + key.size() + 1);
    const int semi = rest.indexOf(u';');
    return semi < 0 ? QString() : rest.left(semi);
}

QString TDatabase::GetDataSource() const {
    return ConnectionValue(connectionString_, QStringLiteral("Data Source"));
}
QString TDatabase::GetProvider() const {
    return ConnectionValue(connectionString_, QStringLiteral("Provider"));
}
bool TDatabase::IsSqlServer() const {
    return GetProvider() != kSqliteProvider;
}

void TDatabase::Open(const QString& connectionString) {
    if (engine_) engine_->Close();
    inTransaction_ = false;
    connectionString_ = connectionString;
    const TConnectionParams params = TConnectionParams::Parse(connectionString);
    if (IsSqlServer())
        engine_ = std::make_unique<TPgEngine>();
    else
        engine_ = std::make_unique<TSqliteEngine>();
    engine_->Open(params);
}

bool TDatabase::Connect(const QString& connectionString) {
    try {
        Open(connectionString);
    } catch (const TDbError& e) {
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n%1").arg(e.message()));
    }
    return Connected();
}

bool TDatabase::Connected() const {
    return engine_ && engine_->IsOpen();
}

void TDatabase::SetConnected(bool connected) {
    if (connected) {
        if (!Connected()) Open(connectionString_);
    } else if (engine_) {
        engine_->Close();
        inTransaction_ = false;
    }
}

void TDatabase::ensureOpen() {
    if (!Connected()) {
        if (connectionString_.isEmpty())
            throw TDbError(TDbError::Kind::Connection, QStringLiteral("没有打开的数据库连接"));
        Open(connectionString_);
    }
}

TEngine& TDatabase::engine() {
    ensureOpen();
    return *engine_;
}

qint64 TDatabase::ExecuteSql(const QString& sql, const TDBParameters& values, const TxDBParameters& blobs) {
    return engine().Execute(sql, values, blobs);
}

void TDatabase::ExecuteSqlCommand(const QString& sql, const TDBParameters& values,
                                  const TxDBParameters& blobs) {
    engine().Execute(sql, values, blobs);
}

void TDatabase::Fetch(const QString& sql, const TDBParameters& values, TDataSet& into, bool declaredFields) {
    engine().Fetch(sql, values, into, declaredFields);
}

void TDatabase::BeginTrans() {
    if (inTransaction_) throw TDbError(TDbError::Kind::Statement, QStringLiteral("一个事务已经在进行中."));
    engine().Begin();
    inTransaction_ = true;
}

void TDatabase::CommitTrans() {
    engine().Commit();
    inTransaction_ = false;
}

void TDatabase::RollbackTrans() {
    inTransaction_ = false;
    if (engine_ && engine_->IsOpen()) engine_->Rollback();
}

namespace {
// The engine decides the spelling; before any connection the file engine's is used.
const TEngine& dialect(const TEngine* e) {
    static const TSqliteEngine fallback;
    return e ? *e : fallback;
}
}  // namespace

QString TDatabase::DateLiteral(const QDateTime& value) const {
    return DateLiteral(value.date());
}
QString TDatabase::DateLiteral(const QDate& value) const {
    return dialect(engine_.get()).DateLiteral(value);
}
QString TDatabase::NowFunction() const {
    return dialect(engine_.get()).NowFunction();
}
QString TDatabase::DayDiff(const QString& later, const QString& earlier) const {
    return dialect(engine_.get()).DayDiff(later, earlier);
}

int TDatabase::NewKey(const QString& table, const QString& keyColumn) {
    TDataSet ds;
    Fetch(QStringLiteral("select max(%1) from %2").arg(keyColumn, table), {}, ds, false);
    if (ds.IsEmpty() || ds.Field(0)->IsNull()) return 1;
    return ds.Field(0)->AsInteger() + 1;
}

TTransaction::TTransaction(TDatabase& db) : db_(db) {
    db_.BeginTrans();
}

TTransaction::~TTransaction() {
    if (open_) {
        try {
            db_.RollbackTrans();
        } catch (...) {
        }
    }
}

void TTransaction::Commit() {
    db_.CommitTrans();
    open_ = false;
}
