#pragma once
// What the rest of the program needs of the main window, so that core
// services and windows of other folders reach it without knowing its class.

#include <QFont>
#include <QString>

class QWidget;
class QMdiArea;

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual QWidget* widget() = 0;
    // The MDI area child windows are added to (null before it exists).
    virtual QMdiArea* mdiArea() = 0;
    // Status-bar panels are numbered from 1; panel 4 is the shared status line.
    virtual void setStatusText(int panel, const QString& text) = 0;
    virtual QString statusText(int panel) const = 0;
    // Font of the background window, used to measure texts for grid columns.
    virtual QFont backgroundFont() const = 0;
};
