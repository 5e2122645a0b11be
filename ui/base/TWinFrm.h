#pragma once

#include "ui/base/TaFrm.h"

// Base of free-standing work windows: shown without blocking, kept above the main window (its
// owner), destroyed when closed.
class TWinFrm : public TaFrm {
    Q_OBJECT
public:
    // owner: the main window (null: the active main window of the application).
    explicit TWinFrm(QWidget* owner = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
