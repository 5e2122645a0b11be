#pragma once

#include <QString>
#include <QStringList>

class TDataSet;

// Message and input boxes go through this seam: the user interface installs a handler that
// shows real boxes; tests install one that records the texts and answers.
enum class TMsgKind { Information, Warning, Error, Plain, Question };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgResult { Ok, Cancel, Yes, No };

class TMessageHandler {
public:
    virtual ~TMessageHandler();
    virtual TMsgResult ShowMessage(TMsgKind kind, TMsgButtons buttons, const QString& text,
                                   const QString& title) = 0;
    // An input box: true when confirmed, with the text.
    virtual bool InputQuery(const QString& title, const QString& prompt, QString* text) = 0;
};

// Installs the handler (not owned); null restores the default, which writes to stderr and
// answers OK / Yes.
void SetMessageHandler(TMessageHandler* handler);
TMessageHandler* MessageHandler();

TMsgResult MessageBox(TMsgKind kind, TMsgButtons buttons, const QString& text,
                      const QString& title = QString());
bool InputQuery(const QString& title, const QString& prompt, QString* text);

// Information box with OK; the text shown is "\r\n", the message, then "\t".
void ShowInfo(const QString& message);
// Warning box with OK and Cancel asking "\r您确定要删除 %s 吗?\t\t"; true when OK.
bool ConfirmDelete(const QString& what = QString());
// True when the dataset is open; otherwise tells the operator to open it first.
bool CheckActive(const TDataSet* dataSet);
// The error box of the application's default handler for an exception that reached it.
void ShowError(const QString& message);

// A handler for tests: records every box and answers from a queue (default OK / Yes).
class TRecordingMessages : public TMessageHandler {
public:
    struct Box {
        TMsgKind kind;
        TMsgButtons buttons;
        QString text;
        QString title;
    };
    TRecordingMessages();
    ~TRecordingMessages() override;
    TMsgResult ShowMessage(TMsgKind kind, TMsgButtons buttons, const QString& text,
                           const QString& title) override;
    bool InputQuery(const QString& title, const QString& prompt, QString* text) override;

    QList<Box> boxes;
    QList<TMsgResult> answers;  // taken in order; when empty, OK / Yes
    QStringList inputs;         // texts for input boxes; when empty, cancelled
    QStringList Texts() const;
    void Clear() { boxes.clear(); }

private:
    TMessageHandler* previous_;
};
