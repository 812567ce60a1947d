#pragma once
// The printers of this computer and the devices a page is painted on: the
// printer, a picture of the page (the preview) and a PDF file. The print
// engine draws through QPainter on any of them, so the preview shows what
// the paper gets.
//
// The installed printers come from an installable PrinterSystem, like
// Messages: the program uses the one over QPrinterInfo; tests install one
// that offers named printers whose output goes to PDF files.

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;
class QPdfWriter;

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Device names of the installed printers, in system order.
    virtual QStringList printerNames() = 0;
    // The default printer's device name; "" when none is installed.
    virtual QString defaultPrinterName() = 0;
    // A printer device for one installed printer; null when it cannot be opened.
    virtual std::unique_ptr<QPrinter> openPrinter(const QString& name) = 0;
};

PrinterSystem& Printers();
std::unique_ptr<PrinterSystem> InstallPrinters(std::unique_ptr<PrinterSystem> system);

class QtPrinters : public PrinterSystem {
public:
    QStringList printerNames() override;
    QString defaultPrinterName() override;
    std::unique_ptr<QPrinter> openPrinter(const QString& name) override;
};

// Gives a printer the paper of a layout: the standard size of that name or
// those measures when there is one, else a custom size of w x h millimetres;
// orientation 2 is landscape, anything else portrait. Full-page drawing, no
// printer margins, so layout coordinates are measured from the paper's edge.
void SetPrinterPaper(QPrinter& printer, const QString& paperName, double widthMm, double heightMm,
                     int orientation);

// A PDF file of pages w x h millimetres (the page as seen, orientation applied).
std::unique_ptr<QPdfWriter> OpenPdfFile(const QString& path, double widthMm, double heightMm, int dpi);

// A white page picture w x h millimetres at `dpi` dots per inch; the picture
// carries its resolution, so fonts in points come out at their real size.
QImage BlankPagePicture(double widthMm, double heightMm, int dpi);
