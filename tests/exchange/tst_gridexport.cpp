#include "core/App.h"
#include "exchange/GridExport.h"
#include "exchange/ToExcel.h"
#include "platform/Grid.h"
#include "platform/Spreadsheet.h"
#include "platform/UserSettings.h"
#include "support/Openpyxl.h"
#include "support/Scripted.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A grid with the given header row and data rows.
void fill(Grid& g, const QStringList& headers, const QVector<QStringList>& rows)
{
    g.setCols(int(headers.size()));
    g.setHeaders(headers);
    std::vector<QString> cells;
    for (const QStringList& r : rows)
        for (int c = 0; c < headers.size(); ++c)
            cells.push_back(r.value(c));
    g.load(int(rows.size()), int(headers.size()), std::move(cells));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Message sink that notes whether the exported file stood on disk when the
// completion message was shown.
class CompletionWatch : public MessageSink {
public:
    explicit CompletionWatch(QString path) : m_path(std::move(path)) {}
    int msgBox(const QString& text, int, const QString&) override
    {
        texts << text;
        if (text.startsWith(QStringLiteral("数据导出完成")))
            fileWasThere = QFileInfo(m_path).isFile() && QImageReader(m_path).canRead();
        return MB::OK;
    }
    InputAnswer inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QStringList texts;
    bool fileWasThere = false;

private:
    QString m_path;
};

}  // namespace

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    void init() { DeleteSetting(ToExcelForm::settingApp(), ToExcelForm::settingSection()); }
    void workbookColumnNames_data();
    void workbookColumnNames();
    void workbookReadByOpenpyxl();
    void workbookFirstDataRow();
    void csvRules();
    void leadingZeros_data();
    void leadingZeros();
    void formulaStartsStayText_data();
    void formulaStartsStayText();
    void workbookFormulaTextStaysText();
    void exportsTakeTheUmaskMode_data();
    void exportsTakeTheUmaskMode();
    void fullDiskIsSaidSo_data();
    void fullDiskIsSaidSo();
    void rememberedChoice_data();
    void rememberedChoice();
    void typeChangeRewritesExtension_data();
    void typeChangeRewritesExtension();
    void windowExportsOnceAndOpens();
    void existingTargetRefused();
    void pictureWholeTableNeverOverwrites();
    void pictureAboveThousandRowsAsks();
};

void TestGridExport::workbookColumnNames_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("repeated") << QStringList{"数量", "金额", "数量", "数量"} << QStringList{"数量1", "金额", "数量2", "数量3"};
    QTest::newRow("empty header") << QStringList{"编码", " ", "价"} << QStringList{"编码", "V2", "价"};
    QTest::newRow("name1 already there") << QStringList{"a1", "a", "a"} << QStringList{"a1", "a3", "a4"};
}

void TestGridExport::workbookColumnNames()
{
    QFETCH(QStringList, headers);
    QFETCH(QStringList, names);
    Grid g;
    fill(g, headers, {});
    GridExportSource src{&g, {0, 1, 0, 0}};
    QCOMPARE(WorkbookColumnNames(src), names);
}

void TestGridExport::workbookReadByOpenpyxl()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    Grid g;
    QStringList headers;
    for (int c = 0; c < 35; ++c)
        headers << QStringLiteral("列%1").arg(c);
    QStringList row;
    for (int c = 0; c < 35; ++c)
        row << QString::number(c);
    row[0] = QStringLiteral("0012");
    row[1] = QStringLiteral("3.5");
    row[2] = QStringLiteral("0012");
    row[3] = QStringLiteral("");
    fill(g, headers, {row, {"A2", "x"}});
    g.setColWidth(4, 0);  // hidden
    QVector<qint16> kinds(36, 0);
    kinds[1] = 1;
    kinds[3] = 1;
    const QString path = dir.filePath(QStringLiteral("w.xlsx"));
    ExportGridToWorkbook({&g, kinds}, path);
    const auto rows = OpenpyxlRead(path, QStringLiteral("mysheet"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].size(), 29);  // columns 0-29 without the hidden one
    QCOMPARE(rows[0][4].value.toString(), QStringLiteral("列5"));
    QCOMPARE(rows[0][28].value.toString(), QStringLiteral("列29"));
    QCOMPARE(rows[1][0].type, QStringLiteral("s"));
    QCOMPARE(rows[1][0].value.toString(), QStringLiteral("0012"));
    QCOMPARE(rows[1][1].type, QStringLiteral("n"));
    QCOMPARE(rows[1][1].value.toDouble(), 3.5);
    QCOMPARE(rows[1][2].value.toString(), QStringLiteral("0012"));  // a text column keeps its zeros
    QCOMPARE(rows[1][3].type, QString());                            // an empty numeric cell stays empty
    QCOMPARE(rows[2][1].type, QStringLiteral("s"));                  // a numeric column's text stays text
    QCOMPARE(rows[2][1].value.toString(), QStringLiteral("x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"w.xlsx"});
}

void TestGridExport::workbookFirstDataRow()
{
    QTemporaryDir dir;
    Grid g;
    fill(g, {"总表", ""}, {{"编码", "数量"}, {"A1", "5"}});
    GridExportSource src{&g, {0, 1, 0}};
    src.firstDataRow = 2;
    const QString path = dir.filePath(QStringLiteral("b.xlsx"));
    ExportGridToWorkbook(src, path);
    const QVector<QStringList> rows = ReadSheet(path, QStringLiteral("mysheet"));
    QCOMPARE(rows, (QVector<QStringList>{{"编码", "数量"}, {"A1", "5"}}));
}

void TestGridExport::csvRules()
{
    QTemporaryDir dir;
    Grid g;
    fill(g, {"编码", "名称", "隐藏", "数量"}, {{"007", "a,b", "h", "007"}, {"012A", "x\r\ny", "h", "1"}, {"0", "z", "h", "2"}});
    g.setColWidth(2, 0);
    GridExportSource src{&g, {0, 0, 0, 1}};
    src.header = QStringLiteral("标题行");
    src.footer = QStringLiteral("合计");
    const QString path = dir.filePath(QStringLiteral("c.csv"));
    const QString note = ExportGridToCsv(src, path);
    QVERIFY(note.contains(QStringLiteral("第 1 行[007]修改为[#007]")));
    QVERIFY(note.contains(QStringLiteral("系统中个别编码")));
    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.mid(0, 8), (QStringList{"标题行", "编码,名称,数量,", "#007,a/b,007,", "012A,xy,1,", "#0,z,2,", "合计", ",", ","}));
    QCOMPARE(lines.at(8), QLatin1Char(',') + note);
}

void TestGridExport::leadingZeros_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("out");
    QTest::newRow("007") << "007" << "#007";
    QTest::newRow("0") << "0" << "#0";
    QTest::newRow("00.5") << "00.5" << "#00.5";
    QTest::newRow("0.5") << "0.5" << "0.5";
    QTest::newRow("012A") << "012A" << "012A";
    QTest::newRow("1007") << "1007" << "1007";
}

void TestGridExport::leadingZeros()
{
    QFETCH(QString, cell);
    QFETCH(QString, out);
    QString note;
    QCOMPARE(ProtectLeadingZeros(cell, 3, QStringLiteral("编码"), note), out);
    QCOMPARE(note.isEmpty(), out == cell);
}

void TestGridExport::formulaStartsStayText_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("out");
    QTest::newRow("=") << "=HYPERLINK(\"http://x\";\"y\")" << "'=HYPERLINK(\"http://x\";\"y\")";
    QTest::newRow("+") << "+cmd|' /C calc'!A0" << "'+cmd|' /C calc'!A0";
    QTest::newRow("-") << "-2+3+cmd" << "'-2+3+cmd";
    QTest::newRow("@") << "@SUM(A1)" << "'@SUM(A1)";
    QTest::newRow("negative number") << "-5" << "-5";
    QTest::newRow("signed decimal") << "+1.5" << "+1.5";
    QTest::newRow("plain text") << "A=B" << "A=B";
}

// A text cell that a spreadsheet would run as a formula reaches the CSV file
// as text; numbers, in text or number columns, stay numbers. Python's csv
// module reads the file back.
void TestGridExport::formulaStartsStayText()
{
    QFETCH(QString, cell);
    QFETCH(QString, out);
    QTemporaryDir dir;
    Grid g;
    fill(g, {"名称", "数量"}, {{cell, cell}});
    const QString path = dir.filePath(QStringLiteral("f.csv"));
    ExportGridToCsv({&g, {0, 0, 1}}, path);
    QProcess py;
    py.start(QStringLiteral("python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import csv,sys,json\n"
                             "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-sig',newline='')))\n"
                             "sys.stdout.write(json.dumps(rows[1]))"),
              path});
    QVERIFY(py.waitForFinished(20000));
    QCOMPARE(py.exitCode(), 0);
    const QJsonArray row = QJsonDocument::fromJson(py.readAllStandardOutput()).array();
    // Commas in cells become "/" in this format; the cells are compared after that.
    QString expected = out;
    expected.replace(QLatin1Char(','), QLatin1Char('/'));
    QCOMPARE(row.at(0).toString(), expected);
    QCOMPARE(row.at(1).toString(), expected);
}

// The workbook writes every text cell as a string, never as a formula.
void TestGridExport::workbookFormulaTextStaysText()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    Grid g;
    fill(g, {"编码", "名称", "数量"}, {{"=1+1", "=HYPERLINK(\"http://x\")", "-5"}});
    const QString path = dir.filePath(QStringLiteral("f.xlsx"));
    ExportGridToWorkbook({&g, {0, 0, 1}}, path);
    const QByteArray types = RunOpenpyxl(QStringLiteral("ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                        "sys.stdout.write(' '.join(c.data_type for c in ws[2]))"),
                                         {path});
    QCOMPARE(types, QByteArray("s s n"));
    const auto rows = OpenpyxlRead(path);
    QCOMPARE(rows[1][1].value.toString(), QStringLiteral("=HYPERLINK(\"http://x\")"));
}

void TestGridExport::exportsTakeTheUmaskMode_data()
{
    QTest::addColumn<int>("format");  // 0 workbook, 1 csv, 2 picture
    QTest::addColumn<uint>("mask");
    QTest::newRow("workbook 022") << 0 << 022u;
    QTest::newRow("csv 002") << 1 << 002u;
    QTest::newRow("picture 027") << 2 << 027u;
}

// Others on a shared folder open an export as they open any file the user
// makes: it takes the mode of a new file under the umask, not 0600.
void TestGridExport::exportsTakeTheUmaskMode()
{
    QFETCH(int, format);
    QFETCH(uint, mask);
    QTemporaryDir dir;
    Grid g;
    fill(g, {"编码", "数量"}, {{"A1", "5"}});
    const mode_t before = ::umask(mode_t(mask));
    const QString path = dir.filePath(QStringLiteral("m.") + QStringList{"xlsx", "csv", "jpg"}.at(format));
    if (format == 0)
        ExportGridToWorkbook({&g, {0, 1}}, path);
    else if (format == 1)
        ExportGridToCsv({&g, {0, 1}}, path);
    else
        ExportGridToPicture(&g, path);
    ::umask(before);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(uint(st.st_mode & 0777), 0666u & ~mask);
}

void TestGridExport::fullDiskIsSaidSo_data()
{
    QTest::addColumn<int>("format");  // 0 workbook, 1 csv, 2 picture
    QTest::newRow("workbook") << 0;
    QTest::newRow("csv") << 1;
    QTest::newRow("picture") << 2;
}

// An export onto a full disk says so in Chinese and leaves no file behind.
void TestGridExport::fullDiskIsSaidSo()
{
    QFETCH(int, format);
    SmallDisk disk(256 * 1024);
    SKIP_WITHOUT_SMALL_DISK(disk);
    Grid g;
    QVector<QStringList> rows;
    for (int r = 0; r < 200; ++r)
        rows << QStringList{QStringLiteral("G%1").arg(r), QStringLiteral("名称%1").arg(r), QString::number(r)};
    fill(g, {"编码", "名称", "数量"}, rows);
    disk.fill();
    const QStringList before = disk.files();
    const QString path = disk.path() + QStringLiteral("/导出.") + QStringList{"xlsx", "csv", "jpg"}.at(format);
    try {
        if (format == 0)
            ExportGridToWorkbook({&g, {0, 0, 0, 1}}, path);
        else if (format == 1)
            ExportGridToCsv({&g, {0, 0, 0, 1}}, path);
        else
            ExportGridToPicture(&g, path);
        QFAIL("the export fitted on a full disk");
    } catch (const SpreadsheetError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("磁盘空间已满")), qPrintable(e.message()));
    }
    QCOMPARE(disk.files(), before);
}

void TestGridExport::rememberedChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("version");
    QTest::newRow("first use") << "" << 0 << 0;
    QTest::newRow("csv") << "8" << 1 << 0;
    QTest::newRow("picture") << "9" << 2 << 0;
    QTest::newRow("version 2") << "2" << 0 << 2;
    QTest::newRow("no such version") << "5" << 0 << -1;
}

void TestGridExport::rememberedChoice()
{
    QFETCH(QString, stored);
    QFETCH(int, type);
    QFETCH(int, version);
    if (!stored.isEmpty())
        SaveSetting(ToExcelForm::settingApp(), ToExcelForm::settingSection(), ToExcelForm::settingKey(), stored);
    App app;
    Grid g;
    ToExcelForm w(app, {&g}, QStringLiteral("报表"));
    QCOMPARE(w.CmbLX->currentIndex(), type);
    QCOMPARE(w.Cmb->currentIndex(), version);
    QCOMPARE(w.CmbLX->itemText(0), QStringLiteral("Excel 工作簿(*.xlsx)"));
}

void TestGridExport::typeChangeRewritesExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("result");
    QTest::newRow("dot in folder") << "/a/b.c/report.xlsx" << 1 << "/a/b.c/report.csv";
    QTest::newRow("dot only in folder") << "/a.b/report" << 1 << "/a.b/report.csv";
    QTest::newRow("to picture") << "/x/r.csv" << 2 << "/x/r.jpg";
    QTest::newRow("to workbook") << "/x/r.jpg" << 0 << "/x/r.xlsx";
}

void TestGridExport::typeChangeRewritesExtension()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QFETCH(QString, result);
    App app;
    Grid g;
    ToExcelForm w(app, {&g}, QString());
    w.CmbLX->setCurrentIndex(type == 0 ? 1 : 0);
    w.Txt->setText(path);
    w.CmbLX->setCurrentIndex(type);
    QCOMPARE(w.Txt->text(), result);
}

void TestGridExport::windowExportsOnceAndOpens()
{
    QTemporaryDir dir;
    App app;
    Grid g;
    fill(g, {"编码", "数量"}, {{"001", "2"}});
    SetExportColKinds(app, &g, {1});
    ToExcelForm w(app, {&g, app.ExportColKinds}, QStringLiteral("库存"));
    // Browse: the proposed name is the caption with the type's extension; a .CSV name picks the CSV type.
    DialogScript dialogs;
    dialogs.saveFile(dir.filePath(QStringLiteral("库存.CSV")));
    w.CmdSaveTo->click();
    QCOMPARE(w.CmbLX->currentIndex(), 1);
    QCOMPARE(w.Txt->text(), dir.filePath(QStringLiteral("库存.csv")));
    MessageScript msgs;
    msgs.expect(QStringLiteral("数据导出完成！"));
    w.Cmd0->click();
    QCOMPARE(msgs.last().text.left(7), QStringLiteral("数据导出完成！"));
    QVERIFY(msgs.last().text.contains(QStringLiteral("[#001]")));
    QCOMPARE(w.Cmd0->text(), QStringLiteral("打开文件"));
    QVERIFY(!w.CmbLX->isEnabled());
    QVERIFY(QFileInfo::exists(w.Txt->text()));
    QFile::remove(w.Txt->text());
    msgs.expect(QStringLiteral("指定文件已经被移除！"));
    w.Cmd0->click();
    QCOMPARE(msgs.pending(), 0);
    w.Cmd1->click();
    QCOMPARE(GetSetting(ToExcelForm::settingApp(), ToExcelForm::settingSection(), ToExcelForm::settingKey()),
             QStringLiteral("8"));
}

void TestGridExport::existingTargetRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.xlsx"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    App app;
    Grid g;
    fill(g, {"a"}, {{"1"}});
    ToExcelForm w(app, {&g}, QString());
    MessageScript msgs;
    DialogScript dialogs;
    dialogs.saveFile(path);
    msgs.expect(QStringLiteral("目标文件夹存在同名文件，请更换文件名！"));
    w.CmdSaveTo->click();
    QVERIFY(w.Txt->text().isEmpty());
    w.Txt->setText(path);
    msgs.expect(QStringLiteral("已经存在[") + path + QStringLiteral("]这个文件，请点击[浏览]按钮"));
    w.Cmd0->click();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(fileBytes(path), QByteArray("mine"));
}

void TestGridExport::pictureWholeTableNeverOverwrites()
{
    QTemporaryDir dir;
    App app;
    Grid g;
    g.resize(200, 100);
    QVector<QStringList> rows;
    for (int r = 0; r < 300; ++r)
        rows << QStringList{QStringLiteral("行%1").arg(r), QString::number(r)};
    fill(g, {"编码", "数量"}, rows);
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    ToExcelForm w(app, {&g}, QString());
    w.CmbLX->setCurrentIndex(2);
    w.Txt->setText(path);
    auto* watch = new CompletionWatch(path);
    auto previous = InstallMessages(std::unique_ptr<MessageSink>(watch));
    w.Cmd0->click();
    QVERIFY(watch->fileWasThere);
    // The picture holds the whole table, far more than the 100 pixels on screen.
    QImageReader reader(path);
    QVERIFY(reader.size().height() > 300 * 10);
    const QByteArray first = fileBytes(path);
    // A second window never overwrites it.
    ToExcelForm again(app, {&g}, QString());
    again.CmbLX->setCurrentIndex(2);
    again.Txt->setText(path);
    again.Cmd0->click();
    QVERIFY(watch->texts.last().startsWith(QStringLiteral("已经存在[")));
    QCOMPARE(fileBytes(path), first);
    InstallMessages(std::move(previous));
}

void TestGridExport::pictureAboveThousandRowsAsks()
{
    QTemporaryDir dir;
    App app;
    Grid g;
    QVector<QStringList> rows(1000, QStringList{"x"});
    fill(g, {"a"}, rows);  // 1001 rows with the header
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    ToExcelForm w(app, {&g}, QString());
    w.CmbLX->setCurrentIndex(2);
    w.Txt->setText(path);
    MessageScript msgs;
    msgs.expect(QStringLiteral("数据行数超过1000条"), MB::Cancel);
    w.Cmd0->click();
    QCOMPARE(msgs.pending(), 0);
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(w.Cmd0->text(), QStringLiteral("导出数据"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

VX_REGISTER_TEST(TestGridExport)
#include "tst_gridexport.moc"
