#include "forms/RecordForm.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "exchange/GridExport.h"
#include "forms/Query.h"
#include "forms/RecordListGrid.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PlistPrint.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabBar>

namespace {

const QString Hint = QStringLiteral("提示");

}  // namespace

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
        if (Edstu == 2)
            takeListRow(CurrentRow);
        CurrentRow = AppendRecordRow(GD, row);
    } else {
        WriteRecordRow(GD, CurrentRow, row);
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
    takeListRow(CurrentRow);
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
