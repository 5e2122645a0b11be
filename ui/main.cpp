#include <QTimer>

#include "admin/TOperator.h"
#include "core/TAppInfo.h"
#include "core/TDatabase.h"
#include "ui/TApplication.h"
#include "ui/TDBConfigFrm.h"
#include "ui/TSplashFrm.h"
#include "ui/TmainFrm.h"
#include "ui/Tmall.h"
#include "ui/base/TQtMessages.h"

namespace {

// The process-wide objects, created in this order and freed in the order of FreeGlobals.
void CreateGlobals() {
    CreateDatabaseGlobals();
    // The company, settings and pick-list objects join here, before the operator.
    gOperator = new TOperator;
}

void FreeGlobals() {
    delete gOperator;
    gOperator = nullptr;
    FreeDatabaseGlobals();
}

}  // namespace

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    TQtMessages messages;
    SetMessageHandler(&messages);
    CreateGlobals();

    SetIdentityTexts();
    // The windows' captions are their own; the title is what the message boxes and the task bar
    // show (a display name would be appended to every caption by some window systems).
    app.setApplicationName(ShortName);
    QCoreApplication::processEvents();
    Tmall mall(&app);

    int rc = 0;
    auto* splash = new TSplashFrm;
    splash->show();
    QCoreApplication::processEvents();
    ShowSplashHint(QStringLiteral("正在连接数据库,请稍候..."));
    if (ConnectWithSettingsWindow()) {
        ShowSplashHint(QStringLiteral("正在创建公共对象,请稍候..."));
        mall.LoadSharedValues();
        ShowSplashHint(QString());
        ShowSplashHint(QStringLiteral("正在创建主程序,请稍候..."));
        auto* mainFrm = new TmainFrm;
        mainFrm->SetCommandLine(app.arguments().mid(1));
        delete splash;
        splash = nullptr;
        if (mainFrm->Login(true)) {
            mainFrm->showMaximized();
            mall.StartupHook();
            rc = app.exec();
        } else {
            // Never shown: closing runs the shut-down steps.
            mainFrm->close();
        }
        delete mainFrm;
    }
    delete splash;
    FreeGlobals();
    SetMessageHandler(nullptr);
    return rc;
}
