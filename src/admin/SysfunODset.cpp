#include "admin/SysfunODset.h"

#include "admin/SysFuncSet.h"
#include "widgets/WidgetHooks.h"
#include "admin/WizardSettings.h"
#include "core/SqlText.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString DefaultCaption = QStringLiteral("单据说明");

}  // namespace

SysfunODset::SysfunODset(SysFuncSet& wizard) : QDialog(&wizard), wizard(wizard)
{
    setObjectName(QStringLiteral("SysfunODset"));
    setWindowTitle(QStringLiteral(" 出入库单据增设项目"));
    setModal(true);

    auto* v = new QVBoxLayout(this);
    LabInfo12 = new QLabel(QStringLiteral("系统允许在每个入库、出库、退货单据中增设一个项目，以便更加详细的描述一张单据。\n"
                                          "并且在统计报表中可以按该项目进行筛选查询。\n"
                                          "如果您不需要或不理解此功能，可以不改变设置，对系统没有影响。"),
                           this);
    LabInfo12->setObjectName(QStringLiteral("LabInfo12"));
    LabInfo12->setWordWrap(true);
    v->addWidget(LabInfo12);
    grid = new QGridLayout;
    v->addLayout(grid);

    // Even rows in the left column, odd rows in the right: a type beside its return.
    for (int i = 0; i < 8; ++i) {
        LabDan[i] = new QLabel(this);
        ChK[i] = new QCheckBox(QStringLiteral("设立"), this);
        TxtOD[i] = new QLineEdit(this);
        LabDan[i]->setObjectName(QStringLiteral("LabDan%1").arg(i));
        ChK[i]->setObjectName(QStringLiteral("ChK%1").arg(i));
        TxtOD[i]->setObjectName(QStringLiteral("TxtOD%1").arg(i));
        const int col = (i % 2) * 3;
        grid->addWidget(LabDan[i], i / 2, col);
        grid->addWidget(ChK[i], i / 2, col + 1);
        grid->addWidget(TxtOD[i], i / 2, col + 2);
        colourCaption(TxtOD[i], false);
        for (QWidget* w : std::initializer_list<QWidget*>{LabDan[i], ChK[i], TxtOD[i]})
            w->hide();
        connect(ChK[i], &QCheckBox::toggled, this, [this, i] { ChK_Click(i); });
        OnFocusOut(TxtOD[i], [this, i] { WriteBackExtraItem(i); });
    }

    LabPD = new QLabel(QStringLiteral("库存盘点单"), this);
    ChKPD = new QCheckBox(QStringLiteral("设立"), this);
    TxtPD = new QLineEdit(this);
    CmdOK = new QPushButton(QStringLiteral("确   定"), this);
    LabPD->setObjectName(QStringLiteral("LabPD"));
    ChKPD->setObjectName(QStringLiteral("ChKPD"));
    TxtPD->setObjectName(QStringLiteral("TxtPD"));
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setAutoDefault(false);
    colourCaption(TxtPD, false);
    grid->addWidget(LabPD, 4, 0);
    grid->addWidget(ChKPD, 4, 1);
    grid->addWidget(TxtPD, 4, 2);
    grid->addWidget(CmdOK, 4, 3, 1, 3);
    connect(ChKPD, &QCheckBox::toggled, this, &SysfunODset::ChKPD_Click);
    connect(CmdOK, &QPushButton::clicked, this, &SysfunODset::CmdOK_Click);
}

void SysfunODset::colourCaption(QLineEdit* box, bool on)
{
    box->setEnabled(on);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, on ? QColor(192, 255, 192) : QColor(224, 224, 224));
    box->setPalette(p);
}

void SysfunODset::fillFromWizard()
{
    const int n = std::min(wizard.extraItemCount(), 8);
    for (int i = 0; i < n; ++i) {
        for (QWidget* w : std::initializer_list<QWidget*>{LabDan[i], ChK[i], TxtOD[i]})
            w->show();
        LabDan[i]->setText(wizard.extraItemName(i));
        const QString entry = wizard.extraItemEntry(i);
        TxtOD[i]->setText(ExtraItemCaption(entry));
        ChK[i]->setChecked(!entry.isEmpty() && ExtraItemShown(entry));
    }
    // The stocktaking row and the button take the first free line.
    const int line = n < 7 ? n / 2 : 4;
    for (QWidget* w : std::initializer_list<QWidget*>{LabPD, ChKPD, TxtPD, CmdOK})
        grid->removeWidget(w);
    grid->addWidget(LabPD, line, 0);
    grid->addWidget(ChKPD, line, 1);
    grid->addWidget(TxtPD, line, 2);
    grid->addWidget(CmdOK, line, 3, 1, 3);
    adjustSize();

    if (!wizard.Txt9181->text().isEmpty()) {
        TxtPD->setText(wizard.Txt9181->text());
        ChKPD->setChecked(true);
    }
    QApplication::processEvents();
    BeginWork = 1;
}

void SysfunODset::done(int result)
{
    BeginWork = 0;
    QDialog::done(result);
}

void SysfunODset::ChK_Click(int i)
{
    colourCaption(TxtOD[i], ChK[i]->isChecked());
    WriteBackExtraItem(i);
}

void SysfunODset::ChKPD_Click()
{
    colourCaption(TxtPD, ChKPD->isChecked());
}

void SysfunODset::WriteBackExtraItem(int i)
{
    if (BeginWork == 0)
        return;
    QString caption = SqlSafe(TxtOD[i]->text());
    if (caption.isEmpty())
        caption = DefaultCaption;
    TxtOD[i]->setText(caption);
    wizard.setExtraItemEntry(i, ExtraItemEntryText(ChK[i]->isChecked(), caption));
    QApplication::processEvents();
}

void SysfunODset::CmdOK_Click()
{
    const QString caption = SqlSafe(TxtPD->text());
    TxtPD->setText(caption);
    wizard.Txt9181->setText(ChKPD->isChecked() ? caption : QString());
    QApplication::processEvents();
    accept();
}
