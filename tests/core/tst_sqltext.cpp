#include "core/SqlText.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

class TestSqlText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sqlScalar_data();
    void sqlScalar();
    void sqlScalarCheckedTellsNoRowFromFailure_data();
    void sqlScalarCheckedTellsNoRowFromFailure();
    void sqlScalarWithoutOpenDatabase();
    void sqlSafe_data();
    void sqlSafe();
    void numText_data();
    void numText();
    void formatPattern_data();
    void formatPattern();
    void dateTexts();
    void parseDate_data();
    void parseDate();
    void parseDateRewritesCallersText();
    void leadValue_data();
    void leadValue();
    void boxValue_data();
    void boxValue();
    void typedNumber_data();
    void typedNumber();
    void afterSpace_data();
    void afterSpace();
    void unitName_data();
    void unitName();
};

void TestSqlText::sqlScalar_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no row") << "select F2 from TA3 where F1='nope'" << "";
    QTest::newRow("null field") << "select null" << "";
    QTest::newRow("syntax error") << "selec F2 frm TA3" << "";
    QTest::newRow("missing table") << "select F1 from NoSuchTable" << "";
    QTest::newRow("missing column") << "select Nope from TA3" << "";
    QTest::newRow("text") << "select F2 from TA3 where F1='000'" << "无类别";
    QTest::newRow("empty text") << "select ''" << "";
    QTest::newRow("integer") << "select 1111" << "1111";
    QTest::newRow("real") << "select 0.5" << "0.5";
    QTest::newRow("whole real") << "select 12.0" << "12";
    QTest::newRow("first row, first field") << "select F1, F2 from TA3 order by F1" << "000";
}

void TestSqlText::sqlScalar()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    FreshAccountSet set;
    QCOMPARE(SqlScalar(set.db(), sql), expected);
}

void TestSqlText::sqlScalarCheckedTellsNoRowFromFailure_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("found") << "select F3 from TE1 where F1='001'" << int(ScalarAnswer::State::Found) << "";
    QTest::newRow("found null") << "select null" << int(ScalarAnswer::State::Found) << "";
    QTest::newRow("no row") << "select F3 from TE1 where F1='nobody'" << int(ScalarAnswer::State::NoRow) << "";
    QTest::newRow("failed") << "select F3 from TE9 where F1='001'" << int(ScalarAnswer::State::Failed) << "";
    QTest::newRow("value") << "select F2 from TE1 where F1='001'" << int(ScalarAnswer::State::Found)
                           << "系统管理员";
}

void TestSqlText::sqlScalarCheckedTellsNoRowFromFailure()
{
    QFETCH(QString, sql);
    QFETCH(int, state);
    QFETCH(QString, text);
    FreshAccountSet set;
    const ScalarAnswer answer = SqlScalarChecked(set.db(), sql);
    QCOMPARE(int(answer.state), state);
    QCOMPARE(answer.text, text);
}

void TestSqlText::sqlScalarWithoutOpenDatabase()
{
    Database closed;
    QCOMPARE(SqlScalar(closed, QStringLiteral("select 1")), QString());
    QVERIFY(SqlScalarChecked(closed, QStringLiteral("select 1")).failed());
}

void TestSqlText::sqlSafe_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quote and question mark stay as typed") << "  O'Brien?  " << "O'Brien?";
    QTest::newRow("only spaces") << "     " << "";
    QTest::newRow("star stays") << "*" << "*";
    QTest::newRow("percent stays") << "%" << "%";
    QTest::newRow("double quote stays") << "say \"hi\"" << "say \"hi\"";
    QTest::newRow("blank before line break stays") << "abc \r\n" << "abc ";
    QTest::newRow("tabs removed") << "a\tb" << "ab";
    QTest::newRow("line breaks inside go") << "a'b\nc??" << "a'bc??";
    QTest::newRow("full-width left alone") << "？’" << "？’";
}

void TestSqlText::sqlSafe()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QString variable = input;
    QCOMPARE(SqlSafe(variable), expected);
    QCOMPARE(variable, expected);
    const QString constant = input;
    QCOMPARE(SqlSafe(constant), expected);
    QCOMPARE(constant, input);
}

void TestSqlText::numText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("minus half") << -0.5 << "-0.5";
    QTest::newRow("third") << 1.0 / 3.0 << "0.33333333";
    QTest::newRow("minus third") << -1.0 / 3.0 << "-0.33333333";
    QTest::newRow("12.5") << 12.5 << "12.5";
    QTest::newRow("100") << 100.0 << "100";
    QTest::newRow("rounding drops zeros") << 2.000000001 << "2";
    QTest::newRow("half away from zero") << 0.123456785 << "0.12345679";
    QTest::newRow("tiny in exponent form") << 1e-7 << "1E-07";
    QTest::newRow("millionth") << 1e-6 << "0.000001";
    QTest::newRow("small rounded") << 0.000001234567891 << "0.00000123";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("large in exponent form") << 1e15 << "1E+15";
    QTest::newRow("binary fraction") << 0.1 + 0.2 << "0.3";
    QTest::newRow("price") << 1234.56 << "1234.56";
}

void TestSqlText::numText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(NumText(value), expected);
}

void TestSqlText::formatPattern_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("after");
    QTest::newRow("13 is lowered") << 13 << "#0.000000000000" << 12;
    QTest::newRow("12") << 12 << "#0.000000000000" << 12;
    QTest::newRow("2") << 2 << "#0.00" << 2;
    QTest::newRow("0") << 0 << "#0" << 0;
    QTest::newRow("negative is kept") << -1 << "#0" << -1;
}

void TestSqlText::formatPattern()
{
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QFETCH(int, after);
    QCOMPARE(FormatPattern(decimals), expected);
    QCOMPARE(decimals, after);
}

void TestSqlText::dateTexts()
{
    QCOMPARE(DateText(QDate(2025, 1, 1)), QStringLiteral("2025-1-1"));
    QCOMPARE(DateText(QDate(2024, 12, 31)), QStringLiteral("2024-12-31"));
    QCOMPARE(SqlDate(QDate(2025, 1, 1)), QStringLiteral("2025-01-01"));
    QCOMPARE(SqlDate(QDate(2024, 12, 31)), QStringLiteral("2024-12-31"));
}

void TestSqlText::parseDate_data()
{
    // A null expected date stands for today.
    QTest::addColumn<QString>("input");
    QTest::addColumn<QDate>("expected");
    QTest::addColumn<bool>("fails");
    QTest::newRow("empty") << "" << QDate() << false;
    QTest::newRow("padded dashes") << "2024-05-07" << QDate(2024, 5, 7) << false;
    QTest::newRow("slashes") << "2024/5/7" << QDate(2024, 5, 7) << false;
    QTest::newRow("with time") << "2024-5-7 10:30:00" << QDate(2024, 5, 7) << false;
    QTest::newRow("Chinese words") << "2024年5月7日" << QDate(2024, 5, 7) << false;
    QTest::newRow("year last: day then month") << "5月7日2024年" << QDate(2024, 7, 5) << false;
    QTest::newRow("two-digit year") << "24 5 7" << QDate(2024, 5, 7) << false;
    QTest::newRow("year only") << "2024" << QDate(2024, 1, 1) << false;
    QTest::newRow("year and month") << "2024 5" << QDate(2024, 5, 1) << false;
    QTest::newRow("letters") << "abc" << QDate() << false;
    QTest::newRow("one group") << "12" << QDate() << false;
    QTest::newRow("month above 12") << "12 25" << QDate() << true;
    QTest::newRow("year in the middle") << "5 2024 7" << QDate(2024, 7, 5) << false;
    QTest::newRow("year beyond 2029") << "2030 1 1" << QDate(2030, 1, 1) << false;
    QTest::newRow("last century") << "1999 5 7" << QDate(2099, 5, 7) << false;
    QTest::newRow("one-digit year") << "7 3 5" << QDate(2007, 3, 5) << false;
    QTest::newRow("digits run together") << "20240507" << QDate() << true;
    QTest::newRow("invalid day") << "2024-02-30" << QDate() << true;
}

void TestSqlText::parseDate()
{
    QFETCH(QString, input);
    QFETCH(QDate, expected);
    QFETCH(bool, fails);
    QString text = input;
    if (fails) {
        QVERIFY_THROWS_EXCEPTION(DateError, ParseDate(text));
        return;
    }
    QCOMPARE(ParseDate(text), expected.isValid() ? expected : QDate::currentDate());
}

void TestSqlText::parseDateRewritesCallersText()
{
    QString text = QStringLiteral("  2024/5/7 ");
    QCOMPARE(ParseDate(text), QDate(2024, 5, 7));
    QCOMPARE(text, QStringLiteral("2024/5/7"));

    text = QStringLiteral("   ");
    QCOMPARE(ParseDate(text), QDate::currentDate());
    QCOMPARE(text, QString());

    text = QStringLiteral("2024?5?7");
    QCOMPARE(ParseDate(text), QDate(2024, 5, 7));
    QCOMPARE(text, QStringLiteral("2024?5?7"));
}

void TestSqlText::leadValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("code and name") << "12 Box" << 12.0;
    QTest::newRow("leading blank") << " 7" << 7.0;
    QTest::newRow("letter first") << "A1 x" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("decimal") << "2.5 kg" << 2.5;
    QTest::newRow("negative") << "-3 y" << -3.0;
    QTest::newRow("no blank") << "42abc" << 42.0;
}

void TestSqlText::leadValue()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadValue(text), expected);
}

void TestSqlText::boxValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "12.5" << 12.5;
    QTest::newRow("blanks inside are dropped") << " 1 2.5 " << 12.5;
    QTest::newRow("tab and line break") << "\t3\r\n" << 3.0;
    QTest::newRow("unit after the number") << "5kg" << 5.0;
    QTest::newRow("no number") << "kg" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("negative") << "-2" << -2.0;
}

void TestSqlText::boxValue()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(BoxValue(text), expected);
}

void TestSqlText::typedNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12.5" << true << 12.5;
    QTest::newRow("blanks inside are dropped") << " 1 2.5 " << true << 12.5;
    QTest::newRow("empty is nothing") << "" << true << 0.0;
    QTest::newRow("negative") << "-2" << true << -2.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("as NumText writes a small one") << "1E-07" << true << 1e-7;
    QTest::newRow("largest kept") << "999999999999999" << true << 999999999999999.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("two points") << "12..5" << false << 0.0;
    QTest::newRow("thousands comma") << "1,000" << false << 0.0;
    QTest::newRow("unit after the number") << "5kg" << false << 0.0;
    QTest::newRow("too large") << "1e308" << false << 0.0;
    QTest::newRow("beyond double") << "1e400" << false << 0.0;
    QTest::newRow("1E+15") << "1000000000000000" << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
}

void TestSqlText::typedNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QFETCH(double, value);
    const std::optional<double> v = TypedNumber(text);
    QCOMPARE(v.has_value(), taken);
    if (taken)
        QCOMPARE(*v, value);
    else
        QVERIFY(NotANumberText(text).contains(text.trimmed()));
}

void TestSqlText::afterSpace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code and name") << "A001 Main store" << "Main store";
    QTest::newRow("code only") << "A001" << "";
    QTest::newRow("two blanks") << "A001  x" << " x";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("surrounding blanks") << " A001 x " << "x";
}

void TestSqlText::afterSpace()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(AfterSpace(text), expected);
}

void TestSqlText::unitName_data()
{
    QTest::addColumn<QString>("codeText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code dot name") << "A001.Main store" << "主仓库";
    QTest::newRow("code only") << " A001 " << "主仓库";
    QTest::newRow("lower-case code") << "a001.x" << "主仓库";
    QTest::newRow("unknown unit") << "Z999.Nobody" << "Z999";
    QTest::newRow("quote in the code") << "O'Hara.x" << "O'Hara";
}

void TestSqlText::unitName()
{
    QFETCH(QString, codeText);
    QFETCH(QString, expected);
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB) VALUES ('A001', '主仓库', 0)"));
    QCOMPARE(UnitName(set.db(), codeText), expected);
}

VX_REGISTER_TEST(TestSqlText)
#include "tst_sqltext.moc"
