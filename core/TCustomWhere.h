#pragma once

#include "core/TZxClientDataSet.h"

// A criteria record: an in-memory table with exactly one row, kept in the insert state, whose
// columns are the criteria of one query window. A null (or empty text) criterion is absent.
class TCustomWhere : public TZxClientDataSet {
    Q_OBJECT
public:
    explicit TCustomWhere(QObject* owner = nullptr);
    ~TCustomWhere() override;

    // Creates the table from the declared columns and appends the one row.
    void CreateTable();
    // Drops every criterion: the pending row is cancelled and a new empty one appended.
    virtual void Reset();
};
