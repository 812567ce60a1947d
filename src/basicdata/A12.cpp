#include "basicdata/A12.h"

A12::A12(App& app, QWidget* parent) : UnitForm(app, parent, UnitKind::Department)
{
    UnitCaptions c;
    c.boxes = {QStringLiteral("部门编码"), QStringLiteral("部门名称"), QStringLiteral("职能"), QStringLiteral("电话"),
               QStringLiteral("传真"), QStringLiteral("电子信箱"), QStringLiteral("备注"), QStringLiteral("年初应付款")};
    c.headers = {QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("职能"), QStringLiteral("电话"),
                 QStringLiteral("传真"), QStringLiteral("电子信箱"), QStringLiteral("备注"), QString()};
    c.withMobile = false;
    c.withDualRole = false;
    c.withImport = false;
    c.openingShown = false;
    c.rechainsBalance = false;
    buildUnit(c);
    Shape s = unitShape(QStringLiteral("A12"), QStringLiteral("本公司部门资料"), QStringLiteral("部门列表"),
                        QStringLiteral("部门资料"), QStringLiteral("系统中必须保留至少一条部门记录！"));
    s.printable = false;
    s.columnMargin = 30;
    start(s, QStringLiteral("select * from ta1 "));
}
