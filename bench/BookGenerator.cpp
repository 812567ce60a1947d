#include "BookGenerator.h"

#include "core/App.h"
#include "core/Kinds.h"
#include "core/Posting.h"
#include "core/WholeGoodsWalk.h"
#include "core/Rounding.h"
#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <string>
#include <unordered_map>
#include <unordered_set>

QString BookGoodsCode(int i)
{
    return QStringLiteral("G%1").arg(i + 1, 5, 10, QLatin1Char('0'));
}

QString BookAttributeValue(int i)
{
    return QStringLiteral("B%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

namespace {

double cents(double x)
{
    return std::round(x * 100) / 100;
}

struct Kind {
    DocKind lb;
    bool department;
    const char* unit;
};

// The mix of a warehouse's documents: mostly receipts and issues.
const Kind& drawKind(QRandomGenerator& rng)
{
    static const Kind kinds[] = {{DocKind::Inbound, false, "A001"},        {DocKind::Outbound, false, "B001"},
                                 {DocKind::Outbound, true, "P001"},        {DocKind::SupplierReturn, false, "A001"},
                                 {DocKind::StockReturn, false, "B001"},    {DocKind::StockReturn, true, "P001"},
                                 {DocKind::Stocktaking, false, "0000"}};
    static const int weights[] = {45, 25, 12, 5, 4, 3, 6};
    int pick = int(rng.bounded(100));
    for (int i = 0; i < 7; ++i) {
        if (pick < weights[i])
            return kinds[i];
        pick -= weights[i];
    }
    return kinds[0];
}

}  // namespace

BookInfo GenerateBook(const QString& templatePath, const QString& path, const BookSpec& spec, bool walk)
{
    QFile::remove(path);
    if (!QFile::copy(templatePath, path))
        throw DbError(-1, QStringLiteral("无法复制模板：%1").arg(templatePath));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    Database db;
    db.open(path);
    db.setCacheSizeKiB(WalkCacheBudgetKiB);
    QRandomGenerator rng(spec.seed);
    BookInfo info;
    {
        Transaction tx(db);
        db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES ('A001', '默认供应商', ?, 1000), "
                                  "('B001', '默认客户', ?, 500), ('P001', '部门一', ?, 0)"),
                   {code(UnitKind::Supplier), code(UnitKind::Customer), code(UnitKind::Department)});
        {
            Statement goods(db, QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, V3, V4, V5, F11, Fcplj) "
                                               "VALUES (?, ?, '000', '个', ?, ?, ?, '0', 0)"));
            for (int g = 0; g < spec.goods; ++g) {
                const double qty = rng.bounded(50);
                const double price = cents(1 + rng.bounded(10000) / 100.0);
                goods.bindAll({BookGoodsCode(g), QStringLiteral("货品%1").arg(g + 1), qty, price, cents(qty * price)});
                goods.exec();
            }
        }

        Statement header(db, QStringLiteral(
            "INSERT INTO TB1 (F1, F2, F3, F5, F6, F9, LB, S2, SN, SRT, H8, YF, FK, V1) "
            "VALUES (?, ?, ?, '系统管理员', '系统管理员', ?, ?, ?, 0, ?, ?, ?, 0, ?)"));
        Statement line(db, QStringLiteral(
            "INSERT INTO TB11 (F0, Oid, F1, HPSX, F5, Z5, F6, F7, F8, YJ, ZK, V1, SN, LB, SRT, SH, "
            "R146, R147, R148, C236, C237, C238, R6, R7, R8, C6) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, 0, ?, ?, '系统管理员', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const int documents = (spec.lines + spec.linesPerDocument - 1) / spec.linesPerDocument;
        int serial = 0;
        QDate lastDate;
        for (int d = 0; d < documents; ++d) {
            const QDate date = spec.firstDate.addDays(qint64(d) * spec.days / documents);
            serial = date == lastDate ? serial + 1 : 1;
            lastDate = date;
            const QString key = PostingKeyPrefix(date) + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
            const QString number = QStringLiteral("GB%1").arg(d + 1, 7, 10, QLatin1Char('0'));
            const Kind& kind = drawKind(rng);
            const int v1 = (kind.department || kind.lb == DocKind::Stocktaking) ? 0 : -1;
            const int count = std::min(spec.linesPerDocument, spec.lines - info.lines);
            double total = 0;
            for (int i = 1; i <= count; ++i) {
                const QString goods = BookGoodsCode(int(rng.bounded(spec.goods)));
                const QString attr = BookAttributeValue(int(rng.bounded(spec.attributeValues)));
                const double q = 1 + rng.bounded(20);
                const double price = cents(1 + rng.bounded(10000) / 100.0);
                double f5 = 0, z5 = 0, f6 = 0, r6 = 0, r8 = 0, c6 = 0;
                double inQ = 0, inA = 0, outQ = 0, outA = 0;
                switch (kind.lb) {
                case DocKind::Inbound: f6 = q; r6 = q; r8 = cents(q * price); inQ = q; inA = r8; break;
                case DocKind::SupplierReturn: f6 = -q; r6 = -q; r8 = -cents(q * price); outQ = q; outA = -r8; break;
                case DocKind::Outbound: f6 = -q; c6 = q; outQ = q; outA = cents(q * price); break;
                case DocKind::StockReturn: f6 = q; c6 = -q; inQ = q; inA = cents(q * price); break;
                default:
                    f5 = rng.bounded(40);
                    z5 = rng.bounded(40);
                    f6 = f5 - z5;
                    if (f6 > 0) {
                        r6 = f6;
                        inQ = f6;
                    } else {
                        c6 = -f6;
                        outQ = -f6;
                    }
                    break;
                }
                const double f8 = kind.lb == DocKind::Stocktaking ? 0 : (f6 > 0 ? 1 : -1) * cents(q * price);
                total += f8;
                line.bindAll({number, i, goods, attr, f5, z5, f6, price, f8, price, v1, code(kind.lb),
                              LineKey(key, i), inQ, price, inA, outQ, price, outA, r6, price, r8, c6});
                line.exec();
                ++info.lines;
            }
            header.bindAll({number, date.toString(QStringLiteral("yyyy-MM-dd")), QString::fromLatin1(kind.unit),
                            cents(total), code(kind.lb), kind.lb == DocKind::Stocktaking ? QStringLiteral("库存盘点") : QStringLiteral("单据"),
                            key, date.toString(QStringLiteral("yyyy-MM-dd 08:00:00")), kind.lb == DocKind::Stocktaking ? 0.0 : std::abs(cents(total)),
                            kind.lb == DocKind::Outbound ? v1 : 0});
            header.exec();
            ++info.documents;
        }
        tx.commit();
    }
    if (walk) {
        PostingRules rules;
        rules.attributeOn = true;
        WalkWholeBook(db, rules);
    }
    return info;
}

void WalkWholeBook(Database& db, const PostingRules& rules)
{
    SizeWalkCache(db);
    Transaction tx(db);
    const RecordSet goods = db.query(QStringLiteral("SELECT F1, V3, V4, V5 FROM TA4 ORDER BY F1"));
    {
        std::vector<GoodsToWalk> walk;
        for (int r = 0; r < goods.rowCount(); ++r) {
            RunningFigures opening;
            opening.qty = goods.number(r, QStringLiteral("V3"));
            opening.price = goods.number(r, QStringLiteral("V4"));
            opening.amount = goods.number(r, QStringLiteral("V5"));
            walk.push_back({goods.text(r, 0), opening});
        }
        WalkWholeGoods(db, rules, walk);
    }
    const RecordSet units = db.query(QStringLiteral("SELECT F1 FROM TA1 ORDER BY F1"));
    {
        UnitBalanceWalker walker(db);
        for (int r = 0; r < units.rowCount(); ++r)
            walker.walk(QStringLiteral("0"), units.text(r, 0));
    }
    tx.commit();
}

double Seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

QString CopyBook(const QString& source, const QString& target)
{
    QFile::remove(target);
    QFile::copy(source, target);
    QFile copy(target);
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // On disk before any job starts, so that no job's commit waits for the copy.
    if (copy.open(QIODevice::ReadWrite))
        ::fsync(copy.handle());
    return target;
}

void KeepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
}

BookSpec BookSpecFromArguments(int argc, char** argv, BookSpec spec)
{
    if (argc > 1)
        spec.lines = std::max(1, QByteArray(argv[1]).toInt());
    if (argc > 2)
        spec.goods = std::max(1, QByteArray(argv[2]).toInt());
    return spec;
}

int RunsFromArguments(int argc, char** argv)
{
    return argc > 3 ? std::max(1, QByteArray(argv[3]).toInt()) : 2;
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void ResetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double PeakMemoryMiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

namespace {

// A code as the queries compare it: ASCII letters without regard to case.
void fold(std::string& out, QByteArrayView v)
{
    out.assign(v.data(), size_t(v.size()));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
}

// The columns the least-work walk reads, in this order.
enum { LwRowId, LwGoods, LwBatch, LwKind, LwF5, LwF6, LwR6, LwR8, LwC6, LwV1, LwXs6, LwXk6 };

QString leastWorkRead(const QString& where)
{
    return QStringLiteral("SELECT rowid, F1, HPSX, LB, F5, F6, R6, R8, C6, V1, XS6, XK6 FROM TB11 WHERE %1 "
                          "ORDER BY F1, SRT, rowid").arg(where);
}

}  // namespace

QString LeastWorkPlan(Database& db)
{
    const RecordSet rs = db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + leastWorkRead(QStringLiteral("SRT <> ''")));
    QStringList details;
    for (int r = 0; r < rs.rowCount(); ++r)
        details << rs.text(r, rs.columnCount() - 1);
    return details.join(QStringLiteral("; "));
}

namespace {

// Per goods (folded code): quantity, price, amount and the out price carried in.
using Openings = std::unordered_map<std::string, std::array<double, 4>>;

// Amounts and prices of the generated books: two decimals, rounded as the program rounds.
double twoDecimals(double x)
{
    return RoundToDecimals(x, 2);
}

// The walk of the least work over the lines `read` yields in goods-then-key
// order, each goods starting from its entry in `openings` (zeros without
// one): every line's running columns written by one prepared UPDATE by rowid
// and the goods' final figures stored. With `attributeOn` the running stock
// of each attribute value is counted, from `starts` (folded goods, NUL,
// folded value) for the values it holds, leaving the others as stored, or
// from 0 for every value without it; a stocktaking line of a counted value
// takes its difference afresh, every other keeps its difference. The goods
// walked are added to `walked`.
// `read` is a statement or any source of such rows (step, utf8, int64, real,
// reset). With `later` the lines' figures are kept there instead of written.
using ValueStarts = std::unordered_map<std::string, double>;
using LaterWrites = std::vector<std::pair<qint64, std::array<double, 19>>>;
template <class Rows>
void leastWorkWalk(Database& db, Rows& read, const Openings& openings, bool attributeOn, int* lines,
                   std::unordered_set<std::string>* walked = nullptr, const ValueStarts* starts = nullptr,
                   LaterWrites* later = nullptr)
{
    Statement write(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R6 = ?, "
                                       "R7 = ?, R8 = ?, C6 = ?, C7 = ?, C8 = ?, F5 = ?, F6 = ?, F7 = ?, F8 = ?, "
                                       "Z5 = ?, XS6 = ?, XK6 = ? WHERE rowid = ?"));
    Statement store(db, QStringLiteral("UPDATE TA4 SET F7 = ?, F8 = ?, Fje = ? WHERE F1 = ?"));
    std::string goods;
    std::string code;
    std::string batch;
    std::unordered_map<std::string, double> stock;
    double qty = 0, price = 0, amount = 0, carried = 0;
    auto storeGoods = [&] {
        if (goods.empty())
            return;
        store.bindReal(0, price);
        store.bindReal(1, qty);
        store.bindReal(2, amount);
        store.bind(3, QString::fromStdString(goods));
        store.exec();
    };
    while (read.step()) {
        fold(code, read.utf8(LwGoods));
        if (code != goods) {
            storeGoods();
            goods = code;
            if (walked)
                walked->insert(goods);
            stock.clear();
            const auto o = openings.find(goods);
            const std::array<double, 4> f = o == openings.end() ? std::array<double, 4>{} : o->second;
            qty = f[0];
            amount = twoDecimals(f[2]);
            price = twoDecimals(qty != 0 ? amount / qty : f[1]);
            carried = twoDecimals(f[3]);
        }
        const int kind = int(read.int64(LwKind));
        fold(batch, read.utf8(LwBatch));
        double* value = nullptr;  // the running stock of the line's value, when it is counted
        if (attributeOn) {
            auto v = stock.find(batch);
            if (v == stock.end()) {
                double start = 0;
                if (starts) {
                    const auto from = starts->find(goods + '\0' + batch);
                    start = from == starts->end() ? NAN : from->second;
                }
                v = stock.emplace(batch, start).first;
            }
            if (!std::isnan(v->second))
                value = &v->second;
        }
        double f5 = read.real(LwF5), f6 = read.real(LwF6), r6 = read.real(LwR6), r8 = read.real(LwR8);
        double c6 = read.real(LwC6);
        double xs6 = read.real(LwXs6), xk6 = read.real(LwXk6);
        if (value) {
            xs6 = *value;
            if (kind == 7) {
                f5 = std::fabs(f5);
                f6 = f5 - *value;
                r6 = f6 > 0 ? f6 : 0;
                c6 = f6 > 0 ? 0 : -f6;
                *value = f5;
            } else {
                *value += f6;
            }
            xk6 = *value;
        }
        // The moving average: receipts at their amount, a stocktaking surplus at the
        // running price, every other line out at the out price held since the last
        // receipt (the running price when none is held), the whole amount when the
        // stock reaches 0.
        const double s6 = qty, s7 = price, s8 = amount;
        double minusR = -r6;
        double afterIn = ExactDifference(qty, minusR);
        const double q = ExactDifference(afterIn, c6);
        double in = 0, out = 0;
        if (kind == 1 || kind == 2 || (kind == 7 && r6 > 0)) {
            in = kind == 7 ? r6 * price : r8;
            amount = twoDecimals(amount) + twoDecimals(in);
            price = q != 0 ? twoDecimals(amount / q) : price;
            if (kind != 7)
                carried = 0;
        } else if (q != 0) {
            if (carried == 0)
                carried = price;
            out = twoDecimals(c6 * carried);
            amount -= out;
            price = twoDecimals(amount / q);
        } else {
            carried = price;
            out = amount;
            amount = 0;
        }
        qty = q;
        const double fig[] = {s6, s7, s8, qty, price, amount, r6, s7, in, c6, s7, out, f5, f6, s7,
                              kind == 7 ? in - out : f6 * s7, read.real(LwF5) - f6, xs6, xk6};
        if (later) {
            later->emplace_back(read.int64(LwRowId), std::array<double, 19>{});
            std::copy(std::begin(fig), std::end(fig), later->back().second.begin());
        } else {
            for (int i = 0; i < 19; ++i)
                write.bindReal(i, fig[i]);
            write.bindInt64(19, read.int64(LwRowId));
            write.exec();
        }
        ++*lines;
    }
    read.reset();
    storeGoods();
}

// The opening figures of every goods, for the first line of each.
Openings readOpenings(Database& db)
{
    Openings openings;
    Statement goods(db, QStringLiteral("SELECT F1, V3, V4, V5 FROM TA4"));
    std::string code;
    while (goods.step()) {
        fold(code, goods.utf8(0));
        openings[code] = {goods.real(1), goods.real(2), goods.real(3), 0};
    }
    return openings;
}

// The lines of a book held in memory in stored order, read back in
// goods-then-key order as leastWorkWalk reads a statement's rows.
class SortedLines {
public:
    explicit SortedLines(Database& db)
    {
        Statement read(db, QStringLiteral("SELECT rowid, F1, HPSX, LB, F5, F6, R6, R8, C6, V1, XS6, XK6, SRT "
                                          "FROM TB11 NOT INDEXED WHERE SRT <> ''"));
        std::string code;
        while (read.step()) {
            Line l{read.int64(LwRowId), 0, 0, int(read.int64(LwKind)), {}, {}};
            for (int c = LwF5; c <= LwXk6; ++c)
                l.figures[size_t(c - LwF5)] = read.real(c);
            fold(code, read.utf8(LwGoods));
            l.goods = number(m_goodsIds, m_goods, code);
            fold(code, read.utf8(LwBatch));
            l.batch = number(m_batchIds, m_batches, code);
            const QByteArrayView key = read.utf8(12);
            std::copy_n(key.data(), std::min<qsizetype>(key.size(), qsizetype(l.key.size())), l.key.begin());
            m_lines.push_back(l);
        }
        std::vector<int> rank(m_goods.size());
        std::vector<int> byCode(m_goods.size());
        for (size_t g = 0; g < byCode.size(); ++g)
            byCode[g] = int(g);
        std::sort(byCode.begin(), byCode.end(), [&](int a, int b) { return m_goods[size_t(a)] < m_goods[size_t(b)]; });
        for (size_t r = 0; r < byCode.size(); ++r)
            rank[size_t(byCode[r])] = int(r);
        std::sort(m_lines.begin(), m_lines.end(), [&](const Line& x, const Line& y) {
            if (x.goods != y.goods)
                return rank[size_t(x.goods)] < rank[size_t(y.goods)];
            const int c = std::memcmp(x.key.data(), y.key.data(), x.key.size());
            return c != 0 ? c < 0 : x.rowid < y.rowid;
        });
    }
    int size() const { return int(m_lines.size()); }
    bool step() { return ++m_at < m_lines.size(); }
    void reset() { m_at = size_t(-1); }
    QByteArrayView utf8(int c) const
    {
        const std::string& s = c == LwGoods ? m_goods[size_t(line().goods)] : m_batches[size_t(line().batch)];
        return QByteArrayView(s.data(), qsizetype(s.size()));
    }
    qint64 int64(int c) const { return c == LwRowId ? line().rowid : line().kind; }
    double real(int c) const { return line().figures[size_t(c - LwF5)]; }

private:
    struct Line {
        qint64 rowid;
        int goods;
        int batch;
        int kind;
        std::array<double, LwXk6 - LwF5 + 1> figures;
        std::array<char, 24> key;
    };
    static int number(std::unordered_map<std::string, int>& ids, std::vector<std::string>& names,
                      const std::string& name)
    {
        const auto [it, added] = ids.emplace(name, int(names.size()));
        if (added)
            names.push_back(name);
        return it->second;
    }
    const Line& line() const { return m_lines[m_at]; }

    std::vector<Line> m_lines;
    std::vector<std::string> m_goods;
    std::vector<std::string> m_batches;
    std::unordered_map<std::string, int> m_goodsIds;
    std::unordered_map<std::string, int> m_batchIds;
    size_t m_at = size_t(-1);
};

}  // namespace

double LeastWorkGoodsWalk(Database& db, const QString& where, const QVariantList& params, int* lines)
{
    QElapsedTimer t;
    t.start();
    // Joins the caller's transaction when there is one.
    std::optional<Transaction> tx;
    if (!db.inTransaction())
        tx.emplace(db);
    const Openings openings = readOpenings(db);
    Statement read(db, leastWorkRead(where));
    read.bindAll(params);
    leastWorkWalk(db, read, openings, true, lines);
    if (tx)
        tx->commit();
    return Seconds(t);
}

double LeastWorkStoredOrderPass(Database& db, int* lines)
{
    QElapsedTimer t;
    t.start();
    std::optional<Transaction> tx;
    if (!db.inTransaction())
        tx.emplace(db);
    const Openings openings = readOpenings(db);
    SortedLines sorted(db);
    LaterWrites later;
    later.reserve(size_t(sorted.size()));
    leastWorkWalk(db, sorted, openings, true, lines, nullptr, nullptr, &later);
    // Written back in stored order.
    std::sort(later.begin(), later.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Statement write(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R6 = ?, "
                                       "R7 = ?, R8 = ?, C6 = ?, C7 = ?, C8 = ?, F5 = ?, F6 = ?, F7 = ?, F8 = ?, "
                                       "Z5 = ?, XS6 = ?, XK6 = ? WHERE rowid = ?"));
    for (const auto& [rowid, fig] : later) {
        for (int i = 0; i < 19; ++i)
            write.bindReal(i, fig[size_t(i)]);
        write.bindInt64(19, rowid);
        write.exec();
    }
    if (tx)
        tx->commit();
    return Seconds(t);
}

double LeastWorkDocumentPass(Database& db, const QStringList& goods, const QString& key, const QString& unit,
                             const std::optional<QDate>& stockDate, const QVector<QPair<QString, QString>>& values,
                             OutPriceRule outPrice, int* lines)
{
    QElapsedTimer t;
    t.start();
    // Joins the caller's transaction when there is one.
    std::optional<Transaction> tx;
    if (!db.inTransaction())
        tx.emplace(db);
    // The goods in code order, in lists short enough to bind (SQLite binds at most 999 values).
    QStringList sorted = goods;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QVector<QPair<QString, QVariantList>> lists;
    for (int first = 0; first < sorted.size(); first += 900) {
        QString marks;
        QVariantList codes;
        for (const QString& g : sorted.mid(first, 900)) {
            marks += marks.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
            codes << g;
        }
        lists.append({marks, codes});
    }
    if (stockDate) {
        // The stock of every goods and value on the day.
        double sink = 0;
        for (const auto& [marks, codes] : std::as_const(lists)) {
            Statement stock(db, QStringLiteral("SELECT F1, HPSX, TOTAL(F6) FROM TB11 WHERE F1 IN (%1) AND SRT > '' "
                                               "AND SRT < ? GROUP BY F1, HPSX").arg(marks));
            stock.bindAll(codes + QVariantList{PostingKeyPrefix(stockDate->addDays(1))});
            while (stock.step())
                sink += stock.real(2);
        }
        *lines += sink == 0.123 ? 1 : 0;
    }
    // The unit's chain from the key, from the balance before it.
    {
        Statement before(db, QStringLiteral("SELECT QM FROM TB1 WHERE F3 = ? AND SRT <> '' AND SRT < ? "
                                            "ORDER BY SRT DESC, rowid DESC LIMIT 1"));
        before.bindAll({unit, key});
        double balance = before.step() ? before.real(0) : 0.0;
        Statement rows(db, QStringLiteral("SELECT rowid, YF, FK FROM TB1 WHERE F3 = ? AND SRT >= ? "
                                          "ORDER BY SRT, rowid"));
        Statement write(db, QStringLiteral("UPDATE TB1 SET QC = ?, QM = ? WHERE rowid = ?"));
        rows.bindAll({unit, key});
        while (rows.step()) {
            write.bindReal(0, balance);
            balance += rows.real(1) - rows.real(2);
            write.bindReal(1, balance);
            write.bindInt64(2, rows.int64(0));
            write.exec();
        }
    }
    // Each goods' running figures before the key, then all their lines from it.
    Openings openings;
    {
        Statement last(db, QStringLiteral("SELECT K6, K7, K8, C6, C7 FROM TB11 WHERE F1 = ? AND SRT <> '' "
                                          "AND SRT < ? ORDER BY SRT DESC, rowid DESC LIMIT 1"));
        Statement opening(db, QStringLiteral("SELECT V3, V4, V5, 0, 0 FROM TA4 WHERE F1 = ?"));
        const bool carry = outPrice == OutPriceRule::LastOutLine;
        std::string code;
        for (const QString& g : std::as_const(sorted)) {
            fold(code, QByteArrayView(g.toUtf8()));
            last.bindAll({g, key});
            Statement& from = last.step() ? last : opening;
            if (&from == &opening) {
                opening.bindAll({g});
                opening.step();
            }
            openings[code] = {from.real(0), from.real(1), from.real(2),
                              carry && from.real(3) != 0 ? from.real(4) : 0.0};
            last.reset();
            opening.reset();
        }
    }
    // The stock of each counted goods and value before the key.
    ValueStarts starts;
    {
        Statement before(db, QStringLiteral("SELECT total(F6) FROM TB11 WHERE F1 = ? AND HPSX = ? AND SRT <> '' "
                                            "AND SRT < ?"));
        std::string code, value;
        for (const auto& [g, v] : values) {
            before.bindAll({g, v, key});
            before.step();
            fold(code, QByteArrayView(g.toUtf8()));
            fold(value, QByteArrayView(v.toUtf8()));
            starts[code + '\0' + value] = before.real(0);
            before.reset();
        }
    }
    std::unordered_set<std::string> walked;
    for (const auto& [marks, codes] : std::as_const(lists)) {
        Statement read(db, leastWorkRead(QStringLiteral("F1 IN (%1) AND SRT >= ?").arg(marks)));
        read.bindAll(codes + QVariantList{key});
        leastWorkWalk(db, read, openings, !values.isEmpty(), lines, &walked, &starts);
    }
    // A goods without lines from the key still stores its figures before it.
    {
        Statement store(db, QStringLiteral("UPDATE TA4 SET F7 = ?, F8 = ?, Fje = ? WHERE F1 = ?"));
        std::string code;
        for (const QString& g : std::as_const(sorted)) {
            fold(code, QByteArrayView(g.toUtf8()));
            if (walked.count(code))
                continue;
            const std::array<double, 4>& f = openings[code];
            const double amount = twoDecimals(f[2]);
            store.bindReal(0, twoDecimals(f[0] != 0 ? amount / f[0] : f[1]));
            store.bindReal(1, f[0]);
            store.bindReal(2, amount);
            store.bind(3, g);
            store.exec();
        }
    }
    if (tx)
        tx->commit();
    return Seconds(t);
}

namespace {

// What the least audit and unaudit read of a document: its header and the goods of its lines.
struct DocumentHead {
    QDate date;
    QString key;
    QString unit;
    OutPriceRule outPrice = OutPriceRule::Zero;
    QStringList goods;
    QVector<QPair<QString, QString>> values;  // the goods and attribute values, with an attribute kept
};

DocumentHead documentHead(Database& db, const QString& number, bool attributeOn)
{
    Statement head(db, QStringLiteral("SELECT F2, SRT, F3, LB FROM TB1 WHERE F1 = ?"));
    head.bindAll({number});
    if (!head.step())
        throw DbError(-1, QStringLiteral("no document %1").arg(number));
    DocumentHead d;
    d.date = QDate::fromString(head.text(0).left(10), QStringLiteral("yyyy-MM-dd"));
    d.key = head.text(1);
    d.unit = head.text(2);
    d.outPrice = OutPriceRuleOf(DocKind(head.int64(3)));
    Statement goods(db, QStringLiteral("SELECT DISTINCT F1 FROM TB11 WHERE F0 = ?"));
    goods.bindAll({number});
    while (goods.step())
        d.goods << goods.text(0);
    if (attributeOn) {
        Statement values(db, QStringLiteral("SELECT DISTINCT F1, HPSX FROM TB11 WHERE F0 = ?"));
        values.bindAll({number});
        while (values.step())
            d.values.append({values.text(0), values.text(1)});
    }
    return d;
}

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

double LeastWorkAudit(Database& db, const QString& number, const QString& auditor,
                      const std::optional<QDate>& stockDate, bool attributeOn, int* lines)
{
    QElapsedTimer t;
    t.start();
    SizeWalkCache(db);
    Transaction tx(db);
    const DocumentHead d = documentHead(db, number, attributeOn);
    const QString prefix = PostingKeyPrefix(d.date);
    const QString next = PostingKeyPrefix(d.date.addDays(1));
    const QString highest =
        db.scalar(QStringLiteral("SELECT max(k) FROM (SELECT max(SRT) AS k FROM TB11 WHERE SRT >= ? AND SRT < ? "
                                 "UNION ALL SELECT max(SRT) FROM TB1 WHERE SRT >= ? AND SRT < ?)"),
                  {prefix, next, prefix, next})
            .toString();
    const QString key = prefix + QStringLiteral("%1").arg(highest.mid(9, 4).toInt() + 1, 4, 10, QLatin1Char('0'));
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = ?, F6 = ?, H8 = ? WHERE F1 = ?"), {key, auditor, timeStamp(), number});
    {
        Statement read(db, QStringLiteral("SELECT rowid, Oid FROM TB11 WHERE F0 = ?"));
        Statement write(db, QStringLiteral("UPDATE TB11 SET SRT = ?, SH = ? WHERE rowid = ?"));
        read.bindAll({number});
        while (read.step()) {
            write.bindAll({LineKey(key, int(read.int64(1))), auditor, read.int64(0)});
            write.exec();
        }
    }
    LeastWorkDocumentPass(db, d.goods, key, d.unit, stockDate, d.values, d.outPrice, lines);
    tx.commit();
    return Seconds(t);
}

double LeastWorkUnaudit(Database& db, const QString& number, bool attributeOn, int* lines)
{
    QElapsedTimer t;
    t.start();
    SizeWalkCache(db);
    Transaction tx(db);
    const DocumentHead d = documentHead(db, number, attributeOn);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = '', F6 = '', H8 = ? WHERE F1 = ?"), {timeStamp(), number});
    db.execute(QStringLiteral("UPDATE TB11 SET SRT = '', SH = '' WHERE F0 = ?"), {number});
    LeastWorkDocumentPass(db, d.goods, d.key, d.unit, std::nullopt, d.values, d.outPrice, lines);
    tx.commit();
    return Seconds(t);
}

double LeastWorkUnitChains(Database& db, const QString& where, const QVariantList& params, int* rows)
{
    QElapsedTimer t;
    t.start();
    // Joins the caller's transaction when there is one.
    std::optional<Transaction> tx;
    if (!db.inTransaction())
        tx.emplace(db);
    std::unordered_map<std::string, double> openings;
    {
        Statement units(db, QStringLiteral("SELECT F1, NK FROM TA1"));
        std::string code;
        while (units.step()) {
            fold(code, units.utf8(0));
            openings[code] = units.real(1);
        }
    }
    Statement read(db, QStringLiteral("SELECT rowid, F3, YF, FK, QC, QM FROM TB1 WHERE %1 "
                                      "ORDER BY F3, SRT, rowid").arg(where));
    read.bindAll(params);
    Statement write(db, QStringLiteral("UPDATE TB1 SET QC = ?, QM = ? WHERE rowid = ?"));
    std::string unit;
    std::string code;
    double balance = 0;
    while (read.step()) {
        fold(code, read.utf8(1));
        if (code != unit) {
            unit = code;
            const auto o = openings.find(unit);
            balance = o == openings.end() ? 0 : o->second;
        }
        const double qc = balance;
        balance += read.real(2) - read.real(3);
        if (read.real(4) != qc || read.real(5) != balance) {
            write.bindReal(0, qc);
            write.bindReal(1, balance);
            write.bindInt64(2, read.int64(0));
            write.exec();
        }
        ++*rows;
    }
    read.reset();
    if (tx)
        tx->commit();
    return Seconds(t);
}

int RawTextRead(Database& db, const QString& sql, const QVariantList& params, std::vector<QString>& cells)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        db.raise(sqlite3_errcode(db.handle()), sql);
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray value = params[i].toString().toUtf8();
        sqlite3_bind_text(st, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    const int cols = sqlite3_column_count(st);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL:
                cells.emplace_back();
                break;
            case SQLITE_INTEGER:
                cells.push_back(QString::number(sqlite3_column_int64(st, c)));
                break;
            case SQLITE_FLOAT:
                cells.push_back(QString::number(sqlite3_column_double(st, c), 'g', QLocale::FloatingPointShortest));
                break;
            default:
                cells.push_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                                  sqlite3_column_bytes(st, c)));
            }
        }
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

BookInfo OpenDocumentBenchBook(App& app, const QString& book, BookSpec spec)
{
    spec.linesPerDocument = 10;
    QElapsedTimer t;
    t.start();
    const BookInfo info =
        GenerateBook(QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat"), book, spec);
    std::printf("book: %d goods, %d posted lines in %d documents (written in %.1f s)\n", spec.goods, info.lines,
                info.documents, Seconds(t));
    app.CurrentDatabase.open(book);
    app.OperatorCode = QStringLiteral("001");
    app.OperatorName = QStringLiteral("系统管理员");
    app.HpsxName = QStringLiteral("批号");
    return info;
}
