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
#include "documents/common/LineEditor.h"

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

class StockDocForm : public QWidget, private LineEditorOwner {
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

    // The line grid with its cell editor and quick-entry strip: the LineGridHost
    // the pickers and the line import fill.
    LineEditor& lines() { return *m_lines; }
    QString pubSqlText() const { return m_pubSql; }
    void setPubSqlText(const QString& text) { m_pubSql = text; }

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
    void SetLineGridHeader();  // empty lines under the role headers
    void ShowListStatus();
    // Shows the document of DocListRow: `read` when the caller has just read it, else read here.
    void ShowDocument(const StockDoc* read = nullptr);
    void LoadDocLines(const StockDoc* read);  // fills m_shown and the line grid
    void FillUnitCombo();
    void FillSettlementCombo(int index);
    void EnterEditMode(const StockDoc* read = nullptr);
    void LeaveEditMode();
    void selectTab(int index);
    void moveDocument(int step);
    void setStatus(const QString& text);
    bool amountsHidden() const { return m_lines->amountsHidden(); }
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
    bool refusedBy(const std::function<QString(const Database&)>& check);

    // LineEditorOwner
    bool linesEditable() const override { return Edstu != 0; }
    QDate lineDate() const override { return dateOfForm(); }
    QString lineCounterParty() const override { return unitOfForm(); }
    QString lineGoodsFilter() const override;
    void lineMoved(int lines, int current) override;
    void lineTotalChanged(double amount) override;
    void showAmountSign();

    // Hand-overs to the shared dialogs: unit picker, search, export, line import.
    void CmdQGys_Click();
    void Menu_query_Click();
    void Menu_TE_Click();
    void CmdFexcel_Click();
    void dateChanged();
    void numberEdited();
    bool postShown();

    StockDoc docFromForm() const;

    App& m_app;
    StockDocPolicy m_policy;
    QString m_caption;  // the document type's name
    QString DocNumberPrefix;
    int DocListRow = 1;
    QString DocHeldNumber;
    std::optional<StockDoc> m_shown;  // the stored document the detail shows (none while adding)
    double DocKeptSN = 0;
    QString m_pubSql;
    bool m_filling = false;

    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    Grid* m_gd = nullptr;
    QWidget* m_frm = nullptr;
    LineEditor* m_lines = nullptr;
    std::array<QLineEdit*, 9> m_txt{};
    std::array<QLabel*, 10> m_lab{};
    QDateEdit* m_dtp = nullptr;
    QComboBox* m_cmbLB = nullptr;
    QComboBox* m_cmbK = nullptr;
    QPushButton* m_cmdQGys = nullptr;
    QWidget* m_settlementPlace = nullptr;  // the settlement label, or its combo while editing
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
