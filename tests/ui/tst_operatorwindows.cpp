#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "admin/TOperator.h"
#include "admin/TOperatorSet.h"
#include "core/TAbort.h"
#include "core/TDataSet.h"
#include "core/TMessages.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/ModalScript.h"
#include "ui/admin/TOperatorEditorFrm.h"
#include "ui/admin/TOperatorsFrm.h"
#include "ui/admin/TPasswordChangerFrm.h"
#include "ui/base/TzxEdit.h"

namespace {

bool logsIn(const QString& loginId, const QString& password) {
    TOperator op;
    return op.LoadOperator(loginId) && op.CheckPassword(password);
}

void fillEditor(TOperatorEditorFrm* e, const QString& loginId, const QString& pw1, const QString& pw2) {
    e->edtUserId->setText(loginId);
    // As typed: the fields count as changed.
    e->edtPasswd->clear();
    QTest::keyClicks(e->edtPasswd, pw1);
    e->edtPasswd2->clear();
    QTest::keyClicks(e->edtPasswd2, pw2);
    e->SetEmpName(QStringLiteral("新人"));
}

void selectName(TOperatorsFrm& w, const QString& loginId) {
    const QList<QListWidgetItem*> found = w.UserList()->findItems(loginId, Qt::MatchExactly);
    QVERIFY(found.size() == 1);
    w.UserList()->setCurrentItem(found.first());
}

QStringList names(const TOperatorsFrm& w) {
    QStringList out;
    for (int i = 0; i < w.UserList()->count(); ++i)
        out << w.UserList()->item(i)->text();
    return out;
}

}  // namespace

// The operators window, the operator dialog and the password window.
class OperatorWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init() {
        db_ = std::make_unique<testsupport::TestDatabase>();
        TOperatorSet set;
        set.InsertOperator(QStringLiteral("bob"), QStringLiteral("bobpw"), QStringLiteral(",10002,,10004,"),
                           QStringLiteral("备注"), QStringLiteral("555"), QStringLiteral("Bob"));
        delete gOperator;
        gOperator = new TOperator;
        gOperator->LoadOperator(QStringLiteral("sa"));
    }
    void cleanup() { db_.reset(); }

    void openingNeedsTheRight() {
        gOperator->LoadOperator(QStringLiteral("bob"));
        TRecordingMessages messages;
        ModalScript script;
        QVERIFY_THROWS_EXCEPTION(TAbort, OpenOperatorsWindow());
        QVERIFY(script.shown.isEmpty());
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(100001).\t")});
        gOperator->LoadOperator(QStringLiteral("sa"));
        ModalScript sa;
        OpenOperatorsWindow();
        QCOMPARE(sa.shown, QStringList{QStringLiteral("操作员及权限")});
    }

    void listAndCheckListOrder() {
        TOperatorsFrm w;
        QCOMPARE(names(w), QStringList{QStringLiteral("bob")});
        QVERIFY(!w.PropertiesBtn()->isEnabled());
        QVERIFY(!w.DeleteBtn()->isEnabled());
        w.show();
        QStringList captions;
        for (int i = 0; i < w.EditorFrm()->RightsList()->count(); ++i)
            captions << w.EditorFrm()->RightsList()->item(i)->text();
        QCOMPARE(captions, (QStringList{"清除数据", "公司信息设置", "操作员及权限管理", "打印", "打印设计",
                                        "数据导出", "列选择", "列样式保存", "备份设置", "工具菜单设置"}));
        selectName(w, QStringLiteral("bob"));
        QVERIFY(w.PropertiesBtn()->isEnabled());
        QVERIFY(w.DeleteBtn()->isEnabled());
    }

    void addWithRefusals() {
        TOperatorsFrm w;
        w.show();
        TRecordingMessages messages;
        QStringList typedBack;
        ModalScript script{
            [&](QDialog* d) {
                auto* e = As<TOperatorEditorFrm>(d);
                QVERIFY(e->edtUserId->isEnabled());
                QCOMPARE(e->UserId(), QString());
                // No login name, then two different passwords: the dialog stays.
                fillEditor(e, QString(), QStringLiteral("a"), QStringLiteral("a"));
                e->OkBtn()->click();
                QVERIFY(e->isVisible());
                fillEditor(e, QStringLiteral("bob"), QStringLiteral("a"), QStringLiteral("b"));
                e->OkBtn()->click();
                QVERIFY(e->isVisible());
                QCOMPARE(e->edtPasswd->text(), QString());
                QCOMPARE(e->edtPasswd2->text(), QString());
                // A duplicate login name: the database refuses, the dialog comes back.
                fillEditor(e, QStringLiteral("bob"), QStringLiteral("x"), QStringLiteral("x"));
                e->RightsList()->item(3)->setCheckState(Qt::Checked);  // 打印
                e->RightsList()->item(5)->setCheckState(Qt::Checked);  // 数据导出
                e->OkBtn()->click();
            },
            [&](QDialog* d) {
                auto* e = As<TOperatorEditorFrm>(d);
                typedBack << e->UserId() << e->Rights();
                e->edtUserId->setText(QStringLiteral("cat"));
                e->OkBtn()->click();
            },
        };
        w.AddBtn()->click();
        QCOMPARE(script.shown.size(), 2);
        QCOMPARE(messages.Texts().mid(0, 2),
                 (QStringList{QStringLiteral("\r\n必须填写登陆名.\t"),
                              QStringLiteral("\r\n两次输入的密码不一样,请重新输入.\t")}));
        QCOMPARE(messages.Texts().size(), 3);  // the database's refusal
        QCOMPARE(typedBack, (QStringList{QStringLiteral("bob"), QStringLiteral(",10002,,10004,")}));
        QCOMPARE(names(w), (QStringList{QStringLiteral("bob"), QStringLiteral("cat")}));
        QVERIFY(logsIn(QStringLiteral("cat"), QStringLiteral("x")));
        QVERIFY(logsIn(QStringLiteral("bob"), QStringLiteral("bobpw")));
        TOperator cat;
        cat.LoadOperator(QStringLiteral("cat"));
        QCOMPARE(cat.Rights, QStringLiteral(",10002,,10004,"));
        QCOMPARE(cat.Name, QStringLiteral("新人"));
    }

    void editKeepsOrChangesThePassword() {
        TOperatorsFrm w;
        w.show();
        selectName(w, QStringLiteral("bob"));
        ModalScript keep{[](QDialog* d) {
            auto* e = As<TOperatorEditorFrm>(d);
            QVERIFY(!e->edtUserId->isEnabled());
            QCOMPARE(e->UserId(), QStringLiteral("bob"));
            // The stored password is never shown.
            QCOMPARE(e->edtPasswd->text(), QString());
            QCOMPARE(e->EmpTel(), QStringLiteral("555"));
            QCOMPARE(e->Rights(), QStringLiteral(",10002,,10004,"));
            e->SetEmpName(QStringLiteral("Robert"));
            e->RightsList()->item(0)->setCheckState(Qt::Checked);
            e->OkBtn()->click();
        }};
        w.PropertiesBtn()->click();
        QCOMPARE(keep.shown.size(), 1);
        TOperator bob;
        bob.LoadOperator(QStringLiteral("bob"));
        QCOMPARE(bob.Name, QStringLiteral("Robert"));
        QCOMPARE(bob.Rights, QStringLiteral(",100,,10002,,10004,"));
        QVERIFY(bob.CheckPassword(QStringLiteral("bobpw")));

        ModalScript change{[](QDialog* d) {
            auto* e = As<TOperatorEditorFrm>(d);
            fillEditor(e, QStringLiteral("bob"), QStringLiteral("new"), QStringLiteral("new"));
            e->OkBtn()->click();
        }};
        // Double-clicking a name is "属性".
        emit w.UserList()->itemDoubleClicked(w.UserList()->currentItem());
        QCOMPARE(change.shown.size(), 1);
        QVERIFY(logsIn(QStringLiteral("bob"), QStringLiteral("new")));
        QVERIFY(!logsIn(QStringLiteral("bob"), QStringLiteral("bobpw")));
    }

    void deleteAsksFirst() {
        TOperatorsFrm w;
        w.show();
        selectName(w, QStringLiteral("bob"));
        TRecordingMessages messages;
        messages.answers = {TMsgResult::Cancel};
        w.DeleteBtn()->click();
        QCOMPARE(names(w), QStringList{QStringLiteral("bob")});
        w.DeleteBtn()->click();
        QCOMPARE(messages.Texts().last(), QStringLiteral("\r您确定要删除 bob 吗?\t\t"));
        QVERIFY(names(w).isEmpty());
        QVERIFY(!TOperator().LoadOperator(QStringLiteral("bob")));
        QVERIFY(!w.DeleteBtn()->isEnabled());
    }

    void changePasswordFlow() {
        gOperator->LoadOperator(QStringLiteral("bob"));
        TRecordingMessages messages;
        QString shownUser;
        ModalScript script{
            [&](QDialog* d) {
                auto* p = As<TPasswordChangerFrm>(d);
                shownUser = p->UserId();
                p->edtPrePasswd->setText(QStringLiteral("wrong"));
                p->edtNewPasswd->setText(QStringLiteral("n1"));
                p->edtNewPasswd2->setText(QStringLiteral("n1"));
                p->OkBtn()->click();
            },
            [&](QDialog* d) {
                auto* p = As<TPasswordChangerFrm>(d);
                p->edtPrePasswd->setText(QStringLiteral("bobpw"));
                p->edtNewPasswd->setText(QStringLiteral("n1"));
                p->edtNewPasswd2->setText(QStringLiteral("n2"));
                p->OkBtn()->click();
                QVERIFY(p->isVisible());
                QCOMPARE(p->NewPasswd(), QString());
                p->edtNewPasswd->setText(QStringLiteral("n1"));
                p->edtNewPasswd2->setText(QStringLiteral("n1"));
                p->OkBtn()->click();
            },
        };
        ChangePassword();
        QCOMPARE(shownUser, QStringLiteral("bob"));
        QCOMPARE(script.shown.size(), 2);
        QCOMPARE(messages.Texts(),
                 (QStringList{QStringLiteral("\r\n当前密码验证失败,请确认并重新输入.\t"),
                              QStringLiteral("两次输入的新密码不一样,请确认并重新输入."),
                              QStringLiteral("\r\n密码更改成功! 下次登陆时请使用新密码.\t")}));
        QCOMPARE(messages.boxes[1].kind, TMsgKind::Plain);
        QVERIFY(logsIn(QStringLiteral("bob"), QStringLiteral("n1")));
        QVERIFY(gOperator->CheckPassword(QStringLiteral("n1")));

        // Cancel changes nothing; an empty new password is accepted.
        ModalScript cancel;
        ChangePassword();
        QVERIFY(logsIn(QStringLiteral("bob"), QStringLiteral("n1")));
        ModalScript empty{[](QDialog* d) {
            auto* p = As<TPasswordChangerFrm>(d);
            p->edtPrePasswd->setText(QStringLiteral("n1"));
            p->OkBtn()->click();
        }};
        ChangePassword();
        QVERIFY(logsIn(QStringLiteral("bob"), QString()));
    }

private:
    std::unique_ptr<testsupport::TestDatabase> db_;
};

QObject* makeOperatorWindowTests() {
    return new OperatorWindowTests;
}

#include "tst_operatorwindows.moc"
