#pragma once
// The frame of the two in/out/stock report windows (the summary JxcHZ and
// the detail JxcMx), a report window: period, category, goods box with its
// picker, the quantity-only switch, the run button, the report grid with two
// caption rows and the busy panel whose cancel stops a run, goods picture on
// a double click. A member window supplies its grid layout, its run and its menus.

#include "forms/ReportForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct StockMovementFilter;

class StockMovementForm : public ReportForm {
    Q_OBJECT
public:
    QLabel* Labe0;
    QLabel* Labe1;
    QLabel* Labe2;
    QLabel* Labe3;
    QComboBox* Comb;
    QLineEdit* Txt;
    QPushButton* CmdQuery;
    QCheckBox* ChK;
    QPushButton* Cmd;

protected:
    StockMovementForm(App& app, const QString& caption, QWidget* parent);

    // Called once by the member's constructor, after its own controls exist:
    // categories, default period, quantity-only rule, first run.
    void openReport();

    // The inputs as a filter of the report services.
    StockMovementFilter filter() const;

private:
    void fillCategoryCombo();
};
