#pragma once
// The in/out/stock detail: every posted line of the period in key order with
// its running stock, narrowed by category, goods and the documents' extra
// header item; its running-stock check and its print.

#include "reports/StockMovement.h"
#include "reports/StockMovementForm.h"

class QAction;

class JxcMx : public StockMovementForm {
    Q_OBJECT
public:
    explicit JxcMx(App& app, QWidget* parent = nullptr);

    QLabel* LabOD;
    QLineEdit* TxtOD;
    QAction* Menu_YanSuan;
    QAction* Menu_TE;
    QAction* Menu_print;
    QAction* Menu_Return;

    // The goods code of the last report when it named exactly one goods, upper-cased.
    QString ReportGoodsCode;

    void Menu_YanSuan_Click();
    void Menu_print_Click();

protected:
    bool generate() override;
    void layoutColumns() override;
    void setupGrid() override;

private:
    void decideOrderBox();
    DetailReport m_report;
};
