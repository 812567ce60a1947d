#include "print/tools/TemplateBuilder.h"

#include "print/TemplateFile.h"

#include <QHash>
#include <cmath>

using namespace LayoutWord;

namespace PrintTemplate {

namespace {

constexpr int Margin = 10;  // left and top margins
// Places below the table are counted from the page bottom; the engine adds
// the top margin to them, so the page-number line sits this far up plus
// the top margin's shift.
constexpr int BottomZone = 22;
constexpr int LineStep = 7;           // one line of labelled values
constexpr int CaptionLabelWidth = 22; // a label that is itself a named value

const QString Face = QStringLiteral("宋体");

// Width of a text at a font size, in millimetres: a Chinese character is as
// wide as the font is high, a Latin one about half as wide.
double TextWidth(const QString& text, int size)
{
    double em = 0;
    for (const QChar c : text)
        em += c.unicode() < 0x2E80 ? 0.55 : 1.0;
    return em * size * 0.3528;
}

QString Int(double v)
{
    return QString::number(qint64(std::lround(v)));
}

class Builder {
public:
    explicit Builder(const Spec& spec)
        : s(spec)
    {
        l.PaperName = s.paper;
        l.PaperW = s.paperW;
        l.PaperH = s.paperH;
        l.Porientation = s.landscape ? 2 : 1;
        l.DesignWidth = s.landscape ? s.paperH : s.paperW;
        l.TopMargin = -Margin;
        l.LeftMargin = -Margin;
        width = int(l.DesignWidth) - 2 * Margin;
    }

    PrintLayout build()
    {
        variable(QStringLiteral("RegName"), 0, 0, width, 16, true, Centre);
        variable(QStringLiteral("Caption"), 0, 8, width, 14, true, Centre);
        int y = 17;
        for (const QVector<Value>& line : s.head) {
            values(line, y);
            y += LineStep;
        }
        const int footTop = -(BottomZone + int(s.foot.size()) * LineStep + 2);
        table(y + 1, footTop);
        int fy = footTop + 2;
        for (const QVector<Value>& line : s.foot) {
            values(line, fy);
            fy += LineStep;
        }
        variable(QStringLiteral("%AUTO_页码页数"), 0, -BottomZone + 2, width, 9, false, Centre);
        if (s.printDate) {
            constant(QStringLiteral("打印日期："), width - 48, -BottomZone + 2, width - 26, 9, false, Right);
            variable(QStringLiteral("%AUTO_打印日期"), width - 26, -BottomZone + 2, width, 9, false, Left);
        }
        return l;
    }

private:
    void props(const QString& owner, int left, int top, int right, int size, bool bold, Align align)
    {
        add(owner, "LEFT", Int(left));
        add(owner, "TOP", Int(top));
        add(owner, "RIGHT", Int(right));
        add(owner, "HEIGHT", QStringLiteral("0"));
        add(owner, "FONTSIZE", Int(size));
        add(owner, "FONTNAME", Face);
        add(owner, "FONTBOLD", bold ? QStringLiteral("1") : QStringLiteral("0"));
        add(owner, "ALIGN", Int(align));
    }

    void add(const QString& owner, const char* key, const QString& value)
    {
        l.GdM.push_back({owner, QString::fromLatin1(key), value});
    }

    void constant(const QString& text, int left, int top, int right, int size, bool bold, Align align)
    {
        // Equal texts are kept apart the way the designer keeps them apart.
        const int seen = constants[text]++;
        l.GdM.push_back({Const, LayoutWord::Value, seen == 0 ? text : text + QStringLiteral("~#") + QString::number(seen)});
        props(Const, left, top, right, size, bold, align);
    }

    void variable(const QString& name, int left, int top, int right, int size, bool bold, Align align)
    {
        l.GdM.push_back({name, LayoutWord::Value, QString()});
        props(name, left, top, right, size, bold, align);
    }

    // A heading: a constant, or a named value when it begins with "@".
    void text(const QString& t, int left, int top, int right, int size, bool bold, Align align)
    {
        if (t.isEmpty())
            return;
        if (t.startsWith(QLatin1Char('@')))
            variable(t.mid(1), left, top, right, size, bold, align);
        else
            constant(t, left, top, right, size, bold, align);
    }

    void line(const QString& name, int x1, int y1, int x2, int y2)
    {
        l.GdM.push_back({Line, LayoutWord::Value, name.isEmpty() ? QStringLiteral("线%1").arg(++lines) : name});
        add(Line, "LEFT", Int(x1));
        add(Line, "TOP", Int(y1));
        add(Line, "RIGHT", Int(x2));
        add(Line, "BOTTOM", Int(y2));
        add(Line, "FONTSIZE", QStringLiteral("1"));
    }

    void values(const QVector<Value>& line, int y)
    {
        double total = 0;
        for (const Value& v : line)
            total += v.share;
        double x = 0;
        for (const Value& v : line) {
            const double cell = width * v.share / total;
            int labelEnd = int(std::lround(x));
            if (v.label.startsWith(QLatin1Char('@'))) {
                labelEnd += CaptionLabelWidth;
                variable(v.label.mid(1), int(std::lround(x)), y, labelEnd, s.fontSize, false, Right);
            } else if (!v.label.isEmpty()) {
                labelEnd += int(std::ceil(TextWidth(v.label, s.fontSize))) + 1;
                constant(v.label, int(std::lround(x)), y, labelEnd, s.fontSize, false, Left);
            }
            variable(v.name, labelEnd, y, int(std::lround(x + cell)) - 2, s.fontSize, false, Left);
            x += cell;
        }
    }

    void table(int top, int bottom)
    {
        const int groupHeight = s.groups.isEmpty() ? 0 : 6;
        const int headingHeight = 7;
        const int rowHeight = s.fontSize >= 10 ? 7 : 6;
        const int firstRow = top + groupHeight + headingHeight;

        double total = 0;
        for (const Column& c : s.columns)
            total += c.weight;
        QVector<int> edges{0};
        double x = 0;
        for (const Column& c : s.columns) {
            x += width * c.weight / total;
            edges << int(std::lround(x));
        }

        line(TopFrame, 0, top, width, top);
        line(QString(), 0, firstRow, width, firstRow);
        line(BottomFrame, 0, bottom, width, bottom);
        for (int i = 0; i < edges.size(); ++i) {
            // A boundary inside a group starts below the group's heading.
            bool inside = false;
            for (const Group& g : s.groups)
                inside = inside || (i > g.first && i <= g.last);
            line(QString(), edges[i], inside ? top + groupHeight : top, edges[i], bottom);
        }
        for (const Group& g : s.groups) {
            text(g.text, edges[g.first], top + 1, edges[g.last + 1], s.fontSize, true, Centre);
            line(QString(), edges[g.first], top + groupHeight, edges[g.last + 1], top + groupHeight);
        }
        for (int i = 0; i < s.columns.size(); ++i)
            text(s.columns[i].heading, edges[i] + 1, top + groupHeight + 1, edges[i + 1] - 1, s.fontSize, true, Centre);

        // Field 0 carries the record table, placed or not.
        bool zeroPlaced = false;
        for (int i = 0; i < s.columns.size(); ++i) {
            const Column& c = s.columns[i];
            l.GdM.push_back({Field, LayoutWord::Value, QString::number(c.field)});
            add(Field, "LEFT", Int(edges[i] + 1));
            add(Field, "TOP", QStringLiteral("0"));
            add(Field, "RIGHT", Int(edges[i + 1] - 1));
            add(Field, "FONTSIZE", Int(s.fontSize));
            add(Field, "FONTNAME", Face);
            add(Field, "ALIGN", Int(c.align));
            if (c.dec >= 0)
                add(Field, "DEC", Int(c.dec));
            if (c.field == 0) {
                tableKeys(firstRow, bottom, rowHeight);
                zeroPlaced = true;
            }
        }
        if (!zeroPlaced) {
            l.GdM.push_back({Field, LayoutWord::Value, QStringLiteral("0")});
            tableKeys(firstRow, bottom, rowHeight);
        }
    }

    void tableKeys(int firstRow, int bottom, int rowHeight)
    {
        // Record row k (from 1) is drawn at TABTOP + RCDTOP + k x ROWHEIGHT.
        add(Field, "TABTOP", Int(firstRow - rowHeight));
        add(Field, "TABBTM", Int(bottom));
        add(Field, "ROWHEIGHT", Int(rowHeight));
        add(Field, "RCDTOP", QStringLiteral("1"));
        add(Field, "RCDLINETOP", Int(rowHeight));
        add(Field, "RCDLINELEFT", QStringLiteral("0"));
        add(Field, "RCDLINERIGHT", Int(width));
    }

    const Spec& s;
    PrintLayout l;
    int width = 190;
    int lines = 0;
    QHash<QString, int> constants;
};

}  // namespace

PrintLayout Build(const Spec& spec)
{
    return Builder(spec).build();
}

QStringList Lines(const Spec& spec)
{
    QStringList lines = TemplateFile::Lines(Build(spec));
    // A template's query line would replace the query its print hands over.
    lines.removeIf([](const QString& l) { return l.startsWith(QLatin1String("PRNSQL=")); });
    if (!spec.pid.isEmpty())
        lines.insert(int(lines.indexOf(QStringLiteral("VERSION=5.0"))), QStringLiteral("PID=") + spec.pid);
    return lines;
}

}  // namespace PrintTemplate
