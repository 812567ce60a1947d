#include "widgets/NumberBox.h"

#include "core/SqlText.h"
#include "platform/Messages.h"

#include <QEvent>
#include <QLineEdit>

NumberBox::NumberBox(QLineEdit* box) : QObject(box), m_box(box), m_before(box->text())
{
    box->installEventFilter(this);
    connect(box, &QLineEdit::editingFinished, this, &NumberBox::check);
}

bool NumberBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::FocusIn)
        m_before = m_box->text();
    return QObject::eventFilter(watched, event);
}

void NumberBox::check()
{
    if (m_box->isReadOnly())
        return;
    const QString typed = m_box->text();
    if (TypedNumber(typed)) {
        m_before = typed;
        return;
    }
    // Put back first: the message takes the focus, and leaving the box again
    // must find a number there.
    m_box->setText(m_before);
    MsgBox(NotANumberText(typed), MB::OKOnly | MB::Exclamation);
}
