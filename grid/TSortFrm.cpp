#include "grid/TSortFrm.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/TDataSet.h"

using sorttext::TSortDir;
using sorttext::TSortEntry;

namespace {
constexpr int kFieldRole = Qt::UserRole;
constexpr int kDirRole = Qt::UserRole + 1;

QString dirWord(TSortDir dir) {
    switch (dir) {
        case TSortDir::Asc:
            return QStringLiteral("升序");
        case TSortDir::Desc:
            return QStringLiteral("降序");
        case TSortDir::None:
            break;
    }
    return QString();
}
}  // namespace

TSortFrm::TSortFrm(TDataSet* dataSet, QWidget* parent) : TaFrm(parent) {
    setObjectName(QStringLiteral("SortFrm"));
    setWindowTitle(QStringLiteral("排序"));
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("字段"), QStringLiteral("排序方式")});
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setToolTip(QStringLiteral("双击可改变当前值"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->header()->resizeSection(1, 80);

    if (dataSet) {
        for (int i = 0; i < dataSet->FieldCount(); ++i) {
            const TField* f = dataSet->Field(i);
            if (f->Calculated || f->Kind() == TFieldKind::Blob || f->Kind() == TFieldKind::Memo) continue;
            auto* item = new QTreeWidgetItem(list_, {f->Caption(), QString()});
            item->setData(0, kFieldRole, f->FieldName());
            item->setData(0, kDirRole, int(TSortDir::None));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
                           Qt::ItemNeverHasChildren);
        }
    }
    // Only the list itself takes drops, so a dragged row lands between rows and never inside one.
    list_->invisibleRootItem()->setFlags(Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);

    auto* hint =
        new QLabel(QStringLiteral("提示:双击空白处切换排序方式(升/降/无),单击上下移动键调整优先顺序"), this);
    hint->setWordWrap(true);
    upBtn_ = new QPushButton(QStringLiteral("上移(&U)"), this);
    downBtn_ = new QPushButton(QStringLiteral("下移(&D)"), this);
    auto* okBtn = new QPushButton(QStringLiteral("确定(&Y)"), this);
    auto* cancelBtn = new QPushButton(QStringLiteral("取消(&Q)"), this);
    okBtn->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(upBtn_);
    side->addWidget(downBtn_);
    side->addStretch();
    side->addWidget(okBtn);
    side->addWidget(cancelBtn);
    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(side);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addWidget(hint);
    resize(380, 360);

    connect(okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(upBtn_, &QPushButton::clicked, this, &TSortFrm::MoveUp);
    connect(downBtn_, &QPushButton::clicked, this, &TSortFrm::MoveDown);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { CycleRow(list_->indexOfTopLevelItem(item)); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this, [this] { updateButtons(); });
    connect(list_->model(), &QAbstractItemModel::rowsInserted, this, [this] { updateButtons(); });
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    updateButtons();
}

int TSortFrm::RowCount() const {
    return list_->topLevelItemCount();
}
QString TSortFrm::RowField(int row) const {
    return list_->topLevelItem(row)->data(0, kFieldRole).toString();
}
QString TSortFrm::RowCaption(int row) const {
    return list_->topLevelItem(row)->text(0);
}
QString TSortFrm::RowDirection(int row) const {
    return list_->topLevelItem(row)->text(1);
}

TSortDir TSortFrm::direction(const QTreeWidgetItem* item) const {
    return TSortDir(item->data(0, kDirRole).toInt());
}

void TSortFrm::setDirection(QTreeWidgetItem* item, TSortDir dir) {
    item->setData(0, kDirRole, int(dir));
    item->setText(1, dirWord(dir));
}

void TSortFrm::SelectRow(int row) {
    if (row >= 0 && row < RowCount()) list_->setCurrentItem(list_->topLevelItem(row));
}

int TSortFrm::SelectedRow() const {
    return list_->indexOfTopLevelItem(list_->currentItem());
}

void TSortFrm::CycleRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    QTreeWidgetItem* item = list_->topLevelItem(row);
    const TSortDir next = direction(item) == TSortDir::None  ? TSortDir::Asc
                          : direction(item) == TSortDir::Asc ? TSortDir::Desc
                                                             : TSortDir::None;
    setDirection(item, next);
}

void TSortFrm::MoveRow(int from, int to) {
    if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to) return;
    QTreeWidgetItem* item = list_->takeTopLevelItem(from);
    list_->insertTopLevelItem(to, item);
    list_->setCurrentItem(item);
    updateButtons();
}

void TSortFrm::MoveUp() {
    MoveRow(SelectedRow(), SelectedRow() - 1);
}
void TSortFrm::MoveDown() {
    MoveRow(SelectedRow(), SelectedRow() + 1);
}

void TSortFrm::updateButtons() {
    const int row = SelectedRow();
    upBtn_->setEnabled(row > 0);
    downBtn_->setEnabled(row >= 0 && row < RowCount() - 1);
}

QString TSortFrm::SortString() const {
    std::vector<TSortEntry> entries;
    for (int r = 0; r < RowCount(); ++r) {
        const QTreeWidgetItem* item = list_->topLevelItem(r);
        entries.push_back(TSortEntry{RowField(r), direction(item)});
    }
    return sorttext::BuildSortString(entries);
}

void TSortFrm::SetSortString(const QString& text) {
    for (int r = 0; r < RowCount(); ++r)
        setDirection(list_->topLevelItem(r), TSortDir::None);
    int k = 0;
    for (const TSortEntry& e : sorttext::ParseSortString(text)) {
        for (int r = 0; r < RowCount(); ++r) {
            if (RowField(r).compare(e.FieldName, Qt::CaseInsensitive) != 0) continue;
            setDirection(list_->topLevelItem(r), e.Dir);
            if (r != k) {
                QTreeWidgetItem* item = list_->takeTopLevelItem(r);
                list_->insertTopLevelItem(k, item);
            }
            ++k;
            break;
        }
    }
    if (RowCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    updateButtons();
}

QString TSortFrm::SortLabels() const {
    QStringList parts;
    for (int r = 0; r < RowCount(); ++r) {
        const QTreeWidgetItem* item = list_->topLevelItem(r);
        if (direction(item) != TSortDir::None) parts << item->text(0) + u' ' + item->text(1);
    }
    return parts.join(u',');
}
