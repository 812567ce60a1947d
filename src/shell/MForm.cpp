#include "shell/MForm.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/Permissions.h"
#include "widgets/GridBehaviours.h"
#include "core/MenuModel.h"
#include "widgets/SaveHint.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "shell/AccountSetSwitch.h"
#include "shell/BGForm.h"
#include "shell/FileAssociation.h"
#include "shell/MainMenu.h"
#include "shell/MdiChildren.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <cmath>

namespace {

constexpr int kTwips = Grid::TwipsPerPixel;

}  // namespace

std::array<double, 5> StatusPanelWidths(double width)
{
    // Single-precision panel widths; only the quarter is rounded (half to even).
    const double q = std::nearbyint(width / 4);
    return {q / 2 + q, q / 4, q / 2, (width - 2 * q) - q / 4 - 600, 500};
}

QMdiSubWindow* EditingChild(QMdiArea* area)
{
    if (!area)
        return nullptr;
    for (QMdiSubWindow* w : area->subWindowList())
        if (EditStateOf(w->widget()) != 0)
            return w;
    return nullptr;
}

MForm::MForm(App& app, QWidget* parent) : QMainWindow(parent), app(app)
{
    setObjectName(QStringLiteral("MForm"));
    app.MainWindow = this;

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(MdiArea);
    // The background lies in the MDI viewport beneath every child window.
    Bg = new BGForm(MdiArea->viewport());
    Bg->lower();
    MdiArea->viewport()->installEventFilter(this);
    new OpenerStaysActive(MdiArea);
    new ChildCommandKeys(MdiArea);

    Stb = new QStatusBar(this);
    Stb->setObjectName(QStringLiteral("Stb"));
    Stb->setSizeGripEnabled(false);
    setStatusBar(Stb);
    // The panels are placed by hand from the frame's width: sized by a layout,
    // their widths would feed back into the frame's minimum width.
    PanelStrip = new QWidget(Stb);
    PanelStrip->setObjectName(QStringLiteral("StbPanels"));
    PanelStrip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (int i = 0; i < 5; ++i) {
        Panels[size_t(i)] = new QLabel(PanelStrip);
        Panels[size_t(i)]->setObjectName(QStringLiteral("StbPanel%1").arg(i + 1));
        Panels[size_t(i)]->setFrameShape(QFrame::StyledPanel);
        Panels[size_t(i)]->installEventFilter(this);
    }
    PanelStrip->setFixedHeight(Panels[0]->sizeHint().height() + 2);
    Stb->addWidget(PanelStrip, 1);
    Panels[4]->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(16, 16));
    Panels[3]->setToolTip(QStringLiteral("双击此处可进行系统账套设置"));

    if (app.Menus.topLevel().empty())
        BuildMainMenu(app.Menus);
    renderMenus();
    connect(&app.Menus, &MenuModel::changed, this, &MForm::syncMenus);

    // Load: every step runs even when an earlier one failed.
    Bg->LoadPicture(app.AppFolder + QStringLiteral("syspic.dat"));
    setWindowTitle(app.AppTitle + QStringLiteral("--") + app.EditionName);
    Panels[0]->setText(QStringLiteral("欢迎使用") + app.AppTitle);
    Panels[1]->setText(QStringLiteral("操作员:"));
    ShowAccountSetInStatusBar(app);
    resize(1024, 720);
    layoutStatusBar();
    const QString help = app.AppFolder + QStringLiteral("使用说明.chm");
    if (!FileExists(help).isEmpty()) {
        auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
        connect(f1, &QShortcut::activated, this, [help] { OpenDocument(help); });
    }
}

MForm::~MForm()
{
    if (app.MainWindow == this)
        app.MainWindow = nullptr;
}

void MForm::setStatusText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 5)
        Panels[size_t(panel - 1)]->setText(text);
}

QString MForm::statusText(int panel) const
{
    return panel >= 1 && panel <= 5 ? Panels[size_t(panel - 1)]->text() : QString();
}

QFont MForm::backgroundFont() const
{
    return Bg->font();
}

void MForm::setPanelToolTip(int panel, const QString& tip)
{
    if (panel >= 1 && panel <= 5)
        Panels[size_t(panel - 1)]->setToolTip(tip);
}

// ---- menus ---------------------------------------------------------------

void MForm::renderMenus()
{
    menuBar()->clear();
    Actions.clear();
    for (MenuItem* top : app.Menus.topLevel())
        addMenuItem(menuBar(), top);
    syncMenus();
}

void MForm::addMenuItem(QWidget* parent, MenuItem* item)
{
    QAction* action = nullptr;
    if (!item->children.empty()) {
        auto* sub = new QMenu(item->caption, parent);
        sub->setObjectName(item->name);
        for (MenuItem* child : item->children)
            addMenuItem(sub, child);
        action = sub->menuAction();
        if (auto* bar = qobject_cast<QMenuBar*>(parent))
            bar->addMenu(sub);
        else
            static_cast<QMenu*>(parent)->addMenu(sub);
    } else if (item->isSeparator()) {
        action = static_cast<QMenu*>(parent)->addSeparator();
    } else {
        action = new QAction(item->caption, parent);
        parent->addAction(action);
        const QString name = item->name;
        connect(action, &QAction::triggered, this, [this, name] { RunMenuItem(app, name); });
    }
    action->setObjectName(item->name);
    Actions.insert(item->name, action);
}

void MForm::syncMenus()
{
    for (auto it = Actions.cbegin(); it != Actions.cend(); ++it) {
        const MenuItem* item = app.Menus.item(it.key());
        if (!item) {
            // The tree itself changed: build the bar again once this event is done.
            QMetaObject::invokeMethod(this, &MForm::renderMenus, Qt::QueuedConnection);
            return;
        }
        QAction* a = it.value();
        const bool submenu = !item->children.empty();
        if (!item->isSeparator())
            a->setText(item->caption);
        a->setVisible(item->visible);
        a->setEnabled(item->enabled && (submenu || item->isSeparator() || app.Windows.has(item->name)));
        if (item->checked) {
            a->setCheckable(true);
            a->setChecked(true);
        } else if (a->isCheckable()) {
            a->setChecked(false);
        }
    }
}

// ---- status bar ----------------------------------------------------------

void MForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    layoutStatusBar();
}

void MForm::layoutStatusBar()
{
    const std::array<double, 5> w = StatusPanelWidths(double(width()) * kTwips);
    int x = 0;
    for (size_t i = 0; i < 5; ++i) {
        const int px = std::max(0, int(w[i] / kTwips));
        Panels[i]->setGeometry(x, 1, px, PanelStrip->height() - 2);
        x += px;
    }
    Bg->setGeometry(MdiArea->viewport()->rect());
    Bg->Form_Resize();
}

bool MForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MdiArea->viewport() && event->type() == QEvent::Resize) {
        Bg->setGeometry(MdiArea->viewport()->rect());
        Bg->lower();
    }
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int i = 0; i < 5; ++i)
            if (watched == Panels[size_t(i)]) {
                panelDoubleClicked(i + 1);
                return true;
            }
    return QMainWindow::eventFilter(watched, event);
}

void MForm::panelDoubleClicked(int panel)
{
    // Panel 4 showing exactly the account-set name means no window is using the status line.
    const bool lineFree = statusText(4) == app.CurrentSetName;
    switch (panel) {
    case 2:
        if (lineFree)
            Relogin(app);
        break;
    case 3:
        OpenWindow(app, QStringLiteral("Menu_S2"));
        break;
    case 4:
        if (lineFree && IsTopAdministrator(app) && !app.OpenedFromCommandLine)
            OpenWindow(app, QStringLiteral("Menu_S2501"));
        break;
    case 5: {
        const QString calc = app.AppFolder + QStringLiteral("jisuan.exe");
        if (!FileExists(calc).isEmpty())
            StartProgram(calc);
        break;
    }
    default:
        break;
    }
}

// ---- exit ----------------------------------------------------------------

void MForm::closeEvent(QCloseEvent* e)
{
    if (Ending) {
        e->accept();
        return;
    }
    // Any child in edit state stops the exit, not only the active one:
    // its unsaved edit would be lost.
    if (QMdiSubWindow* editing = EditingChild(MdiArea)) {
        MdiArea->setActiveSubWindow(editing);
        WarnEditing();
        e->ignore();
        return;
    }
    if (MsgBox(QStringLiteral("真的要退出《") + app.AppTitle + QStringLiteral("》吗？"), MB::YesNo | MB::Question) !=
        MB::Yes) {
        e->ignore();
        return;
    }
    try {
        if (app.Windows.road.autoBackup)
            app.Windows.road.autoBackup(app);
    } catch (...) {
        // Nothing may stop the exit once it is confirmed.
    }
    RegisterFileAssociation(app.AppFolder + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    Ending = true;
    e->accept();
    QCoreApplication::exit(0);
}
