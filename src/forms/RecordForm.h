#pragma once
// The record form: a window that keeps one table of records. Tab 1 lists
// every record of the kind, tab 2 shows the fields of the current one; the
// commands add, edit, delete, query, export, print, save, cancel and return
// work the same way in every member. A member (suppliers, customers,
// departments, categories, goods) builds its boxes on Frm, describes itself in
// a Shape, and supplies the few steps that reach its own table through its
// services; everything else lives here once.
//
// State: Edstu 0 browse, 1 adding, 2 editing. While Edstu is not 0 the tab
// strip is disabled, only Save and Cancel are offered and the window refuses
// to close (CloseWhileEditingGuard); the boxes take the edit colour on focus
// (EditFocusColour), and while browsing pass the focus to the tab strip. The list is a copy of the last query; the boxes show the list row
// CurrentRow plus what the member reads by code; a save writes the boxes back
// and patches that list row in place.
//
// Rights, in the permission word the member names (basic data for the
// unit, category and goods windows): Add digit 3, Edit and Delete digit 2,
// Print digit 1; the member may ask a digit for Export too.

#include "core/Permissions.h"
#include "forms/QueryConditions.h"
#include "forms/RecordList.h"

#include <QStringList>
#include <QVector>
#include <QWidget>
#include <functional>

class Grid;
class QAction;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QTabBar;
struct App;

class RecordForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Edstu READ edstu)
    Q_PROPERTY(QString PubSql READ pubSql WRITE setPubSql)
public:
    ~RecordForm() override;

    int Edstu = 0;         // 0 browse, 1 adding, 2 editing
    QString PubSql;        // hand-over from the query dialog or an import
    int CurrentRow = 1;    // list row of the current record; 0 only after the last one was deleted
    int ListCount = 0;     // records in the list
    QString CodeBeforeEdit;

    int edstu() const { return Edstu; }
    QString pubSql() const { return PubSql; }
    void setPubSql(const QString& s) { PubSql = s; }

    // The commands, as their menu items run them; each runs as this window's
    // MessageScope, so its messages stand over this window.
    void Menu_Add_Click();
    void Menu_edit_Click();
    void Menu_del_Click();
    void Menu_query_Click();
    void Menu_TE_Click();
    void Menu_print_Click();
    void Menu_save_Click();
    void Menu_cancel_Click();
    void Menu_Return_Click();
    void CmDan_Click(int index);

    // Fills the list from a statement (the member adds its kind filter).
    void FillList(const QString& statement);

    // Box texts, whatever kind of box (one line or several).
    QString boxText(int i) const;
    void setBoxText(int i, const QString& text);

    QTabBar* TabS;
    Grid* GD;
    QFrame* Frm;
    QPushButton* CmDan0;
    QPushButton* CmDan1;
    QAction* Menu_Add;
    QAction* Menu_edit;
    QAction* Menu_del;
    QAction* Menu_query;
    QAction* Menu_TE;
    QAction* Menu_print;
    QAction* Menu_save;
    QAction* Menu_cancel;
    QAction* Menu_Return;
    QPushButton* CmdFexcel = nullptr;  // the member's import button, when it has one
    QVector<QWidget*> Txt;  // Txt0, Txt1 ...: QLineEdit or, for long texts, QPlainTextEdit
    QVector<QLabel*> Lab;

protected:
    // What a member says about itself.
    struct Shape {
        QString objectName;       // "A1"
        QString caption;          // window caption
        QString listTab;          // tab 1
        QString detailTab;        // tab 2
        QStringList headers;      // list columns; column 0 is the code
        bool hiddenLastColumn = false;  // the last list column is loaded but not shown
        int listBoxes = 0;        // boxes 0 .. listBoxes-1 show list columns 0 .. listBoxes-1
        QString colourTable;      // table whose BColor/FColor the grid popup writes, keyed by F1
        QString queryHead;        // head of the query dialog's statement
        QVector<QueryField> queryFields;
        int queryDefaultField = 1;
        bool printable = true;    // has a print command
        bool prevNext = true;     // has the previous/next buttons
        bool widenColumns = true; // a cell entered widens its column
        int exportRight = 0;      // digit of the rights word export asks (0 = none)
        QVector<int> enterOrder;  // box that Enter moves to from box i
        int editableFrom = 1;     // boxes editableFrom.. are unlocked in edit mode (box 0 by Add/Edit)
        int editableTo = -1;      // last box unlocked (-1 = the last box)
        bool savedRowToEnd = false;  // a saved record moves to the end of the list
        int columnMargin = 50;    // twips taken off each list column's share
        QString keepOneText;      // refusal when the last record would be deleted
    };

    // `rightGroup`: the permission word (RightGroup) the commands are checked against.
    RecordForm(App& app, int rightGroup, QWidget* parent);

    // Boxes on Frm: box i with its caption label, placed in the frame's grid.
    QLineEdit* addLineBox(int i, const QString& caption, int maxLength, int row, int col, int span = 1);
    QPlainTextEdit* addTextBox(int i, const QString& caption, int maxLength, int row, int col, int span = 1);
    QGridLayout* FrmLayout;
    // Room at the top right for the member's own buttons (left of CmDan).
    QHBoxLayout* TopButtons;

    // The import button "Excel数据导入↓", offered to operator "001" on the
    // list tab: `import` runs the import window and answers true when it
    // imported, after which the query command offers a new list.
    void addImportButton(std::function<bool()> import);
    // Opening: header, list fill from `statement`, the window's first state.
    void start(const Shape& shape, const QString& statement);
    const Shape& shape() const { return S; }

    // ---- what the member supplies -------------------------------------
    virtual RecordList readList(const QString& statement) = 0;
    // Saves the boxes through the member's service; on any status the boxes
    // show the texts as cleaned. Throws DbError.
    virtual RecordSaveResult saveRecord() = 0;
    virtual bool codeInUse(const QString& code) = 0;
    virtual bool otherRecordExists(const QString& code) = 0;
    virtual void deleteRecord(const QString& code) = 0;
    // Optional steps.
    virtual void showRecordExtras() {}
    virtual void enterEditExtras() {}
    virtual void leaveEditExtras() {}
    virtual void addExtras() {}
    virtual void editExtras() {}
    virtual void cancelExtras() {}
    virtual void tabExtras(int tab) { Q_UNUSED(tab) }
    // Runs before Add, Edit, Delete, Export, Print, Return, previous/next.
    virtual void beforeCommand() {}
    // Where Enter in box `box` moves the focus: the first of these that is
    // shown and enabled; none such keeps the focus. By default the box that
    // enterOrder names.
    virtual QList<QWidget*> enterTargets(int box) const;
    // True when the member handled Query itself (nothing more happens).
    virtual bool queryHandled() { return false; }
    // Runs first in Save; false stops the save.
    virtual bool beforeSave() { return true; }
    virtual void afterSave() {}
    // Runs last in Save, once the window browses the saved record again.
    virtual void afterSaveShown() {}
    // The question Delete asks before it deletes the record.
    virtual QString deleteQuestion(const QString& code, const QString& name);
    // The list row a saved record gets.
    virtual QStringList savedListRow() const;
    // Numeric columns of the export; the grid and name handed over.
    virtual QList<int> exportNumericColumns() const { return {}; }
    virtual Grid* exportGrid() { return GD; }
    virtual QString exportName() const;
    // Text the export writes before the grid's rows ("" = none).
    virtual QString exportHead() const { return {}; }
    // Print layout id, default template file and the printed columns.
    virtual QString printLayout() const { return QStringLiteral("客户档案"); }
    virtual QString printTemplate() const { return QStringLiteral("pkh.vxp"); }
    // List columns staged as Plist F1, F2 ... and the fields the layout reads.
    virtual QVector<int> printColumns() const { return {0, 1, 2, 3, 4, 5, 6}; }
    virtual QString printFields() const;

    void ShowRecord();
    void ShowStatusLine();
    void EnterEditMode();
    void LeaveEditMode();
    void SetListHeader();
    // Takes list row `row` out; the last one leaves the empty list (header and a blank row).
    void takeListRow(int row);
    void GD_RowColChange();
    void TabS_Click(int tab);
    void setBoxLocked(int i, bool locked);
    void setBoxBack(int i, const QColor& colour);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Spreads the list's columns over the grid's width; called when the header is
    // set and whenever the grid changes size. A kind with its own widths overrides it.
    virtual void placeListColumns();
    // The list grid's usable width in twips: its frame less a vertical scroll bar.
    int listWidthTwips() const;

    App& app;

private:
    // Puts box i with its caption on Frm, locked, in the box colours.
    void placeBox(int i, const QString& caption, QWidget* box, Qt::Alignment captionAlignment, int row, int col,
                  int span);
    void showSaveRefusal(const RecordSaveResult& result);
    void showPrevNext();
    QAction* action(const char* name, const char* caption);

    Shape S;
    QStackedLayout* Pages;
    int RightGroupOfForm;
};
