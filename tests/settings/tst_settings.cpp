// The numbered system settings of table keyvalue and the process-wide fine rates.
#include <QTest>

#include "admin/TKeyValue2.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "tests/support/TestSupport.h"

using testsupport::TestDatabase;

namespace {

struct StoredRow {
    int rows = 0;
    QString vstr;
    int vint = 0;
    double vfloat = 0;
    bool vbool = false;
};

StoredRow stored(int key) {
    TDataSet ds;
    gDatabase->Fetch(QStringLiteral("select Vstr, Vint, Vfloat, Vbool from keyvalue where KeyId=:KeyId"),
                     {DBParam("KeyId", key)}, ds, false);
    StoredRow r;
    r.rows = ds.RecordCount();
    if (r.rows) {
        r.vstr = ds.Field(0)->AsString();
        r.vint = ds.Field(1)->AsInteger();
        r.vfloat = ds.Field(2)->AsFloat();
        r.vbool = ds.Field(3)->AsBoolean();
    }
    return r;
}

}  // namespace

class SettingsTests : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Nothing has loaded the rates yet: the values the program starts with.
        QCOMPARE(BookFineRate, 0.5);
        QCOMPARE(JourFineRate, 0.8);
    }

    void firstReadCreatesMissingRows() {
        TestDatabase db;
        TKeyValue2 settings;
        QCOMPARE(stored(0).rows, 0);
        QCOMPARE(settings.GetFloat(0), 0.0);
        QCOMPARE(settings.GetBool(1), false);
        QCOMPARE(stored(0).rows, 1);
        QCOMPARE(stored(1).rows, 1);
        // Reading again neither duplicates nor fails.
        QCOMPARE(settings.DailyTipPrompt(), false);
        TDataSet ds;
        gDatabase->Fetch(QStringLiteral("select count(*) from keyvalue"), {}, ds, false);
        QCOMPARE(ds.Field(0)->AsInteger(), 2);
    }

    void storingOneValueKeepsTheOtherColumns() {
        TestDatabase db;
        gDatabase->ExecuteSql(QStringLiteral("insert into keyvalue(KeyId, Vstr, Vint, Vfloat, Vbool) "
                                             "values (0, 'note', 7, 2.5, :B)"),
                              {DBParam("B", true)});
        TKeyValue2 settings;
        QVERIFY(settings.SetFloat(0, 0.6));
        StoredRow r = stored(0);
        QCOMPARE(r.vfloat, 0.6);
        QCOMPARE(r.vbool, true);
        QCOMPARE(r.vstr, QStringLiteral("note"));
        QCOMPARE(r.vint, 7);

        settings.SetFeedbackPrompt(false);
        r = stored(0);
        QCOMPARE(r.vbool, false);
        QCOMPARE(r.vfloat, 0.6);
        QCOMPARE(r.vstr, QStringLiteral("note"));
        QCOMPARE(r.vint, 7);

        // The local rows follow what was stored, and a new reader of the table sees the same.
        QCOMPARE(settings.GetFloat(0), 0.6);
        QCOMPARE(settings.FeedbackPrompt(), false);
        TKeyValue2 fresh;
        QCOMPARE(fresh.GetFloat(0), 0.6);
        QCOMPARE(fresh.GetBool(0), false);
    }

    void writeSettingInsertsWhenNoRowExists() {
        TestDatabase db;
        TKeyValue2 settings;
        QCOMPARE(settings.GetFloat(1), 0.0);  // table now open locally, without row 5
        QVERIFY(settings.WriteSetting(5, QStringLiteral("x"), 3, 1.25, true));
        const StoredRow r = stored(5);
        QCOMPARE(r.rows, 1);
        QCOMPARE(r.vfloat, 1.25);
        QCOMPARE(settings.GetFloat(5), 1.25);
        QCOMPARE(settings.GetBool(5), true);
        QCOMPARE(stored(5).rows, 1);
    }

    void fineRatesFollowTheTable() {
        TestDatabase db;
        TKeyValue2 settings;
        gKeyValue2 = &settings;
        LoadFineRates();
        // An empty table gives 0, and the rows now exist.
        QCOMPARE(BookFineRate, 0.0);
        QCOMPARE(JourFineRate, 0.0);
        QVERIFY(settings.SetFloat(0, 0.5));
        QVERIFY(settings.SetFloat(1, 0.8));
        LoadFineRates();
        QCOMPARE(BookFineRate, 0.5);
        QCOMPARE(JourFineRate, 0.8);
        gKeyValue2 = nullptr;
    }
};

QObject* makeSettingsTests() {
    return new SettingsTests;
}

#include "tst_settings.moc"
