#include "admin/PersonalSettingsForm.h"

#include "admin/PersonalSettings.h"
#include "widgets/EnterAsTab.h"
#include "widgets/WidgetHooks.h"
#include "core/App.h"
#include "core/Files.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString Hint = QStringLiteral("提示");

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The fixed picture shown after ten clicks on the preview.
QPixmap greetingPicture()
{
    QPixmap pm(240, 160);
    pm.fill(QColor(255, 250, 205));
    QPainter p(&pm);
    QFont f = p.font();
    f.setPointSize(48);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("☺"));
    return pm;
}

}  // namespace

PersonalSettingsForm::PersonalSettingsForm(App& app, QWidget* parent, bool passwordTab)
    : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("S2"));
    setWindowTitle(QStringLiteral("操作员个人设置"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    LabUser = new QLabel(this);
    LabUser->setObjectName(QStringLiteral("LabUser"));
    outer->addWidget(LabUser);
    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    for (const char* caption : {"个人记事", "更改密码", "背景设置", "字幕设置"})
        TabS->addTab(QString::fromUtf8(caption));
    outer->addWidget(TabS);
    // One stack for the four pages: the window keeps the size of the largest
    // page instead of changing width with the tab.
    auto* pages = new QStackedWidget(this);
    for (int i = 1; i <= 4; ++i) {
        Frm[i] = new QFrame(pages);
        Frm[i]->setObjectName(QStringLiteral("Frm%1").arg(i));
        pages->addWidget(Frm[i]);
    }
    outer->addWidget(pages, 1);

    // Tab 1: notes.
    auto* notes = new QVBoxLayout(Frm[3]);
    TxtPad = new QPlainTextEdit(Frm[3]);
    TxtPad->setObjectName(QStringLiteral("TxtPad"));
    CmdPad = button(Frm[3], QStringLiteral("CmdPad"), QStringLiteral("返 回 系 统"));
    notes->addWidget(TxtPad, 1);
    notes->addWidget(CmdPad, 0, Qt::AlignRight);

    // Tab 2: password.
    auto* pw = new QGridLayout(Frm[1]);
    const char* captions[3] = {"旧密码", "新密码", "新密码确认"};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(QString::fromUtf8(captions[i]), Frm[1]);
        Label1[i]->setObjectName(QStringLiteral("Label1%1").arg(i));
        Txt[i] = new QLineEdit(Frm[1]);
        Txt[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
        Txt[i]->setEchoMode(QLineEdit::Password);
        EnterAsTab(Txt[i]);
        pw->addWidget(Label1[i], i, 0);
        pw->addWidget(Txt[i], i, 1);
    }
    Cmd[0] = button(Frm[1], QStringLiteral("Cmd0"), QStringLiteral("确 定"));
    Cmd[1] = button(Frm[1], QStringLiteral("Cmd1"), QStringLiteral("取 消"));
    auto* pwButtons = new QHBoxLayout;
    pwButtons->addStretch(1);
    pwButtons->addWidget(Cmd[0]);
    pwButtons->addWidget(Cmd[1]);
    pw->addLayout(pwButtons, 3, 0, 1, 2);
    pw->setRowStretch(4, 1);

    // Tab 3: background picture.
    auto* bg = new QHBoxLayout(Frm[2]);
    Img = new QLabel(Frm[2]);
    Img->setObjectName(QStringLiteral("Img"));
    Img->setMinimumSize(240, 160);
    Img->setScaledContents(true);
    Img->setFrameShape(QFrame::Box);
    bg->addWidget(Img, 1);
    auto* bgButtons = new QVBoxLayout;
    const char* setCaptions[4] = {"浏 览", "确 定", "取 消", "复 原"};
    for (int i = 0; i < 4; ++i) {
        CmdSet[i] = button(Frm[2], QStringLiteral("CmdSet%1").arg(i), QString::fromUtf8(setCaptions[i]));
        bgButtons->addWidget(CmdSet[i]);
    }
    bgButtons->addStretch(1);
    LabEgg = new QLabel(QStringLiteral("感谢您使用Vorlix仓库管理系统，祝您工作愉快！"), Frm[2]);
    LabEgg->setObjectName(QStringLiteral("LabEgg"));
    LabEgg->hide();
    bgButtons->addWidget(LabEgg);
    bg->addLayout(bgButtons);
    ImgEgg = new QLabel(Frm[2]);
    ImgEgg->setObjectName(QStringLiteral("ImgEgg"));
    ImgEgg->setPixmap(greetingPicture());
    ImgEgg->hide();
    CmdSet[1]->setEnabled(false);

    // Tab 4: big text.
    auto* caption = new QVBoxLayout(Frm[4]);
    caption->addWidget(new QLabel(QStringLiteral("背景图片非默认设置时"), Frm[4]));
    caption->addWidget(new QLabel(QStringLiteral("系统主界面大字显示："), Frm[4]));
    TxtBgCpt = new QLineEdit(Frm[4]);
    TxtBgCpt->setObjectName(QStringLiteral("TxtBgCpt"));
    caption->addWidget(TxtBgCpt);
    CmdCptSet = button(Frm[4], QStringLiteral("CmdCptSet"), QStringLiteral("返 回 系 统"));
    caption->addWidget(CmdCptSet, 0, Qt::AlignRight);
    caption->addStretch(1);

    connect(TabS, &QTabBar::currentChanged, this, &PersonalSettingsForm::TabS_Click);
    connect(Cmd[0], &QPushButton::clicked, this, &PersonalSettingsForm::Cmd0_Click);
    connect(CmdSet[0], &QPushButton::clicked, this, &PersonalSettingsForm::CmdSet0_Click);
    connect(CmdSet[1], &QPushButton::clicked, this, &PersonalSettingsForm::CmdSet1_Click);
    connect(CmdSet[3], &QPushButton::clicked, this, &PersonalSettingsForm::CmdSet3_Click);
    for (QPushButton* close : {Cmd[1], CmdSet[2], CmdPad, CmdCptSet})
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    OnClick(Img, [this] { Img_Click(); });

    // Opening.
    const Database& db = app.CurrentDatabase;
    LabUser->setText(QStringLiteral("账号：") + app.OperatorCode + QStringLiteral("  名称：") + app.OperatorName);
    TabS_Click(0);
    LoadedPad = SqlScalar(db, QStringLiteral("SELECT [pad] FROM TE1 WHERE F1 = ?"), {app.OperatorCode});
    TxtPad->setPlainText(LoadedPad);
    TxtBgCpt->setText(BackgroundBigText(app));
    setPasswordMode = StoredPassword(db, app.OperatorCode).isEmpty();
    if (setPasswordMode) {
        Label1[0]->setText(QStringLiteral("为了您的数据安全，请设置密码："));
        Label1[1]->setText(QStringLiteral("密码"));
        Label1[2]->setText(QStringLiteral("密码确认"));
        Txt[0]->hide();
        TabS->setTabText(1, QStringLiteral("设置密码"));
    }
    if (passwordTab)
        TabS->setCurrentIndex(1);
    if (!showPreview(PersonalPicturePath(app, app.OperatorCode)))
        showPreview(DefaultPicturePath(app));
}

bool PersonalSettingsForm::showPreview(const QString& path)
{
    QPixmap pm;
    if (path.isEmpty() || !pm.load(path))
        return false;
    Img->setPixmap(pm);
    return true;
}

void PersonalSettingsForm::TabS_Click(int tab)
{
    const int pages[4] = {3, 1, 2, 4};
    if (tab >= 0 && tab < 4)
        qobject_cast<QStackedWidget*>(Frm[pages[tab]]->parentWidget())->setCurrentWidget(Frm[pages[tab]]);
    if (tab == 2) {
        LabEgg->hide();
        PictureClicks = 0;
    }
}

void PersonalSettingsForm::Cmd0_Click()
{
    Database& db = app.CurrentDatabase;
    const QString oldPassword = Txt[0]->text();
    const QString newPassword = Txt[1]->text();
    const QString wrongOld = setPasswordMode ? QStringLiteral("可能有其它操作员以您的用户名登录系统并且刚刚修改了密码！")
                                             : QStringLiteral("旧密码错误，你无权修改该用户密码！");
    const int wrongOldStyle = MB::OKOnly | (setPasswordMode ? MB::Exclamation : MB::Information);
    switch (CheckPasswordChange(db, app.OperatorCode, oldPassword, newPassword, Txt[2]->text(), setPasswordMode)) {
    case PasswordCheck::Mismatch:
        MsgBox(QStringLiteral("新密码两次输入不同，请重新输入！"), MB::OKOnly | MB::Information, Hint);
        return;
    case PasswordCheck::SameAsOld:
        MsgBox(QStringLiteral("您输入的新密码与旧密码相同，请修改！"), MB::OKOnly | MB::Information, Hint);
        return;
    case PasswordCheck::WrongOld:
    case PasswordCheck::ChangedByOther:
        MsgBox(wrongOld, wrongOldStyle, Hint);
        return;
    case PasswordCheck::AskClear:
        if (MsgBox(QStringLiteral("您要清空密码吗？ 点击[是]系统将把密码清空，点击[否]返回输入新密码！"),
                   MB::YesNo | MB::Question | MB::DefaultButton2)
            != MB::Yes)
            return;
        break;
    case PasswordCheck::Ready:
        break;
    }
    try {
        if (!StorePassword(db, app.OperatorCode, oldPassword, newPassword)) {
            MsgBox(wrongOld, wrongOldStyle, Hint);
            return;
        }
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    MsgBox(QStringLiteral("密码修改成功！"), MB::OKOnly | MB::Information, Hint);
    accept();
}

void PersonalSettingsForm::CmdSet0_Click()
{
    QDir().mkpath(app.AppFolder + QStringLiteral("image"));
    const QString path = Dialogs().openFile(QStringLiteral("打开图片文件"), app.AppFolder + QStringLiteral("image"),
                                            QStringLiteral("*.jpg (*.jpg);;*.bmp (*.bmp);;*.gif (*.gif);;*.* (*)"));
    if (path.isEmpty())
        return;
    ChosenPicture = path;
    if (showPreview(path)) {
        CmdSet[1]->setEnabled(true);
    } else {
        ChosenPicture.clear();
        CmdSet[1]->setEnabled(false);
    }
}

void PersonalSettingsForm::CmdSet3_Click()
{
    ChosenPicture = DefaultPicturePath(app);
    if (!FileExists(ChosenPicture).isEmpty()) {
        showPreview(ChosenPicture);
    } else {
        MsgBox(QStringLiteral("缺少必要的文件，无法复原！"));
        CmdSet[3]->setEnabled(false);
    }
    CmdSet[1]->setEnabled(true);
}

void PersonalSettingsForm::CmdSet1_Click()
{
    if (ChosenPicture != DefaultPicturePath(app)) {
        const QString failure = InstallPersonalPicture(app, app.OperatorCode, ChosenPicture);
        if (!failure.isEmpty()) {
            MsgBox(failure);
            return;
        }
        SetBackgroundLabelsVisible(app, true);
        if (!SetBackgroundPicture(app, ChosenPicture)) {
            MsgBox(QStringLiteral("无法显示图片：") + ChosenPicture);
            return;
        }
    } else {
        RemovePersonalPicture(app, app.OperatorCode);
        SetBackgroundLabelsVisible(app, false);
        SetBackgroundPicture(app, ChosenPicture);
    }
    MsgBox(app.OperatorName + QStringLiteral("，您的背景图片设置成功！"));
    accept();
}

void PersonalSettingsForm::Img_Click()
{
    if (++PictureClicks < 10)
        return;
    Img->setPixmap(ImgEgg->pixmap());
    LabEgg->show();
    PictureClicks = 0;
}

void PersonalSettingsForm::SavePersonalTexts()
{
    Database& db = app.CurrentDatabase;
    std::optional<QString> notes;
    std::optional<QString> caption;
    if (TxtPad->toPlainText() != LoadedPad) {
        notes = PersonalNoteText(TxtPad->toPlainText());
        LoadedPad = *notes;
    }
    if (TxtBgCpt->text() != BackgroundBigText(app)) {
        caption = PersonalCaptionText(TxtBgCpt->text());
        TxtBgCpt->setText(*caption);
    }
    try {
        ::SavePersonalTexts(db, app.OperatorCode, notes ? &*notes : nullptr, caption ? &*caption : nullptr);
    } catch (const DbError&) {
        return;  // a failed write of notes or big text is not reported
    }
    if (caption)
        SetBackgroundBigText(app, caption->trimmed());
}

void PersonalSettingsForm::done(int result)
{
    SavePersonalTexts();
    QDialog::done(result);
}
