#include "print/TemplateFile.h"

#include "platform/Database.h"
#include "platform/Printing.h"
#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <stdexcept>

using namespace LayoutWord;

namespace {

double RoundEven(double v)
{
    return std::nearbyint(v);
}

void ReadHeader(PrintLayout& l, const QStringList& lines, const QString& pid, bool& pidMismatch)
{
    pidMismatch = false;
    for (const QString& raw : lines) {
        const QString line = PrintLayout::ClearNote(raw);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).toUpper();
        const QString v = line.mid(eq + 1);
        const double n = LayoutNumber(v);
        if (key == QLatin1String("ITEM"))
            return;
        if (key == QLatin1String("VERSION")) {
            l.TemplateVersion = n;
        } else if (key == QLatin1String("PID")) {
            if (v != pid) {
                pidMismatch = true;
                return;
            }
        } else if (key == QLatin1String("PRINTER")) {
            for (const QString& name : Printers().printerNames())
                if (name.compare(v, Qt::CaseInsensitive) == 0) {
                    l.PrinterFromTemplate = name;
                    break;
                }
        } else if (key == QLatin1String("PAPER")) {
            if (!v.isEmpty())
                l.PaperName = v;
        } else if (key == QLatin1String("PRNSQL")) {
            l.PrnSQL = v;
        } else if (key == QLatin1String("PAPERW")) {
            if (n > 0)
                l.PaperW = n;
        } else if (key == QLatin1String("PAPERH")) {
            if (n > 0)
                l.PaperH = n;
        } else if (key == QLatin1String("DESIGNWIDTH")) {
            if (n > 0)
                l.DesignWidth = n;
        } else if (key == QLatin1String("ORIENTATION")) {
            l.Porientation = n == 2 ? 2 : 1;
        } else if (key == QLatin1String("TOPMARGIN")) {
            if (!v.isEmpty())
                l.TopMargin = -n;
        } else if (key == QLatin1String("LEFTMARGIN")) {
            if (!v.isEmpty())
                l.LeftMargin = -n;
        } else if (key == QLatin1String("LOGOPIC")) {
            l.LogoPic = l.LoadLogoPIC(v);
        } else if (key == QLatin1String("LOGOLEFT")) {
            l.LogoLeft = n;
        } else if (key == QLatin1String("LOGOTOP")) {
            l.LogoTop = n;
        } else if (key == QLatin1String("LOGOHIDE")) {
            l.LogoHide = v == QLatin1String("1");
        } else if (key == QLatin1String("LOGOBG")) {
            l.LogoBG = v == QLatin1String("1");
        } else if (key == QLatin1String("LABMODE")) {
            if (std::abs(RoundEven(n)) > 32767)
                throw std::runtime_error("LABMODE");
            l.LabMode = int(RoundEven(n));
        } else if (key == QLatin1String("LINEHIDE")) {
            l.AllLineHide = v == QLatin1String("1");
        } else if (key == QLatin1String("TEXTHIDE")) {
            l.AllTxtHide = v == QLatin1String("1");
        } else if (key == QLatin1String("RCDLINEH")) {
            if (std::abs(RoundEven(n)) > 32767)
                throw std::runtime_error("RCDLINEH");
            l.RcdLineH = int(RoundEven(n));
        }
    }
}

void ReadItems(PrintLayout& l, const QStringList& lines)
{
    QString current;  // a column number, "LINE", "常量", "END" or a variable's name
    bool currentIsField = false;
    int currentColumn = -1;
    int unnamedLines = 0;
    for (const QString& raw : lines) {
        const QString note = PrintLayout::GetNote(raw);
        const QString line = PrintLayout::ClearNote(raw);
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? QString() : line.left(eq).toUpper();
        const QString v = eq < 0 ? QString() : line.mid(eq + 1);
        if (key.isEmpty() && eq < 0)
            continue;
        if (key == QLatin1String("ITEM")) {
            currentIsField = false;
            if (v.startsWith(QLatin1Char('@'))) {
                const QString rest = v.mid(1);
                const double n = LayoutNumber(rest);
                if (!rest.isEmpty() && ShortNumber(n) == rest) {
                    currentColumn = int(std::floor(n));
                    currentIsField = true;
                    current = QString::number(currentColumn);
                    l.GdM.push_back({Field, Value, current});
                } else if (rest == Line) {
                    current = Line;
                    const QString name = note.isEmpty() ? QStringLiteral("线") + QString::number(++unnamedLines) : note;
                    l.GdM.push_back({Line, Value, name});
                } else {
                    current = rest;  // "END" or a variable's name
                }
            } else {
                current = Const;
                l.GdM.push_back({Const, Value, v});
            }
            continue;
        }
        const bool table = IsTableKey(key);
        if (!IsPropertyKey(key) && !table)
            continue;
        const bool textValue = key == QLatin1String("FONTNAME") || key == QLatin1String("FONTBOLD");
        const QString stored = textValue ? v : QString::number(LayoutWholePart(v));
        if (currentIsField) {
            if (currentColumn < 0 || currentColumn > 50)
                throw std::runtime_error("record-set column out of range");
            if (key == QLatin1String("TOP") && l.TemplateVersion <= 4)
                continue;
            if (key == QLatin1String("BOTTOM"))
                continue;
            if (table) {
                if (currentColumn != 0)
                    continue;
                l.table.set(key, LayoutNumber(v));
            } else {
                const int slot = PrintLayout::SlotOf(key);
                if (slot >= 0)
                    l.fieldProps()[size_t(currentColumn)][size_t(slot)] =
                        (key == QLatin1String("DEC") || key == QLatin1String("SPAC")) ? ShortNumber(LayoutNumber(v))
                                                                                       : v;
            }
            l.GdM.push_back({Field, key, stored});
            continue;
        }
        if (table)
            continue;
        l.SetItemProperty(current, {current, key, stored});
    }
}

}  // namespace

namespace TemplateFile {

bool ReadFile(const QString& path, QStringList& lines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return false;
    QStringDecoder decode("GB18030");
    const QString text = decode(bytes);
    lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return true;
}

bool ReadLines(PrintLayout& layout, const QStringList& lines, const QString& pid)
{
    bool mismatch = false;
    ReadHeader(layout, lines, pid, mismatch);
    if (mismatch)
        return false;
    if (layout.DesignWidth == 0)
        layout.DesignWidth = layout.Porientation == 1 ? layout.PaperW : layout.PaperH;
    if (layout.DesignWidth == 0)
        layout.DesignWidth = 210;
    for (auto& line : layout.fieldProps())
        line.fill(QString());
    for (const char* name : {"%AUTO_总页数", "%AUTO_当前页码", "%AUTO_页码页数", "%AUTO_打印日期"})
        layout.GdM.push_back({QString::fromUtf8(name), Value, QStringLiteral("自动")});
    ReadItems(layout, lines);
    return true;
}

QStringList Lines(const PrintLayout& l)
{
    QStringList out;
    out << QStringLiteral("PRNSQL=") + l.PrnSQL << QStringLiteral("PAPER=") + l.PaperName
        << QStringLiteral("DESIGNWIDTH=") + ShortNumber(l.DesignWidth) << QStringLiteral("PAPERW=") + ShortNumber(l.PaperW)
        << QStringLiteral("PAPERH=") + ShortNumber(l.PaperH)
        << QStringLiteral("ORIENTATION=") + QString::number(l.Porientation)
        << QStringLiteral("TOPMARGIN=") + ShortNumber(-l.TopMargin)
        << QStringLiteral("LEFTMARGIN=") + ShortNumber(-l.LeftMargin);
    const auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    if (!l.LogoPic.isEmpty())
        out << QStringLiteral("LOGOPIC=") + l.LogoPic << QStringLiteral("LOGOLEFT=") + ShortNumber(l.LogoLeft)
            << QStringLiteral("LOGOTOP=") + ShortNumber(l.LogoTop) << QStringLiteral("LOGOHIDE=") + flag(l.LogoHide)
            << QStringLiteral("LOGOBG=") + flag(l.LogoBG);
    out << QStringLiteral("LABMODE=") + QString::number(l.LabMode) << QStringLiteral("LINEHIDE=") + flag(l.AllLineHide)
        << QStringLiteral("TEXTHIDE=") + flag(l.AllTxtHide) << QStringLiteral("RCDLINEH=") + QString::number(l.RcdLineH)
        << QStringLiteral("VERSION=5.0");
    for (const ItemRow& r : l.GdM) {
        if (r.key != Value)
            out << r.key + QLatin1Char('=') + r.value;
        else if (r.owner == Const)
            out << QStringLiteral("ITEM=") + r.value;
        else if (r.owner == Line)
            out << QStringLiteral("ITEM=@LINE//;;") + r.value;
        else if (r.owner == Field)
            out << QStringLiteral("ITEM=@") + r.value;
        else
            out << QStringLiteral("ITEM=@") + r.owner;
    }
    out << QStringLiteral("ITEM=@END");
    return out;
}

QString Save(const PrintLayout& layout, const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("没有可保存的打印模版文件，请在打印设置中设置打印模版文件！");
    QStringEncoder encode("GB18030");
    QByteArray bytes;
    for (const QString& line : Lines(layout))
        bytes += encode(line) + "\r\n";
    try {
        // The new template and the copy of the old one are written whole
        // under hidden names first; the old copy takes "_OLD" before the new
        // template takes the real name, so a stop at any moment leaves the
        // previous template or the new one, never half of either.
        PartialFile fresh(path);
        QFile out(fresh.path());
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush())
            throw DbError(-1, out.errorString(), DbError::Kind::NoAccess);
        out.close();
        if (QFileInfo::exists(path)) {
            PartialFile old(path + QStringLiteral("_OLD"));
            QFile::remove(old.path());
            if (!QFile::copy(path, old.path()))
                throw DbError(-1, QStringLiteral("无法复制原模版文件"), DbError::Kind::NoAccess);
            old.commit(true);
        }
        fresh.commit(true);
    } catch (const DbError& e) {
        return QStringLiteral("无法写入打印模版文件[%1]：%2").arg(path, e.description());
    }
    return QString();
}

}  // namespace TemplateFile
