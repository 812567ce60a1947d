#include "print/PrintEngine.h"
#include "support/TestRegistry.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <set>

namespace {

PrintEngine EngineWith(const QStringList& lines)
{
    PrintEngine e;
    e.Pid = QStringLiteral("客户档案");
    e.startNamedValues(QStringLiteral("测试公司"));
    e.addNamedValue(QStringLiteral("Caption"), QStringLiteral("客户档案"));
    e.addNamedValue(QStringLiteral("FromDate"), QStringLiteral("2024-1-1"));
    e.ReadTemplateLines(lines);
    return e;
}

// Items with their property sets, in a form that ignores the order of the
// property rows (a variable's rows come back reversed).
std::multiset<QString> PropertySets(const PrintEngine& e)
{
    std::multiset<QString> out;
    QString item;
    QStringList props;
    const auto flush = [&] {
        if (!item.isEmpty()) {
            props.sort();
            out.insert(item + QStringLiteral(" {") + props.join(QLatin1Char(',')) + QLatin1Char('}'));
        }
        props.clear();
    };
    for (const ItemRow& r : e.GdM) {
        if (r.key == QLatin1String("VALUE")) {
            flush();
            item = r.owner + QLatin1Char('|') + r.value;
        } else {
            props << r.key + QLatin1Char('=') + r.value;
        }
    }
    flush();
    return out;
}

const QStringList HandMade = {
    QStringLiteral("PID=客户档案"),
    QStringLiteral("PRINTER=无此打印机"),
    QStringLiteral("paper=B5//;;纸张"),
    QStringLiteral("PAPERW=176"),
    QStringLiteral("PAPERH=250"),
    QStringLiteral("ORIENTATION=2"),
    QStringLiteral("TOPMARGIN=5"),
    QStringLiteral("LEFTMARGIN=7.5"),
    QStringLiteral("PRNSQL=select F1,F2 from plist where F3='a=b' order by F0"),
    QStringLiteral("LABMODE=0"),
    QStringLiteral("LINEHIDE=1"),
    QStringLiteral("RCDLINEH=2"),
    QStringLiteral("VERSION=5.0"),
    QStringLiteral("ITEM=@RegName"),
    QStringLiteral("LEFT=10"),
    QStringLiteral("TOP=5"),
    QStringLiteral("FONTSIZE=16"),
    QStringLiteral("ITEM=@0"),
    QStringLiteral("LEFT=0"),
    QStringLiteral("TOP=1.9"),
    QStringLiteral("RIGHT=30"),
    QStringLiteral("TABTOP=40"),
    QStringLiteral("TABBTM=-20"),
    QStringLiteral("ROWHEIGHT=7"),
    QStringLiteral("ITEM=@3"),
    QStringLiteral("LEFT=60"),
    QStringLiteral("BOTTOM=9"),
    QStringLiteral("TABTOP=99"),
    QStringLiteral("FONTBOLD=5"),
    QStringLiteral("ITEM=合计~#2"),
    QStringLiteral("LEFT=12.7"),
    QStringLiteral("TOP=-15"),
    QStringLiteral("FONTCOLOR=255"),
    QStringLiteral("ITEM=合计"),
    QStringLiteral("LEFT=100"),
    QStringLiteral("ITEM=@LINE//;;顶框线"),
    QStringLiteral("LEFT=0"),
    QStringLiteral("TOP=40"),
    QStringLiteral("RIGHT=190"),
    QStringLiteral("BOTTOM=40"),
    QStringLiteral("ITEM=@LINE"),
    QStringLiteral("LEFT=0"),
    QStringLiteral("ITEM=@Missing"),
    QStringLiteral("LEFT=5"),
    QStringLiteral("ITEM=@END"),
    QStringLiteral("LEFT=77"),
    QStringLiteral("PAPER=A3"),
};

}  // namespace

class TestTemplateFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notes_data();
    void notes();
    void itemSpecs_data();
    void itemSpecs();
    void headerValues();
    void topOfFieldNeedsVersion5_data();
    void topOfFieldNeedsVersion5();
    void variablePropertiesReversedUnderNamedValue();
    void roundTripKeepsPropertySets();
    void savedFileIsGbkWithCrLfAndKeepsOldCopy();
    void saveFailureIsReportedAndLeavesNothingHalf();
    void seekDdLineRenamesOldFrameLines();
};

void TestTemplateFile::notes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clear");
    QTest::addColumn<QString>("note");
    QTest::newRow("line name") << "ITEM=@LINE//;;底框线" << "ITEM=@LINE" << "底框线";
    QTest::newRow("empty note") << "ITEM=@LINE//;;" << "ITEM=@LINE" << "";
    QTest::newRow("no note") << "LEFT=5" << "LEFT=5" << "";
    QTest::newRow("empty") << "" << "" << "";
}

void TestTemplateFile::notes()
{
    QFETCH(QString, text);
    QFETCH(QString, clear);
    QFETCH(QString, note);
    QCOMPARE(PrintEngine::ClearNote(text), clear);
    QCOMPARE(PrintEngine::GetNote(text), note);
}

void TestTemplateFile::itemSpecs_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("row");  // owner|value of the appended item row, "" for none
    QTest::newRow("column 3") << "ITEM=@3" << "字段|3";
    QTest::newRow("column 3.9") << "ITEM=@3.9" << "字段|3";
    QTest::newRow("03 is a variable") << "ITEM=@03" << "";
    QTest::newRow("+1 is a variable") << "ITEM=@+1" << "";
    QTest::newRow("@ alone") << "ITEM=@" << "";
    QTest::newRow("empty constant") << "ITEM=" << "常量|";
    QTest::newRow("lower-case line is a variable") << "ITEM=@line" << "";
    QTest::newRow("named line") << "ITEM=@LINE//;;顶框线" << "LINE|顶框线";
    QTest::newRow("unnamed line") << "ITEM=@LINE" << "LINE|线1";
    QTest::newRow("constant with =") << "ITEM=a=b" << "常量|a=b";
    QTest::newRow("lower-case key") << "item=@2" << "字段|2";
}

void TestTemplateFile::itemSpecs()
{
    QFETCH(QString, line);
    QFETCH(QString, row);
    const PrintEngine e = EngineWith({QStringLiteral("VERSION=5.0"), line});
    // Named values (3) and the four automatic values come first.
    QCOMPARE(int(e.GdM.size()), row.isEmpty() ? 7 : 8);
    if (!row.isEmpty())
        QCOMPARE(e.GdM.back().owner + QLatin1Char('|') + e.GdM.back().value, row);
}

void TestTemplateFile::headerValues()
{
    const PrintEngine e = EngineWith(HandMade);
    QCOMPARE(e.PaperName, QStringLiteral("B5"));  // the later PAPER=A3 is after the first ITEM line
    QCOMPARE(e.PaperW, 176.0);
    QCOMPARE(e.Porientation, 2);
    QCOMPARE(e.DesignWidth, 250.0);  // landscape without DESIGNWIDTH: the paper height
    QCOMPARE(e.TopMargin, -5.0);
    QCOMPARE(e.LeftMargin, -7.5);
    QCOMPARE(e.PrnSQL, QStringLiteral("select F1,F2 from plist where F3='a=b' order by F0"));
    QVERIFY(e.AllLineHide);
    QVERIFY(!e.AllTxtHide);

    PrintEngine empty = EngineWith({QStringLiteral("PAPERW=0"), QStringLiteral("PAPER="), QStringLiteral("PRNSQL=")});
    QCOMPARE(empty.PaperW, 210.0);
    QCOMPARE(empty.PaperName, QStringLiteral("A4"));
    QCOMPARE(empty.PrnSQL, QString());
    QCOMPARE(empty.DesignWidth, 210.0);
}

void TestTemplateFile::topOfFieldNeedsVersion5_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("applied");
    QTest::newRow("5.0") << "VERSION=5.0" << true;
    QTest::newRow("4") << "VERSION=4" << false;
    QTest::newRow("none") << "" << false;
}

void TestTemplateFile::topOfFieldNeedsVersion5()
{
    QFETCH(QString, version);
    QFETCH(bool, applied);
    const PrintEngine e = EngineWith({version, QStringLiteral("ITEM=@2"), QStringLiteral("TOP=3")});
    QCOMPARE(e.fieldProps()[2][PrintEngine::STop], applied ? QStringLiteral("3") : QString());
    QCOMPARE(e.GdM.back().key == QLatin1String("TOP"), applied);
}

void TestTemplateFile::variablePropertiesReversedUnderNamedValue()
{
    const PrintEngine e = EngineWith({QStringLiteral("ITEM=@regname"), QStringLiteral("LEFT=1"),
                                      QStringLiteral("TOP=2"), QStringLiteral("FONTSIZE=3")});
    QCOMPARE(e.GdM[1], (ItemRow{QStringLiteral("regname"), QStringLiteral("FONTSIZE"), QStringLiteral("3")}));
    QCOMPARE(e.GdM[2].key, QStringLiteral("TOP"));
    QCOMPARE(e.GdM[3].key, QStringLiteral("LEFT"));
    QCOMPARE(e.GdM[4].owner, QStringLiteral("Caption"));
}

void TestTemplateFile::roundTripKeepsPropertySets()
{
    const PrintEngine first = EngineWith(HandMade);
    const QStringList written = first.TemplateLines();
    QVERIFY(!written.join(QLatin1Char('\n')).contains(QStringLiteral("PID=")));
    QVERIFY(written.contains(QStringLiteral("TOPMARGIN=5")));
    QVERIFY(written.contains(QStringLiteral("ITEM=@LINE//;;顶框线")));
    QVERIFY(written.contains(QStringLiteral("ITEM=@RegName")));  // also when placed or not
    QCOMPARE(written.last(), QStringLiteral("ITEM=@END"));

    PrintEngine second;
    second.Pid = QStringLiteral("客户档案");
    second.startNamedValues(QStringLiteral("测试公司"));
    second.addNamedValue(QStringLiteral("Caption"), QStringLiteral("客户档案"));
    second.addNamedValue(QStringLiteral("FromDate"), QStringLiteral("2024-1-1"));
    // The written file names every named value and automatic value as an item;
    // reading it again must not add them twice.
    QVERIFY(second.ReadTemplateLines(written));
    QCOMPARE(PropertySets(second), PropertySets(first));
    QCOMPARE(second.PaperName, first.PaperName);
    QCOMPARE(second.PaperW, first.PaperW);
    QCOMPARE(second.PaperH, first.PaperH);
    QCOMPARE(second.DesignWidth, first.DesignWidth);
    QCOMPARE(second.TopMargin, first.TopMargin);
    QCOMPARE(second.LeftMargin, first.LeftMargin);
    QCOMPARE(second.PrnSQL, first.PrnSQL);
    QCOMPARE(second.AllLineHide, first.AllLineHide);
}

void TestTemplateFile::savedFileIsGbkWithCrLfAndKeepsOldCopy()
{
    QTemporaryDir dir;
    PrintEngine e = EngineWith(HandMade);
    e.RptFile = dir.filePath(QStringLiteral("pkh.vxp"));
    QCOMPARE(e.SaveTemplate(), QString());
    QFile f(e.RptFile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("ITEM=\xba\xcf\xbc\xc6~#2\r\n"));  // 合计 in GBK
    QVERIFY(bytes.endsWith("ITEM=@END\r\n"));
    QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
    f.close();
    QVERIFY(!QFile::exists(e.RptFile + QStringLiteral("_OLD")));

    e.PaperName = QStringLiteral("A5");
    QCOMPARE(e.SaveTemplate(), QString());
    QFile old(e.RptFile + QStringLiteral("_OLD"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), bytes);
    e.PaperName = QStringLiteral("A3");
    QCOMPARE(e.SaveTemplate(), QString());
    QFile older(e.RptFile + QStringLiteral("_OLD"));
    QVERIFY(older.open(QIODevice::ReadOnly));
    QVERIFY(older.readAll().contains("PAPER=A5\r\n"));
}

void TestTemplateFile::saveFailureIsReportedAndLeavesNothingHalf()
{
    QTemporaryDir dir;
    PrintEngine e = EngineWith(HandMade);
    e.RptFile.clear();
    QVERIFY(!e.SaveTemplate().isEmpty());
    // A path that cannot be written: the template is a folder.
    e.RptFile = dir.filePath(QStringLiteral("folder.vxp"));
    QDir().mkpath(e.RptFile);
    QVERIFY(e.SaveTemplate().contains(QStringLiteral("无法写入")));
    QVERIFY(QFileInfo(e.RptFile).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestTemplateFile::seekDdLineRenamesOldFrameLines()
{
    PrintEngine e = EngineWith({QStringLiteral("ITEM=@LINE//;;上框线"), QStringLiteral("ITEM=@LINE//;;下框线"),
                                QStringLiteral("ITEM=x")});
    QCOMPARE(e.SeekDdLine(1), 7);
    QCOMPARE(e.SeekDdLine(0), 0);
    QCOMPARE(e.GdM[7].value, QStringLiteral("顶框线"));
    QCOMPARE(e.GdM[8].value, QStringLiteral("底框线"));
    QCOMPARE(e.SeekDdLine(-1), 8);
    QCOMPARE(e.SeekDdLine(5), 0);
}

VX_REGISTER_TEST(TestTemplateFile)
#include "tst_templatefile.moc"
