#include "reports/engine/TReportDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace rpt {

namespace {

struct Paper {
    const char* name;
    double width, height;
};
constexpr Paper kPapers[] = {{"A4", 210, 297}, {"A5", 148, 210}, {"B5", 176, 250}, {"Letter", 215.9, 279.4}};

const char* const kBandNames[] = {"reportTitle", "pageHeader", "groupHeader", "data",
                                  "groupFooter", "summary",    "pageFooter"};
const char* const kObjectNames[] = {"text", "line", "rect", "image", "barcode"};
const char* const kBarcodeNames[] = {"code128", "ean13", "qr"};

template <typename E, size_t N>
bool enumFromName(const char* const (&names)[N], const QString& name, E* out) {
    for (size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i])) {
            *out = E(i);
            return true;
        }
    }
    return false;
}

QJsonArray rectJson(const QRectF& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QJsonObject objectJson(const TReportObject& o) {
    const TReportObject d;
    QJsonObject j;
    j["type"] = kObjectNames[int(o.kind)];
    j["rect"] = rectJson(o.rect);
    if (!o.text.isEmpty()) j["text"] = o.text;
    if (o.fontFamily != d.fontFamily) j["font"] = o.fontFamily;
    if (o.fontSize != d.fontSize) j["size"] = o.fontSize;
    if (o.bold) j["bold"] = true;
    if (o.italic) j["italic"] = true;
    if (o.hAlign != d.hAlign) j["align"] = o.hAlign;
    if (o.vAlign != d.vAlign) j["valign"] = o.vAlign;
    if (o.borders != d.borders) j["borders"] = o.borders;
    if (o.borderWidth != d.borderWidth) j["borderWidth"] = o.borderWidth;
    if (o.color != d.color) j["color"] = o.color.name();
    if (o.fill.isValid()) j["fill"] = o.fill.name();
    if (!o.format.isEmpty()) j["format"] = o.format;
    if (o.canGrow) j["canGrow"] = true;
    if (o.stretch) j["stretch"] = QStringLiteral("band");
    if (!o.wordWrap) j["wordWrap"] = false;
    if (o.padding != d.padding) j["padding"] = o.padding;
    if (!o.image.isEmpty()) j["image"] = QString::fromLatin1(o.image.toBase64());
    if (o.kind == ObjectKind::Barcode) j["symbology"] = kBarcodeNames[int(o.barcode)];
    return j;
}

bool readRect(const QJsonValue& v, QRectF* r) {
    const QJsonArray a = v.toArray();
    if (a.size() != 4) return false;
    for (const QJsonValue& x : a)
        if (!x.isDouble()) return false;
    *r = QRectF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble());
    return r->width() >= 0 && r->height() >= 0;
}

bool readObject(const QJsonObject& j, TReportObject* o, QString* error) {
    if (!enumFromName(kObjectNames, j["type"].toString(), &o->kind)) {
        *error = QStringLiteral("unknown object type \"%1\"").arg(j["type"].toString());
        return false;
    }
    if (!readRect(j["rect"], &o->rect)) {
        *error = QStringLiteral("object without a valid rect");
        return false;
    }
    const TReportObject d;
    o->text = j["text"].toString();
    o->fontFamily = j["font"].toString();
    o->fontSize = j["size"].toDouble(d.fontSize);
    o->bold = j["bold"].toBool();
    o->italic = j["italic"].toBool();
    o->hAlign = std::clamp(j["align"].toInt(d.hAlign), 0, 2);
    o->vAlign = std::clamp(j["valign"].toInt(d.vAlign), 0, 2);
    o->borders = j["borders"].toInt(d.borders) & BorderAll;
    o->borderWidth = j["borderWidth"].toDouble(d.borderWidth);
    if (j.contains("color")) o->color = QColor(j["color"].toString());
    if (j.contains("fill")) o->fill = QColor(j["fill"].toString());
    o->format = j["format"].toString();
    o->canGrow = j["canGrow"].toBool();
    o->stretch = j["stretch"].toString() == QLatin1String("band");
    o->wordWrap = j["wordWrap"].toBool(true);
    o->padding = j["padding"].toDouble(d.padding);
    o->image = QByteArray::fromBase64(j["image"].toString().toLatin1());
    if (j.contains("symbology") && !enumFromName(kBarcodeNames, j["symbology"].toString(), &o->barcode)) {
        *error = QStringLiteral("unknown barcode symbology \"%1\"").arg(j["symbology"].toString());
        return false;
    }
    return true;
}

}  // namespace

bool TReportPage::SetPaper(const QString& name) {
    for (const Paper& p : kPapers) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            paper = QLatin1String(p.name);
            width = p.width;
            height = p.height;
            return true;
        }
    }
    return false;
}

void TReportDocument::Clear() {
    *this = TReportDocument();
}

QList<int> TReportDocument::BandsOf(BandKind kind) const {
    QList<int> out;
    for (int i = 0; i < bands.size(); ++i)
        if (bands[i].kind == kind) out << i;
    return out;
}

void TReportDocument::SortBands() {
    std::stable_sort(bands.begin(), bands.end(),
                     [](const TReportBand& a, const TReportBand& b) { return int(a.kind) < int(b.kind); });
}

QByteArray TReportDocument::ToJson() const {
    const TReportPage d;
    QJsonObject p;
    p["paper"] = page.paper;
    if (page.paper == QLatin1String("Custom")) {
        p["width"] = page.width;
        p["height"] = page.height;
    }
    if (page.landscape) p["orientation"] = QStringLiteral("landscape");
    p["margins"] = QJsonArray{page.marginLeft, page.marginTop, page.marginRight, page.marginBottom};
    if (page.fontFamily != d.fontFamily) p["font"] = page.fontFamily;
    if (page.fontSize != d.fontSize) p["fontSize"] = page.fontSize;

    QJsonArray bandArray;
    for (const TReportBand& b : bands) {
        QJsonObject jb;
        jb["type"] = kBandNames[int(b.kind)];
        jb["height"] = b.height;
        if (b.kind == BandKind::Data && b.source != QLatin1String("d0")) jb["source"] = b.source;
        if (!b.condition.isEmpty()) jb["condition"] = b.condition;
        QJsonArray objects;
        for (const TReportObject& o : b.objects)
            objects.append(objectJson(o));
        if (!objects.isEmpty()) jb["objects"] = objects;
        bandArray.append(jb);
    }
    QJsonObject root;
    root["version"] = 1;
    root["page"] = p;
    root["bands"] = bandArray;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool TReportDocument::FromJson(const QByteArray& bytes, QString* error) {
    QString dummy;
    if (!error) error = &dummy;
    QJsonParseError pe;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &pe);
    if (json.isNull() || !json.isObject()) {
        *error = QStringLiteral("not a layout document: %1").arg(pe.errorString());
        return false;
    }
    const QJsonObject root = json.object();
    const int version = root["version"].toInt(0);
    if (version != 1) {
        *error = QStringLiteral("unsupported layout version %1").arg(version);
        return false;
    }
    TReportDocument doc;
    const QJsonObject p = root["page"].toObject();
    const QString paper = p["paper"].toString(QStringLiteral("A4"));
    if (!doc.page.SetPaper(paper)) {
        doc.page.paper = QStringLiteral("Custom");
        doc.page.width = p["width"].toDouble(210);
        doc.page.height = p["height"].toDouble(297);
    }
    doc.page.landscape = p["orientation"].toString() == QLatin1String("landscape");
    const QJsonArray m = p["margins"].toArray();
    if (m.size() == 4) {
        doc.page.marginLeft = m[0].toDouble();
        doc.page.marginTop = m[1].toDouble();
        doc.page.marginRight = m[2].toDouble();
        doc.page.marginBottom = m[3].toDouble();
    }
    doc.page.fontFamily = p["font"].toString(doc.page.fontFamily);
    doc.page.fontSize = p["fontSize"].toDouble(doc.page.fontSize);
    if (doc.page.width <= 0 || doc.page.height <= 0 || doc.page.PrintableWidth() <= 0 ||
        doc.page.PrintableHeight() <= 0) {
        *error = QStringLiteral("page size or margins leave no printable area");
        return false;
    }

    for (const QJsonValue& vb : root["bands"].toArray()) {
        const QJsonObject jb = vb.toObject();
        TReportBand b;
        if (!enumFromName(kBandNames, jb["type"].toString(), &b.kind)) {
            *error = QStringLiteral("unknown band type \"%1\"").arg(jb["type"].toString());
            return false;
        }
        b.height = jb["height"].toDouble(b.height);
        if (b.height < 0) {
            *error = QStringLiteral("negative band height");
            return false;
        }
        b.source = jb["source"].toString(QStringLiteral("d0"));
        b.condition = jb["condition"].toString();
        for (const QJsonValue& vo : jb["objects"].toArray()) {
            TReportObject o;
            if (!readObject(vo.toObject(), &o, error)) return false;
            b.objects.append(o);
        }
        doc.bands.append(b);
    }
    doc.SortBands();
    *this = doc;
    return true;
}

QString TReportDocument::BandKindName(BandKind kind) {
    return QLatin1String(kBandNames[int(kind)]);
}

QString TReportDocument::BandKindCaption(BandKind kind) {
    switch (kind) {
        case BandKind::ReportTitle:
            return QStringLiteral("报表标题");
        case BandKind::PageHeader:
            return QStringLiteral("页眉");
        case BandKind::GroupHeader:
            return QStringLiteral("分组头");
        case BandKind::Data:
            return QStringLiteral("数据");
        case BandKind::GroupFooter:
            return QStringLiteral("分组尾");
        case BandKind::Summary:
            return QStringLiteral("报表合计");
        case BandKind::PageFooter:
            return QStringLiteral("页脚");
    }
    return QString();
}

}  // namespace rpt
