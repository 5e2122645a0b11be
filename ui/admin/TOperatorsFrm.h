#pragma once

#include "ui/base/TAInfoDlgFrm.h"

class QListWidget;
class QPushButton;
class TOperatorSet;
class TOperatorEditorFrm;

// The operators window "操作员及权限": lists the operators (never "sa") and adds, edits and
// deletes them through the operator dialog.
class TOperatorsFrm : public TAInfoDlgFrm {
    Q_OBJECT
public:
    explicit TOperatorsFrm(QWidget* parent = nullptr);

    TOperatorEditorFrm* EditorFrm() const { return editor_; }
    TOperatorSet* Operators() const { return set_; }
    QListWidget* UserList() const { return list_; }
    QPushButton* PropertiesBtn() const { return propertiesBtn_; }
    QPushButton* AddBtn() const { return addBtn_; }
    QPushButton* DeleteBtn() const { return deleteBtn_; }

    void EditSelected();
    void AddOperator();
    void DeleteSelected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateButtons();
    QListWidget* list_;
    QPushButton* propertiesBtn_;
    QPushButton* addBtn_;
    QPushButton* deleteBtn_;
    TOperatorEditorFrm* editor_;
    TOperatorSet* set_;
    bool itemsAdded_ = false;
};

// The menu command: checks right 100001 (a refusal ends it), then shows the window.
void OpenOperatorsWindow();
