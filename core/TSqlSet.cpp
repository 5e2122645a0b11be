#include "core/TSqlSet.h"

#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"

TSqlSet::TSqlSet() : dataSet_(std::make_unique<TDataSet>()) {}
TSqlSet::~TSqlSet() = default;

int TSqlSet::OpenSql(const QString& sql, const TDBParameters& values) {
    sqlText_ = sql;
    values_ = values;
    dataSet_->Close();
    try {
        gDatabase->Fetch(sql, values, *dataSet_, declared_);
    } catch (const TDbError& e) {
        dataSet_->Close();
        // The engine's text is "message\r\nSQL"; the box shows the statement, then the message.
        QString message = e.message();
        const int cut = message.lastIndexOf(QStringLiteral("\r\n") + sql);
        if (cut >= 0) message = message.left(cut);
        ShowInfo(QStringLiteral("SQL语句错误,原文如下:\r\n") + sql + QStringLiteral("\r\n\r\n错误提示:\r\n") +
                 message);
    }
    return dataSet_->RecordCount();
}

TField* TSqlSet::AddField(TFieldKind kind, const QString& name, int width, bool visible,
                          const QString& caption) {
    TField* f = dataSet_->AddField(kind, name, width);
    f->DisplayLabel = caption;
    if (declaredDisplayWidth_ > 0) f->DisplayWidth = declaredDisplayWidth_;
    f->Visible = visible;
    declared_ = true;
    return f;
}

void TSqlSet::Reopen(const QString& keyField) {
    if (!dataSet_->Active()) return;
    QVariant key;
    if (!keyField.isEmpty()) key = dataSet_->FieldByName(keyField)->Value();
    const QString sort = dataSet_->SortText();
    dataSet_->DisableControls();
    try {
        gDatabase->Fetch(sqlText_, values_, *dataSet_, declared_);
        if (!sort.isEmpty()) dataSet_->SetSortText(sort);
    } catch (...) {
        dataSet_->EnableControls();
        throw;
    }
    dataSet_->EnableControls();
    if (!keyField.isEmpty() && !key.isNull()) dataSet_->Locate(keyField, key);
}

QString TSqlSet::JoinValues(TField* field, const QString& separator) const {
    if (!dataSet_->Active() || dataSet_->IsEmpty()) return QString();
    QString out;
    const int n = dataSet_->RecordCount();
    for (int r = 0; r < n; ++r) {
        if (r) out += separator;
        out += dataSet_->CellText(r, field->Index());
    }
    return out;
}

void TSqlSet::DeleteCurrent() {
    if (dataSet_->Active() && !dataSet_->IsEmpty()) dataSet_->Delete();
}

void TSqlSet::DeleteAll() {
    if (!dataSet_->Active()) return;
    dataSet_->DisableControls();
    while (dataSet_->RecordCount() > 0) {
        dataSet_->First();
        dataSet_->Delete();
    }
    dataSet_->EnableControls();
}
