#include "core/DocNumbers.h"

#include "core/App.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxSerial = 9999;

// The key range holding every text that begins with `stem`: the stem always
// ends in a digit of the month, so raising that character closes the range.
// Searched this way, the index on the number column is used (LIKE would scan).
QVariantList rangeOf(const QString& stem)
{
    QString upper = stem;
    upper[upper.size() - 1] = QChar(upper.at(upper.size() - 1).unicode() + 1);
    return {stem, upper};
}

// Reservations count on the day they were made: DTTM is "yyyy-MM-dd HH:mm:ss".
QVariantList today()
{
    const QDate d = QDate::currentDate();
    return {SqlDate(d), SqlDate(d.addDays(1))};
}

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Replaces the operator's own and stale reservations of the number by a new
// one. The caller has made sure no other operator holds it today.
void writeReservation(Database& db, const QString& number, int editState, const QString& operatorName)
{
    db.execute(QStringLiteral("delete from DanNo where DanF1=? and (ifnull(Other,'')=? "
                              "or not (ifnull(DTTM,'')>=? and ifnull(DTTM,'')<?))"),
               QVariantList{number, operatorName} + today());
    db.execute(QStringLiteral("insert into DanNo (DanF1,Flg,Other,DTTM) values (?,?,?,?)"),
               {number, editState, operatorName, nowText()});
}

bool heldByAnotherToday(const Database& db, const QString& number, const QString& operatorName)
{
    return db
        .scalarRow(QStringLiteral("select 1 from DanNo where DanF1=? and DTTM>=? and DTTM<? "
                                  "and ifnull(Other,'')<>? limit 1"),
                   QVariantList{number} + today() + QVariantList{operatorName})
        .has_value();
}

}  // namespace

QString NextDocNumber(const Database& db, const QString& prefix, const QString& table, const QDate& date)
{
    const QString stem = prefix + QString::number(date.year()).right(2)
                         + QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
    const QString dayText = QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
    const int length = int(stem.size()) + 6;

    // Every number of the month with this stem, highest first.
    const RecordSet month = db.query(
        QStringLiteral("select F1 from %1 where F1>=? and F1<? and length(F1)=? order by F1 desc").arg(table),
        rangeOf(stem) + QVariantList{length});
    QSet<QString> usedSerials;
    for (int r = 0; r < month.rowCount(); ++r)
        usedSerials.insert(month.text(r, 0).mid(stem.size() + 2, 4));

    // The day stands before the serial, so the highest number is the latest
    // day's highest serial; the search goes on after it.
    int serial = 0;
    if (!month.isEmpty()) {
        const double lead = std::floor(LeadingNumber(month.text(0, 0).right(4)));
        serial = lead > 0 ? int(std::min(lead, double(MaxSerial))) : 0;
    }

    const RecordSet reserved =
        db.query(QStringLiteral("select DanF1 from DanNo where DanF1>=? and DanF1<? and DTTM>=? and DTTM<?"),
                 rangeOf(stem) + today());
    QSet<QString> reservedToday;
    for (int r = 0; r < reserved.rowCount(); ++r)
        reservedToday.insert(reserved.text(r, 0).trimmed().toUpper());

    for (++serial; serial <= MaxSerial; ++serial) {
        const QString serialText = QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
        if (usedSerials.contains(serialText))
            continue;
        const QString candidate = stem + dayText + serialText;
        if (!reservedToday.contains(candidate.toUpper()))
            return candidate;
    }
    return NoFreeDocNumber;
}

QString ReserveNextDocNumber(App& app, const QString& prefix, const QString& table, const QDate& date,
                             int editState)
{
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const QString number = NextDocNumber(db, prefix, table, date);
    if (number != NoFreeDocNumber)
        writeReservation(db, number, editState, app.OperatorName);
    tx.commit();
    return number;
}

bool IsDocNumberFree(const Database& db, QString& number)
{
    number = number.trimmed();
    try {
        return !db.scalarRow(QStringLiteral("select 1 from DanNo where DanF1=? and DTTM>=? and DTTM<? limit 1"),
                             QVariantList{number} + today())
                    .has_value();
    } catch (...) {
        return true;
    }
}

bool IsDocNumberFree(const Database& db, const QString& number)
{
    QString copy = number;
    return IsDocNumberFree(db, copy);
}

bool ReserveNumber(App& app, QString& number, int editState)
{
    number = number.trimmed();
    if (number.isEmpty())
        return false;
    try {
        Database& db = app.CurrentDatabase;
        Transaction tx(db);
        if (heldByAnotherToday(db, number, app.OperatorName))
            return false;
        writeReservation(db, number, editState, app.OperatorName);
        tx.commit();
        return true;
    } catch (...) {
        return false;
    }
}

bool ReserveNumber(App& app, const QString& number, int editState)
{
    QString copy = number;
    return ReserveNumber(app, copy, editState);
}

void ReleaseNumber(App& app, const QString& number)
{
    try {
        app.CurrentDatabase.execute(QStringLiteral("delete from DanNo where DanF1=? and ifnull(Other,'')=?"),
                                    {number.trimmed(), app.OperatorName});
    } catch (...) {
    }
}
