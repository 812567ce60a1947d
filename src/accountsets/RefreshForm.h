#pragma once
// The data-maintenance window: re-posts goods (running stock per attribute
// value, moving-average cost), re-chains the accounts of business units and
// recomputes the totals of documents valued at cost. The accounts page is
// left out in the warehouse edition.

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabBar;
struct App;
struct CodeCondition;

class ReJxcBox : public QDialog {
    Q_OBJECT
public:
    explicit ReJxcBox(App& app, QWidget* parent = nullptr);

    QTabBar* TabS;
    // Goods page.
    QFrame* Frm1;
    std::array<QRadioButton*, 2> Opt;
    QComboBox* cmbGx;
    QLineEdit* txtVal;
    QLabel* lab;
    QLabel* Label1;
    QPushButton* Command1;  // repair of return data
    // Accounts page.
    QFrame* Frm3;
    std::array<QRadioButton*, 2> OptB;
    QComboBox* CmbGx2;
    QLineEdit* TxtVal2;
    QLabel* Label5;
    QLabel* Label4;
    // Document totals page.
    QFrame* Frm4;
    QLabel* Label7;
    QLabel* Label6;
    QLabel* Label8;
    // Cmd0/Cmd1 goods, Cmd4/Cmd5 accounts, Cmd6/Cmd7 totals (no Cmd2, Cmd3).
    std::array<QPushButton*, 8> Cmd{};
    // How far a long run is.
    QProgressBar* PrgRun;

    void Cmd0_Click();
    void Cmd4_Click();
    void Cmd6_Click();
    void Command1_Click();

protected:
    void reject() override;

private:
    void TabS_Click(int index);
    // Runs `work` with the window disabled and the busy pointer; the caption
    // and the progress bar follow it. False when it failed (the user was told).
    bool run(const std::function<void()>& work);
    void showProgress(const QString& item, int done, int total);

    App& app;
    std::vector<QFrame*> pages;  // the page of each tab
    bool running = false;
    qint64 lastPaint = 0;
};
