#include "AdminFixture.h"
#include "admin/SysFuncSet.h"
#include "admin/WizardSettings.h"
#include "core/MenuModel.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

class WizardSaveTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveWithoutChangeRewritesTheListedRows();
    void choices_data();
    void choices();
    void missingInPlaceRowIsCreated_data();
    void missingInPlaceRowIsCreated();
    void failedSaveChangesNothing();
    void failedSaveInTheWindowIsReported();
    void renameTouchesOnlyThatTypesDocuments();
    void renamesPassedOnBetweenTypesNeverMix();
    void typeWithoutStoredNameRenamesNothing();
    void menusMatchTheStartupShaping_data();
    void menusMatchTheStartupShaping();
    void flowModesOfTheFullEdition();
    void switchedOffTypeKeepsNameAndHidesItsMenu();
    void extraItemCaptionsKeepTheirOwnWords();
};

namespace {

void insertDocument(Database& db, const QString& number, const QString& type, int kind)
{
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, S2, LB) VALUES (?, ?, ?)"), {number, type, kind});
}

QString typeOf(const Database& db, const QString& number)
{
    return db.scalar(QStringLiteral("SELECT S2 FROM TB1 WHERE F1 = ?"), {number}).toString();
}

struct MenuState {
    QString caption;
    bool visible;
    // A hidden item's caption is never seen, so only visible ones must agree.
    bool operator==(const MenuState& o) const { return visible == o.visible && (!visible || caption == o.caption); }
};

QMap<QString, MenuState> menuState(const MenuModel& menus)
{
    QMap<QString, MenuState> state;
    QStringList names;
    for (int i = 0; i < 7; ++i)
        names << QStringLiteral("Menu_AA%1").arg(i) << QStringLiteral("Menu_EE%1").arg(i);
    for (int i = 0; i < 8; ++i)
        names << QStringLiteral("Menu_BB%1").arg(i) << QStringLiteral("Menu_DD%1").arg(i);
    names << QStringLiteral("Menu_E00") << QStringLiteral("Menu_E01") << QStringLiteral("Menu_E")
          << QStringLiteral("Menu_Ell") << QStringLiteral("menu_Ecb") << QStringLiteral("Menu_Eml");
    for (const QString& n : names)
        state.insert(n, {menus.caption(n), menus.isVisible(n)});
    return state;
}

}  // namespace

void WizardSaveTest::saveWithoutChangeRewritesTheListedRows()
{
    LoadedAccountSet set;
    set.loginAs(QStringLiteral("001"));
    insertDocument(set.db(), QStringLiteral("RK1"), QStringLiteral("采购入库单"), 1);
    const auto before = SettingsSnapshot(set.db());

    MessageScript msgs;
    msgs.expect(QStringLiteral("您的设置已生效！"));
    SysFuncSet wizard(set.app());
    auto* next = wizard.findChild<QPushButton*>(QStringLiteral("CmdStep0"));
    for (int page = 0; page < 4; ++page)
        next->click();
    wizard.findChild<QPushButton*>(QStringLiteral("CmdSave"))->click();
    QCOMPARE(msgs.count(), 1);

    const auto after = SettingsSnapshot(set.db());
    const QList<int> rewritten = {80, 81, 82, 83, 84, 85, 86, 87, 88, 91, 92, 9218, 12, 1000,
                                  9127, 7716, 3196, 7715, 181, 182, 185, 186};
    for (int id : rewritten) {
        QCOMPARE(after.value(id).size(), 1);
        if (before.contains(id))
            QVERIFY2(after[id][0].rowid != before[id][0].rowid, qPrintable(QString::number(id)));
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!rewritten.contains(it.key()))
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(QString::number(it.key())));
    }
    // Rows that were absent and are only written with content stay absent.
    QVERIFY(!after.contains(9181));
    QVERIFY(!after.contains(7714));
    // The same values come back, apart from what the wizard itself presets.
    for (int id : {80, 81, 82, 83, 84, 85, 86, 87, 88, 91, 92, 12, 7716, 7715, 181, 182, 185, 186}) {
        QCOMPARE(after[id][0].setval.toDouble(), before[id][0].setval.toDouble());
        QCOMPARE(after[id][0].setstr.toString(), before[id][0].setstr.toString());
    }
    QCOMPARE(after[1000][0].setval.toInt(), 0);  // the wizard opens with "run next time" clear
    QCOMPARE(after[9127][0].setval.toInt(), 1);
    QCOMPARE(typeOf(set.db(), QStringLiteral("RK1")), QStringLiteral("采购入库单"));
    QCOMPARE(SqlScalar(set.db(), QStringLiteral("SELECT exename FROM thever")), set.app().AppTitle);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM thever")).toInt(), 1);
}

void WizardSaveTest::choices_data()
{
    QTest::addColumn<QString>("choices");
    QTest::addColumn<int>("id");
    QTest::addColumn<QVariant>("setval");  // invalid: the row is absent
    QTest::addColumn<QString>("setstr");

    QTest::newRow("negative quantities") << "ChK3=1" << 3 << QVariant(1) << "";
    QTest::newRow("quantities only") << "ChK5=1" << 5 << QVariant(0) << "";
    QTest::newRow("alarm below minimum") << "ChK6=1" << 6 << QVariant(1) << "";
    QTest::newRow("alarm above maximum") << "ChK7=1" << 7 << QVariant(1) << "";
    QTest::newRow("001 edits stock") << "ChK8=1" << 8 << QVariant(1) << "";
    QTest::newRow("001 edits opening") << "ChK9=1" << 10 << QVariant(1) << "";
    QTest::newRow("line import") << "ChK15=1" << 24 << QVariant(1) << "";
    QTest::newRow("reference price") << "ChK18=1" << 878 << QVariant(1) << "";
    QTest::newRow("cost plus fee") << "ChK18=1;ChK20=1" << 879 << QVariant(1) << "";
    QTest::newRow("auto deduct parts") << "ChK19=1" << 2171 << QVariant(1) << "";
    QTest::newRow("price decimals above limit") << "Txt9=15" << 9 << QVariant(12) << "";
    QTest::newRow("amount decimals none") << "Txt0=0" << 19 << QVariant(0) << "";
    QTest::newRow("month end") << "CmbDay=27" << 20 << QVariant(28) << "";
    QTest::newRow("customer prices") << "ChK12=1" << 21 << QVariant(1) << "";
    QTest::newRow("no over issue") << "ChK0=1" << 0 << QVariant(1) << "";
    QTest::newRow("dual role units") << "ChK16=1" << 1616 << QVariant(1) << "1:允许往来单位双重身份";
    QTest::newRow("dual role off adds no row") << "ChK16=0" << 1616 << QVariant() << "";
    QTest::newRow("unit folders") << "ChK17=1" << 1617 << QVariant(1) << "1:允许往来单位文件夹链接";
    QTest::newRow("goods word") << "ChkHP0=1;CmbHP=物资" << 91 << QVariant(1) << "物资";
    QTest::newRow("parts word") << "ChkHP1=1;CmbLj=配件" << 92 << QVariant(1) << "配件";
    QTest::newRow("product word with quote") << "CmbCP=成'品" << 12 << QVariant(1) << "成'品";
    QTest::newRow("separate part files") << "ChK23=1" << 9218 << QVariant(1) << "基础数据-货品档案";
    QTest::newRow("extra goods attribute") << "ChK22=1;CmbSX= 产地 " << 7714 << QVariant(1) << "产地";
    QTest::newRow("extra attribute unnamed") << "ChK22=1;CmbSX=" << 7714 << QVariant() << "";
    QTest::newRow("attribute switched off") << "TxtHPSX=" << 2010 << QVariant(0) << "";
    QTest::newRow("attribute renamed") << "TxtHPSX=颜色" << 2010 << QVariant(1) << "颜色";
    QTest::newRow("stocktaking item") << "Txt9181=盘点人" << 9181 << QVariant(1) << "盘点人";
    QTest::newRow("print after audit") << "CmbDanPrint=2" << 7716 << QVariant(2) << "";
    QTest::newRow("sales discount") << "ChK25=1" << 3196 << QVariant(1) << "销价折扣功能";
    QTest::newRow("fixed supplier") << "ChK21=1" << 7715 << QVariant(1) << "";
    QTest::newRow("run wizard next start") << "ChKnext=1" << 1000 << QVariant(1) << "启动时运行向导";
    QTest::newRow("paid on receipt without accounts menu") << "ChK13=1" << 22 << QVariant(0) << "";
    QTest::newRow("document prefix") << "TxtH0=JH" << 81 << QVariant(1) << "采购入库单";
}

void WizardSaveTest::choices()
{
    QFETCH(QString, choices);
    QFETCH(int, id);
    QFETCH(QVariant, setval);
    QFETCH(QString, setstr);

    LoadedAccountSet set;
    WizardSettings s = PreparedSettings(set.app());
    ApplyChoices(s, choices);
    SaveWizardSettings(set.app(), s);

    const RecordSet rows = set.db().query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = ?"), {id});
    if (!setval.isValid()) {
        QCOMPARE(rows.rowCount(), 0);
        return;
    }
    QCOMPARE(rows.rowCount(), 1);
    QCOMPARE(rows.value(0, 0).toDouble(), setval.toDouble());
    QCOMPARE(rows.text(0, 1), setstr);

    // The globals follow the rows at once.
    App& a = set.app();
    const QMap<int, int> globals = {{0, a.NoOverIssue}, {3, a.NoNegativeQty}, {5, a.WithPrices},
                                    {6, a.AlarmBelowMin}, {7, a.AlarmAboveMax}, {8, a.AdminEditStock},
                                    {10, a.AdminEditOpening}, {24, a.ExcelLineImport}, {878, a.InboundRefPrice},
                                    {879, a.CostPlusFeePrice}, {2171, a.AutoDeductParts}, {9, a.PriceDecimals},
                                    {19, a.AmountDecimals}, {20, a.ReportStartDay}, {21, a.OfferCustomerPrice},
                                    {22, a.PaidOnReceipt}};
    if (globals.contains(id))
        QCOMPARE(globals[id], setval.toInt());
    if (id == 9)
        QCOMPARE(a.PriceFormat, QStringLiteral("#0.000000000000"));
    if (id == 19)
        QCOMPARE(a.AmountFormat, QStringLiteral("#0"));
    if (id == 91)
        QCOMPARE(a.GoodsTerm, setstr);
    if (id == 2010)
        QCOMPARE(a.HpsxName, setstr);
    if (id == 81)
        QCOMPARE(SqlScalar(set.db(), QStringLiteral("SELECT shuoming FROM sysinfo WHERE ID = 81")), QStringLiteral("JH"));
}

void WizardSaveTest::missingInPlaceRowIsCreated_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("row 0") << 0;
    QTest::newRow("row 1") << 1;
    QTest::newRow("row 2") << 2;
}

void WizardSaveTest::missingInPlaceRowIsCreated()
{
    QFETCH(int, id);
    LoadedAccountSet set;
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {id});
    WizardSettings s = PreparedSettings(set.app());
    s.ChK[id] = 1;
    SaveWizardSettings(set.app(), s);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM sysinfo WHERE ID = ?"), {id}).toInt(), 1);
    QCOMPARE(SetVal(set.db(), id).toInt(), 1);
}

void WizardSaveTest::failedSaveChangesNothing()
{
    LoadedAccountSet set;
    insertDocument(set.db(), QStringLiteral("RK1"), QStringLiteral("采购入库单"), 1);
    // A late step of the save fails: everything before it must be undone.
    set.db().execute(QStringLiteral(
        "CREATE TRIGGER fail_late BEFORE INSERT ON sysinfo WHEN NEW.ID = 7715 BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    const auto before = SettingsSnapshot(set.db());
    const auto menusBefore = menuState(set.app().Menus);

    WizardSettings s = PreparedSettings(set.app());
    ApplyChoices(s, QStringLiteral("ChK0=1;ChK3=1;Txt9=4;TxtDan0=进货单;CmbHP=物资;ChkHP0=1;ChKnext=1"));
    QVERIFY_THROWS_EXCEPTION(DbError, SaveWizardSettings(set.app(), s));

    QVERIFY(SettingsSnapshot(set.db()) == before);
    QCOMPARE(typeOf(set.db(), QStringLiteral("RK1")), QStringLiteral("采购入库单"));
    QCOMPARE(set.app().NoOverIssue, 0);
    QCOMPARE(set.app().NoNegativeQty, 0);
    QCOMPARE(set.app().PriceDecimals, 2);
    QCOMPARE(set.app().GoodsTerm, QStringLiteral("货品"));
    QVERIFY(menuState(set.app().Menus) == menusBefore);
    QVERIFY(!set.db().inTransaction());
}

void WizardSaveTest::failedSaveInTheWindowIsReported()
{
    LoadedAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral(
        "CREATE TRIGGER fail_late BEFORE INSERT ON sysinfo WHEN NEW.ID = 3196 BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    SysFuncSet wizard(set.app());
    wizard.show();
    auto* next = wizard.findChild<QPushButton*>(QStringLiteral("CmdStep0"));
    for (int page = 0; page < 4; ++page)
        next->click();

    MessageScript msgs;
    msgs.expect(QStringLiteral("设置没有保存：数据库操作出错"));  // the engine's text goes to the log
    wizard.findChild<QPushButton*>(QStringLiteral("CmdSave"))->click();
    QCOMPARE(msgs.count(), 1);
    QVERIFY(!msgs.anyContains(QStringLiteral("您的设置已生效！")));
    QVERIFY(wizard.isVisible());
    QCOMPARE(SetVal(set.db(), 1000).toInt(), 1);
}

void WizardSaveTest::renameTouchesOnlyThatTypesDocuments()
{
    LoadedAccountSet set;
    Database& db = set.db();
    insertDocument(db, QStringLiteral("RK1"), QStringLiteral("采购入库单"), 1);
    insertDocument(db, QStringLiteral("RK2"), QStringLiteral("采购入库单"), 1);
    insertDocument(db, QStringLiteral("FK1"), QStringLiteral("采购入库单"), 10);  // a payment whose summary reads so
    insertDocument(db, QStringLiteral("FK2"), QString(), 1);
    insertDocument(db, QStringLiteral("CK1"), QStringLiteral("部门领用单"), 3);

    WizardSettings s = PreparedSettings(set.app());
    ApplyChoices(s, QStringLiteral("TxtDan0=进货单"));
    SaveWizardSettings(set.app(), s);

    QCOMPARE(typeOf(db, QStringLiteral("RK1")), QStringLiteral("进货单"));
    QCOMPARE(typeOf(db, QStringLiteral("RK2")), QStringLiteral("进货单"));
    QCOMPARE(typeOf(db, QStringLiteral("FK1")), QStringLiteral("采购入库单"));
    QCOMPARE(typeOf(db, QStringLiteral("FK2")), QString());
    QCOMPARE(typeOf(db, QStringLiteral("CK1")), QStringLiteral("部门领用单"));
    QCOMPARE(SetStr(db, 81).toString(), QStringLiteral("进货单"));
    QCOMPARE(set.app().Menus.caption(QStringLiteral("Menu_BB0")), QStringLiteral("&1.进货单"));
}

void WizardSaveTest::renamesPassedOnBetweenTypesNeverMix()
{
    LoadedAccountSet set;
    Database& db = set.db();
    insertDocument(db, QStringLiteral("RK1"), QStringLiteral("采购入库单"), 1);
    insertDocument(db, QStringLiteral("SC1"), QStringLiteral("生产入库单"), 1);

    // Type 81 takes the name type 83 gives up.
    WizardSettings s = PreparedSettings(set.app());
    ApplyChoices(s, QStringLiteral("TxtDan0=生产入库单;TxtDan2=产成品入库单"));
    SaveWizardSettings(set.app(), s);

    QCOMPARE(typeOf(db, QStringLiteral("RK1")), QStringLiteral("生产入库单"));
    QCOMPARE(typeOf(db, QStringLiteral("SC1")), QStringLiteral("产成品入库单"));
}

void WizardSaveTest::typeWithoutStoredNameRenamesNothing()
{
    LoadedAccountSet set;
    Database& db = set.db();
    insertDocument(db, QStringLiteral("X1"), QString(), 1);
    insertDocument(db, QStringLiteral("X2"), QStringLiteral("入库单"), 1);
    db.execute(QStringLiteral("UPDATE sysinfo SET setstr = '' WHERE ID = 83"));
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 81"));

    WizardSettings s = PreparedSettings(set.app());
    ApplyChoices(s, QStringLiteral("TxtDan0=进货单;TxtDan2=产成品入库单"));
    SaveWizardSettings(set.app(), s);

    QCOMPARE(typeOf(db, QStringLiteral("X1")), QString());
    QCOMPARE(typeOf(db, QStringLiteral("X2")), QStringLiteral("入库单"));
}

void WizardSaveTest::menusMatchTheStartupShaping_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("choices");
    QTest::newRow("no change") << "Vorlix仓库管理系统" << "";
    QTest::newRow("returns switched off") << "Vorlix仓库管理系统" << "ChKDan1=0;TxtDanEnabled1=0;TxtDanEnabled5=0";
    QTest::newRow("separate part files") << "Vorlix仓库管理系统" << "ChkHP1=1;CmbLj=配件;CmbCP=整机;ChK23=1";
    QTest::newRow("renamed type") << "Vorlix仓库管理系统" << "TxtDan0=进货单";
    QTest::newRow("all flows, full edition") << "Vorlix进销存管理系统" << "ChKmoshi0=1;ChKmoshi2=1;ChKmoshi3=1";
    QTest::newRow("customers, quantities only") << "Vorlix进销存管理系统" << "ChKmoshi0=1;ChK5=1";
}

void WizardSaveTest::menusMatchTheStartupShaping()
{
    QFETCH(QString, title);
    QFETCH(QString, choices);
    LoadedAccountSet set;
    set.app().AppTitle = title;
    BuildMainMenu(set.app().Menus);
    LoadSettings(set.app());

    WizardSettings s = LoadWizardSettings(set.app());
    ApplyChoices(s, choices);
    RebuildDocumentPage(set.app(), s);
    ApplyChoices(s, choices);
    SaveWizardSettings(set.app(), s);
    const auto afterSave = menuState(set.app().Menus);

    // A restart reads the rows the save wrote and must show the same menus.
    App restarted;
    restarted.AppTitle = title;
    restarted.CurrentDatabase.open(set.setPath());
    BuildMainMenu(restarted.Menus);
    LoadSettings(restarted);
    const auto afterStart = menuState(restarted.Menus);
    for (auto it = afterStart.cbegin(); it != afterStart.cend(); ++it) {
        QVERIFY2(afterSave.value(it.key()) == it.value(),
                 qPrintable(it.key() + QStringLiteral(": ") + afterSave.value(it.key()).caption + QStringLiteral(" / ")
                            + it.value().caption));
    }
}

void WizardSaveTest::flowModesOfTheFullEdition()
{
    LoadedAccountSet set;
    set.app().AppTitle = QStringLiteral("Vorlix进销存管理系统");
    WizardSettings s = LoadWizardSettings(set.app());
    ApplyChoices(s, QStringLiteral("ChKmoshi0=1;ChKmoshi1=0;ChKmoshi2=1;ChKmoshi3=0"));
    RebuildDocumentPage(set.app(), s);
    SaveWizardSettings(set.app(), s);
    QCOMPARE(SetVal(set.db(), 80).toInt(), 1010);
    QCOMPARE(SetVal(set.db(), 81).toInt(), 1);
    QCOMPARE(SetVal(set.db(), 83).toInt(), 1);
    QCOMPARE(SetVal(set.db(), 85).toInt(), 0);
    QCOMPARE(SetVal(set.db(), 87).toInt(), 1);

    set.app().AppTitle = QStringLiteral("Vorlix仓库管理系统");
    SaveWizardSettings(set.app(), s);
    QCOMPARE(SetVal(set.db(), 80).toInt(), 100);
    QVERIFY(!set.app().Menus.isVisible(QStringLiteral("Menu_E")));
}

void WizardSaveTest::switchedOffTypeKeepsNameAndHidesItsMenu()
{
    LoadedAccountSet set;
    WizardSettings s = PreparedSettings(set.app());
    // The return of an unused base type stays unused though its own box is enabled.
    ApplyChoices(s, QStringLiteral("TxtDanEnabled3=1;TxtDan3=返工单;TxtH3=FG"));
    SaveWizardSettings(set.app(), s);
    QCOMPARE(SetVal(set.db(), 84).toInt(), 0);
    QCOMPARE(SetStr(set.db(), 84).toString(), QStringLiteral("返工单"));
    QCOMPARE(SqlScalar(set.db(), QStringLiteral("SELECT shuoming FROM sysinfo WHERE ID = 84")), QStringLiteral("FG"));
    QVERIFY(!set.app().Menus.isVisible(QStringLiteral("Menu_BB4")));
}

void WizardSaveTest::extraItemCaptionsKeepTheirOwnWords()
{
    LoadedAccountSet set;
    WizardSettings s = PreparedSettings(set.app());
    QCOMPARE(s.extraItems.size(), 4);
    s.extraItems[0].entry = ExtraItemEntryText(false, QStringLiteral("显示器型号"));
    s.extraItems[1].entry = ExtraItemEntryText(true, QStringLiteral("隐藏"));
    s.extraItems[2].entry = QString();
    SaveWizardSettings(set.app(), s);
    QCOMPARE(SetVal(set.db(), 181).toInt(), 0);
    QCOMPARE(SetStr(set.db(), 181).toString(), QStringLiteral("显示器型号"));
    QCOMPARE(SetVal(set.db(), 182).toInt(), 1);
    QCOMPARE(SetStr(set.db(), 182).toString(), QStringLiteral("隐藏"));
    QVERIFY(!SetVal(set.db(), 185).isValid());  // an empty entry deletes its row

    const WizardSettings again = PreparedSettings(set.app());
    QCOMPARE(again.extraItems[0].entry, QStringLiteral("隐藏-显示器型号"));
    QCOMPARE(again.extraItems[1].entry, QStringLiteral("显示-隐藏"));
    QCOMPARE(again.extraItems[2].entry, QString());
}

VX_REGISTER_TEST(WizardSaveTest)
#include "tst_wizardsave.moc"
