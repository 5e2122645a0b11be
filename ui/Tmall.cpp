#include "ui/Tmall.h"

#include "admin/TCompany.h"
#include "admin/TKeyValue2.h"
#include "admin/TOperator.h"
#include "reports/TDefaultReports.h"
#include "ui/admin/TCompanyInfoFrm.h"

Tmall* gMall = nullptr;

Tmall::Tmall(QObject* owner) : QObject(owner) {
    if (!gMall) gMall = this;
}

Tmall::~Tmall() {
    if (gMall == this) gMall = nullptr;
}

void Tmall::LoadSharedValues() {
    LoadFineRates();
    gCompany->LoadCompany();
    // Every list that prints has its "默认样式" layout; added where missing, so safe at each start.
    TDefaultReports::EnsureDefaultReports();
}

bool Tmall::CompanyNeedsFilling() {
    return !gCompany->IsFilled();
}

void Tmall::OpenCompanyWindow() {
    OpenCompanyInfo();
}

void Tmall::StartupHook() {
    if (gOperator && gOperator->HasRight(rtCompany) && CompanyNeedsFilling()) OpenCompanyWindow();
    if (DailyTipPrompt()) ShowDailyTip();
}

void Tmall::ShutdownHook(bool force) {
    if (force || FeedbackPrompt()) ShowFeedback();
}
