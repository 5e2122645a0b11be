#include "ui/base/TAInfoDlgFrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TAInfoDlgFrm::TAInfoDlgFrm(QWidget* parent) : TaFrm(parent), body_(new QWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body_, 1);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    closeBtn_ = new QPushButton(QStringLiteral("关闭"), this);
    closeBtn_->setObjectName(QStringLiteral("CloseBtn"));
    helpBtn_ = new QPushButton(QStringLiteral("帮助"), this);
    helpBtn_->setObjectName(QStringLiteral("HelpBtn"));
    for (QPushButton* b : {closeBtn_, helpBtn_}) {
        b->setAutoDefault(false);
        buttons_->addWidget(b);
    }
    layout->addLayout(buttons_);
    connect(closeBtn_, &QPushButton::clicked, this, &TAInfoDlgFrm::reject);
    connect(helpBtn_, &QPushButton::clicked, this, [this] { ShowHelpTopic(); });
}
