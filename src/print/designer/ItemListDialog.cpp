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
    QMenu* direction = Menu_fun->addMenu(QStringLiteral("&T.排版方向"));
    direction->setObjectName(QStringLiteral("Menu_fun4"));
    direction->menuAction()->setVisible(kind == 1);
    Menu_PB0 = direction->addAction(QStringLiteral("纵向排版"));
    Menu_PB0->setObjectName(QStringLiteral("Menu_PB0"));
    Menu_PB1 = direction->addAction(QStringLiteral("横向排版"));
    Menu_PB1->setObjectName(QStringLiteral("Menu_PB1"));
    for (QAction* a : {Menu_PB0, Menu_PB1})
        a->setCheckable(true);
    Menu_PB0->setChecked(engine.LabMode == 0);
    Menu_PB1->setChecked(engine.LabMode != 0);
    connect(Menu_PB0, &QAction::triggered, this, [this] { setDirection(false); });
    connect(Menu_PB1, &QAction::triggered, this, [this] { setDirection(true); });
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

int ItemListDialog::itemOfListRow(int listRow) const
{
    // The list holds the items in table order, so of two items with the same
    // text the one on the chosen row is meant.
    int seen = 0;
    const auto& rows = m_editor.rows();
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].owner == m_kindWord && rows[r].key.toUpper() == Value && ++seen == listRow)
            return int(r);
    return -1;
}

void ItemListDialog::edit()
{
    int row = -1;
    QString name;
    if (m_kind == 0) {
        const QString name = GD->textMatrix(GD->row(), 0);
        const auto& rows = m_editor.rows();
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r].owner.compare(name, Qt::CaseInsensitive) == 0 && rows[r].key.toUpper() == Value)
                row = int(r);
    } else if (m_kind == 1) {
        const QString head = GD->textMatrix(0, GD->col());
        name = head.left(head.indexOf(QLatin1Char('.')));
        row = m_editor.findItem(Field, name);
    } else {
        row = itemOfListRow(GD->row());
        name = GD->textMatrix(GD->row(), 1);
    }
    if (row < 0 && (m_kind == 0 || name.isEmpty()))
        return;
    // An item not in the layout yet (a new one, or a field not placed) enters it when applied.
    ItemPropertyDialog box(m_editor, m_kind, row, this, name);
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
    // The new entry is listed and edited; the layout gets it when its property window applies it.
    GD->setRows(GD->rows() + (GD->textMatrix(GD->rows() - 1, 1).isEmpty() ? 0 : 1));
    GD->setTextMatrix(GD->rows() - 1, 0, m_kindWord);
    GD->setTextMatrix(GD->rows() - 1, 1, text);
    GD->setRow(GD->rows() - 1);
    edit();
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
    const int row = itemOfListRow(GD->row());
    if (row >= 0)
        m_editor.deleteItem(row);
    if (GD->rows() < 3)
        accept();
    else
        fill();
}

void ItemListDialog::hideAll()
{
    bool* flag = m_kind == 0 ? &m_engine.AllValHide : m_kind == 1 ? &m_engine.AllRcdHide
               : m_kind == 2 ? &m_engine.AllTxtHide : &m_engine.AllLineHide;
    static const char* const what[] = {"变量", "记录集字段", "常量", "表线"};
    static const char* const titles[] = {"隐藏变量", "隐藏记录集", "隐藏常量", "隐藏表线"};
    const QString w = QString::fromUtf8(what[m_kind]);
    QString question;
    if (*flag) {
        question = QStringLiteral("本操作用于恢复显示所有%1（但不包括属性窗口中独立设置过隐藏的%2）。").arg(
                       m_kind == 1 ? QStringLiteral("记录集字段内容") : w, m_kind == 1 ? QStringLiteral("字段") : w) +
                   Para + QStringLiteral("你确定要执行本操作吗？");
    } else if (m_kind <= 1) {
        question = QStringLiteral("本操作用于暂时隐藏所有%1。").arg(m_kind == 1 ? QStringLiteral("记录集内容") : w) +
                   Para + QStringLiteral("如果您想永久隐藏某些%1，请鼠标双击该项目进入属性窗口设置隐藏属性为 1 。").arg(w) +
                   Para + QStringLiteral("此为临时设置项，仅供调试版面及临时打印空表之用。") + Para +
                   QStringLiteral("你确定要暂时隐藏所有%1吗？").arg(w);
    } else {
        question = QStringLiteral("本操作用于隐藏所有%1。").arg(w) + Para +
                   QStringLiteral("如果您只想隐藏个别项目，请鼠标双击该项目进入属性窗口设置隐藏属性为 1 。") + Para +
                   QStringLiteral("你确定要隐藏所有%1吗？").arg(w);
    }
    const QString title = *flag ? QStringLiteral("取消隐藏") : QString::fromUtf8(titles[m_kind]);
    if (MsgBox(question, MB::YesNo | MB::Question | MB::DefaultButton2, title) != MB::Yes)
        return;
    *flag = !*flag;
    // The constants' and lines' flags are stored with the layout; the others are for this showing only.
    if (m_kind >= 2)
        m_editor.touch();
    else
        Q_EMIT m_editor.redrawOnly();
}

void ItemListDialog::setDirection(bool across)
{
    const QString box = QStringLiteral("  记录集排版方向设置");
    const QString current = QStringLiteral("当前记录集的排版方向为【") +
                            (m_engine.LabMode != 0 ? QStringLiteral("横向") : QStringLiteral("纵向")) +
                            QStringLiteral("】。");
    int labMode = m_engine.LabMode;
    if (!across) {
        if (labMode == 0) {
            MsgBox(current);
            return;
        }
        if (MsgBox(current + Para + QStringLiteral("如果设置为【纵向】，系统将按照传统的纵向列表方式打印记录集内容。") + Para +
                       QStringLiteral("您现在需要改变记录集排版方向为【纵向】吗？"),
                   MB::YesNo | MB::Information | MB::DefaultButton2, box) != MB::Yes)
            return;
        labMode = 0;
    } else {
        QString prompt = QStringLiteral("    ") + current;
        if (labMode == 0)
            prompt += Para + QStringLiteral("    如果设置为【横向】，则原来同一表列的内容将在版面上横向分列打印，直至一行排满再转至下一行。") +
                      Para + QStringLiteral("    【横向】适用于制作标签卡片用途的排版或表格列数较少的排版。") + Para +
                      QStringLiteral("    如果需要设置【横向】，建议首先把记录集关键内容摆放至版面左侧，再回到本界面设置横向排版列数。");
        prompt += Para + QStringLiteral("    请输入横向排版列数（2-20）：");
        const InputAnswer a = InputBox(prompt, box, QString::number(labMode + 1));
        const QString answer = a.ok ? a.text.trimmed() : QString();
        if (LayoutNumber(answer) == 0)
            return;
        bool ok = false;
        const int count = answer.toInt(&ok);
        if (!ok || QString::number(count) != answer || count < 2 || count > 20) {
            MsgBox(QStringLiteral("如果您需要设置【横向】，请输入2-20之间的整数！"));
            return;
        }
        if (count == labMode + 1)
            return;
        labMode = count - 1;
    }
    m_engine.LabMode = labMode;
    Menu_PB0->setChecked(labMode == 0);
    Menu_PB1->setChecked(labMode != 0);
    Q_EMIT m_editor.pagingChanged();
}
