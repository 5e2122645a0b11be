#pragma once

#include "reports/engine/TPreparedReport.h"
#include "reports/engine/TReportData.h"

// Turns a layout and its data into prepared pages. Data bands run over the view rows of their
// source (the rows a window shows, in its order and filter); the data set's current row is not
// moved. Growing text stretches a row to its tallest cell; page headers repeat, page footers sit at
// the bottom of every page, and a band taller than a page is split over pages.
namespace rpt {

class TReportLayouter {
public:
    static TPreparedReport Prepare(const TReportDocument& document, const TReportData& data);
};

}  // namespace rpt
