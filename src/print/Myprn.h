#pragma once
// The print window: the preview of one print run through its layout
// template, with page navigation, printing of all pages, the current page or
// a range, and export of the page shown to a picture file. The work is done
// by PrintEngine; this window reads its menus and shows the pages.

#include "print/PrintEngine.h"

#include <QDialog>
#include <functional>

struct App;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class QTimer;
class Grid;

class Myprn : public QDialog {
    Q_OBJECT
public:
    explicit Myprn(App& app, QWidget* parent = nullptr);
    ~Myprn() override;

    PrintEngine& engine() { return m_engine; }
    App& app() { return m_app; }

    // The layout designer, when the program has one, attaches itself to
    // every print window of the top administrator through this hook.
    using DesignerHook = std::function<void(Myprn&)>;
    static void InstallDesigner(DesignerHook hook);

    // ---- what a designer uses
    // The column left of the page for the designer's tools (empty and hidden otherwise).
    QWidget* toolArea() const { return PTool; }
    // The page picture, which takes the designer's mouse and keys.
    QLabel* picture() const { return Pic; }
    // Draws over the page picture after every drawing (the selection).
    std::function<void(QImage&)> decoratePage;
    // Layout coordinates of a point of the page picture, and back.
    QPointF toLayout(const QPointF& pixel) const;
    QPointF toPixel(const QPointF& layoutPoint) const;
    // Marks the layout as changed (offers saving) and redraws the page.
    void layoutChanged();
    // Lays the pages out again from page 1 (after a change of paper or records layout).
    void relayout();

    // Draws the current page again from its first record (after a page step or a layout change).
    void ReDrawPic();
    // The page shown, as drawn.
    const QImage& pageImage() const { return m_pageImage; }
    // Prints pages first..last (0, 0 all pages).
    void PrintPages(int first, int last);
    // Saves the changed layout after asking; true when it was written.
    bool SaveLayout();

    // Preview resolution in dots per inch.
    static constexpr int PreviewDpi = 96;

protected:
    void showEvent(QShowEvent* e) override;
    // Closing asks to save a changed layout first; Cancel keeps the window open.
    void done(int r) override;

private:
    void firstLayout();
    void layoutPages();
    void goHome();
    void goUp();
    void goDown();
    void goEnd();
    void choosePageRange();
    void exportPicture();
    void exportRows();
    void autoPrint();
    void showHelp();
    void setNavigation();

    App& m_app;
    PrintEngine m_engine;
    bool m_firstActivation = true;
    bool m_faultShown = false;
    QImage m_pageImage;

    QMenuBar* menuBar;
    QAction* Menu_print;
    QMenu* Menu_Select;
    QAction* Menu_SelectPrint0;
    QAction* Menu_SelectPrint1;
    QAction* Menu_SelectPrint2;
    QMenu* Menu_Output;
    QAction* Menu_ToExcel;
    QAction* Menu_ToJPG;
    QMenu* menu_Set;
    QAction* Menu_SaveSet;
    QAction* Menu_Home;
    QAction* Menu_UP;
    QAction* Menu_Down;
    QAction* Menu_End;
    QAction* Menu_help;
    QAction* Menu_Rtn;
    QWidget* PTool;
    QScrollArea* Scroll;
    QLabel* Pic;
    QLabel* LabConnecting;
    QStatusBar* StBar;
    QLabel* Panel1;
    QLabel* Panel2;
    QLabel* Panel3;
    QTimer* TimerAutoPrint;
    Grid* GdTmp;  // export buffer, never shown
};
