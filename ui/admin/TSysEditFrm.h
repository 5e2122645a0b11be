#pragma once

#include "ui/base/TaFrm.h"

class QPushButton;
class TzxEdit;

// The settings window "系统设置": the overdue fines per day for books and journals.
class TSysEditFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TSysEditFrm(QWidget* parent = nullptr);

    TzxEdit* edtBookRate() const { return edtBookRate_; }
    TzxEdit* edtJourRate() const { return edtJourRate_; }
    QPushButton* SaveBtn() const { return saveBtn_; }

    // "保存": stores both rates, then updates the process-wide ones and tells the result.
    void Save();

private:
    TzxEdit* edtBookRate_;
    TzxEdit* edtJourRate_;
    QPushButton* saveBtn_;
};

// The opener of "选项设置" (no right needed): the window, modal.
void OpenSysEdit();
