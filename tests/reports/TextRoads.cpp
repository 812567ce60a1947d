#include "TextRoads.h"

#include "exchange/ImportRuns.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "reports/StockStatistics.h"

QStringList StockListCodesByName(Database& db, const QString& typedName)
{
    StockListFilter f;
    f.filterRun = true;
    f.name = typedName;
    QStringList codes;
    for (const StockListRow& row : ListStock(db, f, PriceBasis::Cost))
        codes << row.code;
    return codes;
}

QString ImportGoodsNamed(Database& db, const QString& code, const QString& name)
{
    GridModel g;
    g.setRows(1);
    g.setCols(2);
    g.setData(1, 2, {code, name});
    g.setText(0, 0, QStringLiteral("A"));
    g.setText(0, 1, QStringLiteral("B"));
    GoodsImportInput in;
    in.grid = &g;
    in.mapping = QStringList(GoodsFieldCount, QString());
    in.mapping[GCode] = QStringLiteral("A");
    in.mapping[GName] = QStringLiteral("B");
    in.defaultCategoryCode = QStringLiteral("000");
    in.defaultCategoryName = QStringLiteral("无类别");
    const ImportOutcome out = RunGoodsImport(db, in, [](const QString&) { return int(MB::No); });
    return out.ok() ? QString() : out.message;
}
