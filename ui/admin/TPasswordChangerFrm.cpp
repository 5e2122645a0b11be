#include "ui/admin/TPasswordChangerFrm.h"

#include <QFormLayout>

#include "admin/TOperator.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "ui/base/TzxEdit.h"

TPasswordChangerFrm::TPasswordChangerFrm(QWidget* parent) : TADlgFrm(parent) {
    setObjectName(QStringLiteral("PasswordChangerFrm"));
    setWindowTitle(QStringLiteral("更改密码"));
    auto* form = new QFormLayout(Body());
    auto edit = [this, form](const QString& caption, const char* name, bool masked) {
        auto* e = new TzxEdit(Body());
        e->setObjectName(QLatin1String(name));
        if (masked) e->setEchoMode(QLineEdit::Password);
        form->addRow(caption, e);
        return e;
    };
    edtUserId = edit(QStringLiteral("当前用户"), "edtUserId", false);
    edtUserId->setEnabled(false);
    edtPrePasswd = edit(QStringLiteral("当前密码"), "edtPrePasswd", true);
    edtNewPasswd = edit(QStringLiteral("新密码"), "edtNewPasswd", true);
    edtNewPasswd2 = edit(QStringLiteral("新密码验证"), "edtNewPasswd2", true);
    setMinimumWidth(320);
}

QString TPasswordChangerFrm::UserId() const {
    return edtUserId->text();
}
void TPasswordChangerFrm::SetUserId(const QString& loginId) {
    edtUserId->setText(loginId);
}
QString TPasswordChangerFrm::PrePasswd() const {
    return edtPrePasswd->text();
}
QString TPasswordChangerFrm::NewPasswd() const {
    return edtNewPasswd->text();
}

bool TPasswordChangerFrm::CanClose() {
    if (edtNewPasswd->text() != edtNewPasswd2->text()) {
        MessageBox(TMsgKind::Plain, TMsgButtons::Ok,
                   QStringLiteral("两次输入的新密码不一样,请确认并重新输入."));
        edtNewPasswd->clear();
        edtNewPasswd2->clear();
        edtNewPasswd->setFocus();
        return false;
    }
    return true;
}

void ChangePassword() {
    TPasswordChangerFrm window;
    window.SetUserId(gOperator->LoginId);
    window.edtPrePasswd->setFocus();
    while (window.exec() == QDialog::Accepted) {
        if (!gOperator->CheckPassword(window.PrePasswd())) {
            ShowInfo(QStringLiteral("当前密码验证失败,请确认并重新输入."));
            continue;
        }
        try {
            gOperator->SetPassword(window.NewPasswd());
            ShowInfo(QStringLiteral("密码更改成功! 下次登陆时请使用新密码."));
            return;
        } catch (const TDbError& e) {
            ShowInfo(e.message());
        }
    }
}
