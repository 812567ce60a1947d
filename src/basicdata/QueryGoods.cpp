#include "basicdata/QueryGoods.h"

#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "core/MainFrame.h"
#include "widgets/NoRightsRefusal.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/LineGridHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace {

const QString AllCategories = QStringLiteral("所有类别");

}  // namespace

QWidget* PickerParent(App& app, QWidget* parent)
{
    if (parent)
        return parent;
    return app.MainWindow ? app.MainWindow->widget() : nullptr;
}

void PlaceSelectButton(Grid* grid, QPushButton* button)
{
    const int row = grid->row();
    if (grid->textMatrix(row, 0).isEmpty()) {
        button->hide();
        return;
    }
    // The viewport ends where a vertical scroll bar begins, so the button stays clear of it.
    const QRect cell = grid->cellRect(row, 0);
    button->resize(button->sizeHint().width(), std::max(cell.height(), 18));
    button->move(std::max(0, grid->viewport()->width() - button->width()), cell.y());
    button->show();
    button->raise();
}

void PickGoodsInto(App& app, QLineEdit* box, QWidget* parent)
{
    GoodsPickRequest req;
    req.preset = box->text();
    req.quickAdd = false;
    const QString code = PickGoods(app, req, parent);
    if (!code.isEmpty())
        box->setText(code);
}

QString PickGoods(App& app, const GoodsPickRequest& request, QWidget* parent)
{
    QueryGoods picker(app, PickerParent(app, parent));
    picker.Preset = request.preset.trimmed();
    picker.LoaderForm = request.host;
    picker.GysStr = request.supplier;
    picker.OnlyHaveBom = request.onlyWithStructure ? 1 : 0;
    if (!request.host) {
        picker.Chkstyle->hide();
        picker.LabChk->clear();
    }
    if (!request.quickAdd)
        picker.Cmd0->hide();
    picker.exec();
    return picker.Picked;
}

QueryGoods::QueryGoods(App& app_, QWidget* parent) : QDialog(parent), app(app_)
{
    setObjectName(QStringLiteral("QueryGoods"));
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->installEventFilter(this);
        return e;
    };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setEditable(true);
        c->installEventFilter(this);
        return c;
    };
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    CmbLB = combo("CmbLB");
    Txt0 = edit("Txt0");
    Txt1 = edit("Txt1");
    Txt2 = edit("Txt2");
    CmbDW = combo("CmbDW");
    Txt3 = edit("Txt3");
    Cmd0 = button("Cmd0", QStringLiteral("→ 新 增 资 料"));
    Cmd1 = button("Cmd1", QStringLiteral("↓ 模 糊 查 询"));
    Cmd2 = button("Cmd2", QStringLiteral("↑ 返 回 上 层"));
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    CmdOK = new QPushButton(QStringLiteral("←选定"), GD->viewport());
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setAutoDefault(false);
    CmdOK->hide();
    LabStu = new QLabel(this);
    LabStu->setObjectName(QStringLiteral("LabStu"));
    Chkstyle = new QCheckBox(this);
    Chkstyle->setObjectName(QStringLiteral("Chkstyle"));
    LabChk = new QLabel(QStringLiteral("采用批量增加模式(可以一次选定多个编码)"), this);
    LabChk->setObjectName(QStringLiteral("LabChk"));
    LabChk->setStyleSheet(QStringLiteral("color: #808080"));
    LabChk->installEventFilter(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);

    auto* grid = new QGridLayout(this);
    const QStringList captions{QStringLiteral("类别"), QStringLiteral("编码"), QStringLiteral("名称"),
                               QStringLiteral("规格"), QStringLiteral("单位"), QStringLiteral("备注")};
    QWidget* fields[] = {CmbLB, Txt0, Txt1, Txt2, CmbDW, Txt3};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(captions[i], this), i / 3, (i % 3) * 2);
        grid->addWidget(fields[i], i / 3, (i % 3) * 2 + 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Cmd0);
    buttons->addWidget(Cmd1);
    buttons->addWidget(Cmd2);
    buttons->addStretch();
    grid->addLayout(buttons, 2, 0, 1, 6);
    grid->addWidget(GD, 3, 0, 1, 6);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Chkstyle);
    bottom->addWidget(LabChk);
    bottom->addStretch();
    bottom->addWidget(LabStu);
    grid->addLayout(bottom, 4, 0, 1, 6);
    resize(760, 520);

    new GridContextMenu(app, GD);
    sortMenu = new ColumnSortMenu(
        GD, [](int col) { return col == 3 ? ColumnSortMenu::Kind::Number : ColumnSortMenu::Kind::Text; }, 3);

    connect(Cmd0, &QPushButton::clicked, this, [this] {
        Txt0->setText(Txt0->text().toUpper());
        if (!RequireRight(app, RightBasicData, RightItem1))
            return;
        quickAdd();
        placeSelectButton();
    });
    connect(Cmd1, &QPushButton::clicked, this, [this] {
        Txt0->setText(Txt0->text().toUpper());
        QueryGoodsList(false);
        placeSelectButton();
    });
    connect(Cmd2, &QPushButton::clicked, this, &QueryGoods::reject);
    connect(CmdOK, &QPushButton::clicked, this, [this] {
        QApplication::processEvents();
        GD_DblClick();
    });
    connect(GD, &Grid::doubleClicked_, this, [this](int, int) { GD_DblClick(); });
    connect(GD, &Grid::keyPressed, this, [this](int key, Qt::KeyboardModifiers, const QString&) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            GD_DblClick();
    });
    connect(GD, &Grid::rowColChanged, this, [this](int row, int) {
        GD->setRowSel(row);
        GD->setColSel(GD->cols() - 1);
        placeSelectButton();
        ShowPickerStatus();
    });
    connect(Chkstyle, &QCheckBox::toggled, this, &QueryGoods::Chkstyle_Click);
    connect(Timer1, &QTimer::timeout, this, [this] { Chkstyle->setChecked(app.BatchAddMode == 1); });

    fillCombos();
    SetPickerGridHeader();
}

void QueryGoods::fillCombos()
{
    const Database& db = app.CurrentDatabase;
    CmbLB->addItem(AllCategories);
    const RecordSet cats = db.query(QStringLiteral("SELECT F1, F2 FROM TA3 ORDER BY F1"));
    for (int r = 0; r < cats.rowCount(); ++r)
        CmbLB->addItem(cats.text(r, 0) + QLatin1Char('.') + cats.text(r, 1));
    CmbLB->setCurrentIndex(-1);
    CmbLB->setEditText(QString());
    const RecordSet units = db.query(QStringLiteral("SELECT F4 FROM TA4 WHERE F4 <> '' GROUP BY F4 ORDER BY F4"));
    for (int r = 0; r < units.rowCount(); ++r)
        CmbDW->addItem(units.text(r, 0));
    CmbDW->setCurrentIndex(-1);
    CmbDW->setEditText(QString());
}

void QueryGoods::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated)
        return;
    activated = true;
    if (!Preset.isEmpty()) {
        Txt0->setText(Preset);
        QueryGoodsList(false);
        Txt0->clear();
    } else {
        QueryGoodsList(true);
    }
    if (app.BatchAddMode == 1)
        Timer1->start();
    QString caption = (OnlyHaveBom == 1 ? app.ProductTerm : app.GoodsTerm) + QStringLiteral("资料库");
    if (!GysStr.isEmpty())
        caption += QStringLiteral("(供应商：") + GysStr + QLatin1Char(')');
    setWindowTitle(caption);
}

void QueryGoods::reject()
{
    Picked.clear();
    QDialog::reject();
}

bool QueryGoods::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    if (watched == LabChk && event->type() == QEvent::MouseButtonRelease && Chkstyle->isVisible())
        Chkstyle->toggle();
    return QDialog::eventFilter(watched, event);
}

void QueryGoods::SetPickerGridHeader()
{
    GD->setCols(5);
    GD->clear();
    GD->setRows(2);
    GD->clearRows();
    GD->setRows(2);
    GD->setHeaders({QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("规格"), QStringLiteral("现存数量"),
                    QStringLiteral("备注")});
    for (int c = 0; c < 5; ++c) {
        GD->setColAlignment(c, Qt::AlignCenter);
        GD->setFixedAlignment(c, Qt::AlignCenter);
    }
    fitColumns();
    GD->setRow(1);
    ShowPickerStatus();
}

bool QueryGoods::categoryFilter(QString& code)
{
    QString typed = CmbLB->currentText().trimmed();
    if (typed == AllCategories)
        typed.clear();
    code.clear();
    if (typed.isEmpty())
        return true;
    const QString choice = CategoryChoice(app.CurrentDatabase, typed);
    if (choice.isEmpty()) {
        MsgBox(QStringLiteral("请输入有效的类别编码或从下拉列表中选择类别！"));
        return false;
    }
    CmbLB->setEditText(choice);
    code = choice.section(QLatin1Char('.'), 0, 0);
    return true;
}

void QueryGoods::QueryGoodsList(bool firstList)
{
    SetPickerGridHeader();
    GoodsSearch s;
    if (!categoryFilter(s.categoryCode))
        return;
    s.code = SqlSafe(Txt0->text());
    s.name = SqlSafe(Txt1->text());
    s.spec = SqlSafe(Txt2->text());
    s.unit = SqlSafe(CmbDW->currentText());
    s.remark = SqlSafe(Txt3->text());
    s.supplier = GysStr;
    s.onlyWithStructure = OnlyHaveBom == 1;
    s.firstList = firstList;
    GoodsSearchResult found;
    try {
        found = SearchGoods(app.CurrentDatabase, s);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (found.rows == 0) {
        LabStu->setText(QStringLiteral("对不起，没有符合条件的记录！"));
        return;
    }
    LabStu->setText(QStringLiteral("请稍候，正在读入数据……"));
    GD->load(found.rows, GoodsSearchColumns, std::move(found.cells));
    GD->setRow(1);
    ShowPickerStatus();
    placeSelectButton();
    GD->setFocus();
}

void QueryGoods::ShowPickerStatus()
{
    if (GD->textMatrix(1, 1).isEmpty() && GD->textMatrix(1, 0).isEmpty())
        LabStu->clear();
    else
        LabStu->setText(QStringLiteral("共有 %1 条记录，当前是第 %2 条。").arg(GD->rows() - 1).arg(GD->row()));
}

void QueryGoods::fitColumns()
{
    // The columns share what the grid shows less a scroll bar and the
    // "←选定" button, which floats at the right end of the current row.
    const int scrollBar = GD->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, GD);
    const int room = std::max(GD->maximumViewportSize().width() - scrollBar - CmdOK->sizeHint().width() - 2, 300);
    constexpr int weights[5] = {6, 6, 6, 5, 5};
    for (int c = 0; c < 5; ++c)
        GD->setColWidth(c, Grid::pixelsToTwips(room * weights[c] / 28));
}

void QueryGoods::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (!activated)
        return;
    fitColumns();
    placeSelectButton();
}

void QueryGoods::placeSelectButton()
{
    PlaceSelectButton(GD, CmdOK);
}

void QueryGoods::GD_DblClick()
{
    const QString code = GD->textMatrix(GD->row(), 0);
    if (Chkstyle->isChecked() && !Chkstyle->isHidden() && LoaderForm) {
        batchPick(code);
        return;
    }
    Picked = code;
    if (!code.isEmpty())
        accept();
}

void QueryGoods::batchPick(const QString& code)
{
    LineGridHost* host = LoaderForm;
    host->TxtEnter()->setText(code);
    host->TxtEnter_LostFocus();
    QApplication::processEvents();
    Grid* grid = host->GdMx();
    grid->setRow(grid->rows() - 1);
    host->setCurMxR(grid->row());
    grid->setCol(0);
    if (host->hasCurMxC())
        host->setCurMxC(0);
    host->GdMx_Click();
    host->TxtEnter()->setVisible(true);
}

void QueryGoods::Chkstyle_Click()
{
    if (LabChk->text().isEmpty())
        return;
    app.BatchAddMode = Chkstyle->isChecked() ? 1 : 0;
    if (Chkstyle->isChecked()) {
        LabChk->setStyleSheet(QStringLiteral("color: #0000C0"));
        QApplication::processEvents();
        if (LoaderForm)
            LoaderForm->GdMx_Click();
    } else {
        LabChk->setStyleSheet(QStringLiteral("color: #808080"));
    }
}

void QueryGoods::quickAdd()
{
    QString category = CmbLB->currentText().trimmed();
    if (category == AllCategories)
        category.clear();
    const QuickGoods goods{category, Txt0->text(), Txt1->text(), Txt2->text(), CmbDW->currentText(), Txt3->text()};
    QString refusal;
    try {
        refusal = QuickAddGoods(app.CurrentDatabase, goods);
    } catch (const DbError& e) {
        refusal = e.description();
    }
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    CmbLB->setEditText(CategoryChoice(app.CurrentDatabase, category));
    const int last = GD->rows() - 1;
    int row = last;
    if (!GD->textMatrix(last, 0).isEmpty()) {
        GD->setRows(GD->rows() + 1);
        row = GD->rows() - 1;
    }
    const QStringList cells{SqlSafe(Txt0->text()), SqlSafe(Txt1->text()), Txt2->text().trimmed(),
                            QStringLiteral("0 ") + CmbDW->currentText().trimmed(), Txt3->text().trimmed()};
    for (int c = 0; c < cells.size(); ++c)
        GD->setTextMatrix(row, c, cells[c]);
    ShowPickerStatus();
}
