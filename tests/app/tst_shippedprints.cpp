#include "core/App.h"
#include "core/SqlText.h"
#include "documents/common/StockDocPrint.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "print/PlistPrint.h"
#include "print/PrintEngine.h"
#include "reports/DocStatistics.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Every template the program ships, printed to PDF with what its print
// stages and read back with pdftotext: each named value the print hands over,
// each record column the template places and each column heading is on the
// page, and a column the template leaves out is one the case names. The
// documents are staged by the document print itself, the statistics by their
// print service; the other prints are staged here as their windows stage them.
// The test runs under the C locale (ctest sets LANG and LC_ALL), where the
// system would pick a Japanese face for the Chinese text.
class TestShippedPrints : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void everyShippedTemplateHasACase();
    void printsWhatItStages_data();
    void printsWhatItStages();
    void longDocumentIsPagedWithHeadingsAndTotals();
};

namespace {

using Stage = std::function<void(FreshAccountSet&, PlistPrint&)>;

struct Case {
    QString name;
    QString file;
    Stage stage;
    QStringList headings;
    QList<int> unprinted;  // record columns the template leaves out on purpose
};

// Qt's PDF writer names each glyph by the first character of the face that
// maps to it, and the Chinese faces map a radical and its ideograph to one
// glyph: 金 reads back as the radical ⾦. The drawn page is right; only the
// text layer carries the radical. The comparison reads the radicals as their
// ideographs, and nothing else is changed.
QString IdeographsForRadicals(const QString& text)
{
    // CJK Radicals Supplement characters that stand for a simplified ideograph.
    static const QHash<QChar, QChar> supplement{{QChar(0x2ED3), QChar(0x957F)},   // ⻓ 长
                                                {QChar(0x2ED4), QChar(0x95E8)},   // ⻔ 门
                                                {QChar(0x2EE9), QChar(0x9EC4)},   // ⻩ 黄
                                                {QChar(0x2EC5), QChar(0x89C1)},   // ⻅ 见
                                                {QChar(0x2EC6), QChar(0x89D2)},   // ⻆ 角
                                                {QChar(0x2EE2), QChar(0x9A6C)},   // ⻢ 马
                                                {QChar(0x2EDA), QChar(0x9875)},   // ⻚ 页
                                                {QChar(0x2EA0), QChar(0x6C11)}};  // ⺠ 民
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() == 0x2F3E)
            out += QChar(0x6237);  // ⼾ 户: its decomposition is the traditional 戶
        else if (c.unicode() >= 0x2F00 && c.unicode() <= 0x2FD5)
            out += QString(c).normalized(QString::NormalizationForm_KC);  // Kangxi radicals decompose to ideographs
        else
            out += supplement.value(c, c);
    }
    return out;
}

QString Squeezed(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return IdeographsForRadicals(text.remove(space));
}

// ---- documents

const QDate DocDate(2024, 5, 13);

void DocumentBooks(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CompanyName = QStringLiteral("维罗仓储有限公司");
    app.HpsxName = QStringLiteral("批号");
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("S001"), QStringLiteral("华东五金供应站"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("K001"), QStringLiteral("宏达贸易公司"), UnitKind::Customer});
    db.execute(QStringLiteral("UPDATE TA1 SET F3 = '长江路88号', F4 = '021-5550101', F5 = '021-5550102', "
                              "F6 = '李四', MT = '13800138000'"));
    GoodsSpec screws{QStringLiteral("A1"), QStringLiteral("不锈钢螺丝")};
    screws.unit = QStringLiteral("盒");
    AddGoods(db, screws);
    GoodsSpec washers{QStringLiteral("B2"), QStringLiteral("铜垫片")};
    washers.unit = QStringLiteral("包");
    AddGoods(db, washers);
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = 'M6x30' WHERE F1 = 'A1'"));
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = 'D12' WHERE F1 = 'B2'"));
    for (int id : {181, 187}) {
        db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {id});
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, 1, '订单号码')"), {id});
    }
}

StockDocLine DocLine(const QString& goods, double qty, const QString& unit, double original, double discount,
                     const QString& attr, const QString& remark)
{
    StockDocLine l;
    l.goods = goods;
    l.qty = qty;
    l.unit = unit;
    l.originalPrice = original;
    l.discount = discount;
    l.price = original * discount;
    l.amount = l.qty * l.price;
    l.attr = attr;
    l.remark = remark;
    return l;
}

StockDoc Document(const QString& number, const QString& unitCode, const QString& unitName, int lines = 2)
{
    StockDoc doc;
    doc.head.number = number;
    doc.head.date = DocDate;
    doc.head.unitCode = unitCode;
    doc.head.unitName = unitName;
    doc.head.enteredBy = QStringLiteral("王会计");
    doc.head.auditor = QStringLiteral("张主管");
    doc.head.note = QStringLiteral("五月份补货");
    doc.head.extra = QStringLiteral("PO-7788");
    doc.lines << DocLine(QStringLiteral("A1"), 12.5, QStringLiteral("盒"), 12, 0.875, QStringLiteral("L2405A"),
                         QStringLiteral("加急"));
    for (int i = 1; i < lines; ++i)
        doc.lines << DocLine(QStringLiteral("B2"), 40 + i, QStringLiteral("包"), 2.5, 0.9, QStringLiteral("L2405B"),
                             QStringLiteral("样品%1").arg(i));
    return doc;
}

Stage Receipt(int plan, int lines = 2)
{
    return [plan, lines](FreshAccountSet& set, PlistPrint& job) {
        DocumentBooks(set);
        const StockDoc doc = Document(QStringLiteral("RK2405130007"), QStringLiteral("S001"),
                                      QStringLiteral("华东五金供应站"), lines);
        QCOMPARE(StageStockDocPrint(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), doc, plan, true, job),
                 QString());
    };
}

Stage Delivery(int plan)
{
    return [plan](FreshAccountSet& set, PlistPrint& job) {
        DocumentBooks(set);
        const StockDoc doc = Document(QStringLiteral("XS2405130003"), QStringLiteral("K001"), QStringLiteral("宏达贸易公司"));
        QCOMPARE(StageStockDocPrint(set.app(), SalesDeliveryPolicy(), QStringLiteral("销售出库单"), doc, plan, true, job),
                 QString());
    };
}

// A stocktaking as its window stages it: book, counted and difference
// quantities and the unit price; the totals are the book quantity and the
// difference amount.
Stage Stocktaking(int plan)
{
    return [plan](FreshAccountSet& set, PlistPrint& job) {
        DocumentBooks(set);
        job.Pid = plan == 0 ? QStringLiteral("采购盘点一") : QStringLiteral("采购盘点二");
        job.RptFile = set.app().AppFolder + (plan == 0 ? QStringLiteral("ppd1.vxp") : QStringLiteral("ppd2.vxp"));
        job.PrnSQL = QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0");
        job.addRow({"A1", "不锈钢螺丝", "M6x30", "盒", "", "20 盒", "18.5 盒", "-1.5 盒", "10.50", "L2405A", "1"});
        job.addRow({"B2", "铜垫片", "D12", "包", "", "40 包", "41 包", "1 包", "2.25", "L2405B", "2"});
        for (const auto& [name, value] : QList<std::pair<QString, QString>>{{"DanNo", "PD2405310001"},
                                                                         {"rq", "2024-5-31"},
                                                                         {"KH", "一号仓库"},
                                                                         {"Zhidan", "王会计"},
                                                                         {"Shenhe", "张主管"},
                                                                         {"SumJe", "-13.50"},
                                                                         {"SumJeDX", "负壹拾叁元伍角零分"},
                                                                         {"SumSl", "60"},
                                                                         {"FuZhu", "月末盘点"},
                                                                         {"Caption", "库存盘点单"},
                                                                         {"ExtraItem", "订单号码：PD-31"},
                                                                         {"HpsxName", "批号"}})
            job.setValue(name, value);
    };
}

const QStringList DocumentHeadings{"序号", "编码", "名称", "规格", "批号", "数量", "单价", "金额", "备注"};

// ---- prints staged as their windows stage them

struct Row {
    QStringList texts;
    QList<double> numbers;
    QStringList memos;
};

Stage Staged(const QString& pid, const QString& file, const QString& sql,
             const QList<std::pair<QString, QString>>& values, const QList<Row>& rows)
{
    return [=](FreshAccountSet& set, PlistPrint& job) {
        set.app().CompanyName = QStringLiteral("维罗仓储有限公司");
        job.Pid = pid;
        job.RptFile = set.app().AppFolder + file;
        job.PrnSQL = sql;
        for (const auto& [name, value] : values)
            job.setValue(name, value);
        for (const Row& r : rows)
            job.addRow(r.texts, r.numbers, r.memos);
    };
}

QStringList Fields(int n)
{
    QStringList f;
    for (int i = 1; i <= n; ++i)
        f << QStringLiteral("F%1").arg(i);
    return f;
}

const QList<std::pair<QString, QString>> Period{{"FromDate", "2024-05-01"}, {"ToDate", "2024-05-31"}};

// ---- document statistics, staged by their print service

const std::vector<QStringList> StatRows{
    {"RK2405130007", "2024-05-13", "PO-7788", "华东五金供应站", "五月份补货", "A1", "不锈钢螺丝", "M6x30", "001",
     "五金", "盒", "12.5", "10.50", "131.25", "加急", "3.5", "S001", "250"},
    {"RK2405140002", "2024-05-14", "PO-7790", "华东五金供应站", "补单", "B2", "铜垫片", "D12", "002", "辅料", "包",
     "40", "2.25", "90.00", "样品", "1", "S001", "120"}};

Stage Statistics(StatMember member, StatPrintKind kind)
{
    return [=](FreshAccountSet& set, PlistPrint& job) {
        set.app().CompanyName = QStringLiteral("维罗仓储有限公司");
        StatPrintContext c;
        c.caption = QStringLiteral("单据统计报表");
        c.unitHeader = QStringLiteral("供应商");
        c.unitName = QStringLiteral("华东五金供应站");
        c.fromDate = QStringLiteral("2024-05-01");
        c.toDate = QStringLiteral("2024-05-31");
        HandOver(StatPrint(member, kind, StatRows, {}, c), job, set.app().AppFolder);
    };
}

const QStringList StatDetailHeadings{"单据号码", "单据日期", "订单号码", "单据附注", "编码", "名称", "规格",
                                     "类别编码", "所属类别", "单位", "数量", "金额", "备注"};
const QStringList StatSummaryHeadings{"编码", "名称", "规格", "类别编码", "所属类别", "单位", "金额"};

QList<Case> Cases()
{
    QList<Case> c;
    c << Case{"receipt, plan 1", "pdan1.vxp", Receipt(0), DocumentHeadings, {3}}
      << Case{"receipt, plan 2", "pdan2.vxp", Receipt(1), DocumentHeadings, {3}}
      // Plan 1 is the delivery print while prices are hidden: no price before discount there.
      << Case{"delivery, plan 1", "pckd1.vxp", Delivery(0), DocumentHeadings, {3, 9, 10}}
      << Case{"delivery, plan 2", "pckd2.vxp", Delivery(1), DocumentHeadings + QStringList{"原价", "折扣"}, {3}}
      << Case{"stocktaking, plan 1", "ppd1.vxp", Stocktaking(0),
              {"序号", "编码", "名称", "规格", "批号", "账面数", "盘点数", "差异数", "单价"}, {3}}
      << Case{"stocktaking, plan 2", "ppd2.vxp", Stocktaking(1),
              {"序号", "编码", "名称", "规格", "批号", "账面数", "盘点数", "差异数", "单价"}, {3}}
      << Case{"delivery note", "psh.vxp", Delivery(2),
              {"序号", "编码", "名称", "规格", "单位", "数量", "原价", "折扣", "单价", "金额"}, {7}};

    c << Case{"suppliers", "pkh.vxp",
              Staged("客户档案", "pkh.vxp", "select F1,F2,F3,F4,F5,F6,F7 from plist order by F0",
                     {{"Caption", "供应商资料"}},
                     {{{"S001", "华东五金供应站", "长江路88号", "021-5550101", "021-5550102", "李四", "月结"}},
                      {{"S002", "北方钢材厂", "工业大道9号", "010-6660202", "", "赵六", ""}}}),
              {"编码", "名称", "地址", "电话", "传真", "联系人", "备注"}, {}};
    c << Case{"goods", "php.vxp",
              Staged("货品档案", "php.vxp", "select F1,F2,F4,F5,F3,F6,F7,F8,F9 from plist order by F0",
                     {{"Caption", "货品资料"}},
                     {{{"A1", "不锈钢螺丝", "M6x30", "五金", "盒", "10.50", "常用件", "001", "125"}}}),
              {"编码", "品名", "规格型号", "所属类别", "类别编码", "单位", "单价", "当前存量", "备注"}, {}};
    c << Case{"stock statistics", "Pkclst.vxp",
              Staged("存货统计", "Pkclst.vxp", "select F1,F2,F4,F5,F3,F6,F7,F8,F9,F10,F11 from plist order by F0",
                     {{"Caption", "仓库存货统计"}, {"SumSL", "137.5"}, {"SumJE", "1443.75"}, {"HpsxName", ""}},
                     {{{"A1", "不锈钢螺丝", "M6x30", "五金", "盒", "20", "500", "137.5", "10.50", "1443.75", "常用件"}}}),
              {"编码", "名称", "规格", "所属类别", "单位", "库存底限", "库存上限", "当前存量", "单价", "库存金额", "备注"},
              {}};
    c << Case{"stock per attribute", "Pkcmx.vxp",
              Staged("存货明细表", "Pkcmx.vxp", "select F1,F2,F4,F5,F3,F6,F7,F8,F9,F10,F11 from plist order by F0",
                     {{"Caption", "批号存货明细"}, {"SumSL", "12.5"}, {"SumJE", "131.25"}, {"HpsxName", "批号"}},
                     {{{"A1", "不锈钢螺丝", "M6x30", "五金", "L2405A", "12.5 盒", "10.50", "131.25", "加急", "1"}}}),
              {"序号", "编码", "名称", "规格", "所属类别", "批号", "当前存量", "成本单价", "成本金额", "备注"}, {10}};
    c << Case{"in/out/stock summary", "Pjcchz.vxp",
              Staged("进出存汇总表一", "Pjcchz.vxp",
                     "select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15,V1 from plist order by F0",
                     Period + QList<std::pair<QString, QString>>{
                                  {"Caption", "货品进出存汇总表"}, {"HPLB", "货品类别:五金"}, {"HP", "货品：(A1)不锈钢螺丝"}},
                     {{{"A1", "不锈钢螺丝", "M6x30", "盒", "001", "五金", "7", "73.5", "12.5", "131.25", "4", "42",
                        "15.5", "162.75", ""},
                       {1}}}),
              {"序号", "编码", "名称", "规格", "单位", "类别编码", "类别名称", "上期结存", "本期入库", "本期出库",
               "期末结存", "数量", "金额"},
              {14}};
    c << Case{"in/out/stock by category", "Pjcclbhz.vxp",
              Staged("进出存汇总表二", "Pjcclbhz.vxp",
                     "select F1,F2,sum(V1) as JineFmt1,sum(V2) as JineFmt2,sum(V3) as JineFmt3,sum(V4) as JineFmt4 "
                     "from plist group by F1,F2 order by F1",
                     Period + QList<std::pair<QString, QString>>{{"Caption", "货品进出存汇总表"},
                                                                 {"HPLB", "货品类别：五金"},
                                                                 {"HP", "货品：(A1)不锈钢螺丝"},
                                                                 {"SumSL6", "7"},
                                                                 {"SumJE6", "73.50"},
                                                                 {"SumSL9", "12.5"},
                                                                 {"SumJE9", "131.25"},
                                                                 {"SumSL12", "4"},
                                                                 {"SumJE12", "42.00"},
                                                                 {"SumSL15", "15.5"},
                                                                 {"SumJE15", "162.75"}},
                     {{{"001", "五金", "1"}, {73.5, 131.25, 42, 162.75}}}),
              {"类别编码", "类别名称", "上期结存金额", "本期入库金额", "本期出库金额", "期末结存金额"}, {}};
    c << Case{"in/out/stock detail", "Pjccmx.vxp",
              Staged("进出存明细表二", "Pjccmx.vxp",
                     "select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15,M1,M2,V1,V2,V3,V4,V5,V6,V7 "
                     "from plist order by F0",
                     Period + QList<std::pair<QString, QString>>{{"Caption", "货品进出存明细表"},
                                                                 {"SumSL1", "12.5"},
                                                                 {"SumJE1", "131.25"},
                                                                 {"SumSL2", "4"},
                                                                 {"SumJE2", "42.00"},
                                                                 {"HPLB", "货品类别：五金"},
                                                                 {"HP", "货品：(A1)不锈钢螺丝"}},
                     {{{"RK2405130007", "2024-05-13", "华东五金供应站", "PO-7788", "五金", "A1", "不锈钢螺丝", "M6x30",
                        "盒", "12.5", "131.25", "", "", "19.5", "204.75"},
                       {2, 12.5, 131.25, 0, 0, 19.5, 204.75},
                       {"加急"}}}),
              {"序号", "单据号码", "发生日期", "相关部门", "订单号码", "类别", "编码", "名称", "规格", "单位", "入库",
               "出库", "结存", "数量", "金额", "备注"},
              {16, 18, 19, 20, 21, 22, 23}};

    for (const auto& [file, pid, unit, money] :
         {std::tuple{"pkhzF.vxp", "应付总账", "供应商", "付"}, std::tuple{"pkhzS.vxp", "应收总账", "客户", "收"}})
        c << Case{QStringLiteral("general ledger ") + money, file,
                  Staged(pid, file, "select F1,F2,F3,F4,F5,F6,F7 from plist order by F0",
                         Period + QList<std::pair<QString, QString>>{
                                      {"Caption", "货款总账"}, {"DanWeiLeiXing", unit}, {"DanWeiName", "所有单位"}},
                         {{{"S001", "华东五金供应站", "100.00", "131.25", "50.00", "181.25", "1"}}}),
                  {QString(unit) + "编码", QString(unit) + "名称", QStringLiteral("期初应") + money,
                   QStringLiteral("增加应") + money, QStringLiteral("本期已") + money, QStringLiteral("期末应") + money,
                   "序号"},
                  {}};
    for (const auto& [file, pid, unit, money] :
         {std::tuple{"pkmxF.vxp", "应付明细账", "供应商", "付"}, std::tuple{"pkmxS.vxp", "应收明细账", "客户", "收"}})
        c << Case{QStringLiteral("detail ledger ") + money, file,
                  Staged(pid, file, "select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,V1 from plist order by F0",
                         Period + QList<std::pair<QString, QString>>{
                                      {"Caption", "货款明细账"}, {"DanWeiLeiXing", unit}, {"DanWeiName", "S001.华东五金供应站"}},
                         {{{"S001", "华东五金供应站", "RK2405130007", "采购入库", "", "", "100.00", "131.25", "",
                            "231.25"},
                           {1}}}),
                  {QString(unit) + "编码", QString(unit) + "名称", "单据号", "业务类型", QStringLiteral("期初应") + money,
                   QStringLiteral("本期增加应") + money, QStringLiteral("本期已") + money,
                   QStringLiteral("期末应") + money, "序号"},
                  {4, 5}};

    c << Case{"document statistics, detail", "plst.vxp", Statistics(StatMember::Lst, StatPrintKind::Detail),
              StatDetailHeadings + QStringList{"相关单位", "单价"}, {}}
      << Case{"document statistics, summary", "psum.vxp", Statistics(StatMember::Lst, StatPrintKind::Summary),
              StatSummaryHeadings + QStringList{"数量", "单价"}, {}}
      << Case{"outbound cost, detail", "Plstcb.vxp", Statistics(StatMember::CBLst, StatPrintKind::Detail),
              StatDetailHeadings + QStringList{"出库单位", "成本单价"}, {}}
      << Case{"outbound cost, summary", "Psumcb.vxp", Statistics(StatMember::CBLst, StatPrintKind::Summary),
              StatSummaryHeadings + QStringList{"数量", "成本单价"}, {}}
      << Case{"reconciliation, detail", "pdzmx.vxp", Statistics(StatMember::DZLst, StatPrintKind::Detail),
              StatDetailHeadings + QStringList{"相关单位", "单价"}, {}}
      << Case{"reconciliation, summary", "pdzhz.vxp", Statistics(StatMember::DZLst, StatPrintKind::Summary),
              StatSummaryHeadings + QStringList{"净数量", "退货数"}, {}}
      << Case{"reconciliation, amounts", "pdzjehz.vxp", Statistics(StatMember::DZLst, StatPrintKind::AmountSummary),
              {"单位名称", "金额"}, {}}
      << Case{"gross profit, detail", "plstml.vxp", Statistics(StatMember::MLLst, StatPrintKind::Detail),
              StatDetailHeadings.mid(0, 11) + QStringList{"客户名称", "成本价", "成本额", "销售价", "销售额", "毛利"},
              {}}
      << Case{"stocktaking statistics, detail", "plstpd.vxp", Statistics(StatMember::C3, StatPrintKind::Detail),
              {"单据号码", "单据日期", "订单号码", "单据附注", "编码", "名称", "规格", "类别编码", "所属类别", "单位",
               "帐面数", "盘点数", "差异数", "单价", "差异金额"},
              {}}
      << Case{"stocktaking statistics, summary", "psumpd.vxp", Statistics(StatMember::C3, StatPrintKind::Summary),
              StatSummaryHeadings + QStringList{"数量", "单价"}, {}}
      // The summary's column 11 repeats the cost amount of column 8.
      << Case{"gross profit, summary", "psumml.vxp", Statistics(StatMember::MLLst, StatPrintKind::Summary),
              StatSummaryHeadings.mid(0, 6) + QStringList{"数量", "成本价", "成本额", "销售价", "销售额", "毛利"},
              {11}};

    // "vxp.dat" stands in for a missing template: the first ten columns, no headings.
    c << Case{"default template", "vxp.dat",
              Staged("无模板报表", "vxp.dat", "select " + Fields(10).join(',') + " from plist order by F0",
                     {{"Caption", "临时报表"}},
                     {{{"K1", "K2", "K3", "K4", "K5", "K6", "K7", "K8", "K9", "K10"}}}),
              {}, {}};
    return c;
}

}  // namespace

void TestShippedPrints::initTestCase()
{
    QVERIFY2(qgetenv("LC_ALL") == "C",
             "run under LANG=C and LC_ALL=C, as ctest runs it: the Chinese face must be chosen whatever the locale");
    if (RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}).isNull())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

void TestShippedPrints::everyShippedTemplateHasACase()
{
    QStringList shipped = QDir(QStringLiteral(VX_BIN_DIR)).entryList({QStringLiteral("*.vxp")}, QDir::Files);
    shipped << QStringLiteral("vxp.dat");
    QStringList covered;
    for (const Case& c : Cases())
        covered << c.file;
    shipped.sort();
    covered.sort();
    QCOMPARE(covered, shipped);
}

void TestShippedPrints::printsWhatItStages_data()
{
    QTest::addColumn<int>("index");
    const QList<Case> cases = Cases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(qPrintable(cases[i].name + QStringLiteral(" (") + cases[i].file + QLatin1Char(')'))) << i;
}

void TestShippedPrints::printsWhatItStages()
{
    QFETCH(int, index);
    const Case c = Cases()[index];
    FreshAccountSet set;
    QTemporaryDir dir;
    const QString installed = c.file.endsWith(QLatin1String(".vxp")) ? c.file : QStringLiteral("fallback.vxp");
    QVERIFY(QFile::copy(QStringLiteral(VX_BIN_DIR "/") + c.file, set.programFolder() + installed));
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat")}));
    PlistPrint job(set.app());
    c.stage(set, job);
    if (QTest::currentTestFailed())
        return;
    job.RptFile = set.programFolder() + installed;
    const PrintedPdf printed = PrintToPdf(set.app(), job, dir.path());
    QVERIFY2(printed.problems.isEmpty(), qPrintable(printed.problems.join(QLatin1Char('\n'))));
    QVERIFY(!printed.text.isNull());
    const QString text = Squeezed(printed.text);

    QStringList missing;
    const auto expect = [&](const QString& what, const QString& value) {
        if (!value.trimmed().isEmpty() && !text.contains(Squeezed(value)))
            missing << what + QStringLiteral(" \"") + value + QLatin1Char('"');
    };
    expect(QStringLiteral("RegName"), set.app().CompanyName);
    for (const auto& [name, value] : job.values())
        expect(name, value);
    for (const QString& h : c.headings)
        expect(QStringLiteral("heading"), h);

    // Each record column is placed, or named as left out; each placed one prints its cells as the engine shows them.
    PrintEngine& e = *printed.engine;
    const int columns = e.myrs.columnCount();
    QVERIFY(columns > 0);
    for (int col = 0; col < columns; ++col) {
        const auto& p = e.fieldProps()[size_t(col)];
        const bool placed = !p[PrintLayout::SLeft].isEmpty() && p[PrintLayout::SHide] != QLatin1String("1");
        QVERIFY2(placed != c.unprinted.contains(col), qPrintable(QStringLiteral("column %1 (%2) placed: %3")
                                                                     .arg(col)
                                                                     .arg(e.myrs.columnNames().value(col))
                                                                     .arg(placed)));
        if (!placed || e.myrs.columnNames().value(col).contains(QStringLiteral("序号")))
            continue;
        for (e.myrs.moveFirst(); !e.myrs.eof(); e.myrs.moveNext())
            expect(QStringLiteral("column %1").arg(col),
                   PrintEngine::FieldDecFormat(e.ColumnText(col), p[PrintLayout::SDec]));
    }
    if (!qEnvironmentVariableIsEmpty("VX_KEEP_PRINTS"))
        QFile::copy(printed.pdf, qEnvironmentVariable("VX_KEEP_PRINTS") + QLatin1Char('/') + c.file + QStringLiteral(".pdf"));
    if (!missing.isEmpty())
        qWarning().noquote() << "pdftotext read:\n" << printed.text;
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

// A document longer than a page: every page repeats the headings and carries
// its number, and the totals stand on the last page.
void TestShippedPrints::longDocumentIsPagedWithHeadingsAndTotals()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat"), QStringLiteral("pdan1.vxp")}));
    PlistPrint job(set.app());
    Receipt(0, 25)(set, job);
    const PrintedPdf printed = PrintToPdf(set.app(), job, dir.path());
    QVERIFY2(printed.problems.isEmpty(), qPrintable(printed.problems.join(QLatin1Char('\n'))));
    QStringList pages = printed.text.split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QVERIFY2(pages.size() >= 2, qPrintable(printed.text));
    QString total;
    for (const auto& [name, value] : job.values())
        if (name == QLatin1String("SumJe"))
            total = value;
    for (int p = 0; p < pages.size(); ++p) {
        const QString page = Squeezed(pages[p]);
        QVERIFY2(page.contains(QStringLiteral("第%1页(共%2页)").arg(p + 1).arg(pages.size())), qPrintable(pages[p]));
        QVERIFY2(page.contains(QStringLiteral("编码")) && page.contains(QStringLiteral("单据号码")), qPrintable(pages[p]));
        QCOMPARE(page.contains(Squeezed(total)), p == pages.size() - 1);
    }
}

VX_REGISTER_TEST(TestShippedPrints)
#include "tst_shippedprints.moc"
