// The controls of the record window (menus, tab strip, previous/next buttons,
// the list and detail pages) and the list tab: its header, its filling from a
// statement and its status line.

#include "forms/RecordForm.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "forms/RecordListGrid.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/BusyPointer.h"
#include "widgets/CloseWhileEditingGuard.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabBar>

namespace {

const QColor PrevNextBack(0xC0, 0xFF, 0xC0);  // &H00C0FFC0

}  // namespace

RecordForm::RecordForm(App& app, int rightGroup, QWidget* parent)
    : QWidget(parent), app(app), RightGroupOfForm(rightGroup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    new CloseWhileEditingGuard(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 4);
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("MenuBar"));
    outer->setMenuBar(menus);
    Menu_Add = action("Menu_Add", "&A.增加");
    Menu_edit = action("Menu_edit", "&E.修改");
    Menu_del = action("Menu_del", "&D.删除");
    Menu_query = action("Menu_query", "&Q.查找");
    Menu_TE = action("Menu_TE", "&T.导出");
    Menu_print = action("Menu_print", "&P.打印");
    Menu_save = action("Menu_save", "&S.保存");
    Menu_cancel = action("Menu_cancel", "&C.取消");
    Menu_Return = action("Menu_Return", "&R.返回");
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query, Menu_TE, Menu_print, Menu_save, Menu_cancel,
                       Menu_Return})
        menus->addAction(a);
    Menu_save->setVisible(false);
    Menu_cancel->setVisible(false);
    connect(Menu_Add, &QAction::triggered, this, &RecordForm::Menu_Add_Click);
    connect(Menu_edit, &QAction::triggered, this, &RecordForm::Menu_edit_Click);
    connect(Menu_del, &QAction::triggered, this, &RecordForm::Menu_del_Click);
    connect(Menu_query, &QAction::triggered, this, &RecordForm::Menu_query_Click);
    connect(Menu_TE, &QAction::triggered, this, &RecordForm::Menu_TE_Click);
    connect(Menu_print, &QAction::triggered, this, &RecordForm::Menu_print_Click);
    connect(Menu_save, &QAction::triggered, this, &RecordForm::Menu_save_Click);
    connect(Menu_cancel, &QAction::triggered, this, &RecordForm::Menu_cancel_Click);
    connect(Menu_Return, &QAction::triggered, this, &RecordForm::Menu_Return_Click);

    auto* top = new QHBoxLayout;
    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->addTab(QString());
    TabS->addTab(QString());
    TabS->setExpanding(false);
    top->addWidget(TabS);
    top->addStretch(1);
    TopButtons = new QHBoxLayout;
    top->addLayout(TopButtons);
    CmDan0 = new QPushButton(QStringLiteral("上一个↑"), this);
    CmDan1 = new QPushButton(QStringLiteral("下一个↓"), this);
    CmDan0->setObjectName(QStringLiteral("CmDan0"));
    CmDan1->setObjectName(QStringLiteral("CmDan1"));
    for (QPushButton* b : {CmDan0, CmDan1}) {
        b->setFixedSize(Grid::twipsToPixels(1215), Grid::twipsToPixels(300) + 4);
        b->setStyleSheet(QStringLiteral("QPushButton { background: %1; }").arg(PrevNextBack.name()));
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        top->addWidget(b);
    }
    connect(CmDan0, &QPushButton::clicked, this, [this] { CmDan_Click(0); });
    connect(CmDan1, &QPushButton::clicked, this, [this] { CmDan_Click(1); });
    outer->addLayout(top);

    Pages = new QStackedLayout;
    GD = new Grid(this);
    GD->installEventFilter(this);
    GD->setObjectName(QStringLiteral("GD"));
    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    FrmLayout = new QGridLayout(Frm);
    FrmLayout->setHorizontalSpacing(8);
    FrmLayout->setVerticalSpacing(10);
    Pages->addWidget(GD);
    Pages->addWidget(Frm);
    outer->addLayout(Pages, 1);

    connect(TabS, &QTabBar::currentChanged, this, &RecordForm::TabS_Click);
    connect(GD, &Grid::rowColChanged, this, &RecordForm::GD_RowColChange);
    connect(GD, &Grid::doubleClicked_, this, [this] {
        GD_RowColChange();
        TabS->setCurrentIndex(1);
    });
    new StatusPanelRestore(app, this);
}

RecordForm::~RecordForm() = default;

QAction* RecordForm::action(const char* name, const char* caption)
{
    auto* a = new QAction(QString::fromUtf8(caption), this);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void RecordForm::addImportButton(std::function<bool()> import)
{
    CmdFexcel = new QPushButton(QStringLiteral("Excel数据导入↓"), this);
    CmdFexcel->setObjectName(QStringLiteral("CmdFexcel"));
    CmdFexcel->setStyleSheet(QStringLiteral("QPushButton { background: #c0ffc0; }"));
    CmdFexcel->hide();
    TopButtons->addWidget(CmdFexcel);
    connect(CmdFexcel, &QPushButton::clicked, this, [this, import = std::move(import)] {
        const MessageScope command(this);
        PubSql.clear();
        if (import())
            PubSql = QStringLiteral("OK");
        if (!PubSql.isEmpty())
            Menu_query_Click();
    });
}

void RecordForm::start(const Shape& shape, const QString& statement)
{
    S = shape;
    setObjectName(S.objectName);
    setWindowTitle(S.caption);
    TabS->setTabText(0, S.listTab);
    TabS->setTabText(1, S.detailTab);
    Menu_print->setVisible(S.printable);
    if (!S.colourTable.isEmpty())
        new GridContextMenu(app, GD, RowColourTarget::byColumn(S.colourTable, QStringLiteral("F1"), GD, 0));
    if (S.widenColumns)
        connect(GD, &Grid::rowColChanged, this, [this](int row, int col) {
            FitGridColumn(app, GD, col, GD->textMatrix(row, col));
        });
    Edstu = 0;
    FillList(statement);
    TabS_Click(0);
}

void RecordForm::SetListHeader()
{
    SetRecordListHeader(GD, S.headers, exportNumericColumns());
    placeListColumns();
    CurrentRow = 1;
}

void RecordForm::placeListColumns()
{
    SpreadRecordListColumns(GD, int(S.headers.size()), listWidthTwips(), S.hiddenLastColumn, S.columnMargin);
}

int RecordForm::listWidthTwips() const
{
    return RecordListWidthTwips(GD);
}

void RecordForm::takeListRow(int row)
{
    if (GD->rows() < 3) {
        SetListHeader();
    } else {
        const QSignalBlocker block(GD);
        GD->removeItem(row);
    }
}

void RecordForm::FillList(const QString& statement)
{
    SetListHeader();
    RecordList list;
    {
        BusyPointer busy;
        setEnabled(false);
        try {
            list = readList(statement);
        } catch (const DbError& e) {
            setEnabled(true);
            MsgBox(e.description(), MB::OKOnly | MB::Information, QStringLiteral("提示"));
            ListCount = 0;
            return;
        }
        setEnabled(true);
    }
    ListCount = list.rows;
    if (ListCount == 0)
        return;
    LoadRecordList(GD, std::move(list));
    CurrentRow = 1;
    ShowStatusLine();
}

void RecordForm::ShowStatusLine()
{
    {
        const QSignalBlocker block(GD);
        const int col = GD->col();
        if (!WholeColumnSelected(GD)) {
            GD->setCurrent(CurrentRow, col);
            GD->setRowSel(CurrentRow);
            GD->setColSel(col < 3 ? std::min(6, GD->cols() - 1) : 0);
        }
    }
    if (app.MainWindow)
        app.MainWindow->setStatusText(
            4, QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(ListCount).arg(CurrentRow));
}

void RecordForm::GD_RowColChange()
{
    CurrentRow = GD->row();
    ShowStatusLine();
}
