// The main window: its menus, desktop, hints, per-operator layout and openers.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "admin/TCompany.h"
#include "admin/TKeyValue2.h"
#include "admin/TOperator.h"
#include "admin/TPickListSet.h"
#include "core/TAbort.h"
#include "core/TAppInfo.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "tests/settings/ModalDriver.h"
#include "tests/settings/SettingsGlobals.h"
#include "tests/support/TestSupport.h"
#include "ui/TDesktopLayout.h"
#include "ui/TMainActions.h"
#include "ui/TmainFrm.h"
#include "ui/base/TzxImgBtn.h"
#include "ui/base/TzxListView.h"

using testsupport::TestDatabase;

namespace {

void addOperator(const QString& login, const QString& rights, const QString& menus = QString()) {
    gDatabase->ExecuteSql(QStringLiteral("insert into operator(LoginId, [Password], Name, Rights, Menus) "
                                         "values (:L, '', :L, :R, :M)"),
                          {DBParam("L", login), DBParam("R", rights), DBParam("M", menus)});
    TOperator op;
    QVERIFY(op.LoadOperator(login));
    op.SetPassword(QStringLiteral("pw"));
}

QString storedMenus(const QString& login) {
    return TOperator::LoadMenus(login);
}

bool loginAs(TmainFrm& frm, const QString& login) {
    frm.SetCommandLine({login, QStringLiteral("pw"), QStringLiteral("x")});
    return frm.Login(true);
}

QListWidgetItem* desktopItem(TmainFrm& frm, const QString& name) {
    for (int i = 0; i < frm.Desktop()->count(); ++i)
        if (TzxListView::ActionName(frm.Desktop()->item(i)) == name) return frm.Desktop()->item(i);
    return nullptr;
}

QPoint iconAt(TmainFrm& frm, const QString& name) {
    return frm.Desktop()->ItemPosition(desktopItem(frm, name));
}

// Runs a menu entry or action the way a click does, swallowing the silent abort as the
// application's handler would; true when it was abandoned.
bool trigger(QAction* action) {
    try {
        action->trigger();
    } catch (const TAbort&) {
        return true;
    }
    return false;
}

}  // namespace

class MainWindowTests : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetIdentityTexts(); }

    void layoutText_data() {
        QTest::addColumn<QString>("menus");
        QTest::addColumn<QPoint>("loan");
        QTest::addColumn<QPoint>("renew");
        QTest::newRow("never stored") << "" << QPoint(10, 10) << QPoint(10, 10);
        QTest::newRow("stored") << "LoanAction1=120,40\r\nRenewEditAction1=300,8\r\n"
                                << QPoint(120, 40) << QPoint(300, 8);
        QTest::newRow("0,0 and a missing line") << "LoanAction1=0,0\n" << QPoint(10, 10) << QPoint(10, 10);
        QTest::newRow("missing value")
            << "LoanAction1=\nRenewEditAction1=5,6" << QPoint(10, 10) << QPoint(5, 6);
        QTest::newRow("damaged values")
            << "LoanAction1=abc\nRenewEditAction1=7;8" << QPoint(10, 10) << QPoint(10, 10);
        QTest::newRow("unknown names ignored")
            << "Gone=1,2\nLoanAction1=0,30" << QPoint(0, 30) << QPoint(10, 10);
    }
    void layoutText() {
        QFETCH(QString, menus);
        QFETCH(QPoint, loan);
        QFETCH(QPoint, renew);
        const QStringList names = {"LoanAction1", "RenewEditAction1", "BookListAction1"};
        TDesktopLayout layout;
        layout.Read(names, menus);
        QCOMPARE(layout.Position("LoanAction1"), loan);
        QCOMPARE(layout.Position("RenewEditAction1"), renew);
        // Written back: one line per action, in order, also for the actions that were missing.
        const QString text = layout.Text();
        QCOMPARE(text,
                 QStringLiteral("LoanAction1=%1,%2\r\nRenewEditAction1=%3,%4\r\nBookListAction1=10,10\r\n")
                     .arg(loan.x())
                     .arg(loan.y())
                     .arg(renew.x())
                     .arg(renew.y()));
        TDesktopLayout again;
        again.Read(names, text);
        QCOMPARE(again.Text(), text);
    }

    void menusFollowTheTable() {
        TestDatabase db;
        Globals g;
        TmainFrm frm;
        QCOMPARE(frm.windowTitle(), QStringLiteral("澄谷图书管理系统 - 单机版 2013.1.11.0326 - "));
        const QList<QPair<QString, QStringList>> expected = {
            {"文件(&F)",
             {"公司信息", "操作员及权限", "-", "选项设置", "-", "初始化数据...", "备份与恢复", "-",
              "更改密码", "重新登陆", "-", "退出系统"}},
            {"资料(&O)",
             {"中图分类", "出版社", "图书资料", "期刊资料", "-", "读者类别", "读者资料", "读者状态设置",
              "读者押金充值"}},
            {"借阅(&Z)",
             {"图书期刊借阅", "图书期刊归还", "图书期刊续借", "-", "图书注销", "期刊注销", "-", "罚款管理"}},
            {"查询(&V)",
             {"图书期刊借阅查询", "图书期刊注销查询", "-", "读者充值记录查询", "-", "图书借阅排名",
              "期刊借阅排名", "读者借阅排名", "读者部门借阅排名", "读者类别借阅排名", "-", "图书分类统计",
              "期刊分类统计", "读者分类统计"}},
            {"今日(D)",
             {"今日借出图书",
              "今日借出期刊",
              "-",
              "今日归还图书",
              "今日归还期刊",
              "-",
              "今日注销图书",
              "今日注销期刊",
              "-",
              "今日新增图书",
              "今日新增期刊",
              "今日新增读者",
              "-",
              "今日到期图书",
              "今日到期期刊",
              "三日内到期图书",
              "三日内到期期刊",
              "-",
              "今日罚款记录",
              "今日充值记录"}},
            {"工具(&T)", {"记事本", "计算器", "-", "设置...", "-"}},
            {"帮助(&H)",
             {"帮助文件", "常见问题", "每日一贴", "-", "自述文件", "最新功能", "-", "澄谷官方网站",
              "在线反馈", "-", "关于..."}},
        };
        const QList<QAction*> menus = frm.menuBar()->actions();
        QCOMPARE(menus.size(), expected.size());
        for (int m = 0; m < menus.size(); ++m) {
            QCOMPARE(menus[m]->text(), expected[m].first);
            QStringList entries;
            for (QAction* a : menus[m]->menu()->actions()) {
                entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
                // Every entry carries an icon.
                if (!a->isSeparator()) QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
            }
            QCOMPARE(entries, expected[m].second);
        }
        // Every action of the window has its caption and a drawable icon.
        for (const TMainAction& a : MainActions()) {
            QAction* action = frm.Action(a.name);
            QVERIFY2(action, qPrintable(a.name));
            QVERIFY2(!action->icon().pixmap(32).isNull(), qPrintable(a.name));
        }
        QCOMPARE(int(MainActions().size()), 40);
    }

    void loginFillsDesktopAndHints() {
        TestDatabase db;
        Globals g;
        addOperator(QStringLiteral("clerk"), QString());
        TmainFrm frm;
        frm.show();
        QVERIFY(loginAs(frm, QStringLiteral("clerk")));
        QStringList names;
        for (int i = 0; i < frm.Desktop()->count(); ++i)
            names << TzxListView::ActionName(frm.Desktop()->item(i));
        QCOMPARE(names, DesktopActionNames());
        QCOMPARE(frm.Desktop()->item(0)->text(), QStringLiteral("图书期刊借阅"));
        QStringList strip;
        for (int i = 0; i < frm.Strip()->count(); ++i)
            strip << frm.Strip()->item(i)->text();
        QCOMPARE(strip, (QStringList{"图书资料", "期刊资料", "读者资料", "读者类别", "中图分类"}));
        QCOMPARE(frm.HintLine1(), QStringLiteral("clerk: 您好! 欢迎您使用本系统."));
        QCOMPARE(frm.HintLine2(), QStringLiteral("请从桌面或菜单中选择您要的操作."));
        // Never arranged: the layout holds (10,10) for every icon, and none hides another.
        QSet<QPair<int, int>> spots;
        for (const QString& name : DesktopActionNames()) {
            QCOMPARE(frm.Layout().Position(name), QPoint(10, 10));
            spots.insert({iconAt(frm, name).x(), iconAt(frm, name).y()});
        }
        QCOMPARE(spots.size(), DesktopActionNames().size());
        QCOMPARE(iconAt(frm, "LoanAction1"), QPoint(10, 10));

        desktopItem(frm, "ReturnEditAction1")->setSelected(true);
        QCOMPARE(frm.HintLine1(), QStringLiteral("图书期刊归还"));
        QCOMPARE(frm.HintLine2(), FindMainAction("ReturnEditAction1")->hint);
        frm.Desktop()->clearSelection();
        QCOMPARE(frm.HintLine1(), QStringLiteral("clerk: 您好! 欢迎您使用本系统."));
    }

    void alignSelectedIcons() {
        TestDatabase db;
        Globals g;
        addOperator(
            QStringLiteral("clerk"), QString(),
            QStringLiteral("LoanAction1=100,50\r\nReturnEditAction1=300,80\r\nRenewEditAction1=40,200\r\n"));
        TmainFrm frm;
        frm.show();
        QVERIFY(loginAs(frm, QStringLiteral("clerk")));
        TzxListView* desk = frm.Desktop();
        // One icon selected: nothing moves.
        desktopItem(frm, "ReturnEditAction1")->setSelected(true);
        desk->AlignTops();
        QCOMPARE(iconAt(frm, "ReturnEditAction1"), QPoint(300, 80));
        desktopItem(frm, "LoanAction1")->setSelected(true);
        desktopItem(frm, "RenewEditAction1")->setSelected(true);
        desk->AlignTops();
        QCOMPARE(iconAt(frm, "LoanAction1").y(), iconAt(frm, "ReturnEditAction1").y());
        QCOMPARE(iconAt(frm, "RenewEditAction1").y(), iconAt(frm, "ReturnEditAction1").y());
        QCOMPARE(iconAt(frm, "RenewEditAction1").x(), 40);
        desk->AlignLefts();
        QCOMPARE(iconAt(frm, "LoanAction1").x(), iconAt(frm, "ReturnEditAction1").x());
    }

    void layoutKeptPerOperatorAcrossLogins() {
        TestDatabase db;
        Globals g;
        addOperator(QStringLiteral("anna"), QString());
        addOperator(QStringLiteral("bert"), QString(), QStringLiteral("LoanAction1=300,200\r\n"));
        TmainFrm frm;
        frm.show();
        QVERIFY(loginAs(frm, QStringLiteral("anna")));
        frm.Desktop()->SetItemPosition(desktopItem(frm, "LoanAction1"), QPoint(250, 120));
        frm.Desktop()->SetItemPosition(desktopItem(frm, "FineQueryAction1"), QPoint(40, 300));

        QVERIFY(loginAs(frm, QStringLiteral("bert")));
        QCOMPARE(iconAt(frm, "LoanAction1"), QPoint(300, 200));
        QCOMPARE(frm.HintLine1(), QStringLiteral("bert: 您好! 欢迎您使用本系统."));
        frm.Desktop()->SetItemPosition(desktopItem(frm, "ReturnEditAction1"), QPoint(500, 20));

        QVERIFY(loginAs(frm, QStringLiteral("anna")));
        QCOMPARE(iconAt(frm, "LoanAction1"), QPoint(250, 120));
        QCOMPARE(iconAt(frm, "FineQueryAction1"), QPoint(40, 300));

        // Closing stores the layout of the operator logged in: a line for every action.
        frm.SaveDesktopLayout();
        const QStringList lines =
            storedMenus(QStringLiteral("anna")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), int(MainActions().size()));
        QVERIFY(lines.contains(QStringLiteral("LoanAction1=250,120")));
        QVERIFY(lines.contains(QStringLiteral("BookListAction1=10,10")));
        QVERIFY(storedMenus(QStringLiteral("bert")).contains(QStringLiteral("ReturnEditAction1=500,20\r\n")));

        // The group picture refills the desktop where the icons were.
        frm.FillDesktop();
        QCOMPARE(iconAt(frm, "FineQueryAction1"), QPoint(40, 300));
    }

    void openersCheckRights_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("right");
        QTest::newRow("company") << "公司信息" << 10000;
        QTest::newRow("operators") << "操作员及权限" << 100001;
        QTest::newRow("clear data") << "初始化数据..." << 100;
        QTest::newRow("backup") << "备份与恢复" << 10005;
        QTest::newRow("tools settings") << "设置..." << 10007;
        QTest::newRow("catalogue") << "中图分类" << 1001;
    }
    void openersCheckRights() {
        QFETCH(QString, entry);
        QFETCH(int, right);
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        g.op.LoginId = QStringLiteral("clerk");
        g.op.Rights = TOperator::RightsText({10002, 10004});
        TmainFrm frm;
        ModalDriver driver;
        QAction* action = frm.MenuEntry(entry);
        QVERIFY(action);
        QVERIFY(trigger(action));
        QCOMPARE(boxes.Texts(),
                 QStringList{
                     QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t").arg(right)});
        QCOMPARE(driver.Unexpected(), 0);
    }

    void openersOfMissingWindowsSaySo() {
        TestDatabase db;
        Globals g;
        TRecordingMessages boxes;
        g.op.LoginId = QStringLiteral("sa");
        TmainFrm frm;
        QVERIFY(!trigger(frm.Action("LoanAction1")));
        QVERIFY(!trigger(frm.Action("BookListAction1")));
        QCOMPARE(boxes.Texts(), (QStringList{QStringLiteral("\r\n\"图书期刊借阅\" 功能尚未提供.\t"),
                                             QStringLiteral("\r\n\"图书资料\" 功能尚未提供.\t")}));
        // The busy cursor of the book list is gone again.
        QVERIFY(!QApplication::overrideCursor());
        // Double-clicking a strip icon runs its action.
        boxes.Clear();
        frm.RunAction(QStringLiteral("JournaListAction1"));
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("\r\n\"期刊资料\" 功能尚未提供.\t")});
    }

    void settingsEntryOpensTheWindow() {
        TestDatabase db;
        Globals g;
        g.op.LoginId = QStringLiteral("clerk");
        TmainFrm frm;
        QString title;
        ModalDriver driver({[&](QWidget* w) {
            title = w->windowTitle();
            QMetaObject::invokeMethod(w, "reject");
        }});
        QVERIFY(!trigger(frm.MenuEntry(QStringLiteral("选项设置"))));
        QCOMPARE(title, QStringLiteral("系统设置"));
    }
};

QObject* makeMainWindowTests() {
    return new MainWindowTests;
}

#include "tst_mainwindow.moc"
