#include "documents/common/ShenHeBox.h"

#include "core/App.h"
#include "platform/Messages.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ShenHeBox::ShenHeBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" 单据审核"));
    LabInfo = new QLabel(QStringLiteral("LabInfo"), this);
    LabInfo->setObjectName(QStringLiteral("LabInfo"));
    LabInfo->setWordWrap(true);
    Opt0 = new QRadioButton(QStringLiteral("只审核当前选中的单据："), this);
    Opt0->setObjectName(QStringLiteral("Opt0"));
    Opt1 = new QRadioButton(QStringLiteral("审核列表中所有未审核的单据。"), this);
    Opt1->setObjectName(QStringLiteral("Opt1"));
    // Neither option is chosen until the caller or the operator chooses one.
    auto* group = new QButtonGroup(this);
    group->setExclusive(false);
    group->addButton(Opt0);
    group->addButton(Opt1);
    connect(Opt0, &QRadioButton::toggled, this, [this](bool on) { if (on) Opt1->setChecked(false); });
    connect(Opt1, &QRadioButton::toggled, this, [this](bool on) { if (on) Opt0->setChecked(false); });

    auto* ok = new QPushButton(QStringLiteral("确认审核"), this);
    ok->setObjectName(QStringLiteral("Cmd0"));
    auto* cancel = new QPushButton(QStringLiteral("取消操作"), this);
    cancel->setObjectName(QStringLiteral("Cmd1"));
    connect(ok, &QPushButton::clicked, this, &ShenHeBox::confirm);
    connect(cancel, &QPushButton::clicked, this, [this] {
        Scope = AuditScope::Cancelled;
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabInfo);
    layout->addWidget(Opt0);
    layout->addWidget(Opt1);
    layout->addLayout(buttons);
}

void ShenHeBox::confirm()
{
    if (Opt0->isChecked() == Opt1->isChecked()) {
        MsgBox(QStringLiteral("请选择审核范围！"));
        return;
    }
    Scope = Opt0->isChecked() ? AuditScope::Selected : AuditScope::AllUnaudited;
    accept();
}
