#include "print/designer/ItemListDialog.h"

#include "platform/Grid.h"
#include "platform/Messages.h"
#include "print/PrintEngine.h"
#include "print/designer/ItemPropertyDialog.h"

#include <QMenuBar>

using namespace LayoutWord;

namespace {

const char* const Captions[] = {"变量", "记录集", "常量", "表线"};
const QString Para = QStringLiteral("\n\n");

}  // namespace

ItemListDialog::ItemListDialog(PrintEngine& engine, LayoutEditor& editor, int kind, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_editor(editor), m_kind(kind)
{
    setObjectName(QStringLiteral("MyprnDesign"));
    setWindowTitle(QString::fromUtf8(Captions[kind]));
    m_kindWord = kind == 1 ? Field : kind == 2 ? Const : kind == 3 ? Line : QString();
    Menu_fun = new QMenuBar(this);
    const auto action = [this](int i, const QString& caption, bool shown, void (ItemListDialog::*run)()) {
        QAction* a = Menu_fun->addAction(caption);
        a->setObjectName(QStringLiteral("Menu_fun%1").arg(i));
        a->setVisible(shown);
        connect(a, &QAction::triggered, this, run);
    };
    const bool list = kind >= 2;
    action(0, QStringLiteral("&A.增加"), list, &ItemListDialog::add);
    action(1, QStringLiteral("&E.编辑"), list, &ItemListDialog::edit);
    action(2, QStringLiteral("&D.删除"), list, &ItemListDialog::remove);
    action(3, QStringLiteral("&H.隐藏"), true, &ItemListDialog::hideAll);
    QAction* back = Menu_fun->addAction(QStringLiteral("&R.返回"));
    back->setObjectName(QStringLiteral("Menu_fun5"));
    connect(back, &QAction::triggered, this, &QDialog::accept);
    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Menu_fun);
    layout->addWidget(GD);
    resize(420, 420);
    connect(GD, &Grid::doubleClicked_, this, [this] { edit(); });
}

bool ItemListDialog::fill()
{
    if (m_kind == 3)
        m_engine.SeekDdLine(0);
    const auto& rows = m_editor.rows();
    if (m_kind == 1) {
        RecordSet& rs = m_engine.myrs;
        if (rs.isEmpty()) {
            MsgBox(QStringLiteral("无记录!"));
            return false;
        }
        const int cols = rs.columnCount();
        GD->setCols(cols);
        GD->setFixedRows(1);
        GD->setRows(11);
        for (int c = 0; c < cols; ++c)
            GD->setTextMatrix(0, c, QString::number(c) + QLatin1Char('.') + rs.columnNames().value(c));
        for (int r = 0; r < std::min(10, int(rs.rowCount())); ++r)
            for (int c = 0; c < cols; ++c)
                GD->setTextMatrix(r + 1, c, rs.text(r, c));
        return true;
    }
    QStringList first, second;
    for (const ItemRow& r : rows) {
        if (r.key.toUpper() != Value)
            continue;
        if (m_kind == 0 && r.owner != Line && r.owner != Field && r.owner != Const) {
            first << r.owner;
            second << r.value;
        } else if (m_kind >= 2 && r.owner == m_kindWord) {
            first << r.owner;
            second << r.value;
        }
    }
    GD->setCols(2);
    GD->setFixedRows(1);
    GD->setRows(std::max(int(first.size()) + 1, m_kind == 0 ? 1 : 2));
    const QString title = m_kind == 0 ? QStringLiteral("变量名") : QString::fromUtf8(Captions[m_kind]);
    GD->setTextMatrix(0, 0, title);
    GD->setTextMatrix(0, 1, m_kind == 0 ? QStringLiteral("值") : QString::fromUtf8(Captions[m_kind]));
    for (int i = 0; i < int(first.size()); ++i) {
        GD->setTextMatrix(i + 1, 0, first[i]);
        GD->setTextMatrix(i + 1, 1, second[i]);
        if (m_kind == 3 && (second[i] == TopFrame || second[i] == BottomFrame))
            GD->setCellForeColor(i + 1, 1, Qt::red);
    }
    if (m_kind >= 2)
        GD->setColWidth(0, 0);
    if (GD->rows() > 1)
        GD->setRow(1);
    return true;
}

void ItemListDialog::edit()
{
    int row = -1;
    if (m_kind == 0) {
        const QString name = GD->textMatrix(GD->row(), 0);
        const auto& rows = m_editor.rows();
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r].owner.compare(name, Qt::CaseInsensitive) == 0 && rows[r].key.toUpper() == Value)
                row = int(r);
    } else if (m_kind == 1) {
        const QString head = GD->textMatrix(0, GD->col());
        row = m_editor.findItem(Field, head.left(head.indexOf(QLatin1Char('.'))));
        if (row < 0) {
            row = m_editor.addItem(Field, head.left(head.indexOf(QLatin1Char('.'))), {});
        }
    } else {
        // The row of the list counts, so of two items with the same text the chosen one opens.
        const int nth = GD->row();
        int seen = 0;
        const auto& rows = m_editor.rows();
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r].owner == m_kindWord && rows[r].key.toUpper() == Value && ++seen == nth)
                row = int(r);
        if (row < 0) {
            const QString name = GD->textMatrix(GD->row(), 1);
            if (name.isEmpty())
                return;
            row = m_editor.addItem(m_kindWord, name, {});
        }
    }
    if (row < 0)
        return;
    ItemPropertyDialog box(m_editor, m_kind, row, this);
    box.exec();
    if (box.returnPressed())
        accept();
    else
        fill();
}

void ItemListDialog::add()
{
    const InputAnswer a = InputBox(m_kind == 2 ? QStringLiteral("请输入要增加的常量的值：")
                                               : QStringLiteral("请输入要增加的表线的名称（用于设计时标记一条线）："),
                                   QStringLiteral("增加项目"));
    QString text = a.ok ? a.text : QString();
    text.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    if (text.isEmpty())
        return;
    if (m_kind == 2 && text.contains(QStringLiteral("~#"))) {
        MsgBox(QStringLiteral("“~#”这两个字符为系统保留字符，请不要输入。") + Para +
               QStringLiteral("如果您要输入的常量与已经常量重复，系统会自动增加区别字符！"));
        return;
    }
    const auto taken = [this](const QString& t) {
        for (int r = 1; r < GD->rows(); ++r)
            if (GD->textMatrix(r, 1) == t)
                return true;
        return m_editor.findItem(m_kindWord, t) >= 0;
    };
    while (taken(text)) {
        if (m_kind == 2) {
            const int mark = text.indexOf(QStringLiteral("~#"));
            text = mark < 1 ? text + QStringLiteral("~#1")
                            : text.left(mark) + QStringLiteral("~#") + QString::number(qint64(LayoutNumber(text.mid(mark + 2))) + 1);
        } else {
            text += QLatin1Char('1');
        }
    }
    const int row = m_editor.addItem(m_kindWord, text, {});
    fill();
    ItemPropertyDialog box(m_editor, m_kind, row, this);
    box.exec();
    if (box.returnPressed())
        accept();
    else
        fill();
}

void ItemListDialog::remove()
{
    const QString text = GD->textMatrix(GD->row(), 1);
    if (text.isEmpty() || GD->row() < 1)
        return;
    if (m_kind == 3 && (text == TopFrame || text == BottomFrame)) {
        MsgBox(QStringLiteral("顶框线和底框线不能删除，如果您不想打印该表线，请设置该表线【隐藏】属性为 1 "));
        return;
    }
    if (MsgBox(QStringLiteral("真的要删除[") + text + QStringLiteral("]吗？"), MB::OKCancel | MB::Question) != MB::OK)
        return;
    const int nth = GD->row();
    int seen = 0;
    const auto& rows = m_editor.rows();
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].owner == m_kindWord && rows[r].key.toUpper() == Value && ++seen == nth) {
            m_editor.deleteItem(int(r));
            break;
        }
    if (GD->rows() < 3)
        accept();
    else
        fill();
}

void ItemListDialog::hideAll()
{
    bool* flag = m_kind == 0 ? &m_engine.AllValHide : m_kind == 1 ? &m_engine.AllRcdHide
               : m_kind == 2 ? &m_engine.AllTxtHide : &m_engine.AllLineHide;
    const QString what = QString::fromUtf8(Captions[m_kind]);
    const QString question = *flag ? QStringLiteral("本操作用于恢复显示所有%1（但不包括属性窗口中独立设置过隐藏的%1）。").arg(what) +
                                         Para + QStringLiteral("你确定要执行本操作吗？")
                                   : QStringLiteral("本操作用于隐藏所有%1。").arg(what) + Para +
                                         QStringLiteral("你确定要隐藏所有%1吗？").arg(what);
    if (MsgBox(question, MB::YesNo | MB::Question | MB::DefaultButton2,
               *flag ? QStringLiteral("取消隐藏") : QStringLiteral("隐藏") + what) != MB::Yes)
        return;
    *flag = !*flag;
    m_editor.touch();
}
