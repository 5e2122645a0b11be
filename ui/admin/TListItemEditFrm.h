#pragma once

#include <QStringList>

#include "ui/base/TADlgFrm.h"

class QComboBox;
class QTabWidget;
class TzxMemo;

// The list editor "选项": the items of a pick list, one per line.
class TListItemEditFrm : public TADlgFrm {
    Q_OBJECT
public:
    explicit TListItemEditFrm(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    void SetItems(const QStringList& items);
    // The lines as items; an empty line is an empty item.
    QStringList Items() const;
    TzxMemo* Memo() const { return memo_; }

    // Shows the editor; true when confirmed, items then holding the edited lines.
    static bool EditList(const QString& caption, QStringList* items);

private:
    QTabWidget* tabs_;
    TzxMemo* memo_;
};

// Fills a drop-down with the items of pick list key (no items for a list never stored).
void FillPickList(QComboBox* box, int key);
// The "..." button beside a field with pick list key (0 to 5): edits the drop-down's items and,
// when confirmed, puts them into the drop-down and stores them. The field's text stays as it is.
bool EditPickList(QComboBox* box, int key);
