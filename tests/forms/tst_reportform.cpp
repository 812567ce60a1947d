#include "forms/ReportFilters.h"
#include "forms/ReportForm.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "widgets/CancellableBusyPanel.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The report window base driven through a stand-in report whose run is scripted.
class TestReportForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeRunFillsTheGrid();
    void closingDuringARunStopsItThenCloses();
    void failedRunIsToldAndTheWindowStaysUsable();
    void printRefusesAnIncompleteReport_data();
    void printRefusesAnIncompleteReport();
    void filterParts();
};

namespace {

// Steps of a run: each writes one row and asks whether to go on.
class StandInReport : public ReportForm {
public:
    explicit StandInReport(App& app) : ReportForm(app, QStringLiteral("测试报表"), nullptr)
    {
        addPeriod(0, 0);
        addRunButton("Cmd", 0, 4, 1);
        addBusyPanel();
        GD->setFixedRows(1);
    }
    int steps = 3;
    bool failing = false;
    std::function<void(int step)> duringStep;
    int runs = 0;
    using ReportForm::readyToPrint;

protected:
    void setupGrid() override
    {
        GD->clear();
        GD->setCols(2);
        GD->setRows(2);
    }
    bool generate() override
    {
        ++runs;
        if (failing)
            throw DbError(1, QStringLiteral("读不到数据"));
        for (int i = 0; i < steps; ++i) {
            if (duringStep)
                duringStep(i);
            if (!keepGoing(QStringLiteral("第%1步").arg(i)))
                return false;
            const int r = i == 0 ? 1 : GD->rows();
            if (r >= GD->rows())
                GD->setRows(r + 1);
            GD->setTextMatrix(r, 0, QStringLiteral("R%1").arg(i));
        }
        return true;
    }
};

QStringList column0(Grid* g)
{
    QStringList out;
    for (int r = g->fixedRows(); r < g->rows(); ++r)
        out << g->textMatrix(r, 0);
    return out;
}

}  // namespace

void TestReportForm::wholeRunFillsTheGrid()
{
    FreshAccountSet set;
    StandInReport w(set.app());
    w.show();
    w.RunButton->click();
    QCOMPARE(w.runs, 1);
    QCOMPARE(column0(w.GD), (QStringList{"R0", "R1", "R2"}));
    QVERIFY(!w.lastRunCancelled());
    QVERIFY(w.RunButton->isEnabled());
    QVERIFY(w.Frm->isEnabled());
    QVERIFY(!w.cancelfrm->isVisible());
}

// Closing while a run goes on cancels the run and closes once it has let go;
// the grid shows the run as incomplete.
void TestReportForm::closingDuringARunStopsItThenCloses()
{
    FreshAccountSet set;
    auto* w = new StandInReport(set.app());
    QPointer<StandInReport> alive(w);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    w->duringStep = [w](int step) {
        if (step == 1) {
            QVERIFY(w->running());
            QVERIFY(!w->RunButton->isEnabled());
            QVERIFY(!w->close());  // refused for now: the run must stop first
            QVERIFY(w->isVisible());
        }
    };
    w->RunButton->click();
    QVERIFY(w->lastRunCancelled());
    QVERIFY(!w->isVisible());
    QCOMPARE(column0(w->GD), (QStringList{"R0", "（已取消：报表不完整）"}));
    delete w;
}

void TestReportForm::failedRunIsToldAndTheWindowStaysUsable()
{
    FreshAccountSet set;
    StandInReport w(set.app());
    w.show();
    w.failing = true;
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("读不到数据"));
        w.RunButton->click();
        QCOMPARE(msgs.last().window.data(), &w);
    }
    QVERIFY(w.RunButton->isEnabled());
    QVERIFY(w.Frm->isEnabled());
    w.failing = false;
    w.RunButton->click();
    QCOMPARE(w.runs, 2);
    QCOMPARE(column0(w.GD), (QStringList{"R0", "R1", "R2"}));
}

void TestReportForm::printRefusesAnIncompleteReport_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no rows") << 0 << false << "没有数据可打印！";
    QTest::newRow("cancelled") << 3 << true << "报表生成已取消，数据不完整，不能打印！";
    QTest::newRow("whole") << 3 << false << "";
}

void TestReportForm::printRefusesAnIncompleteReport()
{
    QFETCH(int, steps);
    QFETCH(bool, cancel);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    StandInReport w(set.app());
    w.show();
    w.steps = steps;
    if (cancel)
        w.duringStep = [&w](int step) {
            if (step == 1)
                w.cancelfrm->CmdCancel->click();
        };
    w.RunButton->click();
    MessageScript msgs;
    if (!refusal.isEmpty())
        msgs.expect(refusal);
    QCOMPARE(w.readyToPrint(), refusal.isEmpty());
}

void TestReportForm::filterParts()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('01', '五金')"));
    QFrame frame;
    auto* layout = new QGridLayout(&frame);
    QStringList picked;
    const GoodsFilterPart goods = AddGoodsFilter(&frame, layout, 0, 0, QStringLiteral("货品编码"), [&](QLineEdit* box) {
        picked << box->text();
        box->setText(QStringLiteral("G1"));
    });
    QCOMPARE(goods.Txt->objectName(), QStringLiteral("Txt"));
    QCOMPARE(goods.CmdQuery->objectName(), QStringLiteral("CmdQuery"));
    goods.Txt->setText(QStringLiteral("G*"));
    goods.CmdQuery->click();
    QCOMPARE(picked, QStringList{"G*"});
    QCOMPARE(goods.Txt->text(), QStringLiteral("G1"));

    const CategoryFilterPart category = AddCategoryFilter(&frame, layout, 1, 0, QStringLiteral("类别"), "CmbLB");
    QCOMPARE(category.combo->objectName(), QStringLiteral("CmbLB"));
    const QStringList items = CategoryFilterItems(set.db());
    QCOMPARE(items, (QStringList{"000.无类别", "01.五金"}));
    QCOMPARE(CategoryCodeOf(items.last()), QStringLiteral("01"));

    const UnitFilterPart unit = AddUnitFilter(&frame, layout, 2, 0, QStringLiteral("供应商"), "TxtGys");
    QCOMPARE(unit.box->objectName(), QStringLiteral("TxtGys"));
    QVERIFY(!unit.pickButton);
}

VX_REGISTER_TEST(TestReportForm)
#include "tst_reportform.moc"
