#include "reports/engine/TReportLayouter.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QHash>
#include <QRegularExpression>
#include <cmath>
#include <unordered_map>

#include "core/TDataSet.h"
#include "reports/engine/TReportExpr.h"
#include "reports/engine/TReportFonts.h"

namespace rpt {

namespace {

enum class Scope { Report, Page, Group };

struct Accumulator {
    double sum = 0;
    qint64 count = 0;
    QVariant min, max;
    bool integral = true;

    void Reset() { *this = Accumulator(); }
    void Add(const QVariant& v, bool countOnly) {
        if (countOnly) {
            ++count;
            return;
        }
        if (v.isNull() || !v.isValid()) return;
        ++count;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok) {
            sum += d;
            if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) integral = false;
        }
        if (min.isNull() || QVariant::compare(v, min) == QPartialOrdering::Less) min = v;
        if (max.isNull() || QVariant::compare(v, max) == QPartialOrdering::Greater) max = v;
    }
    QVariant Value(const QString& fn) const {
        if (fn == u"COUNT") return count;
        if (fn == u"SUM") return integral ? QVariant(qint64(std::llround(sum))) : QVariant(sum);
        if (fn == u"AVG") return count ? QVariant(sum / double(count)) : QVariant();
        if (fn == u"MIN") return min;
        return max;
    }
};

struct AggregateInfo {
    Scope scope = Scope::Report;
    int groupLevel = 0;
    Accumulator acc;
};

// Per-object state prepared once: the parsed text and the font metrics.
struct ObjectInfo {
    std::unique_ptr<TTextTemplate> text;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
    // Upper bounds of one character's advance (printable ASCII, anything else), so that most
    // cells are known to fit on one line without shaping their text.
    double asciiMax = 0, otherMax = 0;
    bool simpleField = false;  // the text is one [d0.X] with no format: the cell's display text
    QString source, field;
};

struct PlacedOp {
    const TReportObject* object;
    QRectF rect;  // relative to the band's top-left
    QString text;
};

class Layouter : public TEvalContext {
public:
    Layouter(const TReportDocument& doc, const TReportData& data) : data_(data) {
        auto copy = std::make_shared<TReportDocument>(doc);
        copy->SortBands();
        out_.document = copy;
        doc_ = copy.get();
        page_ = &doc_->page;
    }

    TPreparedReport Run();

    QVariant Name(const QString& source, const QString& name) const override;
    QVariant Aggregate(const TExprNode* node) const override {
        auto it = aggregates_.find(node);
        return it == aggregates_.end() ? QVariant() : it->second.acc.Value(node->name);
    }

private:
    void prepareObjects();
    void collectAggregates();
    void precomputeReportAggregates(TDataSet* ds);
    void accumulate(Scope scope, int minGroupLevel);
    void resetScope(Scope scope, int groupLevel);

    double contentTop() const { return page_->marginTop; }
    double footerHeight() const;
    double pageBottom() const { return page_->PageHeight() - page_->marginBottom - footerHeight(); }
    void startPage();
    void finishPage();
    void placeBand(const TReportBand& band);
    void placeFixed(const TReportBand& band);
    void evaluateBand(const TReportBand& band, std::vector<PlacedOp>* ops, double* height);
    void emitOps(const std::vector<PlacedOp>& ops, double top, const QRectF& clip);
    int fieldIndex(TDataSet* ds, const QString& name) const;

    const TReportData& data_;
    const TReportDocument* doc_;
    const TReportPage* page_;
    TPreparedReport out_;
    std::unordered_map<const TReportObject*, ObjectInfo> objects_;
    std::unordered_map<const TExprNode*, AggregateInfo> aggregates_;
    mutable QHash<QPair<TDataSet*, QString>, int> fieldIndexes_;

    // Where the data band is.
    TDataSet* dataSet_ = nullptr;
    QString dataSource_;
    int dataRow_ = -1;  // view row of the data source while rows are placed
    int rowNumber_ = 0;
    bool inPage_ = false;
    bool pageHasBody_ = false;
    double y_ = 0;
    QDateTime now_ = QDateTime::currentDateTime();
};

QVariant Layouter::Name(const QString& source, const QString& name) const {
    if (source.isEmpty()) {
        if (name.compare(u"Page", Qt::CaseInsensitive) == 0) return int(out_.pages.size());
        if (name.compare(u"Pages", Qt::CaseInsensitive) == 0) return QString(kPagesToken);
        if (name.compare(u"Row", Qt::CaseInsensitive) == 0 || name.compare(u"Line", Qt::CaseInsensitive) == 0)
            return rowNumber_;
        if (name.compare(u"Date", Qt::CaseInsensitive) == 0) return QDateTime(now_.date(), QTime(0, 0));
        if (name.compare(u"Time", Qt::CaseInsensitive) == 0)
            return now_.time().toString(QStringLiteral("hh:mm:ss"));
        if (name.compare(u"Now", Qt::CaseInsensitive) == 0) return now_;
        QString value;
        if (data_.Variable(name, &value)) return value;
        return QVariant();
    }
    if (source.compare(u"u", Qt::CaseInsensitive) == 0) {
        // The one-row source "u": a field named like a variable gives its value, any other the name.
        QString value;
        return data_.Variable(name, &value) ? value : name;
    }
    TDataSet* ds = data_.Source(source);
    if (!ds || !ds->Active()) return QVariant();
    const int column = fieldIndex(ds, name);
    if (column < 0) return QVariant();
    int row = (ds == dataSet_ && dataRow_ >= 0) ? dataRow_ : ds->RecNo();
    if (row < 0 && ds->RecordCount() > 0) row = 0;
    if (row < 0) return QVariant();
    return ds->CellValue(row, column);
}

int Layouter::fieldIndex(TDataSet* ds, const QString& name) const {
    const auto key = qMakePair(ds, name);
    auto it = fieldIndexes_.constFind(key);
    if (it != fieldIndexes_.constEnd()) return *it;
    const int index = ds->FieldIndex(name);
    fieldIndexes_.insert(key, index);
    return index;
}

void Layouter::prepareObjects() {
    static const QRegularExpression simple(QStringLiteral("^\\[\\s*(d\\d+)\\.(\\w+)\\s*\\]$"));
    for (const TReportBand& band : doc_->bands) {
        for (const TReportObject& o : band.objects) {
            ObjectInfo info;
            if (o.kind == ObjectKind::Text || o.kind == ObjectKind::Barcode) {
                info.text = std::make_unique<TTextTemplate>(o.text);
                const auto m = simple.match(o.text);
                if (m.hasMatch() && o.format.isEmpty()) {
                    info.simpleField = true;
                    info.source = m.captured(1);
                    info.field = m.captured(2);
                }
            }
            if (o.kind == ObjectKind::Text) {
                info.font = ReportFont(o, *page_);
                info.metrics = std::make_unique<QFontMetricsF>(info.font);
                for (char16_t c = 32; c < 127; ++c)
                    info.asciiMax = qMax(info.asciiMax, info.metrics->horizontalAdvance(QChar(c)));
                info.otherMax = qMax(info.metrics->maxWidth(), 1.1 * info.font.pixelSize());
            }
            objects_.emplace(&o, std::move(info));
        }
    }
}

void Layouter::collectAggregates() {
    int groupLevel = 0;
    const int groups = doc_->BandsOf(BandKind::GroupHeader).size();
    int footerSeen = 0;
    for (const TReportBand& band : doc_->bands) {
        Scope scope = Scope::Report;
        int level = 0;
        switch (band.kind) {
            case BandKind::PageHeader:
            case BandKind::PageFooter:
                scope = Scope::Page;
                break;
            case BandKind::GroupHeader:
                scope = Scope::Group;
                level = groupLevel++;
                break;
            case BandKind::GroupFooter:
                // Footers close the groups from the innermost outwards.
                scope = Scope::Group;
                level = qMax(0, groups - 1 - footerSeen++);
                break;
            default:
                break;
        }
        for (const TReportObject& o : band.objects) {
            const ObjectInfo& info = objects_.at(&o);
            if (!info.text) continue;
            for (const TExprNode* node : info.text->Aggregates())
                aggregates_[node] = {scope, level, {}};
        }
    }
}

void Layouter::accumulate(Scope scope, int minGroupLevel) {
    for (auto& [node, info] : aggregates_) {
        if (info.scope != scope || (scope == Scope::Group && info.groupLevel < minGroupLevel)) continue;
        if (node->args.empty())
            info.acc.Add(QVariant(), true);
        else
            info.acc.Add(TExpression::EvaluateNode(node->args[0].get(), *this), false);
    }
}

void Layouter::resetScope(Scope scope, int groupLevel) {
    for (auto& [node, info] : aggregates_)
        if (info.scope == scope && (scope != Scope::Group || info.groupLevel >= groupLevel)) info.acc.Reset();
}

void Layouter::precomputeReportAggregates(TDataSet* ds) {
    if (!ds) return;
    const int rows = ds->RecordCount();
    for (int r = 0; r < rows; ++r) {
        dataRow_ = r;
        rowNumber_ = r + 1;
        accumulate(Scope::Report, 0);
    }
    dataRow_ = -1;
    rowNumber_ = 0;
}

double Layouter::footerHeight() const {
    double h = 0;
    for (const TReportBand& b : doc_->bands)
        if (b.kind == BandKind::PageFooter) h += b.height;
    return h;
}

// True when the text surely fits on one line of the width (reference units).
bool fitsOneLine(const ObjectInfo& info, const QString& text, double width) {
    double bound = 0;
    for (QChar c : text) {
        if (c == u'\n') return false;
        bound += (c.unicode() >= 32 && c.unicode() < 127) ? info.asciiMax : info.otherMax;
    }
    return bound <= width || info.metrics->horizontalAdvance(text) <= width;
}

void Layouter::evaluateBand(const TReportBand& band, std::vector<PlacedOp>* ops, double* height) {
    double h = band.height;
    ops->clear();
    ops->reserve(size_t(band.objects.size()));
    for (const TReportObject& o : band.objects) {
        const ObjectInfo& info = objects_.at(&o);
        PlacedOp op{&o, o.rect, QString()};
        if (info.text) {
            if (info.simpleField) {
                TDataSet* ds = data_.Source(info.source);
                const int column = ds && ds->Active() ? fieldIndex(ds, info.field) : -1;
                int row = (ds == dataSet_ && dataRow_ >= 0) ? dataRow_ : (ds ? ds->RecNo() : -1);
                if (row < 0 && ds && column >= 0 && ds->RecordCount() > 0) row = 0;
                if (column >= 0 && row >= 0) op.text = ds->CellText(row, column);
            } else {
                op.text = info.text->Evaluate(*this, o.format);
            }
        }
        if (o.kind == ObjectKind::Text && o.canGrow && !op.text.isEmpty()) {
            const double widthRef = (o.rect.width() - 2 * o.padding) * kRefPerMm;
            // Text on one line keeps the designed height; only wrapped or multi-line text grows.
            if (!fitsOneLine(info, op.text, widthRef)) {
                const int flags = o.wordWrap ? Qt::TextWordWrap : 0;
                const double textH =
                    info.metrics->boundingRect(QRectF(0, 0, widthRef, 1e9), flags, op.text).height() /
                    kRefPerMm;
                op.rect.setHeight(qMax(o.rect.height(), textH + 2 * o.padding));
            }
        }
        h = qMax(h, op.rect.bottom());
        ops->push_back(std::move(op));
    }
    for (PlacedOp& op : *ops)
        if (op.object->stretch) op.rect.setHeight(h - op.rect.top());
    *height = h;
}

void Layouter::emitOps(const std::vector<PlacedOp>& ops, double top, const QRectF& clip) {
    auto& page = out_.pages.back().ops;
    for (const PlacedOp& op : ops) {
        TDrawOp d;
        d.object = op.object;
        d.rect = op.rect.translated(page_->marginLeft, top);
        d.text = op.text;
        d.clip = clip;
        if (!clip.isEmpty() && !d.rect.intersects(clip) && d.rect.height() > 0) continue;
        page.push_back(std::move(d));
    }
}

void Layouter::startPage() {
    out_.pages.emplace_back();
    // Room for a typical page of cells, so a page's operations are not copied as they grow.
    out_.pages.back().ops.reserve(out_.pages.size() > 1 ? out_.pages[out_.pages.size() - 2].ops.size() : 64);
    inPage_ = true;
    pageHasBody_ = false;
    y_ = contentTop();
    resetScope(Scope::Page, 0);
    if (out_.pages.size() == 1) {
        for (const TReportBand& b : doc_->bands)
            if (b.kind == BandKind::ReportTitle) placeFixed(b);
    }
    for (const TReportBand& b : doc_->bands)
        if (b.kind == BandKind::PageHeader) placeFixed(b);
}

// Title and page header: placed where the page begins, cut off at the page footer if too tall.
void Layouter::placeFixed(const TReportBand& band) {
    std::vector<PlacedOp> ops;
    double h;
    evaluateBand(band, &ops, &h);
    const double room = qMax(0.0, pageBottom() - y_);
    if (h > room) {
        emitOps(ops, y_, QRectF(page_->marginLeft, y_, page_->PrintableWidth(), room));
        h = room;
    } else {
        emitOps(ops, y_, QRectF());
    }
    y_ += h;
}

void Layouter::finishPage() {
    if (!inPage_) return;
    double top = page_->PageHeight() - page_->marginBottom - footerHeight();
    std::vector<PlacedOp> ops;
    for (const TReportBand& b : doc_->bands) {
        if (b.kind != BandKind::PageFooter) continue;
        double h;
        evaluateBand(b, &ops, &h);
        // The footer keeps its designed height so that it never runs off the page.
        emitOps(ops, top, QRectF(page_->marginLeft, top, page_->PrintableWidth(), b.height));
        top += b.height;
    }
    inPage_ = false;
}

void Layouter::placeBand(const TReportBand& band) {
    if (!inPage_) startPage();
    std::vector<PlacedOp> ops;
    double h;
    evaluateBand(band, &ops, &h);
    if (y_ + h > pageBottom() + 1e-6 && pageHasBody_) {
        finishPage();
        startPage();
    }
    if (y_ + h <= pageBottom() + 1e-6) {
        emitOps(ops, y_, QRectF());
        y_ += h;
        pageHasBody_ = true;
        return;
    }
    // Taller than the room a fresh page has: split it over as many pages as it needs.
    double offset = 0;
    for (;;) {
        const double room = pageBottom() - y_;
        if (room <= 0.5) {
            // Headers leave no room even on a fresh page: drop the band rather than loop.
            if (!pageHasBody_) return;
            finishPage();
            startPage();
            continue;
        }
        emitOps(ops, y_ - offset, QRectF(page_->marginLeft, y_, page_->PrintableWidth(), room));
        offset += room;
        pageHasBody_ = true;
        if (offset >= h - 1e-6) {
            y_ += room - (offset - h);
            return;
        }
        finishPage();
        startPage();
    }
}

TPreparedReport Layouter::Run() {
    prepareObjects();
    collectAggregates();

    const QList<int> dataBands = doc_->BandsOf(BandKind::Data);
    const TReportBand* dataBand = dataBands.isEmpty() ? nullptr : &doc_->bands[dataBands[0]];
    if (dataBand) {
        dataSource_ = dataBand->source;
        dataSet_ = data_.Source(dataSource_);
        if (dataSet_ && !dataSet_->Active()) dataSet_ = nullptr;
    }
    precomputeReportAggregates(dataSet_);

    QList<const TReportBand*> headers, footers;
    std::vector<std::unique_ptr<TExpression>> breaks;
    for (const TReportBand& b : doc_->bands) {
        if (b.kind == BandKind::GroupHeader) {
            headers << &b;
            breaks.push_back(std::make_unique<TExpression>(b.condition));
        }
        if (b.kind == BandKind::GroupFooter) footers.prepend(&b);  // footers[i] closes headers[i]
    }
    const int levels = int(headers.size());
    auto placeFooters = [&](int fromLevel) {
        for (int level = levels - 1; level >= fromLevel; --level)
            if (level < footers.size()) placeBand(*footers[level]);
    };

    startPage();
    if (dataBand && dataSet_) {
        const int rows = dataSet_->RecordCount();
        QList<QVariant> groupValues(levels);
        for (int r = 0; r < rows; ++r) {
            dataRow_ = r;
            rowNumber_ = r + 1;
            int changed = r == 0 ? 0 : levels;
            for (int level = 0; level < levels; ++level) {
                const QVariant v = breaks[size_t(level)]->Evaluate(*this);
                if (r > 0 && changed == levels && v != groupValues[level]) changed = level;
                groupValues[level] = v;
            }
            if (r > 0 && changed < levels) {
                dataRow_ = r - 1;
                rowNumber_ = r;
                placeFooters(changed);
                dataRow_ = r;
                rowNumber_ = r + 1;
            }
            for (int level = changed; level < levels; ++level) {
                resetScope(Scope::Group, level);
                placeBand(*headers[level]);
            }
            placeBand(*dataBand);
            accumulate(Scope::Page, 0);
            accumulate(Scope::Group, 0);
        }
        if (rows > 0) {
            dataRow_ = rows - 1;
            placeFooters(0);
        }
    }
    dataRow_ = -1;
    for (const TReportBand& b : doc_->bands)
        if (b.kind == BandKind::Summary) placeBand(b);
    finishPage();
    return std::move(out_);
}

}  // namespace

TPreparedReport TReportLayouter::Prepare(const TReportDocument& document, const TReportData& data) {
    Layouter layouter(document, data);
    return layouter.Run();
}

}  // namespace rpt
