#include "ui/TmainFrm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "admin/TOperator.h"
#include "core/TAppInfo.h"
#include "core/TDatabase.h"
#include "ui/TLoginFrm.h"
#include "ui/Tmall.h"
#include "ui/admin/TOperatorsFrm.h"
#include "ui/admin/TPasswordChangerFrm.h"
#include "ui/base/THelpFrm.h"

TmainFrm::TmainFrm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainFrm"));
    setWindowTitle(QStringLiteral("%1 - %2 - %3").arg(AppTitle, VersionText, ThirdTitle));
    // The whole screen also where no window manager maximises the window.
    if (QScreen* s = QGuiApplication::primaryScreen()) setGeometry(s->availableGeometry());

    fileMenu_ = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    operatorsAction_ =
        fileMenu_->addAction(QStringLiteral("操作员及权限"), this, [this] { OpenOperators(); });
    fileMenu_->addSeparator();
    passwordAction_ = fileMenu_->addAction(QStringLiteral("更改密码"), this, [this] { ChangePassword(); });
    reloginAction_ = fileMenu_->addAction(QStringLiteral("重新登陆"), this, [this] { Login(false); });
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QStringLiteral("退出系统"), this, &QWidget::close);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("desktop"));
    setCentralWidget(central);
    hint1_ = new QLabel(this);
    hint2_ = new QLabel(this);
    statusBar()->addWidget(hint1_, 1);
    statusBar()->addWidget(hint2_, 2);
    // F1: the main window's help topic.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { ShowHelpTopic(QStringLiteral("main")); });
}

TmainFrm::~TmainFrm() = default;

QString TmainFrm::HintLine1() const {
    return hint1_->text();
}
QString TmainFrm::HintLine2() const {
    return hint2_->text();
}

bool TmainFrm::Login(bool first) {
    bool ok = false;
    if (first && commandLine_.size() == 3) {
        TOperator candidate;
        if (candidate.LoadOperator(commandLine_[0]) && candidate.CheckPassword(commandLine_[1])) {
            if (!gOperator) gOperator = new TOperator;
            *gOperator = candidate;
            ok = true;
        }
    }
    if (!ok) ok = ShowLoginDialog();
    if (!ok) return false;
    RebuildNavigation();
    return true;
}

void TmainFrm::RebuildNavigation() {
    hint1_->setText(QStringLiteral("%1: 您好! 欢迎您使用本系统.").arg(gOperator->LoginId));
    hint2_->setText(QStringLiteral("请从桌面或菜单中选择您要的操作."));
}

void TmainFrm::OpenOperators() {
    OpenOperatorsWindow();
}

void TmainFrm::ChangePassword() {
    ::ChangePassword();
}

void TmainFrm::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) shutdown();
}

void TmainFrm::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    hide();
    if (gOperator && !gOperator->LoginId.isEmpty()) SaveDesktopLayout();
    if (gMall) gMall->ShutdownHook(false);
    RunAutomaticBackup();
    if (gDatabase) gDatabase->SetConnected(false);
}
