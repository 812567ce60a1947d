#pragma once
// "客户资料" (A2): the customers, TA1 rows of kind UnitKind::Customer, with
// their quotation grid (when the account set offers customer prices) and the
// link to a folder of the customer's documents (when unit folders are on).
//
// The quotation grid is edited in place while the customer is added or
// edited; its lines are stored with the customer's save, in the same
// transaction and under the code that save writes, so Cancel leaves the
// stored quotations as they were. Browsing, the grid offers search, copy,
// row colours and sorting. It is the LineGridHost the goods picker drives.

#include "basicdata/UnitForm.h"
#include "widgets/LineGridHost.h"

class QComboBox;
class QGroupBox;
class QMenu;
class QToolButton;

class A2 : public UnitForm, public LineGridHost {
    Q_OBJECT
public:
    explicit A2(App& app, QWidget* parent = nullptr);

    bool UnitFoldersEnabled = false;
    QString QuoteOwnerCode;  // the code the grid's lines belong to while adding or editing
    int QuoteEditCol = 0;    // column being edited: 0 code, 3 price, 4 remark

    // LineGridHost
    QLineEdit* TxtEnter() override { return TxtEnterBox; }
    void TxtEnter_LostFocus() override;
    Grid* GdMx() override { return GdMxGrid; }
    void GdMx_Click() override;
    int curMxR() const override { return CurMxR; }
    void setCurMxR(int row) override { CurMxR = row; }
    bool hasCurMxC() const override { return false; }
    int curMxC() const override { return 0; }
    void setCurMxC(int) override {}
    QString& PubSql() override { return RecordForm::PubSql; }

    // The quotation grid.
    void SetQuoteGridHeader();
    void LoadQuoteGrid();
    void CmdBJ_Click(int index);
    // The folder link.
    QString folderPath() const;
    void ImgDir_DblClick();
    void menu_Set_Click();
    void Menu_Quxiao_Click();

    QGroupBox* Frmbj;
    Grid* GdMxGrid;
    QLineEdit* TxtEnterBox;
    QPushButton* CmdQuery;
    QWidget* FrmQ;
    QPushButton* CmdQ;
    QLineEdit* TxtBJ;
    QComboBox* CmbC;
    QComboBox* cmbGx;
    QPushButton* CmdBJ0;
    QPushButton* CmdBJ1;
    QToolButton* ImgDir;
    QMenu* Menu_DocDir;
    QAction* Menu_open;
    QAction* menu_Set;
    QAction* Menu_line;
    QAction* Menu_Quxiao;

protected:
    void completeSave(UnitRecord& record, UnitSaveRequest& request) override;
    void showRecordExtras() override;
    void enterEditExtras() override;
    void leaveEditExtras() override;
    void addExtras() override;
    void editExtras() override;
    void cancelExtras() override;
    void tabExtras(int tab) override;
    void beforeCommand() override;
    bool queryHandled() override;
    bool beforeSave() override;
    void afterSave() override;
    QString exportName() const override;
    Grid* exportGrid() override;
    QList<int> exportNumericColumns() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildQuotePanel();
    void buildFolderLink();
    void PlaceQuoteEditor();
    void AddQuoteLine(const QString& code);
    bool TxtEnter_KeyDown(QKeyEvent* key);  // true when the key was handled
    void CmdQuery_Click();
    void checkTypedCode();
    void hideSearch();
    void setFolderPath(const QString& path);
    void popupFolderMenu();
    QVector<QuoteLine> gridQuotes() const;
    bool lineHasCode(int row) const;

    int CurMxR = 1;
    bool Committing = false;
    bool CheckingCode = false;
    QVector<QuoteLine> ReplacedLines;  // lines whose code was typed over while editing: kept
};
