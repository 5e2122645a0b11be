#pragma once

#include <QString>

#include "core/TRecordSet.h"

// The numbered system settings of table keyvalue: one row per number, each row able to hold a
// text, an integer, a float and a boolean. The whole table is read once and kept in the local rows;
// reads look settings up there, writes go to the database and are mirrored locally.
class TKeyValue2 : public TRecordSet {
    Q_OBJECT
    Q_PROPERTY(bool FeedbackPrompt READ FeedbackPrompt WRITE SetFeedbackPrompt)
    Q_PROPERTY(bool DailyTipPrompt READ DailyTipPrompt WRITE SetDailyTipPrompt)
public:
    // Setting numbers in use.
    enum : int { kBookFineRate = 0, kJourFineRate = 1, kFeedbackPrompt = 0, kDailyTipPrompt = 1 };

    explicit TKeyValue2(QObject* owner = nullptr);
    ~TKeyValue2() override;

    // Makes the local row of the setting current, creating the stored row when it is missing.
    void Seek(int number);
    double GetFloat(int number);
    bool GetBool(int number);
    // Store one value column; the setting's other columns keep what they hold. True when stored.
    bool SetFloat(int number, double value);
    bool SetBool(int number, bool value);
    // Stores all four value columns of one setting (update, or insert when no row was updated).
    bool WriteSetting(int number, const QString& text, int integer, double value, bool flag);

    bool FeedbackPrompt() { return GetBool(kFeedbackPrompt); }
    void SetFeedbackPrompt(bool on) { SetBool(kFeedbackPrompt, on); }
    bool DailyTipPrompt() { return GetBool(kDailyTipPrompt); }
    void SetDailyTipPrompt(bool on) { SetBool(kDailyTipPrompt, on); }

private:
    bool locate(int number);
};

extern TKeyValue2* gKeyValue2;

// Overdue fines per day in yuan, read by the return and the loan queries. 0.5 and 0.8 until
// LoadFineRates copies settings 0 and 1 into them at start-up; the settings window keeps them current.
extern double BookFineRate;
extern double JourFineRate;
void LoadFineRates();
