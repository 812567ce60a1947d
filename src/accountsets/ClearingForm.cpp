#include "accountsets/ClearingForm.h"

#include "accountsets/BackupForm.h"
#include "accountsets/Clearing.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

S3::S3(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("S3"));
    setWindowTitle(QStringLiteral("帐本数据初始化"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    const char* boxCaptions[6] = {"清除所有进出单据记录", "所有货品年初存量、当前存量归零", "清除所有货品类别及货品档案",
                                  "清除所有供应商档案",   "清除所有客户档案",             "清除所有部门档案"};
    for (int i = 0; i < 6; ++i) {
        ChK[i] = new QCheckBox(QString::fromUtf8(boxCaptions[i]), this);
        ChK[i]->setObjectName(QStringLiteral("ChK%1").arg(i));
        layout->addWidget(ChK[i]);
    }
    const char* cmdCaptions[3] = {"确定执行", "返回系统", "备份数据"};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Cmd[i] = new QPushButton(QString::fromUtf8(cmdCaptions[i]), this);
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        buttons->addWidget(Cmd[i]);
    }
    layout->addLayout(buttons);

    // Goods cannot go while documents or stock still name them.
    connect(ChK[2], &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            ChK[0]->setChecked(true);
            ChK[1]->setChecked(true);
        }
    });
    connect(Cmd[0], &QPushButton::clicked, this, &S3::Cmd0_Click);
    connect(Cmd[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(Cmd[2], &QPushButton::clicked, this, [this] { ShowBackupWindow(this->app); });
}

ClearingChoice S3::choice() const
{
    ClearingChoice c;
    c.documents = ChK[0]->isChecked();
    c.stockToZero = ChK[1]->isChecked();
    c.goods = ChK[2]->isChecked();
    c.suppliers = ChK[3]->isChecked();
    c.customers = ChK[4]->isChecked();
    c.departments = ChK[5]->isChecked();
    return c;
}

void S3::Cmd0_Click()
{
    const ClearingChoice c = choice();
    if (!c.any()) {
        MsgBox(QStringLiteral("请选择要清除的对象！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    const QString refusal = ClearingRefusal(app.CurrentDatabase, c);
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    if (MsgBox(QStringLiteral("强烈建议您在清除数据之前进行数据备份操作！\n\n真要清除您所选择的数据吗？"),
               MB::YesNo | MB::Question | MB::DefaultButton2, QStringLiteral("警告")) != MB::Yes)
        return;
    try {
        BusyPointer busy;
        setEnabled(false);
        QCoreApplication::processEvents();
        ClearData(app.CurrentDatabase, c);
    } catch (const DbError& e) {
        setEnabled(true);
        MsgBox(QStringLiteral("数据清除没有完成，账套数据保持原样。\n\n") + e.description(), MB::OKOnly | MB::Exclamation);
        return;
    }
    setEnabled(true);
    MsgBox(QStringLiteral("系统数据清除成功！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
}
