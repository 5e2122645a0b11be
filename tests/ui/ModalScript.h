#pragma once

#include <QDialog>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>

// Answers the modal dialogs a test opens: each time a modal dialog is shown, the next step runs
// on it from the event loop (a step usually fills fields and accepts or rejects). A dialog shown
// when no step is left is rejected, so a test never waits for a person.
class ModalScript : public QObject {
    Q_OBJECT
public:
    using Step = std::function<void(QDialog*)>;
    explicit ModalScript(std::initializer_list<Step> steps = {});
    ~ModalScript() override;

    // Captions of the modal dialogs shown, in order.
    QStringList shown;
    bool Finished() const { return steps_.empty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::deque<Step> steps_;
    ModalScript* previous_;
};

// The steps most tests need.
ModalScript::Step Reject();
template <class T>
T* As(QDialog* d) {
    return static_cast<T*>(d);
}
