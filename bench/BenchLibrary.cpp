#include "bench/BenchLibrary.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QDate>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TPgEngine.h"
#include "core/TSchema.h"
#include "core/TSqliteEngine.h"

namespace bench {

namespace {

struct Word {
    const char* text;
    const char* ping;
};

const Word kWords[] = {
    {"数据库", "SJK"}, {"原理", "YL"}, {"管理", "GL"}, {"系统", "XT"}, {"设计", "SJ"}, {"中国", "ZG"},
    {"历史", "LS"},    {"文学", "WX"}, {"科学", "KX"}, {"技术", "JS"}, {"教程", "JC"}, {"基础", "JC"},
    {"研究", "YJ"},    {"发展", "FZ"}, {"经济", "JJ"}, {"社会", "SH"}, {"儿童", "ET"}, {"故事", "GS"},
    {"艺术", "YS"},    {"音乐", "YY"}, {"数学", "SX"}, {"物理", "WL"}, {"化学", "HX"}, {"生物", "SW"},
    {"计算机", "JSJ"}, {"网络", "WL"}, {"程序", "CX"}, {"语言", "YY"}, {"英语", "YY"}, {"汉语", "HY"},
    {"实用", "SY"},    {"指南", "ZN"}, {"手册", "SC"}, {"入门", "RM"}, {"高级", "GJ"}, {"现代", "XD"},
    {"古代", "GD"},    {"世界", "SJ"}, {"地理", "DL"}, {"哲学", "ZX"}, {"心理", "XL"}, {"教育", "JY"},
    {"图书馆", "TSG"}, {"信息", "XX"}, {"工程", "GC"}, {"建筑", "JZ"}, {"医学", "YX"}, {"农业", "NY"},
};
const char* kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄",
                           "周", "吴", "徐", "孙", "胡", "朱", "高", "林"};
const char* kGiven[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊",   "军", "洋",
                        "勇", "艳", "杰", "娟", "涛", "明", "超", "秀英", "华", "平"};
const char* kPublishers[] = {"人民出版社",     "科学出版社",     "高等教育出版社", "清华大学出版社",
                             "北京大学出版社", "商务印书馆",     "中华书局",       "人民文学出版社",
                             "机械工业出版社", "电子工业出版社", "上海译文出版社", "作家出版社"};
const char* kDepts[] = {"一年级", "二年级", "三年级", "四年级", "五年级", "六年级", "初一",
                        "初二",   "初三",   "高一",   "高二",   "高三",   "教务处", "总务处",
                        "语文组", "数学组", "英语组", "理化组", "政史组", "图书室"};
const char* kKai[] = {"16开", "32开", "大32开", "8开"};
const char* kBinding[] = {"平装", "精装", "线装"};
const char* kLang[] = {"中文", "英文", "日文"};
const char* kClasses = "ABCDEFGHIJKNOPQRSTUVXZ";  // the 22 top-level classes

class Rng {
public:
    explicit Rng(unsigned seed) : g_(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g_); }
    bool Chance(double p) { return Real(0, 1) < p; }
    template <class T, size_t N>
    const T& Pick(const T (&a)[N]) {
        return a[size_t(Int(0, int(N) - 1))];
    }

private:
    std::mt19937 g_;
};

std::string dateText(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toStdString();
}

// Rows written as text (both engines convert to the column types); an empty optional is null.
struct Cell {
    std::string text;
    bool null = false;
};
using Row = std::vector<Cell>;
Cell N() {
    return Cell{{}, true};
}
Cell S(std::string s) {
    return Cell{std::move(s), false};
}
Cell I(long long v) {
    return Cell{std::to_string(v), false};
}
Cell F(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return Cell{buf, false};
}

class Writer {
public:
    virtual ~Writer() = default;
    virtual void Begin(const std::string& table, const std::vector<std::string>& columns) = 0;
    virtual void Add(const Row& row) = 0;
    virtual void End() = 0;
};

class SqliteWriter : public Writer {
public:
    explicit SqliteWriter(sqlite3* db) : db_(db) {}
    void Begin(const std::string& table, const std::vector<std::string>& columns) override {
        std::string sql = "insert into " + table + "(";
        std::string marks;
        for (size_t i = 0; i < columns.size(); ++i) {
            sql += (i ? "," : "") + std::string("\"") + columns[i] + "\"";
            marks += i ? ",?" : "?";
        }
        sql += ") values (" + marks + ")";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    void Add(const Row& row) override {
        for (size_t i = 0; i < row.size(); ++i) {
            if (row[i].null)
                sqlite3_bind_null(stmt_, int(i) + 1);
            else
                sqlite3_bind_text(stmt_, int(i) + 1, row[i].text.data(), int(row[i].text.size()),
                                  SQLITE_STATIC);
        }
        if (sqlite3_step(stmt_) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(stmt_);
    }
    void End() override {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class PgWriter : public Writer {
public:
    explicit PgWriter(PGconn* c) : c_(c) {}
    void Begin(const std::string& table, const std::vector<std::string>& columns) override {
        std::string sql = "copy " + table + "(";
        for (size_t i = 0; i < columns.size(); ++i)
            sql += (i ? "," : "") + lower(columns[i]);
        sql += ") from stdin";
        PGresult* r = PQexec(c_, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COPY_IN;
        PQclear(r);
        if (!ok) throw std::runtime_error(PQerrorMessage(c_));
        buf_.clear();
    }
    void Add(const Row& row) override {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) buf_ += '\t';
            if (row[i].null) {
                buf_ += "\\N";
                continue;
            }
            for (char ch : row[i].text) {
                if (ch == '\\' || ch == '\t' || ch == '\n') buf_ += '\\';
                buf_ += ch;
            }
        }
        buf_ += '\n';
        if (buf_.size() > (1 << 20)) flush();
    }
    void End() override {
        flush();
        if (PQputCopyEnd(c_, nullptr) != 1) throw std::runtime_error(PQerrorMessage(c_));
        PGresult* r = PQgetResult(c_);
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        while ((r = PQgetResult(c_)))
            PQclear(r);
        if (!ok) throw std::runtime_error(PQerrorMessage(c_));
    }

private:
    static std::string lower(std::string s) {
        for (char& ch : s)
            ch = char(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    }
    void flush() {
        if (!buf_.empty() && PQputCopyData(c_, buf_.data(), int(buf_.size())) != 1)
            throw std::runtime_error(PQerrorMessage(c_));
        buf_.clear();
    }
    PGconn* c_;
    std::string buf_;
};

std::string title(Rng& rng, std::string* ping) {
    std::string t;
    ping->clear();
    const int words = rng.Int(2, 4);
    for (int i = 0; i < words; ++i) {
        const Word& w = rng.Pick(kWords);
        t += w.text;
        *ping += w.ping;
    }
    return t;
}

std::string person(Rng& rng) {
    return std::string(rng.Pick(kSurnames)) + rng.Pick(kGiven);
}

}  // namespace

LibrarySize SizeAt(double scale) {
    auto n = [scale](int base) { return std::max(1, int(base * scale + 0.5)); };
    return {n(200000), n(20000), n(30000), n(2000000), n(50000), n(100000), n(5000)};
}

void GenerateLibrary(TDatabase& db, double scale) {
    TSchema::Prepare(db);
    const LibrarySize size = SizeAt(scale);
    std::unique_ptr<Writer> w;
    if (auto* s = dynamic_cast<TSqliteEngine*>(db.Engine()))
        w = std::make_unique<SqliteWriter>(s->Handle());
    else if (auto* p = dynamic_cast<TPgEngine*>(db.Engine()))
        w = std::make_unique<PgWriter>(p->Handle());
    else
        throw std::runtime_error("unknown engine");

    Rng rng(20130326);
    const QDate end(2026, 12, 1);
    const QDate start = end.addYears(-5);
    const int span = int(start.daysTo(end));

    TTransaction tx(db);

    // The catalogue: 22 classes, 9 subclasses each, 9 sections each.
    std::vector<int> leaves;
    w->Begin("catalogs", {"Id", "Code", "Mark", "Name", "Note", "SlfId", "PrtId"});
    // Top-level classes take SlfId 1 to 22, so "3." is the third class.
    const int classes = int(std::strlen(kClasses));
    for (int a = 0; a < classes; ++a)
        w->Add({I(a + 1), S(std::to_string(a + 1) + "."), S(std::string(1, kClasses[a])),
                S(rng.Pick(kWords).text + std::string("类")), S(""), I(a + 1), I(0)});
    int slf = classes;
    for (int a = 0; a < classes; ++a) {
        const int top = a + 1;
        const std::string topCode = std::to_string(top) + ".";
        for (int b = 1; b <= 9; ++b) {
            const int mid = ++slf;
            const std::string midCode = topCode + std::to_string(mid) + ".";
            w->Add({I(mid), S(midCode), S(std::string(1, kClasses[a]) + std::to_string(b)),
                    S(rng.Pick(kWords).text + std::string(rng.Pick(kWords).text)), S(""), I(mid), I(top)});
            for (int c = 1; c <= 9; ++c) {
                const int leaf = ++slf;
                w->Add({I(leaf), S(midCode + std::to_string(leaf) + "."),
                        S(std::string(1, kClasses[a]) + std::to_string(b * 10 + c)),
                        S(rng.Pick(kWords).text + std::string(rng.Pick(kWords).text)), S(""), I(leaf),
                        I(mid)});
                leaves.push_back(leaf);
            }
        }
    }
    w->End();

    w->Begin("readerskind",
             {"Id", "Name", "BookTop", "BookDays", "BookRelet", "JourTop", "JourDays", "JourRelet"});
    const char* kinds[] = {"学生", "教师", "职工", "临时读者", "校友", "管理员"};
    for (int k = 0; k < 6; ++k)
        w->Add({I(k + 1), S(kinds[k]), I(3 + k), I(30), I(15), I(2), I(15), I(10)});
    w->End();

    w->Begin("books", {"Id",      "Code",   "Name",      "Ping",     "Author",   "ISBN",    "CataId",
                       "Zhong",   "Shou",   "Publisher", "Pubdate",  "Kai",      "Binding", "Language",
                       "Belongs", "Pages",  "Appendix",  "Location", "Price",    "Getdate", "Contents",
                       "Notes",   "QtyLib", "QtyLoan",   "QtyOff",   "TimesLoan"});
    for (int id = 1; id <= size.books; ++id) {
        std::string ping;
        const std::string name = title(rng, &ping);
        std::string contents;
        for (int k = rng.Int(4, 12); k > 0; --k)
            contents += rng.Pick(kWords).text;
        char code[16], isbn[24], shou[24];
        std::snprintf(code, sizeof code, "B%07d", id);
        std::snprintf(isbn, sizeof isbn, "978-7-%03d-%05d-%d", rng.Int(0, 999), rng.Int(0, 99999),
                      rng.Int(0, 9));
        std::snprintf(shou, sizeof shou, "%c%d/%d", kClasses[rng.Int(0, 21)], rng.Int(1, 99),
                      rng.Int(1, 999));
        w->Add({I(id),
                S(code),
                S(name),
                S(ping),
                S(person(rng)),
                S(isbn),
                I(leaves[size_t(rng.Int(0, int(leaves.size()) - 1))]),
                I(rng.Int(1, 500)),
                S(shou),
                S(rng.Pick(kPublishers)),
                S(std::to_string(rng.Int(1995, 2026)) + "-" + std::to_string(rng.Int(1, 12))),
                S(rng.Pick(kKai)),
                S(rng.Pick(kBinding)),
                S(rng.Pick(kLang)),
                S(rng.Chance(0.2) ? "现代" + name + "丛书" : ""),
                I(rng.Int(80, 900)),
                S(rng.Chance(0.1) ? "光盘" : ""),
                S(std::string(1, char('A' + rng.Int(0, 5))) + "区" + std::to_string(rng.Int(1, 40)) + "架"),
                F(rng.Real(8, 120)),
                S(dateText(start.addDays(rng.Int(-3000, span)))),
                S(contents),
                S(""),
                I(rng.Int(1, 5)),
                I(0),
                I(0),
                I(0)});
    }
    w->End();

    w->Begin("journals",
             {"Id",        "Code",     "Name",    "Ping",    "Editor", "ISSN",     "CataId",   "Publisher",
              "PubPeriod", "YearNo",   "TotalNo", "Lang",    "Kai",    "Location", "Appendix", "Price",
              "Getdate",   "Contents", "QtyLib",  "QtyLoan", "QtyOff", "TimesLoan"});
    const char* periods[] = {"周刊", "半月刊", "月刊", "双月刊", "季刊"};
    for (int id = 1; id <= size.journals; ++id) {
        std::string ping;
        const std::string name = title(rng, &ping) + "杂志";
        char code[16], issn[16];
        std::snprintf(code, sizeof code, "J%06d", id);
        std::snprintf(issn, sizeof issn, "%04d-%04d", rng.Int(1000, 9999), rng.Int(1000, 9999));
        const int year = rng.Int(2018, 2026);
        w->Add({I(id),
                S(code),
                S(name),
                S(ping + "ZZ"),
                S(person(rng)),
                S(issn),
                I(leaves[size_t(rng.Int(0, int(leaves.size()) - 1))]),
                S(rng.Pick(kPublishers)),
                S(rng.Pick(periods)),
                S(std::to_string(year) + "年第" + std::to_string(rng.Int(1, 12)) + "期"),
                I(rng.Int(1, 800)),
                S(rng.Pick(kLang)),
                S(rng.Pick(kKai)),
                S("期刊室"),
                S(""),
                F(rng.Real(5, 40)),
                S(dateText(start.addDays(rng.Int(0, span)))),
                S(""),
                I(rng.Int(1, 3)),
                I(0),
                I(0),
                I(0)});
    }
    w->End();

    w->Begin("readers", {"Id", "Code", "Name", "Ping", "Sex", "KindId", "Tel", "Dept", "Adddate", "Address",
                         "IDCode", "Notes", "StateId", "Loaning", "Loanall", "Loanover", "Deposit"});
    for (int id = 1; id <= size.readers; ++id) {
        char code[16], tel[16];
        std::snprintf(code, sizeof code, "R%06d", id);
        std::snprintf(tel, sizeof tel, "13%09d", rng.Int(0, 999999999));
        const int state = rng.Chance(0.02) ? 2 : (rng.Chance(0.02) ? 3 : 1);
        w->Add({I(id), S(code), S(person(rng)), S("XM"), S(rng.Chance(0.5) ? "男" : "女"), I(rng.Int(1, 6)),
                S(tel), S(rng.Pick(kDepts)), S(dateText(start.addDays(rng.Int(-2000, span)))), S("本市"),
                S(""), S(""), I(state), I(0), I(0), I(0), F(rng.Int(0, 10) * 10.0)});
    }
    w->End();

    // Loans: spread over five years; the last few weeks' loans are partly still out (about 3%).
    const int openFrom = size.loans - size.loans * 3 / 100;
    std::vector<int> loanReader(size_t(size.loans) + 1);
    w->Begin("loans", {"Id", "LoanDate", "ReaderId", "BookId", "JourId", "Loanman", "ShldretDate",
                       "RenewDate", "Renewman", "ReturnDate", "Returnman", "OverDays", "Overfund"});
    for (int id = 1; id <= size.loans; ++id) {
        const QDate loan = start.addDays(qint64(span) * (id - 1) / size.loans);
        const bool isBook = rng.Chance(0.9);
        const int reader = rng.Int(1, size.readers);
        loanReader[size_t(id)] = reader;
        const QDate due = loan.addDays(isBook ? 30 : 15);
        const bool open = id > openFrom && rng.Chance(0.97);
        const bool renewed = rng.Chance(0.1);
        Row row{I(id),
                S(dateText(loan)),
                I(reader),
                isBook ? I(rng.Int(1, size.books)) : N(),
                isBook ? N() : I(rng.Int(1, size.journals)),
                S("sa"),
                S(dateText(renewed ? due.addDays(15) : due)),
                renewed ? S(dateText(loan.addDays(20))) : N(),
                renewed ? S("sa") : N()};
        if (open) {
            row.insert(row.end(), {N(), N(), N(), N()});
        } else {
            const int late = rng.Chance(0.15) ? rng.Int(1, 40) : 0;
            const QDate back = late ? due.addDays(late) : loan.addDays(rng.Int(1, int(loan.daysTo(due))));
            row.insert(row.end(), {S(dateText(back)), S("sa"), I(late), F(late * (isBook ? 0.5 : 0.8))});
        }
        w->Add(row);
    }
    w->End();

    w->Begin("writeoffs", {"Id", "Offdate", "Offman", "BookId", "JourId", "LoanId", "Reason"});
    for (int id = 1; id <= size.writeoffs; ++id) {
        const bool isBook = rng.Chance(0.9);
        w->Add({I(id), S(dateText(start.addDays(rng.Int(0, span)))), S("sa"),
                isBook ? I(rng.Int(1, size.books)) : N(), isBook ? N() : I(rng.Int(1, size.journals)),
                rng.Chance(0.5) ? I(rng.Int(1, size.loans)) : N(), S(rng.Chance(0.5) ? "丢失" : "损坏")});
    }
    w->End();

    w->Begin("fines", {"Id", "OffId", "LoanId", "Finedate", "Fineman", "Finefund", "Finenote", "PaytypeId"});
    for (int id = 1; id <= size.fines; ++id) {
        const bool off = id <= size.writeoffs;
        const int pay = rng.Int(1, 3);
        w->Add({I(id), off ? I(id) : N(), off ? N() : I(rng.Int(1, size.loans)),
                pay == 1 ? N() : S(dateText(start.addDays(rng.Int(0, span)))), S(pay == 1 ? "" : "sa"),
                F(rng.Real(0.5, 50)), S(""), I(pay)});
    }
    w->End();

    w->Begin("charges", {"Id", "Chardate", "Charfund", "ReaderId", "Charman"});
    for (int id = 1; id <= size.charges; ++id)
        w->Add({I(id), S(dateText(start.addDays(rng.Int(0, span)))), F(rng.Int(1, 10) * 10.0),
                I(rng.Int(1, size.readers)), S("sa")});
    w->End();

    tx.Commit();
    // Fresh statistics so that both engines plan as they would on a live library.
    db.ExecuteSql(QStringLiteral("analyze"));
}

}  // namespace bench
