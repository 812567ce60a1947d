#include "reports/StatisticsReportForm.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/DocTypes.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

// A type's name as its menu item shows it, without the access prefix "&1.".
QString typeName(const App& app, DocType type)
{
    return app.Menus.caption(DocTypeMenuItem(type)).mid(3);
}

bool typeOffered(const App& app, DocType type)
{
    return app.Menus.isVisible(DocTypeMenuItem(type));
}

QString extraCaption(const App& app, DocType type)
{
    try {
        return SettingText(app.CurrentDatabase, DocTypeOf(type).extraItemSetting());
    } catch (const DbError&) {
        return QString();
    }
}

// Two captions as one label: both when they differ, one when equal or alone.
QString joinCaptions(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a + b;
    return a == b ? a : a + QLatin1Char('/') + b;
}

// The code of a "code.name" text: the text before its first "." unless the
// "." comes first, then the whole text.
QString codeOf(const QString& text)
{
    const int dot = text.indexOf(QLatin1Char('.'));
    return dot > 0 ? text.left(dot) : text;
}

struct ModeInfo {
    QString word;
    DocKind kind;
    DocType first, second;
    int allUnitKind;
};

ModeInfo modeOf(const QString& mode)
{
    if (mode == QLatin1String("B4"))
        return {QStringLiteral("退货"), DocKind::SupplierReturn, DocType::PurchaseReturn, DocType::ReworkReturn, 80};
    if (mode == QLatin1String("D2"))
        return {QStringLiteral("出库"), DocKind::Outbound, DocType::DepartmentIssue, DocType::SalesDelivery, 81};
    if (mode == QLatin1String("D4"))
        return {QStringLiteral("退库"), DocKind::StockReturn, DocType::DepartmentReturn, DocType::CustomerReturn, 81};
    return {QStringLiteral("入库"), DocKind::Inbound, DocType::PurchaseReceipt, DocType::ProductionReceipt, 80};
}

// The return type paired with a delivery type.
DocType returnOf(DocType t)
{
    return DocType(code(t) + 1);
}

// One item per delivery type in use paired with its return type ("name&name"),
// and the all-types item when both pairs are there.
std::vector<StatTypeItem> pairItems(const App& app, DocType first, DocType second, const QString& allText,
                                    int allUnitKind)
{
    std::vector<StatTypeItem> items;
    for (DocType t : {first, second}) {
        if (!typeOffered(app, t))
            continue;
        const DocType back = returnOf(t);
        items.push_back({typeName(app, t) + QLatin1Char('&') + typeName(app, back),
                         {typeName(app, t), typeName(app, back)}, code(DocTypeOf(t).counterParty),
                         joinCaptions(extraCaption(app, t), extraCaption(app, back))});
    }
    if (items.size() == 2)
        items.push_back({allText, {}, allUnitKind, joinCaptions(extraCaption(app, first), extraCaption(app, second))});
    return items;
}

}  // namespace

StatisticsReportForm::StatisticsReportForm(App& a, StatMemberSpec spec, const QString& mode, QWidget* parent)
    : ReportForm(a, QString(), parent), whoami(mode), m_spec(std::move(spec))
{
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
    label(QStringLiteral("查询统计"), 0, 0);
    CmbS2 = new QComboBox(Frm);
    CmbS2->setObjectName(QStringLiteral("CmbS2"));
    g->addWidget(CmbS2, 0, 1);
    addPeriod(0, 2);
    LabOD = label(QStringLiteral("订单号码"), 0, 6);
    LabOD->setObjectName(QStringLiteral("LabOD"));
    TxtOD = edit("TxtOD", 0, 7);

    label(m_spec.unitCaption, 1, 0);
    CmbF3 = new QComboBox(Frm);
    CmbF3->setObjectName(QStringLiteral("CmbF3"));
    CmbF3->setEditable(true);
    g->addWidget(CmbF3, 1, 1);
    CmbLB = AddCategoryFilter(Frm, g, 1, 2, QStringLiteral("类别"), "CmbLB").combo;
    Txt = AddGoodsFilter(Frm, g, 1, 4, QStringLiteral("货品编码"),
                         [this](QLineEdit* box) { PickGoodsInto(app, box, this); })
              .Txt;
    if (m_spec.member == StatMember::Lst && !app.HpsxName.isEmpty()) {
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
    const int key = StatKeyColumn(m_spec.member);
    addPopup({QStringLiteral("TB11"), {QStringLiteral("SRT")}, [this, key](int row) {
                  return QVariantList{GD->textMatrix(row, key)};
              }});
    RecordStatusLine::Options o;
    o.totalsRow = true;
    o.emptyText = QStringLiteral("无信息");
    addStatusLine(o);
    const StatMember m = m_spec.member;
    const int firstNumber = m == StatMember::C3 ? 10 : 11;
    const int lastNumber = m == StatMember::MLLst ? 16 : (m == StatMember::C3 ? 14 : 13);
    QList<int> numbers;
    for (int c = firstNumber; c <= lastNumber; ++c)
        numbers << c;
    setNumberColumns(numbers);
    m_sort = new ColumnSortMenu(GD, [firstNumber, lastNumber, m](int c) {
        if (c >= firstNumber && c <= lastNumber)
            return ColumnSortMenu::Kind::Number;
        return c < StatKeyColumn(m) ? ColumnSortMenu::Kind::Text : ColumnSortMenu::Kind::None;
    }, 4);

    connect(CmbS2, qOverload<int>(&QComboBox::activated), this, [this] { chooseType(); });
    connect(Menu_TE, &QAction::triggered, this, [this] {
        QList<int> numbers;
        const int first = m_spec.member == StatMember::C3 ? 12 : 11;
        const int last = m_spec.member == StatMember::MLLst ? 16 : (m_spec.member == StatMember::C3 ? 14 : 13);
        for (int c = first; c <= last; ++c)
            numbers << c;
        exportGrid(numbers);
    });
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
    connect(GD, &QAbstractItemView::doubleClicked, this, [this] {
        const int goodsCol = m_spec.member == StatMember::C3 ? 4 : 5;
        const int r = GD->row();
        if (r >= 1 && r < GD->rows() - 1 && !GD->textMatrix(r, goodsCol).isEmpty())
            ShowGoodsPicture(app, GD->textMatrix(r, goodsCol), GD->textMatrix(r, goodsCol + 1));
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
    const ModeInfo info = modeOf(mode);
    StatWord = info.word;
    StatKind = m_spec.member == StatMember::C3 ? DocKind::Stocktaking : info.kind;
    if (m_spec.member == StatMember::DZLst)
        StatWord = StatKind == DocKind::Outbound ? QStringLiteral("发货") : QStringLiteral("收货");
    m_items = typeItems();
    if (!m_spec.fixedCaption.isEmpty())
        setWindowTitle(m_spec.fixedCaption);
    CmbS2->clear();
    for (const StatTypeItem& item : m_items)
        CmbS2->addItem(item.text);
    CmbS2->setVisible(m_spec.member != StatMember::C3 && m_spec.member != StatMember::MLLst);
    if (!m_items.empty())
        CmbS2->setCurrentIndex(int(m_items.size()) - 1);
    chooseType();
    if (m_spec.member == StatMember::C3) {
        QString caption;
        try {
            caption = SettingText(app.CurrentDatabase, 9181);
        } catch (const DbError&) {
        }
        LabOD->setText(caption);
        LabOD->setVisible(!LabOD->text().isEmpty());
        TxtOD->setVisible(LabOD->isVisible());
    }
    // The print menu is for operators who may see the prices of the side.
    const bool inboundSide = StatKind == DocKind::Inbound || StatKind == DocKind::SupplierReturn;
    const bool mayPrint = m_spec.member == StatMember::C3 ? app.CanSeeCost != 0
                          : inboundSide                  ? app.CanSeeCost != 0
                                                         : app.CanSeeProfit != 0 || m_spec.member == StatMember::CBLst;
    Menu_print->setEnabled(mayPrint);
    Run();
}

std::vector<StatTypeItem> StatisticsReportForm::typeItems() const
{
    const ModeInfo info = modeOf(whoami);
    std::vector<StatTypeItem> items;
    for (DocType t : {info.first, info.second})
        if (typeOffered(app, t))
            items.push_back({typeName(app, t), {typeName(app, t)}, code(DocTypeOf(t).counterParty),
                             extraCaption(app, t)});
    if (items.size() == 2)
        items.push_back({QStringLiteral("所有") + StatWord, {}, info.allUnitKind,
                         joinCaptions(items[0].extraCaption, items[1].extraCaption)});
    return items;
}

QStringList StatisticsReportForm::chosenTypes() const
{
    const int i = CmbS2->currentIndex();
    return i >= 0 && i < int(m_items.size()) ? m_items[size_t(i)].names : QStringList();
}

void StatisticsReportForm::chooseType()
{
    const int i = CmbS2->currentIndex();
    if (i < 0 || i >= int(m_items.size()))
        return;
    const StatTypeItem& item = m_items[size_t(i)];
    if (m_spec.fixedCaption.isEmpty())
        setWindowTitle((item.text.startsWith(QStringLiteral("所有")) ? item.text.mid(2) : item.text) +
                       QStringLiteral("统计"));
    else
        setWindowTitle(m_spec.fixedCaption);
    LabOD->setText(item.extraCaption);
    LabOD->setVisible(!item.extraCaption.isEmpty());
    TxtOD->setVisible(!item.extraCaption.isEmpty());
    if (item.extraCaption.isEmpty())
        TxtOD->clear();

    // The units of the type's counter-parties.
    QString where;
    switch (item.unitKind) {
    case 80: where = QStringLiteral("LB IN (0, 8)"); break;
    case 81: where = QStringLiteral("LB IN (1, 8)"); break;
    default: where = QStringLiteral("LB = %1").arg(item.unitKind); break;
    }
    if (SettingValue(app.CurrentDatabase, 1616) == 1 && item.unitKind != 8)
        where += QStringLiteral(" OR SCSF = 1");
    CmbF3->clear();
    CmbF3->addItem(QStringLiteral("所有单位"));
    try {
        const RecordSet rs = app.CurrentDatabase.query(
            QStringLiteral("SELECT F1 || '.' || F2 FROM TA1 WHERE (%1) AND F1 IS NOT NULL AND F2 IS NOT NULL "
                           "ORDER BY LB, F1").arg(where));
        for (int r = 0; r < rs.rowCount(); ++r)
            CmbF3->addItem(rs.text(r, 0));
    } catch (const DbError&) {
    }
    CmbF3->setCurrentIndex(0);
    // Outbound documents to departments carry cost prices, to customers sale prices.
    ShowPrices = true;
}

void StatisticsReportForm::FillCategoryCombo()
{
    CmbLB->clear();
    CmbLB->addItem(QStringLiteral("所有") + app.GoodsTerm);
    try {
        CmbLB->addItems(CategoryFilterItems(app.CurrentDatabase));
    } catch (const DbError&) {
    }
    CmbLB->setCurrentIndex(0);
}

QStringList StatisticsReportForm::headers() const
{
    const QString od = LabOD->text();
    const QString measure = app.HpsxName.isEmpty() ? QStringLiteral("单位") : app.HpsxName;
    return {StatWord + QStringLiteral("单号"), StatWord + QStringLiteral("日期"), od, QStringLiteral("相关单位"),
            QStringLiteral("单据附注"), app.GoodsTerm + QStringLiteral("编码"), app.GoodsTerm + QStringLiteral("名称"),
            QStringLiteral("规格"), QStringLiteral("所属类别编码"), QStringLiteral("所属类别"), measure,
            StatWord + QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额"), QStringLiteral("备注"),
            QString()};
}

void StatisticsReportForm::SetupStatsGrid()
{
    GD->clear();
    GD->setFixedRows(1);
    GD->setCols(StatColumnCount(m_spec.member));
    GD->setRows(2);
    GD->setHeaders(headers());
    for (int c = 0; c < GD->cols(); ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
    layoutColumns();
}

bool StatisticsReportForm::amountsHidden() const
{
    const bool inboundSide = StatKind == DocKind::Inbound || StatKind == DocKind::SupplierReturn;
    if (app.WithPrices == 0 || !ShowPrices)
        return true;
    if (m_spec.member == StatMember::C3 || m_spec.member == StatMember::CBLst)
        return app.CanSeeCost == 0;
    return inboundSide ? app.CanSeeCost == 0 : app.CanSeeProfit == 0;
}

void StatisticsReportForm::layoutColumns()
{
    const int cols = GD->cols();
    const int w = qMax(40, GD->viewport()->width() / 13);
    for (int c = 0; c < cols; ++c)
        GD->setColWidth(c, w);
    const StatMember m = m_spec.member;
    GD->setColWidth(StatKeyColumn(m), 0);
    if (m == StatMember::DZLst)
        GD->setColWidth(DZUnitCodeColumn, 0);
    GD->setColWidth(2, LabOD->text().isEmpty() ? 0 : w);
    GD->setColWidth(m == StatMember::C3 ? 7 : 8, 0);
    GD->setColWidth(m == StatMember::C3 ? 9 : 10, w / 2);
    if (amountsHidden()) {
        if (m == StatMember::C3) {
            GD->setColWidth(13, 0);
            GD->setColWidth(14, 0);
        } else {
            GD->setColWidth(6, w + GD->colWidth(13));
            GD->setColWidth(13, 0);
            if (m == StatMember::Lst)
                GD->setColWidth(12, 0);
        }
    }
}

bool StatisticsReportForm::generate()
{
    return BuildStatsList();
}

bool StatisticsReportForm::BuildStatsList()
{
    StatFilter f;
    f.member = m_spec.member;
    f.kind = StatKind;
    f.docTypes = chosenTypes();
    const QString unit = CmbF3->currentText().trimmed();
    CmbF3->setEditText(unit);
    if (!unit.isEmpty() && !unit.startsWith(QStringLiteral("所有")))
        f.unit = codeOf(unit);
    if (!CmbLB->currentText().startsWith(QStringLiteral("所有")))
        f.category = codeOf(CmbLB->currentText().trimmed());
    f.goods = Txt->text().trimmed();
    f.orderNo = TxtOD->isVisible() || !TxtOD->isHidden() ? TxtOD->text().trimmed() : QString();
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
                           {StatMember::Lst, QString(), true, QStringLiteral("相关单位"),
                            {item("Menu_print1", "&A.打印流水帐", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.打印合计报表", StatPrintKind::Summary, false)}},
                           mode, parent)
{
    setMode(mode);
}

DZLst::DZLst(App& app, QWidget* parent, const QString& mode)
    : StatisticsReportForm(app,
                           {StatMember::DZLst, QString(), false, QStringLiteral("相关单位"),
                            {item("Menu_print1", "&A.明细对帐单", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总对帐单", StatPrintKind::Summary, false),
                             item("Menu_print3", "&C.金额汇总表", StatPrintKind::AmountSummary, false)}},
                           mode, parent)
{
    m_spec.fixedCaption = (mode == QLatin1String("D2") ? QStringLiteral("发货") : QStringLiteral("收货")) +
                          QStringLiteral("对账单");
    setMode(mode);
}

std::vector<StatTypeItem> DZLst::typeItems() const
{
    const ModeInfo info = modeOf(whoami);
    const QString word = whoami == QLatin1String("D2") ? QStringLiteral("发货") : QStringLiteral("收货");
    return pairItems(app, info.first, info.second, QStringLiteral("所有") + word + QStringLiteral("及退货"),
                     info.allUnitKind);
}

QStringList DZLst::headers() const
{
    QStringList h = StatisticsReportForm::headers();
    h[0] = QStringLiteral("单据号码");
    h[1] = QStringLiteral("单据日期");
    h[11] = StatWord + QStringLiteral("数");
    h[12] = QStringLiteral("退货数");
    h[13] = QStringLiteral("金额");
    h << QString();
    return h;
}

CBLst::CBLst(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::CBLst, QStringLiteral("出库成本统计"), false, QStringLiteral("出库单位"),
                            {item("Menu_print1", "&A.明细表", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总表", StatPrintKind::Summary, true)}},
                           QStringLiteral("D2"), parent)
{
    setMode(QStringLiteral("D2"));
}

std::vector<StatTypeItem> CBLst::typeItems() const
{
    return pairItems(app, DocType::DepartmentIssue, DocType::SalesDelivery, QStringLiteral("所有出库及退货"), 81);
}

QStringList CBLst::headers() const
{
    QStringList h = StatisticsReportForm::headers();
    h[0] = QStringLiteral("单据号码");
    h[1] = QStringLiteral("单据日期");
    h[3] = QStringLiteral("出库单位");
    h[11] = QStringLiteral("数量");
    h[12] = QStringLiteral("成本单价");
    return h;
}

MLLst::MLLst(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::MLLst, QStringLiteral("销售毛利统计"), false, QStringLiteral("  客 户"),
                            {item("Menu_print1", "&A.明细表", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.汇总表", StatPrintKind::Summary, true)}},
                           QStringLiteral("D2"), parent)
{
    CmbDan = new QComboBox(Frm);
    CmbDan->setObjectName(QStringLiteral("CmbDan"));
    FrmLayout->addWidget(CmbDan, 0, 1);
    for (DocType t : {DocType::SalesDelivery, DocType::CustomerReturn})
        if (typeOffered(app, t))
            CmbDan->addItem(typeName(app, t));
    if (CmbDan->count() == 2)
        CmbDan->addItem(QStringLiteral("所有销售及退货"));
    CmbDan->setCurrentIndex(CmbDan->count() - 1);
    setMode(QStringLiteral("D2"));
}

// One hidden item: customers, with the extra item of sales and their returns.
std::vector<StatTypeItem> MLLst::typeItems() const
{
    return {{QString(), {}, code(UnitKind::Customer),
             joinCaptions(extraCaption(app, DocType::SalesDelivery), extraCaption(app, DocType::CustomerReturn))}};
}

QStringList MLLst::chosenTypes() const
{
    const QString t = CmbDan->currentText();
    if (t.isEmpty())
        return {QString()};
    if (!t.startsWith(QStringLiteral("所有")))
        return {t};
    return {CmbDan->itemText(0), CmbDan->itemText(1)};
}

QStringList MLLst::headers() const
{
    QStringList h = StatisticsReportForm::headers().mid(0, 11);
    h[0] = QStringLiteral("单据号码");
    h[1] = QStringLiteral("单据日期");
    h[3] = QStringLiteral("客户名称");
    h[10] = QStringLiteral("单位");
    h << QStringLiteral("数量") << QStringLiteral("成本价") << QStringLiteral("成本额") << QStringLiteral("销售价")
      << QStringLiteral("销售额") << QStringLiteral("毛利") << QString();
    return h;
}

C3::C3(App& app, QWidget* parent)
    : StatisticsReportForm(app,
                           {StatMember::C3, QStringLiteral("库存盘点统计"), true, QString(),
                            {item("Menu_print1", "&A.打印流水帐", StatPrintKind::Detail, true),
                             item("Menu_print2", "&B.打印合计报表", StatPrintKind::Summary, false)}},
                           QString(), parent)
{
    setWindowTitle(QStringLiteral("库存盘点统计"));
    CmbF3->hide();
    setMode(QString());
}

QStringList C3::headers() const
{
    const QString measure = app.HpsxName.isEmpty() ? QStringLiteral("单位") : app.HpsxName;
    return {QStringLiteral("单据号码"), QStringLiteral("单据日期"), LabOD->text(), QStringLiteral("单据附注"),
            app.GoodsTerm + QStringLiteral("编码"), app.GoodsTerm + QStringLiteral("名称"), QStringLiteral("规格"),
            QStringLiteral("所属类别编码"), QStringLiteral("所属类别"), measure, QStringLiteral("帐面数"),
            QStringLiteral("盘点数"), QStringLiteral("差异数"), QStringLiteral("单价"), QStringLiteral("差异金额"),
            QStringLiteral("备注"), QString()};
}
