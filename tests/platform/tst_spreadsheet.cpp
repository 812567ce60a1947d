#include "platform/Spreadsheet.h"
#include "support/Openpyxl.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QImage>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A package holding the given parts (name -> content), made with libzip.
void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& parts)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    QVERIFY(z);
    QList<QByteArray> keep;
    for (const auto& p : parts) {
        keep << p.second;
        zip_source_t* s = zip_source_buffer(z, keep.last().constData(), zip_uint64_t(keep.last().size()), 0);
        QVERIFY(zip_file_add(z, p.first.toUtf8().constData(), s, ZIP_FL_OVERWRITE) >= 0);
    }
    QCOMPARE(zip_close(z), 0);
}

// A minimal workbook whose only sheet holds `sheetData` (the <sheetData> body).
void writeMinimalXlsx(const QString& path, const QByteArray& sheetData)
{
    writeZip(path, {{QStringLiteral("xl/workbook.xml"),
                     "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                     "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                     "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
                    {QStringLiteral("xl/_rels/workbook.xml.rels"),
                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                     "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
                    {QStringLiteral("xl/worksheets/sheet1.xml"),
                     "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                         sheetData + "</sheetData></worksheet>"}});
}

// Reads a file the way the import window does: text by its name, else as a workbook.
QVector<QStringList> readAsImport(const QString& path)
{
    if (path.endsWith(QLatin1String(".csv")) || path.endsWith(QLatin1String(".txt")))
        return ReadTextFile(path);
    const QStringList names = SheetNames(path);
    return ReadSheet(path, names.value(0));
}

bool hasChinese(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

}  // namespace

class TestSpreadsheet : public QObject {
    Q_OBJECT
private slots:
    void xlsxRoundTrip();
    void xlsxReadByOpenpyxl();
    void openpyxlWorkbookReads();
    void writerNeverReplacesAFile();
    void textEncodings_data();
    void textEncodings();
    void textSplitting();
    void badFiles_data();
    void badFiles();
};

void TestSpreadsheet::xlsxRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.xlsx"));
    {
        XlsxWriter w(path, QStringLiteral("mysheet"));
        w.text(0, 0, QStringLiteral("编码"));
        w.text(0, 1, QStringLiteral("数量"));
        w.text(1, 0, QStringLiteral("0012"));
        w.number(1, 1, 12.5);
        w.text(2, 0, QStringLiteral("a'b\"c"));
        w.number(2, 1, 3);
        w.finish();
    }
    QCOMPARE(SheetNames(path), QStringList{QStringLiteral("mysheet")});
    const QVector<QStringList> rows = ReadSheet(path, QStringLiteral("mysheet"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0), (QStringList{QStringLiteral("编码"), QStringLiteral("数量")}));
    QCOMPARE(rows.at(1), (QStringList{QStringLiteral("0012"), QStringLiteral("12.5")}));
    QCOMPARE(rows.at(2), (QStringList{QStringLiteral("a'b\"c"), QStringLiteral("3")}));
    // Only the finished file is in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.xlsx")});
}

void TestSpreadsheet::xlsxReadByOpenpyxl()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.xlsx"));
    XlsxWriter w(path, QStringLiteral("mysheet"));
    w.text(0, 0, QStringLiteral("0012"));
    w.number(0, 1, 7);
    w.finish();
    const auto rows = OpenpyxlRead(path);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].type, QStringLiteral("s"));
    QCOMPARE(rows[0][0].value.toString(), QStringLiteral("0012"));
    QCOMPARE(rows[0][1].type, QStringLiteral("n"));
    QCOMPARE(rows[0][1].value.toDouble(), 7.0);
}

void TestSpreadsheet::openpyxlWorkbookReads()
{
    SKIP_WITHOUT_OPENPYXL();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("peer.xlsx"));
    // openpyxl writes shared strings, styles with date formats and several sheets.
    RunOpenpyxl(QStringLiteral(
                    "wb = openpyxl.Workbook()\n"
                    "ws = wb.active\n"
                    "ws.title = '货品'\n"
                    "ws.append(['编码', '名称', '日期', '数量', '时间'])\n"
                    "ws.append(['0012', \"it's \\\"q\\\"\", datetime.datetime(2024, 5, 13), 12, datetime.datetime(2024, 1, 2, 8, 30)])\n"
                    "ws.append(['A2', '名称', None, 2.75, None])\n"
                    "ws['E3'] = 1.5\n"
                    "ws['E3'].number_format = '0.00'\n"
                    "ws2 = wb.create_sheet('第二页')\n"
                    "ws2['B2'] = 'x'\n"
                    "wb.save(sys.argv[1])\n"),
                {path});
    QCOMPARE(SheetNames(path), (QStringList{QStringLiteral("货品"), QStringLiteral("第二页")}));
    const QVector<QStringList> rows = ReadSheet(path, QStringLiteral("货品"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).at(0), QStringLiteral("0012"));
    QCOMPARE(rows.at(1).at(1), QStringLiteral("it's \"q\""));
    QCOMPARE(rows.at(1).at(2), QStringLiteral("2024-05-13"));
    QCOMPARE(rows.at(1).at(3), QStringLiteral("12"));
    QCOMPARE(rows.at(1).at(4), QStringLiteral("2024-01-02 08:30:00"));
    QCOMPARE(rows.at(2).at(2), QString());
    QCOMPARE(rows.at(2).at(3), QStringLiteral("2.75"));
    QCOMPARE(rows.at(2).at(4), QStringLiteral("1.5"));
    const QVector<QStringList> second = ReadSheet(path, QStringLiteral("第二页"));
    QCOMPARE(second.size(), 2);
    QCOMPARE(second.at(1), (QStringList{QString(), QStringLiteral("x")}));
}

void TestSpreadsheet::writerNeverReplacesAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.csv"));
    writeBytes(path, "mine");
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, CsvWriter{path});
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, (XlsxWriter{path, QStringLiteral("s")}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("mine"));

    // A file that appears under the name while the export runs is not replaced either.
    const QString late = dir.filePath(QStringLiteral("late.csv"));
    CsvWriter w(late);
    w.line(QStringLiteral("a,b"));
    writeBytes(late, "other");
    QVERIFY_THROWS_EXCEPTION(SpreadsheetError, w.finish());
    QFile g(late);
    QVERIFY(g.open(QIODevice::ReadOnly));
    QCOMPARE(g.readAll(), QByteArray("other"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestSpreadsheet::textEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("编码,名称\r\nA1,螺丝钉\r\n");
    QStringEncoder gb("GB18030");
    QTest::newRow("utf-8 with BOM") << QByteArray("\xEF\xBB\xBF" + text.toUtf8());
    QTest::newRow("utf-8") << text.toUtf8();
    QTest::newRow("gb18030") << QByteArray(gb.encode(text));
}

void TestSpreadsheet::textEncodings()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    writeBytes(path, bytes);
    const QVector<QStringList> rows = ReadTextFile(path);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0), (QStringList{QStringLiteral("编码"), QStringLiteral("名称")}));
    QCOMPARE(rows.at(1), (QStringList{QStringLiteral("A1"), QStringLiteral("螺丝钉")}));
}

void TestSpreadsheet::textSplitting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.txt"));
    writeBytes(path, "a,b,\n\nx,,y\n\"p,q\", z \n");
    const QVector<QStringList> rows = ReadTextFile(path);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(rows.at(1), QStringList());
    QCOMPARE(rows.at(2), (QStringList{QStringLiteral("x"), QString(), QStringLiteral("y")}));
    QCOMPARE(rows.at(3), (QStringList{QStringLiteral("\"p"), QStringLiteral("q\""), QStringLiteral(" z ")}));
}

void TestSpreadsheet::badFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");  // how the file is made (see badFiles)
    QTest::newRow("truncated xlsx") << "t.xlsx" << 0;
    QTest::newRow("empty xlsx") << "e.xlsx" << 1;
    QTest::newRow("empty csv") << "e.csv" << 1;
    QTest::newRow("picture renamed xlsx") << "p.xlsx" << 2;
    QTest::newRow("picture renamed csv") << "p.csv" << 2;
    QTest::newRow("zip without workbook") << "z.xlsx" << 3;
    QTest::newRow("huge row csv") << "h.csv" << 4;
    QTest::newRow("column beyond the format") << "h.xlsx" << 5;
    QTest::newRow("row beyond the format") << "r.xlsx" << 6;
    QTest::newRow("utf-16 csv") << "u.csv" << 7;
    QTest::newRow("neither utf-8 nor gb18030") << "w.csv" << 8;
    QTest::newRow("truncated xls") << "t.xls" << 9;
    QTest::newRow("broken sheet xml") << "x.xlsx" << 10;
}

void TestSpreadsheet::badFiles()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    switch (kind) {
    case 0: {
        const QString good = dir.filePath(QStringLiteral("good.xlsx"));
        XlsxWriter w(good, QStringLiteral("s"));
        for (int r = 0; r < 200; ++r)
            w.text(r, 0, QStringLiteral("row %1").arg(r));
        w.finish();
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        writeBytes(path, f.readAll().left(int(f.size() / 2)));
        QFile::remove(good);
        break;
    }
    case 1:
        writeBytes(path, QByteArray());
        break;
    case 2: {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(path, "PNG"));
        break;
    }
    case 3:
        writeZip(path, {{QStringLiteral("readme.txt"), "hello"}});
        break;
    case 4:
        writeBytes(path, QByteArray(20000, ','));
        break;
    case 5:
        writeMinimalXlsx(path, "<row r=\"1\"><c r=\"XFE1\" t=\"inlineStr\"><is><t>x</t></is></c></row>");
        break;
    case 6:
        writeMinimalXlsx(path, "<row r=\"2000000\"><c r=\"A2000000\"><v>1</v></c></row>");
        break;
    case 7: {
        QStringEncoder u16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        writeBytes(path, u16.encode(QStringLiteral("编码,名称\r\n")));
        break;
    }
    case 8:
        writeBytes(path, "A1,\x80\xFF\xFE\x80,x\r\n");
        break;
    case 9:
        writeBytes(path, QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(100, '\x01'));
        break;
    case 10:
        writeMinimalXlsx(path, "<row r=\"1\"><c r=\"A1\"><v>1</v></c><row>");
        break;
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    try {
        readAsImport(path);
        QFAIL("a bad file was read");
    } catch (const SpreadsheetError& e) {
        QVERIFY2(hasChinese(e.message()), qPrintable(e.message()));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
}

VX_REGISTER_TEST(TestSpreadsheet)
#include "tst_spreadsheet.moc"
