#pragma once

#include <QString>
#include <vector>

// One column of a grid as the layout text and the exports see it: the field it shows, its title,
// its width in pixels and its visibility. A grid's columns are kept in the order the operator sees.
struct TGridColumn {
    QString FieldName;
    QString Caption;
    int Width = 64;
    bool Visible = true;
};

using TGridColumns = std::vector<TGridColumn>;
