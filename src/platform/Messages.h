#pragma once
// Message boxes and input boxes: the only way code talks to the user in a
// modal box. Windows call MsgBox / InputBox; the program installs the Qt
// implementation, tests install ScriptedMessages (tests/support), which records
// every message and answers from a queue.
//
// Buttons, icons and answers keep the numeric codes of the original program,
// so a caller can combine them: MsgBox(text, MB::YesNo | MB::Question, title).

#include <QString>
#include <memory>

class QWidget;

namespace MB {
// Button sets (low nibble).
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
// Icons.
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
// Default button.
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
// Answers.
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MB

// What InputBox answers: ok is false when the user cancelled.
struct InputAnswer {
    bool ok = false;
    QString text;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows a message box; returns one of the MB answers.
    virtual int msgBox(const QString& text, int style, const QString& title) = 0;
    virtual InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
};

// The installed sink (the Qt one unless a test replaced it). Install returns
// the previous one so a test can put it back.
MessageSink& Messages();
std::unique_ptr<MessageSink> InstallMessages(std::unique_ptr<MessageSink> sink);

// The window the messages of a command concern. A window holds a MessageScope
// while it runs one of its commands, so that a box shown meanwhile stands over
// that window (an MDI child among others, not whichever window is active) without
// every call passing the window on. Scopes nest; the innermost one counts,
// except that a modal dialog opened within it owns the messages of its own commands.
class MessageScope {
public:
    explicit MessageScope(QWidget* window);
    ~MessageScope();
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;
};

// The window a message shown now belongs to: the innermost scope's window (or a
// modal dialog opened since), else the window holding the focus (an MDI child's
// own widget, not the main window around it), else the active window; null when none.
QWidget* MessageWindow();

// The information icon and an empty title are the rule of this program.
int MsgBox(const QString& text, int style = MB::OKOnly | MB::Information, const QString& title = QString());
InputAnswer InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString());

// Qt implementation; boxes are parented to and centred over MessageWindow().
class QtMessages : public MessageSink {
public:
    int msgBox(const QString& text, int style, const QString& title) override;
    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
};
