#include "basicdata/RkPrice.h"

#include "basicdata/QueryGoods.h"
#include "basicdata/RkPriceHistory.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Rounding.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QAction>
#include <QMenuBar>
#include <QVBoxLayout>

void ShowRkPriceHistory(App& app, const QString& goods, bool canClear, QWidget* parent)
{
    RkPrice window(app, goods, PickerParent(app, parent));
    window.Menu_clear->setEnabled(canClear);
    window.exec();
}

RkPrice::RkPrice(App& app_, const QString& goods, QWidget* parent) : QDialog(parent), F1(goods), app(app_)
{
    setObjectName(QStringLiteral("RkPrice"));
    setWindowTitle(QStringLiteral(" 入库价格历史记录"));
    auto* bar = new QMenuBar(this);
    Menu_clear = bar->addAction(QStringLiteral("&C.清除"));
    Menu_clear->setObjectName(QStringLiteral("Menu_clear"));
    Menu_Rtn = bar->addAction(QStringLiteral("&R.返回"));
    Menu_Rtn->setObjectName(QStringLiteral("Menu_Rtn"));
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(GD);
    resize(360, 300);
    connect(Menu_clear, &QAction::triggered, this, &RkPrice::Menu_clear_Click);
    connect(Menu_Rtn, &QAction::triggered, this, &RkPrice::reject);
    load();
}

void RkPrice::load()
{
    GD->setCols(3);
    GD->setRows(2);
    GD->setHeaders({QStringLiteral("时间"), QStringLiteral("设置价格"), QStringLiteral("操作员")});
    const int widths[] = {2000, 1200, 1200};
    for (int c = 0; c < 3; ++c) {
        GD->setColWidth(c, widths[c]);
        GD->setFixedAlignment(c, Qt::AlignCenter);
    }
    QVector<RefPriceChange> rows;
    try {
        rows = LoadRkPriceHistory(app.CurrentDatabase, F1);
    } catch (const DbError& e) {
        MsgBox(e.description());
    }
    if (rows.isEmpty())
        return;
    std::vector<QString> cells;
    for (const RefPriceChange& r : rows) {
        cells.push_back(r.when);
        cells.push_back(FormatNumber(r.price, app.PriceFormat));
        cells.push_back(r.operatorName);
    }
    GD->load(int(rows.size()), 3, std::move(cells));
}

void RkPrice::Menu_clear_Click()
{
    if (!Menu_clear->isEnabled() || GD->textMatrix(1, 0).isEmpty())
        return;
    if (MsgBox(QStringLiteral("真的要清除这些记录吗?"), MB::YesNo | MB::Question | MB::DefaultButton2) == MB::No)
        return;
    try {
        ClearRkPriceHistory(app.CurrentDatabase, F1);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    accept();
}
