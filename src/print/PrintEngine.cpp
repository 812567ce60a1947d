#include "print/PrintEngine.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Printing.h"
#include "platform/SqlFunctions.h"
#include "print/PageSurface.h"
#include "print/Primitives.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <stdexcept>

namespace {

const QString Value = QStringLiteral("VALUE");
const QString FieldWord = QStringLiteral("字段");
const QString ConstWord = QStringLiteral("常量");
const QString LineWord = QStringLiteral("LINE");
const QString NoteMark = QStringLiteral("//;;");
const QString Para = QStringLiteral("\n\n");

// The number a text begins with. Plain numbers (the usual case, read for
// every cell of every page) are converted directly; anything else goes
// through the general reader.
double Num(const QString& text)
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

// The whole part of a text's leading number, rounded down.
qint64 WholePart(const QString& text)
{
    return qint64(std::floor(Num(text)));
}

double RoundEven(double v)
{
    return std::nearbyint(v);
}

// Shortest decimal text of a number (210, 5.5, 241.3).
QString ShortNumber(double v)
{
    return QString::number(v, 'g', 15);
}

// Keys that item property lines may carry.
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

// FieldProps slot of a property key, -1 for none.
int SlotOf(const QString& key)
{
    static const QStringList keys = {"LEFT", "TOP", "RIGHT", "ALIGN", "FONTSIZE", "FONTNAME",
                                     "HIDE", "HEIGHT", "",      "FONTBOLD", "DEC", "SPAC"};
    return key.isEmpty() ? -1 : keys.indexOf(key);
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

PrintEngine::PrintEngine() = default;

// ------------------------------------------------------------- item table

void PrintEngine::startNamedValues(const QString& companyName)
{
    GdM.clear();
    GdM.push_back({QStringLiteral("RegName"), Value, companyName});
}

void PrintEngine::addNamedValue(const QString& name, const QString& value)
{
    GdM.push_back({name, Value, value});
}

QString PrintEngine::ClearNote(const QString& text)
{
    const int at = text.indexOf(NoteMark);
    return at < 0 ? text : text.left(at);
}

QString PrintEngine::GetNote(const QString& text)
{
    const int at = text.indexOf(NoteMark);
    return at < 0 ? QString() : text.mid(at + NoteMark.size());
}

int PrintEngine::SeekDdLine(int which)
{
    const auto seek = [this](const QString& name, const QString& oldName) {
        const int last = int(GdM.size()) - 1;
        for (int r = 0; r < last; ++r)
            if (GdM[r].owner == LineWord && GdM[r].key == Value && GdM[r].value == name)
                return r;
        for (int r = 0; r <= last; ++r)
            if (GdM[r].owner == LineWord && GdM[r].key == Value && GdM[r].value == oldName) {
                GdM[r].value = name;
                return r < last ? r : -1;
            }
        return -1;
    };
    if (which == 0 || which == 1) {
        const int top = seek(QStringLiteral("顶框线"), QStringLiteral("上框线"));
        if (which == 1)
            return top;
    }
    if (which == 0 || which == -1) {
        const int bottom = seek(QStringLiteral("底框线"), QStringLiteral("下框线"));
        return which == -1 ? bottom : 0;
    }
    return 0;
}

void PrintEngine::SetItemProperty(const QString& name, const ItemRow& row)
{
    if (name == ConstWord || name == LineWord || name == FieldWord) {
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

// ---------------------------------------------------------- template file

bool PrintEngine::ReadTemplateFile(const QString& path, QStringList& lines)
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

void PrintEngine::readHeader(const QStringList& lines, bool& pidMismatch)
{
    pidMismatch = false;
    for (const QString& raw : lines) {
        const QString line = ClearNote(raw);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).toUpper();
        const QString v = line.mid(eq + 1);
        if (key == QLatin1String("ITEM"))
            return;
        if (key == QLatin1String("VERSION")) {
            m_templateVersion = Num(v);
        } else if (key == QLatin1String("PID")) {
            if (v != Pid) {
                pidMismatch = true;
                return;
            }
        } else if (key == QLatin1String("PRINTER")) {
            for (const QString& name : Printers().printerNames())
                if (name.compare(v, Qt::CaseInsensitive) == 0) {
                    m_printerFromTemplate = name;
                    break;
                }
        } else if (key == QLatin1String("PAPER")) {
            if (!v.isEmpty())
                PaperName = v;
        } else if (key == QLatin1String("PRNSQL")) {
            PrnSQL = v;
        } else if (key == QLatin1String("PAPERW")) {
            if (Num(v) > 0)
                PaperW = Num(v);
        } else if (key == QLatin1String("PAPERH")) {
            if (Num(v) > 0)
                PaperH = Num(v);
        } else if (key == QLatin1String("DESIGNWIDTH")) {
            if (Num(v) > 0)
                DesignWidth = Num(v);
        } else if (key == QLatin1String("ORIENTATION")) {
            Porientation = Num(v) == 2 ? 2 : 1;
        } else if (key == QLatin1String("TOPMARGIN")) {
            if (!v.isEmpty())
                TopMargin = -Num(v);
        } else if (key == QLatin1String("LEFTMARGIN")) {
            if (!v.isEmpty())
                LeftMargin = -Num(v);
        } else if (key == QLatin1String("LOGOPIC")) {
            LogoPic = LoadLogoPIC(v);
        } else if (key == QLatin1String("LOGOLEFT")) {
            LogoLeft = Num(v);
        } else if (key == QLatin1String("LOGOTOP")) {
            LogoTop = Num(v);
        } else if (key == QLatin1String("LOGOHIDE")) {
            LogoHide = v == QLatin1String("1");
        } else if (key == QLatin1String("LOGOBG")) {
            LogoBG = v == QLatin1String("1");
        } else if (key == QLatin1String("LABMODE")) {
            const double n = RoundEven(Num(v));
            if (std::abs(n) > 32767)
                throw std::runtime_error("LABMODE");
            LabMode = int(n);
        } else if (key == QLatin1String("LINEHIDE")) {
            AllLineHide = v == QLatin1String("1");
        } else if (key == QLatin1String("TEXTHIDE")) {
            AllTxtHide = v == QLatin1String("1");
        } else if (key == QLatin1String("RCDLINEH")) {
            const double n = RoundEven(Num(v));
            if (std::abs(n) > 32767)
                throw std::runtime_error("RCDLINEH");
            m_rcdLineH = int(n);
        }
    }
}

void PrintEngine::setTableGeometry(const QString& key, double v)
{
    if (key == QLatin1String("TABTOP")) m_tabTop = v;
    else if (key == QLatin1String("TABBTM")) m_tabBtm = v;
    else if (key == QLatin1String("ROWHEIGHT")) m_rowHeight = v;
    else if (key == QLatin1String("RCDTOP")) m_rcdTop = v;
    else if (key == QLatin1String("RCDLINETOP")) m_rcdLineTop = v;
    else if (key == QLatin1String("RCDLINELEFT")) m_rcdLineLeft = v;
    else if (key == QLatin1String("RCDLINERIGHT")) m_rcdLineRight = v;
}

void PrintEngine::readItems(const QStringList& lines)
{
    QString current;  // a column number, "LINE", "常量", "END" or a variable's name
    bool currentIsField = false;
    int currentColumn = -1;
    for (const QString& raw : lines) {
        const QString note = GetNote(raw);
        const QString line = ClearNote(raw);
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? QString() : line.left(eq).toUpper();
        const QString v = eq < 0 ? QString() : line.mid(eq + 1);
        if (key.isEmpty() && eq < 0)
            continue;
        if (key == QLatin1String("ITEM")) {
            currentIsField = false;
            if (v.startsWith(QLatin1Char('@'))) {
                const QString rest = v.mid(1);
                const double n = Num(rest);
                if (!rest.isEmpty() && ShortNumber(n) == rest) {
                    currentColumn = int(std::floor(n));
                    currentIsField = true;
                    current = QString::number(currentColumn);
                    GdM.push_back({FieldWord, Value, current});
                } else if (rest == LineWord) {
                    current = LineWord;
                    const QString name = note.isEmpty() ? QStringLiteral("线") + QString::number(++m_unnamedLines) : note;
                    GdM.push_back({LineWord, Value, name});
                } else {
                    current = rest;  // "END" or a variable's name
                }
            } else {
                current = ConstWord;
                GdM.push_back({ConstWord, Value, v});
            }
            continue;
        }
        const bool table = IsTableKey(key);
        if (!IsPropertyKey(key) && !table)
            continue;
        const bool textValue = key == QLatin1String("FONTNAME") || key == QLatin1String("FONTBOLD");
        const QString stored = textValue ? v : QString::number(WholePart(v));
        if (currentIsField) {
            if (currentColumn < 0 || currentColumn > 50)
                throw std::runtime_error("record-set column out of range");
            if (key == QLatin1String("TOP") && m_templateVersion <= 4)
                continue;
            if (key == QLatin1String("BOTTOM"))
                continue;
            if (table) {
                if (currentColumn != 0)
                    continue;
                setTableGeometry(key, Num(v));
            } else {
                const int slot = SlotOf(key);
                if (slot >= 0)
                    m_fieldProps[size_t(currentColumn)][size_t(slot)] =
                        (key == QLatin1String("DEC") || key == QLatin1String("SPAC")) ? ShortNumber(Num(v)) : v;
            }
            GdM.push_back({FieldWord, key, stored});
            continue;
        }
        if (table)
            continue;
        SetItemProperty(current, {current, key, stored});
    }
}

bool PrintEngine::ReadTemplateLines(const QStringList& lines)
{
    bool mismatch = false;
    readHeader(lines, mismatch);
    if (mismatch)
        return false;
    if (DesignWidth == 0)
        DesignWidth = Porientation == 1 ? PaperW : PaperH;
    if (DesignWidth == 0)
        DesignWidth = 210;
    for (auto& line : m_fieldProps)
        line.fill(QString());
    m_unnamedLines = 0;
    for (const char* name : {"%AUTO_总页数", "%AUTO_当前页码", "%AUTO_页码页数", "%AUTO_打印日期"})
        GdM.push_back({QString::fromUtf8(name), Value, QStringLiteral("自动")});
    readItems(lines);
    return true;
}

QStringList PrintEngine::TemplateLines() const
{
    QStringList out;
    out << QStringLiteral("PRNSQL=") + PrnSQL << QStringLiteral("PAPER=") + PaperName
        << QStringLiteral("DESIGNWIDTH=") + ShortNumber(DesignWidth) << QStringLiteral("PAPERW=") + ShortNumber(PaperW)
        << QStringLiteral("PAPERH=") + ShortNumber(PaperH) << QStringLiteral("ORIENTATION=") + QString::number(Porientation)
        << QStringLiteral("TOPMARGIN=") + ShortNumber(-TopMargin) << QStringLiteral("LEFTMARGIN=") + ShortNumber(-LeftMargin);
    const auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    if (!LogoPic.isEmpty())
        out << QStringLiteral("LOGOPIC=") + LogoPic << QStringLiteral("LOGOLEFT=") + ShortNumber(LogoLeft)
            << QStringLiteral("LOGOTOP=") + ShortNumber(LogoTop) << QStringLiteral("LOGOHIDE=") + flag(LogoHide)
            << QStringLiteral("LOGOBG=") + flag(LogoBG);
    out << QStringLiteral("LABMODE=") + QString::number(LabMode) << QStringLiteral("LINEHIDE=") + flag(AllLineHide)
        << QStringLiteral("TEXTHIDE=") + flag(AllTxtHide) << QStringLiteral("RCDLINEH=") + QString::number(m_rcdLineH)
        << QStringLiteral("VERSION=5.0");
    for (const ItemRow& r : GdM) {
        if (r.key != Value)
            out << r.key + QLatin1Char('=') + r.value;
        else if (r.owner == ConstWord)
            out << QStringLiteral("ITEM=") + r.value;
        else if (r.owner == LineWord)
            out << QStringLiteral("ITEM=@LINE//;;") + r.value;
        else if (r.owner == FieldWord)
            out << QStringLiteral("ITEM=@") + r.value;
        else
            out << QStringLiteral("ITEM=@") + r.owner;
    }
    out << QStringLiteral("ITEM=@END");
    return out;
}

QString PrintEngine::SaveTemplate()
{
    if (RptFile.isEmpty())
        return QStringLiteral("没有可保存的打印模版文件，请在打印设置中设置打印模版文件！");
    QStringEncoder encode("GB18030");
    QByteArray bytes;
    for (const QString& line : TemplateLines())
        bytes += encode(line) + "\r\n";
    // The new template goes to a temporary file first; the old one is kept
    // as "_OLD" and replaced only when the new one is whole.
    QSaveFile out(RptFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return QStringLiteral("无法写入打印模版文件[%1]：%2").arg(RptFile, out.errorString());
    const QString old = RptFile + QStringLiteral("_OLD");
    if (QFileInfo::exists(RptFile)) {
        const QString staging = old + QStringLiteral(".tmp");
        QFile::remove(staging);
        if (QFile::copy(RptFile, staging)) {
            QFile::remove(old);
            QFile::rename(staging, old);
        }
    }
    if (!out.commit())
        return QStringLiteral("无法写入打印模版文件[%1]：%2").arg(RptFile, out.errorString());
    return QString();
}

QString PrintEngine::LoadLogoPIC(const QString& fileName)
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

bool PrintEngine::LoadTemplate(App& app, QList<PrintMessage>& messages)
{
    Porientation = 1;
    PaperName = QStringLiteral("A4");
    PaperW = 210;
    PaperH = 297;
    m_pageW = m_pageH = 0;
    TopMargin = LeftMargin = 0;
    ChangePrinterOrientation = true;
    DesignWidth = 0;
    LabMode = 0;
    m_printerFromTemplate.clear();
    const QString defaultFile = app.AppFolder + QStringLiteral("vxp.dat");
    int step = 10;
    try {
        // Template and printer of this layout: this operator's rows first, then "001"'s;
        // the first row of this computer decides.
        const bool admin = app.OperatorCode == QLatin1String("001");
        const RecordSet rows = app.CurrentDatabase.query(
            admin ? QStringLiteral("select Pname,Pfile,Pcomputer,I4,I3 from PrintSet where Pid=? and Puser='001' "
                                   "order by Puser desc")
                  : QStringLiteral("select Pname,Pfile,Pcomputer,I4,I3 from PrintSet where Pid=? and "
                                   "(Puser='001' or Puser=?) order by Puser desc"),
            admin ? QVariantList{Pid} : QVariantList{Pid, app.OperatorCode});
        step = 20;
        const QString computer = ComputerName();
        for (int r = 0; r < rows.rowCount(); ++r) {
            step = 30;
            QString path = rows.text(r, 1);
            if (!(path.size() > 1 && path[1] == QLatin1Char(':')) && !path.startsWith(QLatin1Char('\\')) &&
                !path.startsWith(QLatin1Char('/')))
                path = app.AppFolder + path;
            RptFile = path;
            step = 40;
            ChangePrinterOrientation = Num(rows.text(r, 3)) == 1;
            if (rows.text(r, 2) == computer) {
                step = 50;
                MyPrinterName = rows.text(r, 0);
                break;
            }
        }
    } catch (const std::exception& e) {
        messages << PrintMessage{QString::fromUtf8(e.what()) + Para +
                                 QStringLiteral("请把以上出错信息反馈给Vorlix客服以便确认出错原因!\n") + RptFile +
                                 QStringLiteral("    ") + MyPrinterName + QStringLiteral("\n出错行数:") +
                                 QString::number(step)};
        return false;
    }

    // Printer choice: the layout's printer when installed, else the default one.
    const QStringList printers = Printers().printerNames();
    if (printers.isEmpty())
        MyPrinterName.clear();
    else if (!printers.contains(MyPrinterName))
        MyPrinterName = Printers().defaultPrinterName();

    step = 101;
    try {
        if (RptFile.isEmpty()) {
            messages << PrintMessage{QStringLiteral("您还没有设置打印模版文件！请进入打印机设置中添加文件！")};
            return true;
        }
        const bool haveDefault = !FileExists(defaultFile).isEmpty();
        bool missing = false;
        if (FileExists(RptFile).isEmpty()) {
            if (!haveDefault) {
                missing = true;
            } else {
                QFile::copy(defaultFile, RptFile);
                messages << PrintMessage{QLatin1Char('[') + RptFile + QStringLiteral("]文件丢失！") + Para +
                                         QStringLiteral("系统自动建立！")};
            }
        } else if (RptFile.right(3).toUpper() != QLatin1String("VXP")) {
            if (!haveDefault) {
                missing = true;
            } else {
                messages << PrintMessage{QLatin1Char('[') + RptFile + QStringLiteral("]不是有效的Vorlix打印模板文件！") +
                                         Para + QStringLiteral("系统自动建立新的模板！")};
                const QString oldPath = RptFile;
                const QTime now = QTime::currentTime();
                RptFile = RptFile + QString::number(QDate::currentDate().day()) + QString::number(now.second()) +
                          QStringLiteral(".vxp");
                QFile::copy(defaultFile, RptFile);
                // The print set-up names the copy from now on, so edits saved
                // into it are the ones used next time.
                const auto stored = [&app](const QString& p) {
                    return p.startsWith(app.AppFolder) ? p.mid(app.AppFolder.size()) : p;
                };
                app.CurrentDatabase.execute(
                    QStringLiteral("update PrintSet set Pfile=? where Pid=? and (Pfile=? or Pfile=?)"),
                    {stored(RptFile), Pid, oldPath, stored(oldPath)});
            }
        }
        step = 110;
        LogopicPath = RptFile.left(RptFile.lastIndexOf(QLatin1Char('/')) + 1);
        m_templateVersion = 0;
        const QFileInfo info(RptFile);
        if (missing || !info.isFile() || info.isHidden()) {
            messages << PrintMessage{QLatin1Char('[') + RptFile + QStringLiteral("]文件丢失！") + Para +
                                     QStringLiteral("请进入打印机设置中设置打印模版文件！")};
            RptFile.clear();
            return true;
        }
        step = 120;
        QStringList lines;
        if (!ReadTemplateFile(RptFile, lines)) {
            // An unreadable template never costs anyone their print set-up: the
            // default template serves this time, and nothing is saved over the file.
            messages << PrintMessage{QLatin1Char('[') + RptFile + QStringLiteral("]打印模版文件无法读取！") + Para +
                                     QStringLiteral("本次使用默认模板打印。")};
            RptFile.clear();
            LogopicPath = defaultFile.left(defaultFile.lastIndexOf(QLatin1Char('/')) + 1);
            if (!ReadTemplateFile(defaultFile, lines))
                return true;
        }
        step = 130;
        if (!ReadTemplateLines(lines)) {
            const QString caption = [this] {
                for (const ItemRow& r : GdM)
                    if (r.owner.toUpper() == QLatin1String("CAPTION") && r.key.toUpper() == Value)
                        return r.value;
                return QString();
            }();
            messages << PrintMessage{QStringLiteral("对不起！Vorlix模版文件中的设置不是针对“") + caption +
                                     QStringLiteral("”的！") + Para + QStringLiteral("请重安装软件或与Vorlix客服联系！")};
            // Forgotten, so a later save cannot write this layout into another layout's file.
            RptFile.clear();
            return true;
        }
    } catch (const std::exception& e) {
        messages << PrintMessage{QString::fromUtf8(e.what()) + Para +
                                 QStringLiteral("请把以上出错信息反馈给Vorlix客服以便确认出错原因!\n") + RptFile +
                                 QStringLiteral("    ") + MyPrinterName + QStringLiteral("\n出错行数:") +
                                 QString::number(step)};
        return false;
    }
    if (!m_printerFromTemplate.isEmpty())
        MyPrinterName = m_printerFromTemplate;
    return true;
}

// ----------------------------------------------------------- rows and pages

QString PrintEngine::OpenRecords(const Database& db)
{
    try {
        myrs = db.query(PrnSQL);
    } catch (const DbError& e) {
        myrs = RecordSet();
        m_firstLayout = false;
        return QStringLiteral("打印数据的查询语句有误，无法取得要打印的数据：") + Para + e.description();
    }
    const qint64 n = myrs.rowCount();
    if (n > 0)
        MainRcd = LabMode == 0 ? n : (n + LabMode) / (LabMode + 1);
    myrs.moveFirst();
    m_firstLayout = false;
    CurRcd = 0;
    return QString();
}

QString PrintEngine::ExportRows(const Database& db, int& columns, std::vector<QString>& cells) const
{
    RecordSet rows;
    try {
        rows = db.query(PrnSQL);
    } catch (const DbError& e) {
        return QStringLiteral("打印数据的查询语句有误，无法取得要打印的数据：") + Para + e.description();
    }
    if (rows.isEmpty())
        return QStringLiteral("没有数据可导出!");
    columns = rows.columnCount();
    cells.clear();
    cells.reserve(size_t(rows.rowCount()) * size_t(columns));
    for (int r = 0; r < rows.rowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            const QVariant v = rows.value(r, c);
            cells.push_back(v.isNull() ? QString() : v.toString());
        }
    return QString();
}

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

void PrintEngine::ClearSelection()
{
    SelKind.clear();
    SelName.clear();
    SelLeft = SelTop = -1000;
    SelWholeRow = false;
}

void PrintEngine::readFieldProps()
{
    for (auto& line : m_fieldProps)
        line.fill(QString());
    int n = 0;
    for (const ItemRow& r : GdM) {
        if (r.owner != FieldWord)
            continue;
        if (r.key == Value) {
            n = int(WholePart(r.value));
            continue;
        }
        if (IsTableKey(r.key)) {
            setTableGeometry(r.key, Num(r.value));
            if (r.key == QLatin1String("TABBTM"))
                m_tableBottom = m_tabBtm > 0 ? m_tabBtm : m_pageH + m_tabBtm;
            continue;
        }
        const int slot = SlotOf(r.key);
        if (slot < 0)
            continue;
        if (n < 0 || n > 50)
            throw DbError(-1, QStringLiteral("记录集字段编号 %1 超出范围 0-50").arg(n));
        m_fieldProps[size_t(n)][size_t(slot)] = r.value;
    }
    // The slots' numbers, read once per page instead of once per cell.
    for (size_t j = 0; j < m_fieldProps.size(); ++j) {
        const auto& p = m_fieldProps[j];
        m_fieldNumbers[j] = {!p[SLeft].isEmpty(), Num(p[SLeft]), Num(p[STop]), Num(p[SRight]), Num(p[SAlign]),
                             Num(p[SFontSize]), Num(p[SHide]), Num(p[SFontBold]), Num(p[SSpac])};
    }
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
    const bool red = SelKind == FieldWord && SelName == QStringLiteral("记录集横线");
    const double y = m_tabTop + m_rcdLineTop + row * m_rowHeight;
    DrawRule(s, m_rcdLineLeft, y, m_rcdLineRight, y, m_rcdLineH, red ? Qt::red : Qt::black);
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
    if (n.top > 2 * m_rowHeight) {
        p[STop] = QString::number(float(2 * m_rowHeight), 'g', 7);
        n.top = Num(p[STop]);
    }
    if (LabMode > 0 && n.left > DesignWidth / (LabMode + 1))
        return;
    if (AllRcdHide)
        return;
    const double x = n.left + xOffset;
    const double y = m_tabTop + m_rcdTop + m_rowOnPage * m_rowHeight + n.top;
    const bool red = SelWholeRow || (SelKind == FieldWord && n.left == SelLeft && Num(SelName) == j);
    const QColor colour = red ? Qt::red : Qt::black;
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
    readFieldProps();
    if (!LogoPic.isEmpty() && !LogoHide && LogoBG)
        s.PaintPicture(logoPicture, LogoLeft, LogoTop);

    const bool hasTable = std::any_of(GdM.begin(), GdM.end(), [](const ItemRow& r) { return r.owner == FieldWord; });
    if (m_tableBottom == 0 || m_rowHeight <= 0) {
        if (hasTable && m_rowHeight <= 0)
            m_layoutFault = QStringLiteral("版面中记录行的行高为0，无法排版！") + Para +
                            QStringLiteral("请在“设置记录集”中给记录行设置行高。");
        return;
    }
    // Spread the rest of the table height over the rows, so whole rows fill it.
    const double H = m_tableBottom - m_tabTop;
    const qint64 h = qint64(RoundEven(H));
    const qint64 r = qint64(RoundEven(m_rowHeight));
    const double fit = std::floor(H / m_rowHeight);
    if (r != 0 && fit != 0 && h % r != 0)
        m_rowHeight = float(m_rowHeight + double(h % r) / fit);

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
        if (m_rcdLineRight > 0 && c < 2 && !AllLineHide)
            drawRuleRow(s, m_rowOnPage);
        myrs.moveNext();
        const float t = float(m_tabTop + m_rcdTop + (m_rowOnPage + 1) * m_rowHeight);
        if (t > float(m_tableBottom) && (LabMode <= 0 || c > LabMode))
            break;
    }

    int R = m_rowOnPage;
    const bool room = float(m_tabTop + m_rcdLineTop + (R + 1) * m_rowHeight) < float(m_tableBottom);
    const bool lastOfSeveral = CurPage == MainPages && MainPages > 1;
    if (!myrs.eof() || !room) {
        m_rowsOnPage = R;
    } else {
        m_rowsOnPage = (lastOfSeveral && R > 1) ? R - 1 : R;
        for (int k = R + 1; float(m_tabTop + m_rcdLineTop + k * m_rowHeight) < float(m_tableBottom); ++k) {
            if (m_rcdLineRight > 0 && !AllLineHide)
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
            const bool red = SelKind != LineWord && float(SelLeft) == float(p.left) && float(SelTop) == float(y);
            const QColor colour = red ? Qt::red : Qt::black;
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
            const bool red = SelKind == LineWord && float(SelLeft) == float(p.left) && float(SelTop) == float(y1) &&
                             float(SelRight) == float(p.right) && float(SelBottom) == float(y2);
            DrawRule(s, p.left, y1, p.right, y2, p.fontSize, red ? Qt::red : Qt::black);
        }
    };
    for (const ItemRow& r : GdM) {
        if (r.key == Value) {
            draw(it);
            it = Pending();
            if (r.owner == ConstWord) {
                it.kind = Pending::Text;
                const int cut = r.value.indexOf(QStringLiteral("~#"));
                it.text = AllTxtHide ? QString() : (cut >= 1 ? r.value.left(cut) : r.value);
            } else if (r.owner == LineWord) {
                it.kind = Pending::Line;
                it.top = 0;
                it.fontSize = 1;
            } else if (r.owner == FieldWord) {
                it.kind = Pending::None;
            } else {
                it.kind = Pending::Text;
                QString name = r.owner;
                it.text = AllValHide ? QString() : EvalVariable(name);
            }
            continue;
        }
        if (r.owner == FieldWord || it.kind == Pending::None)
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

bool PrintEngine::PrintPages(int first, int last, PageSurface& out, PageSurface& scratch, QString& message)
{
    ClearSelection();
    if (first == 0 && last == 0) {
        first = 1;
        last = MainPages;
    }
    CurPage = 1;
    CurRcd = 0;
    myrs.moveFirst();
    bool anyOnPaper = false;
    while (!myrs.eof()) {
        const bool onPaper = !((CurPage < first || CurPage > last) && MainPages != 0 && last != 0);
        PageSurface& target = onPaper ? out : scratch;
        if (onPaper && anyOnPaper)
            out.newPage();
        if (!onPaper)
            scratch.clear();
        PrepareSurface(target);
        const int before = myrs.position();
        RenderPage(target);
        if (myrs.position() == before) {
            // A layout that takes no row per page would never end.
            message = m_layoutFault.isEmpty() ? QStringLiteral("版面中的记录表放不下记录，无法打印！") : m_layoutFault;
            return false;
        }
        anyOnPaper = anyOnPaper || onPaper;
        ++CurPage;
    }
    return true;
}

QString PrintEngine::PaperStatusText() const
{
    const QString word = Porientation == 1 ? QStringLiteral("纵向") : QStringLiteral("横向");
    if (PaperName.startsWith(QLatin1String("Vorlo")))
        return QStringLiteral("自定义纸张：( ") + ShortNumber(PaperW) + QStringLiteral("mm X ") + ShortNumber(PaperH) +
               QStringLiteral("mm )") + QChar(0x3000) + QStringLiteral(" 打印方向：") + word;
    return QStringLiteral("纸张：") + PaperName + QLatin1Char('(') + ShortNumber(PaperW) + QStringLiteral("mm X ") +
           ShortNumber(PaperH) + QStringLiteral("mm)   打印方向：") + word;
}

QString PrintEngine::PageStatusText() const
{
    if (MainPages <= 1)
        return QString();
    return QStringLiteral("共 %1 页 第 %2 页").arg(MainPages).arg(CurPage);
}
