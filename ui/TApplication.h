#pragma once

#include <QApplication>

// The application object: its default error handler shows an error that reached the event loop
// (a failed statement, a value that cannot be read) in an error box, and lets a silent abort
// (TAbort) end the action without a message.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
