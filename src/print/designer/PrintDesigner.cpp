#include "print/designer/PrintDesigner.h"

#include "core/App.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Printing.h"
#include "print/Myprn.h"
#include "print/designer/DesignerDialogs.h"
#include "print/designer/ItemListDialog.h"
#include "print/designer/ItemPropertyDialog.h"
#include "print/designer/PrintSetupDialog.h"
#include "print/designer/Register.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QVBoxLayout>

using namespace LayoutWord;

namespace {

struct ToolSpec {
    int index;
    const char* caption;
    const char* tip;
    int gapBefore;  // pixels of space above the button
};

// The strip from top to bottom, grouped as the tools belong together.
const ToolSpec Tools[] = {
    {1, "↑", "上移", 12}, {2, "↓", "下移", 0},     {0, "←", "左移", 0},     {3, "→", "右移", 0},
    {4, "长", "增长", 12}, {5, "短", "缩短", 0},    {9, "大", "字号或线粗放大", 12}, {10, "小", "字号或线粗减小", 0},
    {13, "粗", "粗体开关", 12}, {6, "左", "左对齐", 12}, {8, "中", "居中", 0},   {7, "右", "右对齐", 0},
    {12, "条", "条形码", 12}, {14, "图", "标志图片", 12}, {11, "详", "属性", 12},
};

const QString EditOn = QStringLiteral("★");
const QString EditOff = QStringLiteral("☆");

int MaskOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? LayoutDesigner::ShiftKey : 0) | (m & Qt::ControlModifier ? LayoutDesigner::CtrlKey : 0) |
           (m & Qt::AltModifier ? LayoutDesigner::AltKey : 0);
}

}  // namespace

void RegisterPrintDesigner()
{
    Myprn::InstallDesigner([](Myprn& w) { new PrintDesigner(w); });
}

PrintDesigner::PrintDesigner(Myprn& window)
    : QObject(&window), m_window(window), m_editor(window.engine()), m_designer(window.engine(), m_editor)
{
    setObjectName(QStringLiteral("PrintDesigner"));
    QWidget* strip = window.toolArea();
    auto* column = new QVBoxLayout(strip);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    const QString green = QStringLiteral("background-color: rgb(192,255,192)");
    Cmd = new QPushButton(EditOff, strip);
    Cmd->setObjectName(QStringLiteral("Cmd"));
    Cmd->setToolTip(QStringLiteral("开始编辑"));
    Cmd->setFixedSize(24, 24);
    Cmd->setStyleSheet(green);
    column->addWidget(Cmd);
    for (const ToolSpec& t : Tools) {
        if (t.gapBefore)
            column->addSpacing(t.gapBefore);
        auto* b = new QPushButton(QString::fromUtf8(t.caption), strip);
        b->setObjectName(QStringLiteral("CmdMove%1").arg(t.index));
        b->setToolTip(QString::fromUtf8(t.tip));
        b->setFixedSize(24, 24);
        b->setEnabled(false);
        b->setFocusPolicy(Qt::NoFocus);
        if (t.index == LayoutDesigner::Properties || t.index == LayoutDesigner::Barcode)
            b->setStyleSheet(green);
        CmdMove[t.index] = b;
        column->addWidget(b);
        const int index = t.index;
        // A tool acts when it is pressed, not when it is released.
        connect(b, &QPushButton::pressed, this,
                [this, index] { m_designer.press(index, MaskOf(QApplication::keyboardModifiers())); });
    }
    column->addStretch(1);
    strip->setVisible(true);
    connect(Cmd, &QPushButton::clicked, this, &PrintDesigner::toggleEditing);

    Shp = new QRubberBand(QRubberBand::Rectangle, window.picture());
    Shp->setObjectName(QStringLiteral("Shp"));
    window.picture()->installEventFilter(this);
    window.picture()->setFocusPolicy(Qt::StrongFocus);
    window.picture()->setMouseTracking(true);
    window.decoratePage = [this](QImage& page) { decorate(page); };

    connect(&m_editor, &LayoutEditor::changed, &window, &Myprn::layoutChanged);
    connect(&m_editor, &LayoutEditor::redrawOnly, &window, &Myprn::ReDrawPic);
    connect(&m_editor, &LayoutEditor::pagingChanged, &window, &Myprn::relayout);
    connect(&m_designer, &LayoutDesigner::toolsChanged, this, &PrintDesigner::updateTools);
    connect(&m_designer, &LayoutDesigner::selectionChanged, &window, &Myprn::ReDrawPic);
    m_designer.askBarcode = [this](int code) { return askBarcode(code); };
    m_designer.showProperties = [this](int kind, int row) { showItemProperties(kind, row); };
    m_designer.showLogo = [this] { logoPicture(); };
    m_designer.showPaperSetup = [this] { printSetup(); };

    const auto hook = [this, &window](const char* name, std::function<void()> run) {
        if (QAction* a = window.findChild<QAction*>(QString::fromLatin1(name))) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, run] {
                m_designer.clearSelection();
                run();
            });
        }
    };
    hook("menu_DesignPaper", [this] { printSetup(); });
    hook("menu_DesignPrinter", [this] { chooseTemplate(); });
    hook("menu_DesignPic", [this] { logoPicture(); });
    hook("menu_DesignVal", [this] { itemList(0); });
    hook("menu_DesignRst", [this] { itemList(1); });
    hook("menu_DesignStr", [this] { itemList(2); });
    hook("menu_DesignLine", [this] { itemList(3); });
}

void PrintDesigner::toggleEditing()
{
    const bool on = Cmd->text() != EditOn;
    Cmd->setText(on ? EditOn : EditOff);
    Cmd->setToolTip(on ? QStringLiteral("停止编辑") : QStringLiteral("开始编辑"));
    m_designer.setEditing(on);
    m_window.picture()->setFocus();
}

void PrintDesigner::updateTools()
{
    for (int i = 0; i < LayoutDesigner::ToolCount; ++i)
        CmdMove[i]->setEnabled(m_designer.editing() && m_designer.toolEnabled(i));
}

void PrintDesigner::decorate(QImage& page)
{
    const Selection& s = m_designer.selection();
    if (!m_designer.editing() || s.kind.isEmpty())
        return;
    QPainter p(&page);
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QRectF box;
    if (s.kind == QLatin1String("#LOGO")) {
        const PrintEngine& e = m_window.engine();
        const QSizeF size = m_designer.logoSize();
        box = QRectF(m_window.toPixel({e.LogoLeft, e.LogoTop}), m_window.toPixel({e.LogoLeft + size.width(),
                                                                                   e.LogoTop + size.height()}));
    } else if (s.kind == Field && s.name == QLatin1String("记录集横线")) {
        const TableGeometry& g = m_window.engine().table;
        const double y = g.tabTop + g.rcdLineTop + g.rowHeight;
        box = QRectF(m_window.toPixel({g.rcdLineLeft, y - 0.5}), m_window.toPixel({g.rcdLineRight, y + 0.5}));
    } else {
        const double right = s.right > s.left ? s.right : s.left + 2;
        const double bottom = s.kind == Line ? std::max(s.bottom, s.top) : s.top + 5;
        const double left = s.wholeRow ? m_window.engine().LeftMargin : s.left;
        box = QRectF(m_window.toPixel({left, s.top}), m_window.toPixel({right, bottom}));
        if (s.wholeRow)
            box.setRight(page.width() - 1);
    }
    p.drawRect(box.normalized().adjusted(-2, -2, 2, 2));
}

bool PrintDesigner::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.picture())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (!m_designer.editing())
            break;
        auto* m = static_cast<QMouseEvent*>(event);
        m_window.picture()->setFocus();
        if (m_banding) {
            // A release was missed: the band goes, nothing else.
            m_banding = false;
            Shp->hide();
            return true;
        }
        m_banding = true;
        m_bandOrigin = m->position().toPoint();
        Shp->setGeometry(QRect(m_bandOrigin, QSize(1, 1)));
        Shp->show();
        return true;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        const int mask = MaskOf(m->modifiers());
        const QPointF at = m_window.toLayout(m->position());
        if (mask == LayoutDesigner::CtrlKey || mask == (LayoutDesigner::CtrlKey | LayoutDesigner::AltKey)) {
            const double y = mask == LayoutDesigner::CtrlKey ? at.y() : at.y() - m_window.engine().pageHeight();
            m_window.setWindowTitle(QStringLiteral("横坐标：%1  纵坐标：%2").arg(qRound(at.x())).arg(qRound(y)));
            return false;
        }
        if (mask == LayoutDesigner::ShiftKey)
            return false;
        if (!m_window.windowTitle().contains(QStringLiteral("打印")))
            m_window.setWindowTitle(QStringLiteral("打印"));
        if (m_designer.editing() && m_banding && (m->buttons() & Qt::LeftButton))
            Shp->setGeometry(QRect(m_bandOrigin, m->position().toPoint()).normalized());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_designer.editing() || !m_banding)
            break;
        auto* m = static_cast<QMouseEvent*>(event);
        m_banding = false;
        Shp->hide();
        QRectF band(m_window.toLayout(QRectF(Shp->geometry()).topLeft()),
                    m_window.toLayout(QRectF(Shp->geometry()).bottomRight()));
        // A click without dragging catches what lies up to 2 units right and 1 below it.
        if (Shp->geometry().width() <= 2 && Shp->geometry().height() <= 2)
            band = QRectF(m_window.toLayout(m_bandOrigin), QSizeF(2, 1));
        m_designer.selectBand(band, m_window.toLayout(m->position()));
        return true;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(event);
        int tool = -1;
        switch (k->key()) {
        case Qt::Key_Left: tool = LayoutDesigner::MoveLeft; break;
        case Qt::Key_Up: tool = LayoutDesigner::MoveUp; break;
        case Qt::Key_Right: tool = LayoutDesigner::MoveRight; break;
        case Qt::Key_Down: tool = LayoutDesigner::MoveDown; break;
        default: break;
        }
        // Outside edit mode the arrows scroll the page as usual.
        if (tool < 0 || !m_designer.editing())
            break;
        if (CmdMove[tool]->isEnabled())
            m_designer.press(tool, MaskOf(k->modifiers()));
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PrintDesigner::printSetup()
{
    PrintEngine& e = m_window.engine();
    if (Printers().printerNames().isEmpty()) {
        MsgBox(QStringLiteral("对不起，您的电脑没有安装打印机！\r\r系统按照 ") + e.PaperName + QLatin1Char('(') +
               ShortNumber(e.PaperW) + QLatin1Char('*') + ShortNumber(e.PaperH) + QStringLiteral(")进行打印预览显示。"));
        return;
    }
    const QString printer = e.MyPrinterName;
    const bool follow = e.ChangePrinterOrientation;
    const int orientation = e.Porientation;
    const double top = e.TopMargin, left = e.LeftMargin;
    const double w = std::round(e.PaperW), h = std::round(e.PaperH);
    PrintSetupDialog box(e, m_window.app().CurrentDatabase, m_window.app().AppFolder, &m_window);
    box.exec();
    if (e.MyPrinterName != printer || e.Porientation != orientation || e.TopMargin != top || e.LeftMargin != left ||
        e.ChangePrinterOrientation != follow || e.PaperW != w || e.PaperH != h)
        m_window.relayout();
}

void PrintDesigner::chooseTemplate()
{
    PrintEngine& e = m_window.engine();
    const QString before = e.RptFile;
    TemplateChoiceDialog box(e, m_window.app().CurrentDatabase, m_window.app().AppFolder, &m_window);
    box.exec();
    if (e.RptFile != before) {
        MsgBox(QStringLiteral("您改变了打印模版文件，重新进入打印模块才能生效！"));
        // The layout shown belongs to the old file: saving it now writes that file.
        e.RptFile = before;
        m_window.close();
    }
}

void PrintDesigner::logoPicture()
{
    PrintEngine& e = m_window.engine();
    for (;;) {
        if (e.LogoPic.isEmpty()) {
            const QString path = Dialogs().openFile(QStringLiteral("打开标志图片文件"), e.LogopicPath,
                                                    QStringLiteral("*.jpg (*.jpg);;*.gif (*.gif);;*.bmp (*.bmp)"));
            if (path.isEmpty())
                return;
            if (!path.toUpper().startsWith(e.LogopicPath.toUpper())) {
                MsgBox(QStringLiteral("图片文件必须与打印模板文件处于相同的文件夹内！\r\r即：") + e.LogopicPath);
                e.LogoPic.clear();
                return;
            }
            e.LogoPic = e.LoadLogoPIC(path.mid(e.LogopicPath.size()));
            if (e.LogoPic.isEmpty()) {
                MsgBox(QStringLiteral("无效的图片文件！"));
                return;
            }
            if (e.LogoLeft == 0 && e.LogoTop == 0) {
                e.LogoLeft = 30;
                e.LogoTop = 2;
            }
        }
        LogoDialog box(e, &m_window);
        box.exec();
        if (e.LogoPic == QLatin1String("RESELECT")) {
            e.LogoPic.clear();
            continue;
        }
        m_editor.touch();
        return;
    }
}

void PrintDesigner::itemList(int kind)
{
    ItemListDialog box(m_window.engine(), m_editor, kind, &m_window);
    if (!box.fill())
        return;
    box.exec();
}

void PrintDesigner::showItemProperties(int kind, int row)
{
    ItemPropertyDialog box(m_editor, kind, row, &m_window);
    box.exec();
    m_window.picture()->setFocus();
}

QString PrintDesigner::askBarcode(int code)
{
    BarcodeDialog box(&m_window);
    box.preset(code);
    box.exec();
    return box.answer();
}
