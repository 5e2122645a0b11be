#pragma once

#include "ui/base/TADlgFrm.h"

class TzxEdit;
class TzxMemo;

// The company window "公司信息": the library's own details, edited or only shown.
class TCompanyInfoFrm : public TADlgFrm {
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
    Q_PROPERTY(QString Lawman READ Lawman WRITE SetLawman)
    Q_PROPERTY(QString Tel READ Tel WRITE SetTel)
    Q_PROPERTY(QString Fax READ Fax WRITE SetFax)
    Q_PROPERTY(QString Address READ Address WRITE SetAddress)
    Q_PROPERTY(QString Zip READ Zip WRITE SetZip)
    Q_PROPERTY(QString Profile READ Profile WRITE SetProfile)
public:
    explicit TCompanyInfoFrm(QWidget* parent = nullptr);

    QString CompanyName() const;
    QString Lawman() const;
    QString Tel() const;
    QString Fax() const;
    QString Address() const;
    QString Zip() const;
    QString Profile() const;
    void SetCompanyName(const QString& v);
    void SetLawman(const QString& v);
    void SetTel(const QString& v);
    void SetFax(const QString& v);
    void SetAddress(const QString& v);
    void SetZip(const QString& v);
    void SetProfile(const QString& v);

private:
    TzxEdit* edtName_;
    TzxEdit* edtLawman_;
    TzxEdit* edtTel_;
    TzxEdit* edtFax_;
    TzxEdit* edtAddress_;
    TzxEdit* edtZip_;
    TzxMemo* memProfile_;
};

// Shows gCompany in the window; unless read only, OK stores the fields. A failed save shows its
// message, reloads the stored details and shows the window again with the fields as typed.
// True when the details were stored.
bool EditCompany(bool readOnly);
// The opener of "公司信息": right 10000 (a refusal ends it silently after the message), then
// EditCompany(false).
void OpenCompanyInfo();
// The start-up step: offers the window to an operator with right 10000 while the company name
// is not filled in.
void OfferCompanyInfo();
