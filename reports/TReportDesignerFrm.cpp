#include "reports/TReportDesignerFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/TDataSet.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "reports/TRep.h"
#include "reports/TReportPreviewFrm.h"
#include "reports/engine/TDefaultLayout.h"
#include "reports/engine/TReportFonts.h"
#include "reports/engine/TReportLayouter.h"
#include "reports/engine/TReportPainter.h"

using namespace rpt;

namespace {

constexpr double kPx = 4.0;         // scene pixels per millimetre
constexpr double kCaptionMm = 5.0;  // band caption strip above each band
constexpr double kGapMm = 2.0;

double snap(double mm) {
    return std::round(mm / TReportDesignerFrm::kSnapMm) * TReportDesignerFrm::kSnapMm;
}

}  // namespace

// One object on the canvas. Dragging moves it, dragging its bottom-right corner resizes it; both
// snap to the grid and become one undoable edit when the mouse is released.
class TObjectItem : public QGraphicsItem {
public:
    TObjectItem(TReportDesignerFrm* designer, int band, int object, const QRectF& mm, bool selected)
        : designer_(designer), band_(band), object_(object), rect_(mm), selected_(selected) {}

    QRectF boundingRect() const override {
        return QRectF(-2, -2, rect_.width() * kPx + 4, qMax(rect_.height(), 0.5) * kPx + 4);
    }

    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        const TReportObject& o = designer_->doc_.bands[band_].objects[object_];
        const QRectF r(0, 0, rect_.width() * kPx, rect_.height() * kPx);
        p->save();
        switch (o.kind) {
            case ObjectKind::Text: {
                if (o.fill.isValid()) p->fillRect(r, o.fill);
                QFont f = ReportFont(o, designer_->doc_.page);
                f.setPixelSize(qMax(1, qRound(f.pixelSize() * kPx / kRefPerMm)));
                p->setFont(f);
                p->setPen(o.color);
                int flags =
                    o.hAlign == 1 ? Qt::AlignHCenter : (o.hAlign == 2 ? Qt::AlignRight : Qt::AlignLeft);
                flags |= o.vAlign == 0 ? Qt::AlignTop : (o.vAlign == 2 ? Qt::AlignBottom : Qt::AlignVCenter);
                p->drawText(r.adjusted(2, 0, -2, 0), flags | Qt::TextWordWrap, o.text);
                QPen pen(o.borders ? Qt::black : QColor(170, 170, 200));
                pen.setStyle(o.borders ? Qt::SolidLine : Qt::DotLine);
                p->setPen(pen);
                if (o.borders == BorderAll || !o.borders) {
                    p->drawRect(r);
                } else {
                    if (o.borders & BorderLeft) p->drawLine(r.topLeft(), r.bottomLeft());
                    if (o.borders & BorderTop) p->drawLine(r.topLeft(), r.topRight());
                    if (o.borders & BorderRight) p->drawLine(r.topRight(), r.bottomRight());
                    if (o.borders & BorderBottom) p->drawLine(r.bottomLeft(), r.bottomRight());
                }
                break;
            }
            case ObjectKind::Line:
                p->setPen(QPen(o.color, 1.5));
                if (r.width() >= r.height())
                    p->drawLine(r.topLeft(), r.topRight());
                else
                    p->drawLine(r.topLeft(), r.bottomLeft());
                break;
            case ObjectKind::Rect:
                p->setPen(QPen(o.color, 1));
                p->setBrush(o.fill.isValid() ? QBrush(o.fill) : QBrush());
                p->drawRect(r);
                break;
            case ObjectKind::Image: {
                QImage image;
                if (image.loadFromData(o.image))
                    p->drawImage(r, image);
                else
                    p->drawText(r, Qt::AlignCenter, QStringLiteral("图片"));
                p->setPen(Qt::DotLine);
                p->drawRect(r);
                break;
            }
            case ObjectKind::Barcode:
                if (!PaintBarcode(*p, r, o.barcode,
                                  o.text.contains(u'[') ? QStringLiteral("6901234567892") : o.text))
                    p->drawText(r, Qt::AlignCenter, QStringLiteral("条码"));
                break;
        }
        if (selected_) {
            p->setPen(QPen(QColor(0, 120, 215), 1.5, Qt::DashLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r);
            p->fillRect(QRectF(r.right() - 4, r.bottom() - 4, 6, 6), QColor(0, 120, 215));
        }
        p->restore();
    }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override {
        const QPointF pos = e->pos();
        resizing_ = pos.x() > rect_.width() * kPx - 6 && pos.y() > rect_.height() * kPx - 6;
        pressScene_ = e->scenePos();
        start_ = rect_;
        if (!selected_) designer_->Select(band_, object_);
        e->accept();
    }
    void mouseMoveEvent(QGraphicsSceneMouseEvent* e) override {
        const QPointF d = (e->scenePos() - pressScene_) / kPx;
        prepareGeometryChange();
        if (resizing_) {
            rect_.setWidth(qMax(1.0, snap(start_.width() + d.x())));
            rect_.setHeight(qMax(0.0, snap(start_.height() + d.y())));
        } else {
            rect_.moveTo(qMax(0.0, snap(start_.x() + d.x())), qMax(0.0, snap(start_.y() + d.y())));
            setPos(pos() + (rect_.topLeft() - lastTopLeft()) * kPx);
        }
        lastTopLeft_ = rect_.topLeft();
        update();
    }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent*) override {
        if (rect_ != start_) designer_->objectMoved(band_, object_, rect_);
    }

private:
    QPointF lastTopLeft() const { return lastTopLeft_.isNull() ? start_.topLeft() : lastTopLeft_; }

    TReportDesignerFrm* designer_;
    int band_, object_;
    QRectF rect_, start_;
    QPointF pressScene_, lastTopLeft_;
    bool selected_ = false;
    bool resizing_ = false;
};

// A band on the canvas: clicking it selects the band.
class TBandItem : public QGraphicsRectItem {
public:
    TBandItem(TReportDesignerFrm* designer, int band, const QRectF& r)
        : QGraphicsRectItem(r), designer_(designer), band_(band) {}

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override {
        designer_->Select(band_, -1);
        e->accept();
    }

private:
    TReportDesignerFrm* designer_;
    int band_;
};

// The property panel of the selected object or band. Each edit replaces the document through the
// designer, so it can be undone.
class TDesignerPanel : public QWidget {
public:
    explicit TDesignerPanel(TReportDesignerFrm* designer) : designer_(designer) {
        form_ = new QFormLayout(this);
    }

    void Rebuild() {
        while (form_->rowCount() > 0)
            form_->removeRow(0);
        const int b = designer_->band_, i = designer_->object_;
        const TReportDocument& doc = designer_->doc_;
        if (b < 0 || b >= doc.bands.size()) {
            form_->addRow(new QLabel(QStringLiteral("请选择一个栏或对象")));
            return;
        }
        const TReportBand& band = doc.bands[b];
        if (i < 0 || i >= band.objects.size()) {
            form_->addRow(new QLabel(TReportDocument::BandKindCaption(band.kind)));
            addNumber(QStringLiteral("高度"), band.height, 0, 280,
                      [b](TReportDocument& d, double v) { d.bands[b].height = v; });
            if (band.kind == BandKind::Data)
                addText(QStringLiteral("数据源"), band.source,
                        [b](TReportDocument& d, const QString& v) { d.bands[b].source = v; });
            if (band.kind == BandKind::GroupHeader)
                addText(QStringLiteral("分组条件"), band.condition,
                        [b](TReportDocument& d, const QString& v) { d.bands[b].condition = v; });
            return;
        }
        const TReportObject& o = band.objects[i];
        auto obj = [b, i](TReportDocument& d) -> TReportObject& { return d.bands[b].objects[i]; };
        if (o.kind == ObjectKind::Text || o.kind == ObjectKind::Barcode)
            addText(QStringLiteral("文本"), o.text,
                    [obj](TReportDocument& d, const QString& v) { obj(d).text = v; });
        addNumber(QStringLiteral("左"), o.rect.x(), 0, 500,
                  [obj](TReportDocument& d, double v) { obj(d).rect.moveLeft(v); });
        addNumber(QStringLiteral("上"), o.rect.y(), 0, 500,
                  [obj](TReportDocument& d, double v) { obj(d).rect.moveTop(v); });
        addNumber(QStringLiteral("宽"), o.rect.width(), 0, 500,
                  [obj](TReportDocument& d, double v) { obj(d).rect.setWidth(v); });
        addNumber(QStringLiteral("高"), o.rect.height(), 0, 500,
                  [obj](TReportDocument& d, double v) { obj(d).rect.setHeight(v); });
        if (o.kind == ObjectKind::Barcode) {
            addChoice(QStringLiteral("条码类型"),
                      {QStringLiteral("Code 128"), QStringLiteral("EAN-13"), QStringLiteral("QR")},
                      int(o.barcode), [obj](TReportDocument& d, int v) { obj(d).barcode = Barcode(v); });
        }
        if (o.kind == ObjectKind::Text) {
            auto* font = new QFontComboBox;
            font->setCurrentFont(
                QFont(o.fontFamily.isEmpty() ? designer_->doc_.page.fontFamily : o.fontFamily));
            QObject::connect(font, &QFontComboBox::currentFontChanged, this, [this, obj](const QFont& f) {
                edit([&](TReportDocument& d) { obj(d).fontFamily = f.family(); });
            });
            form_->addRow(QStringLiteral("字体"), font);
            addNumber(QStringLiteral("字号"), o.fontSize > 0 ? o.fontSize : designer_->doc_.page.fontSize, 4,
                      72, [obj](TReportDocument& d, double v) { obj(d).fontSize = v; });
            addCheck(QStringLiteral("粗体"), o.bold, [obj](TReportDocument& d, bool v) { obj(d).bold = v; });
            addCheck(QStringLiteral("斜体"), o.italic,
                     [obj](TReportDocument& d, bool v) { obj(d).italic = v; });
            addChoice(QStringLiteral("水平对齐"),
                      {QStringLiteral("左"), QStringLiteral("中"), QStringLiteral("右")}, o.hAlign,
                      [obj](TReportDocument& d, int v) { obj(d).hAlign = v; });
            addChoice(QStringLiteral("垂直对齐"),
                      {QStringLiteral("上"), QStringLiteral("中"), QStringLiteral("下")}, o.vAlign,
                      [obj](TReportDocument& d, int v) { obj(d).vAlign = v; });
            auto* borders = new QWidget;
            auto* bl = new QHBoxLayout(borders);
            bl->setContentsMargins(0, 0, 0, 0);
            const QList<QPair<QString, int>> sides = {{QStringLiteral("左"), BorderLeft},
                                                      {QStringLiteral("上"), BorderTop},
                                                      {QStringLiteral("右"), BorderRight},
                                                      {QStringLiteral("下"), BorderBottom}};
            for (const auto& [caption, bit] : sides) {
                auto* c = new QCheckBox(caption);
                c->setChecked(o.borders & bit);
                const int side = bit;
                QObject::connect(c, &QCheckBox::toggled, this, [this, obj, side](bool on) {
                    edit([&](TReportDocument& d) {
                        obj(d).borders = on ? (obj(d).borders | side) : (obj(d).borders & ~side);
                    });
                });
                bl->addWidget(c);
            }
            form_->addRow(QStringLiteral("边框"), borders);
            auto* format = new QComboBox;
            format->setEditable(true);
            format->addItems({QString(), QStringLiteral("0.00"), QStringLiteral("#,##0.00"),
                              QStringLiteral("0"), QStringLiteral("yyyy-MM-dd"),
                              QStringLiteral("yyyy-MM-dd hh:mm")});
            format->setCurrentText(o.format);
            QObject::connect(format->lineEdit(), &QLineEdit::editingFinished, this, [this, obj, format] {
                edit([&](TReportDocument& d) { obj(d).format = format->currentText(); });
            });
            QObject::connect(format, &QComboBox::activated, this, [this, obj, format](int) {
                edit([&](TReportDocument& d) { obj(d).format = format->currentText(); });
            });
            form_->addRow(QStringLiteral("格式"), format);
            addCheck(QStringLiteral("自动增高"), o.canGrow,
                     [obj](TReportDocument& d, bool v) { obj(d).canGrow = v; });
            addCheck(QStringLiteral("随栏拉伸"), o.stretch,
                     [obj](TReportDocument& d, bool v) { obj(d).stretch = v; });
        }
        if (o.kind != ObjectKind::Barcode && o.kind != ObjectKind::Image)
            addNumber(QStringLiteral("线宽"), o.borderWidth, 0.05, 5,
                      [obj](TReportDocument& d, double v) { obj(d).borderWidth = v; });
        if (o.kind == ObjectKind::Image) {
            auto* load = new QToolButton;
            load->setText(QStringLiteral("选择图片..."));
            QObject::connect(load, &QToolButton::clicked, this, [this, obj] {
                const QString name =
                    QFileDialog::getOpenFileName(this, QStringLiteral("选择图片"), QString(),
                                                 QStringLiteral("图片 (*.png *.jpg *.jpeg *.bmp)"));
                QFile f(name);
                if (name.isEmpty() || !f.open(QIODevice::ReadOnly)) return;
                const QByteArray bytes = f.readAll();
                edit([&](TReportDocument& d) { obj(d).image = bytes; });
            });
            form_->addRow(QStringLiteral("图片"), load);
        }
    }

private:
    template <typename F>
    void edit(F&& change) {
        TReportDocument d = designer_->doc_;
        change(d);
        designer_->Change(d);
    }
    void addNumber(const QString& caption, double value, double min, double max,
                   std::function<void(TReportDocument&, double)> set) {
        auto* spin = new QDoubleSpinBox;
        spin->setRange(min, max);
        spin->setDecimals(1);
        spin->setValue(value);
        QObject::connect(spin, &QDoubleSpinBox::editingFinished, this,
                         [this, spin, set] { edit([&](TReportDocument& d) { set(d, spin->value()); }); });
        form_->addRow(caption, spin);
    }
    void addText(const QString& caption, const QString& value,
                 std::function<void(TReportDocument&, const QString&)> set) {
        auto* line = new QLineEdit(value);
        QObject::connect(line, &QLineEdit::editingFinished, this,
                         [this, line, set] { edit([&](TReportDocument& d) { set(d, line->text()); }); });
        form_->addRow(caption, line);
    }
    void addCheck(const QString& caption, bool value, std::function<void(TReportDocument&, bool)> set) {
        auto* check = new QCheckBox;
        check->setChecked(value);
        QObject::connect(check, &QCheckBox::toggled, this,
                         [this, set](bool v) { edit([&](TReportDocument& d) { set(d, v); }); });
        form_->addRow(caption, check);
    }
    void addChoice(const QString& caption, const QStringList& items, int value,
                   std::function<void(TReportDocument&, int)> set) {
        auto* box = new QComboBox;
        box->addItems(items);
        box->setCurrentIndex(value);
        QObject::connect(box, &QComboBox::activated, this,
                         [this, set](int v) { edit([&](TReportDocument& d) { set(d, v); }); });
        form_->addRow(caption, box);
    }

    TReportDesignerFrm* designer_;
    QFormLayout* form_;
};

TReportDesignerFrm::TReportDesignerFrm(TRep* rep, QWidget* parent) : QDialog(parent), rep_(rep) {
    setWindowTitle(QStringLiteral("报表设计"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    doc_ = rep_->EffectiveDocument();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar;
    bar->addAction(QStringLiteral("打开"), this, &TReportDesignerFrm::Open);
    bar->addAction(QStringLiteral("保存"), this, &TReportDesignerFrm::Save);
    bar->addAction(QStringLiteral("另存为"), this, &TReportDesignerFrm::SaveAs);
    bar->addSeparator();
    undoAction_ = bar->addAction(QStringLiteral("撤销"), this, &TReportDesignerFrm::Undo);
    undoAction_->setShortcut(QKeySequence::Undo);
    redoAction_ = bar->addAction(QStringLiteral("重做"), this, &TReportDesignerFrm::Redo);
    redoAction_->setShortcut(QKeySequence::Redo);
    bar->addSeparator();
    bar->addAction(QStringLiteral("文本"), this, [this] { AddObject(ObjectKind::Text); });
    bar->addAction(QStringLiteral("线条"), this, [this] { AddObject(ObjectKind::Line); });
    bar->addAction(QStringLiteral("矩形"), this, [this] { AddObject(ObjectKind::Rect); });
    bar->addAction(QStringLiteral("图片"), this, [this] { AddObject(ObjectKind::Image); });
    bar->addAction(QStringLiteral("条码"), this, [this] { AddObject(ObjectKind::Barcode); });
    auto* bandMenu = new QMenu(this);
    for (BandKind k : {BandKind::ReportTitle, BandKind::PageHeader, BandKind::GroupHeader, BandKind::Data,
                       BandKind::GroupFooter, BandKind::Summary, BandKind::PageFooter})
        bandMenu->addAction(TReportDocument::BandKindCaption(k), this, [this, k] { AddBand(k); });
    auto* bandButton = new QToolButton;
    bandButton->setText(QStringLiteral("添加栏"));
    bandButton->setMenu(bandMenu);
    bandButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(bandButton);
    QAction* del = bar->addAction(QStringLiteral("删除"), this, &TReportDesignerFrm::DeleteSelected);
    del->setShortcut(QKeySequence::Delete);
    bar->addSeparator();
    bar->addAction(QStringLiteral("页面设置"), this, &TReportDesignerFrm::PageSetup);
    bar->addAction(QStringLiteral("默认样式"), this, &TReportDesignerFrm::GenerateDefault);
    bar->addAction(QStringLiteral("预览"), this, &TReportDesignerFrm::PreviewReport);
    layout->addWidget(bar);

    auto* split = new QSplitter;
    scene_ = new QGraphicsScene(this);
    view_ = new QGraphicsView(scene_);
    view_->setBackgroundBrush(QColor(0xD8, 0xD8, 0xD8));
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    split->addWidget(view_);
    auto* side = new QSplitter(Qt::Vertical);
    fields_ = new QTreeWidget;
    fields_->setHeaderLabel(QStringLiteral("字段 (双击插入)"));
    connect(fields_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item->parent())
            InsertField(item->data(0, Qt::UserRole).toString(), item->data(0, Qt::UserRole + 1).toString());
    });
    side->addWidget(fields_);
    panel_ = new TDesignerPanel(this);
    side->addWidget(panel_);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split);
    resize(1200, 800);

    fillFields();
    rebuild();
    panel_->Rebuild();
    updateActions();
}

TReportDesignerFrm::~TReportDesignerFrm() = default;

QString TReportDesignerFrm::FileFilter() {
    return QStringLiteral("报表样式文件 (*.lbrpt);;所有文件 (*)");
}

void TReportDesignerFrm::fillFields() {
    fields_->clear();
    const rpt::TReportData& data = rep_->Data();
    for (int i = 0; i < data.dataSets.size(); ++i) {
        const QString source = QStringLiteral("d%1").arg(i);
        auto* top = new QTreeWidgetItem(fields_, {source});
        const TDataSet* ds = data.dataSets[i];
        for (int f = 0; f < ds->FieldCount(); ++f) {
            const TField* field = ds->Field(f);
            auto* item = new QTreeWidgetItem(
                top, {QStringLiteral("%1 (%2)").arg(field->FieldName(), field->Caption())});
            item->setData(0, Qt::UserRole, source);
            item->setData(0, Qt::UserRole + 1, field->FieldName());
        }
        top->setExpanded(i == 0);
    }
    auto* vars = new QTreeWidgetItem(fields_, {QStringLiteral("变量")});
    for (const auto& v : data.variables) {
        auto* item = new QTreeWidgetItem(vars, {v.first});
        item->setData(0, Qt::UserRole, QString());
        item->setData(0, Qt::UserRole + 1, v.first);
    }
    for (const char* name : {"Page", "Pages", "Date", "Time", "Row"}) {
        auto* item = new QTreeWidgetItem(vars, {QLatin1String(name)});
        item->setData(0, Qt::UserRole, QString());
        item->setData(0, Qt::UserRole + 1, QLatin1String(name));
    }
    vars->setExpanded(true);
}

void TReportDesignerFrm::rebuild() {
    scene_->clear();
    bandTops_.clear();
    const double width = doc_.page.PrintableWidth();
    double y = 0;
    for (int b = 0; b < doc_.bands.size(); ++b) {
        const TReportBand& band = doc_.bands[b];
        auto* caption = scene_->addRect(QRectF(0, y * kPx, width * kPx, kCaptionMm * kPx), Qt::NoPen,
                                        QColor(b == band_ && object_ < 0 ? 0xA8C8F0 : 0xC0C8D8));
        auto* label = scene_->addSimpleText(
            TReportDocument::BandKindCaption(band.kind) +
            (band.kind == BandKind::Data ? QStringLiteral(": ") + band.source : QString()) +
            (band.kind == BandKind::GroupHeader ? QStringLiteral(": ") + band.condition : QString()));
        label->setPos(4, y * kPx + 2);
        Q_UNUSED(caption);
        y += kCaptionMm;
        bandTops_ << y;
        auto* area = new TBandItem(this, b, QRectF(0, y * kPx, width * kPx, band.height * kPx));
        area->setBrush(Qt::white);
        area->setPen(QPen(QColor(0x90, 0x90, 0x90)));
        scene_->addItem(area);
        for (int i = 0; i < band.objects.size(); ++i) {
            const TReportObject& o = band.objects[i];
            auto* item = new TObjectItem(this, b, i, o.rect, b == band_ && i == object_);
            item->setPos(o.rect.x() * kPx, (y + o.rect.y()) * kPx);
            scene_->addItem(item);
        }
        y += band.height + kGapMm;
    }
    scene_->setSceneRect(QRectF(-10, -10, width * kPx + 20, y * kPx + 20));
}

void TReportDesignerFrm::updateActions() {
    undoAction_->setEnabled(CanUndo());
    redoAction_->setEnabled(CanRedo());
    setWindowTitle(QStringLiteral("报表设计") + (modified_ ? QStringLiteral(" *") : QString()));
}

void TReportDesignerFrm::Select(int band, int object) {
    band_ = band;
    object_ = object;
    // Items call this from their own mouse handlers: rebuild once they have returned.
    QTimer::singleShot(0, this, [this] {
        rebuild();
        panel_->Rebuild();
    });
}

void TReportDesignerFrm::Change(const TReportDocument& changed) {
    if (changed == doc_) return;
    undo_.append(doc_.ToJson());
    redo_.clear();
    doc_ = changed;
    modified_ = true;
    if (band_ >= doc_.bands.size()) band_ = object_ = -1;
    if (band_ >= 0 && object_ >= doc_.bands[band_].objects.size()) object_ = -1;
    QTimer::singleShot(0, this, [this] { rebuild(); });
    updateActions();
}

void TReportDesignerFrm::objectMoved(int band, int object, const QRectF& rect) {
    TReportDocument d = doc_;
    if (band >= d.bands.size() || object >= d.bands[band].objects.size()) return;
    d.bands[band].objects[object].rect = rect;
    Change(d);
    QTimer::singleShot(0, this, [this] { panel_->Rebuild(); });
}

void TReportDesignerFrm::Undo() {
    if (undo_.isEmpty()) return;
    redo_.append(doc_.ToJson());
    doc_.FromJson(undo_.takeLast());
    modified_ = true;
    band_ = object_ = -1;
    rebuild();
    panel_->Rebuild();
    updateActions();
}

void TReportDesignerFrm::Redo() {
    if (redo_.isEmpty()) return;
    undo_.append(doc_.ToJson());
    doc_.FromJson(redo_.takeLast());
    modified_ = true;
    band_ = object_ = -1;
    rebuild();
    panel_->Rebuild();
    updateActions();
}

bool TReportDesignerFrm::OpenFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        ShowInfo(QStringLiteral("无法打开文件 %1").arg(fileName));
        return false;
    }
    TReportDocument d;
    QString error;
    if (!d.FromJson(f.readAll(), &error)) {
        ShowInfo(QStringLiteral("报表样式无法读取: %1").arg(error));
        return false;
    }
    // The report's key stays: the file replaces the stored layout when it is next saved.
    band_ = object_ = -1;
    Change(d);
    panel_->Rebuild();
    return true;
}

bool TReportDesignerFrm::SaveAsFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(doc_.ToJson()) < 0 || !f.flush()) {
        ShowInfo(QStringLiteral("无法写入文件 %1").arg(fileName));
        return false;
    }
    return true;
}

bool TReportDesignerFrm::Open() {
    const QString name = QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QString(), FileFilter());
    return !name.isEmpty() && OpenFile(name);
}

bool TReportDesignerFrm::SaveAs() {
    QFileDialog dialog(this, QStringLiteral("另存为"), QString(), FileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("lbrpt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    return SaveAsFile(dialog.selectedFiles().first());
}

bool TReportDesignerFrm::Save() {
    rep_->Document = doc_;
    try {
        rep_->SaveReport();
    } catch (const TDbError& e) {
        ShowError(e.message());
        return false;
    }
    modified_ = false;
    updateActions();
    return true;
}

void TReportDesignerFrm::InsertField(const QString& source, const QString& field) {
    TReportDocument d = doc_;
    int b = band_;
    if (b < 0 || b >= d.bands.size()) {
        const QList<int> data = d.BandsOf(BandKind::Data);
        if (data.isEmpty()) {
            TReportBand band;
            d.bands.append(band);
            d.SortBands();
            b = d.BandsOf(BandKind::Data).first();
        } else {
            b = data.first();
        }
    }
    TReportBand& band = d.bands[b];
    double x = 0;
    for (const TReportObject& o : band.objects)
        x = qMax(x, o.rect.right());
    TReportObject o;
    o.text =
        source.isEmpty() ? QStringLiteral("[%1]").arg(field) : QStringLiteral("[%1.%2]").arg(source, field);
    const double w = 30;
    if (x + w > d.page.PrintableWidth()) x = qMax(0.0, d.page.PrintableWidth() - w);
    o.rect = QRectF(x, 0, w, qMax(4.0, qMin(band.height, 6.0)));
    band.objects.append(o);
    band_ = b;
    object_ = int(band.objects.size()) - 1;
    Change(d);
    panel_->Rebuild();
}

void TReportDesignerFrm::AddObject(ObjectKind kind) {
    TReportDocument d = doc_;
    if (d.bands.isEmpty()) {
        d.bands.append(TReportBand());
        band_ = 0;
    }
    const int b = band_ >= 0 && band_ < d.bands.size() ? band_ : 0;
    TReportObject o;
    o.kind = kind;
    o.rect = kind == ObjectKind::Line ? QRectF(0, 0, 40, 0) : QRectF(0, 0, 30, qMin(6.0, d.bands[b].height));
    if (kind == ObjectKind::Text) o.text = QStringLiteral("文本");
    if (kind == ObjectKind::Barcode) {
        o.text = QStringLiteral("123456");
        o.rect.setHeight(qMax(10.0, o.rect.height()));
    }
    d.bands[b].objects.append(o);
    band_ = b;
    object_ = int(d.bands[b].objects.size()) - 1;
    Change(d);
    panel_->Rebuild();
}

void TReportDesignerFrm::AddBand(BandKind kind) {
    TReportDocument d = doc_;
    TReportBand band;
    band.kind = kind;
    if (kind == BandKind::GroupHeader) band.condition = QStringLiteral("d0.");
    d.bands.append(band);
    d.SortBands();
    band_ = object_ = -1;
    Change(d);
    panel_->Rebuild();
}

void TReportDesignerFrm::DeleteSelected() {
    if (band_ < 0 || band_ >= doc_.bands.size()) return;
    TReportDocument d = doc_;
    if (object_ >= 0)
        d.bands[band_].objects.removeAt(object_);
    else
        d.bands.removeAt(band_);
    band_ = object_ = -1;
    Change(d);
    panel_->Rebuild();
}

void TReportDesignerFrm::GenerateDefault() {
    if (rep_->Data().dataSets.isEmpty()) return;
    band_ = object_ = -1;
    Change(TDefaultLayout::Generate(*rep_->Data().dataSets.first(), rep_->ListTitle));
    panel_->Rebuild();
}

void TReportDesignerFrm::PageSetup() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("页面设置"));
    auto* form = new QFormLayout(&dialog);
    auto* paper = new QComboBox;
    paper->addItems({QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("B5"),
                     QStringLiteral("Letter"), QStringLiteral("Custom")});
    paper->setCurrentText(doc_.page.paper);
    auto spin = [](double v, double max) {
        auto* s = new QDoubleSpinBox;
        s->setRange(0, max);
        s->setDecimals(1);
        s->setValue(v);
        return s;
    };
    auto* width = spin(doc_.page.width, 1000);
    auto* height = spin(doc_.page.height, 1000);
    auto* orientation = new QComboBox;
    orientation->addItems({QStringLiteral("纵向"), QStringLiteral("横向")});
    orientation->setCurrentIndex(doc_.page.landscape ? 1 : 0);
    auto* left = spin(doc_.page.marginLeft, 100);
    auto* top = spin(doc_.page.marginTop, 100);
    auto* right = spin(doc_.page.marginRight, 100);
    auto* bottom = spin(doc_.page.marginBottom, 100);
    form->addRow(QStringLiteral("纸张"), paper);
    form->addRow(QStringLiteral("宽 (mm)"), width);
    form->addRow(QStringLiteral("高 (mm)"), height);
    form->addRow(QStringLiteral("方向"), orientation);
    form->addRow(QStringLiteral("左边距"), left);
    form->addRow(QStringLiteral("上边距"), top);
    form->addRow(QStringLiteral("右边距"), right);
    form->addRow(QStringLiteral("下边距"), bottom);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    TReportDocument d = doc_;
    if (!d.page.SetPaper(paper->currentText())) {
        d.page.paper = QStringLiteral("Custom");
        d.page.width = width->value();
        d.page.height = height->value();
    }
    d.page.landscape = orientation->currentIndex() == 1;
    d.page.marginLeft = left->value();
    d.page.marginTop = top->value();
    d.page.marginRight = right->value();
    d.page.marginBottom = bottom->value();
    if (d.page.PrintableWidth() <= 10 || d.page.PrintableHeight() <= 10) {
        ShowInfo(QStringLiteral("页边距过大,没有可打印的区域."));
        return;
    }
    Change(d);
}

void TReportDesignerFrm::PreviewReport() {
    TReportPreviewFrm frm(TReportLayouter::Prepare(doc_, rep_->Data()), rep_->Data().dataSets.value(0), this);
    frm.exec();
}

void TReportDesignerFrm::reject() {
    if (modified_) {
        const TMsgResult answer = MessageBox(TMsgKind::Question, TMsgButtons::YesNoCancel,
                                             QStringLiteral("报表样式已修改,要保存吗?"));
        if (answer == TMsgResult::Cancel) return;
        if (answer == TMsgResult::Yes && !Save()) return;
    }
    QDialog::reject();
}
