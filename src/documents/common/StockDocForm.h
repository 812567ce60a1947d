#pragma once
// The one window of every stock-document kind: a list tab (GD) and a detail
// tab (header, line grid GdMx with its in-cell editor TxtEnter, footer), in
// browse state or adding/editing (Edstu). What the kinds differ in comes from
// the StockDocPolicy; what the window computes is done by StockDocService,
// which reads the documents from the database. Controls carry the names the
// other windows and the tests know them by (Txt0..Txt8, Lab0..Lab9, CmbLB,
// CmbK, TxtHPBM, TxtSL, CmdEnter, Menu_Add, Menu_Ok ...).

#include "documents/common/StockDocPolicy.h"
#include "documents/common/StockDocService.h"
#include "widgets/LineGridHost.h"

#include <QWidget>
#include <array>
#include <functional>

class Grid;
class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class QTabBar;
struct App;

class StockDocForm : public QWidget, public LineGridHost, public LineCells {
    Q_OBJECT
    Q_PROPERTY(int Edstu READ edstu)
    // The search dialog writes its answer here by name.
    Q_PROPERTY(QString PubSql READ pubSqlText WRITE setPubSqlText)
public:
    StockDocForm(App& app, StockDocPolicy policy, QWidget* parent = nullptr);

    // True in department mode (the policy's counter-party is a department).
    bool F3isBm() const { return m_policy.department(); }
    int edstu() const { return Edstu; }
    int Edstu = 0;  // 0 browse, 1 adding, 2 editing

    // LineGridHost
    QLineEdit* TxtEnter() override { return m_txtEnter; }
    void TxtEnter_LostFocus() override;
    Grid* GdMx() override { return m_gdMx; }
    void GdMx_Click() override;
    int curMxR() const override { return m_curMxR; }
    void setCurMxR(int row) override { m_curMxR = row; }
    int curMxC() const override { return m_curMxC; }
    void setCurMxC(int col) override { m_curMxC = col; }
    QString& PubSql() override { return m_pubSql; }
    QString pubSqlText() const { return m_pubSql; }

    // LineCells: what the line roles' rules ask of the grid and its editor.
    const App& lineApp() const override { return m_app; }
    const StockDocPolicy& linePolicy() const override { return m_policy; }
    QString cell(int row, LineRole role) const override;
    void setCell(int row, LineRole role, const QString& text) override;
    bool discountsOn() const override;
    bool amountsHidden() const override;
    bool stockCovers(int row, double qty) override;
    void commitGoodsCode(int row, const QString& text) override;
    void setPubSqlText(const QString& text) { m_pubSql = text; }

    // Adds the strip's goods and quantity to the lines; true when a line was added or increased.
    bool EnterHPBM();
    // Loads the list of the documents that `condition` selects (see ListStockDocs).
    void LoadDocList(const QString& condition, const QVariantList& params, bool orphansToo = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

protected:
    // Hooks for a kind's own header controls (the outbound assembly row).
    virtual void editStateChanged() {}                       // after entering or leaving an edit state
    // After ShowDocument: the stored document shown (null while adding, or when none is stored).
    virtual void documentShown(const StockDoc*) {}
    virtual void fillHeaderExtras(StockDocHeader&) const {}  // the save reads the header
    // The line grid was filled from outside the cell editor: status, totals, blank row.
    void linesChanged();
    const StockDocPolicy& policy() const { return m_policy; }
    const QString& caption() const { return m_caption; }

private:
    bool headerEnter(QObject* watched);
    void buildFrame();
    void buildDetail(QWidget* page);
    void buildMenus(QMenuBar* bar);
    void applyMode();

    // Frame and display.
    void SetListGridHeader();
    void fitColumns();
    void SetLineGridHeader();
    void ShowListStatus();
    // Shows the document of DocListRow: `read` when the caller has just read it, else read here.
    void ShowDocument(const StockDoc* read = nullptr);
    void LoadDocLines(const StockDoc* read);  // fills m_shown and the line grid
    void ShowLineStatus();
    void FillUnitCombo();
    void FillSettlementCombo(int index);
    void EnterEditMode(const StockDoc* read = nullptr);
    void LeaveEditMode();
    void selectTab(int index);
    void moveDocument(int step);
    void setStatus(const QString& text);
    bool settlementSettingOn() const;  // the paid amount and settlement are in use (settings 22 / 23)
    QString unitOfForm() const;  // the counter-party code chosen in CmbLB (or fixed), "" when none
    bool fixedUnit() const { return m_policy.docType().fixedUnit != nullptr; }
    QDate dateOfForm() const;    // the document date in Txt1 (today when it holds none)

    // Commands.
    void addDocument();
    void editDocument();
    void deleteDocument();
    void cancelEdit();
    void saveDocument();
    void auditDocuments();
    void unauditDocument();
    void printDocument(int plan);

    // Hand-overs to the shared dialogs: pickers, search, export, line import.
    void CmdQry_Click();
    void CmdQuery_MouseDown();
    void CmdSX_MouseDown();
    void CmdQGys_Click();
    void Menu_query_Click();
    void Menu_TE_Click();
    void CmdFexcel_Click();
    void pickIntoEditor(QPushButton* button, const std::function<QString()>& pick);
    QString supplierFilter() const;
    void dateChanged();
    void numberEdited();
    bool postShown();

    // Lines.
    void CheckLineGoodsCode(const QString& code, bool& found);
    void PlaceCellEditor();
    void SumDocTotals();
    void putGoodsOnLine(int row, const StockDocLine& goods, double qty);
    void ensureBlankLastRow();
    void editorEnter();
    void stripCodeEnter();
    void stripQtyEnter();
    void deleteLine();
    StockDoc docFromForm() const;
    int col(LineRole role) const { return m_policy.columnOf(role); }

    App& m_app;
    StockDocPolicy m_policy;
    QVector<LineColumn> m_columns;  // the policy's line columns with every rule filled in
    QString m_caption;  // the document type's name
    QString DocNumberPrefix;
    int DocListRow = 1;
    int DocLineCount = 0;
    QString DocHeldNumber;
    std::optional<StockDoc> m_shown;  // the stored document the detail shows (none while adding)
    double DocKeptSN = 0;
    int m_curMxR = 1;
    int m_curMxC = 0;
    QString m_pubSql;
    bool m_filling = false;
    bool m_picking = false;  // a picker is open: it commits the editor itself

    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    Grid* m_gd = nullptr;
    QWidget* m_frm = nullptr;
    Grid* m_gdMx = nullptr;
    std::array<QLineEdit*, 9> m_txt{};
    std::array<QLabel*, 10> m_lab{};
    QDateEdit* m_dtp = nullptr;
    QComboBox* m_cmbLB = nullptr;
    QComboBox* m_cmbK = nullptr;
    QPushButton* m_cmdQGys = nullptr;
    QLineEdit* m_txtEnter = nullptr;
    QPushButton* m_cmdQuery = nullptr;
    QPushButton* m_cmdSX = nullptr;
    QWidget* m_picLRQ = nullptr;
    QWidget* m_settlementPlace = nullptr;  // the settlement label, or its combo while editing
    QLineEdit* m_txtHPBM = nullptr;
    QLineEdit* m_txtSL = nullptr;
    QPushButton* m_cmdEnter = nullptr;
    QPushButton* m_cmdDel = nullptr;
    QPushButton* m_cmdQry = nullptr;
    std::array<QPushButton*, 2> m_cmDan{};
    QPushButton* m_cmdFexcel = nullptr;
    QAction* m_menuAdd = nullptr;
    QAction* m_menuEdit = nullptr;
    QAction* m_menuDel = nullptr;
    QAction* m_menuOk = nullptr;
    QAction* m_menuNoOk = nullptr;
    QAction* m_menuQuery = nullptr;
    QAction* m_menuTE = nullptr;
    QAction* m_menuPrint = nullptr;
    QAction* m_menuSave = nullptr;
    QAction* m_menuCancel = nullptr;
    QAction* m_menuReturn = nullptr;
    QVector<QAction*> m_menuPrn;
};
