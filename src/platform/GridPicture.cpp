// The picture of the whole grid (every row, the visible columns), as the
// export to a picture file and the clipboard take it.
#include "platform/Grid.h"

#include <QPainter>
#include <QStyleOptionViewItem>

QImage Grid::picture() const
{
    std::vector<int> visible;
    qint64 width = 0;
    for (int c = 0; c < cols(); ++c)
        if (!isColumnHidden(c) && columnWidth(c) > 0) {
            visible.push_back(c);
            width += columnWidth(c);
        }
    const int h = rowHeight();
    const qint64 height = qint64(rows()) * h;
    // A 32-bit picture of more than 1 GB cannot be saved sensibly anyway.
    if (width == 0 || height == 0 || width > 32767 || width * height > (qint64(1) << 28))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(defaultBackColor());

    QStyleOptionViewItem opt;
    opt.initFrom(this);
    const QColor gridColor = QColor::fromRgb(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &opt, this)));
    QPainter p(&image);
    p.setFont(font());

    auto xOf = [&](size_t i) {
        int x = 0;
        for (size_t j = 0; j < i; ++j)
            x += columnWidth(visible[j]);
        return x;
    };
    std::vector<int> xs(visible.size());
    for (size_t i = 0; i < visible.size(); ++i)
        xs[i] = xOf(i);

    for (int k = 0; k < fixedRows(); ++k) {
        const int y = k * h;
        for (size_t i = 0; i < visible.size();) {
            const int col = visible[i];
            const int last = m_model->mergedSpan(k, col).second;
            size_t j = i;
            int w = 0;
            while (j < visible.size() && visible[j] <= last)
                w += columnWidth(visible[j++]);
            const QRect r(xs[i], y, w, h);
            const QColor back = m_model->backColor(k, col);
            p.fillRect(r, back.isValid() ? back : palette().color(QPalette::Button));
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            const QColor fore = m_model->foreColor(k, col);
            p.setPen(fore.isValid() ? fore : palette().color(QPalette::ButtonText));
            p.drawText(r.adjusted(TextMargin, 0, -TextMargin, 0), int(m_model->effectiveAlignment(k, col)),
                       m_model->text(k, col));
            i = j;
        }
    }
    for (int row = fixedRows(); row < rows(); ++row) {
        const int y = row * h;
        for (size_t i = 0; i < visible.size(); ++i) {
            const int col = visible[i];
            const QRect r(xs[i], y, columnWidth(col), h);
            const QColor back = m_model->backColor(row, col);
            if (back.isValid())
                p.fillRect(r, back);
            if (!m_model->mergesWithAbove(row, col)) {
                const QColor fore = m_model->foreColor(row, col);
                p.setPen(fore.isValid() ? fore : defaultForeColor());
                p.drawText(r.adjusted(TextMargin, 0, -TextMargin, 0), int(m_model->effectiveAlignment(row, col)),
                           m_model->text(row, col));
            }
            p.setPen(gridColor);
            p.drawLine(r.topRight(), r.bottomRight());
            if (!m_model->mergesWithAbove(row + 1, col))
                p.drawLine(r.bottomLeft(), r.bottomRight());
        }
    }
    return image;
}

// ------------------------------------------------------- state and the view
