#include <QTest>

#include "admin/TOperator.h"
#include "admin/TOperatorSet.h"
#include "admin/TPasswordHash.h"
#include "core/TAbort.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"
#include "tests/support/TestSupport.h"

namespace {

// The password column as stored.
QString storedPassword(const QString& loginId) {
    gScratchSet->OpenSql(QStringLiteral("select [Password] from operator where LoginId=:LoginId"),
                         {DBParam(QStringLiteral("LoginId"), loginId)});
    gScratchSet->DataSet()->First();
    return gScratchSet->DataSet()->Field(0)->AsString();
}

int operatorCount() {
    gScratchSet->OpenSql(QStringLiteral("select count(*) from operator"));
    gScratchSet->DataSet()->First();
    return gScratchSet->DataSet()->Field(0)->AsInteger();
}

}  // namespace

class OperatorTests : public QObject {
    Q_OBJECT
private slots:
    void rights_data() {
        QTest::addColumn<QString>("loginId");
        QTest::addColumn<QString>("rights");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("granted");
        QTest::newRow("sa passes a listed right") << "sa"
                                                  << "" << 100001 << true;
        QTest::newRow("sa passes an unlisted number") << "sa"
                                                      << "" << 1001 << true;
        QTest::newRow("the granted number") << "bob"
                                            << ",10002," << 10002 << true;
        QTest::newRow("a prefix of it is not granted") << "bob"
                                                       << ",10002," << 1000 << false;
        QTest::newRow("a shorter prefix is not granted") << "bob"
                                                         << ",10002," << 100 << false;
        QTest::newRow("second of two") << "bob"
                                       << ",10002,,10004," << 10004 << true;
        QTest::newRow("empty text grants nothing") << "bob"
                                                   << "" << 100 << false;
        QTest::newRow("SA is not sa") << "SA"
                                      << "" << 100 << false;
    }
    void rights() {
        QFETCH(QString, loginId);
        QFETCH(QString, rights);
        QFETCH(int, number);
        QFETCH(bool, granted);
        TOperator op;
        op.LoginId = loginId;
        op.Rights = rights;
        QCOMPARE(op.HasRight(number), granted);

        // CheckRight: the refusal message with the number, then a silent abort when stopping.
        TRecordingMessages messages;
        bool aborted = false;
        try {
            QCOMPARE(op.CheckRight(number, true), true);
        } catch (const TAbort&) {
            aborted = true;
        }
        QCOMPARE(aborted, !granted);
        QCOMPARE(op.CheckRight(number, false), granted);
        const QString refusal =
            QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t").arg(number);
        QCOMPARE(messages.Texts(), granted ? QStringList() : QStringList({refusal, refusal}));
    }

    void rightsTextOfTickedNumbers() {
        QCOMPARE(TOperator::RightsText({10002, 10004}), QStringLiteral(",10002,,10004,"));
    }

    void passwordHashes() {
        const QString hash = TPasswordHash::Hash(QStringLiteral("秘密pw"));
        QVERIFY(TPasswordHash::IsHash(hash));
        QVERIFY(!hash.contains(QStringLiteral("pw")));
        QVERIFY(TPasswordHash::Verify(hash, QStringLiteral("秘密pw")));
        QVERIFY(!TPasswordHash::Verify(hash, QStringLiteral("秘密PW")));
        // Salted: the same password hashes differently each time.
        QVERIFY(TPasswordHash::Hash(QStringLiteral("秘密pw")) != hash);
        // The initial empty password, and an old one kept in clear.
        QVERIFY(TPasswordHash::Verify(QString(), QString()));
        QVERIFY(!TPasswordHash::Verify(QString(), QStringLiteral("x")));
        QVERIFY(TPasswordHash::Verify(QStringLiteral("old"), QStringLiteral("old")));
        QVERIFY(!TPasswordHash::Verify(QStringLiteral("old"), QStringLiteral("Old")));
    }

    void loadAndCheckPassword() {
        testsupport::TestDatabase db;
        TOperator op;
        // "sa" starts with the empty password.
        QVERIFY(op.LoadOperator(QStringLiteral("sa")));
        QCOMPARE(op.LoginId, QStringLiteral("sa"));
        QVERIFY(op.CheckPassword(QString()));
        QVERIFY(!op.CheckPassword(QStringLiteral("x")));

        op.SetPassword(QStringLiteral("n3w"));
        const QString stored = storedPassword(QStringLiteral("sa"));
        QVERIFY(TPasswordHash::IsHash(stored));
        QCOMPARE(op.Password, stored);
        TOperator again;
        QVERIFY(again.LoadOperator(QStringLiteral("sa")));
        QVERIFY(again.CheckPassword(QStringLiteral("n3w")));
        QVERIFY(!again.CheckPassword(QString()));

        // A name that matches nobody leaves the fields as they were.
        QVERIFY(!again.LoadOperator(QStringLiteral("nobody")));
        QCOMPARE(again.LoginId, QStringLiteral("sa"));
        // Nobody loaded: no password passes, not even the empty one.
        QVERIFY(!TOperator().CheckPassword(QString()));
    }

    void operatorSetWritesAndMirrors() {
        testsupport::TestDatabase db;
        TOperatorSet set;
        QCOMPARE(set.DataSet()->RecordCount(), 0);  // never "sa"
        set.InsertOperator(QStringLiteral("bob"), QStringLiteral("pw1"), QStringLiteral(",10002,"),
                           QStringLiteral("note"), QStringLiteral("123"), QStringLiteral("鲍勃"));
        set.InsertOperator(QStringLiteral("amy"), QString(), QString(), QString(), QString(), QString());
        QCOMPARE(set.DataSet()->RecordCount(), 2);
        QVERIFY(TPasswordHash::IsHash(storedPassword(QStringLiteral("bob"))));

        TOperator bob;
        QVERIFY(bob.LoadOperator(QStringLiteral("bob")));
        QVERIFY(bob.CheckPassword(QStringLiteral("pw1")));
        QCOMPARE(bob.Name, QStringLiteral("鲍勃"));
        QCOMPARE(bob.Rights, QStringLiteral(",10002,"));
        // A new operator with an empty password logs in with an empty password.
        TOperator amy;
        QVERIFY(amy.LoadOperator(QStringLiteral("amy")));
        QVERIFY(amy.CheckPassword(QString()));

        // Updating without a password keeps the stored one.
        const QString before = storedPassword(QStringLiteral("bob"));
        set.UpdateOperator(QStringLiteral("bob"), std::nullopt, QStringLiteral(",100,"), QStringLiteral("n2"),
                           QStringLiteral("456"), QStringLiteral("Bob"));
        QCOMPARE(storedPassword(QStringLiteral("bob")), before);
        QVERIFY(set.DataSet()->Locate(QStringLiteral("LoginId"), QStringLiteral("bob")));
        QCOMPARE(set.NameField()->AsString(), QStringLiteral("Bob"));
        QCOMPARE(set.RightsField()->AsString(), QStringLiteral(",100,"));
        set.UpdateOperator(QStringLiteral("bob"), QStringLiteral("pw2"), QStringLiteral(",100,"), QString(),
                           QString(), QStringLiteral("Bob"));
        QVERIFY(bob.LoadOperator(QStringLiteral("bob")));
        QVERIFY(bob.CheckPassword(QStringLiteral("pw2")));
        QCOMPARE(bob.Rights, QStringLiteral(",100,"));

        // A duplicate login name is refused by the database and changes nothing.
        const int count = operatorCount();
        QVERIFY_THROWS_EXCEPTION(TDbError, set.InsertOperator(QStringLiteral("bob"), QStringLiteral("x"),
                                                              QString(), QString(), QString(), QString()));
        QCOMPARE(operatorCount(), count);
        QCOMPARE(set.DataSet()->RecordCount(), 2);

        set.DeleteOperator(QStringLiteral("bob"));
        QCOMPARE(set.DataSet()->RecordCount(), 1);
        QVERIFY(!TOperator().LoadOperator(QStringLiteral("bob")));
        QCOMPARE(TOperator::LoginNames(), QStringLiteral("amy"));
    }

    void menusRoundTrip() {
        testsupport::TestDatabase db;
        QCOMPARE(TOperator::LoadMenus(QStringLiteral("sa")), QString());
        const QString menus = QStringLiteral("LoanAction1=10,10\r\nReturnEditAction1=120,10");
        TOperator::SaveMenus(QStringLiteral("sa"), menus);
        QCOMPARE(TOperator::LoadMenus(QStringLiteral("sa")), menus);
        QCOMPARE(TOperator::LoadMenus(QStringLiteral("nobody")), QString());
    }
};

QObject* makeOperatorTests() {
    return new OperatorTests;
}

#include "tst_operators.moc"
