#include "admin/SysFuncSet.h"

#include "admin/SysFunHpsx.h"
#include "admin/SysfunODset.h"
#include "widgets/WidgetHooks.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

void fill(QComboBox* c, std::initializer_list<const char*> items)
{
    c->clear();
    for (const char* s : items)
        c->addItem(QString::fromUtf8(s));
}

}  // namespace

void SysFuncSet::connectRules()
{
    for (int i = 0; i < 26; ++i)
        connect(ChK[i], &QCheckBox::toggled, this, [this, i] { ChK_Click(i); });
    for (int i : {1, 3, 5, 7})
        connect(ChKDan[i], &QCheckBox::toggled, this, [this, i] { ChKDan_Click(i); });
    for (int i = 0; i < 3; ++i)
        connect(ChkHP[i], &QCheckBox::toggled, this, [this, i] { ChkHP_Click(i); });
    connect(Txt[4], &QLineEdit::textChanged, this, [this] { Txt_Change(4); });
    for (int i : {0, 4, 9}) {
        QLineEdit* t = Txt[i];
        OnFocusIn(t, [t] { t->selectAll(); });
    }
    OnFocusOut(Txt[9], [this] { Txt_LostFocus(9); });
    OnFocusOut(Txt[0], [this] { Txt_LostFocus(0); });
    for (int k = 0; k < 8; ++k) {
        QLineEdit* h = TxtH[k];
        connect(h, &QLineEdit::textEdited, this, [h](const QString& text) {
            const int pos = h->cursorPosition();
            h->setText(text.toUpper());
            h->setCursorPosition(pos);
        });
        OnFocusOut(TxtDan[k], [this, k] { TxtDan_LostFocus(k); });
    }
    connect(CmbCP, &QComboBox::currentTextChanged, this, &SysFuncSet::rebuildWordCaptions);
    connect(CmbLj, &QComboBox::currentTextChanged, this, &SysFuncSet::rebuildWordCaptions);
    OnFocusOut(CmbLj, [this] { cleanWord(CmbLj, true); });
    OnFocusOut(CmbHP, [this] { cleanWord(CmbHP, false); });
    OnClick(Label2, [this] { Label2_Click(); });
    OnClick(LabODset, [this] { LabODset_Click(); });
}
void SysFuncSet::loadSettings()
{
    const WizardSettings s = LoadWizardSettings(app);
    LoadingOptions = true;

    if (app.isWarehouseEdition()) {
        for (QCheckBox* m : ChKmoshi)
            m->setEnabled(false);
        ChK[16]->hide();
        LabInfo[0]->setText(QStringLiteral("本系统支持第二类物流模式（其它模式在《Vorlix进销存管理系统》中可以实现）"));
    }
    for (int k = 0; k < 4; ++k)
        ChKmoshi[k]->setChecked(s.ChKmoshi[k] == 1);
    for (int k = 0; k < 8; ++k) {
        TxtDan[k]->setText(s.TxtDan[k]);
        TxtH[k]->setText(s.TxtH[k]);
    }

    fill(CmbHP, {"货品", "物品", "物资", "商品", "材料", "物料"});
    CmbHP->setCurrentIndex(0);
    fill(CmbLj, {"零件", "配件", "材料"});
    CmbLj->setCurrentIndex(0);
    fill(CmbCP, {"产品", "成品", "产成品", "机型", "整机"});
    CmbCP->setEditText(s.CmbCP);
    fill(CmbSX, {"产地", "原编号", "包装"});
    ChkHP[0]->setChecked(s.ChkHP[0] == 1);
    CmbHP->setEditText(s.CmbHP);
    ChkHP[1]->setChecked(s.ChkHP[1] == 1);
    CmbLj->setEditText(s.CmbLj);
    Txt9181->setText(s.Txt9181);

    for (int k : {1, 3, 5, 7})
        ChKDan[k]->setChecked(s.ChKDan[k] == 1);
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 24, 25})
        ChK[i]->setChecked(s.ChK[i] == 1);
    Txt[9]->setText(s.Txt[9]);
    Txt[0]->setText(s.Txt[0]);

    CmbDay->clear();
    for (int d = 1; d <= 27; ++d)
        CmbDay->addItem(QString::number(d));
    CmbDay->addItem(QStringLiteral("月末"));
    CmbDay->setCurrentIndex(s.CmbDay);
    ChKnext->setChecked(s.ChKnext == 1);
    CmbSet->setCurrentIndex(1);
    if (s.cancelHidden)
        CmdCancel->hide();
    ChK[19]->setText(app.ProductTerm + QStringLiteral("入库时自动扣除") + app.ProductTerm + QStringLiteral("所需要的")
                     + app.PartTerm + QStringLiteral("的库存"));
    CmbSX->setEditText(s.CmbSX);
    ChK[22]->setChecked(s.ChK[22] == 1);
    ChK[23]->setChecked(s.ChK[23] == 1);
    fill(CmbDanPrint, {"可以在任何时间打印", "只能在审核前打印", "只能在审核后打印"});
    CmbDanPrint->setCurrentIndex(s.CmbDanPrint);
    TxtHPSX->setText(s.TxtHPSX);

    for (int i = 1; i < 5; ++i)
        FrmStep[i]->hide();
    CmdStep[1]->hide();
    LoadingOptions = false;
}

WizardSettings SysFuncSet::currentSettings() const
{
    WizardSettings s;
    for (int k = 0; k < 4; ++k)
        s.ChKmoshi[k] = ChKmoshi[k]->isChecked() ? 1 : 0;
    s.CmbDay = CmbDay->currentIndex();
    s.CmbDanPrint = CmbDanPrint->currentIndex();
    for (int k = 0; k < 8; ++k) {
        s.TxtDan[k] = TxtDan[k]->text();
        s.TxtH[k] = TxtH[k]->text();
        s.TxtDanEnabled[k] = TxtDan[k]->isEnabledTo(const_cast<SysFuncSet*>(this));
        if (ChKDan[k])
            s.ChKDan[k] = ChKDan[k]->isChecked() ? 1 : 0;
    }
    for (int i = 0; i < CmbDan->count(); ++i)
        s.extraItems.push_back({CmbDan->itemData(i).toInt(), CmbDan->itemText(i), CmbOD->itemText(i)});
    s.Txt9181 = Txt9181->text();
    s.TxtHPSX = TxtHPSX->text();
    for (int i = 0; i < 3; ++i)
        s.ChkHP[i] = ChkHP[i]->isChecked() ? 1 : 0;
    s.CmbHP = CmbHP->currentText();
    s.CmbLj = CmbLj->currentText();
    s.CmbCP = CmbCP->currentText();
    s.CmbSX = CmbSX->currentText();
    for (int i = 0; i < 26; ++i)
        s.ChK[i] = ChK[i]->isChecked() ? 1 : 0;
    for (int i : {0, 4, 9})
        s.Txt[i] = Txt[i]->text();
    s.ChKnext = ChKnext->isChecked() ? 1 : 0;
    s.cancelHidden = CmdCancel->isHidden();
    return s;
}

int SysFuncSet::extraItemCount() const
{
    return CmbDan->count();
}

QString SysFuncSet::extraItemName(int i) const
{
    return CmbDan->itemText(i);
}

QString SysFuncSet::extraItemEntry(int i) const
{
    return CmbOD->itemText(i);
}

void SysFuncSet::setExtraItemEntry(int i, const QString& entry)
{
    if (i < 0 || i >= CmbOD->count() || CmbOD->itemText(i) == entry)
        return;
    CmbOD->setItemText(i, entry);
    const int slot = CmbDan->itemData(i).toInt() - 181;
    if (slot >= 0 && slot < 8) {
        LabStar[slot]->setToolTip(entry);
        LabStar[slot]->raise();
        LabStar[slot]->show();
    }
    LabStar[8]->show();
    LabStarSM->show();
}

void SysFuncSet::Label2_Click()
{
    SysFunHpsx dialog(*this);
    dialog.exec();
}

void SysFuncSet::LabODset_Click()
{
    SysfunODset dialog(*this);
    dialog.fillFromWizard();
    dialog.exec();
}

void SysFuncSet::CmdSave_Click()
{
    try {
        SaveWizardSettings(app, currentSettings());
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("设置没有保存：") + e.description());
        return;
    }
    MsgBox(QStringLiteral("您的设置已生效！"));
    accept();
}

void SysFuncSet::CmdCancel_Click()
{
    Database& db = app.CurrentDatabase;
    try {
        Transaction tx(db);
        db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetRunWizard});
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, '启动时运行向导')"),
                   {SetRunWizard, ChKnext->isChecked() ? 1 : 0});
        tx.commit();
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    reject();
}

// ---- Pages and navigation -------------------------------------------------
