#include "print/PageSurface.h"

#include "platform/Printing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPdfWriter>
#include <QPrinter>
#include <cmath>

PageSurface::~PageSurface() = default;

void PageSurface::begin(QPaintDevice* device)
{
    m_device = device;
    m_painter = std::make_unique<QPainter>();
    m_painter->begin(device);
}

void PageSurface::end()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void PageSurface::setLayout(double pageWidthMm, double pageHeightMm, double designWidth, double left, double top)
{
    m_pageW = pageWidthMm;
    m_pageH = pageHeightMm;
    m_designW = designWidth > 0 ? designWidth : pageWidthMm;
    m_left = left;
    m_top = top;
}

double PageSurface::dotsPerMm() const
{
    return m_device ? m_device->logicalDpiX() / 25.4 : 96 / 25.4;
}

QPointF PageSurface::toDevice(double x, double y) const
{
    const double g = dotsPerMm();
    return {(x - m_left) * (m_pageW / m_designW) * g, (y - m_top) * g};
}

// The faces a layout's font name is drawn with. Layouts name Windows faces
// ("宋体", "黑体"); where the name is not installed, the face falls back to a
// Simplified Chinese one chosen here, not by the locale: under a C or
// Japanese locale the system would pick a Japanese face, whose radicals
// then stand in the printed text for the Chinese characters.
QStringList PrintFaces(const QString& name)
{
    static QHash<QString, QStringList> known;
    const auto at = known.constFind(name);
    if (at != known.constEnd())
        return *at;
    QStringList faces{name};
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(name, Qt::CaseInsensitive)) {
        // The faces a Chinese system would substitute: sans before serif, proportional before mono.
        QStringList chinese;
        for (const QString& f : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
            if (f.contains(QLatin1String(" SC")) || f.contains(QLatin1String("CN")))
                chinese << f;
        std::stable_sort(chinese.begin(), chinese.end(), [](const QString& a, const QString& b) {
            const auto rank = [](const QString& f) {
                return (f.contains(QLatin1String("Serif")) ? 1 : 0) + (f.contains(QLatin1String("Mono")) ? 2 : 0);
            };
            return rank(a) < rank(b);
        });
        faces << chinese;
    }
    known.insert(name, faces);
    return faces;
}

const QFont& PageSurface::currentFont()
{
    if (!m_metrics || FontName != m_fontKeyName || FontSize != m_fontKeySize || FontBold != m_fontKeyBold) {
        m_fontKeyName = FontName;
        m_fontKeySize = FontSize;
        m_fontKeyBold = FontBold;
        m_font = QFont(FontName);
        m_font.setFamilies(PrintFaces(FontName));
        // Glyphs straight from the face's character map: a Chinese face shapes
        // the digits of a code such as "S001" into alternate glyphs that a PDF
        // cannot map back to text, and a search in the PDF would miss the code.
        m_font.setStyleStrategy(QFont::PreferNoShaping);
        m_font.setPointSizeF(FontSize > 0 ? FontSize : 10);
        m_font.setBold(FontBold);
        m_metrics = std::make_unique<QFontMetricsF>(m_font, m_device);
    }
    return m_font;
}

const QFontMetricsF& PageSurface::metrics()
{
    currentFont();
    return *m_metrics;
}

double PageSurface::TextWidth(const QString& text)
{
    const double unit = (m_pageW / m_designW) * dotsPerMm();
    return metrics().horizontalAdvance(text) / unit;
}

void PageSurface::deviceText(double x, double y, const QString& text)
{
    if (!isActive())
        return;
    const QFont& font = currentFont();
    if (m_painter->font() != font)
        m_painter->setFont(font);
    m_painter->setPen(ForeColor);
    m_painter->drawText(QPointF(x, y + m_metrics->ascent()), text);
}

void PageSurface::Print(const QString& text)
{
    const QPointF p = toDevice(CurrentX, CurrentY);
    deviceText(p.x(), p.y(), text);
    CurrentX += TextWidth(text);
}

void PageSurface::deviceLine(double x1, double y1, double x2, double y2, double penWidth)
{
    if (!isActive())
        return;
    QPen pen(ForeColor);
    pen.setWidthF(std::max(1.0, penWidth));
    pen.setCapStyle(Qt::FlatCap);
    m_painter->setPen(pen);
    m_painter->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PageSurface::Line(double x1, double y1, double x2, double y2)
{
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    // Pen widths are device pixels on the screen; on finer devices a pixel
    // of the screen (1/96 inch) keeps lines as heavy as in the preview.
    const double screenPixel = std::max(1.0, m_device ? m_device->logicalDpiX() / 96.0 : 1.0);
    QPen pen(ForeColor);
    pen.setWidthF(std::max(1, DrawWidth) * screenPixel);
    pen.setCapStyle(Qt::SquareCap);
    if (isActive()) {
        m_painter->setPen(pen);
        m_painter->drawLine(a, b);
    }
}

void PageSurface::PaintPicture(const QImage& picture, double x, double y)
{
    if (!isActive() || picture.isNull())
        return;
    // "Its own size": the picture's resolution decides its size on the page.
    const double g = dotsPerMm();
    const double wMm = picture.dotsPerMeterX() > 0 ? picture.width() * 1000.0 / picture.dotsPerMeterX()
                                                   : picture.width() * 25.4 / 96;
    const double hMm = picture.dotsPerMeterY() > 0 ? picture.height() * 1000.0 / picture.dotsPerMeterY()
                                                   : picture.height() * 25.4 / 96;
    m_painter->drawImage(QRectF(toDevice(x, y), QSizeF(wMm * g, hMm * g)), picture);
}

void PageSurface::clear()
{
    if (isActive())
        m_painter->fillRect(QRectF(0, 0, m_device->width(), m_device->height()), Qt::white);
}

// ------------------------------------------------------------------ picture

ImageSurface::ImageSurface(double pageWidthMm, double pageHeightMm, int dpi)
    : m_image(BlankPagePicture(pageWidthMm, pageHeightMm, dpi))
{
    setLayout(pageWidthMm, pageHeightMm, pageWidthMm, 0, 0);
    begin(&m_image);
    painter().setRenderHint(QPainter::TextAntialiasing, true);
}

ImageSurface::~ImageSurface()
{
    end();
}

bool ImageSurface::newPage()
{
    clear();
    return true;
}

QImage ImageSurface::image()
{
    return m_image;
}

// ---------------------------------------------------------------------- PDF

PdfSurface::PdfSurface(const QString& path, double pageWidthMm, double pageHeightMm, int dpi)
    : m_pdf(OpenPdfFile(path, pageWidthMm, pageHeightMm, dpi))
{
    setLayout(pageWidthMm, pageHeightMm, pageWidthMm, 0, 0);
    begin(m_pdf.get());
}

PdfSurface::~PdfSurface()
{
    end();
}

bool PdfSurface::newPage()
{
    return m_pdf->newPage();
}

bool PdfSurface::finish()
{
    if (!isActive())
        return false;
    return painter().end();
}

// ------------------------------------------------------------------ printer

PrinterSurface::PrinterSurface(QPrinter& printer)
    : m_printer(printer)
{
    const QSizeF size = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    setLayout(size.width(), size.height(), size.width(), 0, 0);
    begin(&printer);
}

PrinterSurface::~PrinterSurface()
{
    end();
}

bool PrinterSurface::newPage()
{
    return m_printer.newPage();
}

bool PrinterSurface::finish()
{
    if (!isActive())
        return false;
    return painter().end();
}
