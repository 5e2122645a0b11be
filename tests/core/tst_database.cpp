// The database access layer and the schema, run once per engine (SQLite file, PostgreSQL server).
#include <QDate>
#include <QTest>

#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "core/TQuerySet.h"
#include "core/TRecordSet.h"
#include "core/TSchema.h"
#include "core/TSqlFormat.h"
#include "tests/support/TestSupport.h"

using testsupport::TestDatabase;

namespace {

int count(const QString& sql) {
    TDataSet ds;
    gDatabase->Fetch(sql, {}, ds, false);
    return ds.Field(0)->AsInteger();
}

QString statementErrorOf(const QString& sql) {
    try {
        gDatabase->ExecuteSql(sql);
    } catch (const TDbError& e) {
        return e.message();
    }
    return QString();
}

void addReader(int id, const QString& code, const QString& name) {
    gDatabase->ExecuteSql(
        QStringLiteral("insert into readers(Id, Code, Name, StateId, Loaning, Loanall, Loanover) "
                       "values (:Id, :Code, :Name, 1, 0, 0, 0)"),
        {DBParam("Id", id), DBParam("Code", code), DBParam("Name", name)});
}

}  // namespace

class DatabaseTests : public QObject {
    Q_OBJECT
private slots:
    void schemaHasTablesAndRequiredRows() {
        TestDatabase db;
        for (const QString& t : TSchema::TableNames())
            QVERIFY2(gDatabase->Engine()->TableExists(t), qPrintable(t));
        QCOMPARE(count("select count(*) from operator where LoginId='sa'"), 1);
        TQuerySet states;
        states.AddField(TFieldKind::Integer, "Id");
        states.AddField(TFieldKind::Text, "Name", 50);
        QCOMPARE(states.OpenSql("select Id, Name from readerstate order by Id"), 3);
        QCOMPARE(states.JoinValues(states.FieldByName("Name"), ","), QStringLiteral("正常,挂失,停用"));
        QCOMPARE(count("select count(*) from finetypes where Name='从押金中支付' and Id=2"), 1);
        QCOMPARE(count("select count(*) from [backup] where TypeId=0"), 1);
        QCOMPARE(TSchema::StoredVersion(*gDatabase), TSchema::CurrentVersion());
        // Preparing again changes nothing and adds no rows.
        TSchema::Prepare(*gDatabase);
        QCOMPARE(count("select count(*) from readerstate"), 3);
        QCOMPARE(count("select count(*) from [backup]"), 1);
    }

    void emptyDatabaseIsPreparedAndPartialOneRefused() {
        auto empty = TestDatabase::Empty();
        TSchema::Prepare(*gDatabase);
        QCOMPARE(count("select count(*) from finetypes"), 3);
        // A database with only some of the tables is reported and left as it was.
        gDatabase->ExecuteSql("drop table fines");
        gDatabase->ExecuteSql("drop table schemaversion");
        bool raised = false;
        try {
            TSchema::Prepare(*gDatabase);
        } catch (const TDbError& e) {
            raised = e.kind() == TDbError::Kind::Schema && e.message().contains("fines");
        }
        QVERIFY(raised);
        QVERIFY(!gDatabase->Engine()->TableExists("fines"));
        QVERIFY(!gDatabase->Engine()->TableExists("schemaversion"));
    }

    void connectionValues() {
        TestDatabase db;
        QCOMPARE(gDatabase->GetProvider(),
                 testsupport::IsPg() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"));
        QCOMPARE(gDatabase->IsSqlServer(), testsupport::IsPg());
        QCOMPARE(TDatabase::ConnectionValue("Provider=x;Data Source=/a/b.db;", "Data Source"),
                 QStringLiteral("/a/b.db"));
        QCOMPARE(TDatabase::ConnectionValue("Provider=x;Data Source=/a/b.db", "Data Source"), QString());
    }

    void failedConnectShowsProviderMessage() {
        TRecordingMessages boxes;
        TDatabase other;
        const QString bad = testsupport::IsPg()
                                ? QStringLiteral(
                                      "Provider=PostgreSQL;Data Source=127.0.0.1;Port=1;User ID=x;Password=;"
                                      "Initial Catalog=none;Connect Timeout=2;")
                                : QStringLiteral("Provider=SQLite;Data Source=/nonexistent-folder/x.db;");
        QVERIFY(!other.Connect(bad));
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY(boxes.boxes.first().text.startsWith("\r\n连接时失败,提示如下:\r\n"));
    }

    void newKeysAndRowsAffected() {
        TestDatabase db;
        QCOMPARE(gDatabase->NewKey("books"), 1);
        QCOMPARE(gDatabase->NewKey("options", "[Key]"), 1);
        for (int id = 1; id <= 3; ++id)
            gDatabase->ExecuteSql("insert into publishers(Id, Name) values (:Id, :Name)",
                                  {DBParam("Id", id), DBParam("Name", QStringLiteral("社%1").arg(id))});
        QCOMPARE(gDatabase->NewKey("publishers"), 4);
        QCOMPARE(gDatabase->ExecuteSql("update publishers set Addr=:A where Id>1", {DBParam("A", "x")}), 2);
        QCOMPARE(gDatabase->ExecuteSql("update publishers set Addr=:A where Id=99", {DBParam("A", "x")}), 0);
        // Two inserts of one key: the primary key refuses the second.
        QVERIFY(statementErrorOf("insert into publishers(Id, Name) values (1, 'dup')")
                    .contains("insert into publishers"));
        // The database numbers link rows itself.
        gDatabase->ExecuteSql("insert into link(GroupId, Title) values (0, 'a')");
        gDatabase->ExecuteSql("insert into link(GroupId, Title) values (0, 'b')");
        QCOMPARE(count("select max(Id) from link"), 2);
    }

    void transactionRollsBackOnZeroRows() {
        TestDatabase db;
        addReader(1, "R001", "张三");
        // The pattern of every multi-row operation: stop at the first statement that does not
        // touch exactly one row and roll everything back.
        QString message;
        {
            TTransaction tx(*gDatabase);
            const bool ok = gDatabase->ExecuteSql("update readers set Loaning=Loaning+1 where Id=1") == 1 &&
                            gDatabase->ExecuteSql("update readers set Loaning=Loaning+1 where Id=2") == 1;
            if (ok)
                tx.Commit();
            else
                message = "failed";
        }
        QCOMPARE(message, QStringLiteral("failed"));
        QVERIFY(!gDatabase->InTransaction());
        QCOMPARE(count("select Loaning from readers where Id=1"), 0);
        // An exception inside the transaction rolls back too.
        try {
            TTransaction tx(*gDatabase);
            gDatabase->ExecuteSql("update readers set Loaning=5 where Id=1");
            gDatabase->ExecuteSql("update nosuchtable set x=1");
            tx.Commit();
        } catch (const TDbError&) {
        }
        QCOMPARE(count("select Loaning from readers where Id=1"), 0);
        // And a committed one stays.
        {
            TTransaction tx(*gDatabase);
            gDatabase->ExecuteSql("update readers set Loaning=2 where Id=1");
            tx.Commit();
        }
        QCOMPARE(count("select Loaning from readers where Id=1"), 2);
    }

    void statementErrorsCarryMessageAndSql() {
        TestDatabase db;
        const QString sql = "select nosuchcolumn from books";
        const QString text = statementErrorOf(sql);
        QVERIFY(text.endsWith("\r\n" + sql));
        QVERIFY(text.size() > sql.size() + 2);
        // A bad statement in OpenSql: the SQL error box, then the closed-dataset error stops the caller.
        TRecordingMessages boxes;
        TQuerySet q;
        bool stopped = false;
        try {
            q.OpenSql(sql);
        } catch (const TDbError& e) {
            stopped = e.kind() == TDbError::Kind::DataSetClosed;
        }
        QVERIFY(stopped);
        QCOMPARE(boxes.boxes.size(), 1);
        const QString box = boxes.boxes.first().text;
        QVERIFY(box.startsWith("\r\nSQL语句错误,原文如下:\r\n" + sql + "\r\n\r\n错误提示:\r\n"));
        QVERIFY(!q.DataSet()->Active());
    }

    void caseInsensitiveCodesAndApostrophes() {
        TestDatabase db;
        addReader(1, "R001", "O'Brien");
        addReader(2, "r002", "李四");
        QCOMPARE(count("select count(*) from readers where Code='r001'"), 1);
        QCOMPARE(count("select count(*) from readers where Code like 'R00%'"), 2);
        QCOMPARE(count("select count(*) from readers where Name like '%o''b%'"), 1);
        // A typed criterion with apostrophes cannot change the statement.
        TSqlWhere w;
        w.Text("%s and Name like '%%%s%%'", "x' or '1'='1");
        QCOMPARE(count("select count(*) from readers" + w.Condition()), 0);
        TSqlWhere name;
        name.Text("%s and Name='%s'", "O'Brien");
        QCOMPARE(count("select count(*) from readers" + name.Condition()), 1);
    }

    void datesAndDayArithmetic() {
        TestDatabase db;
        const QDate today = QDate::currentDate();
        const QDateTime due(today.addDays(-10), QTime(0, 0));
        gDatabase->ExecuteSql(
            "insert into loans(Id, LoanDate, ReaderId, BookId, Loanman, ShldretDate) "
            "values (1, :LoanDate, 1, 1, 'sa', :Due)",
            {DBParam("LoanDate", QDateTime(QDate(2013, 3, 26), QTime(0, 0))), DBParam("Due", due)});
        // JourId was not named: it stays null.
        QCOMPARE(count("select count(*) from loans where JourId is null"), 1);
        // Both bounds on the day itself find the row.
        const QString day = gDatabase->DateLiteral(QDateTime(QDate(2013, 3, 26), QTime(15, 45)));
        QCOMPARE(day, testsupport::IsPg() ? QStringLiteral("timestamp '2013-03-26'")
                                          : QStringLiteral("'2013-03-26 00:00:00'"));
        QCOMPARE(
            count(QStringLiteral("select count(*) from loans where LoanDate>=%1 and LoanDate<=%1").arg(day)),
            1);
        QCOMPARE(count(QStringLiteral("select count(*) from loans where LoanDate>%1").arg(day)), 0);
        // Ten days overdue: "now - ShldretDate >= n" holds for 10, not for 11.
        const QString overdue = gDatabase->DayDiff(gDatabase->NowFunction(), "l.ShldretDate");
        QCOMPARE(count(QStringLiteral("select count(*) from loans l where %1>=10").arg(overdue)), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from loans l where %1>=11").arg(overdue)), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from loans l where l.ShldretDate<%1")
                           .arg(gDatabase->NowFunction())),
                 1);
        // Dates come back as dates without a time of day.
        TQuerySet q;
        q.OpenSql("select LoanDate, ShldretDate, ReturnDate from loans");
        QCOMPARE(q.FieldByName("LoanDate")->Kind(), TFieldKind::DateTime);
        QCOMPARE(q.FieldByName("LoanDate")->AsDateTime(), QDateTime(QDate(2013, 3, 26), QTime(0, 0)));
        QCOMPARE(q.FieldByName("loandate")->DisplayText(), QStringLiteral("2013-03-26"));
        QVERIFY(q.FieldByName("ReturnDate")->IsNull());
    }

    void bracketsTopBlobsAndDeclaredFields() {
        TestDatabase db;
        gDatabase->ExecuteSql("insert into options([Key], [Label], [List]) values (1, 'a', 'x,y')");
        QCOMPARE(count("select count(*) from options where [Key]=1 and [List]='x,y'"), 1);
        for (int id = 1; id <= 3; ++id)
            gDatabase->ExecuteSql("insert into report(Id, GrpId, Title) values (:Id, 1, 't')",
                                  {DBParam("Id", id)});
        QCOMPARE(count("select top 1 Id from report order by Id desc"), 3);
        QByteArray bytes;
        for (int i = 0; i < 300; ++i)
            bytes.append(char(i % 256));
        gDatabase->ExecuteSql("update report set Fr3File=:F where Id=2", {}, {DBBlob("F", bytes)});
        TRecordSet rs;
        rs.OpenSql("select Id, Fr3File from report where Id=:Id", {DBParam("Id", 2)});
        QCOMPARE(rs.FieldByName("Fr3File")->AsBytes(), bytes);
        // Declared fields: only those are exposed, each must be in the result.
        TQuerySet q;
        q.AddField(TFieldKind::Integer, "Id", -1, true, "编号");
        q.AddField(TFieldKind::Text, "Title", 50, false, "标题");
        QCOMPARE(q.OpenSql("select * from report order by Id"), 3);
        QCOMPARE(q.DataSet()->FieldCount(), 2);
        QCOMPARE(q.FieldByName("Id")->DisplayWidth, 75);
        TQuerySet missing;
        missing.AddField(TFieldKind::Text, "Nope", 50);
        TRecordingMessages boxes;
        bool raised = false;
        try {
            missing.OpenSql("select Id from report");
        } catch (const TDbError&) {
            raised = true;
        }
        QVERIFY(raised);
    }

    void reopenKeepsTheCurrentKey() {
        TestDatabase db;
        for (int id = 1; id <= 4; ++id)
            addReader(id, QStringLiteral("R%1").arg(id), QStringLiteral("n%1").arg(id));
        TQuerySet q;
        q.AddField(TFieldKind::Integer, "Id");
        q.AddField(TFieldKind::Text, "Name", 50);
        q.OpenSql("select Id, Name from readers order by Id");
        q.DataSet()->Locate("Id", 3);
        gDatabase->ExecuteSql("update readers set Name='changed' where Id=3");
        addReader(5, "R5", "n5");
        q.Reopen("Id");
        QCOMPARE(q.DataSet()->RecordCount(), 5);
        QCOMPARE(q.FieldByName("Id")->AsInteger(), 3);
        QCOMPARE(q.FieldByName("Name")->AsString(), QStringLiteral("changed"));
        q.DeleteCurrent();
        QCOMPARE(q.DataSet()->RecordCount(), 4);
        QCOMPARE(count("select count(*) from readers"), 5);  // local only
        q.DeleteAll();
        QCOMPARE(q.DataSet()->RecordCount(), 0);
    }
};

QObject* makeDatabaseTests() {
    return new DatabaseTests;
}

#include "tst_database.moc"
