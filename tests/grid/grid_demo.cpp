// A demonstration window for trying the grids by hand: reader kinds in a data grid (layout 1005)
// and readers in a table-view grid (layout 1008) over a SQLite file in the given folder, with the
// tool-bar drop-downs the lists use and the picker. "--shots DIR" opens each dialog in turn,
// saves a picture of it and both exports into DIR, and quits.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "admin/TOperator.h"
#include "core/TDatabase.h"
#include "core/TRecordSet.h"
#include "core/TSchema.h"
#include "grid/TDBGrid.h"
#include "grid/TDBGridcx.h"
#include "grid/TDataSource.h"
#include "grid/TGridUi.h"
#include "grid/TPickerFrm.h"
#include "tests/grid/DemoLists.h"
#include "ui/base/TQtMessages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.value(1, QDir::currentPath());
    const int shotsAt = args.indexOf(QStringLiteral("--shots"));
    const QString shots = shotsAt > 0 ? args.value(shotsAt + 1) : QString();

    TQtMessages messages;
    SetMessageHandler(&messages);
    CreateDatabaseGlobals();
    gDatabase->Open(QStringLiteral("Provider=SQLite;Data Source=%1;")
                        .arg(QDir(folder).filePath(QStringLiteral("demo.db"))));
    TSchema::Prepare(*gDatabase);
    TOperator op;
    op.LoginId = QStringLiteral("sa");
    gOperator = &op;

    gScratchSet->OpenSql(QStringLiteral("select count(*) from readerskind"));
    const bool fresh = gScratchSet->DataSet()->Field(0)->AsInteger() == 0;
    if (!fresh) {
        // Filled by an earlier run: start the lists again (the saved layouts stay).
        gDatabase->ExecuteSql(QStringLiteral("delete from readerskind"));
        gDatabase->ExecuteSql(QStringLiteral("delete from readers"));
    }
    std::unique_ptr<TRecordSet> kinds = demolists::OpenReaderKinds();
    std::unique_ptr<TRecordSet> readers = demolists::OpenReaders();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("澄谷图书管理系统 - 表格演示"));
    auto* split = new QSplitter(Qt::Vertical, &window);
    auto* kindGrid = new TDBGrid(split);
    kindGrid->DataSource()->SetDataSet(kinds->DataSet());
    kindGrid->SetLayoutId(1005);
    kindGrid->SetFooterVisible(true);
    kindGrid->AddFooterSum(kinds->DataSet()->FieldByName("BookTop"));
    auto* panel = new QWidget(split);
    TDBGridcx* readerGrid = TDBGridcx::CreateInPanel(&window, 1008, readers->DataSet(), panel);
    readerGrid->AddFooterSum(readers->DataSet()->FieldByName("Deposit"));
    window.setCentralWidget(split);

    QToolBar* bar = window.addToolBar(QStringLiteral("工具"));
    bar->addAction(QStringLiteral("排序"), kindGrid, [kindGrid] { kindGrid->SortClick(); });
    auto* exportBtn = new QToolButton(bar);
    exportBtn->setText(QStringLiteral("导出"));
    exportBtn->setPopupMode(QToolButton::InstantPopup);
    exportBtn->setMenu(kindGrid->CreateExportMenu());
    bar->addWidget(exportBtn);
    auto* settingsBtn = new QToolButton(bar);
    settingsBtn->setText(QStringLiteral(" 设置 "));
    settingsBtn->setPopupMode(QToolButton::InstantPopup);
    settingsBtn->setMenu(kindGrid->CreateSettingsMenu());
    bar->addWidget(settingsBtn);
    bar->addAction(QStringLiteral("选择读者"), &window, [&] {
        if (TPickerFrm::Pick(nullptr, readers->DataSet(), 1010, &window))
            window.statusBar()->showMessage(QStringLiteral("选中: ") +
                                            readers->DataSet()->FieldByName("Name")->AsString());
    });
    window.resize(900, 600);
    window.show();

    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        auto save = [&](QWidget& w, const char* name) {
            w.grab().save(QDir(shots).filePath(QString::fromLatin1(name)));
        };
        QTimer::singleShot(300, [&] {
            kindGrid->TitleClick(kindGrid->ColumnOfField(QStringLiteral("BookDays")));
            kindGrid->TitleClick(kindGrid->ColumnOfField(QStringLiteral("BookDays")));
            readers->DataSet()->SetRecNo(1);
            if (fresh) {
                // What an operator does on the first day: drag a column to the front, hide one,
                // widen one, and save both layouts.
                QHeaderView* h = kindGrid->horizontalHeader();
                h->moveSection(h->visualIndex(kindGrid->ColumnOfField(QStringLiteral("JourDays"))), 0);
                kindGrid->SetColumnVisible(kindGrid->ColumnOfField(QStringLiteral("JourTop")), false);
                readerGrid->horizontalHeader()->resizeSection(
                    readerGrid->ColumnOfField(QStringLiteral("Name")), 160);
                SetMessageHandler(nullptr);
                kindGrid->SaveLayoutClick();
                readerGrid->SaveLayoutClick();
                SetMessageHandler(&messages);
            }
            save(window, fresh ? "main.png" : "main-next-start.png");
            int step = 0;
            gridui::SetDialogHook([&](QDialog& d) {
                d.show();
                QApplication::processEvents();
                save(d, step == 0 ? "sort.png" : step == 1 ? "columns.png" : "picker.png");
                ++step;
                d.accept();
                return int(QDialog::Accepted);
            });
            kindGrid->SortClick();
            readerGrid->PickColumnsClick();
            TPickerFrm::Pick(nullptr, readers->DataSet(), 1010, &window);
            gridui::SetSaveFileHook(
                [&](const QString&, const QString&) { return QDir(shots).filePath("kinds.html"); });
            gridui::SetOpenFileHook([](const QString&) { return true; });
            TGridView::SetExportFolder(shots);
            SetMessageHandler(nullptr);
            kindGrid->SaveToHtmlClick();
            readerGrid->SaveToExcelClick();
            app.quit();
        });
    }
    // "--excel DIR": the spreadsheet export with the real boxes; each box is pictured and answered.
    const int excelAt = args.indexOf(QStringLiteral("--excel"));
    if (excelAt > 0) {
        const QString out = args.value(excelAt + 1);
        QDir().mkpath(out);
        TGridView::SetExportFolder(out);
        auto* answer = new QTimer(&app);
        int boxes = 0;
        QObject::connect(answer, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            box->grab().save(QDir(out).filePath(QStringLiteral("box%1.png").arg(++boxes)));
            if (auto* mb = qobject_cast<QMessageBox*>(box); mb && mb->button(QMessageBox::Ok))
                mb->button(QMessageBox::Ok)->click();
            else if (auto* dlg = qobject_cast<QDialog*>(box))
                dlg->accept();
        });
        answer->start(500);
        QTimer::singleShot(300, [&] {
            readerGrid->SaveToExcelClick();
            app.quit();
        });
    }
    const int rc = app.exec();
    gOperator = nullptr;
    FreeDatabaseGlobals();
    return rc;
}
