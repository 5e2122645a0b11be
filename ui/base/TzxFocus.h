#pragma once

class QWidget;

// Moves the focus from a control to the next (or, backwards, the previous) control of its window
// that takes the focus by Tab, as Enter and Shift+Enter do in the system's input controls.
void MoveFocusFrom(QWidget* control, bool backwards);
// Sets the background colour a control is drawn with (the Base role of its palette).
class QColor;
void SetBaseColor(QWidget* control, const QColor& color);
