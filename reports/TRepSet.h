#pragma once

#include "core/TRecordSet.h"

// The layouts of one report group: Id and Title ("标题"), in title order.
class TRepSet : public TRecordSet {
    Q_OBJECT
public:
    explicit TRepSet(QObject* owner = nullptr);
    int ListReports(int group);

    TField* IdField;
    TField* TitleField;
};
