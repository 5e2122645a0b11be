#include "ui/base/TADlgFrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TADlgFrm::TADlgFrm(QWidget* parent) : TaFrm(parent), body_(new QWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body_, 1);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    okBtn_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    okBtn_->setObjectName(QStringLiteral("OkBtn"));
    cancelBtn_ = new QPushButton(QStringLiteral("取消"), this);
    cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
    helpBtn_ = new QPushButton(QStringLiteral("帮助"), this);
    helpBtn_->setObjectName(QStringLiteral("HelpBtn"));
    for (QPushButton* b : {okBtn_, cancelBtn_, helpBtn_}) {
        b->setAutoDefault(false);
        buttons_->addWidget(b);
    }
    layout->addLayout(buttons_);
    connect(okBtn_, &QPushButton::clicked, this, &TADlgFrm::accept);
    connect(cancelBtn_, &QPushButton::clicked, this, &TADlgFrm::reject);
    connect(helpBtn_, &QPushButton::clicked, this, [this] { ShowHelpTopic(); });
}

void TADlgFrm::accept() {
    if (CanClose()) TaFrm::accept();
}
