#pragma once
// Small helpers of the stock-document tests: named controls of a window, the
// audit-scope dialog answered, and documents built in memory for the service.

#include "documents/common/StockDocService.h"
#include "support/Fixture.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

template <typename T = QWidget>
T* control(QObject* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("control %s not found", name);
    return c;
}

inline void trigger(QObject* w, const char* action)
{
    control<QAction>(w, action)->trigger();
}

// Scope 0 (the shown document) or 1 (every unaudited one) chosen in the audit-scope dialog.
inline void chooseScope(int scope)
{
    WhenModal([scope](QWidget* box) {
        control<QRadioButton>(box, scope == 0 ? "Opt0" : "Opt1")->setChecked(true);
        control<QPushButton>(box, "Cmd0")->click();
    });
}

inline StockDocLine stockLine(const QString& goods, double qty, double price, const QString& attr = {})
{
    StockDocLine l;
    l.goods = goods;
    l.qty = qty;
    l.price = price;
    l.amount = qty * price;
    l.attr = attr;
    return l;
}

inline StockDoc stockDoc(const QString& number, const QDate& date, const QString& unit, QVector<StockDocLine> lines)
{
    StockDoc d;
    d.head.number = number;
    d.head.date = date;
    d.head.unitCode = unit;
    d.head.enteredBy = QStringLiteral("系统管理员");
    d.lines = std::move(lines);
    return d;
}
