#pragma once

#include <QComboBox>

// The drop-down of every window: no automatic completion, Enter and Shift+Enter move the focus,
// Delete clears the choice of a pick-only list; aqua while focused, white otherwise.
class TzxComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TzxComboBox(QWidget* parent = nullptr);
    void SetEditable(bool editable);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
