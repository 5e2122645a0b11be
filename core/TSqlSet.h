#pragma once

#include <QString>
#include <memory>

#include "core/TDBParameter.h"
#include "core/TDataSet.h"

// What TQuerySet and TRecordSet share: a dataset read from gDatabase by OpenSql, with the columns
// the set declares (or, when it declares none, the columns of the result).
class TSqlSet {
public:
    TSqlSet();
    virtual ~TSqlSet();

    TDataSet* DataSet() const { return dataSet_.get(); }
    const QString& SqlText() const { return sqlText_; }

    // Opens the statement and returns the record count. When the statement fails, shows
    // "SQL语句错误,原文如下:..." with the SQL and the provider's message; the set is then closed
    // and asking its record count raises the dataset-closed error, which stops the caller.
    int OpenSql(const QString& sql, const TDBParameters& values = {});
    // Declares a column: its field name, size (-1 keeps the default), visibility and caption.
    TField* AddField(TFieldKind kind, const QString& name, int width = -1, bool visible = true,
                     const QString& caption = QString());
    // Reopens with the last statement; the current row stays on the same key when one is named.
    void Reopen(const QString& keyField = QString());
    // The field's text in each row, joined by the separator; empty when closed or empty.
    QString JoinValues(TField* field, const QString& separator) const;
    void DeleteCurrent();
    void DeleteAll();
    void Close() { dataSet_->Close(); }

    TField* FieldByName(const QString& name) const { return dataSet_->FieldByName(name); }

protected:
    // TQuerySet gives declared fields a display width of 75.
    int declaredDisplayWidth_ = -1;

private:
    std::unique_ptr<TDataSet> dataSet_;
    QString sqlText_;
    TDBParameters values_;
    bool declared_ = false;
};
