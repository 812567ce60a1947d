#include "documents/outbound/OutboundPrint.h"

void UseOutboundPrint(PrintRule& print, bool department)
{
    print.plans = {{QStringLiteral("&1.货品出库单(方案一)")}, {QStringLiteral("&2.货品出库单(方案二)")}};
    if (!department)
        print.plans.append({QStringLiteral("&3.送货单"), true, QStringLiteral("送 货 单")});
    print.needsRight = false;
    // Read back by position: 0 code, 1 name, 2 spec, 3 unit, 4 quantity cell, 5 unit price,
    // 6 amount, 7 remark, 8 line number, 9 price before discount, 10 discount, 11 attribute.
    print.lineSql = QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F12,F13,F10 from plist order by F0");
    print.unitCodeValue = QStringLiteral("KHBM");
    print.unitValues = {{QStringLiteral("客户地址"), QStringLiteral("F3")},
                        {QStringLiteral("客户电话"), QStringLiteral("F4")},
                        {QStringLiteral("客户传真"), QStringLiteral("F5")},
                        {QStringLiteral("客户方联系人"), QStringLiteral("F6")}};
}
