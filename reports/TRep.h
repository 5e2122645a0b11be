#pragma once

#include <QList>
#include <QString>

#include "reports/engine/TPreparedReport.h"
#include "reports/engine/TReportData.h"
#include "reports/engine/TReportDocument.h"

class TDataSet;

// One report: a layout document of the report engine, the data sets and variables it prints, and
// the key (report.Id) of the layout now loaded. Layouts are stored as bytes in the report table.
class TRep {
public:
    TRep();
    virtual ~TRep();

    // An empty name adds nothing; an empty value becomes a single space.
    void AddVariable(const QString& name, const QString& value);
    // Adds the data sets as "d0", "d1", ... after those already added.
    void AddDataSets(const QList<TDataSet*>& dataSets);

    // Clears the document and reads the stored layout of the report; the key becomes id in any case.
    // A stored document that cannot be read leaves the document empty and tells the operator.
    void LoadReport(int id);
    // Writes the document under the key: updates the row, or inserts Id and layout when the row was
    // deleted meanwhile. Database errors are raised.
    void SaveReport();

    // Shows the report in the preview window (printing and export are done from there).
    virtual void Preview(int id);
    // Shows the designer modally; stay-on-top windows are made normal while it is open.
    virtual void Design(int id);

    // The document to print: the loaded one, or when the layout has none yet, the default table
    // generated from the first data set's visible columns.
    rpt::TReportDocument EffectiveDocument() const;
    rpt::TPreparedReport Prepare() const;

    // The title of the list being printed (used by generated layouts).
    QString ListTitle;
    rpt::TReportDocument Document;
    int ReportId() const { return reportId_; }
    const rpt::TReportData& Data() const { return data_; }

    static int NewReport(int group, const QString& title);
    static void DeleteReport(int id);
    static void RenameReport(int id, const QString& title);

private:
    rpt::TReportData data_;
    int reportId_ = 0;
};
