#include "admin/TOperator.h"

#include "admin/TOperatorSet.h"
#include "admin/TPasswordHash.h"
#include "core/TAbort.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"

TOperator* gOperator = nullptr;

bool TOperator::HasRight(int number) const {
    if (LoginId == QLatin1String("sa")) return true;
    return Rights.contains(u',' + QString::number(number) + u',');
}

bool TOperator::CheckRight(int number, bool stop) const {
    if (HasRight(number)) return true;
    ShowInfo(QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(%1).").arg(number));
    if (stop) throw TAbort();
    return false;
}

QString TOperator::RightsText(const QList<int>& numbers) {
    QString text;
    for (int n : numbers)
        text += u',' + QString::number(n) + u',';
    return text;
}

bool TOperator::LoadOperator(const QString& loginId) {
    gScratchSet->OpenSql(
        QStringLiteral(
            "select LoginId,Password,Name,Contact,[Note],Rights from operator where LoginId=:LoginId"),
        {DBParam(QStringLiteral("LoginId"), loginId)});
    TDataSet* ds = gScratchSet->DataSet();
    if (ds->RecordCount() != 1) return false;
    ds->First();
    LoginId = ds->FieldByName(QStringLiteral("LoginId"))->AsString();
    Password = ds->FieldByName(QStringLiteral("Password"))->AsString();
    Name = ds->FieldByName(QStringLiteral("Name"))->AsString();
    Contact = ds->FieldByName(QStringLiteral("Contact"))->AsString();
    Note = ds->FieldByName(QStringLiteral("Note"))->AsString();
    Rights = ds->FieldByName(QStringLiteral("Rights"))->AsString();
    return true;
}

bool TOperator::CheckPassword(const QString& password) const {
    return !LoginId.isEmpty() && TPasswordHash::Verify(Password, password);
}

void TOperator::SetPassword(const QString& password) {
    const QString hash = TPasswordHash::Hash(password);
    gDatabase->ExecuteSqlCommand(
        QStringLiteral("update operator set [Password]=:Password where LoginId=:LoginId"),
        {DBParam(QStringLiteral("Password"), hash), DBParam(QStringLiteral("LoginId"), LoginId)});
    Password = hash;
}

QString TOperator::LoadMenus(const QString& loginId) {
    gScratchSet->OpenSql(QStringLiteral("select Menus from operator where LoginId=:LoginId"),
                         {DBParam(QStringLiteral("LoginId"), loginId)});
    TDataSet* ds = gScratchSet->DataSet();
    if (ds->RecordCount() < 1) return QString();
    ds->First();
    return ds->Field(0)->AsString();
}

void TOperator::SaveMenus(const QString& loginId, const QString& menus) {
    gDatabase->ExecuteSqlCommand(
        QStringLiteral("update operator set Menus=:Menus where LoginId=:LoginId"),
        {DBParam(QStringLiteral("Menus"), menus), DBParam(QStringLiteral("LoginId"), loginId)});
}

QString TOperator::LoginNames() {
    TOperatorSet set;
    return set.JoinValues(set.UserIdField(), QStringLiteral("\n"));
}
