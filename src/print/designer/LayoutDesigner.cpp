#include "print/designer/LayoutDesigner.h"

#include "print/PrintEngine.h"

using namespace LayoutWord;

namespace {

const QString LogoKind = QStringLiteral("#LOGO");
const QString RuleLines = QStringLiteral("记录集横线");

QString Text(double v)
{
    return ShortNumber(v);
}

}  // namespace

LayoutDesigner::LayoutDesigner(PrintEngine& engine, LayoutEditor& editor, QObject* parent)
    : QObject(parent), m_engine(engine), m_editor(editor)
{
}

void LayoutDesigner::clearSelection()
{
    m_sel = Selection();
    Q_EMIT selectionChanged();
}

void LayoutDesigner::setEditing(bool on)
{
    m_editing = on;
    m_sel = Selection();
    m_enabled.fill(false);
    if (on) {
        enable({MoveLeft, MoveUp, MoveDown, MoveRight, Properties, Logo});
        m_engine.SeekDdLine(0);
    }
    Q_EMIT selectionChanged();
    Q_EMIT toolsChanged();
}

void LayoutDesigner::enable(std::initializer_list<int> tools, bool on)
{
    for (int t : tools)
        m_enabled[size_t(t)] = on;
}

double LayoutDesigner::resolved(double v) const
{
    return v < 0 ? m_engine.pageHeight() + v : v;
}

QSizeF LayoutDesigner::logoSize() const
{
    const QImage& p = m_engine.logoPicture;
    if (m_engine.LogoPic.isEmpty() || p.isNull())
        return {};
    const double wMm = p.dotsPerMeterX() > 0 ? p.width() * 1000.0 / p.dotsPerMeterX() : p.width() * 25.4 / 96;
    const double hMm = p.dotsPerMeterY() > 0 ? p.height() * 1000.0 / p.dotsPerMeterY() : p.height() * 25.4 / 96;
    const double pageW = m_engine.pageWidth() > 0 ? m_engine.pageWidth() : m_engine.PaperW;
    const double designW = m_engine.DesignWidth > 0 ? m_engine.DesignWidth : pageW;
    return {wMm * designW / pageW, hMm};
}

bool LayoutDesigner::selectBand(const QRectF& band, const QPointF& release)
{
    const QSizeF logo = logoSize();
    if (!m_engine.LogoPic.isEmpty() && !m_engine.LogoHide && release.x() > m_engine.LogoLeft &&
        release.x() < m_engine.LogoLeft + logo.width() && release.y() > m_engine.LogoTop &&
        release.y() < m_engine.LogoTop + logo.height()) {
        m_sel.kind = LogoKind;
        m_enabled.fill(false);
        enable({MoveLeft, MoveUp, MoveDown, MoveRight, Logo});
        Q_EMIT selectionChanged();
        Q_EMIT toolsChanged();
        return true;
    }
    const bool any = hitTest(band);
    Q_EMIT selectionChanged();
    return any;
}

bool LayoutDesigner::hitTest(const QRectF& band)
{
    m_sel = Selection();
    const double x0 = band.left(), x1 = band.right(), y0 = band.top(), y2 = band.bottom();
    const double bw = band.width(), bh = band.height();
    if (bw <= 0 || bh <= 0)
        return false;
    const TableGeometry& g = m_engine.table;
    const double firstRow = g.tabTop + g.rowHeight + g.rcdTop;
    const double pageW = m_engine.pageWidth();
    struct Item {
        QString kind, value;
        double left = -100, top = -100, right = -100, bottom = 0, hide = 0;
    } it;
    bool started = false;
    const auto choose = [&](const Item& i, double top, double bottom) {
        m_sel.kind = i.kind;
        m_sel.name = i.value;
        m_sel.left = i.left;
        m_sel.top = top;
        m_sel.right = i.right;
        m_sel.bottom = bottom;
    };
    const auto test = [&](const Item& i) {
        if (!started || i.hide == 1)
            return;
        const bool inX = x0 < i.left && i.left < x1;
        if (i.kind != Field) {
            if (!(inX && y0 < i.top && i.top < y2))
                return;
            const bool lineSelected = m_sel.kind == Line;
            if (i.kind == Line) {
                if (i.top == i.bottom && bw / bh > 3) {
                    if (!(lineSelected && m_sel.top < i.top))
                        choose(i, i.top, i.bottom);
                } else if (i.left == i.right && bh / bw > 3) {
                    if (!(lineSelected && m_sel.left < i.left))
                        choose(i, i.top, i.bottom);
                }
                return;
            }
            if (m_sel.kind.isEmpty() || (!lineSelected && i.left <= m_sel.left && i.top <= m_sel.top))
                choose(i, i.top, i.bottom);
            return;
        }
        const bool ruleB = m_sel.kind != Line && inX && y0 < firstRow && firstRow < y2;
        const bool ruleC = !ruleB && inX && y0 < firstRow + i.top && firstRow + i.top < y2;
        if (!ruleB && !ruleC)
            return;
        if (m_sel.kind.isEmpty() || (firstRow <= m_sel.top && i.left <= m_sel.left)) {
            choose(i, firstRow, m_engine.tableBottom());
            if (i.value == QLatin1String("0") && x1 - x0 >= 2 * pageW / 3)
                m_sel.wholeRow = true;
        }
    };
    for (const ItemRow& r : m_editor.rows()) {
        const QString key = r.key.toUpper();
        if (key == Value) {
            test(it);
            it = Item();
            it.kind = r.owner;
            it.value = r.value;
            started = true;
            continue;
        }
        const double v = LayoutNumber(r.value);
        if (key == QLatin1String("LEFT")) it.left = v;
        else if (key == QLatin1String("TOP")) it.top = resolved(v);
        else if (key == QLatin1String("RIGHT")) it.right = v;
        else if (key == QLatin1String("BOTTOM")) it.bottom = resolved(v);
        else if (key == QLatin1String("HIDE")) it.hide = v;
    }
    test(it);

    const double layoutW = m_engine.DesignWidth > 0 ? m_engine.DesignWidth : pageW;
    if (m_sel.kind.isEmpty() && y0 > g.tabTop && y2 < m_engine.tableBottom() && layoutW / bw < 1.3) {
        m_sel.kind = Field;
        m_sel.name = RuleLines;
    }
    if (m_sel.kind.isEmpty() && !m_engine.LogoPic.isEmpty()) {
        const QSizeF logo = logoSize();
        if (m_engine.LogoLeft > x0 && m_engine.LogoTop > y0 && m_engine.LogoLeft + logo.width() < x1 &&
            m_engine.LogoTop + logo.height() < y2)
            m_sel.kind = LogoKind;
    }
    enableFor();
    return !m_sel.kind.isEmpty();
}

void LayoutDesigner::enableFor()
{
    m_enabled.fill(false);
    const QString& k = m_sel.kind;
    if (k.isEmpty())
        enable({MoveLeft, MoveUp, MoveDown, MoveRight, Properties, Logo});
    else if (k == LogoKind)
        enable({MoveLeft, MoveUp, MoveDown, MoveRight, Logo});
    else if (k == Line || (k == Field && m_sel.name == RuleLines))
        enable({MoveLeft, MoveUp, MoveDown, MoveRight, Longer, Shorter, Larger, Smaller, Properties, Bold});
    else if (k == Field && m_sel.name == QLatin1String("0") && m_sel.wholeRow)
        enable({MoveUp, MoveDown, Properties});
    else
        for (int t = 0; t <= Bold; ++t)
            m_enabled[size_t(t)] = true;
    Q_EMIT toolsChanged();
}

int LayoutDesigner::findSelected() const
{
    const auto& t = m_editor.rows();
    int candidate = -1;
    for (size_t r = 0; r < t.size(); ++r) {
        const ItemRow& row = t[r];
        if (row.key == Value) {
            // A candidate whose every property agreed is the item, even when
            // a later item has the same text: two constants "合计" are two items.
            if (candidate >= 0)
                break;
            if (row.owner == m_sel.kind && row.value == m_sel.name)
                candidate = int(r);
            continue;
        }
        if (candidate < 0)
            continue;
        const double v = LayoutNumber(row.value);
        bool mismatch = false;
        if (row.key == QLatin1String("LEFT"))
            mismatch = v != m_sel.left;
        else if (row.key == QLatin1String("TOP") && m_sel.kind != Field)
            mismatch = resolved(v) != m_sel.top;
        else if (m_sel.kind == Line && row.key == QLatin1String("RIGHT"))
            mismatch = v != m_sel.right;
        else if (m_sel.kind == Line && row.key == QLatin1String("BOTTOM"))
            mismatch = resolved(v) != m_sel.bottom;
        if (mismatch)
            candidate = -1;
    }
    return candidate;
}

void LayoutDesigner::press(int tool, int shift)
{
    if (tool == Logo) {
        if (showLogo)
            showLogo();
        return;
    }
    const int step = shift + 1;
    LayoutEditor::Batch batch(m_editor);
    PrintEngine& e = m_engine;
    if (m_sel.kind == LogoKind && !e.LogoPic.isEmpty() && !e.LogoHide) {
        const double before[2] = {e.LogoLeft, e.LogoTop};
        if (tool == MoveLeft) e.LogoLeft -= step;
        else if (tool == MoveRight) e.LogoLeft += step;
        else if (tool == MoveUp) e.LogoTop -= step;
        else if (tool == MoveDown) e.LogoTop += step;
        else if (tool == Properties) {
            m_sel.kind.clear();
            if (showLogo)
                showLogo();
        }
        if (before[0] != e.LogoLeft || before[1] != e.LogoTop)
            m_editor.touch();
        return;
    }
    if (m_sel.kind.isEmpty() || m_sel.kind == LogoKind) {
        if (tool == Properties) {
            if (showPaperSetup)
                showPaperSetup();
            return;
        }
        if (tool == MoveLeft) e.LeftMargin += step;
        else if (tool == MoveRight) e.LeftMargin -= step;
        else if (tool == MoveUp) e.TopMargin += step;
        else if (tool == MoveDown) e.TopMargin -= step;
        else return;
        m_editor.touch();
        return;
    }
    int target = findSelected();
    const bool ruleLines = m_sel.kind == Field && m_sel.name == RuleLines;
    const bool settings = target < 0 || ruleLines;
    if (settings) {
        target = m_editor.findItem(Field, QStringLiteral("0"));
        if (target < 0)
            return;
    }
    if (tool == Properties) {
        const QString& owner = m_editor.rows()[size_t(target)].owner;
        const int kind = owner == Line ? 3 : owner == Field ? 1 : owner == Const ? 2 : 0;
        if (showProperties)
            showProperties(kind, target);
        return;
    }
    if (settings) {
        applyRecordSettings(target, tool, step, shift);
        return;
    }
    applyOrdinary(target, tool, step, shift, m_sel.wholeRow);
    if ((tool == MoveUp || tool == MoveDown) && m_sel.kind == Line &&
        (m_sel.name == TopFrame || m_sel.name == BottomFrame))
        frameLineRule(tool, step);
}

bool LayoutDesigner::applyOrdinary(int target, int tool, int step, int shift, bool wholeRow)
{
    const bool line = m_sel.kind == Line;
    const bool vertical = line && m_sel.left == m_sel.right;
    const bool horizontal = line && m_sel.top == m_sel.bottom;
    const double pageW = m_engine.DesignWidth > 0 ? m_engine.DesignWidth : m_engine.pageWidth();
    const double pageH = m_engine.pageHeight();
    bool metTop = false, metSize = false, metBold = false;
    walk(target, [&](const QString& key, double v) {
        double n = v;
        if (key == QLatin1String("LEFT")) {
            if (tool == MoveLeft && v > step + 2) {
                n = v - step;
                m_sel.left -= step;
                m_sel.right -= step;
            } else if (tool == MoveRight && v + step < pageW) {
                n = v + step;
                m_sel.left += step;
                m_sel.right += step;
            }
        } else if (key == QLatin1String("RIGHT")) {
            if (tool == MoveLeft && v > step + 2)
                n = v - step;
            else if (tool == MoveRight && v + step < pageW)
                n = v + step;
            else if (tool == Longer && !vertical) {
                if (horizontal) {
                    m_sel.right += step;
                    n = m_sel.right;
                } else {
                    n = v + step;
                    m_sel.right = n;
                }
            } else if (tool == Shorter && !vertical && v - step > m_sel.left) {
                if (horizontal) {
                    m_sel.right -= step;
                    n = m_sel.right;
                } else {
                    n = v - step;
                    m_sel.right = n;
                }
            }
        } else if ((key == QLatin1String("TOP") && !wholeRow) || key == QLatin1String("BOTTOM")) {
            const bool top = key == QLatin1String("TOP");
            if (tool == MoveUp || tool == MoveDown)
                metTop = true;
            if (tool == MoveUp && (v > step || (v < 0 && pageH + v > step))) {
                n = v - step;
                if (top) {
                    m_sel.top -= step;
                    m_sel.bottom -= step;
                }
            } else if (tool == MoveDown && ((v >= 0 && v < pageH - step) || (v < 0 && -v > step))) {
                n = v + step;
                if (top) {
                    m_sel.top += step;
                    m_sel.bottom += step;
                }
            } else if (!top && vertical && tool == Longer) {
                if (v > 0) {
                    m_sel.bottom += step;
                    n = m_sel.bottom;
                } else if (v < 0 && v + step < 0) {
                    n = v + step;
                    m_sel.bottom = pageH + n;
                }
            } else if (!top && vertical && tool == Shorter) {
                if (v > m_sel.top) {
                    m_sel.bottom -= step;
                    n = m_sel.bottom;
                } else if (v < 0 && pageH + v > m_sel.top) {
                    n = v - step;
                    m_sel.bottom = pageH + n;
                }
            }
        } else if (key == QLatin1String("RCDTOP") && wholeRow) {
            if (tool == MoveUp || tool == MoveDown) {
                metTop = true;
                n = m_engine.table.rcdTop + (tool == MoveUp ? -step : step);
                m_engine.table.rcdTop = n;
            }
        } else if (key == QLatin1String("FONTSIZE")) {
            if (tool == Larger || tool == Smaller || (tool == Bold && line))
                metSize = true;
            if (tool == Larger && v < (line ? 10 : 48))
                n = v + 1;
            else if (tool == Smaller && v > (line ? 1 : 6))
                n = v - 1;
            else if (tool == Bold && line)
                n = shift == 0 ? (v < 2 ? v + 1 : v - 1) : v + 1;
        } else if (key == QLatin1String("ALIGN")) {
            if (tool == AlignLeft) n = 0;
            else if (tool == AlignRight) n = 1;
            else if (tool == Centre) n = 2;
        } else if (key == QLatin1String("FONTBOLD")) {
            if (tool == Bold) {
                metBold = true;
                if (v == 0 || v == 1)
                    n = 1 - v;
                else
                    enable({Bold, Longer, Shorter, AlignLeft, AlignRight, Centre, Larger, Smaller}, false);
            } else if (tool == Barcode) {
                metBold = true;
                const QString answer = askBarcode ? askBarcode(int(v)) : QString();
                static const QStringList codes = {"11", "12", "21", "22", "31", "32"};
                if (answer == QLatin1String("0") && v > 1)
                    n = 0;
                else if (codes.contains(answer))
                    n = 2 * answer.left(1).toInt() + answer.mid(1).toInt() - 1;
                enable({Bold, Longer, Shorter, AlignLeft, AlignRight, Centre, Larger, Smaller}, n <= 1);
            }
        }
        return n;
    });
    Q_EMIT toolsChanged();
    // Missing-row rule: the press only inserts the row it would have acted on.
    const QString owner = m_sel.kind;
    if ((tool == MoveUp || tool == MoveDown) && !metTop) {
        m_editor.insertProperty(target, owner, QStringLiteral("TOP"), QStringLiteral("0"));
        // The selection keeps describing the item, which now stands at TOP 0.
        if (!wholeRow)
            m_sel.top = 0;
    }
    else if ((tool == Larger || tool == Smaller) && !metSize)
        m_editor.insertProperty(target, owner, QStringLiteral("FONTSIZE"), line ? QStringLiteral("2") : QStringLiteral("10"));
    else if (tool == Barcode && !metBold)
        m_editor.insertProperty(target, owner, QStringLiteral("FONTBOLD"), QStringLiteral("0"));
    else if (tool == Bold && line && !metSize)
        m_editor.insertProperty(target, owner, QStringLiteral("FONTSIZE"), QStringLiteral("2"));
    else if (tool == Bold && !line && !metBold)
        m_editor.insertProperty(target, owner, QStringLiteral("FONTBOLD"), QStringLiteral("0"));
    return true;
}

void LayoutDesigner::walk(int target, const std::function<double(const QString& key, double value)>& rule)
{
    const int end = m_engine.itemEnd(target);
    for (int r = target + 1; r < end; ++r) {
        const ItemRow row = m_editor.rows()[size_t(r)];
        const double v = LayoutNumber(row.value);
        const double n = rule(row.key.toUpper(), v);
        if (n != v)
            m_editor.setValue(r, Text(n));
    }
}

bool LayoutDesigner::applyRecordSettings(int target, int tool, int step, int shift)
{
    if (tool == Bold) {
        int& h = m_engine.RcdLineH;
        h = shift == 0 ? (h > 1 ? h - 1 : h + 1) : h + 1;
        m_editor.touch();
    }
    walk(target, [&](const QString& key, double v) {
        double n = v;
        if (key == QLatin1String("RCDLINELEFT")) {
            if (tool == MoveLeft) n = v - step;
            else if (tool == MoveRight) n = v + step;
        } else if (key == QLatin1String("RCDLINERIGHT")) {
            if (tool == MoveLeft || tool == Shorter) n = v - step;
            else if (tool == MoveRight || tool == Longer) n = v + step;
        } else if (key == QLatin1String("RCDLINETOP")) {
            if (tool == MoveUp && v > 0) n = v - 1;
            else if (tool == MoveDown && v < 50) n = v + 1;
        } else if (key == QLatin1String("ROWHEIGHT")) {
            if (tool == Larger && v < 50) n = v + 1;
            else if (tool == Smaller && v > 5) n = v - 1;
        }
        return n;
    });
    return true;
}

bool LayoutDesigner::frameLineRule(int tool, int step)
{
    const bool topFrame = m_sel.name == TopFrame;
    const double tableBottom = m_engine.tableBottom();
    const bool up = tool == MoveUp;
    QString owner, value;
    for (size_t r = 0; r < m_editor.rows().size(); ++r) {
        const ItemRow row = m_editor.rows()[r];
        const QString key = row.key.toUpper();
        if (key == Value) {
            owner = row.owner;
            value = row.value;
            continue;
        }
        const double v = LayoutNumber(row.value);
        double n = v;
        if (key == QLatin1String("TABTOP") && topFrame) {
            if (up && v > step) n = v - step;
            else if (!up && v > 0 && v + step < tableBottom) n = v + step;
        } else if (key == QLatin1String("TABBTM") && !topFrame) {
            if (up && v < 0) n = v - step;
            else if (!up && -v > step) n = v + step;
        } else if ((key == QLatin1String("TOP") || key == QLatin1String("BOTTOM")) && owner != Field &&
                   !(owner == Line && value == m_sel.name)) {
            if (topFrame) {
                if (up && v > step) n = v - step;
                else if (!up && v > 0 && v < tableBottom) n = v + step;
            } else {
                if (up && v < 0 && -v + step < m_engine.PaperH) n = v - step;
                else if (!up && v < 0 && -v - step > 0) n = v + step;
            }
        }
        if (n != v)
            m_editor.setValue(int(r), Text(n));
    }
    return true;
}
