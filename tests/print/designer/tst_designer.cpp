#include "print/PrintEngine.h"
#include "print/PrintSetStore.h"
#include "print/TemplateFile.h"
#include "print/designer/ItemPropertyDialog.h"
#include "print/designer/LayoutDesigner.h"
#include "print/designer/LayoutEditor.h"
#include "platform/Grid.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A layout with a record table, two constants of the same text and a line.
QStringList Layout()
{
    return {QStringLiteral("PAPERW=210"), QStringLiteral("PAPERH=297"), QStringLiteral("DESIGNWIDTH=210"),
            QStringLiteral("VERSION=5.0"), QStringLiteral("ITEM=@0"), QStringLiteral("LEFT=10"),
            QStringLiteral("RIGHT=60"), QStringLiteral("TABTOP=40"), QStringLiteral("TABBTM=-30"),
            QStringLiteral("ROWHEIGHT=8"), QStringLiteral("RCDTOP=1"), QStringLiteral("RCDLINETOP=8"),
            QStringLiteral("RCDLINELEFT=0"), QStringLiteral("RCDLINERIGHT=190"),
            QStringLiteral("ITEM=合计"), QStringLiteral("LEFT=20"), QStringLiteral("TOP=10"),
            QStringLiteral("RIGHT=60"), QStringLiteral("FONTSIZE=12"), QStringLiteral("FONTBOLD=0"),
            QStringLiteral("ITEM=合计"), QStringLiteral("LEFT=100"), QStringLiteral("TOP=20"),
            QStringLiteral("RIGHT=140"), QStringLiteral("FONTSIZE=47"),
            QStringLiteral("ITEM=@LINE//;;线1"), QStringLiteral("LEFT=5"), QStringLiteral("TOP=30"),
            QStringLiteral("RIGHT=200"), QStringLiteral("BOTTOM=30"), QStringLiteral("FONTSIZE=1")};
}

struct Session {
    PrintEngine engine;
    LayoutEditor editor{engine};
    LayoutDesigner designer{engine, editor};
    Session()
    {
        engine.ReadTemplateLines(Layout());
        engine.SetUpPage();
        engine.readFieldProps(engine.pageHeight());
        designer.setEditing(true);
    }
    // The value of `key` of the n-th item (0-based) of kind `kind`.
    QString value(const QString& kind, int n, const QString& key) const
    {
        int seen = -1;
        QString owner;
        for (const ItemRow& r : engine.GdM) {
            if (r.key == QLatin1String("VALUE")) {
                owner = r.owner;
                if (owner == kind)
                    ++seen;
                continue;
            }
            if (owner == kind && seen == n && r.key == key)
                return r.value;
        }
        return QString();
    }
};

}  // namespace

class TestDesigner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickSelectsTheItemAtItsCorner_data();
    void clickSelectsTheItemAtItsCorner();
    void toolPresses_data();
    void toolPresses();
    void flatBandSelectsALine();
    void barcodeAnswerSetsTheCode();
    void propertyWindowEditsTheSelectedOfTwoEqualConstants();
    void printSetAssignmentIsOneTransactionWithBoundValues();
    void failedTemplateSaveKeepsTheFile();
};

void TestDesigner::clickSelectsTheItemAtItsCorner_data()
{
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<QString>("left");
    QTest::newRow("just left of the second constant") << QPointF(99, 19.5) << QStringLiteral("100");
    QTest::newRow("just left of the first constant") << QPointF(19, 9.5) << QStringLiteral("20");
    QTest::newRow("too far left") << QPointF(97, 19.5) << QString();
}

void TestDesigner::clickSelectsTheItemAtItsCorner()
{
    QFETCH(QPointF, click);
    QFETCH(QString, left);
    Session s;
    const bool any = s.designer.selectBand(QRectF(click, QSizeF(2, 1)), click);
    QCOMPARE(any, !left.isEmpty());
    if (any) {
        QCOMPARE(s.designer.selection().kind, QStringLiteral("常量"));
        QCOMPARE(ShortNumber(s.designer.selection().left), left);
        QVERIFY(s.designer.toolEnabled(LayoutDesigner::Bold));
    }
}

void TestDesigner::toolPresses_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("up with shift+ctrl moves 4") << int(LayoutDesigner::MoveUp) << 3 << "TOP" << "16";
    QTest::newRow("down moves 1") << int(LayoutDesigner::MoveDown) << 0 << "TOP" << "21";
    QTest::newRow("left with ctrl moves 3, right follows") << int(LayoutDesigner::MoveLeft) << 2 << "RIGHT" << "137";
    QTest::newRow("larger from 47 gives 48") << int(LayoutDesigner::Larger) << 0 << "FONTSIZE" << "48";
    QTest::newRow("centre sets 2") << int(LayoutDesigner::Centre) << 0 << "ALIGN" << "";
    QTest::newRow("bold inserts the row first") << int(LayoutDesigner::Bold) << 0 << "FONTBOLD" << "0";
    QTest::newRow("shorter") << int(LayoutDesigner::Shorter) << 0 << "RIGHT" << "139";
}

void TestDesigner::toolPresses()
{
    QFETCH(int, tool);
    QFETCH(int, shift);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    Session s;
    QVERIFY(s.designer.selectBand(QRectF(99, 19.5, 2, 1), QPointF(99, 19.5)));
    QSignalSpy changed(&s.editor, &LayoutEditor::changed);
    s.designer.press(tool, shift);
    QCOMPARE(s.value(QStringLiteral("常量"), 1, key), expected);
    // The other constant of the same text is never touched.
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("TOP")), QStringLiteral("10"));
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("RIGHT")), QStringLiteral("60"));
    // One change, one announcement; an inserted default announces nothing.
    QCOMPARE(changed.count(), tool == LayoutDesigner::Bold || tool == LayoutDesigner::Centre ? 0 : 1);
}

void TestDesigner::flatBandSelectsALine()
{
    Session s;
    QVERIFY(s.designer.selectBand(QRectF(3, 29, 8, 2), QPointF(11, 31)));
    QCOMPARE(s.designer.selection().kind, QStringLiteral("LINE"));
    QCOMPARE(s.designer.selection().name, QStringLiteral("线1"));
    QVERIFY(!s.designer.toolEnabled(LayoutDesigner::AlignLeft));
    QVERIFY(!s.designer.selectBand(QRectF(3, 29, 8, 3), QPointF(11, 32)));
}

void TestDesigner::barcodeAnswerSetsTheCode()
{
    Session s;
    QVERIFY(s.designer.selectBand(QRectF(19, 9.5, 2, 1), QPointF(19, 9.5)));
    int asked = -1;
    s.designer.askBarcode = [&asked](int code) {
        asked = code;
        return QStringLiteral("22");
    };
    s.designer.press(LayoutDesigner::Barcode, 0);
    QCOMPARE(asked, 0);
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("FONTBOLD")), QStringLiteral("5"));
    QVERIFY(!s.designer.toolEnabled(LayoutDesigner::Bold));
    s.designer.askBarcode = [](int) { return QString(); };
    s.designer.press(LayoutDesigner::Barcode, 0);
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("FONTBOLD")), QStringLiteral("5"));
}

// The property window used to find its item again by its text, so of two
// constants "合计" it always edited the first one.
void TestDesigner::propertyWindowEditsTheSelectedOfTwoEqualConstants()
{
    Session s;
    QVERIFY(s.designer.selectBand(QRectF(99, 19.5, 2, 1), QPointF(99, 19.5)));
    int kind = -1, row = -1;
    s.designer.showProperties = [&](int k, int r) {
        kind = k;
        row = r;
    };
    s.designer.press(LayoutDesigner::Properties, 0);
    QCOMPARE(kind, 2);
    ItemPropertyDialog box(s.editor, kind, row);
    auto* gd = box.findChild<Grid*>(QStringLiteral("GD"));
    QVERIFY(gd);
    QCOMPARE(gd->textMatrix(1, 0), QStringLiteral("值"));
    int leftRow = -1;
    for (int r = 1; r < gd->rows(); ++r)
        if (gd->textMatrix(r, 1) == QLatin1String("LEFT"))
            leftRow = r;
    QCOMPARE(gd->textMatrix(leftRow, 2), QStringLiteral("100"));
    gd->setTextMatrix(leftRow, 2, QStringLiteral("120"));
    QVERIFY(box.ApplyItemProperties());
    // The edited item moves to the end of the table; the other stays as it was.
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("LEFT")), QStringLiteral("20"));
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("LEFT")), QStringLiteral("120"));
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("FONTSIZE")), QStringLiteral("47"));
    // A second write-back replaces the same item: it is never there twice.
    QVERIFY(box.ApplyItemProperties());
    int constants = 0;
    for (const ItemRow& r : s.engine.GdM)
        constants += r.owner == QStringLiteral("常量") && r.key == QLatin1String("VALUE");
    QCOMPARE(constants, 2);
}

// The assignment used to be two statements with the values pasted in: an
// apostrophe broke the insert after the delete had run, leaving the layout
// with no assignment at all.
void TestDesigner::printSetAssignmentIsOneTransactionWithBoundValues()
{
    FreshAccountSet set;
    PrintSetStore store(set.db());
    const QString pid = QStringLiteral("客户's 档案");
    const QString printer = QStringLiteral("Tom's 激光打印机 with a name far longer than fifty characters ......");
    store.Assign(pid, QStringLiteral("PC-1"), QStringLiteral("旧打印机"), QStringLiteral("old.vxp"), false);
    store.Assign(pid, QStringLiteral("PC-1"), printer, QStringLiteral("O'Brien/模版.vxp"), true);
    PrintSetChoice c = store.Choose(pid, QStringLiteral("001"), QStringLiteral("PC-1"));
    QCOMPARE(c.printer, printer);
    QCOMPARE(c.file, QStringLiteral("O'Brien/模版.vxp"));
    QVERIFY(c.changePrinterOrientation);
    QCOMPARE(set.db().query(QStringLiteral("select count(*) from PrintSet where Pid=?"), {pid}).text(0, 0),
             QStringLiteral("1"));
    // An insert that fails leaves the previous assignment.
    set.db().execute(QStringLiteral("create temp trigger refuse before insert on PrintSet "
                                    "begin select raise(abort, 'refused'); end"));
    QVERIFY_THROWS_EXCEPTION(DbError, store.Assign(pid, QStringLiteral("PC-1"), QStringLiteral("新"),
                                                   QStringLiteral("new.vxp"), false));
    c = store.Choose(pid, QStringLiteral("001"), QStringLiteral("PC-1"));
    QCOMPARE(c.printer, printer);
}

void TestDesigner::failedTemplateSaveKeepsTheFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("layout.vxp"));
    PrintEngine e;
    QVERIFY(e.ReadTemplateLines(Layout()));
    QCOMPARE(TemplateFile::Save(e, file), QString());
    QStringList before;
    QVERIFY(TemplateFile::ReadFile(file, before));
    // The backup's name is taken by a folder that cannot be replaced (not
    // even by root): the save is reported and the template stays as it was.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("layout.vxp_OLD/inside")));
    e.GdM.push_back({QStringLiteral("常量"), QStringLiteral("VALUE"), QStringLiteral("新")});
    const QString problem = TemplateFile::Save(e, file);
    QVERIFY(problem.contains(QStringLiteral("无法写入")));
    QStringList after;
    QVERIFY(TemplateFile::ReadFile(file, after));
    QCOMPARE(after, before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("layout.vxp")});
    // Saved and read back, the layout means the same.
    QVERIFY(QDir(dir.filePath(QStringLiteral("layout.vxp_OLD"))).removeRecursively());
    QCOMPARE(TemplateFile::Save(e, file), QString());
    PrintEngine back;
    QStringList lines;
    QVERIFY(TemplateFile::ReadFile(file, lines));
    QVERIFY(back.ReadTemplateLines(lines));
    QCOMPARE(back.GdM, e.GdM);
}

VX_REGISTER_TEST(TestDesigner)
#include "tst_designer.moc"
