#pragma once
// "系统操作员管理" (S1): the list of operators and the detail of one with its
// eight permission groups. Adding, editing and deleting need the system
// group (F66) or the account "001"; saving goes through the operator services.

#include <QDialog>
#include <array>

class Grid;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTabBar;
struct App;

class OperatorsForm : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int Edstu READ edstu)
public:
    // `startAdding`: adding a new operator at once (the login's link asked for it).
    explicit OperatorsForm(App& app, QWidget* parent = nullptr, bool startAdding = false);

    int Edstu = 0;  // 0 browse, 1 adding, 2 editing
    int edstu() const { return Edstu; }

private:
    void ResetOperatorList();
    void LoadOperatorList();
    void ShowOperatorStatus();
    void SetBrowseState();
    void SetEditState();
    void LoadOperatorPermissions();
    int PermissionWordOfGroup(int group) const;
    void gridCurrentCell();

    void Menu_Add_Click();
    void Menu_edit_Click();
    void Menu_save_Click();
    void Menu_cancel_Click();
    void Menu_del_Click();
    void TabS_Click(int tab);
    void ChK_Click(int group);
    void LabM_Click(int group);
    void ChkAll_Click();
    void setAllBoxes(bool groupsOn, bool itemsOn);
    QCheckBox* item(int group, int k) const { return Chk0[10 * group + k]; }

    App& app;
    int CurrentRow = 1;
    int OperatorCount = 0;
    QString KeptPassword;

    QTabBar* TabS;
    Grid* GD;
    QFrame* Frm;
    std::array<QLabel*, 2> Lab{};
    std::array<QLineEdit*, 2> Txt{};
    QLabel* Label1;
    QCheckBox* ChkAll;
    std::array<QCheckBox*, 8> ChK{};
    std::array<QLabel*, 8> LabM{};
    std::array<QCheckBox*, 73> Chk0{};  // 10 x group + item
    std::array<QFrame*, 8> Line1{};
    QAction* Menu_Add;
    QAction* Menu_edit;
    QAction* Menu_del;
    QAction* Menu_save;
    QAction* Menu_cancel;
    QAction* Menu_Return;
};
