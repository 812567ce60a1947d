#include "forms/RecordForm.h"

#include "forms/Query.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "widgets/CloseWhileEditingGuard.h"
#include "widgets/EditFocusColour.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "widgets/NoRightsRefusal.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QAction>
#include <QApplication>
#include "exchange/GridExport.h"
#include "print/PlistPrint.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QStyle>
#include <QTabBar>

namespace {

const QString Hint = QStringLiteral("提示");
const QColor BoxText(0x00, 0x00, 0xFF);      // &H00FF0000, blue
const QColor PrevNextBack(0xC0, 0xFF, 0xC0); // &H00C0FFC0

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

QLineEdit* RecordForm::addLineBox(int i, const QString& caption, int maxLength, int row, int col, int span)
{
    auto* box = new QLineEdit(Frm);
    box->setMaxLength(maxLength);
    if (Txt.size() <= i) {
        Txt.resize(i + 1);
        Lab.resize(i + 1);
    }
    Txt[i] = box;
    Lab[i] = new QLabel(caption, Frm);
    Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
    Lab[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setObjectName(QStringLiteral("Txt%1").arg(i));
    QPalette p = box->palette();
    p.setColor(QPalette::Text, BoxText);
    box->setPalette(p);
    box->setReadOnly(true);
    box->installEventFilter(this);
    new EditFocusColour(box, [this] { return Edstu >= 1; }, TabS);
    FrmLayout->addWidget(Lab[i], row, col);
    FrmLayout->addWidget(box, row, col + 1, 1, span);
    return box;
}

QPlainTextEdit* RecordForm::addTextBox(int i, const QString& caption, int maxLength, int row, int col, int span)
{
    auto* box = new QPlainTextEdit(Frm);
    if (Txt.size() <= i) {
        Txt.resize(i + 1);
        Lab.resize(i + 1);
    }
    Txt[i] = box;
    Lab[i] = new QLabel(caption, Frm);
    Lab[i]->setObjectName(QStringLiteral("Lab%1").arg(i));
    Lab[i]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    box->setObjectName(QStringLiteral("Txt%1").arg(i));
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = box->palette();
    p.setColor(QPalette::Text, BoxText);
    box->setPalette(p);
    box->setReadOnly(true);
    box->installEventFilter(this);
    new EditFocusColour(box, [this] { return Edstu >= 1; }, TabS);
    // Several lines are shown, but the text is kept to its column's length.
    connect(box, &QPlainTextEdit::textChanged, box, [box, maxLength] {
        const QString t = box->toPlainText();
        if (t.size() > maxLength) {
            const QSignalBlocker block(box);
            box->setPlainText(t.left(maxLength));
            box->moveCursor(QTextCursor::End);
        }
    });
    FrmLayout->addWidget(Lab[i], row, col);
    FrmLayout->addWidget(box, row, col + 1, 1, span);
    return box;
}

QString RecordForm::boxText(int i) const
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        return text->toPlainText();
    return {};
}

void RecordForm::setBoxText(int i, const QString& t)
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        line->setText(t);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        text->setPlainText(t);
}

void RecordForm::setBoxLocked(int i, bool locked)
{
    if (auto* line = qobject_cast<QLineEdit*>(Txt.value(i)))
        line->setReadOnly(locked);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(Txt.value(i)))
        text->setReadOnly(locked);
}

void RecordForm::setBoxBack(int i, const QColor& colour)
{
    QWidget* box = Txt.value(i);
    if (!box)
        return;
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour.isValid() ? colour : QApplication::palette().color(QPalette::Base));
    box->setPalette(p);
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
    const QSignalBlocker block(GD);
    GD->setCols(int(S.headers.size()));
    GD->setRows(2);
    GD->clear();
    GD->setHeaders(S.headers);
    for (int c = 0; c < GD->cols(); ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);
    AlignTextAndNumbers(GD, exportNumericColumns());
    placeListColumns();
    CurrentRow = 1;
}

void RecordForm::placeListColumns()
{
    const int cols = int(S.headers.size());
    const int shown = S.hiddenLastColumn ? cols - 1 : cols;
    if (shown <= 0)
        return;
    const int width = listWidthTwips() / shown;
    for (int c = 0; c < shown; ++c)
        GD->setColWidth(c, std::max(600, width - S.columnMargin));
    if (S.hiddenLastColumn)
        GD->setColWidth(cols - 1, 0);
}

int RecordForm::listWidthTwips() const
{
    // The grid's own frame, not its viewport: a viewport is laid out only when
    // the grid is first shown, after the window's resize has already asked.
    const int scrollBar = GD->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, GD);
    return Grid::pixelsToTwips(std::max(0, GD->contentsRect().width() - scrollBar));
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
            MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
            ListCount = 0;
            return;
        }
        setEnabled(true);
    }
    ListCount = list.rows;
    if (ListCount == 0)
        return;
    {
        const QSignalBlocker block(GD);
        GD->load(list.rows, list.cols, std::move(list.cells));
        GD->setRedraw(false);
        for (const RecordList::Colours& c : list.colours)
            PaintRowColours(GD, c.row + 1, c.back, c.fore);
        GD->setRedraw(true);
    }
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

void RecordForm::TabS_Click(int tab)
{
    if (tab == 0) {
        CmDan0->hide();
        CmDan1->hide();
        Pages->setCurrentWidget(GD);
        {
            const QSignalBlocker block(GD);
            GD->setCurrent(std::max(CurrentRow, 0), 0);
        }
        GD_RowColChange();
        GD->setFocus();
    } else {
        Pages->setCurrentWidget(Frm);
        ShowRecord();
        showPrevNext();
    }
    if (CmdFexcel)
        CmdFexcel->setVisible(tab == 0 && IsTopAdministrator(app));
    tabExtras(tab);
}

void RecordForm::showPrevNext()
{
    CmDan0->setVisible(S.prevNext && CmDan0->isEnabled() && TabS->currentIndex() == 1);
    CmDan1->setVisible(S.prevNext && CmDan1->isEnabled() && TabS->currentIndex() == 1);
}

void RecordForm::ShowRecord()
{
    if (CurrentRow == 0)
        CurrentRow = 1;
    for (int i = 0; i < S.listBoxes; ++i)
        setBoxText(i, GD->textMatrix(CurrentRow, i));
    showRecordExtras();
    const bool several = GD->rows() > 2;
    if (CurrentRow <= 1) {
        CmDan0->setEnabled(false);
        CmDan1->setEnabled(several);
    } else if (CurrentRow >= GD->rows() - 1) {
        CmDan0->setEnabled(several);
        CmDan1->setEnabled(false);
    } else {
        CmDan0->setEnabled(true);
        CmDan1->setEnabled(true);
    }
}

void RecordForm::CmDan_Click(int index)
{
    const MessageScope command(this);
    beforeCommand();
    QPushButton* pressed = index == 0 ? CmDan0 : CmDan1;
    if (index == 0) {
        if (CurrentRow <= 1) {
            CmDan0->setEnabled(false);
        } else {
            CmDan1->setEnabled(true);
            --CurrentRow;
        }
    } else {
        if (CurrentRow >= GD->rows() - 1) {
            CmDan1->setEnabled(false);
        } else {
            CmDan0->setEnabled(true);
            ++CurrentRow;
        }
    }
    if (pressed->isEnabled()) {
        ShowRecord();
        ShowStatusLine();
    }
    showPrevNext();
}

void RecordForm::EnterEditMode()
{
    if (TabS->currentIndex() == 0)
        TabS->setCurrentIndex(1);
    TabS->setEnabled(false);
    const int last = S.editableTo < 0 ? int(Txt.size()) - 1 : S.editableTo;
    for (int i = S.editableFrom; i <= last; ++i) {
        setBoxLocked(i, false);
        if (Edstu == 1)
            setBoxText(i, QString());
    }
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query, Menu_print, Menu_TE})
        a->setVisible(false);
    Menu_save->setVisible(true);
    Menu_cancel->setVisible(true);
    Menu_Return->setEnabled(false);
    enterEditExtras();
    CmDan0->hide();
    CmDan1->hide();
}

void RecordForm::LeaveEditMode()
{
    TabS->setEnabled(true);
    for (int i = 1; i < Txt.size(); ++i)
        setBoxLocked(i, true);
    Menu_Return->setEnabled(true);
    for (QAction* a : {Menu_Add, Menu_edit, Menu_del, Menu_query})
        a->setVisible(true);
    Menu_print->setVisible(S.printable);
    Menu_save->setVisible(false);
    Menu_cancel->setVisible(false);
    Edstu = 0;
    TabS->setFocus();
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(std::max(CurrentRow, 0), GD->col());
    }
    GD_RowColChange();
    Menu_TE->setVisible(true);
    leaveEditExtras();
    CmDan0->setVisible(S.prevNext);
    CmDan1->setVisible(S.prevNext);
}

void RecordForm::Menu_Add_Click()
{
    const MessageScope command(this);
    beforeCommand();
    if (!RequireRight(app, RightGroupOfForm, RightItem1))
        return;
    Edstu = 1;
    EnterEditMode();
    setBoxLocked(0, false);
    setBoxText(0, QString());
    Txt[0]->setFocus();
    addExtras();
}

void RecordForm::Menu_edit_Click()
{
    const MessageScope command(this);
    beforeCommand();
    if (!RequireRight(app, RightGroupOfForm, RightItem2))
        return;
    // An empty list has no record to edit: its blank row's empty code must
    // never become the source of a rename.
    if (ListCount == 0)
        return;
    Edstu = 2;
    EnterEditMode();
    CodeBeforeEdit = GD->textMatrix(CurrentRow, 0).trimmed();
    setBoxLocked(0, false);
    Txt[0]->setFocus();
    editExtras();
}

QStringList RecordForm::savedListRow() const
{
    QStringList row;
    for (int i = 0; i < S.listBoxes; ++i)
        row << boxText(i);
    return row;
}

void RecordForm::Menu_save_Click()
{
    const MessageScope command(this);
    if (!beforeSave())
        return;
    RecordSaveResult result;
    try {
        result = saveRecord();
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("保存失败，数据没有改变：") + e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (result.status != RecordSaveStatus::Saved) {
        showSaveRefusal(result);
        return;
    }
    const QStringList row = savedListRow();
    if (Edstu == 1)
        ++ListCount;
    if (Edstu == 1 || S.savedRowToEnd) {
        const QSignalBlocker block(GD);
        if (Edstu == 2) {
            if (GD->rows() < 3)
                SetListHeader();
            else
                GD->removeItem(CurrentRow);
        }
        GD->addItem(row.join(QLatin1Char('\t')));
        if (GD->rows() > 2 && GD->textMatrix(1, 0).trimmed().isEmpty())
            GD->removeItem(1);
        CurrentRow = GD->rows() - 1;
    } else {
        for (int c = 0; c < row.size(); ++c)
            GD->setTextMatrix(CurrentRow, c, row[c]);
    }
    afterSave();
    LeaveEditMode();
    afterSaveShown();
}

void RecordForm::showSaveRefusal(const RecordSaveResult& result)
{
    switch (result.status) {
    case RecordSaveStatus::EmptyCode:
    case RecordSaveStatus::EmptyName: {
        const int box = result.status == RecordSaveStatus::EmptyCode ? 0 : 1;
        MsgBox(Lab[box]->text() + QStringLiteral("不能为空！"), MB::OKOnly | MB::Information, Hint);
        Txt[box]->setFocus();
        break;
    }
    case RecordSaveStatus::CodeHasPoint:
        MsgBox(Lab[0]->text() + QStringLiteral("中不能包含[.]这个符号！"));
        Txt[0]->setFocus();
        break;
    case RecordSaveStatus::CodeTaken:
        MsgBox(QStringLiteral("[") + result.holderName + QStringLiteral("]已经使用了") + boxText(0)
                   + QStringLiteral("这个编码，请重新设置编码!"),
               MB::OKOnly | MB::Information, Hint);
        Txt[0]->setFocus();
        break;
    case RecordSaveStatus::Told:
    case RecordSaveStatus::Saved:
        break;
    }
}

QString RecordForm::deleteQuestion(const QString& code, const QString& name)
{
    Q_UNUSED(code)
    return QStringLiteral("真的要删除") + name + QStringLiteral("的资料吗？");
}

void RecordForm::Menu_cancel_Click()
{
    const MessageScope command(this);
    cancelExtras();
    LeaveEditMode();
    ShowRecord();
}

void RecordForm::Menu_del_Click()
{
    const MessageScope command(this);
    beforeCommand();
    if (!RequireRight(app, RightGroupOfForm, RightItem2))
        return;
    if (ListCount == 0)
        return;
    const QString code = GD->textMatrix(CurrentRow, 0).trimmed();
    try {
        if (codeInUse(code)) {
            MsgBox(QStringLiteral("本编码已经在系统中采用，不可以删除！"), MB::OKOnly | MB::Information, Hint);
            return;
        }
        if (GD->rows() == 2 && !otherRecordExists(code)) {
            MsgBox(S.keepOneText, MB::OKOnly | MB::Information, Hint);
            return;
        }
        if (MsgBox(deleteQuestion(code, GD->textMatrix(CurrentRow, 1)), MB::YesNo | MB::Question, Hint)
            == MB::No)
            return;
        deleteRecord(code);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("删除失败：") + e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    {
        const QSignalBlocker block(GD);
        if (GD->rows() < 3)
            SetListHeader();
        else
            GD->removeItem(CurrentRow);
    }
    --ListCount;
    if (ListCount < CurrentRow)
        CurrentRow = ListCount;
    if (TabS->currentIndex() == 1)
        TabS->setCurrentIndex(0);
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(CurrentRow, 0);
    }
    ShowStatusLine();
}

void RecordForm::Menu_query_Click()
{
    const MessageScope command(this);
    if (queryHandled())
        return;
    RunQuery(app, this, S.queryHead, S.queryFields, S.queryDefaultField);
    if (!PubSql.isEmpty())
        FillList(PubSql);
}

QString RecordForm::exportName() const
{
    return windowTitle();
}

void RecordForm::Menu_TE_Click()
{
    const MessageScope command(this);
    beforeCommand();
    if (S.exportRight != 0 && !RequireRight(app, RightGroupOfForm, S.exportRight))
        return;
    Grid* grid = exportGrid();
    app.ExportColKinds = QVector<qint16>(grid->cols() + 1, 0);
    for (int c : exportNumericColumns())
        if (c >= 0 && c < app.ExportColKinds.size())
            app.ExportColKinds[c] = 1;
    ToExcel(app, grid, exportName(), exportHead(), QString(), 1, this);
}

void RecordForm::Menu_print_Click()
{
    const MessageScope command(this);
    beforeCommand();
    if (!RequireRight(app, RightGroupOfForm, RightItem3))
        return;
    if (GD->textMatrix(1, 0).isEmpty()) {
        MsgBox(QStringLiteral("无数据可打印!"));
        return;
    }
    PlistPrint job(app);
    job.Pid = printLayout();
    job.RptFile = app.AppFolder + printTemplate();
    job.setValue(QStringLiteral("Caption"), windowTitle());
    job.PrnSQL = QStringLiteral("select ") + printFields() + QStringLiteral(" from plist order by F0");
    const QVector<int> columns = printColumns();
    for (int r = 1; r < GD->rows(); ++r) {
        QStringList cells;
        for (int c : columns)
            cells << GD->textMatrix(r, c);
        job.addRow(cells);
    }
    job.show(this);
}

QString RecordForm::printFields() const
{
    QStringList fields;
    for (int i = 0; i < printColumns().size(); ++i)
        fields << QStringLiteral("F%1").arg(i + 1);
    return fields.join(QLatin1Char(','));
}

void RecordForm::Menu_Return_Click()
{
    const MessageScope command(this);
    beforeCommand();
    close();
}


QList<QWidget*> RecordForm::enterTargets(int box) const
{
    const int next = S.enterOrder.value(box, -1);
    if (next >= 0 && next < Txt.size())
        return {Txt[next]};
    return {};
}

bool RecordForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GD && event->type() == QEvent::Resize) {
        placeListColumns();  // the list tab's grid changes size with the window or the tab
        return false;
    }
    const int i = Txt.indexOf(static_cast<QWidget*>(watched));
    if (i < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Enter moves on in the member's box order and never breaks a line.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            break;
        for (QWidget* target : enterTargets(i))
            if (target && target->isVisible() && target->isEnabled()) {
                target->setFocus();
                break;
            }
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
