#pragma once
// What every walk of posted lines shares: the figures of a line as a walk
// reads and writes them, the running stock of an attribute value, the running
// moving-average cost of a goods, and the documents valued at cost whose
// totals follow a walk. Posting (core/Posting.cpp) and the whole-history
// walks (core/WholeGoodsWalk.cpp) use them; nothing outside core does.

#include "core/Kinds.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "platform/Database.h"

#include <QSet>
#include <QString>
#include <array>
#include <initializer_list>
#include <optional>

namespace posting {

struct Fig {
    double v = 0;
    bool empty = true;
    Fig() = default;
    Fig(double x) : v(x), empty(false) {}
};

inline double numberOf(Fig f)
{
    return f.empty ? 0.0 : f.v;
}

// A stored figure that is empty, or another number, must be written.
inline bool differs(Fig stored, double value)
{
    return stored.empty || stored.v != value;
}

// Two stored or computed figures are the same (an empty one only as another empty one).
inline bool same(Fig a, Fig b)
{
    if (a.empty || b.empty)
        return a.empty && b.empty;
    return a.v == b.v;
}

// Keeps "-0" out of the books.
inline double plain(double x)
{
    return x + 0.0;
}

// A walk joins the caller's transaction, which rolls back as a whole when the
// walk fails; alone it opens its own. A savepoint per walk would copy every
// page it touches once more and doubles the cost of a full walk.
class JoinedTransaction {
public:
    explicit JoinedTransaction(Database& db)
    {
        if (!db.inTransaction())
            m_own.emplace(db);
    }
    void commit()
    {
        if (m_own)
            m_own->commit();
    }

private:
    std::optional<Transaction> m_own;
};

// One posted line as the walks read it. Every walk selects these columns in
// this order, so one reader serves them all.
struct Line {
    qint64 rowid = 0;
    DocKind kind = DocKind(0);  // LB
    bool noBatch = false;  // HPSX is NULL: no attribute walk reaches the line
    Fig v1, s6, s7, s8, k6, k7, k8, r6, r7, r8, c6, c7, c8, f5, f6, f7, f8, z5, xs6, xk6;
};

inline const QString LineColumns = QStringLiteral(
    "rowid, LB, HPSX IS NULL, V1, S6, S7, S8, K6, K7, K8, R6, R7, R8, C6, C7, C8, F5, F6, F7, F8, Z5, XS6, XK6, "
    "F0, Oid, HPSX, SRT");
enum LineColumn { ColDoc = 23, ColOid = 24, ColHpsx = 25, ColSrt = 26 };

// The figures of a line in the order LineColumns selects them, from V1 on.
constexpr int LineFigureCount = 20;
inline std::array<Fig*, LineFigureCount> figuresOf(Line& l)
{
    return {&l.v1, &l.s6, &l.s7, &l.s8, &l.k6, &l.k7, &l.k8, &l.r6, &l.r7, &l.r8,
            &l.c6, &l.c7, &l.c8, &l.f5, &l.f6, &l.f7, &l.f8, &l.z5, &l.xs6, &l.xk6};
}

Fig figAt(const Statement& st, int col);
Line readLine(const Statement& st);
// Binds the figures in order, then the rowid, and runs the update.
void writeLine(Statement& update, std::initializer_list<Fig> figs, qint64 rowid);
// The refusal of a line without the quantity the stock needs.
DbError missingQuantity(const QString& doc, const QString& lineNo);
DbError missingQuantity(const Statement& st);
// The running stock of a goods and attribute value at one line: `s` enters
// as the stock before the line and leaves as the stock after it. The line
// ends with XS6/XK6 equal to those and its in/out quantities following F6,
// whatever it held before; so the result depends only on the lines, not on
// how often they were walked. Answers whether the line changed; nullopt for
// a line without the quantity the stock needs.
std::optional<bool> batchStep(Line& l, double& s);

// The running stock and moving-average cost of one goods, line by line in
// key order.
class CostWalk {
public:
    // carryOutPrice: whether a restart inside a document carries the out price of
    // the line before (the kinds whose audit passes 0 start from 0 instead).
    CostWalk(const PostingRules& rules, bool carryOutPrice = true)
        : m_carryOutPrice(carryOutPrice), m_amountDecimals(PatternDecimals(rules.amountFormat)),
          m_priceDecimals(PatternDecimals(rules.priceFormat))
    {
    }

    // Takes the figures before the first line.
    void start(double qty, double price, double amount, double outPrice)
    {
        this->qty = qty;
        this->amount = A(amount);
        outPrice = P(outPrice);
        this->price = qty != 0 ? this->amount / qty : price;
        this->price = P(this->price);
        carried = outPrice;
        startOutPrice = outPrice;
        previousC6 = 0;
        previousC7 = 0;
    }

    // Restarts the figures as a walk starting at the current line would: the
    // out price is that of the line before.
    void restart()
    {
        amount = A(amount);
        carried = P(m_carryOutPrice && previousC6 != 0 ? previousC7 : 0);
        if (qty != 0)
            price = amount / qty;
        price = P(price);
    }

    // Values one line: its running columns before and after it, and the cost
    // columns that follow from the running price. Answers whether it changed.
    bool step(Line& l)
    {
        const DocKind kind = l.kind;
        if (kind != DocKind::Inbound && kind != DocKind::SupplierReturn && kind != DocKind::Outbound &&
            kind != DocKind::StockReturn && kind != DocKind::Stocktaking) {
            // No posted line carries another kind; such a line keeps its figures.
            previousC6 = numberOf(l.c6);
            previousC7 = numberOf(l.c7);
            return false;
        }
        const double r = numberOf(l.r6);
        double c = numberOf(l.c6);
        double minusR = -r;
        double afterIn = ExactDifference(qty, minusR);
        const double q = ExactDifference(afterIn, c);

        double a = 0;
        double p = price;
        double out = 0;
        double in = 0;
        Fig r7 = l.r7, r8 = l.r8, c7 = l.c7, c8 = l.c8, f7 = l.f7, f8 = l.f8;
        if (kind == DocKind::Inbound || kind == DocKind::SupplierReturn) {
            a = A(amount) + A(numberOf(l.r8));
            p = q != 0 ? P(a / q) : price;
            carried = 0;
        } else if (kind == DocKind::Stocktaking && r > 0) {
            in = r * price;
            a = A(amount) + A(in);
            p = q != 0 ? P(a / q) : price;
        } else if (q != 0) {
            if (carried == 0)
                carried = price;
            out = A(c * carried);
            a = amount - out;
            p = P(a / q);
        } else {
            carried = price;
            out = amount;
            a = 0;
            p = price;
        }
        if (kind == DocKind::Outbound || kind == DocKind::StockReturn) {
            c7 = carried;
            c8 = plain(out);
            if (!l.v1.empty && l.v1.v == 0) {
                f7 = carried;
                f8 = plain(-out);
            }
        } else if (kind == DocKind::Stocktaking) {
            r7 = price;
            r8 = plain(in);
            c7 = carried;
            c8 = plain(out);
            f7 = r > 0 ? price : carried;
            f8 = plain(r > 0 ? in : -out);
        }

        const double s6 = qty, s7 = price, s8 = amount;
        a = plain(a);
        const bool changed = differs(l.s6, s6) || differs(l.s7, s7) || differs(l.s8, s8) || differs(l.k6, q) ||
                             differs(l.k7, p) || differs(l.k8, a) || !same(r7, l.r7) || !same(r8, l.r8) ||
                             !same(c7, l.c7) || !same(c8, l.c8) || !same(f7, l.f7) || !same(f8, l.f8);
        previousC6 = numberOf(l.c6);
        previousC7 = numberOf(c7);
        l.s6 = s6;
        l.s7 = s7;
        l.s8 = s8;
        l.k6 = q;
        l.k7 = p;
        l.k8 = a;
        l.r7 = r7;
        l.r8 = r8;
        l.c7 = c7;
        l.c8 = c8;
        l.f7 = f7;
        l.f8 = f8;
        qty = q;
        price = p;
        amount = a;
        return changed;
    }

    double qty = 0;
    double price = 0;
    double amount = 0;
    double startOutPrice = 0;

private:
    double A(double x) const { return RoundToDecimals(x, m_amountDecimals); }
    double P(double x) const { return RoundToDecimals(x, m_priceDecimals); }

    bool m_carryOutPrice;
    int m_amountDecimals;
    int m_priceDecimals;
    double carried = 0;
    double previousC6 = 0;
    double previousC7 = 0;
};


// Stores a goods' final figures in TA4 and answers them as "qty&amount".
QString storeGoodsFigures(Statement& store, const QString& goods, const CostWalk& walk);
inline const QString StoreGoodsSql = QStringLiteral("UPDATE TA4 SET F7 = ?, F8 = ?, Fje = ? WHERE F1 = ?");

// Sets a cost-valued document's stored total TB1.F9 from its line amounts
// (RetotalCostedDocument), with its two statements prepared once for many documents.
class CostedDocumentTotaler {
public:
    CostedDocumentTotaler(Database& db, const QString& amountFormat);
    void retotal(const QString& number);

private:
    QString m_amountFormat;
    Statement m_lines;
    Statement m_store;
};

// The documents valued at cost (department issues and returns, TB11.V1 = 0) whose line
// amounts a walk changed: their stored totals follow once the walk of the goods is done.
class CostedTotals {
public:
    explicit CostedTotals(const PostingRules& rules) : m_amountFormat(rules.amountFormat) {}

    // Whether a step that left `after` changed the amount (F8 before: `f8`) of a cost-valued line.
    static bool changesTotal(Fig f8, const Line& after)
    {
        return (after.kind == DocKind::Outbound || after.kind == DocKind::StockReturn) && !after.v1.empty &&
               after.v1.v == 0 && !same(f8, after.f8);
    }
    void add(const QString& doc) { m_docs.insert(doc); }
    void note(const Line& before, const Line& after, const Statement& lines)
    {
        if (changesTotal(before.f8, after))
            add(lines.text(ColDoc));
    }
    // Retotals the documents noted, in number order (on a large book, near the
    // order their lines are stored in), and forgets them.
    void store(Database& db);

private:
    QString m_amountFormat;
    QSet<QString> m_docs;
};

}  // namespace posting
