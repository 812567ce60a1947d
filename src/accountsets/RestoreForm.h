#pragma once
// The restore window: replaces the open account set's file by a backup copy
// the user picks, then ends the program so that the next run starts on the
// restored data. "备份数据" offers a backup of the current data first.

#include <QDialog>

class QLabel;
class QPushButton;
struct App;

// Shows the restore window modal over the main window.
void ShowRestoreWindow(App& app);

class S32 : public QDialog {
    Q_OBJECT
public:
    explicit S32(App& app, QWidget* parent = nullptr);

    QLabel* Label1;
    QPushButton* Command1;  // 恢复数据
    QPushButton* Command3;  // 备份数据
    QPushButton* Command2;  // 返回系统

    void Command1_Click();

private:
    App& app;
};
