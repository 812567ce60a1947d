#include "accountsets/RefreshForm.h"

#include "accountsets/Refresh.h"
#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("数据维护");
const QString IncompleteText = QStringLiteral("请输入完整条件！");
// The screen is repainted at most this often during a run.
constexpr qint64 PaintIntervalMs = 100;

QLabel* label(QWidget* parent, const char* name, const char* text)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QRadioButton* option(QWidget* parent, const QString& name, const char* text)
{
    auto* o = new QRadioButton(QString::fromUtf8(text), parent);
    o->setObjectName(name);
    return o;
}

QComboBox* matchModes(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems({QStringLiteral("等于"), QStringLiteral("包含"), QStringLiteral("左侧字符为")});
    c->setCurrentIndex(0);
    return c;
}

QFrame* page(QWidget* parent, const char* name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

}  // namespace

ReJxcBox::ReJxcBox(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("ReJxcBox"));
    setWindowTitle(Caption);
    setModal(true);

    const auto button = [this](int index, QWidget* parent, const char* caption) {
        Cmd[size_t(index)] = new QPushButton(QString::fromUtf8(caption), parent);
        Cmd[size_t(index)]->setObjectName(QStringLiteral("Cmd%1").arg(index));
        return Cmd[size_t(index)];
    };

    Frm1 = page(this, "Frm1");
    Opt[0] = option(Frm1, QStringLiteral("Opt0"), "刷新全部货品进销存明细");
    Opt[1] = option(Frm1, QStringLiteral("Opt1"), "刷新货品编码");
    Opt[1]->setChecked(true);
    cmbGx = matchModes(Frm1, "cmbGx");
    txtVal = new QLineEdit(Frm1);
    txtVal->setObjectName(QStringLiteral("txtVal"));
    lab = label(Frm1, "lab", "的货品进销存明细");
    Label1 = label(Frm1, "Label1", "本功能用于修正意外情况造成的货品进销存明细数据不准确的问题。");
    Label1->setWordWrap(true);
    Command1 = new QPushButton(QStringLiteral("修复退库数据错误"), Frm1);
    Command1->setObjectName(QStringLiteral("Command1"));
    {
        auto* g = new QGridLayout(Frm1);
        g->addWidget(Opt[0], 0, 0, 1, 4);
        g->addWidget(Opt[1], 1, 0);
        g->addWidget(cmbGx, 1, 1);
        g->addWidget(txtVal, 1, 2);
        g->addWidget(lab, 1, 3);
        g->addWidget(Label1, 2, 0, 1, 4);
        auto* b = new QHBoxLayout;
        b->addWidget(Command1);
        b->addStretch();
        b->addWidget(button(0, Frm1, "确 定"));
        b->addWidget(button(1, Frm1, "返 回"));
        g->addLayout(b, 3, 0, 1, 4);
        g->setColumnStretch(2, 1);
    }

    Frm3 = page(this, "Frm3");
    OptB[0] = option(Frm3, QStringLiteral("OptB0"), "刷新全部往来帐款明细");
    OptB[1] = option(Frm3, QStringLiteral("OptB1"), "刷新关系单位");
    OptB[1]->setChecked(true);
    CmbGx2 = matchModes(Frm3, "CmbGx2");
    TxtVal2 = new QLineEdit(Frm3);
    TxtVal2->setObjectName(QStringLiteral("TxtVal2"));
    Label5 = label(Frm3, "Label5", "的往来帐款明细");
    Label4 = label(Frm3, "Label4", "本功能用于修正意外情况造成的往来帐款明细数据不准确的问题。");
    Label4->setWordWrap(true);
    {
        auto* g = new QGridLayout(Frm3);
        g->addWidget(OptB[0], 0, 0, 1, 4);
        g->addWidget(OptB[1], 1, 0);
        g->addWidget(CmbGx2, 1, 1);
        g->addWidget(TxtVal2, 1, 2);
        g->addWidget(Label5, 1, 3);
        g->addWidget(Label4, 2, 0, 1, 4);
        auto* b = new QHBoxLayout;
        b->addStretch();
        b->addWidget(button(4, Frm3, "确 定"));
        b->addWidget(button(5, Frm3, "返 回"));
        g->addLayout(b, 3, 0, 1, 4);
        g->setColumnStretch(2, 1);
    }

    Frm4 = page(this, "Frm4");
    Label7 = label(Frm4, "Label7", "如果操作员错误录入了数据，并且在发生了领用出库之后再修改之前的错帐，");
    Label6 = label(Frm4, "Label6", "系统将自动刷新领用出库成本价，但领用单金额合计将不再准确。");
    Label8 = label(Frm4, "Label8", "为解决这个问题，请在这里进行数据刷新操作。");
    {
        auto* v = new QVBoxLayout(Frm4);
        v->addWidget(Label7);
        v->addWidget(Label6);
        v->addWidget(Label8);
        v->addStretch();
        auto* b = new QHBoxLayout;
        b->addStretch();
        b->addWidget(button(6, Frm4, "确 定"));
        b->addWidget(button(7, Frm4, "返 回"));
        v->addLayout(b);
    }

    TabS = new QTabBar(this);
    TabS->setObjectName(QStringLiteral("TabS"));
    TabS->addTab(QStringLiteral("刷新货品进出存明细"));
    pages.push_back(Frm1);
    if (!app.isWarehouseEdition()) {
        TabS->addTab(QStringLiteral("刷新往来帐款明细"));
        pages.push_back(Frm3);
    }
    TabS->addTab(QStringLiteral("刷新单据合计金额"));
    pages.push_back(Frm4);

    PrgRun = new QProgressBar(this);
    PrgRun->setObjectName(QStringLiteral("PrgRun"));
    PrgRun->hide();

    // The pages share one place; the selected tab shows its own.
    auto* layout = new QGridLayout(this);
    layout->addWidget(TabS, 0, 0);
    layout->addWidget(Frm1, 1, 0);
    layout->addWidget(Frm3, 1, 0);
    layout->addWidget(Frm4, 1, 0);
    layout->addWidget(PrgRun, 2, 0);
    TabS->setCurrentIndex(0);
    TabS_Click(0);

    connect(TabS, &QTabBar::currentChanged, this, &ReJxcBox::TabS_Click);
    connect(Cmd[0], &QPushButton::clicked, this, &ReJxcBox::Cmd0_Click);
    connect(Cmd[4], &QPushButton::clicked, this, &ReJxcBox::Cmd4_Click);
    connect(Cmd[6], &QPushButton::clicked, this, &ReJxcBox::Cmd6_Click);
    connect(Command1, &QPushButton::clicked, this, &ReJxcBox::Command1_Click);
    for (int i : {1, 5, 7})
        connect(Cmd[size_t(i)], &QPushButton::clicked, this, &ReJxcBox::reject);
}

void ReJxcBox::TabS_Click(int index)
{
    for (size_t i = 0; i < pages.size(); ++i)
        pages[i]->setVisible(int(i) == index);
    if (app.isWarehouseEdition())
        Frm3->hide();
}

void ReJxcBox::reject()
{
    // A run holds a transaction open; the window stays until it ends.
    if (!running)
        QDialog::reject();
}

void ReJxcBox::showProgress(const QString& item, int done, int total)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastPaint < PaintIntervalMs)
        return;
    lastPaint = now;
    setWindowTitle(item);
    PrgRun->setMaximum(total);
    PrgRun->setValue(done);
    QCoreApplication::processEvents();
}

bool ReJxcBox::run(const std::function<void()>& work)
{
    bool failed = false;
    QString failure;
    {
        BusyPointer busy;
        running = true;
        setEnabled(false);
        PrgRun->setValue(0);
        PrgRun->show();
        lastPaint = 0;
        try {
            work();
        } catch (const DbError& e) {
            failed = true;
            failure = e.description();
        }
        PrgRun->hide();
        setEnabled(true);
        setWindowTitle(Caption);
        running = false;
    }
    if (failed)
        MsgBox(QStringLiteral("刷新没有完成，账套数据保持刷新前的状态。\n\n") + failure, MB::OKOnly | MB::Exclamation);
    return !failed;
}

void ReJxcBox::Cmd0_Click()
{
    if (Opt[1]->isChecked() && txtVal->text().trimmed().isEmpty()) {
        MsgBox(IncompleteText);
        return;
    }
    const CodeCondition filter = Opt[0]->isChecked()
                                     ? CodeCondition{}
                                     : CodeFilter(QStringLiteral("F1"), CodeMatch(cmbGx->currentIndex()), txtVal->text());
    int count = 0;
    const bool done = run([&] {
        count = RefreshGoods(app.CurrentDatabase, PostingRules::of(app), filter,
                             [this](const QString& item, int d, int total) { showProgress(item, d, total); });
    });
    if (!done)
        return;
    if (count > 0)
        MsgBox(QStringLiteral("成功刷新了 ") + QString::number(count) + QStringLiteral(" 个货品的进出存明细！"));
    else
        MsgBox(QStringLiteral("没有找到指定条件的货品编码！"));
}

void ReJxcBox::Cmd4_Click()
{
    if (OptB[1]->isChecked() && TxtVal2->text().trimmed().isEmpty()) {
        MsgBox(IncompleteText);
        return;
    }
    const CodeCondition filter = OptB[0]->isChecked()
                                     ? CodeCondition{}
                                     : CodeFilter(QStringLiteral("F1"), CodeMatch(CmbGx2->currentIndex()), TxtVal2->text());
    int count = 0;
    const bool done = run([&] {
        count = RefreshUnits(app.CurrentDatabase, filter,
                             [this](const QString& item, int d, int total) { showProgress(item, d, total); });
    });
    if (!done)
        return;
    if (count == 0)
        MsgBox(QStringLiteral("没有找到指定条件的关系单位编码！"));
    else
        MsgBox(QStringLiteral("成功刷新了 ") + QString::number(count) + QStringLiteral(" 个关系单位的往来账款明细！"));
}

void ReJxcBox::Cmd6_Click()
{
    if (run([this] { RefreshDocumentTotals(app.CurrentDatabase); }))
        MsgBox(QStringLiteral("操作完成！"));
}

void ReJxcBox::Command1_Click()
{
    if (run([this] { RepairReturnData(app.CurrentDatabase); }))
        MsgBox(QStringLiteral("OK!"));
}
