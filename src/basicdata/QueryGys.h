#pragma once
// The business-unit picker (QueryGys): lists the units of one kind, narrows
// them by a fuzzy search over six fields, adds a unit on the spot, and hands
// the choice back as code + "." + name ("" = none).
//
//   const QString picked = PickUnit(app, this, code(UnitKind::Supplier), "供应商档案", false);

#include "basicdata/UnitPicker.h"

#include <QDialog>
#include <QVector>

class Grid;
class QLabel;
class QLineEdit;
class QPushButton;
struct App;

class QueryGys : public QDialog {
    Q_OBJECT
public:
    explicit QueryGys(App& app, QWidget* parent = nullptr);

    QObject* LoaderForm = nullptr;  // the caller; not used by the picker
    int pubLB = 0;                  // unit kind, or PickSuppliersAndDepartments / PickCustomersAndDepartments
    int NoSCSF = 0;                 // 1 = never add the dual-role units of other kinds
    QString Picked;                 // the answer: code + "." + name, "" = none

    void FillUnitPickerList();
    void Cmd_Click(int index);
    void GD_RowColChange();
    void choose();

    QVector<QLabel*> Lab;
    QVector<QLineEdit*> Txt;
    QPushButton* Cmd0;
    QPushButton* Cmd1;
    QPushButton* Cmd2;
    Grid* GD;
    QPushButton* CmdOK;
    QLabel* LabStu;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void SetUnitPickerHeader();
    void ShowUnitPickerStatus();
    void QuickAddUnit();
    UnitPickerBoxes boxes() const;

    App& app;
    bool Activated = false;
    bool WithDualRole = false;
};

// The calling protocol in one call: the picker shown modal, its answer
// returned. "" or "." = nothing chosen.
QString PickUnit(App& app, QWidget* caller, int pickKind, const QString& caption, bool noDualRole);
