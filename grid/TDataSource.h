#pragma once

#include <QObject>
#include <QPointer>

#include "core/TDataSet.h"

// Links a grid to the dataset it shows. A grid owns its data source; windows set the dataset.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr) : QObject(parent) {}
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet) {
        if (dataSet_ == dataSet) return;
        dataSet_ = dataSet;
        emit DataSetChanged(dataSet);
    }

signals:
    void DataSetChanged(TDataSet* dataSet);

private:
    QPointer<TDataSet> dataSet_;
};
