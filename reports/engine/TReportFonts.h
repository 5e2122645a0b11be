#pragma once

#include <QFont>

#include "reports/engine/TReportDocument.h"

// Text is laid out and painted in reference units of 1/720 inch with fonts sized in pixels of that
// unit and hinting off, so text measured by the layouter wraps the same way on every device.
namespace rpt {

inline constexpr double kRefPerMm = 720.0 / 25.4;

QFont ReportFont(const TReportObject& object, const TReportPage& page);

}  // namespace rpt
