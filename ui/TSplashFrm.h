#pragma once

#include <QWidget>

class QLabel;

// The borderless window shown while the program starts: a picture (splash.jpg in the program's
// folder, when there is one) and one hint line.
class TSplashFrm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashFrm(QWidget* parent = nullptr);
    ~TSplashFrm() override;
    QString Hint() const;
    QLabel* Picture() const { return picture_; }
    static TSplashFrm* Instance();

private:
    friend void ShowSplashHint(const QString& text);
    QLabel* picture_;
    QLabel* hint_;
};

// A non-empty text replaces the splash window's hint line; an empty one appends "."; the line is
// repainted at once, since start-up does not return to the event loop between its steps.
void ShowSplashHint(const QString& text);
