#pragma once
// The layout of one print: the template's page settings and the item table.
//
// The item table is the one source of a layout: rendering, saving and the
// designer read it. An item is its VALUE row (kind word or a named value's
// name, "VALUE", value) followed by its property rows (owner, key, value) up
// to the next VALUE row; a variable's properties stand under its named value.
// The per-column cache of record-set field properties is rebuilt from the
// table on every page.

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// One row of the item table: owner (a kind word or a name), key ("VALUE" or
// a property key) and value.
struct ItemRow {
    QString owner;
    QString key;
    QString value;
    bool operator==(const ItemRow&) const = default;
};

// Words of the item table.
namespace LayoutWord {
inline const QString Value = QStringLiteral("VALUE");
inline const QString Field = QStringLiteral("字段");
inline const QString Const = QStringLiteral("常量");
inline const QString Line = QStringLiteral("LINE");
inline const QString TopFrame = QStringLiteral("顶框线");
inline const QString BottomFrame = QStringLiteral("底框线");
}  // namespace LayoutWord

// The number a text begins with (0 when none).
double LayoutNumber(const QString& text);
// The whole part of a text's leading number, rounded down.
qint64 LayoutWholePart(const QString& text);
// Shortest decimal text of a number (210, 5.5, 241.3).
QString ShortNumber(double v);
// True for the property keys an item may carry (LEFT ... SPAC).
bool IsPropertyKey(const QString& key);
// True for the record table keys of record-set field 0 (TABTOP ... RCDLINERIGHT).
bool IsTableKey(const QString& key);

// The record table as the field item 0 places it.
struct TableGeometry {
    double tabTop = 0, tabBtm = 0, rowHeight = 0, rcdTop = 0, rcdLineTop = 0, rcdLineLeft = 0, rcdLineRight = 0;
    // Puts one record-table value (TABTOP ... RCDLINERIGHT) into its member.
    void set(const QString& key, double v);
};

class PrintLayout {
public:
    // ---- page settings (the template's header)
    QString PrnSQL;
    QString PaperName = QStringLiteral("A4");
    double PaperW = 210;
    double PaperH = 297;
    int Porientation = 1;
    double TopMargin = 0;
    double LeftMargin = 0;
    double DesignWidth = 0;
    QString LogopicPath;
    QString LogoPic;
    double LogoLeft = 0;
    double LogoTop = 0;
    bool LogoHide = false;
    bool LogoBG = false;
    int LabMode = 0;
    bool AllLineHide = false;
    bool AllTxtHide = false;
    int RcdLineH = 1;
    double TemplateVersion = 0;
    // The installed printer the template names ("" none).
    QString PrinterFromTemplate;

    // The item table (named values and layout items).
    std::vector<ItemRow> GdM;

    // Starts the table for a print run: row 0 is "RegName" with the company name.
    void startNamedValues(const QString& companyName);
    // Adds one named value below the others.
    void addNamedValue(const QString& name, const QString& value);

    static QString ClearNote(const QString& text);
    static QString GetNote(const QString& text);
    // 0 renames old frame line names; 1 / -1 the row of the top / bottom frame line or -1.
    int SeekDdLine(int which);
    // Appends a field, constant or line property; puts a variable's property under its named value.
    void SetItemProperty(const QString& name, const ItemRow& row);

    // The logo picture (LogopicPath + LogoPic); null when none is loaded.
    QImage logoPicture;
    // Loads the logo picture; answers the name, "" when it cannot be loaded.
    QString LoadLogoPIC(const QString& fileName);

    // FieldProps slots.
    enum Slot { SLeft, STop, SRight, SAlign, SFontSize, SFontName, SHide, SHeight, SPageSum, SFontBold, SDec, SSpac };
    using FieldProps = std::array<std::array<QString, 12>, 51>;
    const FieldProps& fieldProps() const { return m_fieldProps; }
    FieldProps& fieldProps() { return m_fieldProps; }
    // FieldProps slot of a property key, -1 for none.
    static int SlotOf(const QString& key);

    // The record table, from the template or the last rebuild.
    TableGeometry table;

    // Rebuilds the record table and the field cache from the item table;
    // pageHeight resolves a table bottom counted from the page bottom. Throws
    // DbError for a field number outside 0-50.
    void readFieldProps(double pageHeight);
    // The table bottom as a place on the page, from the last rebuild.
    double tableBottom() const { return m_tableBottom; }

    // Row of item `row`'s next VALUE row (or the table's end).
    int itemEnd(int row) const;

protected:
    FieldProps m_fieldProps;
    double m_tableBottom = 0;
};
