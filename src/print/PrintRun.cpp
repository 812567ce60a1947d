#include "print/PrintEngine.h"

#include "core/App.h"
#include "core/Files.h"
#include "platform/Printing.h"
#include "platform/SystemInfo.h"
#include "print/PageSurface.h"
#include "print/PrintSetStore.h"
#include "print/TemplateFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTime>

using namespace LayoutWord;

namespace {

const QString Para = QStringLiteral("\n\n");

}  // namespace

PrintEngine::PrintEngine() = default;

bool PrintEngine::ReadTemplateFile(const QString& path, QStringList& lines)
{
    return TemplateFile::ReadFile(path, lines);
}

bool PrintEngine::ReadTemplateLines(const QStringList& lines)
{
    return TemplateFile::ReadLines(*this, lines, Pid);
}

QStringList PrintEngine::TemplateLines() const
{
    return TemplateFile::Lines(*this);
}

QString PrintEngine::SaveTemplate()
{
    return TemplateFile::Save(*this, RptFile);
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
    PrinterFromTemplate.clear();
    const QString defaultFile = app.AppFolder + QStringLiteral("vxp.dat");
    int step = 10;
    // A fault that ends the loading: what went wrong, where, and at which step.
    const auto fatal = [this, &step](const std::exception& e) {
        return PrintMessage{QString::fromUtf8(e.what()) + Para +
                            QStringLiteral("请把以上出错信息反馈给Vorlix客服以便确认出错原因!\n") + RptFile +
                            QStringLiteral("    ") + MyPrinterName + QStringLiteral("\n出错行数:") +
                            QString::number(step)};
    };
    try {
        const PrintSetChoice choice =
            PrintSetStore(app.CurrentDatabase).Choose(Pid, app.OperatorCode, ComputerName());
        step = 30;
        if (choice.found) {
            RptFile = PrintSetStore::FilePath(choice.file, app.AppFolder);
            ChangePrinterOrientation = choice.changePrinterOrientation;
        }
        step = 50;
        if (!choice.printer.isEmpty())
            MyPrinterName = choice.printer;
    } catch (const std::exception& e) {
        messages << fatal(e);
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
                PrintSetStore(app.CurrentDatabase).RenameFile(Pid, oldPath, RptFile, app.AppFolder);
            }
        }
        step = 110;
        LogopicPath = RptFile.left(RptFile.lastIndexOf(QLatin1Char('/')) + 1);
        TemplateVersion = 0;
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
        messages << fatal(e);
        return false;
    }
    if (!PrinterFromTemplate.isEmpty())
        MyPrinterName = PrinterFromTemplate;
    return true;
}

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

bool PrintEngine::PrintPages(int first, int last, PageSurface& out, PageSurface& scratch, QString& message)
{
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

void PrintEngine::RestartPaging()
{
    myrs.moveFirst();
    CurPage = 1;
    MainPages = 1;
    PageRows = 0;
    CurRcd = 0;
    const qint64 n = myrs.rowCount();
    MainRcd = LabMode <= 0 ? n : (n + LabMode) / (LabMode + 1);
}
