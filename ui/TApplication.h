#pragma once

#include <QApplication>
#include <functional>

// The application object: its default error handler shows an error that reached the event loop
// (a failed statement, a value that cannot be read) in an error box, and lets a silent abort
// (TAbort) end the action without a message.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs an action as the event loop runs event handlers: a silent abort ends it quietly, any
    // other error is shown in an error box. False when the action did not complete.
    static bool Guarded(const std::function<void()>& action);
};
