#pragma once
// The print engine behind the print window: a layout (Layout.h) with the
// printing window's hand-over, the record set of the staged rows, the page
// renderer and the page counters. It takes the database and a drawing
// surface and shows nothing: what it has to tell the user comes back as
// messages, which the window shows.
//
// What must stay true:
// - Rows are read once per showing (OpenRecords); paging moves the cursor of
//   that snapshot and never queries again.
// - Page p starts at record row (p - 1) x PageRows, so every page command
//   draws the page it names from that page's first record row.
// - The renderer draws the layout only; a designer shows its selection over
//   the drawn page.
//
// Its parts: Layout.cpp (item table), TemplateFile.cpp (template text and
// file), PrintSetStore.cpp (template and printer per layout and computer),
// PageRenderer.cpp (one page), PrintRun.cpp (loading, rows, printing).

#include "platform/Database.h"
#include "print/Layout.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

struct App;
class PageSurface;

// A message for the user: text, MsgBox style and title.
struct PrintMessage {
    QString text;
    int style = 64;  // information icon
    QString title;
};

class PrintEngine : public PrintLayout {
public:
    PrintEngine();

    // ---- hand-over (public members of the print window, in their order)
    QString Pid;
    QString RptFile;
    int MyCmd = 0;
    QString MyPrinterName;
    bool ReSet = false;
    int Sorientation = 1;
    bool ChangePrinterOrientation = true;
    QString PageSumFldStr;
    RecordSet myrs;
    int MainPages = 0;
    int PageRows = 0;
    int CurPage = 0;
    qint64 MainRcd = 0;
    qint64 CurRcd = 0;
    bool AllRcdHide = false;
    bool AllValHide = false;

    // ---- template file
    // Chooses the template and printer of Pid for the operator and this
    // computer, makes sure a usable file exists and reads it. Messages to show
    // come back in `messages`; false when the print window has to close.
    bool LoadTemplate(App& app, QList<PrintMessage>& messages);
    // Reads template text for Pid; false, with no items read, when its PID
    // line names another layout.
    bool ReadTemplateLines(const QStringList& lines);
    // The current layout as template lines, in the writer's order.
    QStringList TemplateLines() const;
    // Writes the layout to RptFile, whole, keeping the previous file as
    // RptFile + "_OLD". "" on success, else what went wrong.
    QString SaveTemplate();
    // Reads a template file's text (GBK, CR LF or LF); false when it cannot be read.
    static bool ReadTemplateFile(const QString& path, QStringList& lines);

    // ---- rows and pages
    // Opens PrnSQL once and counts the record rows; "" or the message to show.
    QString OpenRecords(const Database& db);
    bool recordsOpen() const { return !m_firstLayout; }
    // Counts the pages again from the first record (after a change of the
    // record layout: LabMode, the table, the paper).
    void RestartPaging();
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
    double rowHeight() const { return table.rowHeight; }

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

private:
    void rebuildFieldNumbers();
    void drawField(PageSurface& s, int col, const QString& text, double xOffset);
    void drawRuleRow(PageSurface& s, int row);
    void drawItems(PageSurface& s);

    bool m_firstLayout = true;
    double m_pageW = 0, m_pageH = 0;
    int m_rowOnPage = 0;
    int m_rowsOnPage = 0;
    struct FieldNumbers {
        bool placed = false;  // LEFT is not empty
        double left = 0, top = 0, right = 0, align = 0, fontSize = 0, hide = 0, bold = 0, spac = 0;
    };
    std::array<FieldNumbers, 51> m_fieldNumbers;
    QString m_layoutFault;
};
