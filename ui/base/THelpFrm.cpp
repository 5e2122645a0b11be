#include "ui/base/THelpFrm.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QPointer<THelpFrm> gHelp;
}

THelpFrm::THelpFrm(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpFrm"));
    setWindowTitle(QStringLiteral("帮助"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    resize(720, 560);
}

void THelpFrm::ShowTopic(const QString& topic) {
    topic_ = topic;
    const QString page = QStringLiteral(":/help/%1.htm").arg(topic);
    if (QFile::exists(page)) {
        browser_->setSource(QUrl(QStringLiteral("qrc") + page));
    } else {
        browser_->setHtml(
            QStringLiteral("<p>没有找到帮助主题 \"%1\" 的页面.</p>").arg(topic.toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

THelpFrm* THelpFrm::Instance() {
    return gHelp;
}

void ShowHelpTopic(const QString& topic) {
    if (!gHelp) {
        gHelp = new THelpFrm;
        gHelp->setAttribute(Qt::WA_DeleteOnClose);
    }
    gHelp->ShowTopic(topic);
}
