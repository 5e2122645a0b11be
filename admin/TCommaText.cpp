#include "admin/TCommaText.h"

namespace {

// Blanks and control characters (everything up to and including the space).
bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}

}  // namespace

QString ToCommaText(const QStringList& items) {
    if (items.size() == 1 && items.first().isEmpty()) return QStringLiteral("\"\"");
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i) out += u',';
        const QString& item = items[i];
        bool quote = false;
        for (QChar c : item) {
            if (isBlank(c) || c == u'"' || c == u',') {
                quote = true;
                break;
            }
        }
        if (quote) {
            QString doubled = item;
            doubled.replace(u'"', QStringLiteral("\"\""));
            out += u'"' + doubled + u'"';
        } else {
            out += item;
        }
    }
    return out;
}

QStringList FromCommaText(const QString& text) {
    QStringList items;
    const qsizetype n = text.size();
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && isBlank(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        QString item;
        if (text[p] == u'"') {
            ++p;
            while (p < n) {
                if (text[p] == u'"') {
                    if (p + 1 < n && text[p + 1] == u'"') {
                        item += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && !isBlank(text[p]) && text[p] != u',')
                ++p;
            item = text.mid(start, p - start);
        }
        items << item;
        skipBlanks();
        if (p < n && text[p] == u',') {
            if (p + 1 == n) items << QString();
            ++p;
            skipBlanks();
        }
    }
    return items;
}
