#include "basicdata/QueryHPSX.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString PickAttributeValue(App& app, const AttributePickRequest& request, QWidget* parent)
{
    QueryHPSX picker(app, PickerParent(app, parent));
    picker.HPBM = request.goods;
    picker.Qdate = request.date;
    picker.RKCK = request.direction;
    picker.LabHP->setText(request.goodsLine);
    picker.exec();
    return picker.result() == QDialog::Accepted ? picker.Picked : QString();
}

QueryHPSX::QueryHPSX(App& app_, QWidget* parent) : QDialog(parent), app(app_)
{
    setObjectName(QStringLiteral("QueryHPSX"));
    setWindowTitle(app.HpsxName + QStringLiteral("选择"));
    LabHP = new QLabel(this);
    LabHP->setObjectName(QStringLiteral("LabHP"));
    LabSX = new QLabel(app.HpsxName + QStringLiteral("："), this);
    LabSX->setObjectName(QStringLiteral("LabSX"));
    Txt = new QLineEdit(this);
    Txt->setObjectName(QStringLiteral("Txt"));
    Cmd1 = new QPushButton(QStringLiteral("↓ 模糊查询"), this);
    Cmd1->setObjectName(QStringLiteral("Cmd1"));
    Cmd2 = new QPushButton(QStringLiteral("↑ 返回上层"), this);
    Cmd2->setObjectName(QStringLiteral("Cmd2"));
    for (QPushButton* b : {Cmd1, Cmd2})
        b->setAutoDefault(false);
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    CmdOK = new QPushButton(QStringLiteral("←选定"), GD->viewport());
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setAutoDefault(false);
    CmdOK->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(LabHP, 0, 0, 1, 4);
    layout->addWidget(LabSX, 1, 0);
    layout->addWidget(Txt, 1, 1);
    layout->addWidget(Cmd1, 1, 2);
    layout->addWidget(Cmd2, 1, 3);
    layout->addWidget(GD, 2, 0, 1, 4);
    resize(480, 420);

    GD->setCols(2);
    GD->setRows(2);
    const int w = Grid::pixelsToTwips(440);
    GD->setColWidth(0, w / 2);
    GD->setColWidth(1, w / 3);
    for (int c = 0; c < 2; ++c)
        GD->setFixedAlignment(c, Qt::AlignCenter);

    connect(Cmd1, &QPushButton::clicked, this, &QueryHPSX::QueryHpsxList);
    connect(Cmd2, &QPushButton::clicked, this, &QueryHPSX::reject);
    connect(CmdOK, &QPushButton::clicked, this, [this] {
        QApplication::processEvents();
        GD_DblClick();
    });
    connect(GD, &Grid::doubleClicked_, this, [this](int, int) { GD_DblClick(); });
    connect(GD, &Grid::rowColChanged, this, [this](int row, int) {
        GD->setRowSel(row);
        GD->setColSel(GD->cols() - 1);
        placeSelectButton();
    });
}

void QueryHPSX::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!activated) {
        activated = true;
        QueryHpsxList();
    }
}

void QueryHPSX::reject()
{
    Picked.clear();
    QDialog::reject();
}

void QueryHPSX::QueryHpsxList()
{
    QVector<AttributeStock> values;
    try {
        values = ::QueryHpsxList(app.CurrentDatabase, HPBM, Qdate, RKCK, Txt->text());
    } catch (const DbError& e) {
        MsgBox(e.description());
    }
    GD->clear();
    GD->setHeaders({app.HpsxName, QStringLiteral("存量")});
    std::vector<QString> cells;
    cells.reserve(size_t(values.size()) * 2);
    for (const AttributeStock& v : values) {
        cells.push_back(v.value);
        cells.push_back(NumText(v.qty));
    }
    if (values.isEmpty()) {
        GD->clearRows();
        GD->setRows(2);
    } else {
        GD->load(int(values.size()), 2, std::move(cells));
    }
    GD->setRow(1);
    placeSelectButton();
}

void QueryHPSX::placeSelectButton()
{
    PlaceSelectButton(GD, CmdOK);
}

void QueryHPSX::GD_DblClick()
{
    const QString value = GD->textMatrix(GD->row(), 0);
    if (value.isEmpty())
        return;
    Picked = value;
    accept();
}
