// The detail tab's boxes of the record window: each box with its caption on
// Frm, read and written alike whether it holds one line or several, locked
// while browsing, and Enter moving on in the member's box order.

#include "forms/RecordForm.h"

#include "platform/Grid.h"
#include "widgets/EditFocusColour.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {

const QColor BoxText(0x00, 0x00, 0xFF);  // &H00FF0000, blue

}  // namespace

void RecordForm::placeBox(int i, const QString& caption, QWidget* box, Qt::Alignment captionAlignment, int row,
                          int col, int span)
{
    if (Txt.size() <= i) {
        Txt.resize(i + 1);
        Lab.resize(i + 1);
    }
    Txt[i] = box;
    Lab[i] = new QLabel(caption, Frm);
    Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
    Lab[i]->setAlignment(Qt::AlignRight | captionAlignment);
    box->setObjectName(QStringLiteral("Txt%1").arg(i));
    QPalette p = box->palette();
    p.setColor(QPalette::Text, BoxText);
    box->setPalette(p);
    setBoxLocked(i, true);
    box->installEventFilter(this);
    new EditFocusColour(box, [this] { return Edstu >= 1; }, TabS);
    FrmLayout->addWidget(Lab[i], row, col);
    FrmLayout->addWidget(box, row, col + 1, 1, span);
}

QLineEdit* RecordForm::addLineBox(int i, const QString& caption, int maxLength, int row, int col, int span)
{
    auto* box = new QLineEdit(Frm);
    box->setMaxLength(maxLength);
    placeBox(i, caption, box, Qt::AlignVCenter, row, col, span);
    return box;
}

QPlainTextEdit* RecordForm::addTextBox(int i, const QString& caption, int maxLength, int row, int col, int span)
{
    auto* box = new QPlainTextEdit(Frm);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeBox(i, caption, box, Qt::AlignTop, row, col, span);
    // Several lines are shown, but the text is kept to its column's length.
    connect(box, &QPlainTextEdit::textChanged, box, [box, maxLength] {
        const QString t = box->toPlainText();
        if (t.size() > maxLength) {
            const QSignalBlocker block(box);
            box->setPlainText(t.left(maxLength));
            box->moveCursor(QTextCursor::End);
        }
    });
    return box;
}

QString RecordForm::boxText(int i) const
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        return text->toPlainText();
    return {};
}

void RecordForm::setBoxText(int i, const QString& t)
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        line->setText(t);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        text->setPlainText(t);
}

void RecordForm::setBoxLocked(int i, bool locked)
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        line->setReadOnly(locked);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        text->setReadOnly(locked);
}

void RecordForm::setBoxBack(int i, const QColor& colour)
{
    QWidget* box = Txt.value(i);
    if (!box)
        return;
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour.isValid() ? colour : QApplication::palette().color(QPalette::Base));
    box->setPalette(p);
}

QList<QWidget*> RecordForm::enterTargets(int box) const
{
    const int next = S.enterOrder.value(box, -1);
    if (next >= 0 && next < Txt.size())
        return {Txt[next]};
    return {};
}

bool RecordForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GD && event->type() == QEvent::Resize) {
        placeListColumns();  // the list tab's grid changes size with the window or the tab
        return false;
    }
    const int i = Txt.indexOf(static_cast<QWidget*>(watched));
    if (i < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Enter moves on in the member's box order and never breaks a line.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            break;
        for (QWidget* target : enterTargets(i))
            if (target && target->isVisible() && target->isEnabled()) {
                target->setFocus();
                break;
            }
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
