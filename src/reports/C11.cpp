#include "reports/C11.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/SqlText.h"
#include "forms/ReportFilters.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
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

C11::C11(App& a, QWidget* parent) : ReportForm(a, QStringLiteral("仓库存货明细"), parent)
{
    setObjectName(QStringLiteral("C11"));
    Menu_TE = addMenuItem("Menu_TE", QStringLiteral("&T.导出"));
    Menu_print = addMenuItem("Menu_print", QStringLiteral("&P.打印"));
    Menu_Return = addMenuItem("Menu_Return", QStringLiteral("&R.返回"));

    QWidget* frm = Frm;
    QGridLayout* g = FrmLayout;
    auto edit = [&](const char* name) {
        auto* e = new QLineEdit(frm);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    CmbLB = AddCategoryFilter(frm, g, 0, 0, QStringLiteral("类别"), "CmbLB").combo;
    const GoodsFilterPart goods = AddGoodsFilter(frm, g, 0, 2, QStringLiteral("货品编码"),
                                                 [this](QLineEdit* box) { PickGoodsInto(app, box, this); });
    Txt = goods.Txt;
    CmdQuery = goods.CmdQuery;
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
    g->addWidget(new QLabel(QStringLiteral("货品名称"), frm), 0, 5);
    g->addWidget(TxtF2, 0, 6);
    g->addWidget(LabSX, 1, 0);
    g->addWidget(TxtSX, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("规格"), frm), 1, 2);
    g->addWidget(TxtF5, 1, 3);
    g->addWidget(LabBZ, 1, 5);
    g->addWidget(TxtF6, 1, 6);
    Command1 = addRunButton("Command1", 0, 7, 2);

    addPopup();  // copy only
    setNumberColumns({5, 6, 7});
    new ColumnSortMenu(GD, [](int c) {
        if (c >= 5 && c <= 7)
            return ColumnSortMenu::Kind::Number;
        return ColumnSortMenu::Kind::Text;
    }, 4);

    connect(LabBZ, &QPushButton::clicked, this, &C11::LabBZ_Click);
    connect(Menu_TE, &QAction::triggered, this, [this] { exportGrid({6, 7}); });
    connect(Menu_print, &QAction::triggered, this, &C11::Menu_print_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);

    Command1_Click();
    CmbLB->addItem(QString());
    CmbLB->addItems(CategoryFilterItems(app.CurrentDatabase));
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
    Run();
}

bool C11::generate()
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
            return true;
        }
        setEnabled(true);
    }
    if (report.rows.empty())
        return true;
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
    return true;
}

void C11::Menu_print_Click()
{
    printList({QStringLiteral("存货明细表"), QStringLiteral("Pkcmx.vxp"), 8, 5, 7, true, true});
}
