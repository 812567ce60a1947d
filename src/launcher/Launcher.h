#pragma once
// Vorlixgo, the small program behind the desktop shortcut: its one window
// shows a picture, starts the main program from the path kept in the user's
// settings and ends, or tells the user why it cannot. It shares nothing with
// the main program but that one setting, which neither program writes.

#include <QWidget>
#include <functional>

// How the launcher shows a message box (information icon, OK only). The
// program shows a QMessageBox; tests put a recorder in its place.
using LauncherMessage = std::function<void(const QString& text, const QString& title)>;

// The launcher window. The steps run once, on its first activation.
class XiangDao : public QWidget {
    Q_OBJECT
public:
    explicit XiangDao(LauncherMessage message, QWidget* parent = nullptr);
    bool stepsStarted() const { return m_started; }

Q_SIGNALS:
    // The steps went through: the program ends. Not sent after an error,
    // whose message leaves the window open until the user closes it.
    void finished();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void startSteps();
    void runSteps();

    LauncherMessage m_message;
    bool m_started = false;
};

// The main program's path from the user's settings; "" when none is kept.
// Throws std::runtime_error when the settings file cannot be read.
QString MainProgramPath();

// Shows the launcher window and runs it; returns the exit code.
int RunLauncher();
