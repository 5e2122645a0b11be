#pragma once

#include <QPlainTextEdit>

// The multi-line text field: yellow while focused when read-only, aqua otherwise; white when not
// focused.
class TzxMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TzxMemo(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
