// Line entry of the stock-document window: the quick-entry strip, the
// in-cell editor laid over the line grid, and the members of LineGridHost
// through which the goods picker and the line import fill the grid.

#include "core/App.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocForm.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {

const QString Tip = QStringLiteral("提示");

}  // namespace

QString StockDocForm::unitOfForm() const
{
    if (fixedUnit())
        return QString::fromUtf8(m_policy.docType().fixedUnit);
    return m_cmbLB->currentText().section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
}

QDate StockDocForm::dateOfForm() const
{
    QString text = m_txt[1]->text();
    try {
        return ParseDate(text);
    } catch (const DateError&) {
        return QDate::currentDate();
    }
}

// None when `qty` of the goods on line `row` may be issued: the other lines of the same
// goods and attribute value on the document are counted with it. Shows the shortage.
bool StockDocForm::stockCovers(int row, double qty)
{
    if (!m_policy.audit.checksStock || qty == 0)
        return true;
    const QString goods = m_gdMx->textMatrix(row, col(LineRole::Code)).trimmed();
    QString attr = m_gdMx->textMatrix(row, col(LineRole::Attribute)).trimmed();
    const auto keyOf = [this](int r) {
        return StockKey(m_app, m_gdMx->textMatrix(r, col(LineRole::Code)), m_gdMx->textMatrix(r, col(LineRole::Attribute)));
    };
    const QPair<QString, QString> key = keyOf(row);
    double total = qty;
    for (int r = 1; r < m_gdMx->rows(); ++r)
        if (r != row && keyOf(r) == key)
            total += LeadValue(m_gdMx->textMatrix(r, col(LineRole::Quantity)));
    const std::optional<StockShortage> shortage = CheckStockOnDate(m_app, goods, total, dateOfForm(), attr);
    if (!shortage)
        return true;
    MsgBox(StockShortageText(m_app, *shortage), MB::OKOnly | MB::Information, QString());
    return false;
}

QString StockDocForm::cell(int row, LineRole role) const
{
    const int c = col(role);
    return c < 0 ? QString() : m_gdMx->textMatrix(row, c);
}

void StockDocForm::setCell(int row, LineRole role, const QString& text)
{
    const int c = col(role);
    if (c >= 0)
        m_gdMx->setTextMatrix(row, c, text);
}

// A typed goods code: with the attribute kept, a new code puts its goods on the row and
// moves to the attribute; without it, a code already on another row moves there instead.
void StockDocForm::commitGoodsCode(int r, const QString& text)
{
    const int cCode = col(LineRole::Code);
    const QString code = text.trimmed().toUpper();
    bool found = false;
    if (!m_app.HpsxName.isEmpty()) {
        if (code != m_gdMx->textMatrix(r, cCode)) {
            CheckLineGoodsCode(code, found);
            m_gdMx->setCol(col(LineRole::Attribute));
        }
        return;
    }
    int same = -1;
    for (int i = 1; i < m_gdMx->rows() && same < 0; ++i)
        if (m_gdMx->textMatrix(i, cCode) == code)
            same = i;
    if (same > 0 && same != r) {
        MsgBox(QStringLiteral("相同的") + m_gdMx->textMatrix(0, cCode) + QStringLiteral("已经存在！"),
               MB::OKOnly | MB::Information, Tip);
        m_gdMx->setCurrent(same, cCode);
        m_curMxR = same;
    } else if (same < 0) {
        CheckLineGoodsCode(code, found);
    }
}

void StockDocForm::linesChanged()
{
    ensureBlankLastRow();
    ShowLineStatus();
    SumDocTotals();
}

void StockDocForm::ensureBlankLastRow()
{
    if (!m_gdMx->textMatrix(m_gdMx->rows() - 1, col(LineRole::Code)).isEmpty())
        m_gdMx->setRows(m_gdMx->rows() + 1);
}

void StockDocForm::putGoodsOnLine(int row, const StockDocLine& goods, double qty)
{
    m_gdMx->setTextMatrix(row, col(LineRole::Code), goods.goods);
    m_gdMx->setTextMatrix(row, col(LineRole::Name), goods.name);
    m_gdMx->setTextMatrix(row, col(LineRole::Quantity), NumText(qty) + QLatin1Char(' ') + goods.unit);
    // Shown in the price and amount patterns at once, as a committed cell shows them.
    const QString price = FormatNumber(goods.price, m_app.PriceFormat);
    m_gdMx->setTextMatrix(row, col(LineRole::Price), price);
    m_gdMx->setTextMatrix(row, col(LineRole::Proposed), NumText(goods.price));
    // Stored and printed even while the discount columns are hidden.
    if (goods.discount != 0) {
        m_gdMx->setTextMatrix(row, col(LineRole::OriginalPrice), FormatNumber(goods.originalPrice, m_app.PriceFormat));
        m_gdMx->setTextMatrix(row, col(LineRole::Discount), NumText(goods.discount));
    }
    m_gdMx->setTextMatrix(row, col(LineRole::Amount),
                          FormatNumber(qty * m_gdMx->textMatrix(row, col(LineRole::Price)).toDouble(), m_app.AmountFormat));
}

bool StockDocForm::EnterHPBM()
{
    // Reaching the strip leaves the cell editor, which commits it first.
    while (!m_txtEnter->isHidden())
        TxtEnter_LostFocus();
    const QString code = m_txtHPBM->text().trimmed();
    const double qty = m_txtSL->text().toDouble();
    if (code.isEmpty() || qty == 0)
        return false;
    const int cCode = col(LineRole::Code);
    for (int i = 1; i < m_gdMx->rows(); ++i) {
        if (m_gdMx->textMatrix(i, cCode).trimmed() != code)
            continue;
        const QString qtyCell = m_gdMx->textMatrix(i, col(LineRole::Quantity));
        const double q = LeadValue(qtyCell) + (stockCovers(i, LeadValue(qtyCell) + qty) ? qty : 0);
        m_gdMx->setTextMatrix(i, col(LineRole::Quantity), NumText(q) + QLatin1Char(' ') + AfterSpace(qtyCell));
        m_gdMx->setTextMatrix(i, col(LineRole::Amount), FormatNumber(q * m_gdMx->textMatrix(i, col(LineRole::Price)).toDouble(),
                                                                     m_app.AmountFormat));
        m_curMxR = i;
        ShowLineStatus();
        SumDocTotals();
        return true;
    }
    bool added = false;
    const std::optional<StockDocLine> goods = GoodsForLine(m_app, m_policy, code, unitOfForm(), dateOfForm());
    if (!goods) {
        MsgBox(UnknownStripGoodsText(m_app.GoodsTerm, code, m_gdMx->textMatrix(0, cCode)),
               MB::OKOnly | MB::Information, Tip);
    } else {
        int row = m_gdMx->rows() - 1;
        if (!m_gdMx->textMatrix(row, cCode).trimmed().isEmpty())
            m_gdMx->setRows(++row + 1);
        // The proposed price whether or not the operator may see cost prices: a
        // hidden price is still the goods' price, never 0.
        putGoodsOnLine(row, *goods, qty);
        m_curMxR = row;
        added = true;
    }
    ensureBlankLastRow();
    ShowLineStatus();
    SumDocTotals();
    return added;
}

void StockDocForm::CheckLineGoodsCode(const QString& code, bool& found)
{
    found = false;
    if (code.isEmpty())
        return;
    const std::optional<StockDocLine> goods = GoodsForLine(m_app, m_policy, code, unitOfForm(), dateOfForm());
    if (!goods) {
        const QString header = m_gdMx->textMatrix(0, col(LineRole::Code));
        MsgBox(m_app.GoodsTerm + QStringLiteral("资料库中不存在这个") + header +
                   QStringLiteral("！\r\r请在顶部 “货品编码”栏输入模糊查找条件，并点击“？”按钮查找系统中存在的") +
                   header + QStringLiteral("，\r\r或在基础数据中增加新的") + m_app.GoodsTerm + QStringLiteral("资料！"),
               MB::OKOnly | MB::Information, Tip);
    } else {
        // Where issues are checked against stock, the operator types the quantity.
        putGoodsOnLine(m_curMxR, *goods, m_policy.audit.checksStock && m_app.NoOverIssue != 0 ? 0 : 1);
        m_gdMx->setTextMatrix(m_curMxR, col(LineRole::Attribute), QString());
        found = true;
    }
    SumDocTotals();
    ensureBlankLastRow();
}

void StockDocForm::GdMx_Click()
{
    while (!m_txtEnter->isHidden())
        TxtEnter_LostFocus();
    m_curMxR = std::max(1, m_gdMx->row());
    ShowLineStatus();
    m_curMxC = m_gdMx->col();
    if (m_curMxC == col(LineRole::Code))
        m_gdMx->setColSel(col(LineRole::Remark));
    if (Edstu == 0)
        return;
    const bool hasGoods = !m_gdMx->textMatrix(m_curMxR, col(LineRole::Code)).trimmed().isEmpty();
    const bool open = m_curMxC >= 0 && m_curMxC < m_columns.size() && m_columns[m_curMxC].editable(*this, hasGoods);
    if (open)
        PlaceCellEditor();
    m_txtHPBM->setText(m_gdMx->textMatrix(m_gdMx->row(), col(LineRole::Code)));
    m_txtSL->setText(m_gdMx->textMatrix(m_gdMx->row(), col(LineRole::Quantity)));
}

void StockDocForm::PlaceCellEditor()
{
    const QRect cell = m_gdMx->cellRect(m_curMxR, m_curMxC);
    m_txtEnter->setGeometry(cell);
    const QString text = m_gdMx->textMatrix(m_curMxR, m_curMxC);
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
        picker->setGeometry(cell.right() - w, cell.top(), w, cell.height());
        picker->show();
        picker->raise();
    }
}

void StockDocForm::TxtEnter_LostFocus()
{
    m_cmdQuery->hide();
    m_cmdSX->hide();
    if (Edstu == 0 || m_txtEnter->isHidden())
        return;
    m_txtEnter->hide();
    const int r = m_curMxR;
    const QString text = m_txtEnter->text();
    const int cCode = col(LineRole::Code);
    if (m_curMxC == cCode && text.trimmed().isEmpty()) {
        if (!m_gdMx->textMatrix(r, cCode).trimmed().isEmpty() &&
            MsgBox(QStringLiteral("真的要删除") + m_app.GoodsTerm + QLatin1Char('[') +
                       m_gdMx->textMatrix(r, col(LineRole::Name)).trimmed() + QStringLiteral("]吗？"),
                   MB::YesNo | MB::Question, Tip) == MB::Yes) {
            if (m_gdMx->rows() > 2)
                m_gdMx->removeItem(r);
            else
                for (int c = 0; c < m_gdMx->cols(); ++c)
                    m_gdMx->setTextMatrix(1, c, QString());
        }
        SumDocTotals();
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
    SumDocTotals();
}

void StockDocForm::editorEnter()
{
    m_gdMx->setFocus();
    TxtEnter_LostFocus();
    if (m_curMxC < 0 || m_curMxC >= m_columns.size())
        return;
    const NextCell next = m_columns[m_curMxC].next(*this, m_curMxR);
    const int row = std::min(m_curMxR + next.rowStep, m_gdMx->rows() - 1);
    m_gdMx->setCurrent(row, std::max(0, col(next.role)));
    GdMx_Click();
}

void StockDocForm::SumDocTotals()
{
    double sum = 0;
    for (int r = 1; r < m_gdMx->rows(); ++r) {
        if (m_gdMx->textMatrix(r, col(LineRole::Code)).trimmed().isEmpty())
            break;
        sum += m_gdMx->textMatrix(r, col(LineRole::Amount)).toDouble();
    }
    m_txt[5]->setText(FormatNumber(sum, m_app.AmountFormat));
}

void StockDocForm::stripCodeEnter()
{
    m_txtHPBM->setText(m_txtHPBM->text().toUpper());
    m_txtSL->setFocus();
    m_txtSL->setText(QStringLiteral("1"));
    m_cmdEnter->click();
}

void StockDocForm::stripQtyEnter()
{
    if (m_txtHPBM->text().trimmed().isEmpty())
        m_txtHPBM->setFocus();
    else
        m_cmdEnter->click();
}

void StockDocForm::deleteLine()
{
    while (!m_txtEnter->isHidden())
        TxtEnter_LostFocus();
    const QString code = m_txtHPBM->text().trimmed();
    if (code.isEmpty() || m_curMxR < 1 || m_curMxR > m_gdMx->rows() - 1 ||
        m_gdMx->textMatrix(m_curMxR, col(LineRole::Code)).trimmed() != code) {
        MsgBox(QStringLiteral("请点击要删除的行！"), MB::OKOnly | MB::Information, Tip);
        return;
    }
    if (MsgBox(QStringLiteral("真的要删除第 %1 行").arg(m_curMxR) + m_app.GoodsTerm + QLatin1Char('[') +
                   m_gdMx->textMatrix(m_curMxR, col(LineRole::Name)).trimmed() + QStringLiteral("] 吗？"),
               MB::YesNo | MB::Question, Tip) == MB::Yes) {
        if (m_gdMx->rows() < 3)
            for (int c = 0; c < m_gdMx->cols(); ++c)
                m_gdMx->setTextMatrix(1, c, QString());
        else
            m_gdMx->removeItem(m_curMxR);
    }
    m_curMxR = std::min(m_curMxR, m_gdMx->rows() - 1);
    ShowLineStatus();
    SumDocTotals();
}
