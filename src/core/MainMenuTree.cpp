#include "core/MainMenuTree.h"

#include "core/MenuModel.h"

namespace {

void addArray(MenuModel& m, const QString& parent, const QString& base, std::initializer_list<const char*> captions)
{
    int i = 0;
    for (const char* c : captions)
        m.add(parent, base + QString::number(i++), QString::fromUtf8(c));
}

}  // namespace

void BuildMainMenu(MenuModel& m)
{
    m.clear();

    m.add({}, QStringLiteral("Menu_A"), QStringLiteral("&A.基础数据"));
    addArray(m, QStringLiteral("Menu_A"), QStringLiteral("Menu_AA"),
             {"供应商资料", "客户资料", "部门资料", "-", "货品类别", "货品档案", "成品档案"});
    m.setVisible(QStringLiteral("Menu_AA2"), false);
    m.setVisible(QStringLiteral("Menu_AA6"), false);

    m.add({}, QStringLiteral("Menu_B"), QStringLiteral("&B.入库管理"));
    addArray(m, QStringLiteral("Menu_B"), QStringLiteral("Menu_BB"),
             {"入库单", "退货单", "-", "生产入库", "次品返工", "-", "入库统计", "退货统计"});
    for (const char* hidden : {"Menu_BB3", "Menu_BB4", "Menu_BB5"})
        m.setVisible(QString::fromLatin1(hidden), false);

    m.add({}, QStringLiteral("Menu_C"), QStringLiteral("&C.库存盘点"));
    m.add(QStringLiteral("Menu_C"), QStringLiteral("Menu_C2"), QStringLiteral("&1.库存盘点"));
    m.add(QStringLiteral("Menu_C"), QStringLiteral("Menu_C3"), QStringLiteral("&2.库存盘点统计"));

    m.add({}, QStringLiteral("Menu_D"), QStringLiteral("&D.出库管理"));
    addArray(m, QStringLiteral("Menu_D"), QStringLiteral("Menu_DD"),
             {"领料单", "退料单", "-", "出库单", "退库单", "-", "出库统计", "退库统计"});
    for (const char* hidden : {"Menu_DD0", "Menu_DD1", "Menu_DD2"})
        m.setVisible(QString::fromLatin1(hidden), false);

    m.add({}, QStringLiteral("Menu_E"), QStringLiteral("&E.往来帐款"));
    addArray(m, QStringLiteral("Menu_E"), QStringLiteral("Menu_E0"), {"增加应付", "增加应收"});
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E0line"), QStringLiteral("-"));
    addArray(m, QStringLiteral("Menu_E"), QStringLiteral("Menu_EE"),
             {"付款登记", "收款登记", "-", "应付款总帐", "应付款明细帐", "应收款总帐", "应收款明细帐"});

    m.add({}, QStringLiteral("Menu_F"), QStringLiteral("&F.综合报表"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_C1"), QStringLiteral("&1.库存查询"));
    addArray(m, QStringLiteral("Menu_C1"), QStringLiteral("Menu_KC"), {"&a.存货汇总查询", "&b.存货明细查询"});
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_E1"), QStringLiteral("&2.进出存明细表"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_E3"), QStringLiteral("&3.进出存汇总表"));
    addArray(m, QStringLiteral("Menu_F"), QStringLiteral("menu_Edz"), {"-", "&4.收货对帐单", "&5.发货对帐单"});
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Ell"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("menu_Ecb"), QStringLiteral("&6.出库成本统计"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Eml"), QStringLiteral("&7.销售毛利统计"));

    m.add({}, QStringLiteral("Menu_S"), QStringLiteral("&S.系统管理"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S1"), QStringLiteral("&1.操作员权限分配"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S2"), QStringLiteral("&2.操作员个人设置"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S25"), QStringLiteral("&3.系统设置"));
    m.add(QStringLiteral("Menu_S25"), QStringLiteral("Menu_S2501"), QStringLiteral("系统账套设置"));
    m.add(QStringLiteral("Menu_S25"), QStringLiteral("Menu_S2502"), QStringLiteral("系统功能设置"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_Weihu"), QStringLiteral("&4.账套数据维护"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S26"), QStringLiteral("&1.数据备份与恢复"));
    m.add(QStringLiteral("Menu_S26"), QStringLiteral("Menu_zbbf"), QStringLiteral("&B.账套备份"));
    m.add(QStringLiteral("Menu_S26"), QStringLiteral("Menu_zbhf"), QStringLiteral("&R.备份恢复"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_shuaxin"), QStringLiteral("&2.数据整理与刷新"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S30"), QStringLiteral("&3.账套年度结转"))->enabled = false;
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S3"), QStringLiteral("&4.账套数据清除"))->enabled = false;
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_yasuo"), QStringLiteral("&5.压缩账套文件"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("sl"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Relogin"), QStringLiteral("&6.更换登录用户"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Quit"), QStringLiteral("&7.退出本系统"));

    m.add({}, QStringLiteral("H"), QStringLiteral("&H.使用说明"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_Help"), QStringLiteral("&1.软件使用说明书"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_Video"), QStringLiteral("&2.操作演示视频"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_frmtip"), QStringLiteral("&3.Vorlix知识点滴"));
    m.add(QStringLiteral("H"), QStringLiteral("ab"), QStringLiteral("&4.关于本软件"));
    m.add(QStringLiteral("H"), QStringLiteral("dddds"), QStringLiteral("-"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_H6"), QStringLiteral("&5.Vorlix官方网站"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_200491"), QStringLiteral("-"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_jishuan"), QStringLiteral("&6.辅助工具--计算器"));
}
