#pragma once
// The frame the three import windows share: choose a workbook or CSV file,
// list and read its sheets into the grid Gd (row 0 holds the column letters,
// data from row 1), map each target field to a column letter in CmbCol(k),
// delete unwanted rows, and start the window's own run with Menu_Run.
//
// A file that cannot be read gets a clear message and leaves the grid as it
// was; nothing is ever written by reading.

#include <QDialog>
#include <QVector>

class Grid;
class QAction;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
struct ImportOutcome;
struct App;

class ImportForm : public QDialog {
    Q_OBJECT
public:
    struct Kind {
        bool txtIsText = false;        // ".txt" is read as text too (line import)
        QString textSheetItem;         // sheet-box item of a text source
        bool backupMenu = true;
        QString runCaption;            // "&S.保存" / "&S.写入单据"
        QString openTitle;
        QString filter;
        QString countPrefix;           // "共有：" / "共有 "
    };

    ImportForm(App& app, const Kind& kind, QWidget* parent);

    // Reads a source as the file button does after the dialog (for callers and tests).
    void openSource(const QString& path);
    // Reads the sheet named in TxtTAB.
    void readSheet();
    // The column of mapping row k ("" = not mapped).
    QString mappingText(int k) const;
    QStringList mappingTexts() const;
    QStringList mappingCaptions() const;
    // True while a source is loaded (the grid's first cell holds "A").
    bool loaded() const;
    // Empties every cell of Gd after a successful run.
    void clearGrid();

    QLineEdit* TxtFile;
    QPushButton* CmdOpen;
    QComboBox* TxtTAB;
    QPushButton* Cmdrst;
    QFrame* Frm;
    Grid* Gd;
    QMenuBar* Menu;
    QAction* Menu_back = nullptr;
    QAction* Menu_del;
    QAction* Menu_Run;
    QAction* Menu_help;
    QAction* Menu_R;
    QVector<QComboBox*> CmbCol;  // by mapping row
    QVector<QLabel*> Lab;        // by label index (not always the mapping row)

protected:
    // Adds mapping row k with label index `labelIndex` at grid position (row, col) of the panel.
    QComboBox* addMappingRow(int k, int labelIndex, const QString& caption, int gridRow, int gridCol);
    QGridLayout* mappingLayout() const { return m_mapping; }
    // Hint and progress texts: panel 4 of the main window unless overridden.
    virtual void showHint(const QString& text);
    virtual void showProgress(const QString& text);
    // The window's own run behind Menu_Run.
    virtual void run() = 0;
    void done(int r) override;
    virtual QString closeQuestion() const;
    // Shared steps of the goods and unit runs: only operator "001" may save;
    // a mapping letter must name a column; the outcome is shown and a
    // success empties the grid. Each returns false when the run stops.
    bool topAdministratorOnly();
    bool mappingNamesColumns();
    bool showOutcome(const ImportOutcome& out);

    App& app;

private:
    void chooseFile();
    bool isTextSource(const QString& path) const;
    void readText(const QString& path);
    void fillMappingLists();
    void showCounts();
    void deleteRow();
    void help();
    Kind m_kind;
    QVector<QLabel*> m_rowLabel;  // label beside each mapping row
    QGridLayout* m_mapping;
};
