#pragma once
// How the main window's MDI children behave towards dialogs and the keyboard,
// attached once by the main window for every child window:
//
// - OpenerStaysActive: after a modal dialog (audit scope, search, import,
//   a file dialog, a message box ...) closes, the child window that opened it
//   is the active child again, whatever the window manager activated
//   meanwhile. The opener is the child that holds the dialog's parent, else
//   the child that was active when the dialog appeared.
// - ChildCommandKeys: while a child window with its own command bar (a
//   QMenuBar inside the child) is active, Alt+letter runs that bar's command
//   with the letter as its accelerator ("&S.保存" -> Alt+S) before the main
//   menu sees the key, maximized or not. A letter the child's bar does not
//   use still reaches the main menu.

#include <QHash>
#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenuBar;
class QWidget;

class OpenerStaysActive : public QObject {
    Q_OBJECT
public:
    // Watches every modal window of the application; `area` is the main
    // window's MDI area (owner: this object is a child of it).
    explicit OpenerStaysActive(QMdiArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();
    QMdiArea* m_area;
    QHash<QObject*, QPointer<QMdiSubWindow>> m_openers;  // open modal window -> its opener
    QPointer<QMdiSubWindow> m_pending;                   // to activate again once the frame is active
};

class ChildCommandKeys : public QObject {
    Q_OBJECT
public:
    explicit ChildCommandKeys(QMdiArea* area);

    // The command of the active child's own bar that Alt+`key` runs, or
    // null; `onBar` receives the bar that holds it.
    QAction* commandFor(int key, QMenuBar** onBar = nullptr) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isAltLetter(const QKeyEvent* e) const;
    QMdiArea* m_area;
};
