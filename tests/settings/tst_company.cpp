// The library's own details in table Company.
#include <QTest>

#include "admin/TCompany.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "tests/support/TestSupport.h"

using testsupport::TestDatabase;

class CompanyTests : public QObject {
    Q_OBJECT
private slots:
    void firstSaveInsertsIdZeroThenUpdates() {
        TestDatabase db;
        TCompany company;
        company.CompanyName = QStringLiteral("stale");
        company.LoadCompany();
        QCOMPARE(company.Id, 0);
        QVERIFY(company.CompanyName.isEmpty());

        company.CompanyName = QStringLiteral("澄谷中学图书馆");
        company.Manager = QStringLiteral("李老师");
        company.Zip = QStringLiteral("310000");
        company.Profile = QStringLiteral("第一行\r\n第二行 'quoted'");
        company.SaveCompany();
        company.Tel = QStringLiteral("0571-1234567");
        company.SaveCompany();

        TDataSet ds;
        gDatabase->Fetch(QStringLiteral("select Id from Company"), {}, ds, false);
        QCOMPARE(ds.RecordCount(), 1);
        QCOMPARE(ds.Field(0)->AsInteger(), 0);

        TCompany loaded;
        loaded.LoadCompany();
        QCOMPARE(loaded.CompanyName, company.CompanyName);
        QCOMPARE(loaded.Manager, company.Manager);
        QCOMPARE(loaded.Tel, company.Tel);
        QCOMPARE(loaded.Zip, company.Zip);
        QCOMPARE(loaded.Profile, company.Profile);
        QVERIFY(loaded.IsFilled());
    }

    void isFilled_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("filled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("three Chinese characters") << "澄谷馆" << false;
        QTest::newRow("four Chinese characters") << "澄谷书馆" << true;
        QTest::newRow("seven letters") << "Library" << false;
        QTest::newRow("eight letters") << "Library1" << true;
        QTest::newRow("mixed to eight bytes") << "澄谷Lib1" << true;
    }
    void isFilled() {
        QFETCH(QString, name);
        QFETCH(bool, filled);
        TCompany company;
        company.CompanyName = name;
        QCOMPARE(company.IsFilled(), filled);
    }
};

QObject* makeCompanyTests() {
    return new CompanyTests;
}

#include "tst_company.moc"
