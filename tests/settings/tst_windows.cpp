// The settings, company and list-editor windows, driven through their widgets.
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "admin/TCompany.h"
#include "admin/TKeyValue2.h"
#include "admin/TOperator.h"
#include "admin/TPickListSet.h"
#include "core/TAbort.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "tests/settings/ModalDriver.h"
#include "tests/settings/SettingsGlobals.h"
#include "tests/support/TestSupport.h"
#include "ui/admin/TCompanyInfoFrm.h"
#include "ui/admin/TListItemEditFrm.h"
#include "ui/admin/TSysEditFrm.h"
#include "ui/base/TzxEdit.h"
#include "ui/base/TzxMemo.h"

using testsupport::TestDatabase;

namespace {

double storedRate(int key) {
    TDataSet ds;
    gDatabase->Fetch(QStringLiteral("select Vfloat from keyvalue where KeyId=:K"), {DBParam("K", key)}, ds,
                     false);
    return ds.RecordCount() ? ds.Field(0)->AsFloat() : -1;
}

QString storedCompanyName() {
    TDataSet ds;
    gDatabase->Fetch(QStringLiteral("select CompanyName from Company where Id=0"), {}, ds, false);
    return ds.RecordCount() == 1 ? ds.Field(0)->AsString() : QStringLiteral("<no row>");
}

}  // namespace

class WindowTests : public QObject {
    Q_OBJECT
private slots:
    void settingsWindowStoresRates() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        BookFineRate = 0.5;
        JourFineRate = 0;
        TSysEditFrm frm;
        QCOMPARE(frm.windowTitle(), QStringLiteral("系统设置"));
        QCOMPARE(frm.edtBookRate()->text(), QStringLiteral("0.5"));
        QCOMPARE(frm.edtJourRate()->text(), QString());  // 0 shows as an empty field
        QVERIFY(frm.SaveBtn()->isDefault());

        frm.edtBookRate()->setText(QStringLiteral("0.6"));
        frm.edtJourRate()->setText(QStringLiteral("1.2"));
        frm.SaveBtn()->click();
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("\r\n保存操作成功!\t")});
        QCOMPARE(BookFineRate, 0.6);
        QCOMPARE(JourFineRate, 1.2);
        QCOMPARE(storedRate(0), 0.6);
        QCOMPARE(storedRate(1), 1.2);

        // Clearing a field stores 0; the window stays open for further changes.
        frm.edtJourRate()->clear();
        frm.Save();
        QCOMPARE(JourFineRate, 0.0);
        QCOMPARE(storedRate(1), 0.0);
        TKeyValue2 fresh;
        QCOMPARE(fresh.GetFloat(0), 0.6);
    }

    void settingsWindowStoresNothingForABadNumber() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        QVERIFY(g.settings.SetFloat(0, 0.5));
        BookFineRate = 0.5;
        TSysEditFrm frm;
        frm.edtBookRate()->setText(QStringLiteral("0.9"));
        frm.edtJourRate()->setText(QStringLiteral("1.2.3"));
        QVERIFY_THROWS_EXCEPTION(TConvertError, frm.Save());
        // The valid book rate was not stored alone.
        QCOMPARE(BookFineRate, 0.5);
        QCOMPARE(storedRate(0), 0.5);
        QVERIFY(boxes.Texts().isEmpty());
    }

    void companyWindowSavesAndShowsReadOnly() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        g.company.LoadCompany();
        auto driver = std::make_unique<ModalDriver>(QList<ModalDriver::Step>{[](QWidget* w) {
            auto* frm = qobject_cast<TCompanyInfoFrm*>(w);
            QVERIFY(frm);
            QCOMPARE(frm->windowTitle(), QStringLiteral("公司信息"));
            QVERIFY(frm->OkBtn()->isEnabled());
            frm->setProperty("CompanyName", QStringLiteral("澄谷中学图书馆"));
            frm->setProperty("Lawman", QStringLiteral("李老师"));
            frm->setProperty("Profile", QStringLiteral("两行\n简介"));
            frm->OkBtn()->click();
        }});
        QVERIFY(EditCompany(false));
        driver.reset();
        QCOMPARE(storedCompanyName(), QStringLiteral("澄谷中学图书馆"));
        QCOMPARE(g.company.Manager, QStringLiteral("李老师"));

        // Read only: the details are shown, OK is disabled, nothing is stored.
        QString shown;
        bool okEnabled = true;
        ModalDriver viewer({[&](QWidget* w) {
            auto* frm = qobject_cast<TCompanyInfoFrm*>(w);
            shown = frm->CompanyName();
            okEnabled = frm->OkBtn()->isEnabled();
            frm->SetCompanyName(QStringLiteral("改了"));
            frm->reject();
        }});
        QVERIFY(!EditCompany(true));
        QCOMPARE(shown, QStringLiteral("澄谷中学图书馆"));
        QVERIFY(!okEnabled);
        QCOMPARE(storedCompanyName(), QStringLiteral("澄谷中学图书馆"));
        QVERIFY(boxes.Texts().isEmpty());
    }

    void companyWindowShownAgainAfterAFailedSave() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        g.company.LoadCompany();
        QString fieldAtSecondShow;
        ModalDriver driver(
            {[](QWidget* w) {
                 auto* frm = qobject_cast<TCompanyInfoFrm*>(w);
                 frm->SetCompanyName(QStringLiteral("澄谷书馆"));
                 // The table is out of reach while saving.
                 gDatabase->ExecuteSql(QStringLiteral("alter table Company rename to CompanyAway"));
                 frm->OkBtn()->click();
             },
             [&](QWidget* w) {
                 auto* frm = qobject_cast<TCompanyInfoFrm*>(w);
                 fieldAtSecondShow = frm->CompanyName();
                 gDatabase->ExecuteSql(QStringLiteral("alter table CompanyAway rename to Company"));
                 frm->OkBtn()->click();
             }});
        QVERIFY(EditCompany(false));
        QCOMPARE(driver.Handled(), 2);
        QCOMPARE(fieldAtSecondShow, QStringLiteral("澄谷书馆"));
        QVERIFY(!boxes.Texts().isEmpty());
        QCOMPARE(storedCompanyName(), QStringLiteral("澄谷书馆"));
    }

    void companyOpenerAndStartupOffer() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        // Without right 10000: the refusal, no window, and nothing offered at start-up.
        g.op.LoginId = QStringLiteral("clerk");
        g.op.Rights = TOperator::RightsText({10002});
        {
            ModalDriver driver;
            QVERIFY_THROWS_EXCEPTION(TAbort, OpenCompanyInfo());
            QCOMPARE(
                boxes.Texts(),
                QStringList{QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(10000).\t")});
            boxes.Clear();
            OfferCompanyInfo();
            QCOMPARE(driver.Unexpected(), 0);
            QVERIFY(boxes.Texts().isEmpty());
        }
        // With the right: offered while the name has fewer than four Chinese characters.
        g.op.Rights = TOperator::RightsText({10000});
        g.company.CompanyName = QStringLiteral("澄谷馆");
        g.company.SaveCompany();
        {
            ModalDriver driver({[](QWidget* w) { static_cast<TCompanyInfoFrm*>(w)->reject(); }});
            OfferCompanyInfo();
            QCOMPARE(driver.Handled(), 1);
        }
        {
            ModalDriver driver({[](QWidget* w) {
                static_cast<TCompanyInfoFrm*>(w)->SetCompanyName(QStringLiteral("澄谷书馆"));
                static_cast<TCompanyInfoFrm*>(w)->accept();
            }});
            OfferCompanyInfo();
            QVERIFY(driver.Done());
        }
        {
            ModalDriver driver;
            g.company.LoadCompany();
            OfferCompanyInfo();
            QCOMPARE(driver.Unexpected(), 0);
        }
    }

    void listEditorEditsDropDownItems() {
        TestDatabase db;
        Globals g;
        QVERIFY(g.lists.SaveItems(3, {QStringLiteral("一楼")}));
        QComboBox box;
        box.setEditable(true);
        FillPickList(&box, 3);
        QCOMPARE(box.count(), 1);
        box.setEditText(QStringLiteral("手写的"));

        // Cancel changes nothing.
        {
            ModalDriver driver({[](QWidget* w) {
                auto* frm = static_cast<TListItemEditFrm*>(w);
                frm->Memo()->setPlainText(QStringLiteral("x"));
                frm->reject();
            }});
            QVERIFY(!EditPickList(&box, 3));
        }
        QCOMPARE(box.count(), 1);
        QString caption;
        ModalDriver driver({[&](QWidget* w) {
            auto* frm = static_cast<TListItemEditFrm*>(w);
            caption = frm->findChild<QTabWidget*>()->tabText(0);
            QCOMPARE(frm->Memo()->toPlainText(), QStringLiteral("一楼"));
            frm->Memo()->setPlainText(QStringLiteral("一楼 东\n\n二楼\n"));
            frm->accept();
        }});
        QVERIFY(EditPickList(&box, 3));
        QCOMPARE(caption, QStringLiteral("存放位置"));
        QCOMPARE(box.count(), 3);
        QCOMPARE(box.itemText(1), QString());
        QCOMPARE(box.currentText(), QStringLiteral("手写的"));
        QCOMPARE(g.lists.Items(3), (QStringList{"一楼 东", "", "二楼"}));
    }
};

QObject* makeWindowTests() {
    return new WindowTests;
}

#include "tst_windows.moc"
