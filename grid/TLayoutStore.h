#pragma once

#include <QString>

// Grid layouts stored per layout id in table syscols (F02 the id, F06 the layout text).
namespace layoutstore {

// The layout text stored under the id; empty when there is none.
QString Load(int id);
// Stores the text under the id (updating the row that is there, or adding one); true when
// exactly one row was written.
bool Save(int id, const QString& text);

}  // namespace layoutstore
