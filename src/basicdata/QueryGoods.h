#pragma once
// The goods picker QueryGoods: look a goods up by category, code, name,
// spec, unit and remark, add one on the spot, and hand the code back.
//
// How every caller opens it (a document window and a test alike):
//   GoodsPickRequest req;
//   req.preset = TxtEnter->text();   // first search by code; "" = the first 1 000 goods
//   req.host = this;                 // a LineGridHost: batch-add mode is offered
//   const QString code = PickGoods(app, req, this);   // "" = nothing chosen
// Single choice answers through the return value; in batch-add mode every chosen goods is typed straight
// into the host's line grid through its LineGridHost members and the picker
// stays open.

#include "basicdata/QueryGoodsSearch.h"

#include <QDialog>
#include <QString>

class Grid;
class LineGridHost;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class ColumnSortMenu;
struct App;

struct GoodsPickRequest {
    QString preset;                // the caller's code text, searched at once
    LineGridHost* host = nullptr;  // batch-add target; none = single choice only
    QString supplier;              // only goods of this fixed supplier or of none
    bool onlyWithStructure = false;  // only finished products that have a structure
    bool quickAdd = true;          // offer "→ 新 增 资 料"
};

// Shows the picker modal over `parent` and answers the chosen code ("" = none).
QString PickGoods(App& app, const GoodsPickRequest& request, QWidget* parent = nullptr);
// The goods box of a report or list: the picker in single choice without
// quick add, searching by the box's text; a chosen code replaces the text.
void PickGoodsInto(App& app, QLineEdit* box, QWidget* parent);

// What the pickers share: the window a modal picker opens over (the
// caller, else the main window), and the floating "←选定" button placed at
// the right end of the grid's current row, hidden on a row without a key.
QWidget* PickerParent(App& app, QWidget* parent);
void PlaceSelectButton(Grid* grid, QPushButton* button);

class QueryGoods : public QDialog {
    Q_OBJECT
public:
    explicit QueryGoods(App& app, QWidget* parent = nullptr);

    // Members the caller sets before showing (see GoodsPickRequest).
    LineGridHost* LoaderForm = nullptr;
    QString GysStr;
    int OnlyHaveBom = 0;
    QString Preset;  // searched by code when the picker first shows
    QString Picked;  // the answer: the chosen code, "" = none

    QComboBox* CmbLB;
    QLineEdit* Txt0;  // code
    QLineEdit* Txt1;  // name
    QLineEdit* Txt2;  // spec
    QComboBox* CmbDW;
    QLineEdit* Txt3;  // remark
    QPushButton* Cmd0;  // quick add
    QPushButton* Cmd1;  // search
    QPushButton* Cmd2;  // back
    Grid* GD;
    QPushButton* CmdOK;
    QLabel* LabStu;
    QCheckBox* Chkstyle;
    QLabel* LabChk;
    QTimer* Timer1;

    // The choice on the grid's current row: single or batch (double click, Enter, CmdOK).
    void GD_DblClick();
    // Lists the goods matching the filters; `firstList` = the first 1 000.
    void QueryGoodsList(bool firstList);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillCombos();
    void SetPickerGridHeader();
    void ShowPickerStatus();
    void placeSelectButton();
    void fitColumns();
    void quickAdd();
    void batchPick(const QString& code);
    void Chkstyle_Click();
    bool categoryFilter(QString& code);

    App& app;
    ColumnSortMenu* sortMenu = nullptr;
    bool activated = false;
};
