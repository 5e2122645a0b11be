#include "core/TMessages.h"

#include <cstdio>

#include "core/TDataSet.h"

TMessageHandler::~TMessageHandler() = default;

namespace {

class StderrMessages : public TMessageHandler {
public:
    TMsgResult ShowMessage(TMsgKind, TMsgButtons buttons, const QString& text, const QString&) override {
        std::fprintf(stderr, "%s\n", text.trimmed().toLocal8Bit().constData());
        return buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel ? TMsgResult::Ok
                                                                              : TMsgResult::Yes;
    }
    bool InputQuery(const QString&, const QString&, QString*) override { return false; }
};

StderrMessages gStderrMessages;
TMessageHandler* gHandler = nullptr;

}  // namespace

void SetMessageHandler(TMessageHandler* handler) {
    gHandler = handler;
}
TMessageHandler* MessageHandler() {
    return gHandler ? gHandler : &gStderrMessages;
}

TMsgResult MessageBox(TMsgKind kind, TMsgButtons buttons, const QString& text, const QString& title) {
    return MessageHandler()->ShowMessage(kind, buttons, text, title);
}

bool InputQuery(const QString& title, const QString& prompt, QString* text) {
    return MessageHandler()->InputQuery(title, prompt, text);
}

void ShowInfo(const QString& message) {
    MessageBox(TMsgKind::Information, TMsgButtons::Ok,
               QStringLiteral("\r\n") + message + QStringLiteral("\t"));
}

bool ConfirmDelete(const QString& what) {
    const QString target = what.isEmpty() ? QStringLiteral("当前记录") : what;
    return MessageBox(TMsgKind::Warning, TMsgButtons::OkCancel,
                      QStringLiteral("\r您确定要删除 %1 吗?\t\t").arg(target)) == TMsgResult::Ok;
}

bool CheckActive(const TDataSet* dataSet) {
    if (dataSet && dataSet->Active()) return true;
    ShowInfo(QStringLiteral("\r\n系统提示：请先打开数据集再操作."));
    return false;
}

void ShowError(const QString& message) {
    MessageBox(TMsgKind::Error, TMsgButtons::Ok, message);
}

TRecordingMessages::TRecordingMessages() : previous_(gHandler) {
    SetMessageHandler(this);
}
TRecordingMessages::~TRecordingMessages() {
    SetMessageHandler(previous_);
}

TMsgResult TRecordingMessages::ShowMessage(TMsgKind kind, TMsgButtons buttons, const QString& text,
                                           const QString& title) {
    boxes.append(Box{kind, buttons, text, title});
    if (!answers.isEmpty()) return answers.takeFirst();
    return buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel ? TMsgResult::Ok : TMsgResult::Yes;
}

bool TRecordingMessages::InputQuery(const QString& title, const QString& prompt, QString* text) {
    boxes.append(Box{TMsgKind::Question, TMsgButtons::OkCancel, prompt, title});
    if (inputs.isEmpty()) return false;
    *text = inputs.takeFirst();
    return true;
}

QStringList TRecordingMessages::Texts() const {
    QStringList t;
    for (const Box& b : boxes)
        t << b.text;
    return t;
}
