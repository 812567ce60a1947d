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
    return PostDocument(app.CurrentDatabase, PostingRules::of(app), number, app.OperatorName, {amount, 0}, OutPriceRuleOf(doc.kind));
}
