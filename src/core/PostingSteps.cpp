#include "core/PostingSteps.h"

#include "core/SqlText.h"

#include <cmath>

namespace posting {

Fig figAt(const Statement& st, int col)
{
    return st.isNull(col) ? Fig() : Fig(st.real(col));
}

Line readLine(const Statement& st)
{
    Line l;
    l.rowid = st.int64(0);
    l.kind = DocKind(st.int64(1));
    l.noBatch = st.int64(2) != 0;
    const std::array<Fig*, LineFigureCount> figs = figuresOf(l);
    for (int i = 0; i < LineFigureCount; ++i)
        *figs[size_t(i)] = figAt(st, 3 + i);
    return l;
}

void writeLine(Statement& update, std::initializer_list<Fig> figs, qint64 rowid)
{
    int i = 0;
    for (Fig f : figs) {
        if (f.empty)
            update.bindNull(i++);
        else
            update.bindReal(i++, f.v);
    }
    update.bindInt64(i, rowid);
    update.exec();
}

DbError missingQuantity(const QString& doc, const QString& lineNo)
{
    return DbError(-1, QStringLiteral("单据 %1 第 %2 行没有数量，无法计算库存！").arg(doc, lineNo));
}

DbError missingQuantity(const Statement& st)
{
    return missingQuantity(st.text(ColDoc), st.text(ColOid));
}

std::optional<bool> batchStep(Line& l, double& s)
{
    bool changed = false;
    if (differs(l.xs6, s)) {
        l.xs6 = s;
        changed = true;
    }
    const bool receipt = l.kind == DocKind::Inbound || l.kind == DocKind::SupplierReturn;
    const bool issue = l.kind == DocKind::Outbound || l.kind == DocKind::StockReturn;
    if (receipt || issue) {
        if (l.f6.empty)
            return std::nullopt;
        const double qty = l.f6.v;
        if (receipt && differs(l.r6, qty)) {
            l.r6 = qty;
            l.r8 = l.f8;
            changed = true;
        } else if (issue && differs(l.c6, plain(-qty))) {
            l.c6 = plain(-qty);
            changed = true;
        }
        if (changed || differs(l.xk6, s + qty)) {
            l.xk6 = s + qty;
            changed = true;
        }
        s += qty;
    } else if (l.kind == DocKind::Stocktaking) {
        if (l.f5.empty)
            return std::nullopt;
        const double counted = std::fabs(l.f5.v);
        const double difference = counted - s;
        const double in = difference > 0 ? difference : 0.0;
        const double out = difference > 0 ? 0.0 : plain(s - counted);
        if (differs(l.z5, s)) {
            l.z5 = s;
            changed = true;
        }
        if (changed || differs(l.f6, difference) || l.f5.v < 0 || differs(l.r6, in) || differs(l.c6, out) ||
            differs(l.xk6, counted)) {
            l.f5 = counted;
            l.f6 = plain(difference);
            l.r6 = in;
            l.c6 = out;
            l.xk6 = counted;
            changed = true;
        }
        s = counted;
    }
    return changed;
}

QString storeGoodsFigures(Statement& store, const QString& goods, const CostWalk& walk)
{
    const QString qty = GeneralNumberText(walk.qty);
    const QString amount = GeneralNumberText(walk.amount);
    store.bindAll({GeneralNumberText(walk.price).toDouble(), qty.toDouble(), amount.toDouble(), goods});
    store.exec();
    return qty + QLatin1Char('&') + amount;
}

CostedDocumentTotaler::CostedDocumentTotaler(Database& db, const QString& amountFormat)
    : m_amountFormat(amountFormat), m_lines(db, QStringLiteral("SELECT F8 FROM TB11 WHERE F0 = ?")),
      m_store(db, QStringLiteral("UPDATE TB1 SET F9 = ? WHERE F1 = ?"))
{
}

void CostedDocumentTotaler::retotal(const QString& number)
{
    double total = 0;
    m_lines.bind(0, number);
    while (m_lines.step())
        total += RoundToPattern(-m_lines.column(0).toDouble(), m_amountFormat);
    m_lines.reset();
    m_store.bindAll({RoundToPattern(total, m_amountFormat), number});
    m_store.exec();
}

void CostedTotals::store(Database& db)
{
    if (m_docs.isEmpty())
        return;
    QStringList docs(m_docs.cbegin(), m_docs.cend());
    docs.sort();
    CostedDocumentTotaler totaler(db, m_amountFormat);
    for (const QString& doc : std::as_const(docs))
        totaler.retotal(doc);
    m_docs.clear();
}

}  // namespace posting
