#include "print/PrintEngine.h"
#include "print/PrintSetStore.h"
#include "print/TemplateFile.h"
#include "print/designer/ItemListDialog.h"
#include "print/designer/ItemPropertyDialog.h"
#include "print/designer/LayoutDesigner.h"
#include "print/designer/LayoutEditor.h"
#include "platform/Grid.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QLineEdit>
#include <QPushButton>
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
    void nothingSelectedMovesThePage();
    void missingTopIsInsertedFirst();
    void recordRulesAndRowHeight();
    void wholeRowMovesTheRecords();
    void topFrameLineCarriesTheTableAndItemsAbove();
    void barcodeAnswerSetsTheCode();
    void propertyWindowEditsTheSelectedOfTwoEqualConstants();
    void propertyWindowButtonsWriteBackAtOnce();
    void renamingKeepsNamesUnique_data();
    void renamingKeepsNamesUnique();
    void listAddsUniqueItems_data();
    void listAddsUniqueItems();
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

void TestDesigner::nothingSelectedMovesThePage()
{
    Session s;
    QSignalSpy changed(&s.editor, &LayoutEditor::changed);
    for (int i = 0; i < 3; ++i)
        s.designer.press(LayoutDesigner::MoveUp, 0);
    s.designer.press(LayoutDesigner::MoveLeft, LayoutDesigner::CtrlKey);
    QCOMPARE(s.engine.TopMargin, 3.0);
    QCOMPARE(s.engine.LeftMargin, 3.0);
    QCOMPARE(changed.count(), 4);
}

void TestDesigner::missingTopIsInsertedFirst()
{
    Session s;
    s.editor.addItem(QStringLiteral("常量"), QStringLiteral("无顶"), {{QStringLiteral("LEFT"), QStringLiteral("150")}});
    s.engine.readFieldProps(s.engine.pageHeight());
    // Without a TOP row the item stands at -100 for the hit test; a band there catches nothing,
    // so select it the way the tool buttons see it.
    QVERIFY(s.designer.selectBand(QRectF(149, -101, 4, 2), QPointF(149, -101)));
    QSignalSpy changed(&s.editor, &LayoutEditor::changed);
    s.designer.press(LayoutDesigner::MoveUp, 0);
    const int row = s.editor.findItem(QStringLiteral("常量"), QStringLiteral("无顶"));
    QCOMPARE(s.engine.GdM[size_t(row) + 1].key, QStringLiteral("TOP"));
    QCOMPARE(s.engine.GdM[size_t(row) + 1].value, QStringLiteral("0"));
    s.designer.press(LayoutDesigner::MoveUp, 0);  // refused at 0
    QCOMPARE(s.engine.GdM[size_t(row) + 1].value, QStringLiteral("0"));
    QCOMPARE(changed.count(), 0);
}

void TestDesigner::recordRulesAndRowHeight()
{
    Session s;
    // A wide band inside the table that catches no item selects the rule lines.
    QVERIFY(s.designer.selectBand(QRectF(1, 200, 200, 5), QPointF(201, 205)));
    QCOMPARE(s.designer.selection().name, QStringLiteral("记录集横线"));
    s.designer.press(LayoutDesigner::Larger, LayoutDesigner::ShiftKey);  // 1 whatever the keys
    s.designer.press(LayoutDesigner::MoveRight, LayoutDesigner::ShiftKey);
    s.designer.press(LayoutDesigner::Bold, 0);
    s.designer.press(LayoutDesigner::Bold, LayoutDesigner::ShiftKey);
    const int field = s.editor.findItem(QStringLiteral("字段"), QStringLiteral("0"));
    PropertyList props = s.editor.properties(field);
    const auto get = [&props](const char* key) {
        for (const auto& [k, v] : props)
            if (k == QLatin1String(key))
                return v;
        return QString();
    };
    QCOMPARE(get("ROWHEIGHT"), QStringLiteral("9"));
    QCOMPARE(get("RCDLINELEFT"), QStringLiteral("2"));
    QCOMPARE(get("RCDLINERIGHT"), QStringLiteral("192"));
    QCOMPARE(s.engine.RcdLineH, 3);  // 1 -> 2 alone, then + 1 with a key held
    // The constants and the line are left alone.
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("LEFT")), QStringLiteral("20"));
}

void TestDesigner::wholeRowMovesTheRecords()
{
    Session s;
    // A band two thirds of the page wide over column 0's first row.
    QVERIFY(s.designer.selectBand(QRectF(5, 45, 180, 10), QPointF(185, 55)));
    QVERIFY(s.designer.selection().wholeRow);
    QVERIFY(s.designer.toolEnabled(LayoutDesigner::MoveUp));
    QVERIFY(!s.designer.toolEnabled(LayoutDesigner::MoveLeft));
    s.designer.press(LayoutDesigner::MoveUp, LayoutDesigner::CtrlKey);
    const int field = s.editor.findItem(QStringLiteral("字段"), QStringLiteral("0"));
    for (const auto& [k, v] : s.editor.properties(field))
        if (k == QLatin1String("RCDTOP"))
            QCOMPARE(v, QStringLiteral("-2"));
}

void TestDesigner::topFrameLineCarriesTheTableAndItemsAbove()
{
    Session s;
    s.editor.addItem(QStringLiteral("LINE"), QStringLiteral("顶框线"),
                     {{QStringLiteral("LEFT"), QStringLiteral("5")}, {QStringLiteral("TOP"), QStringLiteral("40")},
                      {QStringLiteral("RIGHT"), QStringLiteral("200")}, {QStringLiteral("BOTTOM"), QStringLiteral("40")},
                      {QStringLiteral("FONTSIZE"), QStringLiteral("2")}});
    QVERIFY(s.designer.selectBand(QRectF(3, 39, 8, 2), QPointF(11, 41)));
    QCOMPARE(s.designer.selection().name, QStringLiteral("顶框线"));
    s.designer.press(LayoutDesigner::MoveDown, LayoutDesigner::ShiftKey);
    const int field = s.editor.findItem(QStringLiteral("字段"), QStringLiteral("0"));
    for (const auto& [k, v] : s.editor.properties(field))
        if (k == QLatin1String("TABTOP"))
            QCOMPARE(v, QStringLiteral("42"));
    // Items above the table bottom follow; the line itself moved once, by its own rule.
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("TOP")), QStringLiteral("12"));
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("TOP")), QStringLiteral("22"));
    QCOMPARE(s.value(QStringLiteral("LINE"), 1, QStringLiteral("TOP")), QStringLiteral("42"));
    QCOMPARE(s.value(QStringLiteral("LINE"), 1, QStringLiteral("BOTTOM")), QStringLiteral("42"));
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

void TestDesigner::propertyWindowButtonsWriteBackAtOnce()
{
    Session s;
    const int first = s.editor.findItem(QStringLiteral("常量"), QStringLiteral("合计"));
    const int second = s.engine.itemEnd(first);
    ItemPropertyDialog box(s.editor, 2, second);
    QSignalSpy changed(&s.editor, &LayoutEditor::changed);
    for (int i = 0; i < 3; ++i)
        box.findChild<QPushButton*>(QStringLiteral("CmdMove0"))->click();
    box.findChild<QPushButton*>(QStringLiteral("CmdMove8"))->click();  // no ALIGN row yet: one is added
    box.findChild<QPushButton*>(QStringLiteral("Cmd1"))->click();      // cancel keeps what the buttons wrote
    QCOMPARE(changed.count(), 4);
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("LEFT")), QStringLiteral("97"));
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("RIGHT")), QStringLiteral("137"));
    QCOMPARE(s.value(QStringLiteral("常量"), 1, QStringLiteral("ALIGN")), QStringLiteral("2"));
    QCOMPARE(s.value(QStringLiteral("常量"), 0, QStringLiteral("LEFT")), QStringLiteral("20"));
}

void TestDesigner::renamingKeepsNamesUnique_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("constant taking another's text") << 2 << "合计" << "合计~#1";
    QTest::newRow("constant with blanks and a line break") << 2 << "  总计\n" << "总计";
    QTest::newRow("line 9 taken") << 3 << "线9" << "线10";
    QTest::newRow("line of digits") << 3 << "12" << "线13";
    QTest::newRow("line free name") << 3 << "边框" << "边框";
}

void TestDesigner::renamingKeepsNamesUnique()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Session s;
    s.editor.addItem(QStringLiteral("LINE"), QStringLiteral("线9"), {});
    s.editor.addItem(QStringLiteral("LINE"), QStringLiteral("12"), {});
    const int target = kind == 2 ? s.editor.addItem(QStringLiteral("常量"), QStringLiteral("小计"), {})
                                 : s.editor.findItem(QStringLiteral("LINE"), QStringLiteral("线1"));
    ItemPropertyDialog box(s.editor, kind, target);
    auto* gd = box.findChild<Grid*>(QStringLiteral("GD"));
    Q_EMIT gd->clicked_(1, 2);
    box.findChild<QLineEdit*>(QStringLiteral("TxtEnter"))->setText(typed);
    QCOMPARE(gd->textMatrix(1, 2), stored);
    QVERIFY(box.ApplyItemProperties());
    QVERIFY(s.editor.findItem(kind == 2 ? QStringLiteral("常量") : QStringLiteral("LINE"), stored) >= 0);
}

void TestDesigner::listAddsUniqueItems_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("added");  // "" nothing
    QTest::newRow("constant ab") << 2 << "ab" << true << "ab~#2";
    QTest::newRow("constant with a line break") << 2 << "c\n" << true << "c";
    QTest::newRow("only line breaks") << 2 << "\r\n" << true << "";
    QTest::newRow("cancelled property window") << 2 << "new" << false << "";
    QTest::newRow("line x") << 3 << "x" << true << "x11";
}

void TestDesigner::listAddsUniqueItems()
{
    QFETCH(int, kind);
    QFETCH(QString, answer);
    QFETCH(bool, confirm);
    QFETCH(QString, added);
    Session s;
    const QString word = kind == 2 ? QStringLiteral("常量") : QStringLiteral("LINE");
    for (const QString& name : kind == 2 ? QStringList{QStringLiteral("ab"), QStringLiteral("ab~#1")}
                                         : QStringList{QStringLiteral("x"), QStringLiteral("x1")})
        s.editor.addItem(word, name, {{QStringLiteral("LEFT"), QStringLiteral("1")}});
    const size_t rowsBefore = s.engine.GdM.size();
    ItemListDialog list(s.engine, s.editor, kind);
    QVERIFY(list.fill());
    MessageScript msgs;
    msgs.expectInput(QString(), answer);
    bool opened = false;
    WhenModal([&](QWidget* box) {
        opened = true;
        auto* gd = box->findChild<Grid*>(QStringLiteral("GD"));
        Q_EMIT gd->clicked_(1, 0);  // the first row becomes the item's value
        box->findChild<QPushButton*>(confirm ? QStringLiteral("Cmd0") : QStringLiteral("Cmd1"))->click();
    });
    list.add();
    QCOMPARE(opened, !answer.trimmed().isEmpty());
    if (added.isEmpty()) {
        QCOMPARE(s.engine.GdM.size(), rowsBefore);
    } else {
        QVERIFY(s.editor.findItem(word, added) >= 0);
        QCOMPARE(s.engine.GdM.size(), rowsBefore + 1);
    }
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
