#include "basicdata/QueryGys.h"

#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "core/Permissions.h"
#include "widgets/NoRightsRefusal.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QueryGys::QueryGys(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("QueryGys"));
    setWindowTitle(QStringLiteral("   "));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(frame);
    auto* grid = new QGridLayout(frame);
    const char* captions[6] = {"编码", "名称", "地址", "电话", "传真", "备注"};
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(QString::fromUtf8(captions[i]), frame);
        label->setObjectName(QStringLiteral("Lab%1").arg(i));
        auto* box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("Txt%1").arg(i));
        // Enter moves on like Tab.
        connect(box, &QLineEdit::returnPressed, this, [this, i] { Txt[(i + 1) % 6]->setFocus(); });
        Lab.push_back(label);
        Txt.push_back(box);
        grid->addWidget(label, i / 3, (i % 3) * 2);
        grid->addWidget(box, i / 3, (i % 3) * 2 + 1);
    }
    auto* buttons = new QHBoxLayout;
    Cmd0 = new QPushButton(QStringLiteral("→ 新 增 档 案"), frame);
    Cmd1 = new QPushButton(QStringLiteral("↓ 模 糊 查 询"), frame);
    Cmd2 = new QPushButton(QStringLiteral("↑ 返 回 上 层"), frame);
    int index = 0;
    for (QPushButton* b : {Cmd0, Cmd1, Cmd2}) {
        b->setObjectName(QStringLiteral("Cmd%1").arg(index));
        b->setAutoDefault(false);
        b->setMinimumHeight(Grid::twipsToPixels(375));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, index] { Cmd_Click(index); });
        ++index;
    }
    grid->addLayout(buttons, 2, 0, 1, 6);
    GD = new Grid(frame);
    GD->setObjectName(QStringLiteral("GD"));
    GD->setMinimumSize(Grid::twipsToPixels(7905), Grid::twipsToPixels(3375));
    grid->addWidget(GD, 3, 0, 1, 6);
    LabStu = new QLabel(frame);
    LabStu->setObjectName(QStringLiteral("LabStu"));
    grid->addWidget(LabStu, 4, 0, 1, 6, Qt::AlignRight);
    CmdOK = new QPushButton(QStringLiteral("←选定"), GD->viewport());
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    QFont bold = CmdOK->font();
    bold.setBold(true);
    CmdOK->setFont(bold);
    CmdOK->setFixedSize(Grid::twipsToPixels(855), Grid::twipsToPixels(260) + 2);
    CmdOK->hide();
    connect(CmdOK, &QPushButton::clicked, this, &QueryGys::choose);
    connect(GD, &Grid::doubleClicked_, this, &QueryGys::choose);
    connect(GD, &Grid::rowColChanged, this, &QueryGys::GD_RowColChange);
    connect(GD, &Grid::keyPressed, this, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            choose();
    });
    new GridContextMenu(app, GD);
}

void QueryGys::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (Activated)
        return;
    Activated = true;
    try {
        WithDualRole = PickerOffersDualRole(app.CurrentDatabase, pubLB, NoSCSF == 1);
    } catch (const DbError&) {
        WithDualRole = false;
    }
    FillUnitPickerList();
}

UnitPickerBoxes QueryGys::boxes() const
{
    UnitPickerBoxes b;
    for (int i = 0; i < 6; ++i)
        b[size_t(i)] = Txt[i]->text();
    return b;
}

void QueryGys::SetUnitPickerHeader()
{
    const QSignalBlocker block(GD);
    GD->setCols(6);
    GD->setRows(2);
    GD->clear();
    GD->setHeaders({QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                    QStringLiteral("传真"), QStringLiteral("备注")});
    const int width = Grid::pixelsToTwips(GD->viewport()->width() > 100 ? GD->viewport()->width()
                                                                          : GD->minimumWidth());
    for (int c = 0; c < 6; ++c) {
        GD->setColWidth(c, (c == 0 || c == 5) ? width / 11 : width / 5);
        GD->setColAlignment(c, Qt::AlignCenter);
        GD->setFixedAlignment(c, Qt::AlignCenter);
    }
    GD->setCurrent(1, 0);
    ShowUnitPickerStatus();
}

void QueryGys::FillUnitPickerList()
{
    SetUnitPickerHeader();
    RecordList list;
    try {
        list = ListPickerUnits(app.CurrentDatabase, pubLB, WithDualRole, boxes());
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (list.rows == 0) {
        LabStu->setText(QStringLiteral("对不起，没有符合条件的记录！"));
        CmdOK->hide();
        return;
    }
    {
        const QSignalBlocker block(GD);
        GD->load(list.rows, 6, std::move(list.cells));
        GD->setCurrent(1, 0);
    }
    GD_RowColChange();
    GD->setFocus();
}

void QueryGys::ShowUnitPickerStatus()
{
    if (GD->textMatrix(1, 1).isEmpty())
        LabStu->clear();
    else
        LabStu->setText(QStringLiteral("共有 %1 条记录，当前是第 %2 条。").arg(GD->rows() - 1).arg(GD->row()));
}

void QueryGys::GD_RowColChange()
{
    {
        const QSignalBlocker block(GD);
        GD->selectRows(GD->row(), GD->row());
    }
    if (!GD->textMatrix(GD->row(), 0).isEmpty()) {
        const QRect cell = GD->cellRect(GD->row(), 0);
        CmdOK->move(GD->viewport()->width() - CmdOK->width(), cell.top());
        CmdOK->show();
        CmdOK->raise();
    } else {
        CmdOK->hide();
    }
    ShowUnitPickerStatus();
}

void QueryGys::Cmd_Click(int index)
{
    Txt[0]->setText(Txt[0]->text().toUpper());
    if (index == 0) {
        if (MsgBox(QStringLiteral("确实要增加新的档案吗?"), MB::YesNo | MB::Question | MB::DefaultButton2) != MB::Yes)
            return;
        QuickAddUnit();
        GD_RowColChange();
    } else if (index == 1) {
        FillUnitPickerList();
    } else {
        reject();
    }
}

void QueryGys::QuickAddUnit()
{
    if (!RequireRight(app, RightAccounts, RightItem1))
        return;
    UnitPickerBoxes b = boxes();
    RecordSaveResult result;
    try {
        result = ::QuickAddUnit(app.CurrentDatabase, pubLB, b);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    for (int i = 0; i < 6; ++i)
        Txt[i]->setText(b[size_t(i)]);
    switch (result.status) {
    case RecordSaveStatus::EmptyCode:
        MsgBox(QStringLiteral("请输入编码！"));
        return;
    case RecordSaveStatus::EmptyName:
        MsgBox(QStringLiteral("请输入名称！"));
        return;
    case RecordSaveStatus::CodeHasPoint:
        MsgBox(QStringLiteral("编码中不能包含[.]这个符号！"));
        return;
    case RecordSaveStatus::CodeTaken:
        MsgBox(QStringLiteral("[") + result.holderName + QStringLiteral("]已经占用[") + b[0]
               + QStringLiteral("]这个编码！"));
        return;
    case RecordSaveStatus::Told:
        return;
    case RecordSaveStatus::Saved:
        break;
    }
    if (!GD->textMatrix(GD->rows() - 1, 0).isEmpty())
        GD->addItem(QString());
    for (int i = 0; i < 6; ++i)
        GD->setTextMatrix(GD->rows() - 1, i, b[size_t(i)]);
}

void QueryGys::choose()
{
    // The button beside a row chooses that row; the header never is a choice.
    const int row = std::max(GD->row(), 1);
    Picked = GD->textMatrix(row, 0) + QLatin1Char('.') + GD->textMatrix(row, 1);
    accept();
}

void QueryGys::reject()
{
    Picked.clear();
    QDialog::reject();
}

QString PickUnit(App& app, QWidget* caller, int pickKind, const QString& caption, bool noDualRole)
{
    QueryGys picker(app, caller);
    picker.LoaderForm = caller;
    picker.pubLB = pickKind;
    picker.setWindowTitle(caption);
    picker.NoSCSF = noDualRole ? 1 : 0;
    picker.exec();
    return picker.Picked;
}
