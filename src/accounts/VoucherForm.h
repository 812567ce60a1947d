#pragma once
// The voucher form: a list tab (the grid GD of the vouchers of one kind) and
// a voucher tab (one field per list column), on which vouchers are read,
// added and edited. Its members differ only in their VoucherSide (kind,
// amount column, numbering, proposed date, captions): YingLst adds payables
// and receivables, PayLst records payments and receipts. Saving and deleting
// go through VoucherService; the window reads its fields and shows answers.
//
// State: Edstu 0 browse, 1 adding, 2 editing. While Edstu is not 0 the tab
// strip is disabled, the voucher tab in front and only Save and Cancel are
// offered; closing the window then asks before the entry is dropped.
// Rights (word RightAccounts): add, edit and delete the side's digit; export
// the print digit.

#include "accounts/VoucherService.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class Grid;
class QAction;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedLayout;
class QTabBar;
struct App;

class VoucherForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int LB READ lb)
    Q_PROPERTY(int Edstu READ edstu)
    Q_PROPERTY(QString PubSql READ pubSql WRITE setPubSql)
public:
    int Edstu = 0;       // 0 browse, 1 adding, 2 editing
    QString PubSql;      // the query dialog's answer
    int CurRow = 1;      // grid row of the current voucher
    int RecordTotal = 0; // vouchers in the list

    int lb() const { return code(Side.kind); }
    int edstu() const { return Edstu; }
    QString pubSql() const { return PubSql; }
    void setPubSql(const QString& s) { PubSql = s; }

    // The commands, as their menu items run them.
    void Menu_Add_Click();
    void Menu_edit_Click();
    void Menu_del_Click();
    void Menu_query_Click();
    void Menu_sortBy_Click(int index);
    void Menu_save_Click();
    void Menu_cancel_Click();
    void Menu_TE_Click();
    void CmdQGys_Click();

    // Rebuilds the header and fills the grid; a statement other than the one
    // last run gets the kind filter first.
    void LoadVoucherList(const QString& statement);

    QTabBar* TabS;
    Grid* GD;
    QFrame* Frm;
    QVector<QLineEdit*> Txt;  // Txt0 .. Txt8
    QVector<QLabel*> Lab;     // Lab0 .. Lab9
    QDateEdit* DTP;
    QComboBox* CmbEnter2;
    QPushButton* CmdQGys;
    QAction* Menu_Add;
    QAction* Menu_edit;
    QAction* Menu_del;
    QAction* Menu_query;
    QMenu* Menu_sort;
    QVector<QAction*> Menu_sortBy;
    QAction* Menu_save;
    QAction* Menu_cancel;
    QAction* Menu_TE;
    QAction* Menu_Return;

protected:
    // A member: the window of the voucher kind's side (VoucherSideOf names
    // the window, its caption and its tab captions).
    VoucherForm(App& app, DocKind kind, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls (VoucherFormFrame.cpp).
    void buildMenus();
    void buildPages();
    void placeColumns();
    bool entryHelperEvent(QObject* watched, QEvent* event);
    void commitHelpers();
    QAction* action(const char* name, const QString& caption);

    void FillUnitCombo();
    void BuildVoucherHeader();
    void ShowVoucherStatus();
    void EnterVoucherEditMode();
    void LeaveVoucherEditMode();
    void showEditCommands(bool editing);
    void showTab(int tab);
    void GD_RowColChange();
    void TabS_Click(int tab);
    bool SaveVoucherFields();
    bool isTopAdministrator() const;

    App& app;
    VoucherSide Side;
    QString CurrentSql;
    QString SortOrder;
    int SortIndex = VoucherSortByDate;
    int CurCol = 0;
    LoadedVoucher Original;
    QStringList RowKeys;  // version of each grid row as listed (row 1 first)
    QStackedLayout* Pages = nullptr;
};

// "增加应付" / "增加应收": added payables (kind 100) or receivables (-100).
class YingLst : public VoucherForm {
    Q_OBJECT
public:
    YingLst(App& app, DocKind kind, QWidget* parent = nullptr) : VoucherForm(app, kind, parent) {}
};

// "付款给供应商" / "收款": payments (kind 10) or receipts (-10).
class PayLst : public VoucherForm {
    Q_OBJECT
public:
    PayLst(App& app, DocKind kind, QWidget* parent = nullptr) : VoucherForm(app, kind, parent) {}
};
