#include "grid/TPickerFrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TDataSet.h"
#include "grid/IViewList.h"
#include "grid/TDBGrid.h"
#include "grid/TDataSource.h"
#include "grid/TGridUi.h"
#include "grid/TSortText.h"

TPickerFrm::TPickerFrm(IViewList* list, TDataSet* dataSet, int layoutId, QWidget* parent)
    : TaFrm(parent), list_(list), dataSet_(dataSet) {
    setObjectName(QStringLiteral("PickerFrm"));
    setWindowTitle(QStringLiteral("选择"));

    grid_ = new TDBGrid(this);
    grid_->DataSource()->SetDataSet(dataSet);
    grid_->SetTag(layoutId);
    grid_->LoadLayout(layoutId);

    TGridMenu* menu = grid_->PopupMenuZx();
    auto run = [](const std::function<void()>& f) { gridui::Guarded(f); };
    menu->AddItemTop(QStringLiteral("修改"), [this, run] {
        run([this] {
            if (list_) list_->EditItem();
        });
    });
    menu->AddItemTop(QStringLiteral("添加"), [this, run] {
        run([this] {
            if (list_) list_->AddItem();
        });
    });
    menu->InsertSeparatorAt(2);
    menu->AddSeparator();
    menu->AddItem(QStringLiteral("删除"), [this, run] {
        run([this] {
            if (list_) list_->RemoveItem();
        });
    });

    auto* searchLabel = new QLabel(QStringLiteral("搜索一下"), this);
    edtValue1_ = new QLineEdit(this);
    edtValue1_->setObjectName(QStringLiteral("edtValue1"));
    settingsBtn_ = new QPushButton(QStringLiteral("设置 ▼"), this);
    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(edtValue1_, 1);
    top->addWidget(settingsBtn_);

    auto* addBtn = new QPushButton(QStringLiteral("新增"), this);
    auto* okBtn = new QPushButton(QStringLiteral("确定"), this);
    auto* cancelBtn = new QPushButton(QStringLiteral("取消"), this);
    okBtn->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(addBtn);
    bottom->addStretch();
    bottom->addWidget(okBtn);
    bottom->addWidget(cancelBtn);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(grid_, 1);
    main->addLayout(bottom);
    resize(640, 440);

    connect(edtValue1_, &QLineEdit::textChanged, this, &TPickerFrm::Search);
    connect(settingsBtn_, &QPushButton::clicked, this, [this] { grid_->PopupButtonClick(settingsBtn_); });
    connect(addBtn, &QPushButton::clicked, this, [this] {
        gridui::Guarded([this] {
            if (list_) list_->AddItem();
        });
    });
    connect(okBtn, &QPushButton::clicked, this, &TPickerFrm::PickCurrent);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QAbstractItemView::doubleClicked, this, &TPickerFrm::PickCurrent);
}

void TPickerFrm::Search(const QString& typed) {
    if (!dataSet_) return;
    gridui::Guarded([&] {
        const QString filter = sorttext::SearchFilter(*dataSet_, typed);
        dataSet_->SetFilter(filter);
        if (!filter.isEmpty()) dataSet_->SetFiltered(true);
    });
}

void TPickerFrm::PickCurrent() {
    bool picked = false;
    gridui::Guarded([&] { picked = !list_ || list_->PickItem(); });
    if (picked) accept();
}

bool TPickerFrm::Pick(IViewList* list, TDataSet* dataSet, int layoutId, QWidget* parent) {
    TPickerFrm frm(list, dataSet, layoutId, parent);
    return gridui::ExecDialog(frm) == QDialog::Accepted;
}
