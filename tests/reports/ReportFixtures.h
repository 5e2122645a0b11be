#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TDataSet;

namespace reportfixtures {

// A loan-like list: Code, Name (书名), Reader (读者), LoanDate (借书日期), Fine (罚款, money), Qty.
// Row i: Code "B%04d", Name "书名i", Fine i * 1.5, Qty i % 3, dates from 2026-01-01.
std::unique_ptr<TDataSet> LoanList(int rows);

// The text of a PDF file as pdftotext gives it (layout kept).
QString PdfText(const QString& fileName);

}  // namespace reportfixtures
