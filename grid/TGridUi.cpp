#include "grid/TGridUi.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include "admin/TOperator.h"
#include "core/TAbort.h"
#include "core/TDbError.h"
#include "core/TMessages.h"

TGridMenu::TGridMenu(QWidget* parent) : TzxPopupMenu(parent) {}

QAction* TGridMenu::InsertSeparatorAt(int position) {
    const QList<QAction*> list = actions();
    if (position >= list.size()) return addSeparator();
    return insertSeparator(list.at(qMax(0, position)));
}

QStringList TGridMenu::Captions() const {
    QStringList out;
    for (QAction* a : actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

bool TGridMenu::Trigger(const QString& caption) {
    for (QAction* a : actions()) {
        if (!a->isSeparator() && a->text() == caption) {
            a->trigger();
            return true;
        }
    }
    return false;
}

namespace gridui {

namespace {
std::function<int(QDialog&)> gDialogHook;
std::function<QString(const QString&, const QString&)> gSaveHook;
std::function<bool(const QString&)> gOpenHook;
}  // namespace

int ExecDialog(QDialog& dialog) {
    return gDialogHook ? gDialogHook(dialog) : dialog.exec();
}
void SetDialogHook(std::function<int(QDialog&)> hook) {
    gDialogHook = std::move(hook);
}

QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExt) {
    if (gSaveHook) return gSaveHook(filter, defaultExt);
    QFileDialog dlg(parent);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilter(QtFilter(filter));
    dlg.setDefaultSuffix(defaultExt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().first();
}

void SetSaveFileHook(std::function<QString(const QString&, const QString&)> hook) {
    gSaveHook = std::move(hook);
}

bool OpenFile(const QString& path) {
    if (gOpenHook) return gOpenHook(path);
    // The desktop's opener starts in the background and fails silently when no program handles
    // the file's type; ask the desktop's type table first so the caller can show the path instead.
    const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (query.waitForStarted(2000) && query.waitForFinished(3000) && query.exitCode() == 0 &&
        query.readAllStandardOutput().trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void SetOpenFileHook(std::function<bool(const QString&)> hook) {
    gOpenHook = std::move(hook);
}

void Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const TAbort&) {
    } catch (const TDbError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
}

void CheckRight(int number) {
    if (gOperator) {
        gOperator->CheckRight(number, true);
        return;
    }
    ShowInfo(QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(%1).").arg(number));
    throw TAbort();
}

}  // namespace gridui
