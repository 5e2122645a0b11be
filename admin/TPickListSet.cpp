#include "admin/TPickListSet.h"

#include "admin/TCommaText.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"

#include <cmath>

TPickListSet* gPickLists = nullptr;

TPickListSet::TPickListSet(QObject* owner) : TRecordSet(owner) {
    AddField(TFieldKind::Integer, QStringLiteral("Key"));
    AddField(TFieldKind::Text, QStringLiteral("Label"), 50);
    AddField(TFieldKind::Memo, QStringLiteral("List"));
}

TPickListSet::~TPickListSet() = default;

bool TPickListSet::LoadList(int key, QString* list) {
    const int count =
        gScratchSet->OpenSql(QStringLiteral("select [Key], [Label], [List] from options where [Key]=:Key"),
                             {DBParam(QStringLiteral("Key"), key)});
    const bool found = count == 1;
    if (list) *list = found ? gScratchSet->FieldByName(QStringLiteral("List"))->AsString() : QString();
    gScratchSet->Close();
    return found;
}

bool TPickListSet::SaveList(int key, const QString& list) {
    const TDBParameters params = {DBParam(QStringLiteral("Label"), QStringLiteral(" ")),
                                  DBParam(QStringLiteral("List"), list), DBParam(QStringLiteral("Key"), key)};
    qint64 rows = gDatabase->ExecuteSql(
        QStringLiteral("update options set [Label]=:Label, [List]=:List where [Key]=:Key"), params);
    if (rows != 1)
        rows = gDatabase->ExecuteSql(
            QStringLiteral("insert into options([Label], [List], [Key])values(:Label, :List, :Key)"), params);
    return rows == 1;
}

QStringList TPickListSet::Items(int key) {
    QString text;
    if (!LoadList(key, &text)) return {};
    return FromCommaText(text);
}

bool TPickListSet::SaveItems(int key, const QStringList& items) {
    return SaveList(key, ToCommaText(items));
}

QString TPickListSet::Caption(int key) {
    switch (key) {
        case kFormats:
            return QStringLiteral("图书开本");
        case kBindings:
            return QStringLiteral("装订版面");
        case kLanguages:
            return QStringLiteral("语种");
        case kLocations:
            return QStringLiteral("存放位置");
        case kDepartments:
            return QStringLiteral("工作部门");
        case kPeriods:
            return QStringLiteral("出版周期");
        default:
            return QString();
    }
}

bool TPickListSet::ReadRememberedNumber(int key, const QString& text, QStringList* items, QVariant* value) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) return false;
    bool ok = false;
    if (key == kOverdueDays) {
        const int n = typed.toInt(&ok);
        if (!ok) {
            MessageBox(TMsgKind::Warning, TMsgButtons::Ok,
                       QStringLiteral("\r\n%1 不是有效的整数!\t").arg(typed));
            return false;
        }
        *value = n;
    } else {
        const double x = typed.toDouble(&ok);
        if (!ok || !std::isfinite(x)) {
            MessageBox(TMsgKind::Warning, TMsgButtons::Ok,
                       QStringLiteral("\r\n%1 不是有效的数字!\t").arg(typed));
            return false;
        }
        *value = x;
    }
    if (!items->contains(typed)) {
        items->append(typed);
        SaveItems(key, *items);
    }
    return true;
}
