#include "admin/TKeyValue2.h"

#include "core/TDatabase.h"
#include "core/TDbError.h"

TKeyValue2* gKeyValue2 = nullptr;
double BookFineRate = 0.5;
double JourFineRate = 0.8;

void LoadFineRates() {
    BookFineRate = gKeyValue2->GetFloat(TKeyValue2::kBookFineRate);
    JourFineRate = gKeyValue2->GetFloat(TKeyValue2::kJourFineRate);
}

TKeyValue2::TKeyValue2(QObject* owner) : TRecordSet(owner) {
    AddField(TFieldKind::Integer, QStringLiteral("KeyId"));
    AddField(TFieldKind::Integer, QStringLiteral("Vint"));
    AddField(TFieldKind::Memo, QStringLiteral("Vstr"));
    AddField(TFieldKind::Float, QStringLiteral("Vfloat"));
    AddField(TFieldKind::Boolean, QStringLiteral("Vbool"));
}

TKeyValue2::~TKeyValue2() = default;

bool TKeyValue2::locate(int number) {
    if (!DataSet()->Active()) OpenSql(QStringLiteral("select * from keyvalue"));
    // A failed open has shown its message; asking the closed set stops the caller.
    DataSet()->RecordCount();
    return DataSet()->Locate(QStringLiteral("KeyId"), number);
}

void TKeyValue2::Seek(int number) {
    if (locate(number)) return;
    Close();
    gDatabase->ExecuteSqlCommand(QStringLiteral("insert into keyvalue(KeyId) values (:KeyId)"),
                                 {DBParam(QStringLiteral("KeyId"), number)});
    // The row was just inserted, so the reopened table holds it; anything else is a broken table
    // and must not loop.
    if (!locate(number))
        throw TDbError(TDbError::Kind::Statement, QStringLiteral("系统参数 %1 无法读取.").arg(number));
}

double TKeyValue2::GetFloat(int number) {
    Seek(number);
    return FieldByName(QStringLiteral("Vfloat"))->AsFloat();
}

bool TKeyValue2::GetBool(int number) {
    Seek(number);
    return FieldByName(QStringLiteral("Vbool"))->AsBoolean();
}

bool TKeyValue2::SetFloat(int number, double value) {
    Seek(number);
    // Settings 0 and 1 hold a fine rate and a prompt switch in the same row: keep the others.
    return WriteSetting(number, FieldByName(QStringLiteral("Vstr"))->AsString(),
                        FieldByName(QStringLiteral("Vint"))->AsInteger(), value,
                        FieldByName(QStringLiteral("Vbool"))->AsBoolean());
}

bool TKeyValue2::SetBool(int number, bool value) {
    Seek(number);
    return WriteSetting(number, FieldByName(QStringLiteral("Vstr"))->AsString(),
                        FieldByName(QStringLiteral("Vint"))->AsInteger(),
                        FieldByName(QStringLiteral("Vfloat"))->AsFloat(), value);
}

bool TKeyValue2::WriteSetting(int number, const QString& text, int integer, double value, bool flag) {
    const TDBParameters params = {
        DBParam(QStringLiteral("Vstr"), text), DBParam(QStringLiteral("Vint"), integer),
        DBParam(QStringLiteral("Vfloat"), value), DBParam(QStringLiteral("Vbool"), flag),
        DBParam(QStringLiteral("KeyId"), number)};
    qint64 rows = gDatabase->ExecuteSql(
        QStringLiteral(
            "update keyvalue set Vstr=:Vstr, Vint=:Vint, Vfloat=:Vfloat, Vbool=:Vbool where KeyId=:KeyId"),
        params);
    if (rows != 1)
        rows = gDatabase->ExecuteSql(QStringLiteral("insert into keyvalue(Vstr, Vint, Vfloat, Vbool, KeyId)"
                                                    "values(:Vstr, :Vint, :Vfloat, :Vbool, :KeyId)"),
                                     params);
    if (rows != 1) return false;
    // Mirror the stored values in the setting's own local row (which need not be the current one
    // when WriteSetting is called directly); without one, the next read loads the table again.
    if (DataSet()->Active() && DataSet()->Locate(QStringLiteral("KeyId"), number)) {
        DataSet()->Edit();
        FieldByName(QStringLiteral("Vstr"))->SetValue(text);
        FieldByName(QStringLiteral("Vint"))->SetValue(integer);
        FieldByName(QStringLiteral("Vfloat"))->SetValue(value);
        FieldByName(QStringLiteral("Vbool"))->SetValue(flag);
        DataSet()->Post();
    } else {
        Close();
    }
    return true;
}
