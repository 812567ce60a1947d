#pragma once
// The product structure (table Bom): which parts, and how many of each, one
// unit of a product uses. The goods window shows it in its structure grid;
// the lines live only in that grid until the goods is saved, when
// SaveStructure replaces the stored lines inside the save's transaction.
// Loading and copying never write.

#include "core/Kinds.h"

#include <QString>
#include <QVector>
#include <optional>

class Database;

struct StructureLine {
    QString part;       // Bom.F1
    QString nameSpec;   // part name and specification ("" for a part missing from TA4)
    QString shownName;  // name, a blank, specification, as documents show it ("" when missing)
    bool known = true;  // the part is still in TA4
    QString unit;       // part unit
    double stock = 0;   // part stock quantity TA4.F8
    double usage = 0;   // Bom.F6, per unit of the product
    double price = 0;   // part price at the basis
    QString remark;     // Bom.F8
    qint64 back = 0;    // row colours kept with the line (0 = default)
    qint64 fore = 0;
    double amount() const { return usage * price; }
};

// The stored lines of a product, ordered by part code, priced at the basis.
// A part missing from TA4 comes with stock 0 and no name or price.
QVector<StructureLine> LoadStructure(const Database& db, const QString& product, PriceBasis basis);

// How many products the parts in stock make: per line its stock divided by
// its usage (the stock itself for usage 0), rounded half to even, negative
// as 0; the smallest over all lines; 0 for an empty structure.
qint64 AssemblableCount(const QVector<StructureLine>& lines);

// Sum of the line amounts.
double StructureTotal(const QVector<StructureLine>& lines);

// A part as entry puts it on a new line: code, "name/spec", unit, stock,
// usage 1 and its cost price at the price decimals (0 for an operator who
// may not see cost). nullopt when TA4 has no such goods.
std::optional<StructureLine> LookupPart(const Database& db, const QString& code, bool canSeeCost,
                                        const QString& priceFormat);

// True when `part` already has `product` among its own parts (entering it
// would make each a part of the other).
bool IsPartOf(const Database& db, const QString& product, const QString& part);

// Replaces the stored lines of the product by `lines` (empty codes skipped),
// keeping each line's colours. Joins the caller's transaction or opens its
// own. Answers true when at least one line was stored.
bool SaveStructure(Database& db, const QString& product, const QVector<StructureLine>& lines);

// The products (code and name, in code order) whose structure uses `part`.
QVector<QPair<QString, QString>> ProductsUsingPart(const Database& db, const QString& part);
