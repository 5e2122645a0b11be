#include "grid/TGridLayout.h"

#include <QRegularExpression>
#include <algorithm>

namespace gridlayout {

void TNameValueList::SetText(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    lines_ = text.split(breaks);
    // A text ending in a line break has no further line.
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
}

QString TNameValueList::Text() const {
    QString text;
    for (const QString& line : lines_)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString TNameValueList::Name(int index) const {
    const QString& line = lines_.at(index);
    const int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

int TNameValueList::IndexOfName(const QString& name) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const int eq = lines_[i].indexOf(u'=');
        if (eq >= 0 && QStringView(lines_[i]).left(eq).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

QString TNameValueList::Value(const QString& name) const {
    const int i = IndexOfName(name);
    return i < 0 ? QString() : lines_[i].mid(lines_[i].indexOf(u'=') + 1);
}

void TNameValueList::SetValue(const QString& name, const QString& value) {
    const int i = IndexOfName(name);
    if (i < 0)
        lines_.append(name + u'=' + value);
    else
        lines_[i] = name + u'=' + value;
}

QString LayoutText(const TGridColumns& columns) {
    TNameValueList list;
    for (const TGridColumn& c : columns)
        list.SetValue(c.FieldName, (c.Visible ? QStringLiteral("True") : QStringLiteral("False")) +
                                       QString::number(c.Width));
    return list.Text();
}

bool ApplyLayoutText(TGridColumns& columns, const QString& text) {
    if (text.isEmpty()) return true;
    TNameValueList list;
    list.SetText(text);

    for (TGridColumn& c : columns) {
        const int line = list.IndexOfName(c.FieldName);
        if (line < 0) continue;
        QString value = list.Value(c.FieldName);
        c.Visible = value.contains(QLatin1String("True"));
        value.remove(QStringLiteral("True"), Qt::CaseInsensitive);
        value.remove(QStringLiteral("False"), Qt::CaseInsensitive);
        bool ok = false;
        const int width = value.toInt(&ok, 10);
        if (!ok) return false;
        c.Width = qMax(0, width);
    }

    // Each line's position counts only the lines that name a column of this grid, so that a line
    // left behind by a field the list no longer has does not push the others out of place.
    QStringList names;
    for (int i = 0; i < list.Count(); ++i) {
        const QString name = list.Name(i);
        if (name.isEmpty()) continue;
        const bool known = std::any_of(columns.begin(), columns.end(),
                                       [&](const TGridColumn& c) { return c.FieldName == name; });
        if (known) names << name;
    }
    for (int i = int(names.size()) - 1; i >= 0; --i) {
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const TGridColumn& c) { return c.FieldName == names[i]; });
        if (it == columns.end() || i >= int(columns.size())) continue;
        TGridColumn moved = *it;
        columns.erase(it);
        columns.insert(columns.begin() + i, moved);
    }
    return true;
}

}  // namespace gridlayout
