#include "reports/engine/TReportData.h"

#include "reports/engine/TPreparedReport.h"
#include "reports/engine/TReportExpr.h"
#include "reports/engine/TReportFonts.h"

namespace rpt {

bool TReportData::Variable(const QString& name, QString* value) const {
    for (const auto& v : variables) {
        if (v.first.compare(name, Qt::CaseInsensitive) == 0) {
            *value = v.second;
            return true;
        }
    }
    return false;
}

TDataSet* TReportData::Source(const QString& name) const {
    if (name.size() < 2 || name[0].toLower() != u'd') return nullptr;
    bool ok = false;
    const int index = name.mid(1).toInt(&ok);
    if (!ok || index < 0 || index >= dataSets.size()) return nullptr;
    return dataSets[index];
}

QStringList TPreparedReport::PageTexts(int page) const {
    QStringList out;
    if (page < 0 || page >= PageCount()) return out;
    const QString total = QString::number(PageCount());
    for (const TDrawOp& op : pages[size_t(page)].ops) {
        if (op.object->kind == ObjectKind::Text) out << QString(op.text).replace(kPagesToken, total);
    }
    return out;
}

QFont ReportFont(const TReportObject& object, const TReportPage& page) {
    const QString family = object.fontFamily.isEmpty() ? page.fontFamily : object.fontFamily;
    QFont f;
    // Latin letters and digits come from a Latin font before the CJK one: with the CJK font's own
    // Latin glyphs, digits inside words lose their text in PDF files (copy, search, pdftotext).
    if (family.contains(QLatin1String("CJK")))
        f.setFamilies({QStringLiteral("DejaVu Sans"), family});
    else
        f.setFamilies({family, QStringLiteral("Noto Sans CJK SC")});
    const double pt = object.fontSize > 0 ? object.fontSize : page.fontSize;
    // One point is 10 reference units.
    f.setPixelSize(qMax(1, qRound(pt * 10)));
    f.setBold(object.bold);
    f.setItalic(object.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

}  // namespace rpt
