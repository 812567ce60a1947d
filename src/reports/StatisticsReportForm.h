#pragma once
// The statistics window family: lines of the audited documents of a period,
// narrowed by document type, unit, category, goods and the documents' extra
// header item, with a totals row, sort, row colours, copy, export and prints.
// A member is the base with its job's settings; the list, its cells and the
// prints are the services of DocStatistics.h.

#include "forms/ReportForm.h"
#include "reports/DocStatistics.h"

#include <QStringList>
#include <vector>

class ColumnSortMenu;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// One entry of the document-type list: its text, the TB1.S2 names it keeps
// (none = every type), the unit kind of its counter-parties (0, 1, 8, or 80
// suppliers and departments, 81 customers and departments) and the caption
// of its extra header item.
struct StatTypeItem {
    QString text;
    QStringList names;
    int unitKind = 0;
    QString extraCaption;
};

// What a member is.
struct StatMemberSpec {
    StatMember member = StatMember::Lst;
    QString fixedCaption;          // "" = the word of the chosen type + "统计"
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
    // The mode, "B2", "B4", "D2" or "D4"; the opener sets it before showing
    // the window and a window already open takes it at its next build.
    QString whoami;

    QComboBox* CmbS2;
    QComboBox* CmbF3;
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

    // Applies the mode: word, kind, sign and the type list; then builds the list.
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
    bool ShowPrices = true;

protected:
    StatisticsReportForm(App& app, StatMemberSpec spec, const QString& mode, QWidget* parent);

    bool generate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void setupGrid() override { SetupStatsGrid(); }
    void layoutColumns() override;

    // The type list of the mode; a member with its own list overrides it.
    virtual std::vector<StatTypeItem> typeItems() const;
    virtual QStringList headers() const;
    // The document types whose names the chosen item keeps.
    virtual QStringList chosenTypes() const;
    void chooseType();
    bool amountsHidden() const;

    StatMemberSpec m_spec;
    std::vector<StatTypeItem> m_items;
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

protected:
    std::vector<StatTypeItem> typeItems() const override;
    QStringList headers() const override;
};

// Outbound cost statistics.
class CBLst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit CBLst(App& app, QWidget* parent = nullptr);

protected:
    std::vector<StatTypeItem> typeItems() const override;
    QStringList headers() const override;
};

// Sales gross-profit statistics: its own type list CmbDan.
class MLLst : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit MLLst(App& app, QWidget* parent = nullptr);
    QComboBox* CmbDan;

protected:
    std::vector<StatTypeItem> typeItems() const override;
    QStringList headers() const override;
    QStringList chosenTypes() const override;
};

// Stocktaking statistics.
class C3 : public StatisticsReportForm {
    Q_OBJECT
public:
    explicit C3(App& app, QWidget* parent = nullptr);

protected:
    std::vector<StatTypeItem> typeItems() const override { return {}; }
    QStringList headers() const override;
};
