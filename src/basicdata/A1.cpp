#include "basicdata/A1.h"

A1::A1(App& app, QWidget* parent) : UnitForm(app, parent, UnitKind::Supplier)
{
    UnitCaptions c;
    c.boxes = {QStringLiteral("单位编码"), QStringLiteral("单位名称"), QStringLiteral("地址"), QStringLiteral("电话"),
               QStringLiteral("传真"), QStringLiteral("联系人"), QStringLiteral("备注"), QStringLiteral("年初应付款"),
               QStringLiteral("手机")};
    c.headers = {QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                 QStringLiteral("传真"), QStringLiteral("联系人"), QStringLiteral("备注"), QStringLiteral("年初应付")};
    c.dualRoleText = QStringLiteral("该单位具有“供应商”及“客户”双重身份");
    buildUnit(c);
    start(unitShape(QStringLiteral("A1"), QStringLiteral("供应商资料"), QStringLiteral("供应商列表"),
                    QStringLiteral("供应商资料"), QStringLiteral("系统中必须保留至少一条供应商记录！")),
          QStringLiteral("select * from ta1 "));
}
