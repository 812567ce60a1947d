#include "widgets/EditFocusColour.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

EditFocusColour::EditFocusColour(QWidget* box, std::function<bool()> editing, QWidget* browseTarget)
    : QObject(box), m_box(box), m_editing(std::move(editing)), m_browseTarget(browseTarget), m_own(box->palette())
{
    box->installEventFilter(this);
}

bool EditFocusColour::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::FocusIn) {
        if (m_editing && m_editing()) {
            QPalette p = m_own;
            p.setColor(QPalette::Base, editColour());
            m_box->setPalette(p);
            // Selected after the focus change is done: a mouse click would
            // otherwise place the cursor over the selection.
            QPointer<QWidget> box(m_box);
            QTimer::singleShot(0, m_box, [box] {
                if (auto* edit = qobject_cast<QLineEdit*>(box.data()))
                    edit->selectAll();
                else if (auto* combo = qobject_cast<QComboBox*>(box.data()); combo && combo->lineEdit())
                    combo->lineEdit()->selectAll();
            });
        } else if (m_browseTarget && m_browseTarget->isVisible() && m_browseTarget->isEnabled()) {
            m_browseTarget->setFocus(Qt::OtherFocusReason);
        }
    } else if (watched == m_box && event->type() == QEvent::FocusOut) {
        m_box->setPalette(m_own);
    }
    return QObject::eventFilter(watched, event);
}
