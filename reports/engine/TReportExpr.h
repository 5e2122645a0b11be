#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// Expressions of report texts: "[d0.BookName]", "[u_Company]", "[Page] / [Pages]",
// "[SUM(d0.Finefund)]", "[d0.Price * 2]". A text is literal text with bracketed expressions; each
// expression's value is formatted with the object's number or date pattern.
namespace rpt {

struct TExprNode {
    enum class Kind { Literal, Name, Unary, Binary, Call, Aggregate };
    Kind kind = Kind::Literal;
    QVariant value;  // literal
    QString source;  // name: "d0", "u" or empty for variables and built-ins
    QString name;    // name: the field or variable; call/aggregate: upper-case function name
    QString op;      // unary/binary operator
    std::vector<std::unique_ptr<TExprNode>> args;
};

// What names and aggregates mean while a text is evaluated: the layouter answers them.
class TEvalContext {
public:
    virtual ~TEvalContext() = default;
    // A name: source is "d0", "u", ... or empty for variables and Page, Pages, Row, Date, Time.
    virtual QVariant Name(const QString& source, const QString& name) const = 0;
    // The value of an aggregate node in the scope of the band being evaluated.
    virtual QVariant Aggregate(const TExprNode* node) const = 0;
};

// A parsed expression.
class TExpression {
public:
    // Parses one expression (without brackets). On a syntax error Valid() is false and Error() says why.
    explicit TExpression(const QString& text);
    bool Valid() const { return root_ != nullptr; }
    const QString& Error() const { return error_; }
    QVariant Evaluate(const TEvalContext& ctx) const;
    const TExprNode* Root() const { return root_.get(); }

    static QVariant EvaluateNode(const TExprNode* node, const TEvalContext& ctx);
    // Collects the aggregate nodes below node.
    static void CollectAggregates(const TExprNode* node, QList<const TExprNode*>* out);

private:
    std::unique_ptr<TExprNode> root_;
    QString error_;
};

// Literal text with [expressions]. "[[" is a literal "[". An expression that does not parse is
// shown as its text between brackets, so a typing error in the designer stays visible.
class TTextTemplate {
public:
    explicit TTextTemplate(const QString& text);
    QString Evaluate(const TEvalContext& ctx, const QString& format) const;
    bool IsConstant() const;
    QList<const TExprNode*> Aggregates() const;
    // The first syntax error, if any.
    QString Error() const;

private:
    struct Part {
        QString literal;
        std::shared_ptr<TExpression> expr;
    };
    std::vector<Part> parts_;
};

// Formats a value with a number pattern ("0.00", "#,##0.00", "0", "0.##", literal text around it
// such as "¥#,##0.00") or a date pattern ("yyyy-MM-dd"); an empty pattern gives the plain text
// (numbers with up to two decimals, dates without a midnight time).
QString FormatValue(const QVariant& value, const QString& format);

// Stands for the number of pages until the pages are painted (filled by the painter).
inline constexpr QChar kPagesToken = QChar(0xE000);

}  // namespace rpt
