#include "core/TCustomWhere.h"

TCustomWhere::TCustomWhere(QObject* owner) : TZxClientDataSet(owner) {}
TCustomWhere::~TCustomWhere() = default;

void TCustomWhere::CreateTable() {
    CreateDataSet();
    DataSet()->Append();
}

void TCustomWhere::Reset() {
    DataSet()->Cancel();
    DataSet()->Append();
}
