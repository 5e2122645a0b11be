#include "core/TSchema.h"

#include <functional>

#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"

namespace {

using K = TColumnKind;

TColumnDef I(const char* n, const char* def = "") {
    return {QString::fromLatin1(n), K::Integer, 0, QString::fromLatin1(def)};
}
TColumnDef F(const char* n, const char* def = "") {
    return {QString::fromLatin1(n), K::Float, 0, QString::fromLatin1(def)};
}
TColumnDef D(const char* n) {
    return {QString::fromLatin1(n), K::DateTime, 0, {}};
}
TColumnDef B(const char* n) {
    return {QString::fromLatin1(n), K::Boolean, 0, {}};
}
TColumnDef T(const char* n, int size = 50) {
    return {QString::fromLatin1(n), K::Text, size, {}};
}
TColumnDef M(const char* n) {
    return {QString::fromLatin1(n), K::Memo, 0, {}};
}
TColumnDef Blob(const char* n) {
    return {QString::fromLatin1(n), K::Blob, 0, {}};
}

std::vector<TTableDef> buildTables() {
    return {
        {"books",
         {I("Id"),          T("Code"),          T("Name"),         T("Ping"),
          T("Author"),      T("ISBN"),          I("CataId"),       T("Zhong"),
          T("Shou"),        T("Publisher"),     T("Pubdate"),      T("Kai"),
          T("Binding"),     T("Language"),      T("Belongs", 250), T("Pages"),
          T("Appendix"),    T("Location"),      F("Price"),        D("Getdate"),
          M("Contents"),    T("Notes", 250),    I("QtyLib", "0"),  I("QtyLoan", "0"),
          I("QtyOff", "0"), I("TimesLoan", "0")},
         "Id"},
        {"journals",
         {I("Id"),          T("Code"),          T("Name"),      T("Ping"),        T("Editor"),
          T("ISSN"),        I("CataId"),        T("Publisher"), T("PubPeriod"),   T("YearNo"),
          T("TotalNo"),     T("Lang"),          T("Kai"),       T("Location"),    T("Appendix"),
          F("Price"),       D("Getdate"),       M("Contents"),  I("QtyLib", "0"), I("QtyLoan", "0"),
          I("QtyOff", "0"), I("TimesLoan", "0")},
         "Id"},
        {"catalogs",
         {I("Id"), T("Code", 0), T("Mark"), T("Name"), T("Note"), I("SlfId"), I("PrtId", "0")},
         "Id"},
        {"publishers", {I("Id"), T("Name"), T("ISBN"), T("Addr")}, "Id"},
        {"readers",
         {I("Id"), T("Code"), T("Name"), T("Ping"), T("Sex"), I("KindId"), T("Tel"), T("Dept"), D("Adddate"),
          T("Address"), T("IDCode"), T("Notes"), I("StateId", "1"), I("Loaning", "0"), I("Loanall", "0"),
          I("Loanover", "0"), F("Deposit", "0")},
         "Id"},
        {"readerskind",
         {I("Id"), T("Name", 30), I("BookTop", "1"), I("BookDays", "15"), I("BookRelet", "15"),
          I("JourTop", "1"), I("JourDays", "10"), I("JourRelet", "10")},
         "Id"},
        {"readerstate", {I("Id"), T("Name")}, "Id"},
        {"readersphoto", {I("ReaderId"), T("Ext", 10), Blob("Photo")}, "ReaderId"},
        {"loans",
         {I("Id"), D("LoanDate"), I("ReaderId"), I("BookId"), I("JourId"), T("Loanman", 0), D("ShldretDate"),
          D("RenewDate"), T("Renewman", 0), D("ReturnDate"), T("Returnman", 0), I("OverDays"), F("Overfund")},
         "Id"},
        {"writeoffs",
         {I("Id"), D("Offdate"), T("Offman", 0), I("BookId"), I("JourId"), I("LoanId"), T("Reason")},
         "Id"},
        {"fines",
         {I("Id"), I("OffId"), I("LoanId"), D("Finedate"), T("Fineman", 0), F("Finefund", "0"),
          T("Finenote", 0), I("PaytypeId", "0")},
         "Id"},
        {"finetypes", {I("Id"), T("Name", 0)}, "Id"},
        {"charges", {I("Id"), D("Chardate"), F("Charfund", "0"), I("ReaderId"), T("Charman", 0)}, "Id"},
        {"operator",
         {T("LoginId", 0), T("Password", 0), T("Name", 0), T("Contact", 0), T("Note", 0), M("Rights"),
          M("Menus")},
         "LoginId"},
        {"options", {I("Key"), T("Label", 0), M("List")}, "Key"},
        {"keyvalue", {I("KeyId"), M("Vstr"), I("Vint"), F("Vfloat"), B("Vbool")}, "KeyId"},
        {"Company",
         {I("Id"), T("CompanyName", 0), T("Manager", 0), T("Tel", 0), T("Fax", 0), T("Address", 0),
          T("Zip", 0), M("Profile"), B("Updated")},
         "Id"},
        {"report", {I("Id"), I("GrpId"), T("Title", 0), Blob("Fr3File")}, "Id"},
        {"link",
         {{QStringLiteral("Id"), K::Identity, 0, {}},
          I("GroupId", "0"),
          T("Title", 0),
          T("lpFile", 0),
          T("lpParameters", 0),
          T("Note", 0)},
         ""},
        {"syscols", {I("F02"), M("F06")}, "F02"},
        {"backup", {I("TypeId", "0"), T("BackDir", 0)}, ""},
    };
}

std::vector<TIndexDef> buildIndexes() {
    return {
        {"ix_books_code", "books", "Code", ""},
        {"ix_books_isbn", "books", "ISBN", ""},
        {"ix_books_ping", "books", "Ping", ""},
        {"ix_books_cataid", "books", "CataId", ""},
        {"ix_journals_code", "journals", "Code", ""},
        {"ix_journals_issn", "journals", "ISSN", ""},
        {"ix_journals_ping", "journals", "Ping", ""},
        {"ix_journals_cataid", "journals", "CataId", ""},
        {"ix_catalogs_code", "catalogs", "Code", ""},
        // Each node has its own tree number: two workstations taking the same one get an error.
        {"ix_catalogs_slfid", "catalogs", "SlfId", "", true},
        {"ix_catalogs_prtid", "catalogs", "PrtId", ""},
        {"ix_readers_code", "readers", "Code", ""},
        {"ix_readers_ping", "readers", "Ping", ""},
        // A reader's open loans; the composite index also serves "loans of a reader".
        {"ix_loans_reader", "loans", "ReaderId, ReturnDate", ""},
        {"ix_loans_book", "loans", "BookId", ""},
        {"ix_loans_jour", "loans", "JourId", ""},
        {"ix_loans_loandate", "loans", "LoanDate", ""},
        // Items still out by due date, and returns by day; a plain ReturnDate index misleads SQLite.
        {"ix_loans_due_open", "loans", "ShldretDate", "ReturnDate is null"},
        {"ix_loans_returned", "loans", "ReturnDate", "ReturnDate is not null"},
        {"ix_loans_renewdate", "loans", "RenewDate", "RenewDate is not null"},
        {"ix_writeoffs_loan", "writeoffs", "LoanId", ""},
        {"ix_writeoffs_book", "writeoffs", "BookId", ""},
        {"ix_writeoffs_jour", "writeoffs", "JourId", ""},
        {"ix_writeoffs_offdate", "writeoffs", "Offdate", ""},
        {"ix_fines_loan", "fines", "LoanId", ""},
        {"ix_fines_off", "fines", "OffId", ""},
        {"ix_fines_finedate", "fines", "Finedate", ""},
        {"ix_charges_reader", "charges", "ReaderId", ""},
        {"ix_charges_chardate", "charges", "Chardate", ""},
        {"ix_report_grp", "report", "GrpId", ""},
    };
}

const QString kVersionTable = QStringLiteral("schemaversion");

// The required rows, each inserted only when missing, so that the step can run again.
QStringList requiredRowsSql() {
    auto ensure = [](const QString& table, const QString& columns, const QString& values,
                     const QString& key) {
        return QStringLiteral("insert into %1(%2) select %3 where not exists (select 1 from %1 where %4)")
            .arg(table, columns, values, key);
    };
    return {
        ensure("operator", "LoginId, [Password], Name, Rights, Menus", "'sa', '', '系统管理员', '', ''",
               "LoginId='sa'"),
        ensure("readerstate", "Id, Name", "1, '正常'", "Id=1"),
        ensure("readerstate", "Id, Name", "2, '挂失'", "Id=2"),
        ensure("readerstate", "Id, Name", "3, '停用'", "Id=3"),
        ensure("finetypes", "Id, Name", "1, '以后再罚'", "Id=1"),
        ensure("finetypes", "Id, Name", "2, '从押金中支付'", "Id=2"),
        ensure("finetypes", "Id, Name", "3, '现金支付'", "Id=3"),
        QStringLiteral(
            "insert into [backup](TypeId, BackDir) select 0, '' where not exists (select 1 from [backup])"),
    };
}

struct Step {
    int version;
    std::function<void(TDatabase&)> apply;
};

// Version 1: every table, index and required row.
void createAll(TDatabase& db) {
    TEngine& e = *db.Engine();
    if (e.IsServer()) db.ExecuteSql(QStringLiteral("create extension if not exists citext schema public"));
    for (const TTableDef& t : TSchema::Tables())
        if (!e.TableExists(t.name))
            for (const QString& sql : TSchema::CreateTableSql(t, e))
                db.ExecuteSql(sql);
    for (const TIndexDef& ix : TSchema::Indexes()) {
        QStringList cols;
        for (const QString& c : ix.columns.split(u','))
            cols << e.QuoteName(c.trimmed());
        QString sql = QStringLiteral("create %1index if not exists %2 on %3(%4)")
                          .arg(ix.unique ? QStringLiteral("unique ") : QString(), ix.name,
                               e.QuoteName(ix.table), cols.join(QStringLiteral(", ")));
        if (!ix.where.isEmpty()) sql += QStringLiteral(" where ") + ix.where;
        db.ExecuteSql(sql);
    }
    for (const QString& sql : requiredRowsSql())
        db.ExecuteSql(sql);
}

const std::vector<Step>& steps() {
    static const std::vector<Step> s = {
        {1, createAll},
    };
    return s;
}

void writeVersion(TDatabase& db, int version) {
    db.ExecuteSql(QStringLiteral("create table if not exists %1 (Id integer primary key, Version integer)")
                      .arg(kVersionTable));
    if (db.ExecuteSql(QStringLiteral("update %1 set Version=:V where Id=1").arg(kVersionTable),
                      {DBParam(QStringLiteral("V"), version)}) != 1)
        db.ExecuteSql(QStringLiteral("insert into %1(Id, Version) values (1, :V)").arg(kVersionTable),
                      {DBParam(QStringLiteral("V"), version)});
}

}  // namespace

int TSchema::CurrentVersion() {
    return steps().back().version;
}

const std::vector<TTableDef>& TSchema::Tables() {
    static const std::vector<TTableDef> tables = [] {
        std::vector<TTableDef> t = buildTables();
        QStringList names;
        for (const auto& table : t) {
            names << table.name;
            for (const auto& c : table.columns)
                names << c.name;
        }
        RegisterCanonicalNames(names);
        return t;
    }();
    return tables;
}

const std::vector<TIndexDef>& TSchema::Indexes() {
    static const std::vector<TIndexDef> ix = buildIndexes();
    return ix;
}

QStringList TSchema::TableNames() {
    QStringList n;
    for (const auto& t : Tables())
        n << t.name;
    return n;
}

QStringList TSchema::CreateTableSql(const TTableDef& table, const TEngine& engine) {
    QStringList cols;
    for (const TColumnDef& c : table.columns) {
        QString def = engine.QuoteName(c.name) + u' ' + engine.ColumnType(c.kind, c.size);
        if (c.name == table.primaryKey) def += QStringLiteral(" not null");
        if (!c.defaultValue.isEmpty()) def += QStringLiteral(" default ") + c.defaultValue;
        cols << def;
    }
    if (!table.primaryKey.isEmpty())
        cols << QStringLiteral("primary key (%1)").arg(engine.QuoteName(table.primaryKey));
    return {QStringLiteral("create table %1 (%2)")
                .arg(engine.QuoteName(table.name), cols.join(QStringLiteral(", ")))};
}

int TSchema::StoredVersion(TDatabase& db) {
    TEngine& e = *db.Engine();
    if (e.TableExists(kVersionTable)) {
        TDataSet ds;
        db.Fetch(QStringLiteral("select Version from %1 where Id=1").arg(kVersionTable), {}, ds, false);
        if (!ds.IsEmpty()) return ds.Field(0)->AsInteger();
    }
    int present = 0;
    for (const TTableDef& t : Tables())
        present += e.TableExists(t.name) ? 1 : 0;
    return present == int(Tables().size()) ? 1 : 0;
}

void TSchema::Prepare(TDatabase& db) {
    TEngine& e = *db.Engine();
    QStringList missing;
    int present = 0;
    for (const TTableDef& t : Tables()) {
        if (e.TableExists(t.name))
            ++present;
        else
            missing << t.name;
    }
    const bool hasVersion = e.TableExists(kVersionTable);
    // Only an empty database or a complete one of this system is changed; anything in between is
    // reported and left as it is.
    if (!missing.isEmpty() && (present > 0 || hasVersion))
        throw TDbError(
            TDbError::Kind::Schema,
            QStringLiteral("数据库中缺少以下数据表: %1\r\n这不是一个完整的本系统数据库, 没有对它做任何修改.")
                .arg(missing.join(QStringLiteral(", "))));
    int version = present == 0 ? 0 : StoredVersion(db);
    if (version > CurrentVersion())
        throw TDbError(TDbError::Kind::Schema,
                       QStringLiteral("数据库的版本(%1)比本程序(%2)新, 请使用新版本的程序.")
                           .arg(version)
                           .arg(CurrentVersion()));
    for (const Step& step : steps()) {
        if (step.version <= version) continue;
        TTransaction tx(db);
        step.apply(db);
        writeVersion(db, step.version);
        tx.Commit();
        version = step.version;
    }
    if (!hasVersion && present > 0) {
        // A complete database prepared elsewhere: record the version it has.
        TTransaction tx(db);
        writeVersion(db, version);
        tx.Commit();
    }
}
