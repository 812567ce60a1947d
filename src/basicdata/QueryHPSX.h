#pragma once
// The attribute picker QueryHPSX: the values of the goods attribute (HpsxName,
// such as 批号) that one goods has in posted lines up to the document's
// date, with the stock of each, largest first; a stock-decreasing document
// sees only values with stock.
//
// How every caller opens it:
//   AttributePickRequest req{cellText, goodsCode, docDate, StockDirection::Out, goodsLine};
//   const QString value = PickAttributeValue(app, req, this);   // "" = nothing chosen

#include "basicdata/QueryHPSXList.h"

#include <QDate>
#include <QDialog>

class Grid;
class QLabel;
class QLineEdit;
class QPushButton;
struct App;

struct AttributePickRequest {
    QString preset;  // the caller's attribute text
    QString goods;   // HPBM
    QDate date;      // Qdate: stock over posted lines dated up to this day
    StockDirection direction = StockDirection::In;  // RKCK
    QString goodsLine;  // LabHP: code, name and spec, unit
};

// Shows the picker modal over `parent`; the chosen value, "" when none.
QString PickAttributeValue(App& app, const AttributePickRequest& request, QWidget* parent = nullptr);

class QueryHPSX : public QDialog {
    Q_OBJECT
public:
    explicit QueryHPSX(App& app, QWidget* parent = nullptr);

    QString HPBM;
    QDate Qdate;
    StockDirection RKCK = StockDirection::In;
    QString Picked;  // the chosen value, "" = none

    QLabel* LabHP;
    QLabel* LabSX;
    QLineEdit* Txt;
    QPushButton* Cmd1;  // search
    QPushButton* Cmd2;  // back
    Grid* GD;
    QPushButton* CmdOK;

    void QueryHpsxList();
    void GD_DblClick();

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void placeSelectButton();
    App& app;
    bool activated = false;
};
