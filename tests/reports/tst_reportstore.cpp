// The report store on both engines, the print command and its window, the designer's commands.
#include <QApplication>
#include <QListWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "admin/TOperator.h"
#include "core/TAbort.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TQuerySet.h"
#include "reports/TDefaultReports.h"
#include "reports/TPrintData.h"
#include "reports/TProjRep.h"
#include "reports/TRepSet.h"
#include "reports/TReportDesignerFrm.h"
#include "reports/TReportPreviewFrm.h"
#include "reports/TReporterFrm.h"
#include "reports/engine/TReportLayouter.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/support/TestSupport.h"

using testsupport::TestDatabase;
using namespace rpt;

namespace {

int scalar(const QString& sql) {
    TDataSet ds;
    gDatabase->Fetch(sql, {}, ds, false);
    return ds.RecordCount() ? ds.Field(0)->AsInteger() : -1;
}

QString variable(const TRep& rep, const QString& name) {
    QString v;
    return rep.Data().Variable(name, &v) ? v : QStringLiteral("<none>");
}

// Logs an operator in with the given rights for the test's lifetime.
struct LoggedIn {
    explicit LoggedIn(const QList<int>& rights) {
        op.LoginId = "clerk";
        op.Name = "王芳";
        op.Rights = TOperator::RightsText(rights);
        previous = gOperator;
        gOperator = &op;
    }
    ~LoggedIn() { gOperator = previous; }
    TOperator op;
    TOperator* previous;
};

QStringList titles(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

}  // namespace

class ReportStoreTests : public QObject {
    Q_OBJECT
private slots:
    void newListRenameDelete() {
        TestDatabase db;
        gDatabase->ExecuteSql("delete from report");
        QCOMPARE(TRep::NewReport(1011, "B 样式"), 1);  // empty table: Id 1
        QCOMPARE(TRep::NewReport(1011, "A 样式"), 2);
        QCOMPARE(TRep::NewReport(1012, "别的组"), 3);
        TRepSet set;
        QCOMPARE(set.ListReports(1011), 2);
        QCOMPARE(set.JoinValues(set.TitleField, ","), QStringLiteral("A 样式,B 样式"));  // title order
        QCOMPARE(set.TitleField->DisplayLabel, QStringLiteral("标题"));
        TRep::RenameReport(1, "0 样式");
        set.ListReports(1011);
        QCOMPARE(set.JoinValues(set.TitleField, ","), QStringLiteral("0 样式,A 样式"));
        QCOMPARE(set.JoinValues(set.IdField, ","), QStringLiteral("1,2"));
        TRep::DeleteReport(1);
        QCOMPARE(set.ListReports(1011), 1);
        QCOMPARE(TRep::NewReport(1011, "新"), 4);  // largest Id plus one
    }

    // Saving a layout whose row was deleted meanwhile inserts only Id and layout; loading reads it back.
    void saveLoadAndSaveAfterDelete() {
        TestDatabase db;
        TRep rep;
        const int id = TRep::NewReport(1001, "罚款单");
        rep.LoadReport(id);
        QVERIFY(rep.Document.IsEmpty());  // a new layout has no document yet
        QCOMPARE(rep.ReportId(), id);
        rep.Document.bands << TReportBand();
        rep.Document.bands[0].objects << TReportObject();
        rep.Document.bands[0].objects[0].text = "罚款 [d0.Fine]";
        rep.SaveReport();
        TRep other;
        other.LoadReport(id);
        QVERIFY(other.Document == rep.Document);

        TRep::DeleteReport(id);
        rep.Document.page.landscape = true;
        rep.SaveReport();
        TQuerySet row;
        QCOMPARE(
            row.OpenSql("select Id, GrpId, Title, Fr3File from report where Id=:Id", {DBParam("Id", id)}), 1);
        QVERIFY(row.FieldByName("GrpId")->IsNull());
        QVERIFY(row.FieldByName("Title")->IsNull());
        QCOMPARE(row.FieldByName("Fr3File")->AsBytes(), rep.Document.ToJson());

        // A missing row or an unreadable document: an empty layout, the key is still taken.
        other.LoadReport(999);
        QVERIFY(other.Document.IsEmpty());
        QCOMPARE(other.ReportId(), 999);
        gDatabase->ExecuteSql("update report set Fr3File=:F where Id=:Id", {DBParam("Id", id)},
                              {DBBlob("F", "<xml/>")});
        TRecordingMessages messages;
        other.LoadReport(id);
        QVERIFY(other.Document.IsEmpty());
        QCOMPARE(other.ReportId(), id);
        QCOMPARE(messages.boxes.size(), 1);
    }

    void variablesOfTheLibraryAndOperator() {
        TestDatabase db;
        LoggedIn login({rtPrint});
        gDatabase->ExecuteSql("delete from Company");
        {
            TProjRep rep;
            QStringList names;
            for (const auto& v : rep.Data().variables)
                names << v.first + '=' + v.second;
            QCOMPARE(names, QStringList({"u_Company= ", "u_Tel= ", "u_Fax= ", "u_Address= ", "u_Zip= ",
                                         "u_Operator=clerk"}));
        }
        gDatabase->ExecuteSql(
            "insert into Company(Id,CompanyName,Tel,Fax,Address,Zip) values "
            "(0,'澄谷市图书馆','0571-1234','','文一路 8 号','310000')");
        TProjRep rep;
        QCOMPARE(variable(rep, "u_Company"), QStringLiteral("澄谷市图书馆"));
        QCOMPARE(variable(rep, "u_Fax"), QStringLiteral(" "));
        QCOMPARE(variable(rep, "u_Zip"), QStringLiteral("310000"));
        rep.AddVariable("", "ignored");
        rep.AddVariable("Extra", "");
        QCOMPARE(rep.Data().variables.size(), 7);
        QCOMPARE(variable(rep, "Extra"), QStringLiteral(" "));
    }

    void defaultLayoutsPerGroup() {
        TestDatabase db;
        gDatabase->ExecuteSql("delete from report");
        TRep::NewReport(1011, QString::fromUtf8(TDefaultReports::kDefaultTitle));
        TDefaultReports::EnsureDefaultReports();
        TDefaultReports::EnsureDefaultReports();
        const int groups = int(TDefaultReports::Groups().size());
        QCOMPARE(groups, 40);
        QCOMPARE(scalar("select count(*) from report"), groups);
        QCOMPARE(scalar("select count(distinct GrpId) from report"), groups);
        QCOMPARE(scalar("select count(*) from report where GrpId=1014"), 0);
    }

    void printRights() {
        TestDatabase db;
        auto ds = reportfixtures::LoanList(3);
        TDefaultReports::EnsureDefaultReports();
        TRecordingMessages messages;
        {
            LoggedIn login({rtPrintDesign});
            QVERIFY_THROWS_EXCEPTION(TAbort, PrintData({ds.get()}, 1011));
            QCOMPARE(messages.Texts().join("").trimmed(),
                     QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(10002)."));
        }
        for (bool design : {false, true}) {
            LoggedIn login(design ? QList<int>{rtPrint, rtPrintDesign} : QList<int>{rtPrint});
            bool seen = false;
            QTimer::singleShot(0, [&] {
                auto* frm = qobject_cast<TReporterFrm*>(QApplication::activeModalWidget());
                QVERIFY(frm);
                seen = true;
                // Closed whatever the checks find, so that a failure cannot leave the test waiting.
                auto close = qScopeGuard([frm] { frm->reject(); });
                QCOMPARE(frm->windowTitle(), QStringLiteral("打印"));
                QCOMPARE(frm->GroupId(), 1011);
                QCOMPARE(titles(frm->List()), QStringList({"默认样式"}));
                QCOMPARE(frm->SelectedId() > 0, true);
                const auto buttons = frm->findChildren<QToolButton*>();
                QCOMPARE(buttons.size(), 4);
                for (QToolButton* b : buttons)
                    QCOMPARE(b->isEnabled(), design);
            });
            PrintData({ds.get()}, 1011, "图书列表");
            QVERIFY(seen);
        }
    }

    void printWindowCommands() {
        TestDatabase db;
        gDatabase->ExecuteSql("delete from report");
        TRecordingMessages messages;
        TProjRep rep;
        TReporterFrm frm;
        frm.SetReper(&rep);
        frm.SetCanDesign(true);
        frm.SetGroupId(1013);
        QCOMPARE(frm.List()->count(), 0);
        frm.Preview();  // nothing selected: told so, nothing else happens
        frm.DeleteReport();
        QCOMPARE(messages.Texts(), QStringList(2, "请先从左框列表中选中您要操作的项目."));
        QCOMPARE(messages.boxes[0].kind, TMsgKind::Plain);

        messages.Clear();
        messages.inputs << "1 读者卡片"
                        << "2 读者名单";
        frm.NewReport();
        frm.NewReport();
        QCOMPARE(titles(frm.List()), QStringList({"1 读者卡片", "2 读者名单"}));
        QCOMPARE(frm.List()->currentItem()->text(), QStringLiteral("2 读者名单"));  // the new one selected

        frm.NewReport();  // input cancelled: nothing added
        QCOMPARE(frm.List()->count(), 2);

        frm.List()->setCurrentRow(0);
        messages.answers << TMsgResult::Cancel;
        frm.DeleteReport();
        QCOMPARE(messages.boxes.last().text, QStringLiteral("确定要删除1 读者卡片吗?"));
        QCOMPARE(messages.boxes.last().kind, TMsgKind::Warning);
        QCOMPARE(frm.List()->count(), 2);
        frm.DeleteReport();  // OK
        QCOMPARE(titles(frm.List()), QStringList({"2 读者名单"}));

        messages.inputs << "2 读者名单(新)";
        frm.RenameReport();
        QCOMPARE(titles(frm.List()), QStringList({"2 读者名单(新)"}));
        QCOMPARE(scalar("select count(*) from report where GrpId=1013"), 1);
    }

    void placement_data() {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QRect>("expected");
        const QSize size(400, 300);
        Q_UNUSED(size);
        // Screen 1280x800, window 400x300.
        QTest::newRow("centred on the pointer, a quarter above")
            << QPoint(600, 300) << QRect(400, 225, 400, 300);
        QTest::newRow("beyond the right edge: centred on screen")
            << QPoint(1000, 100) << QRect(440, 250, 400, 300);
        QTest::newRow("beyond the bottom: centred on screen")
            << QPoint(100, 600) << QRect(440, 250, 400, 300);
        QTest::newRow("negative left and top become 10") << QPoint(50, 20) << QRect(10, 10, 400, 300);
    }
    void placement() {
        QFETCH(QPoint, pointer);
        QFETCH(QRect, expected);
        QCOMPARE(TReporterFrm::Placement(QSize(400, 300), pointer, QRect(0, 0, 1280, 800)), expected);
    }

    // The operator designs a layout, saves it; the next preview shows the change. A layout saved to
    // a file opens again; undo and redo step through the edits.
    void designSavePreviewAndFiles() {
        TestDatabase db;
        TRecordingMessages messages;
        auto ds = reportfixtures::LoanList(30);
        TProjRep rep;
        rep.AddDataSets({ds.get()});
        rep.ListTitle = "图书列表";
        const int id = TRep::NewReport(1011, "默认样式");
        rep.LoadReport(id);
        QVERIFY(rep.Prepare().PageTexts(0).contains("图书列表"));  // empty layout: the generated table

        TReportDesignerFrm designer(&rep);
        const TReportDocument generated = designer.Document();
        QVERIFY(!generated.IsEmpty());
        TReportDocument edited = generated;
        edited.bands[0].objects[1].text = "本月图书清单";
        designer.Change(edited);
        designer.InsertField("d0", "Reader");
        QCOMPARE(designer.Document().bands[designer.SelectedBand()].kind, BandKind::Data);
        QCOMPARE(designer.Document().bands[designer.SelectedBand()].objects.last().text,
                 QStringLiteral("[d0.Reader]"));
        designer.Undo();
        QVERIFY(designer.Document() == edited);
        designer.Undo();
        QVERIFY(designer.Document() == generated);
        QVERIFY(!designer.CanUndo());
        designer.Redo();
        QVERIFY(designer.Document() == edited);
        QVERIFY(designer.Modified());
        QVERIFY(designer.Save());
        QVERIFY(!designer.Modified());

        TProjRep next;
        next.AddDataSets({ds.get()});
        next.LoadReport(id);
        const QStringList texts = next.Prepare().PageTexts(0);
        QVERIFY(texts.contains("本月图书清单"));
        QVERIFY(!texts.contains("图书列表"));

        QTemporaryDir dir;
        const QString file = dir.filePath("layout.lbrpt");
        QVERIFY(designer.SaveAsFile(file));
        TRep fresh;
        fresh.AddDataSets({ds.get()});
        TReportDesignerFrm second(&fresh);
        QVERIFY(second.OpenFile(file));
        QVERIFY(second.Document() == edited);
        QVERIFY(!second.OpenFile(dir.filePath("missing.lbrpt")));
        QVERIFY(TReportDesignerFrm::FileFilter().contains("*.lbrpt"));

        // Closing a modified designer asks first: Cancel keeps the edit, Yes stores it.
        second.InsertField("", "Page");
        messages.answers << TMsgResult::Cancel << TMsgResult::Yes;
        second.reject();
        QVERIFY(second.Modified());
        second.reject();
        QVERIFY(!second.Modified());
        TRep stored;
        stored.LoadReport(0);
        QVERIFY(stored.Document == second.Document());
    }

    // While the designer is open, windows that stay on top are made normal; afterwards they stay on top
    // again.
    void designPausesStayOnTopWindows() {
        TestDatabase db;
        TRecordingMessages messages;
        QWidget floating(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
        floating.show();
        TRep rep;
        const int id = TRep::NewReport(1011, "样式");
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* designer = qobject_cast<TReportDesignerFrm*>(QApplication::activeModalWidget());
            QVERIFY(designer);
            auto close = qScopeGuard([designer] { designer->reject(); });
            seen = true;
            QVERIFY(!(floating.windowFlags() & Qt::WindowStaysOnTopHint));
        });
        rep.Design(id);
        QVERIFY(seen);
        QVERIFY(floating.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(floating.isVisible());
    }

    void previewNavigationAndExports() {
        TestDatabase db;
        TRecordingMessages messages;
        auto ds = reportfixtures::LoanList(150);
        TProjRep rep;
        rep.AddDataSets({ds.get()});
        rep.ListTitle = "借阅记录";
        TReportPreviewFrm preview(rep.Prepare(), ds.get());
        QVERIFY(preview.PageCount() > 2);
        preview.PriorPage();
        QCOMPARE(preview.CurrentPage(), 0);
        preview.LastPage();
        preview.NextPage();
        QCOMPARE(preview.CurrentPage(), preview.PageCount() - 1);
        QTemporaryDir dir;
        QVERIFY(preview.ExportPdfTo(dir.filePath("a.pdf")));
        QVERIFY(reportfixtures::PdfText(dir.filePath("a.pdf")).contains("借阅记录"));
        QVERIFY(preview.ExportXlsxTo(dir.filePath("a.xlsx")));
        QVERIFY(QFileInfo(dir.filePath("a.xlsx")).size() > 1000);
        QVERIFY(!preview.ExportPdfTo(dir.filePath("no/such/dir/a.pdf")));
        QVERIFY(messages.Texts().last().contains("a.pdf"));
    }
};

QObject* makeReportStoreTests() {
    return new ReportStoreTests;
}

#include "tst_reportstore.moc"
