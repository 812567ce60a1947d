#include "print/Primitives.h"

#include "platform/Messages.h"
#include "platform/Printing.h"
#include "print/PageSurface.h"

#include <QFontDatabase>
#include <cmath>

namespace {

const QString DefaultFontName = QStringLiteral("宋体");

// Code 39 characters in the order of their values 0..43, "*" last.
const QString Code39Chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
const char* const Code39Patterns[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101",
    "100100100", "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000",
    "000001101", "100001100", "001001100", "000011100", "100000011", "001000011", "101000010", "000010011",
    "100010010", "001010010", "000000111", "100000110", "001000110", "000010110", "110000001", "011000001",
    "111000000", "010010001", "110010000", "011010000", "010000101", "110000100", "011000100", "010101000",
    "010100010", "010001010", "000101010", "010010100"};

// Rounds to the nearest whole number, an exact half to the even neighbour.
double RoundEven(double v)
{
    return std::nearbyint(v);
}

// Draws one line of characters one by one from `x`, each next one spacing further.
void PrintSpaced(PageSurface& s, const QString& line, double x, double y, double spacing)
{
    double cx = x;
    for (const QChar ch : line) {
        s.CurrentX = cx;
        s.CurrentY = y;
        const double w = s.TextWidth(QString(ch));
        s.Print(QString(ch));
        cx += w + spacing;
    }
}

double Extent(PageSurface& s, const QString& text, double spacing)
{
    return s.TextWidth(text) + (text.size() - 1) * spacing;
}

}  // namespace

void SetFontNameSafe(PageSurface& surface, const QString& fontName)
{
    if (fontName.isEmpty())
        return;
    // A family the system does not know leaves the font that was set before.
    // Asking the font database is slow, and every text of a page asks.
    static QHash<QString, bool> known;
    auto it = known.constFind(fontName);
    if (it == known.constEnd())
        it = known.insert(fontName, fontName == DefaultFontName || QFontDatabase::hasFamily(fontName));
    if (*it)
        surface.FontName = fontName;
}

int DrawBoxText(PageSurface& s, double x, double y, int& fontSize, bool bold, QString& text, double boxWidth,
                double lineHeight, int align, QString& fontName, const QColor& colour, double spacing)
{
    if (lineHeight == 0) {
        text.remove(QLatin1Char('\r'));
        text.remove(QLatin1Char('\n'));
    }
    if (fontName.isEmpty())
        fontName = DefaultFontName;
    s.FontName = DefaultFontName;
    s.ForeColor = colour;
    SetFontNameSafe(s, fontName);
    s.CurrentX = x;
    s.CurrentY = y;
    s.FontBold = bold;
    if (fontSize == 0)
        fontSize = 10;
    s.FontSize = fontSize;
    if (text.trimmed().isEmpty())
        return 0;

    int n = 0;
    QString rest = text;
    const bool spaced = spacing > 0;
    while (!rest.isEmpty()) {
        ++n;
        const double rowY = y + (n - 1) * lineHeight;
        const double width = spaced ? Extent(s, rest, spacing) : s.TextWidth(rest);
        if (boxWidth > 0 && width > boxWidth) {
            // The longest prefix that fits by its own width; one character always goes.
            QString p = rest;
            while (p.size() > 1 && s.TextWidth(p) > boxWidth)
                p.chop(1);
            if (spaced) {
                PrintSpaced(s, p, x, rowY, spacing);
            } else {
                s.CurrentX = x;
                s.CurrentY = rowY;
                s.Print(p);
            }
            rest = rest.mid(p.size());
            if (lineHeight > 0)
                continue;
            break;
        }
        // The last line: aligned when the box has room to spare.
        if (!spaced) {
            double sx = x;
            if (boxWidth > width) {
                if (align == 1)
                    sx = x + boxWidth - width;
                else if (align == 2)
                    sx = x + (boxWidth - width) / 2;
            }
            s.CurrentX = sx;
            s.CurrentY = rowY;
            s.Print(rest);
        } else if (boxWidth > width && align == 1) {
            // Right to left: the last character ends exactly at the box's right edge.
            double next = x + boxWidth;
            for (int i = rest.size() - 1; i >= 0; --i) {
                const QString ch(rest[i]);
                const double w = s.TextWidth(ch);
                const double at = (i == rest.size() - 1) ? next - w : next - spacing - w;
                s.CurrentX = at;
                s.CurrentY = rowY;
                s.Print(ch);
                next = at;
            }
        } else {
            const double sx = (boxWidth > width && align == 2) ? x + (boxWidth - width) / 2 : x;
            PrintSpaced(s, rest, sx, rowY, spacing);
        }
        break;
    }
    return n;
}

void DrawRule(PageSurface& s, double x1, double y1, double x2, double y2, int penWidth, const QColor& colour)
{
    s.ForeColor = colour;
    s.DrawWidth = penWidth;
    s.Line(x1, y1, x2, y2);
}

QString Code39Pattern(QChar c)
{
    const int v = Code39Chars.indexOf(c);
    return v < 0 ? QString() : QString::fromLatin1(Code39Patterns[v]);
}

void DrawCode39(PageSurface& s, const QString& text, int spaceExtra, int showText, double x, double y,
                const QColor& colour, int textSize, int heightClass)
{
    s.ForeColor = colour;
    s.FontBold = false;
    const int h = std::clamp(heightClass, 3, 5);
    const double g = s.dotsPerMm();
    const QPointF origin = s.toDevice(x, y);
    const double x0 = origin.x();
    const double y0 = origin.y();
    // The narrow module: 3.7 per millimetre on fine devices, one pixel on the screen.
    const double m = g > 5 ? g / 3.7 : 1.0;
    double pen = s.DrawWidth;
    if (g > 5)
        pen = std::max(1.0, std::floor(m));
    if (text.isEmpty())
        return;

    const QString u = text.toUpper();
    for (const QChar ch : u) {
        if (ch == QLatin1Char('*') || Code39Pattern(ch).isEmpty()) {
            s.FontSize = textSize;
            s.CurrentX = x;
            s.CurrentY = y;
            s.Print(QLatin1Char('#') + u);
            return;
        }
    }
    const int r = spaceExtra;
    if (showText == 1) {
        s.FontSize = textSize;
        s.deviceText(x0 + 20 * m + u.size() * (2 * r + 5) * m, y0 + 10 * h * m, u);
    }
    const QString symbol = QLatin1Char('*') + u + QLatin1Char('*');
    const double barBottom = y0 + m * (10 * h + 8) - 8 * m * showText;
    double a = 2;
    for (const QChar ch : symbol) {
        const QString pattern = Code39Pattern(ch);
        for (int e = 0; e < 9; ++e) {
            const int d = pattern[e] == QLatin1Char('1') ? 1 : 0;
            if (e % 2 == 0) {
                for (int k = 0; k < 2 * d + 1; ++k) {
                    s.deviceLine(x0 + a, y0 + 1, x0 + a, barBottom, pen);
                    a = RoundEven(a + m);
                }
            } else {
                a = RoundEven(a + m + 2 * d * m + r * m);
            }
        }
        a = RoundEven(a + m + r);
    }
}

bool NoPrinter(int showMessage)
{
    if (!Printers().printerNames().isEmpty())
        return false;
    if (showMessage == 1)
        MsgBox(QStringLiteral("对不起,这台电脑没有安装打印机"));
    return true;
}
