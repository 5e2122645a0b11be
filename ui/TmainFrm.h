#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include "ui/TDesktopLayout.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QAction;
class TzxImgBtn;
class TzxListView;

// The main window: lives for the whole run; carries the main menu, the desktop of large icons
// for the daily work (arranged per operator), the strip of catalogue-data icons and the two hint
// lines; logs operators in ("重新登陆") and runs the shut-down steps when it closes.
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
    QMenu* ToolsMenu() const { return toolsMenu_; }
    QAction* OperatorsAction() const { return operatorsAction_; }
    QAction* PasswordAction() const { return passwordAction_; }
    QAction* ReloginAction() const { return reloginAction_; }
    QAction* ExitAction() const { return exitAction_; }
    // The window's action of that name (the names of the desktop layout).
    QAction* Action(const QString& name) const { return actions_.value(name); }
    // The menu entry with that caption, in any menu (null when there is none).
    QAction* MenuEntry(const QString& caption) const;
    QString HintLine1() const;
    QString HintLine2() const;
    TzxListView* Desktop() const { return desktop_; }
    QListWidget* Strip() const { return strip_; }
    TzxImgBtn* GroupPicture() const { return groupBtn_; }
    TzxImgBtn* ExitPicture() const { return exitBtn_; }
    const TDesktopLayout& Layout() const { return layout_; }

    // Runs the action whose name a desktop or strip icon remembers.
    void RunAction(const QString& name);
    // Fills the desktop with the daily-work icons at the layout's positions (the group picture).
    void FillDesktop();
    // Stores the desktop icons' positions for the operator whose layout is shown (at close).
    virtual void SaveDesktopLayout();
    // The tools menu: its fixed entries, then one entry per external tool.
    void RebuildToolsMenu();

    // Menu commands.
    void OpenOperators();
    void ChangePassword();

protected:
    void closeEvent(QCloseEvent* event) override;

    // After each login: the layout of the new operator and the desktop filled from it.
    virtual void RebuildNavigation();
    // Call point of the automatic backup at exit.
    virtual void RunAutomaticBackup() {}

private:
    QAction* addAction(QMenu* menu, const QString& name);
    void buildMenus();
    void buildBands();
    void loadPictures(TzxImgBtn* button, const QString& name, const QString& builtIn);
    void rememberPositions();
    void showHints();
    void showDesktopMenu(const QPoint& pos);
    void shutdown();

    QStringList commandLine_;
    QHash<QString, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QAction* operatorsAction_ = nullptr;
    QAction* passwordAction_ = nullptr;
    QAction* reloginAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    TzxImgBtn* exitBtn_ = nullptr;
    TzxImgBtn* groupBtn_ = nullptr;
    TzxImgBtn* group2Btn_ = nullptr;
    TzxListView* desktop_ = nullptr;
    QListWidget* strip_ = nullptr;
    QLabel* hint1_ = nullptr;
    QLabel* hint2_ = nullptr;
    TDesktopLayout layout_;
    // The operator whose layout the desktop shows.
    QString layoutOwner_;
    bool shutDown_ = false;
};
