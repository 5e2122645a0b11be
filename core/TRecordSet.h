#pragma once

#include <QObject>

#include "core/TSqlSet.h"

// Base of the editable business lists (a window may own one). Its rows are a read cache: every
// change to stored data is an explicit statement; the local rows only mirror it.
class TRecordSet : public QObject, public TSqlSet {
    Q_OBJECT
public:
    explicit TRecordSet(QObject* owner = nullptr);
    ~TRecordSet() override;
};
