#pragma once

#include "admin/TOperator.h"
#include "ui/base/TADlgFrm.h"

class TzxComboBox;
class TzxEdit;

// The login dialog "登陆": login name (the operators but "sa"; the last one used, or "sa") and
// password. OK checks them; a failed check keeps the dialog open with the password selected.
class TLoginFrm : public TADlgFrm {
    Q_OBJECT
public:
    explicit TLoginFrm(QWidget* parent = nullptr);
    TzxComboBox* UserBox() const { return edtUser_; }
    TzxEdit* PasswordEdit() const { return edtPasswd_; }

protected:
    bool CanClose() override;

private:
    TzxComboBox* edtUser_;
    TzxEdit* edtPasswd_;
    // Used only for the check; gOperator changes only on success.
    TOperator checker_;
};

// Shows the login dialog modally; true when it closed with OK (gOperator is then the operator).
bool ShowLoginDialog();
