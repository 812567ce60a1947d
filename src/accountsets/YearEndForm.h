#pragma once
// The year-end window: carries the stock and the unit balances over as
// opening figures and deletes every document; only "001" may run it, anyone
// may make a backup from it.

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
struct App;

class YearEnd : public QDialog {
    Q_OBJECT
public:
    explicit YearEnd(App& app, QWidget* parent = nullptr);

    QLabel* labinf;
    std::array<QPushButton*, 3> Cmd;  // 备 份, 结 转, 返 回

    void Cmd1_Click();

private:
    App& app;
};
