#include "admin/SysFuncSet.h"

#include "core/App.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "platform/SqlFunctions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

// Every blank, apostrophe, carriage return and line feed taken out of a word.
QString withoutBlanks(QString text)
{
    for (QChar c : {QChar(' '), QChar('\''), QChar(13), QChar(10)})
        text.remove(c);
    return text;
}

}  // namespace


void SysFuncSet::CmdStep_Click(int index)
{
    QPushButton* pressed = CmdStep[index];
    pressed->setEnabled(false);
    int errorStep = 0;
    int page = 0;
    if (index == 0) {
        const QString p = CmbCP->currentText();
        const QString l = CmbLj->currentText();
        if (p == l) {
            MsgBox(QStringLiteral("产成品称谓不能与材料/零件称谓相同!"));
            pressed->setEnabled(true);
            return;
        }
        ChK[19]->setText(p + QStringLiteral("入库时自动扣除") + p + QStringLiteral("所需要的") + l + QStringLiteral("的库存"));
        ChK[20]->setText(p + QStringLiteral("根据") + l + QStringLiteral("成本及费用率自动计算") + p + QStringLiteral("入库参考价"));
        const bool assembly = ChKmoshi[3]->isChecked() || (ChKmoshi[1]->isChecked() && ChKmoshi[2]->isChecked());
        ChK[19]->setVisible(assembly);
        ChK[20]->setVisible(assembly);
        if (!assembly)
            ChK[19]->setChecked(false);
        if (!ChkHP[1]->isChecked())
            ChK[20]->hide();
    }
    try {
        navigate(index == 0 ? 1 : -1, errorStep, page);
    } catch (const DbError&) {
        MsgBox(QStringLiteral("如果您发现错误提示,请告诉我们!错误代码: %1-%2").arg(errorStep).arg(page),
               MB::OKOnly | MB::Information, QStringLiteral("错误提示"));
    }
    pressed->setEnabled(true);
}

void SysFuncSet::navigate(int direction, int& errorStep, int& page)
{
    int c = 0;
    while (c < 5 && FrmStep[c]->isHidden())
        ++c;
    if (c == 5 || c + direction < 0 || c + direction > 4)
        return;
    page = c;
    errorStep = 1;
    FrmStep[c]->hide();

    if (c == 3 && direction == 1) {
        ChK[12]->setVisible(ChKmoshi[0]->isChecked() || ChKmoshi[2]->isChecked());
        CmdStep[0]->hide();
        CmdSave->show();
    } else {
        CmdSave->hide();
        CmdStep[0]->setText(QStringLiteral("下一步"));
        CmdStep[0]->show();
    }
    CmdStep[1]->setVisible(!(c == 1 && direction == -1));
    errorStep = 2;

    if (c == 0 && direction == 1) {
        errorStep = 3;
        rebuildDocumentPage();
        errorStep = 12;
        if (FrmStep[1]->isHidden())
            return;
    }
    errorStep = 13;
    FrmStep[c + direction]->show();
}

void SysFuncSet::rebuildDocumentPage()
{
    for (int k = 0; k < 4; ++k) {
        FrmDan[k]->hide();
        TxtDan[2 * k]->setEnabled(false);
        for (int slot : {2 * k, 2 * k + 1}) {
            LabStar[slot]->setToolTip(QString());
            LabStar[slot]->hide();
        }
    }
    LabStarSM->hide();
    LabStar[8]->hide();
    ChK[13]->hide();
    ChK[14]->hide();
    const std::array<bool, 4> frames = FramesOfFlowModes(currentSettings().ChKmoshi);
    for (int k = 0; k < 4; ++k)
        FrmDan[k]->setVisible(frames[k]);
    if (ChKmoshi[0]->isChecked() || ChKmoshi[1]->isChecked())
        ChK[13]->show();
    if (ChKmoshi[0]->isChecked() || ChKmoshi[2]->isChecked())
        ChK[14]->show();
    if (app.isWarehouseEdition()) {
        ChK[13]->hide();
        ChK[14]->hide();
    }
    CmbDan->clear();
    CmbOD->clear();
    FrmStep[1]->show();
    QApplication::processEvents();

    WizardSettings s = currentSettings();
    RebuildDocumentPage(app, s);
    for (int k = 0; k < 8; k += 2)
        TxtDan[k]->setEnabled(s.TxtDanEnabled[k]);
    ChK[13]->setChecked(s.ChK[13] == 1);
    ChK[14]->setChecked(s.ChK[14] == 1);
    for (const ExtraItemEntry& e : s.extraItems) {
        CmbDan->addItem(e.name, e.id);
        CmbOD->addItem(e.entry);
    }
    if (CmbOD->count() > 0) {
        CmbDan->setCurrentIndex(0);
        CmbOD->setCurrentIndex(0);
        const QString first = CmbOD->itemText(0);
        if (!first.isEmpty())
            CmbSet->setCurrentIndex(ExtraItemShown(first) ? 0 : 1);
    }

    if (!std::any_of(frames.begin(), frames.end(), [](bool f) { return f; })) {
        FrmStep[0]->show();
        CmdStep[1]->hide();
        FrmStep[1]->hide();
        MsgBox(QStringLiteral("请您至少选择一个模式！"));
    }
}

// ---- Rules of the boxes ---------------------------------------------------

void SysFuncSet::ChkHP_Click(int index)
{
    switch (index) {
    case 0:
        CmbHP->setEnabled(ChkHP[0]->isChecked());
        break;
    case 1: {
        const bool on = ChkHP[1]->isChecked();
        CmbLj->setEnabled(on);
        CmbCP->setEnabled(on);
        ChK[23]->setEnabled(on);
        if (!on)
            ChK[23]->setChecked(false);
        ChkHP[2]->setChecked(on);
        ChK[19]->setVisible(on);
        ChK[20]->setVisible(on);
        break;
    }
    case 2:
        ChkHP[1]->setChecked(ChkHP[2]->isChecked());
        break;
    }
}

void SysFuncSet::rebuildWordCaptions()
{
    const QString p = CmbCP->currentText();
    const QString l = CmbLj->currentText();
    ChK[23]->setText(QStringLiteral("基础数据中") + l + QStringLiteral("档案和") + p + QStringLiteral("档案分别管理"));
    LabInfo[8]->setText(l + QStringLiteral("出库时可以按成品/半成品的套数自动列出所需") + l + QStringLiteral("的种类、数量"));
}

void SysFuncSet::cleanWord(QComboBox* box, bool blankSelectsFirst)
{
    const QString text = box->currentText();
    if (text.trimmed().isEmpty()) {
        if (blankSelectsFirst && box->count() > 0) {
            box->setCurrentIndex(0);
            box->setEditText(box->itemText(0));
        }
        return;
    }
    const QString cleaned = withoutBlanks(text);
    if (cleaned != text)
        box->setEditText(cleaned);
}

void SysFuncSet::TxtDan_LostFocus(int k)
{
    const QString name = SqlSafe(TxtDan[k]->text());
    if (name != TxtDan[k]->text())
        TxtDan[k]->setText(name);
    const int i = CmbDan->findData(181 + k);
    if (i >= 0)
        CmbDan->setItemText(i, name);
}

void SysFuncSet::ChK_Click(int index)
{
    QCheckBox* b = ChK[index];
    switch (index) {
    case 4:
        if (!b->isChecked() || LeadingNumber(Txt[4]->text()) == 0)
            Txt[4]->setText(QStringLiteral("0"));
        break;
    case 5: {
        const bool pricesOff = b->isChecked();
        for (int i : {1, 2, 4, 10, 11, 12, 13, 14, 18, 20, 25})
            ChK[i]->setEnabled(!pricesOff);
        Txt[0]->setEnabled(!pricesOff);
        Txt[9]->setEnabled(!pricesOff);
        if (pricesOff)
            ChK[25]->setChecked(false);
        break;
    }
    case 8:
    case 9:
        if (b->isChecked() && !LoadingOptions) {
            const QString text = index == 8 ? StockEditWarning(app.GoodsTerm) : OpeningEditWarning(app.GoodsTerm);
            if (MsgBox(text, MB::OKCancel | MB::Question, QStringLiteral("警告")) != MB::OK)
                b->setChecked(false);
        }
        break;
    case 10:
    case 11:
        if (!b->isChecked())
            b->setChecked(true);
        break;
    case 18:
        if (!b->isChecked())
            ChK[20]->setChecked(false);
        break;
    case 20:
        if (b->isChecked())
            ChK[18]->setChecked(true);
        break;
    default:
        break;
    }
}

void SysFuncSet::ChKDan_Click(int index)
{
    const bool on = ChKDan[index]->isChecked();
    TxtDan[index]->setEnabled(on);
    TxtH[index]->setEnabled(on);
}

void SysFuncSet::Txt_Change(int index)
{
    if (index == 4)
        ChK[4]->setChecked(LeadingNumber(Txt[4]->text()) != 0);
}

void SysFuncSet::Txt_LostFocus(int index)
{
    const int current = index == 9 ? app.PriceDecimals : app.AmountDecimals;
    const QString accepted = AcceptDecimalsEntry(Txt[index]->text(), current);
    if (accepted != Txt[index]->text())
        Txt[index]->setText(accepted);
}
