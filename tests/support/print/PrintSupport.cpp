#include "support/print/PrintSupport.h"

#include "core/App.h"
#include "print/Myprn.h"
#include "print/PageSurface.h"
#include "print/PlistPrint.h"
#include "support/Fixture.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QFile>
#include <QPrinter>
#include <QProcess>

FakePrinters::Installation::Installation(const QString& folder, bool withPrinter)
{
    auto fake = std::make_unique<FakePrinters>(folder, withPrinter);
    printers = fake.get();
    previous = InstallPrinters(std::move(fake));
}

FakePrinters::Installation::~Installation()
{
    InstallPrinters(std::move(previous));
}

FakePrinters::FakePrinters(QString folder, bool withPrinter)
    : m_folder(std::move(folder))
    , m_withPrinter(withPrinter)
{
}

QStringList FakePrinters::printerNames()
{
    return m_withPrinter ? QStringList{QStringLiteral("测试打印机")} : QStringList();
}

QString FakePrinters::defaultPrinterName()
{
    return m_withPrinter ? QStringLiteral("测试打印机") : QString();
}

std::unique_ptr<QPrinter> FakePrinters::openPrinter(const QString& name)
{
    if (!m_withPrinter || name != QStringLiteral("测试打印机"))
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(300);
    const QString file = m_folder + QStringLiteral("/job%1.pdf").arg(jobs.size() + 1);
    printer->setOutputFileName(file);
    jobs << file;
    return printer;
}

QString RunTool(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(timeoutMs))
        return QString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? (out.isNull() ? QString("") : out)
                                                                          : QString();
}

QImage RasterisePdfPage(const QString& pdf, int page, int dpi, const QString& workFolder)
{
    const QString stem = workFolder + QStringLiteral("/raster%1").arg(page);
    if (RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                              QString::number(page), QStringLiteral("-l"), QString::number(page),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem})
            .isNull())
        return QImage();
    return QImage(stem + QStringLiteral(".png"));
}

int PdfPageCount(const QString& pdf, const QString& workFolder)
{
    const QString folder = workFolder + QStringLiteral("/count");
    QDir().mkpath(folder);
    if (RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("10"), QStringLiteral("-png"), pdf,
                                              folder + QStringLiteral("/p")})
            .isNull())
        return -1;
    const int n = QDir(folder).entryList({QStringLiteral("p*.png")}, QDir::Files).size();
    QDir(folder).removeRecursively();
    return n;
}

QStringList DecodeBarcodes(const QString& pictureFile)
{
    QProcess p;
    p.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), pictureFile});
    if (!p.waitForFinished(60000))
        return {};
    QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return out;
}

bool InstallPrintFiles(const QString& programFolder, const QStringList& names)
{
    const QString bin = QStringLiteral(VX_BIN_DIR) + QLatin1Char('/');
    for (const QString& name : names) {
        QFile::remove(programFolder + name);
        if (!QFile::copy(bin + name, programFolder + name))
            return false;
    }
    return true;
}

double PictureMismatch(const QImage& a, const QImage& b)
{
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8).scaled(ga.size());
    qint64 differing = 0;
    for (int y = 0; y < ga.height(); ++y) {
        const uchar* la = ga.constScanLine(y);
        const uchar* lb = gb.constScanLine(y);
        for (int x = 0; x < ga.width(); ++x)
            if (std::abs(int(la[x]) - int(lb[x])) > 128)
                ++differing;
    }
    return double(differing) / (double(ga.width()) * ga.height());
}

bool WaitForPreview(QWidget* printWindow)
{
    auto* pic = printWindow->findChild<QLabel*>(QStringLiteral("Pic"));
    for (int i = 0; pic && i < 250 && pic->pixmap().isNull(); ++i)
        QTest::qWait(20);
    return pic && !pic->pixmap().isNull();
}

bool ShowPrintJob(PlistPrint& job, const std::function<void(Myprn*)>& during)
{
    bool ran = false;
    WhenModal([&](QWidget* w) {
        auto* window = qobject_cast<Myprn*>(w);
        if (!window || !WaitForPreview(window))
            return;
        ran = true;
        during(window);
        if (window->isVisible())
            window->reject();
    });
    return job.show(nullptr) && ran;
}

PrintedPdf PrintToPdf(App& app, PlistPrint& job, const QString& folder)
{
    PrintedPdf out;
    out.pdf = folder + QStringLiteral("/") + job.Pid + QStringLiteral(".pdf");
    out.engine = std::make_unique<PrintEngine>();
    PrintEngine& e = *out.engine;
    job.stage();
    e.startNamedValues(app.CompanyName);
    for (const auto& [name, value] : job.values())
        e.addNamedValue(name, value);
    e.Pid = job.Pid;
    e.RptFile = job.RptFile;
    e.PrnSQL = job.PrnSQL;
    e.PriceFormat = app.PriceFormat;
    e.AmountFormat = app.AmountFormat;
    QList<PrintMessage> messages;
    if (!e.LoadTemplate(app, messages))
        out.problems << QStringLiteral("the template did not load");
    for (const PrintMessage& m : messages)
        out.problems << m.text;
    const QString query = e.OpenRecords(app.CurrentDatabase);
    if (!query.isEmpty())
        out.problems << query;
    e.SetUpPage();
    e.CurPage = 1;
    {
        // The page count is known once the first page is laid out, as after the preview.
        ImageSurface first(e.pageWidth(), e.pageHeight(), 96);
        e.PrepareSurface(first);
        e.RenderPage(first);
    }
    {
        PdfSurface pdf(out.pdf, e.pageWidth(), e.pageHeight(), 300);
        ImageSurface scratch(e.pageWidth(), e.pageHeight(), 96);
        QString message;
        if (!e.PrintPages(0, 0, pdf, scratch, message))
            out.problems << message;
        if (!pdf.finish())
            out.problems << QStringLiteral("the PDF was not written");
    }
    if (!e.layoutFault().isEmpty())
        out.problems << e.layoutFault();
    out.text = RunTool(QStringLiteral("pdftotext"), {out.pdf, QStringLiteral("-")});
    return out;
}
