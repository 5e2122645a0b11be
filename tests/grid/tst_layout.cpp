// Layout texts (parsing and application as a table of cases) and their storage in syscols.
#include <QHeaderView>
#include <QTest>

#include "admin/TOperator.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSource.h"
#include "grid/TGridLayout.h"
#include "tests/grid/DemoLists.h"
#include "tests/support/TestSupport.h"

namespace {

// "B:T40,A:F70": each column's field, visibility and width, in order.
QString describe(const TGridColumns& cols) {
    QStringList parts;
    for (const TGridColumn& c : cols)
        parts << QStringLiteral("%1:%2%3")
                     .arg(c.FieldName, c.Visible ? QStringLiteral("T") : QStringLiteral("F"))
                     .arg(c.Width);
    return parts.join(u',');
}

TGridColumns abc() {
    return {{QStringLiteral("A"), QStringLiteral("a"), 50, true},
            {QStringLiteral("B"), QStringLiteral("b"), 50, true},
            {QStringLiteral("C"), QStringLiteral("c"), 50, true}};
}

int syscolsRows(int id) {
    gScratchSet->OpenSql(QStringLiteral("select F02 from syscols where F02=:Id"), {DBParam("Id", id)});
    return gScratchSet->DataSet()->RecordCount();
}

}  // namespace

class LayoutTests : public QObject {
    Q_OBJECT
private slots:
    void applyLayoutText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty text changes nothing") << ""
                                                    << "A:T50,B:T50,C:T50" << true;
        QTest::newRow("widths and visibility") << "A=True75\r\nB=False40\r\nC=True60\r\n"
                                               << "A:T75,B:F40,C:T60" << true;
        QTest::newRow("order of the lines") << "C=True60\r\nA=True75\r\nB=True40\r\n"
                                            << "C:T60,A:T75,B:T40" << true;
        QTest::newRow("unnamed column keeps its place after the named") << "B=True40\r\nA=False70\r\n"
                                                                        << "B:T40,A:F70,C:T50" << true;
        QTest::newRow("line of a field that no longer exists") << "Old=True99\r\nB=True40\r\nA=True70\r\n"
                                                               << "B:T40,A:T70,C:T50" << true;
        QTest::newRow("names without regard to case; moves need the exact name")
            << "c=False33\r\nB=True20\r\nA=True70\r\n"
            << "B:T20,A:T70,C:F33" << true;
        QTest::newRow("first line of a name wins") << "A=True10\r\nA=False90\r\n"
                                                   << "A:T10,B:T50,C:T50" << true;
        QTest::newRow("visibility word is case-sensitive") << "A=true75\r\n"
                                                           << "A:F75,B:T50,C:T50" << true;
        QTest::newRow("line feeds alone") << "B=True40\nA=True70\n"
                                          << "B:T40,A:T70,C:T50" << true;
        QTest::newRow("bad width stops where it is") << "C=False10\r\nA=True75\r\nB=Falsex\r\n"
                                                     << "A:T75,B:F50,C:T50" << false;
        QTest::newRow("value without a width") << "A=True\r\n"
                                               << "A:T50,B:T50,C:T50" << false;
    }
    void applyLayoutText() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(bool, ok);
        TGridColumns cols = abc();
        QCOMPARE(gridlayout::ApplyLayoutText(cols, text), ok);
        QCOMPARE(describe(cols), expected);
    }

    void layoutTextWritesOneLinePerField() {
        TGridColumns cols = abc();
        cols[1].Visible = false;
        cols[1].Width = 40;
        // The same name in another case replaces the first line in place.
        cols.push_back({QStringLiteral("a"), QStringLiteral("dup"), 9, true});
        QCOMPARE(gridlayout::LayoutText(cols), QStringLiteral("a=True9\r\nB=False40\r\nC=True50\r\n"));
    }

    // A layout saved before a field was added: the data grid shows the new field's column at the
    // end, the table-view grid keeps it hidden; a bad width leaves a usable grid.
    void gridsApplyLayoutToTheirColumns() {
        TDataSet ds;
        ds.AddField(TFieldKind::Text, QStringLiteral("A"));
        ds.AddField(TFieldKind::Text, QStringLiteral("B"));
        ds.AddField(TFieldKind::Text, QStringLiteral("New"));
        ds.AddField(TFieldKind::Text, QStringLiteral("Hidden"))->Visible = false;
        ds.CreateDataSet();
        const QString saved = QStringLiteral("B=True40\r\nA=True70\r\n");

        TDBGrid dbgrid;
        dbgrid.DataSource()->SetDataSet(&ds);
        QCOMPARE(dbgrid.Columns().size(), size_t(3));
        dbgrid.ApplyLayoutText(saved);
        QCOMPARE(describe(dbgrid.Columns()).section(u',', 0, 1), QStringLiteral("B:T40,A:T70"));
        QVERIFY(dbgrid.Columns()[2].FieldName == QLatin1String("New") && dbgrid.Columns()[2].Visible);

        TDBGridcx gridcx;
        gridcx.SetDataSet(&ds);
        QVERIFY(gridcx.Columns()[2].Visible);  // no layout: every column shown
        gridcx.SetLayout(saved);
        QCOMPARE(describe(gridcx.Columns()).section(u',', 0, 1), QStringLiteral("B:T40,A:T70"));
        QVERIFY(!gridcx.Columns()[2].Visible);
        QVERIFY(gridcx.horizontalHeader()->isSectionHidden(gridcx.ColumnOfField(QStringLiteral("New"))));

        QVERIFY(!dbgrid.ApplyLayoutText(QStringLiteral("A=True70\r\nB=Truewide\r\n")));
        QCOMPARE(dbgrid.Columns()[0].Width, 70);
        QCOMPARE(dbgrid.Columns().size(), size_t(3));
        QVERIFY(dbgrid.GetLayoutText().startsWith(QLatin1String("A=True70\r\n")));
    }

    // Operator changes (move, resize, hide) survive a save and a load in a new grid; a second
    // save under the same id updates the one row.
    void saveAndLoadRoundTrip() {
        testsupport::TestDatabase db;
        TRecordingMessages msgs;
        TOperator op;
        op.LoginId = QStringLiteral("clerk");
        op.Rights = TOperator::RightsText({rtSaveLayout});
        gOperator = &op;
        auto kinds = demolists::OpenReaderKinds();

        QString saved;
        {
            TDBGrid grid;
            grid.DataSource()->SetDataSet(kinds->DataSet());
            grid.SetLayoutId(1005);  // nothing stored yet: the default columns
            QCOMPARE(grid.Columns()[0].FieldName, QStringLiteral("Name"));
            QHeaderView* h = grid.horizontalHeader();
            h->moveSection(h->visualIndex(grid.ColumnOfField(QStringLiteral("BookDays"))), 0);
            h->resizeSection(grid.ColumnOfField(QStringLiteral("Name")), 123);
            grid.SetColumnVisible(grid.ColumnOfField(QStringLiteral("JourTop")), false);
            grid.SaveLayoutClick();
            QCOMPARE(msgs.Texts(), QStringList{QStringLiteral("\r\n列样式保存成功.\t")});
            QCOMPARE(syscolsRows(1005), 1);
            h->resizeSection(grid.ColumnOfField(QStringLiteral("Name")), 130);
            QVERIFY(grid.SaveLayout(1005));
            QCOMPARE(syscolsRows(1005), 1);
            saved = grid.GetLayoutText();
        }
        QVERIFY(saved.startsWith(QLatin1String("BookDays=True")));
        QVERIFY(saved.contains(QLatin1String("\r\nName=True130\r\n")));
        QVERIFY(saved.contains(QLatin1String("\r\nJourTop=False")));

        TDBGridcx again;
        again.SetDataSet(kinds->DataSet());
        QVERIFY(again.LoadLayout(1005));
        QCOMPARE(again.Layout(), saved);
        QCOMPARE(again.Columns()[0].FieldName, QStringLiteral("BookDays"));
        QVERIFY(!again.LoadLayout(1999));
        gOperator = nullptr;
    }
};

QObject* makeLayoutTests() {
    return new LayoutTests;
}

#include "tst_layout.moc"
