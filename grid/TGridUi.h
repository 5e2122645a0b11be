#pragma once

#include <QString>
#include <functional>

#include "ui/base/TzxPopupMenu.h"

class QDialog;

// What the grids need of the window toolkit, in one place: the grid menu, running a modal dialog,
// asking for a file name and opening a file with the desktop's program. Tests replace the last
// three through the hooks so nothing waits for a user.

// The grids' pop-up menu: the system's menu, with a separator at a position (the picker puts one
// after the list's commands) and look-ups by caption.
class TGridMenu : public TzxPopupMenu {
    Q_OBJECT
public:
    explicit TGridMenu(QWidget* parent = nullptr);
    // A separator before the entry at the position (at the end when beyond the last).
    QAction* InsertSeparatorAt(int position);
    // The captions of the entries in order, "-" for a separator.
    QStringList Captions() const;
    // Runs the entry with the caption; false when there is none.
    bool Trigger(const QString& caption);
};

namespace gridui {

// Shows the dialog modally and returns its result.
int ExecDialog(QDialog& dialog);
void SetDialogHook(std::function<int(QDialog&)> hook);

// A save dialog with a filter of description|pattern pairs ("网页文件(*.htm;*.html)|*.htm;*.html")
// and a default extension; empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt);
void SetSaveFileHook(std::function<QString(const QString& filter, const QString& defaultExt)> hook);
// The pairs as a Qt file-dialog filter.
QString QtFilter(const QString& filter);

// Opens the file with the desktop's default program; false when nothing could open it.
bool OpenFile(const QString& path);
void SetOpenFileHook(std::function<bool(const QString&)> hook);

// Runs a grid command: a silent abort ends it quietly, a database or dataset error is shown.
void Guarded(const std::function<void()>& command);

// The refusal of a right when no operator is logged in, otherwise the operator's check; a refused
// right abandons the command silently after its message.
void CheckRight(int number);

}  // namespace gridui
