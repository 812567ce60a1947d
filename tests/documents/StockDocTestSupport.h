#pragma once
// Small helpers of the stock-document tests: named controls of a window, the
// audit-scope dialog answered, and documents built in memory for the service.

#include "core/App.h"
#include "core/SavedHintMark.h"
#include "documents/common/StockDocForm.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "exchange/ToExcel.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "print/Myprn.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>
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

// Which side the document windows under test stand on.
enum class DocSide {
    Supplier,  // receipts and returns to suppliers: PaidOnReceipt on, cost prices
    Customer,  // deliveries and returns to stock: ReceivedOnIssue on, sale prices, customer B001
};

// The books the document-window tests start from, logged in as "001" with prices seen
// and the saved hint off: supplier A001, the customer side's customer B001 (balance 100),
// department P001 and goods G1 螺丝 (cost 2.5) and G2 螺母 (cost 1.25), with sale prices
// 9 and 4 on the customer side; `attribute` keeps the attribute "批号".
inline void prepareDocBooks(FreshAccountSet& set, DocSide side, bool attribute, double departmentBalance = 0)
{
    const bool customers = side == DocSide::Customer;
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CanSeeCost = -1;
    if (customers) {
        app.CanSeeProfit = -1;
        app.ReceivedOnIssue = 1;
        app.PaidOnReceipt = 0;  // the receipts' setting: customer-side documents follow ReceivedOnIssue
        app.NoOverIssue = 0;
    } else {
        app.PaidOnReceipt = 1;
    }
    app.HpsxName = attribute ? QStringLiteral("批号") : QString();
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, customers ? 0.0 : 100.0});
    if (customers)
        AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 100});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, departmentBalance});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g1.cost = 2.5;
    GoodsSpec g2{QStringLiteral("G2"), QStringLiteral("螺母")};
    g2.cost = 1.25;
    if (customers) {
        g1.salePrice = 9;
        g2.salePrice = 4;
    }
    AddGoods(db, g1);
    AddGoods(db, g2);
}

// A purchase receipt from A001 of the lines (goods, quantity, price, attribute), saved and audited.
inline void receiveStock(FreshAccountSet& set, const QString& number, const QDate& date,
                         const QList<std::tuple<QString, double, double, QString>>& lines)
{
    StockDoc doc = stockDoc(number, date, QStringLiteral("A001"), {});
    for (const auto& [goods, qty, price, attr] : lines)
        doc.lines << stockLine(goods, qty, price, attr);
    QCOMPARE(SaveStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), doc, {}), QString());
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), number), QString());
}

// The goods of the stocktaking tests: G1, G2 and G3, each 3 in stock at 3.33 (10 in all)
// from their opening figures, nothing posted.
inline void addCountGoods(Database& db)
{
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("G3")}) {
        GoodsSpec spec{g, QStringLiteral("货品") + g};
        spec.openingQty = 3;
        spec.openingPrice = 3.33;
        spec.openingAmount = 10;
        spec.stock = 3;
        spec.cost = 3.33;
        spec.amount = 10;
        AddGoods(db, spec);
    }
}

// Types `text` into the line cell (row, col) through the cell editor and commits it.
inline void typeIntoCell(StockDocForm& w, int row, int col, const QString& text)
{
    w.lines().GdMx()->setCurrent(row, col);
    w.lines().GdMx_Click();
    QVERIFY(!w.lines().TxtEnter()->isHidden());
    w.lines().TxtEnter()->setText(text);
    w.lines().TxtEnter_LostFocus();
}

// Adds a line through the quick-entry strip.
inline void stripLine(StockDocForm& w, const QString& code, const QString& qty)
{
    control<QLineEdit>(&w, "TxtHPBM")->setText(code);
    control<QLineEdit>(&w, "TxtSL")->setText(qty);
    control<QPushButton>(&w, "CmdEnter")->click();
}

// The value of the named value `name` a print staged, "<none>" when it staged none.
inline QString namedValue(const PrintEngine& engine, const QString& name)
{
    for (const ItemRow& row : engine.GdM)
        if (row.owner == name)
            return row.value;
    return QStringLiteral("<none>");
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
