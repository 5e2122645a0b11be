#pragma once

#include <QList>

// The report groups of the windows that print, and their default layouts.
namespace TDefaultReports {

// Every report group a printing window uses.
QList<int> Groups();
// Adds the layout "默认样式" to each group that has none (one transaction). Its document stays empty
// until it is first designed, so it prints the generated table of the window's visible columns.
// Safe to call at every start-up after the connection is made.
void EnsureDefaultReports();

inline constexpr const char* kDefaultTitle = "默认样式";

}  // namespace TDefaultReports
