#include "accountsets/ZbsetNet.h"

#include "accountsets/NetworkShares.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/SqlText.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString ListCaption = QStringLiteral("列出共享文件夹内的帐套文件↓");
const QString ListAgainCaption = QStringLiteral("列出共享文件夹内帐套文件↓");
const QString RestartCaption = QStringLiteral("重新指定服务器及共享文件夹↑");


}  // namespace

ZbsetNet::ZbsetNet(App& app, QWidget* parent, const QString& mountTable)
    : QDialog(parent), app(app), mountTable(mountTable)
{
    setObjectName(QStringLiteral("ZbsetNet"));
    setWindowTitle(QStringLiteral("查看网络共享帐套"));
    setModal(true);

    const char* labels[2] = {"服务器电脑名称：", "共享文件夹名称："};
    auto* names = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        Lab[i] = new QLabel(QString::fromUtf8(labels[i]), this);
        Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
        Txt[i] = new QLineEdit(this);
        Txt[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
        names->addWidget(Lab[i], i, 0);
        names->addWidget(Txt[i], i, 1);
    }

    Cmd = new QPushButton(ListCaption, this);
    Cmd->setObjectName(QStringLiteral("Cmd"));
    Cmd->setAutoDefault(false);
    connect(Cmd, &QPushButton::clicked, this, &ZbsetNet::Cmd_Click);

    Frm = new QGroupBox(QStringLiteral("请选择帐套文件"), this);
    Frm->setObjectName(QStringLiteral("Frm"));
    File1 = new QListWidget(Frm);
    File1->setObjectName(QStringLiteral("File1"));
    (new QVBoxLayout(Frm))->addWidget(File1);

    FrmSM = new QGroupBox(this);
    FrmSM->setObjectName(QStringLiteral("FrmSM"));
    FrmSM->setAutoFillBackground(true);
    Label1 = new QLabel(FrmSM);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral(
        "1.请首先确认本机能够通过[网上邻居]访问服务器电脑。\n\n"
        "2.在服务器上建立一个完全共享的文件夹，如果需要向网络用户隐藏这个共享文件夹，您可以在命名共享文件夹名称时，"
        "在共享名称尾部增加一个“$”符号。\n\n"
        "3.在上面栏目中输入服务器电脑名称及共享文件夹名称，点击[列出共享文件夹内帐套文件]按钮。\n\n"
        "4.待系统列出服务器上共享文件夹内的帐套文件后，选择您需要的帐套文件，点击下面的[确定]按钮即可。"));
    (new QVBoxLayout(FrmSM))->addWidget(Label1);

    // The instructions lie over the file list until a listing completes.
    auto* stack = new QGridLayout;
    stack->addWidget(Frm, 0, 0);
    stack->addWidget(FrmSM, 0, 0);
    FrmSM->raise();

    const char* captions[2] = {"确 定", "取 消"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        CmdOK[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        CmdOK[i]->setObjectName(QStringLiteral("CmdOK%1").arg(i));
        CmdOK[i]->setAutoDefault(false);
        buttons->addWidget(CmdOK[i]);
    }
    connect(CmdOK[0], &QPushButton::clicked, this, &ZbsetNet::CmdOK0_Click);
    connect(CmdOK[1], &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(Cmd);
    layout->addLayout(stack, 1);
    layout->addLayout(buttons);
    resize(520, 420);
}

void ZbsetNet::Cmd_Click()
{
    if (!Cmd->text().contains(QStringLiteral("列出"))) {
        for (QLineEdit* t : Txt) {
            t->setEnabled(true);
            t->clear();
        }
        Cmd->setText(ListAgainCaption);
        FrmSM->show();
        return;
    }
    listShare();
}

void ZbsetNet::listShare()
{
    for (QLineEdit* t : Txt)
        t->setText(SqlSafe(t->text()));
    // A whole share path typed into the server box is taken apart.
    QString server;
    QString share;
    if (SplitSharePath(Txt[0]->text(), server, share)) {
        Txt[0]->setText(server);
        Txt[1]->setText(share);
    }
    if (Txt[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("请输入服务器电脑名称！"));
        return;
    }
    if (Txt[1]->text().isEmpty()) {
        MsgBox(QStringLiteral("请输入共享文件夹名称！"));
        return;
    }

    FrmSM->show();
    QString error;
    QString folder;
    QStringList files;
    {
        BusyPointer busy;
        folder = MountedShareFolder(ReadNetworkMounts(mountTable), Txt[0]->text(), Txt[1]->text(), error);
        if (!folder.isEmpty())
            files = AccountSetFilesIn(folder);
    }
    if (folder.isEmpty()) {
        MsgBox(error);
        return;
    }
    listedFolder = folder;
    File1->clear();
    File1->addItems(files);
    if (!files.isEmpty()) {
        Frm->setTitle(QStringLiteral("请选择Vorlix帐套文件"));
        for (QLineEdit* t : Txt)
            t->setEnabled(false);
        Cmd->setText(RestartCaption);
    } else {
        Frm->setTitle(QStringLiteral("文件夹内没有Vorlix帐套文件"));
    }
    FrmSM->hide();
}

void ZbsetNet::CmdOK0_Click()
{
    if (!FrmSM->isHidden()) {
        MsgBox(QStringLiteral("请在输入服务器名称及共享文件夹名称后点击[列出共享文件夹内帐套文件]按钮。"));
        return;
    }
    QListWidgetItem* item = File1->currentItem();
    if (File1->count() == 0 || !item || !item->isSelected()) {
        MsgBox(QStringLiteral("请选择帐套文件！"));
        return;
    }
    Picked = (listedFolder.endsWith(QLatin1Char('/')) ? listedFolder : listedFolder + QLatin1Char('/')) +
                     item->text();
    accept();
}
