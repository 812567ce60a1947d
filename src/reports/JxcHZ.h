#pragma once
// The in/out/stock summary: one row per goods with its stock at the start of
// a period, what came in and went out, and its stock at the end; report
// memories that outlive the window until the next login, the cross-check
// with the stock list, and two prints.

#include "reports/StockMovement.h"
#include "reports/StockMovementForm.h"

class QAction;

class JxcHZ : public StockMovementForm {
    Q_OBJECT
public:
    explicit JxcHZ(App& app, QWidget* parent = nullptr);

    QCheckBox* ChkQuery;
    QAction* aaaa;  // 库存表
    QAction* aaa;   // 比较
    QAction* Menu_JY[5];
    QAction* Menu_TE;
    QAction* Menu_print1;
    QAction* Menu_print2;
    QAction* Menu_Return;

    // Stores the shown report into the first free memory slot.
    void StoreReportMemory();
    // Brings memory slot k (0-2) back into the window.
    void RestoreReportMemory(int k);
    // Compares the closing quantities with the stock list, goods by goods.
    void aaa_Click();
    void Menu_print1_Click();
    void Menu_print2_Click();

protected:
    bool generate() override;
    void layoutColumns() override;
    void setupGrid() override;

private:
    void prepareMemoryMenu();
    void showRows(int from);
    QString categoryLine(bool goodsPrint) const;
    QString goodsLine() const;
    SummaryReport m_report;
};
