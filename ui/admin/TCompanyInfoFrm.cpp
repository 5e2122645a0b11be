#include "ui/admin/TCompanyInfoFrm.h"

#include <QFormLayout>
#include <QPushButton>

#include "admin/TCompany.h"
#include "admin/TOperator.h"
#include "core/TAbort.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "ui/base/TzxEdit.h"
#include "ui/base/TzxMemo.h"

TCompanyInfoFrm::TCompanyInfoFrm(QWidget* parent) : TADlgFrm(parent) {
    setObjectName(QStringLiteral("CompanyInfoFrm"));
    setWindowTitle(QStringLiteral("公司信息"));
    auto* form = new QFormLayout(Body());
    auto addEdit = [&](const QString& caption, const char* name) {
        auto* edit = new TzxEdit(Body());
        edit->setObjectName(QLatin1String(name));
        form->addRow(caption, edit);
        return edit;
    };
    // Tab order follows the order the fields are created in.
    edtName_ = addEdit(QStringLiteral("企业名称"), "edtName");
    edtLawman_ = addEdit(QStringLiteral("负责人"), "edtLawman");
    edtTel_ = addEdit(QStringLiteral("联系电话"), "edtTel");
    edtFax_ = addEdit(QStringLiteral("传真号码"), "edtFax");
    edtAddress_ = addEdit(QStringLiteral("地址"), "edtAddress");
    edtZip_ = addEdit(QStringLiteral("邮编"), "edtZip");
    memProfile_ = new TzxMemo(Body());
    memProfile_->setObjectName(QStringLiteral("memProfile"));
    memProfile_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    form->addRow(QStringLiteral("公司简介"), memProfile_);
    resize(460, 380);
}

QString TCompanyInfoFrm::CompanyName() const {
    return edtName_->text();
}
QString TCompanyInfoFrm::Lawman() const {
    return edtLawman_->text();
}
QString TCompanyInfoFrm::Tel() const {
    return edtTel_->text();
}
QString TCompanyInfoFrm::Fax() const {
    return edtFax_->text();
}
QString TCompanyInfoFrm::Address() const {
    return edtAddress_->text();
}
QString TCompanyInfoFrm::Zip() const {
    return edtZip_->text();
}
QString TCompanyInfoFrm::Profile() const {
    return memProfile_->toPlainText();
}
void TCompanyInfoFrm::SetCompanyName(const QString& v) {
    edtName_->setText(v);
}
void TCompanyInfoFrm::SetLawman(const QString& v) {
    edtLawman_->setText(v);
}
void TCompanyInfoFrm::SetTel(const QString& v) {
    edtTel_->setText(v);
}
void TCompanyInfoFrm::SetFax(const QString& v) {
    edtFax_->setText(v);
}
void TCompanyInfoFrm::SetAddress(const QString& v) {
    edtAddress_->setText(v);
}
void TCompanyInfoFrm::SetZip(const QString& v) {
    edtZip_->setText(v);
}
void TCompanyInfoFrm::SetProfile(const QString& v) {
    memProfile_->setPlainText(v);
}

bool EditCompany(bool readOnly) {
    TCompanyInfoFrm frm;
    frm.OkBtn()->setEnabled(!readOnly);
    frm.SetCompanyName(gCompany->CompanyName);
    frm.SetLawman(gCompany->Manager);
    frm.SetTel(gCompany->Tel);
    frm.SetFax(gCompany->Fax);
    frm.SetAddress(gCompany->Address);
    frm.SetZip(gCompany->Zip);
    frm.SetProfile(gCompany->Profile);
    while (frm.exec() == QDialog::Accepted && !readOnly) {
        gCompany->CompanyName = frm.CompanyName();
        gCompany->Manager = frm.Lawman();
        gCompany->Tel = frm.Tel();
        gCompany->Fax = frm.Fax();
        gCompany->Address = frm.Address();
        gCompany->Zip = frm.Zip();
        gCompany->Profile = frm.Profile();
        try {
            gCompany->SaveCompany();
            return true;
        } catch (const TDbError& e) {
            ShowInfo(e.message());
        }
        // gCompany goes back to what is stored; the fields keep what the operator typed.
        try {
            gCompany->LoadCompany();
        } catch (const TDbError&) {
            // The failed read has already told the operator.
        }
    }
    return false;
}

void OpenCompanyInfo() {
    // Nobody logged in has no rights.
    if (!gOperator) throw TAbort();
    gOperator->CheckRight(rtCompany, true);
    EditCompany(false);
}

void OfferCompanyInfo() {
    if (gOperator && gOperator->HasRight(rtCompany) && !gCompany->IsFilled()) OpenCompanyInfo();
}
