#include "ui/admin/TListItemEditFrm.h"

#include <QComboBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "admin/TPickListSet.h"
#include "ui/base/TzxMemo.h"

TListItemEditFrm::TListItemEditFrm(QWidget* parent) : TADlgFrm(parent) {
    setObjectName(QStringLiteral("ListItemEditFrm"));
    setWindowTitle(QStringLiteral("选项"));
    tabs_ = new QTabWidget(Body());
    memo_ = new TzxMemo(tabs_);
    memo_->setObjectName(QStringLiteral("memItems"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    tabs_->addTab(memo_, QString());
    auto* layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    resize(320, 360);
}

void TListItemEditFrm::SetCaption(const QString& caption) {
    tabs_->setTabText(0, caption);
}

void TListItemEditFrm::SetItems(const QStringList& items) {
    memo_->setPlainText(items.join(u'\n'));
}

QStringList TListItemEditFrm::Items() const {
    QString text = memo_->toPlainText();
    // A final line break ends the last line; it does not start another item.
    if (text.endsWith(u'\n')) text.chop(1);
    if (text.isEmpty()) return {};
    return text.split(u'\n');
}

bool TListItemEditFrm::EditList(const QString& caption, QStringList* items) {
    TListItemEditFrm frm;
    frm.SetCaption(caption);
    frm.SetItems(*items);
    if (frm.exec() != QDialog::Accepted) return false;
    *items = frm.Items();
    return true;
}

void FillPickList(QComboBox* box, int key) {
    box->clear();
    box->addItems(gPickLists->Items(key));
}

bool EditPickList(QComboBox* box, int key) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    if (!TListItemEditFrm::EditList(TPickListSet::Caption(key), &items)) return false;
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentText(text);
    // A failed statement raises its error after the drop-down already shows the edited items.
    gPickLists->SaveItems(key, items);
    return true;
}
