#include "ui/TDesktopLayout.h"

#include <QHash>

namespace {

QPoint parsePosition(const QString& value) {
    const QString v = value.trimmed();
    const qsizetype comma = v.indexOf(u',');
    if (v.isEmpty() || v == QLatin1String("0,0") || comma < 0) return TDesktopLayout::kDefaultPosition;
    bool okX = false, okY = false;
    const int x = v.left(comma).trimmed().toInt(&okX);
    const int y = v.mid(comma + 1).trimmed().toInt(&okY);
    // A damaged text must not keep the operator from logging in.
    if (!okX || !okY) return TDesktopLayout::kDefaultPosition;
    return QPoint(x, y);
}

}  // namespace

void TDesktopLayout::Read(const QStringList& actionNames, const QString& menus) {
    QHash<QString, QString> values;
    for (const QString& line : menus.split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString name = line.left(eq).trimmed();
        // The first line of a name counts, as a look-up by name would find it.
        if (!values.contains(name)) values.insert(name, line.mid(eq + 1));
    }
    entries_.clear();
    for (const QString& name : actionNames)
        entries_.push_back({name, parsePosition(values.value(name))});
}

QString TDesktopLayout::Text() const {
    QString text;
    for (const Entry& e : entries_)
        text += QStringLiteral("%1=%2,%3\r\n").arg(e.name).arg(e.position.x()).arg(e.position.y());
    return text;
}

QPoint TDesktopLayout::Position(const QString& actionName) const {
    for (const Entry& e : entries_)
        if (e.name == actionName) return e.position;
    return kDefaultPosition;
}

void TDesktopLayout::SetPosition(const QString& actionName, const QPoint& position) {
    for (Entry& e : entries_)
        if (e.name == actionName) {
            e.position = position;
            return;
        }
    entries_.push_back({actionName, position});
}
