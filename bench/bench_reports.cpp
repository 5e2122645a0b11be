// Reports: a 10,000-row loan list laid out with its generated default layout (preview-ready) and
// written as PDF. Prints the times and the memory the prepared pages take.
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "core/TDataSet.h"
#include "reports/engine/TDefaultLayout.h"
#include "reports/engine/TReportLayouter.h"
#include "reports/engine/TReportPainter.h"

namespace {

// Resident memory of this process in KiB.
long residentKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

void fill(TDataSet& ds, int rows) {
    auto add = [&](TFieldKind kind, const char* name, const char* caption, int width) {
        TField* f = ds.AddField(kind, QString::fromLatin1(name));
        f->DisplayLabel = QString::fromUtf8(caption);
        f->DisplayWidth = width;
    };
    add(TFieldKind::Text, "ReaderCode", "读者编号", 8);
    add(TFieldKind::Text, "ReaderName", "读者姓名", 8);
    add(TFieldKind::Text, "BookCode", "图书条码", 10);
    add(TFieldKind::Text, "BookName", "书名", 30);
    add(TFieldKind::DateTime, "LoanDate", "借书日期", 10);
    add(TFieldKind::DateTime, "ShldretDate", "应还日期", 10);
    add(TFieldKind::Integer, "OverDays", "超期天数", 6);
    add(TFieldKind::Float, "Finefund", "罚款", 8);
    ds.BeginLoad();
    const QDate start(2026, 1, 1);
    for (int i = 0; i < rows; ++i) {
        auto text = [&](int column, const QString& s) {
            const QByteArray b = s.toUtf8();
            ds.LoadText(column, b.constData(), size_t(b.size()));
        };
        text(0, QStringLiteral("R%1").arg(i % 3000, 5, 10, QLatin1Char('0')));
        text(1, QStringLiteral("读者%1").arg(i % 3000));
        text(2, QStringLiteral("B%1").arg(i, 7, 10, QLatin1Char('0')));
        // Every tenth title is long enough to wrap, so rows of different heights are measured.
        text(3,
             i % 10 == 0
                 ? QStringLiteral("图书管理与信息检索的理论方法及其在中小型图书馆中的实践应用第%1卷").arg(i)
                 : QStringLiteral("图书%1").arg(i));
        ds.LoadDateTimeMs(4, TDataSet::EncodeDateTime(QDateTime(start.addDays(i % 365), QTime(0, 0))));
        ds.LoadDateTimeMs(5, TDataSet::EncodeDateTime(QDateTime(start.addDays(i % 365 + 30), QTime(0, 0))));
        ds.LoadInteger(6, i % 40);
        ds.LoadFloat(7, (i % 40) * 0.1);
        ds.EndLoadRow();
    }
    ds.EndLoad();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 10000;
    TDataSet ds;
    fill(ds, rows);
    rpt::TReportData data;
    data.dataSets << &ds;
    data.variables = {{QStringLiteral("u_Company"), QStringLiteral("澄谷市图书馆")},
                      {QStringLiteral("u_Operator"), QStringLiteral("admin")}};
    const rpt::TReportDocument doc = rpt::TDefaultLayout::Generate(ds, QStringLiteral("借阅记录查询"));

    const long before = residentKiB();
    QElapsedTimer timer;
    timer.start();
    // CPU time beside wall time: the build machine is shared, so wall time alone overstates.
    std::clock_t cpu = std::clock();
    rpt::TPreparedReport report = rpt::TReportLayouter::Prepare(doc, data);
    const qint64 layoutMs = timer.elapsed();
    const double layoutCpuMs = double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    const long after = residentKiB();
    size_t ops = 0;
    for (const auto& page : report.pages)
        ops += page.ops.size();

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    timer.restart();
    cpu = std::clock();
    const bool ok = rpt::TReportPainter::ExportPdf(report, pdf);
    const qint64 pdfMs = timer.elapsed();
    const double pdfCpuMs = double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    const long peak = residentKiB();

    std::printf("rows %d, pages %d, drawing ops %zu\n", rows, report.PageCount(), ops);
    std::printf("layout (preview-ready): %lld ms wall, %.0f ms CPU\n", static_cast<long long>(layoutMs),
                layoutCpuMs);
    std::printf("PDF written: %lld ms wall, %.0f ms CPU (%s, %.1f MiB)\n", static_cast<long long>(pdfMs),
                pdfCpuMs, ok ? "ok" : "FAILED", QFileInfo(pdf).size() / 1048576.0);
    std::printf("memory of the prepared pages: %.1f MiB (%.1f KiB per page); resident after PDF: %.1f MiB\n",
                (after - before) / 1024.0,
                report.PageCount() ? double(after - before) / report.PageCount() : 0.0, peak / 1024.0);
    return ok ? 0 : 1;
}
