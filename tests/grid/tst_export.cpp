// Exports of a grid: the HTML page line by line with escaping, the .xlsx workbook read back from
// its zip, visible columns in the grid's order, the current row kept, the question to open.
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "admin/TOperator.h"
#include "core/TMessages.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSource.h"
#include "grid/TGridExport.h"
#include "grid/TGridUi.h"
#include "tests/support/TestSupport.h"

namespace {

// Code, Name (with markup and quotes), Note (hidden in the grid), Price.
void fill(TDataSet& ds) {
    ds.AddField(TFieldKind::Text, QStringLiteral("Code"))->DisplayLabel = QStringLiteral("编号");
    ds.AddField(TFieldKind::Text, QStringLiteral("Name"))->DisplayLabel = QStringLiteral("书名 <b>&\"'");
    ds.AddField(TFieldKind::Text, QStringLiteral("Note"))->DisplayLabel = QStringLiteral("备注");
    ds.AddField(TFieldKind::Float, QStringLiteral("Price"))->DisplayLabel = QStringLiteral("价格");
    ds.CreateDataSet();
    const struct {
        const char *code, *name, *note;
        double price;
    } rows[] = {{"007", "<script>alert('x')</script>", "n1", 12.5},
                {"B-2", "数据库 & \"原理\"", "n2", 40},
                {"C3", "", "n3", 0.1}};
    for (const auto& r : rows) {
        ds.Append();
        ds.FieldByName("Code")->SetAsString(QString::fromUtf8(r.code));
        ds.FieldByName("Name")->SetAsString(QString::fromUtf8(r.name));
        ds.FieldByName("Note")->SetAsString(QString::fromUtf8(r.note));
        ds.FieldByName("Price")->SetAsFloat(r.price);
        ds.Post();
    }
}

// Price moved to the front, Note hidden: the export sees 价格, 编号, 书名.
void arrange(TGridView& grid) {
    QHeaderView* h = grid.horizontalHeader();
    h->moveSection(h->visualIndex(grid.ColumnOfField(QStringLiteral("Price"))), 0);
    grid.SetColumnVisible(grid.ColumnOfField(QStringLiteral("Note")), false);
}

// The cells of the first sheet as rows of texts, and whether every cell is a text cell.
QList<QStringList> readSheet(const QString& xlsx, bool* allText) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"),
                {QStringLiteral("-p"), xlsx, QStringLiteral("xl/worksheets/sheet1.xml")});
    unzip.waitForFinished();
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    QList<QStringList> rows;
    QString type;
    *allText = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) rows.append(QStringList());
        if (xml.name() == QLatin1String("c")) {
            type = xml.attributes().value(QLatin1String("t")).toString();
            rows.last().append(QString());
        }
        // A value of a cell that is not a text cell: a number or a formula result.
        if (xml.name() == QLatin1String("v") && type != QLatin1String("s") && type != QLatin1String("str"))
            *allText = false;
        if (xml.name() == QLatin1String("t")) rows.last().last() = xml.readElementText();
    }
    return rows;
}

QString unzipText(const QString& zip, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

}  // namespace

class ExportTests : public QObject {
    Q_OBJECT
private:
    TOperator op_;

private slots:
    void init() {
        op_.LoginId = QStringLiteral("clerk");
        op_.Rights = TOperator::RightsText({rtExport});
        gOperator = &op_;
    }
    void cleanup() {
        gOperator = nullptr;
        gridui::SetSaveFileHook(nullptr);
        gridui::SetOpenFileHook(nullptr);
        TGridView::SetExportFolder(QString());
    }

    // The exact page: one element per line with CR LF, UTF-8 declared, markup in titles and
    // values escaped, hidden columns left out, the grid's column order.
    void htmlPageLineByLine() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        arrange(grid);
        ds.SetRecNo(1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.html"));
        QString askedFilter, askedExt;
        gridui::SetSaveFileHook([&](const QString& filter, const QString& ext) {
            askedFilter = filter;
            askedExt = ext;
            return path;
        });
        QStringList opened;
        gridui::SetOpenFileHook([&](const QString& p) {
            opened << p;
            return true;
        });
        TRecordingMessages msgs;
        grid.SaveToHtmlClick();

        QCOMPARE(askedFilter, QStringLiteral("网页文件(*.htm;*.html)|*.htm;*.html"));
        QCOMPARE(askedExt, QStringLiteral("html"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString expected = QStringLiteral(
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
            "<title></title>\r\n</head>\r\n<body>\r\n<table>\r\n"
            "<tr>\r\n<td nowrap>价格&nbsp;</td>\r\n<td nowrap>编号&nbsp;</td>\r\n"
            "<td nowrap>书名 &lt;b&gt;&amp;&quot;&#39;&nbsp;</td>\r\n</tr>\r\n"
            "<tr>\r\n<td nowrap>12.5&nbsp;</td>\r\n<td nowrap>007&nbsp;</td>\r\n"
            "<td nowrap>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&nbsp;</td>\r\n</tr>\r\n"
            "<tr>\r\n<td nowrap>40&nbsp;</td>\r\n<td nowrap>B-2&nbsp;</td>\r\n"
            "<td nowrap>数据库 &amp; &quot;原理&quot;&nbsp;</td>\r\n</tr>\r\n"
            "<tr>\r\n<td nowrap>0.1&nbsp;</td>\r\n<td nowrap>C3&nbsp;</td>\r\n<td "
            "nowrap>&nbsp;</td>\r\n</tr>\r\n"
            "</table>\r\n</body>\r\n</html>\r\n");
        QCOMPARE(QString::fromUtf8(f.readAll()), expected);
        QCOMPARE(ds.RecNo(), 1);
        QCOMPARE(msgs.Texts(), QStringList{QStringLiteral("\r\n导出成功,是否现在就打开?    ")});
        QCOMPARE(opened, QStringList{path});
    }

    // An empty or closed dataset gives the title row only; the table grid asks with the count;
    // Cancel opens nothing; cancelling the file dialog writes nothing.
    void htmlTitlesOnlyAndQuestions() {
        TDataSet ds;
        fill(ds);
        TDBGridcx grid;
        grid.SetDataSet(&ds);
        QTemporaryDir dir;
        QString path;
        gridui::SetSaveFileHook([&](const QString&, const QString&) { return path; });
        int opened = 0;
        gridui::SetOpenFileHook([&](const QString&) { return ++opened > 0; });

        TRecordingMessages msgs;
        msgs.answers << TMsgResult::Cancel;
        path = dir.filePath(QStringLiteral("all.html"));
        grid.SaveToHtmlClick();
        QCOMPARE(msgs.Texts(), QStringList{QStringLiteral("\r\n导出成功, 共 3 条记录,是否现在就打开?    ")});
        QCOMPARE(opened, 0);

        ds.SetFilter(QStringLiteral("Code='none'"));
        ds.SetFiltered(true);
        path = dir.filePath(QStringLiteral("empty.html"));
        grid.SaveToHtmlClick();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).count(QStringLiteral("<tr>")), 1);
        QCOMPARE(opened, 1);

        path.clear();
        msgs.Clear();
        grid.SaveToHtmlClick();
        QVERIFY(msgs.boxes.isEmpty());

        path = dir.filePath(QStringLiteral("no/such/folder/x.html"));
        grid.SaveToHtmlClick();
        QCOMPARE(msgs.boxes.size(), 1);
        QCOMPARE(msgs.boxes[0].kind, TMsgKind::Error);
    }

    // A real workbook: row 1 the captions, every cell text (numbers and leading zeros kept as
    // typed), the grid's order; no program to open it: the path is shown.
    void xlsxReadBack() {
        TDataSet ds;
        fill(ds);
        TDBGridcx grid;
        grid.SetDataSet(&ds);
        arrange(grid);
        ds.SetRecNo(2);
        QTemporaryDir dir;
        TGridView::SetExportFolder(dir.path());
        gridui::SetOpenFileHook([](const QString&) { return false; });
        TRecordingMessages msgs;
        grid.SaveToExcelClick();

        const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.xlsx")});
        QCOMPARE(files.size(), 1);
        const QString xlsx = dir.filePath(files.first());
        QCOMPARE(msgs.Texts().value(0), QStringLiteral("\r\n导出成功, 共 3 条记录,是否现在就打开?    "));
        QVERIFY(msgs.Texts().value(1).contains(QDir::toNativeSeparators(xlsx)));
        QCOMPARE(ds.RecNo(), 2);

        bool allText = false;
        const QList<QStringList> rows = readSheet(xlsx, &allText);
        QVERIFY(allText);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QStringList{"价格", "编号", "书名 <b>&\"'"}));
        QCOMPARE(rows[1], (QStringList{"12.5", "007", "<script>alert('x')</script>"}));
        QCOMPARE(rows[2], (QStringList{"40", "B-2", "数据库 & \"原理\""}));
        QCOMPARE(rows[3].mid(0, 2), (QStringList{"0.1", "C3"}));
        // The text number format "@" (built-in 49) on the cells.
        QVERIFY(unzipText(xlsx, QStringLiteral("xl/styles.xml")).contains(QLatin1String("numFmtId=\"49\"")));
    }

    void xlsxOfAClosedDataSetHasTheTitles() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        ds.Close();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.xlsx"));
        QCOMPARE(gridexport::WriteXlsx(ds, grid.ExportColumns(), path), QString());
        bool allText = false;
        const QList<QStringList> rows = readSheet(path, &allText);
        QCOMPARE(rows, (QList<QStringList>{{"编号", "书名 <b>&\"'", "备注", "价格"}}));
    }
};

QObject* makeExportTests() {
    return new ExportTests;
}

#include "tst_export.moc"
