// Grid benchmark: 200,000 generated book rows held in a TDataSet (no database), then binding a
// grid and painting its first screen, a local two-column sort, a local four-field like filter,
// and exports of every row to .xlsx and HTML. Prints each figure against its target.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "core/TDataSet.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSource.h"
#include "grid/TGridExport.h"

namespace {

constexpr int kRows = 200000;

qint64 rssKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

void report(const char* what, double ms, double target) {
    std::printf("%-48s %9.1f ms   target <= %6.0f ms   %s\n", what, ms, target, ms <= target ? "ok" : "OVER");
}

// The book list's columns with realistic values: Chinese titles, authors and publishers, ISBNs,
// class marks, prices and dates.
void generateBooks(TDataSet& ds) {
    const struct {
        TFieldKind kind;
        const char* name;
        const char* caption;
        int size;
    } fields[] = {
        {TFieldKind::Integer, "Id", "序号", 0},           {TFieldKind::Text, "Code", "图书编号", 20},
        {TFieldKind::Text, "Name", "书名", 50},           {TFieldKind::Text, "Ping", "拼音码", 20},
        {TFieldKind::Text, "Author", "作者", 30},         {TFieldKind::Text, "ISBN", "ISBN", 20},
        {TFieldKind::Integer, "CataId", "分类号", 0},     {TFieldKind::Text, "Publisher", "出版社", 30},
        {TFieldKind::Text, "Pubdate", "出版日期", 10},    {TFieldKind::Float, "Price", "价格", 0},
        {TFieldKind::DateTime, "Getdate", "入库日期", 0}, {TFieldKind::Text, "Location", "存放位置", 20},
        {TFieldKind::Integer, "QtyLib", "在库数", 0},     {TFieldKind::Integer, "QtyLoan", "借出数", 0},
        {TFieldKind::Text, "CataMark", "分类标记", 20},   {TFieldKind::Text, "CataName", "分类名称", 30}};
    for (const auto& f : fields) {
        TField* field = ds.AddField(f.kind, QString::fromLatin1(f.name), f.size > 0 ? f.size : -1);
        field->DisplayLabel = QString::fromUtf8(f.caption);
        if (f.kind == TFieldKind::Text) field->DisplayWidth = qMin(f.size, 24);
    }
    const char* words[] = {"数据库", "原理",   "管理", "系统", "程序设计", "中国", "历史",
                           "文学",   "经济学", "基础", "算法", "网络",     "教程", "现代",
                           "导论",   "实践",   "艺术", "科学", "研究",     "方法"};
    const char* surnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
    const char* given[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇", "艳", "杰"};
    const char* publishers[] = {"清华大学出版社", "人民邮电出版社", "机械工业出版社", "电子工业出版社",
                                "高等教育出版社", "人民文学出版社", "商务印书馆",     "中华书局"};
    const char* classes[][2] = {{"TP311", "数据库理论"}, {"TP312", "程序语言"}, {"I247", "中国小说"},
                                {"K20", "中国史"},       {"F0", "经济学"},      {"O1", "数学"}};
    std::mt19937 rng(20131);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const qint64 day0 = TDataSet::EncodeDateTime(QDateTime(QDate(2005, 1, 1), QTime(0, 0)));

    ds.BeginLoad();
    for (int r = 0; r < kRows; ++r) {
        const QByteArray code = "B" + QByteArray::number(100000 + r);
        QByteArray name;
        for (int w = 0, n = 2 + pick(3); w < n; ++w)
            name += words[pick(20)];
        const QByteArray author = QByteArray(surnames[pick(10)]) + given[pick(12)] + given[pick(12)];
        const QByteArray isbn = "978-7-" + QByteArray::number(100 + pick(900)) + "-" +
                                QByteArray::number(10000 + pick(90000)) + "-" + QByteArray::number(pick(10));
        const int cls = pick(6);
        const QByteArray pubdate =
            QByteArray::number(1990 + pick(24)) + "-" + QByteArray::number(1 + pick(12));
        const QByteArray location =
            QByteArray("书库") + QByteArray::number(1 + pick(9)) + "-" + QByteArray::number(pick(40));
        int c = 0;
        ds.LoadInteger(c++, r + 1);
        ds.LoadText(c++, code.constData(), size_t(code.size()));
        ds.LoadText(c++, name.constData(), size_t(name.size()));
        ds.LoadText(c++, "SJK", 3);
        ds.LoadText(c++, author.constData(), size_t(author.size()));
        ds.LoadText(c++, isbn.constData(), size_t(isbn.size()));
        ds.LoadInteger(c++, 1 + cls);
        const char* pub = publishers[pick(8)];
        ds.LoadText(c++, pub, std::strlen(pub));
        ds.LoadText(c++, pubdate.constData(), size_t(pubdate.size()));
        ds.LoadFloat(c++, 5 + pick(9500) / 100.0);
        ds.LoadDateTimeMs(c++, day0 + qint64(pick(3000)) * 86400000);
        ds.LoadText(c++, location.constData(), size_t(location.size()));
        ds.LoadInteger(c++, pick(5));
        ds.LoadInteger(c++, pick(3));
        ds.LoadText(c++, classes[cls][0], std::strlen(classes[cls][0]));
        ds.LoadText(c++, classes[cls][1], std::strlen(classes[cls][1]));
        ds.EndLoadRow();
    }
    ds.EndLoad();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TDataSet books;
    generateBooks(books);
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load = loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').value(0) : "?";
    std::printf("grid: %d book rows held, %.1f MiB in the dataset (machine load %s)\n", books.RecordCount(),
                double(books.MemoryUsed()) / (1 << 20), load.constData());

    // First screen: bind a new grid to the open rows and paint it.
    std::vector<double> bind;
    for (int i = 0; i < 3; ++i) {
        TDBGrid grid;
        grid.resize(1200, 700);
        QElapsedTimer t;
        t.start();
        grid.DataSource()->SetDataSet(&books);
        grid.show();
        const QPixmap shot = grid.grab();
        bind.push_back(double(t.nsecsElapsed()) / 1e6);
        if (shot.isNull()) return 1;
    }
    report("bind data grid and paint first screen", median(bind), 100);

    // The same with the table-view grid: row indicator and cream rows.
    std::vector<double> bindcx;
    for (int i = 0; i < 3; ++i) {
        TDBGridcx grid;
        grid.resize(1200, 700);
        QElapsedTimer t;
        t.start();
        grid.SetDataSet(&books);
        grid.show();
        const QPixmap shot = grid.grab();
        bindcx.push_back(double(t.nsecsElapsed()) / 1e6);
        if (shot.isNull()) return 1;
    }
    report("bind table-view grid and paint first screen", median(bindcx), 100);

    TDBGrid grid;
    grid.resize(1200, 700);
    grid.DataSource()->SetDataSet(&books);
    grid.show();
    grid.grab();

    std::vector<double> sort;
    for (int i = 0; i < 3; ++i) {
        books.SetSortText(QString());
        QElapsedTimer t;
        t.start();
        books.SetSortText(QStringLiteral("Publisher ASC,Price DESC"));
        grid.grab();
        sort.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    report("local sort by two columns (and repaint)", median(sort), 400);
    books.SetSortText(QString());

    std::vector<double> filter;
    int found = 0;
    for (int i = 0; i < 3; ++i) {
        books.SetFiltered(false);
        QElapsedTimer t;
        t.start();
        books.SetFilter(
            QStringLiteral("(Code like '%管理%') or (Name like '%管理%') or (Author like '%管理%') or "
                           "(Publisher like '%管理%')"));
        books.SetFiltered(true);
        grid.grab();
        filter.push_back(double(t.nsecsElapsed()) / 1e6);
        found = books.RecordCount();
    }
    report("local filter, four-field like (and repaint)", median(filter), 300);
    std::printf("  (%d rows matched)\n", found);
    books.SetFiltered(false);
    books.SetFilter(QString());

    QTemporaryDir dir;
    const gridexport::TExportColumns columns = grid.ExportColumns();
    const qint64 rssBefore = rssKiB();
    {
        QElapsedTimer t;
        t.start();
        const QString error =
            gridexport::WriteXlsx(books, columns, dir.filePath(QStringLiteral("books.xlsx")));
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (!error.isEmpty()) std::printf("xlsx export failed: %s\n", error.toUtf8().constData());
        report("export 200,000 rows to .xlsx", ms, 10000);
        std::printf("  (%.1f MiB file, resident memory +%lld KiB)\n",
                    double(QFile(dir.filePath(QStringLiteral("books.xlsx"))).size()) / (1 << 20),
                    rssKiB() - rssBefore);
    }
    {
        const qint64 before = rssKiB();
        QElapsedTimer t;
        t.start();
        const QString error =
            gridexport::WriteHtml(&books, columns, dir.filePath(QStringLiteral("books.html")), true);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (!error.isEmpty()) std::printf("html export failed: %s\n", error.toUtf8().constData());
        report("export 200,000 rows to HTML", ms, 3000);
        std::printf("  (%.1f MiB file, resident memory +%lld KiB)\n",
                    double(QFile(dir.filePath(QStringLiteral("books.html"))).size()) / (1 << 20),
                    rssKiB() - before);
    }
    return 0;
}
