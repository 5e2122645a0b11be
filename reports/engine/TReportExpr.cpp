#include "reports/engine/TReportExpr.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace rpt {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

bool isInteger(const QVariant& v) {
    return isNumber(v) && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float;
}

bool isDate(const QVariant& v) {
    return v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate;
}

// A number taken from a value: numbers as they are, texts when they read as a number, else 0.
double toNumber(const QVariant& v, bool* ok = nullptr) {
    bool good = true;
    double d = 0;
    if (isNumber(v) || v.typeId() == QMetaType::Bool) {
        d = v.toDouble();
    } else if (v.typeId() == QMetaType::QString) {
        d = v.toString().trimmed().toDouble(&good);
    } else {
        good = false;
    }
    if (ok) *ok = good;
    return good ? d : 0;
}

QVariant numberResult(double d) {
    return QVariant(d);
}

class Parser {
public:
    explicit Parser(const QString& text) : s_(text) {}

    std::unique_ptr<TExprNode> ParseAll(QString* error) {
        try {
            auto node = comparison();
            skipSpace();
            if (pos_ < s_.size()) fail(QStringLiteral("unexpected \"%1\"").arg(s_.mid(pos_)));
            return node;
        } catch (const QString& e) {
            *error = e;
            return nullptr;
        }
    }

private:
    [[noreturn]] void fail(const QString& why) { throw why; }

    void skipSpace() {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }
    bool take(const QString& token) {
        skipSpace();
        if (s_.mid(pos_, token.size()) == token) {
            pos_ += token.size();
            return true;
        }
        return false;
    }
    static bool nameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

    std::unique_ptr<TExprNode> binary(const QString& op, std::unique_ptr<TExprNode> a,
                                      std::unique_ptr<TExprNode> b) {
        auto n = std::make_unique<TExprNode>();
        n->kind = TExprNode::Kind::Binary;
        n->op = op;
        n->args.push_back(std::move(a));
        n->args.push_back(std::move(b));
        return n;
    }

    std::unique_ptr<TExprNode> comparison() {
        auto left = additive();
        for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
            if (take(QLatin1String(op))) return binary(QLatin1String(op), std::move(left), additive());
        }
        return left;
    }

    std::unique_ptr<TExprNode> additive() {
        auto left = term();
        for (;;) {
            if (take(QStringLiteral("+")))
                left = binary(QStringLiteral("+"), std::move(left), term());
            else if (take(QStringLiteral("-")))
                left = binary(QStringLiteral("-"), std::move(left), term());
            else
                return left;
        }
    }

    std::unique_ptr<TExprNode> term() {
        auto left = unary();
        for (;;) {
            if (take(QStringLiteral("*")))
                left = binary(QStringLiteral("*"), std::move(left), unary());
            else if (take(QStringLiteral("/")))
                left = binary(QStringLiteral("/"), std::move(left), unary());
            else
                return left;
        }
    }

    std::unique_ptr<TExprNode> unary() {
        if (take(QStringLiteral("-"))) {
            auto n = std::make_unique<TExprNode>();
            n->kind = TExprNode::Kind::Unary;
            n->op = QStringLiteral("-");
            n->args.push_back(unary());
            return n;
        }
        return primary();
    }

    std::unique_ptr<TExprNode> primary() {
        skipSpace();
        if (pos_ >= s_.size()) fail(QStringLiteral("expression ends too early"));
        const QChar c = s_[pos_];
        auto n = std::make_unique<TExprNode>();
        if (c == u'(') {
            ++pos_;
            auto inner = comparison();
            if (!take(QStringLiteral(")"))) fail(QStringLiteral("missing \")\""));
            return inner;
        }
        if (c == u'\'' || c == u'"') {
            const int end = s_.indexOf(c, pos_ + 1);
            if (end < 0) fail(QStringLiteral("unterminated text"));
            n->value = s_.mid(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return n;
        }
        if (c.isDigit() || (c == u'.' && pos_ + 1 < s_.size() && s_[pos_ + 1].isDigit())) {
            const int start = pos_;
            while (pos_ < s_.size() && (s_[pos_].isDigit() || s_[pos_] == u'.'))
                ++pos_;
            const QString num = s_.mid(start, pos_ - start);
            bool ok = false;
            if (num.contains(u'.')) {
                n->value = num.toDouble(&ok);
            } else {
                n->value = num.toLongLong(&ok);
            }
            if (!ok) fail(QStringLiteral("bad number \"%1\"").arg(num));
            return n;
        }
        if (!nameChar(c)) fail(QStringLiteral("unexpected \"%1\"").arg(c));
        QStringList parts;
        for (;;) {
            const int start = pos_;
            while (pos_ < s_.size() && nameChar(s_[pos_]))
                ++pos_;
            if (pos_ == start) fail(QStringLiteral("name expected after \".\""));
            parts << s_.mid(start, pos_ - start);
            if (pos_ < s_.size() && s_[pos_] == u'.')
                ++pos_;
            else
                break;
        }
        if (parts.size() == 1 && take(QStringLiteral("("))) {
            const QString fn = parts[0].toUpper();
            const bool aggregate =
                fn == u"SUM" || fn == u"COUNT" || fn == u"AVG" || fn == u"MIN" || fn == u"MAX";
            if (!aggregate && fn != u"IIF") fail(QStringLiteral("unknown function %1").arg(parts[0]));
            n->kind = aggregate ? TExprNode::Kind::Aggregate : TExprNode::Kind::Call;
            n->name = fn;
            if (!take(QStringLiteral(")"))) {
                do {
                    n->args.push_back(comparison());
                } while (take(QStringLiteral(",")));
                if (!take(QStringLiteral(")"))) fail(QStringLiteral("missing \")\""));
            }
            const size_t want = fn == u"IIF" ? 3 : 1;
            if (n->args.size() != want && !(fn == u"COUNT" && n->args.empty()))
                fail(QStringLiteral("%1 takes %2 argument(s)").arg(fn).arg(want));
            return n;
        }
        if (parts.size() > 2) fail(QStringLiteral("bad name \"%1\"").arg(parts.join(u'.')));
        n->kind = TExprNode::Kind::Name;
        if (parts.size() == 2) {
            n->source = parts[0];
            n->name = parts[1];
        } else {
            n->name = parts[0];
        }
        return n;
    }

    QString s_;
    int pos_ = 0;
};

int compareValues(const QVariant& a, const QVariant& b) {
    if ((isNumber(a) || a.typeId() == QMetaType::Bool) && (isNumber(b) || b.typeId() == QMetaType::Bool)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isDate(a) && isDate(b)) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(FormatValue(a, {}), FormatValue(b, {}));
}

QVariant evalBinary(const QString& op, const QVariant& a, const QVariant& b) {
    if (op == u"=") return compareValues(a, b) == 0;
    if (op == u"<>") return compareValues(a, b) != 0;
    if (op == u"<") return compareValues(a, b) < 0;
    if (op == u">") return compareValues(a, b) > 0;
    if (op == u"<=") return compareValues(a, b) <= 0;
    if (op == u">=") return compareValues(a, b) >= 0;
    if (op == u"+" && (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)) {
        // Texts join, unless both read as numbers ("3" + 4 stays arithmetic only for numbers).
        return FormatValue(a, {}) + FormatValue(b, {});
    }
    // Arithmetic: a missing value counts as nothing added, so a null cell does not blank a total.
    if (a.isNull() && b.isNull()) return QVariant();
    const bool ints = (isInteger(a) || a.isNull()) && (isInteger(b) || b.isNull());
    if (ints && op != u"/") {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        if (op == u"+") return x + y;
        if (op == u"-") return x - y;
        return x * y;
    }
    const double x = toNumber(a), y = toNumber(b);
    if (op == u"+") return numberResult(x + y);
    if (op == u"-") return numberResult(x - y);
    if (op == u"*") return numberResult(x * y);
    if (y == 0) return QVariant();  // division by zero shows nothing rather than "inf"
    return numberResult(x / y);
}

bool truthy(const QVariant& v) {
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    if (isNumber(v)) return v.toDouble() != 0;
    return !v.toString().isEmpty();
}

// Number pattern: literal prefix, digits part of '#', '0', ',' and '.', literal suffix.
QString formatNumber(double value, const QString& pattern) {
    int start = -1, end = -1;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'#' || c == u'0' || ((c == u',' || c == u'.') && start >= 0)) {
            if (start < 0) start = i;
            end = i + 1;
        }
    }
    if (start < 0) return pattern;  // no digit placeholders: the literal text
    const QString digits = pattern.mid(start, end - start);
    const bool grouping = digits.contains(u',');
    const int dot = digits.indexOf(u'.');
    int minDec = 0, maxDec = 0;
    if (dot >= 0) {
        for (int i = dot + 1; i < digits.size(); ++i) {
            if (digits[i] == u'0') ++minDec, ++maxDec;
            if (digits[i] == u'#') ++maxDec;
        }
    }
    QString text = QString::number(std::abs(value), 'f', maxDec);
    if (maxDec > minDec) {
        // Drop optional trailing zeros down to the required decimals.
        int keep = text.size();
        const int dotPos = text.indexOf(u'.');
        while (keep > dotPos + 1 + minDec && text[keep - 1] == u'0')
            --keep;
        if (keep == dotPos + 1) --keep;
        text.truncate(keep);
    }
    if (grouping) {
        const int dotPos = text.indexOf(u'.');
        int intEnd = dotPos < 0 ? text.size() : dotPos;
        for (int i = intEnd - 3; i > 0; i -= 3)
            text.insert(i, u',');
    }
    // Minimum integer digits: the zeros before the decimal point ("00" pads to two digits).
    const QString intPattern = dot >= 0 ? digits.left(dot) : digits;
    const int minInt = int(intPattern.count(u'0'));
    int intLen = text.indexOf(u'.');
    if (intLen < 0) intLen = text.size();
    if (minInt == 0 && text.startsWith(QLatin1String("0")) && intLen == 1 && text.size() > 1)
        text.remove(0, 1);
    const bool negative = value < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return (negative ? QStringLiteral("-") : QString()) + pattern.left(start) + text + pattern.mid(end);
}

}  // namespace

QString FormatValue(const QVariant& value, const QString& format) {
    if (value.isNull() || !value.isValid()) return QString();
    if (isDate(value)) {
        const QDateTime dt = value.toDateTime();
        if (!format.isEmpty()) return dt.toString(format);
        if (dt.time() == QTime(0, 0)) return dt.toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    if (isNumber(value)) {
        if (!format.isEmpty()) return formatNumber(value.toDouble(), format);
        if (isInteger(value)) return QString::number(value.toLongLong());
        return formatNumber(value.toDouble(), QStringLiteral("0.##"));
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    const QString text = value.toString();
    if (!format.isEmpty()) {
        // A number pattern also applies to text that reads as a number (values typed in variables).
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (ok && format.contains(QRegularExpression(QStringLiteral("[#0]")))) return formatNumber(d, format);
    }
    return text;
}

TExpression::TExpression(const QString& text) {
    root_ = Parser(text).ParseAll(&error_);
}

QVariant TExpression::Evaluate(const TEvalContext& ctx) const {
    return root_ ? EvaluateNode(root_.get(), ctx) : QVariant();
}

QVariant TExpression::EvaluateNode(const TExprNode* n, const TEvalContext& ctx) {
    switch (n->kind) {
        case TExprNode::Kind::Literal:
            return n->value;
        case TExprNode::Kind::Name:
            return ctx.Name(n->source, n->name);
        case TExprNode::Kind::Unary: {
            const QVariant v = EvaluateNode(n->args[0].get(), ctx);
            if (v.isNull()) return v;
            if (isInteger(v)) return -v.toLongLong();
            return numberResult(-toNumber(v));
        }
        case TExprNode::Kind::Binary:
            return evalBinary(n->op, EvaluateNode(n->args[0].get(), ctx),
                              EvaluateNode(n->args[1].get(), ctx));
        case TExprNode::Kind::Call:  // IIF
            return truthy(EvaluateNode(n->args[0].get(), ctx)) ? EvaluateNode(n->args[1].get(), ctx)
                                                               : EvaluateNode(n->args[2].get(), ctx);
        case TExprNode::Kind::Aggregate:
            return ctx.Aggregate(n);
    }
    return QVariant();
}

void TExpression::CollectAggregates(const TExprNode* node, QList<const TExprNode*>* out) {
    if (!node) return;
    if (node->kind == TExprNode::Kind::Aggregate) out->append(node);
    for (const auto& a : node->args)
        CollectAggregates(a.get(), out);
}

TTextTemplate::TTextTemplate(const QString& text) {
    QString literal;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'[' && i + 1 < text.size() && text[i + 1] == u'[') {
            literal += u'[';
            i += 2;
            continue;
        }
        if (c == u'[') {
            // The matching "]", skipping brackets inside quoted texts.
            int depth = 0, j = i + 1;
            QChar quote;
            for (; j < text.size(); ++j) {
                const QChar d = text[j];
                if (!quote.isNull()) {
                    if (d == quote) quote = QChar();
                } else if (d == u'\'' || d == u'"') {
                    quote = d;
                } else if (d == u'[') {
                    ++depth;
                } else if (d == u']') {
                    if (depth == 0) break;
                    --depth;
                }
            }
            if (j >= text.size()) {  // no closing bracket: literal text
                literal += text.mid(i);
                break;
            }
            if (!literal.isEmpty()) parts_.push_back({literal, nullptr});
            literal.clear();
            parts_.push_back({QString(), std::make_shared<TExpression>(text.mid(i + 1, j - i - 1))});
            parts_.back().literal = text.mid(i, j - i + 1);  // the source text, shown when invalid
            i = j + 1;
            continue;
        }
        literal += c;
        ++i;
    }
    if (!literal.isEmpty()) parts_.push_back({literal, nullptr});
}

QString TTextTemplate::Evaluate(const TEvalContext& ctx, const QString& format) const {
    QString out;
    for (const Part& p : parts_) {
        if (!p.expr)
            out += p.literal;
        else if (!p.expr->Valid())
            out += p.literal;
        else
            out += FormatValue(p.expr->Evaluate(ctx), format);
    }
    return out;
}

bool TTextTemplate::IsConstant() const {
    for (const Part& p : parts_)
        if (p.expr && p.expr->Valid()) return false;
    return true;
}

QList<const TExprNode*> TTextTemplate::Aggregates() const {
    QList<const TExprNode*> out;
    for (const Part& p : parts_)
        if (p.expr) TExpression::CollectAggregates(p.expr->Root(), &out);
    return out;
}

QString TTextTemplate::Error() const {
    for (const Part& p : parts_)
        if (p.expr && !p.expr->Valid()) return p.literal + QStringLiteral(": ") + p.expr->Error();
    return QString();
}

}  // namespace rpt
