#include "core/TEngine.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#include "core/TDataSet.h"
#include "core/TDbError.h"

TEngine::~TEngine() = default;

namespace {

QHash<QString, QString>& canonicalNames() {
    static QHash<QString, QString> names;
    return names;
}

}  // namespace

void RegisterCanonicalNames(const QStringList& names) {
    for (const QString& n : names)
        canonicalNames().insert(n.toLower(), n);
}

TConnectionParams TConnectionParams::Parse(const QString& connectionString) {
    TConnectionParams p;
    for (const QString& part : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = part.left(eq).trimmed().toLower();
        const QString value = part.mid(eq + 1).trimmed();
        if (key == QLatin1String("provider"))
            p.provider = value;
        else if (key == QLatin1String("data source"))
            p.dataSource = value;
        else if (key == QLatin1String("port"))
            p.port = value.toInt();
        else if (key == QLatin1String("user id"))
            p.user = value;
        else if (key == QLatin1String("password"))
            p.password = value;
        else if (key == QLatin1String("initial catalog"))
            p.database = value;
        else if (key == QLatin1String("search path"))
            p.searchPath = value;
        else if (key == QLatin1String("connect timeout"))
            p.connectTimeout = value.toInt();
    }
    return p;
}

QString TEngine::Translate(const QString& sql) const {
    QString out;
    out.reserve(sql.size() + 16);
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'') {
            // Copy a text literal as it is, '' included.
            const int start = i++;
            while (i < n) {
                if (sql[i] == u'\'') {
                    if (i + 1 < n && sql[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out += QStringView(sql).mid(start, i - start);
            continue;
        }
        if (c == u'[') {
            const int end = sql.indexOf(u']', i + 1);
            if (end > i) {
                out += QuoteName(sql.mid(i + 1, end - i - 1));
                i = end + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    // "select top N ..." becomes "select ... limit N" on both engines.
    static const QRegularExpression top(QStringLiteral("^(\\s*select\\s+(?:distinct\\s+)?)top\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = top.match(out);
    if (m.hasMatch()) {
        QString rest = out.mid(m.capturedEnd());
        while (rest.endsWith(u';') || rest.endsWith(u' '))
            rest.chop(1);
        out = m.captured(1) + rest + QStringLiteral(" limit ") + m.captured(2);
    }
    return out;
}

QString TEngine::DateTimeText(const QDateTime& value) {
    if (value.time().msec() != 0) return value.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    return value.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString TEngine::CanonicalName(const QString& resultName, const QString& sql) {
    if (resultName != resultName.toLower()) return resultName;
    // The statement's own spelling (an alias such as "CataMark"), found as a whole word.
    qsizetype from = 0;
    while (true) {
        const qsizetype at = sql.indexOf(resultName, from, Qt::CaseInsensitive);
        if (at < 0) break;
        const qsizetype end = at + resultName.size();
        const bool wordStart = at == 0 || !(sql[at - 1].isLetterOrNumber() || sql[at - 1] == u'_');
        const bool wordEnd = end >= sql.size() || !(sql[end].isLetterOrNumber() || sql[end] == u'_');
        if (wordStart && wordEnd) return sql.mid(at, resultName.size());
        from = at + 1;
    }
    return canonicalNames().value(resultName, resultName);
}

QString TEngine::statementError(const QString& providerMessage, const QString& sql) const {
    return providerMessage.trimmed() + QStringLiteral("\r\n") + sql;
}

std::vector<int> TEngine::MapDeclaredFields(TDataSet& into, const QStringList& resultNames) {
    std::vector<int> map(size_t(resultNames.size()), -1);
    std::vector<bool> found(size_t(into.FieldCount()), false);
    for (int i = 0; i < resultNames.size(); ++i) {
        const int f = into.FieldIndex(resultNames[i]);
        if (f >= 0 && !found[size_t(f)] && !into.Field(f)->Calculated) {
            map[size_t(i)] = f;
            found[size_t(f)] = true;
        }
    }
    for (int f = 0; f < into.FieldCount(); ++f)
        if (!found[size_t(f)] && !into.Field(f)->Calculated)
            throw TDbError(TDbError::Kind::Field,
                           QStringLiteral("Field '%1' not found").arg(into.Field(f)->FieldName()));
    return map;
}

std::vector<int> TEngine::UnmappedFields(const TDataSet& into, const std::vector<int>& map) {
    std::vector<int> unmapped;
    for (int f = 0; f < into.FieldCount(); ++f)
        if (std::find(map.begin(), map.end(), f) == map.end()) unmapped.push_back(f);
    return unmapped;
}
