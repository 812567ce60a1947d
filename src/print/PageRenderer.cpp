#include "print/PrintEngine.h"

#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/SqlFunctions.h"
#include "print/PageSurface.h"
#include "print/Primitives.h"

#include <cmath>

using namespace LayoutWord;

namespace {

const QString Para = QStringLiteral("\n\n");

double Num(const QString& text)
{
    return LayoutNumber(text);
}

double RoundEven(double v)
{
    return std::nearbyint(v);
}

// Formats a text that is a number with n decimals; other texts pass unchanged.
QString FormatIfNumber(const QString& text, int n)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok)
        return text;
    return FormatDecimals(v, n);
}

QString WholeText(double v)
{
    return QString::number(qint64(std::floor(v)));
}

bool LooksLikeDate(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QStringLiteral("年"), QStringLiteral("-")).replace(QStringLiteral("月"), QStringLiteral("-"));
    t.remove(QStringLiteral("日"));
    return t.contains(QLatin1Char('-')) || t.contains(QLatin1Char('/')) ? ParseSqlDate(t).has_value() : false;
}

}  // namespace

void PrintEngine::SetUpPage()
{
    m_pageW = PaperW;
    m_pageH = PaperH;
    if (Porientation == 2)
        std::swap(m_pageW, m_pageH);
    Sorientation = Porientation;
}

void PrintEngine::PrepareSurface(PageSurface& surface) const
{
    surface.setLayout(m_pageW, m_pageH, DesignWidth > 0 ? DesignWidth : m_pageW, LeftMargin, TopMargin);
}

void PrintEngine::PositionOnPage()
{
    const qint64 k = LabMode > 0 ? LabMode + 1 : 1;
    if (CurPage < 1)
        CurPage = 1;
    const qint64 startRow = qint64(CurPage - 1) * PageRows;
    myrs.moveFirst();
    myrs.move(int(std::min<qint64>(startRow * k, myrs.rowCount())));
    CurRcd = startRow;
}

QString PrintEngine::ColumnText(int col) const
{
    const QString name = myrs.columnNames().value(col);
    const QVariant v = myrs.field(col);
    if (!name.contains(QStringLiteral("自动"))) {
        if (myrs.isRealColumn(col) || v.typeId() == QMetaType::Double)
            return NumText(v.isNull() ? 0.0 : v.toDouble());
        return v.isNull() ? QString() : v.toString();
    }
    QString keyword = name;
    keyword.remove(QStringLiteral("自动"));
    keyword = keyword.left(2);
    const QString own = v.isNull() ? QString() : v.toString();
    if (keyword == QStringLiteral("序号"))
        return QString::number(m_rowOnPage);
    const bool arithmetic = keyword == QStringLiteral("加法") || keyword == QStringLiteral("减法") ||
                            keyword == QStringLiteral("乘法") || keyword == QStringLiteral("除法");
    if (arithmetic || keyword == QStringLiteral("连接")) {
        if (own.isEmpty())
            return QString();
        const int amp = own.indexOf(QLatin1Char('&'));
        if (amp < 0)
            throw DbError(-1, QStringLiteral("计算列 %1 的值 %2 没有用 & 分开的两个字段名").arg(name, own));
        const int a = myrs.columnIndex(own.left(amp));
        const int b = myrs.columnIndex(own.mid(amp + 1));
        if (a < 0 || b < 0)
            throw DbError(-1, QStringLiteral("计算列 %1 引用的字段不存在：%2").arg(name, own));
        const QVariant va = myrs.field(a);
        const QVariant vb = myrs.field(b);
        if (keyword == QStringLiteral("连接"))
            return (va.isNull() ? QString() : va.toString()) + QLatin1Char(' ') +
                   (vb.isNull() ? QStringLiteral("0") : vb.toString());
        const double x = va.isNull() ? 0 : Num(va.toString());
        const double y = vb.isNull() ? 0 : Num(vb.toString());
        double r = 0;
        if (keyword == QStringLiteral("加法")) r = x + y;
        else if (keyword == QStringLiteral("减法")) r = x - y;
        else if (keyword == QStringLiteral("乘法")) r = x * y;
        else {
            if (y == 0)
                return QString();
            r = x / y;
        }
        return NumText(RoundToDecimals(r, 5));
    }
    if (keyword == QStringLiteral("价格"))
        return FormatNumber(Num(own), PriceFormat);
    if (keyword == QStringLiteral("金额"))
        return FormatNumber(Num(own), AmountFormat);
    return keyword;
}

QString PrintEngine::FieldDecFormat(const QString& text, const QString& decSlot)
{
    if (decSlot.isEmpty())
        return text;
    const double d = Num(decSlot);
    if (d >= 0)
        return FormatIfNumber(text, int(RoundEven(d)));
    if (d == -2)
        return WholeText(Num(text) * 100);
    if (d == -1)
        return WholeText(Num(text) * 10);
    return text;
}

QString PrintEngine::ItemDecFormat(const QString& text, bool hasDec, int dec)
{
    if (!hasDec)
        return text;
    if (LooksLikeDate(text) && Num(text) != 0)
        return text;
    if (dec >= 0 && dec <= 7)
        return FormatIfNumber(text, dec);
    const QString yuan = QStringLiteral("￥");
    if (dec == -2)
        return text.startsWith(yuan) ? yuan + WholeText(Num(text.mid(1)) * 100) : WholeText(Num(text) * 100);
    if (dec == -1)
        return WholeText(Num(text) * 10);
    return text;
}

QString PrintEngine::EvalVariable(QString& name)
{
    name = name.toUpper();
    if (CurPage > MainPages)
        MainPages = CurPage;
    const QString autoPrefix = QStringLiteral("%AUTO_");
    if (name.startsWith(autoPrefix)) {
        if (name == QStringLiteral("%AUTO_当前页码"))
            return MainPages == 1 ? QString() : QStringLiteral("第 %1 页").arg(CurPage);
        if (name == QStringLiteral("%AUTO_总页数"))
            return MainPages == 1 ? QString() : QStringLiteral("共 %1 页").arg(MainPages);
        if (name == QStringLiteral("%AUTO_页码页数"))
            return MainPages == 1 ? QString() : QStringLiteral("第 %1 页 (共 %2 页)").arg(CurPage).arg(MainPages);
        if (name == QStringLiteral("%AUTO_打印日期"))
            return DateText(QDate::currentDate());
        const QString sumPrefix = QStringLiteral("%AUTO_本页合计_");
        if (name.startsWith(sumPrefix)) {
            const QString n = name.mid(sumPrefix.size());
            bool ok = false;
            const double v = n.toDouble(&ok);
            if (!ok || Num(n) != v || v < 0 || v > 50 || v != std::floor(v))
                return QString();
            if (!PageSumFldStr.contains(QLatin1Char('_') + n + QLatin1Char('_')))
                return QString();
            return m_fieldProps[size_t(v)][SPageSum];
        }
        return QString();
    }
    for (const ItemRow& r : GdM)
        if (r.owner.toUpper() == name && r.key.toUpper() == Value) {
            if (name.startsWith(QLatin1String("SUM")))
                return CurPage == MainPages ? r.value : QString();
            return r.value;
        }
    return QString();
}

void PrintEngine::drawRuleRow(PageSurface& s, int row)
{
    const double y = table.tabTop + table.rcdLineTop + row * table.rowHeight;
    DrawRule(s, table.rcdLineLeft, y, table.rcdLineRight, y, RcdLineH, Qt::black);
}

void PrintEngine::drawField(PageSurface& s, int j, const QString& columnText, double xOffset)
{
    auto& p = m_fieldProps[size_t(j)];
    FieldNumbers& n = m_fieldNumbers[size_t(j)];
    if (!n.placed || n.hide == 1)
        return;
    const double v = n.bold;
    const bool barcode = v >= 2 && v <= 7 && v == std::floor(v);
    const bool bold = v == 1;
    QString text = FieldDecFormat(columnText, p[SDec]);
    if (n.top > 2 * table.rowHeight) {
        p[STop] = QString::number(float(2 * table.rowHeight), 'g', 7);
        n.top = Num(p[STop]);
    }
    if (LabMode > 0 && n.left > DesignWidth / (LabMode + 1))
        return;
    if (AllRcdHide)
        return;
    const double x = n.left + xOffset;
    const double y = table.tabTop + table.rcdTop + m_rowOnPage * table.rowHeight + n.top;
    const QColor colour = Qt::black;
    int size = int(RoundEven(n.fontSize));
    if (barcode) {
        const int iv = int(v);
        DrawCode39(s, text, 1, iv % 2 == 1 ? 1 : 0, x, y, colour, size, iv <= 3 ? 3 : (iv <= 5 ? 4 : 5));
        return;
    }
    QString font = p[SFontName];
    DrawBoxText(s, x, y, size, bold, text, n.right - n.left, 0, int(RoundEven(n.align)), font, colour, n.spac);
}

void PrintEngine::RenderPage(PageSurface& s)
{
    m_layoutFault.clear();
    readFieldProps(m_pageH);
    rebuildFieldNumbers();
    if (!LogoPic.isEmpty() && !LogoHide && LogoBG)
        s.PaintPicture(logoPicture, LogoLeft, LogoTop);

    const bool hasTable = std::any_of(GdM.begin(), GdM.end(), [](const ItemRow& r) { return r.owner == Field; });
    if (m_tableBottom == 0 || table.rowHeight <= 0) {
        if (hasTable && table.rowHeight <= 0)
            m_layoutFault = QStringLiteral("版面中记录行的行高为0，无法排版！") + Para +
                            QStringLiteral("请在“设置记录集”中给记录行设置行高。");
        return;
    }
    // Spread the rest of the table height over the rows, so whole rows fill it.
    const double H = m_tableBottom - table.tabTop;
    const qint64 h = qint64(RoundEven(H));
    const qint64 r = qint64(RoundEven(table.rowHeight));
    const double fit = std::floor(H / table.rowHeight);
    if (r != 0 && fit != 0 && h % r != 0)
        table.rowHeight = float(table.rowHeight + double(h % r) / fit);

    m_rowOnPage = 0;
    int c = LabMode + 1;
    const int cols = myrs.columnCount();
    if (cols > 51 && !myrs.eof())
        throw DbError(-1, QStringLiteral("打印数据的字段超过51个"));
    std::vector<int> summed;
    for (int j = 0; j < std::min(cols, 51); ++j)
        if (PageSumFldStr.contains(QLatin1Char('_') + QString::number(j) + QLatin1Char('_')))
            summed.push_back(j);
    while (!myrs.eof()) {
        double xOffset = 0;
        if (LabMode <= 0 || c > LabMode) {
            ++CurRcd;
            ++m_rowOnPage;
            c = LabMode <= 0 ? 0 : 1;
        } else {
            xOffset = DesignWidth / (LabMode + 1) * c;
            ++c;
        }
        for (int j = 0; j < cols; ++j) {
            const QString text = ColumnText(j);
            if (std::find(summed.begin(), summed.end(), j) != summed.end()) {
                QString& total = m_fieldProps[size_t(j)][SPageSum];
                total = GeneralNumberText(Num(total) + Num(text));
            }
            drawField(s, j, text, xOffset);
        }
        if (table.rcdLineRight > 0 && c < 2 && !AllLineHide)
            drawRuleRow(s, m_rowOnPage);
        myrs.moveNext();
        const float t = float(table.tabTop + table.rcdTop + (m_rowOnPage + 1) * table.rowHeight);
        if (t > float(m_tableBottom) && (LabMode <= 0 || c > LabMode))
            break;
    }

    int R = m_rowOnPage;
    const bool room = float(table.tabTop + table.rcdLineTop + (R + 1) * table.rowHeight) < float(m_tableBottom);
    const bool lastOfSeveral = CurPage == MainPages && MainPages > 1;
    if (!myrs.eof() || !room) {
        m_rowsOnPage = R;
    } else {
        m_rowsOnPage = (lastOfSeveral && R > 1) ? R - 1 : R;
        for (int k = R + 1; float(table.tabTop + table.rcdLineTop + k * table.rowHeight) < float(m_tableBottom); ++k) {
            if (table.rcdLineRight > 0 && !AllLineHide)
                drawRuleRow(s, k);
            R = k;
        }
    }
    if (!(lastOfSeveral && PageRows != 0))
        PageRows = R;
    if (!(CurPage == MainPages && MainPages >= 2)) {
        if (PageRows > 0) {
            MainPages = int((MainRcd + PageRows - 1) / PageRows);
        } else {
            m_layoutFault = QStringLiteral("版面中的记录表放不下一行记录，无法计算页数！") + Para +
                            QStringLiteral("请在“设置记录集”中调整表顶、表底或行高。");
            MainPages = std::max(1, CurPage);
        }
    }
    drawItems(s);
    if (!LogoPic.isEmpty() && !LogoHide && !LogoBG)
        s.PaintPicture(logoPicture, LogoLeft, LogoTop);
}

void PrintEngine::drawItems(PageSurface& s)
{
    struct Pending {
        enum Kind { None, Text, Line } kind = None;
        QString text;
        double left = -1, top = 1, right = 0, bottom = 0, height = 0;
        int fontSize = 10;
        QString fontName = QStringLiteral("宋体");
        int fontBold = 0;
        int align = 0, hide = 0;
        bool hasDec = false;
        int dec = 0;
        double spac = 0;
    } it;
    const auto draw = [this, &s](Pending& p) {
        if (p.kind == Pending::Text) {
            if (p.text.isEmpty() || p.hide == 1 || p.left < 0)
                return;
            const double y = p.top < 0 ? m_pageH + p.top : p.top;
            QString text = ItemDecFormat(p.text, p.hasDec, p.dec);
            const QColor colour = Qt::black;
            if (p.fontBold > 1) {
                const int v = p.fontBold;
                const int show = (v == 2 || v == 4 || v == 6) ? 0 : 1;
                DrawCode39(s, text, 1, show, p.left, y, colour, p.fontSize, v <= 3 ? 3 : (v <= 5 ? 4 : 5));
            } else {
                DrawBoxText(s, p.left, y, p.fontSize, p.fontBold == 1, text, p.right - p.left, p.height, p.align,
                            p.fontName, colour, p.spac);
            }
        } else if (p.kind == Pending::Line) {
            if (p.left < 0 || p.hide == 1 || AllLineHide)
                return;
            const double y1 = p.top < 0 ? m_pageH + p.top : p.top;
            const double y2 = p.bottom < 0 ? m_pageH + p.bottom : p.bottom;
            DrawRule(s, p.left, y1, p.right, y2, p.fontSize, Qt::black);
        }
    };
    for (const ItemRow& r : GdM) {
        if (r.key == Value) {
            draw(it);
            it = Pending();
            if (r.owner == Const) {
                it.kind = Pending::Text;
                const int cut = r.value.indexOf(QStringLiteral("~#"));
                it.text = AllTxtHide ? QString() : (cut >= 1 ? r.value.left(cut) : r.value);
            } else if (r.owner == Line) {
                it.kind = Pending::Line;
                it.top = 0;
                it.fontSize = 1;
            } else if (r.owner == Field) {
                it.kind = Pending::None;
            } else {
                it.kind = Pending::Text;
                QString name = r.owner;
                it.text = AllValHide ? QString() : EvalVariable(name);
            }
            continue;
        }
        if (r.owner == Field || it.kind == Pending::None)
            continue;
        const QString& k = r.key;
        const double whole = std::floor(Num(r.value));
        if (k == QLatin1String("LEFT")) it.left = whole;
        else if (k == QLatin1String("TOP")) it.top = whole;
        else if (k == QLatin1String("RIGHT")) it.right = whole;
        else if (k == QLatin1String("BOTTOM")) it.bottom = whole;
        else if (k == QLatin1String("HEIGHT")) it.height = whole;
        else if (k == QLatin1String("FONTSIZE")) it.fontSize = int(whole);
        else if (k == QLatin1String("FONTNAME")) it.fontName = r.value;
        else if (k == QLatin1String("FONTBOLD")) it.fontBold = int(whole);
        else if (k == QLatin1String("ALIGN")) it.align = int(whole);
        else if (k == QLatin1String("HIDE")) it.hide = int(whole);
        else if (k == QLatin1String("DEC")) { it.hasDec = true; it.dec = int(whole); }
        else if (k == QLatin1String("SPAC")) it.spac = Num(r.value);
    }
    draw(it);
}


void PrintEngine::rebuildFieldNumbers()
{
    // The slots' numbers, read once per page instead of once per cell.
    for (size_t j = 0; j < m_fieldProps.size(); ++j) {
        const auto& p = m_fieldProps[j];
        m_fieldNumbers[j] = {!p[SLeft].isEmpty(), Num(p[SLeft]), Num(p[STop]), Num(p[SRight]), Num(p[SAlign]),
                             Num(p[SFontSize]), Num(p[SHide]), Num(p[SFontBold]), Num(p[SSpac])};
    }
}
