#pragma once
// The line editor of the stock-document window: the line grid GdMx with its
// in-cell editor TxtEnter and the picker buttons laid over it (CmdQuery,
// CmdSX), and the quick-entry strip PicLRQ (TxtHPBM, TxtSL, CmdEnter, CmdDel,
// CmdQry). Everything a column does (header, width, the cell of a stored
// line, the line field read back, when the editor opens, what a commit does,
// where Enter goes) comes from the policy's line-role table, read in one loop;
// a kind that adds roles of its own touches neither this part nor the window.
// It is the LineGridHost the goods picker's batch mode and the line import
// fill, and the LineCells the roles' rules work on.

#include "documents/common/LineRoles.h"
#include "widgets/LineGridHost.h"

#include <QDate>
#include <QObject>
#include <QVector>
#include <functional>

class Grid;
class QLineEdit;
class QPushButton;
class QWidget;
struct App;
struct StockDoc;
struct StockDocLine;
struct StockDocPolicy;

// What the line editor asks of the window that holds it.
class LineEditorOwner {
public:
    virtual ~LineEditorOwner() = default;
    virtual bool linesEditable() const = 0;        // the document is being added or edited
    virtual QDate lineDate() const = 0;            // the document's date
    virtual QString lineCounterParty() const = 0;  // the counter-party code chosen, "" when none
    virtual QString lineGoodsFilter() const = 0;   // the goods pickers' supplier condition
    // The current line moved or lines came or went: `lines` goods lines (0 = none), `current` the line.
    virtual void lineMoved(int lines, int current) = 0;
    virtual void lineTotalChanged(double amount) = 0;  // the lines' amounts add up to `amount`
};

class LineEditor : public QObject, public LineGridHost, public LineCells {
    Q_OBJECT
public:
    // Builds the grid and the strip on `page` of `window`, which owns the editor and holds
    // `policy`; the pickers open over `window`.
    LineEditor(App& app, const StockDocPolicy& policy, LineEditorOwner& owner, QWidget* window, QWidget* page);

    QWidget* strip() const { return m_picLRQ; }  // the quick-entry strip, for the window's layout
    QLineEdit* stripCode() const { return m_txtHPBM; }

    // LineGridHost
    QLineEdit* TxtEnter() override { return m_txtEnter; }
    void TxtEnter_LostFocus() override;
    Grid* GdMx() override { return m_grid; }
    void GdMx_Click() override;
    int curMxR() const override { return m_curMxR; }
    void setCurMxR(int row) override { m_curMxR = row; }
    int curMxC() const override { return m_curMxC; }
    void setCurMxC(int col) override { m_curMxC = col; }
    QString& PubSql() override { return m_pubSql; }

    // LineCells
    const App& lineApp() const override { return m_app; }
    const StockDocPolicy& linePolicy() const override { return m_policy; }
    QString cell(int row, LineRole role) const override;
    void setCell(int row, LineRole role, const QString& text) override;
    bool discountsOn() const override;
    bool amountsHidden() const override;
    bool stockCovers(int row, double qty) override;
    void commitGoodsCode(int row, const QString& text) override;

    int col(LineRole role) const;  // -1 when the kind has no such column

    // Adds the strip's goods and quantity to the lines; true when a line was added or increased.
    bool EnterHPBM();
    // Empty lines under the role headers, the first line current.
    void clear();
    // Fills the cleared grid with the lines of a stored document, their colours and a totals row.
    void show(const StockDoc& doc);
    // The lines as the grid holds them. Lines at the place and with the goods of a line
    // of `replaced` keep its colours, which the editor does not edit.
    QVector<StockDocLine> read(const StockDoc* replaced) const;
    bool hasLines() const;  // the first line holds goods

    // The strip shown and the totals row emptied (adding, editing); hidden with the editor.
    void startEditing();
    void stopEditing();
    void commitEditor();                 // commits the cell editor while it is open
    void editAt(int row, LineRole role); // makes the cell current and opens the editor there
    void ensureBlankLastRow();
    // The grid was filled from outside the cell editor: blank row, status, totals.
    void linesChanged();
    void sumTotals();
    void showCurrentLine();  // the grid's row follows the current line; the owner shows the status
    void fitColumns(int width);  // the shown columns share `width` pixels by their weights

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* page);
    void putGoodsOnLine(int row, StockDocLine goods, double qty);
    void addToStripRole(int row, double qty);  // the strip's quantity into a role of the kind's own
    void markAlarms(int row);  // red text where a column's alarm holds
    void putTypedGoods(const QString& code);
    void placeCellEditor();
    void editorEnter();
    void stripEnter();
    void stripCodeEnter();
    void stripQtyEnter();
    void deleteLine();
    void pickStripGoods();
    void pickCellGoods();
    void pickCellAttribute();
    void pickIntoEditor(QPushButton* button, const std::function<QString()>& pick);
    void emptyLine(int row);  // removes the line, or empties it when it is the only one

    App& m_app;
    const StockDocPolicy& m_policy;
    LineEditorOwner& m_owner;
    QVector<LineColumn> m_columns;  // the policy's line columns with every rule filled in
    QWidget* m_window = nullptr;
    QWidget* m_page = nullptr;
    int m_curMxR = 1;
    int m_curMxC = 0;
    QString m_pubSql;
    bool m_picking = false;  // a picker is open: it commits the editor itself

    Grid* m_grid = nullptr;
    QLineEdit* m_txtEnter = nullptr;
    QPushButton* m_cmdQuery = nullptr;
    QPushButton* m_cmdSX = nullptr;
    QWidget* m_picLRQ = nullptr;
    QLineEdit* m_txtHPBM = nullptr;
    QLineEdit* m_txtSL = nullptr;
    QPushButton* m_cmdEnter = nullptr;
    QPushButton* m_cmdDel = nullptr;
    QPushButton* m_cmdQry = nullptr;
};
