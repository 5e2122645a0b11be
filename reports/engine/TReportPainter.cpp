#include "reports/engine/TReportPainter.h"

#include <zint.h>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "reports/engine/TReportExpr.h"
#include "reports/engine/TReportFonts.h"

namespace rpt {

namespace {

int alignFlags(const TReportObject& o) {
    int f = o.hAlign == 1 ? Qt::AlignHCenter : (o.hAlign == 2 ? Qt::AlignRight : Qt::AlignLeft);
    f |= o.vAlign == 0 ? Qt::AlignTop : (o.vAlign == 2 ? Qt::AlignBottom : Qt::AlignVCenter);
    if (o.wordWrap) f |= Qt::TextWordWrap;
    return f;
}

QPen linePen(const TReportObject& o) {
    QPen pen(o.color);
    pen.setWidthF(qMax(0.05, o.borderWidth) * kRefPerMm);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

QRectF ref(const QRectF& mm) {
    return QRectF(mm.x() * kRefPerMm, mm.y() * kRefPerMm, mm.width() * kRefPerMm, mm.height() * kRefPerMm);
}

void paintBorders(QPainter& p, const TReportObject& o, const QRectF& r) {
    if (!o.borders) return;
    p.setPen(linePen(o));
    if (o.borders == BorderAll) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        return;
    }
    if (o.borders & BorderLeft) p.drawLine(r.topLeft(), r.bottomLeft());
    if (o.borders & BorderTop) p.drawLine(r.topLeft(), r.topRight());
    if (o.borders & BorderRight) p.drawLine(r.topRight(), r.bottomRight());
    if (o.borders & BorderBottom) p.drawLine(r.bottomLeft(), r.bottomRight());
}

}  // namespace

bool PaintBarcode(QPainter& painter, const QRectF& rect, Barcode type, const QString& data) {
    if (data.isEmpty() || rect.isEmpty()) return false;
    zint_symbol* symbol = ZBarcode_Create();
    if (!symbol) return false;
    symbol->symbology =
        type == Barcode::Ean13 ? BARCODE_EANX : (type == Barcode::QrCode ? BARCODE_QRCODE : BARCODE_CODE128);
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = type == Barcode::QrCode ? 0 : 1;
    const QByteArray utf8 = data.toUtf8();
    const int err = ZBarcode_Encode_and_Buffer_Vector(
        symbol, reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()), 0);
    if (err >= ZINT_ERROR || !symbol->vector) {
        ZBarcode_Delete(symbol);
        return false;
    }
    const zint_vector* v = symbol->vector;
    // Scale the symbol into the rectangle; QR codes keep their square shape.
    double sx = rect.width() / v->width, sy = rect.height() / v->height;
    double ox = rect.x(), oy = rect.y();
    if (type == Barcode::QrCode) {
        const double s = qMin(sx, sy);
        ox += (rect.width() - v->width * s) / 2;
        oy += (rect.height() - v->height * s) / 2;
        sx = sy = s;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const zint_vector_rect* r = v->rectangles; r; r = r->next)
        painter.drawRect(QRectF(ox + r->x * sx, oy + r->y * sy, r->width * sx, r->height * sy));
    for (const zint_vector_string* s = v->strings; s; s = s->next) {
        QFont f(QStringLiteral("Noto Sans Mono"));
        f.setPixelSize(qMax(1, int(s->fsize * sy)));
        painter.setFont(f);
        painter.setPen(Qt::black);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length);
        const double w = s->width > 0 ? s->width * sx : rect.width();
        painter.drawText(QRectF(ox + s->x * sx - w / 2, oy + (s->y - s->fsize) * sy, w, s->fsize * sy * 1.2),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
    }
    painter.restore();
    ZBarcode_Delete(symbol);
    return true;
}

void TReportPainter::PaintPage(QPainter& p, const TPreparedReport& report, int page, double pxPerMm) {
    if (page < 0 || page >= report.PageCount()) return;
    const TReportPage& setup = report.Page();
    const QString pages = QString::number(report.PageCount());
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(pxPerMm / kRefPerMm, pxPerMm / kRefPerMm);
    // Fonts built once per object of the page, not once per cell.
    QHash<const TReportObject*, QFont> fonts;
    const TReportObject* lastFontObject = nullptr;
    for (const TDrawOp& op : report.pages[size_t(page)].ops) {
        const TReportObject& o = *op.object;
        const QRectF r = ref(op.rect);
        const bool clipped = !op.clip.isEmpty();
        if (clipped) {
            p.save();
            p.setClipRect(ref(op.clip));
        }
        switch (o.kind) {
            case ObjectKind::Text: {
                if (o.fill.isValid()) p.fillRect(r, o.fill);
                if (!op.text.isEmpty()) {
                    if (lastFontObject != &o) {
                        auto font = fonts.find(&o);
                        if (font == fonts.end()) font = fonts.insert(&o, ReportFont(o, setup));
                        p.setFont(*font);
                        lastFontObject = &o;
                    }
                    p.setPen(o.color);
                    const double pad = o.padding * kRefPerMm;
                    QString text = op.text;
                    if (text.contains(kPagesToken)) text.replace(kPagesToken, pages);
                    p.drawText(r.adjusted(pad, pad, -pad, -pad), alignFlags(o), text);
                }
                paintBorders(p, o, r);
                break;
            }
            case ObjectKind::Line:
                p.setPen(linePen(o));
                // A line runs along the longer side of its rectangle.
                if (r.width() >= r.height())
                    p.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
                else
                    p.drawLine(QPointF(r.left(), r.top()), QPointF(r.left(), r.bottom()));
                break;
            case ObjectKind::Rect:
                p.setPen(linePen(o));
                p.setBrush(o.fill.isValid() ? QBrush(o.fill) : QBrush(Qt::NoBrush));
                p.drawRect(r);
                p.setBrush(Qt::NoBrush);
                break;
            case ObjectKind::Image: {
                QImage image;
                if (image.loadFromData(o.image)) {
                    const QSizeF size = QSizeF(image.size()).scaled(r.size(), Qt::KeepAspectRatio);
                    p.drawImage(QRectF(r.x() + (r.width() - size.width()) / 2,
                                       r.y() + (r.height() - size.height()) / 2, size.width(), size.height()),
                                image);
                }
                paintBorders(p, o, r);
                break;
            }
            case ObjectKind::Barcode:
                PaintBarcode(p, r, o.barcode, op.text);
                break;
        }
        if (clipped) p.restore();
    }
    p.restore();
}

QImage TReportPainter::RenderPage(const TPreparedReport& report, int page, double dpi) {
    const double pxPerMm = dpi / 25.4;
    const TReportPage& setup = report.Page();
    QImage image(qMax(1, qRound(setup.PageWidth() * pxPerMm)), qMax(1, qRound(setup.PageHeight() * pxPerMm)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    PaintPage(p, report, page, pxPerMm);
    return image;
}

void TReportPainter::PaintPages(QPagedPaintDevice& device, const TPreparedReport& report, int first,
                                int last) {
    first = qMax(0, first);
    last = qMin(last, report.PageCount() - 1);
    QPainter p(&device);
    const double pxPerMm = device.logicalDpiX() / 25.4;
    for (int page = first; page <= last; ++page) {
        if (page > first) device.newPage();
        PaintPage(p, report, page, pxPerMm);
    }
}

QPageLayout ReportPageLayout(const TReportPage& setup) {
    return QPageLayout(QPageSize(QSizeF(setup.width, setup.height), QPageSize::Millimeter, setup.paper,
                                 QPageSize::FuzzyOrientationMatch),
                       setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

bool TReportPainter::ExportPdf(const TPreparedReport& report, const QString& fileName, QString* error) {
    {
        // QPdfWriter gives no error of its own for a file it cannot create.
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            if (error) *error = QStringLiteral("无法写入文件 %1").arg(fileName);
            return false;
        }
    }
    QPdfWriter writer(fileName);
    writer.setCreator(QStringLiteral("澄谷图书管理系统"));
    writer.setResolution(600);
    writer.setPageLayout(ReportPageLayout(report.Page()));
    PaintPages(writer, report, 0, report.PageCount() - 1);
    if (!QFileInfo(fileName).exists() || QFileInfo(fileName).size() == 0) {
        if (error) *error = QStringLiteral("无法写入文件 %1").arg(fileName);
        return false;
    }
    return true;
}

QString TReportPainter::PngPageName(const QString& fileName, int page) {
    if (page == 0) return fileName;
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix();
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral("_%1.").arg(page + 1) + suffix;
}

bool TReportPainter::ExportPng(const TPreparedReport& report, const QString& fileName, double dpi,
                               QString* error) {
    for (int page = 0; page < report.PageCount(); ++page) {
        const QString name = PngPageName(fileName, page);
        if (!RenderPage(report, page, dpi).save(name, "PNG")) {
            if (error) *error = QStringLiteral("无法写入文件 %1").arg(name);
            return false;
        }
    }
    return true;
}

}  // namespace rpt
