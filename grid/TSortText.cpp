#include "grid/TSortText.h"

#include <QStringList>

#include "core/TDataSet.h"

namespace sorttext {

QString TitleSortText(const std::vector<TSortEntry>& marked) {
    QString text;
    for (const TSortEntry& e : marked) {
        if (e.Dir == TSortDir::None) continue;
        text += e.FieldName + (e.Dir == TSortDir::Desc ? QStringLiteral(" DESC , ") : QStringLiteral(", "));
    }
    text.chop(2);
    return text;
}

std::vector<TSortEntry> ParseSortString(const QString& text) {
    std::vector<TSortEntry> out;
    for (const QString& raw : text.split(u',', Qt::SkipEmptyParts)) {
        QStringList words = raw.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        TSortEntry e;
        const QString last = words.last().toUpper();
        if (words.size() > 1 && (last == QLatin1String("ASC") || last == QLatin1String("DESC"))) {
            e.Dir = last == QLatin1String("DESC") ? TSortDir::Desc : TSortDir::Asc;
            words.removeLast();
        }
        e.FieldName = words.join(u' ');
        out.push_back(e);
    }
    return out;
}

QString BuildSortString(const std::vector<TSortEntry>& entries) {
    QString text;
    for (const TSortEntry& e : entries) {
        if (e.Dir == TSortDir::None) continue;
        text +=
            u',' + e.FieldName + (e.Dir == TSortDir::Desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    return text.mid(1);
}

QString SearchFilter(const TDataSet& dataSet, const QString& typed) {
    if (typed.trimmed().isEmpty()) return QString();
    QString quoted = typed;
    quoted.replace(u'\'', QStringLiteral("''"));
    QString filter;
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const TField* f = dataSet.Field(i);
        if (!f->IsTextual() || f->Calculated) continue;
        filter += QStringLiteral(" or (%1 like '%%2%')").arg(f->FieldName(), quoted);
    }
    if (filter.startsWith(QLatin1String(" or "))) filter.remove(0, 4);
    return filter;
}

}  // namespace sorttext
