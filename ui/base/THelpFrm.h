#pragma once

#include <QWidget>

class QTextBrowser;

// The help window: shows the HTML page of a topic (":/help/<topic>.htm" among the program's
// resources); a topic without a page says so. One window serves every topic.
class THelpFrm : public QWidget {
    Q_OBJECT
public:
    explicit THelpFrm(QWidget* parent = nullptr);
    void ShowTopic(const QString& topic);
    QString Topic() const { return topic_; }
    QTextBrowser* Browser() const { return browser_; }

    // The one help window (null until help was first asked for).
    static THelpFrm* Instance();

private:
    QTextBrowser* browser_;
    QString topic_;
};

// Opens the help window at the topic.
void ShowHelpTopic(const QString& topic);
