#pragma once

#include <QString>
#include <vector>

// The actions of the main window that the desktop, the icon strip and the menus share: each has
// its name (the key of the desktop layout), caption, icon, hint and opener.
struct TMainAction {
    QString name;
    QString caption;
    QString icon;              // resource path of the icon
    QString hint;              // second hint line when its desktop icon is selected
    int right = 0;             // right number the opener checks first (0: none)
    bool busyCursor = false;   // the busy cursor shows while the window is created
    void (*open)() = nullptr;  // the window's opener; null while the window is not available
};

// Every action of the window, in the order of the layout text.
const std::vector<TMainAction>& MainActions();
const TMainAction* FindMainAction(const QString& name);
// Runs an action's opener: the right check (a refusal ends silently after its message), the
// busy cursor where the action asks for it, then the opener, or the message that the function
// is not available yet.
void RunMainAction(const TMainAction& action);
// "\"%s\" 功能尚未提供.": what an opener of a window not yet available says.
void ShowNotAvailable(const QString& caption);

// The desktop icons in their order, and the icons of the bottom strip.
const QStringList& DesktopActionNames();
const QStringList& StripActionNames();
