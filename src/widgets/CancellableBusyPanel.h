#pragma once
// A panel a window shows while a long job runs: the job's progress text and
// a "取消" button. The window hands poll() to the service as its progress
// callback; each call shows the text, lets the window repaint and take the
// button's click, and answers whether the job may go on. The service sees
// only the callback, never the panel.

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

class CancellableBusyPanel : public QFrame {
    Q_OBJECT
public:
    // What a job calls between steps: shows `text`, false once cancelled.
    using Poll = std::function<bool(const QString& text)>;

    explicit CancellableBusyPanel(QWidget* parent = nullptr);

    // Shows the panel with `text` and clears an earlier cancel.
    void start(const QString& text);
    // Hides the panel.
    void finish();
    // The callback for the job; valid while the panel lives.
    Poll poll();
    bool cancelled() const { return m_cancelled; }

    QLabel* LabProgress;
    QPushButton* CmdCancel;

private:
    bool m_cancelled = false;
};
