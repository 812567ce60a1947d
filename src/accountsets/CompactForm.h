#pragma once
// The compaction window SysdbCompact compacts (or, in repair mode, repairs)
// one closed account-set file given by its caller, and reports the sizes.
// Its callers: the menu item "压缩账套文件", the reminder after login when the
// file has grown by 2000 KB since its last compaction, and RepairAccountSet.

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
struct App;

// The menu item Menu_yasuo: for "001" only; asks, closes CurrentDatabase,
// compacts the open set's file, opens it again and records a smaller size.
void CompactOpenAccountSet(App& app);

// At start-up after login: offers the compaction to "001" when the local
// set's file has grown by 2000 KB or more since the last recorded one.
void CompactReminder(App& app);

class SysdbCompact : public QDialog {
    Q_OBJECT
public:
    explicit SysdbCompact(App& app, QWidget* parent = nullptr);

    QString theFileStr;  // the file to work on; set by the caller
    std::array<QPushButton*, 2> Cmd;  // the action ("压 缩" or "修 复"), 取 消
    QLabel* LabInfo;
    QLabel* Labbak;
    QLabel* Image1;

    void Cmd0_Click();

private:
    App& app;
};
