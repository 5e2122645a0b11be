// The in-memory dataset, the criteria helpers and the scrambler: no database involved.
#include <QSignalSpy>
#include <QTest>

#include "core/TCustomWhere.h"
#include "core/TDataSet.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "core/TScramble.h"
#include "core/TSqlFormat.h"
#include "core/TZxClientDataSet.h"

namespace {

// Code, Name, Qty, Price, Day: five rows with a null, an apostrophe and mixed case.
void fill(TDataSet& ds) {
    ds.AddField(TFieldKind::Integer, QStringLiteral("Id"));
    ds.AddField(TFieldKind::Text, QStringLiteral("Code"), 50);
    ds.AddField(TFieldKind::Text, QStringLiteral("Name"), 50);
    ds.AddField(TFieldKind::Integer, QStringLiteral("PrtId"));
    ds.AddField(TFieldKind::Float, QStringLiteral("Price"));
    ds.AddField(TFieldKind::DateTime, QStringLiteral("Day"));
    ds.CreateDataSet();
    struct Row {
        int id;
        const char* code;
        const char* name;
        int prt;
        double price;
        const char* day;
    } rows[] = {
        {1, "B002", "数据库原理", 3, 12.5, "2013-03-26"},
        {2, "a001", "Qt Programming", 0, 40, "2013-03-25 10:30:00"},
        {3, "C003", "O'Reilly 手册", 3, 7.25, nullptr},
        {4, "b001", "Abc", 1, 40, "2012-01-01"},
        {5, "X9", "", 3, 0, "2014-06-01"},
    };
    for (const Row& r : rows) {
        ds.Append();
        ds.FieldByName("Id")->SetAsInteger(r.id);
        ds.FieldByName("Code")->SetAsString(QString::fromUtf8(r.code));
        ds.FieldByName("Name")->SetAsString(QString::fromUtf8(r.name));
        ds.FieldByName("PrtId")->SetAsInteger(r.prt);
        ds.FieldByName("Price")->SetAsFloat(r.price);
        if (r.day) ds.FieldByName("Day")->SetAsString(QString::fromLatin1(r.day));
        ds.Post();
    }
}

QList<int> ids(TDataSet& ds) {
    QList<int> out;
    for (int r = 0; r < ds.RecordCount(); ++r)
        out << ds.CellValue(r, 0).toInt();
    return out;
}

}  // namespace

class DataSetTests : public QObject {
    Q_OBJECT
private slots:
    void scrambleRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << QStringLiteral("sa-password 123");
        QTest::newRow("path") << QStringLiteral("/home/lib/data/lbsys.db");
        QTest::newRow("chinese") << QStringLiteral("图书馆密码");
        QTest::newRow("surrogates") << QStringLiteral("𠀀𠀁x");
    }
    void scrambleRoundTrip() {
        QFETCH(QString, text);
        const QString once = ScrambleText(text);
        if (!text.isEmpty()) QVERIFY(once != text);
        QCOMPARE(ScrambleText(once), text);
    }
    void scrambleMatchesByteRule() {
        // byte j XOR ((code of "brindosyte"[(j+1) % 10]) mod 10): 'r'=114 -> 4, 'i'=105 -> 5
        QCOMPARE(ScrambleText(QStringLiteral("aa")), QString(QChar(u'a' ^ 4)) + QChar(u'a' ^ 5));
    }

    void appendEditDeleteStayLocal() {
        TDataSet ds;
        fill(ds);
        QCOMPARE(ds.RecordCount(), 5);
        QVERIFY(ds.Locate(QStringLiteral("Code"), QStringLiteral("C003")));
        QCOMPARE(ds.FieldByName("Name")->AsString(), QStringLiteral("O'Reilly 手册"));
        QVERIFY(ds.FieldByName("Day")->IsNull());
        ds.Edit();
        ds.FieldByName("Name")->SetAsString(QStringLiteral("changed"));
        ds.Cancel();
        QCOMPARE(ds.FieldByName("Name")->AsString(), QStringLiteral("O'Reilly 手册"));
        ds.FieldByName("Price")->SetAsString(QStringLiteral("8.5"));  // browse: enters edit itself
        ds.Post();
        QCOMPARE(ds.FieldByName("Price")->AsFloat(), 8.5);
        const TDataSet::Bookmark mark = ds.GetBookmark();
        ds.First();
        ds.Delete();
        QCOMPARE(ds.RecordCount(), 4);
        QVERIFY(ds.GotoBookmark(mark));
        QCOMPARE(ds.FieldByName("Id")->AsInteger(), 3);
    }

    void conversionsAndDisplay() {
        TDataSet ds;
        fill(ds);
        ds.First();
        QCOMPARE(ds.FieldByName("Day")->DisplayText(), QStringLiteral("2013-03-26"));
        QCOMPARE(ds.FieldByName("Price")->DisplayText(), QStringLiteral("12.5"));
        ds.Next();
        QCOMPARE(ds.FieldByName("Day")->DisplayText(), QStringLiteral("2013-03-25 10:30:00"));
        QCOMPARE(ds.FieldByName("Price")->DisplayText(), QStringLiteral("40"));
        bool raised = false;
        try {
            ds.FieldByName("PrtId")->SetAsString(QStringLiteral("12a"));
        } catch (const TDbError& e) {
            raised = true;
            QCOMPARE(e.message(), QStringLiteral("\"12a\" 不是有效的整数."));
        }
        QVERIFY(raised);
        ds.Cancel();
        // Null reads as empty text, 0 or false.
        ds.Locate(QStringLiteral("Id"), 3);
        QCOMPARE(ds.FieldByName("Day")->AsString(), QString());
        QVERIFY(!ds.FieldByName("Day")->AsDateTime().isValid());
    }

    void eofAfterLastRow() {
        TDataSet ds;
        fill(ds);
        int seen = 0;
        for (ds.First(); !ds.Eof(); ds.Next())
            ++seen;
        QCOMPARE(seen, 5);
        TDataSet empty;
        empty.AddField(TFieldKind::Integer, QStringLiteral("Id"));
        empty.CreateDataSet();
        QVERIFY(empty.Eof());
        QVERIFY(empty.FieldByName("Id")->IsNull());
    }

    void filters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("integer equality") << "PrtId=3" << QList<int>{1, 3, 5};
        QTest::newRow("like either field") << "(Code like '%b0%') or (Name like '%b0%')" << QList<int>{1, 4};
        QTest::newRow("like ignores case") << "Name like '%qt%'" << QList<int>{2};
        QTest::newRow("chinese like") << "Name like '%手册%'" << QList<int>{3};
        QTest::newRow("apostrophe literal") << "Name = 'O''Reilly 手册'" << QList<int>{3};
        QTest::newRow("prefix") << "Code like 'b%'" << QList<int>{1, 4};
        QTest::newRow("underscore") << "Code like 'X_'" << QList<int>{5};
        QTest::newRow("and not") << "PrtId=3 and not (Price > 10)" << QList<int>{3, 5};
        QTest::newRow("null date") << "Day is null" << QList<int>{3};
        QTest::newRow("date compare") << "Day >= '2013-03-26'" << QList<int>{1, 5};
        QTest::newRow("float") << "Price >= 40" << QList<int>{2, 4};
        QTest::newRow("not like") << "Code not like '%0%'" << QList<int>{5};
        QTest::newRow("bracketed name") << "[Code] <> 'X9'" << QList<int>{1, 2, 3, 4};
    }
    void filters() {
        QFETCH(QString, filter);
        QFETCH(QList<int>, expected);
        TDataSet ds;
        fill(ds);
        ds.SetFilter(filter);
        ds.SetFiltered(true);
        QCOMPARE(ids(ds), expected);
        ds.SetFiltered(false);
        QCOMPARE(ds.RecordCount(), 5);
    }

    void badFilterKeepsOldOne() {
        TDataSet ds;
        fill(ds);
        ds.SetFilter(QStringLiteral("PrtId=3"));
        ds.SetFiltered(true);
        for (const char* bad : {"Nope=1", "(Code like '%a'", "Code like", "Code = 'x"}) {
            bool raised = false;
            try {
                ds.SetFilter(QString::fromLatin1(bad));
            } catch (const TDbError& e) {
                raised = e.kind() == TDbError::Kind::Expression;
            }
            QVERIFY2(raised, bad);
        }
        QCOMPARE(ds.Filter(), QStringLiteral("PrtId=3"));
        QCOMPARE(ds.RecordCount(), 3);
    }

    void sortText() {
        TDataSet ds;
        fill(ds);
        ds.SetSortText(QStringLiteral("Price DESC,Code ASC"));
        QCOMPARE(ds.SortText(), QStringLiteral("Price DESC,Code ASC"));
        QCOMPARE(ids(ds), (QList<int>{2, 4, 1, 3, 5}));
        // Entries without a direction (as the title clicks write them) are ascending; case of names is free.
        ds.SetSortText(QStringLiteral("prtid, Code DESC , "));
        QCOMPARE(ids(ds), (QList<int>{2, 4, 5, 3, 1}));
        // Dates with a null (nulls first ascending, last descending).
        ds.SetSortText(QStringLiteral("Day DESC"));
        QCOMPARE(ids(ds), (QList<int>{5, 1, 2, 4, 3}));
        ds.SetSortText(QStringLiteral("Day"));
        QCOMPARE(ids(ds), (QList<int>{3, 4, 2, 1, 5}));
        ds.SetSortText(QString());
        QCOMPARE(ids(ds), (QList<int>{1, 2, 3, 4, 5}));
        // A posted row takes its sorted place; one the filter drops leaves the view.
        ds.SetSortText(QStringLiteral("Code"));
        ds.Append();
        ds.FieldByName("Id")->SetAsInteger(6);
        ds.FieldByName("Code")->SetAsString(QStringLiteral("B0015"));
        ds.Post();
        QCOMPARE(ids(ds), (QList<int>{2, 4, 6, 1, 3, 5}));
        QCOMPARE(ds.FieldByName("Id")->AsInteger(), 6);
        bool raised = false;
        try {
            ds.SetSortText(QStringLiteral("Missing DESC"));
        } catch (const TDbError&) {
            raised = true;
        }
        QVERIFY(raised);
    }

    void signalsForViews() {
        TDataSet ds;
        fill(ds);
        QSignalSpy inserted(&ds, &TDataSet::RowInserted);
        QSignalSpy removed(&ds, &TDataSet::RowRemoved);
        QSignalSpy reset(&ds, &TDataSet::Reset);
        ds.Append();
        ds.FieldByName("Id")->SetAsInteger(9);
        ds.Post();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().first().toInt(), 5);
        ds.Delete();
        QCOMPARE(removed.count(), 1);
        ds.DisableControls();
        ds.First();
        ds.Delete();
        ds.Delete();
        QCOMPARE(removed.count(), 1);
        ds.EnableControls();
        QCOMPARE(reset.count(), 1);
    }

    void fieldDefWidths_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("size");
        for (auto [w, s] : {std::pair{10, 20}, {20, 20}, {50, 50}, {139, 139}, {140, 140}, {500, 140}})
            QTest::newRow(qPrintable(QString::number(w))) << w << s;
    }
    void fieldDefWidths() {
        QFETCH(int, width);
        QFETCH(int, size);
        TZxClientDataSet set;
        QCOMPARE(set.AddFieldDef(TFieldKind::Text, QStringLiteral("T"), width)->Size, size);
    }

    void criteriaRecordReset() {
        TCustomWhere where;
        where.AddFieldDef(TFieldKind::Integer, QStringLiteral("ReaderId"));
        where.AddFieldDef(TFieldKind::Text, QStringLiteral("Code"), 50);
        where.CreateTable();
        where.FieldByName("ReaderId")->SetAsInteger(7);
        where.FieldByName("Code")->SetAsString(QStringLiteral("x"));
        QCOMPARE(where.FieldByName("ReaderId")->AsInteger(), 7);
        QCOMPARE(where.DataSet()->GetState(), TDataSet::State::Insert);
        where.Reset();
        QVERIFY(where.FieldByName("ReaderId")->IsNull());
        QVERIFY(where.FieldByName("Code")->AsString().isEmpty());
        QCOMPARE(where.DataSet()->GetState(), TDataSet::State::Insert);
    }

    void whereConvention() {
        // No criterion: the fixed text alone, no WHERE.
        QCOMPARE(TSqlWhere().Condition(), QString());
        QCOMPARE(TSqlWhere(QStringLiteral(" where (not (l.BookId is null)) ")).Condition(),
                 QStringLiteral(" where (not (l.BookId is null)) "));
        TSqlWhere w;
        w.Integer(QStringLiteral("%s and b.Id=%d"), QVariant());
        w.Text(QStringLiteral("%s and b.Name like '%%%s%%'"), QStringLiteral("O'Reilly"));
        w.Float(QStringLiteral("%s and b.Price>=%f"), QVariant(12.5));
        w.Integer(QStringLiteral("%s and b.CataId=%d"), QVariant(3));
        QCOMPARE(w.Condition(),
                 QStringLiteral(" where b.Name like '%O''Reilly%' and b.Price>=12.50 and b.CataId=3"));
        // Only the first " and " becomes " where ", also when a value contains " and ".
        TSqlWhere t;
        t.Text(QStringLiteral("%s and a.Name='%s'"), QStringLiteral("x and y"));
        t.Text(QStringLiteral("%s and a.Mark='%s'"), QStringLiteral("m"));
        QCOMPARE(t.Condition(), QStringLiteral(" where a.Name='x and y' and a.Mark='m'"));
    }

    void messageRoutines() {
        TRecordingMessages boxes;
        ShowInfo(QStringLiteral("hello"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("\r\nhello\t"));
        boxes.answers << TMsgResult::Cancel;
        QVERIFY(!ConfirmDelete());
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("\r您确定要删除 当前记录 吗?\t\t"));
        QVERIFY(ConfirmDelete(QStringLiteral("读者")));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("\r您确定要删除 读者 吗?\t\t"));
        TDataSet closed;
        QVERIFY(!CheckActive(&closed));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("\r\n\r\n系统提示：请先打开数据集再操作.\t"));
    }
};

QObject* makeDataSetTests() {
    return new DataSetTests;
}

#include "tst_dataset.moc"
