#include "accounts/VoucherForm.h"

#include "forms/Query.h"
#include "basicdata/QueryGys.h"
#include "core/App.h"
#include "core/DocNumbers.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "exchange/GridExport.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/EditFocusColour.h"
#include "widgets/EnterAsTab.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedLayout>
#include <QStyle>
#include <QTabBar>

namespace {

const QString Hint = QStringLiteral("提示");
constexpr int FieldCount = 9;
constexpr int TimeColumn = 9;

const char* const SortClauses[] = {" order by TB1.F1", " order by TB1.F2", " order by TB1.F3", " order by TB1.%1 desc",
                                   " order by TB1.S1", " order by TB1.F5", " order by TB1.H8 desc"};
// Sort item i orders by list column SortColumns[i]; its caption follows that header.
constexpr int SortColumns[] = {0, 1, 2, 5, 6, 7, 9};

}  // namespace

VoucherForm::VoucherForm(App& app, QWidget* parent, const QString& name, DocKind kind, const QString& caption,
                         const QString& listTab, const QString& voucherTab)
    : QWidget(parent), app(app), Side(VoucherSideOf(kind))
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 4);
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("MenuBar"));
    outer->setMenuBar(menus);
    Menu_Add = action("Menu_Add", QStringLiteral("&A.增加"));
    Menu_edit = action("Menu_edit", QStringLiteral("&E.修改"));
    Menu_del = action("Menu_del", QStringLiteral("&D.删除"));
    Menu_query = action("Menu_query", QStringLiteral("&Q.查找"));
    Menu_sort = new QMenu(QStringLiteral("&S.排序"), this);
    Menu_sort->setObjectName(QStringLiteral("Menu_sort"));
    for (int i = 0; i < 7; ++i) {
        QAction* item = action(QStringLiteral("Menu_sortBy%1").arg(i).toLatin1().constData(), QString());
        item->setCheckable(true);
        Menu_sort->addAction(item);
        Menu_sortBy << item;
        connect(item, &QAction::triggered, this, [this, i] { Menu_sortBy_Click(i); });
    }
    Menu_save = action("Menu_save", QStringLiteral("&S.保存"));
    Menu_cancel = action("Menu_cancel", QStringLiteral("&C.取消"));
    Menu_TE = action("Menu_TE", QStringLiteral("&T.导出"));
    Menu_Return = action("Menu_Return", QStringLiteral("&R.返回"));
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query})
        menus->addAction(a);
    menus->addMenu(Menu_sort);
    for (QAction* a : {Menu_save, Menu_cancel, Menu_TE, Menu_Return})
        menus->addAction(a);
    Menu_save->setVisible(false);
    Menu_cancel->setVisible(false);
    connect(Menu_Add, &QAction::triggered, this, &VoucherForm::Menu_Add_Click);
    connect(Menu_edit, &QAction::triggered, this, &VoucherForm::Menu_edit_Click);
    connect(Menu_del, &QAction::triggered, this, &VoucherForm::Menu_del_Click);
    connect(Menu_query, &QAction::triggered, this, &VoucherForm::Menu_query_Click);
    connect(Menu_save, &QAction::triggered, this, &VoucherForm::Menu_save_Click);
    connect(Menu_cancel, &QAction::triggered, this, &VoucherForm::Menu_cancel_Click);
    connect(Menu_TE, &QAction::triggered, this, &VoucherForm::Menu_TE_Click);
    connect(Menu_Return, &QAction::triggered, this, &QWidget::close);

    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->addTab(listTab);
    TabS->addTab(voucherTab);
    TabS->setExpanding(false);
    outer->addWidget(TabS);

    Pages = new QStackedLayout;
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    GD->installEventFilter(this);
    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    auto* grid = new QGridLayout(Frm);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(12);
    Pages->addWidget(GD);
    Pages->addWidget(Frm);
    outer->addLayout(Pages, 1);

    // Field i mirrors list column i; (row, column) of each field on the voucher tab.
    const int places[FieldCount][3] = {{0, 0, 1}, {0, 2, 1}, {1, 0, 3}, {1, 2, 1}, {2, 2, 1},
                                       {2, 0, 1}, {3, 0, 1}, {3, 2, 1}, {4, 0, 3}};
    for (int i = 0; i < FieldCount; ++i) {
        auto* box = new QLineEdit(Frm);
        box->setObjectName(QStringLiteral("Txt%1").arg(i));
        box->setReadOnly(true);
        box->installEventFilter(this);
        auto* label = new QLabel(Frm);
        label->setObjectName(QStringLiteral("Lab%1").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, places[i][0], places[i][1] * 2);
        grid->addWidget(box, places[i][0], places[i][1] * 2 + 1, 1, places[i][2]);
        new EditFocusColour(box, [this] { return Edstu != 0; }, TabS);
        if (i != 1 && i != 2)
            EnterAsTab(box);
        Txt << box;
        Lab << label;
    }
    auto* timeLine = new QLabel(Frm);
    timeLine->setObjectName(QStringLiteral("Lab9"));
    timeLine->setStyleSheet(QStringLiteral("color: rgb(128,128,128);"));
    grid->addWidget(timeLine, 5, 0, 1, 5);
    Lab << timeLine;
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(5, 1);
    for (int i : {3, 4}) {  // related document and payment method: never stored, never shown
        Txt[i]->hide();
        Lab[i]->hide();
    }

    DTP = new QDateEdit(Frm);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setCalendarPopup(true);
    DTP->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    DTP->installEventFilter(this);
    DTP->hide();
    grid->addWidget(DTP, places[1][0], places[1][1] * 2 + 1);
    connect(DTP, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (DTP->isVisible())
            Txt[1]->setText(DateText(d));
    });
    CmbEnter2 = new QComboBox(Frm);
    CmbEnter2->setObjectName(QStringLiteral("CmbEnter2"));
    CmbEnter2->setEditable(true);
    CmbEnter2->setInsertPolicy(QComboBox::NoInsert);
    CmbEnter2->setStyleSheet(QStringLiteral("QComboBox { background: rgb(192,255,192); color: rgb(0,0,192); }"));
    CmbEnter2->installEventFilter(this);
    CmbEnter2->hide();
    grid->addWidget(CmbEnter2, places[2][0], places[2][1] * 2 + 1, 1, places[2][2]);
    CmdQGys = new QPushButton(QStringLiteral("…"), Frm);
    CmdQGys->setObjectName(QStringLiteral("CmdQGys"));
    CmdQGys->setFixedWidth(Grid::twipsToPixels(255) + 8);
    CmdQGys->hide();
    grid->addWidget(CmdQGys, places[2][0], 4);
    connect(CmdQGys, &QPushButton::clicked, this, &VoucherForm::CmdQGys_Click);
    const int tabOrder[] = {0, 2, 5, 6, 8, 1, 7};
    for (int k = 0; k + 1 < 7; ++k)
        setTabOrder(Txt[tabOrder[k]], Txt[tabOrder[k + 1]]);

    connect(TabS, &QTabBar::currentChanged, this, &VoucherForm::TabS_Click);
    connect(GD, &Grid::rowColChanged, this, [this](int row, int col) {
        GD_RowColChange();
        FitGridColumn(this->app, GD, col, GD->textMatrix(row, col));
    });
    connect(GD, &Grid::clicked_, this, [this](int row, int) {
        if (Edstu != 0)
            return;
        CurRow = row;
        ShowVoucherStatus();
    });
    connect(GD, &Grid::doubleClicked_, this, [this] { TabS->setCurrentIndex(1); });
    new GridContextMenu(app, GD);
    new StatusPanelRestore(app, this);

    // Opening: the side's units, browse state, the vouchers of this month by date.
    FillUnitCombo();
    Edstu = 0;
    Menu_sortBy[6]->setVisible(isTopAdministrator());
    SortOrder = QStringLiteral(" order by TB1.F2 ");
    Menu_sortBy[SortIndex]->setChecked(true);
    CurrentSql.clear();
    LoadVoucherList(VoucherOpeningStatement(Side, QDate::currentDate()));
    TabS_Click(0);
}

QAction* VoucherForm::action(const char* name, const QString& caption)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

bool VoucherForm::isTopAdministrator() const
{
    return IsTopAdministrator(app);
}

void VoucherForm::FillUnitCombo()
{
    CmbEnter2->clear();
    const RecordSet rs = app.CurrentDatabase.query(
        QStringLiteral("select F1||'.'||F2 from TA1 where LB=? and F2 is not null order by F1"),
        {code(Side.unitKind)});
    for (int r = 0; r < rs.rowCount(); ++r)
        if (!rs.value(r, 0).isNull())
            CmbEnter2->addItem(rs.text(r, 0));
}

void VoucherForm::BuildVoucherHeader()
{
    QStringList headers = Side.headers;
    if (!isTopAdministrator())
        headers[TimeColumn].clear();
    for (int i = 0; i < 6; ++i)
        Menu_sortBy[i]->setText(QStringLiteral("&%1.按").arg(i + 1) + headers[SortColumns[i]]);
    Menu_sortBy[6]->setText(QStringLiteral("&7.按记账时间"));
    const QSignalBlocker block(GD);
    GD->setCols(VoucherListColumns);
    GD->setRows(2);
    GD->clear();
    GD->setHeaders(headers);
    for (int i = 0; i < VoucherListColumns; ++i) {
        GD->setFixedAlignment(i, Qt::AlignCenter);
        Lab[i]->setText(headers[i]);
    }
    GD->setColAlignment(TimeColumn, Qt::AlignLeft | Qt::AlignVCenter);
    placeColumns();
    RowKeys = QStringList{QString()};
    CurRow = 1;
}

void VoucherForm::placeColumns()
{
    const int scrollBar = GD->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, GD);
    const int width = Grid::pixelsToTwips(std::max(0, GD->contentsRect().width() - scrollBar));
    const int each = std::max(600, width / 8 - 60);
    for (int c = 0; c < FieldCount; ++c)
        GD->setColWidth(c, each);
    GD->setColWidth(2, each * 2);
    GD->setColWidth(3, 0);
    GD->setColWidth(4, 0);
    if (SortIndex == 6) {
        GD->setColWidth(6, each / 2);
        GD->setColWidth(7, each / 2);
    }
    GD->setColWidth(TimeColumn, SortIndex == 6 ? 1800 : 0);
}

void VoucherForm::LoadVoucherList(const QString& statement)
{
    BuildVoucherHeader();
    if (statement != CurrentSql)
        CurrentSql = VoucherListStatement(statement, Side);
    VoucherList list;
    try {
        list = ListVouchers(app.CurrentDatabase, CurrentSql, SortOrder);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("查询失败：") + e.description(), MB::OKOnly | MB::Information, Hint);
        RecordTotal = 0;
        return;
    }
    RecordTotal = list.rows;
    if (RecordTotal == 0)
        return;
    if (!isTopAdministrator())
        for (int r = 0; r < list.rows; ++r)
            list.cells[size_t(r) * VoucherListColumns + TimeColumn].clear();
    {
        const QSignalBlocker block(GD);
        GD->load(list.rows, VoucherListColumns, std::move(list.cells));
    }
    RowKeys = list.versions;
    CurRow = 1;
    ShowVoucherStatus();
    if (TabS->currentIndex() != 0)
        TabS->setCurrentIndex(0);
    else
        TabS_Click(0);
}

void VoucherForm::ShowVoucherStatus()
{
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(std::max(CurRow, 1), GD->col());
        GD->setRowSel(std::max(CurRow, 1));
        GD->setColSel(TimeColumn);
    }
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(RecordTotal).arg(CurRow));
}

void VoucherForm::GD_RowColChange()
{
    CurCol = GD->col();
    if (Edstu == 0) {
        CurRow = GD->row();
        ShowVoucherStatus();
    }
}

void VoucherForm::TabS_Click(int tab)
{
    if (tab == 0) {
        for (QLineEdit* box : Txt)
            box->clear();
        Pages->setCurrentWidget(GD);
        {
            const QSignalBlocker block(GD);
            GD->setCurrent(std::max(CurRow, 1), GD->col());
        }
        GD_RowColChange();
        return;
    }
    Pages->setCurrentWidget(Frm);
    for (int i = 0; i < FieldCount; ++i)
        Txt[i]->setText(GD->textMatrix(CurRow, i));
    Lab[TimeColumn]->setVisible(isTopAdministrator());
    Lab[TimeColumn]->setText(GD->textMatrix(0, TimeColumn) + QStringLiteral("：") +
                             GD->textMatrix(CurRow, TimeColumn));
}

void VoucherForm::EnterVoucherEditMode()
{
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query, Menu_TE})
        a->setVisible(false);
    Menu_sort->menuAction()->setVisible(false);
    Menu_save->setVisible(true);
    Menu_cancel->setVisible(true);
    Menu_Return->setEnabled(false);
    for (int i = 0; i < FieldCount; ++i)
        Txt[i]->setReadOnly(i == 7);
    CmdQGys->show();
}

void VoucherForm::LeaveVoucherEditMode()
{
    for (QLineEdit* box : Txt)
        box->setReadOnly(true);
    DTP->hide();
    CmbEnter2->hide();
    Menu_Return->setEnabled(true);
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query, Menu_TE})
        a->setVisible(true);
    Menu_sort->menuAction()->setVisible(true);
    Menu_save->setVisible(false);
    Menu_cancel->setVisible(false);
    Edstu = 0;
    TabS->setEnabled(true);
    TabS->setFocus();
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(std::max(CurRow, 1), 0);
    }
    CmdQGys->hide();
    GD_RowColChange();
}

void VoucherForm::Menu_Add_Click()
{
    if (!RequireRight(app, RightAccounts, Side.rightDigit))
        return;
    QString number;
    try {
        number = ProposeVoucherNumber(app.CurrentDatabase, Side, QDate::currentDate());
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (number.isEmpty()) {
        MsgBox(QStringLiteral("在同一天内不能建立10000条以上的同类单据！"), MB::OKOnly | MB::Exclamation,
               QStringLiteral("警告"));
        close();
        return;
    }
    const int last = GD->rows() - 1;
    if (!GD->textMatrix(last, 0).isEmpty()) {
        const QSignalBlocker block(GD);
        GD->setRows(GD->rows() + 1);
        RowKeys << QString();
    }
    CurRow = GD->rows() - 1;
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(CurRow, 0);
    }
    Edstu = 1;
    EnterVoucherEditMode();
    GD->setTextMatrix(CurRow, 0, number);
    if (TabS->currentIndex() == 1)
        TabS_Click(1);
    else
        TabS->setCurrentIndex(1);
    TabS->setEnabled(false);
    Txt[0]->setFocus();
    Txt[7]->setText(app.OperatorName);
    if (Side.proposesToday)
        Txt[1]->setText(DateText(QDate::currentDate()));
    Original = {};
}

void VoucherForm::Menu_edit_Click()
{
    if (!RequireRight(app, RightAccounts, Side.rightDigit))
        return;
    if (GD->textMatrix(CurRow, 0).isEmpty()) {
        TabS->setCurrentIndex(0);
        MsgBox(QStringLiteral("请选择要修改的行！"), MB::OKOnly | MB::Information, QString());
        return;
    }
    if (TabS->currentIndex() == 1)
        TabS_Click(1);
    else
        TabS->setCurrentIndex(1);
    Edstu = 2;
    EnterVoucherEditMode();
    Original = {GD->textMatrix(CurRow, 0), RowKeys.value(CurRow - 1)};
    TabS->setEnabled(false);
    Txt[0]->setFocus();
}

void VoucherForm::commitHelpers()
{
    if (CmbEnter2->isVisible()) {
        Txt[2]->setText(SqlSafe(CmbEnter2->currentText()));
        CmbEnter2->hide();
    }
    DTP->hide();
}

bool VoucherForm::SaveVoucherFields()
{
    commitHelpers();
    Txt[0]->setFocus();
    Txt[0]->setText(Txt[0]->text().toUpper());
    for (QLineEdit* box : Txt)
        box->setText(SqlSafe(box->text()));
    if (Txt[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("请填写") + Lab[0]->text() + QStringLiteral("！"), MB::OKOnly | MB::Information, QString());
        return false;
    }
    QDate date;
    QString dateText = Txt[1]->text();
    try {
        date = dateText.isEmpty() ? QDate() : ParseDate(dateText);
    } catch (const DateError&) {
        date = QDate();
    }
    if (!date.isValid()) {
        MsgBox(QStringLiteral("请填写") + Lab[1]->text() + QStringLiteral("!"), MB::OKOnly | MB::Information, QString());
        return false;
    }
    const QDate today = QDate::currentDate();
    if (std::abs(date.year() - today.year()) > 2 &&
        MsgBox(QStringLiteral("您的电脑系统日期是[") + DateText(today) + QStringLiteral("]，您确认") + Lab[1]->text() +
                   QStringLiteral("是 ") + QString::number(date.year()) + QStringLiteral(" 吗？"),
               MB::YesNo | MB::Question, QString()) != MB::Yes)
        return false;

    VoucherInput input{Txt[0]->text(), date, Txt[2]->text(), Txt[5]->text(), Txt[6]->text(), Txt[8]->text()};
    VoucherSaveResult result;
    try {
        result = SaveVoucher(app, Side, input, Edstu == 2 ? &Original : nullptr);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("保存失败，数据没有改变：") + e.description(), MB::OKOnly | MB::Information, Hint);
        return false;
    }
    switch (result.status) {
    case VoucherSaveStatus::Saved:
        break;
    case VoucherSaveStatus::UnitUnknown:
        MsgBox(QStringLiteral("在系统资料库中不存在[") + result.unitCode + QStringLiteral("]这个") + Lab[2]->text() +
                   QStringLiteral("！\r\r请填写或选择有效的") + Lab[2]->text() + QStringLiteral("编码！"),
               MB::OKOnly | MB::Information, QString());
        return false;
    case VoucherSaveStatus::BadAmount:
        MsgBox(QStringLiteral("请填写") + Lab[5]->text() + QStringLiteral("!"), MB::OKOnly | MB::Information, QString());
        Txt[5]->setFocus();
        return false;
    case VoucherSaveStatus::NumberTaken:
        MsgBox(QStringLiteral("系统中已经存在 ") + input.number + QStringLiteral(" 这个") + Lab[0]->text() +
                   QStringLiteral("！"),
               MB::OKOnly | MB::Information, QString());
        return false;
    case VoucherSaveStatus::Stale:
        MsgBox(QStringLiteral("该凭证已被其他用户修改或删除，请取消后重新查询！"), MB::OKOnly | MB::Information, Hint);
        return false;
    }
    Txt[1]->setText(DateText(date));
    Txt[2]->setText(input.unitText);
    for (int i = 0; i < FieldCount; ++i)
        GD->setTextMatrix(CurRow, i, i == 7 ? app.OperatorName : Txt[i]->text());
    GD->setTextMatrix(CurRow, TimeColumn, isTopAdministrator() ? result.postedAt : QString());
    while (RowKeys.size() < CurRow)
        RowKeys << QString();
    RowKeys[CurRow - 1] = result.version;
    if (Edstu == 1)
        ++RecordTotal;
    return true;
}

void VoucherForm::Menu_save_Click()
{
    if (Edstu == 0 || !SaveVoucherFields())
        return;
    LeaveVoucherEditMode();
    TabS->setCurrentIndex(0);
}

void VoucherForm::Menu_cancel_Click()
{
    commitHelpers();
    if (Edstu == 1)
        GD->setTextMatrix(CurRow, 0, QString());
    LeaveVoucherEditMode();
    if (TabS->currentIndex() == 0)
        TabS_Click(0);
    else
        TabS->setCurrentIndex(0);
}

void VoucherForm::Menu_del_Click()
{
    const QString number = GD->textMatrix(CurRow, 0).trimmed();
    if (number.isEmpty()) {
        MsgBox(QStringLiteral("无数据可删除！"), MB::OKOnly | MB::Information, QString());
        return;
    }
    if (!RequireRight(app, RightAccounts, Side.rightDigit))
        return;
    if (RecordTotal == 0)
        return;
    if (MsgBox(QStringLiteral("真的要删除[") + number + QStringLiteral("]吗？"), MB::YesNo | MB::Question, Hint) !=
        MB::Yes)
        return;
    VoucherDeleteStatus status;
    try {
        status = DeleteVoucher(app.CurrentDatabase, Side, {number, RowKeys.value(CurRow - 1)});
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("删除失败，数据没有改变：") + e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (status == VoucherDeleteStatus::NoKey) {
        MsgBox(QStringLiteral("单据异常！不能执行操作！"), MB::OKOnly | MB::Information, QString());
        return;
    }
    if (status == VoucherDeleteStatus::Stale) {
        MsgBox(QStringLiteral("该凭证已被其他用户修改，请重新查询后再删除！"), MB::OKOnly | MB::Information, Hint);
        return;
    }
    {
        const QSignalBlocker block(GD);
        if (GD->rows() > 2) {
            GD->removeItem(CurRow);
            RowKeys.removeAt(CurRow - 1);
        } else {
            BuildVoucherHeader();
        }
    }
    --RecordTotal;
    if (CurRow > RecordTotal)
        CurRow = std::max(RecordTotal, 1);
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(CurRow, GD->col());
    }
    GD_RowColChange();
    if (RecordTotal == 0)
        ShowVoucherStatus();
    TabS->setCurrentIndex(0);
}

void VoucherForm::Menu_query_Click()
{
    const QStringList h = Side.headers;
    const QVector<QueryField> fields = {
        {h[0], QStringLiteral("TB1.F1"), QueryFieldType::Text},
        {h[1], QStringLiteral("TB1.F2"), QueryFieldType::Date},
        {h[2] + QStringLiteral("编码"), QStringLiteral("TB1.F3"), QueryFieldType::Text},
        {h[2] + QStringLiteral("名称"), QStringLiteral("TA1.F2"), QueryFieldType::Text},
        {h[5], QStringLiteral("TB1.") + Side.amountColumn, QueryFieldType::Number},
        {h[6], QStringLiteral("TB1.S1"), QueryFieldType::Text},
        {h[7], QStringLiteral("TB1.F5"), QueryFieldType::Text},
        {h[8], QStringLiteral("TB1.F10"), QueryFieldType::Text},
    };
    RunQuery(app, this, VoucherListHead(Side), fields, 3);
    if (!PubSql.isEmpty())
        LoadVoucherList(PubSql);
}

void VoucherForm::Menu_sortBy_Click(int index)
{
    if (index == SortIndex) {
        Menu_sortBy[index]->setChecked(true);
        return;
    }
    SortIndex = index;
    for (int i = 0; i < Menu_sortBy.size(); ++i)
        Menu_sortBy[i]->setChecked(i == index);
    SortOrder = QString::fromLatin1(SortClauses[index]);
    if (index == 3)
        SortOrder = SortOrder.arg(Side.amountColumn);
    LoadVoucherList(CurrentSql);
}

void VoucherForm::Menu_TE_Click()
{
    if (!RequireRight(app, RightAccounts, RightItem3))
        return;
    SetExportColKinds(app, GD, {5});
    ToExcel(app, GD, windowTitle(), QString(), QString(), 1, this);
}

void VoucherForm::CmdQGys_Click()
{
    const bool customers = Side.unitKind == UnitKind::Customer;
    const QString picked = PickUnit(app, this, code(Side.unitKind),
                                    customers ? QStringLiteral("客户档案") : QStringLiteral("供应商档案"), true);
    if (!picked.isEmpty() && picked != QLatin1String(".")) {
        Txt[2]->setText(picked);
        CmbEnter2->setCurrentText(picked);
    }
    Txt[5]->setFocus();
}

void VoucherForm::closeEvent(QCloseEvent* event)
{
    // An entry not yet saved is dropped only when the operator says so.
    if (Edstu != 0) {
        if (MsgBox(QStringLiteral("正在编辑的凭证还没有保存，确实要放弃吗？"), MB::YesNo | MB::Question, Hint) !=
            MB::Yes) {
            event->ignore();
            return;
        }
        Menu_cancel_Click();
    }
    event->accept();
}

bool VoucherForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GD && event->type() == QEvent::Resize) {
        placeColumns();
        return false;
    }
    const bool editing = Edstu != 0;
    if (event->type() == QEvent::FocusIn && editing) {
        if (watched == Txt[1]) {
            QString text = Txt[1]->text();
            QDate d;
            try {
                d = text.isEmpty() ? QDate() : ParseDate(text);
            } catch (const DateError&) {
            }
            if (!d.isValid()) {
                d = QDate::currentDate();
                Txt[1]->setText(DateText(d));
            }
            DTP->setDate(d);
            DTP->show();
            DTP->raise();
            DTP->setFocus();
        } else if (watched == Txt[2]) {
            CmbEnter2->setCurrentText(Txt[2]->text());
            CmbEnter2->show();
            CmbEnter2->raise();
            CmbEnter2->setFocus();
        }
    } else if (event->type() == QEvent::KeyPress && (watched == DTP || watched == CmbEnter2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            (watched == DTP ? Txt[2] : Txt[5])->setFocus();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason) {
            if (watched == DTP) {
                DTP->hide();
            } else if (watched == CmbEnter2 && editing && CmbEnter2->isVisible()) {
                Txt[2]->setText(SqlSafe(CmbEnter2->currentText()));
                CmbEnter2->hide();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

YingLst::YingLst(App& app, DocKind kind, QWidget* parent)
    : VoucherForm(app, parent, QStringLiteral("YingLst"), kind,
                  kind == DocKind::AddedPayable ? QStringLiteral("增加应付") : QStringLiteral("增加应收"),
                  kind == DocKind::AddedPayable ? QStringLiteral("应付账列表") : QStringLiteral("应收款列表"),
                  kind == DocKind::AddedPayable ? QStringLiteral("应付账明细") : QStringLiteral("应收款明细"))
{
}

PayLst::PayLst(App& app, DocKind kind, QWidget* parent)
    : VoucherForm(app, parent, QStringLiteral("PayLst"), kind,
                  kind == DocKind::Payment ? QStringLiteral("付款给供应商") : QStringLiteral("收款"),
                  kind == DocKind::Payment ? QStringLiteral("支出列表") : QStringLiteral("收款列表"),
                  kind == DocKind::Payment ? QStringLiteral("支出凭证") : QStringLiteral("收款凭证"))
{
}
