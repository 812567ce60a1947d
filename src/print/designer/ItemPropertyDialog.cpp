#include "print/designer/ItemPropertyDialog.h"

#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QFontDatabase>
#include <cmath>

using namespace LayoutWord;

namespace {

struct Property {
    const char* key;
    const char* caption;
    const char* kinds;  // kinds that may add it
};

const Property Catalogue[] = {
    {"LEFT", "左", "0123"},       {"TOP", "顶", "0123"},         {"RIGHT", "右", "0123"},
    {"BOTTOM", "底", "0123"},     {"HEIGHT", "高", "012"},       {"ALIGN", "对齐(0,1,2)", "012"},
    {"FONTNAME", "字体", "012"},  {"FONTSIZE", "字号", "012"},   {"FONTBOLD", "粗体/条码", "012"},
    {"FONTCOLOR", "颜色", "012"}, {"TABTOP", "表顶", "1"},       {"TABBTM", "表底", "1"},
    {"RCDLINELEFT", "线左", "1"}, {"RCDLINERIGHT", "线右", "1"}, {"RCDLINETOP", "线顶位", "1"},
    {"ROWHEIGHT", "行高", "1"},   {"RCDTOP", "记录顶位", "1"},   {"VALUE", "值", "123"},
    {"HIDE", "隐藏", "0123"},     {"DEC", "小数位", "012"},      {"SPAC", "字间距", "0123"},
};

const char* const KindWords[] = {"", "字段", "常量", "LINE"};
const char* const KindTitles[] = {"变量 ", "字段 ", "常量 ", "表线 "};

int Whole(const QString& text)
{
    return int(std::nearbyint(LayoutNumber(text)));
}

}  // namespace

QString ItemPropertyDialog::CaptionOf(const QString& key)
{
    for (const Property& p : Catalogue)
        if (key == QLatin1String(p.key))
            return QString::fromUtf8(p.caption);
    return QString();
}

ItemPropertyDialog::ItemPropertyDialog(LayoutEditor& editor, int kind, int row, QWidget* parent, const QString& name)
    : QDialog(parent), m_editor(editor), m_kind(kind), m_row(row), ValName(name)
{
    setObjectName(QStringLiteral("MyprnDesignBox"));
    m_kindWord = QString::fromUtf8(KindWords[kind]);
    for (const Property& p : Catalogue)
        if (QByteArray(p.kinds).contains(char('0' + kind)))
            m_catalogue.emplace_back(QString::fromLatin1(p.key), QString::fromUtf8(p.caption));

    auto* strip = new QHBoxLayout;
    const char* captions[9] = {"←", "↑", "↓", "→", "长", "短", "左", "右", "中"};
    const char* tips[9] = {"左移", "上移", "下移", "右移", "增长", "缩短", "左对齐", "右对齐", "居中"};
    for (int i = 0; i < 9; ++i) {
        CmdMove[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        CmdMove[i]->setObjectName(QStringLiteral("CmdMove%1").arg(i));
        CmdMove[i]->setToolTip(QString::fromUtf8(tips[i]));
        CmdMove[i]->setFixedSize(24, 24);
        strip->addWidget(CmdMove[i]);
        connect(CmdMove[i], &QPushButton::clicked, this, [this, i] { tool(i); });
    }
    strip->addStretch(1);
    if (kind == 1)
        for (int i : {1, 2})
            CmdMove[i]->setEnabled(false);
    if (kind == 3)
        for (int i : {6, 7, 8})
            CmdMove[i]->setEnabled(false);

    GD = new Grid(this);
    GD->setObjectName(QStringLiteral("GD"));
    TxtEnter = new QLineEdit(this);
    TxtEnter->setObjectName(QStringLiteral("TxtEnter"));
    CmbEnter = new QComboBox(this);
    CmbEnter->setObjectName(QStringLiteral("CmbEnter"));
    CmbFonts = new QComboBox(this);
    CmbFonts->setObjectName(QStringLiteral("CmbFonts"));
    CmbFonts->addItems(QFontDatabase::families());
    for (QWidget* w : std::initializer_list<QWidget*>{TxtEnter, CmbEnter, CmbFonts})
        w->setVisible(false);

    auto* back = new QPushButton(QStringLiteral("返 回"), this);
    back->setObjectName(QStringLiteral("Cmd2"));
    auto* ok = new QPushButton(QStringLiteral("确 定"), this);
    ok->setObjectName(QStringLiteral("Cmd0"));
    auto* cancel = new QPushButton(QStringLiteral("取 消"), this);
    cancel->setObjectName(QStringLiteral("Cmd1"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(strip);
    layout->addWidget(GD, 1);
    layout->addWidget(CmbEnter);
    layout->addWidget(TxtEnter);
    layout->addWidget(CmbFonts);
    layout->addLayout(buttons);
    resize(340, 380);

    fill();
    connect(GD, &Grid::clicked_, this, [this](int row, int) { clickRow(row); });
    connect(CmbEnter, &QComboBox::activated, this, [this] { addChosen(); });
    connect(CmbFonts, &QComboBox::activated, this, [this] {
        if (GD->row() >= 1)
            GD->setTextMatrix(GD->row(), 2, CmbFonts->currentText());
    });
    connect(TxtEnter, &QLineEdit::textChanged, this, &ItemPropertyDialog::editValue);
    connect(ok, &QPushButton::clicked, this, [this] {
        ApplyItemProperties();
        accept();
    });
    connect(back, &QPushButton::clicked, this, [this] {
        ApplyItemProperties();
        m_return = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ItemPropertyDialog::fill()
{
    const auto& rows = m_editor.rows();
    PropertyList list;
    if (m_kind == 0) {
        ValName = rows.at(size_t(m_row)).owner;
        list = m_editor.variableProperties(ValName);
    } else {
        if (m_row >= 0 && m_row < int(rows.size()))
            ValName = rows[size_t(m_row)].value;
        if (m_row >= 0 && m_row < int(rows.size()) && rows[size_t(m_row)].owner == m_kindWord) {
            list.emplace_back(Value, ValName);
            const PropertyList props = m_editor.properties(m_row);
            list.insert(list.end(), props.begin(), props.end());
        } else if (m_kind == 1) {
            list.emplace_back(Value, ValName);
        }
    }
    GD->setCols(3);
    GD->setFixedRows(1);
    GD->setRows(int(list.size()) + 2);
    GD->setTextMatrix(0, 0, QStringLiteral("属性"));
    GD->setTextMatrix(0, 2, QStringLiteral("设置"));
    for (int i = 0; i < int(list.size()); ++i) {
        GD->setTextMatrix(i + 1, 0, CaptionOf(list[size_t(i)].first));
        GD->setTextMatrix(i + 1, 1, list[size_t(i)].first);
        GD->setTextMatrix(i + 1, 2, list[size_t(i)].second);
    }
    GD->setColWidth(1, 0);
    GD->setColWidth(0, 1800);
    GD->setColWidth(2, 2400);
    setWindowTitle(QString::fromUtf8(KindTitles[m_kind]) + ValName + QStringLiteral(" 属性"));
}

void ItemPropertyDialog::appendEmptyRow()
{
    GD->setRows(GD->rows() + 1);
}

void ItemPropertyDialog::clickRow(int r)
{
    GD->setRow(r);
    if (r < 1)
        return;
    TxtEnter->setVisible(false);
    CmbFonts->setVisible(false);
    CmbEnter->setVisible(false);
    if (GD->textMatrix(r, 0).isEmpty()) {
        CmbEnter->clear();
        QStringList used;
        for (int i = 1; i < GD->rows() - 1; ++i)
            used << GD->textMatrix(i, 1);
        for (const auto& [key, caption] : m_catalogue)
            if (!caption.isEmpty() && !used.contains(key))
                CmbEnter->addItem(caption);
        if (CmbEnter->count() == 0)
            return;
        m_choiceRow = r;
        const int value = CmbEnter->findText(QStringLiteral("值"));
        if (r == 1 && value >= 0) {
            CmbEnter->setCurrentIndex(value);
            addChosen();
            GD->setTextMatrix(1, 2, ValName);
            return;
        }
        CmbEnter->setCurrentIndex(-1);
        CmbEnter->setVisible(true);
        CmbEnter->setFocus();
        return;
    }
    const QString key = GD->textMatrix(r, 1);
    if (r == 1 && (m_kind == 1 || (m_kind == 3 && (ValName == TopFrame || ValName == BottomFrame))))
        return;
    if (key == QLatin1String("FONTNAME")) {
        const int at = CmbFonts->findText(GD->textMatrix(r, 2), Qt::MatchFixedString);
        if (at >= 0)
            CmbFonts->setCurrentIndex(at);
        CmbFonts->setVisible(true);
        CmbFonts->setFocus();
        return;
    }
    TxtEnter->setText(GD->textMatrix(r, 2));
    TxtEnter->setVisible(true);
    TxtEnter->setFocus();
}

void ItemPropertyDialog::addChosen()
{
    CmbEnter->setVisible(false);
    const QString caption = CmbEnter->currentText();
    if (caption.isEmpty() || m_choiceRow < 1)
        return;
    for (auto& [key, cap] : m_catalogue)
        if (cap == caption) {
            GD->setTextMatrix(m_choiceRow, 0, caption);
            GD->setTextMatrix(m_choiceRow, 1, key);
            key.clear();
            cap.clear();
            break;
        }
    appendEmptyRow();
}

QString ItemPropertyDialog::uniqueName(QString text) const
{
    const auto taken = [this](const QString& t) { return m_editor.findItem(m_kindWord, t) >= 0; };
    while (taken(text)) {
        if (m_kind == 2) {
            const int mark = text.indexOf(QStringLiteral("~#"));
            if (mark < 0)
                text += QStringLiteral("~#1");
            else if (mark + 2 == text.size())
                text += QLatin1Char('1');
            else
                text = text.left(mark + 2) + QString::number(qint64(LayoutNumber(text.mid(mark + 2))) + 1);
        } else {
            int digits = 0;
            while (digits < text.size() && text[text.size() - 1 - digits].isDigit() &&
                   text[text.size() - 1 - digits].unicode() < 128)
                ++digits;
            if (digits == text.size() && text.size() < 3) {
                text = QStringLiteral("线") + text;
            }
            if (digits == 0) {
                text += QLatin1Char('1');
                continue;
            }
            const int take = std::min(digits, 2);
            text = text.left(text.size() - take) + QString::number(text.right(take).toInt() + 1);
        }
    }
    return text;
}

void ItemPropertyDialog::editValue(const QString& typed)
{
    QString text = typed.trimmed();
    if (text != typed)
        TxtEnter->setText(text);
    if (text.isEmpty())
        return;
    text.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    const int r = GD->row();
    if (r == 1 && text != ValName && (m_kind == 2 || m_kind == 3))
        text = uniqueName(text);
    GD->setTextMatrix(r, 2, text);
}

int ItemPropertyDialog::rowOf(const QString& caption) const
{
    for (int r = 1; r < GD->rows(); ++r)
        if (GD->textMatrix(r, 0) == caption)
            return r;
    return -1;
}

void ItemPropertyDialog::tool(int index)
{
    if (GD->textMatrix(1, 0).isEmpty())
        clickRow(GD->row());
    if (index >= 6) {
        int r = -1;
        for (int i = 1; i < GD->rows(); ++i)
            if (GD->textMatrix(i, 1) == QLatin1String("ALIGN"))
                r = i;
        if (r < 0) {
            if (GD->textMatrix(1, 0).isEmpty())
                return;
            r = GD->rows() - 1;
            bool found = false;
            for (auto& [key, cap] : m_catalogue)
                if (cap.contains(QStringLiteral("对齐"))) {
                    GD->setTextMatrix(r, 0, cap);
                    GD->setTextMatrix(r, 1, key);
                    key.clear();
                    cap.clear();
                    found = true;
                    break;
                }
            if (!found) {
                MsgBox(QStringLiteral("请先在下面表格中设置“对齐(1,2,3)”属性。"));
                return;
            }
            appendEmptyRow();
        }
        GD->setTextMatrix(r, 2, index == 6 ? QStringLiteral("0") : index == 7 ? QStringLiteral("1") : QStringLiteral("2"));
        ApplyItemProperties();
        return;
    }
    const bool across = index == 0 || index == 3 || index == 4 || index == 5;
    const QString first = across ? QStringLiteral("左") : QStringLiteral("顶");
    const QString second = index <= 3 ? (across ? QStringLiteral("右") : QStringLiteral("底")) : QStringLiteral("顶");
    const int r1 = rowOf(first);
    if (r1 < 0) {
        MsgBox(QStringLiteral("请在上面表格中设置“") + first + QStringLiteral("”。"));
        return;
    }
    const int r2 = rowOf(second);
    if (r2 < 0 && m_kind == 3) {
        MsgBox(QStringLiteral("请在上面表格中设置“") + second + QStringLiteral("”。"));
        return;
    }
    const auto get = [this](int r) { return r < 0 ? 0 : Whole(GD->textMatrix(r, 2)); };
    const auto put = [this](int r, int v) {
        if (r >= 0)
            GD->setTextMatrix(r, 2, QString::number(v));
    };
    if (index <= 3) {
        const int d = (index == 0 || index == 1) ? -1 : 1;
        put(r1, get(r1) + d);
        if (get(r2) != 0)
            put(r2, get(r2) + d);
    } else {
        const int d = index == 4 ? 1 : -1;
        const int rRight = rowOf(QStringLiteral("右")), rBottom = rowOf(QStringLiteral("底"));
        const int left = get(r1), right = get(rRight), top = get(rowOf(QStringLiteral("顶"))), bottom = get(rBottom);
        if (left == right && rBottom >= 0) {
            put(rBottom, bottom + d);
        } else if (top == bottom && rRight >= 0) {
            put(rRight, right + d);
        } else {
            if (right != 0)
                put(rRight, right + d);
            if (bottom != 0)
                put(rBottom, bottom + d);
        }
    }
    ApplyItemProperties();
}

bool ItemPropertyDialog::ApplyItemProperties()
{
    PropertyList list;
    for (int r = 1; r < GD->rows() - 1; ++r)
        if (!GD->textMatrix(r, 1).isEmpty())
            list.emplace_back(GD->textMatrix(r, 1).toUpper(), GD->textMatrix(r, 2));
    if (m_kind == 0) {
        m_editor.replaceVariableProperties(ValName, list);
        return true;
    }
    if (GD->textMatrix(1, 0) != QStringLiteral("值")) {
        MsgBox(QStringLiteral("第一行属性必须为[值]！请点击取消返回生重新进入本窗口操作！"));
        return false;
    }
    // The item is found by the row it was opened on, not by its text: two
    // constants of the same text are two items, and this window edits one.
    const auto& rows = m_editor.rows();
    const bool still = m_row >= 0 && m_row < int(rows.size()) && rows[size_t(m_row)].owner == m_kindWord &&
                       rows[size_t(m_row)].key.toUpper() == Value;
    m_row = m_editor.replaceItem(still ? m_row : -1, m_kindWord, list);
    return true;
}
