#include "RecordFixture.h"

#include "basicdata/A1.h"
#include "basicdata/A12.h"
#include "basicdata/A3.h"
#include "forms/Query.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

// The supplier, department and category windows driven through their controls.
class TestRecordWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addEditRenameDelete();
    void emptyListAndKeepOne();
    void savedTextsShownAsStored();
    void openingBalanceThatIsNoNumberIsRefused_data();
    void openingBalanceThatIsNoNumberIsRefused();
    void refusedSaveStaysEditing();
    void queryJoins_data();
    void queryJoins();
    void queryCancelKeepsTheList();
    void cancelShowsTheStoredRecord();
    void previousNext();
    void rightsRefused_data();
    void rightsRefused();
    void closingWhileEditingIsRefused();
    void departmentRemarkOnOneLine();
    void categorySavedRowMovesToTheEnd();
    void listColumnsFillTheGrid();
};

namespace {

void addSupplier(QWidget* w, const QString& code, const QString& name)
{
    Trigger(w, "Menu_Add");
    TypeBox(w, 0, code);
    TypeBox(w, 1, name);
    Trigger(w, "Menu_save");
}

int edstu(QWidget* w)
{
    return w->property("Edstu").toInt();
}

// Drives the query dialog: conditions "field|op|value" with a join word in
// front of all but the first ("或者|1|包含(like)|甲"); empty = list all.
void answerQuery(const QStringList& conditions)
{
    WhenModal([conditions](QWidget* w) {
        auto* q = qobject_cast<Query*>(w);
        QVERIFY(q);
        if (conditions.size() > 1)
            q->CmdAdd->click();  // advanced mode
        for (int i = 0; i < conditions.size(); ++i) {
            QStringList p = conditions[i].split(QLatin1Char('|'));
            if (i > 0)
                q->CmbLG->setCurrentText(p.takeFirst());
            q->CmbF->setCurrentIndex(p[0].toInt());
            q->CmbF_Click();
            q->cmbGx->setCurrentText(p[1]);
            q->Txt->setText(p[2]);
            if (conditions.size() > 1)
                q->CmdAdd->click();
        }
        q->CmdQuery->click();
    });
}

}  // namespace

void TestRecordWindows::addEditRenameDelete()
{
    RecordBooks set;
    MessageScript msgs;
    A1 w(set.app());
    w.show();
    addSupplier(&w, QStringLiteral(" s 01"), QStringLiteral("甲公司"));
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("S01")});
    QCOMPARE(set.status(), QStringLiteral("共 1 条记录 当前为第 1 条"));
    addSupplier(&w, QStringLiteral("S02"), QStringLiteral("乙公司"));
    AddDocument(set.db(), {QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("S01")});

    SelectCode(&w, QStringLiteral("S01"));
    Trigger(&w, "Menu_edit");
    QCOMPARE(w.TabS->currentIndex(), 1);
    TypeBox(&w, 0, QStringLiteral("s09"));
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F3 FROM TB1 WHERE F1 = 'RK1'")).toString(), QStringLiteral("S09"));
    QCOMPARE(GridCodes(&w), (QStringList{QStringLiteral("S09"), QStringLiteral("S02")}));

    msgs.expect(QStringLiteral("本编码已经在系统中采用，不可以删除！"));
    Trigger(&w, "Menu_del");
    SelectCode(&w, QStringLiteral("S02"));
    msgs.expect(QStringLiteral("真的要删除乙公司的资料吗？"), MB::No);
    Trigger(&w, "Menu_del");
    QCOMPARE(w.ListCount, 2);
    msgs.expect(QStringLiteral("真的要删除乙公司的资料吗？"), MB::Yes);
    Trigger(&w, "Menu_del");
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("S09")});
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1 WHERE LB = 0")).toInt(), 1);
    QCOMPARE(msgs.pending(), 0);
}

void TestRecordWindows::emptyListAndKeepOne()
{
    RecordBooks set;
    set.db().execute(QStringLiteral("DELETE FROM TA1"));
    MessageScript msgs;
    A1 w(set.app());
    QCOMPARE(w.ListCount, 0);
    QCOMPARE(w.GD->rows(), 2);
    Trigger(&w, "Menu_del");  // nothing to delete: no message
    msgs.expect(QStringLiteral("无数据可打印!"));
    Trigger(&w, "Menu_print");
    Trigger(&w, "Menu_edit");  // an empty list has nothing to edit
    QCOMPARE(edstu(&w), 0);
    addSupplier(&w, QStringLiteral("S1"), QStringLiteral("唯一"));
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("S1")});
    msgs.expect(QStringLiteral("系统中必须保留至少一条供应商记录！"));
    Trigger(&w, "Menu_del");
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("客户"), UnitKind::Customer});
    msgs.expect(QStringLiteral("真的要删除"), MB::Yes);
    Trigger(&w, "Menu_del");
    QCOMPARE(w.ListCount, 0);
    QCOMPARE(w.CurrentRow, 0);
    QCOMPARE(set.status(), QStringLiteral("共 0 条记录 当前为第 0 条"));
    QCOMPARE(msgs.pending(), 0);
}

void TestRecordWindows::openingBalanceThatIsNoNumberIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("unit after the number") << "12.5元";
    QTest::newRow("letters") << "abc";
    QTest::newRow("two points") << "12..5";
    QTest::newRow("thousands comma") << "1,000";
}

// The save refuses an opening balance that is no number, saying so; nothing
// is stored and the window stays in edit mode.
void TestRecordWindows::openingBalanceThatIsNoNumberIsRefused()
{
    QFETCH(QString, typed);
    RecordBooks set;
    MessageScript msgs;
    A1 w(set.app());
    Trigger(&w, "Menu_Add");
    TypeBox(&w, 0, QStringLiteral("N9"));
    TypeBox(&w, 1, QStringLiteral("新供应商"));
    TypeBox(&w, 7, typed);
    msgs.expect(QStringLiteral("[") + typed + QStringLiteral("]不是有效的数字"));
    Trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QVERIFY(edstu(&w) != 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1 WHERE F1 = 'N9'")).toInt(), 0);
}

void TestRecordWindows::savedTextsShownAsStored()
{
    RecordBooks set;
    MessageScript msgs;
    A1 w(set.app());
    Trigger(&w, "Menu_Add");
    const QStringList typed{QStringLiteral("0012"), QStringLiteral("O'Neil \"大\" 100%"), QStringLiteral("路'1号"),
                            QStringLiteral("010-1"), QStringLiteral("%_"), QStringLiteral("王'五"),
                            QStringLiteral("备注 it's"), QStringLiteral("12.5"), QStringLiteral("139'")};
    for (int i = 0; i < typed.size(); ++i)
        TypeBox(&w, i, typed[i]);
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QStringList shown;
    for (int i = 0; i < 9; ++i)
        shown << BoxText(&w, i);
    A1 again(set.app());
    again.TabS->setCurrentIndex(1);
    for (int i = 0; i < 9; ++i)
        if (i != 7)
            QCOMPARE(BoxText(&again, i), shown[i]);
    QCOMPARE(BoxText(&again, 7), QStringLiteral("12.5"));
    QCOMPARE(BoxText(&again, 1), QStringLiteral("O'Neil \"大\" 100%"));
}

void TestRecordWindows::refusedSaveStaysEditing()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    MessageScript msgs;
    A1 w(set.app());
    Trigger(&w, "Menu_Add");
    TypeBox(&w, 1, QStringLiteral("名"));
    msgs.expect(QStringLiteral("单位编码不能为空！"));
    Trigger(&w, "Menu_save");
    TypeBox(&w, 0, QStringLiteral("a.b"));
    msgs.expect(QStringLiteral("单位编码中不能包含[.]这个符号！"));
    Trigger(&w, "Menu_save");
    TypeBox(&w, 0, QStringLiteral(" c 1 "));
    msgs.expect(QStringLiteral("[甲客户]已经使用了C1这个编码，请重新设置编码!"));
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 1);
    QCOMPARE(BoxText(&w, 0), QStringLiteral("C1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1 WHERE LB = 0")).toInt(), 0);
    QCOMPARE(msgs.pending(), 0);
}

void TestRecordWindows::queryJoins_data()
{
    QTest::addColumn<QStringList>("conditions");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("all") << QStringList{} << QStringList{"S1", "S2", "S3"};
    QTest::newRow("simple like") << QStringList{"1|包含(like)|甲"} << QStringList{"S1", "S3"};
    QTest::newRow("and") << QStringList{"1|包含(like)|甲", "并且|2|等于(=)|北京"} << QStringList{"S1"};
    QTest::newRow("or keeps the kind") << QStringList{"0|等于(=)|S2", "或者|1|包含(like)|甲"}
                                       << QStringList{"S1", "S2", "S3"};
    QTest::newRow("exclude") << QStringList{"1|包含(like)|甲", "排除|2|等于(=)|北京"} << QStringList{"S3"};
    QTest::newRow("nothing found") << QStringList{"1|等于(=)|无此名"} << QStringList{""};
}

void TestRecordWindows::queryJoins()
{
    QFETCH(QStringList, conditions);
    QFETCH(QStringList, listed);
    RecordBooks set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("甲一"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("S2"), QStringLiteral("乙二"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("S3"), QStringLiteral("甲三"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    AddUnit(db, {QStringLiteral("D1"), QStringLiteral("甲部门"), UnitKind::Department});
    db.execute(QStringLiteral("UPDATE TA1 SET F3 = '北京' WHERE F1 IN ('S1', 'C1')"));
    A1 w(set.app());
    answerQuery(conditions);
    Trigger(&w, "Menu_query");
    QCOMPARE(GridCodes(&w), listed);
}

void TestRecordWindows::queryCancelKeepsTheList()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲一"), UnitKind::Supplier});
    A1 w(set.app());
    WhenModal([](QWidget* d) { qobject_cast<Query*>(d)->CmdCancel->click(); });
    Trigger(&w, "Menu_query");
    QCOMPARE(w.PubSql, QString());
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("S1")});
}

void TestRecordWindows::cancelShowsTheStoredRecord()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲一"), UnitKind::Supplier});
    A1 w(set.app());
    Trigger(&w, "Menu_edit");
    TypeBox(&w, 1, QStringLiteral("改了"));
    Trigger(&w, "Menu_cancel");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(BoxText(&w, 1), QStringLiteral("甲一"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = 'S1'")).toString(), QStringLiteral("甲一"));
}

void TestRecordWindows::previousNext()
{
    RecordBooks set;
    for (const char* c : {"S1", "S2", "S3"})
        AddUnit(set.db(), {QString::fromLatin1(c), QStringLiteral("名") + QString::fromLatin1(c), UnitKind::Supplier});
    A1 w(set.app());
    w.show();
    w.TabS->setCurrentIndex(1);
    QVERIFY(w.CmDan0->isHidden());
    QVERIFY(w.CmDan1->isVisible());
    w.CmDan1->click();
    QCOMPARE(BoxText(&w, 0), QStringLiteral("S2"));
    QVERIFY(w.CmDan0->isVisible());
    w.CmDan1->click();
    QCOMPARE(BoxText(&w, 0), QStringLiteral("S3"));
    QVERIFY(w.CmDan1->isHidden());
    QCOMPARE(set.status(), QStringLiteral("共 3 条记录 当前为第 3 条"));
    w.CmDan0->click();
    QCOMPARE(w.CurrentRow, 2);
}

void TestRecordWindows::rightsRefused_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("item");
    QTest::newRow("add without digit 3") << 1101 << "Menu_Add";
    QTest::newRow("edit without digit 2") << 1011 << "Menu_edit";
    QTest::newRow("delete without digit 2") << 1011 << "Menu_del";
    QTest::newRow("print without digit 1") << 111 << "Menu_print";
}

void TestRecordWindows::rightsRefused()
{
    QFETCH(int, word);
    QFETCH(QString, item);
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲一"), UnitKind::Supplier});
    LoginWithBasicWord(set, word);
    MessageScript msgs;
    A1 w(set.app());
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    Trigger(&w, item.toLatin1().constData());
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().icon(), MB::Information);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1 WHERE F1 = 'S1'")).toInt(), 1);
}

void TestRecordWindows::closingWhileEditingIsRefused()
{
    RecordBooks set;
    MessageScript msgs;
    auto* w = new A1(set.app());
    QPointer<A1> guard(w);
    w->show();
    Trigger(w, "Menu_Add");
    msgs.expect(QStringLiteral("正在有数据被编辑"));
    QVERIFY(!w->close());
    QVERIFY(guard);
    Trigger(w, "Menu_cancel");
    QVERIFY(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
}

void TestRecordWindows::departmentRemarkOnOneLine()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲"), UnitKind::Supplier});
    MessageScript msgs;
    A12 w(set.app());
    QVERIFY(!w.Menu_print->isVisible());
    Trigger(&w, "Menu_Add");
    TypeBox(&w, 0, QStringLiteral("d 1"));
    TypeBox(&w, 1, QStringLiteral("仓库部"));
    TypeBox(&w, 6, QStringLiteral("第一行\n第二行"));
    Trigger(&w, "Menu_save");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F7 || '|' || NK || '|' || LB FROM TA1 WHERE F1 = 'D1'")).toString(),
             QStringLiteral("第一行第二行|0.0|8"));
    QCOMPARE(w.GD->textMatrix(1, 6), QStringLiteral("第一行第二行"));
    msgs.expect(QStringLiteral("[甲]已经使用了S1"));
    Trigger(&w, "Menu_Add");
    TypeBox(&w, 0, QStringLiteral("s1"));
    TypeBox(&w, 1, QStringLiteral("重复"));
    Trigger(&w, "Menu_save");
    QCOMPARE(msgs.pending(), 0);
}

void TestRecordWindows::categorySavedRowMovesToTheEnd()
{
    RecordBooks set;
    Database& db = set.db();
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('A1', '五金'), ('B1', '电子')"));
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("螺丝"), QStringLiteral("A1")});
    MessageScript msgs;
    A3 w(set.app());
    QCOMPARE(w.windowTitle(), QStringLiteral("货品类别"));
    QCOMPARE(GridCodes(&w), (QStringList{QStringLiteral("000"), QStringLiteral("A1"), QStringLiteral("B1")}));
    SelectCode(&w, QStringLiteral("A1"));
    Trigger(&w, "Menu_edit");
    TypeBox(&w, 0, QStringLiteral("a 2"));
    Trigger(&w, "Menu_save");
    QCOMPARE(GridCodes(&w), (QStringList{QStringLiteral("000"), QStringLiteral("B1"), QStringLiteral("A2")}));
    QCOMPARE(w.CurrentRow, 3);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F3 FROM TA4")).toString(), QStringLiteral("A2"));
    msgs.expect(QStringLiteral("本编码已经在系统中采用"));
    Trigger(&w, "Menu_del");
    QCOMPARE(msgs.pending(), 0);
}

VX_REGISTER_TEST(TestRecordWindows)
#include "tst_recordwindows.moc"

// The list's columns share the grid's width from the first showing on, and
// follow it when the window is resized.
void TestRecordWindows::listColumnsFillTheGrid()
{
    RecordBooks set;
    for (const char* c : {"S1", "S2"})
        AddUnit(set.db(), {QString::fromLatin1(c), QStringLiteral("供应商") + QString::fromLatin1(c), UnitKind::Supplier});
    A1 w(set.app());
    w.resize(900, 560);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY2(ListColumnsFillRefusal(&w).isEmpty(), qPrintable(ListColumnsFillRefusal(&w)));
    if (const QString dir = qEnvironmentVariable("VX_SCREENSHOTS"); !dir.isEmpty())
        w.grab().save(dir + QStringLiteral("/A1.png"));
    w.resize(1200, 560);
    QCoreApplication::processEvents();
    QVERIFY2(ListColumnsFillRefusal(&w).isEmpty(), qPrintable(ListColumnsFillRefusal(&w)));
}
