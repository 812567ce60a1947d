#pragma once
// Small helpers of the stock-document tests: named controls of a window, the
// audit-scope dialog answered, and documents built in memory for the service.

#include "documents/common/StockDocService.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "exchange/ToExcel.h"
#include "support/Fixture.h"
#include "support/Scripted.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
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

inline StockDocLine stockLine(const QString& goods, double qty, double price, const QString& attr = {},
                             const QString& remark = {})
{
    StockDocLine l;
    l.goods = goods;
    l.qty = qty;
    l.price = price;
    l.amount = qty * price;
    l.attr = attr;
    l.remark = remark;
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

// Reads a workbook's lines in through the window's line-import button, with
// columns A to D mapped to code, quantity, price and remark; the import's
// message `told` is expected. Returns the import dialog's caption.
inline QString importWorkbookLines(QWidget* window, const QString& book, MessageScript& msgs, const QString& told)
{
    QString caption;
    WhenModal([&](QWidget* d) {
        auto* form = qobject_cast<DanExcelForm*>(d);
        QVERIFY(form);
        caption = form->windowTitle();
        form->openSource(book);
        const QList<std::pair<int, QString>> mapping{{LCode, QStringLiteral("A")}, {LQty, QStringLiteral("B")},
                                                      {LPrice, QStringLiteral("C")}, {LRemark, QStringLiteral("D")}};
        for (const auto& [k, letter] : mapping) {
            form->CmbCol[k]->setEditText(QString());
            QTest::keyClicks(form->CmbCol[k]->lineEdit(), letter);
        }
        msgs.expect(told);
        form->Menu_Run->trigger();
        form->reject();
    });
    control<QPushButton>(window, "CmdFexcel")->click();
    return caption;
}

// Exports what the window shows (its list or its lines) through its export
// command into the workbook `path`; the export must say it is done.
inline void exportShown(QWidget* window, const QString& path, MessageScript& msgs)
{
    WhenModal([&msgs, path](QWidget* d) {
        auto* form = qobject_cast<ToExcelForm*>(d);
        QVERIFY(form);
        form->CmbLX->setCurrentIndex(0);
        form->Txt->setText(path);
        msgs.expect(QStringLiteral("数据导出完成！"));
        form->Cmd0->click();
        if (form->isVisible())
            form->reject();
    });
    trigger(window, "Menu_TE");
    QCOMPARE(msgs.pending(), 0);
}
