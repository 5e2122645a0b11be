#include "ui/base/TQtMessages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "core/TAppInfo.h"

TMsgResult TQtMessages::ShowMessage(TMsgKind kind, TMsgButtons buttons, const QString& text,
                                    const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    // Boxes without a title of their own carry the program's title.
    box.setWindowTitle(!title.isEmpty()      ? title
                       : !AppTitle.isEmpty() ? AppTitle
                                             : QApplication::applicationDisplayName());
    // The leading line breaks and trailing tabs only served as spacing in the boxes.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    box.setText(shown.trimmed());
    switch (kind) {
        case TMsgKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case TMsgKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case TMsgKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case TMsgKind::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case TMsgKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (buttons) {
        case TMsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case TMsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case TMsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return TMsgResult::Ok;
        case QMessageBox::Yes:
            return TMsgResult::Yes;
        case QMessageBox::No:
            return TMsgResult::No;
        default:
            return TMsgResult::Cancel;
    }
}

bool TQtMessages::InputQuery(const QString& title, const QString& prompt, QString* text) {
    bool ok = false;
    const QString value =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, *text, &ok);
    if (ok) *text = value;
    return ok;
}
