#include "widgets/CancellableBusyPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

CancellableBusyPanel::CancellableBusyPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("BusyPanel"));
    setFrameShape(QFrame::StyledPanel);
    LabProgress = new QLabel(this);
    LabProgress->setObjectName(QStringLiteral("LabProgress"));
    CmdCancel = new QPushButton(QStringLiteral("取消"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(LabProgress, 1);
    row->addWidget(CmdCancel);
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        CmdCancel->setEnabled(false);
    });
    hide();
}

void CancellableBusyPanel::start(const QString& text)
{
    m_cancelled = false;
    CmdCancel->setEnabled(true);
    LabProgress->setText(text);
    show();
    raise();
}

void CancellableBusyPanel::finish()
{
    hide();
}

CancellableBusyPanel::Poll CancellableBusyPanel::poll()
{
    QPointer<CancellableBusyPanel> self(this);
    return [self](const QString& text) {
        if (!self)
            return false;
        if (!text.isNull())
            self->LabProgress->setText(text);
        // Input other than the panel's own button stays out while the job runs.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return self && !self->m_cancelled;
    };
}
