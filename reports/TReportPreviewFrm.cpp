#include "reports/TReportPreviewFrm.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/TMessages.h"
#include "reports/engine/TReportPainter.h"
#include "reports/engine/TReportXlsx.h"

// Paints the current page at the zoom; nothing is kept per row or per page but the prepared ops.
class TReportPageView : public QWidget {
public:
    TReportPageView(const rpt::TPreparedReport* report, QWidget* parent) : QWidget(parent), report_(report) {}
    void Show(int page, double pxPerMm) {
        page_ = page;
        pxPerMm_ = pxPerMm;
        const rpt::TReportPage& setup = report_->Page();
        setFixedSize(qRound(setup.PageWidth() * pxPerMm), qRound(setup.PageHeight() * pxPerMm));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        rpt::TReportPainter::PaintPage(p, *report_, page_, pxPerMm_);
    }

private:
    const rpt::TPreparedReport* report_;
    int page_ = 0;
    double pxPerMm_ = 3;
};

TReportPreviewFrm::TReportPreviewFrm(rpt::TPreparedReport report, TDataSet* rows, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), rows_(rows) {
    setWindowTitle(QStringLiteral("预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar;
    bar->addAction(QStringLiteral("打印"), this, &TReportPreviewFrm::Print);
    bar->addAction(QStringLiteral("导出PDF"), this, &TReportPreviewFrm::ExportPdf);
    bar->addAction(QStringLiteral("导出图片"), this, &TReportPreviewFrm::ExportPng);
    if (rows_) bar->addAction(QStringLiteral("导出Excel"), this, &TReportPreviewFrm::ExportXlsx);
    bar->addSeparator();
    bar->addAction(QStringLiteral("首页"), this, &TReportPreviewFrm::FirstPage);
    bar->addAction(QStringLiteral("上页"), this, &TReportPreviewFrm::PriorPage);
    pageLabel_ = new QLabel;
    pageLabel_->setMinimumWidth(80);
    pageLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(pageLabel_);
    bar->addAction(QStringLiteral("下页"), this, &TReportPreviewFrm::NextPage);
    bar->addAction(QStringLiteral("末页"), this, &TReportPreviewFrm::LastPage);
    bar->addSeparator();
    zoomBox_ = new QComboBox;
    for (int z : {50, 75, 100, 125, 150, 200})
        zoomBox_->addItem(QStringLiteral("%1%").arg(z), z / 100.0);
    zoomBox_->setCurrentIndex(2);
    connect(zoomBox_, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetZoom(zoomBox_->itemData(i).toDouble()); });
    bar->addWidget(zoomBox_);
    bar->addSeparator();
    bar->addAction(QStringLiteral("关闭"), this, &QDialog::accept);
    layout->addWidget(bar);

    scroll_ = new QScrollArea;
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new TReportPageView(&report_, scroll_);
    scroll_->setWidget(view_);
    layout->addWidget(scroll_);
    resize(980, 760);
    updatePage();
}

TReportPreviewFrm::~TReportPreviewFrm() = default;

void TReportPreviewFrm::GoToPage(int page) {
    page_ = qBound(0, page, qMax(0, PageCount() - 1));
    updatePage();
}

void TReportPreviewFrm::SetZoom(double zoom) {
    zoom_ = qBound(0.25, zoom, 4.0);
    updatePage();
}

void TReportPreviewFrm::updatePage() {
    // 100% shows the paper at its real size on a screen of 96 dpi.
    view_->Show(page_, zoom_ * 96 / 25.4);
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(PageCount() ? page_ + 1 : 0).arg(PageCount()));
}

void TReportPreviewFrm::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(rpt::ReportPageLayout(report_.Page()));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, qMax(1, PageCount()));
    if (dialog.exec() != QDialog::Accepted) return;
    int first = 0, last = PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() - 1;
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = page_;
    }
    rpt::TReportPainter::PaintPages(printer, report_, first, last);
}

void TReportPreviewFrm::ExportPdf() {
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("导出PDF"), QString(),
                                                      QStringLiteral("PDF文件 (*.pdf)"));
    if (!name.isEmpty())
        ExportPdfTo(name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? name : name + ".pdf");
}

void TReportPreviewFrm::ExportPng() {
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("导出图片"), QString(),
                                                      QStringLiteral("PNG图片 (*.png)"));
    if (!name.isEmpty())
        ExportPngTo(name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? name : name + ".png");
}

void TReportPreviewFrm::ExportXlsx() {
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("导出Excel"), QString(),
                                                      QStringLiteral("Excel文件 (*.xlsx)"));
    if (!name.isEmpty())
        ExportXlsxTo(name.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? name : name + ".xlsx");
}

bool TReportPreviewFrm::ExportPdfTo(const QString& fileName) {
    QString error;
    if (!rpt::TReportPainter::ExportPdf(report_, fileName, &error)) {
        ShowInfo(error);
        return false;
    }
    ShowInfo(QStringLiteral("已导出到 %1").arg(fileName));
    return true;
}

bool TReportPreviewFrm::ExportPngTo(const QString& fileName) {
    QString error;
    if (!rpt::TReportPainter::ExportPng(report_, fileName, 150, &error)) {
        ShowInfo(error);
        return false;
    }
    ShowInfo(QStringLiteral("已导出到 %1").arg(fileName));
    return true;
}

bool TReportPreviewFrm::ExportXlsxTo(const QString& fileName) {
    if (!rows_) return false;
    QString error;
    if (!rpt::ExportRowsXlsx(*rows_, fileName, &error)) {
        ShowInfo(error);
        return false;
    }
    ShowInfo(QStringLiteral("已导出到 %1").arg(fileName));
    return true;
}
