// The report engine without a database: expressions and formats, the layout document, pagination,
// aggregates, barcodes, the default layout and its PDF.
#include <QDate>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "core/TDataSet.h"
#include "reports/engine/TDefaultLayout.h"
#include "reports/engine/TReportExpr.h"
#include "reports/engine/TReportLayouter.h"
#include "reports/engine/TReportPainter.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/support/TestSupport.h"

using namespace rpt;
using reportfixtures::LoanList;

namespace {

TReportObject text(double x, double y, double w, double h, const QString& t) {
    TReportObject o;
    o.rect = QRectF(x, y, w, h);
    o.text = t;
    return o;
}

TReportBand band(BandKind kind, double height, QList<TReportObject> objects) {
    TReportBand b;
    b.kind = kind;
    b.height = height;
    b.objects = objects;
    return b;
}

// The ops of a page whose text starts with the prefix.
QList<TDrawOp> opsStarting(const TPreparedReport& r, int page, const QString& prefix) {
    QList<TDrawOp> out;
    for (const TDrawOp& op : r.pages[size_t(page)].ops)
        if (op.object->kind == ObjectKind::Text && op.text.startsWith(prefix)) out << op;
    return out;
}

TReportData dataOf(TDataSet* ds, QList<QPair<QString, QString>> vars = {}) {
    TReportData d;
    d.dataSets << ds;
    d.variables = vars;
    return d;
}

}  // namespace

class ReportEngineTests : public QObject {
    Q_OBJECT
private slots:
    void expressions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        // Row 2 of the loan list: Code B0002, Name 书名2, Fine 3.0, Qty 2, LoanDate 2026-01-03.
        QTest::newRow("field") << "书: [d0.Name]"
                               << ""
                               << "书: 书名2";
        QTest::newRow("field case-insensitive") << "[D0.name]"
                                                << ""
                                                << "书名2";
        QTest::newRow("arithmetic") << "[d0.Fine * 2 + 1]"
                                    << ""
                                    << "7";
        QTest::newRow("precedence and parens") << "[(d0.Qty + 1) * 2 - 10 / 4]"
                                               << ""
                                               << "3.5";
        QTest::newRow("unary minus") << "[-d0.Qty]"
                                     << ""
                                     << "-2";
        QTest::newRow("division by zero is empty") << "[d0.Fine / 0]"
                                                   << ""
                                                   << "";
        QTest::newRow("text joins") << "['No.' + d0.Qty]"
                                    << ""
                                    << "No.2";
        QTest::newRow("iif") << "[IIF(d0.Qty >= 2, '多', '少')]"
                             << ""
                             << "多";
        QTest::newRow("unknown field is empty") << "<[d0.Nothing]>"
                                                << ""
                                                << "<>";
        QTest::newRow("variable") << "[u_Company]"
                                  << ""
                                  << "澄谷图书馆";
        QTest::newRow("variable via u") << "[u.u_Company]"
                                        << ""
                                        << "澄谷图书馆";
        QTest::newRow("u gives other names back") << "[u.Other]"
                                                  << ""
                                                  << "Other";
        QTest::newRow("space variable") << "[[[u_Tel]]"
                                        << ""
                                        << "[ ]";
        QTest::newRow("syntax error stays visible") << "x[d0.Fine *]"
                                                    << ""
                                                    << "x[d0.Fine *]";
        QTest::newRow("unclosed bracket is literal") << "a[b"
                                                     << ""
                                                     << "a[b";
        QTest::newRow("format 0.00") << "[d0.Fine]"
                                     << "0.00"
                                     << "3.00";
        QTest::newRow("format grouping") << "[1234567.891]"
                                         << "#,##0.00"
                                         << "1,234,567.89";
        QTest::newRow("format optional decimals") << "[2.50]"
                                                  << "0.##"
                                                  << "2.5";
        QTest::newRow("format no decimals") << "[2.6]"
                                            << "0"
                                            << "3";
        QTest::newRow("format literal around") << "[-1234.5]"
                                               << "¥#,##0.00元"
                                               << "-¥1,234.50元";
        QTest::newRow("format zero not negative") << "[-0.001]"
                                                  << "0.00"
                                                  << "0.00";
        QTest::newRow("format date") << "[d0.LoanDate]"
                                     << "yyyy年MM月dd日"
                                     << "2026年01月03日";
        QTest::newRow("plain date") << "[d0.LoanDate]"
                                    << ""
                                    << "2026-01-03";
        QTest::newRow("plain float") << "[d0.Fine / 4]"
                                     << ""
                                     << "0.75";
        QTest::newRow("number text formatted") << "[u_Zip]"
                                               << "0.00"
                                               << "12.00";
    }
    void expressions() {
        QFETCH(QString, text);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        auto ds = LoanList(5);
        ds->SetRecNo(2);
        // Evaluated through the layouter's context: a title band on a one-page report.
        TReportDocument doc;
        TReportObject o = ::text(0, 0, 100, 6, text);
        o.format = format;
        doc.bands << band(BandKind::ReportTitle, 6, {o});
        const TPreparedReport r = TReportLayouter::Prepare(
            doc, dataOf(ds.get(), {{"u_Company", "澄谷图书馆"}, {"u_Tel", " "}, {"u_Zip", "12"}}));
        QCOMPARE(r.PageCount(), 1);
        const QStringList texts = r.PageTexts(0);
        QCOMPARE(texts.value(0), expected);
    }

    void documentRoundTripAndRejects() {
        TReportDocument doc;
        doc.page.SetPaper("B5");
        doc.page.landscape = true;
        doc.page.marginLeft = 15;
        TReportObject t = text(1, 2, 30, 6, "[d0.Name]");
        t.bold = true;
        t.borders = BorderLeft | BorderBottom;
        t.format = "0.00";
        t.canGrow = t.stretch = true;
        t.fill = QColor("#eeeeee");
        TReportObject line;
        line.kind = ObjectKind::Line;
        line.rect = QRectF(0, 1, 100, 0);
        TReportObject code;
        code.kind = ObjectKind::Barcode;
        code.barcode = Barcode::QrCode;
        code.rect = QRectF(0, 0, 20, 20);
        code.text = "[d0.Code]";
        TReportObject image;
        image.kind = ObjectKind::Image;
        image.rect = QRectF(0, 0, 10, 10);
        image.image = QByteArray("\x89PNG fake", 9);
        // Bands are put into printing order when read.
        doc.bands << band(BandKind::PageFooter, 8, {line}) << band(BandKind::Data, 6, {t, code, image});
        TReportBand group = band(BandKind::GroupHeader, 7, {});
        group.condition = "d0.Reader";
        doc.bands << group;
        doc.SortBands();
        TReportDocument back;
        QVERIFY(back.FromJson(doc.ToJson()));
        QCOMPARE(back.ToJson(), doc.ToJson());
        QVERIFY(back == doc);
        QCOMPARE(back.bands[0].kind, BandKind::GroupHeader);

        const QList<QByteArray> bad = {
            "not json", R"({"version":2,"bands":[]})", R"({"version":1,"bands":[{"type":"nonsense"}]})",
            R"({"version":1,"bands":[{"type":"data","objects":[{"type":"text"}]}]})",
            R"({"version":1,"page":{"paper":"A4","margins":[200,0,20,0]},"bands":[]})"};
        for (const QByteArray& b : bad) {
            TReportDocument kept = doc;
            QString error;
            QVERIFY2(!kept.FromJson(b, &error), b.constData());
            QVERIFY(!error.isEmpty());
            QVERIFY(kept == doc);
        }
    }

    // Page header on every page, footer at the bottom with "page / pages", every row once and in order,
    // no row running into the footer, page sums per page, the summary total over all.
    void paginationRepeatsHeaderAndKeepsFooterAtBottom() {
        auto ds = LoanList(100);
        TReportDocument doc;
        doc.bands << band(BandKind::ReportTitle, 20, {text(0, 0, 190, 20, "TITLE")})
                  << band(BandKind::PageHeader, 8, {text(0, 0, 190, 8, "HDR")})
                  << band(BandKind::Data, 10,
                          {text(0, 0, 100, 10, "ROW [d0.Code]"), text(100, 0, 50, 10, "[Row]")})
                  << band(BandKind::Summary, 8, {text(0, 0, 190, 8, "SUM [SUM(d0.Fine)] [COUNT()]")})
                  << band(BandKind::PageFooter, 10,
                          {text(0, 0, 100, 10, "PAGE [Page] / [Pages]"),
                           text(100, 0, 90, 10, "PSUM [SUM(d0.Qty)]")});
        const TPreparedReport r = TReportLayouter::Prepare(doc, dataOf(ds.get()));
        const double footerTop = 297 - 10 - 10;
        // 277 - 10 printable-footer: first page 20 + 8 header, then rows of 10.
        QVERIFY(r.PageCount() >= 4);
        QStringList codes;
        for (int p = 0; p < r.PageCount(); ++p) {
            QCOMPARE(opsStarting(r, p, "TITLE").size(), p == 0 ? 1 : 0);
            const auto hdr = opsStarting(r, p, "HDR");
            QCOMPARE(hdr.size(), 1);
            QCOMPARE(hdr[0].rect.top(), p == 0 ? 30.0 : 10.0);
            const auto foot = opsStarting(r, p, "PAGE");
            QCOMPARE(foot.size(), 1);
            QCOMPARE(foot[0].rect.top(), footerTop);
            QCOMPARE(r.PageTexts(p).filter("PAGE").value(0),
                     QStringLiteral("PAGE %1 / %2").arg(p + 1).arg(r.PageCount()));
            int qty = 0;
            for (const TDrawOp& op : opsStarting(r, p, "ROW ")) {
                QVERIFY(op.rect.bottom() <= footerTop + 1e-6);
                QVERIFY(op.rect.top() >= hdr[0].rect.bottom() - 1e-6);
                codes << op.text.mid(4);
                qty += op.text.mid(5).toInt() % 3;
            }
            QCOMPARE(r.PageTexts(p).filter("PSUM").value(0), QStringLiteral("PSUM %1").arg(qty));
        }
        QCOMPARE(codes.size(), 100);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(codes[i], QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0')));
        // 1.5 * (0 + ... + 99) = 7425
        QCOMPARE(r.PageTexts(r.PageCount() - 1).filter("SUM ").value(0), QStringLiteral("SUM 7425 100"));
    }

    // A long text grows its row; the cells that stretch keep the row's lines; the next row follows.
    void growingRowStretchesItsCells() {
        auto ds = LoanList(3);
        TReportDocument doc;
        TReportObject grow =
            text(0, 0, 30, 6,
                 "[d0.Name][IIF(d0.Qty = 1, ' 一本很长很长的书名需要换行显示在多行里面才能放得下', '')]");
        grow.canGrow = true;
        grow.borders = BorderAll;
        TReportObject cell = text(30, 0, 20, 6, "[d0.Code]");
        cell.stretch = true;
        cell.borders = BorderAll;
        doc.bands << band(BandKind::Data, 6, {grow, cell});
        const TPreparedReport r = TReportLayouter::Prepare(doc, dataOf(ds.get()));
        const auto& ops = r.pages[0].ops;
        QCOMPARE(int(ops.size()), 6);
        QCOMPARE(ops[0].rect.height(), 6.0);  // short name: design height
        QVERIFY2(ops[2].rect.height() > 10, qPrintable(QString::number(ops[2].rect.height())));
        QCOMPARE(ops[3].rect.height(), ops[2].rect.height());  // stretched to the tallest cell
        QCOMPARE(ops[4].rect.top(), ops[2].rect.bottom());     // next row below the grown one
    }

    // A band taller than a page is split over pages instead of being retried forever.
    void bandTallerThanPageIsSplit() {
        auto ds = LoanList(1);
        TReportDocument doc;
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("第%1行").arg(i);
        TReportObject big = text(0, 0, 100, 5, lines.join('\n'));
        big.canGrow = true;
        TReportObject tall = text(120, 0, 20, 400, "TALL");  // a fixed object taller than the page too
        doc.bands << band(BandKind::PageHeader, 8, {text(0, 0, 190, 8, "HDR")})
                  << band(BandKind::Data, 5, {big, tall})
                  << band(BandKind::Summary, 6, {text(0, 0, 50, 6, "END")})
                  << band(BandKind::PageFooter, 6, {text(0, 0, 50, 6, "[Page]/[Pages]")});
        const TPreparedReport r = TReportLayouter::Prepare(doc, dataOf(ds.get()));
        QVERIFY(r.PageCount() >= 3);
        QVERIFY(r.PageCount() < 20);
        for (int p = 0; p < r.PageCount(); ++p) {
            QCOMPARE(opsStarting(r, p, "HDR").size(), 1);
            for (const TDrawOp& op : r.pages[size_t(p)].ops) {
                if (op.text.startsWith(u"第")) {
                    QVERIFY(!op.clip.isEmpty());
                    QVERIFY(op.clip.top() >= 18 - 1e-6 && op.clip.bottom() <= 297 - 10 - 6 + 1e-6);
                }
            }
        }
        QCOMPARE(opsStarting(r, r.PageCount() - 1, "END").size(), 1);
    }

    // Group footers sum their group; headers print when the break value changes.
    void groupsAndScopedSums() {
        auto ds = LoanList(9);
        ds->SetSortText("Qty ASC,Code ASC");
        TReportDocument doc;
        TReportBand gh = band(BandKind::GroupHeader, 6, {text(0, 0, 50, 6, "G[d0.Qty]")});
        gh.condition = "d0.Qty";
        doc.bands << gh << band(BandKind::Data, 5, {text(0, 0, 50, 5, "[d0.Code]")})
                  << band(BandKind::GroupFooter, 6,
                          {text(0, 0, 80, 6, "F[SUM(d0.Fine)]/[COUNT()]/[MAX(d0.Code)]")})
                  << band(BandKind::Summary, 6, {text(0, 0, 80, 6, "T[SUM(d0.Fine)]/[AVG(d0.Qty)]")});
        const TPreparedReport r = TReportLayouter::Prepare(doc, dataOf(ds.get()));
        // Qty 0: rows 0,3,6 (fines 0+4.5+9); Qty 1: 1,4,7 (1.5+6+10.5); Qty 2: 2,5,8 (3+7.5+12).
        QCOMPARE(r.PageTexts(0), QStringList({"G0", "B0000", "B0003", "B0006", "F13.5/3/B0006", "G1", "B0001",
                                              "B0004", "B0007", "F18/3/B0007", "G2", "B0002", "B0005",
                                              "B0008", "F22.5/3/B0008", "T54/1"}));
    }

    void barcodes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("ok");
        QTest::newRow("code128") << int(Barcode::Code128) << "B0001-ab" << true;
        QTest::newRow("ean13") << int(Barcode::Ean13) << "690123456789" << true;
        QTest::newRow("ean13 letters") << int(Barcode::Ean13) << "abc" << false;
        QTest::newRow("qr chinese") << int(Barcode::QrCode) << "澄谷图书馆 B0001" << true;
        QTest::newRow("empty") << int(Barcode::Code128) << "" << false;
    }
    void barcodes() {
        QFETCH(int, type);
        QFETCH(QString, data);
        QFETCH(bool, ok);
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        QCOMPARE(PaintBarcode(p, QRectF(10, 10, 280, 180), Barcode(type), data), ok);
        p.end();
        int dark = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                dark += qGray(image.pixel(x, y)) < 128;
        QCOMPARE(dark > 100, ok);
    }

    // The generated layout: landscape and scaled widths for a wide list; PDF text with the
    // library's name, title, captions, values, the money sum and "page / pages".
    void defaultLayoutPdf() {
        auto ds = LoanList(120);
        TReportDocument doc = TDefaultLayout::Generate(*ds, "借阅记录查询");
        QVERIFY(!doc.page.landscape);
        const TReportBand& data = doc.bands[doc.BandsOf(BandKind::Data).first()];
        QCOMPARE(data.objects.size(), 6);
        QCOMPARE(data.objects.last().rect.right(), doc.page.PrintableWidth());
        QVERIFY(TDefaultLayout::IsMoney(*ds->FieldByName("Fine")));
        QVERIFY(!TDefaultLayout::IsMoney(*ds->FieldByName("Qty")));

        const TPreparedReport r = TReportLayouter::Prepare(
            doc, dataOf(ds.get(), {{"u_Company", "澄谷市第一中学图书馆"}, {"u_Operator", "admin"}}));
        QVERIFY(r.PageCount() >= 3);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("list.pdf");
        QVERIFY(TReportPainter::ExportPdf(r, pdf));
        // Compared in NFKC: the PDF writer maps a few ideographs shared with Kangxi radicals (谷, 一, 日)
        // to the radicals in the text layer.
        const QString t = reportfixtures::PdfText(pdf).normalized(QString::NormalizationForm_KC);
        for (const QString& want :
             {QStringLiteral("澄谷市第一中学图书馆"), QStringLiteral("借阅记录查询"), QStringLiteral("书名"),
              QStringLiteral("借书日期"), QStringLiteral("罚款"), QStringLiteral("书名117"),
              QStringLiteral("B0042"), QStringLiteral("2026-01-05"), QStringLiteral("制表人: admin"),
              QStringLiteral("共 120 条"), QStringLiteral("10710.00"), QStringLiteral("178.50")})
            QVERIFY2(t.contains(want), qPrintable(want));
        QCOMPARE(t.count(QStringLiteral("借书日期")), r.PageCount());  // header row on every page
        // "page / pages" (pdftotext may drop the spaces around the slash).
        for (int page = 1; page <= r.PageCount(); ++page)
            QVERIFY(t.contains(
                QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\b").arg(page).arg(r.PageCount()))));

        QVERIFY(TReportPainter::ExportPng(r, dir.filePath("list.png"), 60));
        QVERIFY(QImage(dir.filePath("list.png")).width() > 400);
        QVERIFY(QFile::exists(TReportPainter::PngPageName(dir.filePath("list.png"), r.PageCount() - 1)));

        // Many columns: landscape, widths scaled to the printable width.
        TDataSet wide;
        for (int i = 0; i < 14; ++i)
            wide.AddField(TFieldKind::Text, QStringLiteral("C%1").arg(i))->DisplayWidth = 12;
        wide.AddField(TFieldKind::Text, "Hidden")->Visible = false;
        wide.CreateDataSet();
        const TReportDocument w = TDefaultLayout::Generate(wide, "宽表");
        QVERIFY(w.page.landscape);
        const TReportBand& wd = w.bands[w.BandsOf(BandKind::Data).first()];
        QCOMPARE(wd.objects.size(), 14);
        QVERIFY(qAbs(wd.objects.last().rect.right() - w.page.PrintableWidth()) < 1e-6);
        const TPreparedReport empty = TReportLayouter::Prepare(w, dataOf(&wide));
        QCOMPARE(empty.PageCount(), 1);
        QVERIFY(empty.PageTexts(0).contains("合计: 共 0 条"));
    }
};

QObject* makeReportEngineTests() {
    return new ReportEngineTests;
}

#include "tst_reportengine.moc"
