#include "ui/Tmall.h"

#include "admin/TOperator.h"

Tmall* gMall = nullptr;

Tmall::Tmall(QObject* owner) : QObject(owner) {
    if (!gMall) gMall = this;
}

Tmall::~Tmall() {
    if (gMall == this) gMall = nullptr;
}

void Tmall::LoadSharedValues() {
    // The overdue rates (setting keys 0 and 1) and the company details are loaded here once the
    // settings and company objects exist.
}

void Tmall::StartupHook() {
    if (gOperator && gOperator->HasRight(rtCompany) && CompanyNeedsFilling()) OpenCompanyWindow();
    if (DailyTipPrompt()) ShowDailyTip();
}

void Tmall::ShutdownHook(bool force) {
    if (force || FeedbackPrompt()) ShowFeedback();
}
