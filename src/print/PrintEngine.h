#pragma once
// The print engine behind the print window: the item table with the
// printing window's named values and the layout's items, the template file
// (read, choose, save), the record set of the staged rows, the page renderer
// and the page counters. It takes the database and a drawing surface and
// shows nothing: what it has to tell the user comes back as messages, which
// the window shows.
//
// What must stay true:
// - The item table is the one source of a layout: rendering, saving and the
//   designer read it; the per-column cache FieldProps is rebuilt from it on
//   every page.
// - Rows are read once per showing (OpenRecords); paging moves the cursor of
//   that snapshot and never queries again.
// - Page p starts at record row (p - 1) x PageRows, so every page command
//   draws the page it names from that page's first record row.
// - A template file is only ever replaced whole: saving writes a new file and
//   swaps it in, keeping the previous one as "<name>_OLD".

#include "platform/Database.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct App;
class PageSurface;

// One row of the item table: owner (a kind word or a name), key ("VALUE" or
// a property key) and value.
struct ItemRow {
    QString owner;
    QString key;
    QString value;
    bool operator==(const ItemRow&) const = default;
};

// A message for the user: text, MsgBox style and title.
struct PrintMessage {
    QString text;
    int style = 64;  // information icon
    QString title;
};

class PrintEngine {
public:
    PrintEngine();

    // ---- hand-over (public members of the print window, in their order)
    QString Pid;
    QString RptFile;
    QString PrnSQL;
    int MyCmd = 0;
    QString MyPrinterName;
    QString PaperName = QStringLiteral("A4");
    double PaperW = 210;
    double PaperH = 297;
    bool ReSet = false;
    int Porientation = 1;
    int Sorientation = 1;
    bool ChangePrinterOrientation = true;
    QString PageSumFldStr;
    double TopMargin = 0;
    double LeftMargin = 0;
    double DesignWidth = 0;
    RecordSet myrs;
    int MainPages = 0;
    int PageRows = 0;
    int CurPage = 0;
    qint64 MainRcd = 0;
    qint64 CurRcd = 0;
    QString LogopicPath;
    QString LogoPic;
    double LogoLeft = 0;
    double LogoTop = 0;
    bool LogoHide = false;
    bool LogoBG = false;
    int LabMode = 0;
    bool AllLineHide = false;
    bool AllTxtHide = false;
    bool AllRcdHide = false;
    bool AllValHide = false;

    // The item table (named values and layout items).
    std::vector<ItemRow> GdM;

    // Starts the table for a print run: row 0 is "RegName" with the company name.
    void startNamedValues(const QString& companyName);
    // Adds one named value below the others.
    void addNamedValue(const QString& name, const QString& value);

    // ---- item table
    static QString ClearNote(const QString& text);
    static QString GetNote(const QString& text);
    // 0 renames old frame line names; 1 / -1 the row of the top / bottom frame line or -1.
    int SeekDdLine(int which);
    // Appends a field, constant or line property; puts a variable's property under its named value.
    void SetItemProperty(const QString& name, const ItemRow& row);

    // ---- template file
    // Chooses the template and printer of Pid for the operator and this
    // computer, makes sure a usable file exists and reads it. Messages to show
    // come back in `messages`; false when the print window has to close.
    bool LoadTemplate(App& app, QList<PrintMessage>& messages);
    // Reads template text (header pass, then item pass); false, with no items
    // read, when its PID line names another layout.
    bool ReadTemplateLines(const QStringList& lines);
    // The current layout as template lines, in the writer's order.
    QStringList TemplateLines() const;
    // Writes the layout to RptFile: a new file swapped in, the previous kept
    // as RptFile + "_OLD". "" on success, else what went wrong.
    QString SaveTemplate();
    // Reads a template file's text (GBK, CR LF or LF); false when it cannot be read.
    static bool ReadTemplateFile(const QString& path, QStringList& lines);

    // ---- rows and pages
    // Opens PrnSQL once and counts the record rows; "" or the message to show.
    QString OpenRecords(const Database& db);
    bool recordsOpen() const { return !m_firstLayout; }
    // Page size after orientation, in millimetres.
    double pageWidth() const { return m_pageW; }
    double pageHeight() const { return m_pageH; }
    // Fixes the page size from the paper and orientation.
    void SetUpPage();
    // Gives a surface the page geometry and the layout's coordinates.
    void PrepareSurface(PageSurface& surface) const;
    // Draws page CurPage from the record set's current record. Throws DbError
    // when a computed column names a column that the rows lack.
    void RenderPage(PageSurface& surface);
    // Puts the cursor on the first record of page CurPage.
    void PositionOnPage();
    // A fault of the layout found while drawing ("" none): a record table
    // that holds no row, or a row height of 0.
    const QString& layoutFault() const { return m_layoutFault; }
    int rowsOnPage() const { return m_rowsOnPage; }
    double rowHeight() const { return m_rowHeight; }
    double tableBottom() const { return m_tableBottom; }

    // Prints pages first..last (0, 0: all) on `out`, walking the record set
    // from its first record; the pages outside the range are drawn on
    // `scratch` only. False with a message when nothing could be printed.
    bool PrintPages(int first, int last, PageSurface& out, PageSurface& scratch, QString& message);

    // Every row of the print as PrnSQL returns it, read by a query of its own
    // (the preview's cursor stays where it is): column names into `columns`,
    // the values as text (null as "") into `cells`, row after row. "" or the
    // message to show ("没有数据可导出!" when there is no row).
    QString ExportRows(const Database& db, int& columns, std::vector<QString>& cells) const;

    // ---- texts
    QString ColumnText(int col) const;
    static QString FieldDecFormat(const QString& text, const QString& decSlot);
    static QString ItemDecFormat(const QString& text, bool hasDec, int dec);
    QString EvalVariable(QString& name);

    // Number formats of the account set, for computed price and amount columns.
    QString PriceFormat = QStringLiteral("#0.00");
    QString AmountFormat = QStringLiteral("#0.00");

    // Status bar texts (printer, paper, page).
    QString PaperStatusText() const;
    QString PageStatusText() const;

    // The logo picture (LogopicPath + LogoPic); null when none is loaded.
    QImage logoPicture;
    // Loads the logo picture; answers the name, "" when it cannot be loaded.
    QString LoadLogoPIC(const QString& fileName);

    // Selection state of the designer; empty outside edit mode.
    QString SelKind;
    QString SelName;
    double SelLeft = -1000, SelTop = -1000, SelRight = 0, SelBottom = 0;
    bool SelWholeRow = false;
    void ClearSelection();

    // FieldProps slots.
    enum Slot { SLeft, STop, SRight, SAlign, SFontSize, SFontName, SHide, SHeight, SPageSum, SFontBold, SDec, SSpac };
    const std::array<std::array<QString, 12>, 51>& fieldProps() const { return m_fieldProps; }

private:
    void readHeader(const QStringList& lines, bool& pidMismatch);
    void readItems(const QStringList& lines);
    void readFieldProps();
    // Puts one record-table value (TABTOP ... RCDLINERIGHT) into its member.
    void setTableGeometry(const QString& key, double v);
    void drawField(PageSurface& s, int col, const QString& text, double xOffset);
    void drawRuleRow(PageSurface& s, int row);
    void drawItems(PageSurface& s);

    bool m_firstLayout = true;
    double m_pageW = 0, m_pageH = 0;
    int m_rowOnPage = 0;
    int m_rowsOnPage = 0;
    std::array<std::array<QString, 12>, 51> m_fieldProps;
    struct FieldNumbers {
        bool placed = false;  // LEFT is not empty
        double left = 0, top = 0, right = 0, align = 0, fontSize = 0, hide = 0, bold = 0, spac = 0;
    };
    std::array<FieldNumbers, 51> m_fieldNumbers;
    double m_tabTop = 0, m_tabBtm = 0, m_rowHeight = 0, m_rcdTop = 0, m_rcdLineTop = 0, m_rcdLineLeft = 0,
           m_rcdLineRight = 0;
    double m_tableBottom = 0;
    int m_rcdLineH = 1;
    double m_templateVersion = 0;
    int m_unnamedLines = 0;
    QString m_layoutFault;
    QString m_printerFromTemplate;
};
