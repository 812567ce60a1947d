#include "DocumentBench.h"

#include "core/App.h"
#include "core/Kinds.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

int RunDocumentBench(int argc, char** argv, const char* name, int defaultLines,
                     const std::function<void(App&, const DocumentBench&)>& job)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTemporaryDir dir;
    DocumentBench bench;
    bench.name = name;
    bench.book = dir.filePath(QStringLiteral("book.vxs"));
    BookSpec spec;
    spec.goods = 5000;
    spec.lines = defaultLines;
    bench.spec = BookSpecFromArguments(argc, argv, spec);
    bench.spec.linesPerDocument = 10;
    bench.runs = RunsFromArguments(argc, argv);
    try {
        App app;
        OpenDocumentBenchBook(app, bench.book, bench.spec);
        job(app, bench);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s: %s %s\n", name, e.what(), qPrintable(e.technical()));
        return 1;
    }
    return 0;
}

void Require(const QString& refused, const char* what)
{
    if (!refused.isEmpty())
        throw DbError(-1, QStringLiteral("%1: %2").arg(QString::fromUtf8(what), refused));
}

void ReopenCold(Database& db)
{
    const QString path = db.path();
    const QString password = db.password();
    db.close();
    db.open(path, password);
}

double BestOf(int runs, const std::function<void()>& job)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        job();
        best = std::min(best, Seconds(t));
    }
    return best;
}

QString BenchCustomer(Database& db)
{
    const QString customer =
        db.scalar(QStringLiteral("SELECT F1 FROM TA1 WHERE LB = ? ORDER BY F1 LIMIT 1"), {code(UnitKind::Customer)})
            .toString();
    if (!customer.isEmpty())
        return customer;
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES ('KH001', '客户', ?, 0)"),
               {code(UnitKind::Customer)});
    return QStringLiteral("KH001");
}

StockDoc BenchDocument(const BookSpec& spec, const QString& number, const QString& unit, const QDate& date,
                       quint32 seed, int count, bool drawQty, const std::function<bool(const StockDocLine&)>& accept)
{
    QRandomGenerator rng(seed);
    StockDoc doc;
    doc.head.number = number;
    doc.head.date = date;
    doc.head.unitCode = unit;
    QSet<QString> taken;
    while (doc.lines.size() < count) {
        StockDocLine l;
        l.goods = BookGoodsCode(int(rng.bounded(spec.goods)));
        l.attr = BookAttributeValue(int(rng.bounded(spec.attributeValues)));
        l.qty = drawQty ? 1 + rng.bounded(20) : 1;
        l.price = 1 + rng.bounded(5000) / 100.0;
        l.amount = l.qty * l.price;
        if (taken.contains(l.goods) || (accept && !accept(l)))
            continue;
        taken.insert(l.goods);
        doc.lines << l;
    }
    return doc;
}

void JobTimes::keep(double seconds, bool isCold)
{
    double& best = isCold ? cold : warm;
    best = std::min(best, seconds);
}

JobTimes& JobTimes::operator+=(const JobTimes& other)
{
    cold += other.cold;
    warm += other.warm;
    return *this;
}

AuditTimes& AuditTimes::operator+=(const AuditTimes& other)
{
    audit += other.audit;
    unaudit += other.unaudit;
    leastAudit += other.leastAudit;
    leastUnaudit += other.leastUnaudit;
    lines += other.lines;
    differing += other.differing;
    figures += other.figures;
    return *this;
}

void PrintBeside(const char* label, const JobTimes& job, const JobTimes& least)
{
    std::printf("%s cold %.3f s = %.2f x least work (%.3f s), warm %.3f s = %.2f x (%.3f s)\n", label, job.cold,
                job.cold / least.cold, least.cold, job.warm, job.warm / least.warm, least.warm);
}

namespace {

// The figures an audit of `number` left: see TimeAudits.
std::vector<double> postedFigures(Database& db, const QString& number)
{
    std::vector<double> figures;
    const QString key = db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = ?"), {number}).toString();
    Statement lines(db, QStringLiteral("SELECT S6, S7, S8, K6, K7, K8 FROM TB11 WHERE F1 IN (SELECT F1 FROM TB11 "
                                       "WHERE F0 = ?) AND SRT >= ? ORDER BY rowid"));
    lines.bindAll({number, key});
    while (lines.step())
        for (int c = 0; c < 6; ++c)
            figures.push_back(lines.real(c));
    Statement goods(db, QStringLiteral("SELECT F7, F8, Fje FROM TA4 WHERE F1 IN (SELECT F1 FROM TB11 WHERE F0 = ?) "
                                       "ORDER BY F1"));
    goods.bindAll({number});
    while (goods.step())
        for (int c = 0; c < 3; ++c)
            figures.push_back(goods.real(c));
    return figures;
}

}  // namespace

void PrintFiguresCheck(const AuditTimes& times)
{
    std::printf("    the least work left %d of %d figures otherwise than the audit\n", times.differing, times.figures);
}

AuditTimes TimeAudits(Database& db, const QString& number, const std::function<void()>& audit,
                      const std::function<void()>& unaudit, const std::optional<QDate>& stockDate, bool attributeOn,
                      int runs)
{
    AuditTimes times;
    QElapsedTimer t;
    for (int run = 0; run < 2 * runs; ++run) {
        const bool cold = run % 2 == 0;
        auto timed = [&](JobTimes& into, const std::function<void()>& job) {
            if (cold)
                ReopenCold(db);
            t.start();
            job();
            into.keep(Seconds(t), cold);
        };
        int lines = 0;
        timed(times.audit, audit);
        std::vector<double> audited;
        if (run == 0)
            audited = postedFigures(db, number);
        timed(times.unaudit, unaudit);
        timed(times.leastAudit, [&] {
            LeastWorkAudit(db, number, QStringLiteral("系统管理员"), stockDate, attributeOn, &lines);
        });
        if (run == 0) {
            const std::vector<double> least = postedFigures(db, number);
            times.figures = int(audited.size());
            times.differing = int(std::max(audited.size(), least.size()) - std::min(audited.size(), least.size()));
            for (size_t i = 0; i < std::min(audited.size(), least.size()); ++i)
                // Equal to 15 significant digits, as the program stores the goods' figures.
                times.differing +=
                    std::fabs(audited[i] - least[i]) > 1e-12 * std::max(1.0, std::fabs(audited[i])) ? 1 : 0;
        }
        timed(times.leastUnaudit, [&] {
            int ignored = 0;
            LeastWorkUnaudit(db, number, attributeOn, &ignored);
        });
        times.lines = lines;
    }
    return times;
}
