#include "support/print/PrintSupport.h"
#include "print/PageSurface.h"
#include "print/PlistPrint.h"
#include "print/PrintEngine.h"
#include "print/Primitives.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Two pages: 15 rows of a table that takes 10 per page, headed by the
// company name in Chinese, framed, with the page number at the bottom.
// (Barcodes are left out here: their module follows each device's own
// resolution, so they are checked by decoding them instead.)
QStringList TwoPageLayout()
{
    return {QStringLiteral("PAPERW=210"), QStringLiteral("PAPERH=297"), QStringLiteral("DESIGNWIDTH=190"),
            QStringLiteral("TOPMARGIN=10"), QStringLiteral("LEFTMARGIN=10"), QStringLiteral("VERSION=5.0"),
            QStringLiteral("ITEM=@RegName"), QStringLiteral("LEFT=0"), QStringLiteral("TOP=2"), QStringLiteral("RIGHT=190"),
            QStringLiteral("FONTSIZE=18"), QStringLiteral("ALIGN=2"), QStringLiteral("ITEM=@0"), QStringLiteral("LEFT=0"),
            QStringLiteral("RIGHT=60"), QStringLiteral("FONTSIZE=12"), QStringLiteral("TABTOP=30"),
            QStringLiteral("TABBTM=110"), QStringLiteral("ROWHEIGHT=8"), QStringLiteral("RCDTOP=1"),
            QStringLiteral("RCDLINETOP=8"), QStringLiteral("RCDLINELEFT=0"), QStringLiteral("RCDLINERIGHT=190"),
            QStringLiteral("ITEM=@1"), QStringLiteral("LEFT=80"), QStringLiteral("RIGHT=180"), QStringLiteral("FONTSIZE=12"),
            QStringLiteral("ITEM=@LINE//;;顶框线"), QStringLiteral("LEFT=0"),
            QStringLiteral("TOP=30"), QStringLiteral("RIGHT=190"), QStringLiteral("BOTTOM=30"), QStringLiteral("FONTSIZE=2"),
            QStringLiteral("ITEM=@%AUTO_页码页数"), QStringLiteral("LEFT=0"), QStringLiteral("TOP=-15"),
            QStringLiteral("RIGHT=190"), QStringLiteral("FONTSIZE=12"), QStringLiteral("ALIGN=2")};
}

qint64 Ink(const QImage& image)
{
    const QImage g = image.convertToFormat(QImage::Format_Grayscale8);
    qint64 n = 0;
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            if (g.constScanLine(y)[x] < 128)
                ++n;
    return n;
}

}  // namespace

class TestPrintPeers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pdfPagesMatchPreview();
    void code39Decodes_data();
    void code39Decodes();
    void textOutsideCode39PrintsHashText_data();
    void textOutsideCode39PrintsHashText();
    void chineseRendersWithCjkFont();
    void chineseFaceWhateverTheLocale();
};

void TestPrintPeers::pdfPagesMatchPreview()
{
    FreshAccountSet set;
    QTemporaryDir dir;
    PlistPrint job(set.app());
    for (int i = 1; i <= 15; ++i)
        job.addRow({QStringLiteral("货品%1").arg(i), QStringLiteral("A%1").arg(i)});
    job.stage();

    const auto prepared = [&set] {
        auto e = std::make_unique<PrintEngine>();
        e->startNamedValues(QStringLiteral("维罗仓储有限公司"));
        e->PrnSQL = QStringLiteral("select F1,F2 from Plist order by F0");
        e->ReadTemplateLines(TwoPageLayout());
        e->OpenRecords(set.db());
        e->SetUpPage();
        e->CurPage = 1;
        return e;
    };
    // The preview of both pages.
    auto preview = prepared();
    QList<QImage> pictures;
    for (int page = 1; page <= 2; ++page) {
        preview->CurPage = page;
        ImageSurface s(preview->pageWidth(), preview->pageHeight(), 96);
        preview->PrepareSurface(s);
        preview->RenderPage(s);
        pictures << s.image();
    }
    QCOMPARE(preview->MainPages, 2);

    // The same document through the PDF back-end, walked as printing walks it.
    auto paper = prepared();
    paper->CurPage = 1;
    {
        ImageSurface first(paper->pageWidth(), paper->pageHeight(), 96);
        paper->PrepareSurface(first);
        paper->RenderPage(first);  // page count known, as after the preview
    }
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    {
        PdfSurface out(pdf, paper->pageWidth(), paper->pageHeight(), 300);
        ImageSurface scratch(paper->pageWidth(), paper->pageHeight(), 96);
        QString message;
        QVERIFY(paper->PrintPages(0, 0, out, scratch, message));
        QVERIFY(out.finish());
    }
    QCOMPARE(PdfPageCount(pdf, dir.path()), 2);
    double firstSame = 1;
    for (int page = 1; page <= 2; ++page) {
        const QImage raster = RasterisePdfPage(pdf, page, 96, dir.path());
        QVERIFY(!raster.isNull());
        QVERIFY(qAbs(raster.width() - pictures[page - 1].width()) <= 1);
        QVERIFY(qAbs(raster.height() - pictures[page - 1].height()) <= 1);
        const double same = PictureMismatch(pictures[page - 1], raster);
        if (qEnvironmentVariableIsSet("VX_KEEP_PAGES")) {
            pictures[page - 1].save(QStringLiteral("/tmp/i18shot/preview%1.png").arg(page));
            raster.save(QStringLiteral("/tmp/i18shot/raster%1.png").arg(page));
        }
        if (page == 1)
            firstSame = same;
        QVERIFY2(same < 0.004, qPrintable(QStringLiteral("page %1 differs in %2 of its pixels").arg(page).arg(same)));
    }
    // The tolerance tells pages apart: another page differs far more than the page's own print.
    const QImage secondRaster = RasterisePdfPage(pdf, 2, 96, dir.path());
    const double cross = PictureMismatch(pictures[0], secondRaster);
    QVERIFY2(cross > 3 * firstSame, qPrintable(QStringLiteral("page 1 against page 2 differs in %1, against itself in %2")
                                                    .arg(cross)
                                                    .arg(firstSame)));
}

void TestPrintPeers::code39Decodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("heightClass");
    QTest::addColumn<int>("showText");
    QTest::newRow("lower case is upper-cased") << "abc-1.5" << 300 << 3 << 1;
    QTest::newRow("digits") << "0123456789" << 300 << 4 << 0;
    QTest::newRow("letters A-M") << "ABCDEFGHIJKLM" << 300 << 5 << 1;
    QTest::newRow("letters N-Z") << "NOPQRSTUVWXYZ" << 600 << 3 << 0;
    QTest::newRow("symbols") << "-. $/+%" << 300 << 3 << 0;
    QTest::newRow("one character") << "7" << 300 << 3 << 1;
    QTest::newRow("height class 9 draws as 5") << "HC9" << 300 << 9 << 0;
    QTest::newRow("height class 0 draws as 3") << "HC0" << 300 << 0 << 0;
    QTest::newRow("preview resolution") << "VX-2024" << 96 << 4 << 0;
}

void TestPrintPeers::code39Decodes()
{
    QFETCH(QString, text);
    QFETCH(int, dpi);
    QFETCH(int, heightClass);
    QFETCH(int, showText);
    QTemporaryDir dir;
    ImageSurface s(200, 60, dpi);
    s.setLayout(200, 60, 200, 0, 0);
    DrawCode39(s, text, 1, showText, 10, 10, Qt::black, 10, heightClass);
    QImage picture = s.image();
    if (dpi < 150)  // one module per pixel: enlarge so the reader sees the modules
        picture = picture.scaled(picture.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QString file = dir.filePath(QStringLiteral("code.png"));
    QVERIFY(picture.save(file));
    QCOMPARE(DecodeBarcodes(file), QStringList{text.toUpper()});
}

void TestPrintPeers::textOutsideCode39PrintsHashText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("star") << "A*B";
    QTest::newRow("underscore") << "A_B";
    QTest::newRow("comma") << "a,b";
    QTest::newRow("full-width digit") << "A１";
    QTest::newRow("Chinese") << "批号1";
}

void TestPrintPeers::textOutsideCode39PrintsHashText()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    ImageSurface bars(200, 60, 300);
    DrawCode39(bars, text, 1, 1, 10, 10, Qt::black, 12, 3);
    ImageSurface hash(200, 60, 300);
    hash.FontSize = 12;
    hash.CurrentX = 10;
    hash.CurrentY = 10;
    hash.Print(QLatin1Char('#') + text.toUpper());
    QCOMPARE(bars.image(), hash.image());
    const QString file = dir.filePath(QStringLiteral("code.png"));
    QVERIFY(bars.image().save(file));
    QCOMPARE(DecodeBarcodes(file), QStringList());
    QVERIFY(Ink(bars.image()) > 0);
}

void TestPrintPeers::chineseRendersWithCjkFont()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cjk.pdf"));
    {
        PdfSurface out(pdf, 100, 40, 300);
        out.setLayout(100, 40, 100, 0, 0);
        int size = 36;
        QString font = QStringLiteral("宋体");
        for (const auto& [x, text] : {std::pair{5.0, QStringLiteral("仓")}, std::pair{40.0, QStringLiteral("库")},
                                      std::pair{75.0, QString(QChar(0xE000))}}) {
            QString t = text;
            DrawBoxText(out, x, 5, size, false, t, 0, 0, 0, font, Qt::black, 0);
        }
        QVERIFY(out.finish());
    }
    const QImage page = RasterisePdfPage(pdf, 1, 150, dir.path());
    QVERIFY(!page.isNull());
    const double perMm = 150 / 25.4;
    const auto box = [&](double x) { return page.copy(QRect(int(x * perMm), 0, int(25 * perMm), page.height())); };
    const QImage cang = box(5), ku = box(40), missing = box(75);
    QVERIFY(Ink(cang) > 200);
    QVERIFY(Ink(ku) > 200);
    // A font without the glyphs would draw the same box for both characters.
    QVERIFY(PictureMismatch(cang, ku) > 0.02);
    QVERIFY(PictureMismatch(cang, missing) > 0.02);
}

// The tests run under the C locale (ctest passes the caller's LANG, and CI
// has none): there the system's own choice of face for "宋体" is a Japanese
// one. Printouts take a Simplified Chinese face whatever the locale.
void TestPrintPeers::chineseFaceWhateverTheLocale()
{
    QFont font(QStringLiteral("宋体"));
    font.setFamilies(PrintFaces(QStringLiteral("宋体")));
    const QString face = QFontInfo(font).family();
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).filter(QStringLiteral(" SC")).isEmpty())
        QSKIP("no Simplified Chinese face is installed");
    QVERIFY2(face.contains(QLatin1String(" SC")), qPrintable(face));
}

VX_REGISTER_TEST(TestPrintPeers)
#include "tst_printpeers.moc"
