#include "admin/WizardSettings.h"

#include "core/App.h"
#include "core/DocTypes.h"
#include "core/Kinds.h"
#include "core/SchemaUpgrades.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <cmath>
#include <optional>

const std::array<const char*, 8> DocTypeDefaultNames = {
    "采购入库单", "采购退货单", "生产入库单", "次品返工单", "部门领用单", "部门退货单", "销售发货单", "客户退货单"};
const std::array<const char*, 8> DocTypeDefaultPrefixes = {"RK", "TH", "RK", "TH", "CK", "TK", "CK", "TK"};

namespace {

// The wizard's slot (0 to 7) of the document type whose name is kept in settings row `id`; -1 for other rows.
int docTypeSlot(int id)
{
    for (size_t k = 0; k < DocTypes().size(); ++k)
        if (DocTypes()[k].nameSetting() == id)
            return int(k);
    return -1;
}

const QString ShownWord = QStringLiteral("显示");
const QString HiddenWord = QStringLiteral("隐藏");

// Menu item that carries each slot's name, and the items shown or hidden with it.
const std::array<QString, 8> SlotMenuItem = {
    QStringLiteral("Menu_BB0"), QStringLiteral("Menu_BB1"), QStringLiteral("Menu_BB3"), QStringLiteral("Menu_BB4"),
    QStringLiteral("Menu_DD0"), QStringLiteral("Menu_DD1"), QStringLiteral("Menu_DD3"), QStringLiteral("Menu_DD4")};
const std::array<QString, 8> SlotCompanionItem = {
    QStringLiteral("Menu_BB2"), QString(), QStringLiteral("Menu_BB5"), QString(),
    QStringLiteral("Menu_DD2"), QString(), QStringLiteral("Menu_DD5"), QString()};

// The numeric value of a fetched text is exactly 1 ("" and other texts read as 0).
bool readsOne(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && v == 1.0;
}

int flag(int value)
{
    return value != 0 ? 1 : 0;
}

// The run flags of one save, raised by the types in use.
struct Sides {
    bool supplier = false;
    bool customer = false;
    bool department = false;
    bool inboundReturn = false;
    bool stockReturn = false;
};

// A type in use raises the side of its counter-parties and, for returns, their statistics.
void raiseFlags(Sides& f, int slot)
{
    const DocTypeInfo& t = DocTypes()[size_t(slot)];
    switch (t.counterParty) {
    case UnitKind::Supplier: f.supplier = true; break;
    case UnitKind::Customer: f.customer = true; break;
    default: f.department = true; break;
    }
    f.inboundReturn = f.inboundReturn || t.kind == DocKind::SupplierReturn;
    f.stockReturn = f.stockReturn || t.kind == DocKind::StockReturn;
}

// Replaces every row of the ID by one row (setstr left null when not given).
void rewriteRow(Database& db, int id, int setval, const std::optional<QString>& setstr = std::nullopt)
{
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {id});
    if (setstr)
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"), {id, setval, *setstr});
    else
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (?, ?)"), {id, setval});
}

// Gives the documents of each renamed type its new name in one statement, so
// that names passed on between types (A to B while B becomes C) never mix.
void renameDocuments(Database& db, const std::array<QString, 8>& from, const std::array<QString, 8>& to,
                     const std::array<bool, 8>& renamed)
{
    QString cases;
    QStringList matches;
    QVariantList caseParams;
    QVariantList matchParams;
    for (int k = 0; k < 8; ++k) {
        if (!renamed[k])
            continue;
        cases += QStringLiteral(" WHEN S2 = ? AND LB = ? THEN ?");
        caseParams << from[k] << code(DocTypes()[size_t(k)].kind) << to[k];
        matches << QStringLiteral("(S2 = ? AND LB = ?)");
        matchParams << from[k] << code(DocTypes()[size_t(k)].kind);
    }
    if (matches.isEmpty())
        return;
    db.execute(QStringLiteral("UPDATE TB1 SET S2 = CASE") + cases + QStringLiteral(" END WHERE ")
                   + matches.join(QStringLiteral(" OR ")),
               caseParams + matchParams);
}

// Rows 0 to 2 are kept by updating in place; a set that lacks one gets it.
void updateOrInsertRow(Database& db, int id, int setval)
{
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = ? WHERE ID = ?"), {setval, id});
    if (db.changes() == 0)
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (?, ?)"), {id, setval});
}

// Rows 1616 and 1617: updated when present, inserted when missing, only when changed.
void writeUnitOption(Database& db, int id, int value, const QString& newText)
{
    const std::optional<QVariant> row = db.scalarRow(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {id});
    const double current = row ? row->toDouble() : 0.0;
    if (current == value)
        return;
    if (row)
        db.execute(QStringLiteral("UPDATE sysinfo SET setval = ? WHERE ID = ?"), {value, id});
    else
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"), {id, value, newText});
}

// Halves to the even neighbour, as the settings are rounded everywhere else.
int roundHalfEven(double v)
{
    return int(std::nearbyint(v));
}

// What the save decides before it writes: the new values of the globals.
struct NewGlobals {
    int NoOverIssue, LockDocPrice, FreezeCost, NoNegativeQty, WithPrices, AlarmBelowMin, AlarmAboveMax;
    int AdminEditStock, AdminEditOpening, ExcelLineImport, InboundRefPrice, CostPlusFeePrice, AutoDeductParts;
    int PriceDecimals, AmountDecimals, ReportStartDay, OfferCustomerPrice, PaidOnReceipt, ReceivedOnIssue;
    QString PriceFormat, AmountFormat, ProductTerm, GoodsTerm, PartTerm, HpsxName;
};

NewGlobals currentGlobals(const App& a)
{
    return {a.NoOverIssue, a.LockDocPrice, a.FreezeCost, a.NoNegativeQty, a.WithPrices, a.AlarmBelowMin,
            a.AlarmAboveMax, a.AdminEditStock, a.AdminEditOpening, a.ExcelLineImport, a.InboundRefPrice,
            a.CostPlusFeePrice, a.AutoDeductParts, a.PriceDecimals, a.AmountDecimals, a.ReportStartDay,
            a.OfferCustomerPrice, a.PaidOnReceipt, a.ReceivedOnIssue, a.PriceFormat, a.AmountFormat,
            a.ProductTerm, a.GoodsTerm, a.PartTerm, a.HpsxName};
}

void storeGlobals(App& a, const NewGlobals& g)
{
    a.NoOverIssue = g.NoOverIssue;
    a.LockDocPrice = g.LockDocPrice;
    a.FreezeCost = g.FreezeCost;
    a.NoNegativeQty = g.NoNegativeQty;
    a.WithPrices = g.WithPrices;
    a.AlarmBelowMin = g.AlarmBelowMin;
    a.AlarmAboveMax = g.AlarmAboveMax;
    a.AdminEditStock = g.AdminEditStock;
    a.AdminEditOpening = g.AdminEditOpening;
    a.ExcelLineImport = g.ExcelLineImport;
    a.InboundRefPrice = g.InboundRefPrice;
    a.CostPlusFeePrice = g.CostPlusFeePrice;
    a.AutoDeductParts = g.AutoDeductParts;
    a.PriceDecimals = g.PriceDecimals;
    a.AmountDecimals = g.AmountDecimals;
    a.ReportStartDay = g.ReportStartDay;
    a.OfferCustomerPrice = g.OfferCustomerPrice;
    a.PaidOnReceipt = g.PaidOnReceipt;
    a.ReceivedOnIssue = g.ReceivedOnIssue;
    a.PriceFormat = g.PriceFormat;
    a.AmountFormat = g.AmountFormat;
    a.ProductTerm = g.ProductTerm;
    a.GoodsTerm = g.GoodsTerm;
    a.PartTerm = g.PartTerm;
    a.HpsxName = g.HpsxName;
}

// Menus after a save: names and visibility of the types, the goods items, the
// accounts and report items by the sides in use, then the numbering and the
// warehouse edition's hidden items, as the settings loader leaves them.
void reshapeMenus(App& app, const WizardSettings& s, const std::array<bool, 8>& inUse,
                  const std::array<bool, 8>& renamed, const Sides& sides)
{
    MenuModel& m = app.Menus;
    for (int k = 0; k < 8; ++k) {
        if (inUse[k] || renamed[k])
            m.setCaption(SlotMenuItem[k], s.TxtDan[k].trimmed());
        m.setVisible(SlotMenuItem[k], inUse[k]);
        if (!SlotCompanionItem[k].isEmpty())
            m.setVisible(SlotCompanionItem[k], inUse[k]);
    }
    if (!inUse[6])
        m.setVisible(QStringLiteral("Menu_Eml"), false);

    m.setCaption(QStringLiteral("Menu_AA6"), app.ProductTerm + QStringLiteral("档案"));
    m.setCaption(QStringLiteral("Menu_AA4"), app.GoodsTerm + QStringLiteral("类别"));
    if (s.ChK[23] == 1) {
        m.setCaption(QStringLiteral("Menu_AA5"), app.PartTerm + QStringLiteral("档案"));
        m.setVisible(QStringLiteral("Menu_AA6"), true);
    } else {
        m.setCaption(QStringLiteral("Menu_AA5"), app.GoodsTerm + QStringLiteral("档案"));
        m.setVisible(QStringLiteral("Menu_AA6"), false);
    }

    for (const char* name : {"Menu_AA0", "Menu_E00", "Menu_EE0", "Menu_EE3", "Menu_EE4"})
        m.setVisible(QString::fromLatin1(name), sides.supplier);
    for (const char* name : {"Menu_AA1", "Menu_E01", "Menu_EE1", "Menu_EE5", "Menu_EE6"})
        m.setVisible(QString::fromLatin1(name), sides.customer);
    if (!sides.supplier && !sides.customer) {
        m.setVisible(QStringLiteral("Menu_E"), false);
        m.setVisible(QStringLiteral("Menu_Eml"), false);
    } else if (app.WithPrices == 1) {
        m.setVisible(QStringLiteral("Menu_E"), true);
        m.setVisible(QStringLiteral("menu_Ecb"), true);
        m.setVisible(QStringLiteral("Menu_Ell"), true);
        m.setVisible(QStringLiteral("Menu_Eml"), sides.customer);
    } else {
        for (const char* name : {"Menu_E", "menu_Ecb", "Menu_Eml", "Menu_Ell"})
            m.setVisible(QString::fromLatin1(name), false);
    }
    if (app.isWarehouseEdition())
        m.setVisible(QStringLiteral("Menu_E"), false);
    m.setVisible(QStringLiteral("Menu_AA2"), sides.department);
    m.setVisible(QStringLiteral("Menu_BB7"), sides.inboundReturn);
    m.setVisible(QStringLiteral("Menu_DD7"), sides.stockReturn);

    NumberMainMenu(m);

    if (app.isWarehouseEdition()) {
        for (const char* name : {"Menu_BB2", "Menu_BB3", "Menu_BB4", "Menu_DD2", "Menu_DD3", "Menu_DD4", "Menu_E"})
            m.setVisible(QString::fromLatin1(name), false);
    }
    m.notifyChanged();
}

// The texts as they may be stored: the document windows and readers of these
// rows build SQL text from them, so no quote character may pass.
WizardSettings storableTexts(const WizardSettings& typed)
{
    WizardSettings s = typed;
    for (int k = 0; k < 8; ++k) {
        s.TxtDan[k] = SqlSafe(s.TxtDan[k]);
        s.TxtH[k] = SqlSafe(s.TxtH[k]);
    }
    for (QString* text : {&s.CmbHP, &s.CmbLj, &s.CmbCP, &s.CmbSX, &s.Txt9181, &s.TxtHPSX})
        *text = SqlSafe(*text);
    for (ExtraItemEntry& e : s.extraItems) {
        if (e.entry.size() > 3)
            e.entry = e.entry.left(3) + SqlSafe(e.entry.mid(3));
    }
    return s;
}

}  // namespace

QString ExtraItemEntryText(bool shown, const QString& caption)
{
    return (shown ? ShownWord : HiddenWord) + QLatin1Char('-') + caption;
}

bool ExtraItemShown(const QString& entry)
{
    return entry.startsWith(ShownWord);
}

QString ExtraItemCaption(const QString& entry)
{
    return entry.size() > 3 ? entry.mid(3) : QString();
}

WizardSettings LoadWizardSettings(App& app)
{
    Database& db = app.CurrentDatabase;
    WizardSettings s;
    for (int k = 0; k < 8; ++k) {
        s.TxtDan[k] = QString::fromUtf8(DocTypeDefaultNames[k]);
        s.TxtH[k] = QString::fromLatin1(DocTypeDefaultPrefixes[k]);
        s.TxtDanEnabled[k] = (k % 2 == 0);
    }
    s.Txt[4] = QStringLiteral("1");
    s.ChK[10] = 1;
    s.ChK[11] = 1;

    // Flow modes: four digits of row 80, first digit the first mode.
    if (app.isWarehouseEdition()) {
        s.ChKmoshi = {0, 1, 0, 0};
    } else {
        s.ChK[16] = readsOne(SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetDualRoleUnits})) ? 1 : 0;
        const int word = int(LeadingNumber(SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetFlowModes})));
        const QString digits = QString::number(word).rightJustified(4, QLatin1Char('0'));
        for (int k = 0; k < 4; ++k)
            s.ChKmoshi[k] = digits.at(k) == QLatin1Char('1') ? 1 : 0;
    }

    const RecordSet types = db.query(QStringLiteral(
        "select id,setval,setstr,shuoming from sysinfo where id>=? and id<=? order by id"),
        {SetDocTypeFirst, SetDocTypeLast});
    for (int r = 0; r < types.rowCount(); ++r) {
        const int i = docTypeSlot(types.value(r, 0).toInt());
        if (i < 0)
            continue;
        const QVariant name = types.value(r, 2);
        s.TxtDan[i] = name.isNull() ? QStringLiteral("未定义单据") : name.toString().trimmed();
        const QVariant prefix = types.value(r, 3);
        if (!prefix.isNull())
            s.TxtH[i] = prefix.toString().trimmed();
    }
    // Every return type is offered as in use when the wizard opens.
    for (int k = 1; k < 8; k += 2) {
        s.ChKDan[k] = 1;
        s.TxtDanEnabled[k] = true;
    }

    s.CmbHP = QStringLiteral("货品");
    s.CmbLj = QStringLiteral("零件");
    s.CmbCP = app.ProductTerm;
    const QString goodsWord = SqlScalar(db, QStringLiteral("select setstr from sysinfo where id=? and setval=1"), {SetGoodsWord});
    s.ChkHP[0] = goodsWord.isEmpty() ? 0 : 1;
    if (!goodsWord.isEmpty())
        s.CmbHP = goodsWord;
    const QString partWord = SqlScalar(db, QStringLiteral("select setstr from sysinfo where id=? and setval=1"), {SetPartWord});
    s.ChkHP[1] = partWord.isEmpty() ? 0 : 1;
    if (!partWord.isEmpty())
        s.CmbLj = partWord;
    s.ChkHP[2] = s.ChkHP[1];

    s.Txt9181 = SqlScalar(db, QStringLiteral("select setstr from sysinfo where id=? and setval=1"), {SetStocktakeExtraItem});
    s.ChK[19] = SqlScalar(db, QStringLiteral("select setstr from sysinfo where id=? and setval=1"), {SetAutoDeductParts}).isEmpty() ? 0 : 1;
    s.ChK[24] = 1;
    s.ChK[25] = readsOne(SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetSalesDiscount})) ? 1 : 0;

    s.ChK[0] = flag(app.NoOverIssue);
    s.ChK[1] = flag(app.LockDocPrice);
    s.ChK[2] = flag(app.FreezeCost);
    s.ChK[3] = flag(app.NoNegativeQty);
    s.ChK[5] = app.WithPrices == 0 ? 1 : 0;
    if (s.ChK[5] == 1)
        s.ChK[25] = 0;
    s.ChK[6] = flag(app.AlarmBelowMin);
    s.ChK[7] = flag(app.AlarmAboveMax);
    s.ChK[8] = flag(app.AdminEditStock);
    s.ChK[9] = flag(app.AdminEditOpening);
    s.Txt[9] = QString::number(app.PriceDecimals);
    s.Txt[0] = QString::number(app.AmountDecimals);
    s.ChK[12] = flag(app.OfferCustomerPrice);
    s.CmbDay = (app.ReportStartDay >= 1 && app.ReportStartDay <= 28) ? app.ReportStartDay - 1 : -1;
    s.ChKnext = 0;
    s.ChK[18] = flag(app.InboundRefPrice);
    s.ChK[20] = flag(app.CostPlusFeePrice);
    if (s.ChK[20] == 1)
        s.ChK[18] = 1;
    s.ChK[13] = flag(app.PaidOnReceipt);
    s.ChK[14] = flag(app.ReceivedOnIssue);
    s.ChK[15] = app.ExcelLineImport == 1 ? 1 : 0;
    s.ChK[17] = readsOne(SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetUnitFolders})) ? 1 : 0;
    CreateKhPriceTable(db);
    s.cancelHidden = SqlScalar(db, QStringLiteral("select exename from thever")) != app.AppTitle;
    if (app.AutoDeductParts == 1)
        s.ChK[19] = 1;
    s.ChK[21] = readsOne(SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetFixedSupplier})) ? 1 : 0;
    s.CmbSX = SqlScalar(db, QStringLiteral("select setstr from sysinfo where id=?"), {SetExtraGoodsAttr}).trimmed();
    s.ChK[22] = s.CmbSX.isEmpty() ? 0 : 1;
    s.ChK[23] = app.Menus.isVisible(QStringLiteral("Menu_AA6")) ? 1 : 0;
    const QString printRule = SqlScalar(db, QStringLiteral("select setval from sysinfo where id=?"), {SetPrintRule});
    s.CmbDanPrint = readsOne(printRule) ? 1 : (LeadingNumber(printRule) == 2.0 ? 2 : 0);
    s.TxtHPSX = app.HpsxName;
    return s;
}

std::array<bool, 4> FramesOfFlowModes(const std::array<int, 4>& modes)
{
    std::array<bool, 4> frames{};
    if (modes[0] == 1)
        frames[0] = frames[3] = true;
    if (modes[1] == 1)
        frames[0] = frames[2] = true;
    if (modes[2] == 1)
        frames[1] = frames[3] = true;
    if (modes[3] == 1)
        frames[1] = frames[2] = true;
    return frames;
}

void RebuildDocumentPage(const App& app, WizardSettings& s)
{
    const std::array<bool, 4> frames = FramesOfFlowModes(s.ChKmoshi);
    for (int k = 0; k < 4; ++k)
        s.TxtDanEnabled[2 * k] = frames[k];
    if (app.isWarehouseEdition())
        s.ChK[13] = s.ChK[14] = 0;

    s.extraItems.clear();
    for (int k = 0; k < 4; ++k) {
        if (!frames[k])
            continue;
        for (int slot : {2 * k, 2 * k + 1}) {
            ExtraItemEntry e;
            e.id = DocTypes()[size_t(slot)].extraItemSetting();
            e.name = s.TxtDan[slot];
            const RecordSet row = app.CurrentDatabase.query(
                QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = ?"), {e.id});
            if (!row.isEmpty()) {
                const QVariant setval = row.value(0, 0);
                const bool hidden = !setval.isNull() && setval.toDouble() == 0.0;
                e.entry = ExtraItemEntryText(!hidden, row.text(0, 1));
            }
            s.extraItems.push_back(e);
        }
    }
}

bool DocTypeInUse(const WizardSettings& s, int slot)
{
    if (!s.TxtDanEnabled[slot])
        return false;
    return slot % 2 == 0 || s.TxtDanEnabled[slot - 1];
}

void SaveWizardSettings(App& app, const WizardSettings& typed)
{
    const WizardSettings s = storableTexts(typed);
    Database& db = app.CurrentDatabase;
    NewGlobals g = currentGlobals(app);

    // Schema steps first: they only add columns and ignore their own errors.
    const bool dualRoleRow = db.scalarRow(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {SetDualRoleUnits}).has_value();
    if (!dualRoleRow)
        AddUnitDualRoleColumn(db);
    AddUnitDocDirColumn(db);

    std::array<bool, 8> inUse{};
    std::array<bool, 8> renamed{};
    Sides sides;

    Transaction tx(db);

    // Rows 0 to 2, updated in place when changed.
    const struct { int id; int value; int* global; } inPlace[] = {
        {SetNoOverIssue, s.ChK[0], &g.NoOverIssue}, {SetLockDocPrice, s.ChK[1], &g.LockDocPrice},
        {SetFreezeCost, s.ChK[2], &g.FreezeCost}};
    for (const auto& r : inPlace) {
        if (r.value != *r.global) {
            updateOrInsertRow(db, r.id, r.value);
            *r.global = r.value;
        }
    }

    // Option rows rewritten when their box differs from the global.
    auto rewriteWhenChanged = [&db](int id, int value, int& global) {
        if (value != global) {
            global = value;
            rewriteRow(db, id, value);
        }
    };
    rewriteWhenChanged(SetNoNegativeQty, s.ChK[3], g.NoNegativeQty);
    rewriteWhenChanged(SetWithPrices, 1 - s.ChK[5], g.WithPrices);
    rewriteWhenChanged(SetAlarmBelowMin, s.ChK[6], g.AlarmBelowMin);
    rewriteWhenChanged(SetAlarmAboveMax, s.ChK[7], g.AlarmAboveMax);
    rewriteWhenChanged(SetAdminEditStock, s.ChK[8], g.AdminEditStock);
    rewriteWhenChanged(SetAdminEditOpening, s.ChK[9], g.AdminEditOpening);
    rewriteWhenChanged(SetExcelLineImport, s.ChK[15], g.ExcelLineImport);
    rewriteWhenChanged(SetInboundRefPrice, s.ChK[18], g.InboundRefPrice);
    rewriteWhenChanged(SetCostPlusFeePrice, s.ChK[20], g.CostPlusFeePrice);

    writeUnitOption(db, SetDualRoleUnits, s.ChK[16], QStringLiteral("1:允许往来单位双重身份"));
    writeUnitOption(db, SetUnitFolders, s.ChK[17], QStringLiteral("1:允许往来单位文件夹链接"));

    rewriteWhenChanged(SetAutoDeductParts, s.ChK[19], g.AutoDeductParts);

    // Decimal places: the number the text begins with, limited to 0 to 12.
    auto writeDecimals = [&db](int id, const QString& text, int& global, QString& format) {
        const double typed = LeadingNumber(text);
        if (typed == global)
            return;
        global = std::max(0, roundHalfEven(typed));
        format = FormatPattern(global);
        rewriteRow(db, id, global);
    };
    writeDecimals(SetPriceDecimals, s.Txt[9], g.PriceDecimals, g.PriceFormat);
    writeDecimals(SetAmountDecimals, s.Txt[0], g.AmountDecimals, g.AmountFormat);

    const int day = s.CmbDay < 0 ? 1 : s.CmbDay + 1;
    if (day != g.ReportStartDay) {
        g.ReportStartDay = day;
        rewriteRow(db, SetReportStartDay, day);
    }

    rewriteWhenChanged(SetOfferCustomerPrice, s.ChK[12], g.OfferCustomerPrice);

    int flowWord = 100;
    if (!app.isWarehouseEdition())
        flowWord = s.ChKmoshi[0] * 1000 + s.ChKmoshi[1] * 100 + s.ChKmoshi[2] * 10 + s.ChKmoshi[3];
    rewriteRow(db, SetFlowModes, flowWord);

    // Document types: every row rewritten; a renamed type carries its documents along.
    const RecordSet before = db.query(QStringLiteral("SELECT ID, setstr FROM sysinfo WHERE ID >= ? AND ID <= ?"),
                                        {SetDocTypeFirst, SetDocTypeLast});
    std::array<QString, 8> previousName;
    std::array<QString, 8> newName;
    for (int r = 0; r < before.rowCount(); ++r) {
        const int k = docTypeSlot(before.value(r, 0).toInt());
        if (k >= 0)
            previousName[k] = before.text(r, 1).trimmed();
    }
    for (int k = 0; k < 8; ++k) {
        inUse[k] = DocTypeInUse(s, k);
        const QString name = s.TxtDan[k].trimmed();
        const int row = DocTypes()[size_t(k)].nameSetting();
        db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {row});
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr, shuoming) VALUES (?, ?, ?, ?)"),
                   {row, inUse[k] ? 1 : 0, name, s.TxtH[k].trimmed()});
        newName[k] = name;
        renamed[k] = !previousName[k].isEmpty() && name != previousName[k];
        if (inUse[k])
            raiseFlags(sides, k);
    }
    renameDocuments(db, previousName, newName, renamed);

    // Words for goods, parts and finished products.
    rewriteRow(db, SetGoodsWord, s.ChkHP[0], s.CmbHP);
    rewriteRow(db, SetPartWord, s.ChkHP[1], s.CmbLj);
    rewriteRow(db, SetSeparatePartFiles, s.ChK[23], QStringLiteral("基础数据-货品档案"));
    rewriteRow(db, SetProductWord, 1, s.CmbCP);
    g.ProductTerm = s.CmbCP;
    g.GoodsTerm = s.CmbHP;
    g.PartTerm = s.CmbLj;

    rewriteRow(db, SetRunWizard, s.ChKnext, QStringLiteral("启动时运行向导"));

    const QString storedTitle = SqlScalar(db, QStringLiteral("select exename from thever"));
    if (storedTitle.isEmpty()) {
        db.execute(QStringLiteral("DELETE FROM thever"));
        db.execute(QStringLiteral("INSERT INTO thever (versn, exename) VALUES (?, ?)"),
                   {app.EditionName, app.AppTitle});
    } else if (storedTitle != app.AppTitle) {
        db.execute(QStringLiteral("UPDATE thever SET exename = ?"), {app.AppTitle});
    }

    // Payments with documents only exist where the accounts menu does.
    const bool accountsShown = app.Menus.isVisible(QStringLiteral("Menu_E"));
    rewriteWhenChanged(SetPaidOnReceipt, accountsShown ? s.ChK[13] : 0, g.PaidOnReceipt);
    rewriteWhenChanged(SetReceivedOnIssue, accountsShown ? s.ChK[14] : 0, g.ReceivedOnIssue);

    for (const ExtraItemEntry& e : s.extraItems) {
        db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {e.id});
        if (e.entry.size() > 3)
            db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"),
                       {e.id, ExtraItemShown(e.entry) ? 1 : 0, ExtraItemCaption(e.entry)});
    }

    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetStocktakeExtraItem});
    if (!s.Txt9181.isEmpty())
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, 1, ?)"),
                   {SetStocktakeExtraItem, s.Txt9181});
    rewriteRow(db, SetLinesInEntryOrder, s.ChK[24]);
    rewriteRow(db, SetPrintRule, s.CmbDanPrint);
    rewriteRow(db, SetSalesDiscount, s.ChK[25], QStringLiteral("销价折扣功能"));

    rewriteRow(db, SetFixedSupplier, s.ChK[21]);
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetExtraGoodsAttr});
    const QString extraAttr = s.CmbSX.trimmed();
    if (s.ChK[22] == 1 && !extraAttr.isEmpty())
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, 1, ?)"),
                   {SetExtraGoodsAttr, extraAttr});
    if (s.TxtHPSX != g.HpsxName) {
        g.HpsxName = s.TxtHPSX;
        rewriteRow(db, SetHpsxName, s.TxtHPSX.isEmpty() ? 0 : 1, s.TxtHPSX);
    }

    tx.commit();

    storeGlobals(app, g);
    reshapeMenus(app, s, inUse, renamed, sides);
}

QString AcceptDecimalsEntry(const QString& text, int current)
{
    const double v = LeadingNumber(text);
    if (text == NumText(v) && v >= 0 && v <= 12)
        return QString::number(int(v));
    return QString::number(current);
}

QString StockEditWarning(const QString& goodsTerm)
{
    const QString cr(QChar(13));
    return QStringLiteral("直接修改库存数会造成进出存报表不准确，不推荐开放此功能。") + cr + cr
        + QStringLiteral("但如果出于确实需要，此功能也会给您带来一些方便，请慎重使用。") + cr + cr
        + QStringLiteral("此功能只允许系统管理员001在[基础数据]->[") + goodsTerm + QStringLiteral("编码资料]中操作。")
        + cr + cr + QStringLiteral("确定开放此功能吗？");
}

QString OpeningEditWarning(const QString& goodsTerm)
{
    const QString cr(QChar(13));
    return QStringLiteral("随意修改年初余额（年初数量、单价）可能造成进出存报表不准确，不推荐开放此功能，请慎重使用!") + cr + cr
        + QStringLiteral("此功能只允许系统管理员001在[基础数据]->[") + goodsTerm + QStringLiteral("编码资料]中操作。")
        + cr + cr + QStringLiteral("确定开放此功能吗？");
}
