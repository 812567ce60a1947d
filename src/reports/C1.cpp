#include "reports/C1.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "reports/StockStatistics.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "forms/ReportFilters.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/NoRightsRefusal.h"
#include "widgets/PictureViewer.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList QtyItems{QString(), QStringLiteral("低于安全库存的货品"), QStringLiteral("高于最高库存的货品"),
                           QStringLiteral("大于等于指定数量(>=?)"), QStringLiteral("小于等于指定数量(<=?)"), QString()};

}  // namespace

C1::C1(App& a, QWidget* parent, int autoOpen)
    : ReportForm(a, QStringLiteral("库存货品统计"), parent), AutoOpen(autoOpen)
{
    setObjectName(QStringLiteral("C1"));
    QMenu* alarms = new QMenu(QStringLiteral("&R.库存报警"), this);
    Menu_Bellow = alarms->addAction(QStringLiteral("&1.存量低于安全库存的货品"));
    Menu_Bellow->setObjectName(QStringLiteral("Menu_Bellow"));
    Menu_Bellow->setCheckable(true);
    Menu_Morethan = alarms->addAction(QStringLiteral("&2.存量超出最高库存的货品"));
    Menu_Morethan->setObjectName(QStringLiteral("Menu_Morethan"));
    Menu_Morethan->setCheckable(true);
    QMenu* prices = MenuBar->addMenu(QStringLiteral("&M.价格显示"));
    Menu_M = prices->menuAction();
    Menu_M->setObjectName(QStringLiteral("Menu_M"));
    Menu_Price[0] = prices->addAction(QStringLiteral("&1.成本价格"));
    Menu_Price[1] = prices->addAction(QStringLiteral("&2.销售价格"));
    for (int i = 0; i < 2; ++i) {
        Menu_Price[i]->setObjectName(QStringLiteral("Menu_Price%1").arg(i));
        Menu_Price[i]->setCheckable(true);
        connect(Menu_Price[i], &QAction::triggered, this, [this, i] { Menu_Price_Click(i); });
    }
    Menu_Price[1]->setChecked(true);
    Menu_TE = addMenuItem("Menu_TE", QStringLiteral("&T.导出"));
    Menu_print = addMenuItem("Menu_print", QStringLiteral("&P.打印"));
    Menu_Return = addMenuItem("Menu_Return", QStringLiteral("&R.返回"));

    QGridLayout* g = FrmLayout;
    auto edit = [&](const char* name) {
        auto* e = new QLineEdit(Frm);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    auto combo = [&](const char* name, bool editable) {
        auto* c = new QComboBox(Frm);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(editable);
        return c;
    };
    auto label = [&](const QString& text, int row, int col) { g->addWidget(new QLabel(text, Frm), row, col); };
    CmbLB = AddCategoryFilter(Frm, g, 0, 0, QStringLiteral("类别"), "CmbLB", true).combo;
    const GoodsFilterPart goods = AddGoodsFilter(Frm, g, 0, 2, app.GoodsTerm + QStringLiteral("编码"),
                                                 [this](QLineEdit* box) { PickGoodsInto(app, box, this); });
    Txt = goods.Txt;
    CmdQuery = goods.CmdQuery;
    TxtF2 = edit("TxtF2");
    TxtF5 = edit("TxtF5");
    CmbSL = combo("CmbSL", false);
    CmbDJ = combo("CmbDJ", false);
    TxtDJ = edit("TxtDJ");
    CmbZJ = combo("CmbZJ", false);
    TxtZJ = edit("TxtZJ");
    TxtF6 = edit("TxtF6");
    LabHW = new QLabel(Frm);
    LabHW->setObjectName(QStringLiteral("LabHW"));
    TxtHW = edit("TxtHW");
    label(QStringLiteral("品名"), 0, 5);
    g->addWidget(TxtF2, 0, 6);
    label(QStringLiteral("规格"), 0, 7);
    g->addWidget(TxtF5, 0, 8);
    label(QStringLiteral("存量"), 1, 0);
    g->addWidget(CmbSL, 1, 1);
    label(QStringLiteral("单价"), 1, 2);
    auto* dj = new QHBoxLayout;
    dj->addWidget(CmbDJ);
    dj->addWidget(TxtDJ);
    g->addLayout(dj, 1, 3, 1, 2);
    label(QStringLiteral("总价"), 1, 5);
    auto* zj = new QHBoxLayout;
    zj->addWidget(CmbZJ);
    zj->addWidget(TxtZJ);
    g->addLayout(zj, 1, 6);
    label(QStringLiteral("备注"), 1, 7);
    g->addWidget(TxtF6, 1, 8);
    g->addWidget(LabHW, 2, 0);
    g->addWidget(TxtHW, 2, 1);
    const UnitFilterPart supplier = AddUnitFilter(Frm, g, 2, 2, QStringLiteral("供应商"), "TxtGys");
    LabGys = supplier.label;
    LabGys->setObjectName(QStringLiteral("LabGys"));
    TxtGys = supplier.box;
    Command1 = addRunButton("Command1", 0, 9, 2);

    // Optional third row: the extra goods attribute (its caption is the setting's
    // text) and the fixed supplier.
    LabHW->setText(SettingStoredText(app.CurrentDatabase, SetExtraGoodsAttr));
    const bool showHW = !LabHW->text().isEmpty();
    LabHW->setVisible(showHW);
    TxtHW->setVisible(showHW);
    const bool showGys = SettingValue(app.CurrentDatabase, SetFixedSupplier) == 1 &&
                         app.Menus.isVisible(QStringLiteral("Menu_AA0"));
    if (!showGys)
        LabGys->setText(QString());
    LabGys->setVisible(showGys);
    TxtGys->setVisible(showGys);

    // The price menu shows only to an operator who may see both prices, in books that keep prices.
    const bool cost = app.CanSeeCost != 0;
    const bool sale = app.CanSeeProfit != 0;
    Menu_M->setVisible(cost && sale && app.WithPrices == 1);
    Menu_Price[0]->setChecked(cost);
    Menu_Price[1]->setChecked(!cost);

    CmbLB->addItem(QString());
    CmbLB->addItems(CategoryFilterItems(app.CurrentDatabase));
    CmbLB->setCurrentIndex(0);
    CmbSL->addItems(QtyItems);
    CmbSL->setCurrentIndex(-1);
    for (QComboBox* c : {CmbDJ, CmbZJ}) {
        c->addItems({QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("=")});
        c->setCurrentIndex(0);
    }

    addPopup(RowColourTarget::byColumn(QStringLiteral("TA4"), QStringLiteral("F1"), GD, 0));
    setNumberColumns({5, 6, 7, 8, 9, 11, 12});
    m_sort = new ColumnSortMenu(GD, [](int c) {
        if (c <= 4 || c == 10)
            return ColumnSortMenu::Kind::Text;
        return c <= 9 ? ColumnSortMenu::Kind::Number : ColumnSortMenu::Kind::None;
    }, 4);
    RecordStatusLine::Options o;
    o.totalsRow = true;
    o.rightCol = 7;
    o.middleCol = 4;
    o.emptyText = QStringLiteral("无信息");
    addStatusLine(o);

    connect(CmbSL, qOverload<int>(&QComboBox::activated), this, &C1::chooseQuantityItem);
    connect(Menu_Bellow, &QAction::triggered, this, &C1::Menu_Bellow_Click);
    connect(Menu_Morethan, &QAction::triggered, this, &C1::Menu_Morethan_Click);
    connect(Menu_TE, &QAction::triggered, this, [this] { exportGrid({5, 6, 7, 8, 9}); });
    connect(Menu_print, &QAction::triggered, this, &C1::Menu_print_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
    connect(GD, &QAbstractItemView::doubleClicked, this, [this] {
        const QString code = GD->textMatrix(GD->row(), 0);
        if (GD->row() >= 1 && !code.isEmpty())
            ShowGoodsPicture(app, code, GD->textMatrix(GD->row(), 1));
    });

    resetGrid();
    // A window opened for an alarm shows nothing until its alarm list fills it.
    if (AutoOpen <= 0) {
        m_filled = true;
        fill();
    }
}

PriceBasis C1::basis() const
{
    return Menu_Price[0]->isChecked() ? PriceBasis::Cost : PriceBasis::Sale;
}

void C1::resetGrid()
{
    GD->clear();
    GD->setFixedRows(1);
    GD->setCols(15);
    GD->setRows(2);
    const QStringList heads{app.GoodsTerm + QStringLiteral("编码"), app.GoodsTerm + QStringLiteral("名称"),
                            QStringLiteral("规格"), QStringLiteral("所属类别"), QStringLiteral("单位"),
                            QStringLiteral("库存底限"), QStringLiteral("库存上限"), QStringLiteral("当前存量"),
                            basis() == PriceBasis::Cost ? QStringLiteral("成本单价") : QStringLiteral("销售单价"),
                            QStringLiteral("库存金额"), QStringLiteral("备注"), QStringLiteral("核算价"),
                            QStringLiteral("核算金额"), LabHW->text(), LabGys->text()};
    GD->setHeaders(heads);
    for (int c = 0; c < 15; ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
    setWindowTitle(QStringLiteral("仓库存货统计"));
    layoutColumns();
}

void C1::layoutColumns()
{
    const int W = Grid::pixelsToTwips(width() - 20);
    const int w = W / 9;
    const bool prices = app.CanSeeCost != 0 || app.CanSeeProfit != 0;
    for (int c = 0; c < 15; ++c)
        GD->setColWidth(c, w);
    GD->setColWidth(8, prices ? w : 0);
    GD->setColWidth(9, prices ? w : 0);
    GD->setColWidth(4, W / 20);
    if (Menu_Bellow->isChecked()) {
        GD->setColWidth(6, 0);
        GD->setColWidth(10, w / 2);
    } else if (Menu_Morethan->isChecked()) {
        GD->setColWidth(5, 0);
        GD->setColWidth(10, w / 2);
    } else {
        GD->setColWidth(5, 0);
        GD->setColWidth(6, 0);
    }
    if (app.WithPrices == 0) {
        GD->setColWidth(1, GD->colWidth(1) + GD->colWidth(8));
        GD->setColWidth(4, GD->colWidth(4) + GD->colWidth(9));
        GD->setColWidth(8, 0);
        GD->setColWidth(9, 0);
    }
    if (app.InboundRefPrice == 0) {
        GD->setColWidth(11, 0);
        GD->setColWidth(12, 0);
    }
    if (!LabHW->isVisible())
        GD->setColWidth(13, 0);
    if (!LabGys->isVisible())
        GD->setColWidth(14, 0);
}

void C1::fill()
{
    const QString title = windowTitle();
    resetGrid();
    std::vector<StockListRow> rows;
    try {
        rows = ListStock(app.CurrentDatabase, m_filter, basis());
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
        return;
    }
    setWindowTitle(title);
    if (rows.empty())
        return;
    StockListView view;
    view.canSeeCost = app.CanSeeCost != 0;
    view.canSeeProfit = app.CanSeeProfit != 0;
    view.inboundRefPrice = app.InboundRefPrice == 1;
    view.priceFormat = app.PriceFormat;
    view.amountFormat = app.AmountFormat;
    GD->load(int(rows.size()) + 1, 15, StockListTable(rows, view));
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].backColor != 0 || rows[i].textColor != 0)
            PaintRowColours(GD, int(i) + 1, rows[i].backColor, rows[i].textColor);
    GD->setCurrent(1, 0);
}

void C1::Command1_Click()
{
    StockListFilter f;
    f.filterRun = true;
    f.category = CmbLB->currentText();
    f.code = Txt->text();
    f.name = TxtF2->text();
    f.spec = TxtF5->text();
    f.remark = TxtF6->text();
    f.location = TxtHW->text();
    f.supplier = TxtGys->text();
    const int sl = CmbSL->currentIndex();
    if (sl == 1)
        f.qty = StockListFilter::Qty::BelowMin;
    else if (sl == 2)
        f.qty = StockListFilter::Qty::AboveMax;
    else if (sl >= 6) {
        const QString item = CmbSL->currentText();
        f.qty = StockListFilter::Qty::Compare;
        f.qtyOp = item.left(2);
        f.qtyValue = LeadValue(item.mid(2));
    }
    if (!TxtDJ->text().trimmed().isEmpty()) {
        f.priceValue = LeadValue(TxtDJ->text());
        TxtDJ->setText(GeneralNumberText(f.priceValue));
        f.priceOp = CmbDJ->currentText();
    }
    if (!TxtZJ->text().trimmed().isEmpty()) {
        f.totalValue = LeadValue(TxtZJ->text());
        TxtZJ->setText(GeneralNumberText(f.totalValue));
        f.totalOp = CmbZJ->currentText();
    }
    m_filter = f;
    Menu_Bellow->setChecked(false);
    Menu_Morethan->setChecked(false);
    setWindowTitle(QStringLiteral("库存存货统计"));
    m_filled = true;
    Run();
}

bool C1::generate()
{
    fill();
    return true;
}

void C1::chooseQuantityItem(int index)
{
    if (index != 3 && index != 4)
        return;
    const QString op = index == 3 ? QStringLiteral(">=") : QStringLiteral("<=");
    const QString prompt = index == 3 ? QStringLiteral("查找条件：库存数量>=：") : QStringLiteral("查找条件：库存数量<=：");
    QString answer;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const InputAnswer a = InputBox(prompt, QStringLiteral("请输入数值"), QStringLiteral("0"));
        answer = a.ok ? a.text.trimmed() : QString();
        if (answer.isEmpty()) {
            CmbSL->setCurrentIndex(0);
            return;
        }
        if (LeadValue(answer) != 0 || answer.startsWith(QLatin1Char('0')))
            break;
    }
    CmbSL->addItem(op + GeneralNumberText(LeadValue(answer)));
    CmbSL->setCurrentIndex(CmbSL->count() - 1);
}

void C1::Menu_Price_Click(int index)
{
    Menu_Price[index]->setChecked(true);
    Menu_Price[1 - index]->setChecked(false);
    if (m_filled)
        fill();
    else
        resetGrid();
}

void C1::Menu_Bellow_Click()
{
    Menu_Bellow->setChecked(true);
    Menu_Morethan->setChecked(false);
    CmbSL->setCurrentIndex(1);
    m_filter = {};
    m_filter.alarm = StockListFilter::Alarm::BelowMin;
    m_filled = true;
    fill();
    setWindowTitle(QStringLiteral("库存报警：低于安全库存的") + app.GoodsTerm);
    layoutColumns();
}

void C1::Menu_Morethan_Click()
{
    Menu_Morethan->setChecked(true);
    Menu_Bellow->setChecked(false);
    CmbSL->setCurrentIndex(2);
    m_filter = {};
    m_filter.alarm = StockListFilter::Alarm::AboveMax;
    m_filled = true;
    fill();
    setWindowTitle(QStringLiteral("库存报警：高于最高库存的") + app.GoodsTerm);
    layoutColumns();
}

void C1::Menu_print_Click()
{
    printList({QStringLiteral("存货统计"), QStringLiteral("Pkclst.vxp"), 10, 7, 9, false, false});
}

void ShowStockAlarm(App& app, int autoOpen)
{
    // Each alarm has a window of its own beside the menu's stock statistics.
    auto* w = new C1(app, nullptr, autoOpen);
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiArea* area = app.MainWindow ? app.MainWindow->mdiArea() : nullptr;
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
    } else {
        w->show();
    }
    if (autoOpen == 2)
        w->Menu_Morethan_Click();
    else
        w->Menu_Bellow_Click();
}
