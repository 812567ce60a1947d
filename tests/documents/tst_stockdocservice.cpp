#include "accountsets/Refresh.h"
#include "core/App.h"
#include "core/Posting.h"
#include "documents/common/StockDocExchange.h"
#include "documents/common/StockDocPrint.h"
#include "documents/common/StockDocService.h"
#include "print/PlistPrint.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "documents/StockDocTestSupport.h"
#include "support/Fixture.h"
#include "support/PostingReference.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTest>

// The stock-document service on receipts: save, delete, audit and unaudit by
// number, read from the database, whole or nothing, and the running columns
// equal to the per-line posting cycle.
class TestStockDocService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savesVerbatimWithLinesNumbered();
    void failedSaveLeavesTheStoredDocument();
    void refusesWhatAnotherWorkstationChanged_data();
    void refusesWhatAnotherWorkstationChanged();
    void unchangedSaveStoresWhatWasStored_data();
    void unchangedSaveStoresWhatWasStored();
    void serialCountsHeadersWithoutLines();
    void productionReceiptStaysSettled();
    void searchConditionCannotEscapeTheKindFilter();
    void searchAnswerListsOnlyTheKindWithOrphans();
    void lineExportTexts();
    void backDatedAuditAndUnauditMatchPerLineCycle_data();
    void backDatedAuditAndUnauditMatchPerLineCycle();
    void outPriceFollowsTheKind_data();
    void outPriceFollowsTheKind();
    void backDatedReceiptRepricesLaterIssues();
    void referencePriceKeptWhenChanged();
    void printStaging();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = true)
{
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = attribute ? QStringLiteral("批号") : QString();
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, 0});
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("G3")}) {
        GoodsSpec spec{g, QStringLiteral("货品") + g};
        spec.openingQty = 3;
        spec.openingPrice = 3.33;
        spec.openingAmount = 10;
        AddGoods(db, spec);
    }
}

QString save(FreshAccountSet& set, const StockDocPolicy& policy, StockDoc doc, const QString& old = {})
{
    return SaveStockDoc(set.app(), policy, StockDocTypeName(set.db(), policy), doc, old);
}

QString copyOf(FreshAccountSet& set, const QString& name)
{
    const QString path = set.folder() + name;
    QFile::copy(set.setPath(), path);
    return path;
}

void postHistory(Database& db, const PostingRules& rules)
{
    DocSpec in{QStringLiteral("H1"), QDate(2024, 5, 1), QStringLiteral("A001")};
    in.lines = {{QStringLiteral("G1"), 7, 3.1, QStringLiteral("A")}, {QStringLiteral("G2"), 5, 2.2}};
    DocSpec out{QStringLiteral("H2"), QDate(2024, 5, 5), QStringLiteral("B001"), DocKind::Outbound};
    out.lines = {{QStringLiteral("G1"), 4, 9, QStringLiteral("A")}, {QStringLiteral("G2"), 1, 9}};
    DocSpec in2{QStringLiteral("H3"), QDate(2024, 5, 9), QStringLiteral("A001")};
    in2.lines = {{QStringLiteral("G1"), 2, 4.75, QStringLiteral("B")}};
    DocSpec out2{QStringLiteral("H4"), QDate(2024, 5, 12), QStringLiteral("B001"), DocKind::Outbound};
    out2.lines = {{QStringLiteral("G1"), 5, 9, QStringLiteral("A")}, {QStringLiteral("G2"), 3, 9}};
    int i = 0;
    for (const DocSpec& d : {in, out, in2, out2}) {
        AddDocument(db, d);
        PostDocument(db, rules, d.number, QStringLiteral("张三"), {10.0 * ++i, 0}, StoredKindRule(db, d.number));
    }
}

// G1 without opening stock receives 3 for 10.00 on 2024-05-01 (price 3.33).
void receiveThreeForTen(Database& db, const PostingRules& rules)
{
    db.execute(QStringLiteral("UPDATE TA4 SET V3 = 0, V4 = 0, V5 = 0 WHERE F1 = 'G1'"));
    DocSpec first{QStringLiteral("RK0"), QDate(2024, 5, 1), QStringLiteral("A001")};
    first.lines = {{QStringLiteral("G1"), 3, 10.0 / 3}};
    AddDocument(db, first);
    PostDocument(db, rules, QStringLiteral("RK0"), QStringLiteral("张三"), {}, OutPriceRule::Zero);
}

}  // namespace

void TestStockDocService::savesVerbatimWithLinesNumbered()
{
    FreshAccountSet set;
    prepare(set);
    StockDoc doc = stockDoc(QStringLiteral("RK2405130001"), QDate(2024, 5, 13), QStringLiteral("a001"),
                           {stockLine(QStringLiteral("g1"), 2, 3.5, QStringLiteral("O'1"), QStringLiteral("it's")),
                            stockLine(QString(), 0, 0), stockLine(QStringLiteral("G2"), 1, 4)});
    doc.head.note = QStringLiteral("O'Neil's \"note\"");
    doc.head.extra = QStringLiteral("x'y");
    QCOMPARE(save(set, PurchaseReceiptPolicy(), doc), QString());

    Database& db = set.db();
    const RecordSet lines = db.query(QStringLiteral("SELECT Oid, F1, HPSX, F9, F6, F8, R6, R148, V1, LB FROM TB11 "
                                                    "ORDER BY Oid"));
    QCOMPARE(lines.rowCount(), 2);
    QCOMPARE(lines.text(0, 0) + lines.text(1, 0), QStringLiteral("12"));
    QCOMPARE(lines.text(0, 1), QStringLiteral("G1"));
    QCOMPARE(lines.text(0, 2), QStringLiteral("O'1"));
    QCOMPARE(lines.text(0, 3), QStringLiteral("it's"));
    QCOMPARE(lines.value(0, 6).toDouble(), 2.0);
    QCOMPARE(lines.value(0, 7).toDouble(), 7.0);
    QCOMPARE(lines.value(0, 8).toInt(), 1);
    const RecordSet head = db.query(QStringLiteral("SELECT F3, F9, F10, OD, S2, LB, K, Kstr, SRT, F6 FROM TB1"));
    QCOMPARE(head.text(0, 0), QStringLiteral("A001"));
    QCOMPARE(head.value(0, 1).toDouble(), 11.0);
    QCOMPARE(head.text(0, 2), QStringLiteral("O'Neil's \"note\""));
    QCOMPARE(head.text(0, 3), QStringLiteral("x'y"));
    QCOMPARE(head.text(0, 4), QStringLiteral("采购入库单"));
    QCOMPARE(head.text(0, 7), QStringLiteral("记入应付账"));

    // Every stored line is stamped by the audit and cleared by the unaudit.
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK2405130001")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT = '' OR SH = ''")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT QM FROM TB1")).toDouble(), 111.0);
    QCOMPARE(UnauditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK2405130001")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> '' OR SH <> ''")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 3.0);

    const std::optional<StockDoc> loaded = LoadStockDoc(db, QStringLiteral("RK2405130001"));
    QVERIFY(loaded);
    QCOMPARE(loaded->lines.size(), 2);
    QCOMPARE(loaded->lines[0].name, QStringLiteral("货品G1/"));
    QCOMPARE(loaded->head.note, doc.head.note);
}

void TestStockDocService::failedSaveLeavesTheStoredDocument()
{
    FreshAccountSet set;
    prepare(set);
    const QString no = QStringLiteral("RK2405130001");
    QCOMPARE(save(set, PurchaseReceiptPolicy(),
                  stockDoc(no, QDate(2024, 5, 13), QStringLiteral("A001"), {stockLine(QStringLiteral("G1"), 2, 3)})),
             QString());
    const QStringList before = PostingSnapshot(set.db());
    set.db().execute(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON TB11 WHEN NEW.F1 = 'G3' "
                                    "BEGIN SELECT RAISE(ABORT, 'injected'); END"));
    StockDoc edited = stockDoc(no, QDate(2024, 5, 14), QStringLiteral("A001"),
                              {stockLine(QStringLiteral("G2"), 5, 1), stockLine(QStringLiteral("G3"), 1, 1)});
    edited.loadedStamp = LoadStockDoc(set.db(), no)->loadedStamp;
    QVERIFY_THROWS_EXCEPTION(DbError, save(set, PurchaseReceiptPolicy(), edited, no));
    QVERIFY(!set.db().inTransaction());
    QCOMPARE(PostingSnapshot(set.db()), before);
}

void TestStockDocService::refusesWhatAnotherWorkstationChanged_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("message");
    const QString notSaved = QStringLiteral("此单据在本窗口打开之后已被其他工作站修改、删除或审核，本次修改没有保存！"
                                            "\r\r请重新打开该单据再修改。");
    const QString notDeleted = QStringLiteral("此单据在本窗口打开之后已被其他工作站修改、删除或审核，没有删除！"
                                              "\r\r请重新打开该单据再操作。");
    QTest::newRow("edit, audited") << "edit" << "audit" << "此单据已经审核，不可修改！";
    QTest::newRow("delete, audited") << "delete" << "audit" << "该单据已审核，不能删除！";
    QTest::newRow("audit, audited") << "audit" << "audit" << "该单据已审核，不需要再次审核！";
    QTest::newRow("unaudit, unaudited") << "unaudit" << "unaudit" << "该单据未审核，不能执行撤销审核！";
    QTest::newRow("edit, changed") << "edit" << "change" << notSaved;
    QTest::newRow("edit, deleted") << "edit" << "delete" << notSaved;
    QTest::newRow("edit, audited and taken back") << "edit" << "audit+unaudit" << notSaved;
    QTest::newRow("delete, changed") << "delete" << "change" << notDeleted;
    QTest::newRow("delete, deleted") << "delete" << "delete" << notDeleted;
    QTest::newRow("edit, never loaded") << "edit" << "" << notSaved;
}

// Two workstations on one file: this one loads the document, the other (its own
// connection and service) acts on it, then this one's save, delete, audit or unaudit
// must refuse and write nothing.
void TestStockDocService::refusesWhatAnotherWorkstationChanged()
{
    QFETCH(QString, action);
    QFETCH(QString, meanwhile);
    QFETCH(QString, message);
    FreshAccountSet set;
    prepare(set);
    const StockDocPolicy policy = PurchaseReceiptPolicy();
    const QString no = QStringLiteral("RK2405130001");
    QCOMPARE(save(set, policy, stockDoc(no, QDate(2024, 5, 13), QStringLiteral("A001"),
                                       {stockLine(QStringLiteral("G1"), 2, 3), stockLine(QStringLiteral("G2"), 1, 4)})),
             QString());
    if (action == QLatin1String("unaudit"))
        QCOMPARE(AuditStockDoc(set.app(), policy, no), QString());
    StockDoc loaded = *LoadStockDoc(set.db(), no);
    if (meanwhile.isEmpty())
        loaded.loadedStamp.clear();

    {
        App other;
        other.CurrentDatabase.open(set.setPath());
        other.OperatorName = QStringLiteral("李四");
        const QString typeName = StockDocTypeName(other.CurrentDatabase, policy);
        if (meanwhile.startsWith(QLatin1String("audit")))
            QCOMPARE(AuditStockDoc(other, policy, no), QString());
        if (meanwhile.endsWith(QLatin1String("unaudit")))
            QCOMPARE(UnauditStockDoc(other, policy, no), QString());
        if (meanwhile == QLatin1String("change")) {
            StockDoc theirs = *LoadStockDoc(other.CurrentDatabase, no);
            theirs.lines[0].qty = 7;
            theirs.lines[0].amount = 21;
            QCOMPARE(SaveStockDoc(other, policy, typeName, theirs, no), QString());
        }
        if (meanwhile == QLatin1String("delete"))
            QCOMPARE(DeleteStockDoc(other, no, LoadStockDoc(other.CurrentDatabase, no)->loadedStamp), QString());
    }
    const QStringList before = PostingSnapshot(set.db());
    QString answer;
    if (action == QLatin1String("edit")) {
        loaded.lines[1].qty = 5;
        loaded.lines[1].amount = 20;
        answer = save(set, policy, loaded, no);
    } else if (action == QLatin1String("delete")) {
        answer = DeleteStockDoc(set.app(), no, loaded.loadedStamp);
    } else if (action == QLatin1String("audit")) {
        answer = AuditStockDoc(set.app(), policy, no);
    } else {
        answer = UnauditStockDoc(set.app(), policy, no);
    }
    QCOMPARE(answer, message);
    QCOMPARE(PostingSnapshot(set.db()), before);
    QVERIFY(!set.db().inTransaction());
}

void TestStockDocService::unchangedSaveStoresWhatWasStored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("sign");
    for (const char* kind : {"purchase receipt", "production receipt", "sales delivery", "department issue"}) {
        QTest::addRow("%s, positive", kind) << QString::fromLatin1(kind) << 1;
        QTest::addRow("%s, negative", kind) << QString::fromLatin1(kind) << -1;
    }
}

// Negative lines are allowed while setting 3 is 0; loading a document and saving it
// unchanged stores exactly what was stored, every column of header and lines.
void TestStockDocService::unchangedSaveStoresWhatWasStored()
{
    QFETCH(QString, kind);
    QFETCH(int, sign);
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const QMap<QString, std::pair<StockDocPolicy, QString>> kinds{
        {QStringLiteral("purchase receipt"), {PurchaseReceiptPolicy(), QStringLiteral("A001")}},
        {QStringLiteral("production receipt"), {ProductionReceiptPolicy(), QStringLiteral("P001")}},
        {QStringLiteral("sales delivery"), {SalesDeliveryPolicy(), QStringLiteral("B001")}},
        {QStringLiteral("department issue"), {DepartmentIssuePolicy(), QStringLiteral("P001")}}};
    const auto& [policy, unit] = kinds.value(kind);
    StockDoc doc = stockDoc(QStringLiteral("D1"), QDate(2024, 5, 13), unit,
                            {stockLine(QStringLiteral("G1"), sign * 2, 3.5, QStringLiteral("A"), QStringLiteral("it's")),
                             stockLine(QStringLiteral("G2"), sign * 1.5, 4), stockLine(QStringLiteral("G3"), 3, 0.25)});
    doc.lines[0].originalPrice = 4;
    doc.lines[0].discount = 0.875;
    doc.head.note = QStringLiteral("备注");
    doc.head.paid = 1;
    QCOMPARE(save(set, policy, doc), QString());
    // Rows coloured from the list's menu keep their colours too.
    db.execute(QStringLiteral("UPDATE TB11 SET BColor = 255, FColor = 65280 WHERE Oid = 2"));
    db.execute(QStringLiteral("UPDATE TB1 SET BColor = 16776960"));

    const RecordSet first = db.query(QStringLiteral("SELECT F6, F8, C6, C7, C8 FROM TB11 WHERE Oid = 1"));
    QCOMPARE(first.number(0, 0), policy.docType().lineSign * sign * 2.0);
    QCOMPARE(first.number(0, 1), policy.docType().lineSign * sign * 7.0);
    if (policy.docType().reportSide == StockSide::Out) {
        // The out side holds the line as typed: quantity, price and amount.
        QCOMPARE(first.number(0, 2), sign * 2.0);
        QCOMPARE(first.number(0, 3), 3.5);
        QCOMPARE(first.number(0, 4), sign * 7.0);
    }
    const QStringList stored = PostingSnapshot(db);
    StockDoc loaded = *LoadStockDoc(db, QStringLiteral("D1"));
    QCOMPARE(loaded.lines[0].qty, sign * 2.0);
    QCOMPARE(loaded.lines[0].amount, sign * 7.0);
    QCOMPARE(save(set, policy, loaded, QStringLiteral("D1")), QString());
    QCOMPARE(PostingSnapshot(db), stored);

    // The data refresh with totals values an unaudited issue by the same columns.
    RefreshDocumentTotals(db);
    QCOMPARE(PostingSnapshot(db), stored);
}

void TestStockDocService::serialCountsHeadersWithoutLines()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, F9, K9, K, LB, S2, SRT) "
                              "VALUES ('EMPTY', '2024-05-13', 'A001', '', 0, 0, 0, 1, '采购入库单', '')"));
    QCOMPARE(PostDocument(db, PostingRules{}, QStringLiteral("EMPTY"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("EMPTY"))),
             QStringLiteral("S202405130001"));
    QCOMPARE(save(set, PurchaseReceiptPolicy(),
                  stockDoc(QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001"),
                          {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK1")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = 'RK1'")).toString(),
             QStringLiteral("S202405130002"));
}

void TestStockDocService::productionReceiptStaysSettled()
{
    FreshAccountSet set;
    prepare(set);
    StockDoc doc = stockDoc(QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("P001"),
                           {stockLine(QStringLiteral("G1"), 3, 100.5)});
    doc.head.settlement = 0;
    QCOMPARE(save(set, ProductionReceiptPolicy(), doc), QString());
    QCOMPARE(AuditStockDoc(set.app(), ProductionReceiptPolicy(), QStringLiteral("RK1")), QString());
    const RecordSet head = set.db().query(QStringLiteral("SELECT K, Kstr, S2, QC, YF, FK, QM FROM TB1"));
    QCOMPARE(head.value(0, 0).toInt(), 1);
    QCOMPARE(head.text(0, 1), QStringLiteral("零付款结算"));
    QCOMPARE(head.text(0, 2), QStringLiteral("生产入库单"));
    QCOMPARE(head.value(0, 4).toDouble(), 0.0);
    QCOMPARE(head.value(0, 6).toDouble(), head.value(0, 3).toDouble());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT V1 FROM TB11")).toInt(), 0);
}

void TestStockDocService::searchConditionCannotEscapeTheKindFilter()
{
    FreshAccountSet set;
    prepare(set);
    QCOMPARE(save(set, PurchaseReceiptPolicy(),
                  stockDoc(QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001"),
                          {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(save(set, ProductionReceiptPolicy(),
                  stockDoc(QStringLiteral("SC1"), QDate(2024, 5, 13), QStringLiteral("P001"),
                          {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    const StockDocPolicy p = PurchaseReceiptPolicy();
    const StockDocList list = ListStockDocs(set.db(), p, StockDocTypeName(set.db(), p),
                                            QStringLiteral("TB1.F1 = ? OR 1 = 1"), {QStringLiteral("X")},
                                            QStringLiteral("#0.00"));
    QCOMPARE(list.rows, 1);
    QCOMPARE(list.cells[0], QStringLiteral("RK1"));
    QCOMPARE(list.cells[1], QStringLiteral("2024-5-13"));
    QCOMPARE(list.cells[5], QStringLiteral("1.00"));
}

void TestStockDocService::searchAnswerListsOnlyTheKindWithOrphans()
{
    FreshAccountSet set;
    prepare(set);
    AddUnit(set.db(), {QStringLiteral("A002"), QStringLiteral("供应商二"), UnitKind::Supplier, 0});
    const QDate day(2024, 5, 13);
    QCOMPARE(save(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("RK1"), day, QStringLiteral("A001"),
                                                          {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(save(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("RK3"), day, QStringLiteral("A002"),
                                                          {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(save(set, ProductionReceiptPolicy(), stockDoc(QStringLiteral("SC1"), day, QStringLiteral("P001"),
                                                            {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    set.db().execute(QStringLiteral("DELETE FROM TA1 WHERE F1 = 'A002'"));

    // "编号 = RK1 或者 编号 = SC1 或者 编号 = RK3", as the search dialog answers it.
    const QVector<QueryField> fields = StockDocSearchFields({QStringLiteral("入库单号")});
    QCOMPARE(fields.size(), 7);
    QVector<QueryCondition> conditions;
    for (const char* no : {"RK1", "SC1", "RK3"})
        conditions << MakeQueryCondition(conditions.isEmpty() ? QueryJoin::First : QueryJoin::Or, fields[0],
                                         QueryOp::Equal, QString::fromLatin1(no));
    const std::optional<QString> condition =
        StockDocSearchCondition(QueryStatement(StockDocSearchHead(), conditions));
    QVERIFY(condition);
    const StockDocPolicy p = PurchaseReceiptPolicy();
    const QString type = StockDocTypeName(set.db(), p);
    StockDocList list = ListStockDocs(set.db(), p, type, *condition, {}, QStringLiteral("#0.00"), true);
    QCOMPARE(list.rows, 2);
    QCOMPARE(list.cells[0], QStringLiteral("RK1"));
    QCOMPARE(list.cells[StockDocListColumns], QStringLiteral("RK3"));
    QCOMPARE(list.cells[StockDocListColumns + 2], QString());  // its unit is gone
    // The opening list joins the units: the orphan is left out there.
    QCOMPARE(ListStockDocs(set.db(), p, type, *condition, {}, QStringLiteral("#0.00")).rows, 1);
    // No condition: every document of the type; a cancelled search: nothing to load.
    QCOMPARE(*StockDocSearchCondition(QueryStatement(StockDocSearchHead(), {})), QString());
    QVERIFY(!StockDocSearchCondition(QString()));
    // The extra header item is searched only when it is configured.
    QStringList headers(12);
    headers[11] = QStringLiteral("合同号");
    QCOMPARE(StockDocSearchFields(headers).size(), 8);
    QCOMPARE(StockDocSearchFields(headers).last().column, QStringLiteral("TB1.OD"));
}

void TestStockDocService::lineExportTexts()
{
    // Three caption,value pairs before the lines; the footer starts with a comma and
    // puts a carriage return between the auditor and the note. Texts stay as typed.
    QCOMPARE(StockDocExportHeader({{QStringLiteral("入库单号"), QStringLiteral("RK1")},
                                   {QStringLiteral("入库日期"), QStringLiteral("2024-5-13")},
                                   {QStringLiteral("供货单位"), QStringLiteral("甲,乙")}}),
             QStringLiteral("入库单号,RK1,入库日期,2024-5-13,供货单位,甲,乙"));
    QCOMPARE(StockDocExportFooter({{QStringLiteral("录入员"), QStringLiteral("张三")},
                                   {QStringLiteral("审核人"), QString()}},
                                  {QStringLiteral("附注"), QStringLiteral("O'Neil")}),
             QStringLiteral(",录入员,张三,审核人,\r附注,O'Neil"));
}

void TestStockDocService::backDatedAuditAndUnauditMatchPerLineCycle_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::addColumn<bool>("department");
    QTest::newRow("purchase, with attribute") << true << false;
    QTest::newRow("purchase, without attribute") << false << false;
    QTest::newRow("production, with attribute") << true << true;
    QTest::newRow("production, without attribute") << false << true;
}

void TestStockDocService::backDatedAuditAndUnauditMatchPerLineCycle()
{
    QFETCH(bool, attribute);
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set, attribute);
    const PostingRules rules = PostingRules::of(set.app());
    postHistory(set.db(), rules);
    const StockDocPolicy policy = department ? ProductionReceiptPolicy() : PurchaseReceiptPolicy();
    StockDoc doc = stockDoc(QStringLiteral("BACK"), QDate(2024, 5, 3), department ? QStringLiteral("P001")
                                                                                 : QStringLiteral("A001"),
                           {stockLine(QStringLiteral("G1"), 2, 5.55, QStringLiteral("A")),
                            stockLine(QStringLiteral("G2"), 4, 1.25), stockLine(QStringLiteral("G1"), 1, 7, QStringLiteral("B")),
                            stockLine(QStringLiteral("G3"), 2, 2)});
    doc.head.paid = 3;
    QCOMPARE(save(set, policy, doc), QString());

    Database copy;
    copy.open(copyOf(set, QStringLiteral("copy.vxs")));
    QCOMPARE(AuditStockDoc(set.app(), policy, QStringLiteral("BACK")), QString());
    const StockDocHeader head = LoadStockDoc(copy, QStringLiteral("BACK"))->head;
    PostLineByLine(copy, rules, QStringLiteral("BACK"), set.app().OperatorName,
                   StockDocBalanceMove(copy, policy, head), OutPriceRule::Zero);
    QCOMPARE(PostingSnapshot(set.db()), PostingSnapshot(copy));

    QCOMPARE(UnauditStockDoc(set.app(), policy, QStringLiteral("BACK")), QString());
    UnpostLineByLine(copy, rules, QStringLiteral("BACK"), OutPriceRule::Zero);
    QCOMPARE(PostingSnapshot(set.db()), PostingSnapshot(copy));
}

void TestStockDocService::outPriceFollowsTheKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("unaudit");
    QTest::addColumn<bool>("attribute");
    // A receipt of 3 at 10.00 (price 3.33); an issue of 1 goes out at 3.33 and leaves
    // 2 at 6.67, a running price of 3.34. What follows must go out at 3.34.
    QTest::newRow("receipt unaudited") << 1 << true << true;
    QTest::newRow("receipt unaudited, no attribute") << 1 << true << false;
    QTest::newRow("stocktaking shortage after an issue") << 7 << false << true;
    QTest::newRow("stocktaking shortage, no attribute") << 7 << false << false;
    QTest::newRow("return to supplier unaudited") << 2 << true << true;
}

void TestStockDocService::outPriceFollowsTheKind()
{
    QFETCH(int, kind);
    QFETCH(bool, unaudit);
    QFETCH(bool, attribute);
    FreshAccountSet set;
    prepare(set, attribute);
    Database& db = set.db();
    const PostingRules rules = PostingRules::of(set.app());
    receiveThreeForTen(db, rules);
    DocSpec issue{QStringLiteral("CK1"), QDate(2024, 5, 2), QStringLiteral("B001"), DocKind::Outbound};
    issue.lines = {{QStringLiteral("G1"), 1, 9}};
    AddDocument(db, issue);
    PostDocument(db, rules, QStringLiteral("CK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("CK1")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT C7 FROM TB11 WHERE F0 = 'CK1'")).toDouble(), 3.33);

    DocSpec middle{QStringLiteral("MID"), QDate(2024, 5, 3), QStringLiteral("A001"), DocKind(kind)};
    middle.lines = {{QStringLiteral("G1"), 1, 5, {}, 1, 2}};
    if (kind == 7)
        middle.unit = QStringLiteral("0000");
    AddDocument(db, middle);
    DocSpec later{QStringLiteral("CK2"), QDate(2024, 5, 4), QStringLiteral("B001"), DocKind::Outbound};
    later.lines = {{QStringLiteral("G1"), 1, 9}};
    AddDocument(db, later);
    PostDocument(db, rules, QStringLiteral("CK2"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("CK2")));
    if (unaudit)
        PostDocument(db, rules, QStringLiteral("MID"), QStringLiteral("张三"), {}, OutPriceRule::Zero);

    Database copy;
    copy.open(copyOf(set, QStringLiteral("copy.vxs")));
    if (unaudit) {
        UnpostDocument(db, rules, QStringLiteral("MID"), OutPriceRule::Zero);
        UnpostLineByLine(copy, rules, QStringLiteral("MID"), OutPriceRule::Zero);
        QCOMPARE(db.scalar(QStringLiteral("SELECT C7 FROM TB11 WHERE F0 = 'CK2'")).toDouble(), 3.34);
    } else {
        PostDocument(db, rules, QStringLiteral("MID"), QStringLiteral("张三"), {}, OutPriceRule::Zero);
        PostLineByLine(copy, rules, QStringLiteral("MID"), QStringLiteral("张三"), {}, OutPriceRule::Zero);
        QCOMPARE(db.scalar(QStringLiteral("SELECT C7 FROM TB11 WHERE F0 = 'MID'")).toDouble(), 3.34);
    }
    QCOMPARE(PostingSnapshot(db), PostingSnapshot(copy));
}

void TestStockDocService::backDatedReceiptRepricesLaterIssues()
{
    FreshAccountSet set;
    prepare(set, false);
    Database& db = set.db();
    const PostingRules rules = PostingRules::of(set.app());
    receiveThreeForTen(db, rules);
    for (const auto& [no, day] : {std::pair{QStringLiteral("CK1"), 2}, std::pair{QStringLiteral("CK2"), 4}}) {
        DocSpec issue{no, QDate(2024, 5, day), QStringLiteral("B001"), DocKind::Outbound};
        issue.lines = {{QStringLiteral("G1"), 1, 9}};
        AddDocument(db, issue);
        PostDocument(db, rules, no, QStringLiteral("张三"), {}, StoredKindRule(db, no));
    }

    // A receipt of 1 at 5.00 dated between the two issues, audited through the service.
    const StockDocPolicy policy = PurchaseReceiptPolicy();
    QCOMPARE(policy.audit.outPrice, OutPriceRule::Zero);
    QCOMPARE(ProductionReceiptPolicy().audit.outPrice, OutPriceRule::Zero);
    QCOMPARE(save(set, policy, stockDoc(QStringLiteral("MID"), QDate(2024, 5, 3), QStringLiteral("A001"),
                                       {stockLine(QStringLiteral("G1"), 1, 5)})),
             QString());
    Database copy;
    copy.open(copyOf(set, QStringLiteral("copy.vxs")));
    QCOMPARE(AuditStockDoc(set.app(), policy, QStringLiteral("MID")), QString());
    PostLineByLine(copy, rules, QStringLiteral("MID"), set.app().OperatorName,
                   StockDocBalanceMove(copy, policy, LoadStockDoc(copy, QStringLiteral("MID"))->head), policy.audit.outPrice);
    // The later issue goes out at the running price the receipt gave: (6.67 + 5) / 3.
    QCOMPARE(db.scalar(QStringLiteral("SELECT C7 FROM TB11 WHERE F0 = 'CK2'")).toDouble(), 3.89);
    QCOMPARE(PostingSnapshot(db), PostingSnapshot(copy));

    QCOMPARE(UnauditStockDoc(set.app(), policy, QStringLiteral("MID")), QString());
    UnpostLineByLine(copy, rules, QStringLiteral("MID"), policy.audit.outPrice);
    // Walked again from the receipt's place at the running price: 6.67 / 2.
    QCOMPARE(db.scalar(QStringLiteral("SELECT C7 FROM TB11 WHERE F0 = 'CK2'")).toDouble(), 3.34);
    QCOMPARE(PostingSnapshot(db), PostingSnapshot(copy));
}

void TestStockDocService::referencePriceKeptWhenChanged()
{
    FreshAccountSet set;
    prepare(set);
    set.app().InboundRefPrice = 1;
    set.db().execute(QStringLiteral("UPDATE TA4 SET RkF7 = 10 WHERE F1 = 'G1'"));
    std::optional<StockDocLine> proposed = GoodsForLine(set.app(), PurchaseReceiptPolicy(), QStringLiteral("G1"));
    QVERIFY(proposed);
    QCOMPARE(proposed->price, 10.0);
    StockDocLine changed = *proposed;
    changed.price = 12;
    changed.amount = 12;
    StockDocLine kept = *proposed;
    std::optional<StockDocLine> typed = GoodsForLine(set.app(), PurchaseReceiptPolicy(), QStringLiteral("G2"));
    typed->proposed.reset();
    typed->price = 7;
    QCOMPARE(save(set, PurchaseReceiptPolicy(),
                  stockDoc(QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001"), {changed, kept, *typed})),
             QString());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 12.0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM RkPrice")).toInt(), 1);
}

void TestStockDocService::printStaging()
{
    FreshAccountSet set;
    prepare(set);
    set.app().CompanyName = QStringLiteral("公司");
    StockDoc doc = stockDoc(QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001"),
                           {stockLine(QStringLiteral("G1"), 2, 3.5, QStringLiteral("A")), stockLine(QStringLiteral("G2"), 1, 4)});
    QCOMPARE(save(set, PurchaseReceiptPolicy(), doc), QString());
    const StockDoc stored = *LoadStockDoc(set.db(), QStringLiteral("RK1"));
    const auto value = [](const PlistPrint& job, const QString& name) {
        for (const auto& [n, v] : job.values())
            if (n == name)
                return v;
        return QStringLiteral("<none>");
    };
    PlistPrint job(set.app());
    QCOMPARE(StageStockDocPrint(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), stored, 1, true, job),
             QString());
    QCOMPARE(job.Pid, QStringLiteral("采购入库二"));
    QCOMPARE(job.rowCount(), 2);
    QCOMPARE(job.PrnSQL, QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0"));
    job.stage();
    // Rows F1..F11: code, name, spec, unit, (F5), quantity, price, amount, remark, attribute, line number.
    const RecordSet rs = set.db().query(job.PrnSQL);
    QCOMPARE(rs.rowCount(), 2);
    QCOMPARE(rs.text(0, 0), QStringLiteral("G1"));
    QCOMPARE(rs.text(0, 1), QStringLiteral("货品G1"));
    QCOMPARE(rs.text(0, 4), QStringLiteral("2 个"));
    QCOMPARE(rs.text(0, 6), QStringLiteral("7.00"));
    QCOMPARE(rs.text(0, 8), QStringLiteral("1"));
    QCOMPARE(rs.text(0, 9), QStringLiteral("A"));
    QCOMPARE(rs.text(1, 8), QStringLiteral("2"));
    QCOMPARE(value(job, "SumJe"), QStringLiteral("11.00"));
    QCOMPARE(value(job, "SumSl"), QStringLiteral("3"));
    QCOMPARE(value(job, "单位编码"), QStringLiteral("A001"));
    // Prices hidden: price and amount are single blanks, no amount in words.
    PlistPrint hidden(set.app());
    QCOMPARE(StageStockDocPrint(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), stored, 0, false, hidden),
             QString());
    hidden.stage();
    const RecordSet blank = set.db().query(QStringLiteral("SELECT F7, F8 FROM temp.Plist ORDER BY F0"));
    QCOMPARE(blank.text(0, 0), QStringLiteral(" "));
    QCOMPARE(blank.text(0, 1), QStringLiteral(" "));
    QCOMPARE(value(hidden, "SumJe"), QStringLiteral(" "));
    QCOMPARE(value(hidden, "SumJeDX"), QStringLiteral("<none>"));

    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval = 2 WHERE ID = 7716"));
    if (set.db().changes() == 0)
        set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (7716, 2)"));
    PlistPrint refused(set.app());
    QCOMPARE(StageStockDocPrint(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), stored, 0, true, refused),
             QStringLiteral("根据系统设置，单据只能在审核之后打印。该单据未审核，不能打印！"));
}

VX_REGISTER_TEST(TestStockDocService)
#include "tst_stockdocservice.moc"
