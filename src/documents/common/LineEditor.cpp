// Line entry of the stock-document window: the line grid and the in-cell
// editor laid over it, the quick-entry strip, and the goods and attribute
// pickers they open. Columns are found by role and do what their row of the
// line-role table says.

#include "documents/common/LineEditor.h"

#include "basicdata/QueryGoods.h"
#include "basicdata/QueryHPSX.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "documents/common/StockDocPolicy.h"
#include "documents/common/StockDocService.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "widgets/GridBehaviours.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {

const QString Tip = QStringLiteral("提示");

template <typename T>
T* named(T* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

}  // namespace

LineEditor::LineEditor(App& app, const StockDocPolicy& policy, LineEditorOwner& owner, QWidget* window,
                       QWidget* page)
    : QObject(window), m_app(app), m_policy(policy), m_owner(owner), m_window(window), m_page(page)
{
    for (const LineColumn& c : m_policy.storage.columns)
        m_columns << CompletedLineColumn(c);
    build(page);
}

void LineEditor::build(QWidget* page)
{
    m_grid = named(new Grid(page), QStringLiteral("GdMx"));
    m_grid->setFixedRows(1);
    m_txtEnter = named(new QLineEdit(m_grid->viewport()), QStringLiteral("TxtEnter"));
    m_cmdQuery = named(new QPushButton(QStringLiteral("?"), m_grid->viewport()), QStringLiteral("CmdQuery"));
    m_cmdSX = named(new QPushButton(QStringLiteral("∵"), m_grid->viewport()), QStringLiteral("CmdSX"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_txtEnter, m_cmdQuery, m_cmdSX})
        w->hide();
    // The picker buttons act on the press and never take the focus from the editor.
    for (QPushButton* b : {m_cmdQuery, m_cmdSX}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
    }
    m_txtEnter->installEventFilter(this);

    m_picLRQ = named(new QWidget(page), QStringLiteral("PicLRQ"));
    auto* strip = new QHBoxLayout(m_picLRQ);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addWidget(named(new QLabel(QStringLiteral("货品编码："), m_picLRQ), QStringLiteral("Label1")));
    m_txtHPBM = named(new QLineEdit(m_picLRQ), QStringLiteral("TxtHPBM"));
    strip->addWidget(m_txtHPBM);
    m_cmdQry = named(new QPushButton(QStringLiteral("?"), m_picLRQ), QStringLiteral("CmdQry"));
    m_cmdQry->setToolTip(QStringLiteral("查找货品编码资料"));
    m_cmdQuery->setToolTip(m_cmdQry->toolTip());
    m_cmdSX->setToolTip(m_cmdQry->toolTip());
    strip->addWidget(m_cmdQry);
    strip->addWidget(named(new QLabel(QStringLiteral("数量："), m_picLRQ), QStringLiteral("Label2")));
    m_txtSL = named(new QLineEdit(m_picLRQ), QStringLiteral("TxtSL"));
    strip->addWidget(m_txtSL);
    m_cmdEnter = named(new QPushButton(QStringLiteral("增加货品"), m_picLRQ), QStringLiteral("CmdEnter"));
    m_cmdDel = named(new QPushButton(QStringLiteral("删除货品"), m_picLRQ), QStringLiteral("CmdDel"));
    strip->addWidget(m_cmdEnter);
    strip->addWidget(m_cmdDel);
    strip->addStretch();
    m_txtHPBM->setMinimumWidth(180);
    m_txtSL->setMaximumWidth(110);
    m_cmdQry->setFixedWidth(m_cmdQry->sizeHint().height() + 4);
    m_picLRQ->hide();

    // What the operator does in the lines is a command of the window: its messages stand over it.
    const auto command = [this](void (LineEditor::*step)()) {
        return [this, step] {
            const MessageScope scope(m_window);
            (this->*step)();
        };
    };
    connect(m_cmdEnter, &QPushButton::clicked, this, command(&LineEditor::stripEnter));
    connect(m_cmdDel, &QPushButton::clicked, this, command(&LineEditor::deleteLine));
    connect(m_txtHPBM, &QLineEdit::returnPressed, this, command(&LineEditor::stripCodeEnter));
    connect(m_txtSL, &QLineEdit::returnPressed, this, command(&LineEditor::stripQtyEnter));
    connect(m_txtEnter, &QLineEdit::returnPressed, this, command(&LineEditor::editorEnter));
    connect(m_grid, &Grid::clicked_, this, command(&LineEditor::GdMx_Click));
    connect(m_cmdQuery, &QPushButton::pressed, this, command(&LineEditor::pickCellGoods));
    connect(m_cmdSX, &QPushButton::pressed, this, command(&LineEditor::pickCellAttribute));
    connect(m_cmdQry, &QPushButton::clicked, this, command(&LineEditor::pickStripGoods));
}

int LineEditor::col(LineRole role) const
{
    return m_policy.columnOf(role);
}

bool LineEditor::amountsHidden() const
{
    const int right = m_policy.pricing.priceRight == PriceRight::Profit ? m_app.CanSeeProfit : m_app.CanSeeCost;
    return m_app.WithPrices == 0 || right == 0;
}

bool LineEditor::discountsOn() const
{
    return m_policy.pricing.discountSetting != 0 && !amountsHidden() &&
           SettingValue(m_app.CurrentDatabase, m_policy.pricing.discountSetting) == 1;
}

QString LineEditor::cell(int row, LineRole role) const
{
    const int c = col(role);
    return c < 0 ? QString() : m_grid->textMatrix(row, c);
}

void LineEditor::setCell(int row, LineRole role, const QString& text)
{
    const int c = col(role);
    if (c >= 0)
        m_grid->setTextMatrix(row, c, text);
}

// None when `qty` of the goods on line `row` may be issued: the other lines of the same
// goods and attribute value on the document are counted with it. Shows the shortage.
bool LineEditor::stockCovers(int row, double qty)
{
    if (!m_policy.audit.checksStock || qty == 0)
        return true;
    const auto keyOf = [this](int r) { return StockKey(m_app, cell(r, LineRole::Code), cell(r, LineRole::Attribute)); };
    const QPair<QString, QString> key = keyOf(row);
    double total = qty;
    for (int r = 1; r < m_grid->rows(); ++r)
        if (r != row && keyOf(r) == key)
            total += LeadValue(cell(r, LineRole::Quantity));
    QString attr = cell(row, LineRole::Attribute).trimmed();
    const std::optional<StockShortage> shortage =
        CheckStockOnDate(m_app, cell(row, LineRole::Code).trimmed(), total, m_owner.lineDate(), attr);
    if (!shortage)
        return true;
    MsgBox(StockShortageText(m_app, *shortage), MB::OKOnly | MB::Information, QString());
    return false;
}

// A typed goods code: with the attribute kept, a new code puts its goods on the row and
// moves to the attribute; without it, a code already on another row moves there instead.
void LineEditor::commitGoodsCode(int r, const QString& text)
{
    const int cCode = col(LineRole::Code);
    const QString code = text.trimmed().toUpper();
    if (!m_app.HpsxName.isEmpty()) {
        if (code != m_grid->textMatrix(r, cCode)) {
            putTypedGoods(code);
            m_grid->setCol(col(LineRole::Attribute));
        }
        return;
    }
    int same = -1;
    for (int i = 1; i < m_grid->rows() && same < 0; ++i)
        if (m_grid->textMatrix(i, cCode) == code)
            same = i;
    if (same > 0 && same != r) {
        MsgBox(QStringLiteral("相同的") + m_grid->textMatrix(0, cCode) + QStringLiteral("已经存在！"),
               MB::OKOnly | MB::Information, Tip);
        m_grid->setCurrent(same, cCode);
        m_curMxR = same;
    } else if (same < 0) {
        putTypedGoods(code);
    }
}

void LineEditor::linesChanged()
{
    ensureBlankLastRow();
    showCurrentLine();
    sumTotals();
}

void LineEditor::ensureBlankLastRow()
{
    if (!m_grid->textMatrix(m_grid->rows() - 1, col(LineRole::Code)).isEmpty())
        m_grid->setRows(m_grid->rows() + 1);
}

void LineEditor::putGoodsOnLine(int row, StockDocLine goods, double qty)
{
    // Every cell but the remark shows the goods' new line; the amount from the price as
    // the price pattern shows it, as a committed cell computes it.
    goods.qty = qty;
    goods.amount = qty * FormatNumber(goods.price, m_app.PriceFormat).toDouble();
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].role != LineRole::Remark)
            m_grid->setTextMatrix(row, c, m_columns[c].show(m_app, goods));
    markAlarms(row);
}

void LineEditor::addToStripRole(int row, double qty)
{
    const int c = col(m_policy.storage.stripRole);
    if (c < 0)
        return;
    const QString held = m_grid->textMatrix(row, c);
    const double sum = (held.trimmed().isEmpty() ? 0.0 : LeadValue(held)) + qty;
    m_columns[c].commit(*this, row, QString::number(sum, 'g', 17));
    markAlarms(row);
}

void LineEditor::markAlarms(int row)
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!m_columns[c].alarm)
            continue;
        if (m_columns[c].alarm(*this, row))
            m_grid->setCellForeColor(row, c, QColor(Qt::red));
        else if (m_grid->cellForeColor(row, c) == QColor(Qt::red))
            m_grid->setCellForeColor(row, c, QColor());
    }
}

bool LineEditor::EnterHPBM()
{
    // Reaching the strip leaves the cell editor, which commits it first.
    commitEditor();
    const QString code = m_txtHPBM->text().trimmed();
    const double qty = m_txtSL->text().toDouble();
    if (code.isEmpty() || qty == 0)
        return false;
    const bool ownRole = m_policy.storage.stripRole != LineRole::Quantity;
    for (int i = 1; i < m_grid->rows(); ++i) {
        if (cell(i, LineRole::Code).trimmed() != code)
            continue;
        if (ownRole) {
            m_curMxR = i;
            addToStripRole(i, qty);
            showCurrentLine();
            sumTotals();
            return true;
        }
        const QString qtyCell = cell(i, LineRole::Quantity);
        const double q = LeadValue(qtyCell) + (stockCovers(i, LeadValue(qtyCell) + qty) ? qty : 0);
        setCell(i, LineRole::Quantity, NumText(q) + QLatin1Char(' ') + AfterSpace(qtyCell));
        setCell(i, LineRole::Amount, FormatNumber(q * cell(i, LineRole::Price).toDouble(), m_app.AmountFormat));
        m_curMxR = i;
        showCurrentLine();
        sumTotals();
        return true;
    }
    bool added = false;
    const std::optional<StockDocLine> goods =
        GoodsForLine(m_app, m_policy, code, m_owner.lineCounterParty(), m_owner.lineDate());
    if (!goods) {
        MsgBox(UnknownStripGoodsText(m_app.GoodsTerm, code, m_grid->textMatrix(0, col(LineRole::Code))),
               MB::OKOnly | MB::Information, Tip);
    } else {
        int row = m_grid->rows() - 1;
        if (!cell(row, LineRole::Code).trimmed().isEmpty())
            m_grid->setRows(++row + 1);
        // The proposed price whether or not the operator may see cost prices: a
        // hidden price is still the goods' price, never 0.
        putGoodsOnLine(row, *goods, qty);
        m_curMxR = row;
        if (ownRole)
            addToStripRole(row, qty);
        added = true;
    }
    linesChanged();
    return added;
}

// The goods of a code typed into the code cell, put on the current line.
void LineEditor::putTypedGoods(const QString& code)
{
    if (code.isEmpty())
        return;
    const std::optional<StockDocLine> goods =
        GoodsForLine(m_app, m_policy, code, m_owner.lineCounterParty(), m_owner.lineDate());
    if (!goods) {
        const QString header = m_grid->textMatrix(0, col(LineRole::Code));
        MsgBox(m_app.GoodsTerm + QStringLiteral("资料库中不存在这个") + header +
                   QStringLiteral("！\r\r请在顶部 “货品编码”栏输入模糊查找条件，并点击“？”按钮查找系统中存在的") +
                   header + QStringLiteral("，\r\r或在基础数据中增加新的") + m_app.GoodsTerm + QStringLiteral("资料！"),
               MB::OKOnly | MB::Information, Tip);
    } else {
        // Where issues are checked against stock, the operator types the quantity.
        putGoodsOnLine(m_curMxR, *goods, m_policy.audit.checksStock && m_app.NoOverIssue != 0 ? 0 : 1);
        setCell(m_curMxR, LineRole::Attribute, QString());
    }
    sumTotals();
    ensureBlankLastRow();
}

void LineEditor::GdMx_Click()
{
    commitEditor();
    m_curMxR = std::max(1, m_grid->row());
    showCurrentLine();
    m_curMxC = m_grid->col();
    if (m_curMxC == col(LineRole::Code))
        m_grid->setColSel(col(LineRole::Remark));
    if (!m_owner.linesEditable())
        return;
    const bool hasGoods = !cell(m_curMxR, LineRole::Code).trimmed().isEmpty();
    if (m_curMxC >= 0 && m_curMxC < m_columns.size() && m_columns[m_curMxC].editable(*this, hasGoods))
        placeCellEditor();
    m_txtHPBM->setText(cell(m_grid->row(), LineRole::Code));
    m_txtSL->setText(cell(m_grid->row(), LineRole::Quantity));
}

void LineEditor::editAt(int row, LineRole role)
{
    m_grid->setCurrent(row, std::max(0, col(role)));
    GdMx_Click();
}

void LineEditor::placeCellEditor()
{
    const QRect rect = m_grid->cellRect(m_curMxR, m_curMxC);
    m_txtEnter->setGeometry(rect);
    const QString text = m_grid->textMatrix(m_curMxR, m_curMxC);
    const LineColumn& column = m_columns[m_curMxC];
    m_txtEnter->setText(column.editText ? column.editText(text) : text);
    m_txtEnter->show();
    m_txtEnter->raise();
    m_txtEnter->setFocus();
    m_txtEnter->selectAll();
    m_txtEnter->setReadOnly(m_policy.storage.attributeFromPicker && m_curMxC == col(LineRole::Attribute));
    QPushButton* picker = m_curMxC == col(LineRole::Code)        ? m_cmdQuery
                          : m_curMxC == col(LineRole::Attribute) ? m_cmdSX
                                                                 : nullptr;
    if (picker) {
        const int w = m_cmdQuery->sizeHint().height();
        picker->setGeometry(rect.right() - w, rect.top(), w, rect.height());
        picker->show();
        picker->raise();
    }
}

void LineEditor::emptyLine(int row)
{
    if (m_grid->rows() > 2)
        m_grid->removeItem(row);
    else
        for (int c = 0; c < m_grid->cols(); ++c)
            m_grid->setTextMatrix(1, c, QString());
}

void LineEditor::TxtEnter_LostFocus()
{
    m_cmdQuery->hide();
    m_cmdSX->hide();
    if (!m_owner.linesEditable() || m_txtEnter->isHidden())
        return;
    m_txtEnter->hide();
    const int r = m_curMxR;
    const QString text = m_txtEnter->text();
    if (m_curMxC == col(LineRole::Code) && text.trimmed().isEmpty()) {
        if (!cell(r, LineRole::Code).trimmed().isEmpty() &&
            MsgBox(QStringLiteral("真的要删除") + m_app.GoodsTerm + QLatin1Char('[') +
                       cell(r, LineRole::Name).trimmed() + QStringLiteral("]吗？"),
                   MB::YesNo | MB::Question, Tip) == MB::Yes)
            emptyLine(r);
        sumTotals();
        return;
    }
    if (m_curMxC < 0 || m_curMxC >= m_columns.size())
        return;
    const LineColumn& column = m_columns[m_curMxC];
    QString committed = text;
    if (column.numeric.value_or(false)) {
        // A figure that is no number is refused; the cell keeps what it held.
        const std::optional<double> typed = TypedNumber(text);
        if (!typed) {
            MsgBox(NotANumberText(text), MB::OKOnly | MB::Exclamation, Tip);
            return;
        }
        committed = QString::number(*typed, 'g', 17);
    }
    column.commit(*this, r, committed);
    markAlarms(r);
    sumTotals();
}

void LineEditor::commitEditor()
{
    while (!m_txtEnter->isHidden())
        TxtEnter_LostFocus();
}

void LineEditor::editorEnter()
{
    m_grid->setFocus();
    TxtEnter_LostFocus();
    if (m_curMxC < 0 || m_curMxC >= m_columns.size())
        return;
    const NextCell next = m_columns[m_curMxC].next(*this, m_curMxR);
    editAt(std::min(m_curMxR + next.rowStep, m_grid->rows() - 1), next.role);
}

void LineEditor::sumTotals()
{
    double sum = 0;
    for (int r = 1; r < m_grid->rows(); ++r) {
        if (cell(r, LineRole::Code).trimmed().isEmpty())
            break;
        sum += cell(r, LineRole::Amount).toDouble();
    }
    m_owner.lineTotalChanged(sum);
}

void LineEditor::showCurrentLine()
{
    m_grid->setRow(std::clamp(m_curMxR, 1, std::max(1, m_grid->rows() - 1)));
    int lines = 0;
    const int last = m_grid->rows() - 1;
    if (!(m_grid->rows() == 2 && m_grid->textMatrix(1, 0).trimmed().isEmpty()))
        lines = m_grid->textMatrix(last, 0).trimmed().isEmpty() ? m_grid->rows() - 2 : m_grid->rows() - 1;
    m_owner.lineMoved(lines, m_curMxR);
}

void LineEditor::stripEnter()
{
    EnterHPBM();
    if (!m_app.HpsxName.isEmpty() && cell(m_curMxR, LineRole::Attribute).isEmpty()) {
        m_grid->setCol(col(LineRole::Attribute));
        GdMx_Click();
    } else {
        m_txtHPBM->setFocus();
    }
}

void LineEditor::stripCodeEnter()
{
    m_txtHPBM->setText(m_txtHPBM->text().toUpper());
    m_txtSL->setFocus();
    m_txtSL->setText(QStringLiteral("1"));
    m_cmdEnter->click();
}

void LineEditor::stripQtyEnter()
{
    if (m_txtHPBM->text().trimmed().isEmpty())
        m_txtHPBM->setFocus();
    else
        m_cmdEnter->click();
}

void LineEditor::deleteLine()
{
    commitEditor();
    const QString code = m_txtHPBM->text().trimmed();
    if (code.isEmpty() || m_curMxR < 1 || m_curMxR > m_grid->rows() - 1 ||
        cell(m_curMxR, LineRole::Code).trimmed() != code) {
        MsgBox(QStringLiteral("请点击要删除的行！"), MB::OKOnly | MB::Information, Tip);
        return;
    }
    if (MsgBox(QStringLiteral("真的要删除第 %1 行").arg(m_curMxR) + m_app.GoodsTerm + QLatin1Char('[') +
                   cell(m_curMxR, LineRole::Name).trimmed() + QStringLiteral("] 吗？"),
               MB::YesNo | MB::Question, Tip) == MB::Yes)
        emptyLine(m_curMxR);
    m_curMxR = std::min(m_curMxR, m_grid->rows() - 1);
    showCurrentLine();
    sumTotals();
}

void LineEditor::clear()
{
    m_grid->setCols(m_columns.size());
    m_grid->setRows(2);
    m_grid->clear();
    QStringList headers;
    for (const LineColumn& c : m_columns)
        headers << (c.header.isEmpty() && c.defaultHeader ? c.defaultHeader(m_app) : c.header);
    m_grid->setHeaders(headers);
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].weight == 0 || !m_columns[c].shown(*this))
            m_grid->setColWidth(c, 0);
    m_curMxR = 1;
}

void LineEditor::show(const StockDoc& doc)
{
    if (doc.lines.isEmpty())
        return;
    m_grid->setRows(doc.lines.size() + 2);
    double qty = 0;
    double amount = 0;
    for (int i = 0; i < doc.lines.size(); ++i) {
        const StockDocLine& l = doc.lines[i];
        const int row = i + 1;
        for (int c = 0; c < m_columns.size(); ++c)
            m_grid->setTextMatrix(row, c, m_columns[c].show(m_app, l));
        if (l.backColour || l.foreColour)
            PaintRowColours(m_grid, row, l.backColour, l.foreColour);
        markAlarms(row);
        qty += l.qty;
        amount += RoundToPattern(l.amount, m_app.AmountFormat);
    }
    const int totals = doc.lines.size() + 1;
    setCell(totals, LineRole::Quantity, NumText(qty));
    setCell(totals, LineRole::Amount, FormatNumber(amount, m_app.AmountFormat));
    markAlarms(totals);
    m_curMxR = 1;
    showCurrentLine();
}

QVector<StockDocLine> LineEditor::read(const StockDoc* replaced) const
{
    QVector<StockDocLine> lines;
    for (int r = 1; r < m_grid->rows(); ++r) {
        StockDocLine l;
        for (int c = 0; c < m_columns.size(); ++c)
            m_columns[c].store(l, m_grid->textMatrix(r, c));
        if (l.goods.isEmpty())
            continue;
        if (replaced && r - 1 < replaced->lines.size() && replaced->lines[r - 1].goods == l.goods) {
            l.backColour = replaced->lines[r - 1].backColour;
            l.foreColour = replaced->lines[r - 1].foreColour;
        }
        lines << l;
    }
    return lines;
}

bool LineEditor::hasLines() const
{
    return !cell(1, LineRole::Code).trimmed().isEmpty();
}

void LineEditor::startEditing()
{
    m_picLRQ->show();
    const int last = m_grid->rows() - 1;
    if (m_grid->textMatrix(last, 0).isEmpty()) {
        setCell(last, LineRole::Quantity, QString());
        setCell(last, LineRole::Amount, QString());
    }
}

void LineEditor::stopEditing()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_picLRQ, m_cmdQuery, m_cmdSX, m_txtEnter})
        w->hide();
}

void LineEditor::fitColumns(int width)
{
    int total = 0;
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_grid->colWidth(c) > 0)
            total += m_columns[c].weight;
    const int lineWidth = std::max(m_grid->viewport()->width(), width) - 4;
    for (int c = 0; c < m_columns.size(); ++c)
        if (total > 0 && m_columns[c].weight > 0 && m_grid->colWidth(c) > 0)
            m_grid->setColWidth(c, Grid::pixelsToTwips(std::max(60, lineWidth * m_columns[c].weight / total)));
}

void LineEditor::pickIntoEditor(QPushButton* button, const std::function<QString()>& pick)
{
    // The editor's text is the picker's search, not a line's value: the cell keeps
    // what it held while the picker is open, and the editor commits nothing then.
    m_txtEnter->hide();
    m_cmdQuery->hide();
    m_cmdSX->hide();
    m_picking = true;
    const QString answer = pick();
    m_picking = false;
    button->setDown(false);
    // The editor opens again on the grid's cell (after a batch pick, the blank last
    // row) and takes the answer as typed text.
    GdMx_Click();
    if (!answer.isEmpty() && !m_txtEnter->isHidden())
        m_txtEnter->setText(answer);
}

void LineEditor::pickStripGoods()
{
    GoodsPickRequest request;
    request.preset = m_txtHPBM->text();
    request.supplier = m_owner.lineGoodsFilter();
    request.quickAdd = HasRight(m_app, RightBasicData, RightItem1);
    m_page->setEnabled(false);
    const QString code = PickGoods(m_app, request, m_window);
    m_page->setEnabled(true);
    if (!code.isEmpty()) {
        m_txtHPBM->setText(code);
        m_txtSL->setFocus();
    }
}

void LineEditor::pickCellGoods()
{
    if (!m_owner.linesEditable())
        return;
    GoodsPickRequest request;
    request.preset = m_txtEnter->text();
    request.host = this;
    request.supplier = m_owner.lineGoodsFilter();
    request.quickAdd = HasRight(m_app, RightBasicData, RightItem1);
    pickIntoEditor(m_cmdQuery, [&] { return PickGoods(m_app, request, m_window); });
}

void LineEditor::pickCellAttribute()
{
    if (!m_owner.linesEditable())
        return;
    const int r = m_curMxR;
    const QString goods = cell(r, LineRole::Code);
    AttributePickRequest request{m_txtEnter->text(), goods, m_owner.lineDate(),
                                 m_policy.storage.attributeOut ? StockDirection::Out : StockDirection::In,
                                 m_app.GoodsTerm + QStringLiteral("编码：") + goods + QStringLiteral(" 品名规格：") +
                                     cell(r, LineRole::Name) + QStringLiteral(" 单位：") +
                                     AfterSpace(cell(r, LineRole::Quantity))};
    pickIntoEditor(m_cmdSX, [&] { return PickAttributeValue(m_app, request, m_window); });
}

bool LineEditor::eventFilter(QObject* watched, QEvent* event)
{
    // The editor commits when the focus moves elsewhere in the window; leaving the
    // window, or a picker opening over it, commits nothing.
    if (watched == m_txtEnter && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!m_picking && !m_txtEnter->isHidden() && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason)
            TxtEnter_LostFocus();
    }
    if (watched == m_txtEnter && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool pickerKey = key->key() == Qt::Key_F || key->key() == Qt::Key_Slash;
        if (pickerKey && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && m_cmdQuery->isVisible()) {
            pickCellGoods();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
