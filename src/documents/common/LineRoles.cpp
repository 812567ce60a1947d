#include "documents/common/LineRoles.h"

#include "core/App.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocPolicy.h"
#include "documents/common/StockDocService.h"
#include "platform/Messages.h"

#include <cmath>

namespace {

bool always(const LineCells&)
{
    return true;
}

// The price cells open unless prices are locked for documents (LockDocPrice) or the kind fixes them.
bool pricesOpen(const LineCells& cells, bool hasGoods)
{
    return hasGoods && cells.lineApp().LockDocPrice != 1 && cells.linePolicy().pricing.pricesEditable;
}

bool discountsOpen(const LineCells& cells, bool hasGoods)
{
    return hasGoods && cells.lineApp().LockDocPrice != 1 && cells.discountsOn();
}

QString price(const App& app, double v)
{
    return FormatNumber(v, app.PriceFormat);
}

QString amount(const App& app, double v)
{
    return FormatNumber(v, app.AmountFormat);
}

// The amount of the row from its quantity and price.
void amountFromQtyPrice(LineCells& cells, int row)
{
    cells.setCell(row, LineRole::Amount,
                  amount(cells.lineApp(), LeadValue(cells.cell(row, LineRole::Quantity)) *
                                              cells.cell(row, LineRole::Price).toDouble()));
}

// The price of the row from its price before discount and its discount.
void priceFromDiscount(LineCells& cells, int row)
{
    const double original = cells.cell(row, LineRole::OriginalPrice).toDouble();
    const double discount = cells.cell(row, LineRole::Discount).toDouble();
    cells.setCell(row, LineRole::Price, price(cells.lineApp(), original * discount));
    amountFromQtyPrice(cells, row);
}

NextCell to(LineRole role, int step = 0)
{
    return {role, step};
}

}  // namespace

LineColumn StandardLineColumn(LineRole role, const QString& header)
{
    LineColumn c;
    c.role = role;
    c.header = header;
    c.shown = always;
    c.store = [](StockDocLine&, const QString&) {};
    c.show = [](const App&, const StockDocLine&) { return QString(); };
    c.editable = [](const LineCells&, bool hasGoods) { return hasGoods; };
    c.commit = [role](LineCells& cells, int row, const QString& text) { cells.setCell(row, role, text); };
    c.next = [](const LineCells&, int) { return to(LineRole::Remark); };
    c.numeric = role == LineRole::Quantity || role == LineRole::OriginalPrice || role == LineRole::Discount ||
                role == LineRole::Price || role == LineRole::Amount;
    switch (role) {
    case LineRole::Code:
        c.weight = 14;
        c.defaultHeader = [](const App& app) { return app.GoodsTerm + QStringLiteral("编码"); };
        c.show = [](const App&, const StockDocLine& l) { return l.goods; };
        c.store = [](StockDocLine& l, const QString& t) { l.goods = t.trimmed(); };
        c.editable = [](const LineCells&, bool) { return true; };
        c.commit = [](LineCells& cells, int row, const QString& text) { cells.commitGoodsCode(row, text); };
        c.next = [](const LineCells& cells, int row) {
            if (cells.cell(row, LineRole::Code).trimmed().isEmpty())
                return to(LineRole::Code);
            return to(cells.lineApp().HpsxName.isEmpty() ? LineRole::Quantity : LineRole::Attribute);
        };
        break;
    case LineRole::Name:
        c.weight = 24;
        c.defaultHeader = [](const App& app) { return app.GoodsTerm + QStringLiteral("名称/规格"); };
        c.show = [](const App&, const StockDocLine& l) { return l.name; };
        c.store = [](StockDocLine& l, const QString& t) { l.name = t; };
        c.editable = [](const LineCells&, bool) { return false; };
        break;
    case LineRole::Attribute:
        c.weight = 10;
        c.defaultHeader = [](const App& app) { return app.HpsxName; };
        c.shown = [](const LineCells& cells) { return !cells.lineApp().HpsxName.isEmpty(); };
        c.show = [](const App&, const StockDocLine& l) { return l.attr; };
        c.store = [](StockDocLine& l, const QString& t) { l.attr = t; };
        c.editable = [](const LineCells& cells, bool hasGoods) {
            return hasGoods && !cells.lineApp().HpsxName.isEmpty();
        };
        c.commit = [](LineCells& cells, int row, const QString& text) {
            // Where the value must come from the picker, only a value some line holds is taken.
            const QString value = text.trimmed().toUpper();
            if (!cells.linePolicy().storage.attributeFromPicker ||
                AttributeValueKnown(cells.lineApp().CurrentDatabase, cells.cell(row, LineRole::Code), value))
                cells.setCell(row, LineRole::Attribute, value);
        };
        c.next = [](const LineCells&, int) { return to(LineRole::Quantity); };
        break;
    case LineRole::Quantity:
        c.weight = 12;
        c.show = [](const App&, const StockDocLine& l) { return NumText(l.qty) + QLatin1Char(' ') + l.unit; };
        c.store = [](StockDocLine& l, const QString& t) {
            l.qty = LeadValue(t);
            l.unit = AfterSpace(t);
        };
        c.editText = [](const QString& cell) { return NumText(LeadValue(cell)); };
        c.commit = [](LineCells& cells, int row, const QString& text) {
            double q = text.toDouble();
            if (cells.lineApp().NoNegativeQty == 1)
                q = std::abs(q);
            if (!cells.stockCovers(row, q))
                q = 0;
            cells.setCell(row, LineRole::Quantity,
                          NumText(q) + QLatin1Char(' ') + AfterSpace(cells.cell(row, LineRole::Quantity)));
            amountFromQtyPrice(cells, row);
        };
        c.next = [](const LineCells& cells, int) {
            const App& app = cells.lineApp();
            const bool prices = app.WithPrices == 1 && app.LockDocPrice == 0 && !cells.amountsHidden() &&
                                cells.linePolicy().pricing.pricesEditable;
            if (!prices)
                return to(LineRole::Remark);
            return to(cells.discountsOn() ? LineRole::OriginalPrice : LineRole::Price);
        };
        break;
    case LineRole::OriginalPrice:
        c.weight = 10;
        c.shown = [](const LineCells& cells) { return cells.discountsOn(); };
        c.show = [](const App& app, const StockDocLine& l) { return price(app, l.originalPrice); };
        c.store = [](StockDocLine& l, const QString& t) { l.originalPrice = t.toDouble(); };
        c.editable = discountsOpen;
        c.commit = [](LineCells& cells, int row, const QString& text) {
            cells.setCell(row, LineRole::OriginalPrice, price(cells.lineApp(), text.toDouble()));
            if (cells.cell(row, LineRole::Discount).toDouble() != 0)
                priceFromDiscount(cells, row);
        };
        c.next = [](const LineCells&, int) { return to(LineRole::Discount); };
        break;
    case LineRole::Discount:
        c.weight = 8;
        c.shown = [](const LineCells& cells) { return cells.discountsOn(); };
        c.show = [](const App&, const StockDocLine& l) { return l.discount == 0 ? QString() : NumText(l.discount); };
        c.store = [](StockDocLine& l, const QString& t) { l.discount = t.toDouble(); };
        c.editable = discountsOpen;
        c.commit = [](LineCells& cells, int row, const QString& text) {
            const double discount = text.toDouble();
            if (discount > 1) {
                MsgBox(QStringLiteral("请输入小于或等于1的数！"), MB::OKOnly | MB::Information, QString());
                return;
            }
            cells.setCell(row, LineRole::Discount, NumText(discount));
            if (cells.cell(row, LineRole::OriginalPrice).toDouble() != 0)
                priceFromDiscount(cells, row);
        };
        c.next = [](const LineCells&, int) { return to(LineRole::Price); };
        break;
    case LineRole::Price:
        c.weight = 10;
        c.shown = [](const LineCells& cells) { return !cells.amountsHidden(); };
        c.show = [](const App& app, const StockDocLine& l) { return price(app, l.price); };
        c.store = [](StockDocLine& l, const QString& t) { l.price = t.toDouble(); };
        c.editable = pricesOpen;
        c.commit = [](LineCells& cells, int row, const QString& text) {
            cells.setCell(row, LineRole::Price, price(cells.lineApp(), std::abs(text.toDouble())));
            amountFromQtyPrice(cells, row);
        };
        c.next = [](const LineCells&, int) { return to(LineRole::Amount); };
        break;
    case LineRole::Amount:
        c.weight = 12;
        c.shown = [](const LineCells& cells) { return !cells.amountsHidden(); };
        c.show = [](const App& app, const StockDocLine& l) { return amount(app, l.amount); };
        c.store = [](StockDocLine& l, const QString& t) { l.amount = t.toDouble(); };
        c.editable = pricesOpen;
        c.commit = [](LineCells& cells, int row, const QString& text) {
            double a = text.toDouble();
            if (cells.lineApp().NoNegativeQty == 1)
                a = std::abs(a);
            cells.setCell(row, LineRole::Amount, amount(cells.lineApp(), a));
            const double q = LeadValue(cells.cell(row, LineRole::Quantity));
            if (q != 0)
                cells.setCell(row, LineRole::Price, price(cells.lineApp(), a / q));
        };
        break;
    case LineRole::Remark:
        c.weight = 16;
        c.show = [](const App&, const StockDocLine& l) { return l.remark; };
        c.store = [](StockDocLine& l, const QString& t) { l.remark = t; };
        c.next = [](const LineCells&, int) { return to(LineRole::Code, 1); };
        break;
    case LineRole::Proposed:
        // The price proposed when the goods was put on the line: kept, never shown.
        c.weight = 0;
        c.shown = [](const LineCells&) { return false; };
        c.show = [](const App&, const StockDocLine& l) { return l.proposed ? NumText(*l.proposed) : QString(); };
        c.store = [](StockDocLine& l, const QString& t) {
            if (!t.isEmpty())
                l.proposed = t.toDouble();
        };
        c.editable = [](const LineCells&, bool) { return false; };
        break;
    default:
        c.weight = 10;
        break;
    }
    return c;
}

LineColumn CompletedLineColumn(const LineColumn& column)
{
    const LineColumn standard = StandardLineColumn(column.role, column.header);
    LineColumn c = column;
    if (!c.defaultHeader)
        c.defaultHeader = standard.defaultHeader;
    if (c.weight < 0)
        c.weight = standard.weight;
    if (!c.shown)
        c.shown = standard.shown;
    if (!c.show)
        c.show = standard.show;
    if (!c.store)
        c.store = standard.store;
    if (!c.editable)
        c.editable = standard.editable;
    if (!c.numeric)
        c.numeric = standard.numeric;
    if (!c.editText)
        c.editText = standard.editText;
    if (!c.commit)
        c.commit = standard.commit;
    if (!c.next)
        c.next = standard.next;
    if (!c.alarm)
        c.alarm = standard.alarm;
    return c;
}
