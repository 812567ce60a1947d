#include "core/DocTypes.h"
#include "core/Permissions.h"
#include "support/TestRegistry.h"

#include <QTest>

// The table of document types against the codes the stored books carry:
// TB1.LB, the signs of TB11.F6 and TB1.F9, the flow columns, the rights word,
// the settings rows and the first print layout of each type.
class TestDocTypes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typeFacts_data();
    void typeFacts();
    void kindAndModeFindTheType();
    void stocktakingCarriesItsFixedNames();
};

void TestDocTypes::typeFacts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("unitKind");
    QTest::addColumn<int>("lineSign");
    QTest::addColumn<int>("headerSign");
    QTest::addColumn<bool>("flowIn");
    QTest::addColumn<int>("rights");
    QTest::addColumn<QString>("layoutOne");

    QTest::newRow("purchase receipt") << 81 << 1 << 0 << 1 << 1 << true << 2 << "采购入库一";
    QTest::newRow("purchase return") << 82 << 2 << 0 << -1 << -1 << false << 2 << "采购退货一";
    QTest::newRow("production receipt") << 83 << 1 << 8 << 1 << 1 << true << 2 << "产品入库一";
    QTest::newRow("rework return") << 84 << 2 << 8 << -1 << -1 << false << 2 << "次品返工一";
    QTest::newRow("department issue") << 85 << 3 << 8 << -1 << 1 << false << 4 << "领用单一";
    QTest::newRow("department return") << 86 << 4 << 8 << 1 << -1 << true << 4 << "退料单一";
    QTest::newRow("sales delivery") << 87 << 3 << 1 << -1 << 1 << false << 4 << "销售单一";
    QTest::newRow("customer return") << 88 << 4 << 1 << 1 << -1 << true << 4 << "退货单一";
}

void TestDocTypes::typeFacts()
{
    QFETCH(int, type);
    QFETCH(int, kind);
    QFETCH(int, unitKind);
    QFETCH(int, lineSign);
    QFETCH(int, headerSign);
    QFETCH(bool, flowIn);
    QFETCH(int, rights);
    QFETCH(QString, layoutOne);

    const std::optional<DocType> t = DocTypeOfSetting(type);
    QVERIFY(t);
    const DocTypeInfo& info = DocTypeOf(*t);
    QCOMPARE(code(info.type), type);
    QCOMPARE(code(info.kind), kind);
    QCOMPARE(code(info.counterParty), unitKind);
    QCOMPARE(info.lineSign, lineSign);
    QCOMPARE(info.headerSign, headerSign);
    QCOMPARE(info.flowSide == StockSide::In, flowIn);
    // Goods that come in stand on the in side of the reports; a return negates its own side.
    QCOMPARE(info.reportSide == StockSide::In, kind == 1 || kind == 2);
    QCOMPARE(info.rightGroup, rights);
    QCOMPARE(info.nameSetting(), type);
    QCOMPARE(info.extraItemSetting(), type + 100);
    QCOMPARE(QString::fromUtf8(info.layouts[0].layoutId), layoutOne);
    // Deliveries and issues print their own line columns (discounts), so they have templates of their own.
    const QString templates = kind == 3 ? QStringLiteral("pckd") : QStringLiteral("pdan");
    QCOMPARE(QString::fromUtf8(info.layouts[0].templateFile), templates + QStringLiteral("1.vxp"));
    QCOMPARE(QString::fromUtf8(info.layouts[1].templateFile), templates + QStringLiteral("2.vxp"));
    QCOMPARE(info.layouts[2].layoutId != nullptr, type == code(DocType::SalesDelivery));
}

void TestDocTypes::kindAndModeFindTheType()
{
    for (const DocTypeInfo& t : DocTypes())
        QCOMPARE(DocTypeFor(t.kind, t.department()), std::optional<DocType>(t.type));
    QCOMPARE(DocTypeFor(DocKind::Stocktaking, false), std::optional<DocType>());
    QCOMPARE(DocTypeOfSetting(80), std::optional<DocType>());
    QCOMPARE(DocTypeOfSetting(181), std::optional<DocType>());
}

// Stocktaking has no name row: its name, prefix, counter-party and extra-item row are
// the table's, and it is none of the eight configurable types.
void TestDocTypes::stocktakingCarriesItsFixedNames()
{
    const DocTypeInfo& t = DocTypeOf(DocType::Stocktaking);
    QCOMPARE(t.kind, DocKind::Stocktaking);
    QVERIFY(!t.configurable());
    QCOMPARE(QString::fromUtf8(t.fixedName), QStringLiteral("库存盘点"));
    QCOMPARE(QString::fromUtf8(t.fixedPrefix), QStringLiteral("PD"));
    QCOMPARE(QString::fromUtf8(t.fixedUnit), QStringLiteral("0000"));
    QCOMPARE(t.nameSetting(), 0);
    QCOMPARE(t.extraItemSetting(), 9181);
    QCOMPARE(t.rightGroup, int(RightStocktaking));
    QCOMPARE(QString::fromUtf8(t.layouts[0].layoutId), QStringLiteral("采购盘点一"));
    QCOMPARE(QString::fromUtf8(t.layouts[1].layoutId), QStringLiteral("采购盘点二"));
    for (const DocTypeInfo& other : DocTypes()) {
        QVERIFY(other.configurable());
        QVERIFY(other.type != DocType::Stocktaking);
    }
    QCOMPARE(DocTypeOfSetting(code(DocType::Stocktaking)), std::optional<DocType>());
}

VX_REGISTER_TEST(TestDocTypes)
#include "tst_doctypes.moc"
