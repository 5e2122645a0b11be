#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

// Where an operator keeps the main window's desktop icons: one entry per action of the window,
// read from and written to the operator's Menus text, one line per action: "Name=x,y".
class TDesktopLayout {
public:
    // The position of an action never placed, or placed at "0,0".
    static constexpr QPoint kDefaultPosition{10, 10};

    // Builds the entries of the actions, in their order, from a Menus text. A missing line, a
    // value "0,0" or one that is not two whole numbers gives the default position.
    void Read(const QStringList& actionNames, const QString& menus);
    // The Menus text of every entry, each line ended by "\r\n".
    QString Text() const;

    QPoint Position(const QString& actionName) const;
    void SetPosition(const QString& actionName, const QPoint& position);

private:
    struct Entry {
        QString name;
        QPoint position;
    };
    std::vector<Entry> entries_;
};
