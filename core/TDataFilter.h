#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// The parsed form of a local filter expression of a TDataSet. The grammar covers what the
// windows write: comparisons (= <> != < > <= >=), like / not like with % and _ wildcards,
// is [not] null, and / or / not, and parentheses; operands are field names (plain, [bracketed]
// or "quoted"), 'text' literals with '' for an apostrophe, numbers, true, false and null.
struct TFilterNode {
    enum class Op {
        Or,
        And,
        Not,
        Compare,
        Like,
        NotLike,
        IsNull,
        IsNotNull,
        Field,
        Text,
        Number,
        Bool,
        Null
    };
    enum class Cmp { Eq, Ne, Lt, Gt, Le, Ge };

    Op op = Op::Null;
    Cmp cmp = Cmp::Eq;
    int column = -1;    // Field
    QString text;       // Text literal
    QByteArray utf8;    // Text literal in UTF-8, ASCII letters folded to lower case (for like and =)
    double number = 0;  // Number, Bool (0/1)
    std::unique_ptr<TFilterNode> left;
    std::unique_ptr<TFilterNode> right;
};

// Parses the expression; columnOf maps a field name to its column index (-1: unknown field).
// Raises TDbError(Expression) with a message naming the fault.
std::unique_ptr<TFilterNode> ParseFilter(const QString& expression,
                                         const std::function<int(const QString&)>& columnOf);

// Case-insensitive (ASCII letters) LIKE over UTF-8 bytes; the pattern is already folded.
bool LikeMatch(const char* text, size_t textLength, const QByteArray& foldedPattern);
