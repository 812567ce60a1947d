// Times the document statistics on a generated book of four years: each
// member's list of a year (and the gross profit over every year) beside the
// least work for it: one plain statement reading the same lines in the same
// order, the same cells made from them, on the same file with the same cache
// policy, in the same run. The cells of both sides are compared.
//
//   bench_statistics [lines [goods]]   default 100 000 lines, 2 000 goods;
//                                       1000000 for the large book

#include "BookGenerator.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "reports/DocStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using Cells = std::vector<QStringList>;

Cells flat(const StatTable& t)
{
    Cells c = t.rows;
    c.push_back(t.totals);
    return c;
}

Cells program(Database& db, const StatFilter& f)
{
    return flat(StatCells(f.member, ListStatLines(db, f).lines, StatView()));
}

// The lines of the kinds and the period, read plainly and signed in memory.
Cells least(Database& db, const StatFilter& f)
{
    SizeWalkCache(db);
    const bool pair = f.member != StatMember::Lst && f.member != StatMember::C3;
    const int kind = f.member == StatMember::C3 ? code(DocKind::Stocktaking) : code(f.kind);
    Statement st(db, QStringLiteral(
        "SELECT d.F1, d.F2, d.OD, d.F3, u.F2, d.F10, l.F1, g.F2, g.F5, g.F3, c.F2, g.F4, l.F9, l.HPSX, l.SRT, d.LB,"
        " l.F6, l.F7, l.F8, l.C7, l.C8, l.Z5, l.F5, l.BColor, l.FColor"
        " FROM TB11 l JOIN TB1 d ON d.F1 = l.F0 LEFT JOIN TA1 u ON u.F1 = d.F3"
        " LEFT JOIN TA4 g ON g.F1 = l.F1 LEFT JOIN TA3 c ON c.F1 = g.F3"
        " WHERE l.SRT >= ? AND l.SRT < ? AND d.LB BETWEEN ? AND ? %1")
                         .arg(f.member == StatMember::C3 ? QStringLiteral("ORDER BY l.SRT, l.rowid")
                                                        : QStringLiteral("ORDER BY d.SN, d.F1, l.Oid, l.rowid")));
    st.bindAll({PostingKeyPrefix(f.from), PostingKeyPrefix(f.to.addDays(1)), kind, pair ? kind + 1 : kind});
    const double s = StatSignOf(f.member, f.kind);
    std::vector<StatLine> lines;
    while (st.step()) {
        StatLine l;
        QString* texts[] = {&l.docNo, &l.date, &l.orderNo, &l.unitCode, &l.unitName, &l.docNote, &l.goods, &l.name,
                            &l.spec, &l.categoryCode, &l.categoryName, &l.measure, &l.remark, &l.attribute, &l.key};
        for (int i = 0; i < 15; ++i)
            *texts[i] = st.text(i);
        l.kind = int(st.int64(15));
        const bool cost = f.member == StatMember::CBLst || f.member == StatMember::MLLst;
        l.qty = f.member == StatMember::C3 ? st.real(16) : s * st.real(16);
        l.price = cost ? st.real(19) : st.real(17);
        l.amount = f.member == StatMember::C3 ? st.real(18)
                   : f.member == StatMember::CBLst ? st.real(20)
                   : f.member == StatMember::MLLst ? -s * st.real(20) : s * st.real(18);
        l.salePrice = st.real(17);
        l.saleAmount = s * st.real(18);
        l.book = st.real(21);
        l.counted = st.real(22);
        l.backColor = st.int64(23);
        l.textColor = st.int64(24);
        lines.push_back(std::move(l));
    }
    return flat(StatCells(f.member, lines, StatView()));
}

struct Timing {
    double seconds = 0;
    Cells cells;
};

Timing timed(const QString& book, const std::function<Cells(Database&)>& job)
{
    Database db;
    db.open(book);
    QElapsedTimer w;
    w.start();
    Timing t;
    t.cells = job(db);
    t.seconds = Seconds(w);
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BookSpec defaults;
    defaults.lines = 100000;
    defaults.goods = 2000;
    BookSpec spec = BookSpecFromArguments(argc, argv, defaults);
    spec.firstDate = QDate(2020, 1, 1);
    spec.days = 365 * 4;
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.vxs"));
    try {
        const BookInfo info = GenerateBook(templatePath, book, spec, true);
        std::printf("book: %d goods, %d posted lines in %d documents over 4 years (%.0f MB)\n", spec.goods,
                    info.lines, info.documents, double(QFile(book).size()) / 1e6);
        auto filter = [](StatMember m, DocKind k, bool allYears) {
            StatFilter f;
            f.member = m;
            f.kind = k;
            f.from = allYears ? QDate(2000, 1, 1) : QDate(2022, 1, 1);
            f.to = allYears ? QDate(2099, 12, 31) : QDate(2022, 12, 31);
            return f;
        };
        struct Job {
            const char* name;
            StatFilter filter;
        };
        const Job jobs[] = {
            {"receipts of a year", filter(StatMember::Lst, DocKind::Inbound, false)},
            {"issues of a year", filter(StatMember::Lst, DocKind::Outbound, false)},
            {"shipping statement of a year", filter(StatMember::DZLst, DocKind::Outbound, false)},
            {"outbound cost of a year", filter(StatMember::CBLst, DocKind::Outbound, false)},
            {"gross profit of a year", filter(StatMember::MLLst, DocKind::Outbound, false)},
            {"gross profit of every year", filter(StatMember::MLLst, DocKind::Outbound, true)},
            {"stocktaking of a year", filter(StatMember::C3, DocKind::Stocktaking, false)},
        };
        std::printf("%-32s %8s %8s %6s %8s  %s\n", "job (seconds, cold)", "program", "least", "ratio", "rows",
                    "cells");
        for (const Job& j : jobs) {
            const Timing p = timed(book, [&](Database& db) { return program(db, j.filter); });
            const Timing l = timed(book, [&](Database& db) { return least(db, j.filter); });
            std::printf("%-32s %8.3f %8.3f %6.2f %8zu  %s\n", j.name, p.seconds, l.seconds,
                        p.seconds / std::max(l.seconds, 1e-6), p.cells.size(),
                        p.cells == l.cells ? "same" : "DIFFERENT");
        }
        std::printf("(ratio = program / least work; both on a fresh connection)\n");
    } catch (const DbError& e) {
        std::fprintf(stderr, "database error: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
