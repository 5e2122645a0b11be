#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>

// The layout document of a report: page, bands and objects, all geometry in millimetres. It is
// stored as JSON bytes ("version": 1); only values that differ from the defaults are written.
namespace rpt {

enum class BandKind { ReportTitle, PageHeader, GroupHeader, Data, GroupFooter, Summary, PageFooter };
enum class ObjectKind { Text, Line, Rect, Image, Barcode };
enum class Barcode { Code128, Ean13, QrCode };

// Border sides of a text or rectangle object.
enum Border { BorderLeft = 1, BorderTop = 2, BorderRight = 4, BorderBottom = 8, BorderAll = 15 };

struct TReportObject {
    ObjectKind kind = ObjectKind::Text;
    // Position inside its band.
    QRectF rect;
    // Text: literal text with [expressions]; barcode: the data, also with [expressions].
    QString text;
    // Empty: the page's default font family.
    QString fontFamily;
    double fontSize = 0;  // points; 0 takes the page's default size
    bool bold = false;
    bool italic = false;
    int hAlign = 0;  // 0 left, 1 centre, 2 right
    int vAlign = 1;  // 0 top, 1 middle, 2 bottom
    int borders = 0;
    double borderWidth = 0.2;  // mm; also the width of lines and rectangles
    QColor color = Qt::black;
    QColor fill;  // invalid: transparent
    // Number ("0.00", "#,##0.00", "0") or date ("yyyy-MM-dd") pattern for the values of [expressions].
    QString format;
    bool canGrow = false;  // wrap and grow downwards
    bool stretch = false;  // grow to the height of the band (ruled tables keep their lines)
    bool wordWrap = true;
    double padding = 0.8;
    QByteArray image;  // image: the encoded picture (PNG, JPEG)
    Barcode barcode = Barcode::Code128;

    bool operator==(const TReportObject&) const = default;
};

struct TReportBand {
    BandKind kind = BandKind::Data;
    double height = 8;
    QString source = QStringLiteral("d0");  // data band: the data source
    QString condition;                      // group header: the break expression
    QList<TReportObject> objects;

    bool operator==(const TReportBand&) const = default;
};

struct TReportPage {
    QString paper = QStringLiteral("A4");  // A4, A5, B5, Letter or Custom
    double width = 210;                    // portrait width and height
    double height = 297;
    bool landscape = false;
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;
    QString fontFamily = QStringLiteral("Noto Sans CJK SC");
    double fontSize = 10;

    double PageWidth() const { return landscape ? height : width; }
    double PageHeight() const { return landscape ? width : height; }
    double PrintableWidth() const { return PageWidth() - marginLeft - marginRight; }
    double PrintableHeight() const { return PageHeight() - marginTop - marginBottom; }
    // Sets width and height from a known paper name; false for an unknown name.
    bool SetPaper(const QString& name);

    bool operator==(const TReportPage&) const = default;
};

class TReportDocument {
public:
    TReportPage page;
    QList<TReportBand> bands;

    bool IsEmpty() const { return bands.isEmpty(); }
    void Clear();
    // Bands of one kind in document order.
    QList<int> BandsOf(BandKind kind) const;
    // Puts the bands into printing order (title, page header, group headers, data, group footers,
    // summary, page footer), keeping the order of bands of the same kind.
    void SortBands();

    QByteArray ToJson() const;
    // Reads a document; on failure leaves this document unchanged and gives the reason.
    bool FromJson(const QByteArray& bytes, QString* error = nullptr);

    bool operator==(const TReportDocument&) const = default;

    static QString BandKindName(BandKind kind);
    static QString BandKindCaption(BandKind kind);
};

}  // namespace rpt
