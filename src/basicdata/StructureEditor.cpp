#include "basicdata/StructureEditor.h"

#include "basicdata/QueryGoods.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The number of a usage cell's text: the editor opens on "4 个", so the unit
// after the number is no part of what was typed.
QString usageNumber(const QString& entry)
{
    const QString t = entry.trimmed();
    const int blank = t.indexOf(QLatin1Char(' '));
    return blank > 0 && !t.left(blank).isEmpty() && TypedNumber(t.left(blank)) ? t.left(blank) : t;
}

}  // namespace

namespace {
constexpr int Cols = 7;
enum Col { Code = 0, Name = 1, Stock = 2, Usage = 3, Price = 4, Amount = 5, Remark = 6 };
}  // namespace

StructureEditor::StructureEditor(App& app_, QWidget* parent) : QWidget(parent), app(app_)
{
    setObjectName(QStringLiteral("StructureEditor"));
    m_grid = new Grid(this);
    m_grid->setObjectName(QStringLiteral("GdMx"));
    m_editor = new QLineEdit(m_grid->viewport());
    m_editor->setObjectName(QStringLiteral("TxtEnter"));
    m_editor->hide();
    m_editor->installEventFilter(this);
    CmdQuery = new QPushButton(QStringLiteral("?"), m_grid->viewport());
    CmdQuery->setObjectName(QStringLiteral("CmdQuery"));
    CmdQuery->setAutoDefault(false);
    CmdQuery->setFocusPolicy(Qt::NoFocus);
    CmdQuery->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    connect(CmdQuery, &QPushButton::pressed, this, &StructureEditor::CmdQuery_MouseDown);
    connect(m_grid, &Grid::clicked_, this, [this](int, int) { GdMx_Click(); });
    SetLineGridHeader();
}

void StructureEditor::SetLineGridHeader()
{
    m_grid->setCols(Cols);
    m_grid->clear();
    m_grid->clearRows();
    m_grid->setRows(2);
    m_grid->setHeaders({app.PartTerm + QStringLiteral("编码"), app.PartTerm + QStringLiteral("名称规格"),
                        QStringLiteral("存量"), QStringLiteral("用量"), QStringLiteral("单价"), QStringLiteral("金额"),
                        QStringLiteral("备注")});
    for (int c = 0; c < Cols; ++c)
        m_grid->setFixedAlignment(c, Qt::AlignCenter);
    m_row = 1;
    m_col = 1;
}

void StructureEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int m = Grid::pixelsToTwips(m_grid->width());
    m_grid->setColWidth(Code, m / 7 + 50);
    m_grid->setColWidth(Name, m / 4);
    m_grid->setColWidth(Remark, m / 5);
    for (int c : {Stock, Usage, Price})
        m_grid->setColWidth(c, m / 10);
    if (!app.CanSeeCost && !app.CanSeeProfit) {
        m_grid->setColWidth(Price, 0);
        m_grid->setColWidth(Amount, 0);
    }
}

double StructureEditor::LoadBomGrid(const QString& product, PriceBasis basis, const QString& productUnit)
{
    SetLineGridHeader();
    QVector<StructureLine> parts;
    try {
        parts = LoadStructure(app.CurrentDatabase, product, basis);
    } catch (const DbError& e) {
        MsgBox(e.description());
    }
    m_grid->setRedraw(false);
    m_grid->setRows(int(parts.size()) + 2);
    double sum = 0;
    for (int i = 0; i < parts.size(); ++i) {
        const StructureLine& l = parts[i];
        const int r = i + 1;
        m_grid->setTextMatrix(r, Code, l.part);
        m_grid->setTextMatrix(r, Name, l.nameSpec);
        m_grid->setTextMatrix(r, Stock, NumText(l.stock) + QLatin1Char(' ') + l.unit);
        m_grid->setTextMatrix(r, Usage, NumText(l.usage) + QLatin1Char(' ') + l.unit);
        if (!l.nameSpec.isEmpty() || l.price != 0) {
            m_grid->setTextMatrix(r, Price, FormatNumber(l.price, app.PriceFormat));
            m_grid->setTextMatrix(r, Amount, FormatNumber(l.amount(), app.AmountFormat));
        }
        m_grid->setTextMatrix(r, Remark, l.remark);
        if (l.back || l.fore) {
            if (l.back)
                m_grid->setRowBackColor(r, Grid::colorFromValue(l.back));
            if (l.fore)
                m_grid->setRowForeColor(r, Grid::colorFromValue(l.fore));
        }
        sum += BoxValue(m_grid->textMatrix(r, Amount));
    }
    const int last = m_grid->rows() - 1;
    m_grid->setTextMatrix(last, Name, QStringLiteral(" 现存") + app.PartTerm + QStringLiteral("可组装成品数量："));
    m_grid->setTextMatrix(last, Stock, QString::number(AssemblableCount(parts)) + QLatin1Char(' ') + productUnit);
    if (sum != 0) {
        m_grid->setTextMatrix(last, Price, QStringLiteral(" 金额合计："));
        m_grid->setTextMatrix(last, Amount, FormatNumber(sum, app.AmountFormat));
    }
    m_grid->setRedraw(true);
    m_grid->setRow(1);
    m_row = 1;
    ShowLineStatus();
    return sum;
}

QVector<StructureLine> StructureEditor::lines() const
{
    QVector<StructureLine> out;
    for (int r = 1; r < m_grid->rows(); ++r) {
        const QString code = m_grid->textMatrix(r, Code).trimmed();
        if (code.isEmpty())
            continue;
        StructureLine l;
        l.part = code;
        l.nameSpec = m_grid->textMatrix(r, Name);
        l.usage = LeadValue(m_grid->textMatrix(r, Usage));
        l.unit = AfterSpace(m_grid->textMatrix(r, Usage));
        l.price = BoxValue(m_grid->textMatrix(r, Price));
        l.remark = m_grid->textMatrix(r, Remark);
        const QColor back = m_grid->cellBackColor(r, Code);
        const QColor fore = m_grid->cellForeColor(r, Code);
        l.back = back.isValid() ? Grid::colorToValue(back) : 0;
        l.fore = fore.isValid() ? Grid::colorToValue(fore) : 0;
        out.append(l);
    }
    return out;
}

double StructureEditor::total() const
{
    double sum = 0;
    for (int r = 1; r < m_grid->rows() - 1; ++r)
        sum += BoxValue(m_grid->textMatrix(r, Amount));
    return sum;
}

bool StructureEditor::hasParts() const
{
    return !m_grid->textMatrix(1, Code).trimmed().isEmpty();
}

void StructureEditor::GdMx_Click()
{
    while (m_editor->isVisible() && !m_committing) {
        TxtEnter_LostFocus();
        QApplication::processEvents();
    }
    m_row = m_grid->row();
    ShowLineStatus();
    m_col = m_grid->col();
    if (m_col == Code)
        m_grid->selectRows(m_row, m_row);
    if (!editing())
        return;
    if (m_col == Code || ((m_col == Usage || m_col == Remark) && !m_grid->textMatrix(m_row, Code).trimmed().isEmpty()))
        PlaceCellEditor();
}

void StructureEditor::PlaceCellEditor()
{
    const QRect cell = m_grid->cellRect(m_row, m_col);
    m_editor->setGeometry(cell);
    m_editor->setText(m_grid->textMatrix(m_row, m_col));
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
    m_editor->selectAll();
    if (m_col == Code) {
        const int w = std::max(16, cell.height());
        CmdQuery->setGeometry(cell.right() - w + 1, cell.top() + 1, w, std::max(cell.height() - 2, 10));
        CmdQuery->show();
        CmdQuery->raise();
    }
}

void StructureEditor::ShowLineStatus()
{
    m_grid->setRow(std::clamp(m_row, 1, m_grid->rows() - 1));
    if (!app.MainWindow)
        return;
    QString text;
    if (m_grid->rows() == 2 && m_grid->textMatrix(1, Code).trimmed().isEmpty()) {
        text = QStringLiteral("产品构成表：无") + theHname + QStringLiteral("信息");
    } else {
        const int n = m_grid->textMatrix(m_grid->rows() - 1, Code).trimmed().isEmpty() ? m_grid->rows() - 2
                                                                                       : m_grid->rows() - 1;
        text = QStringLiteral("产品构成表：共 %1 条记录 当前为第 %2 条").arg(n).arg(m_row);
    }
    app.MainWindow->setStatusText(4, text);
}

void StructureEditor::TxtEnter_LostFocus()
{
    CmdQuery->hide();
    if (!editing() || !m_editor->isVisible() || m_committing)
        return;
    m_committing = true;
    const QString entry = m_editor->text();
    bool columnAction = true;
    if (entry.trimmed().isEmpty() && m_col == Code) {
        columnAction = false;
        if (!m_grid->textMatrix(m_row, Code).trimmed().isEmpty()) {
            const QString question = QStringLiteral("真的要删除") + theHname + QLatin1Char('[') +
                                     m_grid->textMatrix(m_row, Name).trimmed() + QStringLiteral("]吗？");
            if (MsgBox(question, MB::YesNo | MB::Question, QStringLiteral("提示")) == MB::Yes) {
                if (m_grid->rows() > 2) {
                    m_grid->removeItem(m_row);
                    ensureBlankLastRow();
                } else {
                    for (int c = 0; c < Cols; ++c)
                        m_grid->setTextMatrix(1, c, QString());
                }
            }
        }
    }
    if (columnAction) {
        if (m_col == Code) {
            const QString code = entry.trimmed().toUpper();
            const QString header = m_grid->textMatrix(0, Code);
            int found = -1;
            for (int r = 1; r < m_grid->rows(); ++r)
                if (m_grid->textMatrix(r, Code) == code)
                    found = r;
            if (code == productCode().trimmed().toUpper()) {
                MsgBox(QStringLiteral("产品构成表中不能包含产品本身！"));
            } else if (found >= 0 && found != m_row) {
                MsgBox(QStringLiteral("相同的") + header + QStringLiteral("已经存在！"), MB::OKOnly | MB::Information,
                       QStringLiteral("提示"));
                m_row = found;
                m_grid->setRow(found);
            } else if (found < 0) {
                bool cycle = false;
                try {
                    cycle = IsPartOf(app.CurrentDatabase, productCode(), code);
                } catch (const DbError&) {
                }
                if (cycle)
                    MsgBox(QStringLiteral("在系统中已经设置了[") + productCode().trimmed() + QStringLiteral("]是组成[") + code +
                           QStringLiteral("]的零件之一！两者所属关系不能混乱！"));
                else
                    CheckLineGoodsCode(code);
            }
        } else if (m_col == Usage && !TypedNumber(usageNumber(entry))) {
            // No number: the usage keeps what it held.
            MsgBox(NotANumberText(entry), MB::OKOnly | MB::Exclamation);
        } else if (m_col == Usage) {
            const QString unit = AfterSpace(m_grid->textMatrix(m_row, Stock));
            double v = *TypedNumber(usageNumber(entry));
            if (app.NoNegativeQty == 1)
                v = std::fabs(v);
            m_grid->setTextMatrix(m_row, Usage, NumText(v) + QLatin1Char(' ') + unit);
            m_grid->setTextMatrix(m_row, Amount, NumText(v * BoxValue(m_grid->textMatrix(m_row, Price))));
        } else if (m_col == Remark) {
            m_grid->setTextMatrix(m_row, Remark, entry);
        }
    }
    m_editor->hide();
    updateTotals();
    m_committing = false;
}

bool StructureEditor::CheckLineGoodsCode(const QString& code)
{
    if (code.isEmpty())
        return false;
    std::optional<StructureLine> part;
    try {
        part = LookupPart(app.CurrentDatabase, code, app.CanSeeCost != 0, app.PriceFormat);
    } catch (const DbError&) {
    }
    if (!part) {
        MsgBox(theHname + QStringLiteral("资料库中不存在[") + code + QStringLiteral("]这个") + m_grid->textMatrix(0, Code) +
                   QStringLiteral("！"),
               MB::OKOnly | MB::Information, QStringLiteral("提示"));
        ensureBlankLastRow();
        return false;
    }
    m_grid->setTextMatrix(m_row, Code, part->part);
    m_grid->setTextMatrix(m_row, Name, part->nameSpec);
    m_grid->setTextMatrix(m_row, Stock, NumText(part->stock) + QLatin1Char(' ') + part->unit);
    m_grid->setTextMatrix(m_row, Usage, QStringLiteral("1 ") + part->unit);
    m_grid->setTextMatrix(m_row, Price, NumText(part->price));
    m_grid->setTextMatrix(m_row, Amount, NumText(part->price));
    ensureBlankLastRow();
    return true;
}

void StructureEditor::ensureBlankLastRow()
{
    if (!m_grid->textMatrix(m_grid->rows() - 1, Code).isEmpty())
        m_grid->setRows(m_grid->rows() + 1);
}

void StructureEditor::updateTotals()
{
    const int last = m_grid->rows() - 1;
    if (!m_grid->textMatrix(last, Code).isEmpty())
        return;
    m_grid->setTextMatrix(last, Price, QStringLiteral("合计"));
    m_grid->setTextMatrix(last, Amount, FormatNumber(total(), app.AmountFormat));
}

void StructureEditor::enterPressed()
{
    const int row = m_row;
    const int col = m_col;
    const int rowsBefore = m_grid->rows();
    TxtEnter_LostFocus();
    if (m_grid->rows() < rowsBefore || m_row != row) {
        // A removal or a duplicate: the grid's current cell stays current.
    } else if (col == Code) {
        m_grid->setCurrent(row, m_grid->textMatrix(row, Code).trimmed().isEmpty() ? Code : Usage);
    } else if (col == Usage) {
        m_grid->setCurrent(row, Remark);
    } else {
        m_grid->setCurrent(std::min(row + 1, m_grid->rows() - 1), Code);
    }
    GdMx_Click();
}

void StructureEditor::CmdQuery_MouseDown()
{
    GoodsPickRequest request;
    request.preset = m_editor->text();
    request.host = this;
    const QString code = PickGoods(app, request, window());
    GdMx_Click();
    if (!code.isEmpty())
        m_editor->setText(code);
    // The cursor comes back to the structure: the cell being entered, or the grid.
    if (m_editor->isVisible())
        m_editor->setFocus(Qt::OtherFocusReason);
    else
        m_grid->setFocus(Qt::OtherFocusReason);
}

bool StructureEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            enterPressed();
            return true;
        }
        const bool pickerKey = key->key() == Qt::Key_F || key->key() == Qt::Key_Slash || key->key() == Qt::Key_Question;
        if (pickerKey && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && CmdQuery->isVisible()) {
            CmdQuery_MouseDown();
            return true;
        }
    }
    if (watched == m_editor && event->type() == QEvent::FocusOut && !m_committing &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason && m_editor->isVisible())
        TxtEnter_LostFocus();
    return QWidget::eventFilter(watched, event);
}
