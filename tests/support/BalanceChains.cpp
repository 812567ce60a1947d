#include "support/BalanceChains.h"

#include "platform/Database.h"

#include <QtGlobal>

QString ChainFault(const Database& db)
{
    const RecordSet units = db.query(QStringLiteral("SELECT F1, NK FROM TA1 ORDER BY F1"));
    for (int u = 0; u < units.rowCount(); ++u) {
        const QString unit = units.text(u, 0);
        double balance = units.number(u, 1);
        const RecordSet rows = db.query(QStringLiteral("SELECT F1, QC, YF, FK, QM FROM TB1 WHERE F3 = ? AND SRT <> '' "
                                                       "ORDER BY SRT, rowid"),
                                        {unit});
        for (int r = 0; r < rows.rowCount(); ++r) {
            const double qc = rows.number(r, 1);
            const double qm = rows.number(r, 4);
            const double expected = balance + rows.number(r, 2) - rows.number(r, 3);
            if (qAbs(qc - balance) > 1e-6 || qAbs(qm - expected) > 1e-6)
                return QStringLiteral("%1 %2: QC %3 QM %4, walk %5 -> %6")
                    .arg(unit, rows.text(r, 0))
                    .arg(qc)
                    .arg(qm)
                    .arg(balance)
                    .arg(expected);
            balance = expected;
        }
    }
    return {};
}
