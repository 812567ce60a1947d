#pragma once
// The print set-up of a layout on this computer: printer, paper (with the
// program's custom paper forms), orientation, margins and whether the
// printer's orientation follows the layout. OK changes the layout's page
// settings; a changed printer or orientation switch is assigned in the
// print set-up for this computer.

#include <QDialog>

class Database;
class PrintEngine;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QRadioButton;

class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrintSetupDialog(PrintEngine& engine, Database& db, const QString& appFolder, QWidget* parent = nullptr);

private:
    void loadForms();
    void choosePrinter();
    void chooseForm();
    void newPaper();
    void deletePaper();
    void confirm();

    PrintEngine& m_engine;
    Database& m_db;
    QString m_appFolder;
    QString m_openingPrinter;
    QString m_paperName;
    double m_paperW = 0, m_paperH = 0;
    QComboBox* CmbPrinters;
    QListWidget* List1;
    QLineEdit* Txt;
    QLineEdit* TxtW;
    QLineEdit* TxtH;
    QFrame* Frm;
    QLineEdit* TxtN;
    QLineEdit* TxtWN;
    QLineEdit* TxtHN;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    QLineEdit* TxtTop;
    QLineEdit* TxtLeft;
    QCheckBox* ChkPo0;
    QCheckBox* ChkPo1;
};
