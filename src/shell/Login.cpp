#include "shell/Login.h"

#include "core/Permissions.h"
#include "platform/ChineseUi.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "core/ProgramEnd.h"
#include "core/SqlText.h"
#include "platform/ChineseUi.h"
#include "platform/Messages.h"
#include "platform/UserSettings.h"
#include "shell/AboutUS.h"
#include "shell/AfterLogin.h"
#include "shell/BGForm.h"
#include "widgets/LabelButton.h"
#include "shell/LoginService.h"
#include "shell/MForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>

namespace {

const QString LastOperatorSection = QStringLiteral("Options");
const QString LastOperatorKey = QStringLiteral("默认登录账号");

const QString kTitle = QStringLiteral("提示");

}  // namespace

LoginLink ShowLogin(App& app)
{
    Login w(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    w.exec();
    return w.asked();
}

Login::Login(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("Login"));
    const QDate today = QDate::currentDate();
    setWindowTitle(QStringLiteral("系统日期：") + DateText(today) + QLatin1Char(' ') +
                   ChineseLocale().dayName(today.dayOfWeek(), QLocale::LongFormat));
    setMouseTracking(true);

    Image1 = new LabelButton(QString(), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    connect(Image1, &LabelButton::doubleClicked, this, [this] {
        AboutUS about(this->app, this);
        about.exec();
    });

    Cmb = new QComboBox(this);
    Cmb->setObjectName(QStringLiteral("Cmb"));
    Cmb->setMinimumWidth(180);
    for (int i = 0; i < 2; ++i) {
        Txt[i] = new QLineEdit(this);
        Txt[i]->setObjectName(QStringLiteral("Txt%1").arg(i));
    }
    Txt[0]->setVisible(false);
    Txt[1]->setEchoMode(QLineEdit::Password);
    Txt[1]->installEventFilter(this);
    Label1[0] = new QLabel(QStringLiteral("操作员："), this);
    Label1[1] = new QLabel(QStringLiteral("密码："), this);
    for (int i = 0; i < 2; ++i)
        Label1[i]->setObjectName(QStringLiteral("Label1%1").arg(i));

    LabAddUser = new LabelButton(QStringLiteral("【增加新的操作员】"), this);
    LabAddUser->setObjectName(QStringLiteral("LabAddUser"));
    LabNoPWD = new LabelButton(QStringLiteral("【设置操作员登录密码】"), this);
    LabNoPWD->setObjectName(QStringLiteral("LabNoPWD"));
    for (LabelButton* link : {LabAddUser, LabNoPWD}) {
        link->setStyleSheet(QStringLiteral("color: blue;"));
        link->setVisible(false);
    }
    connect(LabAddUser, &LabelButton::clicked, this, [this] { linkClicked(LoginLink::AddOperator); });
    connect(LabNoPWD, &LabelButton::clicked, this, [this] { linkClicked(LoginLink::SetPassword); });

    Imgcmd = new QLabel(QStringLiteral("▶"), this);
    Imgcmd->setObjectName(QStringLiteral("Imgcmd"));
    Imgcmd->setStyleSheet(QStringLiteral("color: rgb(0, 120, 215);"));
    Imgcmd->setVisible(false);

    const char* const labCaptions[3] = {"登  录", "退  出", "帮  助"};
    const char* const cmdCaptions[3] = {"登 录", "退 出", "帮 助"};
    for (int i = 0; i < 3; ++i) {
        Cmd[i] = new QPushButton(QString::fromUtf8(cmdCaptions[i]), this);
        Cmd[i]->setObjectName(QStringLiteral("Cmd%1").arg(i));
        Cmd[i]->setVisible(false);
        Labcmd[i] = new LabelButton(QString::fromUtf8(labCaptions[i]), this);
        Labcmd[i]->setObjectName(QStringLiteral("Labcmd%1").arg(i));
        connect(Labcmd[i], &LabelButton::clicked, Cmd[i], &QPushButton::click);
        LabelButton* lab = Labcmd[i];
        connect(lab, &LabelButton::hovered, this, [this, lab] {
            Imgcmd->adjustSize();
            Imgcmd->move(lab->x() - Imgcmd->width() - 2, lab->y() + (lab->height() - Imgcmd->height()) / 2);
            Imgcmd->setVisible(true);
            Imgcmd->lower();
        });
    }
    connect(Cmd[0], &QPushButton::clicked, this, &Login::login);
    connect(Cmd[1], &QPushButton::clicked, this, &Login::exitProgram);
    connect(Cmd[2], &QPushButton::clicked, this, &Login::showHelp);

    auto* form = new QGridLayout;
    form->addWidget(Label1[0], 0, 0);
    form->addWidget(Cmb, 0, 1);
    form->addWidget(Label1[1], 1, 0);
    form->addWidget(Txt[1], 1, 1);
    auto* links = new QHBoxLayout;
    links->addWidget(LabAddUser);
    links->addWidget(LabNoPWD);
    links->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Labcmd[0]);
    buttons->addSpacing(24);
    buttons->addWidget(Labcmd[2]);
    buttons->addSpacing(24);
    buttons->addWidget(Labcmd[1]);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(form);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(links);
    layout->addLayout(buttons);

    HelpText = LoginHelpText(app.CurrentDatabase);
    QStringList items;
    try {
        items = OperatorList(app.CurrentDatabase);
    } catch (const DbError& e) {
        MsgBox(e.description());
    }
    Cmb->addItems(items);
    Cmb->setCurrentIndex(
        PreselectIndex(items, GetSetting(app.CurrentSetPath, LastOperatorSection, LastOperatorKey, QStringLiteral("1"))));
    operatorChosen();
    connect(Cmb, &QComboBox::currentIndexChanged, this, &Login::operatorChosen);
}

void Login::operatorChosen()
{
    const QString t = Cmb->currentText().trimmed();
    if (t.isEmpty()) {
        Txt[0]->clear();
        return;
    }
    const QString account = AccountOfItem(t);
    Txt[0]->setText(account);
    LabAddUser->setVisible(false);
    LabNoPWD->setVisible(false);
    const bool hasPassword = !OperatorPassword(app.CurrentDatabase, account).isEmpty();
    Label1[1]->setVisible(hasPassword);
    Txt[1]->setVisible(hasPassword);
    if (hasPassword)
        return;
    Txt[1]->clear();
    LabAddUser->setVisible(account == TopAdministrator);
    LabNoPWD->setText(NoPasswordLinkCaption(account, t.mid(account.size() + 1)));
    LabNoPWD->setVisible(true);
}

void Login::login()
{
    const QString account = Txt[0]->text().trimmed();
    if (account.isEmpty()) {
        MsgBox(QStringLiteral("请在下拉列表中选择用户账号!"), MB::OKOnly | MB::Information, kTitle);
        return;
    }
    switch (CheckPassword(app.CurrentDatabase, account, Txt[1]->text())) {
    case LoginCheck::Ok:
        break;
    case LoginCheck::Wrong:
        MsgBox(QStringLiteral("密码输入错误！"), MB::OKOnly | MB::Information, kTitle);
        Txt[1]->setFocus();
        Txt[1]->clear();
        return;
    case LoginCheck::LookupFailed:
        MsgBox(QStringLiteral("无法读取操作员的密码，本次登录没有成功，请稍后再试。"), MB::OKOnly | MB::Information, kTitle);
        return;
    }

    app.OperatorCode = account;
    const QString name = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F2 FROM TE1 WHERE F1=?"), {account});
    if (app.MainWindow) {
        app.MainWindow->setStatusText(3, name);
        app.OperatorName = app.MainWindow->statusText(3);
    } else {
        app.OperatorName = name;
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    DefaultBigText = AfterLoginSetup(app);
    LoginOK = true;

    SaveSetting(app.CurrentSetPath, LastOperatorSection, LastOperatorKey, app.OperatorCode);
    showBackground();
    accept();
}

// The operator's own big text and picture on the background; without a
// picture of his own the default one.
void Login::showBackground()
{
    auto* frame = dynamic_cast<MForm*>(app.MainWindow);
    if (!frame)
        return;
    BGForm* bg = frame->background();
    const QString big = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F75 FROM TE1 WHERE F1=?"), {app.OperatorCode});
    bg->SetBigText(big.isEmpty() ? DefaultBigText : big);
    bg->Form_Resize();
    if (bg->LoadPicture(app.AppFolder + QStringLiteral("image/") + app.OperatorCode + QStringLiteral(".jpg"))) {
        bg->SetLabelsVisible(true);
        bg->Form_Resize();
    } else if (!FileExists(app.AppFolder + QStringLiteral("syspic.dat")).isEmpty()) {
        bg->LoadPicture(app.AppFolder + QStringLiteral("syspic.dat"));
    }
}

void Login::linkClicked(LoginLink link)
{
    m_asked = link;
    login();
    // A link that logged nobody in asks for nothing: a later login by the button opens no window.
    if (!LoginOK)
        m_asked = LoginLink::None;
}

void Login::exitProgram()
{
    LoginOK = true;
    EndProgramNow();
    done(QDialog::Rejected);
}

void Login::showHelp()
{
    MsgBox(HelpText, MB::OKOnly | MB::Information, QStringLiteral("帮助"));
}

void Login::reject()
{
    // Only a login or the exit button closes the window.
    if (LoginOK)
        QDialog::reject();
}

void Login::closeEvent(QCloseEvent* e)
{
    if (LoginOK)
        QDialog::closeEvent(e);
    else
        e->ignore();
}

void Login::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Cmd[0]->click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        Cmd[1]->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool Login::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+S in the password box logs in as 001 with the password typed.
    if (watched == Txt[1] && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_S && (k->modifiers() & Qt::ControlModifier)) {
            Txt[0]->setText(TopAdministrator);
            login();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Login::mouseMoveEvent(QMouseEvent* e)
{
    Imgcmd->setVisible(false);
    QDialog::mouseMoveEvent(e);
}
