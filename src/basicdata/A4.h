#pragma once
// The goods window A4, a record form over TA4: the list of goods (or parts,
// or finished products: the word theHname the menu opens it with), and in
// its detail tab one goods with its picture, prices, opening figures and
// product structure (GoodsDetail). What differs from the other record
// windows: the save goes through the goods service (questions, suggested
// codes, re-costing), Add proposes serial codes, Delete names the products
// that lose a part, and Menu_Trun moves a goods between the parts file and
// the finished-products file.

#include "forms/RecordForm.h"

class GoodsDetail;

class A4 : public RecordForm {
    Q_OBJECT
public:
    A4(App& app, const QString& theHname, QWidget* parent = nullptr);

    // The word the main menu's item opens the window with: the parts word
    // for the goods item when parts and finished products have separate
    // files, else the goods word; the products word for the products item.
    static QString wordForItem(const App& app, bool productsItem);

    QString theHname;
    bool CompositeAllowed = false;
    QString LastSavedCode;
    double RefPriceBeforeEdit = 0;

    GoodsDetail* Detail = nullptr;
    QAction* Menu_Trun;
    QAction* Menu_Txm;  // barcode print: not built, shown disabled

    void Menu_Trun_Click();

protected:
    RecordList readList(const QString& statement) override;
    RecordSaveResult saveRecord() override;
    void afterSave() override;
    void afterSaveShown() override;
    QStringList savedListRow() const override;
    bool codeInUse(const QString& code) override;
    bool otherRecordExists(const QString& code) override;
    void deleteRecord(const QString& code) override;
    QString deleteQuestion(const QString& code, const QString& name) override;
    void showRecordExtras() override;
    void enterEditExtras() override;
    void leaveEditExtras() override;
    void addExtras() override;
    void editExtras() override;
    void cancelExtras() override;
    QList<int> exportNumericColumns() const override;
    Grid* exportGrid() override;
    QString exportName() const override;
    QString exportHead() const override;
    QString printLayout() const override { return QStringLiteral("货品档案"); }
    QString printTemplate() const override { return QStringLiteral("php.vxp"); }
    QVector<int> printColumns() const override { return {0, 1, 2, 3, 4, 5, 6, 7, 14}; }
    // Code, name, category name, unit, spec, price, remark, category code, stock.
    QString printFields() const override { return QStringLiteral("F1,F2,F4,F5,F3,F6,F7,F8,F9"); }
    void placeListColumns() override;
    QList<QWidget*> enterTargets(int box) const override;

private:
    void FillGoodsCombos();
    int listClass() const;
    bool structureShown() const;
    QStringList savedRow;
    bool addNextAfterSave = false;
};
