#include "reports/StatisticsReportForm.h"

#include "basicdata/QueryGoods.h"
#include "basicdata/QueryGys.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "forms/ReportFilters.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "reports/StockMovement.h"
#include "widgets/GridBehaviours.h"
#include "widgets/NoRightsRefusal.h"
#include "widgets/PictureViewer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

StatisticsReportForm::StatisticsReportForm(App& a, StatMemberSpec spec, QWidget* parent)
    : ReportForm(a, QString(), parent), m_spec(std::move(spec))
{
    const StatMember m = m_spec.member;
    Menu_TE = addMenuItem("Menu_TE", QStringLiteral("&T.导出"));
    Menu_print = MenuBar->addMenu(QStringLiteral("&P.打印"));
    Menu_print->setObjectName(QStringLiteral("Menu_print"));
    for (const StatMemberSpec::PrintItem& p : m_spec.prints) {
        QAction* item = Menu_print->addAction(p.caption);
        item->setObjectName(QString::fromLatin1(p.name));
        connect(item, &QAction::triggered, this, [this, p] { print(p.kind, p.needsRight); });
    }
    Menu_Return = addMenuItem("Menu_Return", QStringLiteral("&R.返回"));

    QGridLayout* g = FrmLayout;
    auto label = [&](const QString& text, int row, int col) {
        auto* l = new QLabel(text, Frm);
        g->addWidget(l, row, col);
        return l;
    };
    auto edit = [&](const char* name, int row, int col) {
        auto* e = new QLineEdit(Frm);
        e->setObjectName(QString::fromLatin1(name));
        g->addWidget(e, row, col);
        return e;
    };
    auto combo = [&](const char* name) {
        auto* c = new QComboBox(Frm);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    label(QStringLiteral("查询统计"), 0, 0)->setVisible(m != StatMember::C3);
    CmbS2 = combo("CmbS2");
    g->addWidget(CmbS2, 0, 1);
    m_types = CmbS2;
    if (m == StatMember::MLLst) {
        // Gross profit chooses among the sales types in a list of its own.
        CmbS2->hide();
        m_types = combo("CmbDan");
        g->addWidget(m_types, 0, 1);
    }
    CmbS2->setVisible(m == StatMember::Lst || m == StatMember::DZLst || m == StatMember::CBLst);
    addPeriod(0, 2);
    LabOD = label(QStringLiteral("订单号码"), 0, 6);
    LabOD->setObjectName(QStringLiteral("LabOD"));
    TxtOD = edit("TxtOD", 0, 7);

    label(m_spec.unitCaption, 1, 0);
    auto* unitBox = new QWidget(Frm);
    auto* unitRow = new QHBoxLayout(unitBox);
    unitRow->setContentsMargins(0, 0, 0, 0);
    unitRow->setSpacing(0);
    CmbF3 = combo("CmbF3");
    CmbF3->setEditable(true);
    unitRow->addWidget(CmbF3, 1);
    CmdQGys = new QPushButton(QStringLiteral("…"), unitBox);
    CmdQGys->setObjectName(QStringLiteral("CmdQGys"));
    CmdQGys->setToolTip(QStringLiteral("查找货品编码资料"));
    QFont bold = CmdQGys->font();
    bold.setBold(true);
    CmdQGys->setFont(bold);
    CmdQGys->setFixedWidth(CmdQGys->fontMetrics().horizontalAdvance(QStringLiteral("…")) + 12);
    unitRow->addWidget(CmdQGys);
    g->addWidget(unitBox, 1, 1);
    unitBox->setVisible(m != StatMember::C3);
    CmdQGys->setVisible(app.ShowUnitPicker == 1);
    connect(CmdQGys, &QPushButton::clicked, this, [this] { pickUnit(); });

    CmbLB = AddCategoryFilter(Frm, g, 1, 2, QStringLiteral("类别"), "CmbLB").combo;
    Txt = AddGoodsFilter(Frm, g, 1, 4, QStringLiteral("货品编码"),
                         [this](QLineEdit* box) { PickGoodsInto(app, box, this); })
              .Txt;
    if (m == StatMember::Lst && !app.HpsxName.isEmpty()) {
        label(app.HpsxName, 1, 7)->setObjectName(QStringLiteral("LabSX"));
        TxtSX = edit("TxtSX", 1, 8);
    }
    addRunButton("Cmd", 0, 9, 2);

    if (m_spec.extendedFilter) {
        m_extended = new QWidget(Frm);
        auto* x = new QGridLayout(m_extended);
        x->setContentsMargins(0, 0, 0, 0);
        int col = 0;
        auto box = [&](const char* name, const QString& caption) {
            x->addWidget(new QLabel(caption, m_extended), col / 6, col % 6);
            auto* e = new QLineEdit(m_extended);
            e->setObjectName(QString::fromLatin1(name));
            x->addWidget(e, col / 6, col % 6 + 1);
            col += 2;
            return e;
        };
        TxtF2 = box("TxtF2", QStringLiteral("货品名称"));
        TxtF5 = box("TxtF5", QStringLiteral("规格"));
        TxtF4 = box("TxtF4", QStringLiteral("计量单位"));
        TxtF0 = box("TxtF0", QStringLiteral("单据号码"));
        TxtF10 = box("TxtF10", QStringLiteral("附注"));
        TxtF9 = box("TxtF9", QStringLiteral("备注"));
        g->addWidget(m_extended, 2, 0, 1, 10);
        m_extended->hide();
        LabDown = label(QStringLiteral(">>"), 3, 0);
        LabDown->setObjectName(QStringLiteral("LabDown"));
        LabDown->setToolTip(QStringLiteral("点击这里开启更多的查找项目"));
        LabUP = label(QStringLiteral("<<"), 3, 1);
        LabUP->setObjectName(QStringLiteral("LabUP"));
        LabUP->setToolTip(QStringLiteral("点击这里返回精简查找模式"));
        LabUP->hide();
        for (QLabel* l : {LabDown, LabUP}) {
            l->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
            l->installEventFilter(this);
        }
    }

    addBusyPanel();
    const StatShape shape = StatShapeOf(m);
    const int key = StatKeyColumn(m);
    addPopup({QStringLiteral("TB11"), {QStringLiteral("SRT")}, [this, key](int row) {
                  return QVariantList{GD->textMatrix(row, key)};
              }});
    RecordStatusLine::Options o;
    o.totalsRow = true;
    o.emptyText = QStringLiteral("无信息");
    addStatusLine(o);
    QList<int> numbers;
    for (int c = shape.firstNumber; c <= shape.lastNumber; ++c)
        numbers << c;
    setNumberColumns(numbers);
    m_sort = new ColumnSortMenu(GD, [shape, key](int c) {
        if (c >= shape.firstNumber && c <= shape.lastNumber)
            return ColumnSortMenu::Kind::Number;
        return c < key ? ColumnSortMenu::Kind::Text : ColumnSortMenu::Kind::None;
    }, 4);

    connect(m_types, qOverload<int>(&QComboBox::activated), this, [this] { chooseType(); });
    connect(Menu_TE, &QAction::triggered, this, [this, shape] {
        QList<int> exported;
        for (int c = shape.firstExported; c <= shape.lastExported; ++c)
            exported << c;
        exportGrid(exported);
    });
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
    connect(GD, &QAbstractItemView::doubleClicked, this, [this, shape] {
        const int r = GD->row();
        if (r >= 1 && r < GD->rows() - 1 && !GD->textMatrix(r, shape.goods).isEmpty())
            ShowGoodsPicture(app, GD->textMatrix(r, shape.goods), GD->textMatrix(r, shape.goods + 1));
    });

    FillCategoryCombo();
    const ReportPeriod p = ReportStartDate(app.ReportStartDay, QDate::currentDate());
    DTP0->setDate(p.from);
    DTP1->setDate(p.to);
}

bool StatisticsReportForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && (watched == LabDown || watched == LabUP)) {
        const bool open = watched == LabDown;
        m_extended->setVisible(open);
        LabDown->setVisible(!open);
        LabUP->setVisible(open);
        return true;
    }
    return ReportForm::eventFilter(watched, event);
}

void StatisticsReportForm::setMode(const QString& mode)
{
    whoami = mode;
    const StatMode info = StatModeOf(m_spec.member, mode);
    StatWord = info.word;
    StatKind = info.kind;
    m_items = StatTypeItems(m_spec.member, whoami, app.Menus, app.CurrentDatabase);
    m_types->clear();
    for (const StatTypeItem& item : m_items)
        m_types->addItem(item.text);
    if (!m_items.empty())
        m_types->setCurrentIndex(int(m_items.size()) - 1);
    chooseType();
    if (m_spec.member == StatMember::C3) {
        QString caption;
        try {
            caption = SettingText(app.CurrentDatabase, 9181);
        } catch (const DbError&) {
        }
        LabOD->setText(caption);
        LabOD->setVisible(!caption.isEmpty());
        TxtOD->setVisible(!caption.isEmpty());
    }
    if (!info.caption.isEmpty())
        setWindowTitle(info.caption);
    Menu_print->setEnabled(StatMayPrint(m_spec.member, StatKind, viewer()));
    ShowPrices = true;
    m_hasBuilt = false;
    Run();
}

const StatTypeItem* StatisticsReportForm::chosenItem() const
{
    const int i = m_types->currentIndex();
    return i >= 0 && i < int(m_items.size()) ? &m_items[size_t(i)] : nullptr;
}

void StatisticsReportForm::chooseType()
{
    const StatTypeItem* item = chosenItem();
    if (!item)
        return;
    if (StatModeOf(m_spec.member, whoami).caption.isEmpty())
        setWindowTitle((item->text.startsWith(QStringLiteral("所有")) ? item->text.mid(2) : item->text) +
                       QStringLiteral("统计"));
    LabOD->setText(item->extraCaption);
    LabOD->setVisible(!item->extraCaption.isEmpty());
    TxtOD->setVisible(!item->extraCaption.isEmpty());
    if (item->extraCaption.isEmpty())
        TxtOD->clear();
    if (GD->rows() > 0)
        GD->setTextMatrix(0, 2, item->extraCaption);
    layoutColumns();

    CmbF3->clear();
    CmbF3->addItem(QStringLiteral("所有单位"));
    try {
        CmbF3->addItems(StatUnitItems(app.CurrentDatabase, item->unitKind));
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
    }
    CmbF3->setCurrentIndex(0);
}

void StatisticsReportForm::pickUnit()
{
    const StatTypeItem* item = chosenItem();
    // Without a document type in use there are no counter-parties to pick from.
    if (!item)
        return;
    const QString picked = PickUnit(app, this, item->unitKind, QStringLiteral("相关单位列表"), false);
    if (!picked.isEmpty() && picked != QLatin1String("."))
        CmbF3->setEditText(picked);
    CmbF3->setFocus();
}

void StatisticsReportForm::FillCategoryCombo()
{
    CmbLB->clear();
    CmbLB->addItem(QStringLiteral("所有") + app.GoodsTerm);
    try {
        CmbLB->addItems(CategoryFilterItems(app.CurrentDatabase));
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
    }
    CmbLB->setCurrentIndex(0);
}

void StatisticsReportForm::SetupStatsGrid()
{
    GD->clear();
    GD->setFixedRows(1);
    GD->setCols(StatColumnCount(m_spec.member));
    GD->setRows(2);
    GD->setHeaders(StatHeaders(m_spec.member, StatWord, LabOD->text(), app.GoodsTerm, app.HpsxName));
    for (int c = 0; c < GD->cols(); ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
    layoutColumns();
}

StatViewer StatisticsReportForm::viewer() const
{
    return {app.WithPrices != 0, app.CanSeeCost != 0, app.CanSeeProfit != 0};
}

bool StatisticsReportForm::amountsHidden() const
{
    return StatAmountsHidden(m_spec.member, StatKind, m_hasBuilt ? &m_built : chosenItem(), viewer());
}

void StatisticsReportForm::layoutColumns()
{
    const StatShape shape = StatShapeOf(m_spec.member);
    const int width = GD->viewport()->width();
    const int w = qMax(40, width / 13);
    for (int c = 0; c < GD->cols(); ++c)
        GD->setColWidth(c, shape.narrowFrom >= 0 && c >= shape.narrowFrom ? qMax(40, width / 14) : w);
    for (int c : shape.alwaysHidden)
        if (c < GD->cols())
            GD->setColWidth(c, 0);
    GD->setColWidth(2, LabOD->text().isEmpty() ? 0 : w);
    GD->setColWidth(shape.measure, w / 2);
    if (amountsHidden()) {
        for (int i = 0; i < shape.hiddenWithAmounts.size(); ++i) {
            const int c = shape.hiddenWithAmounts[i];
            if (const int wider = shape.widenedByHidden.value(i, -1); wider >= 0)
                GD->setColWidth(wider, GD->colWidth(wider) + GD->colWidth(c));
            GD->setColWidth(c, 0);
        }
    }
}

bool StatisticsReportForm::generate()
{
    return BuildStatsList();
}

bool StatisticsReportForm::BuildStatsList()
{
    const StatTypeItem* item = chosenItem();
    m_hasBuilt = item != nullptr;
    if (item)
        m_built = *item;
    // Prices and amounts follow the type the list is built for.
    ShowPrices = !amountsHidden();

    StatFilter f;
    f.member = m_spec.member;
    f.kind = StatKind;
    f.docTypes = item ? item->names : QStringList();
    const QString unit = CmbF3->currentText().trimmed();
    CmbF3->setEditText(unit);
    if (!unit.isEmpty() && !unit.startsWith(QStringLiteral("所有")))
        f.unit = StatCodeOf(unit);
    if (!CmbLB->currentText().startsWith(QStringLiteral("所有")))
        f.category = StatCodeOf(CmbLB->currentText().trimmed());
    f.goods = Txt->text().trimmed();
    f.orderNo = TxtOD->isHidden() ? QString() : TxtOD->text().trimmed();
    if (m_extended && m_extended->isVisibleTo(Frm)) {
        f.name = TxtF2->text();
        f.spec = TxtF5->text();
        f.measure = TxtF4->text();
        f.docNo = TxtF0->text();
        f.note = TxtF10->text();
        f.remark = TxtF9->text();
    }
    if (TxtSX)
        f.attribute = SqlSafe(TxtSX->text());
    f.from = DTP0->date();
    f.to = DTP1->date();

    const StatResult result = ListStatLines(app.CurrentDatabase, f, [this](int n) {
        return keepGoing(QStringLiteral("已读取 %1 行").arg(n));
    });
    StatView view;
    view.priceFormat = app.PriceFormat;
    view.amountFormat = app.AmountFormat;
    view.hpsxName = app.HpsxName;
    m_table = StatCells(m_spec.member, result.lines, view);
    if (result.cancelled)
        return false;
    if (m_table.rows.empty())
        return true;

    const int cols = GD->cols();
    const int n = int(m_table.rows.size());
    std::vector<QString> cells;
    cells.reserve(size_t(n + 1) * size_t(cols));
    for (const QStringList& r : m_table.rows)
        for (int c = 0; c < cols; ++c)
            cells.push_back(r.value(c));
    for (int c = 0; c < cols; ++c)
        cells.push_back(m_table.totals.value(c));
    GD->load(n + 1, cols, std::move(cells));
    for (int i = 0; i < n; ++i) {
        const StatLine& l = result.lines[size_t(i)];
        if (l.backColor != 0 || l.textColor != 0)
            PaintRowColours(GD, i + 1, l.backColor, l.textColor);
    }
    GD->setCurrent(1, 0);
    ShowStatsStatus();
    layoutColumns();
    return true;
}

void StatisticsReportForm::ShowStatsStatus()
{
    if (m_status)
        m_status->update();
}

StatPrintJob StatisticsReportForm::printJob(StatPrintKind kind) const
{
    std::vector<QStringList> rows;
    for (int r = 1; r < GD->rows() - 1; ++r) {
        QStringList cells;
        for (int c = 0; c < GD->cols(); ++c)
            cells << GD->textMatrix(r, c);
        rows.push_back(cells);
    }
    StatPrintContext c;
    c.caption = windowTitle();
    c.unitHeader = GD->textMatrix(0, 3);
    c.unitName = UnitName(app.CurrentDatabase, CmbF3->currentText());
    c.fromDate = DateText(DTP0->date());
    c.toDate = DateText(DTP1->date());
    c.amountsHidden = amountsHidden();
    c.priceFormat = app.PriceFormat;
    c.amountFormat = app.AmountFormat;
    return StatPrint(m_spec.member, kind, rows, m_table.totals, c);
}

void StatisticsReportForm::print(StatPrintKind kind, bool needsRight)
{
    const bool inboundSide = StatKind == DocKind::Inbound || StatKind == DocKind::SupplierReturn;
    if (needsRight && !RequireRight(app, inboundSide ? RightInbound : RightOutbound, RightItem3))
        return;
    if (GD->rows() < 3 || GD->textMatrix(1, 0).isEmpty()) {
        MsgBox(QStringLiteral("无数据可打印！"), MB::Information, QStringLiteral("提示"));
        return;
    }
    if (lastRunCancelled()) {
        MsgBox(QStringLiteral("报表生成已取消，数据不完整，不能打印！"), MB::Information, QString());
        return;
    }
    PlistPrint job(app);
    HandOver(printJob(kind), job, app.AppFolder);
    job.show(this);
}

// ------------------------------------------------------------------ members

namespace {

StatMemberSpec::PrintItem item(const char* name, const char* caption, StatPrintKind kind, bool right)
{
    return {name, QString::fromUtf8(caption), kind, right};
}

}  // namespace

Lst::Lst(App& app, QWidget* parent, const QString& mode)
    : StatisticsReportForm(app,
                           {StatMember::Lst, true, QStringLiteral("相关单位"),
                            {item("Menu_print1", "&A.打印流水帐", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.打印合计报表", StatPrintKind::Summary, false)}},
                           parent)
{
    setMode(mode);
}

DZLst::DZLst(App& app, QWidget* parent, const QString& mode)
    : StatisticsReportForm(app,
                           {StatMember::DZLst, false, QStringLiteral("相关单位"),
                            {item("Menu_print1", "&A.明细对帐单", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总对帐单", StatPrintKind::Summary, false),
                             item("Menu_print3", "&C.金额汇总表", StatPrintKind::AmountSummary, false)}},
                           parent)
{
    setMode(mode);
}

CBLst::CBLst(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::CBLst, false, QStringLiteral("出库单位"),
                            {item("Menu_print1", "&A.明细表", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总表", StatPrintKind::Summary, true)}},
                           parent)
{
    setMode(QStringLiteral("D2"));
}

MLLst::MLLst(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::MLLst, false, QStringLiteral("  客 户"),
                            {item("Menu_print1", "&A.明细表", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总表", StatPrintKind::Summary, true)}},
                           parent),
      CmbDan(m_types)
{
    setMode(QStringLiteral("D2"));
}

C3::C3(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::C3, true, QString(),
                            {item("Menu_print1", "&A.打印流水帐", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.打印合计报表", StatPrintKind::Summary, false)}},
                           parent)
{
    setMode(QString());
}
