#include "documents/outbound/Assembly.h"

#include "basicdata/QueryGoods.h"
#include "basicdata/Structure.h"
#include "core/App.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocPolicy.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/LineGridHost.h"

#include <QLabel>
#include <QLineEdit>

std::optional<AssemblyProduct> FindAssemblyProduct(const Database& db, const QString& code)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, F2 || ' ' || F5, F4 FROM TA4 WHERE F1 = ? AND F11 = '1' LIMIT 1"),
                                  {code.trimmed()});
    if (rs.isEmpty())
        return std::nullopt;
    return AssemblyProduct{rs.text(0, 0), rs.text(0, 1), rs.text(0, 2)};
}

QVector<AssemblyLine> AssemblyLines(const Database& db, const QString& product, double quantity, bool department)
{
    const QVector<StructureLine> parts =
        LoadStructure(db, product.trimmed(), department ? PriceBasis::Cost : PriceBasis::Sale);
    QVector<AssemblyLine> lines;
    lines.reserve(parts.size());
    for (const StructureLine& p : parts) {
        AssemblyLine l;
        l.part = p.part;
        l.name = p.shownName;
        l.unit = p.unit;
        l.qty = p.usage * quantity;
        l.known = p.known;
        l.price = p.price;
        l.amount = p.usage * l.price * quantity;
        l.remark = p.remark;
        lines << l;
    }
    return lines;
}

double AssemblyQuantity(const QString& text)
{
    return BoxValue(text);
}

namespace {

void putLine(const App& app, const StockDocPolicy& policy, Grid* grid, int row, const AssemblyLine& l)
{
    auto put = [&](LineRole role, const QString& text) {
        const int c = policy.columnOf(role);
        if (c >= 0)
            grid->setTextMatrix(row, c, text);
    };
    put(LineRole::Code, l.part);
    put(LineRole::Name, l.name);
    put(LineRole::Quantity, l.known ? NumText(l.qty) + QLatin1Char(' ') + l.unit : NumText(l.qty));
    if (l.known) {
        put(LineRole::Price, FormatNumber(l.price, app.PriceFormat));
        put(LineRole::Amount, FormatNumber(l.amount, app.AmountFormat));
    }
    put(LineRole::Remark, l.remark);
}

}  // namespace

bool FillAssemblyLines(App& app, const StockDocPolicy& policy, const AssemblyRow& row, LineGridHost& host)
{
    const QString code = row.code->text().trimmed();
    if (code.isEmpty()) {
        MsgBox(QStringLiteral("请先填写要组装的产品编码！"));
        return false;
    }
    const std::optional<AssemblyProduct> product = FindAssemblyProduct(app.CurrentDatabase, code);
    if (!product) {
        MsgBox(QStringLiteral("您填写的[") + code + QStringLiteral("]不是一个有效的产品编码，或者系统中还没有[") + code +
               QStringLiteral("]的产品构成表！"));
        row.code->setText(*row.accepted);
        return false;
    }
    Grid* grid = host.GdMx();
    const int codeCol = std::max(0, policy.columnOf(LineRole::Code));
    if (grid->rows() > 1 && !grid->textMatrix(1, codeCol).isEmpty()) {
        const int answer = MsgBox(QStringLiteral("此操作需要先清除本出库单明细表中的所有") + app.PartTerm +
                                      QStringLiteral("数据，真的要继续吗？"),
                                  MB::OKCancel | MB::Question | MB::DefaultButton2);
        if (answer != MB::OK) {
            row.code->setText(*row.accepted);
            return false;
        }
    }
    row.name->setText(product->nameSpec);
    row.unit->setText(product->unit);
    *row.accepted = code;
    double q = AssemblyQuantity(row.quantity->text());
    if (q == 0) {
        row.quantity->setText(QStringLiteral("1"));
        q = 1;
    }

    const QVector<AssemblyLine> lines = AssemblyLines(app.CurrentDatabase, code, q, policy.department());
    grid->setRows(1);
    grid->setRows(int(lines.size()) + 2);
    for (int i = 0; i < lines.size(); ++i)
        putLine(app, policy, grid, i + 1, lines[i]);
    host.setCurMxR(1);
    return true;
}

bool RefreshAssemblyLines(App& app, const StockDocPolicy& policy, const AssemblyRow& row, LineGridHost& host)
{
    const double q = AssemblyQuantity(row.quantity->text());
    if (q == 0) {
        MsgBox(QStringLiteral("请填写组装数量！"));
        return false;
    }
    const int answer = MsgBox(QStringLiteral("此操作将按照[") + row.name->text() +
                                  QStringLiteral("]的产品构成表及组装数量（") + NumText(q) +
                                  QStringLiteral("）刷新零件的用量！真要要继续吗？"),
                              MB::OKCancel | MB::Question | MB::DefaultButton2);
    if (answer != MB::OK)
        return false;
    return FillAssemblyLines(app, policy, row, host);
}

void PickAssemblyProduct(App& app, const AssemblyRow& row, QWidget* window)
{
    GoodsPickRequest request;
    request.preset = row.code->text();
    request.onlyWithStructure = true;
    request.quickAdd = false;
    const QString code = PickGoods(app, request, window);
    if (code.isEmpty())
        return;
    row.code->setText(code);
    row.name->setText(GoodsName(app.CurrentDatabase, code));
}
