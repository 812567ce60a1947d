#pragma once
// The account ledger windows: the frame shared by the general ledger (KuanHz,
// one row per unit) and the detail ledger (KuanMx, one row per document with
// a subtotal per unit). A window serves one side, chosen by LB: 10 the
// suppliers' payables, any other value (-10) the customers' receivables.
// The rows come from LedgerService; the window only shows and hands them on.

#include "core/Kinds.h"
#include "forms/ReportForm.h"

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

class LedgerForm : public ReportForm {
    Q_OBJECT
public:
    int LB = 10;
    // Takes the side and the caption; the next run follows the new side.
    void setSide(int lb, const QString& caption);

    // The run button: reads the unit box, then generates.
    void Cmd_Click();
    void CmdQGys_Click();
    void Menu_Price_Click(int index);
    void Menu_print_Click();

    QLabel* Labe0;
    QLabel* Labe1;
    QLabel* LabDW;
    QComboBox* Cmb;
    QPushButton* CmdQGys;
    QLineEdit* Txt;  // the unit-code filter of the ledger shown ("" = all units)
    QPushButton* Cmd;
    QMenu* Menu_M;
    std::array<QAction*, 2> Menu_Price{};
    QAction* Menu_TE;
    QAction* Menu_print;
    QAction* Menu_Return;

protected:
    LedgerForm(App& app, int lb, const QString& caption, const char* name, QWidget* parent);
    // The window's loading: label, period, unit list, picker; the member then generates.
    void loadDefaults();
    void runClicked() override { Cmd_Click(); }
    // The unit kind, the money word and the unit word of the side.
    bool payable() const { return LB == 10; }
    UnitKind unitKind() const { return payable() ? UnitKind::Supplier : UnitKind::Customer; }
    QString moneyWord() const;
    // Clears the grid to its header and one empty row.
    void buildHeader(const QStringList& headers);
    // Remembers the ledger just asked for, for the detail ledger's next loading.
    void writeDrillArgs(const QString& code);
    // Grid columns 0..9 at the width of width/divisor, hidden columns at 0.
    void layoutLedgerColumns(int divisor, std::initializer_list<int> hidden);

    // What the print hands over besides the grid rows.
    struct LedgerPrint {
        QString pid;
        QString templateFile;
        QString sql;
    };
    virtual LedgerPrint printSetup() const = 0;
    // Stages the grid's rows for the print.
    virtual void stageRows(class PlistPrint& job) const = 0;

private:
    void FillUnitList();
};

// The general ledger: one row per unit of the side with its opening,
// increase, decrease and closing over the period, and a totals row. A double
// click on a unit opens its detail ledger for the same period.
class KuanHz : public LedgerForm {
    Q_OBJECT
public:
    KuanHz(App& app, int lb, const QString& caption, QWidget* parent = nullptr);
    void GD_DblClick(int row);

protected:
    bool generate() override;
    void layoutColumns() override;
    LedgerPrint printSetup() const override;
    void stageRows(PlistPrint& job) const override;
};

// The detail ledger: the audited documents and vouchers of the period, per
// unit in posting order with the balance before and after each, and a
// subtotal row closing each unit.
class KuanMx : public LedgerForm {
    Q_OBJECT
public:
    KuanMx(App& app, int lb, const QString& caption, QWidget* parent = nullptr);
    void Menu_S_Click(int index);

    QAction* Menu_Weihu;
    QMenu* Menu_Sort;
    std::array<QAction*, 10> Menu_S{};

protected:
    bool generate() override;
    void layoutColumns() override;
    LedgerPrint printSetup() const override;
    void stageRows(PlistPrint& job) const override;
};

// The menu item that opens the ledger of a side (payable: LB 10).
QString GeneralLedgerItem(int lb);
QString DetailLedgerItem(int lb);
