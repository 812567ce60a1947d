#pragma once
// The product-structure grid of the goods window with its in-cell editor:
// part code (with the goods picker behind "?" or Ctrl+F), usage and remark.
// It is a LineGridHost, so the goods picker's batch-add mode types parts into
// it as into a document's line grid. Its lines live only here until the
// goods is saved (lines() hands them to the save).
//
// Rows: 0 the headers, then one row per part, and a last totals row whose
// code cell is always empty.

#include "basicdata/Structure.h"
#include "widgets/LineGridHost.h"

#include <QWidget>
#include <functional>

class Grid;
class QLineEdit;
class QPushButton;
struct App;

class StructureEditor : public QWidget, public LineGridHost {
    Q_OBJECT
public:
    StructureEditor(App& app, QWidget* parent = nullptr);

    // What the editor asks of its window: whether it is adding or editing,
    // the product's code, and the word it keeps goods under.
    std::function<bool()> editing = [] { return false; };
    std::function<QString()> productCode = [] { return QString(); };
    QString theHname;

    Grid* gdMx() const { return m_grid; }
    QLineEdit* txtEnter() const { return m_editor; }
    QPushButton* CmdQuery;

    // Clears the grid to its headers and one blank totals row.
    void SetLineGridHeader();
    // Fills the grid with the stored structure of `product` at the basis;
    // `productUnit` follows the assemblable count. Answers the amount total.
    double LoadBomGrid(const QString& product, PriceBasis basis, const QString& productUnit);
    // The part lines as shown (usage, price, remark, row colours).
    QVector<StructureLine> lines() const;
    // The amount total of the part lines.
    double total() const;
    bool hasParts() const;

    // LineGridHost.
    QLineEdit* TxtEnter() override { return m_editor; }
    void TxtEnter_LostFocus() override;
    Grid* GdMx() override { return m_grid; }
    void GdMx_Click() override;
    int curMxR() const override { return m_row; }
    void setCurMxR(int row) override { m_row = row; }
    int curMxC() const override { return m_col; }
    void setCurMxC(int col) override { m_col = col; }
    QString& PubSql() override { return m_pubSql; }

    // The goods picker on the part-code cell.
    void CmdQuery_MouseDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceCellEditor();
    void ShowLineStatus();
    bool CheckLineGoodsCode(const QString& code);
    void enterPressed();
    void updateTotals();
    void ensureBlankLastRow();

    App& app;
    Grid* m_grid;
    QLineEdit* m_editor;
    int m_row = 1;
    int m_col = 1;
    bool m_committing = false;
    QString m_pubSql;
};
