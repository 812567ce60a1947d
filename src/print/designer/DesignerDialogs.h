#pragma once
// The designer's small windows: the barcode settings of an item, the logo
// picture settings of a layout and the choice of a layout's template file.

#include <QDialog>

class PrintEngine;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Database;

// Whether an item prints as a Code 39 barcode, how high, with its text.
// answer(): "" cancelled, "0" no barcode, else height (1-3) and text flag (1 without, 2 with).
class BarcodeDialog : public QDialog {
    Q_OBJECT
public:
    explicit BarcodeDialog(QWidget* parent = nullptr);
    // Presets the window from an item's FONTBOLD code.
    void preset(int code);
    const QString& answer() const { return m_answer; }

private:
    void showHeights(bool on);
    void confirm();
    QCheckBox* ChK0;
    QCheckBox* ChK1;
    QLabel* Lab;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    QRadioButton* Opt2;
    QString m_answer;
};

// The logo picture's settings. After OK the layout holds the new settings;
// LogoPic becomes "RESELECT" when the operator asked for another picture.
class LogoDialog : public QDialog {
    Q_OBJECT
public:
    LogoDialog(PrintEngine& engine, QWidget* parent = nullptr);

private:
    void confirm();
    PrintEngine& m_engine;
    QLineEdit* Txt0;
    QLineEdit* Txt1;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    QRadioButton* Opt2;
    QRadioButton* Opt3;
    QCheckBox* ChkBG;
    QLabel* Image1;
};

// The template file of a layout on this computer. OK with another file
// assigns it in the print set-up (RptFile changes).
class TemplateChoiceDialog : public QDialog {
    Q_OBJECT
public:
    TemplateChoiceDialog(PrintEngine& engine, Database& db, const QString& appFolder, QWidget* parent = nullptr);
    // True when the template file names layout `pid` or names none.
    static bool TemplateMatchesPid(const QString& path, const QString& pid);

private:
    void browse();
    void confirm();
    PrintEngine& m_engine;
    Database& m_db;
    QString m_appFolder;
    QLineEdit* TxtFile;
};
