#include "support/PostingReference.h"

#include "platform/Database.h"
#include "platform/SqlFunctions.h"

QString PostLineByLine(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                       const BalanceMove& move, OutPriceRule outPrice)
{
    Transaction tx(db);
    const RecordSet head = db.query(QStringLiteral("SELECT F2, F3 FROM TB1 WHERE F1 = ?"), {docNo});
    const QString key = NextPostingKey(db, *ParseSqlDate(head.text(0, 0)));
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = ?, F6 = ?, H8 = 'x', YF = ?, FK = ? WHERE F1 = ?"),
               {key, auditor, move.yf, move.fk, docNo});
    db.execute(QStringLiteral("UPDATE TB11 SET SH = ? WHERE F0 = ?"), {auditor, docNo});
    RepostUnitBalance(db, key, head.text(0, 1));
    const RecordSet lines =
        db.query(QStringLiteral("SELECT rowid, Oid, F1, HPSX FROM TB11 WHERE F0 = ? ORDER BY Oid"), {docNo});
    for (int r = 0; r < lines.rowCount(); ++r) {
        const QString goods = lines.text(r, 2);
        const QString lineKey = LineKey(key, lines.value(r, 1).toInt());
        RunningFigures f = RunningFiguresBefore(db, goods, lineKey);
        if (outPrice == OutPriceRule::Zero)
            f.outPrice = 0;
        db.execute(QStringLiteral("UPDATE TB11 SET SRT = ? WHERE rowid = ?"), {lineKey, lines.value(r, 0)});
        if (rules.attributeOn)
            RepostBatch(db, goods, lines.text(r, 3), lineKey);
        RecostGoods(db, rules, goods, f.qty, f.price, f.amount, lineKey, f.outPrice);
    }
    tx.commit();
    return key;
}

void UnpostLineByLine(Database& db, const PostingRules& rules, const QString& docNo, OutPriceRule outPrice,
                      bool keepLineAuditor)
{
    Transaction tx(db);
    const RecordSet head = db.query(QStringLiteral("SELECT SRT, F3 FROM TB1 WHERE F1 = ?"), {docNo});
    const QString key = head.text(0, 0);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = '', F6 = '', H8 = 'x' WHERE F1 = ?"), {docNo});
    db.execute(keepLineAuditor ? QStringLiteral("UPDATE TB11 SET SRT = '' WHERE F0 = ?")
                               : QStringLiteral("UPDATE TB11 SET SH = '', SRT = '' WHERE F0 = ?"),
               {docNo});
    RepostUnitBalance(db, key, head.text(0, 1));
    const RecordSet lines =
        db.query(QStringLiteral("SELECT Oid, F1, HPSX FROM TB11 WHERE F0 = ? ORDER BY Oid"), {docNo});
    for (int r = 0; r < lines.rowCount(); ++r) {
        const QString goods = lines.text(r, 1);
        const QString lineKey = LineKey(key, lines.value(r, 0).toInt());
        RunningFigures f = RunningFiguresBefore(db, goods, lineKey);
        if (outPrice == OutPriceRule::Zero)
            f.outPrice = 0;
        if (rules.attributeOn)
            RepostBatch(db, goods, lines.text(r, 2), lineKey);
        RecostGoods(db, rules, goods, f.qty, f.price, f.amount, key, f.outPrice);
    }
    tx.commit();
}

QStringList PostingSnapshot(const Database& db)
{
    QStringList out;
    for (const QString& table : {QStringLiteral("TB11"), QStringLiteral("TB1"), QStringLiteral("TA4")}) {
        const RecordSet rs = db.query(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        for (int r = 0; r < rs.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rs.columnCount(); ++c) {
                if (rs.columnNames()[c].compare(QLatin1String("H8"), Qt::CaseInsensitive) == 0)
                    continue;
                const QVariant v = rs.value(r, c);
                cells << rs.columnNames()[c] + QLatin1Char('=') +
                             (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17) : v.toString());
            }
            out << table + QLatin1Char(' ') + cells.join(QLatin1Char(' '));
        }
    }
    return out;
}
