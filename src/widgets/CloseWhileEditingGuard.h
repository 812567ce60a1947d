#pragma once
// A window that is adding or editing a record refuses to close, whatever
// started the close (its return command, the close box, the main window
// closing its children): the operator is told to save or cancel first
// (WarnEditing) and the window stays. The edit state is the window's `Edstu`
// property, as EditStateOf reads it.

#include <QObject>

class QWidget;

class CloseWhileEditingGuard : public QObject {
    Q_OBJECT
public:
    // Watches `window`, which owns the guard.
    explicit CloseWhileEditingGuard(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
