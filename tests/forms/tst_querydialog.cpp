#include "forms/Query.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// The query-condition dialog driven through its controls.
class TestQueryDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void simpleModeOneCondition();
    void listAllWithoutConditions();
    void removingTheFirstKeepsItsNot();
    void escapeClearsAdvancedMode();
    void dateFieldToTextEmptiesTheBox();
    void cancelWritesNothing();
    void numberFieldRefusesTextThatIsNoNumber_data();
    void numberFieldRefusesTextThatIsNoNumber();
};

namespace {

const QVector<QueryField> Fields{{QStringLiteral("编码"), QStringLiteral("T.F1"), QueryFieldType::Text},
                                 {QStringLiteral("名称"), QStringLiteral("T.F2"), QueryFieldType::Text},
                                 {QStringLiteral("日期"), QStringLiteral("T.F3"), QueryFieldType::Date},
                                 {QStringLiteral("金额"), QStringLiteral("T.F4"), QueryFieldType::Number}};

struct Caller : QWidget {
    Q_OBJECT
    Q_PROPERTY(QString PubSql MEMBER PubSql)
public:
    QString PubSql = QStringLiteral("untouched");
};

struct Dialog {
    explicit Dialog(App& app) : q(app, &caller)
    {
        q.Loader = &caller;
        q.SqlHeadstr = QStringLiteral("H");
        q.setFields(Fields, 1);
    }
    void add(int field, const QString& op, const QString& value, const QString& join = {})
    {
        if (!join.isEmpty())
            q.CmbLG->setCurrentText(join);
        q.CmbF->setCurrentIndex(field);
        q.CmbF_Click();
        q.cmbGx->setCurrentText(op);
        q.Txt->setText(value);
        q.CmdAdd->click();
    }
    Caller caller;
    Query q;
};

}  // namespace

void TestQueryDialog::simpleModeOneCondition()
{
    FreshAccountSet set;
    Dialog d(set.app());
    QCOMPARE(d.q.CmdQuery->text(), QStringLiteral("列出全部(&L)"));
    d.q.Txt->setText(QStringLiteral("甲"));
    QCOMPARE(d.q.CmdQuery->text(), QStringLiteral("按条件查找(&Q)"));
    d.q.cmbGx->setCurrentIndex(1);
    d.q.CmdQuery->click();
    QCOMPARE(d.caller.PubSql, QStringLiteral("H Where (T.F2 like '%甲%' ESCAPE '\\')"));
}

void TestQueryDialog::numberFieldRefusesTextThatIsNoNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("two points") << "12..5";
    QTest::newRow("thousands comma") << "1,000";
}

// A number field given text that is no number says so and looks for
// nothing, instead of looking for 0.
void TestQueryDialog::numberFieldRefusesTextThatIsNoNumber()
{
    QFETCH(QString, typed);
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.CmbF->setCurrentIndex(3);
    d.q.CmbF_Click();
    d.q.Txt->setText(typed);
    MessageScript msgs;
    msgs.expect(QStringLiteral("[") + typed + QStringLiteral("]不是有效的数字"));
    d.q.CmdQuery->click();
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(d.caller.PubSql, QStringLiteral("untouched"));
    QCOMPARE(d.q.Lst->count(), 0);
    d.q.Txt->setText(QStringLiteral("12.5"));
    d.q.CmdQuery->click();
    QVERIFY2(d.caller.PubSql.endsWith(QStringLiteral("12.5)")), qPrintable(d.caller.PubSql));
}

void TestQueryDialog::listAllWithoutConditions()
{
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.CmdQuery->click();
    QCOMPARE(d.caller.PubSql, QStringLiteral("H"));
}

void TestQueryDialog::removingTheFirstKeepsItsNot()
{
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.CmdAdd->click();
    QVERIFY(d.q.advanced());
    d.add(1, QStringLiteral("等于(=)"), QStringLiteral("a"));
    d.add(1, QStringLiteral("等于(=)"), QStringLiteral("b"), QStringLiteral("排除"));
    d.add(3, QStringLiteral("大于(>)"), QStringLiteral("12.50"), QStringLiteral("或者"));
    QCOMPARE(d.q.Lst->count(), 3);
    QCOMPARE(d.q.Lst->item(2)->text(), QStringLiteral("或者    金额  大于     12.5"));
    d.q.Lst->setCurrentRow(0);
    d.q.CmdRemove->click();
    QCOMPARE(d.q.Lst->item(0)->text(), QStringLiteral("      名称  等于     b"));
    d.q.CmdQuery->click();
    QCOMPARE(d.caller.PubSql, QStringLiteral("H Where (Not T.F2 = 'b' Or T.F4 > 12.5)"));
}

void TestQueryDialog::escapeClearsAdvancedMode()
{
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.CmdAdd->click();
    d.add(1, QStringLiteral("等于(=)"), QStringLiteral("a"));
    QTest::keyClick(&d.q, Qt::Key_Escape);
    QVERIFY(!d.q.advanced());
    QVERIFY(d.q.conditions().isEmpty());
    QCOMPARE(d.q.CmdAdd->text(), QStringLiteral("高级模式(&M)"));
    QCOMPARE(d.caller.PubSql, QStringLiteral("untouched"));
}

void TestQueryDialog::dateFieldToTextEmptiesTheBox()
{
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.CmbF->setCurrentIndex(2);
    d.q.CmbF_Click();
    QVERIFY(d.q.Txt->isHidden());
    QCOMPARE(d.q.cmbGx->count(), 3);
    d.q.DTP->setDate(QDate(2024, 1, 5));
    d.q.CmbF->setCurrentIndex(0);
    d.q.CmbF_Click();
    QCOMPARE(d.q.Txt->text(), QString());
    d.q.CmbF->setCurrentIndex(2);
    d.q.CmbF_Click();
    d.q.DTP->setDate(QDate(2024, 1, 5));
    d.q.cmbGx->setCurrentIndex(2);
    d.q.CmdQuery->click();  // a date field always adds the picked day
    QCOMPARE(d.caller.PubSql, QStringLiteral("H Where ((T.F3 >= '2024-01-05' And T.F3 < '2024-01-06'))"));
}

void TestQueryDialog::cancelWritesNothing()
{
    FreshAccountSet set;
    Dialog d(set.app());
    d.q.Txt->setText(QStringLiteral("x"));
    d.q.CmdCancel->click();
    QCOMPARE(d.caller.PubSql, QString());
}

VX_REGISTER_TEST(TestQueryDialog)
#include "tst_querydialog.moc"
