#include "ui/TmainFrm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "admin/TOperator.h"
#include "core/TAbort.h"
#include "core/TAppInfo.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "ui/TDesktopPrograms.h"
#include "ui/TLoginFrm.h"
#include "ui/TMainActions.h"
#include "ui/TResources.h"
#include "ui/Tmall.h"
#include "ui/admin/TCompanyInfoFrm.h"
#include "ui/admin/TOperatorsFrm.h"
#include "ui/admin/TPasswordChangerFrm.h"
#include "ui/admin/TSysEditFrm.h"
#include "ui/base/THelpFrm.h"
#include "ui/base/TzxImgBtn.h"
#include "ui/base/TzxListView.h"

namespace {

// Grid of the desktop for icons that would land exactly on one another.
constexpr int kCellWidth = 110;
constexpr int kCellHeight = 90;

// An entry whose window is not built yet: its right check, then the message saying so.
void notAvailable(const QString& caption, int right = 0) {
    if (right) {
        if (!gOperator) throw TAbort();
        gOperator->CheckRight(right, true);
    }
    ShowNotAvailable(caption);
}

}  // namespace

TmainFrm::TmainFrm(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName(QStringLiteral("mainFrm"));
    setWindowTitle(QStringLiteral("%1 - %2 - %3").arg(AppTitle, VersionText, ThirdTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/book.svg")));
    // The whole screen also where no window manager maximises the window.
    if (QScreen* s = QGuiApplication::primaryScreen()) setGeometry(s->availableGeometry());
    for (const TMainAction& a : MainActions()) {
        auto* action = new QAction(QIcon(a.icon), a.caption, this);
        action->setObjectName(a.name);
        action->setStatusTip(a.hint);
        const QString name = a.name;
        connect(action, &QAction::triggered, this, [this, name] { RunAction(name); });
        actions_.insert(a.name, action);
    }
    buildMenus();
    buildBands();
    // F1: the main window's help topic.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { ShowHelpTopic(QStringLiteral("main")); });
}

TmainFrm::~TmainFrm() = default;

QAction* TmainFrm::addAction(QMenu* menu, const QString& name) {
    QAction* action = actions_.value(name);
    Q_ASSERT(action);
    menu->addAction(action);
    return action;
}

void TmainFrm::buildMenus() {
    auto entry = [this](QMenu* menu, const QString& caption, const char* icon, auto handler) {
        QAction* action =
            menu->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))), caption);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    fileMenu_ = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    entry(fileMenu_, QStringLiteral("公司信息"), "company", [] { OpenCompanyInfo(); });
    operatorsAction_ =
        entry(fileMenu_, QStringLiteral("操作员及权限"), "operators", [this] { OpenOperators(); });
    fileMenu_->addSeparator();
    entry(fileMenu_, QStringLiteral("选项设置"), "settings", [] { OpenSysEdit(); });
    fileMenu_->addSeparator();
    entry(fileMenu_, QStringLiteral("初始化数据..."), "cleardata",
          [] { notAvailable(QStringLiteral("初始化数据"), rtClearData); });
    entry(fileMenu_, QStringLiteral("备份与恢复"), "backup",
          [] { notAvailable(QStringLiteral("备份与恢复"), rtBackup); });
    fileMenu_->addSeparator();
    passwordAction_ = entry(fileMenu_, QStringLiteral("更改密码"), "password", [this] { ChangePassword(); });
    reloginAction_ = entry(fileMenu_, QStringLiteral("重新登陆"), "relogin", [this] { Login(false); });
    fileMenu_->addSeparator();
    exitAction_ = entry(fileMenu_, QStringLiteral("退出系统"), "exit", [this] { close(); });

    QMenu* data = menuBar()->addMenu(QStringLiteral("资料(&O)"));
    for (const char* name :
         {"CatalogEditAction1", "PublisherListAction1", "BookListAction1", "JournaListAction1"})
        addAction(data, QLatin1String(name));
    data->addSeparator();
    for (const char* name :
         {"ReaderskindListAction1", "ReaderListAction1", "ReaderStateEditAction1", "ChargeEditAction1"})
        addAction(data, QLatin1String(name));

    QMenu* loan = menuBar()->addMenu(QStringLiteral("借阅(&Z)"));
    for (const char* name : {"LoanAction1", "ReturnEditAction1", "RenewEditAction1"})
        addAction(loan, QLatin1String(name));
    loan->addSeparator();
    addAction(loan, QStringLiteral("BookoffEditAction1"));
    addAction(loan, QStringLiteral("JouroffEditAction1"));
    loan->addSeparator();
    addAction(loan, QStringLiteral("FineQueryAction1"));

    QMenu* query = menuBar()->addMenu(QStringLiteral("查询(&V)"));
    addAction(query, QStringLiteral("LoanQueryAction1"));
    addAction(query, QStringLiteral("WriteoffQueryAction1"));
    query->addSeparator();
    addAction(query, QStringLiteral("ChargeQueryAction1"));
    query->addSeparator();
    for (const char* name : {"BookLoanCountAction1", "JourLoanCountAction1", "ReaderLoanCountAction1",
                             "ReaderdeptCountAction1", "ReaderkindCountAction1"})
        addAction(query, QLatin1String(name));
    query->addSeparator();
    for (const char* name : {"BookTotalAction1", "JourTotalAction1", "ReaderTotalAction1"})
        addAction(query, QLatin1String(name));

    QMenu* today = menuBar()->addMenu(QStringLiteral("今日(D)"));
    int n = 0;
    for (const TMainAction& a : MainActions()) {
        if (!a.name.startsWith(QLatin1String("Today"))) continue;
        addAction(today, a.name);
        ++n;
        if (n == 2 || n == 4 || n == 6 || n == 9 || n == 13) today->addSeparator();
    }

    toolsMenu_ = menuBar()->addMenu(QStringLiteral("工具(&T)"));
    RebuildToolsMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    entry(help, QStringLiteral("帮助文件"), "help", [] { ShowHelpTopic(QStringLiteral("main")); });
    // Has no action.
    entry(help, QStringLiteral("常见问题"), "faq", [] {});
    entry(help, QStringLiteral("每日一贴"), "tips", [] { notAvailable(QStringLiteral("每日一贴")); });
    help->addSeparator();
    entry(help, QStringLiteral("自述文件"), "readme", [] { OpenProgramFile(QStringLiteral("readme.txt")); });
    entry(help, QStringLiteral("最新功能"), "whatsnew",
          [] { OpenProgramFile(QStringLiteral("whatsnew.txt")); });
    help->addSeparator();
    entry(help, QStringLiteral("澄谷官方网站"), "web", [] { OpenWebSite(); });
    entry(help, QStringLiteral("在线反馈"), "feedback", [] { notAvailable(QStringLiteral("在线反馈")); });
    help->addSeparator();
    entry(help, QStringLiteral("关于..."), "about", [] { notAvailable(QStringLiteral("关于")); });
}

void TmainFrm::RebuildToolsMenu() {
    toolsMenu_->clear();
    auto entry = [this](const QString& caption, const char* icon, auto handler) {
        QAction* action =
            toolsMenu_->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))), caption);
        connect(action, &QAction::triggered, this, handler);
    };
    entry(QStringLiteral("记事本"), "notepad", [] { StartNotepad(); });
    entry(QStringLiteral("计算器"), "calculator", [] { StartCalculator(); });
    toolsMenu_->addSeparator();
    entry(QStringLiteral("设置..."), "toolsettings",
          [] { notAvailable(QStringLiteral("外部工具设置"), rtToolsMenu); });
    toolsMenu_->addSeparator();
    // The external tools join here once their settings exist.
}

QAction* TmainFrm::MenuEntry(const QString& caption) const {
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* action : top->menu()->actions())
            if (action->text() == caption) return action;
    }
    return nullptr;
}

void TmainFrm::loadPictures(TzxImgBtn* button, const QString& name, const QString& builtIn) {
    // Pictures of the program's folder (JPEG without an extension) take the place of the built-in
    // ones; one that cannot be read is reported and the built-in one is shown.
    const QString folder = QCoreApplication::applicationDirPath();
    QPixmap pictures[2];
    const char* suffix[2] = {"A", "B"};
    const char* builtInSuffix[2] = {"normal", "hot"};
    for (int i = 0; i < 2; ++i) {
        const QString file = folder + u'/' + name + QLatin1String(suffix[i]);
        if (QFile::exists(file)) {
            QImageReader reader(file);
            const QImage image = reader.read();
            if (!image.isNull()) {
                pictures[i] = QPixmap::fromImage(image);
                continue;
            }
            MessageBox(TMsgKind::Plain, TMsgButtons::Ok,
                       name + QLatin1String(suffix[i]) + u':' + reader.errorString());
        }
        pictures[i] =
            QPixmap(QStringLiteral(":/pictures/%1_%2.svg").arg(builtIn, QLatin1String(builtInSuffix[i])));
    }
    button->SetPictures(pictures[0], pictures[1]);
}

void TmainFrm::buildBands() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("desktopPanel"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Header: title picture, version label, exit picture.
    auto* header = new QWidget(central);
    header->setObjectName(QStringLiteral("headerBand"));
    header->setAttribute(Qt::WA_StyledBackground);
    header->setStyleSheet(QStringLiteral(
        "#headerBand { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1d4f86, stop:1 #3a7cc4); }"
        "#headerBand QLabel { color: #dfe9f5; }"));
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(12, 6, 12, 6);
    auto* title = new QLabel(header);
    title->setObjectName(QStringLiteral("imgTitle"));
    title->setPixmap(QPixmap(QStringLiteral(":/pictures/title.svg")));
    auto* version = new QLabel(VersionText, header);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    exitBtn_ = new TzxImgBtn(header);
    exitBtn_->setObjectName(QStringLiteral("imgExit"));
    exitBtn_->Hint = QStringLiteral("退出系统");
    loadPictures(exitBtn_, QStringLiteral("Z001"), QStringLiteral("exit"));
    connect(exitBtn_, &TzxImgBtn::Clicked, this, &QWidget::close);
    headerLayout->addWidget(title);
    headerLayout->addWidget(version);
    headerLayout->addStretch(1);
    headerLayout->addWidget(exitBtn_);
    layout->addWidget(header);

    // Navigation band: the group picture that fills the desktop; the second group stays hidden.
    auto* nav = new QWidget(central);
    nav->setObjectName(QStringLiteral("navBand"));
    nav->setAttribute(Qt::WA_StyledBackground);
    nav->setStyleSheet(QStringLiteral("#navBand { background: #dce6f2; border-bottom: 1px solid #9fb4cc; }"));
    auto* navLayout = new QHBoxLayout(nav);
    navLayout->setContentsMargins(12, 4, 12, 4);
    groupBtn_ = new TzxImgBtn(nav);
    groupBtn_->setObjectName(QStringLiteral("imgGroup"));
    groupBtn_->Hint = QStringLiteral("日常借阅工作");
    loadPictures(groupBtn_, QStringLiteral("Z003"), QStringLiteral("group"));
    connect(groupBtn_, &TzxImgBtn::Clicked, this, &TmainFrm::FillDesktop);
    group2Btn_ = new TzxImgBtn(nav);
    group2Btn_->setObjectName(QStringLiteral("imgGroup2"));
    loadPictures(group2Btn_, QStringLiteral("Z004"), QStringLiteral("group2"));
    group2Btn_->hide();
    navLayout->addWidget(groupBtn_);
    navLayout->addWidget(group2Btn_);
    navLayout->addStretch(1);
    layout->addWidget(nav);

    // The desktop.
    desktop_ = new TzxListView(central);
    desktop_->setObjectName(QStringLiteral("lvDesktop"));
    desktop_->setGridSize(QSize());
    desktop_->setSpacing(4);
    desktop_->setContextMenuPolicy(Qt::CustomContextMenu);
    desktop_->setStyleSheet(QStringLiteral("QListView#lvDesktop { background: #f4f7fb; border: none; }"));
    connect(desktop_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { RunAction(TzxListView::ActionName(item)); });
    connect(desktop_, &QListWidget::itemSelectionChanged, this, &TmainFrm::showHints);
    connect(desktop_, &QWidget::customContextMenuRequested, this, &TmainFrm::showDesktopMenu);
    layout->addWidget(desktop_, 1);

    // The bottom strip: one row of large icons for the catalogue data.
    strip_ = new QListWidget(central);
    strip_->setObjectName(QStringLiteral("lvStrip"));
    strip_->setViewMode(QListView::IconMode);
    strip_->setFlow(QListView::LeftToRight);
    strip_->setWrapping(false);
    strip_->setMovement(QListView::Static);
    strip_->setIconSize(QSize(40, 40));
    strip_->setGridSize(QSize(96, 72));
    strip_->setFixedHeight(84);
    strip_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    strip_->setStyleSheet(
        QStringLiteral("QListView#lvStrip { background: #e8eef6; border-top: 1px solid #9fb4cc; }"));
    for (const QString& name : StripActionNames()) {
        const TMainAction* a = FindMainAction(name);
        auto* item = new QListWidgetItem(QIcon(a->icon), a->caption, strip_);
        item->setData(Qt::UserRole, name);
        item->setToolTip(a->hint);
    }
    connect(strip_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { RunAction(item->data(Qt::UserRole).toString()); });
    layout->addWidget(strip_);
    setCentralWidget(central);

    // Footer: the two hint lines.
    hint1_ = new QLabel(this);
    hint1_->setObjectName(QStringLiteral("lblHint1"));
    hint2_ = new QLabel(this);
    hint2_->setObjectName(QStringLiteral("lblHint2"));
    statusBar()->addWidget(hint1_, 1);
    statusBar()->addWidget(hint2_, 2);
    // Pointing at a picture button shows its hint in the second line; leaving clears the line.
    for (TzxImgBtn* button : {exitBtn_, groupBtn_})
        connect(button, &TzxImgBtn::HintChanged, hint2_, &QLabel::setText);
}

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
    // The arrangement of the operator logged in before is kept for that operator, so that it is
    // not lost when another operator logs in without closing the program.
    if (!layoutOwner_.isEmpty()) SaveDesktopLayout();
    desktop_->clear();
    layoutOwner_ = gOperator->LoginId;
    layout_.Read(
        [] {
            QStringList names;
            for (const TMainAction& a : MainActions())
                names << a.name;
            return names;
        }(),
        TOperator::LoadMenus(layoutOwner_));
    FillDesktop();
    showHints();
}

void TmainFrm::rememberPositions() {
    for (int i = 0; i < desktop_->count(); ++i) {
        QListWidgetItem* item = desktop_->item(i);
        layout_.SetPosition(TzxListView::ActionName(item), desktop_->ItemPosition(item));
    }
}

void TmainFrm::FillDesktop() {
    rememberPositions();
    desktop_->clear();
    for (const QString& name : DesktopActionNames()) {
        const TMainAction* a = FindMainAction(name);
        desktop_->AddAction(a->caption, QIcon(a->icon), name)->setToolTip(a->hint);
    }
    // Lay the new icons out now, so that the pending automatic layout does not later override
    // the positions given below.
    desktop_->doItemsLayout();
    QList<QPoint> taken;
    // Before the window is first shown the view is not laid out yet: the window's width serves.
    const int columns = std::max(1, (std::max(desktop_->viewport()->width(), width()) - 10) / kCellWidth);
    int next = 0;
    for (int i = 0; i < desktop_->count(); ++i) {
        QListWidgetItem* item = desktop_->item(i);
        const QString name = TzxListView::ActionName(item);
        QPoint position = layout_.Position(name);
        // Icons never placed all sit at the default position: lay those out on a grid instead of
        // piling them on one another.
        while (taken.contains(position)) {
            position = QPoint(10 + (next % columns) * kCellWidth, 10 + (next / columns) * kCellHeight);
            ++next;
        }
        taken << position;
        desktop_->SetItemPosition(item, position);
    }
    groupBtn_->SetHighlighted(true);
}

void TmainFrm::showHints() {
    const QList<QListWidgetItem*> selected = desktop_->selectedItems();
    const TMainAction* a = nullptr;
    if (!selected.isEmpty()) {
        QListWidgetItem* item = desktop_->currentItem();
        if (!item || !item->isSelected()) item = selected.first();
        a = FindMainAction(TzxListView::ActionName(item));
    }
    if (a) {
        hint1_->setText(a->caption);
        hint2_->setText(a->hint);
    } else {
        hint1_->setText(
            QStringLiteral("%1: 您好! 欢迎您使用本系统.").arg(gOperator ? gOperator->LoginId : QString()));
        hint2_->setText(QStringLiteral("请从桌面或菜单中选择您要的操作."));
    }
}

void TmainFrm::showDesktopMenu(const QPoint& pos) {
    QMenu menu(this);
    // These entries have no action.
    menu.addAction(QStringLiteral("打开"));
    menu.addAction(QStringLiteral("设置我的桌面"));
    menu.addAction(QStringLiteral("从我的桌面中删除"));
    menu.addAction(QStringLiteral("重新排列我的桌面"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("顶对齐"), desktop_, &TzxListView::AlignTops);
    menu.addAction(QStringLiteral("左对齐"), desktop_, &TzxListView::AlignLefts);
    menu.addAction(QStringLiteral("水平均距"))->setVisible(false);
    menu.addAction(QStringLiteral("垂直均距"))->setVisible(false);
    menu.exec(desktop_->viewport()->mapToGlobal(pos));
}

void TmainFrm::RunAction(const QString& name) {
    if (const TMainAction* a = FindMainAction(name)) RunMainAction(*a);
}

void TmainFrm::SaveDesktopLayout() {
    if (layoutOwner_.isEmpty()) return;
    rememberPositions();
    try {
        TOperator::SaveMenus(layoutOwner_, layout_.Text());
    } catch (const TDbError& e) {
        // The shut-down goes on; the operator learns that the arrangement was not kept.
        ShowError(e.message());
    }
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
