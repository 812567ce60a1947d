#include "admin/OperatorsForm.h"

#include "admin/Operators.h"
#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "core/MainFrame.h"
#include "core/Permissions.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

namespace {

const QString Hint = QStringLiteral("提示");

}  // namespace

void OperatorsForm::ResetOperatorList()
{
    GD->setCols(2);
    GD->setRows(2);
    GD->clear();
    GD->setHeaders({QStringLiteral("账号"), QStringLiteral("姓名")});
    GD->setFixedAlignment(0, Qt::AlignCenter);
    GD->setFixedAlignment(1, Qt::AlignCenter);
    CurrentRow = 1;
}

void OperatorsForm::LoadOperatorList()
{
    ResetOperatorList();
    QVector<OperatorListRow> list;
    try {
        list = ListOperators(app.CurrentDatabase);
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
    }
    OperatorCount = int(list.size());
    if (OperatorCount == 0)
        return;
    GD->setRows(OperatorCount + 1);
    for (int i = 0; i < OperatorCount; ++i) {
        GD->setTextMatrix(i + 1, 0, list[i].code);
        GD->setTextMatrix(i + 1, 1, list[i].name);
    }
    CurrentRow = 1;
    ShowOperatorStatus();
}

void OperatorsForm::ShowOperatorStatus()
{
    {
        const QSignalBlocker block(GD);
        GD->selectRows(CurrentRow, CurrentRow);
    }
    if (app.MainWindow)
        app.MainWindow->setStatusText(
            4, QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(OperatorCount).arg(CurrentRow));
}

void OperatorsForm::gridCurrentCell()
{
    CurrentRow = std::max(1, GD->row());
    ShowOperatorStatus();
}

void OperatorsForm::SetBrowseState()
{
    TabS->setEnabled(true);
    Txt[1]->setReadOnly(true);
    Menu_Add->setVisible(true);
    Menu_edit->setVisible(true);
    Menu_del->setVisible(true);
    Menu_save->setVisible(false);
    Menu_cancel->setVisible(false);
    Edstu = 0;
    TabS->setFocus();
    if (CurrentRow >= 1 && CurrentRow < GD->rows()) {
        const QSignalBlocker block(GD);
        GD->setCurrent(CurrentRow, 0);
    }
    gridCurrentCell();
    for (QCheckBox* b : ChK)
        b->setEnabled(false);
    for (QCheckBox* b : Chk0)
        if (b)
            b->setEnabled(false);
    ChkAll->hide();
}

void OperatorsForm::SetEditState()
{
    if (TabS->currentIndex() == 0) {
        TabS->setCurrentIndex(1);
        TabS_Click(1);
    }
    TabS->setEnabled(false);
    Txt[1]->setReadOnly(false);
    if (Edstu == 1)
        Txt[1]->clear();
    Menu_Add->setVisible(false);
    Menu_edit->setVisible(false);
    Menu_del->setVisible(false);
    Menu_save->setVisible(true);
    Menu_cancel->setVisible(true);
    for (QCheckBox* b : ChK)
        b->setEnabled(true);
    for (QCheckBox* b : Chk0)
        if (b)
            b->setEnabled(true);
    ChkAll->show();
}

void OperatorsForm::LoadOperatorPermissions()
{
    KeptPassword.clear();
    if (CurrentRow == 0)
        CurrentRow = 1;
    Txt[0]->setText(GD->textMatrix(CurrentRow, 0));
    Txt[1]->setText(GD->textMatrix(CurrentRow, 1));
    std::optional<OperatorRecord> op;
    try {
        op = LoadOperator(app.CurrentDatabase, Txt[0]->text());
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
    }
    if (!op)
        return;
    for (int g = 0; g < 8; ++g) {
        const int word = op->words[g];
        if (word > 0) {
            ChK[g]->setChecked(true);
            const PermissionItems items = DecodePermissionWord(word);
            item(g, 0)->setChecked(items.item1);
            item(g, 1)->setChecked(items.item2);
            item(g, 2)->setChecked(items.item3);
        } else {
            ChK[g]->setChecked(false);
            for (int k = 0; k < 3; ++k)
                item(g, k)->hide();
        }
        if (Edstu == 0)
            ChK[g]->setEnabled(false);
    }
    KeptPassword = op->password;
}

int OperatorsForm::PermissionWordOfGroup(int group) const
{
    return PermissionWord(ChK[group]->isChecked(), item(group, 0)->isChecked(), item(group, 1)->isChecked(),
                          item(group, 2)->isChecked());
}

void OperatorsForm::Menu_Add_Click()
{
    if (!MayManageOperators(app)) {
        MsgBox(NoRightsText);
        return;
    }
    ChkAll->setChecked(false);
    Edstu = 1;
    SetEditState();
    Txt[0]->setReadOnly(false);
    Txt[0]->clear();
    Txt[0]->setFocus();
    KeptPassword.clear();
}

void OperatorsForm::Menu_edit_Click()
{
    if (!MayManageOperators(app)) {
        MsgBox(NoRightsText);
        return;
    }
    ChkAll->setChecked(false);
    Edstu = 2;
    if (TabS->currentIndex() == 1)
        LoadOperatorPermissions();
    SetEditState();
    Txt[0]->setReadOnly(false);
    Txt[0]->setFocus();
    if (Txt[0]->text().trimmed() == TopAdministrator)
        Txt[0]->setReadOnly(true);
}

void OperatorsForm::Menu_save_Click()
{
    if (Txt[0]->text().trimmed() == TopAdministrator) {
        ChkAll->setChecked(true);
        setAllBoxes(true, true);
    }
    OperatorEntry entry;
    entry.code = Txt[0]->text();
    entry.name = Txt[1]->text();
    for (int g = 0; g < 8; ++g)
        entry.words[g] = PermissionWordOfGroup(g);

    const QString listed = GD->textMatrix(CurrentRow, 0);
    OperatorSaveResult result;
    try {
        result = Edstu == 1 ? AddOperator(app, entry) : UpdateOperator(app, listed, entry, KeptPassword);
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    switch (result.status) {
    case OperatorSaveStatus::NoRight:
        MsgBox(NoRightsText);
        return;
    case OperatorSaveStatus::EmptyAccount:
    case OperatorSaveStatus::EmptyName: {
        const int box = result.status == OperatorSaveStatus::EmptyAccount ? 0 : 1;
        MsgBox(Lab[box]->text() + QStringLiteral("不能为空！"), MB::OKOnly | MB::Information, Hint);
        return;
    }
    case OperatorSaveStatus::AccountTaken:
        MsgBox(QStringLiteral("[") + result.holderName + QStringLiteral("]已经使用了") + Txt[0]->text()
                   + QStringLiteral("这个编码，请重新设置编码!"),
               MB::OKOnly | MB::Information, Hint);
        Txt[0]->setFocus();
        return;
    case OperatorSaveStatus::Saved:
        break;
    }

    if (Edstu == 1) {
        ++OperatorCount;
    } else if (GD->rows() < 3) {
        ResetOperatorList();
    } else {
        GD->removeItem(CurrentRow);
    }
    GD->addItem(result.saved.code + QLatin1Char('\t') + result.saved.name);
    if (GD->rows() > 2 && GD->textMatrix(1, 0).isEmpty())
        GD->removeItem(1);
    Txt[0]->setText(result.saved.code);
    Txt[1]->setText(result.saved.name);
    CurrentRow = GD->rows() - 1;
    SetBrowseState();
}

void OperatorsForm::Menu_cancel_Click()
{
    SetBrowseState();
    LoadOperatorPermissions();
}

void OperatorsForm::Menu_del_Click()
{
    const QString code = GD->textMatrix(CurrentRow, 0).trimmed();
    if (code == TopAdministrator) {
        MsgBox(QStringLiteral("001是本系统最高权限管理员专用账号，不能删除！"), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (OperatorCount == 0)
        return;
    if (!MayManageOperators(app)) {
        MsgBox(NoRightsText);
        return;
    }
    if (MsgBox(QStringLiteral("真的要删除") + GD->textMatrix(CurrentRow, 1) + QStringLiteral("的资料吗？"),
               MB::YesNo | MB::Question, Hint)
        != MB::Yes)
        return;
    try {
        if (DeleteOperator(app, code) != OperatorDeleteStatus::Deleted)
            return;
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::OKOnly | MB::Information, Hint);
        return;
    }
    if (GD->rows() < 3)
        ResetOperatorList();
    else
        GD->removeItem(CurrentRow);
    --OperatorCount;
    if (CurrentRow > OperatorCount)
        CurrentRow = std::max(1, OperatorCount);
    {
        const QSignalBlocker block(GD);
        GD->setCurrent(CurrentRow, 0);
    }
    if (TabS->currentIndex() == 1) {
        TabS->setCurrentIndex(0);
        TabS_Click(0);
    }
    gridCurrentCell();
}

void OperatorsForm::TabS_Click(int tab)
{
    if (tab == 0) {
        Frm->hide();
        GD->show();
        {
            const QSignalBlocker block(GD);
            GD->setCurrent(CurrentRow, 0);
        }
        gridCurrentCell();
        GD->setFocus();
    } else if (tab == 1) {
        GD->hide();
        Frm->show();
        LoadOperatorPermissions();
    }
}

void OperatorsForm::ChK_Click(int group)
{
    const bool on = ChK[group]->isChecked();
    for (int k = 0; k < 3; ++k)
        item(group, k)->setVisible(on);
}

void OperatorsForm::LabM_Click(int group)
{
    if (Edstu != 0)
        ChK[group]->setChecked(!ChK[group]->isChecked());
}

void OperatorsForm::ChkAll_Click()
{
    if (Edstu == 0)
        return;
    const bool on = ChkAll->isChecked();
    setAllBoxes(on, on);
}

void OperatorsForm::setAllBoxes(bool groupsOn, bool itemsOn)
{
    for (QCheckBox* g : ChK)
        g->setChecked(groupsOn);
    if (!itemsOn)
        return;
    for (QCheckBox* b : Chk0)
        if (b)
            b->setChecked(true);
}
