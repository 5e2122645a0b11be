#pragma once

#include <QMainWindow>
#include <QStringList>

class QLabel;
class QMenu;
class QAction;

// The main window: lives for the whole run, carries the menus and the hint lines, logs operators
// in ("重新登陆") and runs the shut-down steps when it closes.
class TmainFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit TmainFrm(QWidget* parent = nullptr);
    ~TmainFrm() override;

    // The program's arguments after its name: exactly three log in with the first two.
    void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }
    // Logs an operator in (command line at the first login, else the dialog) and rebuilds the
    // navigation; false when the dialog was cancelled (the operator logged in before stays).
    bool Login(bool first);

    QMenu* FileMenu() const { return fileMenu_; }
    QAction* OperatorsAction() const { return operatorsAction_; }
    QAction* PasswordAction() const { return passwordAction_; }
    QAction* ReloginAction() const { return reloginAction_; }
    QAction* ExitAction() const { return exitAction_; }
    QString HintLine1() const;
    QString HintLine2() const;

    // Menu commands.
    void OpenOperators();
    void ChangePassword();

protected:
    void closeEvent(QCloseEvent* event) override;

    // Call points for the navigation and the desktop: rebuilt for the operator after each login
    // (icon positions from the operator's layout), stored at close.
    virtual void RebuildNavigation();
    virtual void SaveDesktopLayout() {}
    // Call point of the automatic backup at exit.
    virtual void RunAutomaticBackup() {}

private:
    void shutdown();
    QStringList commandLine_;
    QMenu* fileMenu_;
    QAction* operatorsAction_;
    QAction* passwordAction_;
    QAction* reloginAction_;
    QAction* exitAction_;
    QLabel* hint1_;
    QLabel* hint2_;
    bool shutDown_ = false;
};
