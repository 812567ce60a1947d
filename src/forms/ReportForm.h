#pragma once
// The report window base: a menu bar, a filter frame the member fills (with
// the filter parts of ReportFilters.h, the period and the run button from
// here), the report grid with its caption rows and an optional totals row,
// the status line, the copy popup, export, the hand-over to the print window
// and an optional busy panel whose cancel stops a run. A window closed during
// a run first stops the run and closes when it has let go.
//
// A member builds its controls in its constructor, then calls openReport()
// or runs itself; generate() fills the grid from the inputs and answers
// false when the run was cancelled (it polls keepGoing() between steps).

#include "widgets/GridBehaviours.h"

#include <QString>
#include <QWidget>

class CancellableBusyPanel;
class Grid;
class QAction;
class QDateEdit;
class QFrame;
class QGridLayout;
class QLabel;
class QMenuBar;
class QPushButton;
struct App;

// A report list handed to the print window: the rows of the grid below its
// caption rows, the window caption and the totals row's quantity and amount.
struct ReportListPrint {
    QString pid;           // layout id
    QString templateFile;  // default template in the program folder
    int lastCol = 0;       // columns 0..lastCol are staged as F1..
    int qtyCol = 0;        // totals row cells handed over as SumSL and SumJE
    int amountCol = 0;
    bool goodsRowsOnly = false;  // leave out rows without a goods code (the totals row)
    bool rowNumber = false;      // stage the grid row number after the cells
};

class ReportForm : public QWidget {
    Q_OBJECT
public:
    // Runs the report with the inputs as they stand (the run button).
    void Run();
    // True while the last run was cancelled: its grid is not a whole report.
    bool lastRunCancelled() const { return m_cancelled; }
    bool running() const { return m_running; }

    QMenuBar* MenuBar;
    QFrame* Frm;
    Grid* GD;
    QDateEdit* DTP0 = nullptr;  // the period, when the report has one
    QDateEdit* DTP1 = nullptr;
    QPushButton* RunButton = nullptr;
    CancellableBusyPanel* cancelfrm = nullptr;

protected:
    ReportForm(App& app, const QString& caption, QWidget* parent);

    // ---- building the window
    // A command on the menu bar, named as its documented control.
    QAction* addMenuItem(const char* name, const QString& caption);
    // The filter frame's grid, for the member's boxes and the filter parts.
    QGridLayout* FrmLayout;
    // The period "统计日期：由" DTP0 "至" DTP1 at row, col (four cells).
    void addPeriod(int row, int col, int toSpan = 1);
    QLabel* PeriodFrom = nullptr;
    QLabel* PeriodTo = nullptr;
    // The run button "生成报表↓", named `name`, at the right of the frame.
    QPushButton* addRunButton(const char* name, int row, int col, int rowSpan);
    // The busy panel over the grid whose cancel button stops a run.
    void addBusyPanel();
    // The grid's popup: copy, and row colours written to `target` when it has one.
    void addPopup(RowColourTarget target = {});
    // The status line of the grid's rows (kept up to date after each run).
    void addStatusLine(const RecordStatusLine::Options& options);

    // ---- what the member supplies
    virtual bool generate() = 0;
    // The run button's click: a run with the inputs as they stand; a member
    // that takes its filter from the panel first reads it here.
    virtual void runClicked() { Run(); }
    // Resets GD to its caption rows (before each run).
    virtual void setupGrid() {}
    // Column widths for the window width and the mode.
    virtual void layoutColumns() {}

    // ---- steps a member uses
    // For the services: shows progress, lets the window breathe, answers
    // whether the run may go on (always true without a busy panel).
    bool keepGoing(const QString& progress = QString());
    // Writes `text` into status panel 4.
    void setStatus(const QString& text);
    // The columns of GD that hold numbers: they stand right after each run,
    // every other column (codes, names, units, phone numbers) left.
    void setNumberColumns(const QList<int>& columns) { m_numberColumns = columns; }
    // Export of GD through the grid export, numbers in `numericColumns`.
    void exportGrid(const QList<int>& numericColumns);
    // Whether the grid holds a whole report to print; tells the operator why not.
    bool readyToPrint();
    // The list print: the reports' print right, a list with rows, then the
    // print window with the grid's rows staged.
    void printList(const ReportListPrint& print);
    // Marks a cancelled run on the grid and in the status line.
    void markCancelled();

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    App& app;
    RecordStatusLine* m_status = nullptr;

private:
    bool m_running = false;
    bool m_cancelled = false;
    bool m_closeWhenDone = false;
    QList<int> m_numberColumns;
};
