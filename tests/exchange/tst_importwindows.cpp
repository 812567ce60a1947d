#include "ExchangeSupport.h"
#include "exchange/GridExportService.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "platform/Spreadsheet.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Openpyxl.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Types the column letter into mapping row k.
void map(ImportForm& w, int k, const QString& letter)
{
    w.CmbCol[k]->setEditText(QString());
    QTest::keyClicks(w.CmbCol[k]->lineEdit(), letter);
}

int goodsCount(Database& db) { return db.scalar(QStringLiteral("SELECT count(*) FROM TA4")).toInt(); }

// The goods list as the goods window shows it.
void loadGoodsList(Database& db, Grid& g)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, F2, F3, F4, F5, F8, F7 FROM TA4 ORDER BY F1"));
    g.setCols(7);
    g.setHeaders({"编码", "名称", "类别", "单位", "规格", "数量", "成本价"});
    std::vector<QString> cells;
    for (int r = 0; r < rs.rowCount(); ++r)
        for (int c = 0; c < 7; ++c)
            cells.push_back(c >= 5 ? QString::number(rs.value(r, c).toDouble()) : rs.text(r, c));
    g.load(rs.rowCount(), 7, std::move(cells));
}

}  // namespace

class TestImportWindows : public QObject {
    Q_OBJECT
private slots:
    void goodsFromOpenpyxlWorkbook();
    void goodsRunOnlyForTopAdministrator();
    void textSourceFillsGrid();
    void enterAfterAColumnLetterOpensNoFile();
    void badFilesGiveMessageAndChangeNothing_data();
    void badFilesGiveMessageAndChangeNothing();
    void mappingBeyondGridRefused();
    void closingAsksWhileLoaded();
    void deleteRow();
    void openerShowsRowsBySettings();
    void unitWindow();
    void lineWindow();
    void roundTrip();
};

void TestImportWindows::goodsFromOpenpyxlWorkbook()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("goods.xlsx"));
    RunOpenpyxl(QStringLiteral("wb = openpyxl.Workbook()\n"
                               "ws = wb.active\n"
                               "ws.title = '货品'\n"
                               "ws.append(['编码', '名称', '数量', '单价', '入库日期'])\n"
                               "ws.append(['0012', \"螺丝 'M3'\", 10, 2.5, datetime.datetime(2024, 5, 13)])\n"
                               "ws.append(['B7', '螺母', 4, 1, datetime.datetime(2024, 6, 1)])\n"
                               "wb.create_sheet('备用')\n"
                               "wb.save(sys.argv[1])\n"),
                {path});
    FreshAccountSet set;
    set.loginAs("001");
    FromExcelForm w(set.app());
    DialogScript dialogs;
    dialogs.openFile(path);
    w.CmdOpen->click();
    QCOMPARE(w.TxtTAB->count(), 2);
    QCOMPARE(w.TxtTAB->currentText(), QStringLiteral("货品"));
    QCOMPARE(w.Gd->rows(), 3);
    QCOMPARE(w.Gd->cols(), 6);
    QCOMPARE(w.Gd->textMatrix(0, 4), QStringLiteral("E"));
    QCOMPARE(w.Gd->textMatrix(1, 4), QStringLiteral("2024-05-13"));
    map(w, GCode, "A");
    map(w, GName, "b");  // typed small letters count as capitals
    map(w, GOpeningQty, "C");
    map(w, GCost, "D");
    MessageScript msgs;
    msgs.expect(QStringLiteral("此操作危险！"), MB::Yes).expect(QStringLiteral("数据导入成功！"));
    w.Menu_Run->trigger();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(goodsCount(set.db()), 2);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = '0012'")).toString(), QStringLiteral("螺丝 'M3'"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1 = '0012'")).toDouble(), 25.0);
    QVERIFY(w.imported);
    QVERIFY(!w.loaded());
    // A second save without reading again is refused.
    msgs.expect(QStringLiteral("请选择Excel文件，选择工作表，读入数据"));
    w.Menu_Run->trigger();
    QCOMPARE(msgs.pending(), 0);
}

void TestImportWindows::goodsRunOnlyForTopAdministrator()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '张三')"));
    set.loginAs("002");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.csv"));
    writeBytes(path, "G1,螺丝\r\n");
    FromExcelForm w(set.app());
    w.openSource(path);
    map(w, GCode, "A");
    MessageScript msgs;
    msgs.expect(QStringLiteral("本操作仅系统最高权限用户001可以执行！"));
    w.Menu_Run->trigger();
    QCOMPARE(msgs.last().icon(), MB::Exclamation);
    QCOMPARE(goodsCount(set.db()), 0);
    msgs.expect(QStringLiteral("您尚未完成Excel数据导入工作"), MB::OK);
    w.Menu_R->trigger();
}

void TestImportWindows::textSourceFillsGrid()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u.csv"));
    writeBytes(path, "U1,甲,\r\n\r\nU3,,丙,x\r\n");
    A12ExcelForm w(set.app(), UnitKind::Customer);
    w.openSource(path);
    QCOMPARE(w.TxtTAB->currentText(), QStringLiteral("Excel CSV表"));
    QCOMPARE(w.Gd->rows(), 5);  // three lines, one empty row after them
    QCOMPARE(w.Gd->cols(), 4);
    QCOMPARE(w.Gd->textMatrix(0, 3), QStringLiteral("D"));
    QCOMPARE(w.Gd->textMatrix(3, 2), QStringLiteral("丙"));
    QCOMPARE(w.CmbCol[0]->count(), 4);
    w.clearGrid();
}

void TestImportWindows::enterAfterAColumnLetterOpensNoFile()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u.csv"));
    writeBytes(path, "U1,甲,\r\nU2,乙,\r\n");
    A12ExcelForm w(set.app(), UnitKind::Customer);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.openSource(path);
    DialogScript dialogs;  // no file dialog is expected
    for (int k : {0, 1}) {
        map(w, k, k == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        w.CmbCol[k]->lineEdit()->setFocus();
        QTest::keyClick(w.CmbCol[k]->lineEdit(), Qt::Key_Return);
        QTest::keyClick(w.CmbCol[k], Qt::Key_Enter);
    }
    QCoreApplication::processEvents();
    QVERIFY2(dialogs.titles.isEmpty(), qPrintable(dialogs.titles.join(QLatin1Char('|'))));
    QCOMPARE(w.Gd->textMatrix(1, 0), QStringLiteral("U1"));
    w.clearGrid();
}

void TestImportWindows::badFilesGiveMessageAndChangeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << "e.xlsx" << QByteArray();
    QTest::newRow("renamed text as workbook") << "r.xlsx" << QByteArray("G1,螺丝\n");
    QTest::newRow("txt in the goods import") << "t.txt" << QByteArray("G1,螺丝\n");
    QTest::newRow("truncated zip") << "z.xlsx" << QByteArray("PK\x03\x04\x14\x00\x00\x00", 8);
    QTest::newRow("binary csv") << "b.csv" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11);
    QTest::newRow("wrong encoding") << "w.csv" << QByteArray("G1,\x80\xFF\xFE\n");
    QTest::newRow("huge row") << "h.csv" << QByteArray(20000, ',');
}

void TestImportWindows::badFilesGiveMessageAndChangeNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    FreshAccountSet set;
    set.loginAs("001");
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.csv"));
    writeBytes(good, "G1,螺丝\r\n");
    const QString path = dir.filePath(name);
    writeBytes(path, bytes);
    FromExcelForm w(set.app());
    w.openSource(good);
    MessageScript msgs;
    msgs.expect(QString());
    w.openSource(path);
    QCOMPARE(msgs.count(), 1);
    QVERIFY2(msgs.last().text.contains(QStringLiteral("文件")), qPrintable(msgs.last().text));
    // The grid still holds the file read before; nothing was written.
    QCOMPARE(w.Gd->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(goodsCount(set.db()), 0);
    w.clearGrid();
}

void TestImportWindows::mappingBeyondGridRefused()
{
    FreshAccountSet set;
    set.loginAs("001");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.csv"));
    writeBytes(path, "G1,螺丝\r\n");
    FromExcelForm w(set.app());
    w.openSource(path);
    map(w, GCode, "A");
    map(w, GName, "Q");
    MessageScript msgs;
    msgs.expect(QStringLiteral("[货品名称]指定的列[Q]在读入的数据中不存在"));
    w.Menu_Run->trigger();
    QCOMPARE(goodsCount(set.db()), 0);
    w.clearGrid();
}

void TestImportWindows::closingAsksWhileLoaded()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.csv"));
    writeBytes(path, "G1\r\n");
    FromExcelForm w(set.app());
    w.show();
    w.openSource(path);
    MessageScript msgs;
    msgs.expect(QStringLiteral("确定要退出吗？"), MB::Cancel);
    w.Menu_R->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(msgs.last().style & MB::DefaultButton2, MB::DefaultButton2);
    w.clearGrid();
    w.Menu_R->trigger();  // nothing loaded: closes without asking
    QVERIFY(!w.isVisible());
}

void TestImportWindows::deleteRow()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.csv"));
    writeBytes(path, "标题\r\nG1\r\n");
    FromExcelForm w(set.app());
    w.openSource(path);
    w.Gd->setRow(1);
    MessageScript msgs;
    msgs.expect(QStringLiteral("确实要删除选中的数据吗？"), MB::Yes);
    w.Menu_del->trigger();
    QCOMPARE(w.Gd->rows(), 3);
    QCOMPARE(w.Gd->textMatrix(1, 0), QStringLiteral("G1"));
    w.clearGrid();
}

void TestImportWindows::openerShowsRowsBySettings()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID IN (92, 7714, 7715)"));
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (92, 1, '零件'), (7714, 0, '产地'), (7715, 1, '')"));
    set.app().InboundRefPrice = 1;
    set.app().CostPlusFeePrice = 1;
    set.app().Menus.add(QString(), QStringLiteral("Menu_AA0"), QStringLiteral("供应商资料"));
    bool checked = false;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<FromExcelForm*>(w);
        QVERIFY(form);
        QCOMPARE(form->FCPLJ, 1);
        QCOMPARE(form->Lab[15]->text(), QStringLiteral("产地:"));
        for (int k : {13, 14, 15, 16, 17})
            QVERIFY2(!form->CmbCol[k]->isHidden(), qPrintable(QString::number(k)));
        QCOMPARE(form->windowTitle(), QStringLiteral("从EXCEL文件导入货品资料"));
        checked = true;
        form->reject();
    });
    QVERIFY(!FromExcel(set.app(), set.app().ProductTerm));
    QVERIFY(checked);
}

void TestImportWindows::unitWindow()
{
    FreshAccountSet set;
    set.loginAs("001");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u.csv"));
    writeBytes(path, "K1,客户一,地址,电话,,,,12.5\r\n");
    bool ran = false;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<A12ExcelForm*>(w);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("从Excel文件导入客户档案"));
        form->openSource(path);
        map(*form, UCode, "A");
        map(*form, UName, "B");
        map(*form, UOpening, "H");
        MessageScript msgs;
        msgs.expect(QStringLiteral("此操作危险！如果已经存在编码相同的档案"), MB::Yes).expect(QStringLiteral("数据导入成功！"));
        form->Menu_Run->trigger();
        ran = true;
        form->reject();
    });
    QVERIFY(A12Excel(set.app(), UnitKind::Customer));
    QVERIFY(ran);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 || '|' || LB || '|' || NK FROM TA1 WHERE F1 = 'K1'")).toString(),
             QStringLiteral("客户一|1|12.5"));
}

void TestImportWindows::lineWindow()
{
    FreshAccountSet set;
    AddGoods(set.db(), {.code = "G1", .name = "螺丝", .cost = 2});
    set.app().HpsxName.clear();
    StandInHost host(set.db());
    host.grid.setColWidth(5, 0);  // the document hides its amount column
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("l.txt"));
    writeBytes(path, "G1,3,说明\r\nZZ,1,\r\n");
    DanExcelForm w(set.app(), host, LineImportLayout::standard());
    QCOMPARE(w.Lab[1]->text(), QStringLiteral("数量"));
    QVERIFY(w.CmbCol[3]->isHidden());  // amount row hidden with its column
    QVERIFY(w.CmbCol[4]->isHidden());  // no attribute configured
    QVERIFY(w.Menu_back == nullptr);
    w.openSource(path);
    QCOMPARE(w.TxtTAB->currentText(), QStringLiteral("外部表"));
    map(w, LCode, "A");
    map(w, LQty, "B");
    map(w, LRemark, "C");
    MessageScript msgs;
    msgs.expect(QStringLiteral("成功写入 1 行数据，有 1 行数据因为系统内不存在指定的货品编码而无法写入单据！"));
    w.Menu_Run->trigger();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(host.grid.textMatrix(1, 3), QStringLiteral("3"));
    QCOMPARE(host.grid.textMatrix(1, 6), QStringLiteral("说明"));
    QCOMPARE(host.PubSql(), QStringLiteral("OK"));
    QCOMPARE(w.Stb1->text(), QStringLiteral("数据已成功写入单据，请点击[返回]继续编辑单据"));
}

void TestImportWindows::roundTrip()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    FreshAccountSet first;
    AddGoods(first.db(), {.code = "0012", .name = "螺丝 \"M3\"", .unit = "个", .cost = 2.5, .stock = 10});
    AddGoods(first.db(), {.code = "A'7", .name = "螺母", .unit = "只", .cost = 1, .stock = 4});
    first.db().execute(QStringLiteral("UPDATE TA4 SET F5 = '规格,1'"));
    Grid list1;
    loadGoodsList(first.db(), list1);
    const QVector<qint16> kinds{0, 0, 0, 0, 0, 1, 1, 0};
    const QString one = dir.filePath(QStringLiteral("one.xlsx"));
    ExportGridToWorkbook({&list1, kinds}, one);

    FreshAccountSet second;
    second.loginAs("001");
    FromExcelForm w(second.app());
    w.openSource(one);
    map(w, GCode, "A");
    map(w, GName, "B");
    map(w, GCategoryCode, "C");
    map(w, GUnit, "D");
    map(w, GSpec, "E");
    map(w, GOpeningQty, "F");
    map(w, GCost, "G");
    MessageScript msgs;
    msgs.expect(QStringLiteral("此操作危险！"), MB::Yes).expect(QStringLiteral("数据导入成功！"));
    w.Menu_Run->trigger();
    QCOMPARE(msgs.pending(), 0);

    Grid list2;
    loadGoodsList(second.db(), list2);
    const QString two = dir.filePath(QStringLiteral("two.xlsx"));
    ExportGridToWorkbook({&list2, kinds}, two);
    const auto a = OpenpyxlRead(one, QStringLiteral("mysheet"));
    const auto b = OpenpyxlRead(two, QStringLiteral("mysheet"));
    QCOMPARE(a.size(), 3);
    QCOMPARE(b.size(), a.size());
    for (int r = 0; r < a.size(); ++r)
        for (int c = 0; c < a[r].size(); ++c) {
            QCOMPARE(b[r][c].type, a[r][c].type);
            QCOMPARE(b[r][c].value, a[r][c].value);
        }
    QCOMPARE(a[1][0].value.toString(), QStringLiteral("0012"));
}

VX_REGISTER_TEST(TestImportWindows)
#include "tst_importwindows.moc"
