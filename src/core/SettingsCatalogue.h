#pragma once
// The rows of table sysinfo that the program reads, each named once: its ID,
// its name, and the value a new account set starts with. The template, the
// settings loader, the wizard, App's start-up values and every other reader
// use these names; no row number is written anywhere else.
//
// Rows are replaced by deleting every row of the ID and inserting one; rows
// 0, 1, 2 and 100 are only ever updated, so a new account set holds them.

enum SettingId : int {
    // Options copied into App at every load.
    SetNoOverIssue = 0,
    SetLockDocPrice = 1,
    SetFreezeCost = 2,
    SetNoNegativeQty = 3,
    SetWithPrices = 5,
    SetAlarmBelowMin = 6,
    SetAlarmAboveMax = 7,
    SetAdminEditStock = 8,
    SetPriceDecimals = 9,
    SetAdminEditOpening = 10,
    SetAmountDecimals = 19,
    SetReportStartDay = 20,
    SetOfferCustomerPrice = 21,
    SetPaidOnReceipt = 22,
    SetReceivedOnIssue = 23,
    SetExcelLineImport = 24,
    SetInboundRefPrice = 878,
    SetCostPlusFeePrice = 879,
    SetAutoDeductParts = 2171,
    // Words and the goods attribute.
    SetProductWord = 12,
    SetGoodsWord = 91,
    SetPartWord = 92,
    SetHpsxName = 2010,
    SetExtraGoodsAttr = 7714,
    SetSeparatePartFiles = 9218,
    // Document types: row SetDocTypeFirst + slot (0 to 7); their extra header
    // items: row SetDocExtraItemFirst + slot.
    SetDocTypeFirst = 81,
    SetDocTypeLast = 88,
    SetDocExtraItemFirst = 181,
    SetDocExtraItemLast = 188,
    SetStocktakeExtraItem = 9181,
    // Wizard options read by the windows.
    SetFlowModes = 80,
    SetRunWizard = 1000,
    SetDualRoleUnits = 1616,
    SetUnitFolders = 1617,
    SetSalesDiscount = 3196,
    SetFixedSupplier = 7715,
    SetPrintRule = 7716,
    SetLinesInEntryOrder = 9127,
    // Records kept by file maintenance and the document windows.
    SetChangeCounter = 100,
    SetAutoBackupDays = 876,
    SetCompactRecord = 877,
    SetAutoBackupFolder = 8195,
    // "Do not show the saved hint again"; outside the wizard's rows so the
    // tick never overwrites a setting.
    SetSavedHintOff = 6116,
};

// One row of a new account set: the values the template writes (null texts
// as nullptr).
struct SettingDefault {
    int id;
    double setval;
    const char* setstr;
    const char* shuoming;
};

// The rows every new account set starts with, in the order the template writes them.
inline constexpr SettingDefault NewSetSettings[] = {
    {SetNoOverIssue, 0, nullptr, nullptr},
    {SetLockDocPrice, 0, nullptr, nullptr},
    {SetFreezeCost, 0, nullptr, nullptr},
    {SetNoNegativeQty, 0, nullptr, nullptr},
    {SetAlarmBelowMin, 0, nullptr, nullptr},
    {SetAlarmAboveMax, 0, nullptr, nullptr},
    {SetAdminEditStock, 0, nullptr, nullptr},
    {SetAdminEditOpening, 0, nullptr, nullptr},
    {SetOfferCustomerPrice, 0, nullptr, nullptr},
    {SetPaidOnReceipt, 0, nullptr, nullptr},
    {SetReceivedOnIssue, 0, nullptr, nullptr},
    {SetExcelLineImport, 0, nullptr, nullptr},
    {SetInboundRefPrice, 0, nullptr, nullptr},
    {SetCostPlusFeePrice, 0, nullptr, nullptr},
    {SetAutoDeductParts, 0, nullptr, nullptr},
    {SetFixedSupplier, 0, nullptr, nullptr},
    {SetPrintRule, 0, nullptr, nullptr},
    {SetLinesInEntryOrder, 0, nullptr, nullptr},
    {SetSalesDiscount, 0, "销价折扣功能", nullptr},
    {SetWithPrices, 1, nullptr, nullptr},
    {SetPriceDecimals, 2, nullptr, nullptr},
    {SetAmountDecimals, 2, nullptr, nullptr},
    {SetReportStartDay, 1, nullptr, nullptr},
    {SetFlowModes, 100, nullptr, nullptr},
    {SetChangeCounter, 0, nullptr, nullptr},
    // On, so that a new set opens in the settings wizard.
    {SetRunWizard, 1, "启动时运行向导", nullptr},
    {SetProductWord, 1, "成品", nullptr},
    {SetGoodsWord, 1, "货品", nullptr},
    {SetPartWord, 0, "零件", nullptr},
    {SetHpsxName, 1, "批号", nullptr},
    {SetAutoBackupDays, 0, nullptr, nullptr},
    {81, 1, "采购入库单", "RK"},
    {82, 1, "采购退货单", "TH"},
    {83, 0, "生产入库单", "RK"},
    {84, 0, "次品返工单", "TH"},
    {85, 1, "部门领用单", "CK"},
    {86, 1, "部门退货单", "TK"},
    {87, 0, "销售发货单", "CK"},
    {88, 0, "客户退货单", "TK"},
    {181, 0, "订单号", nullptr},
    {182, 0, "订单号", nullptr},
    {183, 0, "订单号", nullptr},
    {184, 0, "订单号", nullptr},
    {185, 0, "订单号", nullptr},
    {186, 0, "订单号", nullptr},
    {187, 0, "订单号", nullptr},
    {188, 0, "订单号", nullptr},
};

// The value a new account set holds in row `id` (0 for a row it lacks).
constexpr double NewSetValue(int id)
{
    for (const SettingDefault& d : NewSetSettings)
        if (d.id == id)
            return d.setval;
    return 0;
}
