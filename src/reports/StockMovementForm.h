#pragma once
// The frame of the two in/out/stock report windows (the summary JxcHZ and
// the detail JxcMx): period, category, goods box with its picker, the
// quantity-only switch, the run button, the report grid with two caption
// rows, the busy panel whose cancel stops a run, export, goods picture and
// the copy-only grid popup. A member window supplies its grid layout, its run
// and its menus.

#include <QWidget>

class CancellableBusyPanel;
class Grid;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class RecordStatusLine;
struct App;
struct StockMovementFilter;

class StockMovementForm : public QWidget {
    Q_OBJECT
public:
    // Runs the report with the inputs as they stand (the run button).
    void Cmd_Click();
    // True while the last run was cancelled: its grid is not a whole report.
    bool lastRunCancelled() const { return m_cancelled; }

    QFrame* Frm;
    QLabel* Labe0;
    QLabel* Labe1;
    QLabel* Labe2;
    QLabel* Labe3;
    QDateEdit* DTP0;
    QDateEdit* DTP1;
    QComboBox* Comb;
    QLineEdit* Txt;
    QPushButton* CmdQuery;
    QCheckBox* ChK;
    QPushButton* Cmd;
    Grid* GD;
    CancellableBusyPanel* cancelfrm;
    QMenuBar* MenuBar;

protected:
    StockMovementForm(App& app, const QString& caption, QWidget* parent);

    // Called once by the member's constructor, after its own controls exist:
    // categories, default period, quantity-only rule, first run.
    void openReport();

    // The member's run: fills GD from the inputs. Polls keepGoing() between
    // steps; answers false when the run was cancelled.
    virtual bool generate() = 0;
    // Column widths for the window width and the mode.
    virtual void layoutColumns() = 0;
    // Resets GD to its caption rows.
    virtual void setupGrid() = 0;

    // The inputs as a filter of the report services.
    StockMovementFilter filter() const;
    // For the services: shows progress, lets the window breathe, answers
    // whether the run may go on.
    bool keepGoing(const QString& progress = QString());
    // Writes `text` into status panel 4.
    void setStatus(const QString& text);
    // Export of GD through the grid export, numbers in `numericColumns`.
    void exportGrid(const QList<int>& numericColumns);
    // Whether the grid holds a whole report to print; tells the operator why not.
    bool readyToPrint();
    // Marks a cancelled run on the grid and in the status line.
    void markCancelled();

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    App& app;
    RecordStatusLine* m_status = nullptr;

private:
    void fillCategoryCombo();
    void pickGoods();
    bool m_running = false;
    bool m_cancelled = false;
    bool m_closeWhenDone = false;
};
