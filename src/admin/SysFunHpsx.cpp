#include "admin/SysFunHpsx.h"

#include "admin/SysFuncSet.h"
#include "core/SqlText.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SysFunHpsx::SysFunHpsx(SysFuncSet& wizard) : QDialog(&wizard), wizard(wizard)
{
    setObjectName(QStringLiteral("SysFunHpsx"));
    setWindowTitle(QStringLiteral("设置货品动态属性"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("“货品动态属性”是指针对货品某一方面的说明，这个说明是可变的，并不是在[货品档案]中规定好的。\n"
                                       "如货品的[颜色]、[批号]、[码数]、[货位]、[出厂日期]等。\n"
                                       "在本软件中，只能为货品设置一个动态属性，当然，也可以不设置动态属性。"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Opt[1] = new QRadioButton(QStringLiteral("设置货品动态属性为："), this);
    Opt[0] = new QRadioButton(QStringLiteral("我不需要设置货品动态属性"), this);
    Cmb = new QComboBox(this);
    Cmb->setEditable(true);
    Cmd[0] = new QPushButton(QStringLiteral("确  定"), this);
    Cmd[1] = new QPushButton(QStringLiteral("取  消"), this);
    for (int i = 0; i < 2; ++i) {
        Opt[i]->setObjectName(QStringLiteral("Opt%1").arg(i));
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        Cmd[i]->setAutoDefault(false);
        connect(Cmd[i], &QPushButton::clicked, this, [this, i] { Cmd_Click(i); });
    }
    Cmb->setObjectName(QStringLiteral("Cmb"));

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label1);
    auto* named = new QHBoxLayout;
    named->addWidget(Opt[1]);
    named->addWidget(Cmb, 1);
    v->addLayout(named);
    v->addWidget(Opt[0]);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Cmd[0]);
    buttons->addWidget(Cmd[1]);
    v->addLayout(buttons);

    Cmb->addItem(QStringLiteral("批号"));
    Cmb->addItem(QStringLiteral("颜色"));
    const QString current = wizard.TxtHPSX->text();
    if (!current.isEmpty()) {
        Cmb->setEditText(current);
        Opt[1]->setChecked(true);
    } else {
        Opt[0]->setChecked(true);
    }
}

void SysFunHpsx::Cmd_Click(int index)
{
    if (index == 1) {
        reject();
        return;
    }
    if (Opt[0]->isChecked()) {
        wizard.TxtHPSX->clear();
        accept();
        return;
    }
    const QString name = SqlSafe(Cmb->currentText());
    Cmb->setEditText(name);
    if (name.isEmpty()) {
        MsgBox(QStringLiteral("请填写或在下拉框选择货品动态属性！"));
        return;
    }
    wizard.TxtHPSX->setText(name);
    accept();
}
