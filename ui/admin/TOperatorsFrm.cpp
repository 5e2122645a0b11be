#include "ui/admin/TOperatorsFrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "admin/TOperator.h"
#include "admin/TOperatorSet.h"
#include "core/TDataSet.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "ui/admin/TOperatorEditorFrm.h"

TOperatorsFrm::TOperatorsFrm(QWidget* parent) : TAInfoDlgFrm(parent) {
    setObjectName(QStringLiteral("OperatorsFrm"));
    setWindowTitle(QStringLiteral("操作员及权限"));
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(new QLabel(QStringLiteral("用户列表"), Body()));
    list_ = new QListWidget(Body());
    list_->setObjectName(QStringLiteral("lstUsers"));
    layout->addWidget(list_);
    propertiesBtn_ = new QPushButton(QStringLiteral("属性"), this);
    addBtn_ = new QPushButton(QStringLiteral("添加"), this);
    deleteBtn_ = new QPushButton(QStringLiteral("删除"), this);
    int at = 1;
    for (QPushButton* b : {propertiesBtn_, addBtn_, deleteBtn_}) {
        b->setAutoDefault(false);
        ButtonBar()->insertWidget(at++, b);
    }

    editor_ = new TOperatorEditorFrm(this);
    set_ = new TOperatorSet(this);
    TDataSet* ds = set_->DataSet();
    for (int r = 0; r < ds->RecordCount(); ++r)
        list_->addItem(ds->CellText(r, set_->UserIdField()->Index()));
    editor_->AddRightItem(QStringLiteral("清除数据"), rtClearData);

    connect(propertiesBtn_, &QPushButton::clicked, this, &TOperatorsFrm::EditSelected);
    connect(addBtn_, &QPushButton::clicked, this, &TOperatorsFrm::AddOperator);
    connect(deleteBtn_, &QPushButton::clicked, this, &TOperatorsFrm::DeleteSelected);
    connect(list_, &QListWidget::itemDoubleClicked, this, &TOperatorsFrm::EditSelected);
    connect(list_, &QListWidget::itemSelectionChanged, this, &TOperatorsFrm::updateButtons);
    updateButtons();
    resize(360, 380);
}

void TOperatorsFrm::showEvent(QShowEvent* event) {
    if (!itemsAdded_) {
        itemsAdded_ = true;
        const std::pair<const char*, int> items[] = {{"公司信息设置", rtCompany},
                                                     {"操作员及权限管理", rtOperators},
                                                     {"打印", rtPrint},
                                                     {"打印设计", rtPrintDesign},
                                                     {"数据导出", rtExport},
                                                     {"列选择", rtColumnChoice},
                                                     {"列样式保存", rtSaveLayout},
                                                     {"备份设置", rtBackup},
                                                     {"工具菜单设置", rtToolsMenu}};
        for (const auto& [caption, number] : items)
            editor_->AddRightItem(QString::fromUtf8(caption), number);
    }
    TAInfoDlgFrm::showEvent(event);
}

void TOperatorsFrm::updateButtons() {
    const bool selected = !list_->selectedItems().isEmpty();
    propertiesBtn_->setEnabled(selected);
    deleteBtn_->setEnabled(selected);
}

void TOperatorsFrm::EditSelected() {
    QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    const QString loginId = item->text();
    TDataSet* ds = set_->DataSet();
    int row = -1;
    for (int r = 0; r < ds->RecordCount(); ++r)
        if (ds->CellText(r, set_->UserIdField()->Index()) == loginId) row = r;
    if (row < 0) return;
    auto cell = [&](TField* f) { return ds->CellText(row, f->Index()); };
    editor_->SetUserId(loginId);
    editor_->SetUserIdEditable(false);
    // The stored password is a hash and is never shown: untouched fields keep it.
    editor_->SetPasswd(QString());
    editor_->SetEmpName(cell(set_->NameField()));
    editor_->SetEmpTel(cell(set_->ContactField()));
    editor_->SetEmpNote(cell(set_->NoteField()));
    editor_->SetRights(cell(set_->RightsField()));
    while (editor_->exec() == QDialog::Accepted) {
        try {
            std::optional<QString> password;
            if (editor_->PasswordChanged()) password = editor_->Passwd();
            set_->UpdateOperator(loginId, password, editor_->Rights(), editor_->EmpNote(), editor_->EmpTel(),
                                 editor_->EmpName());
            return;
        } catch (const TDbError& e) {
            ShowInfo(e.message());
        }
    }
}

void TOperatorsFrm::AddOperator() {
    editor_->Clear();
    editor_->SetUserIdEditable(true);
    while (editor_->exec() == QDialog::Accepted) {
        try {
            set_->InsertOperator(editor_->UserId(), editor_->Passwd(), editor_->Rights(), editor_->EmpNote(),
                                 editor_->EmpTel(), editor_->EmpName());
            list_->addItem(editor_->UserId());
            return;
        } catch (const TDbError& e) {
            ShowInfo(e.message());
        }
    }
}

void TOperatorsFrm::DeleteSelected() {
    QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    const QString loginId = item->text();
    if (!ConfirmDelete(loginId)) return;
    set_->DeleteOperator(loginId);
    delete item;
    updateButtons();
}

void OpenOperatorsWindow() {
    if (gOperator) gOperator->CheckRight(rtOperators, true);
    TOperatorsFrm window;
    window.exec();
}
