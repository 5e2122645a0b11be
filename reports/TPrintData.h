#pragma once

#include <QList>
#include <QString>

class TDataSet;

// The print command of the list windows: checks the print right, then shows the print window "打印"
// with the layouts of the group over the data sets ("d0" the list, "d1" its criteria record when
// there is one). title is the list's title, used by generated layouts.
void PrintData(const QList<TDataSet*>& dataSets, int group, const QString& title = QString());
