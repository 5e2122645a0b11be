// The sort dialog, the column choice and the picker, driven through their own operations and
// through the grids with the dialog hook standing in for the operator.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "admin/TOperator.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"
#include "grid/IViewList.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSource.h"
#include "grid/TGridUi.h"
#include "grid/TPickerFrm.h"
#include "grid/TSortFrm.h"
#include "grid/TxVisibleFrm.h"
#include "tests/grid/DemoLists.h"
#include "tests/support/TestSupport.h"

namespace {

// A, B, C texts with captions, a memo and a hidden text (listed by the sort dialog), a calculated
// field (not listed).
void fill(TDataSet& ds) {
    ds.AddField(TFieldKind::Text, QStringLiteral("A"))->DisplayLabel = QStringLiteral("甲");
    ds.AddField(TFieldKind::Text, QStringLiteral("B"))->DisplayLabel = QStringLiteral("乙");
    ds.AddField(TFieldKind::Integer, QStringLiteral("C"))->DisplayLabel = QStringLiteral("丙");
    ds.AddField(TFieldKind::Memo, QStringLiteral("M"));
    ds.AddField(TFieldKind::Text, QStringLiteral("H"))->Visible = false;
    ds.AddField(TFieldKind::Integer, QStringLiteral("Calc"))->Calculated = true;
    ds.CreateDataSet();
    const struct {
        const char *a, *b;
        int c;
    } rows[] = {{"x", "2", 1}, {"y", "1", 2}, {"x", "1", 3}, {"y", "3", 4}};
    for (const auto& r : rows) {
        ds.Append();
        ds.FieldByName("A")->SetAsString(QString::fromLatin1(r.a));
        ds.FieldByName("B")->SetAsString(QString::fromLatin1(r.b));
        ds.FieldByName("C")->SetAsInteger(r.c);
        ds.Post();
    }
}

QString column(TDataSet& ds, const char* field) {
    QStringList out;
    const int f = ds.FieldIndex(QString::fromLatin1(field));
    for (int r = 0; r < ds.RecordCount(); ++r)
        out << ds.CellText(r, f);
    return out.join(u' ');
}

QString rowsOf(TSortFrm& dlg) {
    QStringList out;
    for (int r = 0; r < dlg.RowCount(); ++r)
        out << dlg.RowField(r) + u':' + dlg.RowDirection(r);
    return out.join(u' ');
}

class FakeList : public IViewList {
public:
    QStringList calls;
    bool pickAnswer = true;
    void AddItem() override { calls << QStringLiteral("add"); }
    void EditItem() override { calls << QStringLiteral("edit"); }
    void RemoveItem() override { calls << QStringLiteral("remove"); }
    void RefreshItems() override {}
    void PrintItems() override {}
    bool ImportItems() override { return false; }
    bool PickItem() override {
        calls << QStringLiteral("pick");
        return pickAnswer;
    }
};

}  // namespace

class GridDialogTests : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        gridui::SetDialogHook(nullptr);
        gOperator = nullptr;
    }

    void sortDialogReadsAndBuildsSortStrings_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("labels");
        QTest::newRow("unsorted") << ""
                                  << "A: B: C: H:"
                                  << ""
                                  << "";
        QTest::newRow("A DESC,B ASC") << "A DESC,B ASC"
                                      << "A:降序 B:升序 C: H:"
                                      << "A DESC,B ASC"
                                      << "甲 降序,乙 升序";
        QTest::newRow("order of the text") << "C ASC,A DESC"
                                           << "C:升序 A:降序 B: H:"
                                           << "C ASC,A DESC"
                                           << "丙 升序,甲 降序";
        QTest::newRow("hidden field, other case") << "h desc"
                                                  << "H:降序 A: B: C:"
                                                  << "H DESC"
                                                  << "H 降序";
        QTest::newRow("title sort text without directions") << "B, A DESC "
                                                            << "B:升序 A:降序 C: H:"
                                                            << "B ASC,A DESC"
                                                            << "乙 升序,甲 降序";
    }
    void sortDialogReadsAndBuildsSortStrings() {
        QFETCH(QString, in);
        QFETCH(QString, rows);
        QFETCH(QString, out);
        QFETCH(QString, labels);
        TDataSet ds;
        fill(ds);
        TSortFrm dlg(&ds);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("排序"));
        dlg.SetSortString(in);
        QCOMPARE(rowsOf(dlg), rows);
        QCOMPARE(dlg.SortString(), out);
        QCOMPARE(dlg.SortLabels(), labels);
    }

    // Double clicks cycle the direction; the buttons move the selected row and are enabled only
    // where that is possible; a drag by the first column moves a row too.
    void sortDialogEditing() {
        TDataSet ds;
        fill(ds);
        TSortFrm dlg(&ds);
        dlg.SelectRow(0);
        QVERIFY(!dlg.UpButton()->isEnabled());
        QVERIFY(dlg.DownButton()->isEnabled());
        QTreeWidget* list = dlg.List();
        emit list->itemDoubleClicked(list->topLevelItem(1), 0);
        QCOMPARE(dlg.RowDirection(1), QStringLiteral("升序"));
        dlg.CycleRow(1);
        QCOMPARE(dlg.RowDirection(1), QStringLiteral("降序"));
        dlg.CycleRow(1);
        QCOMPARE(dlg.RowDirection(1), QString());
        dlg.CycleRow(1);
        dlg.CycleRow(2);
        dlg.CycleRow(2);
        QCOMPARE(dlg.SortString(), QStringLiteral("B ASC,C DESC"));
        dlg.SelectRow(2);
        QTest::mouseClick(dlg.UpButton(), Qt::LeftButton);
        QTest::mouseClick(dlg.UpButton(), Qt::LeftButton);
        QCOMPARE(dlg.SortString(), QStringLiteral("C DESC,B ASC"));
        QVERIFY(!dlg.UpButton()->isEnabled());
        dlg.SelectRow(dlg.RowCount() - 1);
        QVERIFY(!dlg.DownButton()->isEnabled());
        dlg.MoveRow(dlg.RowCount() - 1, 0);  // what a drop at the top does
        QCOMPARE(dlg.RowField(0), QStringLiteral("H"));
        QCOMPARE(list->dragDropMode(), QAbstractItemView::InternalMove);
        QVERIFY(!(list->topLevelItem(0)->flags() & Qt::ItemIsDropEnabled));
    }

    // Through the grid: A descending then B ascending sorts the rows and gives A DESC,B ASC;
    // reopening shows them on top; Cancel changes nothing; clearing every direction unsorts.
    void sortThroughTheGrid() {
        TDataSet ds;
        fill(ds);
        TDBGrid grid;
        grid.DataSource()->SetDataSet(&ds);
        gridui::SetDialogHook([](QDialog& d) {
            auto& dlg = static_cast<TSortFrm&>(d);
            dlg.CycleRow(0);
            dlg.CycleRow(0);  // A: 降序
            dlg.CycleRow(1);  // B: 升序
            return int(QDialog::Accepted);
        });
        grid.SortClick();
        QCOMPARE(ds.SortText(), QStringLiteral("A DESC,B ASC"));
        QCOMPARE(column(ds, "A") + u'|' + column(ds, "B"), QStringLiteral("y y x x|1 3 1 2"));
        QCOMPARE(grid.model()->headerData(grid.ColumnOfField(QStringLiteral("A")), Qt::Horizontal).toString(),
                 QStringLiteral("甲 ▼"));

        QString shown;
        gridui::SetDialogHook([&](QDialog& d) {
            auto& dlg = static_cast<TSortFrm&>(d);
            shown = rowsOf(dlg);
            dlg.CycleRow(0);
            return int(QDialog::Rejected);
        });
        grid.SortClick();
        QCOMPARE(shown, QStringLiteral("A:降序 B:升序 C: H:"));
        QCOMPARE(ds.SortText(), QStringLiteral("A DESC,B ASC"));

        gridui::SetDialogHook([](QDialog& d) {
            auto& dlg = static_cast<TSortFrm&>(d);
            dlg.CycleRow(0);
            dlg.CycleRow(1);
            dlg.CycleRow(1);
            return int(QDialog::Accepted);
        });
        grid.SortClick();
        QCOMPARE(ds.SortText(), QString());
        QCOMPARE(column(ds, "C"), QStringLiteral("1 2 3 4"));
        // Title sorting carries on from the dialog's marks.
        grid.TitleClick(grid.ColumnOfField(QStringLiteral("C")));
        grid.TitleClick(grid.ColumnOfField(QStringLiteral("C")));
        QCOMPARE(column(ds, "C"), QStringLiteral("4 3 2 1"));
    }

    // Hiding every column leaves none visible and the saved layout stores each as False; Cancel
    // leaves the columns as they were.
    void columnChoiceHidesEverything() {
        testsupport::TestDatabase db;
        TOperator op;
        op.LoginId = QStringLiteral("clerk");
        op.Rights = TOperator::RightsText({rtColumnChoice, rtSaveLayout});
        gOperator = &op;
        auto kinds = demolists::OpenReaderKinds();
        TDBGridcx grid;
        grid.SetDataSet(kinds->DataSet());
        grid.SetTag(1005);
        grid.horizontalHeader()->moveSection(2, 0);

        QStringList captions;
        gridui::SetDialogHook([&](QDialog& d) {
            auto& dlg = static_cast<TxVisibleFrm&>(d);
            for (const RColItem& item : dlg.Items())
                captions << item.Caption;
            for (int r = 0; r < dlg.RowCount(); ++r)
                dlg.ToggleRow(r);
            return int(QDialog::Rejected);
        });
        grid.PickColumnsClick();
        QCOMPARE(captions,
                 (QStringList{"图书限借天数", "名称", "图书限借本数", "期刊限借本数", "期刊限借天数"}));
        QVERIFY(!grid.GetLayoutText().contains(QLatin1String("False")));

        QString title;
        int marked = 0;
        gridui::SetDialogHook([&](QDialog& d) {
            auto& dlg = static_cast<TxVisibleFrm&>(d);
            title = dlg.windowTitle();
            for (int r = 0; r < dlg.RowCount(); ++r)
                marked += dlg.RowMarked(r) ? 1 : 0;
            for (int r = 0; r < dlg.RowCount(); ++r)
                dlg.ToggleRow(r);
            dlg.accept();
            return dlg.result();
        });
        grid.PickColumnsClick();
        QCOMPARE(title, QStringLiteral("列选择"));
        QCOMPARE(marked, 5);
        for (const TGridColumn& c : grid.Columns())
            QVERIFY(!c.Visible);
        TRecordingMessages msgs;
        grid.SaveLayoutClick();
        gScratchSet->OpenSql(QStringLiteral("select F06 from syscols where F02=1005"));
        const QString stored = gScratchSet->DataSet()->Field(0)->AsString();
        QCOMPARE(stored.count(QStringLiteral("=False")), 5);
        QVERIFY(!stored.contains(QLatin1String("True")));

        TDBGridcx later;
        later.SetDataSet(kinds->DataSet());
        later.LoadLayout(1005);
        for (const TGridColumn& c : later.Columns())
            QVERIFY(!c.Visible);
        QCOMPARE(later.Columns()[0].FieldName, QStringLiteral("BookDays"));
    }

    // The search box filters on every text field, hidden ones too; blank shows all again; an
    // apostrophe is searched for, not parsed.
    void pickerSearch() {
        testsupport::TestDatabase db;
        auto readers = demolists::OpenReaders();
        TDataSet* ds = readers->DataSet();
        TPickerFrm picker(nullptr, ds, 1010);
        QCOMPARE(picker.windowTitle(), QStringLiteral("选择"));
        QCOMPARE(picker.SearchEdit()->objectName(), QStringLiteral("edtValue1"));
        QCOMPARE(picker.Grid()->Tag(), 1010);
        QCOMPARE(picker.Grid()->ColumnOfField(QStringLiteral("Tel")), -1);  // not on screen

        picker.SearchEdit()->setText(QStringLiteral("0000222"));
        QCOMPARE(ds->RecordCount(), 1);
        QCOMPARE(ds->FieldByName("Name")->AsString(), QStringLiteral("李四"));
        QCOMPARE(ds->Filter(), QStringLiteral("(Code like '%0000222%') or (Name like '%0000222%') or "
                                              "(Dept like '%0000222%') or (Tel like '%0000222%')"));
        picker.SearchEdit()->setText(QStringLiteral("计算机"));
        QCOMPARE(ds->RecordCount(), 2);
        picker.SearchEdit()->setText(QStringLiteral("   "));
        QCOMPARE(ds->RecordCount(), 3);
        TRecordingMessages msgs;
        picker.SearchEdit()->setText(QStringLiteral("O'Neil"));
        QCOMPARE(ds->RecordCount(), 0);
        QVERIFY(msgs.boxes.isEmpty());
        picker.SearchEdit()->clear();
        QCOMPARE(ds->RecordCount(), 3);
    }

    // The menu carries the list's commands around the grid's; OK asks the list to pick and closes
    // only when it agrees; Pick reports OK.
    void pickerCommandsAndPick() {
        testsupport::TestDatabase db;
        auto kinds = demolists::OpenReaderKinds();
        FakeList list;
        TPickerFrm picker(&list, kinds->DataSet(), 1006);
        TGridMenu* menu = picker.Grid()->PopupMenuZx();
        QCOMPARE(menu->Captions(), (QStringList{"添加", "修改", "-", "排序", "-", "列选择", "保存表格样式",
                                                "-", "导出到Excel文档", "导出到Html网页文件", "-", "删除"}));
        menu->Trigger(QStringLiteral("添加"));
        menu->Trigger(QStringLiteral("修改"));
        menu->Trigger(QStringLiteral("删除"));
        QCOMPARE(list.calls, (QStringList{"add", "edit", "remove"}));
        for (QPushButton* b : picker.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("新增")) b->click();
        QCOMPARE(list.calls.last(), QStringLiteral("add"));

        list.pickAnswer = false;
        picker.PickCurrent();
        QCOMPARE(picker.result(), int(QDialog::Rejected));
        QCOMPARE(list.calls.last(), QStringLiteral("pick"));

        list.pickAnswer = true;
        gridui::SetDialogHook([](QDialog& d) {
            auto& frm = static_cast<TPickerFrm&>(d);
            frm.Grid()->DataSource()->DataSet()->SetRecNo(2);
            emit frm.Grid()->doubleClicked(frm.Grid()->currentIndex());
            return frm.result();
        });
        QVERIFY(TPickerFrm::Pick(&list, kinds->DataSet(), 1006));
        QCOMPARE(kinds->DataSet()->FieldByName("Name")->AsString(), QStringLiteral("临时读者"));
        gridui::SetDialogHook([](QDialog&) { return int(QDialog::Rejected); });
        QVERIFY(!TPickerFrm::Pick(&list, kinds->DataSet(), 1006));
        QVERIFY(TPickerFrm::Pick(nullptr, kinds->DataSet(), 1006) == false);
    }
};

QObject* makeGridDialogTests() {
    return new GridDialogTests;
}

#include "tst_griddialogs.moc"
