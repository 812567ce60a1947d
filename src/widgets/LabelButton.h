#pragma once
// A label that acts as a button: the visible "buttons" of the login, about and
// account-set style windows. Clicking it clicks the hidden command button of
// the same index. The caption's weight shows the press: the login and about
// windows' labels turn regular while pressed and bold when released; the
// account-set manager's the other way round.

#include <QLabel>

class LabelButton : public QLabel {
    Q_OBJECT
public:
    enum class PressLook { RegularWhilePressed, BoldWhilePressed };
    explicit LabelButton(const QString& caption, QWidget* parent = nullptr,
                         PressLook look = PressLook::RegularWhilePressed);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void hovered();
    void left();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void setBold(bool bold);
    bool m_boldWhilePressed;
};
