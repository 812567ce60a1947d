#include "AccountsSupport.h"

#include "core/App.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Builders.h"

#include <QTest>

void AddAccountUnits(Database& db)
{
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("S2"), QStringLiteral("供应商二"), UnitKind::Supplier, 0});
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("C2"), QStringLiteral("客户二"), UnitKind::Customer, 0});
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("货品一")});
}

VoucherSaveResult AddVoucher(App& app, DocKind kind, const QString& number, const QDate& date, const QString& unit,
                             double amount)
{
    VoucherInput input{number, date, unit, QString::number(amount), QStringLiteral("经手"), QString()};
    const VoucherSaveResult r = SaveVoucher(app, VoucherSideOf(kind), input, nullptr);
    if (r.status != VoucherSaveStatus::Saved)
        QTest::qFail(qPrintable(QStringLiteral("voucher %1 not saved").arg(number)), __FILE__, __LINE__);
    return r;
}

QString PostStockDocument(App& app, const QString& number, const QDate& date, const QString& unit, double amount)
{
    DocSpec doc;
    doc.number = number;
    doc.date = date;
    doc.unit = unit;
    doc.lines = {{QStringLiteral("G1"), 1, amount}};
    AddDocument(app.CurrentDatabase, doc);
    return PostDocument(app.CurrentDatabase, PostingRules::of(app), number, app.OperatorName, {amount, 0});
}

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
