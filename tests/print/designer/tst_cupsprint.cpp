#include "platform/Printing.h"
#include "platform/SystemInfo.h"
#include "print/Myprn.h"
#include "print/PlistPrint.h"
#include "print/PrintSetStore.h"
#include "print/PrinterSettings.h"
#include "print/TemplateFile.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/CupsServer.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString Pid = QStringLiteral("货品标签");

// A landscape A5 layout: a title, a record table of two columns and a rule.
QStringList LandscapeA5()
{
    return {QStringLiteral("PID=") + Pid, QStringLiteral("PAPER=A5"), QStringLiteral("PAPERW=148"),
            QStringLiteral("PAPERH=210"), QStringLiteral("ORIENTATION=2"), QStringLiteral("DESIGNWIDTH=210"),
            QStringLiteral("VERSION=5.0"), QStringLiteral("ITEM=@RegName"), QStringLiteral("LEFT=10"),
            QStringLiteral("TOP=8"), QStringLiteral("RIGHT=200"), QStringLiteral("FONTSIZE=20"),
            QStringLiteral("ITEM=@0"), QStringLiteral("LEFT=10"), QStringLiteral("RIGHT=90"),
            QStringLiteral("FONTSIZE=14"), QStringLiteral("TABTOP=30"), QStringLiteral("TABBTM=-15"),
            QStringLiteral("ROWHEIGHT=10"), QStringLiteral("RCDTOP=1"), QStringLiteral("RCDLINETOP=10"),
            QStringLiteral("RCDLINELEFT=5"), QStringLiteral("RCDLINERIGHT=205"), QStringLiteral("ITEM=@1"),
            QStringLiteral("LEFT=110"), QStringLiteral("RIGHT=200"), QStringLiteral("FONTSIZE=14"),
            QStringLiteral("ITEM=@LINE//;;顶框线"), QStringLiteral("LEFT=5"), QStringLiteral("TOP=30"),
            QStringLiteral("RIGHT=205"), QStringLiteral("BOTTOM=30"), QStringLiteral("FONTSIZE=3")};
}

// Page size in points and rotation of page 1, from pdfinfo.
bool PdfPage(const QString& pdf, double& w, double& h, int& rotation)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    const QRegularExpressionMatch rot = QRegularExpression(QStringLiteral("Page rot:\\s+(-?[0-9]+)")).match(info);
    if (!size.hasMatch())
        return false;
    w = size.captured(1).toDouble();
    h = size.captured(2).toDouble();
    rotation = rot.hasMatch() ? rot.captured(1).toInt() : 0;
    return true;
}

}  // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void printSetUpSendsTheLayoutsPaperToTheQueue();
    void queueFormsAreItsPageSizes();

private:
    std::unique_ptr<CupsServer> server;
};

void TestCupsPrint::initTestCase()
{
    server = std::make_unique<CupsServer>();
    if (!server->problem().isEmpty())
        QSKIP(qPrintable(QStringLiteral("no CUPS server for this test: ") + server->problem()));
}

void TestCupsPrint::cleanupTestCase()
{
    server.reset();
}

void TestCupsPrint::printSetUpSendsTheLayoutsPaperToTheQueue()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.app().CompanyName = QStringLiteral("维罗仓储有限公司");
    std::unique_ptr<PrinterSystem> previous = InstallPrinters(std::make_unique<QtPrinters>());
    const auto restore = qScopeGuard([&previous] { InstallPrinters(std::move(previous)); });
    QVERIFY(Printers().printerNames().contains(server->queue()));

    // The template of the layout, and its assignment as the print set-up stores it.
    PrintLayout layout;
    QVERIFY(TemplateFile::ReadLines(layout, LandscapeA5(), Pid));
    layout.GdM.erase(layout.GdM.begin(), layout.GdM.begin() + 4);  // the automatic values come with every read
    layout.PrnSQL = QStringLiteral("select F1,F2 from Plist order by F0");
    QCOMPARE(TemplateFile::Save(layout, set.app().AppFolder + QStringLiteral("label.vxp")), QString());
    PrintSetStore(set.db()).Assign(Pid, ComputerName(), server->queue(), QStringLiteral("label.vxp"), false);

    PlistPrint job(set.app());
    job.Pid = Pid;
    job.RptFile = set.app().AppFolder + QStringLiteral("vxp.dat");
    for (int i = 1; i <= 6; ++i)
        job.addRow({QStringLiteral("货品%1").arg(i), QStringLiteral("A-%1").arg(i)});
    job.PrnSQL = QStringLiteral("select F1,F2 from Plist order by F0");
    MessageScript msgs;
    msgs.allowAny();
    QImage preview;
    QVERIFY(ShowPrintJob(job, [&](Myprn* window) {
        QCOMPARE(window->engine().MyPrinterName, server->queue());
        QCOMPARE(window->engine().PaperName, QStringLiteral("A5"));
        preview = window->pageImage();
        window->findChild<QAction*>(QStringLiteral("Menu_print"))->trigger();
    }));
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(preview.width() > preview.height(), true);

    const QString pdf = server->waitForPdf();
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
    double w = 0, h = 0;
    int rotation = 0;
    QVERIFY(PdfPage(pdf, w, h, rotation));
    // A5 paper (148 x 210 mm = 420 x 595 points) ...
    QVERIFY2(qAbs(std::min(w, h) - 420) < 2 && qAbs(std::max(w, h) - 595) < 2,
             qPrintable(QStringLiteral("%1 x %2").arg(w).arg(h)));
    // ... printed across: the page as the paper shows it, turned upright, is the preview.
    QTemporaryDir work;
    QImage raster = RasterisePdfPage(pdf, 1, 96, work.path());
    QVERIFY(!raster.isNull());
    const int turn = (rotation + (h > w ? 90 : 0)) % 360;
    raster = raster.transformed(QTransform().rotate(turn));
    QVERIFY(qAbs(raster.width() - preview.width()) <= 4 && qAbs(raster.height() - preview.height()) <= 4);
    // Compared at a quarter of the size, so a line a pixel off does not count as a difference.
    const auto coarse = [](const QImage& i) {
        return i.scaled(i.width() / 4, i.height() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const double mismatch = PictureMismatch(coarse(preview), coarse(raster));
    QVERIFY2(mismatch < 0.01, qPrintable(QStringLiteral("the print differs from the preview in %1 of its pixels").arg(mismatch)));
    // The same picture the other way up would not pass.
    const double upsideDown = PictureMismatch(coarse(preview), coarse(raster.transformed(QTransform().rotate(180))));
    QVERIFY2(upsideDown > 3 * mismatch && upsideDown > 0.01, qPrintable(QString::number(upsideDown)));
}

void TestCupsPrint::queueFormsAreItsPageSizes()
{
    FreshAccountSet set;  // the program's own custom forms live in this set's user folder
    QVERIFY(PrinterSettings::AddCustomForm({QStringLiteral("Vorlo标签"), 80000, 50000}));
    const std::vector<PaperForm> forms = PrinterSettings::Forms(server->queue());
    QString name;
    QVERIFY(PrinterSettings::FindFormBySize(forms, 210000, 297000, name) > 0);
    QCOMPARE(name, QStringLiteral("A4"));
    QVERIFY(PrinterSettings::FindFormBySize(forms, 148000, 210000, name) > 0);
    QCOMPARE(name, QStringLiteral("A5"));
    QVERIFY(PrinterSettings::FindFormBySize(forms, 80000, 50000, name) > 0);
    QCOMPARE(name, QStringLiteral("Vorlo标签"));
    QCOMPARE(PrinterSettings::FindFormBySize(forms, 80001, 50000, name), 0);
    QCOMPARE(name, QString());
    QVERIFY(!PrinterSettings::DeleteCustomForm(QStringLiteral("A4")));
    QVERIFY(PrinterSettings::DeleteCustomForm(QStringLiteral("Vorlo标签")));
}

VX_REGISTER_TEST(TestCupsPrint)
#include "tst_cupsprint.moc"
