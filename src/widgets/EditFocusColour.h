#pragma once
// The entry boxes of record and document windows while a record is edited:
// on gaining the focus the whole text is selected and the box turns light
// cyan (red 192, green 255, blue 255); on losing it the box takes its own
// colour again. While browsing, the focus is passed on to `browseTarget`
// (the window's tab strip) when one is given, so the box cannot be typed into.

#include <QColor>
#include <QObject>
#include <QPalette>
#include <functional>

class QWidget;

class EditFocusColour : public QObject {
    Q_OBJECT
public:
    static QColor editColour() { return QColor(192, 255, 255); }

    // `editing` tells whether the window is adding or editing now; the
    // behaviour is owned by `box`.
    EditFocusColour(QWidget* box, std::function<bool()> editing, QWidget* browseTarget = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_box;
    std::function<bool()> m_editing;
    QWidget* m_browseTarget;
    QPalette m_own;
};
