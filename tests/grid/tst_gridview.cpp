// The grids over a dataset: the model following local changes, title sorting, footer sums,
// keys, dataset checks, rights, the menus, the row indicator and cream rows, events.
#include <QAbstractItemModelTester>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "admin/TOperator.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSetModel.h"
#include "grid/TDataSource.h"
#include "grid/TGridUi.h"
#include "tests/support/TestSupport.h"

namespace {

// A, B (texts), Qty (integer), Price (float): rows in a known loaded order.
void fill(TDataSet& ds) {
    ds.AddField(TFieldKind::Text, QStringLiteral("A"));
    ds.AddField(TFieldKind::Text, QStringLiteral("B"));
    ds.AddField(TFieldKind::Integer, QStringLiteral("Qty"));
    ds.AddField(TFieldKind::Float, QStringLiteral("Price"));
    ds.CreateDataSet();
    const struct {
        const char *a, *b;
        int qty;
        double price;
    } rows[] = {{"x", "2", 1, 0.1}, {"y", "1", 2, 0.2}, {"x", "1", 3, 10}, {"y", "3", 4, 2.25}};
    for (const auto& r : rows) {
        ds.Append();
        ds.FieldByName("A")->SetAsString(QString::fromLatin1(r.a));
        ds.FieldByName("B")->SetAsString(QString::fromLatin1(r.b));
        ds.FieldByName("Qty")->SetAsInteger(r.qty);
        ds.FieldByName("Price")->SetAsFloat(r.price);
        ds.Post();
    }
    ds.First();
}

QString rowsOf(const QAbstractItemModel& m, int col0 = 0, int col1 = 1) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.index(r, col0).data().toString() + m.index(r, col1).data().toString();
    return out.join(u' ');
}

struct ScopedOperator {
    TOperator op;
    explicit ScopedOperator(const QList<int>& rights, const QString& login = QStringLiteral("clerk")) {
        op.LoginId = login;
        op.Rights = TOperator::RightsText(rights);
        gOperator = &op;
    }
    ~ScopedOperator() { gOperator = nullptr; }
};

}  // namespace

class GridViewTests : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        gridui::SetDialogHook(nullptr);
        gridui::SetSaveFileHook(nullptr);
        gridui::SetOpenFileHook(nullptr);
    }

    // Appends, edits, deletes, filters, sorts and batches under DisableControls reach the view
    // consistently (the tester checks every signal).
    void modelFollowsTheDataSet() {
        TDataSet ds;
        fill(ds);
        TDataSetModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetDataSet(&ds);
        model.SetColumns({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Gone")},
                         {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("无")});
        QCOMPARE(rowsOf(model), QStringLiteral("x2 y1 x1 y3"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("甲"));
        QCOMPARE(model.index(0, 2).data().toString(), QString());  // a field the dataset lacks

        ds.Append();
        ds.FieldByName("A")->SetAsString(QStringLiteral("z"));
        ds.Post();
        QCOMPARE(rowsOf(model), QStringLiteral("x2 y1 x1 y3 z"));
        ds.SetRecNo(1);
        ds.FieldByName("B")->SetAsString(QStringLiteral("9"));
        ds.Post();
        QCOMPARE(rowsOf(model), QStringLiteral("x2 y9 x1 y3 z"));
        ds.Delete();
        QCOMPARE(rowsOf(model), QStringLiteral("x2 x1 y3 z"));
        ds.SetSortText(QStringLiteral("A DESC,B ASC"));
        QCOMPARE(rowsOf(model), QStringLiteral("z y3 x1 x2"));
        ds.SetFilter(QStringLiteral("(A like '%x%') or (B like '%3%')"));
        ds.SetFiltered(true);
        QCOMPARE(rowsOf(model), QStringLiteral("y3 x1 x2"));

        ds.DisableControls();
        ds.First();
        ds.Delete();
        ds.Append();
        ds.FieldByName("A")->SetAsString(QStringLiteral("x"));
        ds.FieldByName("B")->SetAsString(QStringLiteral("0"));
        ds.Post();
        QCOMPARE(model.rowCount(), 3);  // the view sees nothing until controls come back
        ds.EnableControls();
        QCOMPARE(rowsOf(model), QStringLiteral("x0 x1 x2"));
        ds.Close();
        QCOMPARE(model.rowCount(), 0);
    }

    // Current row: the view follows the dataset and the dataset follows the view.
    void currentRowFollowsBothWays() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        ds.SetRecNo(2);
        QCOMPARE(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(grid.model()->index(3, 1));
        QCOMPARE(ds.RecNo(), 3);
    }

    void titleSortText_data() {
        QTest::addColumn<QString>("marks");  // field:A|D in marking order
        QTest::addColumn<QString>("expected");
        QTest::newRow("one ascending") << "A:A"
                                       << "A";
        QTest::newRow("one descending") << "A:D"
                                        << "A DESC ";
        QTest::newRow("ascending then descending") << "A:A,B:D"
                                                   << "A, B DESC ";
        QTest::newRow("descending then ascending") << "B:D,A:A"
                                                   << "B DESC , A";
        QTest::newRow("none") << ""
                              << "";
    }
    void titleSortText() {
        QFETCH(QString, marks);
        QFETCH(QString, expected);
        std::vector<sorttext::TSortEntry> entries;
        for (const QString& m : marks.split(u',', Qt::SkipEmptyParts))
            entries.push_back({m.section(u':', 0, 0), m.section(u':', 1) == QLatin1String("D")
                                                          ? sorttext::TSortDir::Desc
                                                          : sorttext::TSortDir::Asc});
        QCOMPARE(sorttext::TitleSortText(entries), expected);
    }

    // Clicking titles cycles none, ascending, descending over several columns; the third click
    // on the only marked column gives the loaded order back.
    void titleClicksSortTheDataSet() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        const int a = grid.ColumnOfField(QStringLiteral("A")), b = grid.ColumnOfField(QStringLiteral("B"));
        grid.TitleClick(a);
        grid.TitleClick(b);
        grid.TitleClick(b);
        QCOMPARE(ds.SortText(), QStringLiteral("A ASC,B DESC"));
        QCOMPARE(rowsOf(*grid.model(), a, b), QStringLiteral("x2 x1 y3 y1"));
        QCOMPARE(grid.model()->headerData(b, Qt::Horizontal).toString(), QStringLiteral("B ▼"));
        grid.TitleClick(b);
        grid.TitleClick(a);
        QCOMPARE(ds.SortText(), QStringLiteral("A DESC"));
        QCOMPARE(grid.model()->headerData(a, Qt::Horizontal).toString(), QStringLiteral("A ▼"));
        QCOMPARE(grid.model()->headerData(b, Qt::Horizontal).toString(), QStringLiteral("B"));
        grid.TitleClick(a);
        QCOMPARE(ds.SortText(), QString());
        QCOMPARE(rowsOf(*grid.model(), a, b), QStringLiteral("x2 y1 x1 y3"));

        // A real click on the title does the same.
        QHeaderView* h = grid.horizontalHeader();
        grid.resize(400, 200);
        grid.show();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(b) + 5, 5));
        QCOMPARE(ds.SortText(), QStringLiteral("B ASC"));
        ds.Close();
        grid.TitleClick(a);  // closed: nothing happens
    }

    void footerSums() {
        TDataSet ds;
        fill(ds);
        TDBGridcx grid;
        grid.SetDataSet(&ds);
        grid.AddFooterSum(ds.FieldByName("Qty"));
        grid.AddFooterSum(ds.FieldByName("Price"));
        grid.SetFooterVisible(true);
        QCOMPARE(grid.FooterText(QStringLiteral("Qty")), QStringLiteral("10"));
        QCOMPARE(grid.FooterText(QStringLiteral("Price")), QStringLiteral("12.55"));
        QCOMPARE(grid.FooterText(QStringLiteral("A")), QString());
        ds.SetFilter(QStringLiteral("A='y'"));
        ds.SetFiltered(true);
        QCOMPARE(grid.FooterText(QStringLiteral("Price")), QStringLiteral("2.45"));
        ds.Append();
        ds.FieldByName("A")->SetAsString(QStringLiteral("y"));
        ds.FieldByName("Price")->SetAsFloat(0.55);
        ds.Post();
        QCOMPARE(grid.FooterText(QStringLiteral("Price")), QStringLiteral("3"));

        // Scrolled to the end, the last row shows above the footer, not under it.
        ds.SetFiltered(false);
        for (int i = 0; i < 60; ++i) {
            ds.Append();
            ds.FieldByName("Qty")->SetAsInteger(i);
            ds.Post();
        }
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.scrollToBottom();
        const QWidget* footer = grid.findChild<QWidget*>(QStringLiteral("footer"));
        QVERIFY(footer && footer->isVisible());
        const QRect last = grid.visualRect(grid.model()->index(grid.model()->rowCount() - 1, 0));
        QVERIFY(last.height() > 0);
        QVERIFY(grid.viewport()->mapTo(&grid, last.bottomLeft()).y() < footer->geometry().top());
    }

    // Left and Right skip hidden columns and stop at the edges; Up and Down move the dataset;
    // every key reaches OnKeyDown.
    void arrowKeys() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        grid.SetColumnVisible(grid.ColumnOfField(QStringLiteral("B")), false);
        QList<int> keys;
        grid.OnKeyDown = [&](QKeyEvent* e) { keys << e->key(); };
        grid.setCurrentIndex(grid.model()->index(0, grid.ColumnOfField(QStringLiteral("Qty"))));
        QTest::keyClick(&grid, Qt::Key_Left);
        QCOMPARE(grid.currentIndex().column(), grid.ColumnOfField(QStringLiteral("A")));
        QTest::keyClick(&grid, Qt::Key_Left);
        QCOMPARE(grid.currentIndex().column(), grid.ColumnOfField(QStringLiteral("A")));
        QTest::keyClick(&grid, Qt::Key_Right);
        QCOMPARE(grid.currentIndex().column(), grid.ColumnOfField(QStringLiteral("Qty")));
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(ds.RecNo(), 2);
        QCOMPARE(grid.currentIndex().row(), 2);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(ds.RecNo(), 1);
        QTest::keyClick(&grid, Qt::Key_A);
        QCOMPARE(keys, (QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down,
                                   Qt::Key_Up, Qt::Key_A}));
    }

    void sortRefusedWithoutOpenData_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("message");
        QTest::newRow("data grid, no data source")
            << "db"
            << "nosource"
            << "系统错误: 没有为DBGrid指定DataSource对象,请与作者联系!";
        QTest::newRow("data grid, no dataset")
            << "db"
            << "nodataset"
            << "系统错误: 没有为DBGrid.DataSource指定DataSet对象,请与作者联系!";
        QTest::newRow("data grid, closed") << "db"
                                           << "closed"
                                           << "系统提示: 请先打开数据再操作!";
        QTest::newRow("table grid, no dataset")
            << "cx"
            << "nodataset"
            << "系统错误: 没有为TzxGridcx.DataSource指定DataSet对象,请与作者联系!";
        QTest::newRow("table grid, closed") << "cx"
                                            << "closed"
                                            << "系统提示: 请先打开数据再操作!";
    }
    void sortRefusedWithoutOpenData() {
        QFETCH(QString, grid);
        QFETCH(QString, state);
        QFETCH(QString, message);
        TRecordingMessages msgs;
        bool dialogShown = false;
        gridui::SetDialogHook([&](QDialog&) {
            dialogShown = true;
            return int(QDialog::Rejected);
        });
        TDataSet closed;
        closed.AddField(TFieldKind::Text, QStringLiteral("A"));
        TDataSet* bound = state == QLatin1String("closed") ? &closed : nullptr;
        std::unique_ptr<TGridView> view;
        if (grid == QLatin1String("db")) {
            auto* g = new TDBGrid;
            view.reset(g);
            if (state == QLatin1String("nosource"))
                g->SetDataSource(nullptr);
            else
                g->DataSource()->SetDataSet(bound);
        } else {
            auto* g = new TDBGridcx;
            view.reset(g);
            g->SetDataSet(bound);
        }
        view->SortClick();
        QCOMPARE(msgs.Texts(), QStringList{QStringLiteral("\r\n") + message + QStringLiteral("\t")});
        QVERIFY(!dialogShown);
    }

    // Each guarded command shows the refusal with its number and goes no further; no operator
    // at all is refused the same way; the right lets it through.
    void rightsRefusals_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("right");
        QTest::newRow("column choice") << "columns" << int(rtColumnChoice);
        QTest::newRow("save layout") << "layout" << int(rtSaveLayout);
        QTest::newRow("excel") << "excel" << int(rtExport);
        QTest::newRow("html") << "html" << int(rtExport);
    }
    void rightsRefusals() {
        QFETCH(QString, command);
        QFETCH(int, right);
        testsupport::TestDatabase db;
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        int dialogs = 0, saves = 0;
        gridui::SetDialogHook([&](QDialog&) {
            ++dialogs;
            return int(QDialog::Rejected);
        });
        gridui::SetSaveFileHook([&](const QString&, const QString&) {
            ++saves;
            return QString();
        });
        QTemporaryDir dir;
        TGridView::SetExportFolder(dir.path());
        auto run = [&] {
            if (command == QLatin1String("columns")) grid.PickColumnsClick();
            if (command == QLatin1String("layout")) grid.SaveLayoutClick();
            if (command == QLatin1String("excel")) grid.SaveToExcelClick();
            if (command == QLatin1String("html")) grid.SaveToHtmlClick();
        };
        const QString refusal =
            QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t").arg(right);
        for (bool loggedIn : {false, true}) {
            TRecordingMessages msgs;
            std::unique_ptr<ScopedOperator> op;
            if (loggedIn)
                op = std::make_unique<ScopedOperator>(QList<int>{10002, 10003, 10005, 10007} << right - 1);
            run();
            QCOMPARE(msgs.Texts(), QStringList{refusal});
        }
        QCOMPARE(dialogs + saves, 0);
        QVERIFY(QDir(dir.path()).isEmpty());
        gScratchSet->OpenSql(QStringLiteral("select F02 from syscols"));
        QCOMPARE(gScratchSet->DataSet()->RecordCount(), 0);

        ScopedOperator allowed({right});
        TRecordingMessages msgs;
        msgs.answers << TMsgResult::Cancel;
        run();
        QVERIFY(!msgs.Texts().contains(refusal));
        QCOMPARE(dialogs + saves + (QDir(dir.path()).isEmpty() ? 0 : 1) +
                     (msgs.Texts().contains(QStringLiteral("\r\n列样式保存成功.\t")) ? 1 : 0),
                 1);
        TGridView::SetExportFolder(QString());
    }

    void menusInTheirOrder() {
        TDBGrid grid;
        QCOMPARE(grid.PopupMenuZx()->Captions(), (QStringList{"排序", "-", "列选择", "保存表格样式", "-",
                                                              "导出到Excel文档", "导出到Html网页文件"}));
        TDBGridcx gridcx;
        QCOMPARE(gridcx.PopupMenuZx()->Captions(), grid.PopupMenuZx()->Captions());
        QWidget owner;
        auto* g2 = new TDBGrid(&owner);
        TGridMenu* exportMenu = g2->CreateExportMenu();
        TGridMenu* settingsMenu = g2->CreateSettingsMenu();
        QCOMPARE(exportMenu->parent(), &owner);
        QCOMPARE(exportMenu->Captions(), (QStringList{"导出到Excel文档", "导出到Html网页文件"}));
        QCOMPARE(settingsMenu->Captions(), (QStringList{"列选择", "保存表格样式"}));
        // The settings menu runs the grid's guarded command.
        TRecordingMessages msgs;
        QVERIFY(settingsMenu->Trigger(QStringLiteral("保存表格样式")));
        QCOMPARE(msgs.Texts(),
                 QStringList{QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(10006).\t")});
        // A tool-bar button opens the grid menu at its lower-left corner.
        QPushButton button(QStringLiteral("设置"), &owner);
        button.setGeometry(40, 30, 80, 24);
        owner.resize(300, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        g2->PopupButtonClick(&button);
        QVERIFY(g2->PopupMenuZx()->isVisible());
        QCOMPARE(g2->PopupMenuZx()->pos(), button.mapToGlobal(QPoint(0, button.height())));
        g2->PopupMenuZx()->hide();
        delete g2;  // the menus stay with the window and do nothing now
        QVERIFY(exportMenu->Trigger(QStringLiteral("导出到Excel文档")));
    }

    // The row indicator: "NO" above, numbers from 1, the current row bold, at least 30 pixels;
    // cream on the first, third ... rows unless selected.
    void indicatorAndCreamRows() {
        TDataSet ds;
        fill(ds);
        TDBGridcx grid;
        grid.SetDataSet(&ds);
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(grid.IndicatorVisible());
        QCOMPARE(grid.IndicatorTitle(), QStringLiteral("NO"));
        QVERIFY(grid.verticalHeader()->width() >= 30);
        QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toInt(), 1);
        ds.SetRecNo(2);
        QVERIFY(grid.model()->headerData(2, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!grid.model()->headerData(0, Qt::Vertical, Qt::FontRole).isValid());

        const QImage img = grid.grab().toImage();
        auto pixelOfRow = [&](int row) {
            const QRect r =
                grid.visualRect(grid.model()->index(row, grid.ColumnOfField(QStringLiteral("B"))));
            const QPoint p = grid.viewport()->mapTo(&grid, r.topLeft() + QPoint(r.width() - 3, 2));
            return img.pixelColor(p * img.devicePixelRatio()).rgb();
        };
        QCOMPARE(pixelOfRow(0), QColor(255, 251, 240).rgb());
        QVERIFY(pixelOfRow(1) != QColor(255, 251, 240).rgb());
        QVERIFY(pixelOfRow(2) != QColor(255, 251, 240).rgb());  // selected
        QCOMPARE(pixelOfRow(3) == QColor(255, 251, 240).rgb(), false);
    }

    void tableGridEvents() {
        TDataSet ds;
        fill(ds);
        TDBGridcx grid;
        grid.SetDataSet(&ds);
        grid.resize(500, 300);
        grid.show();
        QStringList seen;
        grid.OnCellClick = [&](TField* f) { seen << QStringLiteral("click ") + f->FieldName(); };
        grid.OnDblClick = [&](QObject*) { seen << QStringLiteral("dbl"); };
        grid.OnCellDblClick = [&](TField* f) { seen << QStringLiteral("celldbl ") + f->FieldName(); };
        grid.OnSelectChanged = [&](bool selected) { seen << QStringLiteral("select %1").arg(selected); };
        grid.OnFocusedItemChanged = [&](QObject*) { seen << QStringLiteral("focused"); };
        const QRect cell = grid.visualRect(grid.model()->index(1, grid.ColumnOfField(QStringLiteral("Qty"))));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(ds.RecNo(), 1);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(seen.contains(QStringLiteral("select 1")));
        QVERIFY(seen.contains(QStringLiteral("focused")));
        QVERIFY(seen.contains(QStringLiteral("click Qty")));
        QVERIFY(seen.indexOf(QStringLiteral("dbl")) < seen.indexOf(QStringLiteral("celldbl Qty")));
        QCOMPARE(grid.SelectedCount(), 1);
        QCOMPARE(grid.RowCount(), 4);
    }

    void createInPanel() {
        testsupport::TestDatabase db;
        TDataSet ds;
        fill(ds);
        QWidget window;
        auto* panel = new QWidget(&window);
        TDBGridcx* grid = TDBGridcx::CreateInPanel(&window, 1037, &ds, panel);
        QCOMPARE(grid->parentWidget(), panel);
        QCOMPARE(grid->Tag(), 1037);
        QCOMPARE(grid->DataSet(), &ds);
        QVERIFY(panel->layout() && panel->layout()->indexOf(grid) >= 0);
        QVERIFY(grid->IndicatorVisible());
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    }
};

QObject* makeGridViewTests() {
    return new GridViewTests;
}

#include "tst_gridview.moc"
