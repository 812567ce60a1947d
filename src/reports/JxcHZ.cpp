#include "reports/JxcHZ.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "reports/StockStatistics.h"
#include "widgets/CancellableBusyPanel.h"
#include "widgets/GridBehaviours.h"
#include "widgets/NoRightsRefusal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenuBar>

namespace {

const char* const Numerals[] = {"一", "二", "三"};

QString restoreCaption(int k)
{
    return QStringLiteral("&%1.恢复记忆%2").arg(k + 1).arg(QString::fromUtf8(Numerals[k]));
}

}  // namespace

JxcHZ::JxcHZ(App& a, QWidget* parent) : StockMovementForm(a, QStringLiteral("货品进出存汇总"), parent)
{
    setObjectName(QStringLiteral("JxcHZ"));
    ChkQuery = new QCheckBox(QStringLiteral("只统计本期发生进出的") + app.GoodsTerm, Frm);
    ChkQuery->setObjectName(QStringLiteral("ChkQuery"));
    ChkQuery->setChecked(true);
    static_cast<QGridLayout*>(Frm->layout())->addWidget(ChkQuery, 0, 5);

    aaaa = MenuBar->addAction(QStringLiteral("库存表"));
    aaaa->setObjectName(QStringLiteral("aaaa"));
    aaa = MenuBar->addAction(QStringLiteral("比较"));
    aaa->setObjectName(QStringLiteral("aaa"));
    QMenu* memory = MenuBar->addMenu(QStringLiteral("&M.记忆"));
    memory->setObjectName(QStringLiteral("Menu_M"));
    const QStringList captions{QStringLiteral("&0.暂时记忆"), QString(), QStringLiteral("&1.空"),
                               QStringLiteral("&2.空"), QStringLiteral("&3.空")};
    for (int i = 0; i < 5; ++i) {
        Menu_JY[i] = i == 1 ? memory->addSeparator() : memory->addAction(captions[i]);
        Menu_JY[i]->setObjectName(QStringLiteral("Menu_JY%1").arg(i));
        Menu_JY[i]->setEnabled(i == 0);
    }
    Menu_TE = MenuBar->addAction(QStringLiteral("&T.导出"));
    Menu_TE->setObjectName(QStringLiteral("Menu_TE"));
    QMenu* print = MenuBar->addMenu(QStringLiteral("&P.打印"));
    Menu_print1 = print->addAction(QStringLiteral("&1.货品进出存汇总表"));
    Menu_print1->setObjectName(QStringLiteral("Menu_print1"));
    Menu_print2 = print->addAction(QStringLiteral("&2.类别进出存汇总表(金额)"));
    Menu_print2->setObjectName(QStringLiteral("Menu_print2"));
    Menu_Return = MenuBar->addAction(QStringLiteral("&R.返回"));
    Menu_Return->setObjectName(QStringLiteral("Menu_Return"));

    connect(aaaa, &QAction::triggered, this, [this] { OpenWindow(app, QStringLiteral("Menu_KC0")); });
    connect(aaa, &QAction::triggered, this, &JxcHZ::aaa_Click);
    connect(Menu_JY[0], &QAction::triggered, this, &JxcHZ::StoreReportMemory);
    for (int k = 0; k < 3; ++k)
        connect(Menu_JY[k + 2], &QAction::triggered, this, [this, k] { RestoreReportMemory(k); });
    connect(Menu_TE, &QAction::triggered, this, [this] { exportGrid({6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}); });
    connect(Menu_print1, &QAction::triggered, this, &JxcHZ::Menu_print1_Click);
    connect(Menu_print2, &QAction::triggered, this, &JxcHZ::Menu_print2_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);

    setNumberColumns({6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
    RecordStatusLine::Options o;
    o.totalsRow = true;
    o.middleCol = 6;
    m_status = new RecordStatusLine(app, GD, o);
    openReport();
    prepareMemoryMenu();
}

void JxcHZ::setupGrid()
{
    GD->clear();
    GD->setCols(18);
    GD->setFixedRows(2);
    GD->setRows(3);
    const QString attr = app.GoodsTerm + QStringLiteral("属性");
    const QStringList groups{attr, attr, attr, attr, attr, attr};
    const QStringList heads{QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("规格"),
                            QStringLiteral("单位"), QStringLiteral("类别编码"), QStringLiteral("类别名称")};
    const QStringList sides{QStringLiteral("上期结存"), QStringLiteral("本期入库"), QStringLiteral("本期出库"),
                            QStringLiteral("期末存量")};
    for (int c = 0; c < 18; ++c) {
        const bool goods = c < 6;
        GD->setTextMatrix(0, c, goods ? groups[c] : sides[(c - 6) / 3]);
        GD->setTextMatrix(1, c, goods ? heads[c] : QStringList{QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额")}[(c - 6) % 3]);
        GD->setFixedAlignment(c, Qt::AlignCenter);
    }
    GD->setMergeRow(0, true);
}

void JxcHZ::layoutColumns()
{
    const int W = Grid::pixelsToTwips(width() - 20);
    const bool qtyOnly = ChK->isChecked();
    if (!qtyOnly) {
        const int w = qRound(W / 16.0 - 8);
        for (int c = 0; c < 18; ++c)
            GD->setColWidth(c, w);
        GD->setColWidth(1, 2 * w);
        GD->setColWidth(3, w / 2);
        GD->setColWidth(0, 2 * w);
    } else {
        const int q = qRound(W / 12.0 - 8);
        for (int c = 0; c < 18; ++c)
            GD->setColWidth(c, q);
        for (int c : {8, 11, 14, 17})
            GD->setColWidth(c, 0);
        GD->setColWidth(1, 2 * q);
        GD->setColWidth(2, 2 * q);
        GD->setColWidth(3, q / 2);
        GD->setColWidth(0, qRound(W / 12.0));
    }
    for (int c : {7, 10, 13, 16})
        GD->setColWidth(c, 0);
}

bool JxcHZ::generate()
{
    const StockMovementFilter f = filter();
    QElapsedTimer clock;
    clock.start();
    qint64 shownAt = 0;
    int shown = 0;
    // Runs longer than a second show the goods that are complete while the rest loads.
    auto progress = [&](int rowsSoFar) {
        if (clock.elapsed() - shownAt > 1000 && rowsSoFar > shown) {
            showRows(shown);
            shown = rowsSoFar;
            shownAt = clock.elapsed();
        }
        const QString code = rowsSoFar > 0 ? m_report.rows[size_t(rowsSoFar) - 1].code : QString();
        return keepGoing(ChkQuery->isChecked() || code.isEmpty()
                             ? QString()
                             : QStringLiteral("正在读取") + app.GoodsTerm + QStringLiteral("  ") + code + QStringLiteral(" ..."));
    };
    if (ChkQuery->isChecked())
        GenerateMovedGoodsSummary(app.CurrentDatabase, f, app.AmountFormat, m_report, progress);
    else
        GenerateAllGoodsSummary(app.CurrentDatabase, f, app.AmountFormat, m_report, progress);

    std::vector<QString> cells;
    cells.reserve((m_report.rows.size() + 1) * 18);
    for (const SummaryRow& r : m_report.rows)
        for (const QString& c : SummaryCells(r, app.PriceFormat, app.AmountFormat))
            cells.push_back(c);
    if (!m_report.cancelled)
        for (const QString& c : SummaryTotalCells(m_report.totals, app.AmountFormat))
            cells.push_back(c);
    const int dataRows = int(cells.size() / 18);
    if (dataRows == 0) {
        GD->setRows(3);
    } else {
        GD->load(dataRows, 18, std::move(cells));
    }
    GD->setCurrent(2, 0);
    return !m_report.cancelled;
}

void JxcHZ::showRows(int from)
{
    GD->setRedraw(false);
    for (size_t i = size_t(from); i < m_report.rows.size(); ++i) {
        if (!m_report.rows[i].closed)
            break;
        const int r = int(i) + 2;
        if (GD->rows() <= r)
            GD->setRows(r + 1);
        const QStringList c = SummaryCells(m_report.rows[i], app.PriceFormat, app.AmountFormat);
        for (int col = 0; col < 18; ++col)
            GD->setTextMatrix(r, col, c[col]);
    }
    GD->setRedraw(true);
}

void JxcHZ::prepareMemoryMenu()
{
    int filled = 0;
    for (int k = 0; k < 3 && !app.SummaryMemories[size_t(k)].isEmpty(); ++k) {
        Menu_JY[k + 2]->setText(restoreCaption(k));
        Menu_JY[k + 2]->setEnabled(true);
        ++filled;
    }
    Menu_JY[0]->setEnabled(filled < 3);
}

void JxcHZ::StoreReportMemory()
{
    if (GD->textMatrix(2, 0).isEmpty()) {
        MsgBox(QStringLiteral("空表格不需要记忆！"), MB::Information, QString());
        return;
    }
    if (lastRunCancelled()) {
        MsgBox(QStringLiteral("报表生成已取消，数据不完整，不能记忆！"), MB::Information, QString());
        return;
    }
    int k = 0;
    while (k < 3 && !app.SummaryMemories[size_t(k)].isEmpty())
        ++k;
    if (k == 3) {
        MsgBox(QStringLiteral("最多只能记忆三张报表，现在记忆已满！"), MB::Information, QString());
        return;
    }
    const QString cr = QStringLiteral("\r");
    const QString question =
        QStringLiteral("在数据量较大生成进出存汇总表耗时较长的情况下，记忆功能可以帮助您临时记忆报表数据，") + cr +
        QStringLiteral("以便您生成一张进出存汇总表之后还可以返回系统主面界进行其它操作，") + cr +
        QStringLiteral("当您再次进入本界面，您就可以通过恢复记忆的方法快速回翻到记忆的报表。") + cr + cr +
        QStringLiteral("您退出系统或重新登录系统后，这部份记忆将消失。") + cr + cr +
        QStringLiteral("现在开始记忆当前报表吗？");
    if (MsgBox(question, MB::YesNo | MB::Information | MB::DefaultButton2, QStringLiteral("暂时记忆")) != MB::Yes)
        return;
    ReportMemory& slot = app.SummaryMemories[size_t(k)];
    slot.inputs = {DateText(DTP0->date()), DateText(DTP1->date()), Comb->currentText(), Txt->text(),
                   ChkQuery->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
                   ChK->isChecked() ? QStringLiteral("1") : QStringLiteral("0")};
    slot.rows.clear();
    for (int r = 2; r < GD->rows(); ++r) {
        QStringList row;
        for (int c = 0; c < 18; ++c)
            row << GD->textMatrix(r, c);
        slot.rows.push_back(row);
    }
    MsgBox(QStringLiteral("当前数据已经写入记忆") + QString::fromUtf8(Numerals[k]) + QStringLiteral("！"), MB::Information,
           QString());
    Menu_JY[k + 2]->setText(restoreCaption(k));
    Menu_JY[k + 2]->setEnabled(true);
    Menu_JY[0]->setEnabled(k < 2);
    setupGrid();
}

void JxcHZ::RestoreReportMemory(int k)
{
    const ReportMemory& slot = app.SummaryMemories[size_t(k)];
    if (slot.isEmpty())
        return;
    QString from = slot.inputs.value(0), to = slot.inputs.value(1);
    try {
        DTP0->setDate(ParseDate(from));
        DTP1->setDate(ParseDate(to));
    } catch (const DateError&) {
    }
    const int cat = Comb->findText(slot.inputs.value(2), Qt::MatchExactly);
    if (cat >= 0)
        Comb->setCurrentIndex(cat);
    Txt->setText(slot.inputs.value(3));
    ChkQuery->setChecked(LeadValue(slot.inputs.value(4)) == 1);
    if (ChK->isVisible())
        ChK->setChecked(LeadValue(slot.inputs.value(5)) == 1);
    setupGrid();
    std::vector<QString> cells;
    for (const QStringList& row : slot.rows)
        for (int c = 0; c < 18; ++c)
            cells.push_back(row.value(c));
    GD->load(int(slot.rows.size()), 18, std::move(cells));
    GD->setCurrent(2, 0);
    m_status->update();
}

void JxcHZ::aaa_Click()
{
    std::vector<CodeQty> summary, stock;
    for (int r = 2; r <= GD->rows() - 2; ++r)
        summary.push_back({GD->textMatrix(r, 0), LeadValue(GD->textMatrix(r, 15))});
    try {
        for (const StockListRow& s : ListStock(app.CurrentDatabase, {}, PriceBasis::Cost))
            stock.push_back({s.code, s.qty});
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
        return;
    }
    const SummaryStockComparison c = CompareSummaryWithStock(summary, stock);
    const int row = c.summaryIndex + 2;
    switch (c.result) {
    case SummaryStockComparison::Result::Same:
        MsgBox(QStringLiteral("OK"), MB::OKOnly, QString());
        break;
    case SummaryStockComparison::Result::CodeMissing:
        MsgBox(QString::number(row), MB::Information, QStringLiteral("编码不同"));
        break;
    case SummaryStockComparison::Result::QtyDiffers:
        MsgBox(QString::number(row) + QStringLiteral("\r") + GeneralNumberText(c.summaryQty) + QStringLiteral("   ") +
                   GeneralNumberText(c.stockQty),
               MB::OKOnly, QStringLiteral("存量不同"));
        break;
    }
}

QString JxcHZ::categoryLine(bool goodsPrint) const
{
    const QString cat = Comb->currentText().trimmed();
    const bool all = cat.isEmpty() || cat.startsWith(QStringLiteral("所有"));
    if (goodsPrint)
        return Labe2->text() + (all ? QStringLiteral("所有类别") : cat);
    return all ? QStringLiteral(" ") : Labe2->text() + QStringLiteral("：") + cat;
}

QString JxcHZ::goodsLine() const
{
    const QString code = Txt->text().trimmed();
    if (code.isEmpty() || code.startsWith(QStringLiteral("所有")))
        return QStringLiteral(" ");
    return app.GoodsTerm + QStringLiteral("：(") + code + QStringLiteral(")") +
           SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = ?"), {code});
}

void JxcHZ::Menu_print1_Click()
{
    if (!RequireRight(app, 8, 1))
        return;
    if (!readyToPrint())
        return;
    PlistPrint job(app);
    job.Pid = QStringLiteral("进出存汇总表一");
    job.RptFile = app.AppFolder + QStringLiteral("Pjcchz.vxp");
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.setValue(QStringLiteral("FromDate"), DTP0->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("ToDate"), DTP1->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("HPLB"), categoryLine(true));
    job.setValue(QStringLiteral("HP"), goodsLine());
    const bool qtyOnly = ChK->isChecked();
    for (int r = 2; r < GD->rows(); ++r) {
        QStringList t;
        for (int c = 0; c < 6; ++c)
            t << GD->textMatrix(r, c);
        for (int g : {6, 9, 12, 15}) {
            t << NumText(LeadValue(GD->textMatrix(r, g)));
            t << (qtyOnly ? QStringLiteral(" ") : NumText(LeadValue(GD->textMatrix(r, g + 2))));
        }
        t << QString();
        job.addRow(t, {double(r - 1)});
    }
    job.PrnSQL = QStringLiteral("select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15,V1 from plist order by F0");
    job.show(this);
}

void JxcHZ::Menu_print2_Click()
{
    if (!RequireRight(app, 8, 1))
        return;
    if (!ChK->isVisible()) {
        MsgBox(QStringLiteral("对不起，您无此权限！"), MB::Information, QString());
        return;
    }
    if (ChK->isChecked()) {
        MsgBox(QStringLiteral("在[只统计数量]的情况下不能打印本报表!"), MB::Information, QString());
        return;
    }
    if (!readyToPrint())
        return;
    PlistPrint job(app);
    job.Pid = QStringLiteral("进出存汇总表二");
    job.RptFile = app.AppFolder + QStringLiteral("Pjcclbhz.vxp");
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.setValue(QStringLiteral("FromDate"), DTP0->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("ToDate"), DTP1->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("HPLB"), categoryLine(false));
    job.setValue(QStringLiteral("HP"), goodsLine());
    const int last = GD->rows() - 1;
    for (int g : {6, 9, 12, 15}) {
        job.setValue(QStringLiteral("SumSL%1").arg(g), GD->textMatrix(last, g));
        job.setValue(QStringLiteral("SumJE%1").arg(g), GD->textMatrix(last, g + 2));
    }
    for (int r = 2; r <= GD->rows() - 2; ++r)
        job.addRow({GD->textMatrix(r, 4), GD->textMatrix(r, 5), QString::number(r - 1)},
                   {LeadValue(GD->textMatrix(r, 8)), LeadValue(GD->textMatrix(r, 11)), LeadValue(GD->textMatrix(r, 14)),
                    LeadValue(GD->textMatrix(r, 17))});
    job.PrnSQL = QStringLiteral("select F1,F2,sum(V1) as JineFmt1,sum(V2) as JineFmt2,sum(V3) as JineFmt3,"
                                "sum(V4) as JineFmt4 from plist group by F1,F2 order by F1");
    job.show(this);
}
