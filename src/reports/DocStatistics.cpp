#include "reports/DocStatistics.h"

#include "core/CapitalAmount.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "print/PlistPrint.h"

namespace {

// Result columns of the one statement every member reads.
enum Col {
    cDocNo, cDate, cOrder, cUnit, cUnitName, cNote, cGoods, cName, cSpec, cCatCode, cCatName, cMeasure,
    cRemark, cAttr, cKey, cKind, cQty, cPrice, cAmount, cCostPrice, cCostAmount, cBook, cCounted, cBack, cFore
};

const char* const SelectLines =
    "SELECT d.F1, d.F2, d.OD, d.F3, u.F2, d.F10, l.F1, g.F2, g.F5, g.F3, c.F2, g.F4, l.F9, l.HPSX, l.SRT, d.LB,"
    " l.F6, l.F7, l.F8, l.C7, l.C8, l.Z5, l.F5, l.BColor, l.FColor"
    " FROM TB11 l JOIN TB1 d ON d.F1 = l.F0 LEFT JOIN TA1 u ON u.F1 = d.F3"
    " LEFT JOIN TA4 g ON g.F1 = l.F1 LEFT JOIN TA3 c ON c.F1 = g.F3"
    " WHERE l.SRT >= ? AND l.SRT < ? AND d.F6 <> ''";

// A typed text as a pattern on a column: whole value, "*" and "?" wildcards.
void addPattern(QString& sql, QVariantList& params, const char* column, const QString& typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return;
    sql += QStringLiteral(" AND %1 LIKE ? ESCAPE '\\'").arg(QLatin1String(column));
    params << LikePattern(t);
}

bool pairsKinds(StatMember m)
{
    return m == StatMember::DZLst || m == StatMember::CBLst || m == StatMember::MLLst;
}

QString statement(const StatFilter& f, QVariantList& params)
{
    QString sql = QLatin1String(SelectLines);
    params << PostingKeyPrefix(f.from) << PostingKeyPrefix(f.to.addDays(1));
    if (f.member == StatMember::C3) {
        sql += QStringLiteral(" AND d.LB = ?");
        params << code(DocKind::Stocktaking);
    } else if (pairsKinds(f.member)) {
        sql += QStringLiteral(" AND d.LB IN (?, ?)");
        params << code(f.kind) << code(f.kind) + 1;
    } else {
        sql += QStringLiteral(" AND d.LB = ?");
        params << code(f.kind);
    }
    if (!f.docTypes.isEmpty()) {
        QStringList marks;
        for (const QString& type : f.docTypes) {
            marks << QStringLiteral("?");
            params << type;
        }
        sql += QStringLiteral(" AND d.S2 IN (%1)").arg(marks.join(QLatin1Char(',')));
    }
    addPattern(sql, params, "d.F3", f.unit);
    if (!f.category.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND g.F3 = ?");
        params << f.category.trimmed();
    }
    addPattern(sql, params, "l.F1", f.goods);
    addPattern(sql, params, "d.OD", f.orderNo);
    addPattern(sql, params, "g.F2", f.name);
    addPattern(sql, params, "g.F5", f.spec);
    addPattern(sql, params, "g.F4", f.measure);
    addPattern(sql, params, "d.F1", f.docNo);
    addPattern(sql, params, "d.F10", f.note);
    addPattern(sql, params, "l.F9", f.remark);
    addPattern(sql, params, "l.HPSX", f.attribute);
    if (f.member == StatMember::C3)
        sql += QStringLiteral(" ORDER BY l.SRT, l.rowid");
    else
        sql += QStringLiteral(" ORDER BY d.SN, d.F1, l.Oid, l.rowid");
    return sql;
}

QString fmt(double v, const QString& pattern)
{
    return FormatNumber(v, pattern);
}

}  // namespace

double StatSignOf(StatMember member, DocKind kind)
{
    if (member == StatMember::C3)
        return 1;
    return (kind == DocKind::SupplierReturn || kind == DocKind::Outbound) ? -1 : 1;
}

StatResult ListStatLines(Database& db, const StatFilter& f, const StatKeepGoing& keepGoing)
{
    StatResult result;
    if (!f.from.isValid() || !f.to.isValid() || f.from > f.to)
        return result;
    SizeWalkCache(db);
    QVariantList params;
    Statement st(db, statement(f, params));
    st.bindAll(params);
    const double s = StatSignOf(f.member, f.kind);
    int n = 0;
    while (st.step()) {
        StatLine l;
        l.docNo = st.text(cDocNo);
        l.date = st.text(cDate);
        l.orderNo = st.text(cOrder);
        l.unitCode = st.text(cUnit);
        l.unitName = st.text(cUnitName);
        l.docNote = st.text(cNote);
        l.goods = st.text(cGoods);
        l.name = st.text(cName);
        l.spec = st.text(cSpec);
        l.categoryCode = st.text(cCatCode);
        l.categoryName = st.text(cCatName);
        l.measure = st.text(cMeasure);
        l.remark = st.text(cRemark);
        l.attribute = st.text(cAttr);
        l.key = st.text(cKey);
        l.kind = int(st.int64(cKind));
        l.backColor = st.int64(cBack);
        l.textColor = st.int64(cFore);
        switch (f.member) {
        case StatMember::Lst:
        case StatMember::DZLst:
            l.qty = s * st.real(cQty);
            l.price = st.real(cPrice);
            l.amount = s * st.real(cAmount);
            break;
        case StatMember::CBLst:
            l.qty = s * st.real(cQty);
            l.price = st.real(cCostPrice);
            l.amount = st.real(cCostAmount);
            break;
        case StatMember::MLLst:
            // Issues hold a negative quantity and sale amount and a positive
            // cost amount; returns the other way round. Listed with the
            // issue's figures positive: the cost amount as stored.
            l.qty = s * st.real(cQty);
            l.price = st.real(cCostPrice);
            l.amount = -s * st.real(cCostAmount);
            l.salePrice = st.real(cPrice);
            l.saleAmount = s * st.real(cAmount);
            break;
        case StatMember::C3:
            l.qty = st.real(cQty);
            l.price = st.real(cPrice);
            l.amount = st.real(cAmount);
            l.book = st.real(cBook);
            l.counted = st.real(cCounted);
            break;
        }
        result.lines.push_back(std::move(l));
        if (keepGoing && ++n % 256 == 0 && !keepGoing(n)) {
            result.cancelled = true;
            break;
        }
    }
    return result;
}

int StatColumnCount(StatMember member)
{
    switch (member) {
    case StatMember::MLLst: return 18;
    case StatMember::C3: return 17;
    case StatMember::DZLst: return 17;  // 16 shown + the hidden unit code
    default: return 16;
    }
}

int StatKeyColumn(StatMember member)
{
    switch (member) {
    case StatMember::MLLst: return 17;
    case StatMember::C3: return 16;
    default: return 15;
    }
}

StatTable StatCells(StatMember member, const std::vector<StatLine>& lines, const StatView& v)
{
    StatTable t;
    const int cols = StatColumnCount(member);
    const bool attr = !v.hpsxName.isEmpty() && (member == StatMember::Lst || member == StatMember::C3);
    double q = 0, q2 = 0, a = 0, a2 = 0, p = 0;
    t.rows.reserve(lines.size());
    for (const StatLine& l : lines) {
        QStringList c;
        c.reserve(cols);
        if (member == StatMember::C3) {
            c << l.docNo << l.date << l.orderNo << l.docNote << l.goods << l.name << l.spec << l.categoryCode
              << l.categoryName << (attr ? l.attribute : l.measure);
            const QString unit = QLatin1Char(' ') + l.measure;
            c << NumText(l.book) + unit << NumText(l.counted) + unit << NumText(l.qty) + unit
              << fmt(l.price, v.priceFormat) << fmt(l.amount, v.amountFormat) << l.remark << l.key;
            q += NumTextValue(l.qty);
            a += RoundToPattern(l.amount, v.amountFormat);
            t.rows.push_back(c);
            continue;
        }
        c << l.docNo << l.date << l.orderNo << l.unitName << l.docNote << l.goods << l.name << l.spec
          << l.categoryCode << l.categoryName << (attr ? l.attribute : l.measure);
        switch (member) {
        case StatMember::DZLst: {
            const bool delivery = l.kind % 2 == 1;
            c << (delivery ? NumText(l.qty) : QString()) << (delivery ? QString() : NumText(-l.qty))
              << fmt(l.amount, v.amountFormat) << l.remark << l.key << l.unitCode;
            (delivery ? q : q2) += NumTextValue(delivery ? l.qty : -l.qty);
            a += RoundToPattern(l.amount, v.amountFormat);
            break;
        }
        case StatMember::MLLst: {
            const double cost = RoundToPattern(l.amount, v.amountFormat);
            const double sale = RoundToPattern(l.saleAmount, v.amountFormat);
            c << NumText(l.qty) << fmt(l.price, v.priceFormat) << fmt(cost, v.amountFormat)
              << fmt(l.salePrice, v.priceFormat) << fmt(sale, v.amountFormat)
              << fmt(sale - cost, v.amountFormat) << l.key;
            q += NumTextValue(l.qty);
            a += cost;
            a2 += sale;
            p += RoundToPattern(sale - cost, v.amountFormat);
            break;
        }
        default:
            c << (attr ? NumText(l.qty) + QLatin1Char(' ') + l.measure : NumText(l.qty))
              << fmt(l.price, v.priceFormat) << fmt(l.amount, v.amountFormat) << l.remark << l.key;
            q += NumTextValue(l.qty);
            a += RoundToPattern(l.amount, v.amountFormat);
            break;
        }
        t.rows.push_back(c);
    }
    if (lines.empty())
        return t;
    t.totals = QStringList(QList<QString>(cols));
    t.totals[6] = QStringLiteral("合计：");
    switch (member) {
    case StatMember::C3:
        t.totals[12] = NumText(q);
        t.totals[14] = fmt(a, v.amountFormat);
        break;
    case StatMember::DZLst:
        t.totals[11] = NumText(q);
        t.totals[12] = NumText(q2);
        t.totals[13] = fmt(a, v.amountFormat);
        break;
    case StatMember::MLLst:
        t.totals[11] = NumText(q);
        t.totals[13] = fmt(a, v.amountFormat);
        t.totals[15] = fmt(a2, v.amountFormat);
        t.totals[16] = fmt(p, v.amountFormat);
        break;
    default:
        t.totals[11] = NumText(q);
        t.totals[13] = fmt(a, v.amountFormat);
        break;
    }
    return t;
}

// ------------------------------------------------------------------- prints

namespace {

const char* const DetailSql = "select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15 from plist order by F0";

// The summary's price: the group's amount over the quantity it is the
// amount of, on the price pattern's decimals; none for a group that nets to
// no quantity.
QString groupPrice(const char* amount, const QString& priceFormat, const char* quantity = "V1")
{
    return QStringLiteral("CASE WHEN SUM(%3) <> 0 THEN ROUND(SUM(%1) / SUM(%3), %2) END")
        .arg(QLatin1String(amount))
        .arg(PatternDecimals(priceFormat))
        .arg(QLatin1String(quantity));
}

// Stocktaking prints the counted quantity (V1) beside the difference amount
// (V2): its price is the amount over the difference quantity (V3).
QString summarySql(StatMember m, const QString& priceFormat, bool amountsHidden)
{
    const char* quantity = m == StatMember::C3 ? "V3" : "V1";
    return QStringLiteral("select F1,F6,F7,F8,F9,F10,SUM(V1) AS SL1,%1 AS PriceFmt,SUM(V2) AS JineFmt from plist "
                          "group by F1,F6,F7,F8,F9,F10 order by F1")
        .arg(amountsHidden ? QStringLiteral("NULL") : groupPrice("V2", priceFormat, quantity));
}

// Goods columns of a summary row: F1 code, F6 name, F7 spec, F8 category
// code, F9 category name, F10 unit or attribute value.
QStringList summaryTexts(const QStringList& r, int first)
{
    return {r.value(first), QString(), QString(), QString(), QString(), r.value(first + 1), r.value(first + 2),
            r.value(first + 3), r.value(first + 4), r.value(first + 5)};
}

void headValues(StatPrintJob& job, const StatPrintContext& c, bool unitName = true)
{
    job.values.emplace_back(QStringLiteral("Caption"), c.caption);
    job.values.emplace_back(QStringLiteral("DanWeiType"), c.unitHeader);
    if (unitName)
        job.values.emplace_back(QStringLiteral("DanWeiName"), c.unitName);
    job.values.emplace_back(QStringLiteral("FromDate"), c.fromDate);
    job.values.emplace_back(QStringLiteral("ToDate"), c.toDate);
}

QString shownAmount(double sum, const StatPrintContext& c)
{
    return c.amountsHidden ? QString() : FormatNumber(sum, c.amountFormat);
}

// Documents, outbound cost and stocktaking: one quantity and one amount.
void plainPrint(StatMember m, StatPrintKind kind, const std::vector<QStringList>& rows, const StatPrintContext& c,
                StatPrintJob& job)
{
    const bool c3 = m == StatMember::C3;
    const int qtyCol = 11, amountCol = c3 ? 14 : 13;
    const int priceCol = c3 ? 13 : 12;
    double sumQty = 0, sumAmount = 0;
    for (const QStringList& r : rows) {
        const double qty = LeadValue(r.value(qtyCol));
        const double amount = LeadValue(r.value(amountCol));
        sumQty += qty;
        sumAmount += amount;
        StatPrintRow p;
        if (kind == StatPrintKind::Detail) {
            p.texts = r.mid(0, 15);
            if (c.amountsHidden) {
                p.texts[priceCol] = QStringLiteral(" ");
                p.texts[amountCol] = QStringLiteral(" ");
            }
        } else {
            p.texts = summaryTexts(r, c3 ? 4 : 5);
        }
        p.numbers = {qty, c.amountsHidden ? 0.0 : amount};
        if (c3)
            p.numbers << LeadValue(r.value(12));  // the difference the amount is of
        job.rows.push_back(p);
    }
    if (m == StatMember::CBLst) {
        job.pid = kind == StatPrintKind::Detail ? QStringLiteral("成本统计明细") : QStringLiteral("成本统计汇总");
        job.templateFile = kind == StatPrintKind::Detail ? QStringLiteral("Plstcb.vxp") : QStringLiteral("Psumcb.vxp");
    } else {
        job.pid = kind == StatPrintKind::Detail ? QStringLiteral("明细统计表") : QStringLiteral("汇总统计表");
        // Stocktaking lines have other columns where the documents have the unit and the
        // quantity, so the stocktaking statistics print with templates of their own.
        if (c3)
            job.templateFile = kind == StatPrintKind::Detail ? QStringLiteral("plstpd.vxp") : QStringLiteral("psumpd.vxp");
        else
            job.templateFile = kind == StatPrintKind::Detail ? QStringLiteral("plst.vxp") : QStringLiteral("psum.vxp");
    }
    job.prnSql = kind == StatPrintKind::Detail ? QLatin1String(DetailSql) : summarySql(m, c.priceFormat, c.amountsHidden);
    headValues(job, c, !c3);
    const QString qtyName = m == StatMember::CBLst ? QStringLiteral("SumSl") : QStringLiteral("SumSL");
    job.values.emplace_back(qtyName, GeneralNumberText(sumQty));
    job.values.emplace_back(QStringLiteral("SumJe"), shownAmount(sumAmount, c));
}

void reconciliationPrint(StatPrintKind kind, const std::vector<QStringList>& rows, const StatPrintContext& c,
                         StatPrintJob& job)
{
    double sumQ = 0, sumR = 0, sumA = 0;
    for (const QStringList& r : rows) {
        const double q = LeadValue(r.value(11)), ret = LeadValue(r.value(12)), a = LeadValue(r.value(13));
        const double n = q - ret;
        sumQ += q;
        sumR += ret;
        sumA += a;
        const double shownA = c.amountsHidden ? 0.0 : a;
        StatPrintRow p;
        switch (kind) {
        case StatPrintKind::Detail:
            p.texts = r.mid(0, 11);
            p.texts << NumText(n)
                    << (n == 0 || c.amountsHidden ? QStringLiteral(" ") : FormatNumber(a / n, c.priceFormat))
                    << (c.amountsHidden ? QStringLiteral(" ") : r.value(13)) << r.value(14);
            p.numbers = {q, shownA};
            break;
        case StatPrintKind::Summary:
            p.texts = summaryTexts(r, 5);
            p.numbers = {n, ret, shownA};
            break;
        case StatPrintKind::AmountSummary:
            // By unit code: two units of one name stay two lines.
            p.texts = {r.value(DZUnitCodeColumn), r.value(3)};
            p.numbers = {shownA};
            break;
        }
        job.rows.push_back(p);
    }
    const QString je = c.amountsHidden ? QString() : NumText(sumA);
    const QString capital = c.amountsHidden ? QString() : CapitalAmount(sumA);
    switch (kind) {
    case StatPrintKind::Detail:
        job.pid = QStringLiteral("对账单明细");
        job.templateFile = QStringLiteral("pdzmx.vxp");
        job.prnSql = QLatin1String(DetailSql);
        headValues(job, c);
        job.values.emplace_back(QStringLiteral("SumSL1"), NumText(sumQ));
        job.values.emplace_back(QStringLiteral("SumSL2"), NumText(sumR));
        job.values.emplace_back(QStringLiteral("SumSL"), NumText(sumQ - sumR));
        break;
    case StatPrintKind::Summary:
        job.pid = QStringLiteral("对账单汇总");
        job.templateFile = QStringLiteral("pdzhz.vxp");
        job.prnSql = QStringLiteral("select F1,F6,F7,F8,F9,F10,SUM(V1) AS SL1,SUM(V2) AS SL2,SUM(V3) AS JineFmt from "
                                    "plist group by F1,F6,F7,F8,F9,F10 order by F1");
        headValues(job, c);
        job.values.emplace_back(QStringLiteral("SumSL"), NumText(sumQ - sumR));
        job.values.emplace_back(QStringLiteral("SumSL1"), NumText(sumQ));
        job.values.emplace_back(QStringLiteral("SumSL2"), NumText(sumR));
        break;
    case StatPrintKind::AmountSummary:
        job.pid = QStringLiteral("对账单金额汇总");
        job.templateFile = QStringLiteral("pdzjehz.vxp");
        job.prnSql = QStringLiteral("select MIN(F2) AS F1,SUM(V1) AS JE from plist group by F1 order by F1");
        {
            StatPrintContext amounts = c;
            amounts.caption = QStringLiteral("金额汇总表");
            headValues(job, amounts, false);
        }
        break;
    }
    job.values.emplace_back(QStringLiteral("SumJe"), je);
    job.values.emplace_back(QStringLiteral("SumJeDX"), capital);
}

void grossProfitPrint(StatPrintKind kind, const std::vector<QStringList>& rows, const StatPrintContext& c,
                      StatPrintJob& job)
{
    double sums[6] = {};
    for (const QStringList& r : rows) {
        StatPrintRow p;
        p.texts = kind == StatPrintKind::Detail ? r.mid(0, 11) : summaryTexts(r, 5);
        for (int i = 0; i < 6; ++i) {
            const double v = LeadValue(r.value(11 + i));
            sums[i] += v;
            p.numbers << (i > 0 && c.amountsHidden ? 0.0 : v);
        }
        job.rows.push_back(p);
    }
    if (kind == StatPrintKind::Detail) {
        job.pid = QStringLiteral("毛利统计明细");
        job.templateFile = QStringLiteral("plstml.vxp");
        job.prnSql = QStringLiteral("select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,V1,V2,V3,V4,V5,V6 from plist order by F0");
    } else {
        job.pid = QStringLiteral("毛利统计汇总");
        job.templateFile = QStringLiteral("psumml.vxp");
        // Record columns by position: quantity, cost price, cost amount, sale
        // price, sale amount, cost amount, gross profit. Prices are each
        // group's amount over its quantity.
        const QString none = QStringLiteral("NULL");
        job.prnSql = QStringLiteral("select F1,F6,F7,F8,F9,F10,SUM(V1) AS SL1,%1 AS PriceFmt1,SUM(V3) AS PriceFmt2,"
                                    "%2 AS JineFmt1,SUM(V5) AS JineFmt2,SUM(V3) AS JineFmt3,SUM(V6) AS JineFmt4 "
                                    "from plist group by F1,F6,F7,F8,F9,F10 order by F1")
                         .arg(c.amountsHidden ? none : groupPrice("V3", c.priceFormat),
                              c.amountsHidden ? none : groupPrice("V5", c.priceFormat));
    }
    headValues(job, c);
    job.values.emplace_back(QStringLiteral("SumSl"), NumText(sums[0]));
    job.values.emplace_back(QStringLiteral("SumJe1"), shownAmount(sums[2], c));
    job.values.emplace_back(QStringLiteral("SumJe2"), shownAmount(sums[4], c));
    job.values.emplace_back(QStringLiteral("SumJe3"), shownAmount(sums[5], c));
}

}  // namespace

StatPrintJob StatPrint(StatMember member, StatPrintKind kind, const std::vector<QStringList>& rows,
                       const QStringList& /*totals*/, const StatPrintContext& context)
{
    StatPrintJob job;
    switch (member) {
    case StatMember::DZLst: reconciliationPrint(kind, rows, context, job); break;
    case StatMember::MLLst: grossProfitPrint(kind, rows, context, job); break;
    default: plainPrint(member, kind, rows, context, job); break;
    }
    return job;
}

void HandOver(const StatPrintJob& job, PlistPrint& print, const QString& appFolder)
{
    print.Pid = job.pid;
    print.RptFile = appFolder + job.templateFile;
    print.PrnSQL = job.prnSql;
    for (const auto& [name, value] : job.values)
        print.setValue(name, value);
    for (const StatPrintRow& r : job.rows)
        print.addRow(r.texts, r.numbers);
}
