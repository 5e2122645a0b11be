#include "core/TZxClientDataSet.h"

TZxClientDataSet::TZxClientDataSet(QObject* owner) : QObject(owner), dataSet_(std::make_unique<TDataSet>()) {}
TZxClientDataSet::~TZxClientDataSet() = default;

TField* TZxClientDataSet::AddField(TFieldKind kind, const QString& name, bool visible,
                                   const QString& caption) {
    TField* f = dataSet_->AddField(kind, name);
    f->DisplayLabel = caption;
    f->Visible = visible;
    return f;
}

TField* TZxClientDataSet::AddFieldDef(TFieldKind kind, const QString& name, int width, bool visible,
                                      const QString& caption) {
    TField* f = AddField(kind, name, visible, caption);
    f->Size = 20;
    if (width > 20) f->Size = width >= 140 ? 140 : width;
    if (f->IsTextual()) f->DisplayWidth = qBound(4, f->Size, 40);
    return f;
}
