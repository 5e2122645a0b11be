#include "reports/TRep.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "core/TDataSet.h"
#include "core/TDatabase.h"
#include "core/TMessages.h"
#include "core/TRecordSet.h"
#include "reports/TReportDesignerFrm.h"
#include "reports/TReportPreviewFrm.h"
#include "reports/engine/TDefaultLayout.h"
#include "reports/engine/TReportLayouter.h"

namespace {

// Makes the visible stay-on-top windows normal while a modal window is open, and makes them stay
// on top again when it closes (also when an error leaves early).
class StayOnTopPause {
public:
    StayOnTopPause() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint)) {
                paused_ << w;
                w->setWindowFlag(Qt::WindowStaysOnTopHint, false);
                w->show();
            }
        }
    }
    ~StayOnTopPause() {
        for (const QPointer<QWidget>& w : paused_) {
            if (!w) continue;
            w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            w->show();
        }
    }

private:
    QList<QPointer<QWidget>> paused_;
};

}  // namespace

TRep::TRep() = default;
TRep::~TRep() = default;

void TRep::AddVariable(const QString& name, const QString& value) {
    if (name.isEmpty()) return;
    data_.variables.append({name, value.isEmpty() ? QStringLiteral(" ") : value});
}

void TRep::AddDataSets(const QList<TDataSet*>& dataSets) {
    for (TDataSet* ds : dataSets)
        if (ds) data_.dataSets.append(ds);
}

void TRep::LoadReport(int id) {
    Document.Clear();
    reportId_ = id;
    gScratchSet->OpenSql(QStringLiteral("select * from report where Id=:Id"), {DBParam("Id", id)});
    TDataSet* ds = gScratchSet->DataSet();
    if (ds->RecordCount() == 0) return;
    const QByteArray bytes = ds->FieldByName(QStringLiteral("Fr3File"))->AsBytes();
    if (bytes.isEmpty()) return;
    QString error;
    if (!Document.FromJson(bytes, &error)) ShowInfo(QStringLiteral("报表样式无法读取: %1").arg(error));
}

void TRep::SaveReport() {
    const QByteArray bytes = Document.ToJson();
    gScratchSet->OpenSql(QStringLiteral("select 1 from report where Id=:Id"), {DBParam("Id", reportId_)});
    if (gScratchSet->DataSet()->RecordCount() > 0) {
        gDatabase->ExecuteSqlCommand(QStringLiteral("update report set Fr3File=:Fr3File where Id=:Id"),
                                     {DBParam("Id", reportId_)}, {DBBlob("Fr3File", bytes)});
    } else {
        gDatabase->ExecuteSqlCommand(QStringLiteral("insert into report (Fr3File,Id)values(:Fr3File,:Id)"),
                                     {DBParam("Id", reportId_)}, {DBBlob("Fr3File", bytes)});
    }
}

rpt::TReportDocument TRep::EffectiveDocument() const {
    if (!Document.IsEmpty() || data_.dataSets.isEmpty()) return Document;
    return rpt::TDefaultLayout::Generate(*data_.dataSets.first(), ListTitle);
}

rpt::TPreparedReport TRep::Prepare() const {
    return rpt::TReportLayouter::Prepare(EffectiveDocument(), data_);
}

void TRep::Preview(int id) {
    LoadReport(id);
    TReportPreviewFrm frm(Prepare(), data_.dataSets.value(0), QApplication::activeWindow());
    frm.exec();
}

void TRep::Design(int id) {
    LoadReport(id);
    StayOnTopPause pause;
    TReportDesignerFrm frm(this, QApplication::activeWindow());
    frm.exec();
}

int TRep::NewReport(int group, const QString& title) {
    gScratchSet->OpenSql(QStringLiteral("select top 1 Id from report order by Id desc"));
    TDataSet* ds = gScratchSet->DataSet();
    const int id = ds->RecordCount() > 0 ? ds->Field(0)->AsInteger() + 1 : 1;
    gDatabase->ExecuteSqlCommand(
        QStringLiteral("insert into report(Id,GrpId,Title)values(:Id,:GroupId,:Title)"),
        {DBParam("Id", id), DBParam("GroupId", group), DBParam("Title", title)});
    return id;
}

void TRep::DeleteReport(int id) {
    gDatabase->ExecuteSqlCommand(QStringLiteral("delete from report where Id=:Id"), {DBParam("Id", id)});
}

void TRep::RenameReport(int id, const QString& title) {
    gDatabase->ExecuteSqlCommand(QStringLiteral("update report set Title=:Title where Id=:Id"),
                                 {DBParam("Title", title), DBParam("Id", id)});
}
