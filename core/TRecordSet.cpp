#include "core/TRecordSet.h"

TRecordSet::TRecordSet(QObject* owner) : QObject(owner) {}
TRecordSet::~TRecordSet() = default;
