#include "LedgerScript.h"

#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "support/Builders.h"

#include <QHash>
#include <QRegularExpression>

QString LedgerDoc(int i)
{
    return QStringLiteral("L%1").arg(i + 1, 3, 10, QLatin1Char('0'));
}

QStringList BuildLedger(Database& db, const QStringList& moves)
{
    QStringList keys;
    QHash<QDate, int> serials;
    for (int i = 0; i < moves.size(); ++i) {
        QStringList t = moves[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const bool posted = t.first() != QLatin1String("-");
        if (!posted)
            t.removeFirst();
        DocSpec doc;
        doc.number = LedgerDoc(i);
        LineSpec line;
        QStringList plain;
        for (const QString& token : t) {
            if (token.startsWith(QLatin1Char('@')))
                line.attr = token.mid(1);
            else if (token.startsWith(QLatin1String("d=")))
                doc.date = QDate::fromString(token.mid(2), QStringLiteral("yyyy-MM-dd"));
            else
                plain << token;
        }
        const QChar move = plain.value(0).at(0);
        line.goods = plain.value(1);
        const double x = plain.value(2).toDouble();
        const double y = plain.value(3).toDouble();
        line.qty = x;
        line.price = y;
        switch (move.unicode()) {
        case 'I': doc.kind = DocKind::Inbound; doc.unit = QStringLiteral("A001"); break;
        case 'S': doc.kind = DocKind::SupplierReturn; doc.unit = QStringLiteral("A001"); break;
        case 'O': doc.kind = DocKind::Outbound; doc.unit = QStringLiteral("B001"); break;
        case 'D': doc.kind = DocKind::Outbound; doc.unit = QStringLiteral("P001"); doc.department = true; break;
        case 'B': doc.kind = DocKind::StockReturn; doc.unit = QStringLiteral("B001"); break;
        case 'E': doc.kind = DocKind::StockReturn; doc.unit = QStringLiteral("P001"); doc.department = true; break;
        case 'T':
            doc.kind = DocKind::Stocktaking;
            line.counted = x;
            line.book = y;
            line.qty = 0;
            line.price = 0;
            break;
        default: qFatal("unknown ledger move %s", qPrintable(moves[i]));
        }
        doc.lines = {line};
        if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?"), {line.goods}))
            AddGoods(db, {line.goods, line.goods});
        AddDocument(db, doc);
        if (!posted) {
            keys << QString();
            continue;
        }
        const QString key = PostingKeyPrefix(doc.date) + QStringLiteral("%1").arg(++serials[doc.date], 4, 10, QLatin1Char('0'));
        db.execute(QStringLiteral("UPDATE TB1 SET SRT = ?, F6 = '系统管理员' WHERE F1 = ?"), {key, doc.number});
        db.execute(QStringLiteral("UPDATE TB11 SET SRT = ?, SH = '系统管理员' WHERE F0 = ?"), {LineKey(key, 1), doc.number});
        keys << LineKey(key, 1);
    }
    return keys;
}

QString FigureText(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("null") : GeneralNumberText(value.toDouble());
}

QString CheckLine(const Database& db, const QString& lineKeyOrDoc, const QString& checks)
{
    QStringList wrong;
    for (const QString& check : checks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString column = check.section(QLatin1Char('='), 0, 0);
        const QString expected = check.section(QLatin1Char('='), 1);
        const QVariant v = db.scalar(QStringLiteral("SELECT %1 FROM TB11 WHERE SRT = ? OR F0 = ?").arg(column),
                                     {lineKeyOrDoc, lineKeyOrDoc});
        const QString actual = FigureText(v);
        if (actual != expected)
            wrong << QStringLiteral("%1=%2 (expected %3)").arg(column, actual, expected);
    }
    return wrong.join(QStringLiteral(", "));
}
