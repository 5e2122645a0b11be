#include "core/TDataFilter.h"

#include "core/TDbError.h"

namespace {

QByteArray foldAscii(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return bytes;
}

class Parser {
public:
    Parser(const QString& text, const std::function<int(const QString&)>& columnOf)
        : s_(text), columnOf_(columnOf) {}

    std::unique_ptr<TFilterNode> parse() {
        auto node = parseOr();
        skipSpace();
        if (pos_ < s_.size()) fail(QStringLiteral("unexpected \"%1\"").arg(s_.mid(pos_, 20)));
        return node;
    }

private:
    const QString& s_;
    const std::function<int(const QString&)>& columnOf_;
    int pos_ = 0;

    [[noreturn]] void fail(const QString& why) const {
        throw TDbError(TDbError::Kind::Expression, QStringLiteral("过滤条件错误: %1\r\n%2").arg(why, s_));
    }

    void skipSpace() {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }

    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; }

    // Consumes the keyword when it stands at the current position as a whole word.
    bool keyword(const char* word) {
        skipSpace();
        const QString w = QString::fromLatin1(word);
        if (s_.mid(pos_, w.size()).compare(w, Qt::CaseInsensitive) != 0) return false;
        const int end = pos_ + int(w.size());
        if (end < s_.size() && isWordChar(s_[end])) return false;
        pos_ = end;
        return true;
    }

    bool symbol(const char* sym) {
        skipSpace();
        const QString w = QString::fromLatin1(sym);
        if (s_.mid(pos_, w.size()) != w) return false;
        pos_ += int(w.size());
        return true;
    }

    static std::unique_ptr<TFilterNode> make(TFilterNode::Op op, std::unique_ptr<TFilterNode> l = {},
                                             std::unique_ptr<TFilterNode> r = {}) {
        auto n = std::make_unique<TFilterNode>();
        n->op = op;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<TFilterNode> parseOr() {
        auto node = parseAnd();
        while (keyword("or"))
            node = make(TFilterNode::Op::Or, std::move(node), parseAnd());
        return node;
    }

    std::unique_ptr<TFilterNode> parseAnd() {
        auto node = parseNot();
        while (keyword("and"))
            node = make(TFilterNode::Op::And, std::move(node), parseNot());
        return node;
    }

    std::unique_ptr<TFilterNode> parseNot() {
        if (keyword("not")) return make(TFilterNode::Op::Not, parseNot());
        return parseComparison();
    }

    std::unique_ptr<TFilterNode> parseComparison() {
        auto left = parseOperand();
        if (keyword("is")) {
            const bool negate = keyword("not");
            if (!keyword("null")) fail(QStringLiteral("\"null\" expected after \"is\""));
            return make(negate ? TFilterNode::Op::IsNotNull : TFilterNode::Op::IsNull, std::move(left));
        }
        const int save = pos_;
        if (keyword("not")) {
            if (!keyword("like")) {
                pos_ = save;
                return left;
            }
            return makeLike(TFilterNode::Op::NotLike, std::move(left));
        }
        if (keyword("like")) return makeLike(TFilterNode::Op::Like, std::move(left));
        static const struct {
            const char* sym;
            TFilterNode::Cmp cmp;
        } ops[] = {{"<>", TFilterNode::Cmp::Ne}, {"!=", TFilterNode::Cmp::Ne}, {"<=", TFilterNode::Cmp::Le},
                   {">=", TFilterNode::Cmp::Ge}, {"=", TFilterNode::Cmp::Eq},  {"<", TFilterNode::Cmp::Lt},
                   {">", TFilterNode::Cmp::Gt}};
        for (const auto& o : ops) {
            if (symbol(o.sym)) {
                auto node = make(TFilterNode::Op::Compare, std::move(left), parseOperand());
                node->cmp = o.cmp;
                return node;
            }
        }
        return left;
    }

    std::unique_ptr<TFilterNode> makeLike(TFilterNode::Op op, std::unique_ptr<TFilterNode> left) {
        auto pattern = parseOperand();
        if (pattern->op != TFilterNode::Op::Text) fail(QStringLiteral("a text pattern must follow \"like\""));
        return make(op, std::move(left), std::move(pattern));
    }

    std::unique_ptr<TFilterNode> parseOperand() {
        skipSpace();
        if (pos_ >= s_.size()) fail(QStringLiteral("the expression ends too early"));
        const QChar c = s_[pos_];
        if (c == u'(') {
            ++pos_;
            auto node = parseOr();
            if (!symbol(")")) fail(QStringLiteral("\")\" expected"));
            return node;
        }
        if (c == u'\'') return parseText();
        if (c.isDigit() ||
            ((c == u'-' || c == u'+' || c == u'.') && pos_ + 1 < s_.size() && s_[pos_ + 1].isDigit()))
            return parseNumber();
        if (c == u'[' || c == u'"') {
            const QChar close = c == u'[' ? u']' : u'"';
            const int end = s_.indexOf(close, pos_ + 1);
            if (end < 0) fail(QStringLiteral("unclosed field name"));
            const QString name = s_.mid(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return fieldNode(name);
        }
        if (!isWordChar(c)) fail(QStringLiteral("unexpected \"%1\"").arg(c));
        const int start = pos_;
        while (pos_ < s_.size() && isWordChar(s_[pos_]))
            ++pos_;
        const QString word = s_.mid(start, pos_ - start);
        if (word.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) return make(TFilterNode::Op::Null);
        if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            auto n = make(TFilterNode::Op::Bool);
            n->number = word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            return n;
        }
        return fieldNode(word);
    }

    std::unique_ptr<TFilterNode> fieldNode(const QString& name) {
        // "a.Code" style names keep only the field part, as in the SELECT's result.
        QString bare = name;
        const int dot = bare.lastIndexOf(u'.');
        int column = columnOf_(bare);
        if (column < 0 && dot >= 0) column = columnOf_(bare.mid(dot + 1));
        if (column < 0) fail(QStringLiteral("Field '%1' not found").arg(name));
        auto n = make(TFilterNode::Op::Field);
        n->column = column;
        return n;
    }

    std::unique_ptr<TFilterNode> parseText() {
        QString text;
        ++pos_;
        for (;;) {
            if (pos_ >= s_.size()) fail(QStringLiteral("unclosed text"));
            const QChar c = s_[pos_++];
            if (c == u'\'') {
                if (pos_ < s_.size() && s_[pos_] == u'\'') {
                    text += u'\'';
                    ++pos_;
                    continue;
                }
                break;
            }
            text += c;
        }
        auto n = make(TFilterNode::Op::Text);
        n->text = text;
        n->utf8 = foldAscii(text);
        bool ok = false;
        n->number = text.toDouble(&ok);
        return n;
    }

    std::unique_ptr<TFilterNode> parseNumber() {
        const int start = pos_;
        ++pos_;
        while (pos_ < s_.size() &&
               (s_[pos_].isDigit() || s_[pos_] == u'.' || s_[pos_] == u'e' || s_[pos_] == u'E'))
            ++pos_;
        bool ok = false;
        const double v = s_.mid(start, pos_ - start).toDouble(&ok);
        if (!ok) fail(QStringLiteral("bad number \"%1\"").arg(s_.mid(start, pos_ - start)));
        auto n = make(TFilterNode::Op::Number);
        n->number = v;
        n->text = s_.mid(start, pos_ - start);
        n->utf8 = n->text.toUtf8();
        return n;
    }
};

inline char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence that starts with this byte.
inline int utf8Len(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c >> 5) == 6) return 2;
    if ((c >> 4) == 14) return 3;
    if ((c >> 3) == 30) return 4;
    return 1;
}

bool likeRec(const char* t, const char* te, const char* p, const char* pe) {
    while (p < pe) {
        if (*p == '%') {
            while (p < pe && *p == '%')
                ++p;
            if (p == pe) return true;
            for (const char* s = t; s <= te; s += (s < te ? utf8Len((unsigned char)*s) : 1)) {
                if (likeRec(s, te, p, pe)) return true;
                if (s == te) break;
            }
            return false;
        }
        if (t >= te) return false;
        if (*p == '_') {
            t += utf8Len((unsigned char)*t);
            ++p;
            continue;
        }
        if (fold(*t) != *p) return false;
        ++t;
        ++p;
    }
    return t == te;
}

}  // namespace

std::unique_ptr<TFilterNode> ParseFilter(const QString& expression,
                                         const std::function<int(const QString&)>& columnOf) {
    Parser parser(expression, columnOf);
    return parser.parse();
}

bool LikeMatch(const char* text, size_t textLength, const QByteArray& pattern) {
    const char* p = pattern.constData();
    const qsizetype n = pattern.size();
    // The common form '%x%' (x without wildcards) is a plain case-folded substring search.
    if (n >= 2 && p[0] == '%' && p[n - 1] == '%') {
        const char* inner = p + 1;
        const qsizetype m = n - 2;
        bool plain = true;
        for (qsizetype i = 0; i < m; ++i)
            if (inner[i] == '%' || inner[i] == '_') plain = false;
        if (plain) {
            if (m == 0) return true;
            if (size_t(m) > textLength) return false;
            const char first = inner[0];
            for (size_t i = 0; i + size_t(m) <= textLength; ++i) {
                if (fold(text[i]) != first) continue;
                qsizetype k = 1;
                while (k < m && fold(text[i + k]) == inner[k])
                    ++k;
                if (k == m) return true;
            }
            return false;
        }
    }
    return likeRec(text, text + textLength, p, p + n);
}
