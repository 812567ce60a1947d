#pragma once
// One drawing surface for the page renderer, with three back-ends: the
// preview picture, a PDF file and the printer. The renderer only talks to
// PageSurface, so every back-end gets exactly the same drawing.
//
// Coordinates are the layout's: the page is `designWidth` units wide and its
// height in millimetres; the page's top-left corner has the coordinates
// (left, top), the template's margins negated, so x = 0 lies the left margin
// in from the paper's edge. Font, colour, pen width and position stay set
// between calls, as the drawing primitives rely on.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

class QPrinter;
class QPdfWriter;

// The faces a layout's font name is drawn with: the name, and where it is not
// installed the Simplified Chinese faces, whatever the locale.
QStringList PrintFaces(const QString& name);

class PageSurface {
public:
    virtual ~PageSurface();

    // The page geometry in millimetres and the layout's scale on it.
    void setLayout(double pageWidthMm, double pageHeightMm, double designWidth, double left, double top);
    double pageWidthMm() const { return m_pageW; }
    double pageHeightMm() const { return m_pageH; }

    // Drawing state.
    QString FontName = QStringLiteral("宋体");
    int FontSize = 10;
    bool FontBold = false;
    QColor ForeColor = Qt::black;
    int DrawWidth = 1;  // device pixels
    double CurrentX = 0;
    double CurrentY = 0;

    // Width of a text in the current font, in layout units.
    double TextWidth(const QString& text);
    // Prints a text with its top-left corner at (CurrentX, CurrentY); CurrentX moves past it.
    void Print(const QString& text);
    // A straight line in the current colour and pen width.
    void Line(double x1, double y1, double x2, double y2);
    // A picture in its own size with its top-left corner at (x, y).
    void PaintPicture(const QImage& picture, double x, double y);

    // Device measures for drawing in pixels (the barcode works in them).
    double dotsPerMm() const;
    QPointF toDevice(double x, double y) const;
    void deviceLine(double x1, double y1, double x2, double y2, double penWidth);
    void deviceText(double x, double y, const QString& text);

    // Starts the next page (printer and PDF); a picture is cleared instead.
    virtual bool newPage() = 0;
    // Empties the page being drawn.
    virtual void clear();
    QPainter& painter() { return *m_painter; }
    bool isActive() const { return m_painter && m_painter->isActive(); }

protected:
    void begin(QPaintDevice* device);
    void end();

private:
    // The font of the drawing state, with its metrics; made again only when
    // the name, size or boldness changed.
    const QFont& currentFont();
    const QFontMetricsF& metrics();
    QString m_fontKeyName;
    int m_fontKeySize = -1;
    bool m_fontKeyBold = false;
    QFont m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
    std::unique_ptr<QPainter> m_painter;
    QPaintDevice* m_device = nullptr;
    double m_pageW = 210, m_pageH = 297, m_designW = 210, m_left = 0, m_top = 0;
};

// The preview: one page drawn into a picture.
class ImageSurface : public PageSurface {
public:
    ImageSurface(double pageWidthMm, double pageHeightMm, int dpi);
    ~ImageSurface() override;
    bool newPage() override;
    // The picture as drawn so far.
    QImage image();

private:
    QImage m_image;
};

// A PDF file, page after page.
class PdfSurface : public PageSurface {
public:
    PdfSurface(const QString& path, double pageWidthMm, double pageHeightMm, int dpi);
    ~PdfSurface() override;
    bool newPage() override;
    void clear() override {}
    // Ends the document; false when the file could not be written.
    bool finish();

private:
    std::unique_ptr<QPdfWriter> m_pdf;
};

// A printer whose paper has been set up by the caller.
class PrinterSurface : public PageSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    ~PrinterSurface() override;
    bool newPage() override;
    void clear() override {}
    bool finish();

private:
    QPrinter& m_printer;
};
