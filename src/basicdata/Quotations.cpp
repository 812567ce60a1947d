#include "basicdata/Quotations.h"

#include "forms/RecordList.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"

QVector<QuoteLine> LoadQuotes(const Database& db, const QString& customer, const QString& priceFormat)
{
    const RecordSet rs = db.query(
        QStringLiteral("SELECT KhPrice.F1, ifnull(TA4.F2, '') || ifnull(TA4.F5, ''), TA4.F4, KhPrice.F7, "
                       "KhPrice.F8, KhPrice.F9, KhPrice.BColor, KhPrice.FColor FROM KhPrice "
                       "LEFT JOIN TA4 ON KhPrice.F1 = TA4.F1 WHERE KhPrice.F0 = ? ORDER BY KhPrice.F1"),
        {customer});
    QVector<QuoteLine> lines;
    lines.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) {
        QuoteLine l;
        l.goods = rs.text(r, 0);
        l.nameSpec = rs.text(r, 1);
        l.unit = rs.text(r, 2);
        l.price = FormatNumber(rs.value(r, 3).toDouble(), priceFormat);
        l.remark = rs.text(r, 4);
        l.date = rs.text(r, 5);
        l.back = rs.value(r, 6).toLongLong();
        l.fore = rs.value(r, 7).toLongLong();
        lines.push_back(l);
    }
    return lines;
}

std::optional<QuoteLine> NewQuoteLine(const Database& db, const QString& goods, const QString& today)
{
    const RecordSet rs = db.query(
        QStringLiteral("SELECT F1, ifnull(F2, '') || '/' || ifnull(F5, ''), F4, F71 FROM TA4 WHERE F1 = ? LIMIT 1"),
        {goods});
    if (rs.isEmpty())
        return std::nullopt;
    QuoteLine l;
    l.goods = rs.text(0, 0);
    l.nameSpec = rs.text(0, 1);
    l.unit = rs.text(0, 2);
    l.price = rs.value(0, 3).isNull() ? QString() : NumText(rs.value(0, 3).toDouble());
    l.date = today;
    return l;
}

void ReplaceQuotes(Database& db, const QString& customer, const QVector<QuoteLine>& lines)
{
    db.execute(QStringLiteral("DELETE FROM KhPrice WHERE F0 = ?"), {customer});
    Statement insert(db, QStringLiteral("INSERT INTO KhPrice (F0, F1, F7, F8, F9, BColor, FColor) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const QuoteLine& l : lines) {
        if (l.goods.trimmed().isEmpty())
            continue;
        insert.bindAll({customer, l.goods.trimmed(), BoxValue(l.price), l.remark.left(50), l.date,
                        l.back, l.fore});
        insert.exec();
    }
}

int FindQuoteLine(const QVector<QuoteLine>& lines, int column, const QString& text, bool contains)
{
    const QString wanted = text.toUpper();
    for (int i = 0; i < lines.size(); ++i) {
        const QuoteLine& l = lines[i];
        const QString cell = (column == 0 ? l.goods : column == 1 ? l.nameSpec : l.remark).toUpper();
        if (contains ? cell.contains(wanted) : cell == wanted)
            return i;
    }
    return -1;
}

QString QuoteDateText()
{
    return SqlDate(QDate::currentDate());
}

void KeepLastPrice(Database& db, const QString& customer, const QString& goods, double price)
{
    const QString remark = QStringLiteral("最近交易价");
    const std::optional<QVariant> stored =
        db.scalarRow(QStringLiteral("SELECT F7 FROM KhPrice WHERE F0 = ? AND F1 = ? LIMIT 1"), {customer, goods});
    if (!stored) {
        db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7, F8, F9) VALUES (?, ?, ?, ?, ?)"),
                   {customer, goods, price, remark, QuoteDateText()});
    } else if (stored->isNull() || stored->toDouble() != price) {
        db.execute(QStringLiteral("UPDATE KhPrice SET F7 = ?, F8 = ?, F9 = ? WHERE F0 = ? AND F1 = ?"),
                   {price, remark, QuoteDateText(), customer, goods});
    }
}
