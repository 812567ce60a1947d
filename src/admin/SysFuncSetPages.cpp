#include "admin/SysFuncSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The wizard's controls and their layout: five pages over each other, the
// navigation buttons below them.

namespace {

template <class W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QString idx(const char* base, int i)
{
    return QString::fromLatin1(base) + QString::number(i);
}

QLabel* title(QWidget* parent, int i, const QString& text)
{
    auto* l = named(new QLabel(text, parent), idx("Lab", i));
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    l->setFont(f);
    return l;
}

QLabel* info(QWidget* parent, int i, const QString& text)
{
    auto* l = named(new QLabel(text, parent), idx("LabInfo", i));
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color: blue;"));
    return l;
}

QCheckBox* box(QWidget* parent, const QString& name, const QString& caption)
{
    return named(new QCheckBox(caption, parent), name);
}

QLabel* link(QWidget* parent, const QString& name, const QString& caption)
{
    auto* l = named(new QLabel(caption, parent), name);
    l->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* h = new QHBoxLayout;
    for (QWidget* w : widgets)
        h->addWidget(w);
    h->addStretch(1);
    return h;
}

QComboBox* combo(QWidget* parent, const QString& name, bool editable)
{
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(editable);
    return c;
}

}  // namespace
SysFuncSet::SysFuncSet(App& app, QWidget* parent) : QDialog(parent), app(app)
{
    setObjectName(QStringLiteral("SysFuncSet"));
    setWindowTitle(QStringLiteral("系统设置向导"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    for (int i = 0; i < 5; ++i) {
        FrmStep[i] = named(new QFrame(this), idx("FrmStep", i));
        outer->addWidget(FrmStep[i]);
    }
    buildPage1(FrmStep[0]);
    buildPage2(FrmStep[1]);
    buildPage3(FrmStep[2]);
    buildPage4(FrmStep[3]);
    buildPage5(FrmStep[4]);
    outer->addStretch(1);

    ChKnext = box(this, QStringLiteral("ChKnext"), QStringLiteral("下次启动软件时运行本向导"));
    ChKnext->setChecked(true);
    CmdStep[1] = named(new QPushButton(QStringLiteral("上一步"), this), QStringLiteral("CmdStep1"));
    CmdStep[0] = named(new QPushButton(QStringLiteral("下一步"), this), QStringLiteral("CmdStep0"));
    CmdSave = named(new QPushButton(QStringLiteral("保存设置"), this), QStringLiteral("CmdSave"));
    CmdSave->hide();
    CmdCancel = named(new QPushButton(QStringLiteral("退出向导"), this), QStringLiteral("CmdCancel"));
    for (QPushButton* b : {CmdStep[0], CmdStep[1], CmdSave, CmdCancel})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ChKnext);
    buttons->addStretch(1);
    buttons->addWidget(CmdStep[1]);
    buttons->addWidget(CmdStep[0]);
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdCancel);
    outer->addLayout(buttons);

    connect(CmdStep[0], &QPushButton::clicked, this, [this] { CmdStep_Click(0); });
    connect(CmdStep[1], &QPushButton::clicked, this, [this] { CmdStep_Click(1); });
    connect(CmdSave, &QPushButton::clicked, this, &SysFuncSet::CmdSave_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &SysFuncSet::CmdCancel_Click);
    connectRules();
    resize(7440 / 15, 5655 / 15);
    loadSettings();
}
void SysFuncSet::buildPage1(QFrame* page)
{
    auto* v = new QVBoxLayout(page);
    Lab[0] = title(page, 0, QStringLiteral("第一步：模式选择"));
    LabInfo[12] = info(page, 12, QStringLiteral("Vorlix为您提供结构清晰、操作便捷、设置灵活的货品进销存管理平台，"));
    LabInfo[0] = info(page, 0, QStringLiteral("请从下面列表中选择您需要的货品流动模式，可以同时选择多项："));
    v->addWidget(Lab[0]);
    v->addWidget(LabInfo[12]);
    v->addWidget(LabInfo[0]);
    const char* modes[] = {"供货商--->仓库--->客户  （商业模式）  ", "供货商--->仓库--->内部部门  （采购-内部领用模式）  ",
                           "内部部门--->仓库--->客户  （产成品销售模式）  ", "内部部门--->仓库--->内部部门  （内部物流模式）  "};
    for (int k = 0; k < 4; ++k) {
        ChKmoshi[k] = box(page, idx("ChKmoshi", k), QString::fromUtf8(modes[k]));
        v->addWidget(ChKmoshi[k]);
    }
    ChK[16] = box(page, QStringLiteral("ChK16"), QStringLiteral("允许特定的往来单位具有供应商及客户双重身份"));
    ChK[16]->setToolTip(QStringLiteral("选定此项，即可在供应商及客户档案中设置某些单位具有双重身份"));
    ChK[17] = box(page, QStringLiteral("ChK17"), QStringLiteral("设置客户相关文档文件夹链接功能"));
    ChK[17]->hide();
    v->addWidget(ChK[16]);
    v->addWidget(ChK[17]);

    Label1 = named(new QLabel(QStringLiteral("报表统计日期默认从每月"), page), QStringLiteral("Label1"));
    CmbDay = combo(page, QStringLiteral("CmbDay"), false);
    v->addLayout(row({Label1, CmbDay, new QLabel(QStringLiteral("日开始"), page)}));
    Label3 = named(new QLabel(QStringLiteral("所有需要打印输出的单据"), page), QStringLiteral("Label3"));
    CmbDanPrint = combo(page, QStringLiteral("CmbDanPrint"), false);
    v->addLayout(row({Label3, CmbDanPrint}));
    auto* line = named(new QFrame(page), QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    v->addWidget(line);
}

void SysFuncSet::buildPage2(QFrame* page)
{
    auto* v = new QVBoxLayout(page);
    Lab[1] = title(page, 1, QStringLiteral("第二步：单据设置"));
    LabInfo[1] = info(page, 1,
                      QStringLiteral("请为以下单据命名：\n如果某个入库或出库类型不是你需要的，请返回上一步重新选择物流模式；\n"
                                     "如果某个退货（逆操作）不是你需要的，请把它前面方框中的勾取消掉。\n"
                                     "单据名称后面空格内的两个字母为对应单据的编号前缀。"));
    v->addWidget(Lab[1]);
    v->addWidget(LabInfo[1]);

    // Frame k holds the receipt or issue type 2k and its return type 2k + 1.
    const int flowLabel[4] = {2, 4, 5, 3};
    const char* flows[4] = {"供货商--->仓库：", "部门--->仓库：", "仓库--->部门：", "仓库--->客户："};
    const char* returns[4] = {"仓库--->供货商：", "仓库--->部门：", "部门--->仓库：", "客户--->仓库："};
    for (int k = 0; k < 4; ++k) {
        FrmDan[k] = named(new QFrame(page), idx("FrmDan", k));
        FrmDan[k]->setFrameShape(QFrame::StyledPanel);
        auto* g = new QGridLayout(FrmDan[k]);
        LabInfo[flowLabel[k]] = named(new QLabel(QString::fromUtf8(flows[k]), FrmDan[k]), idx("LabInfo", flowLabel[k]));
        const int odd = 2 * k + 1;
        ChKDan[odd] = box(FrmDan[k], idx("ChKDan", odd), QString::fromUtf8(returns[k]));
        g->addWidget(LabInfo[flowLabel[k]], 0, 0);
        g->addWidget(ChKDan[odd], 1, 0);
        for (int slot : {2 * k, odd}) {
            const int r = slot - 2 * k;
            LabStar[slot] = named(new QLabel(QStringLiteral("☆"), FrmDan[k]), idx("LabStar", slot));
            QSizePolicy keep = LabStar[slot]->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            LabStar[slot]->setSizePolicy(keep);
            LabStar[slot]->hide();
            TxtDan[slot] = named(new QLineEdit(QString::fromUtf8(DocTypeDefaultNames[slot]), FrmDan[k]), idx("TxtDan", slot));
            TxtH[slot] = named(new QLineEdit(QString::fromLatin1(DocTypeDefaultPrefixes[slot]), FrmDan[k]), idx("TxtH", slot));
            TxtH[slot]->setMaximumWidth(40);
            g->addWidget(LabStar[slot], r, 1);
            g->addWidget(TxtDan[slot], r, 2);
            g->addWidget(TxtH[slot], r, 3);
        }
        TxtDan[odd]->setEnabled(false);
        TxtH[odd]->setEnabled(false);
        FrmDan[k]->hide();
        v->addWidget(FrmDan[k]);
    }

    ChK[15] = box(page, QStringLiteral("ChK15"), QStringLiteral("允许以Excel导入方式录入单据明细"));
    ChK[24] = box(page, QStringLiteral("ChK24"), QStringLiteral("单据明细表按实际录入顺序排序"));
    ChK[24]->setChecked(true);
    ChK[24]->hide();
    v->addWidget(ChK[15]);
    v->addWidget(ChK[24]);
    Label2 = link(page, QStringLiteral("Label2"), QStringLiteral("点击这里设置货品动态属性"));
    LabODset = link(page, QStringLiteral("LabODset"), QStringLiteral("点击这里增设单据描述项目"));
    v->addLayout(row({Label2, LabODset}));
    LabStar[8] = named(new QLabel(QStringLiteral("☆"), page), QStringLiteral("LabStar8"));
    LabStarSM = named(new QLabel(QStringLiteral("表示该单据增设项目设置已被编辑"), page), QStringLiteral("LabStarSM"));
    LabStar[8]->hide();
    LabStarSM->hide();
    v->addLayout(row({LabStar[8], LabStarSM}));

    // Hidden holders: the window's model of the extra items and the goods attribute.
    LabOD0 = named(new QLabel(QStringLiteral("在                 中                              项目"), page),
                   QStringLiteral("LabOD0"));
    CmbDan = combo(page, QStringLiteral("CmbDan"), false);
    CmbOD = combo(page, QStringLiteral("CmbOD"), false);
    CmbSet = combo(page, QStringLiteral("CmbSet"), false);
    CmbSet->addItems({QStringLiteral("显示"), QStringLiteral("隐藏")});
    Txt9181 = named(new QLineEdit(page), QStringLiteral("Txt9181"));
    TxtHPSX = named(new QLineEdit(page), QStringLiteral("TxtHPSX"));
    for (QWidget* w : std::initializer_list<QWidget*>{LabOD0, CmbDan, CmbOD, CmbSet, Txt9181, TxtHPSX})
        w->hide();
}

void SysFuncSet::buildPage3(QFrame* page)
{
    auto* v = new QVBoxLayout(page);
    Lab[2] = title(page, 2, QStringLiteral("第三步：货品设置"));
    LabInfo[10] = info(page, 10, QStringLiteral("请选择您需要的功能设置，如果您不需要或不理解，请直接按[下一步]："));
    v->addWidget(Lab[2]);
    v->addWidget(LabInfo[10]);
    for (int i = 0; i < 3; ++i)
        ChkHP[i] = box(page, idx("ChkHP", i), QString());
    LabInfo[6] = named(new QLabel(QStringLiteral("在系统中，所有货品统称为："), page), QStringLiteral("LabInfo6"));
    CmbHP = combo(page, QStringLiteral("CmbHP"), true);
    CmbHP->setEnabled(false);
    v->addLayout(row({ChkHP[0], LabInfo[6], CmbHP}));
    LabInfo[7] = named(new QLabel(QStringLiteral("可以设置每种"), page), QStringLiteral("LabInfo7"));
    CmbCP = combo(page, QStringLiteral("CmbCP"), true);
    CmbLj = combo(page, QStringLiteral("CmbLj"), true);
    CmbCP->setEnabled(false);
    CmbLj->setEnabled(false);
    v->addLayout(row({ChkHP[1], LabInfo[7], CmbCP, new QLabel(QStringLiteral("是由哪些"), page), CmbLj,
                      new QLabel(QStringLiteral("构成的"), page)}));
    LabInfo[8] = named(new QLabel(QStringLiteral("零件出库时可以按成品/半成品的套数自动列出所需零件的种类、数量"), page),
                       QStringLiteral("LabInfo8"));
    v->addLayout(row({ChkHP[2], LabInfo[8]}));
    ChK[23] = box(page, QStringLiteral("ChK23"), QStringLiteral("基础数据中材料档案和成品档案分别管理"));
    ChK[23]->setEnabled(false);
    v->addWidget(ChK[23]);
    ChK[22] = box(page, QStringLiteral("ChK22"), QStringLiteral("在货品档案中增设"));
    CmbSX = combo(page, QStringLiteral("CmbSX"), true);
    v->addLayout(row({ChK[22], CmbSX, new QLabel(QStringLiteral("基本属性"), page)}));
    ChK[21] = box(page, QStringLiteral("ChK21"), QStringLiteral("相同货品编码的货品由固定的一家供应商供货"));
    v->addWidget(ChK[21]);
}

void SysFuncSet::buildPage4(QFrame* page)
{
    auto* v = new QVBoxLayout(page);
    Lab[3] = title(page, 3, QStringLiteral("第四步：数量设置"));
    LabInfo[9] = info(page, 9, QStringLiteral("请选择您需要的功能设置，如果您不需要或不理解，请直接按[下一步]："));
    v->addWidget(Lab[3]);
    v->addWidget(LabInfo[9]);
    // Kept above the page, out of sight; it only carries its value to the save.
    ChK[19] = box(page, QStringLiteral("ChK19"), QStringLiteral("成品入库时自动扣除成品所需要的配件的库存"));
    ChK[19]->move(0, -500 / 15);
    const std::pair<int, const char*> boxes[] = {
        {0, "出库数量禁止超过实际库存数"},
        {3, "禁止单据数量中存在负数"},
        {6, "库存数低于安全库存启动系统时自动报警"},
        {7, "库存数高于最高库存启动系统时自动报警"},
        {8, "允许最高权限管理员“001”直接修改库存数"},
        {9, "允许最高权限管理员“001”修改年初余额"}};
    for (const auto& [i, caption] : boxes) {
        ChK[i] = box(page, idx("ChK", i), QString::fromUtf8(caption));
        v->addWidget(ChK[i]);
    }
    ChK[8]->hide();
    ChK[9]->hide();
}

void SysFuncSet::buildPage5(QFrame* page)
{
    auto* v = new QVBoxLayout(page);
    Lab[5] = title(page, 5, QStringLiteral("第五步：价格金额"));
    LabInfo[11] = info(page, 11, QStringLiteral("请选择您需要的功能设置，如果您不需要或不理解，可以不改变当前状态："));
    v->addWidget(Lab[5]);
    v->addWidget(LabInfo[11]);
    const std::pair<int, const char*> boxes[] = {
        {25, "销售出库单中增加销价折扣功能"},
        {20, "根据材料成本及费用率自动计算"},
        {18, "设置入库参考价功能并自动记录历史参考价"},
        {14, "销售出库单中允许录入实收款"},
        {13, "采购入库单中允许录入实付款"},
        {12, "销售开单时调用给客户的报价或最近交易价格"},
        {5, "系统只记数量不记价格、金额"}};
    for (const auto& [i, caption] : boxes) {
        ChK[i] = box(page, idx("ChK", i), QString::fromUtf8(caption));
        v->addWidget(ChK[i]);
    }
    ChK[20]->hide();

    for (int i : {0, 4, 9}) {
        Txt[i] = named(new QLineEdit(page), idx("Txt", i));
        Txt[i]->setMaximumWidth(50);
        Txt[i]->setStyleSheet(QStringLiteral("color: blue;"));
    }
    Txt[4]->setText(QStringLiteral("1"));
    ChK[4] = box(page, QStringLiteral("ChK4"), QStringLiteral("销售价与成本价同步(销售价=成本价x"));
    auto* close4 = new QLabel(QStringLiteral(")"), page);
    v->addLayout(row({ChK[4], Txt[4], close4}));
    for (QWidget* w : std::initializer_list<QWidget*>{ChK[4], Txt[4], close4})
        w->hide();
    ChK[2] = box(page, QStringLiteral("ChK2"), QStringLiteral("禁止动态更新成本价(加权平均)"));
    ChK[2]->hide();
    ChK[1] = box(page, QStringLiteral("ChK1"), QStringLiteral("录入编辑单据时禁止修改实际价格"));
    v->addWidget(ChK[2]);
    v->addWidget(ChK[1]);
    ChK[10] = box(page, QStringLiteral("ChK10"), QStringLiteral("所有价格都精确到小数点后"));
    ChK[11] = box(page, QStringLiteral("ChK11"), QStringLiteral("所有金额都精确到小数点后"));
    ChK[10]->setChecked(true);
    ChK[11]->setChecked(true);
    v->addLayout(row({ChK[10], Txt[9], new QLabel(QStringLiteral("位"), page)}));
    v->addLayout(row({ChK[11], Txt[0], new QLabel(QStringLiteral("位"), page)}));
}
