#include "ui/TDesktopPrograms.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "core/TMessages.h"

const char* const kWebSite = "https://www.chenggu.example/";

void OpenProgramFile(const QString& name) {
    const QString file = QCoreApplication::applicationDirPath() + u'/' + name;
    if (!QFile::exists(file) || !QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        ShowInfo(QStringLiteral("无法打开文件 %1.").arg(file));
}

bool StartFirstProgram(const QStringList& candidates) {
    for (const QString& program : candidates) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {})) return true;
    }
    return false;
}

void StartNotepad() {
    if (!StartFirstProgram({"gnome-text-editor", "gedit", "kwrite", "kate", "mousepad", "pluma", "xed",
                            "featherpad", "leafpad"}))
        ShowInfo(QStringLiteral("没有找到可用的文本编辑器."));
}

void StartCalculator() {
    if (!StartFirstProgram(
            {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}))
        ShowInfo(QStringLiteral("没有找到可用的计算器."));
}

void OpenWebSite() {
    QDesktopServices::openUrl(QUrl(QLatin1String(kWebSite)));
}
