#include "reports/StockMovementForm.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "exchange/GridExport.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "reports/StockMovement.h"
#include "widgets/CancellableBusyPanel.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "widgets/PictureViewer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

StockMovementForm::StockMovementForm(App& a, const QString& caption, QWidget* parent) : QWidget(parent), app(a)
{
    setWindowTitle(caption);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    root->addWidget(MenuBar);

    Frm = new QFrame(this);
    Frm->setObjectName(QStringLiteral("Frm"));
    Frm->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(Frm);
    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, Frm);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    Labe0 = label("Labe0", QStringLiteral("统计日期：由"));
    Labe1 = label("Labe1", QStringLiteral("至"));
    Labe2 = label("Labe2", app.GoodsTerm + QStringLiteral("类别:"));
    Labe3 = label("Labe3", app.GoodsTerm + QStringLiteral("编码:"));
    auto dateEdit = [&](const char* name) {
        auto* d = new QDateEdit(Frm);
        d->setObjectName(QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        return d;
    };
    DTP0 = dateEdit("DTP0");
    DTP1 = dateEdit("DTP1");
    Comb = new QComboBox(Frm);
    Comb->setObjectName(QStringLiteral("Comb"));
    Txt = new QLineEdit(Frm);
    Txt->setObjectName(QStringLiteral("Txt"));
    CmdQuery = new QPushButton(QStringLiteral("?"), Frm);
    CmdQuery->setObjectName(QStringLiteral("CmdQuery"));
    CmdQuery->setToolTip(QStringLiteral("查找货品编码资料"));
    CmdQuery->setFixedWidth(24);
    QFont bold = CmdQuery->font();
    bold.setBold(true);
    CmdQuery->setFont(bold);
    ChK = new QCheckBox(QStringLiteral("只统计数量"), Frm);
    ChK->setObjectName(QStringLiteral("ChK"));
    Cmd = new QPushButton(QStringLiteral("生成报表↓"), Frm);
    Cmd->setObjectName(QStringLiteral("Cmd"));

    grid->addWidget(Labe0, 0, 0);
    grid->addWidget(DTP0, 0, 1);
    grid->addWidget(Labe1, 0, 2);
    grid->addWidget(DTP1, 0, 3, 1, 2);
    grid->addWidget(Labe2, 1, 0);
    grid->addWidget(Comb, 1, 1);
    grid->addWidget(Labe3, 1, 2);
    grid->addWidget(Txt, 1, 3);
    grid->addWidget(CmdQuery, 1, 4);
    grid->addWidget(ChK, 1, 5);
    grid->addWidget(Cmd, 0, 7, 2, 1);
    grid->setColumnStretch(6, 1);
    root->addWidget(Frm);

    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    GD->setFixedRows(2);
    root->addWidget(GD, 1);

    cancelfrm = new CancellableBusyPanel(GD);
    cancelfrm->setObjectName(QStringLiteral("cancelfrm"));
    cancelfrm->CmdCancel->setText(QStringLiteral("取消操作"));
    cancelfrm->CmdCancel->setStyleSheet(QStringLiteral("background-color: rgb(192, 255, 192);"));

    new GridContextMenu(app, GD);  // copy only: report rows carry no stored colours
    new GridColumnAutoWiden(app, GD);
    new StatusPanelRestore(app, this);

    connect(Cmd, &QPushButton::clicked, this, &StockMovementForm::Cmd_Click);
    connect(CmdQuery, &QPushButton::clicked, this, &StockMovementForm::pickGoods);
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
    Cmd_Click();
}

void StockMovementForm::fillCategoryCombo()
{
    Comb->clear();
    Comb->addItem(QStringLiteral("所有类别"));
    try {
        const RecordSet rs = app.CurrentDatabase.query(QStringLiteral("SELECT F1, F2 FROM TA3 ORDER BY F1"));
        for (int i = 0; i < rs.rowCount(); ++i)
            Comb->addItem(rs.text(i, 0) + QStringLiteral(".") + rs.text(i, 1));
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
        f.category = Comb->currentText().section(QLatin1Char('.'), 0, 0);
    f.goods = GoodsPatternOf(Txt->text(), app.GoodsTerm);
    f.from = DTP0->date();
    f.to = DTP1->date();
    return f;
}

void StockMovementForm::Cmd_Click()
{
    if (m_running || !Cmd->isEnabled())
        return;
    m_running = true;
    Cmd->setEnabled(false);
    Frm->setEnabled(false);
    cancelfrm->start(QStringLiteral("请稍候，正在整理数据……"));
    cancelfrm->move((GD->width() - cancelfrm->sizeHint().width()) / 2, GD->height() / 3);
    cancelfrm->resize(cancelfrm->sizeHint());
    setupGrid();
    bool whole = false;
    try {
        whole = generate();
    } catch (const DbError& e) {
        MsgBox(e.description(), MB::Information, QStringLiteral("提示"));
    }
    cancelfrm->finish();
    Frm->setEnabled(true);
    Cmd->setEnabled(true);
    m_running = false;
    m_cancelled = !whole;
    if (m_cancelled)
        markCancelled();
    else if (m_status)
        m_status->update();
    if (m_closeWhenDone)
        close();
}

bool StockMovementForm::keepGoing(const QString& progress)
{
    return cancelfrm->poll()(progress);
}

void StockMovementForm::setStatus(const QString& text)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, text);
}

void StockMovementForm::markCancelled()
{
    // A cancelled run stays visible but must never pass for a whole report.
    const int r = GD->rows();
    GD->setRows(r + 1);
    GD->setTextMatrix(r, 0, QStringLiteral("（已取消：报表不完整）"));
    GD->setRowForeColor(r, Qt::red);
    setStatus(QStringLiteral("报表生成已取消，数据不完整"));
}

bool StockMovementForm::readyToPrint()
{
    if (GD->textMatrix(2, 0).isEmpty()) {
        MsgBox(QStringLiteral("没有数据可打印！"), MB::Information, QString());
        return false;
    }
    if (m_cancelled) {
        MsgBox(QStringLiteral("报表生成已取消，数据不完整，不能打印！"), MB::Information, QString());
        return false;
    }
    return true;
}

void StockMovementForm::exportGrid(const QList<int>& numericColumns)
{
    SetExportColKinds(app, GD, numericColumns);
    ToExcel(app, GD, windowTitle(), QString(), QString(), 2, this);
}

void StockMovementForm::pickGoods()
{
    PickGoodsInto(app, Txt, this);
    Cmd->setFocus();
}

void StockMovementForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutColumns();
}

void StockMovementForm::closeEvent(QCloseEvent* event)
{
    // Closing during a run first stops the run; the window closes when it has let go.
    if (m_running) {
        m_closeWhenDone = true;
        cancelfrm->CmdCancel->click();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
