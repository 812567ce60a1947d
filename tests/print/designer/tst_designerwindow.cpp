#include "platform/Grid.h"
#include "platform/SystemInfo.h"
#include "print/Myprn.h"
#include "print/PageSurface.h"
#include "print/PlistPrint.h"
#include "print/PrintSetStore.h"
#include "print/TemplateFile.h"
#include "print/designer/DesignerDialogs.h"
#include "print/designer/PrintDesigner.h"
#include "print/designer/Register.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString Pid = QStringLiteral("设计测试");

QStringList Template()
{
    return {QStringLiteral("PID=") + Pid, QStringLiteral("PRNSQL=select F1,F2 from Plist order by F0"),
            QStringLiteral("PAPER=A4"), QStringLiteral("PAPERW=210"), QStringLiteral("PAPERH=297"),
            QStringLiteral("DESIGNWIDTH=210"), QStringLiteral("VERSION=5.0"), QStringLiteral("ITEM=@0"),
            QStringLiteral("LEFT=10"), QStringLiteral("RIGHT=90"), QStringLiteral("FONTSIZE=12"),
            QStringLiteral("TABTOP=60"), QStringLiteral("TABBTM=-40"), QStringLiteral("ROWHEIGHT=8"),
            QStringLiteral("RCDTOP=1"), QStringLiteral("RCDLINETOP=8"), QStringLiteral("RCDLINELEFT=5"),
            QStringLiteral("RCDLINERIGHT=205"), QStringLiteral("ITEM=@1"), QStringLiteral("LEFT=110"),
            QStringLiteral("RIGHT=200"), QStringLiteral("FONTSIZE=12"), QStringLiteral("ITEM=合计"),
            QStringLiteral("LEFT=20"), QStringLiteral("TOP=20"), QStringLiteral("RIGHT=80"),
            QStringLiteral("FONTSIZE=14"), QStringLiteral("FONTBOLD=0"), QStringLiteral("ALIGN=0"),
            QStringLiteral("ITEM=合计"), QStringLiteral("LEFT=120"), QStringLiteral("TOP=30"),
            QStringLiteral("RIGHT=180"), QStringLiteral("FONTSIZE=14"), QStringLiteral("FONTBOLD=0"),
            QStringLiteral("ALIGN=0"), QStringLiteral("ITEM=@LINE//;;顶框线"), QStringLiteral("LEFT=5"),
            QStringLiteral("TOP=60"), QStringLiteral("RIGHT=205"), QStringLiteral("BOTTOM=60"),
            QStringLiteral("FONTSIZE=2")};
}

// Runs `action` on the next modal window other than `current`.
void WhenModalOver(QWidget* current, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, current, action, deadline] {
        QWidget* w = QApplication::activeModalWidget();
        if ((w && w != current) || deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            if (w && w != current)
                action(w);
        }
    });
    timer->start(20);
}

// The value of `key` of the n-th constant (0-based) in table order.
QString Constant(const std::vector<ItemRow>& rows, int n, const QString& key)
{
    int seen = -1;
    QString owner;
    for (const ItemRow& r : rows) {
        if (r.key == QLatin1String("VALUE")) {
            owner = r.owner;
            seen += owner == QStringLiteral("常量");
            continue;
        }
        if (owner == QStringLiteral("常量") && seen == n && r.key == key)
            return r.value;
    }
    return QString();
}

// The constant (0 or 1) whose LEFT is `left`, found by position in the table.
int ConstantAt(const std::vector<ItemRow>& rows, const QString& left)
{
    for (int n = 0; n < 2; ++n)
        if (Constant(rows, n, QStringLiteral("LEFT")) == left)
            return n;
    return -1;
}

QPushButton* Button(QWidget* w, const QString& name)
{
    return w->findChild<QPushButton*>(name);
}

void Press(QWidget* w, const QString& name, Qt::KeyboardModifiers mods = {})
{
    QPushButton* b = Button(w, name);
    QVERIFY2(b && b->isEnabled(), qPrintable(name));
    QTest::mousePress(b, Qt::LeftButton, mods);
    QTest::mouseRelease(b, Qt::LeftButton, mods);
}

// Ink (dark pixels) of a picture inside a layout rectangle.
int InkIn(const QImage& page, Myprn* w, const QRectF& layoutRect)
{
    const QRect r = QRectF(w->toPixel(layoutRect.topLeft()), w->toPixel(layoutRect.bottomRight())).toRect();
    int n = 0;
    for (int y = std::max(0, r.top()); y < std::min(page.height(), r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x < std::min(page.width(), r.right()); ++x)
            n += qGray(page.pixel(x, y)) < 128;
    return n;
}

}  // namespace

class TestDesignerWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void designAndSave();
    void operatorsGetNoDesigner();
    void printSetUpGivesTheNextPrintItsPaper();
    void recordListSetsColumnsAcross_data();
    void recordListSetsColumnsAcross();
    void hidingAllLinesIsStoredHidingVariablesIsNot();
    void templateMatchesLayout_data();
    void templateMatchesLayout();
    void templateChoiceAssignsTheFileAndKeepsItWhole();
    void printSetUpWithoutPrinterOnlyTells();

private:
    void run(const std::function<void(Myprn*)>& during);
    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<FakePrinters::Installation> printers;
};

void TestDesignerWindow::initTestCase()
{
    RegisterPrintDesigner();
}

void TestDesignerWindow::init()
{
    set = std::make_unique<FreshAccountSet>();
    set->loginAs(QStringLiteral("001"));
    printers.reset();
    printers = std::make_unique<FakePrinters::Installation>(set->folder());
    QVERIFY(InstallPrintFiles(set->programFolder(), {QStringLiteral("vxp.dat")}));
    PrintLayout layout;
    QVERIFY(TemplateFile::ReadLines(layout, Template(), Pid));
    layout.GdM.erase(layout.GdM.begin(), layout.GdM.begin() + 4);
    QCOMPARE(TemplateFile::Save(layout, set->app().AppFolder + QStringLiteral("design.vxp")), QString());
    PrintSetStore(set->db()).Assign(Pid, ComputerName(), QStringLiteral("测试打印机"), QStringLiteral("design.vxp"), false);
}

void TestDesignerWindow::run(const std::function<void(Myprn*)>& during)
{
    PlistPrint job(set->app());
    job.Pid = Pid;
    job.RptFile = set->app().AppFolder + QStringLiteral("vxp.dat");
    for (int i = 1; i <= 5; ++i)
        job.addRow({QStringLiteral("货品%1").arg(i), QStringLiteral("A-%1").arg(i)});
    job.PrnSQL = QStringLiteral("select F1,F2 from Plist order by F0");
    QVERIFY(ShowPrintJob(job, during));
}

void TestDesignerWindow::designAndSave()
{
    MessageScript msgs;
    run([&](Myprn* w) {
        auto* pic = w->findChild<QLabel*>(QStringLiteral("Pic"));
        auto* strip = w->findChild<QWidget*>(QStringLiteral("PTool"));
        QVERIFY(strip->isVisible());
        auto& rows = w->engine().GdM;
        // Edit mode: six tools wait for a selection.
        QVERIFY(!Button(w, QStringLiteral("CmdMove1"))->isEnabled());
        QTest::mouseClick(Button(w, QStringLiteral("Cmd")), Qt::LeftButton);
        QCOMPARE(Button(w, QStringLiteral("Cmd"))->text(), QStringLiteral("★"));
        int enabled = 0;
        for (int i = 0; i < 15; ++i)
            enabled += Button(w, QStringLiteral("CmdMove%1").arg(i))->isEnabled();
        QCOMPARE(enabled, 6);

        // A click just left of the second "合计" selects it, not the first.
        const QImage before = w->pageImage();
        QTest::mouseClick(pic, Qt::LeftButton, {}, w->toPixel({119.5, 29.8}).toPoint());
        auto* designer = w->findChild<PrintDesigner*>(QStringLiteral("PrintDesigner"));
        QVERIFY(designer);
        QCOMPARE(designer->designer().selection().kind, QStringLiteral("常量"));
        QCOMPARE(designer->designer().selection().left, 120.0);
        const int second = ConstantAt(rows, QStringLiteral("120"));

        // Up with the tool button, left with Ctrl and the arrow key (3 units).
        Press(w, QStringLiteral("CmdMove1"));
        QCOMPARE(Constant(rows, second, QStringLiteral("TOP")), QStringLiteral("29"));
        QTest::keyClick(pic, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(Constant(rows, second, QStringLiteral("LEFT")), QStringLiteral("117"));
        QCOMPARE(Constant(rows, second, QStringLiteral("RIGHT")), QStringLiteral("177"));
        QVERIFY(w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible());
        // The page changed where the item was and where it went; the other "合计" stays.
        QCOMPARE(Constant(rows, 1 - second, QStringLiteral("LEFT")), QStringLiteral("20"));
        QCOMPARE(Constant(rows, 1 - second, QStringLiteral("TOP")), QStringLiteral("20"));

        // Larger, bold and centred.
        Press(w, QStringLiteral("CmdMove9"));
        Press(w, QStringLiteral("CmdMove13"));
        Press(w, QStringLiteral("CmdMove8"));
        QCOMPARE(Constant(rows, second, QStringLiteral("FONTSIZE")), QStringLiteral("15"));
        QCOMPARE(Constant(rows, second, QStringLiteral("FONTBOLD")), QStringLiteral("1"));
        QCOMPARE(Constant(rows, second, QStringLiteral("ALIGN")), QStringLiteral("2"));

        // The barcode window: a medium barcode with its text.
        WhenModalOver(w, [](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("MyprnBC"));
            box->findChild<QCheckBox*>(QStringLiteral("ChK0"))->click();
            box->findChild<QAbstractButton*>(QStringLiteral("Opt1"))->click();
            box->findChild<QCheckBox*>(QStringLiteral("ChK1"))->click();
            Button(box, QStringLiteral("Cmd0"))->click();
        });
        Press(w, QStringLiteral("CmdMove12"));
        QCOMPARE(Constant(rows, second, QStringLiteral("FONTBOLD")), QStringLiteral("5"));
        QVERIFY(!Button(w, QStringLiteral("CmdMove9"))->isEnabled());

        // The property window edits the selected item: its font size back to 12.
        WhenModalOver(w, [](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("MyprnDesignBox"));
            auto* gd = box->findChild<Grid*>(QStringLiteral("GD"));
            for (int r = 1; r < gd->rows(); ++r)
                if (gd->textMatrix(r, 1) == QLatin1String("FONTSIZE"))
                    gd->setTextMatrix(r, 2, QStringLiteral("12"));
                else if (gd->textMatrix(r, 1) == QLatin1String("FONTBOLD"))
                    gd->setTextMatrix(r, 2, QStringLiteral("0"));
            Button(box, QStringLiteral("Cmd0"))->click();
        });
        Press(w, QStringLiteral("CmdMove11"));
        const int moved = ConstantAt(rows, QStringLiteral("117"));
        QVERIFY(moved >= 0);
        QCOMPARE(Constant(rows, moved, QStringLiteral("FONTSIZE")), QStringLiteral("12"));
        QCOMPARE(Constant(rows, 1 - moved, QStringLiteral("FONTSIZE")), QStringLiteral("14"));

        // A rubber band around the first "合计" selects it.
        QTest::mousePress(pic, Qt::LeftButton, {}, w->toPixel({15, 15}).toPoint());
        QMouseEvent move(QEvent::MouseMove, w->toPixel({30, 25}), pic->mapToGlobal(w->toPixel({30, 25})),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pic, &move);
        QTest::mouseRelease(pic, Qt::LeftButton, {}, w->toPixel({30, 25}).toPoint());
        QCOMPARE(designer->designer().selection().left, 20.0);

        QVERIFY(w->pageImage() != before);

        // The item list: delete the first constant.
        WhenModalOver(w, [&msgs](QWidget* list) {
            QCOMPARE(list->objectName(), QStringLiteral("MyprnDesign"));
            auto* gd = list->findChild<Grid*>(QStringLiteral("GD"));
            QCOMPARE(gd->rows(), 3);
            gd->setRow(1);
            msgs.expect(QStringLiteral("真的要删除[合计]吗？"), MB::OK);
            list->findChild<QAction*>(QStringLiteral("Menu_fun2"))->trigger();
            QCOMPARE(gd->rows(), 2);
            list->findChild<QAction*>(QStringLiteral("Menu_fun5"))->trigger();
        });
        const QImage withBoth = w->pageImage();
        w->findChild<QAction*>(QStringLiteral("menu_DesignStr"))->trigger();
        // The page loses exactly the deleted item.
        QVERIFY(InkIn(withBoth, w, QRectF(19, 19, 62, 8)) > 20);
        QCOMPARE(InkIn(w->pageImage(), w, QRectF(19, 19, 62, 8)), 0);
        QCOMPARE(InkIn(w->pageImage(), w, QRectF(100, 27, 105, 8)), InkIn(withBoth, w, QRectF(100, 27, 105, 8)));
        int constants = 0;
        for (const ItemRow& r : rows)
            constants += r.owner == QStringLiteral("常量") && r.key == QLatin1String("VALUE");
        QCOMPARE(constants, 1);

        // A logo from the template's folder, placed at 30, 2 and drawn there.
        QImage logo(60, 30, QImage::Format_RGB32);
        logo.fill(Qt::black);
        QVERIFY(logo.save(set->app().AppFolder + QStringLiteral("logo.bmp")));
        DialogScript files;
        files.openFile(set->app().AppFolder + QStringLiteral("logo.bmp"));
        WhenModalOver(w, [](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("MyprnLogoPic"));
            Button(box, QStringLiteral("Cmd0"))->click();
        });
        QCOMPARE(InkIn(w->pageImage(), w, QRectF(31, 3, 10, 5)), 0);
        w->findChild<QAction*>(QStringLiteral("menu_DesignPic"))->trigger();
        QCOMPARE(w->engine().LogoPic, QStringLiteral("logo.bmp"));
        QCOMPARE(w->engine().LogoLeft, 30.0);
        QCOMPARE(w->engine().LogoTop, 2.0);
        QVERIFY(InkIn(w->pageImage(), w, QRectF(31, 3, 10, 5)) > 100);

        // Save, then the file read back means what the window shows.
        msgs.expect(QStringLiteral("真的保存当前设置吗"), MB::OK);
        w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->trigger();
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible());
        QStringList lines;
        QVERIFY(TemplateFile::ReadFile(set->app().AppFolder + QStringLiteral("design.vxp"), lines));
        PrintEngine back;
        back.Pid = Pid;
        back.LogopicPath = set->app().AppFolder;
        QVERIFY(back.ReadTemplateLines(lines));
        QCOMPARE(Constant(back.GdM, 0, QStringLiteral("LEFT")), QStringLiteral("117"));
        QCOMPARE(Constant(back.GdM, 0, QStringLiteral("TOP")), QStringLiteral("29"));
        QCOMPARE(Constant(back.GdM, 0, QStringLiteral("ALIGN")), QStringLiteral("2"));
        QCOMPARE(back.LogoPic, QStringLiteral("logo.bmp"));
        // Leaving edit mode draws the page without any mark: the saved layout renders the same page.
        QTest::mouseClick(Button(w, QStringLiteral("Cmd")), Qt::LeftButton);
        back.GdM.clear();
        back.startNamedValues(set->app().CompanyName);
        QVERIFY(back.ReadTemplateLines(lines));
        back.OpenRecords(set->db());
        back.SetUpPage();
        back.CurPage = 1;
        ImageSurface page(back.pageWidth(), back.pageHeight(), Myprn::PreviewDpi);
        back.PrepareSurface(page);
        back.RenderPage(page);
        QVERIFY(PictureMismatch(page.image(), w->pageImage()) < 0.001);
    });
}

void TestDesignerWindow::operatorsGetNoDesigner()
{
    set->loginAs(QStringLiteral("002"));
    run([](Myprn* w) {
        QVERIFY(!w->findChild<QWidget*>(QStringLiteral("PTool"))->isVisible());
        QVERIFY(!w->findChild<PrintDesigner*>());
    });
}

void TestDesignerWindow::printSetUpGivesTheNextPrintItsPaper()
{
    MessageScript msgs;
    run([&](Myprn* w) {
        WhenModalOver(w, [&msgs](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("MyprnDesignPaper"));
            Button(box, QStringLiteral("Command1"))->click();
            box->findChild<QLineEdit*>(QStringLiteral("TxtN"))->setText(QStringLiteral("标签"));
            box->findChild<QLineEdit*>(QStringLiteral("TxtWN"))->setText(QStringLiteral("60"));
            box->findChild<QLineEdit*>(QStringLiteral("TxtHN"))->setText(QStringLiteral("100"));
            Button(box, QStringLiteral("Command5"))->click();
            QCOMPARE(box->findChild<QLineEdit*>(QStringLiteral("Txt"))->text(), QStringLiteral("Vorlo标签"));
            box->findChild<QAbstractButton*>(QStringLiteral("Opt1"))->click();
            box->findChild<QLineEdit*>(QStringLiteral("TxtTop"))->setText(QStringLiteral("5"));
            msgs.expect(QStringLiteral("程序不能强制改变所有型号打印机的默认打印方向"));
            box->findChild<QCheckBox*>(QStringLiteral("ChkPo0"))->click();
            Button(box, QStringLiteral("Command2"))->click();
        });
        w->findChild<QAction*>(QStringLiteral("menu_DesignPaper"))->trigger();
        PrintEngine& e = w->engine();
        QCOMPARE(e.PaperName, QStringLiteral("Vorlo标签"));
        QCOMPARE(e.PaperW, 60.0);
        QCOMPARE(e.PaperH, 100.0);
        QCOMPARE(e.Porientation, 2);
        QCOMPARE(e.TopMargin, -5.0);
        QVERIFY(w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible());
        // The preview is the landscape label.
        QVERIFY(w->pageImage().width() > w->pageImage().height());
        // The assignment of this computer now follows the layout's orientation.
        const RecordSet rows = set->db().query(
            QStringLiteral("select Pname,Pfile,I4 from PrintSet where Pid=? and Pcomputer=?"), {Pid, ComputerName()});
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(rows.text(0, 1), QStringLiteral("design.vxp"));
        QCOMPARE(rows.text(0, 2), QStringLiteral("1"));
        msgs.expect(QStringLiteral("真的保存当前设置吗"), MB::OK);
        w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->trigger();
    });
    // The next print takes the saved paper: the 60 x 100 mm label across, a 100 x 60 mm page.
    run([&](Myprn* w) {
        QCOMPARE(w->engine().PaperName, QStringLiteral("Vorlo标签"));
        w->findChild<QAction*>(QStringLiteral("Menu_print"))->trigger();
    });
    QCOMPARE(printers->printers->jobs.size(), 1);
    const QString info = RunTool(QStringLiteral("pdfinfo"), {printers->printers->jobs[0]});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    QVERIFY2(m.hasMatch(), qPrintable(info));
    QVERIFY2(qAbs(m.captured(1).toDouble() - 100 / 25.4 * 72) < 2 && qAbs(m.captured(2).toDouble() - 60 / 25.4 * 72) < 2,
             qPrintable(info));
}

void TestDesignerWindow::recordListSetsColumnsAcross_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("refusal");  // "" none
    QTest::addColumn<int>("labMode");
    QTest::newRow("3 columns") << "3" << "" << 2;
    QTest::newRow("blanks around") << " 3 " << "" << 2;
    QTest::newRow("3.0") << "3.0" << "请输入2-20之间的整数" << 0;
    QTest::newRow("03") << "03" << "请输入2-20之间的整数" << 0;
    QTest::newRow("1") << "1" << "请输入2-20之间的整数" << 0;
    QTest::newRow("21") << "21" << "请输入2-20之间的整数" << 0;
    QTest::newRow("empty") << "" << "" << 0;
}

void TestDesignerWindow::recordListSetsColumnsAcross()
{
    QFETCH(QString, answer);
    QFETCH(QString, refusal);
    QFETCH(int, labMode);
    MessageScript msgs;
    run([&](Myprn* w) {
        WhenModalOver(w, [&](QWidget* list) {
            QCOMPARE(list->objectName(), QStringLiteral("MyprnDesign"));
            QCOMPARE(list->windowTitle(), QStringLiteral("记录集"));
            auto* gd = list->findChild<Grid*>(QStringLiteral("GD"));
            QCOMPARE(gd->textMatrix(0, 1), QStringLiteral("1.F2"));
            QCOMPARE(gd->textMatrix(5, 0), QStringLiteral("货品5"));
            msgs.expectInput(QStringLiteral("请输入横向排版列数（2-20）"), answer);
            if (!refusal.isEmpty())
                msgs.expect(refusal);
            list->findChild<QAction*>(QStringLiteral("Menu_PB1"))->trigger();
            list->findChild<QAction*>(QStringLiteral("Menu_fun5"))->trigger();
        });
        w->findChild<QAction*>(QStringLiteral("menu_DesignRst"))->trigger();
        QCOMPARE(w->engine().LabMode, labMode);
        QCOMPARE(w->engine().MainRcd, labMode == 2 ? 2 : 5);
        QCOMPARE(w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible(), labMode != 0);
        if (labMode != 0) {
            msgs.expect(QStringLiteral("您更改了版面设置，需要保存吗？"), MB::No);
            w->reject();
        }
    });
    QCOMPARE(msgs.pending(), 0);
}

void TestDesignerWindow::hidingAllLinesIsStoredHidingVariablesIsNot()
{
    MessageScript msgs;
    run([&](Myprn* w) {
        for (const char* menu : {"menu_DesignVal", "menu_DesignLine"}) {
            WhenModalOver(w, [&](QWidget* list) {
                msgs.expect(QStringLiteral("你确定要"), MB::Yes);
                list->findChild<QAction*>(QStringLiteral("Menu_fun3"))->trigger();
                list->findChild<QAction*>(QStringLiteral("Menu_fun5"))->trigger();
            });
            w->findChild<QAction*>(QString::fromLatin1(menu))->trigger();
            const bool lines = QByteArray(menu) == "menu_DesignLine";
            QCOMPARE(w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible(), lines);
        }
        QVERIFY(w->engine().AllValHide);
        QVERIFY(w->engine().AllLineHide);
        QCOMPARE(msgs.recorded()[0].title, QStringLiteral("隐藏变量"));
        QCOMPARE(msgs.recorded()[1].title, QStringLiteral("隐藏表线"));
        msgs.expect(QStringLiteral("您更改了版面设置，需要保存吗？"), MB::Yes);
        msgs.expect(QStringLiteral("真的保存当前设置吗"), MB::OK);
        w->reject();
    });
    QStringList lines;
    QVERIFY(TemplateFile::ReadFile(set->app().AppFolder + QStringLiteral("design.vxp"), lines));
    QVERIFY(lines.contains(QStringLiteral("LINEHIDE=1")));
}

void TestDesignerWindow::templateMatchesLayout_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same layout") << QStringList{QStringLiteral("PID=设计测试"), QStringLiteral("PAPER=A4")} << true;
    QTest::newRow("another layout") << QStringList{QStringLiteral("PID=客户档案")} << false;
    QTest::newRow("no PID line") << QStringList{QStringLiteral("PAPER=A4")} << true;
    QTest::newRow("inside a longer text") << QStringList{QStringLiteral("pid=旧设计测试版")} << true;
    QTest::newRow("one of two lines") << QStringList{QStringLiteral("PID=客户"), QStringLiteral("PID=设计测试")} << true;
    QTest::newRow("no file") << QStringList() << false;
}

void TestDesignerWindow::templateMatchesLayout()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, accepted);
    const QString path = set->folder() + QStringLiteral("check.vxp");
    if (!lines.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QStringEncoder encode("GB18030");
        f.write(encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }
    QCOMPARE(TemplateChoiceDialog::TemplateMatchesPid(path, Pid), accepted);
}

// Choosing another template takes effect at the next opening. The layout on
// screen still belongs to the old file: saving it on closing must go there,
// not over the newly chosen template.
void TestDesignerWindow::templateChoiceAssignsTheFileAndKeepsItWhole()
{
    const QString chosen = set->app().AppFolder + QStringLiteral("other.vxp");
    QVERIFY(QFile::copy(set->app().AppFolder + QStringLiteral("design.vxp"), chosen));
    QFile original(chosen);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray chosenBytes = original.readAll();
    original.close();
    MessageScript msgs;
    DialogScript files;
    files.openFile(chosen);
    run([&](Myprn* w) {
        w->engine().LeftMargin = -7;
        w->layoutChanged();
        WhenModalOver(w, [&](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("MyPrinterSetUp"));
            Button(box, QStringLiteral("cmdOpen"))->click();
            QCOMPARE(box->findChild<QLineEdit*>(QStringLiteral("TxtFile"))->text(), chosen);
            msgs.expect(QStringLiteral("您改变了打印模版文件，重新进入打印模块才能生效！"));
            msgs.expect(QStringLiteral("您更改了版面设置，需要保存吗？"), MB::Yes);
            msgs.expect(QStringLiteral("真的保存当前设置吗"), MB::OK);
            Button(box, QStringLiteral("Cmd0"))->click();
        });
        w->findChild<QAction*>(QStringLiteral("menu_DesignPrinter"))->trigger();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(msgs.pending(), 0);
    const RecordSet rows = set->db().query(QStringLiteral("select Pfile from PrintSet where Pid=? and Pcomputer=?"),
                                           {Pid, ComputerName()});
    QCOMPARE(rows.rowCount(), 1);
    QCOMPARE(rows.text(0, 0), QStringLiteral("other.vxp"));
    QFile after(chosen);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), chosenBytes);
    QStringList lines;
    QVERIFY(TemplateFile::ReadFile(set->app().AppFolder + QStringLiteral("design.vxp"), lines));
    QVERIFY(lines.contains(QStringLiteral("LEFTMARGIN=7")));
}

void TestDesignerWindow::printSetUpWithoutPrinterOnlyTells()
{
    MessageScript msgs;
    run([&](Myprn* w) {
        printers.reset();
        printers = std::make_unique<FakePrinters::Installation>(set->folder(), false);
        msgs.expect(QStringLiteral("对不起，您的电脑没有安装打印机！\r\r系统按照 A4(210*297)进行打印预览显示。"));
        w->findChild<QAction*>(QStringLiteral("menu_DesignPaper"))->trigger();
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("Menu_SaveSet"))->isVisible());
    });
    QCOMPARE(msgs.pending(), 0);
}

VX_REGISTER_TEST(TestDesignerWindow)
#include "tst_designerwindow.moc"
