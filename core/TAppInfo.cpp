#include "core/TAppInfo.h"

QString AppTitle;
QString VersionText;
QString BuildLabel;
QString ProductCode;
QString ShortName;
QString ThirdTitle;

void SetIdentityTexts() {
    AppTitle = QStringLiteral("澄谷图书管理系统");
    VersionText = QStringLiteral("单机版 2013.1.11.0326");
    BuildLabel = QStringLiteral("Build130326");
    ProductCode = QStringLiteral("LBSYS111");
    ShortName = QStringLiteral("lbsys");
}
