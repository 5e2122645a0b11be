#pragma once

#include "ui/base/TaFrm.h"

class QPushButton;
class QHBoxLayout;

// Base of information dialogs: the window's own controls in Body(), then "关闭" (also Escape) and
// "帮助"; a window adds its own buttons to ButtonBar().
class TAInfoDlgFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TAInfoDlgFrm(QWidget* parent = nullptr);

    QWidget* Body() const { return body_; }
    QHBoxLayout* ButtonBar() const { return buttons_; }
    QPushButton* CloseBtn() const { return closeBtn_; }
    QPushButton* HelpBtn() const { return helpBtn_; }

private:
    QWidget* body_;
    QHBoxLayout* buttons_;
    QPushButton* closeBtn_;
    QPushButton* helpBtn_;
};
