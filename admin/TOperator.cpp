#include "admin/TOperator.h"

#include "core/TAbort.h"
#include "core/TMessages.h"

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
