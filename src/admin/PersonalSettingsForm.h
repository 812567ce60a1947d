#pragma once
// "操作员个人设置" (S2): the logged-in operator's notes, password, background
// picture and big text of the main window. Notes and big text are stored
// whenever the window closes.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QFrame;
class QTabBar;
struct App;

class PersonalSettingsForm : public QDialog {
    Q_OBJECT
public:
    // `passwordTab`: opened on the password tab (the login's link asked for it).
    explicit PersonalSettingsForm(App& app, QWidget* parent = nullptr, bool passwordTab = false);

    void done(int result) override;

private:
    void TabS_Click(int tab);
    void Cmd0_Click();
    void CmdSet0_Click();
    void CmdSet1_Click();
    void CmdSet3_Click();
    void Img_Click();
    bool showPreview(const QString& path);
    void SavePersonalTexts();

    App& app;
    bool setPasswordMode = false;
    QString LoadedPad;
    QString ChosenPicture;
    qint16 PictureClicks = 0;

    QLabel* LabUser;
    QTabBar* TabS;
    std::array<QFrame*, 5> Frm{};  // 1 to 4
    QPlainTextEdit* TxtPad;
    QPushButton* CmdPad;
    std::array<QLabel*, 3> Label1{};
    std::array<QLineEdit*, 3> Txt{};
    std::array<QPushButton*, 2> Cmd{};
    QLabel* Img;
    std::array<QPushButton*, 4> CmdSet{};
    QLabel* ImgEgg;
    QLabel* LabEgg;
    QLineEdit* TxtBgCpt;
    QPushButton* CmdCptSet;
};
