#pragma once

#include <QDialog>

// Base of the system's windows: F1 shows the window's help topic; a window is shown centred on
// the mouse pointer (kept on the screen) unless it asks to be centred on the screen; optionally
// Enter and Shift+Enter move the focus like Tab and Shift+Tab.
class TaFrm : public QDialog {
    Q_OBJECT
public:
    enum TPosition { poMousePointer, poScreenCenter, poDesigned };

    explicit TaFrm(QWidget* parent = nullptr);

    // Opens the help window at the topic; an empty topic is the window's name without its last
    // three characters (the window "mainFrm" has the topic "main").
    virtual void ShowHelpTopic(const QString& topic = QString());
    QString HelpTopic() const;

    void SetPosition(TPosition position) { position_ = position; }
    void SetEnterMovesFocus(bool on) { enterMovesFocus_ = on; }

    // Where a window of the given size goes for a pointer position on a screen of the given size.
    static QPoint PointerPlacement(const QPoint& pointer, const QSize& window, const QSize& screen);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TPosition position_ = poMousePointer;
    bool enterMovesFocus_ = false;
};
