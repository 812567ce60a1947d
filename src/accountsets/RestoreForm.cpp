#include "accountsets/RestoreForm.h"

#include "accountsets/AccountSetList.h"
#include "accountsets/BackupFileWork.h"
#include "accountsets/BackupForm.h"
#include "accountsets/Restore.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/MainFrame.h"
#include "core/ProgramEnd.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void ShowRestoreWindow(App& app)
{
    S32 window(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    window.exec();
}

S32::S32(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("S32"));
    setWindowTitle(QStringLiteral("数据恢复"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("警告：数据恢复操作危险！建议在恢复前先备份数据，以防造成数据丢失！"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color:#c00000;"));
    Command1 = new QPushButton(QStringLiteral("恢复数据"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3 = new QPushButton(QStringLiteral("备份数据"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command2 = new QPushButton(QStringLiteral("返回系统"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command2);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &S32::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, [this] { ShowBackupWindow(this->app); });
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void S32::Command1_Click()
{
    if (IsNetworkPath(app.CurrentSetPath)) {
        MsgBox(QStringLiteral("数据恢复只能在数据库本地电脑上执行！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    const QString source = Dialogs().openFile(QStringLiteral("从备份文件中恢复数据到现在的系统"), DefaultFolder(app, 1),
                                              QStringLiteral("*.vxs (*.vxs);;*.* (*)"));
    if (source.isEmpty())
        return;
    try {
        BusyPointer busy;
        setEnabled(false);
        QCoreApplication::processEvents();
        RestoreAccountSet(app, source);
    } catch (const SetNotReopened&) {
        EndProgramNow();
        accept();
        return;
    } catch (const DbError& e) {
        setEnabled(true);
        MsgBox(QStringLiteral("系统数据恢复失败！原因如下：\n") + e.description(), MB::OKOnly | MB::Information,
               QStringLiteral("提示"));
        return;
    }
    MsgBox(QStringLiteral("数据恢复成功！为了数据安全，请重新运行软件！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
    EndProgramNow();
    accept();
}
