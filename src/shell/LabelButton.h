#pragma once
// A label that acts as a button: the visible "buttons" of the login, about and
// account-set style windows. Clicking it clicks the hidden command button of
// the same index; the caption turns regular while the mouse is pressed and
// bold when it is released.

#include <QLabel>

class LabelButton : public QLabel {
    Q_OBJECT
public:
    explicit LabelButton(const QString& caption, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void hovered();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;

private:
    void setBold(bool bold);
};
