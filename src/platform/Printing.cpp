#include "platform/Printing.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace {

std::unique_ptr<PrinterSystem>& Installed()
{
    static std::unique_ptr<PrinterSystem> system = std::make_unique<QtPrinters>();
    return system;
}

QPageSize PageSizeFor(const QString& paperName, double widthMm, double heightMm)
{
    const QSizeF size(widthMm, heightMm);
    QPageSize byName;
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize candidate(static_cast<QPageSize::PageSizeId>(id));
        if (candidate.name().compare(paperName, Qt::CaseInsensitive) == 0) {
            byName = candidate;
            break;
        }
    }
    // A name only counts when its measures agree with the layout's paper.
    if (byName.isValid()) {
        const QSizeF s = byName.size(QPageSize::Millimeter);
        if (std::abs(s.width() - widthMm) < 1 && std::abs(s.height() - heightMm) < 1)
            return byName;
    }
    const QPageSize::PageSizeId id = QPageSize::id(size, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    if (id != QPageSize::Custom)
        return QPageSize(id);
    return QPageSize(size, QPageSize::Millimeter, paperName, QPageSize::ExactMatch);
}

}  // namespace

PrinterSystem& Printers()
{
    return *Installed();
}

std::unique_ptr<PrinterSystem> InstallPrinters(std::unique_ptr<PrinterSystem> system)
{
    std::unique_ptr<PrinterSystem> previous = std::move(Installed());
    Installed() = std::move(system);
    return previous;
}

QStringList QtPrinters::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrinters::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

std::unique_ptr<QPrinter> QtPrinters::openPrinter(const QString& name)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return printer->isValid() ? std::move(printer) : nullptr;
}

void SetPrinterPaper(QPrinter& printer, const QString& paperName, double widthMm, double heightMm, int orientation)
{
    // The layout's paper is given upright; the orientation turns it.
    const double w = std::min(widthMm, heightMm) > 0 ? widthMm : 210;
    const double h = std::min(widthMm, heightMm) > 0 ? heightMm : 297;
    printer.setFullPage(true);
    printer.setPageSize(PageSizeFor(paperName, w, h));
    printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

std::unique_ptr<QPdfWriter> OpenPdfFile(const QString& path, double widthMm, double heightMm, int dpi)
{
    auto pdf = std::make_unique<QPdfWriter>(path);
    pdf->setResolution(dpi);
    pdf->setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf->setCreator(QStringLiteral("Vorlixstore"));
    return pdf;
}

QImage BlankPagePicture(double widthMm, double heightMm, int dpi)
{
    const double dotsPerMm = dpi / 25.4;
    QImage image(std::max(1, int(std::lround(widthMm * dotsPerMm))), std::max(1, int(std::lround(heightMm * dotsPerMm))),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dotsPerMm * 1000)));
    image.setDotsPerMeterY(int(std::lround(dotsPerMm * 1000)));
    image.fill(Qt::white);
    return image;
}
