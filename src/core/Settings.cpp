#include "core/Settings.h"

#include "core/App.h"
#include "core/DocTypes.h"
#include "core/MenuModel.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <cmath>
#include <optional>

namespace {

const QString Warehouse = QStringLiteral("仓库");

// A stored value as a 16-bit whole number, rounded half to even; none for a
// null, a text or a value out of range.
std::optional<int> smallInt(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const double r = std::nearbyint(d);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return int(r);
}

// A null or a text compares unequal to every number.
bool equals(const QVariant& v, double n)
{
    if (v.isNull())
        return false;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && d == n;
}

int* optionGlobal(App& app, int id)
{
    switch (id) {
    case SetNoOverIssue: return &app.NoOverIssue;
    case SetLockDocPrice: return &app.LockDocPrice;
    case SetFreezeCost: return &app.FreezeCost;
    case SetNoNegativeQty: return &app.NoNegativeQty;
    case SetWithPrices: return &app.WithPrices;
    case SetAlarmBelowMin: return &app.AlarmBelowMin;
    case SetAlarmAboveMax: return &app.AlarmAboveMax;
    case SetAdminEditStock: return &app.AdminEditStock;
    case SetAdminEditOpening: return &app.AdminEditOpening;
    case SetReportStartDay: return &app.ReportStartDay;
    case SetOfferCustomerPrice: return &app.OfferCustomerPrice;
    case SetPaidOnReceipt: return &app.PaidOnReceipt;
    case SetReceivedOnIssue: return &app.ReceivedOnIssue;
    case SetExcelLineImport: return &app.ExcelLineImport;
    case SetAutoDeductParts: return &app.AutoDeductParts;
    default: return nullptr;
    }
}

// The five run flags of one load.
struct Sides {
    bool supplier = false;
    bool customer = false;
    bool department = false;
    bool supplierReturnStats = false;
    bool stockReturnStats = false;
};

// The menu item of each document type and the item shown and hidden with it.
struct TypeItem {
    DocType type;
    const char* item;
    const char* companion;  // null when none
};

const TypeItem* typeItem(DocType type)
{
    static const TypeItem items[] = {
        {DocType::PurchaseReceipt, "Menu_BB0", "Menu_BB2"}, {DocType::PurchaseReturn, "Menu_BB1", nullptr},
        {DocType::ProductionReceipt, "Menu_BB3", "Menu_BB5"}, {DocType::ReworkReturn, "Menu_BB4", nullptr},
        {DocType::DepartmentIssue, "Menu_DD0", "Menu_DD2"}, {DocType::DepartmentReturn, "Menu_DD1", nullptr},
        {DocType::SalesDelivery, "Menu_DD3", "Menu_DD5"}, {DocType::CustomerReturn, "Menu_DD4", nullptr},
    };
    for (const TypeItem& t : items)
        if (t.type == type)
            return &t;
    return nullptr;
}

// A type in use turns on the side of its counter-parties and, for returns, their statistics.
void markSides(Sides& sides, const DocTypeInfo& info)
{
    switch (info.counterParty) {
    case UnitKind::Supplier: sides.supplier = true; break;
    case UnitKind::Customer: sides.customer = true; break;
    default: sides.department = true; break;
    }
    if (info.kind == DocKind::SupplierReturn)
        sides.supplierReturnStats = true;
    if (info.kind == DocKind::StockReturn)
        sides.stockReturnStats = true;
}

void applyDocumentType(MenuModel& menus, Sides& sides, DocType type, const QVariant& setval, const QVariant& setstr)
{
    const TypeItem* t = typeItem(type);
    if (!t)
        return;
    const QString item = QLatin1String(t->item);
    if (equals(setval, 1)) {
        if (setstr.isNull())
            return;  // a type in use without a name: passed over like a missing row
        menus.setCaption(item, setstr.toString());
        menus.setVisible(item, true);
        if (t->companion)
            menus.setVisible(QLatin1String(t->companion), true);
        markSides(sides, DocTypeOf(type));
    } else {
        menus.setVisible(item, false);
        if (t->companion)
            menus.setVisible(QLatin1String(t->companion), false);
        // A sales type out of use also takes the gross-profit report away.
        if (type == DocType::SalesDelivery)
            menus.setVisible(QStringLiteral("Menu_Eml"), false);
    }
}

// One settings row; rows of other IDs are passed over.
void applyRow(App& app, Sides& sides, int id, const QVariant& setval, const QVariant& setstr)
{
    MenuModel& menus = app.Menus;
    if (int* global = optionGlobal(app, id)) {
        if (const auto v = smallInt(setval))
            *global = *v;
        return;
    }
    switch (id) {
    case SetPriceDecimals:
        if (const auto v = smallInt(setval)) {
            app.PriceDecimals = *v;
            app.PriceFormat = FormatPattern(app.PriceDecimals);
        }
        break;
    case SetAmountDecimals:
        if (const auto v = smallInt(setval)) {
            app.AmountDecimals = *v;
            app.AmountFormat = FormatPattern(app.AmountDecimals);
        }
        break;
    case SetInboundRefPrice:
        app.InboundRefPrice = equals(setval, 1) ? 1 : 0;
        break;
    case SetCostPlusFeePrice:
        app.CostPlusFeePrice = equals(setval, 1) ? 1 : 0;
        break;
    case SetHpsxName:
        if (equals(setval, 0))
            app.HpsxName.clear();
        else if (!setstr.isNull())
            app.HpsxName = setstr.toString();
        break;
    case SetProductWord:
        if (!setstr.isNull()) {
            app.ProductTerm = setstr.toString();
            menus.setCaption(QStringLiteral("Menu_AA6"), app.ProductTerm + QStringLiteral("档案"));
        }
        break;
    case SetGoodsWord:
        if (!setstr.isNull()) {
            app.GoodsTerm = setstr.toString();
            menus.setCaption(QStringLiteral("Menu_AA4"), app.GoodsTerm + QStringLiteral("类别"));
            menus.setCaption(QStringLiteral("Menu_AA5"), app.GoodsTerm + QStringLiteral("档案"));
        }
        break;
    case SetPartWord:
        if (!setstr.isNull())
            app.PartTerm = setstr.toString();
        break;
    case SetSeparatePartFiles:
        menus.setVisible(QStringLiteral("Menu_AA6"), equals(setval, 1));
        break;
    default:
        if (const std::optional<DocType> type = DocTypeOfSetting(id))
            applyDocumentType(menus, sides, *type, setval, setstr);
        break;
    }
}

void setAllVisible(MenuModel& menus, std::initializer_list<const char*> items, bool visible)
{
    for (const char* name : items)
        menus.setVisible(QLatin1String(name), visible);
}

void applyMenuRules(App& app, const Sides& sides)
{
    MenuModel& menus = app.Menus;
    const bool warehouse = app.AppTitle.contains(Warehouse);

    setAllVisible(menus, {"Menu_AA0", "Menu_E00", "Menu_EE0", "Menu_EE3", "Menu_EE4"}, sides.supplier);

    if (sides.customer && warehouse)
        setAllVisible(menus, {"Menu_AA1", "Menu_E", "Menu_Eml"}, false);
    else
        setAllVisible(menus, {"Menu_AA1", "Menu_E01", "Menu_EE1", "Menu_EE5", "Menu_EE6"}, sides.customer);

    if ((sides.supplier || sides.customer) && app.WithPrices != 0) {
        setAllVisible(menus, {"menu_Ecb", "Menu_Ell"}, true);
        menus.setVisible(QStringLiteral("Menu_Eml"), sides.customer);
    } else {
        setAllVisible(menus, {"Menu_E", "menu_Ecb", "Menu_Eml", "Menu_Ell"}, false);
    }

    menus.setVisible(QStringLiteral("Menu_AA2"), sides.department);
    menus.setVisible(QStringLiteral("Menu_BB7"), sides.supplierReturnStats);
    menus.setVisible(QStringLiteral("Menu_DD7"), sides.stockReturnStats);

    if (menus.isVisible(QStringLiteral("Menu_AA6")))
        menus.setCaption(QStringLiteral("Menu_AA5"), app.PartTerm + QStringLiteral("档案"));
}

// Items numbered after the numbering: in the warehouse edition the production,
// rework, department-issue separator, sales and customer-return items and the
// accounts menu are hidden, keeping the numbers they were given.
void applyEditionRule(App& app)
{
    if (app.AppTitle.contains(Warehouse))
        setAllVisible(app.Menus, {"Menu_BB2", "Menu_BB3", "Menu_BB4", "Menu_DD2", "Menu_DD3", "Menu_DD4", "Menu_E"},
                      false);
}

// Numbers one run of items; `n` carries on across calls that share a menu.
void numberItems(MenuModel& menus, const QString& prefix, int count, bool numberSeparators, int& n)
{
    for (int i = 0; i < count; ++i) {
        MenuItem* it = menus.item(prefix + QString::number(i));
        if (!it || !it->visible)
            continue;
        if (!numberSeparators && it->isSeparator())
            continue;
        // An earlier number "&n." is dropped; so is the start of a caption that
        // merely begins with "&" (even one shorter than three characters).
        QString caption = it->caption;
        if (caption.startsWith(QLatin1Char('&')))
            caption = caption.mid(3);
        it->caption = QLatin1Char('&') + QString::number(n) + QLatin1Char('.') + caption;
        ++n;
    }
}

}  // namespace

QString DocTypeMenuItem(DocType type)
{
    const TypeItem* t = typeItem(type);
    return t ? QString::fromLatin1(t->item) : QString();
}

void NumberMainMenu(MenuModel& menus)
{
    int n = 1;
    numberItems(menus, QStringLiteral("Menu_AA"), 7, false, n);
    n = 1;
    numberItems(menus, QStringLiteral("Menu_BB"), 8, false, n);
    n = 1;
    numberItems(menus, QStringLiteral("Menu_DD"), 8, false, n);
    // Menu_E0 and Menu_EE hang under the one accounts menu: one count for both.
    n = 1;
    numberItems(menus, QStringLiteral("Menu_E0"), 2, true, n);
    numberItems(menus, QStringLiteral("Menu_EE"), 7, false, n);
}

void LoadSettings(App& app)
{
    RecordSet rows;
    try {
        rows = app.CurrentDatabase.query(QStringLiteral("SELECT ID, setval, setstr FROM sysinfo ORDER BY ID, rowid"));
    } catch (const DbError&) {
        return;
    }
    Sides sides;
    for (int r = 0; r < rows.rowCount(); ++r) {
        bool ok = false;
        const double id = rows.value(r, 0).toDouble(&ok);
        if (ok && id == std::trunc(id) && std::abs(id) < 1e9)
            applyRow(app, sides, int(id), rows.value(r, 1), rows.value(r, 2));
    }
    applyMenuRules(app, sides);
    NumberMainMenu(app.Menus);
    applyEditionRule(app);
    app.Menus.notifyChanged();
}

QString SettingText(const Database& db, int id)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID=%1").arg(id));
    if (rs.isEmpty() || equals(rs.value(0, 0), 0))
        return QString();
    return rs.text(0, 1);
}

double SettingValue(const Database& db, int id)
{
    return BoxValue(SqlScalar(db, QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {id}));
}

QString SettingStoredText(const Database& db, int id)
{
    return SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {id});
}
