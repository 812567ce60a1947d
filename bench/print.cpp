// Times the print engine on a list of 10 000 staged rows (about 290 pages of
// the shipped list layout): the preview of every page paged forward, and the
// whole print into a PDF file, each as a ratio to a plain QPainter loop that
// draws the same texts and rule lines into the same pages in the same run
// (the rows read with one plain query). Before paging, the staged rows are
// deleted: the pages still come out whole, so paging never reads them again.

#include "core/App.h"
#include "platform/Printing.h"
#include "print/PageSurface.h"
#include "print/PlistPrint.h"
#include "print/PrintEngine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Rows = 10000;
constexpr int Dpi = 96;

double Seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

std::unique_ptr<PrintEngine> Prepared(App& app, const QString& layoutFile)
{
    auto e = std::make_unique<PrintEngine>();
    e->startNamedValues(QStringLiteral("维罗仓储有限公司"));
    e->addNamedValue(QStringLiteral("Caption"), QStringLiteral("货品清单"));
    e->PrnSQL = QStringLiteral("select F1,F2,F3,F4,V1,V2,V3,F5 from Plist order by F0");
    QStringList lines;
    PrintEngine::ReadTemplateFile(layoutFile, lines);
    e->ReadTemplateLines(lines);
    e->OpenRecords(app.CurrentDatabase);
    e->SetUpPage();
    e->CurPage = 1;
    return e;
}

// The plain loop: per page the heading texts, 35 rows of eight texts and a
// rule line each, the frame lines and the page number, at the layout's places.
void PlainPage(QPainter& p, double dotsPerMm, const RecordSet& rows, int& row, int page, int pages)
{
    const auto at = [dotsPerMm](double x, double y) { return QPointF((x + 10) * dotsPerMm, (y + 10) * dotsPerMm); };
    QFont title(QStringLiteral("宋体"));
    title.setPointSize(16);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(at(70, 8), QStringLiteral("维罗仓储有限公司"));
    QFont text(QStringLiteral("宋体"));
    text.setPointSize(10);
    p.setFont(text);
    p.drawText(at(80, 16), QStringLiteral("货品清单"));
    p.drawLine(at(0, 30), at(190, 30));
    for (int r = 1; r <= 35 && row < rows.rowCount(); ++r, ++row) {
        const double y = 30 + 1 + r * 7;
        for (int c = 0; c < 8; ++c)
            p.drawText(at(c * 23.75, y + 3), rows.text(row, c));
        p.drawLine(at(0, 30 + r * 7 + 7), at(190, 30 + r * 7 + 7));
    }
    p.drawLine(at(0, 267), at(190, 267));
    p.drawText(at(80, 275), QStringLiteral("第 %1 页 (共 %2 页)").arg(page).arg(pages));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QApplication qapp(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("print.vxs"));
    QFile::copy(bin + QStringLiteral("nousit.dat"), book);
    App app;
    try {
        app.CurrentDatabase.open(book);
        app.AppFolder = bin;
        QElapsedTimer t;
        t.start();
        PlistPrint job(app);
        for (int i = 1; i <= Rows; ++i)
            job.addRow({QStringLiteral("HP%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("货品名称%1").arg(i % 977),
                        QStringLiteral("规格%1").arg(i % 31), QStringLiteral("个"), QStringLiteral("备注")},
                       {double(i % 50), 12.5 + i % 7, (i % 50) * (12.5 + i % 7)});
        job.stage();
        std::printf("staged %d rows into Plist in %.2f s\n", Rows, Seconds(t));

        // Preview, paged forward from page 1 to the last.
        auto preview = Prepared(app, bin + QStringLiteral("plst.vxp"));
        auto paper = Prepared(app, bin + QStringLiteral("plst.vxp"));
        app.CurrentDatabase.execute(QStringLiteral("delete from Plist"));
        t.start();
        int pages = 0;
        for (int page = 1; !preview->myrs.eof() || page == 1; ++page) {
            preview->CurPage = page;
            ImageSurface s(preview->pageWidth(), preview->pageHeight(), Dpi);
            preview->PrepareSurface(s);
            preview->RenderPage(s);
            pages = page;
        }
        const double previewTime = Seconds(t);
        std::printf("preview: %d pages, %lld of %lld record rows drawn after the staged rows were deleted\n", pages,
                    static_cast<long long>(preview->CurRcd), static_cast<long long>(preview->MainRcd));

        // PDF of the whole print.
        paper->MainPages = pages;
        t.start();
        {
            PdfSurface out(dir.filePath(QStringLiteral("engine.pdf")), paper->pageWidth(), paper->pageHeight(), 300);
            ImageSurface scratch(paper->pageWidth(), paper->pageHeight(), Dpi);
            QString message;
            if (!paper->PrintPages(0, 0, out, scratch, message))
                std::printf("PDF not finished: %s\n", qPrintable(message));
            out.finish();
        }
        const double pdfTime = Seconds(t);
        std::printf("PDF: %d pages, %lld record rows\n", paper->CurPage - 1, static_cast<long long>(paper->CurRcd));

        // The plain loops over the same texts, rows read by one plain query.
        job.stage();
        const RecordSet rows = app.CurrentDatabase.query(
            QStringLiteral("select F1,F2,F3,F4,V1,V2,V3,F5 from Plist order by F0"));
        t.start();
        int row = 0;
        for (int page = 1; page <= pages; ++page) {
            QImage image = BlankPagePicture(210, 297, Dpi);
            QPainter p(&image);
            PlainPage(p, Dpi / 25.4, rows, row, page, pages);
        }
        const double plainPreview = Seconds(t);
        t.start();
        {
            auto pdf = OpenPdfFile(dir.filePath(QStringLiteral("plain.pdf")), 210, 297, 300);
            QPainter p(pdf.get());
            row = 0;
            for (int page = 1; page <= pages; ++page) {
                if (page > 1)
                    pdf->newPage();
                PlainPage(p, 300 / 25.4, rows, row, page, pages);
            }
        }
        const double plainPdf = Seconds(t);
        std::printf("preview of %d pages: %.2f s = %.2f x plain QPainter loop (%.2f s)\n", pages, previewTime,
                    previewTime / plainPreview, plainPreview);
        std::printf("PDF of %d pages: %.2f s = %.2f x plain QPainter loop (%.2f s)\n", pages, pdfTime,
                    pdfTime / plainPdf, plainPdf);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_print: %s\n", e.what());
        return 1;
    }
    return 0;
}
