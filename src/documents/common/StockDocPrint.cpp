#include "documents/common/StockDocPrint.h"

#include "core/App.h"
#include "core/CapitalAmount.h"
#include "core/Rounding.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "print/Primitives.h"

#include <QHash>

namespace {

// One row per goods, price before discount and discount, in the order of the lines'
// numbers summed: 4 total quantity, 5 the engine's JE / SL, 6 total amount, 8 the
// engine's running number.
const QString GoodsQuery = QStringLiteral(
    "select F1,F2,F3,F4,SUM(V1) AS SL ,'JE&SL' AS 自动除法,sum(V2) as JE ,''  ,'' as 自动序号,F12,F13 "
    "from plist group by F1,F2,F3,F4,F12,F13 order by SUM(V3)");
// The same rows without the average price, the amount and the price before discount, for an
// operator who may not see prices.
const QString GoodsQueryNoPrices = QStringLiteral(
    "select F1,F2,F3,F4,SUM(V1) AS SL ,' ' AS 单价,' ' as JE ,''  ,'' as 自动序号,' ' as YJ,F13 "
    "from plist group by F1,F2,F3,F4,F12,F13 order by SUM(V3)");

struct GoodsTexts {
    QString name, spec, unit;
};

// Name, spec and unit of every goods on the document, by upper-case code, in one read.
QHash<QString, GoodsTexts> goodsOf(const Database& db, const StockDoc& doc)
{
    QStringList marks;
    QVariantList codes;
    QSet<QString> seen;
    for (const StockDocLine& l : doc.lines) {
        const QString c = l.goods.trimmed().toUpper();
        if (c.isEmpty() || seen.contains(c))
            continue;
        seen.insert(c);
        marks << QStringLiteral("?");
        codes << c;
    }
    QHash<QString, GoodsTexts> out;
    if (codes.isEmpty())
        return out;
    const RecordSet rs = db.query(
        QStringLiteral("SELECT F1, F2, F5, F4 FROM TA4 WHERE F1 IN (%1)").arg(marks.join(QLatin1Char(','))), codes);
    for (int r = 0; r < rs.rowCount(); ++r)
        out.insert(rs.text(r, 0).trimmed().toUpper(), {rs.text(r, 1), rs.text(r, 2), rs.text(r, 3)});
    return out;
}

// The standard row: quantity with unit, price, amount (as the amount pattern shows it),
// remark, attribute, line number, price before discount and discount.
PrintedLine standardLine(const App& app, const StockDocLine& l, const QStringList& g, int n, bool pricesShown)
{
    const QString blank = QStringLiteral(" ");
    const double amount = RoundToPattern(l.amount, app.AmountFormat);
    return {{l.goods, g.value(0), g.value(1), g.value(2), QString(), NumText(l.qty) + QLatin1Char(' ') + l.unit,
             pricesShown ? FormatNumber(l.price, app.PriceFormat) : blank,
             pricesShown ? FormatNumber(amount, app.AmountFormat) : blank, l.remark, l.attr, QString::number(n),
             NumText(l.originalPrice), NumText(l.discount)},
            {l.qty, amount, double(n)},
            l.qty,
            amount};
}

bool hasLines(const StockDoc& doc)
{
    for (const StockDocLine& l : doc.lines)
        if (!l.goods.trimmed().isEmpty())
            return true;
    return false;
}

}  // namespace

QString StageStockDocPrint(App& app, const StockDocPolicy& policy, const QString& caption, const StockDoc& doc,
                           int index, bool pricesShown, PlistPrint& job)
{
    if (!hasLines(doc))
        return QStringLiteral("无数据可打印！");
    Database& db = app.CurrentDatabase;
    const QString rule = StockDocPrintRuleRefusal(db, !doc.head.auditor.trimmed().isEmpty());
    if (!rule.isEmpty())
        return rule;
    if (index < 0 || index >= policy.print.plans.size())
        return QStringLiteral("没有这个打印方案！");
    const PrintPlan& plan = policy.print.plans[index];
    const DocLayout& layout = policy.docType().layouts[size_t(index)];

    const QHash<QString, GoodsTexts> goods = goodsOf(db, doc);
    const QString blank = QStringLiteral(" ");
    double sumQty = 0;
    double sumAmount = 0;
    int n = 0;
    for (const StockDocLine& l : doc.lines) {
        if (l.goods.trimmed().isEmpty())
            continue;
        ++n;
        const GoodsTexts g = goods.value(l.goods.trimmed().toUpper());
        const PrintedLine row = (policy.print.stageLine ? policy.print.stageLine : standardLine)(
            app, l, {g.name, g.spec, g.unit}, n, pricesShown);
        // The totals are those of the printed rows.
        sumQty += row.qty;
        sumAmount += row.amount;
        job.addRow(row.texts, row.numbers);
    }

    job.Pid = QString::fromUtf8(layout.layoutId);
    job.RptFile = app.AppFolder + QString::fromUtf8(layout.templateFile);
    const StockDocHeader& h = doc.head;
    job.setValue(QStringLiteral("DanNo"), h.number.trimmed());
    job.setValue(QStringLiteral("rq"), DateText(h.date));
    // A kind with one fixed counter-party prints its code.
    job.setValue(QStringLiteral("KH"), policy.docType().fixedUnit ? h.unitCode.trimmed() : h.unitName.trimmed());
    job.setValue(policy.print.unitCodeValue, h.unitCode.trimmed());
    job.setValue(QStringLiteral("Zhidan"), h.enteredBy.trimmed());
    job.setValue(QStringLiteral("Shenhe"), h.auditor.trimmed());
    job.setValue(QStringLiteral("SumJe"), pricesShown ? FormatNumber(sumAmount, app.AmountFormat) : blank);
    if (pricesShown)
        job.setValue(QStringLiteral("SumJeDX"), CapitalAmount(sumAmount));
    job.setValue(QStringLiteral("SumSl"), GeneralNumberText(sumQty));
    job.setValue(QStringLiteral("FuZhu"), h.note.trimmed());
    job.setValue(QStringLiteral("KHtype"), QString(policy.texts.unitLabel).remove(QLatin1Char(' ')) + QStringLiteral("："));
    job.setValue(QStringLiteral("Caption"), plan.caption.isEmpty() ? caption : plan.caption);
    if (!policy.print.unitValues.isEmpty()) {
        QStringList columns;
        for (const auto& [name, column] : policy.print.unitValues)
            columns << column;
        const RecordSet unit = db.query(
            QStringLiteral("SELECT %1 FROM TA1 WHERE F1 = ? LIMIT 1").arg(columns.join(QStringLiteral(", "))),
            {h.unitCode.trimmed()});
        if (!unit.isEmpty())
            for (int i = 0; i < policy.print.unitValues.size(); ++i)
                job.setValue(policy.print.unitValues[i].first, unit.text(0, i));
    }
    const QString extraCaption = SettingText(db, policy.docType().extraItemSetting());
    if (!extraCaption.isEmpty() && !h.extra.trimmed().isEmpty()) {
        const QString extra = extraCaption + QStringLiteral("：") + h.extra.trimmed();
        job.setValue(extraCaption, extra);
        // The same under a fixed name, which a template can place whatever the item is called.
        job.setValue(QStringLiteral("ExtraItem"), extra);
    }
    // The heading of the attribute column of the line plans.
    if (!plan.perGoods)
        job.setValue(QStringLiteral("HpsxName"), app.HpsxName);
    job.PrnSQL = !plan.perGoods ? policy.print.lineSql : pricesShown ? GoodsQuery : GoodsQueryNoPrices;
    job.MyCmd = 0;
    return {};
}

void PrintStockDoc(App& app, QWidget* window, const StockDocPolicy& policy, const QString& caption,
                   const StockDoc& doc, int index, bool pricesShown)
{
    if (!hasLines(doc)) {
        MsgBox(QStringLiteral("无数据可打印！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    if (NoPrinter(1))
        return;
    PlistPrint job(app);
    QString refusal;
    try {
        refusal = StageStockDocPrint(app, policy, caption, doc, index, pricesShown, job);
    } catch (const DbError& e) {
        refusal = e.description();
    }
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    job.show(window);
}
