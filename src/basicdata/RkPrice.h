#pragma once
// The inbound price history window RkPrice: every change of one goods'
// inbound reference price, with "&C.清除" for an operator who may modify
// basic data.
//
// How a caller opens it:
//   ShowRkPriceHistory(app, code, HasRight(app, RightBasicData, RightItem2), this);

#include <QDialog>

class Grid;
class QAction;
struct App;

void ShowRkPriceHistory(App& app, const QString& goods, bool canClear, QWidget* parent = nullptr);

class RkPrice : public QDialog {
    Q_OBJECT
public:
    RkPrice(App& app, const QString& goods, QWidget* parent = nullptr);

    QString F1;  // the goods code
    Grid* GD;
    QAction* Menu_clear;
    QAction* Menu_Rtn;

    void Menu_clear_Click();

private:
    void load();
    App& app;
};
