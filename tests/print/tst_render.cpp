#include "print/PageSurface.h"
#include "print/PlistPrint.h"
#include "print/PrintEngine.h"
#include "print/Primitives.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

QStringList TableLayout(double tabTop, double tabBtm, double rowHeight, int labMode = 0)
{
    return {QStringLiteral("PAPERW=210"), QStringLiteral("PAPERH=297"), QStringLiteral("VERSION=5.0"),
            QStringLiteral("DESIGNWIDTH=200"), QStringLiteral("LABMODE=%1").arg(labMode),
            QStringLiteral("ITEM=@0"), QStringLiteral("LEFT=0"), QStringLiteral("RIGHT=40"),
            QStringLiteral("TABTOP=%1").arg(tabTop), QStringLiteral("TABBTM=%1").arg(tabBtm),
            QStringLiteral("ROWHEIGHT=%1").arg(rowHeight), QStringLiteral("RCDTOP=0"), QStringLiteral("RCDLINETOP=7"),
            QStringLiteral("RCDLINELEFT=0"), QStringLiteral("RCDLINERIGHT=190"), QStringLiteral("ITEM=@1"),
            QStringLiteral("LEFT=50"), QStringLiteral("RIGHT=100"), QStringLiteral("ITEM=@2"), QStringLiteral("LEFT=120"),
            QStringLiteral("RIGHT=150")};
}

void StageRows(App& app, int rows)
{
    PlistPrint job(app);
    for (int i = 1; i <= rows; ++i)
        job.addRow({QStringLiteral("编号%1").arg(i), QStringLiteral("名称%1").arg(i)}, {i == 1 ? 2.5 : 4.0});
    job.stage();
}

std::unique_ptr<PrintEngine> Prepared(App& app, const QStringList& layout,
                                      const QString& sql = QStringLiteral("select F1,F2,V1 from Plist order by F0"))
{
    auto e = std::make_unique<PrintEngine>();
    e->startNamedValues(QStringLiteral("测试公司"));
    e->PrnSQL = sql;
    e->ReadTemplateLines(layout);
    const QString problem = e->OpenRecords(app.CurrentDatabase);
    if (!problem.isEmpty())
        qWarning() << problem;
    e->SetUpPage();
    e->CurPage = 1;
    return e;
}

void Draw(PrintEngine& e)
{
    ImageSurface s(e.pageWidth(), e.pageHeight(), 96);
    e.PrepareSurface(s);
    e.RenderPage(s);
}

}  // namespace

class TestRender : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableBottomFromPageBottom();
    void rowHeightFillsTable_data();
    void rowHeightFillsTable();
    void pageCounters_data();
    void pageCounters();
    void lastPageOfSeveralKeepsCounters();
    void pagingNeverRequeries();
    void zeroRowHeightIsRefused();
    void columnText_data();
    void columnText();
    void computedColumnWithMissingOperandFails();
    void serialNumberRestartsPerPage();
    void fieldDec_data();
    void fieldDec();
    void itemDec_data();
    void itemDec();
    void variables_data();
    void variables();
    void pageTotals();
    void badSqlIsReported();
    void boxTextLines_data();
    void boxTextLines();
    void code39Patterns();
};

void TestRender::tableBottomFromPageBottom()
{
    FreshAccountSet set;
    StageRows(set.app(), 3);
    auto e = Prepared(set.app(), TableLayout(40, -20, 7));
    Draw(*e);
    QCOMPARE(e->tableBottom(), 277.0);
}

void TestRender::rowHeightFillsTable_data()
{
    QTest::addColumn<double>("tabTop");
    QTest::addColumn<double>("tabBtm");
    QTest::addColumn<double>("rowHeight");
    QTest::addColumn<double>("adjusted");
    QTest::newRow("100 over 7") << 40.0 << 140.0 << 7.0 << 7.0 + 2.0 / 14.0;
    QTest::newRow("70 over 7") << 40.0 << 110.0 << 7.0 << 7.0;
    QTest::newRow("table lower than a row") << 40.0 << 44.0 << 7.0 << 7.0;
}

void TestRender::rowHeightFillsTable()
{
    QFETCH(double, tabTop);
    QFETCH(double, tabBtm);
    QFETCH(double, rowHeight);
    QFETCH(double, adjusted);
    FreshAccountSet set;
    StageRows(set.app(), 2);
    auto e = Prepared(set.app(), TableLayout(tabTop, tabBtm, rowHeight));
    Draw(*e);
    QVERIFY(qAbs(e->rowHeight() - adjusted) < 1e-5);
    // A second page drawn with the adjusted height changes nothing.
    Draw(*e);
    QVERIFY(qAbs(e->rowHeight() - adjusted) < 1e-5);
}

void TestRender::pageCounters_data()
{
    // Table 40..110, rows 7 high, rule line 7 below the row top: a page takes
    // 10 record rows; the table holds 8 rule lines.
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("labMode");
    QTest::addColumn<qint64>("mainRcd");
    QTest::addColumn<int>("mainPages");
    QTest::addColumn<int>("pageRows");
    QTest::addColumn<int>("rowsOnPage");
    QTest::addColumn<qint64>("curRcd");
    QTest::newRow("three pages") << 25 << 0 << qint64(25) << 3 << 10 << 10 << qint64(10);
    QTest::newRow("single page") << 5 << 0 << qint64(5) << 1 << 8 << 5 << qint64(5);
    // No rows: the variables' look-up raises the page count to the page drawn.
    QTest::newRow("empty") << 0 << 0 << qint64(0) << 1 << 8 << 0 << qint64(0);
    QTest::newRow("labels of three, 7 records") << 7 << 2 << qint64(3) << 1 << 8 << 3 << qint64(3);
    QTest::newRow("labels of two, 4 records") << 4 << 1 << qint64(2) << 1 << 8 << 2 << qint64(2);
    QTest::newRow("labels of two, 5 records") << 5 << 1 << qint64(3) << 1 << 8 << 3 << qint64(3);
}

void TestRender::pageCounters()
{
    QFETCH(int, records);
    QFETCH(int, labMode);
    QFETCH(qint64, mainRcd);
    QFETCH(int, mainPages);
    QFETCH(int, pageRows);
    QFETCH(int, rowsOnPage);
    QFETCH(qint64, curRcd);
    FreshAccountSet set;
    StageRows(set.app(), records);
    auto e = Prepared(set.app(), TableLayout(40, 110, 7, labMode));
    QCOMPARE(e->MainRcd, mainRcd);
    Draw(*e);
    QCOMPARE(e->MainPages, mainPages);
    QCOMPARE(e->PageRows, pageRows);
    QCOMPARE(e->rowsOnPage(), rowsOnPage);
    QCOMPARE(e->CurRcd, curRcd);
}

void TestRender::lastPageOfSeveralKeepsCounters()
{
    FreshAccountSet set;
    StageRows(set.app(), 24);
    auto e = Prepared(set.app(), TableLayout(40, 110, 7));
    for (int page = 1; page <= 3; ++page) {
        e->CurPage = page;
        Draw(*e);
    }
    QCOMPARE(e->rowsOnPage(), 3);
    QCOMPARE(e->PageRows, 10);
    QCOMPARE(e->MainPages, 3);
    QVERIFY(e->myrs.eof());
}

void TestRender::pagingNeverRequeries()
{
    FreshAccountSet set;
    StageRows(set.app(), 25);
    auto e = Prepared(set.app(), TableLayout(40, 110, 7));
    Draw(*e);
    // The rows are gone from the table; paging still draws from the snapshot.
    set.db().execute(QStringLiteral("delete from Plist"));
    for (const int page : {3, 2, 1, 3}) {
        e->CurPage = page;
        e->PositionOnPage();
        QCOMPARE(e->myrs.text(e->myrs.position(), 0), QStringLiteral("编号%1").arg((page - 1) * 10 + 1));
        Draw(*e);
    }
    QCOMPARE(e->rowsOnPage(), 4);
}

void TestRender::zeroRowHeightIsRefused()
{
    FreshAccountSet set;
    StageRows(set.app(), 3);
    auto e = Prepared(set.app(), TableLayout(40, 110, 0));
    Draw(*e);
    QVERIFY(e->layoutFault().contains(QStringLiteral("行高为0")));
    QCOMPARE(e->myrs.position(), 0);
    // Printing refuses instead of walking the rows for ever.
    ImageSurface out(210, 297, 96), scratch(210, 297, 96);
    QString message;
    QVERIFY(!e->PrintPages(0, 0, out, scratch, message));
    QVERIFY(message.contains(QStringLiteral("行高为0")));
}

void TestRender::columnText_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("expected");
    QTest::newRow("division") << "V1, V2, 'V1&V2' as 自动除法" << 2 << "3.33333";
    QTest::newRow("division by null") << "V1, V3, 'V1&V3' as 自动除法" << 2 << "";
    QTest::newRow("division, empty value") << "V1, V2, '' as 自动除法" << 2 << "";
    QTest::newRow("product") << "V7, V6, 'V7&V6' as 自动乘法1" << 2 << "10.5";
    QTest::newRow("difference") << "V1, 'V1&V1' as 自动减法" << 1 << "0";
    QTest::newRow("sum") << "V1, V2, 'V1&V2' as 自动加法" << 2 << "13";
    QTest::newRow("join") << "F1, F2, 'F1&F2' as 自动连接" << 2 << "A100 Bolt";
    QTest::newRow("join, null second") << "F1, F3, 'F1&F3' as 自动连接" << 2 << "A100 0";
    QTest::newRow("join, null first") << "F3, F1, 'F3&F1' as 自动连接" << 2 << " A100";
    QTest::newRow("amount") << "V4 as 自动金额" << 0 << "1234.50";
    QTest::newRow("amount, null") << "V3 as 自动金额" << 0 << "0.00";
    QTest::newRow("amount, word after") << "V4 as 金额自动" << 0 << "1234.50";
    QTest::newRow("price") << "V4 as 自动价格" << 0 << "1234.5000";
    QTest::newRow("other keyword") << "'x' as 自动备注信息" << 0 << "备注";
    QTest::newRow("real column") << "V5" << 0 << "0.3";
    QTest::newRow("null real column") << "V3" << 0 << "0";
    QTest::newRow("text column") << "F4" << 0 << "abc";
    QTest::newRow("null text column") << "F5" << 0 << "";
}

void TestRender::columnText()
{
    QFETCH(QString, columns);
    QFETCH(int, col);
    QFETCH(QString, expected);
    FreshAccountSet set;
    set.app().PriceFormat = QStringLiteral("#0.0000");
    PlistPrint job(set.app());
    job.addRow({QStringLiteral("A100"), QStringLiteral("Bolt"), QString(), QStringLiteral("abc")},
               {10, 3, 0, 1234.5, 0.1 + 0.2, 1.5, 7});
    job.stage();
    set.db().execute(QStringLiteral("update Plist set V3=null, F3=null, F5=null"));
    PrintEngine e;
    e.PriceFormat = set.app().PriceFormat;
    e.PrnSQL = QStringLiteral("select ") + columns + QStringLiteral(" from Plist");
    QCOMPARE(e.OpenRecords(set.db()), QString());
    QCOMPARE(e.ColumnText(col), expected);
}

void TestRender::computedColumnWithMissingOperandFails()
{
    FreshAccountSet set;
    StageRows(set.app(), 1);
    PrintEngine e;
    e.PrnSQL = QStringLiteral("select V1, 'V1&XX' as 自动除法 from Plist");
    QCOMPARE(e.OpenRecords(set.db()), QString());
    QVERIFY_THROWS_EXCEPTION(DbError, e.ColumnText(1));
    PrintEngine noAmpersand;
    noAmpersand.PrnSQL = QStringLiteral("select V1, 'V1' as 自动除法 from Plist");
    QCOMPARE(noAmpersand.OpenRecords(set.db()), QString());
    QVERIFY_THROWS_EXCEPTION(DbError, noAmpersand.ColumnText(1));
}

void TestRender::serialNumberRestartsPerPage()
{
    FreshAccountSet set;
    StageRows(set.app(), 12);
    auto e = Prepared(set.app(), TableLayout(40, 110, 7), QStringLiteral("select '' as 自动序号, F1 from Plist order by F0"));
    e->PageSumFldStr = QStringLiteral("_0_");
    Draw(*e);  // rows 1..10: the serial numbers sum to 55
    QCOMPARE(e->fieldProps()[0][PrintEngine::SPageSum], QStringLiteral("55"));
    e->CurPage = 2;
    Draw(*e);  // rows 1..2 again
    QCOMPARE(e->fieldProps()[0][PrintEngine::SPageSum], QStringLiteral("3"));
}

void TestRender::fieldDec_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no DEC") << "3.456" << "" << "3.456";
    QTest::newRow("2") << "3.456" << "2" << "3.46";
    QTest::newRow("0") << "3.456" << "0" << "3";
    QTest::newRow("2.5 rounds to even 2") << "3.456" << "2.5" << "3.46";
    QTest::newRow("-2") << "12.5" << "-2" << "1250";
    QTest::newRow("-1") << "12.57" << "-1" << "125";
    QTest::newRow("-3") << "12.5" << "-3" << "12.5";
    QTest::newRow("text") << "abc" << "2" << "abc";
}

void TestRender::fieldDec()
{
    QFETCH(QString, text);
    QFETCH(QString, dec);
    QFETCH(QString, expected);
    QCOMPARE(PrintEngine::FieldDecFormat(text, dec), expected);
}

void TestRender::itemDec_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasDec");
    QTest::addColumn<int>("dec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("yuan -2") << "￥12.5" << true << -2 << "￥1250";
    QTest::newRow("date stays") << "2024-3-1" << true << 2 << "2024-3-1";
    QTest::newRow("DEC 9 unchanged") << "3.456" << true << 9 << "3.456";
    QTest::newRow("DEC 1") << "3.456" << true << 1 << "3.5";
    QTest::newRow("none") << "3.456" << false << 0 << "3.456";
    QTest::newRow("-1") << "3.456" << true << -1 << "34";
}

void TestRender::itemDec()
{
    QFETCH(QString, text);
    QFETCH(bool, hasDec);
    QFETCH(int, dec);
    QFETCH(QString, expected);
    QCOMPARE(PrintEngine::ItemDecFormat(text, hasDec, dec), expected);
}

void TestRender::variables_data()
{
    QTest::addColumn<int>("curPage");
    QTest::addColumn<int>("mainPages");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one page: number") << 1 << 1 << "%AUTO_当前页码" << "";
    QTest::newRow("one page: both") << 1 << 1 << "%AUTO_页码页数" << "";
    QTest::newRow("page 2 of 5") << 2 << 5 << "%AUTO_页码页数" << "第 2 页 (共 5 页)";
    QTest::newRow("lower case") << 2 << 5 << "%auto_总页数" << "共 5 页";
    QTest::newRow("page 3 while 2 pages") << 3 << 2 << "%AUTO_总页数" << "共 3 页";
    QTest::newRow("sum on last page") << 5 << 5 << "SumJE" << "99.5";
    QTest::newRow("sum before last page") << 4 << 5 << "SumJE" << "";
    QTest::newRow("upper one wins") << 1 << 2 << "caption" << "上面";
    QTest::newRow("unknown") << 1 << 2 << "Nothing" << "";
    QTest::newRow("page total without PageSumFldStr") << 1 << 2 << "%AUTO_本页合计_3" << "";
    QTest::newRow("page total, not a number") << 1 << 2 << "%AUTO_本页合计_x" << "";
    QTest::newRow("other automatic") << 1 << 2 << "%AUTO_别的" << "";
}

void TestRender::variables()
{
    QFETCH(int, curPage);
    QFETCH(int, mainPages);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    PrintEngine e;
    e.startNamedValues(QStringLiteral("测试公司"));
    e.addNamedValue(QStringLiteral("Caption"), QStringLiteral("上面"));
    e.addNamedValue(QStringLiteral("CAPTION"), QStringLiteral("下面"));
    e.addNamedValue(QStringLiteral("SumJE"), QStringLiteral("99.5"));
    e.CurPage = curPage;
    e.MainPages = mainPages;
    QString n = name;
    QCOMPARE(e.EvalVariable(n), expected);
    QCOMPARE(n, name.toUpper());
    QCOMPARE(e.MainPages, std::max(curPage, mainPages));
}

void TestRender::pageTotals()
{
    FreshAccountSet set;
    StageRows(set.app(), 2);  // V1: 2.5 and 4
    QStringList layout = TableLayout(40, 110, 7);
    auto e = Prepared(set.app(), layout, QStringLiteral("select F1,F2,F3,V1 from Plist order by F0"));
    e->PageSumFldStr = QStringLiteral("_3_");
    Draw(*e);
    QString name = QStringLiteral("%AUTO_本页合计_3");
    QCOMPARE(e->EvalVariable(name), QStringLiteral("6.5"));
    name = QStringLiteral("%AUTO_本页合计_60");
    QCOMPARE(e->EvalVariable(name), QString());
}

void TestRender::badSqlIsReported()
{
    FreshAccountSet set;
    PrintEngine e;
    e.PrnSQL = QStringLiteral("select F1 from NoSuchTable");
    const QString problem = e.OpenRecords(set.db());
    QVERIFY(problem.contains(QStringLiteral("查询语句有误")));
    QVERIFY(e.recordsOpen());
    QVERIFY(e.myrs.eof());
}

void TestRender::boxTextLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("boxChars");  // box width in widths of "0"
    QTest::addColumn<double>("lineHeight");
    QTest::addColumn<int>("lines");
    QTest::newRow("eight in three, wrapped") << "00000000" << 3.0 << 5.0 << 3;
    QTest::newRow("one line only") << "0000\r\n0000" << 3.0 << 0.0 << 1;
    QTest::newRow("no box width") << "00000000" << 0.0 << 5.0 << 1;
    QTest::newRow("exact fit") << "000" << 3.0 << 5.0 << 1;
    QTest::newRow("blank") << "   " << 3.0 << 5.0 << 0;
    QTest::newRow("char wider than the box") << "000" << 0.5 << 5.0 << 3;
}

void TestRender::boxTextLines()
{
    QFETCH(QString, text);
    QFETCH(double, boxChars);
    QFETCH(double, lineHeight);
    QFETCH(int, lines);
    ImageSurface s(210, 297, 96);
    s.FontName = QStringLiteral("宋体");
    s.FontSize = 10;
    const double w = s.TextWidth(QStringLiteral("000")) / 3 * boxChars;
    int size = 0;
    QString font;
    QCOMPARE(DrawBoxText(s, 10, 10, size, false, text, w, lineHeight, 0, font, Qt::black, 0), lines);
    QCOMPARE(size, 10);
    QCOMPARE(font, QStringLiteral("宋体"));
    if (lineHeight == 0)
        QVERIFY(!text.contains(QLatin1Char('\n')));
}

void TestRender::code39Patterns()
{
    const QString chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
    QSet<QString> seen;
    for (const QChar c : chars) {
        const QString p = Code39Pattern(c);
        QCOMPARE(p.size(), 9);
        QCOMPARE(p.count(QLatin1Char('1')), 3);
        seen.insert(p);
    }
    QCOMPARE(seen.size(), 44);
    QVERIFY(Code39Pattern(QLatin1Char('a')).isEmpty());
    QVERIFY(Code39Pattern(QLatin1Char('_')).isEmpty());
}

VX_REGISTER_TEST(TestRender)
#include "tst_render.moc"
