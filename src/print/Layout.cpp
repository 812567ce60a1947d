#include "print/Layout.h"

#include "core/Files.h"
#include "core/Rounding.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <cmath>

using namespace LayoutWord;

namespace {

const QString NoteMark = QStringLiteral("//;;");

}  // namespace

// Plain numbers (the usual case, read for every cell of every page) are
// converted directly; anything else goes through the general reader.
double LayoutNumber(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool plain = true;
    for (const QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-')) {
            plain = false;
            break;
        }
    if (plain) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (ok)
            return v;
    }
    return LeadingNumber(text);
}

qint64 LayoutWholePart(const QString& text)
{
    return qint64(std::floor(LayoutNumber(text)));
}

QString ShortNumber(double v)
{
    return QString::number(v, 'g', 15);
}

bool IsPropertyKey(const QString& key)
{
    static const QStringList keys = {"LEFT", "TOP", "RIGHT", "BOTTOM", "HEIGHT", "FONTSIZE", "FONTNAME",
                                     "FONTBOLD", "ALIGN", "HIDE", "DEC", "SPAC"};
    return keys.contains(key);
}

bool IsTableKey(const QString& key)
{
    static const QStringList keys = {"TABTOP", "TABBTM", "ROWHEIGHT", "RCDTOP", "RCDLINETOP", "RCDLINELEFT",
                                     "RCDLINERIGHT"};
    return keys.contains(key);
}

void TableGeometry::set(const QString& key, double v)
{
    if (key == QLatin1String("TABTOP")) tabTop = v;
    else if (key == QLatin1String("TABBTM")) tabBtm = v;
    else if (key == QLatin1String("ROWHEIGHT")) rowHeight = v;
    else if (key == QLatin1String("RCDTOP")) rcdTop = v;
    else if (key == QLatin1String("RCDLINETOP")) rcdLineTop = v;
    else if (key == QLatin1String("RCDLINELEFT")) rcdLineLeft = v;
    else if (key == QLatin1String("RCDLINERIGHT")) rcdLineRight = v;
}

int PrintLayout::SlotOf(const QString& key)
{
    static const QStringList keys = {"LEFT", "TOP", "RIGHT", "ALIGN", "FONTSIZE", "FONTNAME",
                                     "HIDE", "HEIGHT", "",      "FONTBOLD", "DEC", "SPAC"};
    return key.isEmpty() ? -1 : keys.indexOf(key);
}

void PrintLayout::startNamedValues(const QString& companyName)
{
    GdM.clear();
    GdM.push_back({QStringLiteral("RegName"), Value, companyName});
}

void PrintLayout::addNamedValue(const QString& name, const QString& value)
{
    GdM.push_back({name, Value, value});
}

QString PrintLayout::ClearNote(const QString& text)
{
    const int at = text.indexOf(NoteMark);
    return at < 0 ? text : text.left(at);
}

QString PrintLayout::GetNote(const QString& text)
{
    const int at = text.indexOf(NoteMark);
    return at < 0 ? QString() : text.mid(at + NoteMark.size());
}

int PrintLayout::SeekDdLine(int which)
{
    const auto seek = [this](const QString& name, const QString& oldName) {
        const int last = int(GdM.size()) - 1;
        for (int r = 0; r < last; ++r)
            if (GdM[r].owner == Line && GdM[r].key == Value && GdM[r].value == name)
                return r;
        for (int r = 0; r <= last; ++r)
            if (GdM[r].owner == Line && GdM[r].key == Value && GdM[r].value == oldName) {
                GdM[r].value = name;
                return r < last ? r : -1;
            }
        return -1;
    };
    if (which == 0 || which == 1) {
        const int top = seek(TopFrame, QStringLiteral("上框线"));
        if (which == 1)
            return top;
    }
    if (which == 0 || which == -1) {
        const int bottom = seek(BottomFrame, QStringLiteral("下框线"));
        return which == -1 ? bottom : 0;
    }
    return 0;
}

void PrintLayout::SetItemProperty(const QString& name, const ItemRow& row)
{
    if (name == Const || name == Line || name == Field) {
        GdM.push_back(row);
        return;
    }
    const QString upper = name.toUpper();
    for (size_t r = 0; r < GdM.size(); ++r)
        if (GdM[r].owner.toUpper() == upper) {
            GdM.insert(GdM.begin() + qsizetype(r) + 1, row);
            return;
        }
}

QString PrintLayout::LoadLogoPIC(const QString& fileName)
{
    const QString path = LogopicPath + fileName;
    if (fileName.isEmpty() || FileExists(path).isEmpty())
        return QString();
    QImage picture;
    if (!picture.load(path))
        return QString();
    logoPicture = picture;
    return fileName;
}

void PrintLayout::readFieldProps(double pageHeight)
{
    for (auto& line : m_fieldProps)
        line.fill(QString());
    int n = 0;
    for (const ItemRow& r : GdM) {
        if (r.owner != Field)
            continue;
        if (r.key == Value) {
            n = int(LayoutWholePart(r.value));
            continue;
        }
        if (IsTableKey(r.key)) {
            table.set(r.key, LayoutNumber(r.value));
            if (r.key == QLatin1String("TABBTM"))
                m_tableBottom = table.tabBtm > 0 ? table.tabBtm : pageHeight + table.tabBtm;
            continue;
        }
        const int slot = SlotOf(r.key);
        if (slot < 0)
            continue;
        if (n < 0 || n > 50)
            throw DbError(-1, QStringLiteral("记录集字段编号 %1 超出范围 0-50").arg(n));
        m_fieldProps[size_t(n)][size_t(slot)] = r.value;
    }
}

int PrintLayout::itemEnd(int row) const
{
    int r = row + 1;
    while (r < int(GdM.size()) && GdM[size_t(r)].key != Value)
        ++r;
    return r;
}
