#pragma once

#include <QString>
#include <QStringList>

#include "grid/TGridColumn.h"

// The layout text of a grid: one name=value line per column ("Code=True75": field name, then
// the visibility text immediately followed by the width in pixels), lines ended by CR LF.
namespace gridlayout {

// A name=value list as the layout text uses it: names compared without regard to case, the first
// line with a name wins on reading, writing a name already present replaces that line in place.
class TNameValueList {
public:
    void SetText(const QString& text);
    QString Text() const;
    // Index of the first line whose name equals the given one (any case); -1 when there is none.
    int IndexOfName(const QString& name) const;
    QString Value(const QString& name) const;
    void SetValue(const QString& name, const QString& value);
    int Count() const { return int(lines_.size()); }
    // The name of a line: the text before its first "="; empty for a line without one.
    QString Name(int index) const;

private:
    QStringList lines_;
};

// The layout text of the columns, in their order.
QString LayoutText(const TGridColumns& columns);

// Applies a layout text to columns already built from the dataset: visibility and width of every
// column named by a line, then each named column moved to the position of its line. A width that
// is not a number stops the application there (what was applied so far stays) and gives false.
bool ApplyLayoutText(TGridColumns& columns, const QString& text);

}  // namespace gridlayout
