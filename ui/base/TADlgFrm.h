#pragma once

#include "ui/base/TaFrm.h"

class QPushButton;
class QVBoxLayout;
class QHBoxLayout;

// Base of dialogs: the window's own controls in Body(), then "确定(&O)", "取消" (also Escape)
// and "帮助". OK closes only when CanClose() agrees.
class TADlgFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TADlgFrm(QWidget* parent = nullptr);

    QWidget* Body() const { return body_; }
    QHBoxLayout* ButtonBar() const { return buttons_; }
    QPushButton* OkBtn() const { return okBtn_; }
    QPushButton* CancelBtn() const { return cancelBtn_; }
    QPushButton* HelpBtn() const { return helpBtn_; }

    void accept() override;

protected:
    // The window's close check for OK: false keeps the dialog open.
    virtual bool CanClose() { return true; }

private:
    QWidget* body_;
    QHBoxLayout* buttons_;
    QPushButton* okBtn_;
    QPushButton* cancelBtn_;
    QPushButton* helpBtn_;
};
