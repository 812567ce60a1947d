#pragma once
// A line box that holds a number: a text that is no number ("abc", "12..5",
// "1,000") or too large is refused with a message when the box is left, and
// the box gets back the text it held before, so nothing becomes 0 unseen.
// The saving service refuses such a text as well (a toolbar save can come
// before the box is left); this is the immediate answer.

#include <QObject>
#include <QString>

class QLineEdit;

class NumberBox : public QObject {
    Q_OBJECT
public:
    // The behaviour is owned by `box`.
    explicit NumberBox(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();
    QLineEdit* m_box;
    QString m_before;
};
