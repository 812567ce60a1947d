#include "reports/JxcMx.h"

#include "core/App.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "widgets/GridBehaviours.h"
#include "widgets/NoRightsRefusal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

JxcMx::JxcMx(App& a, QWidget* parent) : StockMovementForm(a, QStringLiteral("货品进出存明细表"), parent)
{
    setObjectName(QStringLiteral("JxcMx"));
    Labe2->setText(app.GoodsTerm + QStringLiteral("类别"));
    Labe3->setText(app.GoodsTerm + QStringLiteral("编码"));
    LabOD = new QLabel(QStringLiteral("订单号码"), Frm);
    LabOD->setObjectName(QStringLiteral("LabOD"));
    TxtOD = new QLineEdit(Frm);
    TxtOD->setObjectName(QStringLiteral("TxtOD"));
    auto* grid = static_cast<QGridLayout*>(Frm->layout());
    grid->addWidget(LabOD, 0, 5);
    grid->addWidget(TxtOD, 0, 6);

    Menu_YanSuan = MenuBar->addAction(QStringLiteral("&Y.验算"));
    Menu_YanSuan->setObjectName(QStringLiteral("Menu_YanSuan"));
    Menu_TE = MenuBar->addAction(QStringLiteral("&T.导出"));
    Menu_TE->setObjectName(QStringLiteral("Menu_TE"));
    Menu_print = MenuBar->addAction(QStringLiteral("&P.打印"));
    Menu_print->setObjectName(QStringLiteral("Menu_print"));
    Menu_Return = MenuBar->addAction(QStringLiteral("&R.返回"));
    Menu_Return->setObjectName(QStringLiteral("Menu_Return"));
    connect(Menu_YanSuan, &QAction::triggered, this, &JxcMx::Menu_YanSuan_Click);
    connect(Menu_TE, &QAction::triggered, this, [this] { exportGrid({9, 10, 11, 12, 13, 14, 15, 16, 17}); });
    connect(Menu_print, &QAction::triggered, this, &JxcMx::Menu_print_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);

    setNumberColumns({9, 10, 11, 12, 13, 14, 15, 16, 17});
    RecordStatusLine::Options o;
    o.totalsRow = true;
    o.middleCol = 9;
    m_status = new RecordStatusLine(app, GD, o);
    decideOrderBox();
    openReport();
}

// The order-number box shows when the enabled main document types agree on
// the caption of their extra header item.
void JxcMx::decideOrderBox()
{
    QStringList captions;
    for (int id : {81, 83, 85, 87}) {
        if (SettingText(app.CurrentDatabase, id).isEmpty())
            continue;
        const QString c = SettingText(app.CurrentDatabase, id + 100);
        if (!c.isEmpty())
            captions << c;
    }
    captions.removeDuplicates();
    const bool show = captions.size() == 1;
    LabOD->setText(show ? captions.first() : QString());
    LabOD->setVisible(show);
    TxtOD->setVisible(show);
}

void JxcMx::setupGrid()
{
    GD->clear();
    GD->setCols(19);
    GD->setFixedRows(2);
    GD->setRows(3);
    const QStringList heads{QStringLiteral("单据号码"), QStringLiteral("发生日期"), QStringLiteral("相关部门"),
                            LabOD->text(), QStringLiteral("类别"), app.GoodsTerm + QStringLiteral("编码"),
                            app.GoodsTerm + QStringLiteral("名称"), QStringLiteral("规格"), QStringLiteral("单位"),
                            QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额"),
                            QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额"),
                            QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额"),
                            QStringLiteral("备注")};
    for (int c = 0; c < 19; ++c) {
        QString group = QStringLiteral(" ");
        if (c >= 9 && c <= 17)
            group = QStringList{QStringLiteral("入库"), QStringLiteral("出库"), QStringLiteral("结存")}[(c - 9) / 3];
        else if (c == 18)
            group.clear();
        GD->setTextMatrix(0, c, group);
        GD->setTextMatrix(1, c, heads[c]);
        GD->setFixedAlignment(c, Qt::AlignCenter);
    }
    GD->setMergeRow(0, true);
}

void JxcMx::layoutColumns()
{
    const int W = Grid::pixelsToTwips(width() - 20);
    const bool qtyOnly = ChK->isChecked();
    const int w = qtyOnly ? qRound(W / 12.0 - 20) : qRound(W / 18.0 - 15);
    for (int c = 1; c <= 18; ++c)
        GD->setColWidth(c, w);
    if (qtyOnly)
        for (int c : {10, 11, 13, 14, 16, 17})
            GD->setColWidth(c, 0);
    if (LabOD->text().isEmpty())
        GD->setColWidth(3, 0);
    GD->setColWidth(8, w / 2);
    GD->setColWidth(4, 0);
    GD->setColWidth(0, w + w / 2);
    GD->setColWidth(6, 2 * w);
}

bool JxcMx::generate()
{
    StockMovementFilter f = filter();
    f.orderNo = TxtOD->isVisible() ? TxtOD->text() : QString();
    ReportGoodsCode.clear();
    if (!f.goods.isEmpty() && !f.goods.contains(QLatin1Char('*')) && !f.goods.contains(QLatin1Char('?'))) {
        const QString found = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F1 FROM TA4 WHERE F1 = ?"), {f.goods});
        if (found.toUpper() == f.goods.toUpper())
            ReportGoodsCode = f.goods.toUpper();
    }
    setStatus(QStringLiteral("请稍候,正在读取数据......"));
    GenerateStockDetail(app.CurrentDatabase, f, m_report, [this](int) { return keepGoing(); });
    setStatus(QString());
    std::vector<QString> cells;
    cells.reserve((m_report.rows.size() + 1) * 19);
    for (const DetailRow& r : m_report.rows)
        for (const QString& c : DetailCells(r, app.PriceFormat, app.AmountFormat))
            cells.push_back(c);
    if (!m_report.cancelled)
        for (const QString& c : DetailTotalCells(m_report.rows, app.AmountFormat))
            cells.push_back(c);
    const int rows = int(cells.size() / 19);
    if (rows > 0)
        GD->load(rows, 19, std::move(cells));
    GD->setCurrent(2, 0);
    return !m_report.cancelled;
}

void JxcMx::Menu_YanSuan_Click()
{
    if (ReportGoodsCode.isEmpty()) {
        MsgBox(QStringLiteral("请输入") + Labe3->text() + QStringLiteral("\r") + QStringLiteral("点击生成报表,然后再进行验算!"),
               MB::Information, QString());
        return;
    }
    if (GD->rows() <= 3 || m_report.rows.empty()) {
        MsgBox(QStringLiteral("没有数据可验算!"), MB::Information, QString());
        return;
    }
    const int bad = CheckDetailRunningStock(m_report.rows);
    if (bad >= 0)
        MsgBox(QStringLiteral("第 %1 行存在错误!").arg(bad + 2), MB::Information, QString());
    else
        MsgBox(QStringLiteral("验算完成，未发现错误！"), MB::Information, QString());
}

void JxcMx::Menu_print_Click()
{
    if (!RequireRight(app, 8, 1))
        return;
    if (!readyToPrint())
        return;
    const bool amounts = !ChK->isChecked();
    PlistPrint job(app);
    job.Pid = amounts ? QStringLiteral("进出存明细表二") : QStringLiteral("进出存明细表一");
    job.RptFile = app.AppFolder + QStringLiteral("Pjccmx.vxp");
    const int last = GD->rows() - 1;
    const QString cat = Comb->currentText().trimmed();
    const QString code = Txt->text().trimmed();
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.setValue(QStringLiteral("FromDate"), DTP0->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("ToDate"), DTP1->date().toString(QStringLiteral("yyyy-MM-dd")));
    job.setValue(QStringLiteral("SumSL1"), GD->textMatrix(last, 9));
    job.setValue(QStringLiteral("SumJE1"), amounts ? GD->textMatrix(last, 11) : QStringLiteral(" "));
    job.setValue(QStringLiteral("SumSL2"), GD->textMatrix(last, 12));
    job.setValue(QStringLiteral("SumJE2"), amounts ? GD->textMatrix(last, 14) : QStringLiteral(" "));
    job.setValue(QStringLiteral("HPLB"), Labe2->text() + QStringLiteral("：") +
                                             (cat.isEmpty() || cat.startsWith(QStringLiteral("所有")) ? QStringLiteral("所有类别") : cat));
    job.setValue(QStringLiteral("HP"), code.isEmpty() || code.startsWith(QStringLiteral("所有"))
                                           ? QStringLiteral(" ")
                                           : app.GoodsTerm + QStringLiteral("：(") + code + QStringLiteral(")") +
                                                 SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = ?"), {code}));
    for (int r = 2; r <= last - 1; ++r) {
        QStringList t;
        for (int c = 0; c < 9; ++c)
            t << GD->textMatrix(r, c);
        QList<double> v;
        for (int c : {9, 12, 15}) {
            t << GD->textMatrix(r, c) << (amounts ? GD->textMatrix(r, c + 2) : QStringLiteral(" "));
        }
        v << double(r);
        for (int c : {9, 11, 12, 14, 15, 17})
            v << LeadValue(GD->textMatrix(r, c));
        job.addRow(t, v, {GD->textMatrix(r, 18)});  // the line's remark
    }
    job.PrnSQL = QStringLiteral("select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15,M1,M2,V1,V2,V3,V4,V5,V6,V7 "
                                "from plist order by F0");
    job.show(this);
}
