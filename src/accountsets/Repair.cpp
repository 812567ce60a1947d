#include "accountsets/Repair.h"

#include "accountsets/AccountSetFiles.h"
#include "accountsets/CompactForm.h"
#include "core/App.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "platform/Messages.h"

#include <QLabel>
#include <QPushButton>

void RepairAccountSet(App& app, const QString& path, const QString& setName)
{
    CloseAccountSetFile(app);
    if (FileExists(path).isEmpty()) {
        MsgBox(QStringLiteral("找不到文件[") + path + QStringLiteral("]！"));
        return;
    }
    SysdbCompact window(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    window.setWindowTitle(setName + QStringLiteral(" 账套文件修复-") + path);
    window.Cmd[0]->setText(QStringLiteral("修 复"));
    window.theFileStr = path;
    window.LabInfo->setText(QStringLiteral("    意外断电、非法关机、操作系统故障、硬件故障、超过限制人数同时访问等原因均有可能造成数据损坏，"
                                           "本修复功能只能尽量恢复数据，请在以后使用软件过程中注意防止以上事故发生!"));
    window.LabInfo->setStyleSheet(QStringLiteral("color:#ff0000;"));
    window.Labbak->hide();
    window.exec();
}
