#include "AdminFixture.h"

#include "admin/Operators.h"
#include "admin/OperatorsForm.h"
#include "core/Permissions.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

class OperatorsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wordsWrittenForTicks_data();
    void wordsWrittenForTicks();
    void storedWordLoadsIntoTheBoxes_data();
    void storedWordLoadsIntoTheBoxes();
    void topAdministratorAlwaysHasEveryRight();
    void topAdministratorCannotBeDeleted();
    void otherOperatorIsDeletedAfterYes();
    void takenAccountIsRefused();
    void emptyAccountIsRefusedFirst();
    void editKeepsPasswordNotesAndCaption();
    void editToAnotherOperatorsAccountIsRefused();
    void newOperatorStartsFromTheShownOne();
    void typedTextIsUpperCase();
    void loginLinkWithoutSystemRightChangesNothing();
    void loginLinkWithSystemRightStartsAdding();
    void warehouseEditionKeepsTheHiddenAccountsGroup();
    void itemBoxesLookDisabledInViewMode();
};

namespace {

void trigger(QWidget* w, const char* menu)
{
    child<QAction>(w, QString::fromLatin1(menu))->trigger();
}

QCheckBox* groupBox(QWidget* w, int g)
{
    return child<QCheckBox>(w, QStringLiteral("ChK%1").arg(g));
}

QCheckBox* itemBox(QWidget* w, int g, int k)
{
    return child<QCheckBox>(w, QStringLiteral("Chk0%1").arg(10 * g + k));
}

void addOperator(Database& db, const QString& code, const QString& name, int systemWord, const QString& password = {})
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, ?, ?, 1, 1, 1, 1, 1, ?, 1, 1)"),
               {code, name, password, systemWord});
}

int word(const Database& db, const QString& code, int group)
{
    return db.scalar(QStringLiteral("SELECT F6%1 FROM TE1 WHERE F1 = ?").arg(group + 1), {code}).toInt();
}

// Selects the list row of an account.
void selectOperator(QWidget* w, const QString& code)
{
    Grid* grid = child<Grid>(w, QStringLiteral("GD"));
    for (int r = 1; r < grid->rows(); ++r)
        if (grid->textMatrix(r, 0) == code)
            grid->setCurrent(r, 0);
}

}  // namespace

void OperatorsTest::wordsWrittenForTicks_data()
{
    QTest::addColumn<QString>("ticks");  // group, first, second, third item
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("rights");  // HasRight for digits 1 to 4
    QTest::newRow("group off, items ticked") << "0111" << 0 << "0000";
    QTest::newRow("group only") << "1000" << 1 << "0001";
    QTest::newRow("first item") << "1100" << 11 << "0011";
    QTest::newRow("second item") << "1010" << 101 << "0101";
    QTest::newRow("first and third") << "1101" << 1011 << "1011";
    QTest::newRow("third item") << "1001" << 1001 << "1001";
    QTest::newRow("everything") << "1111" << 1111 << "1111";
}

void OperatorsTest::wordsWrittenForTicks()
{
    QFETCH(QString, ticks);
    QFETCH(int, word);
    QFETCH(QString, rights);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    {
        OperatorsForm window(set.app());
        trigger(&window, "Menu_Add");
        child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("A1"));
        child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("张三"));
        for (int g = 0; g < 8; ++g) {
            // Item ticks first: a group box switched off keeps its item ticks.
            groupBox(&window, g)->setChecked(true);
            for (int k = 0; k < 3; ++k)
                itemBox(&window, g, k)->setChecked(ticks[k + 1] == QLatin1Char('1'));
            groupBox(&window, g)->setChecked(ticks[0] == QLatin1Char('1'));
        }
        trigger(&window, "Menu_save");
        QCOMPARE(window.Edstu, 0);
    }
    QCOMPARE(msgs.count(), 0);
    for (int g = 0; g < 8; ++g)
        QCOMPARE(::word(set.db(), QStringLiteral("A1"), g), word);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F3 FROM TE1 WHERE F1='A1'")).toString(), QString());

    set.loginAs(QStringLiteral("A1"));
    for (int group = RightBasicData; group <= RightReports; ++group) {
        QString answered;
        for (int digit = 1; digit <= 4; ++digit)
            answered += HasRight(set.app(), group, digit) ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(answered, rights);
    }
}

void OperatorsTest::storedWordLoadsIntoTheBoxes_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("boxes");  // group, first, second, third; "-" for hidden items
    QTest::newRow("1011") << QVariant(1011) << "1101";
    QTest::newRow("1") << QVariant(1) << "1000";
    QTest::newRow("0") << QVariant(0) << "0---";
    QTest::newRow("null") << QVariant() << "0---";
}

void OperatorsTest::storedWordLoadsIntoTheBoxes()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, boxes);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 1);
    set.db().execute(QStringLiteral("UPDATE TE1 SET F62 = ? WHERE F1 = 'B1'"), {stored});
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("B1"));
    child<QTabBar>(&window, QStringLiteral("TabS"))->setCurrentIndex(1);
    QMetaObject::invokeMethod(child<QTabBar>(&window, QStringLiteral("TabS")), "tabBarClicked", Q_ARG(int, 1));
    QCOMPARE(child<QLineEdit>(&window, QStringLiteral("Txt0"))->text(), QStringLiteral("B1"));
    QCOMPARE(groupBox(&window, 1)->isChecked(), boxes[0] == QLatin1Char('1'));
    QVERIFY(!groupBox(&window, 1)->isEnabled());
    for (int k = 0; k < 3; ++k) {
        if (boxes[k + 1] == QLatin1Char('-'))
            QVERIFY(itemBox(&window, 1, k)->isHidden());
        else
            QCOMPARE(itemBox(&window, 1, k)->isChecked(), boxes[k + 1] == QLatin1Char('1'));
    }
}

void OperatorsTest::topAdministratorAlwaysHasEveryRight()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral("UPDATE TE1 SET F61 = 0, F66 = 1 WHERE F1 = '001'"));
    MessageScript msgs;
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("001"));
    trigger(&window, "Menu_edit");
    QVERIFY(child<QLineEdit>(&window, QStringLiteral("Txt0"))->isReadOnly());
    for (int g = 0; g < 8; ++g)
        groupBox(&window, g)->setChecked(false);
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("管理员"));
    trigger(&window, "Menu_save");
    for (int g = 0; g < 8; ++g)
        QCOMPARE(word(set.db(), QStringLiteral("001"), g), 1111);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TE1 WHERE F1 = '001'")).toString(), QStringLiteral("管理员"));
    QCOMPARE(msgs.count(), 0);
}

void OperatorsTest::topAdministratorCannotBeDeleted()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("001是本系统最高权限管理员专用账号，不能删除！"));
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("001"));
    trigger(&window, "Menu_del");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1 WHERE F1 = '001'")).toInt(), 1);
    QCOMPARE(DeleteOperator(set.app(), QStringLiteral("001")), OperatorDeleteStatus::TopAdministrator);
}

void OperatorsTest::otherOperatorIsDeletedAfterYes()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 0);
    addOperator(set.db(), QStringLiteral("C1"), QStringLiteral("王五"), 0);
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要删除王五的资料吗？"), MB::No);
    msgs.expect(QStringLiteral("真的要删除王五的资料吗？"), MB::Yes);
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("C1"));
    trigger(&window, "Menu_del");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 3);
    trigger(&window, "Menu_del");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1 WHERE F1 = 'C1'")).toInt(), 0);
    Grid* grid = child<Grid>(&window, QStringLiteral("GD"));
    QCOMPARE(grid->rows(), 3);
    QCOMPARE(grid->row(), 2);  // the new last row is current
    QCOMPARE(grid->textMatrix(2, 0), QStringLiteral("B1"));
}

void OperatorsTest::takenAccountIsRefused()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("[系统管理员]已经使用了001这个编码，请重新设置编码!"));
    OperatorsForm window(set.app());
    trigger(&window, "Menu_Add");
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("001"));
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("冒名"));
    trigger(&window, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(window.Edstu, 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 1);
}

void OperatorsTest::emptyAccountIsRefusedFirst()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("操作员帐号不能为空！"));
    OperatorsForm window(set.app());
    trigger(&window, "Menu_Add");
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("  "));
    trigger(&window, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, QStringLiteral("操作员帐号不能为空！"));
    QCOMPARE(window.Edstu, 1);
}

void OperatorsTest::editKeepsPasswordNotesAndCaption()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 0, QStringLiteral("secret"));
    set.db().execute(QStringLiteral("UPDATE TE1 SET pad = '笔记', F75 = ' 今天盘点' WHERE F1 = 'B1'"));
    MessageScript msgs;
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("B1"));
    trigger(&window, "Menu_edit");
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("B2"));
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("李四'"));
    trigger(&window, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1 WHERE F1 = 'B1'")).toInt(), 0);
    const RecordSet row = set.db().query(QStringLiteral("SELECT F2, F3, pad, F75 FROM TE1 WHERE F1 = 'B2'"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.text(0, 0), QStringLiteral("李四'"));
    QCOMPARE(row.text(0, 1), QStringLiteral("secret"));
    QCOMPARE(row.text(0, 2), QStringLiteral("笔记"));
    QCOMPARE(row.text(0, 3), QStringLiteral(" 今天盘点"));
    Grid* grid = child<Grid>(&window, QStringLiteral("GD"));
    QCOMPARE(grid->textMatrix(grid->rows() - 1, 0), QStringLiteral("B2"));
}

void OperatorsTest::editToAnotherOperatorsAccountIsRefused()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 0);
    addOperator(set.db(), QStringLiteral("C1"), QStringLiteral("王五"), 0);
    MessageScript msgs;
    msgs.expect(QStringLiteral("[李四]已经使用了B1这个编码"));
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("C1"));
    trigger(&window, "Menu_edit");
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("B1"));
    trigger(&window, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TE1 WHERE F1 = 'C1'")).toString(), QStringLiteral("王五"));
}

void OperatorsTest::newOperatorStartsFromTheShownOne()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 101, QStringLiteral("pw"));
    OperatorsForm window(set.app());
    selectOperator(&window, QStringLiteral("B1"));
    trigger(&window, "Menu_Add");
    QCOMPARE(child<QLineEdit>(&window, QStringLiteral("Txt0"))->text(), QString());
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(QStringLiteral("D1"));
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("赵六"));
    trigger(&window, "Menu_save");
    QCOMPARE(word(set.db(), QStringLiteral("D1"), 5), 101);
    QCOMPARE(word(set.db(), QStringLiteral("D1"), 0), 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F3 FROM TE1 WHERE F1 = 'D1'")).toString(), QString());
}

void OperatorsTest::typedTextIsUpperCase()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    OperatorsForm window(set.app());
    window.show();
    trigger(&window, "Menu_Add");
    auto* account = child<QLineEdit>(&window, QStringLiteral("Txt0"));
    auto* name = child<QLineEdit>(&window, QStringLiteral("Txt1"));
    account->setFocus();
    QTest::keyClicks(account, QStringLiteral("ab12x"));
    QCOMPARE(account->text(), QStringLiteral("AB12"));
    QTest::keyClick(account, Qt::Key_Return);
    QTRY_VERIFY(name->hasFocus());
    QTest::keyClicks(name, QStringLiteral("tom"));
    QCOMPARE(name->text(), QStringLiteral("TOM"));
}

void OperatorsTest::loginLinkWithoutSystemRightChangesNothing()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 0);
    set.loginAs(QStringLiteral("B1"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    OperatorsForm window(set.app(), nullptr, true);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(window.Edstu, 0);
    selectOperator(&window, QStringLiteral("B1"));
    trigger(&window, "Menu_edit");
    QCOMPARE(window.Edstu, 0);
    trigger(&window, "Menu_del");
    QCOMPARE(msgs.count(), 3);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 2);

    // The services refuse as well, whoever calls them.
    OperatorEntry self{QStringLiteral("B1"), QStringLiteral("李四"), {}};
    self.words.fill(1111);
    QCOMPARE(UpdateOperator(set.app(), QStringLiteral("B1"), self, QString()).status, OperatorSaveStatus::NoRight);
    QCOMPARE(AddOperator(set.app(), {QStringLiteral("X1"), QStringLiteral("新人"), {}}).status,
             OperatorSaveStatus::NoRight);
    QCOMPARE(word(set.db(), QStringLiteral("B1"), 5), 0);
}

void OperatorsTest::loginLinkWithSystemRightStartsAdding()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 1);
    set.loginAs(QStringLiteral("B1"));
    MessageScript msgs;
    OperatorsForm window(set.app(), nullptr, true);
    QCOMPARE(window.Edstu, 1);
    QCOMPARE(child<QTabBar>(&window, QStringLiteral("TabS"))->currentIndex(), 1);
    QCOMPARE(child<QLineEdit>(&window, QStringLiteral("Txt0"))->text(), QString());
    QCOMPARE(msgs.count(), 0);
}

void OperatorsTest::warehouseEditionKeepsTheHiddenAccountsGroup()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 0);
    set.db().execute(QStringLiteral("UPDATE TE1 SET F67 = 1011 WHERE F1 = 'B1'"));
    OperatorsForm window(set.app());
    window.show();
    selectOperator(&window, QStringLiteral("B1"));
    trigger(&window, "Menu_edit");
    QVERIFY(!groupBox(&window, 6)->isVisible());
    QVERIFY(!child<QLabel>(&window, QStringLiteral("LabM6"))->isVisible());
    QVERIFY(!itemBox(&window, 4, 1)->isVisible());
    QVERIFY(itemBox(&window, 4, 0)->isVisible());
    trigger(&window, "Menu_save");
    QCOMPARE(word(set.db(), QStringLiteral("B1"), 6), 1011);
}

namespace {

// Pixels of the rendered box whose colour is clearly blue.
int bluePixels(QWidget* w)
{
    const QImage image = w->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100 && c.green() < 100)
                ++count;
        }
    return count;
}

}  // namespace

// In view mode the item boxes are disabled and look it: their text is not
// the blue of the edit mode.
void OperatorsTest::itemBoxesLookDisabledInViewMode()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    addOperator(set.db(), QStringLiteral("B1"), QStringLiteral("李四"), 1111);
    OperatorsForm window(set.app());
    window.show();
    selectOperator(&window, QStringLiteral("B1"));
    QCheckBox* box = itemBox(&window, 1, 0);
    QVERIFY(!box->isEnabled());
    QCOMPARE(bluePixels(box), 0);
    trigger(&window, "Menu_edit");
    QVERIFY(box->isEnabled());
    QVERIFY(bluePixels(box) > 0);
}

VX_REGISTER_TEST(OperatorsTest)
#include "tst_operators.moc"
