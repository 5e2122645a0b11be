#include "ui/TDBConfigFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/TConfiger.h"
#include "core/TMessages.h"
#include "ui/TSplashFrm.h"

namespace {

QLineEdit* addLine(QFormLayout* form, const QString& caption, const char* name, bool masked = false) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    if (masked) edit->setEchoMode(QLineEdit::Password);
    form->addRow(caption, edit);
    return edit;
}

}  // namespace

TDBConfigFrm::TDBConfigFrm(TConfiger& configer, QWidget* parent) : TaFrm(parent), configer_(configer) {
    setObjectName(QStringLiteral("DBConfigFrm"));
    setWindowTitle(QStringLiteral("数据库连接"));
    SetPosition(poScreenCenter);
    SetEnterMovesFocus(true);

    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(this);
    header->setText(
        QStringLiteral("注意，程序无法正常连接到指定的数据库。\n"
                       "1.单机版用户，请检查数据库文件是否存在或者已被破坏；\n"
                       "2.网络版用户，请检查网络是否畅通以及数据库服务器是否启动。\n"
                       "另外，请检查以下连接参数是否正确："));
    header->setStyleSheet(
        QStringLiteral("QLabel { background:#ffffe1; border:1px solid #c0c0a0; padding:8px; }"));
    layout->addWidget(header);

    auto* providerRow = new QHBoxLayout;
    providerRow->addWidget(new QLabel(QStringLiteral("提供者"), this));
    cbProvider = new QComboBox(this);
    cbProvider->setObjectName(QStringLiteral("cbProvider"));
    cbProvider->addItems({QStringLiteral("Microsoft OLE DB Provider for Sql Server"),
                          QStringLiteral("Microsoft Jet 4.0 OLE DB Provider"),
                          QStringLiteral("Tarnwick Dip Provider for Sql Server")});
    providerRow->addWidget(cbProvider, 1);
    layout->addLayout(providerRow);

    auto* group = new QGroupBox(QStringLiteral("参数"), this);
    auto* groupLayout = new QVBoxLayout(group);
    pages = new QStackedWidget(group);
    groupLayout->addWidget(pages);
    layout->addWidget(group);

    // Page 0: the database server.
    auto* mssql = new QWidget;
    mssql->setObjectName(QStringLiteral("mssql"));
    auto* f0 = new QFormLayout(mssql);
    edtServer = addLine(f0, QStringLiteral("服务器"), "edtServer");
    edtPort = addLine(f0, QStringLiteral("端口"), "edtPort");
    edtDatabase = addLine(f0, QStringLiteral("数据库名"), "edtDatabase");
    edtUser = addLine(f0, QStringLiteral("登陆名"), "edtUser");
    edtPassword = addLine(f0, QStringLiteral("密 码"), "edtPassword", true);
    chkSmartConnect = new QCheckBox(QStringLiteral("采用智能连接"));
    f0->addRow(QString(), chkSmartConnect);
    pages->addWidget(mssql);

    // Page 1: the database file.
    auto* jet = new QWidget;
    jet->setObjectName(QStringLiteral("jet4"));
    auto* f1 = new QFormLayout(jet);
    chkDefault = new QCheckBox(QStringLiteral("使用默认连接"));
    f1->addRow(QString(), chkDefault);
    auto* fileRow = new QHBoxLayout;
    edtFile = new QLineEdit;
    edtFile->setObjectName(QStringLiteral("edtFile"));
    btnBrowse = new QPushButton(QStringLiteral("..."));
    btnBrowse->setFixedWidth(32);
    fileRow->addWidget(edtFile, 1);
    fileRow->addWidget(btnBrowse);
    f1->addRow(QStringLiteral("数据库文件:"), fileRow);
    edtJetUser = addLine(f1, QStringLiteral("用户名:"), "edtJetUser");
    edtJetPassword = addLine(f1, QStringLiteral("密码:"), "edtJetPassword", true);
    pages->addWidget(jet);

    // Page 2: DIP.
    auto* dip = new QWidget;
    dip->setObjectName(QStringLiteral("zxdip"));
    auto* f2 = new QFormLayout(dip);
    edtDipUrl = addLine(f2, QStringLiteral("DIP地址"), "edtDipUrl");
    edtDipUser = addLine(f2, QStringLiteral("DIP用户"), "edtDipUser");
    pages->addWidget(dip);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkBtn = new QPushButton(QStringLiteral("确定(&Y)"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    CancelBtn = new QPushButton(QStringLiteral("取消"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    connect(cbProvider, &QComboBox::currentIndexChanged, pages, &QStackedWidget::setCurrentIndex);
    connect(chkDefault, &QCheckBox::toggled, this, [this] { applyDefaultState(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { browse(); });
    connect(OkBtn, &QPushButton::clicked, this, &TDBConfigFrm::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &TDBConfigFrm::reject);

    Fill();
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

void TDBConfigFrm::Fill() {
    const TConfiger& c = configer_;
    cbProvider->setCurrentIndex(c.providerIdx >= 0 && c.providerIdx < 3 ? c.providerIdx : 0);
    pages->setCurrentIndex(cbProvider->currentIndex());
    edtServer->setText(c.mssqlServer);
    edtPort->setText(QString::number(c.mssqlPort));
    edtDatabase->setText(c.mssqlDb);
    edtUser->setText(c.mssqlUser);
    edtPassword->setText(c.mssqlPw);
    chkSmartConnect->setChecked(false);
    chkDefault->setChecked(c.defaultCon);
    edtFile->setText(c.jetfile);
    edtJetUser->setText(c.jetUser);
    edtJetPassword->setText(c.jetPw);
    edtDipUrl->setText(c.dipUrl);
    edtDipUser->setText(c.dipUser);
    applyDefaultState();
}

void TDBConfigFrm::applyDefaultState() {
    const bool on = chkDefault->isChecked();
    const QColor color = on ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
    for (QWidget* w : std::initializer_list<QWidget*>{edtFile, btnBrowse, edtJetUser, edtJetPassword}) {
        w->setEnabled(!on);
        QPalette p = w->palette();
        p.setColor(QPalette::Base, color);
        w->setPalette(p);
    }
}

void TDBConfigFrm::browse() {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("数据库文件"), edtFile->text(),
                                                      QStringLiteral("数据库文件 (*.db);;所有文件 (*)"));
    if (!file.isEmpty()) edtFile->setText(file);
}

void TDBConfigFrm::accept() {
    bool ok = false;
    const int port = edtPort->text().trimmed().toInt(&ok);
    if (!ok) {
        // Nothing is saved; the window stays open to correct the port.
        ShowError(QStringLiteral("'%1' is not a valid integer value").arg(edtPort->text()));
        edtPort->setFocus();
        edtPort->selectAll();
        return;
    }
    TConfiger& c = configer_;
    c.providerIdx = cbProvider->currentIndex();
    c.mssqlServer = edtServer->text();
    c.mssqlPort = port;
    c.mssqlDb = edtDatabase->text();
    c.mssqlUser = edtUser->text();
    c.mssqlPw = edtPassword->text();
    c.SmartConnect = chkSmartConnect->isChecked();
    c.defaultCon = chkDefault->isChecked();
    c.jetfile = edtFile->text();
    c.jetUser = edtJetUser->text();
    c.jetPw = edtJetPassword->text();
    c.dipUrl = edtDipUrl->text();
    c.dipUser = edtDipUser->text();
    c.SaveSettings();
    TaFrm::accept();
}

bool ConnectWithSettingsWindow() {
    TConfiger configer;
    TDBConfigFrm window(configer);
    return ConnectAtStartup(configer, [&window](TConfiger&) {
        // The splash window would cover the connection window; it comes back for the next try.
        TSplashFrm* splash = TSplashFrm::Instance();
        if (splash) splash->hide();
        const bool ok = window.exec() == QDialog::Accepted;
        if (splash) splash->show();
        return ok;
    });
}
