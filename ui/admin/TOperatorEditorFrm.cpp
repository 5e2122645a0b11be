#include "ui/admin/TOperatorEditorFrm.h"

#include <QFormLayout>
#include <QLabel>
#include <QListWidget>

#include "admin/TOperator.h"
#include "core/TMessages.h"
#include "ui/base/TzxEdit.h"

TOperatorEditorFrm::TOperatorEditorFrm(QWidget* parent) : TADlgFrm(parent) {
    setObjectName(QStringLiteral("OperatorEditorFrm"));
    setWindowTitle(QStringLiteral("操作员属性"));
    auto* form = new QFormLayout(Body());
    auto edit = [this, form](const QString& caption, const char* name) {
        auto* e = new TzxEdit(Body());
        e->setObjectName(QLatin1String(name));
        form->addRow(caption, e);
        return e;
    };
    edtUserId = edit(QStringLiteral("登陆名"), "edtUserId");
    edtPasswd = edit(QStringLiteral("密码"), "edtPasswd");
    edtPasswd2 = edit(QStringLiteral("验证密码"), "edtPasswd2");
    edtName = edit(QStringLiteral("姓名"), "edtName");
    edtTel = edit(QStringLiteral("联系方式"), "edtTel");
    edtNote = edit(QStringLiteral("备注"), "edtNote");
    edtPasswd->setEchoMode(QLineEdit::Password);
    edtPasswd2->setEchoMode(QLineEdit::Password);
    rights_ = new QListWidget(Body());
    rights_->setObjectName(QStringLiteral("lstRights"));
    rights_->setMinimumHeight(200);
    form->addRow(QStringLiteral("权限"), rights_);
    connect(rights_, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    for (TzxEdit* e : {edtPasswd, edtPasswd2})
        connect(e, &QLineEdit::textEdited, this, [this] { passwordTouched_ = true; });
}

void TOperatorEditorFrm::AddRightItem(const QString& caption, int number) {
    auto* item = new QListWidgetItem(caption, rights_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    numbers_.append(number);
}

QString TOperatorEditorFrm::UserId() const {
    return edtUserId->text();
}
void TOperatorEditorFrm::SetUserId(const QString& loginId) {
    edtUserId->setText(loginId);
}

void TOperatorEditorFrm::SetUserIdEditable(bool editable) {
    edtUserId->setEnabled(editable);
    QPalette p = edtUserId->palette();
    p.setColor(QPalette::Base,
               editable ? palette().color(QPalette::Base) : palette().color(QPalette::Window));
    edtUserId->setPalette(p);
}

QString TOperatorEditorFrm::Passwd() const {
    return edtPasswd->text();
}

void TOperatorEditorFrm::SetPasswd(const QString& password) {
    edtPasswd->setText(password);
    edtPasswd2->setText(password);
    passwordTouched_ = false;
}

bool TOperatorEditorFrm::PasswordChanged() const {
    return passwordTouched_;
}

QString TOperatorEditorFrm::Rights() const {
    QList<int> granted;
    for (int i = 0; i < rights_->count(); ++i)
        if (rights_->item(i)->checkState() == Qt::Checked) granted.append(numbers_[i]);
    return TOperator::RightsText(granted);
}

void TOperatorEditorFrm::SetRights(const QString& rights) {
    for (int i = 0; i < rights_->count(); ++i) {
        const bool on = rights.contains(u',' + QString::number(numbers_[i]) + u',');
        rights_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

QString TOperatorEditorFrm::EmpName() const {
    return edtName->text();
}
void TOperatorEditorFrm::SetEmpName(const QString& name) {
    edtName->setText(name);
}
QString TOperatorEditorFrm::EmpTel() const {
    return edtTel->text();
}
void TOperatorEditorFrm::SetEmpTel(const QString& contact) {
    edtTel->setText(contact);
}
QString TOperatorEditorFrm::EmpNote() const {
    return edtNote->text();
}
void TOperatorEditorFrm::SetEmpNote(const QString& note) {
    edtNote->setText(note);
}

void TOperatorEditorFrm::Clear() {
    SetUserId(QString());
    SetPasswd(QString());
    SetEmpName(QString());
    SetEmpTel(QString());
    SetEmpNote(QString());
    SetRights(QString());
}

bool TOperatorEditorFrm::CanClose() {
    if (UserId().isEmpty()) {
        ShowInfo(QStringLiteral("必须填写登陆名."));
        edtUserId->setFocus();
        return false;
    }
    if (edtPasswd->text() != edtPasswd2->text()) {
        ShowInfo(QStringLiteral("两次输入的密码不一样,请重新输入."));
        edtPasswd->clear();
        edtPasswd2->clear();
        // Cleared fields keep the stored password unless a new one is typed.
        passwordTouched_ = false;
        edtPasswd->setFocus();
        return false;
    }
    return true;
}
