#include "ui/base/TzxImgBtn.h"

#include <QFile>
#include <QImageReader>
#include <QMouseEvent>

#include "core/TMessages.h"

TzxImgBtn::TzxImgBtn(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void TzxImgBtn::SetPictures(const QPixmap& normal, const QPixmap& highlighted) {
    normal_ = normal;
    highlighted_ = highlighted;
    setPixmap(stuck_ ? highlighted_ : normal_);
}

void TzxImgBtn::LoadPictures(const QString& folder, const QString& name) {
    QPixmap pictures[2];
    const char* suffix[2] = {"A", "B"};
    for (int i = 0; i < 2; ++i) {
        const QString file = folder + u'/' + name + QLatin1String(suffix[i]);
        QImageReader reader(file, "jpg");
        const QImage image = reader.read();
        if (image.isNull()) {
            MessageBox(TMsgKind::Plain, TMsgButtons::Ok, name + u':' + reader.errorString());
            continue;
        }
        pictures[i] = QPixmap::fromImage(image);
    }
    SetPictures(pictures[0], pictures[1]);
}

void TzxImgBtn::SetHighlighted(bool on) {
    stuck_ = on;
    setPixmap(on ? highlighted_ : normal_);
}

void TzxImgBtn::enterEvent(QEnterEvent* event) {
    if (Highlight) {
        if (!highlighted_.isNull()) setPixmap(highlighted_);
        emit HintChanged(Hint);
    }
    QLabel::enterEvent(event);
}

void TzxImgBtn::leaveEvent(QEvent* event) {
    if (Highlight) {
        setPixmap(stuck_ ? highlighted_ : normal_);
        emit HintChanged(QString());
    }
    QLabel::leaveEvent(event);
}

void TzxImgBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
    QLabel::mouseReleaseEvent(event);
}
