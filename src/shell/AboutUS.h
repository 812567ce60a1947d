#pragma once
// The about window: title and edition with the program's name and version; visits the
// web address in `linkstr`, writes a mail to the publisher, or closes.

#include <QDialog>
#include <array>

class LabelButton;
class QLabel;
class QPushButton;
struct App;

// The application title as the about window shows it: a title of more than
// 9 characters loses every "系统", and then, still too long, every "管理".
QString AboutTitle(const QString& appTitle);

// The program's version, as the build names it ("1.0").
QString ProgramVersion();

// The mail link of the "发送邮件" action (no recipient: there is no address to invent).
QString AboutMailLink(const QString& appTitle, const QString& editionName);

class AboutUS : public QDialog {
    Q_OBJECT
public:
    explicit AboutUS(App& app, QWidget* parent = nullptr);

    QString linkstr;  // opened by Cmd0; "" opens nothing

    QLabel* Labver;
    std::array<QLabel*, 2> Lab;
    std::array<QLabel*, 6> LB;
    std::array<LabelButton*, 3> Labcmd;
    std::array<QPushButton*, 3> Cmd;
    QPushButton* Command1;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void visitWebsite();
    void sendMail();
    App& app;
};
