#include "ui/admin/TSysEditFrm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "admin/TKeyValue2.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "ui/base/TzxEdit.h"

TSysEditFrm::TSysEditFrm(QWidget* parent) : TaFrm(parent) {
    setObjectName(QStringLiteral("SysEditFrm"));
    setWindowTitle(QStringLiteral("系统设置"));

    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("其他参数"));
    auto* grid = new QGridLayout(page);
    auto addRate = [&](int row, const QString& caption, const char* name) {
        auto* edit = new TzxEdit(page);
        edit->setObjectName(QLatin1String(name));
        edit->EditType = etNumber;
        edit->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* label = new QLabel(caption, page);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("元/天"), page), row, 2);
        return edit;
    };
    edtBookRate_ = addRate(0, QStringLiteral("图书逾期罚款:"), "edtBookRate");
    edtJourRate_ = addRate(1, QStringLiteral("期刊逾期罚款:"), "edtJourRate");
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);

    saveBtn_ = new QPushButton(QStringLiteral("保存"), this);
    saveBtn_->setObjectName(QStringLiteral("SaveBtn"));
    saveBtn_->setDefault(true);
    auto* exitBtn = new QPushButton(QStringLiteral("退出"), this);
    exitBtn->setObjectName(QStringLiteral("ExitBtn"));
    connect(saveBtn_, &QPushButton::clicked, this, &TSysEditFrm::Save);
    // Escape rejects the dialog as well.
    connect(exitBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveBtn_);
    buttons->addWidget(exitBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(360, 200);

    edtBookRate_->SetAsDouble(BookFineRate);
    edtJourRate_->SetAsDouble(JourFineRate);
}

void TSysEditFrm::Save() {
    // Both fields are read before anything is stored, so a text that is not a number stores
    // neither rate (its message reaches the application's error box).
    const double book = edtBookRate_->AsDouble();
    const double journal = edtJourRate_->AsDouble();
    QString message;
    {
        // The two settings are stored together or not at all.
        TTransaction transaction(*gDatabase);
        try {
            if (!gKeyValue2->SetFloat(TKeyValue2::kBookFineRate, book))
                message += QStringLiteral("\r\n图书逾期罚款参数保存失败!");
            if (!gKeyValue2->SetFloat(TKeyValue2::kJourFineRate, journal))
                message += QStringLiteral("\r\n期刊逾期罚款参数保存失败!");
        } catch (...) {
            // The local rows may mirror a write that is being rolled back: read them again later.
            gKeyValue2->Close();
            throw;
        }
        if (message.isEmpty()) {
            transaction.Commit();
        } else {
            gKeyValue2->Close();
        }
    }
    if (!message.isEmpty()) {
        MessageBox(TMsgKind::Error, TMsgButtons::Ok, message);
        return;
    }
    BookFineRate = book;
    JourFineRate = journal;
    ShowInfo(QStringLiteral("保存操作成功!"));
}

void OpenSysEdit() {
    TSysEditFrm frm;
    frm.exec();
}
