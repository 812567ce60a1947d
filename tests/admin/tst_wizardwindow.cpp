#include "AdminFixture.h"
#include "admin/SysFuncSet.h"
#include "admin/WizardSettings.h"
#include "core/MenuModel.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class WizardWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
    void warehouseModeListsItsTypes();
    void fullEditionFramesFollowTheModes_data();
    void fullEditionFramesFollowTheModes();
    void noModeChosenStaysOnPageOne();
    void equalWordsBlockNext();
    void pagesStepForwardAndBack();
    void decimalsEntry_data();
    void decimalsEntry();
    void decimalsBoxFallsBackToTheValueInForce();
    void confirmations_data();
    void confirmations();
    void quantitiesOnlyDisablesThePriceOptions();
    void referencePriceInterlock();
    void decimalBoxesStayTicked();
    void returnSwitchEnablesItsBoxes();
    void factorBoxFollowsItsText();
    void prefixIsTypedInUpperCase();
    void renamedTypeCarriesIntoTheItemList();
    void extraItemsDialogWritesBack();
    void extraItemsDialogShrinksToItsRows();
    void goodsAttributeDialog_data();
    void goodsAttributeDialog();
    void cancelWritesOnlyRow1000();
    void cancelHiddenUntilTheTitleIsRecorded();
};

namespace {

QCheckBox* chk(QWidget* w, int i)
{
    return child<QCheckBox>(w, QStringLiteral("ChK%1").arg(i));
}

void next(QWidget* w)
{
    child<QPushButton>(w, QStringLiteral("CmdStep0"))->click();
}

int currentPage(QWidget* w)
{
    for (int i = 0; i < 5; ++i)
        if (!child<QFrame>(w, QStringLiteral("FrmStep%1").arg(i))->isHidden())
            return i;
    return -1;
}

void leaveFocus(QWidget* box)
{
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(box, &out);
}

}  // namespace

void WizardWindowTest::load_data()
{
    QTest::addColumn<QString>("sql");       // run before the load
    QTest::addColumn<QString>("globals");   // App fields set before the load
    QTest::addColumn<QString>("expected");  // "name=value" checks on the loaded model

    QTest::newRow("month end") << "" << "ReportStartDay=28" << "CmbDay=27";
    QTest::newRow("day outside the list") << "" << "ReportStartDay=0" << "CmbDay=-1";
    QTest::newRow("print after audit") << "DELETE FROM sysinfo WHERE ID=7716; INSERT INTO sysinfo (ID, setval) VALUES (7716, 2)"
                                       << "" << "CmbDanPrint=2";
    QTest::newRow("unknown print rule") << "UPDATE sysinfo SET setval=3 WHERE ID=7716" << "" << "CmbDanPrint=0";
    QTest::newRow("goods word switched off") << "UPDATE sysinfo SET setval=0, setstr='物资' WHERE ID=91" << ""
                                             << "ChkHP0=0;CmbHP=货品";
    QTest::newRow("parts word on") << "UPDATE sysinfo SET setval=1, setstr='配件' WHERE ID=92" << ""
                                   << "ChkHP1=1;ChkHP2=1;CmbLj=配件";
    QTest::newRow("extra goods attribute") << "INSERT INTO sysinfo (ID, setval, setstr) VALUES (7714, 0, ' 产地 ')" << ""
                                           << "CmbSX=产地;ChK22=1";
    QTest::newRow("auto deduct from the global") << "UPDATE sysinfo SET setval=1, setstr='' WHERE ID=2171"
                                                 << "AutoDeductParts=1" << "ChK19=1";
    QTest::newRow("quantities only clears discount") << "UPDATE sysinfo SET setval=1 WHERE ID=3196" << "WithPrices=0"
                                                     << "ChK5=1;ChK25=0";
    QTest::newRow("cost plus fee brings reference price") << "" << "InboundRefPrice=0;CostPlusFeePrice=1"
                                                          << "ChK18=1;ChK20=1";
    QTest::newRow("null type name") << "UPDATE sysinfo SET setstr=NULL, shuoming=NULL WHERE ID=84" << ""
                                    << "TxtDan3=未定义单据;TxtH3=TH";
    QTest::newRow("return switched off still offered") << "UPDATE sysinfo SET setval=0 WHERE ID=82" << ""
                                                       << "ChKDan1=1;TxtDanEnabled1=1";
    QTest::newRow("no type rows") << "DELETE FROM sysinfo WHERE ID>80 AND ID<89" << ""
                                  << "TxtDan0=采购入库单;TxtH6=CK;TxtDanEnabled7=1";
    QTest::newRow("warehouse edition ignores row 80") << "UPDATE sysinfo SET setval=1010 WHERE ID=80" << ""
                                                      << "ChKmoshi0=0;ChKmoshi1=1;ChKmoshi2=0;ChKmoshi3=0";
    QTest::newRow("empty thever hides cancel") << "DELETE FROM thever" << "" << "cancelHidden=1";
    QTest::newRow("recorded title shows cancel") << "UPDATE thever SET exename='Vorlix仓库管理系统'" << ""
                                                 << "cancelHidden=0";
}

void WizardWindowTest::load()
{
    QFETCH(QString, sql);
    QFETCH(QString, globals);
    QFETCH(QString, expected);
    LoadedAccountSet set;
    if (!sql.isEmpty())
        set.db().executeScript(sql);
    App& a = set.app();
    for (const QString& g : globals.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = g.section(QLatin1Char('='), 0, 0);
        const int v = g.section(QLatin1Char('='), 1).toInt();
        int* field = name == QLatin1String("ReportStartDay") ? &a.ReportStartDay
            : name == QLatin1String("AutoDeductParts")       ? &a.AutoDeductParts
            : name == QLatin1String("WithPrices")            ? &a.WithPrices
            : name == QLatin1String("InboundRefPrice")       ? &a.InboundRefPrice
                                                             : &a.CostPlusFeePrice;
        *field = v;
    }
    const WizardSettings s = LoadWizardSettings(a);

    // Compare through the same names the choices use.
    for (const QString& check : expected.split(QLatin1Char(';'))) {
        const QString name = check.section(QLatin1Char('='), 0, 0);
        const QString value = check.section(QLatin1Char('='), 1);
        if (name == QLatin1String("cancelHidden")) {
            QCOMPARE(s.cancelHidden, value == QLatin1String("1"));
            continue;
        }
        WizardSettings probe = s;
        ApplyChoices(probe, check);
        QVERIFY2(probe.CmbDay == s.CmbDay && probe.CmbDanPrint == s.CmbDanPrint && probe.CmbHP == s.CmbHP
                     && probe.CmbLj == s.CmbLj && probe.CmbSX == s.CmbSX && probe.ChK == s.ChK
                     && probe.ChkHP == s.ChkHP && probe.ChKmoshi == s.ChKmoshi && probe.TxtDan == s.TxtDan
                     && probe.TxtH == s.TxtH && probe.TxtDanEnabled == s.TxtDanEnabled && probe.ChKDan == s.ChKDan,
                 qPrintable(check));
    }

    // The window shows the same state.
    MessageScript msgs;
    SysFuncSet wizard(a);
    const WizardSettings shown = wizard.currentSettings();
    QVERIFY(shown.ChK == s.ChK);
    QVERIFY(shown.TxtDan == s.TxtDan);
    QCOMPARE(shown.CmbDay, s.CmbDay);
    QCOMPARE(shown.CmbHP, s.CmbHP);
    QCOMPARE(shown.cancelHidden, s.cancelHidden);
    QCOMPARE(msgs.count(), 0);
}

void WizardWindowTest::warehouseModeListsItsTypes()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    next(&wizard);
    QCOMPARE(currentPage(&wizard), 1);
    auto* dan = child<QComboBox>(&wizard, QStringLiteral("CmbDan"));
    QCOMPARE(dan->count(), 4);
    const int ids[] = {181, 182, 185, 186};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(dan->itemData(i).toInt(), ids[i]);
    QCOMPARE(dan->itemText(2), QStringLiteral("部门领用单"));
    QCOMPARE(wizard.extraItemEntry(0), QStringLiteral("隐藏-订单号"));
    QVERIFY(!child<QFrame>(&wizard, QStringLiteral("FrmDan0"))->isHidden());
    QVERIFY(child<QFrame>(&wizard, QStringLiteral("FrmDan1"))->isHidden());
    QVERIFY(!child<QFrame>(&wizard, QStringLiteral("FrmDan2"))->isHidden());
    QVERIFY(child<QFrame>(&wizard, QStringLiteral("FrmDan3"))->isHidden());
    QVERIFY(chk(&wizard, 13)->isHidden() && !chk(&wizard, 13)->isChecked());
    QVERIFY(chk(&wizard, 14)->isHidden() && !chk(&wizard, 14)->isChecked());
    QVERIFY(!child<QLineEdit>(&wizard, QStringLiteral("TxtDan2"))->isEnabled());
    next(&wizard);
    next(&wizard);
    next(&wizard);
    QCOMPARE(currentPage(&wizard), 4);
    QVERIFY(chk(&wizard, 12)->isHidden());
    QVERIFY(chk(&wizard, 19)->isHidden() && !chk(&wizard, 19)->isChecked());
    QVERIFY(chk(&wizard, 20)->isHidden());
    QVERIFY(!child<QPushButton>(&wizard, QStringLiteral("CmdSave"))->isHidden());
    QVERIFY(child<QPushButton>(&wizard, QStringLiteral("CmdStep0"))->isHidden());
}

void WizardWindowTest::fullEditionFramesFollowTheModes_data()
{
    QTest::addColumn<QString>("modes");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<bool>("assembly");
    QTest::newRow("trade") << "1000" << "1001" << false;
    QTest::newRow("purchase and production sales") << "0110" << "1111" << true;
    QTest::newRow("internal only") << "0001" << "0110" << true;
}

void WizardWindowTest::fullEditionFramesFollowTheModes()
{
    QFETCH(QString, modes);
    QFETCH(QString, frames);
    QFETCH(bool, assembly);
    LoadedAccountSet set;
    set.app().AppTitle = QStringLiteral("Vorlix进销存管理系统");
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval=1, setstr='零件' WHERE ID=92"));
    SysFuncSet wizard(set.app());
    for (int k = 0; k < 4; ++k)
        child<QCheckBox>(&wizard, QStringLiteral("ChKmoshi%1").arg(k))->setChecked(modes[k] == QLatin1Char('1'));
    next(&wizard);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(!child<QFrame>(&wizard, QStringLiteral("FrmDan%1").arg(k))->isHidden(), frames[k] == QLatin1Char('1'));
    QCOMPARE(!chk(&wizard, 19)->isHidden(), assembly);
    QCOMPARE(!chk(&wizard, 20)->isHidden(), assembly);
}

void WizardWindowTest::noModeChosenStaysOnPageOne()
{
    LoadedAccountSet set;
    set.app().AppTitle = QStringLiteral("Vorlix进销存管理系统");
    SysFuncSet wizard(set.app());
    for (int k = 0; k < 4; ++k)
        child<QCheckBox>(&wizard, QStringLiteral("ChKmoshi%1").arg(k))->setChecked(false);
    MessageScript msgs;
    msgs.expect(QStringLiteral("请您至少选择一个模式！"));
    next(&wizard);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(currentPage(&wizard), 0);
    QVERIFY(child<QPushButton>(&wizard, QStringLiteral("CmdStep1"))->isHidden());
    QVERIFY(child<QPushButton>(&wizard, QStringLiteral("CmdStep0"))->isEnabled());
}

void WizardWindowTest::equalWordsBlockNext()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    child<QComboBox>(&wizard, QStringLiteral("CmbCP"))->setEditText(QStringLiteral("零件"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("产成品称谓不能与材料/零件称谓相同!"));
    next(&wizard);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(currentPage(&wizard), 0);
}

void WizardWindowTest::pagesStepForwardAndBack()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    auto* back = child<QPushButton>(&wizard, QStringLiteral("CmdStep1"));
    QVERIFY(back->isHidden());
    for (int i = 0; i < 4; ++i)
        next(&wizard);
    back->click();
    QCOMPARE(currentPage(&wizard), 3);
    QVERIFY(!child<QPushButton>(&wizard, QStringLiteral("CmdStep0"))->isHidden());
    QVERIFY(child<QPushButton>(&wizard, QStringLiteral("CmdSave"))->isHidden());
    for (int i = 0; i < 3; ++i)
        back->click();
    QCOMPARE(currentPage(&wizard), 0);
    QVERIFY(back->isHidden());
}

void WizardWindowTest::decimalsEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("above the limit") << "13" << "3";
    QTest::newRow("negative") << "-1" << "3";
    QTest::newRow("leading zero") << "02" << "3";
    QTest::newRow("leading blank") << " 2" << "3";
    QTest::newRow("decimal zero") << "2.0" << "3";
    QTest::newRow("empty") << "" << "3";
    QTest::newRow("decimal comma") << "2,5" << "3";
    QTest::newRow("limit") << "12" << "12";
    QTest::newRow("fraction") << "2.5" << "2";
    QTest::newRow("zero") << "0" << "0";
}

void WizardWindowTest::decimalsEntry()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QCOMPARE(AcceptDecimalsEntry(typed, 3), result);
}

void WizardWindowTest::decimalsBoxFallsBackToTheValueInForce()
{
    LoadedAccountSet set;
    set.app().PriceDecimals = 4;
    SysFuncSet wizard(set.app());
    auto* box = child<QLineEdit>(&wizard, QStringLiteral("Txt9"));
    box->setText(QStringLiteral("7"));
    leaveFocus(box);
    QCOMPARE(box->text(), QStringLiteral("7"));
    box->setText(QStringLiteral("15"));
    leaveFocus(box);
    QCOMPARE(box->text(), QStringLiteral("4"));
}

void WizardWindowTest::confirmations_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ticked");
    const QString cr(QChar(13));
    const QString stock = QStringLiteral("直接修改库存数会造成进出存报表不准确，不推荐开放此功能。") + cr + cr
        + QStringLiteral("但如果出于确实需要，此功能也会给您带来一些方便，请慎重使用。") + cr + cr
        + QStringLiteral("此功能只允许系统管理员001在[基础数据]->[物资编码资料]中操作。") + cr + cr
        + QStringLiteral("确定开放此功能吗？");
    const QString opening
        = QStringLiteral("随意修改年初余额（年初数量、单价）可能造成进出存报表不准确，不推荐开放此功能，请慎重使用!") + cr + cr
        + QStringLiteral("此功能只允许系统管理员001在[基础数据]->[物资编码资料]中操作。") + cr + cr
        + QStringLiteral("确定开放此功能吗？");
    QTest::newRow("stock, OK") << 8 << stock << int(MB::OK) << true;
    QTest::newRow("stock, cancel") << 8 << stock << int(MB::Cancel) << false;
    QTest::newRow("opening, OK") << 9 << opening << int(MB::OK) << true;
    QTest::newRow("opening, cancel") << 9 << opening << int(MB::Cancel) << false;
}

void WizardWindowTest::confirmations()
{
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(bool, ticked);
    LoadedAccountSet set;
    set.app().GoodsTerm = QStringLiteral("物资");
    set.app().AdminEditStock = 1;  // loaded ticked: no question while loading
    MessageScript msgs;
    SysFuncSet wizard(set.app());
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(chk(&wizard, 8)->isChecked(), true);
    chk(&wizard, 8)->setChecked(false);
    QCOMPARE(msgs.count(), 0);  // clearing asks nothing

    msgs.expect(text, answer);
    chk(&wizard, box)->setChecked(true);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, text);
    QCOMPARE(msgs.last().title, QStringLiteral("警告"));
    QCOMPARE(msgs.last().buttons(), MB::OKCancel);
    QCOMPARE(msgs.last().icon(), MB::Question);
    QCOMPARE(chk(&wizard, box)->isChecked(), ticked);
}

void WizardWindowTest::quantitiesOnlyDisablesThePriceOptions()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    chk(&wizard, 25)->setChecked(true);
    chk(&wizard, 5)->setChecked(true);
    const int group[] = {1, 2, 4, 10, 11, 12, 13, 14, 18, 20, 25};
    for (int i : group)
        QVERIFY2(!chk(&wizard, i)->isEnabled(), qPrintable(QString::number(i)));
    QVERIFY(!child<QLineEdit>(&wizard, QStringLiteral("Txt0"))->isEnabled());
    QVERIFY(!child<QLineEdit>(&wizard, QStringLiteral("Txt9"))->isEnabled());
    QVERIFY(!chk(&wizard, 25)->isChecked());
    chk(&wizard, 5)->setChecked(false);
    for (int i : group)
        QVERIFY(chk(&wizard, i)->isEnabled());
    QVERIFY(!chk(&wizard, 25)->isChecked());
}

void WizardWindowTest::referencePriceInterlock()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    chk(&wizard, 20)->setChecked(true);
    QVERIFY(chk(&wizard, 18)->isChecked());
    chk(&wizard, 18)->setChecked(false);
    QVERIFY(!chk(&wizard, 20)->isChecked());
}

void WizardWindowTest::decimalBoxesStayTicked()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    chk(&wizard, 10)->click();
    chk(&wizard, 11)->click();
    QVERIFY(chk(&wizard, 10)->isChecked());
    QVERIFY(chk(&wizard, 11)->isChecked());
}

void WizardWindowTest::returnSwitchEnablesItsBoxes()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    auto* name = child<QLineEdit>(&wizard, QStringLiteral("TxtDan3"));
    auto* prefix = child<QLineEdit>(&wizard, QStringLiteral("TxtH3"));
    child<QCheckBox>(&wizard, QStringLiteral("ChKDan3"))->setChecked(false);
    QVERIFY(!name->isEnabled() && !prefix->isEnabled());
    child<QCheckBox>(&wizard, QStringLiteral("ChKDan3"))->setChecked(true);
    QVERIFY(name->isEnabled() && prefix->isEnabled());
    QCOMPARE(name->text(), QStringLiteral("次品返工单"));
}

void WizardWindowTest::factorBoxFollowsItsText()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    auto* factor = child<QLineEdit>(&wizard, QStringLiteral("Txt4"));
    factor->setText(QStringLiteral("1.5"));
    QVERIFY(chk(&wizard, 4)->isChecked());
    factor->setText(QString());
    QVERIFY(!chk(&wizard, 4)->isChecked());
    QCOMPARE(factor->text(), QStringLiteral("0"));
}

void WizardWindowTest::prefixIsTypedInUpperCase()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    auto* prefix = child<QLineEdit>(&wizard, QStringLiteral("TxtH0"));
    prefix->clear();
    QTest::keyClicks(prefix, QStringLiteral("ab"));
    QCOMPARE(prefix->text(), QStringLiteral("AB"));
    QTest::keyClicks(prefix, QStringLiteral("c"));
    QCOMPARE(prefix->text(), QStringLiteral("ABC"));
}

void WizardWindowTest::renamedTypeCarriesIntoTheItemList()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    next(&wizard);
    auto* name = child<QLineEdit>(&wizard, QStringLiteral("TxtDan4"));
    name->setText(QStringLiteral("领料单'"));
    leaveFocus(name);
    QCOMPARE(name->text(), QStringLiteral("领料单'"));
    QCOMPARE(wizard.extraItemName(2), QStringLiteral("领料单'"));
}

void WizardWindowTest::extraItemsDialogWritesBack()
{
    LoadedAccountSet set;
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval=1 WHERE ID=182"));
    SysFuncSet wizard(set.app());
    next(&wizard);
    QCOMPARE(wizard.extraItemEntry(1), QStringLiteral("显示-订单号"));

    bool ran = false;
    WhenModal([&](QWidget* dialog) {
        ran = true;
        QCOMPARE(dialog->objectName(), QStringLiteral("SysfunODset"));
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("LabDan0"))->text(), QStringLiteral("采购入库单"));
        QVERIFY(!child<QCheckBox>(dialog, QStringLiteral("ChK0"))->isChecked());
        QVERIFY(child<QCheckBox>(dialog, QStringLiteral("ChK1"))->isChecked());
        QVERIFY(child<QLabel>(dialog, QStringLiteral("LabDan4"))->isHidden());
        // Ticked with an empty caption: the default caption goes back.
        auto* caption0 = child<QLineEdit>(dialog, QStringLiteral("TxtOD0"));
        caption0->clear();
        child<QCheckBox>(dialog, QStringLiteral("ChK0"))->setChecked(true);
        // Unticking keeps the caption; ticking again restores the entry.
        child<QCheckBox>(dialog, QStringLiteral("ChK1"))->setChecked(false);
        QCOMPARE(wizard.extraItemEntry(1), QStringLiteral("隐藏-订单号"));
        child<QCheckBox>(dialog, QStringLiteral("ChK1"))->setChecked(true);
        auto* caption3 = child<QLineEdit>(dialog, QStringLiteral("TxtOD3"));
        child<QCheckBox>(dialog, QStringLiteral("ChK3"))->setChecked(true);
        caption3->setText(QStringLiteral("领料人'？\""));
        leaveFocus(caption3);
        child<QCheckBox>(dialog, QStringLiteral("ChKPD"))->setChecked(true);
        child<QLineEdit>(dialog, QStringLiteral("TxtPD"))->setText(QStringLiteral("盘点人"));
        child<QPushButton>(dialog, QStringLiteral("CmdOK"))->click();
    });
    QTest::mouseClick(child<QLabel>(&wizard, QStringLiteral("LabODset")), Qt::LeftButton);
    QVERIFY(ran);
    QCOMPARE(wizard.extraItemEntry(0), QStringLiteral("显示-单据说明"));
    QCOMPARE(wizard.extraItemEntry(1), QStringLiteral("显示-订单号"));
    QCOMPARE(wizard.extraItemEntry(3), QStringLiteral("显示-领料人'？\""));
    QCOMPARE(wizard.Txt9181->text(), QStringLiteral("盘点人"));
    QVERIFY(!child<QLabel>(&wizard, QStringLiteral("LabStar0"))->isHidden());
    QVERIFY(!child<QLabel>(&wizard, QStringLiteral("LabStar1"))->isHidden());
    QVERIFY(child<QLabel>(&wizard, QStringLiteral("LabStar4"))->isHidden());
    QVERIFY(!child<QLabel>(&wizard, QStringLiteral("LabStarSM"))->isHidden());

    // The save writes what the dialog left.
    for (int i = 0; i < 3; ++i)
        next(&wizard);
    MessageScript msgs;
    msgs.expect(QStringLiteral("您的设置已生效！"));
    child<QPushButton>(&wizard, QStringLiteral("CmdSave"))->click();
    QCOMPARE(SetVal(set.db(), 181).toInt(), 1);
    QCOMPARE(SetStr(set.db(), 181).toString(), QStringLiteral("单据说明"));
    QCOMPARE(SetStr(set.db(), 186).toString(), QStringLiteral("领料人'？\""));
    QCOMPARE(SetStr(set.db(), 9181).toString(), QStringLiteral("盘点人"));
    QCOMPARE(SetStr(set.db(), 183).toString(), QStringLiteral("订单号"));  // not in use: untouched
}

void WizardWindowTest::extraItemsDialogShrinksToItsRows()
{
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    next(&wizard);
    bool ran = false;
    WhenModal([&](QWidget* dialog) {
        ran = true;
        // Four types: the stocktaking row stands on the third line, beside the button.
        auto* ok = child<QPushButton>(dialog, QStringLiteral("CmdOK"));
        auto* pd = child<QLineEdit>(dialog, QStringLiteral("TxtPD"));
        auto* fourth = child<QLineEdit>(dialog, QStringLiteral("TxtOD3"));
        QVERIFY(pd->geometry().top() > fourth->geometry().top());
        QVERIFY(qAbs(pd->geometry().center().y() - ok->geometry().center().y()) < 8);
        // Ticked with an empty caption the stocktaking row names no item.
        child<QCheckBox>(dialog, QStringLiteral("ChKPD"))->setChecked(true);
        ok->click();
    });
    QTest::mouseClick(child<QLabel>(&wizard, QStringLiteral("LabODset")), Qt::LeftButton);
    QVERIFY(ran);
    QCOMPARE(wizard.Txt9181->text(), QString());
}

void WizardWindowTest::goodsAttributeDialog_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("result");
    QTest::newRow("blanks only") << true << "   " << "请填写或在下拉框选择货品动态属性！" << "批号";
    QTest::newRow("quote and question mark as typed") << true << "it's?" << "" << "it's?";
    QTest::newRow("none wanted") << false << "颜色" << "" << "";
}

void WizardWindowTest::goodsAttributeDialog()
{
    QFETCH(bool, named);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, result);
    LoadedAccountSet set;
    SysFuncSet wizard(set.app());
    next(&wizard);
    MessageScript msgs;
    if (!message.isEmpty())
        msgs.expect(message);
    bool ran = false;
    WhenModal([&](QWidget* dialog) {
        ran = true;
        QCOMPARE(child<QComboBox>(dialog, QStringLiteral("Cmb"))->currentText(), QStringLiteral("批号"));
        QVERIFY(child<QRadioButton>(dialog, QStringLiteral("Opt1"))->isChecked());
        child<QRadioButton>(dialog, QString::fromLatin1(named ? "Opt1" : "Opt0"))->setChecked(true);
        child<QComboBox>(dialog, QStringLiteral("Cmb"))->setEditText(typed);
        child<QPushButton>(dialog, QStringLiteral("Cmd0"))->click();
        if (dialog->isVisible())
            child<QPushButton>(dialog, QStringLiteral("Cmd1"))->click();
    });
    QTest::mouseClick(child<QLabel>(&wizard, QStringLiteral("Label2")), Qt::LeftButton);
    QVERIFY(ran);
    QCOMPARE(msgs.count(), message.isEmpty() ? 0 : 1);
    QCOMPARE(wizard.TxtHPSX->text(), result);
}

void WizardWindowTest::cancelWritesOnlyRow1000()
{
    LoadedAccountSet set;
    set.db().execute(QStringLiteral("UPDATE thever SET exename = ?"), {set.app().AppTitle});
    const auto before = SettingsSnapshot(set.db());
    SysFuncSet wizard(set.app());
    chk(&wizard, 3)->setChecked(true);
    child<QCheckBox>(&wizard, QStringLiteral("ChKnext"))->setChecked(false);
    auto* cancel = child<QPushButton>(&wizard, QStringLiteral("CmdCancel"));
    QVERIFY(!cancel->isHidden());
    cancel->click();
    QCOMPARE(wizard.result(), int(QDialog::Rejected));
    auto after = SettingsSnapshot(set.db());
    QCOMPARE(after[1000].size(), 1);
    QCOMPARE(after[1000][0].setval.toInt(), 0);
    QCOMPARE(after[1000][0].setstr.toString(), QStringLiteral("启动时运行向导"));
    after.remove(1000);
    auto unchanged = before;
    unchanged.remove(1000);
    QVERIFY(after == unchanged);
}

void WizardWindowTest::cancelHiddenUntilTheTitleIsRecorded()
{
    LoadedAccountSet set;
    set.loginAs(QStringLiteral("001"));
    {
        SysFuncSet wizard(set.app());
        QVERIFY(child<QPushButton>(&wizard, QStringLiteral("CmdCancel"))->isHidden());
        for (int i = 0; i < 4; ++i)
            next(&wizard);
        MessageScript msgs;
        msgs.expect(QStringLiteral("您的设置已生效！"));
        child<QPushButton>(&wizard, QStringLiteral("CmdSave"))->click();
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
    }
    QCOMPARE(SqlScalar(set.db(), QStringLiteral("SELECT versn FROM thever")), set.app().EditionName);
    SysFuncSet again(set.app());
    QVERIFY(!child<QPushButton>(&again, QStringLiteral("CmdCancel"))->isHidden());
}

VX_REGISTER_TEST(WizardWindowTest)
#include "tst_wizardwindow.moc"
