#include "accountsets/ZbSet.h"

#include "accountsets/AccountSetFiles.h"
#include "accountsets/BackupForm.h"
#include "accountsets/ZbsetNet.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/LabelButton.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString ReturnCaption = QStringLiteral("返回系统");
const QString SetFilter = QStringLiteral("Vorlix账套文件(*.vxs) (*.vxs);;所有文件(*.*) (*)");

// The name typed into an input box, made safe; a cancelled box counts as "".
QString askSetName(const QString& prompt, const QString& title, const QString& proposed)
{
    const InputAnswer a = InputBox(prompt, title, proposed);
    QString name = a.ok ? a.text : QString();
    return SanitizeSetName(name);
}

}  // namespace

ZbSet::ZbSet(App& app, const AccountSetList& list, QWidget* parent) : QDialog(parent), app(app), sets(list)
{
    setObjectName(QStringLiteral("ZbSet"));
    setWindowTitle(app.AppTitle + QStringLiteral("--账套管理"));
    setModal(true);

    Image1 = new QLabel(app.AppTitle, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumHeight(72);
    Image1->setStyleSheet(QStringLiteral("background:#1f4e79; color:white; font-size:20px; font-weight:bold;"));
    Image1->installEventFilter(this);

    Label1 = new QLabel(QStringLiteral("账套："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->installEventFilter(this);

    Pic = new QWidget(this);
    Pic->setObjectName(QStringLiteral("Pic"));
    Pic->hide();
    Label2 = new QLabel(QStringLiteral("帐本文件："), Pic);
    Label2->setObjectName(QStringLiteral("Label2"));

    for (int i = 0; i < 2; ++i) {
        Cmb[i] = new QComboBox(i == 0 ? static_cast<QWidget*>(this) : Pic);
        Cmb[i]->setObjectName(QStringLiteral("Cmb%1").arg(i));
        connect(Cmb[i], &QComboBox::currentIndexChanged, this, &ZbSet::select);
    }
    Cmb[0]->setMinimumWidth(260);

    labOpencmd = new QLabel(QStringLiteral("单击这里弹出菜单"), this);
    labOpencmd->setObjectName(QStringLiteral("labOpencmd"));
    labOpencmd->clear();
    labOpencmd->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(16, 16));
    labOpencmd->setCursor(Qt::PointingHandCursor);
    labOpencmd->installEventFilter(this);

    ChK = new QCheckBox(this);
    ChK->setObjectName(QStringLiteral("ChK"));
    ChK->setChecked(false);
    LabChk = new QLabel(QStringLiteral("默认使用该账套，以后不要显示本窗口"), this);
    LabChk->setObjectName(QStringLiteral("LabChk"));

    // The visible buttons are labels over a highlight; each clicks its command button.
    auto* cmdBar = new QWidget(this);
    imgcmd = new QFrame(cmdBar);
    imgcmd->setObjectName(QStringLiteral("imgcmd"));
    imgcmd->setStyleSheet(QStringLiteral("background:#cfe3f7; border:1px solid #6fa0d0; border-radius:3px;"));
    imgcmd->hide();
    auto* cmdRow = new QHBoxLayout(cmdBar);
    const char* labelCaptions[4] = {"打开账套", "增加账套", "删除账套", "退出系统"};
    const char* cmdCaptions[4] = {"打开帐本", "增加帐本", "删除帐本", "退出系统"};
    auto* picRow = new QHBoxLayout(Pic);
    for (int i = 0; i < 4; ++i) {
        Labcmd[i] = new LabelButton(QString::fromUtf8(labelCaptions[i]), cmdBar,
                                    LabelButton::PressLook::BoldWhilePressed);
        Labcmd[i]->setObjectName(QStringLiteral("Labcmd%1").arg(i));
        Labcmd[i]->setAlignment(Qt::AlignCenter);
        Labcmd[i]->setMinimumSize(72, 28);
        LabelButton* label = Labcmd[i];
        QPushButton* const* command = &Cmd[i];
        connect(label, &LabelButton::clicked, this, [command] { (*command)->click(); });
        connect(label, &LabelButton::hovered, this, [this, label] {
            imgcmd->setGeometry(label->geometry());
            imgcmd->show();
            imgcmd->stackUnder(label);
        });
        connect(label, &LabelButton::left, imgcmd, &QWidget::hide);
        cmdRow->addWidget(Labcmd[i]);

        Cmd[i] = new QPushButton(QString::fromUtf8(cmdCaptions[i]), Pic);
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        picRow->addWidget(Cmd[i]);
    }
    picRow->addWidget(Label2);
    picRow->addWidget(Cmb[1]);
    connect(Cmd[0], &QPushButton::clicked, this, &ZbSet::OpenSelectedAccountSet);
    connect(Cmd[1], &QPushButton::clicked, this, &ZbSet::addCommand);
    connect(Cmd[2], &QPushButton::clicked, this, &ZbSet::removeCommand);
    connect(Cmd[3], &QPushButton::clicked, this, &ZbSet::leaveCommand);

    editzb = new QMenu(this);
    editzb->setObjectName(QStringLiteral("editzb"));
    const auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    newone = item(editzb, "newone", "建立新的帐套");
    setpath = item(editzb, "setpath", "连接已有帐套");
    setpath_Net = item(editzb, "setpath_Net", "连接服务器帐套");
    zbrename = item(editzb, "zbrename", "当前帐套更名");
    connect(newone, &QAction::triggered, this, &ZbSet::newone_Click);
    connect(setpath, &QAction::triggered, this, &ZbSet::setpath_Click);
    connect(setpath_Net, &QAction::triggered, this, &ZbSet::setpath_Net_Click);
    connect(zbrename, &QAction::triggered, this, &ZbSet::zbrename_Click);

    lookforfile = new QMenu(this);
    lookforfile->setObjectName(QStringLiteral("lookforfile"));
    filename = item(lookforfile, "filename", "查看帐套文件的文件名");
    opendir = item(lookforfile, "opendir", "打开帐套所在的文件夹");
    menuLine = lookforfile->addSeparator();
    menuLine->setObjectName(QStringLiteral("menuLine"));
    bakdbFile = item(lookforfile, "bakdbFile", "备份该帐套到文件...");
    connect(filename, &QAction::triggered, this, &ZbSet::filename_Click);
    connect(opendir, &QAction::triggered, this, &ZbSet::opendir_Click);
    connect(bakdbFile, &QAction::triggered, this, &ZbSet::bakdbFile_Click);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(Cmb[0], 1);
    nameRow->addWidget(labOpencmd);
    auto* chkRow = new QHBoxLayout;
    chkRow->addWidget(ChK);
    chkRow->addWidget(LabChk, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1);
    layout->addLayout(nameRow);
    layout->addLayout(chkRow);
    layout->addWidget(cmdBar);
    layout->addWidget(Pic);

    showList();
}

void ZbSet::prepareForMainMenu()
{
    Cmd[3]->setText(ReturnCaption);
    Labcmd[3]->setText(ReturnCaption);
    menuLine->setVisible(false);
    bakdbFile->setVisible(false);
}

bool ZbSet::fromMainMenu() const
{
    return Cmd[3]->text() == ReturnCaption;
}

void ZbSet::showList()
{
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker block(Cmb[i]);
        Cmb[i]->clear();
        Cmb[i]->addItems(i == 0 ? sets.names : sets.paths);
    }
    select(sets.selected);
}

void ZbSet::select(int index)
{
    if (index < 0 || index >= sets.count())
        return;
    sets.selected = index;
    for (QComboBox* c : Cmb) {
        const QSignalBlocker block(c);
        c->setCurrentIndex(index);
        c->setToolTip(c->currentText());
    }
}

void ZbSet::saveList()
{
    sets.noChooser = ChK->isChecked();
    if (!SaveAccountSetList(app, sets))
        MsgBox(ListNotSavedText(app), MB::OKOnly | MB::Exclamation);
}

void ZbSet::OpenSelectedAccountSet()
{
    const QString path = sets.selectedPath();
    const QString name = sets.selectedName();
    if (FileExists(path).isEmpty()) {
        MsgBox(QStringLiteral("找不到文件[ ") + path + QStringLiteral(" ]！"));
        return;
    }
    try {
        OpenAccountSetFile(app, path);
    } catch (const DbError& e) {
        MsgBox(OpenFailureText(e), MB::OKOnly | MB::Exclamation);
        if (app.Windows.road.repairAccountSet)
            app.Windows.road.repairAccountSet(app, path, name);
        return;
    }
    app.CurrentSetPath = path;
    app.CurrentSetName = name;
    if (app.MainWindow)
        app.MainWindow->widget()->setWindowTitle(app.AppTitle + QStringLiteral("--") + app.EditionName);
    // The set is open whether or not the list could be written.
    saveList();
    CloseAllowed = true;
    opened = true;
    accept();
}

void ZbSet::addCommand()
{
    editzb->exec(QCursor::pos());
    saveList();
}

void ZbSet::newone_Click()
{
    const QString folder = app.DataFolder.isEmpty() ? DefaultFolder(app, 0) : app.DataFolder;
    QString path;
    for (;;) {
        path = Dialogs().saveFile(QStringLiteral("请指定文件的存放位置及文件名"), folder + QStringLiteral("新建账套.vxs"),
                                  SetFilter);
        if (path.isEmpty())
            return;
        path = WithSetExtension(path);
        if (FileExists(path).isEmpty())
            break;
        MsgBox(QStringLiteral("目标位置已存在同名文件，请更换存放位置或文件名！"));
    }
    if (FileExists(app.AppFolder + QStringLiteral("nousit.dat")).isEmpty()) {
        MsgBox(QStringLiteral("系统需要的文件nousit.dat丢失！不能新建账套！"));
        return;
    }
    bool made = false;
    {
        BusyPointer busy;
        made = CreateAccountSetFromTemplate(app, path);
    }
    if (!made) {
        MsgBox(QStringLiteral("无法建立账套文件[") + path + QStringLiteral("]！请检查您对该文件夹的写入权限。"));
        return;
    }
    QString name = askSetName(QStringLiteral("请输入新建账套的名称："), QStringLiteral("新建账套"),
                              QStringLiteral("新建") + app.CurrentSetName);
    if (name.isEmpty())
        name = QStringLiteral("新建") + app.CurrentSetName;
    sets.add(name, path);
    showList();
}

void ZbSet::setpath_Click()
{
    const QString folder = app.DataFolder.isEmpty() ? DefaultFolder(app, 0) : app.DataFolder;
    const QString path = Dialogs().openFile(QStringLiteral("请选择已存在的账套文件"), folder, SetFilter);
    if (path.isEmpty())
        return;
    // The automatic backup deletes old copies in its folder; a set listed
    // from there could go with them.
    if (path.contains(app.AppFolder) &&
        QString(path).remove(app.AppFolder).contains(BackupFolderName + QLatin1Char('/'))) {
        MsgBox(QStringLiteral("您要导入的是数据备份专用文件夹中的账套文件，这样的操作存在潜在危险！\n\n"
                              "为了防止在删除过期的备份文件时账套文件被同时删除，请把文件\n\n") +
               path + QStringLiteral("\n\n复制到其它文件夹，再导入为系统账套！"));
        return;
    }
    importFile(path);
}

void ZbSet::setpath_Net_Click()
{
    if (app.DataFolder.isEmpty())
        DefaultFolder(app, 0);
    ZbsetNet picker(app, this, mountTable);
    picker.exec();
    if (picker.Picked.isEmpty())
        return;
    importFile(picker.Picked);
}

void ZbSet::importFile(const QString& path)
{
    if (!IsAccountSetFile(path)) {
        MsgBox(QStringLiteral("无效的文件格式！您只能选择使用本软件建立的账套文件或数据备份文件！"),
               MB::OKOnly | MB::Exclamation);
        return;
    }
    QString name = askSetName(QStringLiteral("请输入新建账套的名称："), QStringLiteral("导入账套"), ImportedSetName(path));
    if (name.isEmpty())
        name = QStringLiteral("新建") + app.CurrentSetName;
    sets.add(name, path);
    showList();
}

void ZbSet::zbrename_Click()
{
    if (sets.selected < 0)
        return;
    const QString name = askSetName(QStringLiteral("请输入账套的名称："), QStringLiteral("账套更名"), sets.selectedName());
    if (name.isEmpty())
        return;
    sets.names[sets.selected] = name;
    showList();
}

void ZbSet::removeCommand()
{
    if (sets.count() < 2) {
        MsgBox(QStringLiteral("系统内至少要保留一个账套，不能删除！"), MB::OKOnly | MB::Exclamation);
        return;
    }
    if (sets.selectedPath() == app.CurrentSetPath) {
        MsgBox(QStringLiteral("您选择的是当前正在使用的账套，不能删除！"), MB::OKOnly | MB::Exclamation);
        return;
    }
    const QString question = QStringLiteral("此删除操作只在账套列表中去除指定账套，依然在硬盘上保留账套文件。\n真的要删除[") +
                             sets.selectedName() + QStringLiteral("]吗？");
    if (MsgBox(question, MB::YesNo | MB::Question) != MB::Yes)
        return;
    sets.removeAt(sets.selected);
    showList();
    saveList();
}

void ZbSet::leaveCommand()
{
    CloseAllowed = true;
    if (!fromMainMenu()) {
        // At start-up leaving ends the program; the list keeps the tick's state.
        saveList();
        accept();
        return;
    }
    try {
        OpenAccountSetFile(app, app.CurrentSetPath);
    } catch (const DbError& e) {
        CloseAllowed = false;
        MsgBox(QStringLiteral("无法重新打开原来使用的账套[") + app.CurrentSetPath + QStringLiteral("]：\n\n") +
                   e.description() + QStringLiteral("\n\n请选择一个账套并打开。"),
               MB::OKOnly | MB::Exclamation);
        return;
    }
    accept();
}

void ZbSet::filename_Click()
{
    if (Cmb[1]->currentText().isEmpty())
        return;
    MsgBox(Cmb[1]->currentText(), MB::OKOnly | MB::Information,
           QLatin1Char('[') + Cmb[0]->currentText() + QStringLiteral("]的存储文件为："));
}

void ZbSet::opendir_Click()
{
    const QString path = sets.selectedPath();
    if (!FileExists(path).isEmpty()) {
        ShowInExplorer(path);
        return;
    }
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (FolderUsable(folder).isEmpty()) {
        MsgBox(QStringLiteral("找不到文件夹[") + folder + QStringLiteral("]！"));
        return;
    }
    if (MsgBox(QStringLiteral("找不到文件[") + path + QStringLiteral("]！\n\n是否打开文件原来所在的文件夹？"),
               MB::YesNo | MB::Question) == MB::Yes)
        OpenDocument(folder);
}

void ZbSet::bakdbFile_Click()
{
    if (IsNetworkPath(app.AppFolder)) {
        MsgBox(QStringLiteral("对不起，备份数据只能在数据库本地电脑上完成！"), MB::OKOnly | MB::Information,
               QStringLiteral("提示"));
        return;
    }
    const QString path = sets.selectedPath();
    const QFileInfo source(path);
    if (!source.isFile() || source.isHidden()) {
        MsgBox(QStringLiteral("文件[") + path + QStringLiteral("]丢失！无法备份！"));
        return;
    }
    const QString folder = DefaultFolder(app, 1);
    const QString target = AskNewBackupTarget(
        QStringLiteral("当前账套备份至..."), folder + QStringLiteral("备份-") + app.CurrentSetName + QStringLiteral(".vxs"));
    if (target.isEmpty())
        return;
    bool done = false;
    {
        BusyPointer busy;
        setEnabled(false);
        try {
            BackupSetFile(path, target);
            done = true;
        } catch (const DbError&) {
        }
        setEnabled(true);
    }
    if (!done) {
        MsgBox(QStringLiteral("无法完成备份！其它用户正在使用此账套。\n\n请其它用户停止操作并退出系统后才可以备份！"));
        return;
    }
    MsgBox(QStringLiteral("备份完成！请妥善保存备份文件！"));
}

bool ShowAccountSetManager(App& app, bool fromMainMenu)
{
    // The chooser is shown, so the "No" mode's pick of the first entry does
    // not apply: the set in use stays the one to keep and to reopen.
    const QString path = app.CurrentSetPath;
    const QString name = app.CurrentSetName;
    AccountSetList list;
    LoadAccountSetList(app, list);
    app.CurrentSetPath = path;
    app.CurrentSetName = name;
    ZbSet manager(app, list, app.MainWindow ? app.MainWindow->widget() : nullptr);
    if (fromMainMenu)
        manager.prepareForMainMenu();
    manager.exec();
    return app.CurrentDatabase.isOpen();
}

bool ZbSet::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Image1 && type == QEvent::MouseButtonDblClick) {
        OpenWindow(app, QStringLiteral("ab"));
        return true;
    }
    if (watched == Label1 && type == QEvent::MouseButtonDblClick) {
        zbrename_Click();
        return true;
    }
    if (watched == labOpencmd && type == QEvent::MouseButtonRelease) {
        lookforfile->exec(QCursor::pos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ZbSet::closeEvent(QCloseEvent* event)
{
    if (CloseAllowed)
        event->accept();
    else
        event->ignore();
}

void ZbSet::keyPressEvent(QKeyEvent* event)
{
    // The hidden command buttons carry the default and cancel roles.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Cmd[0]->click();
        return;
    case Qt::Key_Escape:
        Cmd[3]->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void ZbSet::reject()
{
    if (CloseAllowed)
        QDialog::reject();
}
