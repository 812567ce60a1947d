#pragma once
// The about window: title and edition with the publisher's lines; visits the
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

// The mail link of the "发送邮件" action.
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
