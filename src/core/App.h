#pragma once
// The global state of one run of the program: the open account set, the
// program folder, the logged-in operator, the settings values and the
// hand-over variables between windows. Members carry the names the windows
// know them by. One App lives for the whole run; tests make a fresh one.

#include "core/MenuModel.h"
#include "core/SettingsCatalogue.h"
#include "core/WindowRegistry.h"
#include "platform/AccountSetLock.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <memory>
#include <vector>

class MainFrame;

// A summary report kept in memory until the next login: the inputs that made
// it (from, to, category, goods, only-moved, quantity-only) and its rows from
// the first goods row to the totals row, as the grid showed them.
struct ReportMemory {
    QStringList inputs;
    std::vector<QStringList> rows;
    bool isEmpty() const { return inputs.isEmpty() || inputs.first().isEmpty(); }
};

struct App {
    App();

    // Edition and title.
    QString AppTitle;     // "Vorlix仓库管理系统" unless built as another edition
    QString EditionName;  // "批号版"
    int OpenedFromCommandLine = 0;  // -1 when the set came from the command line

    // The open account set; closed and reopened around file maintenance.
    // Held shared on the open set's file while CurrentDatabase is open, so
    // that backup, restore and compaction elsewhere know the set is in use.
    // Declared first: it is released only after the database has closed.
    AccountSetLock CurrentSetLock;
    Database CurrentDatabase;
    QString AppFolder;         // program folder, with a trailing "/"
    QString AccountSetFolder;  // folder of the open set, with a trailing "/"
    QString DataFolder;        // folder of account sets and backups, "/"-terminated once set
    QString CurrentSetPath;
    QString CurrentSetName;

    // The logged-in operator ("" = nobody; "001" = top administrator).
    QString OperatorCode;
    QString OperatorName;

    QVector<qint16> ExportColKinds;  // per grid column: 1 numeric, 0 text
    QString CompanyName;
    int CanSeeCost = 0;    // -1 / 0
    int CanSeeProfit = 0;  // -1 / 0
    std::array<QString, 4> LedgerDrillArgs;

    // Settings loaded from sysinfo (core/SettingsCatalogue.h), at their
    // values in a new account set until a set is loaded.
    int NoOverIssue = int(NewSetValue(SetNoOverIssue));
    int LockDocPrice = int(NewSetValue(SetLockDocPrice));
    int FreezeCost = int(NewSetValue(SetFreezeCost));
    int NoNegativeQty = int(NewSetValue(SetNoNegativeQty));
    int WithPrices = int(NewSetValue(SetWithPrices));
    int AlarmBelowMin = int(NewSetValue(SetAlarmBelowMin));
    int AlarmAboveMax = int(NewSetValue(SetAlarmAboveMax));
    int AdminEditStock = int(NewSetValue(SetAdminEditStock));
    int PriceDecimals = int(NewSetValue(SetPriceDecimals));
    int AdminEditOpening = int(NewSetValue(SetAdminEditOpening));
    int AmountDecimals = int(NewSetValue(SetAmountDecimals));
    int ReportStartDay = int(NewSetValue(SetReportStartDay));
    int OfferCustomerPrice = int(NewSetValue(SetOfferCustomerPrice));
    int PaidOnReceipt = int(NewSetValue(SetPaidOnReceipt));
    int ReceivedOnIssue = int(NewSetValue(SetReceivedOnIssue));
    int ExcelLineImport = int(NewSetValue(SetExcelLineImport));
    int InboundRefPrice = int(NewSetValue(SetInboundRefPrice));
    int CostPlusFeePrice = int(NewSetValue(SetCostPlusFeePrice));
    int AutoDeductParts = int(NewSetValue(SetAutoDeductParts));
    QString PriceFormat = QStringLiteral("#0.00");
    QString AmountFormat = QStringLiteral("#0.00");
    QString GoodsTerm = QStringLiteral("货品");    // SetGoodsWord
    QString PartTerm = QStringLiteral("零件");     // SetPartWord
    QString ProductTerm = QStringLiteral("成品");  // SetProductWord
    QString HpsxName;  // SetHpsxName: name of the goods attribute, "" = none

    int BatchAddMode = 0;
    int StockColumnMode = 0;  // always 0
    int ShowUnitPicker = 1;   // always 1

    // The in/out/stock summary's three report memories, emptied at every login.
    std::array<ReportMemory, 3> SummaryMemories;

    // Grid popup protocol.
    QString PopupCellText;
    std::array<qint64, 3> PopupRowColors{0, 0, 0};

    // The main window's menu tree, shaped by the settings and the operator.
    MenuModel Menus;

    // The windows this run can open: menu items, rights, factories and the
    // start-up road's windows. Each folder's Register.cpp fills it.
    WindowRegistry Windows;

    // The main window once shown (null before start-up step 7 and in service tests).
    MainFrame* MainWindow = nullptr;

    // True when AppTitle names the warehouse edition (it contains "仓库").
    bool isWarehouseEdition() const { return AppTitle.contains(QStringLiteral("仓库")); }
};

// The application title chosen when the program was built.
QString BuiltAppTitle();
