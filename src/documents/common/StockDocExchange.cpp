#include "documents/common/StockDocExchange.h"

#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"
#include "print/PlistPrint.h"

QString StockDocSearchHead()
{
    return QStringLiteral("select TB1.F1,TB1.F2,TA1.F2 AS LB,TB1.F5,TB1.F6,TB1.F9,TB1.F10,TB1.F3,TB1.K9,TB1.K,"
                          "TB1.Kstr,TB1.OD,TB1.BColor,TB1.FColor  from TB1 left join TA1 on TB1.F3=TA1.F1  ");
}

QVector<QueryField> StockDocSearchFields(const QStringList& listHeaders)
{
    const auto header = [&](int c) { return c < listHeaders.size() ? listHeaders[c] : QString(); };
    QVector<QueryField> fields{{header(0), QStringLiteral("TB1.F1"), QueryFieldType::Text},
                               {header(1), QStringLiteral("TB1.F2"), QueryFieldType::Date},
                               {header(7), QStringLiteral("TB1.F3"), QueryFieldType::Text},
                               {header(3), QStringLiteral("TB1.F5"), QueryFieldType::Text},
                               {header(4), QStringLiteral("TB1.F6"), QueryFieldType::Text},
                               {header(5), QStringLiteral("TB1.F9"), QueryFieldType::Number},
                               {header(6), QStringLiteral("TB1.F10"), QueryFieldType::Text}};
    if (!header(11).isEmpty())
        fields.append({header(11), QStringLiteral("TB1.OD"), QueryFieldType::Text});
    return fields;
}

std::optional<QString> StockDocSearchCondition(const QString& answer)
{
    if (answer.isEmpty())
        return std::nullopt;
    QString rest = answer.startsWith(StockDocSearchHead()) ? answer.mid(StockDocSearchHead().size()) : answer;
    rest = rest.trimmed();
    if (rest.startsWith(QLatin1String("Where "), Qt::CaseInsensitive))
        rest = rest.mid(6).trimmed();
    return rest;
}

QString StockDocExportHeader(const QVector<QPair<QString, QString>>& items)
{
    QStringList parts;
    for (const auto& [caption, value] : items)
        parts << caption << value;
    return parts.join(QLatin1Char(','));
}

QString StockDocExportFooter(const QVector<QPair<QString, QString>>& firstLine,
                             const QPair<QString, QString>& secondLine)
{
    return QLatin1Char(',') + StockDocExportHeader(firstLine) + QLatin1Char('\r') +
           StockDocExportHeader({secondLine});
}

bool FixedSupplierSetting(const Database& db)
{
    return SettingValue(db, SetFixedSupplier) == 1;
}

QString SupplierGoodsFilter(const Database& db, bool fixedSupplierOn, const QString& unitText)
{
    if (!fixedSupplierOn)
        return {};
    QString code = unitText.trimmed();
    const int dot = code.indexOf(QLatin1Char('.'));
    if (dot >= 1)
        code = code.left(dot);
    code = code.trimmed().toUpper();
    if (code.isEmpty())
        return {};
    return SqlScalar(db, QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ?"), {code}).isEmpty() ? QString() : code;
}
