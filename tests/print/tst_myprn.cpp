#include "support/print/PrintSupport.h"
#include "print/Myprn.h"
#include "print/PlistPrint.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {


QAction* Act(QWidget* w, const char* name)
{
    return w->findChild<QAction*>(QString::fromLatin1(name));
}

QString Panel(QWidget* w, const char* name)
{
    return w->findChild<QLabel*>(QString::fromLatin1(name))->text();
}


}  // namespace

class TestMyprn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void previewPagesAndPrintsOperatorList();
    void pageRange_data();
    void pageRange();
    void directPrintPrintsAndCloses();
    void noPrinterStopsTheHandOver();
    void badSqlGivesAMessage();
    void closeQuestionAndSave();
    void exportPicture();

private:
    // Stages `rows` operator-like rows and opens the print window; `during` runs inside it.
    void runPrint(int rows, const std::function<void(Myprn*)>& during, int myCmd = 0,
                  const QString& sql = QStringLiteral("select F1,F2,F3 from Plist order by F0"));
    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<FakePrinters::Installation> printers;
};

void TestMyprn::init()
{
    set = std::make_unique<FreshAccountSet>();
    set->loginAs(QStringLiteral("001"));
    set->app().CompanyName = QStringLiteral("维罗仓储有限公司");
    printers.reset();  // the previous test's printers go first, so they put back the real ones
    printers = std::make_unique<FakePrinters::Installation>(set->folder());
    // The list layout is the plain default template (A4 upright, ten columns), under a layout file's name.
    QVERIFY(InstallPrintFiles(set->programFolder(), {QStringLiteral("vxp.dat")}));
    QVERIFY(QFile::copy(set->programFolder() + QStringLiteral("vxp.dat"), set->programFolder() + QStringLiteral("plst.vxp")));
}

void TestMyprn::runPrint(int rows, const std::function<void(Myprn*)>& during, int myCmd, const QString& sql)
{
    PlistPrint job(set->app());
    job.Pid = QStringLiteral("操作员档案");
    job.RptFile = set->app().AppFolder + QStringLiteral("plst.vxp");
    job.setValue(QStringLiteral("Caption"), QStringLiteral("操作员档案"));
    for (int i = 1; i <= rows; ++i)
        job.addRow({QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("操作员%1").arg(i),
                    QStringLiteral("备注")});
    job.PrnSQL = sql;
    job.MyCmd = myCmd;
    bool ran = false;
    if (during)
        WhenModal([&](QWidget* w) {
            auto* window = qobject_cast<Myprn*>(w);
            QVERIFY(window);
            ran = true;
            if (myCmd == 0)
                QVERIFY(WaitForPreview(window));
            during(window);
            if (window->isVisible())
                window->close();
        });
    QVERIFY(job.show(nullptr));
    if (during)
        QVERIFY(ran);
}

void TestMyprn::previewPagesAndPrintsOperatorList()
{
    // 35 rows a page in the list layout: 80 rows make three pages.
    runPrint(80, [this](Myprn* w) {
        QCOMPARE(w->engine().MainPages, 3);
        QCOMPARE(Panel(w, "Panel3"), QStringLiteral("共 3 页 第 1 页"));
        QCOMPARE(Panel(w, "Panel1"), QStringLiteral("测试打印机 ( 纵向 )"));
        QCOMPARE(Panel(w, "Panel2"), QStringLiteral("纸张：A4(210mm X 297mm)   打印方向：纵向"));
        QCOMPARE(Act(w, "Menu_print")->text(), QStringLiteral("&P.全部打印"));
        QVERIFY(!Act(w, "Menu_Home")->isEnabled());
        const QImage first = w->pageImage();
        Act(w, "Menu_End")->trigger();
        QCOMPARE(Panel(w, "Panel3"), QStringLiteral("共 3 页 第 3 页"));
        QVERIFY(!Act(w, "Menu_Down")->isEnabled());
        Act(w, "Menu_UP")->trigger();
        QCOMPARE(w->engine().CurPage, 2);
        Act(w, "Menu_Home")->trigger();
        QCOMPARE(w->pageImage(), first);  // the same page from the same rows

        Act(w, "Menu_print")->trigger();
        QCOMPARE(w->windowTitle(), QStringLiteral("打印完成！"));
        QCOMPARE(w->engine().CurPage, 1);
        QCOMPARE(printers->printers->jobs.size(), 1);
        QCOMPARE(PdfPageCount(printers->printers->jobs[0], set->folder()), 3);
    });
}

void TestMyprn::pageRange_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");  // "" none
    QTest::addColumn<int>("pages");        // pages printed, -1 none
    QTest::newRow("2-3") << "2-3" << "" << 2;
    QTest::newRow("words around") << "第2页到3页" << "" << 2;
    QTest::newRow("one number") << "3" << "输入格式不正确！" << -1;
    QTest::newRow("three numbers") << "1 2 3" << "输入格式不正确！" << -1;
    QTest::newRow("from 0") << "0-2" << "输入的页码范围不正确！" << -1;
    QTest::newRow("backwards") << "3-2" << "输入的页码范围不正确！" << -1;
    QTest::newRow("too large") << "1-99999999999" << "输入的页码范围不正确！" << -1;
    QTest::newRow("cancel") << "" << "" << -1;
}

void TestMyprn::pageRange()
{
    QFETCH(QString, answer);
    QFETCH(QString, message);
    QFETCH(int, pages);
    runPrint(80, [&](Myprn* w) {
        MessageScript msgs;
        msgs.expectInput(QStringLiteral("共有 3 页可打印"), answer, !answer.isEmpty());
        if (!message.isEmpty())
            msgs.expect(message);
        Act(w, "Menu_SelectPrint2")->trigger();
        QCOMPARE(msgs.pending(), 0);
        if (pages < 0) {
            QCOMPARE(printers->printers->jobs.size(), 0);
        } else {
            QCOMPARE(printers->printers->jobs.size(), 1);
            QCOMPARE(PdfPageCount(printers->printers->jobs[0], set->folder()), pages);
        }
    });
}

void TestMyprn::directPrintPrintsAndCloses()
{
    bool closed = false;
    runPrint(40, [&](Myprn* w) {
        for (int i = 0; i < 250 && w->isVisible(); ++i)
            QTest::qWait(20);
        closed = !w->isVisible();
    }, 1);
    QVERIFY(closed);
    QCOMPARE(printers->printers->jobs.size(), 1);
    QCOMPARE(PdfPageCount(printers->printers->jobs[0], set->folder()), 2);
}

void TestMyprn::noPrinterStopsTheHandOver()
{
    printers.reset();
    FakePrinters::Installation none(set->folder(), false);
    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起,这台电脑没有安装打印机"));
    PlistPrint job(set->app());
    job.addRow({QStringLiteral("x")});
    QVERIFY(!job.show(nullptr));
    QCOMPARE(msgs.count(), 1);
}

void TestMyprn::badSqlGivesAMessage()
{
    MessageScript msgs;
    msgs.expect(QStringLiteral("查询语句有误"));
    runPrint(3, [&](Myprn* w) {
        QCOMPARE(msgs.pending(), 0);
        QVERIFY(w->engine().myrs.isEmpty());
    }, 0, QStringLiteral("select F1 from NoSuchTable"));
}

void TestMyprn::closeQuestionAndSave()
{
    const QString file = set->app().AppFolder + QStringLiteral("plst.vxp");
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    runPrint(5, [&](Myprn* w) {
        MessageScript msgs;
        w->engine().PaperName = QStringLiteral("B5");
        w->engine().ReSet = true;
        w->ReDrawPic();
        QVERIFY(Act(w, "Menu_SaveSet")->isVisible());
        msgs.expect(QStringLiteral("您更改了版面设置，需要保存吗？"), MB::Cancel);
        w->close();
        QVERIFY(w->isVisible());
        // Yes, then Cancel in the save's own question: the window stays open.
        msgs.expect(QStringLiteral("需要保存吗"), MB::Yes).expect(QStringLiteral("真的保存当前设置吗"), MB::Cancel);
        w->close();
        QVERIFY(w->isVisible());
        QFile unchanged(file);
        QVERIFY(unchanged.open(QIODevice::ReadOnly));
        QCOMPARE(unchanged.readAll(), before);
        msgs.expect(QStringLiteral("需要保存吗"), MB::Yes).expect(QStringLiteral("真的保存当前设置吗"), MB::OK);
        w->close();
        QVERIFY(!w->isVisible());
        QCOMPARE(msgs.pending(), 0);
    });
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("PAPER=B5\r\n"));
    QFile old(file + QStringLiteral("_OLD"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), before);
}

void TestMyprn::exportPicture()
{
    const QString target = set->folder() + QStringLiteral("page.jpg");
    runPrint(5, [&](Myprn* w) {
        MessageScript msgs;
        DialogScript dialogs;
        dialogs.saveFile(target).saveFile(target).saveFile(QString());
        Act(w, "Menu_ToJPG")->trigger();
        QImage written(target);
        QCOMPARE(written.size(), w->pageImage().size());
        QFile jpeg(target);
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        QVERIFY(jpeg.read(3) == QByteArray("\xff\xd8\xff"));
        msgs.expect(QStringLiteral("目标文件夹已经存在同名图片文件"));
        Act(w, "Menu_ToJPG")->trigger();
        Act(w, "Menu_ToJPG")->trigger();  // cancelled: nothing
        QCOMPARE(msgs.count(), 1);
        QCOMPARE(dialogs.titles.value(0), QStringLiteral("导出为图片文件"));
    });
}

VX_REGISTER_TEST(TestMyprn)
#include "tst_myprn.moc"
