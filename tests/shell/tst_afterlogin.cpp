#include "core/App.h"
#include "core/MenuModel.h"
#include "platform/Grid.h"
#include "shell/AfterLogin.h"
#include "shell/BGForm.h"
#include "shell/MForm.h"
#include "shell/MainMenu.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"
#include "ShellTestSupport.h"

#include <QDateTime>
#include <QTest>

namespace {

// An operator with every word 1111 but the one given.
void addOperator(Database& db, const QString& code, const QString& column, const QVariant& word)
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, '某人', '', 1111, 1111, 1111, 1111, 1111, 1111, 1111, 1111)"),
               {code});
    if (!column.isEmpty())
        db.execute(QStringLiteral("UPDATE TE1 SET %1=? WHERE F1=?").arg(column), {word, code});
}

void loginAs(FreshAccountSet& set, const QString& code)
{
    set.loginAs(code);
    AfterLoginSetup(set.app());
}

}  // namespace

class TestAfterLoginSetup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void priceFlags_data();
    void priceFlags();
    void groupWordZeroGreysItsMenu_data();
    void groupWordZeroGreysItsMenu();
    void systemWordZero();
    void changeToAdminEnablesEverythingAgain();
    void staleReservationsDropped();
    void setFolder_data();
    void setFolder();
    void captionAndBackground();
    void grossProfitHiddenInWarehouseEdition();
};

void TestAfterLoginSetup::priceFlags_data()
{
    QTest::addColumn<QVariant>("word");
    QTest::addColumn<int>("cost");
    QTest::addColumn<int>("profit");
    QTest::newRow("11: group and cost") << QVariant(11) << -1 << 0;
    QTest::newRow("101: group and sale price") << QVariant(101) << 0 << -1;
    QTest::newRow("1111: everything") << QVariant(1111) << -1 << -1;
    QTest::newRow("0: nothing") << QVariant(0) << 0 << 0;
    QTest::newRow("null: nothing") << QVariant() << 0 << 0;
    QTest::newRow("not a number: nothing") << QVariant(QStringLiteral("abc")) << 0 << 0;
}

void TestAfterLoginSetup::priceFlags()
{
    QFETCH(QVariant, word);
    QFETCH(int, cost);
    QFETCH(int, profit);
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    addOperator(set.db(), QStringLiteral("002"), QStringLiteral("F65"), word);
    loginAs(set, QStringLiteral("002"));
    QCOMPARE(set.app().CanSeeCost, cost);
    QCOMPARE(set.app().CanSeeProfit, profit);
}

void TestAfterLoginSetup::groupWordZeroGreysItsMenu_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("menu");
    QTest::newRow("basic data") << "F61" << "Menu_A";
    QTest::newRow("inbound") << "F62" << "Menu_B";
    QTest::newRow("stocktaking") << "F63" << "Menu_C";
    QTest::newRow("outbound") << "F64" << "Menu_D";
    QTest::newRow("accounts") << "F67" << "Menu_E";
    QTest::newRow("reports") << "F68" << "Menu_F";
}

void TestAfterLoginSetup::groupWordZeroGreysItsMenu()
{
    QFETCH(QString, column);
    QFETCH(QString, menu);
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    addOperator(set.db(), QStringLiteral("002"), column, QVariant());
    loginAs(set, QStringLiteral("002"));
    for (const char* group : {"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_F"})
        QCOMPARE(set.app().Menus.isEnabled(QString::fromLatin1(group)), menu != QLatin1String(group));
}

void TestAfterLoginSetup::systemWordZero()
{
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    addOperator(set.db(), QStringLiteral("002"), QStringLiteral("F66"), 0);
    loginAs(set, QStringLiteral("002"));
    const MenuModel& m = set.app().Menus;
    for (const char* off : {"Menu_S1", "Menu_S25", "Menu_zbbf", "Menu_zbhf", "Menu_S3"})
        QVERIFY2(!m.isEnabled(QString::fromLatin1(off)), off);
    for (const char* on : {"Menu_S2", "Relogin", "Menu_S26", "Menu_A"})
        QVERIFY2(m.isEnabled(QString::fromLatin1(on)), on);
}

void TestAfterLoginSetup::changeToAdminEnablesEverythingAgain()
{
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                                    "VALUES ('003', '无权限', '', 0, 0, 0, 0, 0, 0, 0, 0)"));
    loginAs(set, QStringLiteral("003"));
    QVERIFY(!set.app().Menus.isEnabled(QStringLiteral("Menu_zbhf")));
    loginAs(set, QStringLiteral("001"));
    for (const char* name : {"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_F", "Menu_S1", "Menu_S25",
                             "Menu_zbbf", "Menu_zbhf", "Menu_S3", "Menu_S26", "Menu_shuaxin", "Menu_S30", "Menu_yasuo"})
        QVERIFY2(set.app().Menus.isEnabled(QString::fromLatin1(name)), name);
    QCOMPARE(set.app().CanSeeCost, -1);
    QCOMPARE(set.app().CanSeeProfit, -1);
}

void TestAfterLoginSetup::staleReservationsDropped()
{
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    const QDateTime now = QDateTime::currentDateTime();
    const QString fmt = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QVariantList rows[] = {
        {QStringLiteral("RK2401010001"), now.addDays(-1).toString(fmt)},
        {QStringLiteral("RK2401010002"), QVariant()},
        {QStringLiteral("RK2401010003"), now.toString(fmt)},
        {QStringLiteral("RK2401010004"), now.addDays(1).toString(fmt)},
    };
    for (const QVariantList& r : rows)
        set.db().execute(QStringLiteral("INSERT INTO DanNo (DanF1, Flg, Other, DTTM) VALUES (?, 0, '别人', ?)"), r);
    loginAs(set, QStringLiteral("001"));
    const RecordSet rs = set.db().query(QStringLiteral("SELECT DanF1 FROM DanNo"));
    QCOMPARE(rs.rowCount(), 1);
    QCOMPARE(rs.text(0, 0), QStringLiteral("RK2401010003"));
}

void TestAfterLoginSetup::setFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("in a folder") << "/srv/books/仓库账套.vxs" << "/srv/books/";
    QTest::newRow("in the root") << "/a.vxs" << "/";
    QTest::newRow("without a folder") << "a.vxs" << "";
}

void TestAfterLoginSetup::setFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(FolderOfSetPath(path), folder);
}

void TestAfterLoginSetup::captionAndBackground()
{
    FreshAccountSet set;
    MForm frame(set.app());
    set.app().SummaryMemories[0].inputs = {QStringLiteral("2024-1-1")};
    set.app().SummaryMemories[0].rows = {{QStringLiteral("G1")}};
    set.app().CurrentSetName.clear();
    loginAs(set, QStringLiteral("001"));
    QCOMPARE(frame.windowTitle(), set.app().AppTitle + QStringLiteral("--") + set.app().EditionName +
                                      QStringLiteral(" -- ") + set.setPath());
    QVERIFY(!frame.background()->isEnabled());
    QVERIFY(set.app().SummaryMemories[0].isEmpty());
    QVERIFY(set.app().SummaryMemories[0].rows.empty());
    QCOMPARE(set.app().AccountSetFolder, set.folder() + QStringLiteral("data/"));
}

void TestAfterLoginSetup::grossProfitHiddenInWarehouseEdition()
{
    FreshAccountSet set;
    BuildMainMenu(set.app().Menus);
    set.app().AppTitle = QStringLiteral("仓库管理");
    loginAs(set, QStringLiteral("001"));
    QVERIFY(!set.app().Menus.isVisible(QStringLiteral("Menu_Eml")));

    set.app().AppTitle = QStringLiteral("Vorlix进销存管理系统");
    set.app().Menus.setVisible(QStringLiteral("Menu_Eml"), true);
    loginAs(set, QStringLiteral("001"));
    QVERIFY(set.app().Menus.isVisible(QStringLiteral("Menu_Eml")));
}

VX_REGISTER_TEST(TestAfterLoginSetup)
#include "tst_afterlogin.moc"
