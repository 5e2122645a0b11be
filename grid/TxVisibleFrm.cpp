#include "grid/TxVisibleFrm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kMark = QStringLiteral("√");
}

TxVisibleFrm::TxVisibleFrm(const RColItems& items, QWidget* parent) : TaFrm(parent), items_(items) {
    setObjectName(QStringLiteral("xVisibleFrm"));
    setWindowTitle(QStringLiteral("列选择"));
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("列名"), QStringLiteral("显示")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->header()->resizeSection(1, 60);
    for (const RColItem& item : items_) {
        auto* row = new QTreeWidgetItem(list_, {item.Caption, item.Visible ? kMark : QString()});
        row->setTextAlignment(1, Qt::AlignCenter);
    }
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ToggleRow(list_->indexOfTopLevelItem(item)); });

    auto* okBtn = new QPushButton(QStringLiteral("确定(&Y)"), this);
    auto* cancelBtn = new QPushButton(QStringLiteral("取消(&Q)"), this);
    okBtn->setDefault(true);
    connect(okBtn, &QPushButton::clicked, this, &TxVisibleFrm::accept);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBtn);
    buttons->addWidget(cancelBtn);
    auto* main = new QVBoxLayout(this);
    main->addWidget(list_, 1);
    main->addLayout(buttons);
    resize(300, 380);
}

int TxVisibleFrm::RowCount() const {
    return list_->topLevelItemCount();
}
bool TxVisibleFrm::RowMarked(int row) const {
    return list_->topLevelItem(row)->text(1) == kMark;
}

void TxVisibleFrm::ToggleRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    QTreeWidgetItem* item = list_->topLevelItem(row);
    item->setText(1, RowMarked(row) ? QString() : kMark);
}

void TxVisibleFrm::accept() {
    for (int r = 0; r < RowCount(); ++r)
        items_[size_t(r)].Visible = RowMarked(r);
    TaFrm::accept();
}
