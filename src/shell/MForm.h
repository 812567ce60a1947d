#pragma once
// The main window: an MDI frame in which every record, document, list and
// report window opens as a child, over the background window. It renders the
// menu tree of App::Menus (re-rendered on MenuModel::changed), keeps the
// five-panel status bar and runs the close sequence: refused while a child
// window edits, confirmed, then the automatic backup and the file
// association before the program ends.

#include "core/MainFrame.h"

#include <QHash>
#include <QMainWindow>
#include <array>

class BGForm;
class Grid;
class QAction;
class QLabel;
class QMdiSubWindow;
struct App;
struct MenuItem;

// Status panel widths in twips for a frame `width` twips wide, panels 1 to 5.
std::array<double, 5> StatusPanelWidths(double width);

// The first child window of `area` in edit state (Edstu not 0), or null.
QMdiSubWindow* EditingChild(QMdiArea* area);

class MForm : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    explicit MForm(App& app, QWidget* parent = nullptr);
    ~MForm() override;

    // MainFrame
    QWidget* widget() override { return this; }
    QMdiArea* mdiArea() override { return MdiArea; }
    void setStatusText(int panel, const QString& text) override;
    QString statusText(int panel) const override;
    QFont backgroundFont() const override;

    BGForm* background() const { return Bg; }
    QLabel* panel(int panel) const { return Panels.at(size_t(panel - 1)); }
    void setPanelToolTip(int panel, const QString& tip);
    // The menu action of an item (null when there is none).
    QAction* menuAction(const QString& name) const { return Actions.value(name); }

    QMdiArea* MdiArea;
    BGForm* Bg;
    QStatusBar* Stb;
    std::array<QLabel*, 5> Panels;  // StbPanel1 .. StbPanel5
    QWidget* PanelStrip;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void renderMenus();
    void addMenuItem(QWidget* menu, MenuItem* item);
    void syncMenus();
    void layoutStatusBar();
    void panelDoubleClicked(int panel);

    App& app;
    QHash<QString, QAction*> Actions;
    bool Ending = false;
};
