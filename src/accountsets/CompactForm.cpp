#include "accountsets/CompactForm.h"

#include "accountsets/AccountSetFiles.h"
#include "accountsets/BackupFileWork.h"
#include "accountsets/Compact.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "widgets/BusyPointer.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "core/ProgramEnd.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "platform/sqlcipher.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString GrowsText =
    QStringLiteral("    一个账套文件长期使用后文件尺寸会不断增大，通过压缩操作可以适当减小文件尺寸，并且提高数据存取效率。");

QWidget* mainWidget(App& app)
{
    return app.MainWindow ? app.MainWindow->widget() : nullptr;
}

// Closes the open set, shows the prepared window and opens the set again.
// False when it did not open again: the user was told and the program ends.
bool compactWhileClosed(App& app, SysdbCompact& window)
{
    CloseAccountSetFile(app);
    QCoreApplication::processEvents();
    window.exec();
    try {
        ReopenAccountSet(app);
    } catch (const SetNotReopened& e) {
        MsgBox(QStringLiteral("账套文件 [ ") + app.CurrentSetPath + QStringLiteral(" ] 无法重新打开，程序将结束运行。\n\n") +
                   e.description(),
               MB::OKOnly | MB::Exclamation);
        EndProgramNow();
        return false;
    }
    return true;
}

void recordCompaction(App& app, qint64 kb)
{
    try {
        RecordCompaction(app.CurrentDatabase, kb);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("无法记录本次压缩：") + e.description());
    }
}

}  // namespace

SysdbCompact::SysdbCompact(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("SysdbCompact"));
    setWindowTitle(QStringLiteral("帐套文件压缩"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
    LabInfo = new QLabel(this);
    LabInfo->setObjectName(QStringLiteral("LabInfo"));
    LabInfo->setWordWrap(true);
    LabInfo->setMinimumWidth(380);
    Labbak = new QLabel(QStringLiteral("     强烈建议您先备份帐套数据之后再进行本操作！"), this);
    Labbak->setObjectName(QStringLiteral("Labbak"));
    Labbak->setWordWrap(true);
    Cmd[0] = new QPushButton(QStringLiteral("压 缩"), this);
    Cmd[1] = new QPushButton(QStringLiteral("取 消"), this);
    for (int i = 0; i < 2; ++i)
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
    Cmd[0]->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(LabInfo, 1);
    layout->addLayout(top);
    layout->addWidget(Labbak);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd[0]);
    buttons->addWidget(Cmd[1]);
    layout->addLayout(buttons);

    connect(Cmd[0], &QPushButton::clicked, this, &SysdbCompact::Cmd0_Click);
    connect(Cmd[1], &QPushButton::clicked, this, &QDialog::reject);
}

void SysdbCompact::Cmd0_Click()
{
    const QString action = Cmd[0]->text().remove(QLatin1Char(' '));
    const QString path = theFileStr;
    if (FileExists(path).isEmpty()) {
        MsgBox(QStringLiteral("找不到待") + action + QStringLiteral("的文件[") + path + QStringLiteral("]!"));
        return;
    }
    const qint64 before = FileSizeKB(path);
    const QString safetyCopy = SafetyCopyPath(app, QDateTime::currentDateTime());
    const QString failed = QStringLiteral("账套文件 [ ") + path + QStringLiteral(" ] ") + action + QStringLiteral("失败！\n\n");
    try {
        BusyPointer busy;
        setEnabled(false);
        QCoreApplication::processEvents();
        CompactAccountSetFile(path, safetyCopy);
    } catch (const FileSwapError& e) {
        setEnabled(true);
        const bool diskFull = (e.number() & 0xff) == SQLITE_FULL;
        MsgBox(failed + (diskFull ? QString() : QStringLiteral("您对该文件没有写入、删除等权限！\n\n")) + e.description(),
               MB::OKOnly | MB::Exclamation);
        reject();
        return;
    } catch (const DbError& e) {
        setEnabled(true);
        MsgBox(failed + e.description(), MB::OKOnly | MB::Exclamation);
        reject();
        return;
    }
    setEnabled(true);
    const qint64 after = FileSizeKB(path);
    const QString head = QStringLiteral("账套文件 [ ") + path + QStringLiteral(" ] ");
    const QString sizes = QStringLiteral("\n\n压缩前文件大小为 ") + SizeText(before) + QStringLiteral("，压缩后文件大小为 ") +
                          SizeText(after) + QStringLiteral(" 。");
    if (action != QStringLiteral("压缩"))
        MsgBox(head + action + QStringLiteral("成功！"));
    else if (after < before)
        MsgBox(head + QStringLiteral("压缩成功！") + sizes);
    else
        MsgBox(head + QStringLiteral("已经是最佳状态，短时间内不必频繁压缩。") + sizes);
    accept();
}

void CompactOpenAccountSet(App& app)
{
    if (!IsTopAdministrator(app)) {
        MsgBox(QStringLiteral("您无此权限!"));
        return;
    }
    const QString question = QStringLiteral("账套文件长期使用后文件尺寸会不断增大，\n使用压缩账套文件功能可以适当减小文件尺寸，\n"
                                            "以便提高数据存取效率。\n\n执行本操作时，请通知其它操作员退出系统，否则不能成功压缩。\n\n"
                                            "确订要执行本操作吗？");
    if (MsgBox(question, MB::OKCancel | MB::Question) != MB::OK)
        return;
    const qint64 recorded = RecordedCompactionKB(app.CurrentDatabase);
    SysdbCompact window(app, mainWidget(app));
    window.setWindowTitle(app.CurrentSetName + QStringLiteral(" 账套文件压缩-") + app.CurrentSetPath);
    window.Cmd[0]->setText(QStringLiteral("压 缩"));
    window.theFileStr = app.CurrentSetPath;
    QString info = GrowsText;
    const qint64 before = FileSizeKB(app.CurrentSetPath);
    if (recorded > 0 && before - recorded < 200)
        info += QStringLiteral("\n\n    您要压缩的账套文件在") + RecordedCompactionDate(app.CurrentDatabase) +
                QStringLiteral("进行过压缩，现在文件尺寸没有较大增长，如果在此期间您没有做过大量删除操作，就不必压缩。");
    window.LabInfo->setText(info);
    if (!compactWhileClosed(app, window))
        return;
    const qint64 after = FileSizeKB(app.CurrentSetPath);
    if (after < before)
        recordCompaction(app, after);
}

void CompactReminder(App& app)
{
    if (!IsTopAdministrator(app) || IsNetworkPath(app.CurrentSetPath))
        return;
    qint64 recorded = RecordedCompactionKB(app.CurrentDatabase);
    if (recorded == 0)
        recorded = 1024;
    const qint64 now = FileSizeKB(app.CurrentSetPath);
    if (now - recorded < 2000)
        return;
    const QString date = RecordedCompactionDate(app.CurrentDatabase);
    SysdbCompact window(app, mainWidget(app));
    window.setWindowTitle(app.CurrentSetName + QStringLiteral(" 账套文件压缩 -") + app.CurrentSetPath);
    window.Cmd[0]->setText(QStringLiteral("压 缩"));
    window.theFileStr = app.CurrentSetPath;
    window.LabInfo->setText(
        GrowsText + QStringLiteral("\n\n") +
        (date.isEmpty()
             ? QStringLiteral("     您现在打开的账套文件自从建立以来从未进行过压缩，经过一段时间的使用文件尺寸已经增长，建议您对该账套进行压缩。")
             : QStringLiteral("     您现在打开的账套文件在") + date + QStringLiteral("进行过压缩，现在增长了") +
                   QString::number(now - recorded) + QStringLiteral(" KB，建议进行压缩。")));
    if (!compactWhileClosed(app, window))
        return;
    const qint64 after = FileSizeKB(app.CurrentSetPath);
    if (after <= now)
        recordCompaction(app, after);
}
