#include "AdminFixture.h"

#include "core/MenuModel.h"
#include "core/Settings.h"
#include "platform/Database.h"

#include <QRegularExpression>
#include <QTest>

void BuildDesignMenus(MenuModel& menus)
{
    menus.clear();
    menus.add(QString(), QStringLiteral("Menu_A"), QStringLiteral("&A.基础数据"));
    const char* aa[] = {"供应商资料", "客户资料", "部门资料", "-", "货品类别", "货品档案", "成品档案"};
    for (int i = 0; i < 7; ++i)
        menus.add(QStringLiteral("Menu_A"), QStringLiteral("Menu_AA%1").arg(i), QString::fromUtf8(aa[i]), i != 2 && i != 6);
    menus.add(QString(), QStringLiteral("Menu_B"), QStringLiteral("&B.入库管理"));
    const char* bb[] = {"入库单", "退货单", "-", "生产入库", "次品返工", "-", "入库统计", "退货统计"};
    for (int i = 0; i < 8; ++i)
        menus.add(QStringLiteral("Menu_B"), QStringLiteral("Menu_BB%1").arg(i), QString::fromUtf8(bb[i]), i < 3 || i > 5);
    menus.add(QString(), QStringLiteral("Menu_D"), QStringLiteral("&D.出库管理"));
    const char* dd[] = {"领料单", "退料单", "-", "出库单", "退库单", "-", "出库统计", "退库统计"};
    for (int i = 0; i < 8; ++i)
        menus.add(QStringLiteral("Menu_D"), QStringLiteral("Menu_DD%1").arg(i), QString::fromUtf8(dd[i]), i > 2);
    menus.add(QString(), QStringLiteral("Menu_E"), QStringLiteral("&E.往来帐款"));
    menus.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E00"), QStringLiteral("增加应付"));
    menus.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E01"), QStringLiteral("增加应收"));
    const char* ee[] = {"付款登记", "收款登记", "-", "应付款总帐", "应付款明细帐", "应收款总帐", "应收款明细帐"};
    for (int i = 0; i < 7; ++i)
        menus.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_EE%1").arg(i), QString::fromUtf8(ee[i]));
    menus.add(QString(), QStringLiteral("Menu_R"), QStringLiteral("&R.综合报表"));
    menus.add(QStringLiteral("Menu_R"), QStringLiteral("Menu_Ell"), QStringLiteral("-"));
    menus.add(QStringLiteral("Menu_R"), QStringLiteral("menu_Ecb"), QStringLiteral("&6.出库成本统计"));
    menus.add(QStringLiteral("Menu_R"), QStringLiteral("Menu_Eml"), QStringLiteral("&7.销售毛利统计"));
}

LoadedAccountSet::LoadedAccountSet()
{
    BuildDesignMenus(app().Menus);
    LoadSettings(app());
}

QMap<int, QVector<SettingRow>> SettingsSnapshot(const Database& db)
{
    QMap<int, QVector<SettingRow>> rows;
    const RecordSet rs = db.query(QStringLiteral("SELECT rowid, ID, setval, setstr, shuoming FROM sysinfo ORDER BY rowid"));
    for (int r = 0; r < rs.rowCount(); ++r)
        rows[rs.value(r, 1).toInt()].push_back(
            {rs.value(r, 0).toLongLong(), rs.value(r, 2), rs.value(r, 3), rs.value(r, 4)});
    return rows;
}

QVariant SetVal(const Database& db, int id)
{
    return db.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {id});
}

QVariant SetStr(const Database& db, int id)
{
    return db.scalar(QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {id});
}

WizardSettings PreparedSettings(App& app)
{
    WizardSettings s = LoadWizardSettings(app);
    RebuildDocumentPage(app, s);
    return s;
}

void ApplyChoices(WizardSettings& s, const QString& choices)
{
    static const QRegularExpression indexed(QStringLiteral("^([A-Za-z]+?)(\\d+)$"));
    for (const QString& choice : choices.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = choice.indexOf(QLatin1Char('='));
        const QString name = choice.left(eq);
        const QString value = choice.mid(eq + 1);
        const int number = value.toInt();
        if (name == QLatin1String("CmbDay")) s.CmbDay = number;
        else if (name == QLatin1String("CmbDanPrint")) s.CmbDanPrint = number;
        else if (name == QLatin1String("CmbHP")) s.CmbHP = value;
        else if (name == QLatin1String("CmbLj")) s.CmbLj = value;
        else if (name == QLatin1String("CmbCP")) s.CmbCP = value;
        else if (name == QLatin1String("CmbSX")) s.CmbSX = value;
        else if (name == QLatin1String("Txt9181")) s.Txt9181 = value;
        else if (name == QLatin1String("TxtHPSX")) s.TxtHPSX = value;
        else if (name == QLatin1String("ChKnext")) s.ChKnext = number;
        else {
            const QRegularExpressionMatch m = indexed.match(name);
            QVERIFY2(m.hasMatch(), qPrintable(choice));
            const QString base = m.captured(1);
            const int i = m.captured(2).toInt();
            if (base == QLatin1String("ChK")) s.ChK[i] = number;
            else if (base == QLatin1String("ChKmoshi")) s.ChKmoshi[i] = number;
            else if (base == QLatin1String("ChkHP")) s.ChkHP[i] = number;
            else if (base == QLatin1String("ChKDan")) s.ChKDan[i] = number;
            else if (base == QLatin1String("TxtDan")) s.TxtDan[i] = value;
            else if (base == QLatin1String("TxtH")) s.TxtH[i] = value;
            else if (base == QLatin1String("TxtDanEnabled")) s.TxtDanEnabled[i] = number != 0;
            else if (base == QLatin1String("Txt")) s.Txt[i] = value;
            else QFAIL(qPrintable(QStringLiteral("unknown control ") + name));
        }
    }
}
