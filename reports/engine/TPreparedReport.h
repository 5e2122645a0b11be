#pragma once

#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "reports/engine/TReportDocument.h"

// The result of laying out a report: pages of drawing operations in millimetres, ready for the
// painter. Operations point to the objects of the document they came from (for fonts, borders and
// images), so the prepared report keeps its own copy of the document.
namespace rpt {

struct TDrawOp {
    const TReportObject* object = nullptr;
    QRectF rect;   // on the page, mm
    QString text;  // text objects: the evaluated text; barcodes: the data
    QRectF clip;   // a band split over pages paints only its part; empty: no clip
};

struct TPreparedPage {
    std::vector<TDrawOp> ops;
};

class TPreparedReport {
public:
    std::shared_ptr<const TReportDocument> document;
    std::vector<TPreparedPage> pages;

    int PageCount() const { return int(pages.size()); }
    const TReportPage& Page() const { return document->page; }
    // The texts of a page with [Pages] filled, in drawing order (for tests and searching).
    QStringList PageTexts(int page) const;
};

}  // namespace rpt
