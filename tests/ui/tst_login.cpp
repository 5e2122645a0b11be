#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "admin/TOperator.h"
#include "admin/TOperatorSet.h"
#include "core/TAbort.h"
#include "core/TAppInfo.h"
#include "core/TConfiger.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/ModalScript.h"
#include "ui/TApplication.h"
#include "ui/TLoginFrm.h"
#include "ui/TSplashFrm.h"
#include "ui/TmainFrm.h"
#include "ui/Tmall.h"
#include "ui/base/TzxComboBox.h"
#include "ui/base/TzxEdit.h"

namespace {

// Records the order of the shut-down steps that later windows fill in.
QStringList gSteps;

class RecordingMain : public TmainFrm {
protected:
    void SaveDesktopLayout() override { gSteps << QStringLiteral("layout"); }
    void RunAutomaticBackup() override {
        gSteps << (gDatabase->Connected() ? QStringLiteral("backup")
                                          : QStringLiteral("backup without connection"));
    }
};

class RecordingMall : public Tmall {
protected:
    bool FeedbackPrompt() override { return true; }
    void ShowFeedback() override { gSteps << QStringLiteral("feedback"); }
    bool CompanyNeedsFilling() override { return true; }
    void OpenCompanyWindow() override { gSteps << QStringLiteral("company"); }
};

// Types a login name and password into the dialog and presses Enter in the password field.
bool tryLogin(TLoginFrm* d, const QString& name, const QString& password) {
    d->UserBox()->setEditText(name);
    d->PasswordEdit()->setText(password);
    QTest::keyClick(d->PasswordEdit(), Qt::Key_Return);
    return !d->isVisible();
}

}  // namespace

// Logging in: the command line, the login dialog, "重新登陆", and the splash hint.
class LoginTests : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QFile::remove(TConfiger::ConfigFile());
        db_ = std::make_unique<testsupport::TestDatabase>();
        TOperatorSet set;
        set.InsertOperator(QStringLiteral("bob"), QStringLiteral("bobpw"), QStringLiteral(",10002,"),
                           QString(), QString(), QStringLiteral("Bob"));
        set.InsertOperator(QStringLiteral("amy"), QStringLiteral("amypw"), QString(), QString(), QString(),
                           QStringLiteral("Amy"));
        delete gOperator;
        gOperator = new TOperator;
    }
    void cleanup() { db_.reset(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("dialog");
        QTest::newRow("three arguments") << QStringList{"bob", "bobpw", "x"} << false;
        QTest::newRow("sa with the empty password") << QStringList{"sa", "", "x"} << false;
        QTest::newRow("wrong password") << QStringList{"bob", "wrong", "x"} << true;
        QTest::newRow("unknown name") << QStringList{"nobody", "", "x"} << true;
        QTest::newRow("two arguments") << QStringList{"bob", "bobpw"} << true;
        QTest::newRow("four arguments") << QStringList{"bob", "bobpw", "x", "y"} << true;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, dialog);
        TmainFrm mainFrm;
        mainFrm.SetCommandLine(arguments);
        ModalScript script;  // the dialog, if shown, is cancelled
        QCOMPARE(mainFrm.Login(true), !dialog);
        QCOMPARE(script.shown, dialog ? QStringList{QStringLiteral("登陆")} : QStringList());
        if (!dialog) {
            QCOMPARE(gOperator->LoginId, arguments[0]);
            QCOMPARE(mainFrm.HintLine1(), QStringLiteral("%1: 您好! 欢迎您使用本系统.").arg(arguments[0]));
            QCOMPARE(mainFrm.HintLine2(), QStringLiteral("请从桌面或菜单中选择您要的操作."));
        } else {
            QCOMPARE(gOperator->LoginId, QString());
        }
        // The command line never writes the last login name.
        QCOMPARE(TConfiger::ReadLastLoginId(), QString());
        // The command line is read only at the first login.
        if (!dialog) {
            ModalScript again;
            QVERIFY(!mainFrm.Login(false));
            QCOMPARE(again.shown.size(), 1);
            QCOMPARE(gOperator->LoginId, arguments[0]);
        }
    }

    void dialogNamesAndRefusals() {
        TRecordingMessages messages;
        QStringList items;
        QString initial;
        QList<bool> closed;
        bool passwordSelected = false;
        ModalScript script{[&](QDialog* d) {
            auto* login = As<TLoginFrm>(d);
            for (int i = 0; i < login->UserBox()->count(); ++i)
                items << login->UserBox()->itemText(i);
            initial = login->UserBox()->currentText();
            closed << tryLogin(login, QStringLiteral("bob"), QStringLiteral("amypw"));
            passwordSelected = login->PasswordEdit()->selectedText() == QStringLiteral("amypw");
            // A name that matches nobody fails, also with the password of the operator tried before.
            closed << tryLogin(login, QStringLiteral("nobody"), QStringLiteral("bobpw"));
            closed << tryLogin(login, QStringLiteral("bob"), QStringLiteral("bobpw"));
        }};
        QVERIFY(ShowLoginDialog());
        items.sort();
        QCOMPARE(items, (QStringList{"amy", "bob"}));
        QCOMPARE(initial, QStringLiteral("sa"));
        QCOMPARE(closed, (QList<bool>{false, false, true}));
        QVERIFY(passwordSelected);
        QVERIFY(messages.Texts().isEmpty());
        QCOMPARE(gOperator->LoginId, QStringLiteral("bob"));
        QCOMPARE(gOperator->Rights, QStringLiteral(",10002,"));
        QCOMPARE(TConfiger::ReadLastLoginId(), QStringLiteral("bob"));

        // The next dialog starts at the last login name.
        ModalScript next{[&](QDialog* d) {
            initial = As<TLoginFrm>(d)->UserBox()->currentText();
            d->reject();
        }};
        QVERIFY(!ShowLoginDialog());
        QCOMPARE(initial, QStringLiteral("bob"));
    }

    void reloginCancelledKeepsTheOperator() {
        TmainFrm mainFrm;
        mainFrm.SetCommandLine({QStringLiteral("bob"), QStringLiteral("bobpw"), QStringLiteral("x")});
        QVERIFY(mainFrm.Login(true));
        {
            ModalScript cancel;
            mainFrm.ReloginAction()->trigger();
            QCOMPARE(cancel.shown.size(), 1);
        }
        QCOMPARE(gOperator->LoginId, QStringLiteral("bob"));
        ModalScript other{
            [](QDialog* d) { tryLogin(As<TLoginFrm>(d), QStringLiteral("amy"), QStringLiteral("amypw")); }};
        mainFrm.ReloginAction()->trigger();
        QCOMPARE(gOperator->LoginId, QStringLiteral("amy"));
        QCOMPARE(mainFrm.HintLine1(), QStringLiteral("amy: 您好! 欢迎您使用本系统."));
    }

    void splashHint() {
        TSplashFrm splash;
        QCOMPARE(splash.Hint(), QStringLiteral("正在创建数据连接..."));
        ShowSplashHint(QStringLiteral("正在创建公共对象,请稍候..."));
        ShowSplashHint(QString());
        QCOMPARE(splash.Hint(), QStringLiteral("正在创建公共对象,请稍候...."));
        ShowSplashHint(QStringLiteral("正在创建主程序,请稍候..."));
        QCOMPARE(splash.Hint(), QStringLiteral("正在创建主程序,请稍候..."));
    }

    void mainWindowCaptionAndClose() {
        SetIdentityTexts();
        TmainFrm mainFrm;
        QCOMPARE(mainFrm.windowTitle(), QStringLiteral("澄谷图书管理系统 - 单机版 2013.1.11.0326 - "));
        mainFrm.show();
        mainFrm.close();
        // Closing runs the shut-down steps, which end with the connection closed.
        QVERIFY(!gDatabase->Connected());
    }

    void shutdownOrder_data() {
        QTest::addColumn<bool>("loggedIn");
        QTest::newRow("after a login") << true;
        QTest::newRow("first login cancelled, never shown") << false;
    }
    void shutdownOrder() {
        QFETCH(bool, loggedIn);
        RecordingMall mall;
        gSteps.clear();
        {
            RecordingMain mainFrm;
            mainFrm.SetCommandLine({QStringLiteral("sa"), QString(), QStringLiteral("x")});
            if (loggedIn) {
                QVERIFY(mainFrm.Login(true));
                mainFrm.show();
                mall.StartupHook();
            }
            mainFrm.close();
            QVERIFY(!gDatabase->Connected());
        }
        const QStringList closing{QStringLiteral("feedback"), QStringLiteral("backup")};
        QCOMPARE(gSteps, loggedIn ? (QStringList{"company", "layout"} + closing) : closing);
    }

    void errorsReachingTheEventLoop() {
        TRecordingMessages messages;
        QVERIFY(!TApplication::Guarded([] { throw TAbort(); }));
        QVERIFY(messages.Texts().isEmpty());
        QVERIFY(!TApplication::Guarded(
            [] { throw TDbError(TDbError::Kind::Statement, QStringLiteral("坏\r\nSQL")); }));
        QVERIFY(!TApplication::Guarded([] {
            TzxEdit edit;
            edit.setText(QStringLiteral("x1"));
            edit.AsDouble();
        }));
        QCOMPARE(messages.Texts(),
                 (QStringList{QStringLiteral("坏\r\nSQL"), QStringLiteral("\"x1\" 不是有效的数字.")}));
        QCOMPARE(messages.boxes[0].kind, TMsgKind::Error);
        QVERIFY(TApplication::Guarded([] {}));
    }

private:
    std::unique_ptr<testsupport::TestDatabase> db_;
};

QObject* makeLoginTests() {
    return new LoginTests;
}

#include "tst_login.moc"
