#pragma once

#include <QString>
#include <QStringList>

// The comma format in which a pick list keeps its items in one text: items joined by ",", an item
// holding a blank, a control character, a double quote or a comma written between double quotes
// with inner quotes doubled, and a list of one empty item written as "".
QString ToCommaText(const QStringList& items);
// Reads a comma text: a quoted item runs to its closing quote, an unquoted one to a comma, blank or
// control character; blanks between items are skipped; a comma at the very end adds an empty item.
QStringList FromCommaText(const QString& text);
