#pragma once
// The three import windows on the shared frame: goods (FromExcel), business
// units (A12Excel) and document lines (DanExcel). Their openers are in
// ImportOpeners.h; the runs in ImportRuns.h.

#include "exchange/ImportForm.h"
#include "exchange/ImportOpeners.h"

class LineGridHost;
class QStatusBar;

class FromExcelForm : public ImportForm {
    Q_OBJECT
public:
    FromExcelForm(App& app, QWidget* parent = nullptr);
    // Shows mapping row k (13 to 17) with its label.
    void showRow(int k, bool on);
    int FCPLJ = 0;
    QLineEdit* txtLB0;
    QLineEdit* txtLB1;
    bool imported = false;

protected:
    void run() override;
};

class A12ExcelForm : public ImportForm {
    Q_OBJECT
public:
    A12ExcelForm(App& app, UnitKind kind, QWidget* parent = nullptr);
    UnitKind LB;
    bool imported = false;

protected:
    void run() override;
};

class DanExcelForm : public ImportForm {
    Q_OBJECT
public:
    DanExcelForm(App& app, LineGridHost& host, const LineImportLayout& layout, QWidget* parent = nullptr);
    LineGridHost& Loader;
    LineImportLayout layout;
    int PD = 0;
    QStatusBar* Stb;
    QLabel* Stb1;
    QLabel* Stb2;

protected:
    void run() override;
    void showHint(const QString& text) override;
    void showProgress(const QString& text) override;
    QString closeQuestion() const override;
};
