#include "core/Schema.h"

#include "core/Kinds.h"
#include "core/Permissions.h"
#include "core/SettingsCatalogue.h"
#include "platform/Database.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// Column lists: "name type" pairs; T = text, N = number (REAL), L = whole number.
// Text columns compare without regard to case, as the original engine did.
struct Col {
    const char* name;
    char type;
};

QString columnSql(const Col& c)
{
    const QString n = QString::fromLatin1(c.name);
    switch (c.type) {
    case 'T':
        return QStringLiteral("[%1] TEXT COLLATE NOCASE DEFAULT ''").arg(n);
    case 'D':  // text that may be null (auditor, dates)
        return QStringLiteral("[%1] TEXT COLLATE NOCASE").arg(n);
    case 'L':
        return QStringLiteral("[%1] INTEGER DEFAULT 0").arg(n);
    default:
        return QStringLiteral("[%1] REAL DEFAULT 0").arg(n);
    }
}

void createTable(Database& db, const char* table, std::initializer_list<Col> cols)
{
    QStringList parts;
    for (const Col& c : cols)
        parts << columnSql(c);
    db.execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(QString::fromLatin1(table), parts.join(QStringLiteral(", "))));
}

void insertSetting(Database& db, int id, double setval, const QString& setstr, const QString& shuoming = QString())
{
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr, shuoming) VALUES (?, ?, ?, ?)"),
               {id, setval, setstr.isNull() ? QVariant() : QVariant(setstr),
                shuoming.isNull() ? QVariant() : QVariant(shuoming)});
}

}  // namespace

QString SqliteColumnType(const QString& originalType)
{
    const QString t = originalType.trimmed().toLower();
    if (t.startsWith(QLatin1String("long")) || t.startsWith(QLatin1String("integer")) ||
        t.startsWith(QLatin1String("int")) || t.startsWith(QLatin1String("byte")) ||
        t.startsWith(QLatin1String("counter")) || t.startsWith(QLatin1String("bit")))
        return QStringLiteral("INTEGER");
    if (t.startsWith(QLatin1String("double")) || t.startsWith(QLatin1String("single")) ||
        t.startsWith(QLatin1String("currency")) || t.startsWith(QLatin1String("float")) ||
        t.startsWith(QLatin1String("real")) || t.startsWith(QLatin1String("number")))
        return QStringLiteral("REAL");
    if (t.startsWith(QLatin1String("datetime")) || t.startsWith(QLatin1String("date")))
        return QStringLiteral("TEXT");
    return QStringLiteral("TEXT COLLATE NOCASE");
}

const std::vector<IndexDef>& AccountSetIndexes()
{
    static const std::vector<IndexDef> indexes{
        {"ix_ta1_f1", "TA1", "F1"},
        {"ix_ta3_f1", "TA3", "F1"},
        {"ix_ta4_f1", "TA4", "F1"},
        {"ix_ta4_f3_f1", "TA4", "F3, F1"},
        {"ix_bom_f0", "Bom", "F0"},
        {"ix_tb1_f1", "TB1", "F1"},
        {"ix_tb1_f2", "TB1", "F2"},
        {"ix_tb1_srt", "TB1", "SRT"},
        {"ix_tb1_f3_srt", "TB1", "F3, SRT"},
        {"ix_tb11_f0", "TB11", "F0"},
        {"ix_tb11_srt", "TB11", "SRT"},
        {"ix_tb11_f1_srt", "TB11", "F1, SRT"},
        {"ix_tb11_f1_hpsx_srt", "TB11", "F1, HPSX, SRT"},
        {"ix_sysinfo_id", "sysinfo", "ID"},
        {"ix_khprice", "KhPrice", "F0, F1"},
        {"ix_danno", "DanNo", "DanF1"},
    };
    return indexes;
}

void CreateAccountSetSchema(Database& db)
{
    Transaction tx(db);

    createTable(db, "TA1", {{"F1", 'T'}, {"F2", 'T'}, {"F3", 'T'}, {"F4", 'T'}, {"F5", 'T'}, {"F6", 'T'},
                            {"F7", 'T'}, {"NK", 'N'}, {"LB", 'L'}, {"MT", 'T'}, {"SCSF", 'N'},
                            {"DocDir", 'T'}, {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "TA3", {{"F1", 'T'}, {"F2", 'T'}, {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "TA4", {{"F1", 'T'}, {"F2", 'T'}, {"F3", 'T'}, {"F4", 'T'}, {"F5", 'T'}, {"F6", 'T'},
                            {"F7", 'N'}, {"F71", 'N'}, {"F8", 'N'}, {"Fje", 'N'}, {"F9", 'T'}, {"F11", 'T'},
                            {"V1", 'N'}, {"V2", 'N'}, {"V3", 'N'}, {"V4", 'N'}, {"V5", 'N'}, {"RkF7", 'N'},
                            {"F701", 'N'}, {"HW", 'T'}, {"Gys", 'T'}, {"Fcplj", 'N'},
                            {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "Bom", {{"F0", 'T'}, {"F1", 'T'}, {"F6", 'N'}, {"F8", 'T'}, {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "TB1", {{"F1", 'T'}, {"F2", 'D'}, {"F3", 'T'}, {"F5", 'T'}, {"F6", 'D'}, {"F9", 'N'},
                            {"F10", 'T'}, {"K9", 'N'}, {"K", 'N'}, {"Kstr", 'T'}, {"OD", 'T'}, {"S1", 'T'},
                            {"S2", 'T'}, {"SN", 'N'}, {"LB", 'L'}, {"H8", 'D'}, {"SRT", 'T'}, {"QC", 'N'},
                            {"YF", 'N'}, {"FK", 'N'}, {"QM", 'N'}, {"V1", 'N'}, {"zzcp", 'T'}, {"zzsl", 'N'},
                            {"mcgg", 'T'}, {"F30", 'T'}, {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "TB11", {{"F0", 'T'}, {"Oid", 'L'}, {"F1", 'T'}, {"HPSX", 'T'}, {"F5", 'N'}, {"Z5", 'N'},
                             {"F6", 'N'}, {"F7", 'N'}, {"F8", 'N'}, {"F9", 'T'}, {"YJ", 'N'}, {"ZK", 'N'},
                             {"V1", 'N'}, {"SN", 'N'}, {"LB", 'L'}, {"SRT", 'T'}, {"SH", 'T'},
                             {"R146", 'N'}, {"R147", 'N'}, {"R148", 'N'}, {"C236", 'N'}, {"C237", 'N'},
                             {"C238", 'N'}, {"R6", 'N'}, {"R7", 'N'}, {"R8", 'N'}, {"C6", 'N'}, {"C7", 'N'},
                             {"C8", 'N'}, {"S6", 'N'}, {"S7", 'N'}, {"S8", 'N'}, {"K6", 'N'}, {"K7", 'N'},
                             {"K8", 'N'}, {"XS6", 'N'}, {"XK6", 'N'}, {"Fa", 'T'},
                             {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "KhPrice", {{"F0", 'T'}, {"F1", 'T'}, {"F7", 'N'}, {"F8", 'T'}, {"F9", 'T'},
                                {"BColor", 'L'}, {"FColor", 'L'}});
    createTable(db, "RkPrice", {{"F1", 'T'}, {"F7", 'N'}, {"F9", 'T'}, {"F10", 'T'}});
    createTable(db, "TE1", {{"F1", 'T'}, {"F2", 'T'}, {"F3", 'T'}, {"F61", 'L'}, {"F62", 'L'}, {"F63", 'L'},
                            {"F64", 'L'}, {"F65", 'L'}, {"F66", 'L'}, {"F67", 'L'}, {"F68", 'L'}, {"F75", 'T'},
                            {"pad", 'T'}});
    db.execute(QStringLiteral("CREATE TABLE sysinfo (ID INTEGER, setval REAL, setstr TEXT, shuoming TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE thever (versn TEXT, exename TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE DanNo (DanF1 TEXT COLLATE NOCASE, Flg INTEGER DEFAULT 0, "
                              "Other TEXT, DTTM TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE PrintSet (Pid TEXT COLLATE NOCASE, Puser TEXT COLLATE NOCASE, "
                              "Pcomputer TEXT COLLATE NOCASE, Pname TEXT, Pfile TEXT, I1 INTEGER, I2 INTEGER, "
                              "I3 INTEGER, I4 INTEGER, D1 REAL, D2 REAL, D3 REAL, D4 REAL, S1 TEXT, S2 TEXT, "
                              "S3 TEXT, S4 TEXT)"));
    createTable(db, "Plist", {{"F0", 'T'}, {"F1", 'T'}, {"F2", 'T'}, {"F3", 'T'}, {"F4", 'T'}, {"F5", 'T'},
                              {"F6", 'T'}, {"F7", 'T'}, {"F8", 'T'}, {"F9", 'T'}, {"F10", 'T'}, {"F11", 'T'},
                              {"F12", 'T'}, {"F13", 'T'}, {"F14", 'T'}, {"F15", 'T'}, {"M1", 'T'}, {"M2", 'T'},
                              {"V1", 'N'}, {"V2", 'N'}, {"V3", 'N'}, {"V4", 'N'}, {"V5", 'N'}, {"V6", 'N'},
                              {"V7", 'N'}});
    createTable(db, "TC2", {{"F1", 'T'}, {"F2", 'T'}});
    createTable(db, "TC21", {{"F1", 'T'}, {"F2", 'T'}});
    createTable(db, "TC15", {{"F1", 'T'}, {"F2", 'T'}});

    for (const IndexDef& ix : AccountSetIndexes())
        db.execute(QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                       .arg(QLatin1String(ix.name), QLatin1String(ix.table), QLatin1String(ix.columns)));

    // Fixed rows.
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('000', '无类别')"));
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB) VALUES ('0000', '盘点', ?)"), {code(UnitKind::Reserved)});
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, '系统管理员', '', 1111, 1111, 1111, 1111, 1111, 1111, 1111, 1111)"),
               {TopAdministrator});
    db.execute(QStringLiteral("INSERT INTO thever (versn, exename) VALUES ('', '')"));

    // Settings of a new account set.
    for (const SettingDefault& d : NewSetSettings)
        insertSetting(db, d.id, d.setval, d.setstr ? QString::fromUtf8(d.setstr) : QString(),
                      d.shuoming ? QString::fromUtf8(d.shuoming) : QString());

    tx.commit();
}

void WriteTemplateFile(const QString& path)
{
    const QString tmp = path + QStringLiteral(".new");
    QFile::remove(tmp);
    {
        Database db;
        db.create(tmp);
        CreateAccountSetSchema(db);
        db.close();
    }
    QFile::remove(path);
    if (!QFile::rename(tmp, path))
        throw DbError(-1, QStringLiteral("无法写入模板文件：%1").arg(path));
}
