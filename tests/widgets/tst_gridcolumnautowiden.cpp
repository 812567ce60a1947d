#include "core/App.h"
#include "core/MainFrame.h"
#include "platform/Grid.h"
#include "support/TestRegistry.h"
#include "widgets/GridColumnAutoWiden.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QTest>
#include <cmath>

namespace {

// A main window that only has a background font.
class BigFontFrame : public MainFrame {
public:
    QWidget* widget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int, const QString&) override {}
    QString statusText(int) const override { return QString(); }
    QFont backgroundFont() const override
    {
        QFont f = QApplication::font();
        f.setPixelSize(48);
        return f;
    }
};

// The width FitGridColumn gives a column for a text: its width in the font
// plus 100 twips, in whole pixels.
int FittedTwips(const QFont& font, const QString& text)
{
    const double twips = QFontMetricsF(font).horizontalAdvance(text) * Grid::TwipsPerPixel + 100;
    return int(std::ceil(twips / Grid::TwipsPerPixel)) * Grid::TwipsPerPixel;
}

}  // namespace

// A column widens to the text of the cell entered, and never narrows.
class TestGridColumnAutoWiden : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fitGridColumnNeverNarrows();
    void fitGridColumnWidensToTheText();
    void fitGridColumnMeasuresInTheBackgroundFont();
    void fitGridColumnIgnoresBadColumnsAndHiddenOnes();
    void enteringACellWidensItsColumn();
};

void TestGridColumnAutoWiden::fitGridColumnNeverNarrows()
{
    App app;
    Grid grid;
    grid.setCols(3);
    grid.setColWidth(1, 6000);
    FitGridColumn(app, &grid, 1, QStringLiteral("a"));
    QCOMPARE(grid.colWidth(1), 6000);
}

void TestGridColumnAutoWiden::fitGridColumnWidensToTheText()
{
    App app;
    Grid grid;
    grid.setCols(3);
    grid.setColWidth(1, 300);
    const QString text = QStringLiteral("一段相当长的货品名称与规格型号");
    FitGridColumn(app, &grid, 1, text);
    QCOMPARE(grid.colWidth(1), FittedTwips(QApplication::font(), text));
    QVERIFY(grid.colWidth(1) > 300);
    QCOMPARE(grid.colWidth(0), grid.colWidth(2));
}

void TestGridColumnAutoWiden::fitGridColumnMeasuresInTheBackgroundFont()
{
    App app;
    BigFontFrame frame;
    app.MainWindow = &frame;
    Grid grid;
    grid.setCols(2);
    grid.setColWidth(0, 300);
    const QString text = QStringLiteral("货品名称");
    FitGridColumn(app, &grid, 0, text);
    QCOMPARE(grid.colWidth(0), FittedTwips(frame.backgroundFont(), text));
    QVERIFY(grid.colWidth(0) > FittedTwips(QApplication::font(), text));
}

void TestGridColumnAutoWiden::fitGridColumnIgnoresBadColumnsAndHiddenOnes()
{
    App app;
    FitGridColumn(app, nullptr, 0, QStringLiteral("x"));
    Grid grid;
    grid.setCols(2);
    grid.setColWidth(0, 0);
    grid.setColWidth(1, 300);
    FitGridColumn(app, &grid, 5, QStringLiteral("一段相当长的文字"));
    FitGridColumn(app, &grid, -1, QStringLiteral("一段相当长的文字"));
    FitGridColumn(app, &grid, 0, QStringLiteral("一段相当长的文字"));
    QCOMPARE(grid.colWidth(0), 0);
    QCOMPARE(grid.colWidth(1), 300);
}

void TestGridColumnAutoWiden::enteringACellWidensItsColumn()
{
    App app;
    Grid grid;
    grid.setRows(3);
    grid.setCols(3);
    for (int c = 0; c < 3; ++c)
        grid.setColWidth(c, 300);
    const QString text = QStringLiteral("一段相当长的货品名称");
    grid.setTextMatrix(2, 1, text);
    new GridColumnAutoWiden(app, &grid);
    grid.setRow(2);
    grid.setCol(1);
    QCOMPARE(grid.colWidth(1), FittedTwips(QApplication::font(), text));
    QCOMPARE(grid.colWidth(2), 300);
    // Entering a narrower cell leaves the column as wide as it became.
    grid.setRow(1);
    QCOMPARE(grid.colWidth(1), FittedTwips(QApplication::font(), text));
}

VX_REGISTER_TEST(TestGridColumnAutoWiden)
#include "tst_gridcolumnautowiden.moc"
