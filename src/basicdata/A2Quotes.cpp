// The customer window's quotation grid: loading, in-place editing through the
// cell editor TxtEnter, the search bar, and the lines handed to the save.

#include "basicdata/A2.h"
#include "basicdata/QueryGoods.h"

#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "widgets/GridColumnAutoWiden.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/SqlFunctions.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor EditorBack(0xC0, 0xFF, 0xC0);  // &HC0FFC0
const QString Hint = QStringLiteral("提示");

}  // namespace

void A2::buildQuotePanel()
{
    Frmbj = new QGroupBox(QStringLiteral("报价记录"), Frm);
    Frmbj->setObjectName(QStringLiteral("Frmbj"));
    auto* box = new QVBoxLayout(Frmbj);
    FrmQ = new QWidget(Frmbj);
    FrmQ->setObjectName(QStringLiteral("FrmQ"));
    FrmQ->setAutoFillBackground(true);
    QPalette green = FrmQ->palette();
    green.setColor(QPalette::Window, EditorBack);
    FrmQ->setPalette(green);
    auto* search = new QHBoxLayout(FrmQ);
    search->setContentsMargins(6, 4, 6, 4);
    CmbC = new QComboBox(FrmQ);
    CmbC->setObjectName(QStringLiteral("CmbC"));
    CmbC->addItems({app.GoodsTerm + QStringLiteral("编码"), QStringLiteral("品名规格"), QStringLiteral("备注")});
    cmbGx = new QComboBox(FrmQ);
    cmbGx->setObjectName(QStringLiteral("cmbGx"));
    cmbGx->addItems({QStringLiteral("等于"), QStringLiteral("包含")});
    cmbGx->setCurrentIndex(1);
    TxtBJ = new QLineEdit(FrmQ);
    TxtBJ->setObjectName(QStringLiteral("TxtBJ"));
    CmdBJ0 = new QPushButton(QStringLiteral("查 找"), FrmQ);
    CmdBJ0->setObjectName(QStringLiteral("CmdBJ0"));
    CmdBJ1 = new QPushButton(QStringLiteral("取 消"), FrmQ);
    CmdBJ1->setObjectName(QStringLiteral("CmdBJ1"));
    search->addWidget(CmbC);
    search->addWidget(cmbGx);
    search->addWidget(TxtBJ, 1);
    search->addWidget(CmdBJ0);
    search->addWidget(CmdBJ1);
    connect(CmdBJ0, &QPushButton::clicked, this, [this] { CmdBJ_Click(0); });
    connect(CmdBJ1, &QPushButton::clicked, this, [this] { CmdBJ_Click(1); });
    // The button behind the search bar goes and comes with it.
    CmdQ = new QPushButton(Frmbj);
    CmdQ->setObjectName(QStringLiteral("CmdQ"));
    CmdQ->setFixedSize(0, 0);
    FrmQ->hide();
    CmdQ->hide();
    box->addWidget(FrmQ);

    GdMxGrid = new Grid(Frmbj);
    GdMxGrid->setObjectName(QStringLiteral("GdMx"));
    box->addWidget(GdMxGrid, 1);
    TxtEnterBox = new QLineEdit(GdMxGrid->viewport());
    TxtEnterBox->setObjectName(QStringLiteral("TxtEnter"));
    QPalette editor = TxtEnterBox->palette();
    editor.setColor(QPalette::Base, EditorBack);
    editor.setColor(QPalette::Text, QColor(0, 0, 0xFF));
    TxtEnterBox->setPalette(editor);
    TxtEnterBox->setFrame(false);
    TxtEnterBox->hide();
    TxtEnterBox->installEventFilter(this);
    CmdQuery = new QPushButton(QStringLiteral("?"), GdMxGrid->viewport());
    CmdQuery->setObjectName(QStringLiteral("CmdQuery"));
    CmdQuery->setToolTip(QStringLiteral("查找货品编码资料"));
    CmdQuery->setFocusPolicy(Qt::NoFocus);
    CmdQuery->hide();
    connect(CmdQuery, &QPushButton::clicked, this, &A2::CmdQuery_Click);
    connect(GdMxGrid, &Grid::clicked_, this, [this] { GdMx_Click(); });
    connect(GdMxGrid, &Grid::rowColChanged, this,
            [this](int row, int col) { FitGridColumn(app, GdMxGrid, col, GdMxGrid->textMatrix(row, col)); });
    RowColourTarget colours;
    colours.table = QStringLiteral("KhPrice");
    colours.keyColumns = {QStringLiteral("F1"), QStringLiteral("F0")};
    colours.keyValues = [this](int row) { return QVariantList{GdMxGrid->textMatrix(row, 0), boxText(0)}; };
    new GridContextMenu(app, GdMxGrid, colours);
    new ColumnSortMenu(GdMxGrid, [](int c) { return c == 3 ? ColumnSortMenu::Kind::Number : ColumnSortMenu::Kind::Text; },
                       3);
    FrmLayout->addWidget(Frmbj, 7, 0, 1, 7);
    FrmLayout->setRowStretch(6, 0);
    FrmLayout->setRowStretch(7, 1);
    SetQuoteGridHeader();
}

void A2::SetQuoteGridHeader()
{
    const QSignalBlocker block(GdMxGrid);
    GdMxGrid->setCols(6);
    GdMxGrid->setRows(2);
    GdMxGrid->clear();
    GdMxGrid->setHeaders({app.GoodsTerm + QStringLiteral("编码"), QStringLiteral("品名规格"), QStringLiteral("单位"),
                          QStringLiteral("报价"), QStringLiteral("备注"), QStringLiteral("报价日期")});
    const int widths[6] = {1400, 2800, 700, 1100, 2200, 1300};
    for (int c = 0; c < 6; ++c) {
        GdMxGrid->setFixedAlignment(c, Qt::AlignCenter);
        GdMxGrid->setColWidth(c, widths[c]);
    }
    CurMxR = 1;
}

void A2::LoadQuoteGrid()
{
    SetQuoteGridHeader();
    QVector<QuoteLine> lines;
    try {
        lines = LoadQuotes(app.CurrentDatabase, boxText(0), app.PriceFormat);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (lines.isEmpty())
        return;
    std::vector<QString> cells;
    cells.reserve(size_t(lines.size()) * 6);
    for (const QuoteLine& l : lines)
        for (const QString& t : {l.goods, l.nameSpec, l.unit, l.price, l.remark, l.date})
            cells.push_back(t);
    const QSignalBlocker block(GdMxGrid);
    GdMxGrid->load(int(lines.size()), 6, std::move(cells));
    GdMxGrid->setRedraw(false);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].back != 0 || lines[i].fore != 0)
            PaintRowColours(GdMxGrid, i + 1, lines[i].back, lines[i].fore);
    GdMxGrid->setRedraw(true);
}

bool A2::lineHasCode(int row) const
{
    return row >= 1 && !GdMxGrid->textMatrix(row, 0).trimmed().isEmpty();
}

QVector<QuoteLine> A2::gridQuotes() const
{
    QVector<QuoteLine> lines;
    for (int r = 1; r < GdMxGrid->rows(); ++r) {
        if (!lineHasCode(r))
            continue;
        QuoteLine l;
        l.goods = GdMxGrid->textMatrix(r, 0).trimmed();
        l.price = GdMxGrid->textMatrix(r, 3);
        l.remark = GdMxGrid->textMatrix(r, 4);
        l.date = GdMxGrid->textMatrix(r, 5);
        l.back = Grid::colorToValue(GdMxGrid->cellBackColor(r, 0));
        l.fore = Grid::colorToValue(GdMxGrid->cellForeColor(r, 0));
        lines.push_back(l);
    }
    return lines;
}

void A2::CmdBJ_Click(int index)
{
    if (index == 0) {
        const QString text = SqlSafe(TxtBJ->text());
        TxtBJ->setText(text);
        if (text.isEmpty()) {
            MsgBox(QStringLiteral("请输入查找条件！"));
            return;
        }
        const int column = CmbC->currentIndex() == 0 ? 0 : CmbC->currentIndex() == 1 ? 1 : 4;
        QVector<QuoteLine> lines;
        for (int r = 1; r < GdMxGrid->rows(); ++r)
            lines.push_back({GdMxGrid->textMatrix(r, 0), GdMxGrid->textMatrix(r, 1), {}, {},
                             GdMxGrid->textMatrix(r, 4), {}, 0, 0});
        const int found = FindQuoteLine(lines, column, text, cmbGx->currentIndex() == 1);
        if (found < 0) {
            MsgBox(QStringLiteral("没找到符合条件的记录！"));
        } else {
            GdMxGrid->setTopRow(found + 1);
            GdMxGrid->selectRows(found + 1, found + 1);
        }
    }
    hideSearch();
}

void A2::GdMx_Click()
{
    QCoreApplication::processEvents();
    while (!TxtEnterBox->isHidden()) {
        TxtEnter_LostFocus();
        QCoreApplication::processEvents();
    }
    CurMxR = GdMxGrid->row();
    QuoteEditCol = GdMxGrid->col();
    if (QuoteEditCol == 0) {
        const QSignalBlocker block(GdMxGrid);
        GdMxGrid->selectRows(CurMxR, CurMxR);
    }
    if (Edstu == 0)
        return;
    if (SqlSafe(boxText(0)).isEmpty()) {
        Txt[0]->setFocus();
        return;
    }
    const bool editable = QuoteEditCol == 0 || ((QuoteEditCol == 3 || QuoteEditCol == 4) && lineHasCode(CurMxR));
    if (editable)
        PlaceQuoteEditor();
}

void A2::PlaceQuoteEditor()
{
    const QRect cell = GdMxGrid->cellRect(CurMxR, QuoteEditCol);
    TxtEnterBox->setGeometry(cell);
    TxtEnterBox->setMaxLength(QuoteEditCol == 4 ? 50 : 32767);
    TxtEnterBox->setText(GdMxGrid->textMatrix(CurMxR, QuoteEditCol));
    TxtEnterBox->show();
    TxtEnterBox->raise();
    TxtEnterBox->setFocus();
    TxtEnterBox->selectAll();
    if (QuoteEditCol == 0) {
        const int w = std::min(24, cell.width() / 3);
        CmdQuery->setGeometry(cell.right() - w + 1, cell.top() + 1, w, cell.height() - 2);
        CmdQuery->show();
        CmdQuery->raise();
    }
}

bool A2::TxtEnter_KeyDown(QKeyEvent* key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        TxtEnter_LostFocus();
        int row = CurMxR;
        int col = QuoteEditCol;
        if (QuoteEditCol == 0)
            col = lineHasCode(CurMxR) ? 3 : 0;
        else if (QuoteEditCol == 3)
            col = 4;
        else if (QuoteEditCol == 4) {
            col = 0;
            row = std::min(CurMxR + 1, GdMxGrid->rows() - 1);
        }
        {
            const QSignalBlocker block(GdMxGrid);
            GdMxGrid->setCurrent(row, col);
        }
        GdMx_Click();
        return true;
    }
    const bool pickKey = key->key() == Qt::Key_F || key->key() == Qt::Key_Slash || key->key() == Qt::Key_Question;
    if (pickKey && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !CmdQuery->isHidden()) {
        CmdQuery_Click();
        return true;
    }
    return false;
}

void A2::CmdQuery_Click()
{
    // The goods picker searches by the editor's text; a chosen code becomes the editor's text.
    PickGoodsInto(app, TxtEnterBox, this);
    TxtEnterBox->setFocus();
}

void A2::TxtEnter_LostFocus()
{
    CmdQuery->hide();
    if (Edstu == 0 || TxtEnterBox->isHidden() || Committing)
        return;
    Committing = true;
    const QString typed = TxtEnterBox->text();
    if (typed.trimmed().isEmpty() && QuoteEditCol == 0) {
        if (lineHasCode(CurMxR)
            && MsgBox(QStringLiteral("真的要删除") + app.GoodsTerm + QStringLiteral("[")
                          + GdMxGrid->textMatrix(CurMxR, 1).trimmed() + QStringLiteral("]吗？"),
                      MB::YesNo | MB::Question, Hint)
                   == MB::Yes) {
            if (GdMxGrid->rows() < 3) {
                for (int c = 0; c < 6; ++c)
                    GdMxGrid->setTextMatrix(CurMxR, c, QString());
            } else {
                GdMxGrid->removeItem(CurMxR);
                CurMxR = std::min(CurMxR, GdMxGrid->rows() - 1);
            }
        }
        QuoteEditCol = 1;
    } else if (QuoteEditCol == 0) {
        const QString code = SqlSafe(typed).toUpper();
        int found = -1;
        for (int r = 1; r < GdMxGrid->rows() && found < 0; ++r)
            if (GdMxGrid->textMatrix(r, 0).compare(code, Qt::CaseInsensitive) == 0)
                found = r;
        if (found > 0 && found != CurMxR) {
            MsgBox(QStringLiteral("相同的") + GdMxGrid->textMatrix(0, 0) + QStringLiteral("已经存在！"),
                   MB::OKOnly | MB::Information, Hint);
            CurMxR = found;
            const QSignalBlocker block(GdMxGrid);
            GdMxGrid->setCurrent(found, 0);
        } else if (found < 0) {
            AddQuoteLine(code);
        }
    } else if (QuoteEditCol == 3) {
        double price = LeadingNumber(typed.trimmed());
        if (app.NoNegativeQty == 1)
            price = std::abs(price);
        GdMxGrid->setTextMatrix(CurMxR, 3, NumText(price));
    } else if (QuoteEditCol == 4) {
        GdMxGrid->setTextMatrix(CurMxR, 4, SqlSafe(typed).left(50));
        GdMxGrid->setTextMatrix(CurMxR, 5, QuoteDateText());
    }
    TxtEnterBox->hide();
    Committing = false;
}

void A2::AddQuoteLine(const QString& code)
{
    if (code.isEmpty())
        return;
    std::optional<QuoteLine> line;
    try {
        line = NewQuoteLine(app.CurrentDatabase, code, QuoteDateText());
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (!line) {
        MsgBox(app.GoodsTerm + QStringLiteral("资料库中不存在[") + code + QStringLiteral("]这个")
                   + GdMxGrid->textMatrix(0, 0) + QStringLiteral("！"),
               MB::OKOnly | MB::Information, Hint);
        return;
    }
    // The quotation that stood on this line stays: it is stored with the rest.
    if (lineHasCode(CurMxR)) {
        QuoteLine kept;
        kept.goods = GdMxGrid->textMatrix(CurMxR, 0).trimmed();
        kept.price = GdMxGrid->textMatrix(CurMxR, 3);
        kept.remark = GdMxGrid->textMatrix(CurMxR, 4);
        kept.date = GdMxGrid->textMatrix(CurMxR, 5);
        ReplacedLines.push_back(kept);
    }
    GdMxGrid->setTextMatrix(CurMxR, 0, line->goods);
    GdMxGrid->setTextMatrix(CurMxR, 1, line->nameSpec);
    GdMxGrid->setTextMatrix(CurMxR, 2, line->unit);
    GdMxGrid->setTextMatrix(CurMxR, 3, line->price);
    GdMxGrid->setTextMatrix(CurMxR, 5, line->date);
    if (lineHasCode(GdMxGrid->rows() - 1))
        GdMxGrid->addItem(QString());
}
