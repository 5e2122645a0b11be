#include "admin/TOperatorSet.h"

#include "admin/TPasswordHash.h"
#include "core/TDataSet.h"
#include "core/TDatabase.h"

TOperatorSet::TOperatorSet(QObject* owner) : TRecordSet(owner) {
    userId_ = AddField(TFieldKind::Text, QStringLiteral("LoginId"), 50, true, QStringLiteral("登陆名"));
    passwd_ = AddField(TFieldKind::Text, QStringLiteral("Password"), 200, true, QStringLiteral("密码"));
    name_ = AddField(TFieldKind::Text, QStringLiteral("Name"), 50, true, QStringLiteral("姓名"));
    contact_ = AddField(TFieldKind::Text, QStringLiteral("Contact"), 50, true, QStringLiteral("联系方式"));
    note_ = AddField(TFieldKind::Text, QStringLiteral("Note"), 50, true, QStringLiteral("备注"));
    rights_ = AddField(TFieldKind::Memo, QStringLiteral("Rights"), -1, true, QStringLiteral("权限"));
    OpenSql(QStringLiteral("select * from operator where LoginId<>'sa'"));
}

bool TOperatorSet::locate(const QString& loginId) {
    TDataSet* ds = DataSet();
    if (!ds->Active()) return false;
    // An exact match: the engines compare text without regard to case.
    for (int r = 0; r < ds->RecordCount(); ++r) {
        if (ds->CellText(r, userId_->Index()) == loginId) {
            ds->SetRecNo(r);
            return true;
        }
    }
    return false;
}

void TOperatorSet::InsertOperator(const QString& loginId, const QString& password, const QString& rights,
                                  const QString& note, const QString& contact, const QString& name) {
    const QString hash = TPasswordHash::Hash(password);
    gDatabase->ExecuteSqlCommand(
        QStringLiteral("insert into operator(LoginId,[Password],Name,Contact,[Note],Rights)"
                       "values(:LoginId,:Password,:Name,:Contact,:Note,:Rights)"),
        {DBParam(QStringLiteral("LoginId"), loginId), DBParam(QStringLiteral("Password"), hash),
         DBParam(QStringLiteral("Name"), name), DBParam(QStringLiteral("Contact"), contact),
         DBParam(QStringLiteral("Note"), note), DBParam(QStringLiteral("Rights"), rights)});
    TDataSet* ds = DataSet();
    if (!ds->Active()) return;
    ds->Append();
    userId_->SetValue(loginId);
    passwd_->SetValue(hash);
    name_->SetValue(name);
    contact_->SetValue(contact);
    note_->SetValue(note);
    rights_->SetValue(rights);
    ds->Post();
}

void TOperatorSet::UpdateOperator(const QString& loginId, const std::optional<QString>& password,
                                  const QString& rights, const QString& note, const QString& contact,
                                  const QString& name) {
    TDBParameters values{DBParam(QStringLiteral("Name"), name), DBParam(QStringLiteral("Contact"), contact),
                         DBParam(QStringLiteral("Note"), note), DBParam(QStringLiteral("Rights"), rights),
                         DBParam(QStringLiteral("LoginId"), loginId)};
    QString hash;
    if (password) {
        hash = TPasswordHash::Hash(*password);
        values.push_back(DBParam(QStringLiteral("Password"), hash));
        gDatabase->ExecuteSqlCommand(
            QStringLiteral("update operator set [Password]=:Password,Name=:Name,"
                           "Contact=:Contact,[Note]=:Note,Rights=:Rights where LoginId=:LoginId"),
            values);
    } else {
        gDatabase->ExecuteSqlCommand(
            QStringLiteral("update operator set Name=:Name,Contact=:Contact,[Note]=:Note,"
                           "Rights=:Rights where LoginId=:LoginId"),
            values);
    }
    if (!locate(loginId)) return;
    TDataSet* ds = DataSet();
    ds->Edit();
    if (password) passwd_->SetValue(hash);
    name_->SetValue(name);
    contact_->SetValue(contact);
    note_->SetValue(note);
    rights_->SetValue(rights);
    ds->Post();
}

void TOperatorSet::DeleteOperator(const QString& loginId) {
    gDatabase->ExecuteSqlCommand(QStringLiteral("delete from operator where LoginId=:LoginId"),
                                 {DBParam(QStringLiteral("LoginId"), loginId)});
    if (locate(loginId)) DataSet()->Delete();
}
