#pragma once
// Scripted stand-ins for message boxes and the file/folder/colour dialogs.
// Construct one in a test: it is installed at once and the real one comes
// back when it goes out of scope. Every message is recorded, with the window
// it was shown over (so a test can tell it belonged to its window); each one must
// have been expected (a queued answer whose text fragment it contains), or the
// test fails with the message's text.
//
//   MessageScript msgs;
//   msgs.expect("确定要删除", MB::Yes);
//   ... click ...
//   QCOMPARE(msgs.count(), 1);

#include "platform/Dialogs.h"
#include "platform/Messages.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <deque>
#include <QWidget>
#include <memory>

struct RecordedMessage {
    QString text;
    int style = 0;
    QString title;
    bool isInput = false;
    QPointer<QWidget> window;  // the window it was shown over (MessageWindow())
    int icon() const { return style & 0x70; }
    int buttons() const { return style & 0x0f; }
};

class MessageScript {
public:
    MessageScript();
    ~MessageScript();

    // The next message must contain `fragment` ("" matches any text); it is answered with `answer`.
    MessageScript& expect(const QString& fragment, int answer = MB::OK);
    // The next input box must contain `fragment` in its prompt.
    MessageScript& expectInput(const QString& fragment, const QString& text, bool ok = true);
    // From now on, unexpected messages are answered with `answer` instead of failing.
    void allowAny(int answer = MB::OK) { m_allowAny = true; m_anyAnswer = answer; }

    const QList<RecordedMessage>& recorded() const;
    int count() const { return recorded().size(); }
    const RecordedMessage& last() const { return recorded().last(); }
    bool anyContains(const QString& fragment) const;
    int pending() const;  // expectations not yet used
    void clear();

private:
    friend class ScriptedMessageSink;
    struct Expect {
        QString fragment;
        int answer;
        bool input;
        QString text;
        bool ok;
    };
    std::deque<Expect> m_queue;
    QList<RecordedMessage> m_recorded;
    bool m_allowAny = false;
    int m_anyAnswer = MB::OK;
    std::unique_ptr<MessageSink> m_previous;
};

class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    // Answers for the next dialogs of each kind, in order; "" = cancelled.
    DialogScript& openFile(const QString& path);
    DialogScript& saveFile(const QString& path);
    DialogScript& pickFolder(const QString& path);
    DialogScript& pickColour(std::optional<QColor> colour);
    QStringList titles;  // titles of the dialogs shown, in order

private:
    friend class ScriptedDialogSink;
    std::deque<QString> m_open, m_save, m_folder;
    std::deque<std::optional<QColor>> m_colour;
    std::unique_ptr<DialogSink> m_previous;
};
