#include "reports/StockMovementForm.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "forms/ReportFilters.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "reports/StockMovement.h"
#include "widgets/PictureViewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

StockMovementForm::StockMovementForm(App& a, const QString& caption, QWidget* parent) : ReportForm(a, caption, parent)
{
    addPeriod(0, 0, 2);
    Labe0 = PeriodFrom;
    Labe0->setObjectName(QStringLiteral("Labe0"));
    Labe1 = PeriodTo;
    Labe1->setObjectName(QStringLiteral("Labe1"));
    const CategoryFilterPart category =
        AddCategoryFilter(Frm, FrmLayout, 1, 0, app.GoodsTerm + QStringLiteral("类别:"), "Comb");
    Labe2 = category.label;
    Labe2->setObjectName(QStringLiteral("Labe2"));
    Comb = category.combo;
    const GoodsFilterPart goods = AddGoodsFilter(Frm, FrmLayout, 1, 2, app.GoodsTerm + QStringLiteral("编码:"),
                                                 [this](QLineEdit* box) {
                                                     PickGoodsInto(app, box, this);
                                                     Cmd->setFocus();
                                                 });
    Labe3 = goods.label;
    Labe3->setObjectName(QStringLiteral("Labe3"));
    Txt = goods.Txt;
    CmdQuery = goods.CmdQuery;
    ChK = new QCheckBox(QStringLiteral("只统计数量"), Frm);
    ChK->setObjectName(QStringLiteral("ChK"));
    FrmLayout->addWidget(ChK, 1, 5);
    Cmd = addRunButton("Cmd", 0, 7, 2);
    FrmLayout->setColumnStretch(6, 1);

    GD->setFixedRows(2);
    addBusyPanel();
    addPopup();  // copy only: report rows carry no stored colours

    connect(ChK, &QCheckBox::toggled, this, [this] { layoutColumns(); });
    connect(GD, &QAbstractItemView::doubleClicked, this, [this] {
        const QString code = GD->textMatrix(GD->row(), 0).trimmed();
        if (GD->row() >= GD->fixedRows() && !code.isEmpty())
            ShowGoodsPicture(app, code, GD->textMatrix(GD->row(), 1));
    });
}

void StockMovementForm::openReport()
{
    // Operators who may not see cost, and books kept in quantities only, see quantities only.
    const bool amounts = app.CanSeeCost != 0 && app.WithPrices == 1;
    ChK->setChecked(!amounts);
    ChK->setVisible(amounts);
    const ReportPeriod p = ReportStartDate(app.ReportStartDay, QDate::currentDate());
    DTP0->setDate(p.from);
    DTP1->setDate(p.to);
    fillCategoryCombo();
    setupGrid();
    layoutColumns();
    Run();
}

void StockMovementForm::fillCategoryCombo()
{
    Comb->clear();
    Comb->addItem(QStringLiteral("所有类别"));
    try {
        Comb->addItems(CategoryFilterItems(app.CurrentDatabase));
    } catch (const DbError&) {
        // A set too old to have the category table: this report cannot run on it.
        MsgBox(QStringLiteral("您不能使用本功能，您的数据库版本较低！请重新运行本系统。"), MB::Information, QString());
        Cmd->setEnabled(false);
    }
    Comb->setCurrentIndex(0);
}

StockMovementFilter StockMovementForm::filter() const
{
    StockMovementFilter f;
    if (Comb->currentIndex() > 0)
        f.category = CategoryCodeOf(Comb->currentText());
    f.goods = GoodsPatternOf(Txt->text(), app.GoodsTerm);
    f.from = DTP0->date();
    f.to = DTP1->date();
    return f;
}
