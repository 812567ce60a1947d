#include "print/designer/PrintSetupDialog.h"

#include "platform/Database.h"
#include "platform/Messages.h"
#include "platform/Printing.h"
#include "platform/SystemInfo.h"
#include "print/PrintEngine.h"
#include "print/PrintSetStore.h"
#include "print/designer/Named.h"
#include "print/PrinterSettings.h"

#include <QFormLayout>
#include <QFrame>
#include <QListWidget>
#include <QRadioButton>
#include <cmath>

namespace {

QString FormText(const PaperForm& f, int number)
{
    return f.name + QStringLiteral(" - ") + ShortNumber(f.width / 1000.0) + QStringLiteral(" mm X ") +
           ShortNumber(f.height / 1000.0) + QStringLiteral(" mm   (") + QString::number(number) + QLatin1Char(')');
}

const QString Para = QStringLiteral("\n\n");

}  // namespace

PrintSetupDialog::PrintSetupDialog(PrintEngine& engine, Database& db, const QString& appFolder, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_db(db), m_appFolder(appFolder)
{
    setObjectName(QStringLiteral("MyprnDesignPaper"));
    setWindowTitle(QStringLiteral("打印设置"));
    CmbPrinters = Named(new QComboBox(this), "CmbPrinters");
    List1 = Named(new QListWidget(this), "List1");
    Txt = Named(new QLineEdit(this), "Txt");
    TxtW = Named(new QLineEdit(this), "TxtW");
    TxtH = Named(new QLineEdit(this), "TxtH");
    for (QLineEdit* e : {Txt, TxtW, TxtH})
        e->setReadOnly(true);
    auto* add = Named(new QPushButton(QStringLiteral("新建纸张"), this), "Command1");
    add->setToolTip(QStringLiteral("建立新的纸张类型"));
    auto* del = Named(new QPushButton(QStringLiteral("删除纸张"), this), "Command3");
    del->setToolTip(QStringLiteral("删除Vorlix建立的纸张类型"));
    Frm = Named(new QFrame(this), "Frm");
    TxtN = Named(new QLineEdit(Frm), "TxtN");
    TxtWN = Named(new QLineEdit(Frm), "TxtWN");
    TxtHN = Named(new QLineEdit(Frm), "TxtHN");
    auto* create = Named(new QPushButton(QStringLiteral("新建自定义纸张"), Frm), "Command5");
    auto* drop = Named(new QPushButton(QStringLiteral("取 消"), Frm), "Command6");
    auto* frmLayout = new QFormLayout(Frm);
    frmLayout->addRow(QStringLiteral("名称："), TxtN);
    frmLayout->addRow(QStringLiteral("宽度："), TxtWN);
    frmLayout->addRow(QStringLiteral("高度："), TxtHN);
    frmLayout->addRow(create, drop);
    Frm->setVisible(false);
    Opt0 = Named(new QRadioButton(QStringLiteral("纵向打印"), this), "Opt0");
    Opt1 = Named(new QRadioButton(QStringLiteral("横向打印"), this), "Opt1");
    TxtTop = Named(new QLineEdit(this), "TxtTop");
    TxtLeft = Named(new QLineEdit(this), "TxtLeft");
    for (QLineEdit* e : {TxtTop, TxtLeft})
        e->setToolTip(QStringLiteral("可以输入合理的正数或负数"));
    ChkPo0 = Named(new QCheckBox(QStringLiteral("根据版式调整打印机默认方向"), this), "ChkPo0");
    ChkPo1 = Named(new QCheckBox(QStringLiteral("根据打印机默认方向调整版式"), this), "ChkPo1");
    auto* ok = Named(new QPushButton(QStringLiteral("确 定"), this), "Command2");
    ok->setToolTip(QStringLiteral("确认应用以上设置"));
    auto* cancel = Named(new QPushButton(QStringLiteral("取 消"), this), "Command4");
    cancel->setToolTip(QStringLiteral("不改变原设置返回上层界面"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("打印机："), CmbPrinters);
    form->addRow(QStringLiteral("纸张："), List1);
    form->addRow(QString(), Txt);
    form->addRow(QStringLiteral("宽度："), TxtW);
    form->addRow(QStringLiteral("高度："), TxtH);
    auto* paperButtons = new QHBoxLayout;
    paperButtons->addWidget(add);
    paperButtons->addWidget(del);
    form->addRow(QString(), paperButtons);
    form->addRow(QString(), Frm);
    auto* orient = new QHBoxLayout;
    orient->addWidget(Opt0);
    orient->addWidget(Opt1);
    form->addRow(QString(), orient);
    form->addRow(QStringLiteral("上边距："), TxtTop);
    form->addRow(QStringLiteral("左边距："), TxtLeft);
    form->addRow(QString(), ChkPo0);
    form->addRow(QString(), ChkPo1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Loading: the printer, the working paper and the layout's settings.
    const QStringList printers = Printers().printerNames();
    CmbPrinters->addItems(printers);
    // A printer that is no longer installed gives way to the first one; the
    // assignment then counts as changed and OK writes it.
    m_openingPrinter = engine.MyPrinterName;
    if (!printers.contains(engine.MyPrinterName) && !printers.isEmpty())
        engine.MyPrinterName = printers.first();
    CmbPrinters->setCurrentText(engine.MyPrinterName);
    m_paperName = engine.PaperName;
    m_paperW = engine.PaperW;
    m_paperH = engine.PaperH;
    if (engine.DesignWidth <= 0)
        engine.DesignWidth = engine.PaperW;
    Txt->setText(m_paperName);
    TxtW->setText(ShortNumber(m_paperW));
    TxtH->setText(ShortNumber(m_paperH));
    (engine.Porientation == 2 ? Opt1 : Opt0)->setChecked(true);
    TxtTop->setText(ShortNumber(-engine.TopMargin));
    TxtLeft->setText(ShortNumber(-engine.LeftMargin * engine.DesignWidth / engine.PaperW));
    ChkPo0->setChecked(engine.ChangePrinterOrientation);
    ChkPo1->setChecked(!engine.ChangePrinterOrientation);
    loadForms();

    connect(CmbPrinters, &QComboBox::currentTextChanged, this, &PrintSetupDialog::choosePrinter);
    connect(List1, &QListWidget::itemClicked, this, &PrintSetupDialog::chooseForm);
    connect(add, &QPushButton::clicked, this, [this] { Frm->setVisible(true); });
    connect(drop, &QPushButton::clicked, this, [this] { Frm->setVisible(false); });
    connect(create, &QPushButton::clicked, this, &PrintSetupDialog::newPaper);
    connect(del, &QPushButton::clicked, this, &PrintSetupDialog::deletePaper);
    connect(ChkPo0, &QCheckBox::clicked, this, [this](bool on) {
        ChkPo1->setChecked(!on);
        if (on)
            MsgBox(QStringLiteral("程序不能强制改变所有型号打印机的默认打印方向，") + Para +
                   QStringLiteral("请您在选中此项后测试打印效果，") + Para +
                   QStringLiteral("如果效果不佳，请取消此选项，进入打印机首选项界面直接修改默认打印方向。"));
    });
    connect(ChkPo1, &QCheckBox::clicked, this, [this](bool on) { ChkPo0->setChecked(!on); });
    connect(ok, &QPushButton::clicked, this, &PrintSetupDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_engine.MyPrinterName = m_openingPrinter;
        reject();
    });
}

void PrintSetupDialog::loadForms()
{
    List1->clear();
    const std::vector<PaperForm> forms = PrinterSettings::Forms(CmbPrinters->currentText());
    for (size_t i = 0; i < forms.size(); ++i) {
        List1->addItem(FormText(forms[i], int(i) + 1));
        if (forms[i].name.compare(m_paperName, Qt::CaseInsensitive) == 0)
            List1->setCurrentRow(int(i));
    }
}

void PrintSetupDialog::choosePrinter()
{
    m_engine.MyPrinterName = CmbPrinters->currentText();
    loadForms();
}

void PrintSetupDialog::chooseForm()
{
    const QString text = List1->currentItem() ? List1->currentItem()->text() : QString();
    const int cut = text.indexOf(QStringLiteral(" -"));
    if (cut < 0)
        return;
    const std::vector<PaperForm> forms = PrinterSettings::Forms(CmbPrinters->currentText());
    const PaperForm& f = forms.at(size_t(List1->currentRow()));
    m_paperName = text.left(cut);
    m_paperW = std::round(f.width / 1000.0);
    m_paperH = std::round(f.height / 1000.0);
    Txt->setText(m_paperName);
    TxtW->setText(ShortNumber(f.width / 1000.0) + QLatin1Char(' '));
    TxtH->setText(ShortNumber(f.height / 1000.0) + QLatin1Char(' '));
}

void PrintSetupDialog::newPaper()
{
    bool okW = false, okH = false;
    const double w = TxtWN->text().trimmed().toDouble(&okW);
    const double h = TxtHN->text().trimmed().toDouble(&okH);
    if (!okW || w <= 0) {
        MsgBox(QStringLiteral("请输入宽度！"));
        return;
    }
    if (!okH || h <= 0) {
        MsgBox(QStringLiteral("请输入高度！"));
        return;
    }
    if (w > 1000) {
        MsgBox(QStringLiteral("请输入合理的宽度！"));
        return;
    }
    if (h > 1000) {
        MsgBox(QStringLiteral("请输入合理的高度！"));
        return;
    }
    QString name = TxtN->text().trimmed();
    name.remove(QLatin1Char('|')).remove(QLatin1Char(';'));
    if (!name.startsWith(PrinterSettings::CustomPrefix))
        name = PrinterSettings::CustomPrefix + name;
    const std::vector<PaperForm> forms = PrinterSettings::Forms(CmbPrinters->currentText());
    for (const PaperForm& f : forms)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0) {
            MsgBox(QStringLiteral("系统内已经存在名称为[") + name + QStringLiteral("]的纸张类型，请重新命名！"));
            return;
        }
    QString existing;
    const int width = int(std::lround(w * 1000)), height = int(std::lround(h * 1000));
    if (PrinterSettings::FindFormBySize(forms, width, height, existing) > 0) {
        MsgBox(QStringLiteral("系统内已经存在高度宽度相同的纸张类型，名称为：") + existing);
        m_paperName = existing;
    } else {
        PrinterSettings::AddCustomForm({name, width, height});
        m_paperName = name;
    }
    m_paperW = std::round(w);
    m_paperH = std::round(h);
    Txt->setText(m_paperName);
    TxtW->setText(ShortNumber(w));
    TxtH->setText(ShortNumber(h));
    Frm->setVisible(false);
    loadForms();
}

void PrintSetupDialog::deletePaper()
{
    if (!List1->currentItem()) {
        MsgBox(QStringLiteral("请先选择你要删除的纸张！"), MB::OKOnly | MB::Exclamation, QStringLiteral(VX_APP_TITLE));
        return;
    }
    const QString text = List1->currentItem()->text();
    const QString name = text.left(text.indexOf(QStringLiteral(" -")));
    if (!name.startsWith(PrinterSettings::CustomPrefix)) {
        MsgBox(QStringLiteral("只能删除由Vorlix建立(纸张名称以Vorlo开头)的自定义纸张！"));
        return;
    }
    if (MsgBox(QStringLiteral("真的要在打印机[ ") + CmbPrinters->currentText() + QStringLiteral("上删除[") + name +
                   QStringLiteral("]这个纸张类型吗？"),
               MB::YesNo | MB::Question, QStringLiteral(VX_APP_TITLE)) != MB::Yes)
        return;
    if (PrinterSettings::DeleteCustomForm(name)) {
        m_openingPrinter = m_engine.MyPrinterName;
        loadForms();
        MsgBox(name + QStringLiteral(" 成功删除！"));
    } else {
        MsgBox(name + QStringLiteral(" 删除失败！"));
    }
}

void PrintSetupDialog::confirm()
{
    const bool printerChanged = m_engine.MyPrinterName != m_openingPrinter;
    const bool follow = ChkPo0->isChecked();
    const bool switchChanged = follow != m_engine.ChangePrinterOrientation;
    if (printerChanged || switchChanged) {
        // The assignment is written first: when it fails, nothing of the window's choice is taken.
        try {
            PrintSetStore(m_db).Assign(m_engine.Pid, ComputerName(), m_engine.MyPrinterName,
                                       PrintSetStore::StoredPath(m_engine.RptFile, m_appFolder), follow);
        } catch (const DbError& e) {
            MsgBox(QStringLiteral("打印设置无法保存：\n\n") + e.description());
            return;
        }
    }
    m_engine.PaperName = m_paperName;
    m_engine.PaperW = m_paperW;
    m_engine.PaperH = m_paperH;
    m_engine.TopMargin = -LayoutNumber(TxtTop->text().trimmed());
    m_engine.LeftMargin = -LayoutNumber(TxtLeft->text().trimmed()) * (m_engine.PaperW / m_engine.DesignWidth);
    m_engine.Porientation = Opt0->isChecked() ? 1 : 2;
    m_engine.ChangePrinterOrientation = follow;
    accept();
}
