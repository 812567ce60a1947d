#include "reports/C11.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/SqlText.h"
#include "exchange/GridExport.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "reports/ReportPrint.h"
#include "reports/StockStatistics.h"
#include "widgets/BusyPointer.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/NoRightsRefusal.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor PaleYellow(255, 255, 192);
const QColor PaleGreen(192, 255, 192);

}  // namespace

C11::C11(App& a, QWidget* parent) : QWidget(parent), app(a)
{
    setObjectName(QStringLiteral("C11"));
    setWindowTitle(QStringLiteral("仓库存货明细"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    auto* menu = new QMenuBar(this);
    root->addWidget(menu);
    Menu_TE = menu->addAction(QStringLiteral("&T.导出"));
    Menu_TE->setObjectName(QStringLiteral("Menu_TE"));
    Menu_print = menu->addAction(QStringLiteral("&P.打印"));
    Menu_print->setObjectName(QStringLiteral("Menu_print"));
    Menu_Return = menu->addAction(QStringLiteral("&R.返回"));
    Menu_Return->setObjectName(QStringLiteral("Menu_Return"));

    auto* frm = new QFrame(this);
    frm->setObjectName(QStringLiteral("Frm"));
    frm->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(frm);
    auto edit = [&](const char* name) {
        auto* e = new QLineEdit(frm);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    CmbLB = new QComboBox(frm);
    CmbLB->setObjectName(QStringLiteral("CmbLB"));
    Txt = edit("Txt");
    CmdQuery = new QPushButton(QStringLiteral("?"), frm);
    CmdQuery->setObjectName(QStringLiteral("CmdQuery"));
    CmdQuery->setToolTip(QStringLiteral("查找货品编码资料"));
    CmdQuery->setFixedWidth(24);
    TxtF2 = edit("TxtF2");
    LabSX = new QLabel(app.HpsxName, frm);
    LabSX->setObjectName(QStringLiteral("LabSX"));
    TxtSX = edit("TxtSX");
    TxtF5 = edit("TxtF5");
    // The remark label is also the switch between the two remark modes.
    LabBZ = new QPushButton(app.GoodsTerm + QStringLiteral("备注"), frm);
    LabBZ->setObjectName(QStringLiteral("LabBZ"));
    LabBZ->setFlat(true);
    LabBZ->setToolTip(QStringLiteral("点击切换：货品备注 / 入库备注"));
    TxtF6 = edit("TxtF6");
    Command1 = new QPushButton(QStringLiteral("生成报表↓"), frm);
    Command1->setObjectName(QStringLiteral("Command1"));
    g->addWidget(new QLabel(QStringLiteral("类别"), frm), 0, 0);
    g->addWidget(CmbLB, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("货品编码"), frm), 0, 2);
    g->addWidget(Txt, 0, 3);
    g->addWidget(CmdQuery, 0, 4);
    g->addWidget(new QLabel(QStringLiteral("货品名称"), frm), 0, 5);
    g->addWidget(TxtF2, 0, 6);
    g->addWidget(LabSX, 1, 0);
    g->addWidget(TxtSX, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("规格"), frm), 1, 2);
    g->addWidget(TxtF5, 1, 3);
    g->addWidget(LabBZ, 1, 5);
    g->addWidget(TxtF6, 1, 6);
    g->addWidget(Command1, 0, 7, 2, 1);
    root->addWidget(frm);

    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    root->addWidget(GD, 1);

    new GridContextMenu(app, GD);  // copy only
    new ColumnSortMenu(GD, [](int c) {
        if (c >= 5 && c <= 7)
            return ColumnSortMenu::Kind::Number;
        return ColumnSortMenu::Kind::Text;
    }, 4);
    new GridColumnAutoWiden(app, GD);
    new StatusPanelRestore(app, this);

    connect(Command1, &QPushButton::clicked, this, &C11::Command1_Click);
    connect(LabBZ, &QPushButton::clicked, this, &C11::LabBZ_Click);
    connect(Menu_TE, &QAction::triggered, this, [this] {
        SetExportColKinds(app, GD, {6, 7});
        ToExcel(app, GD, windowTitle(), QString(), QString(), 1, this);
    });
    connect(Menu_print, &QAction::triggered, this, &C11::Menu_print_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
    connect(CmdQuery, &QPushButton::clicked, this, [this] { PickGoodsInto(app, Txt, this); });

    Command1_Click();
    CmbLB->addItem(QString());
    CmbLB->addItems(NamedCategoryItems(app.CurrentDatabase));
    CmbLB->setCurrentIndex(-1);
}

bool C11::inboundRemarkMode() const
{
    return LabBZ->text() == QStringLiteral("入库备注");
}

void C11::LabBZ_Click()
{
    LabBZ->setText(inboundRemarkMode() ? app.GoodsTerm + QStringLiteral("备注") : QStringLiteral("入库备注"));
}

void C11::setHeader()
{
    GD->clear();
    GD->setFixedRows(1);
    GD->setCols(9);
    GD->setRows(2);
    GD->setHeaders({app.GoodsTerm + QStringLiteral("编码"), app.GoodsTerm + QStringLiteral("名称"), QStringLiteral("规格"),
                    QStringLiteral("所属类别"), app.HpsxName, QStringLiteral("当前存量"), QStringLiteral("成本单价"),
                    QStringLiteral("成本金额"), LabBZ->text()});
    for (int c = 0; c < 9; ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
}

void C11::Command1_Click()
{
    setHeader();
    BatchStockFilter f;
    if (CmbLB->currentIndex() > 0)
        f.category = CmbLB->currentText();
    f.code = Txt->text();
    f.name = TxtF2->text();
    f.spec = TxtF5->text();
    f.remark = TxtF6->text();
    f.attribute = TxtSX->text();
    f.inboundRemarks = inboundRemarkMode();
    TxtF6->setText(TxtF6->text().trimmed());
    BatchStockReport report;
    {
        BusyPointer busy;
        setEnabled(false);
        try {
            report = ListBatchStock(app.CurrentDatabase, f);
        } catch (const DbError& e) {
            setEnabled(true);
            MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
            return;
        }
        setEnabled(true);
    }
    if (report.rows.empty())
        return;
    std::vector<QString> cells;
    cells.reserve((report.rows.size() + 1) * 9);
    for (const BatchStockRow& r : report.rows)
        for (const QString& c : BatchStockCells(r, app.PriceFormat))
            cells.push_back(c);
    for (const QString& c : BatchStockTotalCells(report, app.AmountFormat))
        cells.push_back(c);
    GD->load(int(report.rows.size()) + 1, 9, std::move(cells));
    for (size_t i = 0; i < report.rows.size(); ++i) {
        const int row = int(i) + 1;
        const QColor band = report.rows[i].band == 0 ? PaleYellow : PaleGreen;
        for (int c : {5, 6, 7})
            GD->setCellBackColor(row, c, band);
        // The goods' stock in the file differs from what its posted lines add up to.
        if (report.rows[i].mismatch)
            GD->setCellForeColor(row, 5, QColor(255, 0, 0));
    }
    GD->setCurrent(1, 0);
}

void C11::Menu_print_Click()
{
    PrintReportList(app, this, GD, {QStringLiteral("存货明细表"), QStringLiteral("Pkcmx.vxp"), 8, 5, 7, true, true});
}
