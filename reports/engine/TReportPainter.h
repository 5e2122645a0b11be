#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>

#include "reports/engine/TPreparedReport.h"

class QPainter;
class QPagedPaintDevice;

// Paints prepared pages. Preview, printing, PDF and PNG all go through PaintPage, so what is
// previewed is what is printed.
namespace rpt {

class TReportPainter {
public:
    // Paints one page with the painter's origin at the paper's top-left corner and pxPerMm device
    // pixels per millimetre.
    static void PaintPage(QPainter& painter, const TPreparedReport& report, int page, double pxPerMm);
    // A page as an image at the given resolution (white paper).
    static QImage RenderPage(const TPreparedReport& report, int page, double dpi);
    // Paints pages first..last (from 0) onto a printer or PDF writer whose page layout was set from
    // the report; the device must have no margins.
    static void PaintPages(QPagedPaintDevice& device, const TPreparedReport& report, int first, int last);
    static bool ExportPdf(const TPreparedReport& report, const QString& fileName, QString* error = nullptr);
    // One PNG per page: the file name itself for page 1, "name_2.png", ... for the others.
    static bool ExportPng(const TPreparedReport& report, const QString& fileName, double dpi = 150,
                          QString* error = nullptr);
    static QString PngPageName(const QString& fileName, int page);
};

// The page layout for printers and PDF writers: the report's paper and orientation, no margins.
QPageLayout ReportPageLayout(const TReportPage& setup);

// Draws a barcode into the rectangle (device units); false when the data cannot be encoded.
bool PaintBarcode(QPainter& painter, const QRectF& rect, Barcode type, const QString& data);

}  // namespace rpt
