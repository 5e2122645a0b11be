#pragma once

#include <QLabel>
#include <QPixmap>

// A picture button: a normal and a highlighted picture; with Highlight on, pointing at it shows
// the highlighted one (and reports its hint), leaving restores the normal one.
class TzxImgBtn : public QLabel {
    Q_OBJECT
public:
    explicit TzxImgBtn(QWidget* parent = nullptr);

    void SetPictures(const QPixmap& normal, const QPixmap& highlighted);
    // Loads "<name>A" and "<name>B" from the folder; a picture that cannot be loaded is reported
    // with a plain box "<name>:<reason>" and stays empty.
    void LoadPictures(const QString& folder, const QString& name);
    bool Highlight = true;
    // Keeps the highlighted picture (also after the pointer leaves).
    void SetHighlighted(bool on);
    QString Hint;

signals:
    void Clicked();
    void HintChanged(const QString& hint);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap normal_;
    QPixmap highlighted_;
    bool stuck_ = false;
};
