#pragma once

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Answers modal windows in tests: each step runs on the next modal window that is shown (a window
// shown again counts again). Without steps left, a modal window is rejected so that a test can
// never hang on it; Unexpected() counts those.
class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalDriver(QList<Step> steps = {}) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, &ModalDriver::tick);
        timer_.start(10);
    }
    int Handled() const { return handled_; }
    int Unexpected() const { return unexpected_; }
    bool Done() const { return steps_.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == last_ && event->type() == QEvent::Hide) waiting_ = false;
        return false;
    }

private:
    void tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (waiting_ && last_ && last_->isVisible() && w == last_) return;
        waiting_ = false;
        if (!w || !w->isVisible()) return;
        // A window shown again after it was hidden counts as a new window.
        if (last_ != w) w->installEventFilter(this);
        last_ = w;
        waiting_ = true;
        if (steps_.isEmpty()) {
            ++unexpected_;
            QMetaObject::invokeMethod(w, "reject");
            return;
        }
        ++handled_;
        steps_.takeFirst()(w);
    }
    QList<Step> steps_;
    QTimer timer_;
    QPointer<QWidget> last_;
    bool waiting_ = false;
    int handled_ = 0;
    int unexpected_ = 0;
};
