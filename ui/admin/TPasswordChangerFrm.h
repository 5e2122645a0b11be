#pragma once

#include "ui/base/TADlgFrm.h"

class TzxEdit;

// The password window "更改密码" of the logged-in operator.
class TPasswordChangerFrm : public TADlgFrm {
    Q_OBJECT
public:
    explicit TPasswordChangerFrm(QWidget* parent = nullptr);

    QString UserId() const;
    void SetUserId(const QString& loginId);
    QString PrePasswd() const;
    QString NewPasswd() const;

    TzxEdit* edtUserId;
    TzxEdit* edtPrePasswd;
    TzxEdit* edtNewPasswd;
    TzxEdit* edtNewPasswd2;

protected:
    bool CanClose() override;
};

// Changes gOperator's password through the window, until it is changed or cancelled.
void ChangePassword();
