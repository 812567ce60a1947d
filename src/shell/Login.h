#pragma once
// The login window: the operators of the open account set, the one who last
// logged in preselected, the password checked against TE1.F3. A successful
// login sets OperatorCode and OperatorName, runs the after-login set-up,
// gives the background the operator's big text and picture, and closes. The
// two links log an operator without a password in and answer the window
// they ask for (LoginLink). The exit button ends the program at once.

#include "core/WindowRegistry.h"

#include <QDialog>
#include <array>

class LabelButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct App;

// Shows the login window modally (the login hook); the window a link asked for.
LoginLink ShowLogin(App& app);

class Login : public QDialog {
    Q_OBJECT
public:
    explicit Login(App& app, QWidget* parent = nullptr);

    QComboBox* Cmb;
    std::array<QLineEdit*, 2> Txt;     // 0 the chosen account (never shown), 1 the password
    std::array<QLabel*, 2> Label1;     // "操作员：", "密码："
    std::array<LabelButton*, 3> Labcmd;
    std::array<QPushButton*, 3> Cmd;   // 0 login, 1 exit, 2 help; clicked through Labcmd and the keyboard
    LabelButton* LabAddUser;
    LabelButton* LabNoPWD;
    LabelButton* Image1;
    QLabel* Imgcmd;

    void reject() override;
    LoginLink asked() const { return m_asked; }  // the link the operator logged in by

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void operatorChosen();
    void login();
    void exitProgram();
    void showHelp();
    void linkClicked(LoginLink link);
    void showBackground();

    App& app;
    bool LoginOK = false;
    LoginLink m_asked = LoginLink::None;
    QString HelpText;
    QString DefaultBigText;
};
