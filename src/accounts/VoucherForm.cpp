#include "accounts/VoucherForm.h"

#include "basicdata/QueryGys.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "exchange/GridExport.h"
#include "forms/Query.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString Hint = QStringLiteral("提示");
constexpr int FieldCount = 9;
constexpr int MakerField = 7;

}  // namespace

VoucherForm::VoucherForm(App& app, DocKind kind, QWidget* parent)
    : QWidget(parent), app(app), Side(VoucherSideOf(kind))
{
    setObjectName(Side.windowName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Side.caption);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 4);
    buildMenus();
    buildPages();

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
    showEditCommands(false);
    Menu_sortBy[VoucherSortByTime]->setVisible(isTopAdministrator());
    SortOrder = VoucherSortClause(Side, SortIndex);
    Menu_sortBy[SortIndex]->setChecked(true);
    CurrentSql.clear();
    LoadVoucherList(VoucherOpeningStatement(Side, QDate::currentDate()));
    TabS_Click(0);
}

bool VoucherForm::isTopAdministrator() const
{
    return IsTopAdministrator(app);
}

void VoucherForm::FillUnitCombo()
{
    CmbEnter2->clear();
    CmbEnter2->addItems(VoucherUnitChoices(app.CurrentDatabase, Side));
}

void VoucherForm::BuildVoucherHeader()
{
    const QStringList headers = VoucherHeaders(Side, isTopAdministrator());
    for (int i = 0; i < VoucherSortItems; ++i)
        Menu_sortBy[i]->setText(VoucherSortCaption(Side, i));
    const QSignalBlocker block(GD);
    GD->setCols(VoucherListColumns);
    GD->setRows(2);
    GD->clear();
    GD->setHeaders(headers);
    for (int i = 0; i < VoucherListColumns; ++i) {
        GD->setFixedAlignment(i, Qt::AlignCenter);
        Lab[i]->setText(headers[i]);
    }
    GD->setColAlignment(VoucherTimeColumn, Qt::AlignLeft | Qt::AlignVCenter);
    placeColumns();
    RowKeys = QStringList{QString()};
    CurRow = 1;
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
            list.cells[size_t(r) * VoucherListColumns + VoucherTimeColumn].clear();
    {
        const QSignalBlocker block(GD);
        GD->load(list.rows, VoucherListColumns, std::move(list.cells));
    }
    RowKeys = list.versions;
    CurRow = 1;
    ShowVoucherStatus();
    showTab(0);
}

void VoucherForm::ShowVoucherStatus()
{
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(std::max(CurRow, 1), GD->col());
        GD->setRowSel(std::max(CurRow, 1));
        GD->setColSel(VoucherTimeColumn);
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
    Lab[VoucherTimeColumn]->setVisible(isTopAdministrator());
    Lab[VoucherTimeColumn]->setText(GD->textMatrix(0, VoucherTimeColumn) + QStringLiteral("：") +
                                    GD->textMatrix(CurRow, VoucherTimeColumn));
}

void VoucherForm::showEditCommands(bool editing)
{
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query, Menu_TE})
        a->setVisible(!editing);
    Menu_sort->menuAction()->setVisible(!editing);
    Menu_save->setVisible(editing);
    Menu_cancel->setVisible(editing);
    Menu_Return->setEnabled(!editing);
    for (int i = 0; i < FieldCount; ++i)
        Txt[i]->setReadOnly(!editing || i == MakerField);
    CmdQGys->setVisible(editing);
}

// Shows `tab`, refilling it when it is already in front.
void VoucherForm::showTab(int tab)
{
    if (TabS->currentIndex() == tab)
        TabS_Click(tab);
    else
        TabS->setCurrentIndex(tab);
}

void VoucherForm::EnterVoucherEditMode()
{
    showEditCommands(true);
}

void VoucherForm::LeaveVoucherEditMode()
{
    DTP->hide();
    CmbEnter2->hide();
    showEditCommands(false);
    Edstu = 0;
    TabS->setEnabled(true);
    TabS->setFocus();
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(std::max(CurRow, 1), 0);
    }
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
    showTab(1);
    TabS->setEnabled(false);
    Txt[0]->setFocus();
    Txt[MakerField]->setText(app.OperatorName);
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
    showTab(1);
    Edstu = 2;
    EnterVoucherEditMode();
    Original = {GD->textMatrix(CurRow, 0), RowKeys.value(CurRow - 1)};
    TabS->setEnabled(false);
    Txt[0]->setFocus();
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
    const QDate date = VoucherDateValue(Txt[1]->text());
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
    if (result.status != VoucherSaveStatus::Saved) {
        const bool stale = result.status == VoucherSaveStatus::Stale;
        MsgBox(VoucherRefusalText(Side, result, input), MB::OKOnly | MB::Information, stale ? Hint : QString());
        if (result.status == VoucherSaveStatus::BadAmount)
            Txt[5]->setFocus();
        return false;
    }
    Txt[1]->setText(DateText(date));
    Txt[2]->setText(input.unitText);
    for (int i = 0; i < FieldCount; ++i)
        GD->setTextMatrix(CurRow, i, i == MakerField ? app.OperatorName : Txt[i]->text());
    GD->setTextMatrix(CurRow, VoucherTimeColumn, isTopAdministrator() ? result.postedAt : QString());
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
    showTab(0);
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
    RunQuery(app, this, VoucherListHead(Side), VoucherQueryFields(Side), VoucherQueryDefaultField);
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
    SortOrder = VoucherSortClause(Side, index);
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
    const MessageScope command(this);
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
    return entryHelperEvent(watched, event) || QWidget::eventFilter(watched, event);
}
