// Build step: writes the print templates the program ships into the program
// folder. Each template is described by what its print hands over (the
// print's query gives the record columns by position, the named values come
// from the printing window); TemplateBuilder places them on the page.
#include "print/tools/TemplateBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>
#include <cstdio>
#include <map>

using namespace PrintTemplate;

namespace {

using Line = QVector<Value>;

Spec Portrait(int fontSize = 10)
{
    Spec s;
    s.fontSize = fontSize;
    return s;
}

Spec Landscape(int fontSize = 9)
{
    Spec s;
    s.landscape = true;
    s.fontSize = fontSize;
    return s;
}

// ---- stock documents: the shared document print (StageStockDocPrint)

// Above the table: the counter-party (its label is a named value of its
// own), number, date, the extra header item and the counter-party's record.
QVector<Line> DocumentHead(const QString& code, const QString& address, const QString& phone, const QString& fax,
                           const QString& contact, const QString& mobile,
                           const QString& party = QStringLiteral("@KHtype"))
{
    Line last{{QStringLiteral("传真："), fax, 1}, {QStringLiteral("联系人："), contact, 1}};
    if (!mobile.isEmpty())
        last << Value{QStringLiteral("手机："), mobile, 1};
    last << Value{QString(), QStringLiteral("ExtraItem"), 1.4};
    return {{{party, QStringLiteral("KH"), 2.2},
             {QStringLiteral("单据号码："), QStringLiteral("DanNo"), 1.3},
             {QStringLiteral("日期："), QStringLiteral("rq"), 1}},
            {{QStringLiteral("地址："), address, 2.2}, {QStringLiteral("电话："), phone, 1.3},
             {QStringLiteral("编码："), code, 1}},
            last};
}

QVector<Line> DocumentFoot()
{
    return {{{QStringLiteral("合计数量："), QStringLiteral("SumSl"), 1},
             {QStringLiteral("合计金额："), QStringLiteral("SumJe"), 1},
             {QStringLiteral("大写："), QStringLiteral("SumJeDX"), 1.8}},
            {{QStringLiteral("附注："), QStringLiteral("FuZhu"), 2},
             {QStringLiteral("制单："), QStringLiteral("Zhidan"), 1},
             {QStringLiteral("审核："), QStringLiteral("Shenhe"), 1}}};
}

// One printed row per document line. The quantity column carries the unit
// ("5 个"), so the goods' unit (column 3) is not printed a second time.
// `attribute` is the attribute value's column, `discounts` the columns of the
// price before discount and the discount (-1: not printed).
QVector<Column> DocumentColumns(int attribute, int original, int discount)
{
    QVector<Column> c{{8, QStringLiteral("序号"), 0.6, Centre},
                      {0, QStringLiteral("编码"), 1.1},
                      {1, QStringLiteral("名称"), 1.8},
                      {2, QStringLiteral("规格"), 1.1},
                      {attribute, QStringLiteral("@HpsxName"), 1},
                      {4, QStringLiteral("数量"), 1.1, Right}};
    if (original >= 0)
        c << Column{original, QStringLiteral("原价"), 0.9, Right} << Column{discount, QStringLiteral("折扣"), 0.7, Right};
    c << Column{5, QStringLiteral("单价"), 1, Right} << Column{6, QStringLiteral("金额"), 1.2, Right}
      << Column{7, QStringLiteral("备注"), 1.3};
    return c;
}

// Plan 1 on half a sheet (A5 across), plan 2 on a whole A4 sheet.
Spec DocumentPage(int plan)
{
    Spec s = Portrait(9);
    if (plan == 1) {
        s.paper = QStringLiteral("A5");
        s.paperW = 148;
        s.paperH = 210;
        s.landscape = true;
    }
    return s;
}

// Receipts, returns to suppliers and returns to stock: the query
// "F1,F2,F3,F4,F6,F7,F8,F9,F11,F10" (attribute value last).
Spec Receipt(int plan)
{
    Spec s = DocumentPage(plan);
    s.head = DocumentHead(QStringLiteral("单位编码"), QStringLiteral("单位地址"), QStringLiteral("单位电话"),
                          QStringLiteral("单位传真"), QStringLiteral("联系人"), QStringLiteral("手机号"));
    s.columns = DocumentColumns(9, -1, -1);
    s.foot = DocumentFoot();
    return s;
}

// Deliveries and issues: the query "F1,F2,F3,F4,F6,F7,F8,F9,F11,F12,F13,F10"
// (price before discount, discount, attribute value). Plan 1 can be printed
// while prices are hidden and leaves the discount columns out.
QVector<Line> OutboundHead()
{
    return DocumentHead(QStringLiteral("KHBM"), QStringLiteral("客户地址"), QStringLiteral("客户电话"),
                        QStringLiteral("客户传真"), QStringLiteral("客户方联系人"), QString());
}

Spec Outbound(int plan)
{
    Spec s = DocumentPage(plan);
    s.head = OutboundHead();
    s.columns = plan == 1 ? DocumentColumns(11, -1, -1) : DocumentColumns(11, 9, 10);
    s.foot = DocumentFoot();
    return s;
}

// Stocktaking: the query "F1,F2,F3,F4,F6,F7,F8,F9,F11,F10" holds the book,
// counted and difference quantities and the unit price; the totals are the
// book quantity and the difference amount.
Spec Stocktaking(int plan)
{
    Spec s = DocumentPage(plan);
    s.head = DocumentHead(QStringLiteral("单位编码"), QStringLiteral("单位地址"), QStringLiteral("单位电话"),
                          QStringLiteral("单位传真"), QStringLiteral("联系人"), QStringLiteral("手机号"),
                          QStringLiteral("相关单位："));
    s.columns = {{8, QStringLiteral("序号"), 0.6, Centre},     {0, QStringLiteral("编码"), 1.1},
                 {1, QStringLiteral("名称"), 1.8},             {2, QStringLiteral("规格"), 1.1},
                 {9, QStringLiteral("@HpsxName"), 1},          {4, QStringLiteral("账面数"), 1.1, Right},
                 {5, QStringLiteral("盘点数"), 1.1, Right},    {6, QStringLiteral("差异数"), 1.1, Right},
                 {7, QStringLiteral("单价"), 1, Right}};
    s.foot = {{{QStringLiteral("账面数合计："), QStringLiteral("SumSl"), 1},
               {QStringLiteral("差异金额："), QStringLiteral("SumJe"), 1},
               {QStringLiteral("大写："), QStringLiteral("SumJeDX"), 1.8}},
              DocumentFoot().last()};
    return s;
}

// The delivery note: one row per goods, price and amount computed by the engine.
Spec DeliveryNote()
{
    Spec s = Portrait(10);
    s.pid = QStringLiteral("送货单");
    s.head = OutboundHead();
    s.columns = {{8, QStringLiteral("序号"), 0.5, Centre},   {0, QStringLiteral("编码"), 1.1},
                 {1, QStringLiteral("名称"), 1.8},           {2, QStringLiteral("规格"), 1.1},
                 {3, QStringLiteral("单位"), 0.6, Centre},   {4, QStringLiteral("数量"), 0.9, Right},
                 {9, QStringLiteral("原价"), 0.9, Right, 2}, {10, QStringLiteral("折扣"), 0.6, Right},
                 {5, QStringLiteral("单价"), 1, Right, 2},   {6, QStringLiteral("金额"), 1.2, Right, 2}};
    s.foot = DocumentFoot();
    return s;
}

// ---- records and stock reports

Spec Records(QVector<Column> columns)
{
    Spec s = Landscape(10);
    s.columns = std::move(columns);
    s.printDate = true;
    return s;
}

Line Period(double share = 1)
{
    return {{QStringLiteral("期间："), QStringLiteral("FromDate"), share}, {QStringLiteral("至："), QStringLiteral("ToDate"), share}};
}

Line StockTotals()
{
    return {{QStringLiteral("合计数量："), QStringLiteral("SumSL"), 1}, {QStringLiteral("合计金额："), QStringLiteral("SumJE"), 1}};
}

Spec StockList()
{
    Spec s = Records({{0, QStringLiteral("编码"), 1.1},           {1, QStringLiteral("名称"), 1.8},
                      {4, QStringLiteral("规格"), 1.1},           {2, QStringLiteral("所属类别"), 1.1},
                      {3, QStringLiteral("单位"), 0.6, Centre},   {5, QStringLiteral("库存底限"), 0.9, Right},
                      {6, QStringLiteral("库存上限"), 0.9, Right}, {7, QStringLiteral("当前存量"), 0.9, Right},
                      {8, QStringLiteral("单价"), 0.9, Right},     {9, QStringLiteral("库存金额"), 1.1, Right},
                      {10, QStringLiteral("备注"), 1.2}});
    s.foot = {StockTotals()};
    return s;
}

Spec StockPerAttribute()
{
    Spec s = Records({{9, QStringLiteral("序号"), 0.5, Centre},    {0, QStringLiteral("编码"), 1.1},
                      {1, QStringLiteral("名称"), 1.8},            {4, QStringLiteral("规格"), 1.1},
                      {2, QStringLiteral("所属类别"), 1.1},        {3, QStringLiteral("@HpsxName"), 1},
                      {5, QStringLiteral("当前存量"), 1, Right},   {6, QStringLiteral("成本单价"), 1, Right},
                      {7, QStringLiteral("成本金额"), 1.1, Right}, {8, QStringLiteral("备注"), 1.3}});
    s.foot = {StockTotals()};
    return s;
}

Spec MovementSummary()
{
    Spec s = Landscape(8);
    s.head = {Period() + Line{{QString(), QStringLiteral("HPLB"), 1.5}, {QString(), QStringLiteral("HP"), 1.5}}};
    s.columns = {{15, QStringLiteral("序号"), 0.5, Centre}, {0, QStringLiteral("编码"), 1},
                 {1, QStringLiteral("名称"), 1.5},          {2, QStringLiteral("规格"), 1},
                 {3, QStringLiteral("单位"), 0.5, Centre},  {4, QStringLiteral("类别编码"), 0.9},
                 {5, QStringLiteral("类别名称"), 1}};
    const QStringList sides{QStringLiteral("上期结存"), QStringLiteral("本期入库"), QStringLiteral("本期出库"),
                            QStringLiteral("期末结存")};
    for (int g = 0; g < 4; ++g) {
        s.groups << Group{int(s.columns.size()), int(s.columns.size()) + 1, sides[g]};
        s.columns << Column{6 + 2 * g, QStringLiteral("数量"), 0.8, Right}
                  << Column{7 + 2 * g, QStringLiteral("金额"), 1, Right, 2};
    }
    s.printDate = true;
    return s;
}

Spec MovementByCategory()
{
    Spec s = Portrait(10);
    s.head = {Period() + Line{{QString(), QStringLiteral("HPLB"), 1.5}}, {{QString(), QStringLiteral("HP"), 1}}};
    s.columns = {{0, QStringLiteral("类别编码"), 1},
                 {1, QStringLiteral("类别名称"), 1.5},
                 {2, QStringLiteral("上期结存金额"), 1.2, Right, 2},
                 {3, QStringLiteral("本期入库金额"), 1.2, Right, 2},
                 {4, QStringLiteral("本期出库金额"), 1.2, Right, 2},
                 {5, QStringLiteral("期末结存金额"), 1.2, Right, 2}};
    const QStringList sides{QStringLiteral("上期结存"), QStringLiteral("本期入库"), QStringLiteral("本期出库"),
                            QStringLiteral("期末结存")};
    for (int g = 0; g < 4; ++g)
        s.foot << Line{{sides[g] + QStringLiteral("数量："), QStringLiteral("SumSL%1").arg(6 + 3 * g), 1},
                       {sides[g] + QStringLiteral("金额："), QStringLiteral("SumJE%1").arg(6 + 3 * g), 1}};
    s.printDate = true;
    return s;
}

Spec MovementDetail()
{
    Spec s = Landscape(8);
    s.head = {Period() + Line{{QString(), QStringLiteral("HPLB"), 1.5}, {QString(), QStringLiteral("HP"), 1.5}}};
    s.columns = {{17, QStringLiteral("序号"), 0.5, Centre}, {0, QStringLiteral("单据号码"), 1.5},
                 {1, QStringLiteral("发生日期"), 1.2},      {2, QStringLiteral("相关部门"), 1.5},
                 {3, QStringLiteral("订单号码"), 1.1},      {4, QStringLiteral("类别"), 0.8},
                 {5, QStringLiteral("编码"), 1},            {6, QStringLiteral("名称"), 1.4},
                 {7, QStringLiteral("规格"), 0.8},          {8, QStringLiteral("单位"), 0.5, Centre}};
    const QStringList sides{QStringLiteral("入库"), QStringLiteral("出库"), QStringLiteral("结存")};
    for (int g = 0; g < 3; ++g) {
        s.groups << Group{int(s.columns.size()), int(s.columns.size()) + 1, sides[g]};
        s.columns << Column{9 + 2 * g, QStringLiteral("数量"), 0.8, Right}
                  << Column{10 + 2 * g, QStringLiteral("金额"), 1, Right};
    }
    s.columns << Column{15, QStringLiteral("备注"), 1.2};
    s.foot = {{{QStringLiteral("入库合计数量："), QStringLiteral("SumSL1"), 1},
               {QStringLiteral("入库合计金额："), QStringLiteral("SumJE1"), 1},
               {QStringLiteral("出库合计数量："), QStringLiteral("SumSL2"), 1},
               {QStringLiteral("出库合计金额："), QStringLiteral("SumJE2"), 1}}};
    s.printDate = true;
    return s;
}

// ---- ledgers of payables and receivables

Line LedgerHead()
{
    return Period() + Line{{QString(), QStringLiteral("DanWeiLeiXing"), 0.5}, {QString(), QStringLiteral("DanWeiName"), 1.5}};
}

Spec GeneralLedger(const QString& unit, const QString& money)
{
    Spec s = Portrait(10);
    s.head = {LedgerHead()};
    s.columns = {{6, QStringLiteral("序号"), 0.5, Centre},
                 {0, unit + QStringLiteral("编码"), 1},
                 {1, unit + QStringLiteral("名称"), 1.8},
                 {2, QStringLiteral("期初应") + money, 1, Right},
                 {3, QStringLiteral("增加应") + money, 1, Right},
                 {4, QStringLiteral("本期已") + money, 1, Right},
                 {5, QStringLiteral("期末应") + money, 1, Right}};
    s.printDate = true;
    return s;
}

Spec DetailLedger(const QString& unit, const QString& money)
{
    Spec s = Landscape(9);
    s.head = {LedgerHead()};
    s.columns = {{10, QStringLiteral("序号"), 0.5, Centre},
                 {0, unit + QStringLiteral("编码"), 1},
                 {1, unit + QStringLiteral("名称"), 1.8},
                 {2, QStringLiteral("单据号"), 1.2},
                 {3, QStringLiteral("业务类型"), 1},
                 {6, QStringLiteral("期初应") + money, 1, Right},
                 {7, QStringLiteral("本期增加应") + money, 1.1, Right},
                 {8, QStringLiteral("本期已") + money, 1, Right},
                 {9, QStringLiteral("期末应") + money, 1, Right}};
    s.printDate = true;
    return s;
}

// ---- document statistics

Line StatisticsHead(bool unitName = true)
{
    Line l{{QString(), QStringLiteral("DanWeiType"), 0.6}};
    if (unitName)
        l << Value{QString(), QStringLiteral("DanWeiName"), 1.6};
    return l + Period();
}

// The detail lines: document, unit and goods columns, then the figures.
Spec StatisticsDetail(const QString& unitHeading, const QVector<Column>& figures, const QVector<Line>& foot)
{
    Spec s = Landscape(8);
    s.head = {StatisticsHead()};
    s.columns = {{0, QStringLiteral("单据号码"), 1.45}, {1, QStringLiteral("单据日期"), 1.1},
                 {2, QStringLiteral("订单号码"), 0.9},  {3, unitHeading, 1.4},
                 {4, QStringLiteral("单据附注"), 1},   {5, QStringLiteral("编码"), 1},
                 {6, QStringLiteral("名称"), 1.3},     {7, QStringLiteral("规格"), 0.8},
                 {8, QStringLiteral("类别编码"), 1},   {9, QStringLiteral("所属类别"), 1},
                 {10, QStringLiteral("单位"), 0.5, Centre}};
    s.columns += figures;
    s.foot = foot;
    s.printDate = true;
    return s;
}

// One row per goods: code, name, spec, category, unit, then the figures.
Spec StatisticsSummary(const QVector<Column>& figures, const QVector<Line>& foot, bool unitName = true)
{
    Spec s = Portrait(9);
    s.head = {StatisticsHead(unitName)};
    s.columns = {{0, QStringLiteral("编码"), 1},     {1, QStringLiteral("名称"), 1.6},
                 {2, QStringLiteral("规格"), 1},     {3, QStringLiteral("类别编码"), 0.9},
                 {4, QStringLiteral("所属类别"), 1}, {5, QStringLiteral("单位"), 0.6, Centre}};
    s.columns += figures;
    s.foot = foot;
    s.printDate = true;
    return s;
}

Line Totals(const QString& qty, const QString& amount)
{
    return {{QStringLiteral("合计数量："), qty, 1}, {QStringLiteral("合计金额："), amount, 1}};
}

QVector<Line> ReconciliationFoot()
{
    return {{{QStringLiteral("发货数："), QStringLiteral("SumSL1"), 1},
             {QStringLiteral("退货数："), QStringLiteral("SumSL2"), 1},
             {QStringLiteral("净数量："), QStringLiteral("SumSL"), 1},
             {QStringLiteral("合计金额："), QStringLiteral("SumJe"), 1}},
            {{QStringLiteral("大写金额："), QStringLiteral("SumJeDX"), 1}}};
}

QVector<Line> ProfitFoot()
{
    return {{{QStringLiteral("合计数量："), QStringLiteral("SumSl"), 1},
             {QStringLiteral("成本额："), QStringLiteral("SumJe1"), 1},
             {QStringLiteral("销售额："), QStringLiteral("SumJe2"), 1},
             {QStringLiteral("毛利："), QStringLiteral("SumJe3"), 1}}};
}

Column Money(int field, const QString& heading, int dec = -1)
{
    return {field, heading, 1, Right, dec};
}

// What "vxp.dat" holds: the template copied for a layout whose own template
// is missing. It prints the first ten record columns without headings.
Spec Fallback()
{
    Spec s = Portrait(10);
    for (int f = 0; f < 10; ++f)
        s.columns << Column{f, QString(), 1};
    s.printDate = true;
    return s;
}

std::map<QString, Spec> Templates()
{
    std::map<QString, Spec> t;
    t["pdan1.vxp"] = Receipt(1);
    t["pdan2.vxp"] = Receipt(2);
    t["pckd1.vxp"] = Outbound(1);
    t["pckd2.vxp"] = Outbound(2);
    t["psh.vxp"] = DeliveryNote();
    t["ppd1.vxp"] = Stocktaking(1);
    t["ppd2.vxp"] = Stocktaking(2);
    t["pkh.vxp"] = Records({{0, QStringLiteral("编码"), 1},   {1, QStringLiteral("名称"), 2},
                            {2, QStringLiteral("地址"), 2.4}, {3, QStringLiteral("电话"), 1.2},
                            {4, QStringLiteral("传真"), 1.2}, {5, QStringLiteral("联系人"), 0.9},
                            {6, QStringLiteral("备注"), 1.6}});
    t["php.vxp"] = Records({{0, QStringLiteral("编码"), 1.1},         {1, QStringLiteral("品名"), 1.8},
                            {4, QStringLiteral("规格型号"), 1.2},     {2, QStringLiteral("所属类别"), 1.1},
                            {7, QStringLiteral("类别编码"), 0.9},     {3, QStringLiteral("单位"), 0.6, Centre},
                            {5, QStringLiteral("单价"), 0.9, Right},  {8, QStringLiteral("当前存量"), 0.9, Right},
                            {6, QStringLiteral("备注"), 1.4}});
    t["Pkclst.vxp"] = StockList();
    t["Pkcmx.vxp"] = StockPerAttribute();
    t["Pjcchz.vxp"] = MovementSummary();
    t["Pjcclbhz.vxp"] = MovementByCategory();
    t["Pjccmx.vxp"] = MovementDetail();
    t["pkhzF.vxp"] = GeneralLedger(QStringLiteral("供应商"), QStringLiteral("付"));
    t["pkhzS.vxp"] = GeneralLedger(QStringLiteral("客户"), QStringLiteral("收"));
    t["pkmxF.vxp"] = DetailLedger(QStringLiteral("供应商"), QStringLiteral("付"));
    t["pkmxS.vxp"] = DetailLedger(QStringLiteral("客户"), QStringLiteral("收"));
    const QVector<Column> plain{{11, QStringLiteral("数量"), 0.8, Right}, Money(12, QStringLiteral("单价")),
                                Money(13, QStringLiteral("金额")), {14, QStringLiteral("备注"), 1}};
    const QVector<Column> summed{{6, QStringLiteral("数量"), 0.9, Right}, Money(7, QStringLiteral("单价"), 2),
                                 Money(8, QStringLiteral("金额"), 2)};
    t["plst.vxp"] = StatisticsDetail(QStringLiteral("相关单位"), plain, {Totals("SumSL", "SumJe")});
    t["psum.vxp"] = StatisticsSummary(summed, {Totals("SumSL", "SumJe")});
    QVector<Column> cost = plain;
    cost[1].heading = QStringLiteral("成本单价");
    QVector<Column> costSummed = summed;
    costSummed[1].heading = QStringLiteral("成本单价");
    t["Plstcb.vxp"] = StatisticsDetail(QStringLiteral("出库单位"), cost, {Totals("SumSl", "SumJe")});
    t["Psumcb.vxp"] = StatisticsSummary(costSummed, {Totals("SumSl", "SumJe")});
    t["pdzmx.vxp"] = StatisticsDetail(QStringLiteral("相关单位"), plain, ReconciliationFoot());
    t["pdzhz.vxp"] = StatisticsSummary({{6, QStringLiteral("净数量"), 0.9, Right},
                                        {7, QStringLiteral("退货数"), 0.9, Right},
                                        Money(8, QStringLiteral("金额"), 2)},
                                       ReconciliationFoot());
    {
        Spec s = Portrait(10);
        s.head = {StatisticsHead(false)};
        s.columns = {{0, QStringLiteral("单位名称"), 3}, Money(1, QStringLiteral("金额"), 2)};
        s.foot = {{{QStringLiteral("合计金额："), QStringLiteral("SumJe"), 1},
                   {QStringLiteral("大写金额："), QStringLiteral("SumJeDX"), 2}}};
        s.printDate = true;
        t["pdzjehz.vxp"] = s;
    }
    const QVector<Column> profit{{11, QStringLiteral("数量"), 0.7, Right}, Money(12, QStringLiteral("成本价"), 2),
                                 Money(13, QStringLiteral("成本额"), 2),   Money(14, QStringLiteral("销售价"), 2),
                                 Money(15, QStringLiteral("销售额"), 2),   Money(16, QStringLiteral("毛利"), 2)};
    t["plstml.vxp"] = StatisticsDetail(QStringLiteral("客户名称"), profit, ProfitFoot());
    {
        // The stocktaking statistics: no unit column, book, counted and difference quantities.
        Spec s = StatisticsDetail(QString(), {}, {Totals("SumSL", "SumJe")});
        s.head = {StatisticsHead(false)};
        s.columns = {{0, QStringLiteral("单据号码"), 1.45}, {1, QStringLiteral("单据日期"), 1.1},
                     {2, QStringLiteral("订单号码"), 0.9},  {3, QStringLiteral("单据附注"), 1.2},
                     {4, QStringLiteral("编码"), 1},        {5, QStringLiteral("名称"), 1.3},
                     {6, QStringLiteral("规格"), 0.8},      {7, QStringLiteral("类别编码"), 1},
                     {8, QStringLiteral("所属类别"), 1},    {9, QStringLiteral("单位"), 0.5, Centre},
                     {10, QStringLiteral("帐面数"), 0.8, Right}, {11, QStringLiteral("盘点数"), 0.8, Right},
                     {12, QStringLiteral("差异数"), 0.8, Right}, Money(13, QStringLiteral("单价")),
                     Money(14, QStringLiteral("差异金额"))};
        t["plstpd.vxp"] = s;
        t["psumpd.vxp"] = StatisticsSummary(summed, {Totals("SumSL", "SumJe")}, false);
    }
    // The summary's column 11 repeats the cost amount of column 8.
    Spec profitSummary = StatisticsSummary(
        {{6, QStringLiteral("数量"), 0.7, Right}, Money(7, QStringLiteral("成本价"), 2),
         Money(8, QStringLiteral("成本额"), 2), Money(9, QStringLiteral("销售价"), 2),
         Money(10, QStringLiteral("销售额"), 2), Money(12, QStringLiteral("毛利"), 2)},
        ProfitFoot());
    profitSummary.landscape = true;
    t["psumml.vxp"] = profitSummary;
    t["vxp.dat"] = Fallback();
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vx_mkprinttemplates <program folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const auto& [name, spec] : Templates()) {
        QStringEncoder encode("GB18030");
        QByteArray bytes;
        for (const QString& line : Lines(spec))
            bytes += encode(line) + "\r\n";
        QSaveFile out(folder.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            std::fprintf(stderr, "vx_mkprinttemplates: cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
