#include "ReportBooks.h"
#include "core/App.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "reports/C1.h"
#include "reports/C11.h"
#include "reports/JxcHZ.h"
#include "reports/JxcMx.h"
#include "reports/Register.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"
#include "print/Myprn.h"
#include "widgets/CancellableBusyPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The stock report windows driven through their named controls.
class TestReportWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void summaryOpensWithAReport();
    void summaryAllGoodsAndQuantityOnly();
    void cancelledRunIsMarkedAndNotStored();
    void memoryStoreAndRestore();
    void crossCheckFindsTheDifferingGoods();
    void detailCheck();
    void detailPrintStagesRemarks_data();
    void detailPrintStagesRemarks();
    void stockListAlarmsAndPriceSwitch();
    void stockPerAttributeValue();
    void menuOpensTheReports();
    void codesStandLeftNumbersRight_data();
    void codesStandLeftNumbersRight();
};

namespace {

template <class W>
std::unique_ptr<W> openOn(FreshAccountSet& set, const QDate& from = QDate(2024, 5, 1), const QDate& to = QDate(2024, 5, 31))
{
    auto w = std::make_unique<W>(set.app());
    w->resize(1200, 600);
    w->show();
    w->DTP0->setDate(from);
    w->DTP1->setDate(to);
    return w;
}

QStringList column(Grid* g, int col, int fromRow)
{
    QStringList out;
    for (int r = fromRow; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out;
}

}  // namespace

void TestReportWindows::summaryOpensWithAReport()
{
    FreshAccountSet set;
    MayBook(set);
    auto w = openOn<JxcHZ>(set);
    QVERIFY(w->ChkQuery->isChecked());
    QVERIFY(w->ChK->isVisible());
    QCOMPARE(w->Comb->itemText(0), QStringLiteral("所有类别"));
    w->Cmd->click();
    QCOMPARE(column(w->GD, 0, 2), (QStringList{"G1", "G2", ""}));
    QCOMPARE(column(w->GD, 15, 2), (QStringList{"6", "5", "11"}));
    QCOMPARE(w->GD->textMatrix(0, 6), QStringLiteral("上期结存"));
    QVERIFY(!w->lastRunCancelled());
    // A picture of the window for a person to look at: VX_SCREENSHOTS=<folder>.
    if (const QString dir = qEnvironmentVariable("VX_SCREENSHOTS"); !dir.isEmpty())
        w->grab().save(dir + QStringLiteral("/JxcHZ.png"));
}

void TestReportWindows::summaryAllGoodsAndQuantityOnly()
{
    FreshAccountSet set;
    MayBook(set);
    set.app().CanSeeCost = 0;  // quantities only for this operator
    auto w = openOn<JxcHZ>(set);
    QVERIFY(w->ChK->isChecked());
    QVERIFY(!w->ChK->isVisible());
    w->ChkQuery->setChecked(false);
    w->Cmd->click();
    QCOMPARE(column(w->GD, 0, 2), (QStringList{"G1", "G2", "G3", ""}));
    QCOMPARE(w->GD->textMatrix(4, 6), QStringLiteral("2"));
    QCOMPARE(w->GD->colWidth(8), 0);  // amounts hidden
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("对不起，您无此权限！"));
        w->Menu_print2->trigger();
    }
}

void TestReportWindows::cancelledRunIsMarkedAndNotStored()
{
    FreshAccountSet set;
    MayBook(set);
    QStringList moves;
    for (int i = 0; i < 6 * ReportPollEvery; ++i)
        moves << QStringLiteral("I G%1 1 1 2024-05-20").arg(i % 5 + 4);
    PostMoves(set.app(), moves);
    auto w = openOn<JxcHZ>(set);
    w->ChkQuery->setChecked(false);
    // The cancel button is pressed as soon as the run shows its panel.
    QTimer::singleShot(0, w.get(), [&] { w->cancelfrm->CmdCancel->click(); });
    w->Cmd->click();
    QVERIFY(w->lastRunCancelled());
    QVERIFY(column(w->GD, 0, 2).last().contains(QStringLiteral("已取消")));
    MessageScript msgs;
    msgs.expect(QStringLiteral("不完整"));
    w->StoreReportMemory();
    QVERIFY(set.app().SummaryMemories[0].isEmpty());
    msgs.expect(QStringLiteral("不完整"));
    w->Menu_print1->trigger();
}

void TestReportWindows::memoryStoreAndRestore()
{
    FreshAccountSet set;
    MayBook(set);
    auto w = openOn<JxcHZ>(set);
    w->Cmd->click();
    const QStringList shown = column(w->GD, 15, 2);
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("现在开始记忆当前报表吗？"), MB::Yes);
        msgs.expect(QStringLiteral("当前数据已经写入记忆一！"));
        w->Menu_JY[0]->trigger();
    }
    QCOMPARE(w->GD->textMatrix(2, 0), QString());  // the stored report leaves the window
    QVERIFY(w->Menu_JY[2]->isEnabled());
    QCOMPARE(w->Menu_JY[2]->text(), QStringLiteral("&1.恢复记忆一"));
    w->Txt->setText(QStringLiteral("X"));
    w->DTP0->setDate(QDate(2020, 1, 1));

    // Memories outlive the window: a new one offers the slot and brings it back.
    w.reset();
    auto again = openOn<JxcHZ>(set);
    QVERIFY(again->Menu_JY[2]->isEnabled());
    again->Menu_JY[2]->trigger();
    QCOMPARE(column(again->GD, 15, 2), shown);
    QCOMPARE(again->DTP0->date(), QDate(2024, 5, 1));
    QCOMPARE(again->Txt->text(), QString());

    // An empty report is refused.
    again->Txt->setText(QStringLiteral("NONE"));
    again->Cmd->click();
    MessageScript msgs;
    msgs.expect(QStringLiteral("空表格不需要记忆！"));
    again->Menu_JY[0]->trigger();
}

void TestReportWindows::crossCheckFindsTheDifferingGoods()
{
    FreshAccountSet set;
    MayBook(set);
    auto w = openOn<JxcHZ>(set, QDate(2024, 5, 1), QDate::currentDate());
    w->ChkQuery->setChecked(false);
    w->Cmd->click();
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("OK"));
        w->aaa->trigger();
    }
    set.db().execute(QStringLiteral("UPDATE TA4 SET F8 = 99 WHERE F1 = 'G2'"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("3"));
    w->aaa->trigger();
    QCOMPARE(msgs.last().title, QStringLiteral("存量不同"));
}

void TestReportWindows::detailCheck()
{
    FreshAccountSet set;
    MayBook(set);
    GoodsSpec g{QStringLiteral("G9"), QStringLiteral("玖")};
    g.openingQty = g.stock = 10;
    g.openingPrice = g.cost = 1;
    g.openingAmount = g.amount = 10;
    AddGoods(set.db(), g);
    PostMoves(set.app(), {"I G9 5 1 2024-05-14", "O G9 3 0 2024-05-15"});
    auto w = openOn<JxcMx>(set);
    w->Txt->setText(QStringLiteral("g9"));
    w->Cmd->click();
    QCOMPARE(w->ReportGoodsCode, QStringLiteral("G9"));
    QCOMPARE(column(w->GD, 15, 2), (QStringList{"15", "12", ""}));
    MessageScript msgs;
    msgs.expect(QStringLiteral("验算完成，未发现错误！"));
    w->Menu_YanSuan->trigger();
    w->Txt->clear();
    w->Cmd->click();
    msgs.expect(QStringLiteral("点击生成报表,然后再进行验算!"));
    w->Menu_YanSuan->trigger();
}

void TestReportWindows::stockListAlarmsAndPriceSwitch()
{
    FreshAccountSet set;
    MayBook(set);
    C1 list(set.app());
    list.resize(1200, 600);
    QCOMPARE(column(list.GD, 0, 1), (QStringList{"G1", "G2", "G3", ""}));
    QCOMPARE(list.GD->textMatrix(4, 1), QStringLiteral("合计："));
    QCOMPARE(list.GD->textMatrix(0, 8), QStringLiteral("成本单价"));
    list.Menu_Price_Click(1);
    QCOMPARE(list.GD->textMatrix(0, 8), QStringLiteral("销售单价"));
    QCOMPARE(list.GD->rows(), 5);

    // An alarm window loads empty, then lists the goods below safety stock.
    C1 alarm(set.app(), nullptr, 1);
    QCOMPARE(alarm.GD->textMatrix(1, 0), QString());
    alarm.Menu_Bellow_Click();
    QCOMPARE(column(alarm.GD, 0, 1), (QStringList{"G3", ""}));
    QVERIFY(alarm.windowTitle().startsWith(QStringLiteral("库存报警：低于安全库存的")));
    QVERIFY(alarm.GD->colWidth(5) > 0);
    QCOMPARE(alarm.GD->colWidth(6), 0);

    list.Txt->setText(QStringLiteral("G*"));
    list.TxtF2->setText(QStringLiteral("丙"));
    list.Command1->click();
    QCOMPARE(column(list.GD, 0, 1), (QStringList{"G3", ""}));
}

void TestReportWindows::stockPerAttributeValue()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    MayBook(set);
    PostMoves(set.app(), {"I G1 3 2 2024-05-20 @B"});
    C11 w(set.app());
    QCOMPARE(column(w.GD, 0, 1), (QStringList{"G1", "G1", "G2", ""}));
    QCOMPARE(w.GD->textMatrix(0, 4), QStringLiteral("批号"));
    w.LabBZ->click();
    QVERIFY(w.inboundRemarkMode());
    w.TxtSX->setText(QStringLiteral("B"));
    w.Command1->click();
    QCOMPARE(column(w.GD, 0, 1), (QStringList{"G1", ""}));
    QCOMPARE(w.GD->textMatrix(0, 8), QStringLiteral("入库备注"));
}

using ReportMaker = std::function<ReportForm*(App&)>;
Q_DECLARE_METATYPE(ReportMaker)

void TestReportWindows::codesStandLeftNumbersRight_data()
{
    QTest::addColumn<ReportMaker>("make");
    QTest::addColumn<int>("codeCol");
    QTest::addColumn<int>("numberCol");
    QTest::newRow("stock list") << ReportMaker([](App& a) -> ReportForm* { return new C1(a); }) << 0 << 9;
    QTest::newRow("summary") << ReportMaker([](App& a) -> ReportForm* { return new JxcHZ(a); }) << 0 << 17;
    QTest::newRow("detail") << ReportMaker([](App& a) -> ReportForm* { return new JxcMx(a); }) << 5 << 11;
}

// A goods code of digits is text: it stands left like any code, the figures right.
void TestReportWindows::codesStandLeftNumbersRight()
{
    QFETCH(ReportMaker, make);
    QFETCH(int, codeCol);
    QFETCH(int, numberCol);
    FreshAccountSet set;
    MayBook(set);
    PostMoves(set.app(), {"I 1001 5 2 2024-05-20"});
    std::unique_ptr<ReportForm> w(make(set.app()));
    w->resize(1200, 600);
    w->show();
    if (w->DTP0) {
        w->DTP0->setDate(QDate(2024, 5, 1));
        w->DTP1->setDate(QDate(2024, 5, 31));
    }
    w->Run();
    Grid* g = w->GD;
    int row = -1;
    for (int r = g->fixedRows(); r < g->rows() && row < 0; ++r)
        if (g->textMatrix(r, codeCol) == QLatin1String("1001"))
            row = r;
    QVERIFY(row > 0);
    QVERIFY(!g->textMatrix(row, numberCol).isEmpty());
    QCOMPARE(g->gridModel()->effectiveAlignment(row, codeCol) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(g->gridModel()->effectiveAlignment(row, numberCol) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

void TestReportWindows::menuOpensTheReports()
{
    FreshAccountSet set;
    MayBook(set);
    RegisterReportWindows(set.app().Windows);
    for (const char* name : {"Menu_E3", "Menu_E1", "Menu_KC0", "Menu_KC1"}) {
        QVERIFY2(OpenWindow(set.app(), QString::fromLatin1(name)), name);
        QVERIFY2(OpenedWindow(set.app(), QString::fromLatin1(name)), name);
    }
    QVERIFY(qobject_cast<JxcHZ*>(OpenedWindow(set.app(), QStringLiteral("Menu_E3"))));
    QVERIFY(set.app().Windows.road.stockAlarm);
    for (const char* name : {"Menu_E3", "Menu_E1", "Menu_KC0", "Menu_KC1"})
        OpenedWindow(set.app(), QString::fromLatin1(name))->close();
    // The closed windows go while their account set is still open.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestReportWindows)
#include "tst_reportwindows.moc"

// The detail print stages every line with its remark in M1, amounts only in
// the layout with amounts, and the print statement reads M1 and M2 in their
// places before the numbers.
void TestReportWindows::detailPrintStagesRemarks_data()
{
    QTest::addColumn<bool>("quantitiesOnly");
    QTest::addColumn<QString>("inAmount");
    QTest::newRow("amounts") << false << "20.00";
    QTest::newRow("quantities only") << true << " ";
}

void TestReportWindows::detailPrintStagesRemarks()
{
    QFETCH(bool, quantitiesOnly);
    QFETCH(QString, inAmount);
    FreshAccountSet set;
    MayBook(set);
    FakePrinters::Installation printers(set.folder());
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat"), QStringLiteral("Pjccmx.vxp")}));
    set.db().execute(QStringLiteral("UPDATE TB11 SET F9 = '到货''s 备注' WHERE F1 = 'G1' AND R6 > 0"));
    auto w = openOn<JxcMx>(set);
    w->Txt->setText(QStringLiteral("G1"));
    w->ChK->setChecked(quantitiesOnly);
    w->Cmd->click();
    QString staged;
    bool shown = false;
    WhenModal([&](QWidget* m) {
        auto* window = qobject_cast<Myprn*>(m);
        QVERIFY2(window, qPrintable(m->metaObject()->className()));
        shown = true;
        staged = set.db()
                     .scalar(QStringLiteral("SELECT group_concat(F10 || '|' || F11 || '|' || ifnull(M1, '') || '|' || CAST(V1 AS INTEGER), ';') "
                                            "FROM (SELECT * FROM temp.Plist ORDER BY F0)"))
                     .toString();
        window->close();
    });
    w->Menu_print->trigger();
    QVERIFY(shown);
    // The out line: no in quantity, and its in amount blank in the layout without amounts.
    QCOMPARE(staged, QStringLiteral("10|%1|到货's 备注|2;|%2||3").arg(inAmount, quantitiesOnly ? QStringLiteral(" ") : QString()));
}
