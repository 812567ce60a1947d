#pragma once
// Test support of the print engine: printers whose output goes to PDF files,
// an engine filled from template lines, and the real peers (pdftoppm,
// zbarimg) run on files in a temporary folder.

#include "platform/Printing.h"
#include "print/PrintEngine.h"

#include <QImage>
#include <QWidget>
#include <QStringList>
#include <functional>
#include <memory>

// Installed while it lives: one printer "测试打印机" (or none) whose every
// print job becomes a PDF file in `folder`.
class FakePrinters : public PrinterSystem {
public:
    struct Installation {
        explicit Installation(const QString& folder, bool withPrinter = true);
        ~Installation();
        FakePrinters* printers;
        std::unique_ptr<PrinterSystem> previous;
    };
    FakePrinters(QString folder, bool withPrinter);
    QStringList printerNames() override;
    QString defaultPrinterName() override;
    std::unique_ptr<QPrinter> openPrinter(const QString& name) override;
    QStringList jobs;  // PDF files written, in order

private:
    QString m_folder;
    bool m_withPrinter;
};

// Copies built print files (templates, "vxp.dat") from the build's bin folder
// into a program folder; false when one is missing.
bool InstallPrintFiles(const QString& programFolder, const QStringList& names);

// Runs a program; its standard output, or a null string when it failed to start or run.
QString RunTool(const QString& program, const QStringList& args, int timeoutMs = 60000);
// Rasterises one page of a PDF at `dpi` with pdftoppm; a null image on failure.
QImage RasterisePdfPage(const QString& pdf, int page, int dpi, const QString& workFolder);
// Number of pages of a PDF, counted by rasterising it with pdftoppm.
int PdfPageCount(const QString& pdf, const QString& workFolder);
// The texts zbarimg decodes from a picture file (one per symbol).
QStringList DecodeBarcodes(const QString& pictureFile);
// Share of pixels whose grey values differ by more than a half (b scaled to a's size).
double PictureMismatch(const QImage& a, const QImage& b);
// Waits until a print window has drawn its first page; false after 5 seconds.
bool WaitForPreview(QWidget* printWindow);

class Myprn;
class PlistPrint;
struct App;
// Shows a staged print job's window and runs `during` on it once its first
// page is drawn; the window is closed afterwards if `during` left it open.
// False when the window never came.
bool ShowPrintJob(PlistPrint& job, const std::function<void(Myprn*)>& during);

// A staged print job printed to a PDF file as the print window prints it (the
// layout's template from the program folder), and the PDF read back with
// pdftotext. The engine stays open on the printed rows for checks.
struct PrintedPdf {
    QString pdf;
    QString text;          // what pdftotext reads; null when it could not run
    QStringList problems;  // messages of the loading, the query or the printing
    std::unique_ptr<PrintEngine> engine;
};
PrintedPdf PrintToPdf(App& app, PlistPrint& job, const QString& folder);
