#pragma once
// Stock statistics: the goods file with stock quantity, price and amount,
// narrowed by a filter panel, with a price switch between cost and sale
// price within the operator's rights. Fresh instances serve the start-up
// stock alarms (goods below safety stock, above maximum stock).

#include "forms/ReportForm.h"
#include "reports/StockStatistics.h"

class ColumnSortMenu;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
struct App;

class C1 : public ReportForm {
    Q_OBJECT
public:
    // autoOpen 1 or 2: a window for a stock alarm, which loads with an empty grid.
    explicit C1(App& app, QWidget* parent = nullptr, int autoOpen = 0);

    const int AutoOpen;

    // The alarm lists: goods below safety stock, goods above maximum stock.
    void Menu_Bellow_Click();
    void Menu_Morethan_Click();
    // The filter panel's run.
    void Command1_Click();
    // Switches the price column: 0 cost, 1 sale price; the current filter stays.
    void Menu_Price_Click(int index);
    void Menu_print_Click();

    QComboBox* CmbLB;
    QLineEdit* Txt;
    QPushButton* CmdQuery;
    QLineEdit* TxtF2;
    QLineEdit* TxtF5;
    QComboBox* CmbSL;
    QComboBox* CmbDJ;
    QLineEdit* TxtDJ;
    QComboBox* CmbZJ;
    QLineEdit* TxtZJ;
    QLineEdit* TxtF6;
    QLabel* LabHW;
    QLineEdit* TxtHW;
    QLabel* LabGys;
    QLineEdit* TxtGys;
    QPushButton* Command1;
    QAction* Menu_M;
    QAction* Menu_Price[2];
    QAction* Menu_Bellow;
    QAction* Menu_Morethan;
    QAction* Menu_TE;
    QAction* Menu_print;
    QAction* Menu_Return;

protected:
    // Fills the grid from the current filter (the panel's, or an alarm's).
    bool generate() override;
    void runClicked() override { Command1_Click(); }
    void layoutColumns() override;

private:
    void fill();
    void resetGrid();
    void chooseQuantityItem(int index);
    PriceBasis basis() const;

    StockListFilter m_filter;
    bool m_filled = false;
    ColumnSortMenu* m_sort = nullptr;
};

// Opens a new stock statistics window for a start-up stock alarm: mode 1
// lists goods below safety stock, mode 2 goods above maximum stock.
void ShowStockAlarm(App& app, int autoOpen);
