// Data layer against the raw engine APIs on a generated large library.
//
//   bench_data SCALE SQLITE_FILE [PG_CONNECTION]
//
// For each statement: the median time of opening it through TQuerySet, the median time of reading
// the same rows with the raw API (sqlite3 / libpq) into plain vectors, and the ratio ours/raw.
// The last line is "worst ratio: X.XX".
#include <libpq-fe.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchLibrary.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TPgEngine.h"
#include "core/TQuerySet.h"
#include "core/TSchema.h"
#include "core/TSqliteEngine.h"

namespace {

// What any client-side cache must do with a result: copy every value into memory it owns.
struct RawColumns {
    std::vector<std::vector<long long>> ints;
    std::vector<std::vector<double>> reals;
    std::vector<std::vector<std::string>> texts;
    size_t rows = 0;
    void reset(int n) {
        ints.assign(size_t(n), {});
        reals.assign(size_t(n), {});
        texts.assign(size_t(n), {});
        rows = 0;
    }
};

size_t rawSqlite(sqlite3* db, const std::string& sql, RawColumns& out) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "raw sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    const int n = sqlite3_column_count(s);
    out.reset(n);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(s, i)) {
                case SQLITE_INTEGER:
                    out.ints[size_t(i)].push_back(sqlite3_column_int64(s, i));
                    break;
                case SQLITE_FLOAT:
                    out.reals[size_t(i)].push_back(sqlite3_column_double(s, i));
                    break;
                case SQLITE_NULL:
                    out.texts[size_t(i)].emplace_back();
                    break;
                default:
                    out.texts[size_t(i)].emplace_back(
                        reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                        size_t(sqlite3_column_bytes(s, i)));
            }
        }
        ++out.rows;
    }
    sqlite3_finalize(s);
    return out.rows;
}

size_t rawPg(PGconn* c, const std::string& sql, RawColumns& out) {
    PGresult* r = PQexec(c, sql.c_str());
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "raw pg: %s\n", PQerrorMessage(c));
        std::exit(1);
    }
    const int n = PQnfields(r);
    out.reset(n);
    std::vector<Oid> types(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        types[size_t(i)] = PQftype(r, i);
    const int rows = PQntuples(r);
    for (int row = 0; row < rows; ++row) {
        for (int i = 0; i < n; ++i) {
            const char* v = PQgetvalue(r, row, i);
            const int len = PQgetlength(r, row, i);
            const Oid t = types[size_t(i)];
            if (t == 20 || t == 21 || t == 23) {
                long long x = 0;
                std::from_chars(v, v + len, x);
                out.ints[size_t(i)].push_back(x);
            } else if (t == 700 || t == 701 || t == 1700) {
                double x = 0;
                std::from_chars(v, v + len, x);
                out.reals[size_t(i)].push_back(x);
            } else {
                out.texts[size_t(i)].emplace_back(v, size_t(len));
            }
        }
        ++out.rows;
    }
    PQclear(r);
    return out.rows;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Probe {
    QString name;
    QString sql;
};

double worst = 0;

void measure(const QString& engine, const Probe& p, int runs) {
    const std::string raw = gDatabase->Engine()->Translate(p.sql).toStdString();
    std::vector<double> ours, theirs;
    int rows = 0;
    qint64 memory = 0;
    qint64 textBytes = 0;
    for (int i = 0; i < runs; ++i) {
        {
            TQuerySet q;
            QElapsedTimer t;
            t.start();
            rows = q.OpenSql(p.sql);
            ours.push_back(double(t.nsecsElapsed()) / 1e6);
            memory = q.DataSet()->MemoryUsed();
        }
        RawColumns cols;
        QElapsedTimer t;
        t.start();
        if (auto* s = dynamic_cast<TSqliteEngine*>(gDatabase->Engine()))
            rawSqlite(s->Handle(), raw, cols);
        else
            rawPg(static_cast<TPgEngine*>(gDatabase->Engine())->Handle(), raw, cols);
        theirs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (i == 0) {
            textBytes = 0;
            for (const auto& c : cols.texts)
                for (const auto& s : c)
                    textBytes += qint64(s.size());
            for (const auto& c : cols.ints)
                for (long long x : c)
                    textBytes += qint64(std::to_string(x).size());
            for (const auto& c : cols.reals)
                textBytes += qint64(c.size()) * 6;
        }
    }
    const double o = median(ours), r = median(theirs);
    const double ratio = r > 0.05 ? o / r : 1.0;  // sub-0.05 ms reads are noise either way
    worst = std::max(worst, ratio);
    std::printf("%-10s %-28s %9d rows  ours %9.2f ms  raw %9.2f ms  ratio %5.2f", qPrintable(engine),
                qPrintable(p.name), rows, o, r, ratio);
    if (rows > 1000)
        std::printf("  memory %7.1f MiB (%.2fx the rows' text)", double(memory) / 1048576.0,
                    textBytes ? double(memory) / double(textBytes) : 0.0);
    std::printf("\n");
    std::fflush(stdout);
}

void runEngine(const QString& engine, const QString& connection, double scale) {
    gDatabase->Open(connection);
    const QString books = QStringLiteral(
        "select b.*, a.Mark as CataMark, a.Name as CataName from (books b left join catalogs a on "
        "a.Id=b.CataId) ");
    const bool fresh = !gDatabase->Engine()->TableExists(QStringLiteral("books"));
    if (fresh) {
        QElapsedTimer t;
        t.start();
        bench::GenerateLibrary(*gDatabase, scale);
        std::printf("%-10s generated scale %.2f in %.1f s\n", qPrintable(engine), scale,
                    double(t.elapsed()) / 1000.0);
    }
    const QDate month(2025, 3, 1);
    const QString overdue = gDatabase->DayDiff(gDatabase->NowFunction(), QStringLiteral("l.ShldretDate"));
    const std::vector<Probe> probes = {
        {QStringLiteral("book list"), books},
        {QStringLiteral("catalogue subtree"), books + QStringLiteral("where a.Code like '3.%'")},
        {QStringLiteral("keyword in five columns"),
         books +
             QStringLiteral("where b.Code like '%管理%' or b.Name like '%管理%' or b.Ping like '%管理%' or "
                            "b.ISBN like '%管理%' or b.Author like '%管理%'")},
        {QStringLiteral("reader by code"), QStringLiteral("select * from readers where Code='r000123'")},
        {QStringLiteral("open loans of a reader"),
         QStringLiteral(
             "select l.*, b.Code as BookCode, b.Name as BookName from loans l left join books b on "
             "b.Id=l.BookId where l.ReaderId=123 and l.ReturnDate is null")},
        {QStringLiteral("a month of loans, overdue"),
         QStringLiteral("select l.*, %1 as Late from loans l where l.LoanDate>=%2 and l.LoanDate<%3")
             .arg(overdue, gDatabase->DateLiteral(month), gDatabase->DateLiteral(month.addMonths(1)))},
    };
    for (const Probe& p : probes)
        measure(engine, p, 5);
    gDatabase->SetConnected(false);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_data SCALE SQLITE_FILE [PG_CONNECTION]\n");
        return 2;
    }
    const double scale = QString::fromLocal8Bit(argv[1]).toDouble();
    CreateDatabaseGlobals();
    runEngine(QStringLiteral("SQLite"),
              QStringLiteral("Provider=SQLite;Data Source=%1;").arg(QString::fromLocal8Bit(argv[2])), scale);
    if (argc > 3) runEngine(QStringLiteral("PostgreSQL"), QString::fromLocal8Bit(argv[3]), scale);
    FreeDatabaseGlobals();
    std::printf("worst ratio: %.2f\n", worst);
    return 0;
}
