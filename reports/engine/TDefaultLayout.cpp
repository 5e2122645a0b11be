#include "reports/engine/TDefaultLayout.h"

#include <QRegularExpression>

#include "core/TDataSet.h"

namespace rpt {

namespace {

// Width of a text in character cells: characters outside ASCII take two.
int textCells(const QString& text) {
    int n = 0;
    for (QChar c : text)
        n += c.unicode() < 128 ? 1 : 2;
    return n;
}

QString literal(const QString& text) {
    return QString(text).replace(u'[', QStringLiteral("[["));
}

TReportObject cell(double x, double w, double h, const QString& text, double size) {
    TReportObject o;
    o.rect = QRectF(x, 0, w, h);
    o.text = text;
    o.fontSize = size;
    return o;
}

}  // namespace

bool TDefaultLayout::IsMoney(const TField& field) {
    if (field.Kind() != TFieldKind::Float) return false;
    static const QRegularExpression names(
        QStringLiteral("fund|fine|price|money|amount|charge|cost|deposit|fee|pay"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression captions(QStringLiteral("金额|罚款|押金|价格|单价|定价|费|款"));
    return field.DisplayFormat == QLatin1String("0.00") || names.match(field.FieldName()).hasMatch() ||
           captions.match(field.Caption()).hasMatch();
}

TReportDocument TDefaultLayout::Generate(const TDataSet& ds, const QString& title, const QString& source) {
    TReportDocument doc;
    QList<const TField*> fields;
    QList<double> widths;
    for (int i = 0; i < ds.FieldCount(); ++i) {
        const TField* f = ds.Field(i);
        if (!f->Visible || f->Kind() == TFieldKind::Blob) continue;
        fields << f;
        const int cells = qBound(4, qMax(f->DisplayWidth, textCells(f->Caption())), 40);
        widths << cells * 1.9 + 2;
    }
    double natural = 0;
    for (double w : widths)
        natural += w;

    // Landscape when the columns would have to shrink noticeably on a portrait page.
    if (natural > doc.page.PrintableWidth() * 1.15) doc.page.landscape = true;
    const double printable = doc.page.PrintableWidth();
    const double scale = natural > 0 ? printable / natural : 1;
    // Squeezed columns get a smaller font so that their text still fits.
    const double bodySize = scale < 0.8 ? 8 : 9;
    for (double& w : widths)
        w *= scale;

    const double rowH = bodySize * 0.6 + 1.2;

    TReportBand titleBand;
    titleBand.kind = BandKind::ReportTitle;
    titleBand.height = 20;
    TReportObject company = cell(0, printable, 9, QStringLiteral("[u_Company]"), 16);
    company.bold = true;
    company.hAlign = 1;
    TReportObject heading = cell(0, printable, 7, literal(title), 12);
    heading.rect.moveTop(10);
    heading.hAlign = 1;
    titleBand.objects << company << heading;
    doc.bands << titleBand;

    TReportBand header;
    header.kind = BandKind::PageHeader;
    header.height = rowH + 1;
    TReportBand data;
    data.kind = BandKind::Data;
    data.source = source;
    data.height = rowH;
    double x = 0;
    QList<int> moneyColumns;
    for (int i = 0; i < fields.size(); ++i) {
        const TField* f = fields[i];
        TReportObject caption = cell(x, widths[i], header.height, literal(f->Caption()), bodySize);
        caption.bold = true;
        caption.hAlign = 1;
        caption.borders = BorderAll;
        caption.fill = QColor(0xEE, 0xEE, 0xEE);
        caption.canGrow = true;
        caption.stretch = true;
        header.objects << caption;

        TReportObject value =
            cell(x, widths[i], rowH, QStringLiteral("[%1.%2]").arg(source, f->FieldName()), bodySize);
        value.borders = BorderAll;
        value.canGrow = true;
        value.stretch = true;
        switch (f->Kind()) {
            case TFieldKind::Integer:
            case TFieldKind::Float:
                value.hAlign = 2;
                break;
            case TFieldKind::DateTime:
            case TFieldKind::Boolean:
                value.hAlign = 1;
                break;
            default:
                break;
        }
        if (IsMoney(*f)) {
            value.format = QStringLiteral("0.00");
            moneyColumns << i;
        }
        data.objects << value;
        x += widths[i];
    }
    doc.bands << header << data;

    TReportBand summary;
    summary.kind = BandKind::Summary;
    summary.height = rowH + 1;
    const int firstMoney = moneyColumns.isEmpty() ? int(fields.size()) : moneyColumns.first();
    double countWidth = 0;
    for (int i = 0; i < firstMoney; ++i)
        countWidth += widths[i];
    if (countWidth <= 0)
        countWidth = printable;  // the first column holds money: the count goes on its own line
    TReportObject count =
        cell(0, countWidth, summary.height, QStringLiteral("合计: 共 [COUNT()] 条"), bodySize);
    count.bold = true;
    count.borders = BorderAll;
    summary.objects << count;
    double mx = 0;
    for (int i = 0; i < fields.size(); ++i) {
        if (moneyColumns.contains(i) && !(firstMoney == 0 && countWidth == printable)) {
            TReportObject sum =
                cell(mx, widths[i], summary.height,
                     QStringLiteral("[SUM(%1.%2)]").arg(source, fields[i]->FieldName()), bodySize);
            sum.format = QStringLiteral("0.00");
            sum.hAlign = 2;
            sum.bold = true;
            sum.borders = BorderAll;
            summary.objects << sum;
        }
        mx += widths[i];
    }
    doc.bands << summary;

    TReportBand footer;
    footer.kind = BandKind::PageFooter;
    footer.height = 8;
    TReportObject rule;
    rule.kind = ObjectKind::Line;
    rule.rect = QRectF(0, 1, printable, 0);
    rule.borderWidth = 0.3;
    const double third = printable / 3;
    TReportObject op = cell(0, third, 6, QStringLiteral("制表人: [u_Operator]"), 9);
    op.rect.moveTop(2);
    TReportObject pages = cell(third, third, 6, QStringLiteral("[Page] / [Pages]"), 9);
    pages.rect.moveTop(2);
    pages.hAlign = 1;
    TReportObject date = cell(2 * third, third, 6, QStringLiteral("打印日期: [Date]"), 9);
    date.rect.moveTop(2);
    date.hAlign = 2;
    date.format = QStringLiteral("yyyy-MM-dd");
    footer.objects << rule << op << pages << date;
    doc.bands << footer;
    return doc;
}

}  // namespace rpt
