#pragma once
// The network share picker: the user names a server and its shared folder,
// the account-set files found there are listed, and the chosen file's path
// is the answer, Picked ("" when the picker was left otherwise).
// A share is reached through its mount on this computer.

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
struct App;

class ZbsetNet : public QDialog {
    Q_OBJECT
public:
    explicit ZbsetNet(App& app, QWidget* parent = nullptr,
                      const QString& mountTable = QStringLiteral("/proc/mounts"));

    std::array<QLabel*, 2> Lab;
    std::array<QLineEdit*, 2> Txt;  // server, shared folder
    QPushButton* Cmd;               // lists the share, or starts again
    QGroupBox* FrmSM;               // the instructions, over the list
    QLabel* Label1;
    QGroupBox* Frm;
    QListWidget* File1;
    std::array<QPushButton*, 2> CmdOK;  // confirm, cancel
    QString Picked;                     // the chosen file's path, "" = none

private:
    void Cmd_Click();
    void CmdOK0_Click();
    void listShare();

    App& app;
    QString mountTable;
    QString listedFolder;  // the local folder of the share listed last
};
