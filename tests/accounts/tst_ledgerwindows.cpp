#include "AccountsSupport.h"

#include "accounts/LedgerForm.h"
#include "accounts/LedgerService.h"
#include "accounts/Register.h"
#include "core/App.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "print/Myprn.h"
#include "widgets/GridBehaviours.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The general and the detail ledger windows on both sides, driven through
// their named controls on a real account set, with their prints.
class TestLedgerWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void generalLedgerShowsEveryUnit_data();
    void generalLedgerShowsEveryUnit();
    void unitBoxChoosesOneUnit_data();
    void unitBoxChoosesOneUnit();
    void drillDownOpensTheUnitsDetail_data();
    void drillDownOpensTheUnitsDetail();
    void detailLedgerFromTheMenuTakesTheLastLedgerOfItsSide();
    void sortKeepsTheTotalsRowLast();
    void generalLedgerPrint_data();
    void generalLedgerPrint();
    void detailPrintKeepsRowOrderPastTenThousandRows();
};

namespace {

const QDate Day(2026, 3, 5);

struct Books {
    FreshAccountSet set;
    Books()
    {
        set.loginAs(QStringLiteral("001"));
        AddAccountUnits(set.db());
        PostStockDocument(set.app(), QStringLiteral("RK0"), Day.addDays(-10), QStringLiteral("S1"), 40);
        PostStockDocument(set.app(), QStringLiteral("RK1"), Day, QStringLiteral("S1"), 30);
        AddVoucher(set.app(), DocKind::Payment, QStringLiteral("FK1"), Day, QStringLiteral("S1"), 20);
        AddVoucher(set.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day.addDays(2), QStringLiteral("S2"), 7);
        AddVoucher(set.app(), DocKind::AddedReceivable, QStringLiteral("YS1"), Day, QStringLiteral("C1"), 12);
        AddVoucher(set.app(), DocKind::Receipt, QStringLiteral("SK1"), Day.addDays(1), QStringLiteral("C1"), 5);
        RegisterAccountWindows(set.app().Windows);
    }
    // The windows the menu opened go before the account set they show.
    ~Books()
    {
        for (const QPointer<QWidget>& w : set.app().Windows.opened)
            delete w.data();
    }
    Database& db() { return set.db(); }
    App& app() { return set.app(); }
};

template <class W>
W* opened(App& app, const QString& item)
{
    auto* w = qobject_cast<W*>(OpenedWindow(app, item));
    if (w)
        w->resize(1000, 500);
    return w;
}

// Runs the ledger over the test period with the unit box text `unit`.
void runOver(LedgerForm& w, const QString& unit = QString())
{
    w.DTP0->setDate(Day.addDays(-1));
    w.DTP1->setDate(Day.addDays(5));
    w.Cmb->setEditText(unit);
    w.Cmd->click();
}

QStringList rowTexts(const Grid* g, int row)
{
    QStringList t;
    for (int c = 0; c < g->cols(); ++c)
        t << g->textMatrix(row, c);
    return t;
}

}  // namespace

void TestLedgerWindows::generalLedgerShowsEveryUnit_data()
{
    QTest::addColumn<int>("lb");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("unitWord");
    QTest::addColumn<QString>("moneyWord");
    QTest::addColumn<QStringList>("units");
    QTest::newRow("payables") << 10 << "应付货款总账" << "供应商" << "付" << QStringList{"S1", "S2"};
    QTest::newRow("receivables") << -10 << "应收账款总账" << "客户" << "收" << QStringList{"C1", "C2"};
}

void TestLedgerWindows::generalLedgerShowsEveryUnit()
{
    QFETCH(int, lb);
    QFETCH(QString, caption);
    QFETCH(QString, unitWord);
    QFETCH(QString, moneyWord);
    QFETCH(QStringList, units);
    Books b;
    QVERIFY(OpenWindow(b.app(), GeneralLedgerItem(lb)));
    auto* w = opened<KuanHz>(b.app(), GeneralLedgerItem(lb));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->LabDW->text(), unitWord);
    QCOMPARE(w->Cmb->itemText(0), QStringLiteral("所有") + unitWord);
    QCOMPARE(w->Cmb->count(), 3);
    // Opening generated the ledger of every unit at once.
    QCOMPARE(w->GD->rows(), units.size() + 2);
    runOver(*w);
    const Grid* g = w->GD;
    QCOMPARE(g->textMatrix(0, 0), unitWord + QStringLiteral("编码"));
    QCOMPARE(g->textMatrix(0, 6), QStringLiteral("期初应") + moneyWord);
    QCOMPARE(g->textMatrix(0, 8), QStringLiteral("本期已") + moneyWord);
    QCOMPARE(g->rows(), units.size() + 2);
    const auto rows = GeneralLedger(b.db(), lb == 10 ? UnitKind::Supplier : UnitKind::Customer, QString(),
                                    Day.addDays(-1), Day.addDays(5));
    double closing = 0;
    for (int i = 0; i < units.size(); ++i) {
        QCOMPARE(g->textMatrix(i + 1, 0), units[i]);
        QCOMPARE(g->textMatrix(i + 1, 6), FormatNumber(rows[size_t(i)].opening, b.app().AmountFormat));
        QCOMPARE(g->textMatrix(i + 1, 9), FormatNumber(rows[size_t(i)].closing, b.app().AmountFormat));
        closing += rows[size_t(i)].closing;
    }
    const int last = g->rows() - 1;
    QCOMPARE(g->textMatrix(last, 0), QString());
    QCOMPARE(g->textMatrix(last, 1), QStringLiteral("合 计："));
    QCOMPARE(g->textMatrix(last, 9), FormatNumber(closing, b.app().AmountFormat));
    // Either price item gives the same figures.
    const QStringList before = rowTexts(g, 1);
    w->Menu_Price[0]->trigger();
    QVERIFY(w->Menu_Price[0]->isChecked());
    QVERIFY(!w->Menu_Price[1]->isChecked());
    QCOMPARE(rowTexts(g, 1), before);
    // The ledger asked for is remembered for the detail ledger of this side.
    QCOMPARE(b.app().LedgerDrillArgs[3], QString::number(lb));
    QCOMPARE(b.app().LedgerDrillArgs[0], DateText(Day.addDays(-1)));
    w->close();
}

void TestLedgerWindows::unitBoxChoosesOneUnit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("rows");  // 0: the ledger shown is kept
    QTest::newRow("code alone") << "S2" << "S2.供应商二" << 3;
    QTest::newRow("code and any name") << "S2.whatever" << "S2.供应商二" << 3;
    QTest::newRow("all units") << "所有供应商" << "所有供应商" << 4;
    QTest::newRow("empty") << "" << "" << 4;
    QTest::newRow("unknown code") << "X9" << "X9" << 0;
    QTest::newRow("customer on the supplier side") << "C1" << "C1" << 0;
    QTest::newRow("leading dot") << ".S1" << ".S1" << 0;
    QTest::newRow("quote kept out of the SQL") << "S1'--" << "S1'--" << 0;
}

void TestLedgerWindows::unitBoxChoosesOneUnit()
{
    QFETCH(QString, typed);
    QFETCH(QString, boxAfter);
    QFETCH(int, rows);
    Books b;
    KuanHz w(b.app(), 10, QStringLiteral("应付货款总账"));
    w.resize(1000, 500);
    w.show();
    runOver(w, QStringLiteral("S1"));
    QCOMPARE(w.GD->rows(), 3);
    QCOMPARE(w.Cmb->currentText(), QStringLiteral("S1.供应商一"));
    runOver(w, typed);
    QCOMPARE(w.Cmb->currentText(), boxAfter);
    if (rows == 0) {
        QCOMPARE(w.GD->rows(), 3);
        QCOMPARE(w.GD->textMatrix(1, 0), QStringLiteral("S1"));
    } else {
        QCOMPARE(w.GD->rows(), rows);
        if (rows == 3)
            QCOMPARE(w.GD->textMatrix(1, 0), QStringLiteral("S2"));
    }
}

void TestLedgerWindows::drillDownOpensTheUnitsDetail_data()
{
    QTest::addColumn<int>("lb");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("lines");
    QTest::newRow("payables") << 10 << "S1" << "应付货款明细" << "S1.供应商一" << 2;
    QTest::newRow("receivables") << -10 << "C1" << "应收账款明细" << "C1.客户一" << 2;
}

void TestLedgerWindows::drillDownOpensTheUnitsDetail()
{
    QFETCH(int, lb);
    QFETCH(QString, unit);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    QFETCH(int, lines);
    Books b;
    QVERIFY(OpenWindow(b.app(), GeneralLedgerItem(lb)));
    auto* hz = opened<KuanHz>(b.app(), GeneralLedgerItem(lb));
    QVERIFY(hz);
    runOver(*hz);
    // The totals row opens nothing.
    emit hz->GD->doubleClicked_(hz->GD->rows() - 1, 1);
    QVERIFY(!OpenedWindow(b.app(), DetailLedgerItem(lb)));
    // Dates changed after generating are the ones handed over.
    hz->DTP0->setDate(Day);
    emit hz->GD->doubleClicked_(1, 1);
    auto* mx = opened<KuanMx>(b.app(), DetailLedgerItem(lb));
    QVERIFY(mx);
    QCOMPARE(mx->windowTitle(), caption);
    QCOMPARE(mx->DTP0->date(), Day);
    QCOMPARE(mx->DTP1->date(), Day.addDays(5));
    QCOMPARE(mx->Cmb->currentText(), box);
    const Grid* g = mx->GD;
    // The unit's rows, its subtotal and the spare row.
    QCOMPARE(g->rows(), lines + 3);
    const int subtotal = lines + 1;
    QCOMPARE(g->textMatrix(subtotal, 3), DetailSubtotalText);
    QCOMPARE(g->textMatrix(subtotal, 0), unit);
    QCOMPARE(g->textMatrix(subtotal, 6), g->textMatrix(1, 6));
    QCOMPARE(g->textMatrix(subtotal, 9), g->textMatrix(lines, 9));
    QCOMPARE(g->textMatrix(2, 6), QString());  // the opening on the unit's first row only
    const double last =
        b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F3 = ? ORDER BY SRT DESC, rowid DESC LIMIT 1"), {unit})
            .toDouble();
    QCOMPARE(g->textMatrix(subtotal, 9), FormatNumber(last, b.app().AmountFormat));
    QCOMPARE(g->cellBackColor(subtotal, 2), QColor(192, 255, 255));
    QCOMPARE(g->row(), subtotal);
    QCOMPARE(g->textMatrix(g->rows() - 1, 0), QString());
    QVERIFY(mx->Menu_Weihu->isVisible());
    // A second drill-down only brings the open window forward.
    hz->DTP0->setDate(Day.addDays(-30));
    emit hz->GD->doubleClicked_(1, 1);
    QCOMPARE(mx->DTP0->date(), Day);
    mx->close();
    hz->close();
}

void TestLedgerWindows::detailLedgerFromTheMenuTakesTheLastLedgerOfItsSide()
{
    Books b;
    KuanHz hz(b.app(), 10, QStringLiteral("应付货款总账"));
    runOver(hz, QStringLiteral("S2"));
    // This side starts from the last ledger: S2 over the test period.
    QVERIFY(OpenWindow(b.app(), DetailLedgerItem(10)));
    auto* mx = opened<KuanMx>(b.app(), DetailLedgerItem(10));
    QVERIFY(mx);
    QCOMPARE(mx->Cmb->currentText(), QStringLiteral("S2.供应商二"));
    QCOMPARE(mx->DTP0->date(), Day.addDays(-1));
    QCOMPARE(mx->GD->textMatrix(1, 2), QStringLiteral("YF1"));
    QCOMPARE(mx->GD->textMatrix(1, 7), FormatNumber(7, b.app().AmountFormat));
    QCOMPARE(mx->GD->textMatrix(1, 8), QString());  // a zero decrease is left blank
    // An empty period keeps the header and one empty row.
    mx->DTP0->setDate(Day.addDays(100));
    mx->DTP1->setDate(Day.addDays(101));
    mx->Cmd->click();
    QCOMPARE(mx->GD->rows(), 2);
    // The other side starts from its defaults: every customer.
    QVERIFY(OpenWindow(b.app(), DetailLedgerItem(-10)));
    auto* other = opened<KuanMx>(b.app(), DetailLedgerItem(-10));
    QVERIFY(other);
    QCOMPARE(other->windowTitle(), QStringLiteral("应收账款明细"));
    QCOMPARE(other->Txt->text(), QString());
    QCOMPARE(other->LabDW->text(), QStringLiteral("客户"));
    // Another operator never sees the maintenance item.
    mx->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!OpenedWindow(b.app(), DetailLedgerItem(10)));
    b.app().OperatorCode = QStringLiteral("002");
    QVERIFY(OpenWindow(b.app(), DetailLedgerItem(10)));
    auto* again = opened<KuanMx>(b.app(), DetailLedgerItem(10));
    QVERIFY(again);
    QVERIFY(!again->Menu_Weihu->isVisible());
    again->close();
    other->close();
}

void TestLedgerWindows::sortKeepsTheTotalsRowLast()
{
    Books b;
    AddUnit(b.db(), {QStringLiteral("S3"), QStringLiteral("供应商三"), UnitKind::Supplier, 500});
    KuanHz w(b.app(), 10, QStringLiteral("应付货款总账"));
    w.resize(1000, 500);
    w.show();
    runOver(w);
    QCOMPARE(w.GD->rows(), 5);
    w.GD->selectColumn(9);
    ColumnSortMenu* sort = w.findChild<ColumnSortMenu*>();
    QVERIFY(sort);
    sort->sortBy(9);
    sort->sortBy(9);  // numbers descending
    QCOMPARE(w.GD->textMatrix(1, 0), QStringLiteral("S3"));
    QCOMPARE(w.GD->textMatrix(4, 1), QStringLiteral("合 计："));
}

void TestLedgerWindows::generalLedgerPrint_data()
{
    QTest::addColumn<int>("lb");
    QTest::addColumn<QString>("pid");
    QTest::addColumn<QString>("file");
    QTest::newRow("payables") << 10 << "应付总账" << "pkhzF.vxp";
    QTest::newRow("receivables") << -10 << "应收总账" << "pkhzS.vxp";
}

namespace {

struct Staged {
    bool shown = false;
    QString pid;
    QString file;
    QMap<QString, QString> values;
    QStringList keys;  // Plist.F0 in print order
    QStringList rows;  // the print statement's rows, fields joined by "|"
};

Staged capturePrint(FreshAccountSet& set, LedgerForm& w)
{
    Staged out;
    WhenModal([&](QWidget* m) {
        auto* window = qobject_cast<Myprn*>(m);
        if (window) {
            out.shown = true;
            const PrintEngine& e = window->engine();
            out.pid = e.Pid;
            out.file = QFileInfo(e.RptFile).fileName();
            for (const ItemRow& r : e.GdM)
                if (r.key == LayoutWord::Value)
                    out.values.insert(r.owner, r.value);
            const RecordSet keys = set.db().query(QStringLiteral("SELECT F0 FROM temp.Plist ORDER BY F0"));
            for (int i = 0; i < keys.rowCount(); ++i)
                out.keys << keys.text(i, 0);
            const RecordSet rows = set.db().query(e.PrnSQL);
            for (int i = 0; i < rows.rowCount(); ++i) {
                QStringList f;
                for (int c = 0; c < rows.columnCount(); ++c)
                    f << rows.text(i, c);
                out.rows << f.join(QLatin1Char('|'));
            }
        }
        m->close();
    });
    w.Menu_print->trigger();
    return out;
}

}  // namespace

void TestLedgerWindows::generalLedgerPrint()
{
    QFETCH(int, lb);
    QFETCH(QString, pid);
    QFETCH(QString, file);
    Books b;
    FakePrinters::Installation printers(b.set.folder());
    QVERIFY(InstallPrintFiles(b.set.programFolder(), {QStringLiteral("vxp.dat"), file}));
    KuanHz w(b.app(), lb, lb == 10 ? QStringLiteral("应付货款总账") : QStringLiteral("应收账款总账"));
    w.resize(1000, 500);
    w.show();
    const QString one = lb == 10 ? QStringLiteral("S1") : QStringLiteral("C1");
    runOver(w, one);
    const Staged p = capturePrint(b.set, w);
    QVERIFY(p.shown);
    QCOMPARE(p.pid, pid);
    QCOMPARE(p.file, file);
    QCOMPARE(p.values.value(QStringLiteral("Caption")), w.windowTitle());
    QCOMPARE(p.values.value(QStringLiteral("FromDate")), DateText(Day.addDays(-1)));
    QCOMPARE(p.values.value(QStringLiteral("ToDate")), DateText(Day.addDays(5)));
    QCOMPARE(p.values.value(QStringLiteral("DanWeiLeiXing")), w.LabDW->text());
    QCOMPARE(p.values.value(QStringLiteral("DanWeiName")), w.Cmb->currentText());
    // The unit's row and the totals row, with their grid row numbers.
    QCOMPARE(p.rows.size(), 2);
    QCOMPARE(p.rows[0], QStringList(rowTexts(w.GD, 1).mid(0, 2) + rowTexts(w.GD, 1).mid(6, 4) + QStringList{"1"})
                            .join(QLatin1Char('|')));
    QVERIFY(p.rows[1].startsWith(QStringLiteral("|合 计：|")));
    QVERIFY(p.rows[1].endsWith(QStringLiteral("|2")));
}

void TestLedgerWindows::detailPrintKeepsRowOrderPastTenThousandRows()
{
    Books b;
    FakePrinters::Installation printers(b.set.folder());
    QVERIFY(InstallPrintFiles(b.set.programFolder(), {QStringLiteral("vxp.dat"), QStringLiteral("pkmxF.vxp")}));
    // 10 050 audited rows of S2 on one day, each key after the last.
    const int n = 10050;
    b.db().execute(QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < ?) "
                               "INSERT INTO TB1 (F1, F2, F3, F6, SRT, S2, QC, YF, FK, QM) "
                               "SELECT printf('N%05d', i), ?, 'S2', '001', printf('%s%07d', ?, i), '调整', i - 1, 1, 0, i "
                               "FROM k"),
                {n, SqlDate(Day.addDays(3)), SqlDate(Day.addDays(3)) + QStringLiteral("X")});
    KuanMx w(b.app(), 10, QStringLiteral("应付账款明细"));
    w.resize(1000, 500);
    w.show();
    runOver(w, QStringLiteral("S2"));
    QCOMPARE(w.GD->rows(), n + 1 + 3);  // YF1, n rows, subtotal, header, spare
    const Staged p = capturePrint(b.set, w);
    QVERIFY(p.shown);
    QCOMPARE(p.pid, QStringLiteral("应付明细账"));
    QCOMPARE(p.values.value(QStringLiteral("DanWeiName")), QStringLiteral("S2.供应商二"));
    QCOMPARE(p.rows.size(), n + 2);
    // Read back in key order, the rows come in grid order: row numbers 1, 2, ... n + 2.
    for (int i = 0; i < p.rows.size(); ++i)
        QCOMPARE(p.rows[i].section(QLatin1Char('|'), 10).toDouble(), double(i + 1));
    QCOMPARE(p.rows.last().section(QLatin1Char('|'), 3, 3), DetailSubtotalText);
}

VX_REGISTER_TEST(TestLedgerWindows)
#include "tst_ledgerwindows.moc"
