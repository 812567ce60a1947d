#pragma once
// The account-set manager: chooses the set to open at start-up and keeps the
// list of account sets (new from the template, existing files, files on a
// network share, rename, remove from the list, show the file, back it up).
// It closes only by opening a set or by its leave command; from the main
// menu that command reads "返回系统" and reopens the set that was open.

#include "accountsets/AccountSetList.h"

#include <QDialog>
#include <array>

class LabelButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
struct App;

// Shows the manager modal over a freshly read list; from the main menu its
// leave command reopens CurrentSetPath. True when an account set is open
// afterwards (false at start-up means the user left: the program ends).
bool ShowAccountSetManager(App& app, bool fromMainMenu);

class ZbSet : public QDialog {
    Q_OBJECT
public:
    // Shows `list` (as LoadAccountSetList filled it); the tick starts clear.
    ZbSet(App& app, const AccountSetList& list, QWidget* parent = nullptr);

    // Prepares the window for use from the running program: the leave command
    // reads "返回系统" and the backup of a listed set is not offered.
    void prepareForMainMenu();

    // True once an account set was opened through this window.
    bool openedSet() const { return opened; }
    const AccountSetList& list() const { return sets; }

    QLabel* Image1;
    QLabel* Label1;
    std::array<QComboBox*, 2> Cmb;  // names, paths (hidden)
    QLabel* labOpencmd;
    QCheckBox* ChK;
    QLabel* LabChk;
    std::array<LabelButton*, 4> Labcmd;
    QFrame* imgcmd;
    QWidget* Pic;
    std::array<QPushButton*, 4> Cmd;
    QLabel* Label2;

    QMenu* editzb;
    QAction* newone;
    QAction* setpath;
    QAction* setpath_Net;
    QAction* zbrename;
    QMenu* lookforfile;
    QAction* filename;
    QAction* opendir;
    QAction* menuLine;
    QAction* bakdbFile;

    // The commands of the buttons and menu items.
    void OpenSelectedAccountSet();          // command 0
    void addCommand();                      // command 1: pops up editzb, then saves the list
    void removeCommand();                   // command 2
    void leaveCommand();                    // command 3
    void newone_Click();
    void setpath_Click();
    void setpath_Net_Click();
    void zbrename_Click();
    void filename_Click();
    void opendir_Click();
    void bakdbFile_Click();

    // The network picker's mount table (tests pass a fake one).
    QString mountTable = QStringLiteral("/proc/mounts");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void showList();
    void select(int index);
    void importFile(const QString& path);
    void saveList();
    bool fromMainMenu() const;

    App& app;
    AccountSetList sets;
    bool CloseAllowed = false;
    bool opened = false;
};
