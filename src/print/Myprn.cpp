#include "print/Myprn.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "widgets/BusyPointer.h"
#include "core/MainFrame.h"
#include "exchange/GridExport.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/Printing.h"
#include "print/PageSurface.h"

#include <QApplication>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QAction* AddAction(QMenuBar* bar, const char* name, const QString& caption)
{
    QAction* a = bar->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* AddAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

Myprn::DesignerHook& Designer()
{
    static Myprn::DesignerHook hook;
    return hook;
}

}  // namespace

void Myprn::InstallDesigner(DesignerHook hook)
{
    Designer() = std::move(hook);
}

Myprn::Myprn(App& app, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
{
    setObjectName(QStringLiteral("myprn"));
    setWindowTitle(QStringLiteral("打印"));
    m_engine.PriceFormat = app.PriceFormat;
    m_engine.AmountFormat = app.AmountFormat;

    menuBar = new QMenuBar(this);
    Menu_print = AddAction(menuBar, "Menu_print", QStringLiteral("&P.打印"));
    Menu_Select = menuBar->addMenu(QStringLiteral("&Q.选择打印"));
    Menu_Select->setObjectName(QStringLiteral("Menu_Select"));
    Menu_Select->menuAction()->setVisible(false);
    Menu_SelectPrint0 = AddAction(Menu_Select, "Menu_SelectPrint0", QStringLiteral("&1.打印所有页"));
    Menu_SelectPrint1 = AddAction(Menu_Select, "Menu_SelectPrint1", QStringLiteral("&2.打印当前页"));
    Menu_SelectPrint2 = AddAction(Menu_Select, "Menu_SelectPrint2", QStringLiteral("&3.打印指定页"));
    Menu_Output = menuBar->addMenu(QStringLiteral("&T.导出"));
    Menu_Output->setObjectName(QStringLiteral("Menu_Output"));
    Menu_ToExcel = AddAction(Menu_Output, "Menu_ToExcel", QStringLiteral("&1.导出到EXCEL"));
    Menu_ToJPG = AddAction(Menu_Output, "Menu_ToJPG", QStringLiteral("&2.导出到图片"));

    menu_Set = menuBar->addMenu(QStringLiteral("&S.设置"));
    menu_Set->setObjectName(QStringLiteral("menu_Set"));
    const bool admin = IsTopAdministrator(app);
    // The designer connects and enables these when it attaches.
    AddAction(menu_Set, "menu_DesignPaper", QStringLiteral("&1.打印设置"))->setEnabled(false);
    AddAction(menu_Set, "menu_DesignPrinter", QStringLiteral("&2.模版文件设置"))->setEnabled(false);
    QAction* l1 = menu_Set->addSeparator();
    l1->setObjectName(QStringLiteral("menu_DesignL1"));
    AddAction(menu_Set, "menu_DesignPic", QStringLiteral("&3.标志图片"))->setEnabled(false);
    QAction* val = AddAction(menu_Set, "menu_DesignVal", QStringLiteral("&4.设置变量"));
    QAction* str = AddAction(menu_Set, "menu_DesignStr", QStringLiteral("&5.设置常量"));
    QAction* line = AddAction(menu_Set, "menu_DesignLine", QStringLiteral("&6.设置表线"));
    QAction* l2 = menu_Set->addSeparator();
    l2->setObjectName(QStringLiteral("menu_DesignL2"));
    QAction* rst = AddAction(menu_Set, "menu_DesignRst", QStringLiteral("&7.设置记录集"));
    for (QAction* a : {val, str, line, rst}) {
        a->setEnabled(false);
        a->setVisible(admin);
    }
    l1->setVisible(admin);
    l2->setVisible(admin);

    Menu_SaveSet = AddAction(menuBar, "Menu_SaveSet", QStringLiteral("&S.保存设置"));
    Menu_SaveSet->setVisible(false);
    Menu_Home = AddAction(menuBar, "Menu_Home", QStringLiteral("&H.首页"));
    Menu_UP = AddAction(menuBar, "Menu_UP", QStringLiteral("&U.上页"));
    Menu_Down = AddAction(menuBar, "Menu_Down", QStringLiteral("&D.下页"));
    Menu_End = AddAction(menuBar, "Menu_End", QStringLiteral("&E.尾页"));
    Menu_help = AddAction(menuBar, "Menu_help", QStringLiteral("&B.帮助"));
    Menu_Rtn = AddAction(menuBar, "Menu_Rtn", QStringLiteral("&R.返回"));

    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setAlignment(Qt::AlignCenter);
    Scroll->setBackgroundRole(QPalette::Dark);
    Pic = new QLabel;
    Pic->setObjectName(QStringLiteral("Pic"));
    Scroll->setWidget(Pic);
    LabConnecting = new QLabel(QStringLiteral("        正在连接到打印机…"), this);
    LabConnecting->setObjectName(QStringLiteral("LabConnecting"));
    LabConnecting->setVisible(false);
    StBar = new QStatusBar(this);
    StBar->setObjectName(QStringLiteral("StBar"));
    StBar->setSizeGripEnabled(false);
    Panel1 = new QLabel;
    Panel2 = new QLabel;
    Panel3 = new QLabel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel3->setObjectName(QStringLiteral("Panel3"));
    for (QLabel* p : {Panel1, Panel2, Panel3})
        StBar->addWidget(p, 1);

    PTool = new QWidget(this);
    PTool->setObjectName(QStringLiteral("PTool"));
    PTool->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(LabConnecting);
    auto* centre = new QHBoxLayout;
    centre->setContentsMargins(0, 0, 0, 0);
    centre->setSpacing(0);
    centre->addWidget(PTool);
    centre->addWidget(Scroll, 1);
    layout->addLayout(centre, 1);
    layout->addWidget(StBar);

    GdTmp = new Grid(this);
    GdTmp->setObjectName(QStringLiteral("GdTmp"));
    GdTmp->setVisible(false);

    TimerAutoPrint = new QTimer(this);
    TimerAutoPrint->setObjectName(QStringLiteral("TimerAutoPrint"));
    TimerAutoPrint->setInterval(100);
    TimerAutoPrint->setSingleShot(true);

    connect(Menu_print, &QAction::triggered, this, [this] { PrintPages(0, 0); });
    connect(Menu_SelectPrint0, &QAction::triggered, this, [this] { PrintPages(0, 0); });
    connect(Menu_SelectPrint1, &QAction::triggered, this,
            [this] { PrintPages(m_engine.CurPage, m_engine.CurPage); });
    connect(Menu_SelectPrint2, &QAction::triggered, this, &Myprn::choosePageRange);
    connect(Menu_ToJPG, &QAction::triggered, this, &Myprn::exportPicture);
    connect(Menu_ToExcel, &QAction::triggered, this, &Myprn::exportRows);
    connect(Menu_SaveSet, &QAction::triggered, this, &Myprn::SaveLayout);
    connect(Menu_Home, &QAction::triggered, this, &Myprn::goHome);
    connect(Menu_UP, &QAction::triggered, this, &Myprn::goUp);
    connect(Menu_Down, &QAction::triggered, this, &Myprn::goDown);
    connect(Menu_End, &QAction::triggered, this, &Myprn::goEnd);
    connect(Menu_help, &QAction::triggered, this, &Myprn::showHelp);
    connect(Menu_Rtn, &QAction::triggered, this, &QDialog::close);
    connect(TimerAutoPrint, &QTimer::timeout, this, &Myprn::autoPrint);

    if (admin && Designer())
        Designer()(*this);

    // The print window lies over the main window.
    if (app.MainWindow && app.MainWindow->widget())
        setGeometry(app.MainWindow->widget()->geometry());
    else
        resize(1000, 760);
}

Myprn::~Myprn() = default;

void Myprn::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_firstActivation) {
        m_firstActivation = false;
        QTimer::singleShot(0, this, &Myprn::firstLayout);
    }
}

void Myprn::firstLayout()
{
    QList<PrintMessage> messages;
    bool keepOpen = true;
    {
        BusyPointer busy;
        keepOpen = m_engine.LoadTemplate(m_app, messages);
    }
    for (const PrintMessage& m : messages)
        MsgBox(m.text, m.style, m.title);
    if (!keepOpen) {
        done(QDialog::Rejected);
        return;
    }
    m_engine.CurPage = 1;
    layoutPages();
}

void Myprn::layoutPages()
{
    if (!m_engine.recordsOpen()) {
        const QString problem = m_engine.OpenRecords(m_app.CurrentDatabase);
        if (!problem.isEmpty())
            MsgBox(problem);
    }
    if (m_engine.MyCmd == 1) {
        for (QAction* a : {Menu_print, Menu_Rtn, Menu_Output->menuAction(), menu_Set->menuAction(), Menu_Home, Menu_UP,
                           Menu_Down, Menu_End})
            a->setVisible(false);
        Scroll->setVisible(false);
        LabConnecting->setVisible(true);
        TimerAutoPrint->start();
        return;
    }
    m_engine.SetUpPage();
    const QStringList printers = Printers().printerNames();
    if (!printers.isEmpty()) {
        const QString name = m_engine.MyPrinterName.isEmpty() ? Printers().defaultPrinterName() : m_engine.MyPrinterName;
        Panel1->setText(name + QStringLiteral(" ( ") +
                        (m_engine.Sorientation == 1 ? QStringLiteral("纵向") : QStringLiteral("横向")) +
                        QStringLiteral(" )"));
    } else {
        Panel1->setText(QStringLiteral("没有安装打印机"));
    }
    Panel2->setText(m_engine.PaperStatusText());

    ImageSurface page(m_engine.pageWidth(), m_engine.pageHeight(), PreviewDpi);
    m_engine.PrepareSurface(page);
    try {
        m_engine.RenderPage(page);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("打印页面无法完成：\n\n") + e.description());
    }
    if (!m_engine.layoutFault().isEmpty() && !m_faultShown) {
        m_faultShown = true;
        MsgBox(m_engine.layoutFault());
    }
    m_pageImage = page.image();
    if (decoratePage) {
        QImage shown = m_pageImage;
        decoratePage(shown);
        Pic->setPixmap(QPixmap::fromImage(shown));
    } else {
        Pic->setPixmap(QPixmap::fromImage(m_pageImage));
    }
    Pic->resize(m_pageImage.size());
    setNavigation();
    if (m_engine.MainPages < 2) {
        Menu_print->setText(QStringLiteral("&P.打印"));
        Menu_Select->menuAction()->setVisible(false);
    } else {
        Menu_print->setText(QStringLiteral("&P.全部打印"));
        Menu_Select->menuAction()->setVisible(true);
    }
}

void Myprn::setNavigation()
{
    const PrintEngine& e = m_engine;
    const bool single = e.MainPages <= 1;
    for (QAction* a : {Menu_Home, Menu_UP, Menu_Down, Menu_End})
        a->setVisible(!single);
    Panel3->setText(e.PageStatusText());
    if (single)
        return;
    const bool first = e.CurPage <= 1;
    const bool last = e.CurPage >= e.MainPages;
    Menu_Home->setEnabled(!first);
    Menu_UP->setEnabled(!first);
    Menu_Down->setEnabled(!last);
    Menu_End->setEnabled(!last);
}

void Myprn::ReDrawPic()
{
    if (m_engine.ReSet)
        Menu_SaveSet->setVisible(true);
    setEnabled(false);
    m_engine.PositionOnPage();
    layoutPages();
    setEnabled(true);
    m_engine.ReSet = false;
}

void Myprn::goHome()
{
    m_engine.CurPage = 1;
    ReDrawPic();
}

void Myprn::goUp()
{
    m_engine.CurPage = std::max(1, m_engine.CurPage - 1);
    ReDrawPic();
}

void Myprn::goDown()
{
    m_engine.CurPage = std::min(m_engine.MainPages, m_engine.CurPage + 1);
    ReDrawPic();
}

void Myprn::goEnd()
{
    m_engine.CurPage = std::max(1, m_engine.MainPages);
    ReDrawPic();
}

void Myprn::PrintPages(int first, int last)
{
    if (Printers().printerNames().isEmpty()) {
        MsgBox(QStringLiteral("对不起，您的电脑没有安装打印机！"));
        return;
    }
    const QString caption = windowTitle();
    BusyPointer busy;
    Menu_print->setEnabled(false);
    setWindowTitle(QStringLiteral("正在打印……"));
    m_engine.SetUpPage();
    const QString name = m_engine.MyPrinterName.isEmpty() ? Printers().defaultPrinterName() : m_engine.MyPrinterName;
    std::unique_ptr<QPrinter> printer = Printers().openPrinter(name);
    if (!printer) {
        Menu_print->setEnabled(true);
        setWindowTitle(caption);
        MsgBox(QStringLiteral("无法连接到打印机“%1”！").arg(name));
        return;
    }
    QString problem;
    if (!m_engine.myrs.isEmpty()) {
        SetPrinterPaper(*printer, m_engine.PaperName, m_engine.PaperW, m_engine.PaperH, m_engine.Porientation);
        printer->setDocName(m_engine.Pid);
        PrinterSurface out(*printer);
        ImageSurface scratch(m_engine.pageWidth(), m_engine.pageHeight(), PreviewDpi);
        try {
            if (!m_engine.PrintPages(first, last, out, scratch, problem) && problem.isEmpty())
                problem = QStringLiteral("打印没有完成。");
        } catch (const DbError& e) {
            problem = QStringLiteral("打印页面无法完成：\n\n") + e.description();
        }
        out.finish();
    }
    Menu_print->setEnabled(true);
    setWindowTitle(QStringLiteral("打印完成！"));
    if (!problem.isEmpty())
        MsgBox(problem);
    if (m_engine.MyCmd != 1 && m_engine.MainPages > 1)
        goHome();
}

void Myprn::choosePageRange()
{
    const int cur = m_engine.CurPage;
    const int pages = m_engine.MainPages;
    const QString range = QStringLiteral("%1-%2").arg(cur).arg(pages);
    const InputAnswer a = InputBox(QStringLiteral("      共有 %1 页可打印，请您指定起始页码。\n\n示例：如果想打印第%2页至第%1页，请输入“%3”")
                                       .arg(pages)
                                       .arg(cur)
                                       .arg(range),
                                   QStringLiteral(" 选择打印"), range);
    QString text = a.ok ? a.text.trimmed() : QString();
    if (text.isEmpty())
        return;
    for (QChar& ch : text)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            ch = QLatin1Char(' ');
    text = text.simplified();
    if (text.size() < 3 || text.count(QLatin1Char(' ')) != 1) {
        MsgBox(QStringLiteral("输入格式不正确！"));
        return;
    }
    const QStringList parts = text.split(QLatin1Char(' '));
    bool okA = false, okB = false;
    const qlonglong from = parts[0].toLongLong(&okA);
    const qlonglong to = parts[1].toLongLong(&okB);
    if (!okA || !okB || from < 1 || from > pages || to < from || to > pages) {
        MsgBox(QStringLiteral("输入的页码范围不正确！"));
        return;
    }
    PrintPages(int(from), int(to));
}

void Myprn::exportRows()
{
    int columns = 0;
    std::vector<QString> cells;
    const QString problem = m_engine.ExportRows(m_app.CurrentDatabase, columns, cells);
    if (!problem.isEmpty()) {
        MsgBox(problem);
        return;
    }
    // The export buffer: titles 列0, 列1 ... in row 0, the rows as text below.
    const int rows = int(cells.size() / size_t(columns));
    GdTmp->load(rows, columns, std::move(cells));
    for (int c = 0; c < columns; ++c) {
        GdTmp->setTextMatrix(0, c, QStringLiteral("列%1").arg(c));
        GdTmp->setColWidth(c, 100);
    }
    m_app.ExportColKinds = QVector<qint16>(columns + 1, 0);
    ToExcel(m_app, GdTmp, QStringLiteral("导出数据"), QString(), QString(), 1, this);
}

void Myprn::exportPicture()
{
    const QString path = Dialogs().saveFile(QStringLiteral("导出为图片文件"), QString(),
                                            QStringLiteral("*.jpg (*.jpg);;*.bmp (*.bmp);;*.* (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)) {
        MsgBox(QStringLiteral("目标文件夹已经存在同名图片文件！\n\n请重新设置图片文件名！"));
        return;
    }
    const bool jpeg = path.right(4).toUpper() == QLatin1String(".JPG");
    // Written under a temporary name and renamed when whole.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !m_pageImage.save(&out, jpeg ? "JPG" : "BMP", jpeg ? 95 : -1) ||
        !out.commit())
        MsgBox(QStringLiteral("图片文件无法写入：") + path);
}

void Myprn::autoPrint()
{
    if (m_engine.MyCmd != 1)
        return;
    PrintPages(0, 0);
    done(QDialog::Accepted);
}

void Myprn::showHelp()
{
    MsgBox(QStringLiteral("本软件打印排版操作非常简单，\n\n请到Vorlix软件网站下载《打印排版教学视频》，\n\n"
                          "有生动详细的视频讲解。\n\n下载地址：https://www.vorlix.com/video/"));
}

bool Myprn::SaveLayout()
{
    const int answer = MsgBox(QStringLiteral("您改变了版面设置，如果您对当前预览效果满意，请点击[确定]以保存当前设置。"
                                             "\n\n真的保存当前设置吗？"),
                              MB::OKCancel | MB::Question);
    if (answer != MB::OK)
        return false;
    setEnabled(false);
    const QString problem = m_engine.SaveTemplate();
    setEnabled(true);
    if (!problem.isEmpty()) {
        MsgBox(problem);
        return false;
    }
    Menu_SaveSet->setVisible(false);
    return true;
}

void Myprn::done(int r)
{
    if (Menu_SaveSet->isVisible()) {
        const int answer = MsgBox(QStringLiteral("您更改了版面设置，需要保存吗？"),
                                  MB::YesNoCancel | MB::Question | MB::DefaultButton3);
        // Cancel keeps the window; so does a save that was cancelled or failed.
        if (answer == MB::Cancel || (answer == MB::Yes && !SaveLayout()))
            return;
    }
    m_engine.myrs = RecordSet();
    QDialog::done(r);
}

QPointF Myprn::toLayout(const QPointF& pixel) const
{
    const double g = PreviewDpi / 25.4;
    const double pageW = m_engine.pageWidth();
    const double designW = m_engine.DesignWidth > 0 ? m_engine.DesignWidth : pageW;
    return {pixel.x() / g * (designW / pageW) + m_engine.LeftMargin, pixel.y() / g + m_engine.TopMargin};
}

QPointF Myprn::toPixel(const QPointF& p) const
{
    const double g = PreviewDpi / 25.4;
    const double pageW = m_engine.pageWidth();
    const double designW = m_engine.DesignWidth > 0 ? m_engine.DesignWidth : pageW;
    return {(p.x() - m_engine.LeftMargin) * (pageW / designW) * g, (p.y() - m_engine.TopMargin) * g};
}

void Myprn::layoutChanged()
{
    m_engine.ReSet = true;
    ReDrawPic();
}

void Myprn::relayout()
{
    Menu_SaveSet->setVisible(true);
    m_engine.RestartPaging();
    ReDrawPic();
}
