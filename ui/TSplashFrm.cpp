#include "ui/TSplashFrm.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "core/TAppInfo.h"

namespace {
TSplashFrm* gSplash = nullptr;
}

TSplashFrm::TSplashFrm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(new QLabel(this)),
      hint_(new QLabel(QStringLiteral("正在创建数据连接..."), this)) {
    setObjectName(QStringLiteral("SplashFrm"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(picture_);
    layout->addWidget(hint_);
    hint_->setContentsMargins(12, 0, 12, 0);
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/splash.jpg");
    QPixmap pixmap;
    if (QFile::exists(file)) pixmap.load(file);
    if (!pixmap.isNull()) {
        picture_->setPixmap(pixmap);
    } else {
        // Without a picture the band shows the program's title.
        picture_->setMinimumSize(420, 160);
        picture_->setAlignment(Qt::AlignCenter);
        picture_->setText(AppTitle);
        picture_->setStyleSheet(
            QStringLiteral("background:#2f6f9f; color:white; font-size:26px; font-weight:bold;"));
    }
    setStyleSheet(QStringLiteral("TSplashFrm { background:white; border:1px solid #2f6f9f; }"));
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
    gSplash = this;
}

TSplashFrm::~TSplashFrm() {
    if (gSplash == this) gSplash = nullptr;
}

QString TSplashFrm::Hint() const {
    return hint_->text();
}

TSplashFrm* TSplashFrm::Instance() {
    return gSplash;
}

void ShowSplashHint(const QString& text) {
    if (!gSplash) return;
    gSplash->hint_->setText(text.isEmpty() ? gSplash->hint_->text() + u'.' : text);
    gSplash->hint_->repaint();
}
