#pragma once
// The statistics window family: lines of the audited documents of a period,
// narrowed by document type, unit, category, goods and the documents' extra
// header item, with a totals row, sort, row colours, copy, export and prints.
// A member is the base with its job's settings; the list, its cells and the
// prints are the services of DocStatistics.h.

#include "forms/ReportForm.h"
#include "reports/DocStatistics.h"
#include "reports/StatisticsModes.h"

#include <QStringList>
#include <vector>

class ColumnSortMenu;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// What a member is.
struct StatMemberSpec {
    StatMember member = StatMember::Lst;
    bool extendedFilter = false;   // the name, spec, unit, number, note and remark boxes
    QString unitCaption = QStringLiteral("相关单位");
    struct PrintItem {
        const char* name;
        QString caption;
        StatPrintKind kind;
        bool needsRight;  // the side's print right
    };
    std::vector<PrintItem> prints;
};

class StatisticsReportForm : public ReportForm {
    Q_OBJECT
public:
    // The mode, "B2", "B4", "D2" or "D4" (setMode).
    QString whoami;

    QComboBox* CmbS2;
    QComboBox* CmbF3;
    QPushButton* CmdQGys;  // the unit picker, when the set offers it
    QComboBox* CmbLB;
    QLineEdit* Txt;
    QLabel* LabOD;
    QLineEdit* TxtOD;
    QLabel* LabDown = nullptr;
    QLabel* LabUP = nullptr;
    QLineEdit *TxtF2 = nullptr, *TxtF5 = nullptr, *TxtF4 = nullptr, *TxtF0 = nullptr, *TxtF10 = nullptr,
              *TxtF9 = nullptr;
    QLineEdit* TxtSX = nullptr;
    QAction* Menu_TE;
    QAction* Menu_Return;
    QMenu* Menu_print;

    // Applies the mode: word, kind, caption, the type and unit lists and the
    // print menu; then builds the list. The menu calls it again when another
    // of the window's items is chosen while it is open.
    void setMode(const QString& mode);

    // The four steps of every member.
    void SetupStatsGrid();
    bool BuildStatsList();
    void ShowStatsStatus();
    void FillCategoryCombo();

    // The print of the grid as it stands (also for tests: what would be staged).
    StatPrintJob printJob(StatPrintKind kind) const;
    void print(StatPrintKind kind, bool needsRight);

    QString StatWord;
    DocKind StatKind = DocKind::Inbound;
    // Whether the list built last shows its prices and amounts.
    bool ShowPrices = true;

protected:
    StatisticsReportForm(App& app, StatMemberSpec spec, QWidget* parent);

    bool generate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void setupGrid() override { SetupStatsGrid(); }
    void layoutColumns() override;

    // The list of document types: CmbS2, or the member's own.
    QComboBox* m_types;
    StatMemberSpec m_spec;

private:
    void chooseType();
    void pickUnit();
    const StatTypeItem* chosenItem() const;
    StatViewer viewer() const;
    bool amountsHidden() const;

    std::vector<StatTypeItem> m_items;
    StatTypeItem m_built;  // the type item of the list built last
    bool m_hasBuilt = false;
    ColumnSortMenu* m_sort = nullptr;
    QWidget* m_extended = nullptr;
    StatTable m_table;
};

// Inbound and outbound document lists.
class Lst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit Lst(App& app, QWidget* parent = nullptr, const QString& mode = QStringLiteral("B2"));
};

// Reconciliation statements of goods received or shipped.
class DZLst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit DZLst(App& app, QWidget* parent = nullptr, const QString& mode = QStringLiteral("B2"));
};

// Outbound cost statistics.
class CBLst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit CBLst(App& app, QWidget* parent = nullptr);
};

// Sales gross-profit statistics: its own type list CmbDan.
class MLLst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit MLLst(App& app, QWidget* parent = nullptr);
    QComboBox* CmbDan;
};

// Stocktaking statistics.
class C3 : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit C3(App& app, QWidget* parent = nullptr);
};
