#pragma once

#include "core/TSqlSet.h"

// Base of the query-only business sets: subclasses declare their columns in the constructor with
// AddField (display width 75) and open them with OpenSql.
class TQuerySet : public TSqlSet {
public:
    TQuerySet();
    ~TQuerySet() override;
    TDataSet* Query() const { return DataSet(); }
};
