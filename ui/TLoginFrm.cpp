#include "ui/TLoginFrm.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TConfiger.h"
#include "ui/base/TzxComboBox.h"
#include "ui/base/TzxEdit.h"

TLoginFrm::TLoginFrm(QWidget* parent) : TADlgFrm(parent) {
    setObjectName(QStringLiteral("LoginFrm"));
    setWindowTitle(QStringLiteral("登陆"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetPosition(poScreenCenter);

    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(new QLabel(QStringLiteral("请输入您的用户名和密码:"), Body()));
    auto* form = new QFormLayout;
    edtUser_ = new TzxComboBox(Body());
    edtUser_->setObjectName(QStringLiteral("edtUser"));
    edtUser_->SetEditable(true);
    edtPasswd_ = new TzxEdit(Body());
    edtPasswd_->setObjectName(QStringLiteral("edtPasswd"));
    edtPasswd_->setEchoMode(QLineEdit::Password);
    // Enter in the password is OK.
    edtPasswd_->TabOnEnter = false;
    auto* userLabel = new QLabel(QStringLiteral("用户名(&U)"), Body());
    userLabel->setBuddy(edtUser_);
    auto* passLabel = new QLabel(QStringLiteral("密码(&P)"), Body());
    passLabel->setBuddy(edtPasswd_);
    form->addRow(userLabel, edtUser_);
    form->addRow(passLabel, edtPasswd_);
    layout->addLayout(form);
    connect(edtPasswd_, &QLineEdit::returnPressed, this, &TLoginFrm::accept);

    const QString names = TOperator::LoginNames();
    if (!names.isEmpty()) edtUser_->addItems(names.split(u'\n'));
    const QString last = TConfiger::ReadLastLoginId();
    edtUser_->setEditText(last.isEmpty() ? QStringLiteral("sa") : last);
    setMinimumWidth(340);
    edtPasswd_->setFocus();
}

bool TLoginFrm::CanClose() {
    const QString loginId = edtUser_->currentText();
    // A fresh check each time: a name that matches nobody never passes on an earlier operator.
    checker_ = TOperator();
    if (checker_.LoadOperator(loginId) && checker_.CheckPassword(edtPasswd_->text())) {
        if (!gOperator) gOperator = new TOperator;
        *gOperator = checker_;
        TConfiger::WriteLastLoginId(gOperator->LoginId);
        return true;
    }
    edtPasswd_->setFocus();
    edtPasswd_->selectAll();
    return false;
}

bool ShowLoginDialog() {
    TLoginFrm dialog;
    return dialog.exec() == QDialog::Accepted;
}
