#include "reports/TReporterFrm.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/TDataSet.h"
#include "core/TMessages.h"
#include "reports/TRep.h"
#include "reports/TRepSet.h"

TReporterFrm::TReporterFrm(QWidget* parent) : TaFrm(parent) {
    // The print window has placement rules of its own (Placement).
    SetPosition(poDesigned);
    setWindowTitle(QStringLiteral("打印"));
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("请选择一种打印样式")));
    list_ = new QListWidget;
    left->addWidget(list_);
    top->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    previewButton_ = new QPushButton(QStringLiteral("预览"));
    previewButton_->setDefault(true);
    right->addWidget(previewButton_);
    right->addSpacing(12);
    auto tool = [&](const QString& text) {
        auto* b = new QToolButton;
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setEnabled(false);
        right->addWidget(b);
        return b;
    };
    newButton_ = tool(QStringLiteral("新建"));
    deleteButton_ = tool(QStringLiteral("删除"));
    renameButton_ = tool(QStringLiteral("重命名"));
    designButton_ = tool(QStringLiteral("设计"));
    right->addStretch();
    top->addLayout(right);

    connect(previewButton_, &QPushButton::clicked, this, &TReporterFrm::Preview);
    connect(list_, &QListWidget::itemDoubleClicked, this, &TReporterFrm::Preview);
    connect(newButton_, &QToolButton::clicked, this, &TReporterFrm::NewReport);
    connect(deleteButton_, &QToolButton::clicked, this, &TReporterFrm::DeleteReport);
    connect(renameButton_, &QToolButton::clicked, this, &TReporterFrm::RenameReport);
    connect(designButton_, &QToolButton::clicked, this, &TReporterFrm::Design);
    setFixedSize(360, 260);
}

void TReporterFrm::SetGroupId(int group) {
    group_ = group;
    fillList();
}

void TReporterFrm::SetCanDesign(bool can) {
    for (QToolButton* b : {newButton_, deleteButton_, renameButton_, designButton_})
        b->setEnabled(can);
}

void TReporterFrm::fillList(int selectId) {
    list_->clear();
    TRepSet set;
    set.ListReports(group_);
    TDataSet* ds = set.DataSet();
    for (ds->First(); !ds->Eof(); ds->Next()) {
        auto* item = new QListWidgetItem(set.TitleField->AsString(), list_);
        item->setData(Qt::UserRole, set.IdField->AsInteger());
        if (set.IdField->AsInteger() == selectId) list_->setCurrentItem(item);
    }
    if (list_->count() > 0 && !list_->currentItem()) list_->setCurrentRow(0);
}

int TReporterFrm::SelectedId() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

bool TReporterFrm::needSelection() {
    if (list_->currentItem()) return true;
    MessageBox(TMsgKind::Plain, TMsgButtons::Ok, QStringLiteral("请先从左框列表中选中您要操作的项目."));
    return false;
}

void TReporterFrm::Preview() {
    if (!needSelection() || !rep_) return;
    const int id = SelectedId();
    // The print window closes first: the preview replaces it.
    accept();
    rep_->Preview(id);
}

void TReporterFrm::NewReport() {
    QString title;
    if (!InputQuery(QStringLiteral("添加报表"), QStringLiteral("请输入报表名称:\t\t"), &title)) return;
    const int id = TRep::NewReport(group_, title);
    fillList(id);
}

void TReporterFrm::DeleteReport() {
    if (!needSelection()) return;
    const QString title = list_->currentItem()->text();
    if (MessageBox(TMsgKind::Warning, TMsgButtons::OkCancel,
                   QStringLiteral("确定要删除") + title + QStringLiteral("吗?")) != TMsgResult::Ok)
        return;
    TRep::DeleteReport(SelectedId());
    fillList();
}

void TReporterFrm::RenameReport() {
    if (!needSelection()) return;
    QString title = list_->currentItem()->text();
    if (!InputQuery(QStringLiteral("修改报表标题"), QStringLiteral("请输入新的报表名称:\t\t"), &title))
        return;
    const int id = SelectedId();
    TRep::RenameReport(id, title);
    fillList(id);
}

void TReporterFrm::Design() {
    if (!needSelection() || !rep_) return;
    rep_->Design(SelectedId());
}

QRect TReporterFrm::Placement(const QSize& size, const QPoint& pointer, const QRect& screen) {
    QRect r(QPoint(0, 0), size);
    const QRect atPointer(pointer, size);
    if (atPointer.right() > screen.right() || atPointer.bottom() > screen.bottom()) {
        r.moveCenter(screen.center());
    } else {
        r.moveTop(pointer.y() - size.height() / 4);
        r.moveLeft(pointer.x() - size.width() / 2);
    }
    if (r.top() < screen.top()) r.moveTop(screen.top() + 10);
    if (r.left() < screen.left()) r.moveLeft(screen.left() + 10);
    if (r.bottom() > screen.bottom()) r.moveBottom(screen.bottom());
    if (r.right() > screen.right()) r.moveRight(screen.right());
    return r;
}

void TReporterFrm::showEvent(QShowEvent* event) {
    TaFrm::showEvent(event);
    if (placed_) return;
    placed_ = true;
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    move(Placement(frameGeometry().size(), pointer, screen->geometry()).topLeft());
}
