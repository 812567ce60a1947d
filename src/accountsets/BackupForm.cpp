#include "accountsets/BackupForm.h"

#include "accountsets/AccountSetFiles.h"
#include "accountsets/Backup.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "widgets/BusyPointer.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/SqlFunctions.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

QString AskNewBackupTarget(const QString& title, const QString& proposed)
{
    for (;;) {
        QString target = Dialogs().saveFile(title, proposed, QStringLiteral("*.vxs (*.vxs);;*.* (*)"));
        if (target.isEmpty())
            return target;
        target = WithSetExtension(target);
        if (FileExists(target).isEmpty())
            return target;
        MsgBox(QStringLiteral("目标位置已备份的同名文件，请删除目标文件或更换备份位置！"));
    }
}

void ShowBackupWindow(App& app)
{
    sysDBbak window(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    window.exec();
}

sysDBbak::sysDBbak(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("sysDBbak"));
    setWindowTitle(QStringLiteral("系统数据备份"));
    setModal(true);

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->addTab(QStringLiteral("立即备份"));
    TabStrip1->addTab(QStringLiteral("自动备份"));

    Frm1 = new QFrame(this);
    Frm1->setObjectName(QStringLiteral("Frm1"));
    Frm1->setFrameShape(QFrame::StyledPanel);
    Lab000 = label(Frm1, "Lab000", QString());
    Lab000->setWordWrap(true);
    Lab000->setMinimumWidth(420);
    Command3 = button(Frm1, "Command3", "开始备份");
    Command4 = button(Frm1, "Command4", "返回系统");
    auto* frm1Layout = new QVBoxLayout(Frm1);
    frm1Layout->addWidget(Lab000, 1);
    auto* frm1Buttons = new QHBoxLayout;
    frm1Buttons->addStretch();
    frm1Buttons->addWidget(Command3);
    frm1Buttons->addWidget(Command4);
    frm1Layout->addLayout(frm1Buttons);

    Frm2 = new QFrame(this);
    Frm2->setObjectName(QStringLiteral("Frm2"));
    Frm2->setFrameShape(QFrame::StyledPanel);
    Label1 = label(Frm2, "Label1", QStringLiteral("每隔"));
    Txt = new QLineEdit(Frm2);
    Txt->setObjectName(QStringLiteral("Txt"));
    Txt->setMaxLength(4);
    Txt->setMaximumWidth(60);
    Label2 = label(Frm2, "Label2", QStringLiteral("天，操作员退出系统时自动备份一次数据"));
    Label3 = label(Frm2, "Label3", QStringLiteral("备份位置:"));
    TxtPath = new QLineEdit(Frm2);
    TxtPath->setObjectName(QStringLiteral("TxtPath"));
    TxtPath->setReadOnly(true);
    TxtPath->setMaxLength(255);
    CmdDlg = button(Frm2, "CmdDlg", "…");
    LabInfo = label(Frm2, "LabInfo", QString());
    LabInfo->setWordWrap(true);
    LabInfo->setMinimumWidth(420);
    Command2 = button(Frm2, "Command2", "保存设置");
    Command1 = button(Frm2, "Command1", "返回系统");
    auto* frm2Layout = new QGridLayout(Frm2);
    frm2Layout->addWidget(Label1, 0, 0);
    frm2Layout->addWidget(Txt, 0, 1);
    frm2Layout->addWidget(Label2, 0, 2, 1, 2);
    frm2Layout->addWidget(Label3, 1, 0);
    frm2Layout->addWidget(TxtPath, 1, 1, 1, 2);
    frm2Layout->addWidget(CmdDlg, 1, 3);
    frm2Layout->addWidget(LabInfo, 2, 0, 1, 4);
    auto* frm2Buttons = new QHBoxLayout;
    frm2Buttons->addStretch();
    frm2Buttons->addWidget(Command2);
    frm2Buttons->addWidget(Command1);
    frm2Layout->addLayout(frm2Buttons, 3, 0, 1, 4);
    frm2Layout->setColumnStretch(2, 1);

    // The two frames share one place; the tab decides which one shows. The
    // stack is as large as the larger frame, so the automatic-backup tab's
    // explanation is never cut off.
    Frames = new QStackedWidget(this);
    Frames->addWidget(Frm1);
    Frames->addWidget(Frm2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    layout->addWidget(Frames, 1);

    connect(TabStrip1, &QTabBar::currentChanged, this, &sysDBbak::TabStrip1_Click);
    connect(Command3, &QPushButton::clicked, this, &sysDBbak::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &sysDBbak::Command2_Click);
    connect(CmdDlg, &QPushButton::clicked, this, &sysDBbak::CmdDlg_Click);
    connect(Command4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);

    Command2->setEnabled(IsTopAdministrator(app));
    fillTexts();
}

void sysDBbak::fillTexts()
{
    const AutoBackupSettings settings = LoadAutoBackupSettings(app);
    Txt->setText(settings.days);
    lastBackup = settings.lastBackup;
    const QString nl = QStringLiteral("\n");
    LabInfo->setText(QStringLiteral("    第一个录入框中如果填0，则每次退出软件时都会自动备份。否则，系统只会在指定日期第一次退出系统时自动备份数据。") +
                     nl + nl + QStringLiteral("     注意：自动备份功能只有账套文件存放在本地电脑上时才生效！") + nl + nl +
                     QStringLiteral("     上次自动备份的时间为：") + lastBackup);
    QString advice =
        QStringLiteral("     为了防止电脑硬件丢失或损坏、电脑病毒破坏、人为误删除等意外事故造成数据丢失，请务必经常进行备份操作，并且把备份文件存放到安全的位置。") +
        nl + nl + QStringLiteral("     如U盘、移动硬盘、光碟、其它的电脑等。") + nl + nl +
        QStringLiteral("     请点击[开始备份]后选择备份位置，备份后请妥善保存好备份文件。");
    if (!SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F1 FROM TE1 WHERE F1 <> ?"), {TopAdministrator}).isEmpty())
        advice += nl + nl + QStringLiteral("　　为了数据安全，备份出来的文件将只允许最高权限用户001登录操作。");
    Lab000->setText(advice);
    TxtPath->setText(AutoBackupFolder(app));
}

void sysDBbak::TabStrip1_Click(int index)
{
    Frames->setCurrentWidget(index == 1 ? Frm2 : Frm1);
}

void sysDBbak::Command2_Click()
{
    if (LeadingNumber(Txt->text().trimmed()) < 0)
        Txt->setText(QStringLiteral("0"));
    if (app.OpenedFromCommandLine == -1) {
        MsgBox(QStringLiteral("本次运行软件是采用直接打开账套文件方式,此方式下不能设置自动备份功能!"));
        return;
    }
    const std::optional<int> days = BackupIntervalDays(Txt->text());
    if (!days) {
        MsgBox(QStringLiteral("自动备份的间隔天数不能超过%1天！").arg(MaxBackupIntervalDays));
        return;
    }
    try {
        SaveAutoBackupSettings(app.CurrentDatabase, *days, lastBackup, TxtPath->text());
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("无法保存自动备份设置：") + e.description());
        return;
    }
    Txt->setText(QString::number(*days));
    MsgBox(QStringLiteral("保存成功！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
}

void sysDBbak::CmdDlg_Click()
{
    QString folder = Dialogs().pickFolder(QStringLiteral("请选择文件夹路径："), TxtPath->text());
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    TxtPath->setText(folder);
}

void sysDBbak::Command3_Click()
{
    if (IsNetworkPath(app.AppFolder)) {
        MsgBox(QStringLiteral("对不起，备份数据只能在数据库本地电脑上完成！"), MB::OKOnly | MB::Information,
               QStringLiteral("提示"));
        return;
    }
    const QString proposed = TxtPath->text() + BackupFileName(app, QDate::currentDate());
    const QString target = AskNewBackupTarget(QStringLiteral("系统数据备份至......"), proposed);
    if (target.isEmpty())
        return;
    bool failed = false;
    bool inUse = false;
    QString failure;
    {
        BusyPointer busy;
        setEnabled(false);
        QCoreApplication::processEvents();
        try {
            BackupAccountSet(app, target);
        } catch (const DbError& e) {
            failed = true;
            inUse = e.kind() == DbError::Kind::Busy;
            failure = e.description();
        }
        setEnabled(true);
    }
    if (failed) {
        MsgBox(inUse ? QStringLiteral("无法完成备份！其它用户正在使用此账套。\n\n请其它用户停止操作并退出系统后才可以备份！\n\n") + failure
                     : QStringLiteral("无法完成备份！\n\n") + failure + QStringLiteral("\n\n没有留下不完整的备份文件。"));
        return;
    }
    MsgBox(QStringLiteral("备份完成！请妥善保存备份文件！"));
}
