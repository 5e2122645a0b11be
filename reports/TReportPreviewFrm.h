#pragma once

#include <QDialog>

#include "reports/engine/TPreparedReport.h"

class QComboBox;
class QLabel;
class QScrollArea;
class TDataSet;
class TReportPageView;

// The preview: one page at a time with page navigation and zoom; print (through the print dialog,
// on any printer of the desktop), export as PDF or PNG, and the data rows as a spreadsheet.
class TReportPreviewFrm : public QDialog {
    Q_OBJECT
public:
    TReportPreviewFrm(rpt::TPreparedReport report, TDataSet* rows, QWidget* parent = nullptr);
    ~TReportPreviewFrm() override;

    int CurrentPage() const { return page_; }
    int PageCount() const { return report_.PageCount(); }
    double Zoom() const { return zoom_; }
    const rpt::TPreparedReport& Report() const { return report_; }

public slots:
    void GoToPage(int page);
    void FirstPage() { GoToPage(0); }
    void PriorPage() { GoToPage(page_ - 1); }
    void NextPage() { GoToPage(page_ + 1); }
    void LastPage() { GoToPage(PageCount() - 1); }
    void SetZoom(double zoom);
    void Print();
    void ExportPdf();
    void ExportPng();
    void ExportXlsx();
    // The exports without their file dialogs; the message says where the file went.
    bool ExportPdfTo(const QString& fileName);
    bool ExportPngTo(const QString& fileName);
    bool ExportXlsxTo(const QString& fileName);

private:
    void updatePage();

    rpt::TPreparedReport report_;
    TDataSet* rows_;
    int page_ = 0;
    double zoom_ = 1.0;
    TReportPageView* view_;
    QScrollArea* scroll_;
    QLabel* pageLabel_;
    QComboBox* zoomBox_;
};
