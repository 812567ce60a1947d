#include "documents/outbound/OutboundPrint.h"

#include "core/App.h"
#include "core/CapitalAmount.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "print/Primitives.h"

namespace {

// Read back by position: 0 code, 1 name, 2 spec, 3 unit, 4 quantity cell, 5 unit price,
// 6 amount, 7 remark, 8 line number, 9 price before discount, 10 discount, 11 attribute.
const QString LineQuery =
    QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F12,F13,F10 from plist order by F0");
// One row per goods, price before discount and discount, in the order of the lines'
// numbers summed: 4 total quantity, 5 the engine's JE / SL, 6 total amount, 8 the
// engine's running number.
const QString GoodsQuery = QStringLiteral(
    "select F1,F2,F3,F4,SUM(V1) AS SL ,'JE&SL' AS 自动除法,sum(V2) as JE ,''  ,'' as 自动序号,F12,F13 "
    "from plist group by F1,F2,F3,F4,F12,F13 order by SUM(V3)");
// The same rows without the average price and the amount, for an operator who may not see prices.
const QString GoodsQueryNoPrices = QStringLiteral(
    "select F1,F2,F3,F4,SUM(V1) AS SL ,' ' AS 单价,' ' as JE ,''  ,'' as 自动序号,F12,F13 "
    "from plist group by F1,F2,F3,F4,F12,F13 order by SUM(V3)");

QString cell(const OutboundPrintSheet& sheet, const StockDocPolicy& policy, int row, LineRole role)
{
    const int c = policy.columnOf(role);
    return c < 0 ? QString() : sheet.lines->textMatrix(row, c);
}

bool hasFirstLine(const OutboundPrintSheet& sheet, const StockDocPolicy& policy)
{
    return sheet.lines && sheet.lines->rows() > 1 && !cell(sheet, policy, 1, LineRole::Code).isEmpty();
}

}  // namespace

QVector<PrintPlan> OutboundPrintPlans(bool department)
{
    QVector<PrintPlan> plans = {{QStringLiteral("&1.货品出库单(方案一)")}, {QStringLiteral("&2.货品出库单(方案二)")}};
    if (!department)
        plans.append({QStringLiteral("&3.送货单"), true, QStringLiteral("送 货 单")});
    return plans;
}

QString StageOutboundPrint(App& app, const StockDocPolicy& policy, const QString& caption,
                           const OutboundPrintSheet& sheet, int index, bool pricesShown, PlistPrint& job)
{
    if (!hasFirstLine(sheet, policy))
        return QStringLiteral("无数据可打印！");
    Database& db = app.CurrentDatabase;
    const QString rule = StockDocPrintRuleRefusal(db, !sheet.auditor.isEmpty());
    if (!rule.isEmpty())
        return rule;
    if (index < 0 || index >= policy.printPlans.size())
        return QStringLiteral("没有这个打印方案！");
    const PrintPlan& plan = policy.printPlans[index];

    const QString blank = QStringLiteral(" ");
    double sumQty = 0;
    double sumAmount = 0;
    for (int i = 1; i < sheet.lines->rows(); ++i) {
        const QString code = cell(sheet, policy, i, LineRole::Code);
        if (code.isEmpty())
            break;
        const RecordSet g = db.query(QStringLiteral("SELECT F2, F5, F4 FROM TA4 WHERE F1 = ? LIMIT 1"), {code});
        const QString qtyCell = cell(sheet, policy, i, LineRole::Quantity);
        const QString amountCell = cell(sheet, policy, i, LineRole::Amount);
        sumQty += LeadValue(qtyCell);
        sumAmount += BoxValue(amountCell);
        // F1..F13 as the templates address them; F5 stays empty.
        const QStringList texts = {code,
                                   g.isEmpty() ? QString() : g.text(0, 0),
                                   g.isEmpty() ? QString() : g.text(0, 1),
                                   g.isEmpty() ? QString() : g.text(0, 2),
                                   QString(),
                                   qtyCell,
                                   pricesShown ? cell(sheet, policy, i, LineRole::Price) : blank,
                                   pricesShown ? amountCell : blank,
                                   cell(sheet, policy, i, LineRole::Remark),
                                   cell(sheet, policy, i, LineRole::Attribute),
                                   QString::number(i),
                                   NumText(BoxValue(cell(sheet, policy, i, LineRole::OriginalPrice))),
                                   NumText(BoxValue(cell(sheet, policy, i, LineRole::Discount)))};
        job.addRow(texts, {BoxValue(qtyCell), BoxValue(amountCell), double(i)});
    }

    const DocLayout& layout = policy.docType().layouts[index];
    job.Pid = QString::fromUtf8(layout.layoutId);
    job.RptFile = app.AppFolder + QString::fromUtf8(layout.templateFile);
    job.setValue(QStringLiteral("DanNo"), sheet.number.trimmed());
    job.setValue(QStringLiteral("rq"), sheet.date.trimmed());
    job.setValue(QStringLiteral("KH"), sheet.unitName.trimmed());
    job.setValue(QStringLiteral("KHBM"), sheet.unitCode.trimmed());
    job.setValue(QStringLiteral("Zhidan"), sheet.enteredBy.trimmed());
    job.setValue(QStringLiteral("Shenhe"), sheet.auditor.trimmed());
    job.setValue(QStringLiteral("SumJe"), pricesShown ? FormatNumber(sumAmount, app.AmountFormat) : blank);
    if (pricesShown)
        job.setValue(QStringLiteral("SumJeDX"), CapitalAmount(sumAmount));
    job.setValue(QStringLiteral("SumSl"), GeneralNumberText(sumQty));
    job.setValue(QStringLiteral("FuZhu"), sheet.note.trimmed());
    job.setValue(QStringLiteral("KHtype"), QString(sheet.unitLabel).remove(QLatin1Char(' ')) + QStringLiteral("："));
    job.setValue(QStringLiteral("Caption"), plan.caption.isEmpty() ? caption : plan.caption);
    const RecordSet unit = db.query(QStringLiteral("SELECT F3, F4, F5, F6 FROM TA1 WHERE F1 = ? LIMIT 1"),
                                    {sheet.unitCode.trimmed()});
    if (!unit.isEmpty()) {
        job.setValue(QStringLiteral("客户地址"), unit.text(0, 0));
        job.setValue(QStringLiteral("客户电话"), unit.text(0, 1));
        job.setValue(QStringLiteral("客户传真"), unit.text(0, 2));
        job.setValue(QStringLiteral("客户方联系人"), unit.text(0, 3));
    }
    if (!sheet.extraCaption.isEmpty() && !sheet.extra.isEmpty())
        job.setValue(sheet.extraCaption, sheet.extraCaption + QStringLiteral("：") + sheet.extra);
    job.PrnSQL = !plan.perGoods ? LineQuery : pricesShown ? GoodsQuery : GoodsQueryNoPrices;
    job.MyCmd = 0;
    return {};
}

void PrintOutboundDocument(App& app, QWidget* window, const StockDocPolicy& policy, const QString& caption,
                           const OutboundPrintSheet& sheet, int index, bool pricesShown)
{
    if (!hasFirstLine(sheet, policy)) {
        MsgBox(QStringLiteral("无数据可打印！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    if (NoPrinter(1))
        return;
    PlistPrint job(app);
    QString refusal;
    try {
        refusal = StageOutboundPrint(app, policy, caption, sheet, index, pricesShown, job);
    } catch (const DbError& e) {
        refusal = e.description();
    }
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    job.show(window);
}
