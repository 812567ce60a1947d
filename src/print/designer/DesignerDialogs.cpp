#include "print/designer/DesignerDialogs.h"

#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/SystemInfo.h"
#include "print/PrintEngine.h"
#include "print/PrintSetStore.h"
#include "print/designer/Named.h"
#include "print/TemplateFile.h"

#include <QButtonGroup>
#include <QPixmap>
#include <QRadioButton>

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

// ------------------------------------------------------------ barcode

BarcodeDialog::BarcodeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MyprnBC"));
    setWindowTitle(QStringLiteral(" 条形码设置"));
    auto* explain = new QLabel(QStringLiteral("    系统采用39码制式，能够把半角英文大写字母（A-Z）、半角数字（0-9）、"
                                             "以及五个符号（+-/.$）组成的字符串转换为条形码。"),
                               this);
    explain->setObjectName(QStringLiteral("Label1"));
    explain->setWordWrap(true);
    explain->setStyleSheet(QStringLiteral("color: blue"));
    ChK0 = Named(new QCheckBox(QStringLiteral("选中内容（红色显示部份）以条形码形式打印"), this), "ChK0");
    ChK1 = Named(new QCheckBox(QStringLiteral("条形码下方明码打印原字符内容"), this), "ChK1");
    Lab = Named(new QLabel(QStringLiteral("条形码高度："), this), "Lab");
    Opt2 = Named(new QRadioButton(QStringLiteral("高"), this), "Opt2");
    Opt1 = Named(new QRadioButton(QStringLiteral("中"), this), "Opt1");
    Opt0 = Named(new QRadioButton(QStringLiteral("低"), this), "Opt0");
    auto* ok = Button(this, "Cmd0", QStringLiteral("确 定"));
    auto* cancel = Button(this, "Cmd1", QStringLiteral("取 消"));
    ok->setDefault(true);
    auto* heights = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Lab, Opt2, Opt1, Opt0})
        heights->addWidget(w);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explain);
    layout->addWidget(ChK0);
    layout->addWidget(ChK1);
    layout->addLayout(heights);
    layout->addLayout(buttons);
    showHeights(false);
    connect(ChK0, &QCheckBox::clicked, this, [this](bool on) {
        showHeights(on);
        if (on)
            Opt2->setChecked(true);
        else
            ChK1->setChecked(false);
    });
    connect(ok, &QPushButton::clicked, this, &BarcodeDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BarcodeDialog::showHeights(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ChK1, Lab, Opt0, Opt1, Opt2})
        w->setVisible(on);
}

void BarcodeDialog::preset(int code)
{
    if (code == 0 || code == 1) {
        ChK0->setChecked(false);
        ChK1->setChecked(false);
    } else if (code >= 2 && code <= 7) {
        ChK0->setChecked(true);
        ChK1->setChecked(code % 2 == 1);
        (code <= 3 ? Opt0 : code <= 5 ? Opt1 : Opt2)->setChecked(true);
    }
    showHeights(ChK0->isChecked());
}

void BarcodeDialog::confirm()
{
    if (!ChK0->isChecked()) {
        m_answer = QStringLiteral("0");
    } else {
        const int h = Opt1->isChecked() ? 1 : Opt2->isChecked() ? 2 : 0;
        m_answer = QString::number(10 * (h + 1) + 1 + (ChK1->isChecked() ? 1 : 0));
    }
    accept();
}

// --------------------------------------------------------------- logo

LogoDialog::LogoDialog(PrintEngine& engine, QWidget* parent) : QDialog(parent), m_engine(engine)
{
    setObjectName(QStringLiteral("MyprnLogoPic"));
    setWindowTitle(QStringLiteral(" 设置标志图片"));
    Txt0 = Named(new QLineEdit(ShortNumber(engine.LogoLeft), this), "Txt0");
    Txt1 = Named(new QLineEdit(ShortNumber(engine.LogoTop), this), "Txt1");
    Opt1 = Named(new QRadioButton(QStringLiteral("显示图片"), this), "Opt1");
    Opt0 = Named(new QRadioButton(QStringLiteral("隐藏图片"), this), "Opt0");
    Opt3 = Named(new QRadioButton(QStringLiteral("更换图片"), this), "Opt3");
    Opt2 = Named(new QRadioButton(QStringLiteral("删除图片"), this), "Opt2");
    ChkBG = Named(new QCheckBox(QStringLiteral("图片浮于字表上"), this), "ChkBG");
    Image1 = Named(new QLabel(this), "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    if (!engine.logoPicture.isNull())
        Image1->setPixmap(QPixmap::fromImage(engine.logoPicture));
    (engine.LogoHide ? Opt0 : Opt1)->setChecked(true);
    ChkBG->setChecked(!engine.LogoBG);
    auto* ok = Button(this, "Cmd0", QStringLiteral("确 定"));
    auto* cancel = Button(this, "Cmd1", QStringLiteral("取 消"));
    ok->setDefault(true);
    auto* first = new QHBoxLayout;
    first->addWidget(new QLabel(QStringLiteral("左："), this));
    first->addWidget(Txt0);
    first->addWidget(new QLabel(QStringLiteral("顶："), this));
    first->addWidget(Txt1);
    first->addWidget(Opt1);
    first->addWidget(Opt0);
    auto* second = new QHBoxLayout;
    second->addWidget(ChkBG);
    second->addWidget(Opt3);
    second->addWidget(Opt2);
    second->addWidget(ok);
    second->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(first);
    layout->addLayout(second);
    layout->addWidget(Image1, 1);
    connect(ok, &QPushButton::clicked, this, &LogoDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LogoDialog::confirm()
{
    m_engine.LogoHide = Opt0->isChecked();
    m_engine.LogoLeft = LayoutNumber(Txt0->text().trimmed());
    m_engine.LogoTop = LayoutNumber(Txt1->text().trimmed());
    m_engine.LogoBG = !ChkBG->isChecked();
    if (Opt2->isChecked())
        m_engine.LogoPic.clear();
    else if (Opt3->isChecked())
        m_engine.LogoPic = QStringLiteral("RESELECT");
    accept();
}

// ------------------------------------------------------- template choice

TemplateChoiceDialog::TemplateChoiceDialog(PrintEngine& engine, Database& db, const QString& appFolder,
                                           QWidget* parent)
    : QDialog(parent), m_engine(engine), m_db(db), m_appFolder(appFolder)
{
    setObjectName(QStringLiteral("MyPrinterSetUp"));
    setWindowTitle(QStringLiteral("模版设置"));
    auto* label = Named(new QLabel(QStringLiteral("模版文件"), this), "Label2");
    TxtFile = Named(new QLineEdit(engine.RptFile, this), "TxtFile");
    auto* open = Button(this, "cmdOpen", QStringLiteral("浏览"));
    auto* ok = Button(this, "Cmd0", QStringLiteral("确  定"));
    auto* cancel = Button(this, "Cmd1", QStringLiteral("取 消"));
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(TxtFile, 1);
    row->addWidget(open);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    resize(520, height());
    connect(open, &QPushButton::clicked, this, &TemplateChoiceDialog::browse);
    connect(ok, &QPushButton::clicked, this, &TemplateChoiceDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TemplateChoiceDialog::TemplateMatchesPid(const QString& path, const QString& pid)
{
    QStringList lines;
    if (!TemplateFile::ReadFile(path, lines))
        return false;
    bool anyPid = false;
    for (const QString& line : lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 1 || line.left(eq).toUpper() != QLatin1String("PID"))
            continue;
        anyPid = true;
        if (line.mid(eq + 1).contains(pid))
            return true;
    }
    return !anyPid;
}

void TemplateChoiceDialog::browse()
{
    const QString path = Dialogs().openFile(QStringLiteral("请Vorlix打印模版文件"), TxtFile->text(),
                                            QStringLiteral("Vorlix打印模版文件(*.vxp) (*.vxp)"));
    if (path.isEmpty())
        return;
    if (TemplateMatchesPid(path, m_engine.Pid))
        TxtFile->setText(path);
    else
        MsgBox(QStringLiteral("您选择的文件不是针对［") + m_engine.Pid + QStringLiteral("］设计的打印模版！"));
}

void TemplateChoiceDialog::confirm()
{
    const QString chosen = TxtFile->text();
    if (chosen != m_engine.RptFile) {
        try {
            PrintSetStore(m_db).Assign(m_engine.Pid, ComputerName(), m_engine.MyPrinterName,
                                       PrintSetStore::StoredPath(chosen, m_appFolder),
                                       m_engine.ChangePrinterOrientation);
        } catch (const DbError& e) {
            MsgBox(QStringLiteral("打印设置无法保存：\n\n") + e.description());
            return;
        }
        m_engine.RptFile = chosen;
    }
    accept();
}
