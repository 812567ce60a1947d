#include "documents/stocktaking/StocktakingPolicy.h"

#include "core/App.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "documents/stocktaking/StocktakingService.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <cmath>

namespace {

QString quantityText(double v, const QString& unit)
{
    return NumText(v) + QLatin1Char(' ') + unit;
}

// A cell that holds a quantity only once the line was counted.
QString countedText(double v, const StockDocLine& l)
{
    return l.counted ? quantityText(v, l.unit) : QString();
}

QString figureOf(const QString& cell)
{
    return cell.trimmed().isEmpty() ? QString() : NumText(LeadValue(cell));
}

// The line's count becomes `counted`: the difference and its amount follow from the
// book quantity and the price. A count below zero is refused; the cells keep theirs.
void recount(LineCells& cells, int row, double counted)
{
    if (counted < 0) {
        MsgBox(QStringLiteral("实盘数不能小于 0！"), MB::OKOnly | MB::Information, QStringLiteral("提示"));
        return;
    }
    const App& app = cells.lineApp();
    const QString book = cells.cell(row, BookRole);
    const QString unit = AfterSpace(book);
    const double difference = counted - LeadValue(book);
    cells.setCell(row, CountedRole, quantityText(counted, unit));
    cells.setCell(row, LineRole::Quantity, quantityText(difference, unit));
    cells.setCell(row, LineRole::Amount,
                  FormatNumber(difference * cells.cell(row, LineRole::Price).toDouble(), app.AmountFormat));
}

NextCell to(LineRole role, int step = 0)
{
    return {role, step};
}

QVector<LineColumn> countColumns()
{
    LineColumn code = StandardLineColumn(LineRole::Code);
    code.next = [](const LineCells& cells, int row) {
        if (cells.cell(row, LineRole::Code).trimmed().isEmpty())
            return to(LineRole::Code);
        return to(cells.lineApp().HpsxName.isEmpty() ? CountedRole : LineRole::Attribute);
    };

    LineColumn attr = StandardLineColumn(LineRole::Attribute);
    // The book quantity of an attribute value is its posted stock; a count already
    // entered is measured against it at once.
    attr.commit = [](LineCells& cells, int row, const QString& text) {
        const QString value = text.trimmed().toUpper();
        cells.setCell(row, LineRole::Attribute, value);
        const QString unit = AfterSpace(cells.cell(row, BookRole));
        const double book = BookQuantity(cells.lineApp(), cells.cell(row, LineRole::Code), value);
        cells.setCell(row, BookRole, quantityText(book, unit));
        const QString counted = cells.cell(row, CountedRole);
        if (!counted.trimmed().isEmpty())
            recount(cells, row, LeadValue(counted));
    };
    attr.next = [](const LineCells&, int) { return to(CountedRole); };

    LineColumn book{BookRole, QStringLiteral("帐面数")};
    book.weight = 12;
    book.show = [](const App&, const StockDocLine& l) { return quantityText(l.book, l.unit); };
    book.store = [](StockDocLine& l, const QString& t) {
        l.book = LeadValue(t);
        l.unit = AfterSpace(t);
    };
    book.editable = [](const LineCells&, bool) { return false; };

    LineColumn counted{CountedRole, QStringLiteral("实盘数")};
    counted.weight = 12;
    counted.numeric = true;
    counted.show = [](const App&, const StockDocLine& l) { return countedText(l.counted.value_or(0), l); };
    counted.store = [](StockDocLine& l, const QString& t) {
        if (t.trimmed().isEmpty())
            l.counted.reset();
        else
            l.counted = LeadValue(t);
    };
    counted.editText = figureOf;
    counted.commit = [](LineCells& cells, int row, const QString& text) {
        double c = text.toDouble();
        if (cells.lineApp().NoNegativeQty == 1)
            c = std::abs(c);
        recount(cells, row, c);
    };
    counted.next = [](const LineCells&, int) { return to(LineRole::Quantity); };

    // The difference: typed, it sets the count to the book quantity plus it.
    LineColumn difference = StandardLineColumn(LineRole::Quantity, QStringLiteral("盈亏数"));
    difference.show = [](const App&, const StockDocLine& l) { return countedText(l.qty, l); };
    difference.store = [](StockDocLine& l, const QString& t) { l.qty = LeadValue(t); };
    difference.editText = figureOf;
    difference.commit = [](LineCells& cells, int row, const QString& text) {
        recount(cells, row, LeadValue(cells.cell(row, BookRole)) + text.toDouble());
    };
    difference.next = [](const LineCells&, int) { return to(LineRole::Remark); };

    LineColumn price = StandardLineColumn(LineRole::Price, QStringLiteral("单价"));
    LineColumn amount = StandardLineColumn(LineRole::Amount, QStringLiteral("盈亏额"));
    amount.show = [](const App& app, const StockDocLine& l) {
        return l.counted ? FormatNumber(l.amount, app.AmountFormat) : QString();
    };
    for (LineColumn* c : {&price, &amount})
        c->editable = [](const LineCells&, bool) { return false; };
    // A loss shows red in the difference and its amount.
    for (LineColumn* c : {&difference, &amount})
        c->alarm = [](const LineCells& cells, int row) { return LeadValue(cells.cell(row, LineRole::Quantity)) < 0; };

    return {code,       StandardLineColumn(LineRole::Name), attr, book, counted, difference, price, amount,
            StandardLineColumn(LineRole::Remark, QStringLiteral("备注"))};
}

// A printed count: book, counted and difference quantities with the unit, and the price;
// SumSl adds up the book quantities, SumJe the difference amounts.
PrintedLine printedCount(const App& app, const StockDocLine& l, const QStringList& g, int n, bool pricesShown)
{
    const double amount = RoundToPattern(l.amount, app.AmountFormat);
    return {{l.goods, g.value(0), g.value(1), g.value(2), QString(), quantityText(l.book, l.unit),
             countedText(l.counted.value_or(0), l), countedText(l.qty, l),
             pricesShown ? FormatNumber(l.price, app.PriceFormat) : QStringLiteral(" "), l.attr, QString::number(n)},
            {l.book, amount, double(n)},
            l.book,
            amount};
}

CountDoc countOf(const StockDoc& doc)
{
    CountDoc count;
    count.head = doc.head;
    count.loadedStamp = doc.loadedStamp;
    for (const StockDocLine& l : doc.lines) {
        CountLine c;
        c.goods = l.goods;
        c.attr = l.attr;
        c.book = l.book;
        c.counted = l.counted;
        c.price = l.price;
        c.remark = l.remark;
        c.backColour = l.backColour;
        c.foreColour = l.foreColour;
        count.lines << c;
    }
    return count;
}

QString saveCount(App& app, StockDoc& doc, const QString& oldNumber)
{
    CountDoc count = countOf(doc);
    const QString refused = SaveStocktaking(app, count, oldNumber);
    doc.head = count.head;
    return refused;
}

}  // namespace

StockDocPolicy StocktakingPolicy()
{
    StockDocPolicy p;
    p.type = DocType::Stocktaking;
    p.texts.numberLabel = QStringLiteral("盘点单号");
    p.texts.dateLabel = QStringLiteral("盘点日期");
    p.texts.amountLabel = QStringLiteral("盈亏额");
    p.texts.lineNoun = QStringLiteral("盘点");
    p.texts.listAmountHeader = QStringLiteral("盈亏额");
    p.texts.amountSignColours = true;
    p.texts.windowCaption = QStringLiteral("库存盘点单");
    p.texts.tabNoun = QStringLiteral("盘点单");
    p.texts.importCaption = QStringLiteral("从Excel文件中读取盘点单明细");
    p.storage.columns = countColumns();
    p.storage.importLayout = LineImportLayout::stocktakingLayout();
    // A scanned code adds to its line's count; a new line starts counted at the scan.
    p.storage.stripRole = CountedRole;
    // The export writes the book, counted and difference quantities as numbers.
    p.storage.exportNumbers = {BookRole, CountedRole, LineRole::Quantity};
    p.storage.service.save = saveCount;
    p.storage.service.audit = AuditStocktaking;
    p.storage.service.unaudit = UnauditStocktaking;
    p.balance.settlementOffered = false;
    p.pricing.pricesEditable = false;
    p.pricing.proposePrice = ProposeCostPrice;
    p.audit.auditQuestion =
        QStringLiteral("    审核操作将对库存%1进行更新，审核后单据将不可修改！\r\r     真的要继续吗？");
    p.audit.auditsShownOnly = true;
    p.audit.shownCaption = QStringLiteral("审核当前选中的盘点单：");
    p.audit.exclusive = true;
    p.audit.canAdd = [](const Database& db) { return StocktakingAddRefusal(db); };
    p.audit.canUnaudit = [](const Database& db) { return StocktakingUnauditRefusal(db, QString()); };
    p.audit.canDate = StocktakingDateRefusal;
    p.audit.unauditWarning = QStringLiteral("如果这批已审核盘点的%1已经出库，\r\r撤销审核操作可能会造成库存%1数据出现负数，\r\r"
                                            "并且影响出库成本的计算！");
    p.audit.unauditDoneMessage = false;
    p.print.stageLine = printedCount;
    p.print.plans = {{QStringLiteral("&1.库存盘点单(方案一)"), false, p.texts.windowCaption},
                     {QStringLiteral("&2.库存盘点单(方案二)"), false, p.texts.windowCaption}};
    return p;
}
