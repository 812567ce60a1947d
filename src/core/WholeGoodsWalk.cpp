#include "core/WholeGoodsWalk.h"

#include "core/PostingSteps.h"
#include "platform/Database.h"

#include <string>
#include <unordered_map>

using namespace posting;

namespace {

// A code or attribute value as the queries compare it: ASCII letters without regard to case.
void foldCase(std::string& out, QByteArrayView v)
{
    out.assign(v.data(), size_t(v.size()));
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z')
            ch = char(ch - 'A' + 'a');
}

const QString WholeLineUpdateSql =
    QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R6 = ?, R7 = ?, R8 = ?, C6 = ?, "
                   "C7 = ?, C8 = ?, F5 = ?, F6 = ?, F7 = ?, F8 = ?, Z5 = ?, XS6 = ?, XK6 = ? WHERE rowid = ?");

void writeWholeLine(Statement& update, const Line& l)
{
    writeLine(update,
              {l.s6, l.s7, l.s8, l.k6, l.k7, l.k8, l.r6, l.r7, l.r8, l.c6, l.c7, l.c8, l.f5, l.f6, l.f7, l.f8, l.z5,
               l.xs6, l.xk6},
              l.rowid);
}

// One line of a goods' whole history: the running stock of its attribute
// value first (when `stock` holds it), then its cost (when `cost` walks the
// goods). Answers whether the line changed, nullopt for a line without the
// quantity the stock needs; `retotal` says whether its document's stored total
// must follow.
std::optional<bool> wholeStep(Line& l, double* stock, CostWalk* cost, bool& retotal)
{
    bool changed = false;
    if (stock) {
        const std::optional<bool> batchChanged = batchStep(l, *stock);
        if (!batchChanged)
            return std::nullopt;
        changed = *batchChanged;
    }
    const Fig f8 = l.f8;
    if (cost && cost->step(l))
        changed = true;
    retotal = changed && CostedTotals::changesTotal(f8, l);
    return changed;
}

}  // namespace

struct WholeGoodsWalker::Impl {
    Impl(Database& db, const PostingRules& rules)
        : attributeOn(rules.attributeOn),
          cost(rules),
          totals(rules),
          lines(db, QStringLiteral("SELECT %1 FROM TB11 WHERE F1 = ? AND SRT <> '' ORDER BY SRT, rowid")
                        .arg(LineColumns)),
          update(db, WholeLineUpdateSql),
          goods(db, StoreGoodsSql),
          db(db)
    {
    }
    bool attributeOn;
    CostWalk cost;
    CostedTotals totals;
    Statement lines;
    Statement update;
    Statement goods;
    Database& db;
    // Running stock per attribute value, keyed as the queries compare the
    // values (ASCII letters without regard to case).
    std::unordered_map<std::string, double> stock;
};

WholeGoodsWalker::WholeGoodsWalker(Database& db, const PostingRules& rules)
    : d(std::make_unique<Impl>(db, rules))
{
}

WholeGoodsWalker::~WholeGoodsWalker() = default;

void WholeGoodsWalker::walk(const QString& goods, const RunningFigures* opening)
{
    d->stock.clear();
    if (opening)
        d->cost.start(opening->qty, opening->price, opening->amount, opening->outPrice);
    Statement& lines = d->lines;
    std::string key;
    lines.bind(0, goods);
    while (lines.step()) {
        Line l = readLine(lines);
        double* stock = nullptr;
        if (d->attributeOn && !l.noBatch) {
            foldCase(key, lines.utf8(ColHpsx));
            stock = &d->stock[key];
        }
        bool retotal = false;
        const std::optional<bool> changed = wholeStep(l, stock, opening ? &d->cost : nullptr, retotal);
        if (!changed)
            throw missingQuantity(lines);
        if (*changed)
            writeWholeLine(d->update, l);
        if (retotal)
            d->totals.add(lines.text(ColDoc));
    }
    lines.reset();
    d->totals.store(d->db);
    if (opening)
        storeGoodsFigures(d->goods, goods, d->cost);
}


namespace {

// The lines of every goods of the list in key order, each goods' running
// figures kept apart. A goods that meets a line without quantity stops there;
// the failure of the first such goods in the list is thrown once the walk is
// done, after the goods before it have stored their figures, as walking the
// goods in turn would have thrown it.
void walkInKeyOrder(Database& db, const PostingRules& rules, const std::vector<GoodsToWalk>& goods,
                    const WholeWalkProgress& progress)
{
    struct Running {
        explicit Running(const PostingRules& rules) : cost(rules) {}
        CostWalk cost;
        bool costed = false;
        std::unordered_map<std::string, double> stock;
        std::optional<DbError> failure;
    };
    std::vector<Running> running;
    running.reserve(goods.size());
    std::unordered_map<std::string, int> listed;
    std::string code;
    for (const GoodsToWalk& g : goods) {
        Running& r = running.emplace_back(rules);
        if (g.opening) {
            r.costed = true;
            r.cost.start(g.opening->qty, g.opening->price, g.opening->amount, g.opening->outPrice);
        }
        foldCase(code, g.code.toUtf8());
        listed.emplace(code, int(running.size() - 1));
    }

    // The walk follows the stored order closely; the rowid tells how far it is.
    const qint64 lastRow = db.scalar(QStringLiteral("SELECT max(rowid) FROM TB11")).toLongLong();
    constexpr int ColGoods = ColSrt + 1;
    Statement lines(db, QStringLiteral("SELECT %1, F1 FROM TB11 WHERE SRT <> '' ORDER BY SRT, rowid").arg(LineColumns));
    Statement update(db, WholeLineUpdateSql);
    CostedTotals totals(rules);
    std::string value;
    quint32 walked = 0;
    while (lines.step()) {
        foldCase(code, lines.utf8(ColGoods));
        const auto found = listed.find(code);
        if (found == listed.end())
            continue;
        Running& g = running[size_t(found->second)];
        if (g.failure)
            continue;
        Line l = readLine(lines);
        double* stock = nullptr;
        if (rules.attributeOn && !l.noBatch) {
            foldCase(value, lines.utf8(ColHpsx));
            stock = &g.stock[value];
        }
        bool retotal = false;
        const std::optional<bool> changed = wholeStep(l, stock, g.costed ? &g.cost : nullptr, retotal);
        if (!changed) {
            g.failure = missingQuantity(lines);
            continue;
        }
        if (*changed)
            writeWholeLine(update, l);
        if (retotal)
            totals.add(lines.text(ColDoc));
        if (progress && (++walked & 0x3fff) == 0 && lastRow > 0)
            progress(found->second, int(std::min<qint64>(qint64(double(l.rowid) / double(lastRow) * double(goods.size())),
                                                          qint64(goods.size()) - 1)));
    }
    lines.reset();
    totals.store(db);
    Statement store(db, StoreGoodsSql);
    for (size_t i = 0; i < goods.size(); ++i) {
        if (running[i].failure)
            throw *running[i].failure;
        if (running[i].costed)
            storeGoodsFigures(store, goods[i].code, running[i].cost);
    }
}

// Whether two goods of the list are one code to the queries.
bool listsACodeTwice(const std::vector<GoodsToWalk>& goods)
{
    std::unordered_map<std::string, int> seen;
    std::string code;
    for (const GoodsToWalk& g : goods) {
        foldCase(code, g.code.toUtf8());
        if (!seen.emplace(code, 0).second)
            return true;
    }
    return false;
}

}  // namespace

bool WholeWalkInKeyOrder(const Database& db, int goods)
{
    const qint64 lines = db.scalar(QStringLiteral("SELECT max(rowid) FROM TB11")).toLongLong();
    const qint64 records = db.scalar(QStringLiteral("SELECT count(*) FROM TA4")).toLongLong();
    const qint64 theirLines = lines * goods / std::max<qint64>(records, std::max(goods, 1));
    if (theirLines * 2 >= lines)
        return true;
    const qint64 file = db.fileSize();
    if (file / 1024 + file / 1024 / 4 + WalkCacheMinimumKiB <= WalkCacheBudgetKiB)
        return false;
    const qint64 pageSize = std::max<qint64>(512, db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong());
    return theirLines >= file / pageSize;
}

void WalkWholeGoods(Database& db, const PostingRules& rules, const std::vector<GoodsToWalk>& goods,
                    WholeWalkOrder order, const WholeWalkProgress& progress)
{
    JoinedTransaction tx(db);
    const bool keyOrder = order == WholeWalkOrder::KeyOrder ||
                          (order == WholeWalkOrder::BySize && WholeWalkInKeyOrder(db, int(goods.size())));
    if (keyOrder && !listsACodeTwice(goods)) {
        walkInKeyOrder(db, rules, goods, progress);
    } else {
        WholeGoodsWalker walker(db, rules);
        for (size_t i = 0; i < goods.size(); ++i) {
            if (progress)
                progress(int(i), int(i));
            walker.walk(goods[i].code, goods[i].opening ? &*goods[i].opening : nullptr);
        }
    }
    tx.commit();
}
