#include "TextRoads.h"
#include "basicdata/GoodsSave.h"
#include "basicdata/QueryGoodsSearch.h"
#include "core/SqlText.h"
#include "forms/QueryConditions.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// One rule for every text: what is stored is what was typed, and every search
// finds it by typing it again. Each road that stores a goods name is crossed
// with each road that searches for one.
class TestTextAsTyped : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everySearchFindsWhatEveryStoreKept_data();
    void everySearchFindsWhatEveryStoreKept();
};

namespace {

// Stores goods "T1" named `name` through one road; "" when stored.
QString store(Database& db, const QString& road, const QString& name)
{
    if (road == QLatin1String("goods window")) {
        GoodsInput in;
        in.code = QStringLiteral("T1");
        in.name = name;
        in.category = QStringLiteral("000.无类别");
        in.unit = QStringLiteral("个");
        const GoodsSaveOutcome out = SaveGoods(db, GoodsSaveContext{}, in);
        return out.saved() ? QString() : out.message;
    }
    if (road == QLatin1String("picker quick add"))
        return QuickAddGoods(db, {QStringLiteral("000"), QStringLiteral("T1"), name, {}, QStringLiteral("个"), {}});
    return ImportGoodsNamed(db, QStringLiteral("T1"), name);
}

// The codes one search road finds for the typed name.
QStringList search(Database& db, const QString& road, const QString& typed)
{
    QStringList codes;
    if (road == QLatin1String("goods picker")) {
        // As the picker window passes its name box on.
        GoodsSearch s;
        s.name = SqlSafe(typed);
        const GoodsSearchResult r = SearchGoods(db, s);
        for (int i = 0; i < r.rows; ++i)
            codes << r.cells[size_t(i) * GoodsSearchColumns];
        return codes;
    }
    if (road == QLatin1String("stock list filter"))
        return StockListCodesByName(db, typed);
    const QueryField name{QStringLiteral("名称"), QStringLiteral("F2"), QueryFieldType::Text};
    const QueryOp op = road == QLatin1String("query dialog contains") ? QueryOp::Like : QueryOp::Equal;
    const QString sql = QueryStatement(QStringLiteral("SELECT F1 FROM TA4 "),
                                       {MakeQueryCondition(QueryJoin::First, name, op, typed)});
    const RecordSet rs = db.query(sql);
    for (int r = 0; r < rs.rowCount(); ++r)
        codes << rs.text(r, 0);
    return codes;
}

}  // namespace

void TestTextAsTyped::everySearchFindsWhatEveryStoreKept_data()
{
    QTest::addColumn<QString>("storeRoad");
    QTest::addColumn<QString>("searchRoad");
    QTest::addColumn<QString>("name");
    const char* stores[] = {"goods window", "goods import", "picker quick add"};
    const char* searches[] = {"goods picker", "query dialog contains", "query dialog equals", "stock list filter"};
    const QStringList names{QStringLiteral("O'Brien螺丝"), QStringLiteral("say \"hi\""), QStringLiteral("why? 50%_off"),
                            QStringLiteral("it’s curly")};
    for (const char* st : stores)
        for (const char* se : searches)
            for (int n = 0; n < names.size(); ++n)
                QTest::newRow(qPrintable(QStringLiteral("%1 / %2 / %3").arg(QLatin1String(st), QLatin1String(se)).arg(n)))
                    << QString::fromLatin1(st) << QString::fromLatin1(se) << names[n];
}

void TestTextAsTyped::everySearchFindsWhatEveryStoreKept()
{
    QFETCH(QString, storeRoad);
    QFETCH(QString, searchRoad);
    QFETCH(QString, name);
    FreshAccountSet set;
    Database& db = set.db();
    QCOMPARE(store(db, storeRoad, name), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = 'T1'")).toString(), name);
    QCOMPARE(search(db, searchRoad, name), QStringList{QStringLiteral("T1")});
}

VX_REGISTER_TEST(TestTextAsTyped)
#include "tst_textastyped.moc"
