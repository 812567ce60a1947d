#include "support/print/PrintSupport.h"
#include "core/Files.h"
#include "print/PrintEngine.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

const QString DefaultTemplate = QStringLiteral(VX_BIN_DIR) + QStringLiteral("/vxp.dat");

struct Loaded {
    PrintEngine engine;
    QList<PrintMessage> messages;
    bool keepOpen = false;
    QString messageText() const
    {
        QStringList t;
        for (const PrintMessage& m : messages)
            t << m.text;
        return t.join(QLatin1Char('|'));
    }
};

void Load(App& app, const QString& pid, const QString& rptFile, Loaded& out)
{
    out.engine.startNamedValues(app.CompanyName);
    out.engine.addNamedValue(QStringLiteral("Caption"), QStringLiteral("操作员档案"));
    out.engine.Pid = pid;
    out.engine.RptFile = rptFile;
    out.keepOpen = out.engine.LoadTemplate(app, out.messages);
}

void AddPrintSet(Database& db, const QString& pid, const QString& user, const QString& computer, const QString& file,
                 const QVariant& i4 = QVariant())
{
    db.execute(QStringLiteral("insert into PrintSet (Pid,Puser,Pcomputer,Pname,Pfile,I4) values (?,?,?,?,?,?)"),
               {pid, user, computer, QStringLiteral("打印机") + user, file, i4});
}

int PrintSetRows(Database& db, const QString& pid)
{
    return db.scalar(QStringLiteral("select count(*) from PrintSet where Pid=?"), {pid}).toInt();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class TestLoadTemplate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void choiceByOperatorAndComputer_data();
    void choiceByOperatorAndComputer();
    void relativeAndAbsolutePaths();
    void unreadableTemplateKeepsPrintSet();
    void layoutIdMismatchForgetsPath();
    void foreignTemplateIsCopiedOnceAndNamed();
    void missingTemplateIsMadeFromDefault();
    void missingTemplateAndDefault();

private:
    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<FakePrinters::Installation> printers;
};

void TestLoadTemplate::init()
{
    printers.reset();
    set = std::make_unique<FreshAccountSet>();
    printers = std::make_unique<FakePrinters::Installation>(set->folder());
    QVERIFY(QFile::copy(DefaultTemplate, set->programFolder() + QStringLiteral("vxp.dat")));
    for (const char* name : {"a.vxp", "b.vxp", "c.vxp", "plst.vxp"})
        QVERIFY(QFile::copy(DefaultTemplate, set->programFolder() + QString::fromLatin1(name)));
}

void TestLoadTemplate::choiceByOperatorAndComputer_data()
{
    // Rows: user, computer ("" = this computer, "other" another), file, I4.
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("operatorCode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("changeOrientation");
    QTest::newRow("001 reads only its rows") << "001,,a.vxp,0;002,,b.vxp,1" << "001" << "a.vxp" << false;
    QTest::newRow("002's row comes first") << "001,,a.vxp,0;002,,b.vxp,1" << "002" << "b.vxp" << true;
    QTest::newRow("003 falls back to 001") << "001,,a.vxp,1;002,,b.vxp,0" << "003" << "a.vxp" << true;
    QTest::newRow("this computer wins") << "002,other,b.vxp,0;001,,a.vxp,0" << "002" << "a.vxp" << false;
    QTest::newRow("only other computers: last row read") << "001,other,a.vxp,1;002,other,b.vxp,0" << "002"
                                                          << "a.vxp" << true;
    QTest::newRow("no rows") << "" << "002" << "plst.vxp" << true;
    QTest::newRow("null I4 clears the switch") << "001,,c.vxp," << "002" << "c.vxp" << false;
}

void TestLoadTemplate::choiceByOperatorAndComputer()
{
    QFETCH(QString, rows);
    QFETCH(QString, operatorCode);
    QFETCH(QString, file);
    QFETCH(bool, changeOrientation);
    for (const QString& row : rows.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = row.split(QLatin1Char(','));
        AddPrintSet(set->db(), QStringLiteral("操作员档案"), f[0], f[1].isEmpty() ? ComputerName() : f[1], f[2],
                    f[3].isEmpty() ? QVariant() : QVariant(f[3].toInt()));
    }
    set->app().OperatorCode = operatorCode;
    Loaded l;
    Load(set->app(), QStringLiteral("操作员档案"), set->programFolder() + QStringLiteral("plst.vxp"), l);
    QVERIFY(l.keepOpen);
    QCOMPARE(l.messageText(), QString());
    QCOMPARE(l.engine.RptFile, set->programFolder() + file);
    QCOMPARE(l.engine.ChangePrinterOrientation, changeOrientation);
    QCOMPARE(l.engine.MyPrinterName, QStringLiteral("测试打印机"));  // no such printer: the default one
    QVERIFY(l.engine.GdM.size() > 6);  // the items were read
}

void TestLoadTemplate::relativeAndAbsolutePaths()
{
    const QString absolute = set->folder() + QStringLiteral("elsewhere.vxp");
    QVERIFY(QFile::copy(DefaultTemplate, absolute));
    AddPrintSet(set->db(), QStringLiteral("客户档案"), QStringLiteral("001"), ComputerName(), absolute);
    set->app().OperatorCode = QStringLiteral("001");
    Loaded l;
    Load(set->app(), QStringLiteral("客户档案"), QString(), l);
    QCOMPARE(l.engine.RptFile, absolute);
    QCOMPARE(l.engine.LogopicPath, set->folder());
}

void TestLoadTemplate::unreadableTemplateKeepsPrintSet()
{
    // A template file that exists but cannot be read.
    const QString broken = set->programFolder() + QStringLiteral("broken.vxp");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), broken));
    AddPrintSet(set->db(), QStringLiteral("操作员档案"), QStringLiteral("001"), ComputerName(),
                QStringLiteral("broken.vxp"));
    AddPrintSet(set->db(), QStringLiteral("操作员档案"), QStringLiteral("002"), QStringLiteral("other"),
                QStringLiteral("a.vxp"));
    set->app().OperatorCode = QStringLiteral("001");
    Loaded l;
    Load(set->app(), QStringLiteral("操作员档案"), QString(), l);
    QVERIFY(l.keepOpen);
    QVERIFY(l.messageText().contains(QStringLiteral("无法读取")));
    QCOMPARE(PrintSetRows(set->db(), QStringLiteral("操作员档案")), 2);
    // The default template serves this time; nothing can be saved over the broken file.
    QVERIFY(l.engine.GdM.size() > 6);
    QCOMPARE(l.engine.RptFile, QString());
    QVERIFY(!l.engine.SaveTemplate().isEmpty());
}

void TestLoadTemplate::layoutIdMismatchForgetsPath()
{
    const QString other = set->programFolder() + QStringLiteral("other.vxp");
    const QByteArray content = "PAPER=B5\r\nPID=\xbf\xcd\xbb\xa7\xb5\xb5\xb0\xb8\r\nPAPERW=176\r\nITEM=@0\r\nLEFT=1\r\n";
    WriteFile(other, content);  // PID=客户档案 in GBK
    set->app().OperatorCode = QStringLiteral("001");
    Loaded l;
    Load(set->app(), QStringLiteral("操作员档案"), other, l);
    QVERIFY(l.keepOpen);
    QVERIFY(l.messageText().contains(QStringLiteral("不是针对“操作员档案”的")));
    QCOMPARE(l.engine.PaperName, QStringLiteral("B5"));  // read before the PID line
    QCOMPARE(l.engine.PaperW, 210.0);                    // after it: not read
    QCOMPARE(int(l.engine.GdM.size()), 2);               // no items
    QCOMPARE(l.engine.RptFile, QString());
    QVERIFY(!l.engine.SaveTemplate().isEmpty());
    QFile f(other);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void TestLoadTemplate::foreignTemplateIsCopiedOnceAndNamed()
{
    WriteFile(set->programFolder() + QStringLiteral("my.txt"), "PAPER=A4\r\n");
    AddPrintSet(set->db(), QStringLiteral("操作员档案"), QStringLiteral("001"), ComputerName(), QStringLiteral("my.txt"));
    set->app().OperatorCode = QStringLiteral("001");
    Loaded first;
    Load(set->app(), QStringLiteral("操作员档案"), QString(), first);
    QVERIFY(first.messageText().contains(QStringLiteral("不是有效的Vorlix打印模板文件")));
    const QString copy = first.engine.RptFile;
    QVERIFY(copy.startsWith(set->programFolder() + QStringLiteral("my.txt")));
    QVERIFY(copy.endsWith(QStringLiteral(".vxp")));
    QVERIFY(QFile::exists(copy));
    QCOMPARE(set->db().scalar(QStringLiteral("select Pfile from PrintSet")).toString(),
             copy.mid(set->programFolder().size()));

    // An edit saved into the copy is what the next print run uses.
    first.engine.PaperName = QStringLiteral("B5");
    QCOMPARE(first.engine.SaveTemplate(), QString());
    Loaded second;
    Load(set->app(), QStringLiteral("操作员档案"), QString(), second);
    QCOMPARE(second.messageText(), QString());
    QCOMPARE(second.engine.RptFile, copy);
    QCOMPARE(second.engine.PaperName, QStringLiteral("B5"));
}

void TestLoadTemplate::missingTemplateIsMadeFromDefault()
{
    set->app().OperatorCode = QStringLiteral("002");
    const QString path = set->programFolder() + QStringLiteral("pnew.vxp");
    Loaded l;
    Load(set->app(), QStringLiteral("操作员档案"), path, l);
    QVERIFY(l.messageText().contains(QStringLiteral("系统自动建立")));
    QVERIFY(QFile::exists(path));
    QCOMPARE(l.engine.RptFile, path);
}

void TestLoadTemplate::missingTemplateAndDefault()
{
    QFile::remove(set->programFolder() + QStringLiteral("vxp.dat"));
    set->app().OperatorCode = QStringLiteral("002");
    Loaded l;
    Load(set->app(), QStringLiteral("操作员档案"), set->programFolder() + QStringLiteral("gone.vxp"), l);
    QVERIFY(l.keepOpen);
    QVERIFY(l.messageText().contains(QStringLiteral("请进入打印机设置中设置打印模版文件")));
    QCOMPARE(l.engine.RptFile, QString());
    QCOMPARE(int(l.engine.GdM.size()), 2);
}

VX_REGISTER_TEST(TestLoadTemplate)
#include "tst_loadtemplate.moc"
