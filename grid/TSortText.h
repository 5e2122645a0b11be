#pragma once

#include <QString>
#include <vector>

class TDataSet;

// The texts the grids hand to their dataset: sort texts ("Name ASC,Code DESC") and the picker's
// search filter.
namespace sorttext {

enum class TSortDir { None, Asc, Desc };

struct TSortEntry {
    QString FieldName;
    TSortDir Dir = TSortDir::Asc;
};

// The sort text of the marked title columns, in the order they were marked: each field name
// followed by " DESC , " (descending) or ", " (ascending), the last two characters dropped.
QString TitleSortText(const std::vector<TSortEntry>& marked);

// Reads a sort text entry by entry ("A DESC,B ASC"); an entry without a direction word is
// ascending (the title sorting writes those), and a name may hold blanks.
std::vector<TSortEntry> ParseSortString(const QString& text);
// "A DESC,B ASC": the entries with a direction, in order; empty when none has one.
QString BuildSortString(const std::vector<TSortEntry>& entries);

// The picker's search: for every text field (hidden ones too), "(Field like '%typed%')" joined by
// " or "; empty when the typed text is blank. Apostrophes in the typed text are doubled.
QString SearchFilter(const TDataSet& dataSet, const QString& typed);

}  // namespace sorttext
