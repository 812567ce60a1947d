#include "accountsets/YearEndForm.h"

#include "accountsets/BackupForm.h"
#include "accountsets/YearEnd.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "widgets/BusyPointer.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

YearEnd::YearEnd(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("YearEnd"));
    setWindowTitle(QStringLiteral("年度结转"));
    setModal(true);

    const QString nl = QStringLiteral("\n");
    labinf = new QLabel(nl + QStringLiteral("    警告！本功能将清除所有单据信息，请小心操作！") + nl + nl +
                            QStringLiteral("    年度结转功能将： ") + nl + QStringLiteral("    1.把所有") + app.GoodsTerm +
                            QStringLiteral("数量、金额结转为年初余额；") + nl +
                            QStringLiteral("    2.把所有应收应付款结转为供应商、客户的年初应收应付款；") + nl +
                            QStringLiteral("    3.清除系统内所有工作单据资料。") + nl + nl +
                            QStringLiteral("    强烈建议您在结转操作之前备份数据，以备将来查询！"),
                        this);
    labinf->setObjectName(QStringLiteral("labinf"));
    labinf->setWordWrap(true);

    const char* captions[3] = {"备 份", "结 转", "返 回"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 3; ++i) {
        Cmd[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        buttons->addWidget(Cmd[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labinf, 1);
    layout->addLayout(buttons);

    connect(Cmd[0], &QPushButton::clicked, this, [this] { ShowBackupWindow(this->app); });
    connect(Cmd[1], &QPushButton::clicked, this, &YearEnd::Cmd1_Click);
    connect(Cmd[2], &QPushButton::clicked, this, &QDialog::reject);
}

void YearEnd::Cmd1_Click()
{
    if (!IsTopAdministrator(app)) {
        MsgBox(QStringLiteral("只允许以001账号的身份操作此功能！您无权操作！"));
        return;
    }
    const int ask = MB::YesNo | MB::Question | MB::DefaultButton2;
    if (MsgBox(QStringLiteral("警告！此操作危险，结转前必须进行数据备份操作！您真的要进行结转操作吗？"), ask,
               QStringLiteral("警告")) != MB::Yes)
        return;
    if (MsgBox(QStringLiteral("再次警告！此操作危险，一般每年只需操作一次！您真的要进行结转操作吗？"), ask,
               QStringLiteral("警告")) != MB::Yes)
        return;
    try {
        BusyPointer busy;
        setEnabled(false);
        QCoreApplication::processEvents();
        CarryOverYear(app.CurrentDatabase);
    } catch (const DbError& e) {
        setEnabled(true);
        MsgBox(QStringLiteral("结转操作没有完成，账套数据保持原样。\n\n") + e.description(), MB::OKOnly | MB::Exclamation);
        return;
    }
    setEnabled(true);
    MsgBox(QStringLiteral("结转操作成功！"));
}
