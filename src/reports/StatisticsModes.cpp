#include "reports/StatisticsModes.h"

#include "core/DocTypes.h"
#include "core/MenuModel.h"
#include "core/Settings.h"
#include "platform/Database.h"

namespace {

// A type's name as its menu item shows it, without the access prefix "&1.".
QString typeName(const MenuModel& menus, DocType type)
{
    return menus.caption(DocTypeMenuItem(type)).mid(3);
}

bool typeOffered(const MenuModel& menus, DocType type)
{
    return menus.isVisible(DocTypeMenuItem(type));
}

QString extraCaption(const Database& db, DocType type)
{
    try {
        return SettingText(db, DocTypeOf(type).extraItemSetting());
    } catch (const DbError&) {
        return QString();
    }
}

// Two captions as one label: both when they differ, one when equal or alone.
QString joinCaptions(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a + b;
    return a == b ? a : a + QLatin1Char('/') + b;
}

int unitKindOf(DocType type)
{
    return code(DocTypeOf(type).counterParty);
}

// The two document types of a side and the unit kind of both together.
struct Side {
    DocType first, second;
    int allUnitKind;
};

Side sideOf(const QString& whoami)
{
    if (whoami == QLatin1String("B4"))
        return {DocType::PurchaseReturn, DocType::ReworkReturn, StatSuppliersAndDepartments};
    if (whoami == QLatin1String("D2"))
        return {DocType::DepartmentIssue, DocType::SalesDelivery, StatCustomersAndDepartments};
    if (whoami == QLatin1String("D4"))
        return {DocType::DepartmentReturn, DocType::CustomerReturn, StatCustomersAndDepartments};
    return {DocType::PurchaseReceipt, DocType::ProductionReceipt, StatSuppliersAndDepartments};
}

// One item per type of the side in use, and the all-types item.
std::vector<StatTypeItem> singleItems(const Side& side, const QString& word, const MenuModel& menus,
                                      const Database& db)
{
    std::vector<StatTypeItem> items;
    for (DocType t : {side.first, side.second})
        if (typeOffered(menus, t))
            items.push_back({typeName(menus, t), {typeName(menus, t)}, unitKindOf(t), extraCaption(db, t)});
    if (items.size() == 2)
        items.push_back({QStringLiteral("所有") + word, {}, side.allUnitKind,
                         joinCaptions(items[0].extraCaption, items[1].extraCaption)});
    return items;
}

// One item per delivery type in use paired with its return type
// ("name&name"), and the all-types item when both pairs are there.
std::vector<StatTypeItem> pairItems(const Side& side, const QString& allText, const MenuModel& menus,
                                    const Database& db)
{
    std::vector<StatTypeItem> items;
    for (DocType t : {side.first, side.second}) {
        if (!typeOffered(menus, t))
            continue;
        const DocType back = DocType(code(t) + 1);
        items.push_back({typeName(menus, t) + QLatin1Char('&') + typeName(menus, back),
                         {typeName(menus, t), typeName(menus, back)}, unitKindOf(t),
                         joinCaptions(extraCaption(db, t), extraCaption(db, back))});
    }
    if (items.size() == 2)
        items.push_back({allText, {}, side.allUnitKind,
                         joinCaptions(extraCaption(db, side.first), extraCaption(db, side.second))});
    return items;
}

// Sales issues, and customer returns with both when that type is in use.
std::vector<StatTypeItem> salesItems(const MenuModel& menus, const Database& db)
{
    const int customers = code(UnitKind::Customer);
    const QString sales = typeName(menus, DocType::SalesDelivery);
    std::vector<StatTypeItem> items{{sales, {sales}, customers, extraCaption(db, DocType::SalesDelivery)}};
    if (typeOffered(menus, DocType::CustomerReturn)) {
        const QString back = typeName(menus, DocType::CustomerReturn);
        items.push_back({back, {back}, customers, extraCaption(db, DocType::CustomerReturn)});
        items.push_back({QStringLiteral("所有销售及退货"), {sales, back}, customers,
                         joinCaptions(items[0].extraCaption, items[1].extraCaption)});
    }
    return items;
}

bool inboundSide(DocKind kind)
{
    return kind == DocKind::Inbound || kind == DocKind::SupplierReturn;
}

bool withDepartments(int unitKind)
{
    return unitKind == code(UnitKind::Department) || unitKind == StatSuppliersAndDepartments ||
           unitKind == StatCustomersAndDepartments;
}

}  // namespace

StatMode StatModeOf(StatMember member, const QString& whoami)
{
    switch (member) {
    case StatMember::DZLst:
        return whoami == QLatin1String("D2")
                   ? StatMode{QStringLiteral("发货"), DocKind::Outbound, QStringLiteral("发货对账单")}
                   : StatMode{QStringLiteral("收货"), DocKind::Inbound, QStringLiteral("收货对账单")};
    case StatMember::CBLst:
        return {QStringLiteral("出库"), DocKind::Outbound, QStringLiteral("出库成本统计")};
    case StatMember::MLLst:
        return {QStringLiteral("出库"), DocKind::Outbound, QStringLiteral("销售毛利统计")};
    case StatMember::C3:
        return {QString(), DocKind::Stocktaking, QStringLiteral("库存盘点统计")};
    case StatMember::Lst:
        break;
    }
    if (whoami == QLatin1String("B4"))
        return {QStringLiteral("退货"), DocKind::SupplierReturn, QString()};
    if (whoami == QLatin1String("D2"))
        return {QStringLiteral("出库"), DocKind::Outbound, QString()};
    if (whoami == QLatin1String("D4"))
        return {QStringLiteral("退库"), DocKind::StockReturn, QString()};
    return {QStringLiteral("入库"), DocKind::Inbound, QString()};
}

std::vector<StatTypeItem> StatTypeItems(StatMember member, const QString& whoami, const MenuModel& menus,
                                        const Database& db)
{
    const StatMode mode = StatModeOf(member, whoami);
    switch (member) {
    case StatMember::Lst:
        return singleItems(sideOf(whoami), mode.word, menus, db);
    case StatMember::DZLst:
        return pairItems(sideOf(whoami), QStringLiteral("所有") + mode.word + QStringLiteral("及退货"), menus, db);
    case StatMember::CBLst:
        return pairItems(sideOf(QStringLiteral("D2")), QStringLiteral("所有出库及退货"), menus, db);
    case StatMember::MLLst:
        return salesItems(menus, db);
    case StatMember::C3:
        break;
    }
    return {};
}

QStringList StatUnitItems(const Database& db, int unitKind)
{
    QString where;
    switch (unitKind) {
    case StatSuppliersAndDepartments: where = QStringLiteral("LB IN (0, 8)"); break;
    case StatCustomersAndDepartments: where = QStringLiteral("LB IN (1, 8)"); break;
    default: where = QStringLiteral("LB = %1").arg(unitKind); break;
    }
    if (SettingValue(db, 1616) == 1 && unitKind != code(UnitKind::Department))
        where += QStringLiteral(" OR SCSF = 1");
    QStringList items;
    const RecordSet rs = db.query(QStringLiteral("SELECT F1 || '.' || F2 FROM TA1 WHERE (%1) AND F1 IS NOT NULL "
                                                 "AND F2 IS NOT NULL ORDER BY LB, F1")
                                      .arg(where));
    for (int r = 0; r < rs.rowCount(); ++r)
        items << rs.text(r, 0);
    return items;
}

QString StatCodeOf(const QString& text)
{
    const int dot = text.indexOf(QLatin1Char('.'));
    return dot > 0 ? text.left(dot) : text;
}

StatShape StatShapeOf(StatMember member)
{
    StatShape s;
    s.alwaysHidden = {8, StatKeyColumn(member)};
    s.widenedByHidden = {6};
    switch (member) {
    case StatMember::Lst:
        s.hiddenWithAmounts = {12, 13};
        s.widenedByHidden = {3, 6};
        s.narrowFrom = 11;
        break;
    case StatMember::DZLst:
        s.alwaysHidden << DZUnitCodeColumn;
        s.firstNumber = s.firstExported = 11;
        s.hiddenWithAmounts = {13};
        break;
    case StatMember::CBLst:
        s.firstExported = 11;
        s.hiddenWithAmounts = {13};
        break;
    case StatMember::MLLst:
        s.alwaysHidden << 1 << 4;
        s.lastNumber = s.lastExported = 16;
        s.firstExported = 11;
        s.hiddenWithAmounts = {13};
        break;
    case StatMember::C3:
        s.goods = 4;
        s.alwaysHidden = {7, StatKeyColumn(member)};
        s.measure = 9;
        s.firstNumber = 10;
        s.firstExported = 12;
        s.lastNumber = s.lastExported = 14;
        s.hiddenWithAmounts = {13, 14};
        s.widenedByHidden = {-1, -1};
        break;
    }
    return s;
}

QStringList StatHeaders(StatMember member, const QString& word, const QString& extraCaption,
                        const QString& goodsTerm, const QString& hpsxName)
{
    const QString measure = hpsxName.isEmpty() ? QStringLiteral("单位") : hpsxName;
    const QString code = goodsTerm + QStringLiteral("编码");
    const QString name = goodsTerm + QStringLiteral("名称");
    const QString spec = QStringLiteral("规格"), catCode = QStringLiteral("所属类别编码"),
                  cat = QStringLiteral("所属类别"), note = QStringLiteral("单据附注");
    const QString docNo = QStringLiteral("单据号码"), date = QStringLiteral("单据日期");
    switch (member) {
    case StatMember::Lst:
        return {word + QStringLiteral("单号"), word + QStringLiteral("日期"), extraCaption, QStringLiteral("相关单位"),
                note, code, name, spec, catCode, cat, measure, word + QStringLiteral("数量"), QStringLiteral("单价"),
                QStringLiteral("金额"), QStringLiteral("备注"), QString()};
    case StatMember::DZLst:
        return {docNo, date, extraCaption, QStringLiteral("相关单位"), note, code, name, spec, catCode, cat,
                QStringLiteral("单位"), word + QStringLiteral("数"), QStringLiteral("退货数"), QStringLiteral("金额"),
                QStringLiteral("备注"), QString(), QString()};
    case StatMember::CBLst:
        return {docNo, date, extraCaption, QStringLiteral("出库单位"), note, code, name, spec, catCode, cat,
                QStringLiteral("单位"), QStringLiteral("数量"), QStringLiteral("成本单价"), QStringLiteral("金额"),
                QStringLiteral("备注"), QString()};
    case StatMember::MLLst:
        return {docNo, date, extraCaption, QStringLiteral("客户名称"), note, code, name, spec, catCode, cat,
                QStringLiteral("单位"), QStringLiteral("数量"), QStringLiteral("成本价"), QStringLiteral("成本额"),
                QStringLiteral("销售价"), QStringLiteral("销售额"), QStringLiteral("毛利"), QString()};
    case StatMember::C3:
        return {QStringLiteral("盘点单号"), QStringLiteral("盘点日期"), extraCaption, note, code, name, spec, catCode,
                cat, measure, QStringLiteral("帐面数量"), QStringLiteral("实盘数"), QStringLiteral("盈亏数"),
                QStringLiteral("单价"), QStringLiteral("盈亏额"), QStringLiteral("备注"), QStringLiteral("SRT")};
    }
    return {};
}

bool StatAmountsHidden(StatMember member, DocKind kind, const StatTypeItem* chosen, const StatViewer& v)
{
    if (!v.withPrices)
        return true;
    switch (member) {
    case StatMember::Lst:
    case StatMember::DZLst:
        if (inboundSide(kind))
            return !v.canSeeCost;
        return !v.canSeeProfit || (!v.canSeeCost && chosen && withDepartments(chosen->unitKind));
    case StatMember::CBLst:
    case StatMember::C3:
        return !v.canSeeCost;
    case StatMember::MLLst:
        return false;
    }
    return false;
}

bool StatMayPrint(StatMember member, DocKind kind, const StatViewer& v)
{
    switch (member) {
    case StatMember::Lst:
    case StatMember::DZLst:
        return inboundSide(kind) ? v.canSeeCost : v.canSeeProfit;
    case StatMember::CBLst:
    case StatMember::C3:
        return v.canSeeCost;
    case StatMember::MLLst:
        return true;
    }
    return true;
}
