#include "accounts/LedgerForm.h"

#include "accounts/LedgerService.h"
#include "basicdata/QueryGys.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "reports/StockMovement.h"
#include "widgets/GridBehaviours.h"
#include "widgets/NoRightsRefusal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

const QColor SubtotalBack(192, 255, 255);

}  // namespace

QString GeneralLedgerItem(int lb)
{
    return lb == 10 ? QStringLiteral("Menu_EE3") : QStringLiteral("Menu_EE5");
}

QString DetailLedgerItem(int lb)
{
    return lb == 10 ? QStringLiteral("Menu_EE4") : QStringLiteral("Menu_EE6");
}

// ---- LedgerForm ---------------------------------------------------------

LedgerForm::LedgerForm(App& a, int lb, const QString& caption, const char* name, QWidget* parent)
    : ReportForm(a, caption, parent), LB(lb)
{
    setObjectName(QString::fromLatin1(name));
    Menu_M = MenuBar->addMenu(QStringLiteral("&M.价格显示"));
    Menu_M->setObjectName(QStringLiteral("Menu_M"));
    for (int i = 0; i < 2; ++i) {
        Menu_Price[size_t(i)] = Menu_M->addAction(i == 0 ? QStringLiteral("&1.成本价格") : QStringLiteral("&1.销售价格"));
        Menu_Price[size_t(i)]->setObjectName(QStringLiteral("Menu_Price%1").arg(i));
        Menu_Price[size_t(i)]->setCheckable(true);
        connect(Menu_Price[size_t(i)], &QAction::triggered, this, [this, i] { Menu_Price_Click(i); });
    }
    Menu_Price[1]->setChecked(true);
    Menu_TE = addMenuItem("Menu_TE", QStringLiteral("&T.导出"));
    Menu_print = addMenuItem("Menu_print", QStringLiteral("&P.打印"));
    Menu_Return = addMenuItem("Menu_Return", QStringLiteral("&R.返回"));

    addPeriod(0, 0);
    PeriodFrom->setText(QStringLiteral("由"));
    Labe0 = PeriodFrom;
    Labe0->setObjectName(QStringLiteral("Labe0"));
    Labe1 = PeriodTo;
    Labe1->setObjectName(QStringLiteral("Labe1"));
    LabDW = new QLabel(QStringLiteral("供应商"), Frm);
    LabDW->setObjectName(QStringLiteral("LabDW"));
    Cmb = new QComboBox(Frm);
    Cmb->setObjectName(QStringLiteral("Cmb"));
    Cmb->setEditable(true);
    Cmb->setMinimumContentsLength(16);
    CmdQGys = new QPushButton(QStringLiteral("…"), Frm);
    CmdQGys->setObjectName(QStringLiteral("CmdQGys"));
    CmdQGys->hide();
    Txt = new QLineEdit(Frm);
    Txt->setObjectName(QStringLiteral("Txt"));
    Txt->hide();
    FrmLayout->addWidget(LabDW, 0, 4);
    FrmLayout->addWidget(Cmb, 0, 5);
    FrmLayout->addWidget(CmdQGys, 0, 6);
    Cmd = addRunButton("Cmd", 0, 7, 1);
    FrmLayout->setColumnStretch(8, 1);
    addBusyPanel();
    addPopup();  // copy only
    RecordStatusLine::Options status;
    status.totalsRow = true;
    addStatusLine(status);

    connect(CmdQGys, &QPushButton::clicked, this, &LedgerForm::CmdQGys_Click);
    connect(Menu_TE, &QAction::triggered, this, [this] { exportGrid({6, 7, 8, 9}); });
    connect(Menu_print, &QAction::triggered, this, &LedgerForm::Menu_print_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);
}

void LedgerForm::setSide(int lb, const QString& caption)
{
    LB = lb;
    setWindowTitle(caption);
}

QString LedgerForm::moneyWord() const
{
    return payable() ? QStringLiteral("付") : QStringLiteral("收");
}

void LedgerForm::loadDefaults()
{
    LabDW->setText(payable() ? QStringLiteral("供应商") : QStringLiteral("客户"));
    const ReportPeriod period = ReportStartDate(app.ReportStartDay, QDate::currentDate());
    DTP0->setDate(period.from);
    DTP1->setDate(period.to);
    FillUnitList();
    Txt->clear();
    CmdQGys->setVisible(app.ShowUnitPicker == 1);
}

void LedgerForm::FillUnitList()
{
    Cmb->clear();
    Cmb->addItem(QStringLiteral("所有") + LabDW->text());
    try {
        const RecordSet rs = app.CurrentDatabase.query(
            QStringLiteral("SELECT F1, F2 FROM TA1 WHERE LB = ? ORDER BY F1"), {code(unitKind())});
        for (int r = 0; r < rs.rowCount(); ++r)
            if (!rs.value(r, 0).isNull() && !rs.value(r, 1).isNull())
                Cmb->addItem(rs.text(r, 0) + QLatin1Char('.') + rs.text(r, 1));
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
    }
    Cmb->setCurrentIndex(-1);
    Cmb->setEditText(QString());
}

void LedgerForm::Cmd_Click()
{
    const QString v = SqlSafe(Cmb->currentText());
    QString unit;
    if (!v.isEmpty() && !v.startsWith(QStringLiteral("所有"))) {
        const int dot = v.indexOf(QLatin1Char('.'));
        unit = dot <= 0 ? v : v.left(dot);
        Txt->setText(unit);
        QString name;
        try {
            name = app.CurrentDatabase
                       .scalar(QStringLiteral("SELECT F2 FROM TA1 WHERE LB = ? AND F1 = ?"), {code(unitKind()), unit})
                       .toString();
        } catch (const DbError& e) {
            MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
            return;
        }
        // A text that names no unit of the side leaves the ledger shown as it is.
        if (name.isEmpty())
            return;
        Cmb->setEditText(unit + QLatin1Char('.') + name);
    }
    Txt->setText(unit);
    Run();
    writeDrillArgs(Txt->text());
}

void LedgerForm::writeDrillArgs(const QString& code)
{
    app.LedgerDrillArgs = {DateText(DTP0->date()), DateText(DTP1->date()), code, QString::number(LB)};
}

void LedgerForm::CmdQGys_Click()
{
    const bool customers = LB < 1;
    const QString picked =
        PickUnit(app, this, code(customers ? UnitKind::Customer : UnitKind::Supplier),
                 customers ? QStringLiteral("客户档案") : QStringLiteral("供应商列表"), true);
    if (!picked.isEmpty() && picked != QLatin1String("."))
        Cmb->setEditText(picked);
    Cmb->setFocus();
}

void LedgerForm::Menu_Price_Click(int index)
{
    // The ledgers show no prices: the choice is kept, the figures stay the same.
    Menu_Price[1]->setChecked(index == 1);
    Menu_Price[0]->setChecked(index == 0);
    Run();
}

void LedgerForm::buildHeader(const QStringList& headers)
{
    GD->clear();
    GD->setFixedRows(1);
    GD->setCols(10);
    GD->setRows(2);
    GD->setHeaders(headers);
    for (int c = 0; c < 10; ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
    GD->setMergeCol(0, true);
    GD->setMergeCol(1, true);
}

void LedgerForm::layoutLedgerColumns(int divisor, std::initializer_list<int> hidden)
{
    const int w = qMax(0, GD->width() * 15 / divisor - 50);
    for (int c = 0; c < GD->cols(); ++c)
        GD->setColWidth(c, w);
    for (int c : hidden)
        if (c < GD->cols())
            GD->setColWidth(c, 0);
}

void LedgerForm::Menu_print_Click()
{
    if (!RequireRight(app, RightAccounts, RightItem3))
        return;
    if (lastRunCancelled() && !readyToPrint())
        return;
    const LedgerPrint p = printSetup();
    PlistPrint job(app);
    job.Pid = p.pid;
    job.RptFile = app.AppFolder + p.templateFile;
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.setValue(QStringLiteral("FromDate"), DateText(DTP0->date()));
    job.setValue(QStringLiteral("ToDate"), DateText(DTP1->date()));
    job.setValue(QStringLiteral("DanWeiLeiXing"), LabDW->text());
    job.setValue(QStringLiteral("DanWeiName"), Cmb->currentText());
    stageRows(job);
    job.PrnSQL = p.sql;
    job.show(this);
}

// ---- KuanHz ---------------------------------------------------------------

KuanHz::KuanHz(App& a, int lb, const QString& caption, QWidget* parent)
    : LedgerForm(a, lb, caption, "KuanHz", parent)
{
    new ColumnSortMenu(GD, [](int c) {
        return c <= 5 ? ColumnSortMenu::Kind::Text : ColumnSortMenu::Kind::Number;
    }, 4);
    connect(GD, &Grid::doubleClicked_, this, [this](int row, int) { GD_DblClick(row); });
    loadDefaults();
    Cmd_Click();
}

bool KuanHz::generate()
{
    const QString w = moneyWord();
    const QString unitWord = payable() ? QStringLiteral("供应商") : QStringLiteral("客户");
    buildHeader({unitWord + QStringLiteral("编码"), unitWord + QStringLiteral("名称"), QString(), QString(), QString(),
                 QString(), QStringLiteral("期初应") + w, QStringLiteral("增加应") + w, QStringLiteral("本期已") + w,
                 QStringLiteral("期末应") + w});
    layoutColumns();
    const std::vector<GeneralLedgerRow> rows =
        GeneralLedger(app.CurrentDatabase, unitKind(), Txt->text(), DTP0->date(), DTP1->date());
    if (!keepGoing())
        return false;
    const QString& fmt = app.AmountFormat;
    std::vector<QString> cells;
    cells.reserve((rows.size() + 1) * 10);
    double opening = 0, increase = 0, decrease = 0, closing = 0;
    for (const GeneralLedgerRow& r : rows) {
        cells.insert(cells.end(), {r.code, r.name, QString(), QString(), QString(), QString(),
                                   FormatNumber(r.opening, fmt), FormatNumber(r.increase, fmt),
                                   FormatNumber(r.decrease, fmt), FormatNumber(r.closing, fmt)});
        opening += r.opening;
        increase += r.increase;
        decrease += r.decrease;
        closing += r.closing;
    }
    cells.insert(cells.end(), {QString(), QStringLiteral("合 计："), QString(), QString(), QString(), QString(),
                               FormatNumber(opening, fmt), FormatNumber(increase, fmt), FormatNumber(decrease, fmt),
                               FormatNumber(closing, fmt)});
    GD->load(int(rows.size()) + 1, 10, std::move(cells));
    GD->setCurrent(1, 0);
    return true;
}

void KuanHz::layoutColumns()
{
    layoutLedgerColumns(6, {2, 3, 4, 5});
}

void KuanHz::GD_DblClick(int row)
{
    const QString unit = GD->textMatrix(row, 0);
    if (row < GD->fixedRows() || unit.isEmpty())
        return;
    writeDrillArgs(unit);
    const QString caption = windowTitle().left(4) + QStringLiteral("明细");
    const int lb = LB;
    if (!OpenWindow(app, DetailLedgerItem(lb)))
        return;
    if (auto* detail = qobject_cast<KuanMx*>(OpenedWindow(app, DetailLedgerItem(lb))))
        detail->setSide(lb, caption);
}

LedgerForm::LedgerPrint KuanHz::printSetup() const
{
    return {payable() ? QStringLiteral("应付总账") : QStringLiteral("应收总账"),
            payable() ? QStringLiteral("pkhzF.vxp") : QStringLiteral("pkhzS.vxp"),
            QStringLiteral("select F1,F2,F3,F4,F5,F6,F7 from plist order by F0")};
}

void KuanHz::stageRows(PlistPrint& job) const
{
    // Unit rows and the totals row, in the grid's order (a sorted ledger prints sorted).
    for (int i = GD->fixedRows(); i < GD->rows(); ++i)
        if (!GD->textMatrix(i, 1).isEmpty())
            job.addRow({GD->textMatrix(i, 0), GD->textMatrix(i, 1), GD->textMatrix(i, 6), GD->textMatrix(i, 7),
                        GD->textMatrix(i, 8), GD->textMatrix(i, 9), QString::number(i)});
}

// ---- KuanMx ---------------------------------------------------------------

KuanMx::KuanMx(App& a, int lb, const QString& caption, QWidget* parent)
    : LedgerForm(a, lb, caption, "KuanMx", parent)
{
    Menu_Weihu = new QAction(QStringLiteral("&S.维护"), MenuBar);
    Menu_Weihu->setObjectName(QStringLiteral("Menu_Weihu"));
    MenuBar->insertAction(Menu_M->menuAction(), Menu_Weihu);
    Menu_Sort = new QMenu(QStringLiteral("&S.排序"), MenuBar);
    Menu_Sort->setObjectName(QStringLiteral("Menu_Sort"));
    MenuBar->insertMenu(Menu_M->menuAction(), Menu_Sort);
    const char* const sorts[] = {"&1.按单据号码", "&2.按单据日期", "&3.按相关部门", "&4.按所属类别", "&5.按货品编码",
                                 "&6.按入库数量", "&7.按出库数量", "&8.按入库金额", "&9.按出库金额", "&0.按记帐顺序"};
    for (int i = 0; i < 10; ++i) {
        QAction* s = Menu_Sort->addAction(QString::fromUtf8(sorts[i]));
        s->setObjectName(QStringLiteral("Menu_S%1").arg(i));
        s->setCheckable(true);
        connect(s, &QAction::triggered, this, [this, i] { Menu_S_Click(i); });
        Menu_S[size_t(i)] = s;
    }
    Menu_S[9]->setChecked(true);

    loadDefaults();
    Menu_Weihu->setVisible(IsTopAdministrator(app));
    // The last ledger asked for on this side, in either window, is shown again.
    const auto& args = app.LedgerDrillArgs;
    if (args[3] == QString::number(LB)) {
        for (int i = 0; i < 2; ++i) {
            QString text = args[size_t(i)];
            try {
                if (!text.isEmpty())
                    (i == 0 ? DTP0 : DTP1)->setDate(ParseDate(text));
            } catch (const DateError&) {
            }
        }
        if (!args[2].isEmpty())
            Cmb->setEditText(args[2]);
    }
    Cmd_Click();
}

void KuanMx::Menu_S_Click(int index)
{
    // The rows stay in posting order whatever item is ticked.
    for (int i = 0; i < 10; ++i)
        Menu_S[size_t(i)]->setChecked(i == index);
    Run();
}

bool KuanMx::generate()
{
    const QString w = moneyWord();
    const QString unitWord = LabDW->text();
    buildHeader({unitWord + QStringLiteral("编码"), unitWord + QStringLiteral("名称"), QStringLiteral("单据号"),
                 QStringLiteral("业务类型"), QString(), QString(), QStringLiteral("期初应") + w,
                 QStringLiteral("本期增加应") + w, QStringLiteral("本期已") + w, QStringLiteral("期末应") + w});
    layoutColumns();
    const std::vector<DetailLedgerLine> lines =
        DetailLedger(app.CurrentDatabase, unitKind(), Txt->text(), DTP0->date(), DTP1->date());
    if (!keepGoing())
        return false;
    if (lines.empty())
        return true;
    const QString& fmt = app.AmountFormat;
    const auto amount = [&](double v, bool blankZero) {
        const QString t = FormatNumber(v, fmt);
        return blankZero && RoundToPattern(v, fmt) == 0 ? QString() : t;
    };
    std::vector<QString> cells;
    cells.reserve((lines.size() + 1) * 10);
    for (const DetailLedgerLine& l : lines) {
        const bool detail = !l.subtotal;
        cells.insert(cells.end(), {l.code, l.name, l.number, l.business, QString(), QString(),
                                   detail && !l.firstOfUnit ? QString() : FormatNumber(l.before, fmt),
                                   amount(l.increase, detail), amount(l.decrease, detail), FormatNumber(l.after, fmt)});
    }
    cells.resize(cells.size() + 10);  // the spare row
    GD->load(int(lines.size()) + 1, 10, std::move(cells));
    int last = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].subtotal)
            continue;
        last = int(i) + 1;
        for (int c = 2; c < 10; ++c)
            GD->setCellBackColor(last, c, SubtotalBack);
    }
    GD->setCurrent(last, 9);
    return true;
}

void KuanMx::layoutColumns()
{
    layoutLedgerColumns(8, {4, 5});
}

LedgerForm::LedgerPrint KuanMx::printSetup() const
{
    return {payable() ? QStringLiteral("应付明细账") : QStringLiteral("应收明细账"),
            payable() ? QStringLiteral("pkmxF.vxp") : QStringLiteral("pkmxS.vxp"),
            QStringLiteral("select F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,V1 from plist order by F0")};
}

void KuanMx::stageRows(PlistPrint& job) const
{
    // Every filled row, subtotals included; the spare row is left out. The
    // staging's row key keeps text order equal to row order at any count.
    for (int i = GD->fixedRows(); i < GD->rows() - 1; ++i) {
        QStringList t;
        for (int c = 0; c < 10; ++c)
            t << GD->textMatrix(i, c);
        job.addRow(t, {double(i)});
    }
}
