#pragma once
// The backup window: tab "立即备份" makes a backup copy of the open account set
// now; tab "自动备份" keeps the interval and the folder of the automatic backup
// at exit (only "001" may save them).

#include <QDialog>

class QFrame;
class QStackedWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
struct App;

// Shows the backup window modal over the main window.
void ShowBackupWindow(App& app);

// Asks where a backup copy goes, offering `proposed`; a file that exists is
// refused until the user names a new one. "" when the dialog was cancelled.
QString AskNewBackupTarget(const QString& title, const QString& proposed);

class sysDBbak : public QDialog {
    Q_OBJECT
public:
    explicit sysDBbak(App& app, QWidget* parent = nullptr);

    QTabBar* TabStrip1;
    QFrame* Frm1;
    QLabel* Lab000;
    QPushButton* Command3;  // 开始备份
    QPushButton* Command4;  // 返回系统
    QFrame* Frm2;
    QStackedWidget* Frames;  // shows Frm1 or Frm2
    QLabel* Label1;
    QLineEdit* Txt;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* TxtPath;
    QPushButton* CmdDlg;
    QLabel* LabInfo;
    QPushButton* Command2;  // 保存设置
    QPushButton* Command1;  // 返回系统

    void Command3_Click();
    void Command2_Click();
    void CmdDlg_Click();

private:
    void TabStrip1_Click(int index);
    void fillTexts();

    App& app;
    QString lastBackup;  // the last-backup text read at opening, written back by "保存设置"
};
