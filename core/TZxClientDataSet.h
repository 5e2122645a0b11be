#pragma once

#include <QObject>
#include <memory>

#include "core/TDataSet.h"

// An in-memory table bound to no connection: pending circulation lists, computed statistics and
// criteria records. A subclass declares its columns with AddFieldDef, then calls CreateDataSet.
class TZxClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit TZxClientDataSet(QObject* owner = nullptr);
    ~TZxClientDataSet() override;

    TDataSet* DataSet() const { return dataSet_.get(); }
    TField* AddField(TFieldKind kind, const QString& name, bool visible = true,
                     const QString& caption = QString());
    // Text columns get a size of 20 unless more is asked, and never more than 140: widths 10, 20,
    // 50, 139, 140 and 500 give 20, 20, 50, 139, 140 and 140.
    TField* AddFieldDef(TFieldKind kind, const QString& name, int width = 0, bool visible = true,
                        const QString& caption = QString());
    void CreateDataSet() { dataSet_->CreateDataSet(); }
    TField* FieldByName(const QString& name) const { return dataSet_->FieldByName(name); }

private:
    std::unique_ptr<TDataSet> dataSet_;
};
