#pragma once

#include <QObject>

// Carries the start-up and shut-down hooks of a run and the steps of start-up that load the
// shared values. Created by the program entry right after the identity texts.
class Tmall : public QObject {
    Q_OBJECT
public:
    explicit Tmall(QObject* owner = nullptr);
    ~Tmall() override;

    // After the connection opened: the overdue rates and the company details.
    virtual void LoadSharedValues();
    // After the main window is shown: the company window on first use, the tip of the day.
    virtual void StartupHook();
    // While the main window closes: the feedback form when forced or when the setting asks.
    virtual void ShutdownHook(bool force);

protected:
    // Call points of the steps other windows supply; each does nothing until it is filled.
    virtual bool CompanyNeedsFilling() { return false; }
    virtual void OpenCompanyWindow() {}
    virtual bool DailyTipPrompt() { return false; }
    virtual void ShowDailyTip() {}
    virtual bool FeedbackPrompt() { return false; }
    virtual void ShowFeedback() {}
};

extern Tmall* gMall;
