#pragma once

#include "core/TMessages.h"

// The message seam shown as real message and input boxes.
class TQtMessages : public TMessageHandler {
public:
    TMsgResult ShowMessage(TMsgKind kind, TMsgButtons buttons, const QString& text,
                           const QString& title) override;
    bool InputQuery(const QString& title, const QString& prompt, QString* text) override;
};
