// The main window's child windows as a user meets them, on real windows over
// a real account set: "返回" takes the MDI frame along, the window that opened
// a dialog is active again when the dialog closes, Alt+letter reaches the
// active child's own commands before the main menu, and every frame shows the
// program's icon.
#include "app/Wiring.h"
#include "core/App.h"
#include "core/WindowRegistry.h"
#include "platform/ProgramIcon.h"
#include "shell/MForm.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Popups.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStyleOptionViewItem>
#include <QTest>
#include <vector>

namespace {

struct Frame {
    explicit Frame(FreshAccountSet& set) : frame(set.app())
    {
        WireWindows(set.app().Windows);
        set.loginAs(QStringLiteral("001"));
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
    }
    ~Frame()
    {
        frame.MdiArea->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QMdiSubWindow* open(App& app, const QString& menu)
    {
        if (!OpenWindow(app, menu))
            return nullptr;
        QCoreApplication::processEvents();
        QWidget* w = OpenedWindow(app, menu);
        return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
    }
    MForm frame;
};

QAction* command(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QString::fromLatin1(name));
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace

class TestMdiWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnClosesTheFrame_data();
    void returnClosesTheFrame();
    void openerIsActiveAfterItsDialog();
    void altKeysReachTheActiveChild_data();
    void altKeysReachTheActiveChild();
    void framesShowTheProgramIcon();
    void numbersNeverShowPartly();
    void codesStandLeftNumbersRight();
    void headerClickOffersTheSort_data();
    void headerClickOffersTheSort();
};

void TestMdiWindows::returnClosesTheFrame_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("goods") << QStringLiteral("Menu_AA5") << false;
    QTest::newRow("goods maximized") << QStringLiteral("Menu_AA5") << true;
    QTest::newRow("supplier") << QStringLiteral("Menu_AA0") << false;
    QTest::newRow("stock report maximized") << QStringLiteral("Menu_KC0") << true;
}

void TestMdiWindows::returnClosesTheFrame()
{
    QFETCH(QString, menu);
    QFETCH(bool, maximized);
    FreshAccountSet set;
    Frame f(set);
    MessageScript msgs;
    // Opened and left with "返回" three times: no frame stays behind.
    for (int round = 0; round < 3; ++round) {
        QMdiSubWindow* sub = f.open(set.app(), menu);
        QVERIFY(sub);
        if (maximized)
            sub->showMaximized();
        QAction* back = command(sub->widget(), "Menu_Return");
        QVERIFY(back);
        back->trigger();
        settle();
        QCOMPARE(f.frame.MdiArea->subWindowList().size(), 0);
    }
}

void TestMdiWindows::openerIsActiveAfterItsDialog()
{
    FreshAccountSet set;
    Frame f(set);
    MessageScript msgs;
    QMdiSubWindow* suppliers = f.open(set.app(), QStringLiteral("Menu_AA0"));
    QMdiSubWindow* goods = f.open(set.app(), QStringLiteral("Menu_AA5"));
    QVERIFY(suppliers && goods);
    QCOMPARE(f.frame.MdiArea->activeSubWindow(), goods);

    // The goods window's search dialog; meanwhile another child is brought
    // to the front (as the window manager does when the dialog goes).
    bool shown = false;
    WhenModal([&](QWidget* d) {
        shown = true;
        f.frame.MdiArea->setActiveSubWindow(suppliers);
        static_cast<QDialog*>(d)->reject();
    });
    command(goods->widget(), "Menu_query")->trigger();
    QVERIFY(shown);
    settle();
    QCOMPARE(f.frame.MdiArea->activeSubWindow(), goods);

    // The same for a dialog whose parent is the main window: the child that
    // was active when it appeared comes back.
    f.frame.MdiArea->setActiveSubWindow(suppliers);
    WhenModal([&](QWidget* d) {
        f.frame.MdiArea->setActiveSubWindow(goods);
        static_cast<QDialog*>(d)->reject();
    });
    QDialog over(&f.frame);
    over.exec();
    settle();
    QCOMPARE(f.frame.MdiArea->activeSubWindow(), suppliers);
}

void TestMdiWindows::altKeysReachTheActiveChild_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximized") << true;
}

void TestMdiWindows::altKeysReachTheActiveChild()
{
    QFETCH(bool, maximized);
    FreshAccountSet set;
    Frame f(set);
    MessageScript msgs;
    f.open(set.app(), QStringLiteral("Menu_AA0"));
    QMdiSubWindow* goods = f.open(set.app(), QStringLiteral("Menu_AA5"));
    QVERIFY(goods);
    if (maximized)
        goods->showMaximized();
    settle();
    QWidget* w = goods->widget();
    QWidget* focus = w->findChild<QWidget*>(QStringLiteral("GD"));
    QVERIFY(focus);
    focus->setFocus();
    const auto edstu = [w] { return w->property("Edstu").toInt(); };

    // Alt+A: the goods window's "&A.增加", not the main menu's "&A.基础数据".
    QTest::keyClick(focus, Qt::Key_A, Qt::AltModifier);
    settle();
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(edstu(), 1);
    // Alt+C: "&C.取消" of the window while adding.
    QTest::keyClick(focus, Qt::Key_C, Qt::AltModifier);
    settle();
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(edstu(), 0);
    // Alt+Q: its "&Q.查找" opens the search dialog.
    bool searched = false;
    WhenModal([&](QWidget* d) {
        searched = true;
        static_cast<QDialog*>(d)->reject();
    });
    QTest::keyClick(focus, Qt::Key_Q, Qt::AltModifier);
    settle();
    QVERIFY(searched);
}

void TestMdiWindows::framesShowTheProgramIcon()
{
    FreshAccountSet set;
    UseProgramIcon();  // as both programs do at start
    Frame f(set);
    MessageScript msgs;
    const QImage icon = ProgramIconPixmap(16).toImage();
    for (const char* menu : {"Menu_AA5", "Menu_KC0"}) {
        QMdiSubWindow* sub = f.open(set.app(), QString::fromLatin1(menu));
        QVERIFY2(sub, menu);
        QCOMPARE(sub->windowIcon().pixmap(16, 16).toImage().convertToFormat(icon.format()), icon);
    }
    QCOMPARE(f.frame.windowIcon().pixmap(16, 16).toImage().convertToFormat(icon.format()), icon);
}

namespace {

// Records the cells a view paints: their text, how it would be cut, and the
// room it had.
class PaintedCells : public QProxyStyle {
public:
    struct Cell {
        QString text;
        Qt::TextElideMode elide;
        int room;
        int width;
    };
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_ItemViewItem)
            if (const auto* o = qstyleoption_cast<const QStyleOptionViewItem*>(option); o && !o->text.isEmpty()) {
                const QRect room = subElementRect(SE_ItemViewItemText, o, widget);
                const int margin = pixelMetric(PM_FocusFrameHMargin, o, widget) + 1;
                cells.push_back({o->text, o->textElideMode, room.width() - 2 * margin,
                                 o->fontMetrics.horizontalAdvance(o->text)});
            }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::vector<Cell> cells;
};

}  // namespace

void TestMdiWindows::numbersNeverShowPartly()
{
    FreshAccountSet set;
    for (int i = 1; i <= 3; ++i) {
        GoodsSpec goods;
        goods.code = QStringLiteral("G%1").arg(i);
        goods.name = QStringLiteral("货品%1").arg(i);
        goods.cost = 3300;
        goods.stock = 3300000 * i;
        goods.amount = 3300000.0 * i;
        AddGoods(set.db(), goods);
    }
    Frame f(set);
    MessageScript msgs;
    QMdiSubWindow* sub = f.open(set.app(), QStringLiteral("Menu_KC0"));
    QVERIFY(sub);
    sub->showNormal();
    sub->resize(380, 260);
    settle();
    Grid* gd = sub->widget()->findChild<Grid*>(QStringLiteral("GD"));
    QVERIFY(gd);
    auto* style = new PaintedCells;
    style->setParent(gd);
    gd->setStyle(style);
    gd->viewport()->grab();
    static const QRegularExpression number(QStringLiteral("^-?[0-9][0-9,]*(\\.[0-9]+)?$"));
    int cut = 0;
    for (const PaintedCells::Cell& c : style->cells) {
        if (!number.match(c.text.trimmed()).hasMatch() || c.width <= c.room)
            continue;
        ++cut;
        QVERIFY2(c.elide != Qt::ElideNone, qPrintable(c.text + QStringLiteral(" is clipped")));
    }
    QVERIFY2(cut > 0, "no number was too wide: the window is not narrow enough for the test");
}

void TestMdiWindows::codesStandLeftNumbersRight()
{
    FreshAccountSet set;
    GoodsSpec goods;
    goods.code = QStringLiteral("1001");
    goods.name = QStringLiteral("螺丝");
    goods.unit = QStringLiteral("100");
    goods.cost = 2.5;
    AddGoods(set.db(), goods);
    UnitSpec supplier;
    supplier.code = QStringLiteral("0012");
    supplier.name = QStringLiteral("供应商");
    AddUnit(set.db(), supplier);
    set.db().execute(QStringLiteral("UPDATE TA1 SET F4 = '13800001111' WHERE F1 = '0012'"));
    Frame f(set);
    MessageScript msgs;
    QMdiSubWindow* sub = f.open(set.app(), QStringLiteral("Menu_AA5"));
    QVERIFY(sub);
    Grid* gd = sub->widget()->findChild<Grid*>(QStringLiteral("GD"));
    QCOMPARE(gd->textMatrix(1, 0), QStringLiteral("1001"));
    QVERIFY(gd->gridModel()->effectiveAlignment(1, 0) & Qt::AlignLeft);  // code
    QVERIFY(gd->gridModel()->effectiveAlignment(1, 4) & Qt::AlignLeft);  // unit
    QVERIFY(gd->gridModel()->effectiveAlignment(1, 5) & Qt::AlignRight); // price
    sub = f.open(set.app(), QStringLiteral("Menu_AA0"));
    QVERIFY(sub);
    gd = sub->widget()->findChild<Grid*>(QStringLiteral("GD"));
    int row = 0;
    for (int r = 1; r < gd->rows(); ++r)
        if (gd->textMatrix(r, 0) == QStringLiteral("0012"))
            row = r;
    QVERIFY(row > 0);
    bool phone = false;
    for (int c = 0; c < gd->cols(); ++c)
        if (gd->textMatrix(row, c) == QStringLiteral("13800001111") || c == 0) {
            phone = phone || c > 0;
            QVERIFY2(gd->gridModel()->effectiveAlignment(row, c) & Qt::AlignLeft, qPrintable(QString::number(c)));
        }
    QVERIFY(phone);
}

void TestMdiWindows::headerClickOffersTheSort_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("col");
    QTest::newRow("goods list") << QStringLiteral("Menu_AA5") << 1;
    QTest::newRow("stock query") << QStringLiteral("Menu_KC0") << 1;
}

void TestMdiWindows::headerClickOffersTheSort()
{
    QFETCH(QString, menu);
    QFETCH(int, col);
    FreshAccountSet set;
    for (const char* code : {"G3", "G1", "G2", "G5", "G4"}) {
        GoodsSpec goods;
        goods.code = QString::fromLatin1(code);
        goods.name = QStringLiteral("货品") + goods.code;
        AddGoods(set.db(), goods);
    }
    Frame f(set);
    MessageScript msgs;
    QMdiSubWindow* sub = f.open(set.app(), menu);
    QVERIFY(sub);
    settle();
    Grid* gd = sub->widget()->findChild<Grid*>(QStringLiteral("GD"));
    QVERIFY(gd);
    QVERIFY2(gd->rows() > 4, qPrintable(QString::number(gd->rows())));
    QString caption;
    WhenPopup([&caption](QMenu* m) {
        if (QAction* by = m->findChild<QAction*>(QStringLiteral("Menu_sortBy")))
            caption = by->text();
        m->close();
    });
    QHeaderView* header = gd->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(caption, QStringLiteral("按") + gd->textMatrix(0, col) + QStringLiteral("排序"));
}

VX_REGISTER_TEST(TestMdiWindows)
#include "tst_mdiwindows.moc"
